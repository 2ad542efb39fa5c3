// OSPD: the overspeed test. The operator's and the contact's test commands,
// the trip level in use, the permission and demand latches, the trip at
// that level and the test limit; and the flags of the reference sequence
// and the held speed.
#include "app/control/OSPD.cells.h"

#include "app/config/MASTER.cells.h"
#include "app/control/ENTR_SETPT.cells.h"
#include "app/control/HP_LIMTER.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/MPU.cells.h"
#include "app/control/ORVEX12_IO.cells.h"
#include "app/control/RESET.cells.h"
#include "app/control/ref_blocks.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/config/CNFG_SETPT.cells.h"
#include "app/interface/IFACE_MODE.cells.h"
#include "runtime/rgtask.h"
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
    bk::ONE_SHOT(OSPD_st.OR_OSPD_OS, OSPD.OR_OSPD_OS_ONE_SHOT, &OSPD.OR_OSPD_OS_R_TIME.ref(), OSPD.OR_OSPD_OR, 0.2f,
                 bk::T80);
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
}

void OSPD_hold_reset() { OSPD.HOLD_RST_A_SW = bk::SW<float>(OSPD.RST_HOLD_OR, OSPD.SPEED_HOLD_HSS_BUS, 0.0f); }
}  // namespace r40

namespace {
struct OSPD_test_blocks {
    refbk::EdgeState PLS_ON, PLS_OFF, CONT_PLS_DIS, OSPD_PLS, DMD_NEW;
    bk::OneShotState ENA_EXT_OST_OS, ENA_INT_OST_OS, ENA_RED_INT, ENTR_RESET, EXITCNFG_OS, EXITUSE_OS, SH_OSPDOFF;
    bk::DelayState DLY_NOMOV;
    bk::SampState REDUCE_SP;
    uint32_t rst_temp_prev;
};
BlockRam<OSPD_test_blocks> OSPD_test_st;

constexpr float kCommandPulse = 0.5f;  // the enable commands and the exits (s)
constexpr float kEntryReset = 0.2f;    // an entered setpoint above the trip level (s)
constexpr float kIdleEnd = 1.0f;       // a test without movement ends (s)
constexpr float kReduceMin = 100.0f, kReduceMax = 65000.0f;
}  // namespace

namespace r160 {

void OSPD_no_movement() {
    auto& c = OSPD;
    auto& s = OSPD_test_st;
    // A new demand restarts the wait: a reference that had already stood
    // still longer would otherwise never end the test (the end is a pulse on
    // the wait running out).
    const uint32_t new_demand = refbk::RISE(s.DMD_NEW, c.OSPD_DMD_OR_OR);
    c.NO_MV_NOT = bk::NOR({c.MV_REF_OR, new_demand});
    bk::DELAY(s.DLY_NOMOV, c.DLY_NOMOV_DELAY, &c.DLY_NOMOV_R_TIME.ref(), c.NO_MV_NOT, c.DLY_NOMOV_DLY_TIME, 0.0f,
              bk::T160);
    IFACE_OUT_SPEED.DIS_TIMEOUT_I_NAME = c.DLY_NOMOV_R_TIME;
    IFACE_OUT_SPEED.ENTRD_RATE_A_NAME = IFACE_IN_SPEED.SP_GOTO_RT_A_NAME;
}

void OSPD_test_commands() {
    auto& c = OSPD;
    auto& s = OSPD_test_st;
    // The contact demands a test only when it closes while the test is
    // permitted; opening it, or the permission ending, disables the test.
    c.CONTACT_B_NAME = IFACE_IN_SPEED.OSPD_TEST_SW_B_NAME;
    c.PLS_ON_B_ACTION = refbk::RISE(s.PLS_ON, c.CONTACT_B_NAME, c.PLS_ON_ACT_OUT, c.PLS_ON_E_TIME, c.PLS_ON_R_TIME);
    c.NOT_ACTV_NOT = bk::NOT(IFACE_OUT_SPEED.OSPD_TEST_EN_B_NAME);
    c.PLS_OFF_B_ACTION = refbk::RISE(s.PLS_OFF, c.NOT_ACTV_NOT, c.PLS_OFF_ACT_OUT, c.PLS_OFF_E_TIME, c.PLS_OFF_R_TIME);
    bk::LATCH_R(c.LATCH_DMD_LATCH_R, c.PLS_ON_B_ACTION, c.PLS_OFF_B_ACTION);
    c.AND_OK_AND = bk::AND({c.CONTACT_B_NAME, c.LATCH_DMD_LATCH_R});
    c.NO_OST_CONT_NOT = bk::NOT(c.AND_OK_AND);
    c.CONT_PLS_DIS_B_ACTION = refbk::RISE(s.CONT_PLS_DIS, c.NO_OST_CONT_NOT, c.CONT_PLS_DIS_ACT_OUT,
                                          c.CONT_PLS_DIS_E_TIME, c.CONT_PLS_DIS_R_TIME);
    c.DISABLE_OST_OR = bk::OR({IFACE_IN_SPEED.DISABLE_OST_B_NAME, c.CONT_PLS_DIS_B_ACTION});
    // Operator commands.
    bk::ONE_SHOT(s.ENA_EXT_OST_OS, c.ENA_EXT_OST_OS_ONE_SHOT, &c.ENA_EXT_OST_OS_R_TIME.ref(),
                 IFACE_IN_SPEED.ENABLE_EXT_OST_B_NAME, kCommandPulse, bk::T160);
    c.ENABLE_EXT_OST_B_NAME = c.ENA_EXT_OST_OS_ONE_SHOT;
    bk::ONE_SHOT(s.ENA_INT_OST_OS, c.ENA_INT_OST_OS_ONE_SHOT, &c.ENA_INT_OST_OS_R_TIME.ref(),
                 IFACE_IN_SPEED.ENABLE_INT_OST_B_NAME, kCommandPulse, bk::T160);
    bk::ONE_SHOT(s.ENA_RED_INT, c.ENA_RED_INT_ONE_SHOT, &c.ENA_RED_INT_R_TIME.ref(),
                 IFACE_IN_SPEED.ENABLE_RED_OST_B_NAME, kCommandPulse, bk::T160);
    c.ENA_REDUCED_OST_B_NAME = c.ENA_RED_INT_ONE_SHOT;
    bk::ONE_SHOT(s.ENTR_RESET, c.ENTR_RESET_ONE_SHOT, &c.ENTR_RESET_R_TIME.ref(), ENTR_SETPT.IN_OVRSPD_B_SW,
                 kEntryReset, bk::T160);
    bk::ONE_SHOT(s.EXITCNFG_OS, c.EXITCNFG_OS_ONE_SHOT, &c.EXITCNFG_OS_R_TIME.ref(), IFACE_MODE.NO_CNFG_NOT,
                 kCommandPulse, bk::T160);
    c.NOT_REDUCED_NOT = bk::NOT(CNFG_SETPT.USE_REDUC_OSPD_SAMP_BTUNE);
    bk::ONE_SHOT(s.EXITUSE_OS, c.EXITUSE_OS_ONE_SHOT, &c.EXITUSE_OS_R_TIME.ref(), c.NOT_REDUCED_NOT, kCommandPulse,
                 bk::T160);
    // The test must not run unless the speed controller is in control above
    // minimum governor, nor with cascade or the remote setpoint enabled.
    c.NO_OTHER_NOR = bk::NOR({IFACE_OUT_SPEED.CASCADE_ENABLED_B_NAME, IFACE_OUT_SPEED.RMT_SPD_ENABLED_B_NAME});
    c.SPDCNTRL_OK_NAND = bk::NAND({HP_LIMTER.SPDCTRL_MING_AND, c.NO_OTHER_NOR});
    c.RST_HOLD_OR = bk::OR({IFACE_IN_SPEED.RESET_HOLD_B_NAME, RESET.PWR_UP_RST_ONE_SHOT});
    // A test whose reference has not moved for DLY_NOMOV ends itself.
    bk::ONE_SHOT(s.SH_OSPDOFF, c.SH_OSPDOFF_ONE_SHOT, &c.SH_OSPDOFF_R_TIME.ref(), c.DLY_NOMOV_DELAY, kIdleEnd,
                 bk::T160);

    // The reduced trip level lasts until a power-up, leaving configuration,
    // a shutdown or switching the option off; each of those re-samples it
    // from the configured level.
    c.RST_TEMP_OR = bk::OR({MASTER.PWR_UP_RST_ONE_SHOT_ONE_SHOT, c.EXITCNFG_OS_ONE_SHOT, SHUTDOWNS.SD_SHOOT_ONE_SHOT,
                            c.EXITUSE_OS_ONE_SHOT});
    bk::LATCH_R(c.REDUCE_OSPD_USE_B_ACTION, CNFG_SETPT.USE_REDUC_OSPD_SAMP_BTUNE, c.RST_TEMP_OR);
    refbk::ACTION_OUT(c.REDUCE_OSPD_USE_ACT_OUT, c.REDUCE_OSPD_USE_E_TIME, c.REDUCE_OSPD_USE_R_TIME, 2);
    const float max_gov = IFACE_IN_SPEED.MAX_GOV_A_NAME;
    const float hi = max_gov < kReduceMin ? kReduceMin : max_gov;
    bk::SAMP_OUTPUTS(bk::SAMP_TUNE(s.REDUCE_SP, c.REDUCE_SP_TUNE, CNFG_SETPT.OSPD_TRIP_A_NAME, c.RST_TEMP_OR,
                                   kReduceMin, hi, ORVEX12_IO.KEYPAD_SHIFT, kReduceMin, kReduceMax,
                                   static_cast<uint32_t>(AllRgExecutedwMMM)),
                     c.REDUCE_SP_SAMP_TUNE, c.REDUCE_SP_LIMITED, c.REDUCE_SP_EN_ENT_OUT, c.REDUCE_SP_LO_LIM_OUT,
                     c.REDUCE_SP_HI_LIM_OUT);
    c.SP_MIN_A_MIN = bk::A_MIN(CNFG_SETPT.OSPD_TRIP_A_NAME, c.REDUCE_SP_SAMP_TUNE);
    c.OSPD_SP_A_SW = bk::SW<float>(c.REDUCE_OSPD_USE_B_ACTION, CNFG_SETPT.OSPD_TRIP_A_NAME, c.SP_MIN_A_MIN);
}

}  // namespace r160

namespace r80 {

// A demand needs the test permitted and ends with any disable; during an
// external test the controller's own overspeed trip is suppressed.
void OSPD_demand() {
    auto& c = OSPD;
    c.REF_CHK_AND = bk::AND({c.NOT_REDUCED_NOT, SPDC.SR_MXGGRRE_A_COMPARE});
    c.OR_DISABLE_OR = bk::OR({SHUTDOWNS.ANY_SD_B_NAME, c.SH_OSPDOFF_ONE_SHOT, c.REF_CHK_AND, c.OR_DISABLE_IN_4,
                              c.SPDCNTRL_OK_NAND, c.DISABLE_OST_OR});
    refbk::ACTION_OUT(c.OSPD_DMD_EXT_ACT_OUT, c.OSPD_DMD_EXT_E_TIME, c.OSPD_DMD_EXT_R_TIME, 2);
    bk::LATCH_R(c.OSPD_DMD_EXT_B_ACTION, bk::OR({c.AND_OK_AND, c.ENA_EXT_OST_OS_ONE_SHOT}), c.OR_DISABLE_OR);
    c.NAND_TEST_NAND = bk::NAND({IFACE_OUT_SPEED.OSPD_TEST_EN_B_NAME, c.OSPD_DMD_EXT_B_ACTION});
    IFACE_OUT_SPEED.OSPD_TRIP_EN_B_NAME = c.NAND_TEST_NAND;
}

void OSPD_test_demand() {
    auto& c = OSPD;
    bk::LATCH_R(c.OSPD_DMD_INT_B_ACTION, bk::OR({c.ENA_INT_OST_OS_ONE_SHOT, c.ENA_RED_INT_ONE_SHOT}),
                c.OR_DISABLE_OR);
    refbk::ACTION_OUT(c.OSPD_DMD_INT_ACT_OUT, c.OSPD_DMD_INT_E_TIME, c.OSPD_DMD_INT_R_TIME, 2);
    c.OSPD_DMD_OR_OR = bk::OR({c.OSPD_DMD_EXT_B_ACTION, c.OSPD_DMD_INT_B_ACTION});
    c.DISABLED_NOT = bk::NOT(c.OSPD_DMD_OR_OR);
    c.EXTERN_TEST_AND = bk::AND({c.OSPD_LEVEL_A_COMPARE, c.OSPD_DMD_EXT_B_ACTION});
    c.OSPD_ALM_B_NAME = c.EXTERN_TEST_AND;
    c.OSPD_PLS_B_ACTION =
        refbk::RISE(OSPD_test_st.OSPD_PLS, c.OSPD_DMD_OR_OR, c.OSPD_PLS_ACT_OUT, c.OSPD_PLS_E_TIME, c.OSPD_PLS_R_TIME);
    c.REDICE_OSPD_NOT_NOT = bk::NOT(c.REDUCE_OSPD_USE_B_ACTION);
}

}  // namespace r80

namespace r10 {

void OSPD_trip() {
    auto& c = OSPD;
    bk::A_COMPARE(c.OSPD_LEVEL_A_COMPARE, c.OSPD_LEVEL_A_EQUAL, MPU.TURB_SPD_A_NAME, c.OSPD_SP_A_SW);
    c.OSPD_SD_AND = bk::AND({c.NAND_TEST_NAND, c.OSPD_LEVEL_A_COMPARE});
    c.OSPD_TRIP_B_NAME = c.OSPD_SD_AND;
    // Beyond the test limit during a test: its own shutdown, even when the
    // overspeed trip is suppressed.
    c.SPD_OR_SP_A_MAX = bk::A_MAX(IFACE_IN_SPEED.SPEED_A_NAME, IFACE_OUT_SPEED.SPEED_REF_A_NAME);
    bk::A_COMPARE(c.OSPD_MAX_LIM_A_COMPARE, c.OSPD_MAX_LIM_A_EQUAL, c.SPD_OR_SP_A_MAX, CNFG_SETPT.OST_LIMIT_A_NAME);
    c.OSPD_SD_OR_OR = bk::OR({c.OSPD_MAX_LIM_A_COMPARE, c.OSPD_MAX_LIM_A_EQUAL});
    c.MAX_SP_ENA_AND = bk::AND({IFACE_OUT_SPEED.OSPD_TEST_EN_B_NAME, c.OSPD_SD_OR_OR});
    c.OSPD_MAXLIM_B_NAME = c.MAX_SP_ENA_AND;
}

}  // namespace r10
