// IFACE_OUT_VLV at 10 ms: the HP driver's low-signal-select state for the
// interface and the relay states.
#include "app/discrete/IFACE_OUT_VLV.cells.h"

#include "app/control/HP_DRIVER.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"

namespace r10 {

void IFACE_OUT_VLV_high_limit() { IFACE_OUT_VLV.ACT_LSS_HI_LIM_I_B_NAME = HP_DRIVER.ACT_LSS_HI_LIM_I; }

void IFACE_OUT_VLV_selections() {
    IFACE_OUT_VLV.ACT_LSS_SEL_1_B_NAME = HP_DRIVER.ACT_LSS_SEL_1;
    IFACE_OUT_VLV.ACT_LSS_SEL_2_B_NAME = HP_DRIVER.ACT_LSS_SEL_2;
}

}  // namespace r10

namespace r160 {

void IFACE_OUT_VLV_entered_rate() { IFACE_OUT_VLV.ENTRD_RATE_A_NAME = IFACE_IN_VLV.VLV_LIM_ENTRD_A_NAME; }

}  // namespace r160
