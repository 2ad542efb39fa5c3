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

// The overspeed-test demand (80 ms): the internal demand is set by the
// internal and reduced-internal enable pulses and cleared (first) by the
// disable; the external demand joins it. An external test is annunciated
// while the speed is at the test level.
namespace {
struct OSPD_demand_blocks {
    uint32_t dmd_prev;
};
BlockRam<OSPD_demand_blocks> OSPD_demand_st;
}  // namespace

namespace r80 {

void OSPD_test_demand() {
    auto& c = OSPD;
    if (c.OR_DISABLE_OR != 0)
        c.OSPD_DMD_INT_B_ACTION = 0;
    else if (bk::OR({c.ENA_INT_OST_OS_ONE_SHOT, c.ENA_RED_INT_ONE_SHOT}) != 0)
        c.OSPD_DMD_INT_B_ACTION = 1;
    c.OSPD_DMD_OR_OR = bk::OR({c.OSPD_DMD_EXT_B_ACTION, c.OSPD_DMD_INT_B_ACTION});
    c.DISABLED_NOT = bk::NOT(c.OSPD_DMD_OR_OR);
    c.EXTERN_TEST_AND = bk::AND({c.OSPD_LEVEL_A_COMPARE, c.OSPD_DMD_EXT_B_ACTION});
    c.OSPD_ALM_B_NAME = c.EXTERN_TEST_AND;
    c.OSPD_PLS_B_ACTION = c.OSPD_DMD_OR_OR != 0 && OSPD_demand_st.dmd_prev == 0 ? 1u : 0u;
    OSPD_demand_st.dmd_prev = c.OSPD_DMD_OR_OR;
    c.REDICE_OSPD_NOT_NOT = bk::NOT(c.REDUCE_OSPD_USE_B_ACTION);
}

}  // namespace r80

// The reference's no-move time-out (160 ms): the time the speed reference
// has not moved, up to 30 s, and the whole seconds that remain of it.
namespace {
struct OSPD_no_move_blocks {
    bk::DelayState DLY_NOMOV;
};
BlockRam<OSPD_no_move_blocks> OSPD_no_move_st;
}  // namespace

namespace r160 {

void OSPD_no_move() {
    auto& c = OSPD;
    c.NO_MV_NOT = bk::NOT(c.MV_REF_OR);
    bk::DELAY(OSPD_no_move_st.DLY_NOMOV, c.DLY_NOMOV_DELAY, &c.DLY_NOMOV_R_TIME.ref(), c.NO_MV_NOT,
              c.DLY_NOMOV_DLY_TIME, 0.0f, bk::T160);
    IFACE_OUT_SPEED.DIS_TIMEOUT_I_NAME = c.DLY_NOMOV_R_TIME;
    IFACE_OUT_SPEED.ENTRD_RATE_A_NAME = IFACE_IN_SPEED.SP_GOTO_RT_A_NAME;
}

}  // namespace r160
