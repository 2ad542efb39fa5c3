// OSPD: the overspeed-test flags of the reference sequence and the held
// speed.
#include "app/control/OSPD.cells.h"

#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/SPD_CTRL.cells.h"
#include "app/control/SPD_R_L.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct OSPD_blocks {
    bk::OneShotState OR_OSPD_OS;
};
BlockRam<OSPD_blocks> OSPD_st;

constexpr float kHoldMax = 20000.0f;
}  // namespace

namespace r80 {
void OSPD_test_flags() {
    IFACE_OUT_SPEED.OSPD_TEST_EN_B_NAME = SPDC.A09_STEP_SFC_STEP;
    OSPD.OR_OSPD_OR = bk::OR({SPDC.A09_STEP_SFC_STEP, SPDC.A10_STEP_SFC_STEP});
    bk::ONE_SHOT(OSPD_st.OR_OSPD_OS, OSPD.OR_OSPD_OS_ONE_SHOT, nullptr, OSPD.OR_OSPD_OR, 0.2f, bk::T80);
    OSPD.MV_REF_OR = bk::OR({SPD_R_L.RSE_LWR_OR, OSPD.ENTR_RESET_ONE_SHOT, OSPD.OR_OSPD_OS_ONE_SHOT});
}
}  // namespace r80

namespace r40 {
void OSPD_speed_hold() {
    const bk::BusOut h = bk::HSS_BUS({OSPD.LP_BRKR_ZMINUS1, IFACE_IN_SPEED.SPEED_A_NAME}, kHoldMax, 0.0f);
    OSPD.SPEED_HOLD_HSS_BUS = h.out;
    OSPD.SPEED_HOLD_HI_LIM_I = h.hi_lim_i;
    OSPD.SPEED_HOLD_LO_LIM_I = h.lo_lim_i;
    bk::set_sel(h.sel, OSPD.SPEED_HOLD_SEL_1.ref(), OSPD.SPEED_HOLD_SEL_2.ref());
    IFACE_OUT_SPEED.SPEED_HOLD_A_NAME = h.out;
    SPD_CTRL.SP_MOVE_OR = bk::OR({SPDC.SPEED_REF_MOVING_UP, SPDC.SPEED_REF_MOVING_DN});
    IFACE_OUT_SPEED.SP_NOT_MOVE_NOT = bk::NOT(SPD_CTRL.SP_MOVE_OR);
}
}  // namespace r40
