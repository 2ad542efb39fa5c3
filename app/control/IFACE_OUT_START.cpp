// IFACE_OUT_START: the controlled-stop sequence and shutdown-clear states
// (80 ms), the second speed sensor's override and the seconds the start
// override has left (160 ms), as the interfaces show them.
#include "app/control/IFACE_OUT_START.cells.h"

#include "app/control/CNTRL_STOP.cells.h"
#include "app/control/MPU_OVRD.cells.h"
#include "app/control/START.cells.h"

namespace r80 {

void IFACE_OUT_START_copies() {
    IFACE_OUT_START.CSD_SEQ_ENABLED_B_NAME = CNTRL_STOP.CSD_SEQ_B_NAME;
    IFACE_OUT_START.SD_CLEAR_B_NAME = START.SD_CLEAR_NOT;
}

}  // namespace r80

namespace r160 {

void IFACE_OUT_START_overrides() {
    IFACE_OUT_START.MPU2_OVRD_ON_B_NAME = MPU_OVRD.MPU2_OVRD_B_SW;
    IFACE_OUT_START.MPU_OVRD_TIME_REM_I_NAME = MPU_OVRD.STRT_DLY_1_R_TIME;
}

void IFACE_OUT_START_starting() { IFACE_OUT_START.STARTING_B_NAME = START.STARTED_LATCH; }

}  // namespace r160
