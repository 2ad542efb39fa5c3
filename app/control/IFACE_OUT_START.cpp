// IFACE_OUT_START at 80 ms: the controlled-stop sequence and shutdown-clear
// states for the interfaces.
#include "app/control/IFACE_OUT_START.cells.h"

#include "app/control/CNTRL_STOP.cells.h"
#include "app/control/START.cells.h"

namespace r80 {

void IFACE_OUT_START_copies() {
    IFACE_OUT_START.CSD_SEQ_ENABLED_B_NAME = CNTRL_STOP.CSD_SEQ_B_NAME;
    IFACE_OUT_START.SD_CLEAR_B_NAME = START.SD_CLEAR_NOT;
}

}  // namespace r80
