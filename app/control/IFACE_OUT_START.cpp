// IFACE_OUT_START: the second speed sensor's override and the seconds the
// start override has left, as the operator interface shows them.
#include "app/control/IFACE_OUT_START.cells.h"

#include "app/control/MPU_OVRD.cells.h"

namespace r160 {

void IFACE_OUT_START_overrides() {
    IFACE_OUT_START.MPU2_OVRD_ON_B_NAME = MPU_OVRD.MPU2_OVRD_B_SW;
    IFACE_OUT_START.MPU_OVRD_TIME_REM_I_NAME = MPU_OVRD.STRT_DLY_1_R_TIME;
}

}  // namespace r160
