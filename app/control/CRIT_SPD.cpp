// CRIT_SPD: the first critical speed band. At 10 ms the turbine speed inside
// it while running, at 40 ms the speed reference inside it, at 160 ms the
// time the speed may dwell there.
#include "app/control/CRIT_SPD.cells.h"

#include "app/control/CONF_VAL_1.cells.h"
#include "app/control/IFACE_IN_START.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/START.cells.h"
#include "app/config/CNFG_SETPT.cells.h"
#include "app/control/ref_blocks.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace r10 {

void CRIT_SPD_band() {
    const float T = IFACE_IN_START.TURB_SPEED_A_NAME;
    // At or below the band's top (A_COMPARE is IN_1 >= IN_2).
    bk::A_COMPARE(CRIT_SPD.SPD_MAX1_A_COMPARE, CRIT_SPD.SPD_MAX1_A_EQUAL, CRIT_SPD.SET_HIGH1_SUB_SUBTRACT, T);
    bk::A_COMPARE(CRIT_SPD.SPD_MIN1_A_COMPARE, CRIT_SPD.SPD_MIN1_A_EQUAL, T, IFACE_IN_START.SET_LOW1_A_NAME);
    CRIT_SPD.CRIT_PROB1_AND = bk::AND({CRIT_SPD.SPD_MAX1_A_COMPARE, START.RUN_CMD_LATCH_R, CONF_VAL_1.CRIT_BAND1_B_NAME,
                                       CRIT_SPD.CRIT_PROB1_IN_4, CRIT_SPD.SPD_MIN1_A_COMPARE});
    CRIT_SPD.CRIT_OR = bk::OR({CRIT_SPD.CRIT_PROB1_AND, CRIT_SPD.CRIT_BAND_OR});
}

}  // namespace r10

namespace r40 {

// The speed reference inside the first band; the reference then moves at no
// less than the critical rate.
void CRIT_SPD_reference_band() {
    auto& c = CRIT_SPD;
    const float z = IFACE_OUT_SPEED.Z_SETPOINT_A_NAME;
    bk::A_COMPARE(c.HIGH_LIM_1_A_COMPARE, c.HIGH_LIM_1_A_EQUAL, IFACE_IN_START.SET_HIGH1_A_NAME, z);
    bk::A_COMPARE(c.LOW_LIM_1_A_COMPARE, c.LOW_LIM_1_A_EQUAL, z, IFACE_IN_START.SET_LOW1_A_NAME);
    c.CRIT_BAND1_AND = bk::AND({c.HIGH_LIM_1_A_COMPARE, CONF_VAL_1.CRIT_BAND1_B_NAME, c.LOW_LIM_1_A_COMPARE});
    c.CRIT_BAND_OR = c.CRIT_BAND1_AND;
}

}  // namespace r40

namespace {
struct CRIT_SPD_blocks {
    bk::DelayState AT_MIN_GOV, SWITCHTIME, CRIT_DLY1;
    bk::OneShotState SH_STUCK;
};
BlockRam<CRIT_SPD_blocks> CRIT_SPD_st;

constexpr float kAtMinGovDelay = 10.0f;  // the reference below minimum governor (s)
constexpr float kShortestDwell = 15.0f;  // the allowed dwell is never shorter (s)
constexpr float kStuckPulse = 0.32f;     // the force-to-minimum request (s)
}  // namespace

namespace r160 {

// The turbine may stay in the band for the band's crossing time at the
// critical rate, times MAX_TIMEX (larger while stopping or going to idle),
// but at least 15 s; right after a start at minimum governor only
// MAXTIME_1.NO. Longer, and the band is stuck: IN_CRIT, and one request to
// force the reference to minimum.
void CRIT_SPD_dwell() {
    auto& c = CRIT_SPD;
    auto& s = CRIT_SPD_st;
    c.SET_HIGH1_SUB_SUBTRACT = IFACE_IN_START.SET_HIGH1_A_NAME - c.SET_HIGH1_SUB_IN_2;
    bk::DELAY(s.AT_MIN_GOV, c.AT_MIN_GOV_DELAY, &c.AT_MIN_GOV_R_TIME.ref(), START.SP_MIN_NOT_NOT, kAtMinGovDelay, 0.0f,
              bk::T160);
    c.IDLE_STOP_OR = bk::OR({SPDC.Z01_STEP_SFC_STEP, SPDC.A11_STEP_SFC_STEP, SPDC.L_CRIT_FRC_AND});
    bk::DELAY(s.SWITCHTIME, c.SWITCHTIME_DELAY, &c.SWITCHTIME_R_TIME.ref(), c.IDLE_STOP_OR, 0.0f, c.MAXTIMEZ_ZMINUS1,
              bk::T160);
    c.MAX_TIMEX_A_SW = bk::SW<float>(c.SWITCHTIME_DELAY, c.MAX_TIMEX_NC, c.MAX_TIMEX_NO);
    c.CRITRATEX3_DIVIDE = bk::DIVIDE(CNFG_SETPT.CRIT_SPD_RATE_A_NAME, c.MAX_TIMEX_A_SW);
    c.RST_STRT_AND = bk::AND({c.AT_MIN_GOV_DELAY, START.RUN_CMD_LATCH_R});
    c.MAX_MIN_1_SUBTRACT = c.SET_HIGH1_SUB_SUBTRACT - IFACE_IN_START.SET_LOW1_A_NAME;
    c.MAXTIME1_DIVIDE = bk::DIVIDE(c.MAX_MIN_1_SUBTRACT, c.CRITRATEX3_DIVIDE);
    c.MINTIME1_A_MAX = bk::A_MAX(c.MAXTIME1_DIVIDE, kShortestDwell);
    c.MAXTIME_1_A_SW = bk::SW<float>(c.RST_STRT_AND, c.MINTIME1_A_MAX, c.MAXTIME_1_NO);
    bk::DELAY(s.CRIT_DLY1, c.CRIT_DLY1_DELAY, &c.CRIT_DLY1_R_TIME.ref(), c.CRIT_PROB1_AND, c.MAXTIME_1_A_SW, 0.0f,
              bk::T160);
    c.IN_CRIT_OR = c.CRIT_DLY1_DELAY;
    c.RTIME_OUT_1 = bk::int_to_real(c.CRIT_DLY1_R_TIME);
    bk::ONE_SHOT(s.SH_STUCK, c.SH_STUCK_ONE_SHOT, &c.SH_STUCK_R_TIME.ref(), c.IN_CRIT_OR, kStuckPulse, bk::T160);
    c.FRC_TOMIN_B_ACTION =
        bk::AND({c.SH_STUCK_ONE_SHOT, bk::NOT(bk::OR({SPDC.Z00_STEP_SFC_STEP, SPDC.A00_STEP_SFC_STEP}))});
    refbk::ACTION_OUT(c.FRC_TOMIN_ACT_OUT, c.FRC_TOMIN_E_TIME, c.FRC_TOMIN_R_TIME, 1);
}

}  // namespace r160
