// CNFG_WIZ: the configuration wizard's enable, copied every 160 ms pass.
#include "app/config/CNFG_WIZ.cells.h"

namespace r160 {
void CNFG_WIZ_enable() { CNFG_WIZ.WIZARD_B_NAME = CNFG_WIZ.WIZARD_IN; }
}  // namespace r160
