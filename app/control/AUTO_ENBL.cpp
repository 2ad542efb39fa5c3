// AUTO_ENBL: whether the automatic sequence halts at idle, from the start
// configuration.
#include "app/control/AUTO_ENBL.cells.h"

#include "app/config/CNFG_START.cells.h"

namespace r160 {

void AUTO_ENBL_halt() { AUTO_ENBL.AUTO_HALT_B_NAME = CNFG_START.AUTO_HALT_AT_IDLE_B_NAME; }

}  // namespace r160
