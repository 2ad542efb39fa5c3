// STAND-IN until the controller's discrete-input channels land: the hidden
// latch snapshots of their blocks.
#include "app/discrete/standin/CNFG_BI_standin.cells.h"

CnfgBiLatchSnapshot CNFG_BI_latch_snapshot[8];
