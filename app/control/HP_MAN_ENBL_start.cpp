// HP_MAN_ENBL at 80 ms: the manual demand may be enabled only once the
// start sequence has completed.
#include "app/control/HP_MAN_RAMP.cells.h"
#include "app/control/SPDC.cells.h"
#include "runtime/blockkinds.h"

namespace r80 {

void HP_MAN_ENBL_start_complete() {
    IFACE_IN_HP_MAN.START_COMP_B_NAME = SPDC.A08_STEP_SFC_STEP;
    HP_MAN_ENBL.START_COMP_NOT_NOT = bk::NOT(IFACE_IN_HP_MAN.START_COMP_B_NAME);
}

}  // namespace r80
