// SPD_CTRL: the speed controller at 10, 40 and 160 ms, and the optimizer
// status block _ub91.
#include "app/config/RMT_SETPT.cells.h"
#include "app/control/SPD_CTRL.cells.h"

#include <cmath>
#include <cstdio>

#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/DROOP.cells.h"
#include "app/control/HP_DRIVER.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/RESET.cells.h"
#include "app/control/SPD_DYN.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/analog/ACT_MUX.cells.h"
#include "app/discrete/BI_MUX.cells.h"
#include "app/discrete/IFACE_OUT_VLV.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "app/config/CNFG_SETPT.cells.h"
#include "blocks/pid_contexts.h"
#include "app/interface/RMT_SETPT.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "runtime/rgtask.h"

namespace {
struct SPD_CTRL_blocks {
    bk::DelayState SPD_SW_DLY;
    bk::ActionState CALC_NOISE;
    bk::ActionState ENA_OPTI;
    bk::DelayState ENA_OPTI_DELAY;
    bk::RampState FAST_SLOW_RAMP;
    bk::OneShotState FLT_SAMPL;
    bk::SampState HOLD_FLT;
    uint32_t set_fltval_prev;
};
BlockRam<SPD_CTRL_blocks> SPD_CTRL_st;

// The value never selected by the low-signal select, and the range of the
// speed hold buses.
constexpr float kNeverSelected = 101.0f;
constexpr float kHoldRange = 20000.0f;
// The fast/slow preference at start: neither side.
constexpr float kFastSlowStart = 50.0f;
// The action type of a stored request whose run the timer limits.
constexpr int32_t kStoredAndLimited = 8;

// A bound replaces a value above the upper or below the lower one.
float clamp(float v, float lo, float hi) {
    if (v > hi) return hi;
    if (v < lo) return lo;
    return v;
}
int32_t clamp(int32_t v, int32_t lo, int32_t hi) { return v > hi ? hi : v < lo ? lo : v; }

// The optimizer's alarm word as text: one bit by its text, several bits as
// the list of their values.
void SPD_CTRL_alarm_text(StrCell& out, int32_t alarm) {
    static const char* const kText[7] = {"Rate group not fast enough",      "Exceeded overshoot on test step",
                                         "Response to step test sluggish",  "Act Movement was limited",
                                         "High relative deadtime",          "High process movement in Droop",
                                         "RESP_TM_LMT too short for response"};
    if (alarm == 64) {
        str_cell_copy(out, kText[6]);
        return;
    }
    if (alarm < 1 || alarm > 63) {
        str_cell_copy(out, "None");
        return;
    }
    if ((alarm & (alarm - 1)) == 0) {
        int bit = 0;
        while ((alarm >> bit) != 1) ++bit;
        str_cell_copy(out, kText[bit]);
        return;
    }
    char list[40] = "";
    size_t n = 0;
    for (int bit = 0; bit < 6; ++bit) {
        if ((alarm & (1 << bit)) == 0) continue;
        n += static_cast<size_t>(std::snprintf(list + n, sizeof list - n, n ? ", %d" : "%d", 1 << bit));
    }
    str_cell_copy(out, list);
}
}  // namespace

void SPD_CTRL_init_blks() { SPD_CTRL_st.FAST_SLOW_RAMP.last = kFastSlowStart; }

namespace r10 {

void SPD_CTRL_dynamics() {
    SPD_CTRL.OTHER_AT_MAX_AND =
        bk::AND({SPD_CTRL.NEAR_MAXGV_A_COMPARE, SPD_CTRL.OTHER_EN_CTL_OR, SPD_CTRL.OTHER_AT_MAX_IN_3});
    bk::DELAY(SPD_CTRL_st.SPD_SW_DLY, SPD_CTRL.SPD_SW_DLY_DELAY, &SPD_CTRL.SPD_SW_DLY_R_TIME.ref(),
              SPD_CTRL.OTHER_AT_MAX_AND, SPD_CTRL.SPD_SW_DLY_DLY_TIME, SPD_CTRL.SPD_SW_DLY_NEG_DTIME, bk::T10);
    SPD_CTRL.SW_DYN_B_SW =
        bk::SW<uint32_t>(BI_MUX.ONLINE_DYN_USED_B_NAME, SPD_CTRL.SPD_GT_MIN_A_COMPARE, BI_MUX.ONLINE_DYN_CONT_B_NAME);
    SPD_CTRL.ONLINE_DYN_B_NAME = SPD_CTRL.SW_DYN_B_SW;
    const uint32_t online = SPD_CTRL.ONLINE_DYN_B_NAME;
    SPD_CTRL.P_GAIN_A_SW = bk::SW<float>(online, SPD_DYN.P_OFFLINE_SAMP_TUNE, SPD_DYN.P_ONLINE_SAMP_TUNE);
    SPD_CTRL.I_GAIN_A_SW = bk::SW<float>(online, SPD_DYN.I_OFFLINE_SAMP_TUNE, SPD_DYN.I_ONLINE_SAMP_TUNE);
    SPD_CTRL.D_GAIN_A_SW = bk::SW<float>(online, SPD_DYN.D_OFFLINE_SAMP_TUNE, SPD_DYN.D_ONLINE_SAMP_TUNE);
}

void SPD_CTRL_speed_pid() {
    // Deadband of width W around the speed S, backed off toward the droop
    // reference.
    SPD_CTRL.SW_DB_A_SW = bk::SW<float>(SPD_CTRL.ONLINE_DYN_B_NAME, 0.0f, DROOP.SPD_DB2_A_SW);
    const float S = IFACE_IN_SPEED.SPEED_A_NAME;
    const float W = SPD_CTRL.SW_DB_A_SW;
    float x = S + W;
    if (x > DROOP.SW_REF_A_SW) x = DROOP.SW_REF_A_SW;
    if (x < S - W) x = S - W;
    SPD_CTRL.SPD_DB_A_DEADBAND = x;
    // Tuning uses the raw speed.
    SPD_CTRL.SPD_TO_PID_A_SW = bk::SW<float>(SPD_CTRL.ENA_OPTI_B_ACTION, SPD_CTRL.SPD_DB_A_DEADBAND, S);

    const float k = SPD_CTRL.INV_MX_SPD_DIVIDE;
    SPD_CTRL.NORM_SPD_MULTIPLY = SPD_CTRL.SPD_TO_PID_A_SW * k;
    SPD_CTRL.PROC_OPTI_A_NAME = SPD_CTRL.NORM_SPD_MULTIPLY;
    SPD_CTRL.NORM_SETPT_MULTIPLY = SPD_CTRL.SPD_SETPT_A_NAME * k;
    SPD_CTRL.SP_OPTI_A_NAME = SPD_CTRL.NORM_SETPT_MULTIPLY;
    SPD_CTRL.ACT_LIM_A_SW = bk::SW<float>(SPD_CTRL.ONLINE_DYN_B_NAME, SPD_CTRL.ACT_LIM_NC, SPD_CTRL.ACT_LIM_NO);

    PidOptiVars& v = SPD_CTRL_SPD_PID_9052_vars;
    v.PV = SPD_CTRL.PROC_OPTI_A_NAME;
    v.SP = SPD_CTRL.SP_OPTI_A_NAME;
    v.I = clamp(SPD_CTRL.I_GAIN_A_SW, 1e-5f, 50.0f);
    v.P = clamp(SPD_CTRL.P_GAIN_A_SW, 0.0f, 9e20f);
    v.SDR = clamp(SPD_CTRL.D_GAIN_A_SW, 0.01f, 100.0f);
    v.THRESH = SPD_CTRL.SPD_PID_THRESH;
    v.FDBK = IFACE_OUT_VLV.LSS_OUT_A_NAME;
    v.FEEDBACK1 = static_cast<int32_t>(HP_DRIVER.ACT_LSS_SEL_1);
    v.CLR_STATE = static_cast<int32_t>(SPD_CTRL.SPD_PID_CLR_STATE);
    v.ENABLE = static_cast<int32_t>(SPD_CTRL.ENA_OPTI_DELAY_DELAY);
    v.PRC_MV_LMT = SPD_CTRL.PRC_MVLMT_A_NAME;
    v.OUT_MV_LMT = clamp(SPD_CTRL.ACT_LIM_A_SW, 0.0f, 100.0f);
    v.RESP_TO = SPD_CTRL.SPD_PID_RESP_TM_LMT;
    v.PID_TYPE = SPD_CTRL.SPD_PID_P_PI_PID;
    v.FAST_SLOW = clamp(SPD_CTRL.FAST_SLOW_A_NAME, 0.0f, 200.0f);
    v.LSS_HSS = clamp(static_cast<int32_t>(SPD_CTRL.SPD_PID_LSS_HSS), 0, 2);
    pid_opti(&v, kPidOptiRun);

    // Speed control disabled: the select never takes the PID.
    SPD_CTRL.SPD_PID_SW_A_SW =
        bk::SW<float>(SPD_CTRL.SPD_SW_DLY_DELAY, SPD_CTRL.SPD_PID_PID_OPTI, kNeverSelected);
    IFACE_OUT_SPEED.SPD_PID_LSS_A_NAME = SPD_CTRL.SPD_PID_SW_A_SW;
    IFACE_IN_VLV.SPD_PID_A_NAME = SPD_CTRL.SPD_PID_SW_A_SW;
}

void SPD_CTRL_optimizer_ready() {
    bk::I_COMPARE(SPD_CTRL.OPTI_NOT_RDY_EQ, SPD_CTRL.OPTI_NOT_RDY_LT, SPD_CTRL.OPTI_NOT_RDY_GT,
                  SPD_CTRL.SPD_PID_OPTI_STATUS, 1);
}

// The peak-to-peak speed while the noise command is active.
void SPD_CTRL_noise() {
    int32_t actOut = SPD_CTRL.CALC_NOISE_ACT_OUT;
    bk::ACTION(SPD_CTRL_st.CALC_NOISE, SPD_CTRL.CALC_NOISE_B_ACTION, actOut, SPD_CTRL.CALC_NOISE_E_TIME,
               SPD_CTRL.CALC_NOISE_R_TIME, IFACE_OUT_VLV.ACT_LSS_SEL_1_B_NAME,
               bk::OR({IFACE_IN_SPEED.RESET_NOISE_CALC_B_NAME, SPD_CTRL.SP_MOVE_OR, SPD_CTRL.OPTI_NOT_RDY_GT,
                       SPD_CTRL.CALC_NOISE_RST_6}),
               SPD_CTRL.CALC_NOISE_ACT_Q, SPD_CTRL.CALC_NOISE_D_TIME, bk::T10);
    SPD_CTRL.CALC_NOISE_ACT_OUT = actOut;
    SPD_CTRL.CALC_NOISE_ENBL_OR = bk::OR({SPD_CTRL.CALC_NOISE_ENBL_IN_1, SPD_CTRL.CALC_NOISE_B_ACTION});
    SPD_CTRL.DROOP_VAL_A_SW = bk::SW<float>(SPD_CTRL.DROOP_VAL_CTRL, 0.0f, DROOP.DROOP_RPM_MULTIPLY);

    const float S = IFACE_IN_SPEED.SPEED_A_NAME;
    const bk::BusOut hi = bk::HSS_BUS({SPD_CTRL.LP_BRKR_HI_ZMINUS1, S}, kHoldRange, 0.0f);
    SPD_CTRL.HOLD_HI_HSS_BUS = hi.out;
    SPD_CTRL.HOLD_HI_HI_LIM_I = hi.hi_lim_i;
    SPD_CTRL.HOLD_HI_LO_LIM_I = hi.lo_lim_i;
    bk::set_sel(hi.sel, SPD_CTRL.HOLD_HI_SEL_1, SPD_CTRL.HOLD_HI_SEL_2);
    const bk::BusOut lo = bk::LSS_BUS({SPD_CTRL.LP_BRKR_LO_ZMINUS1, S}, kHoldRange, 0.0f);
    SPD_CTRL.HOLD_LO_LSS_BUS = lo.out;
    SPD_CTRL.HOLD_LO_HI_LIM_I = lo.hi_lim_i;
    SPD_CTRL.HOLD_LO_LO_LIM_I = lo.lo_lim_i;
    bk::set_sel(lo.sel, SPD_CTRL.HOLD_LO_SEL_1, SPD_CTRL.HOLD_LO_SEL_2);
    SPD_CTRL.HI_LO_DIFF_SUBTRACT = SPD_CTRL.HOLD_HI_HSS_BUS - SPD_CTRL.HOLD_LO_LSS_BUS;
    SPD_CTRL.SIGNAL_NOISE_A_NAME = SPD_CTRL.HI_LO_DIFF_SUBTRACT;
    SPD_CTRL.RST_HOLD_NOT = bk::NOT(SPD_CTRL.CALC_NOISE_ENBL_OR);
    SPD_CTRL.HOLD_RST_HI_A_SW = bk::SW<float>(SPD_CTRL.RST_HOLD_NOT, SPD_CTRL.HOLD_HI_HSS_BUS, 0.0f);
    SPD_CTRL.HOLD_RST_LO_A_SW = bk::SW<float>(SPD_CTRL.RST_HOLD_NOT, SPD_CTRL.HOLD_LO_LSS_BUS, kHoldRange);

    SPD_CTRL.OPID_ALRM_OUT_1 = bk::int_to_real(SPD_CTRL.SPD_PID_OPTI_ALARM);
    SPD_CTRL.OPID_FAULT_OUT_1 = bk::int_to_real(SPD_CTRL.SPD_PID_OPTI_FAULT);
    SPD_CTRL.OPID_STATE_OUT_1 = bk::int_to_real(SPD_CTRL.SPD_PID_OPTI_STATUS);
}

void SPD_CTRL_status_block() {
    auto& u = _ub91;
    SPD_CTRL_blocks& st = SPD_CTRL_st;
    const int32_t fault = SPD_CTRL.SPD_PID_OPTI_FAULT;
    const int32_t status = SPD_CTRL.SPD_PID_OPTI_STATUS;

    // The fault is held for display until the reset.
    u.OPID_FLTS_IN_1_I_NAME = fault;
    bk::I_COMPARE(u.FLT_FLAG_EQ, u.FLT_FLAG_LT, u.FLT_FLAG_GT, fault, 0);
    u.RESET_FLT_B_NAME = SPD_CTRL.OPTI_FLT_RST_OR;
    bk::ONE_SHOT(st.FLT_SAMPL, u.FLT_SAMPL_ONE_SHOT, &u.FLT_SAMPL_R_TIME.ref(), u.RESET_FLT_B_NAME, 0.5f, bk::T10);
    bk::LATCH(u.OPTI_FLT_LATCH, u.FLT_FLAG_GT, u.RESET_FLT_B_NAME);
    u.SET_FLTVAL_OR = bk::OR({u.OPTI_FLT_LATCH, u.FLT_SAMPL_ONE_SHOT});
    const int32_t held = fault > 0 ? (fault > 20 ? 20 : fault) : 0;
    bk::SAMP_OUTPUTS(bk::SAMP_ITUNE(st.HOLD_FLT, u.HOLD_FLT_TUNE, held, u.SET_FLTVAL_OR, 0, 30, 1, 0, 20,
                                    static_cast<uint32_t>(AllRgExecutedwMMM)),
                     u.HOLD_FLT_SAMP_ITUNE, u.HOLD_FLT_LIMITED, u.HOLD_FLT_EN_ENT_OUT, u.HOLD_FLT_LO_LIM_OUT,
                     u.HOLD_FLT_HI_LIM_OUT);

    // Texts. The sequence's own aborts (2, 3, 5, 6, 7) are named by their
    // reason, so that an aborted run never shows "None".
    SPD_CTRL_alarm_text(u.OPID_ALMS_I_TO_STR, SPD_CTRL.SPD_PID_OPTI_ALARM);
    bk::I_TO_STR(u.OPID_FLTS_I_TO_STR, u.HOLD_FLT_SAMP_ITUNE,
                 {{1, "CLR_STATE toggled"},
                  {2, "Noise band too wide for PRC_MV_LMT"},
                  {3, "Cycle periods spread too wide"},
                  {4, "PRC_MV vs Act wrong"},
                  {5, "PRC_MV left SP +/- PRC_MV_LMT"},
                  {6, "Analysis timed out"},
                  {7, "DRP_MV left DRP_REF +/- DRP_MV_LMT"},
                  {8, "RATE_CTRL was True"},
                  {9, "FEEDBACK1 was False"},
                  {10, "PRC_MV_LMT was changed"},
                  {11, "OUT_MV_LMT was changed"},
                  {12, "RESP_TO was changed"},
                  {13, "PID Type was changed"},
                  {14, "FAST_SLOW changed"},
                  {15, "PROC_TYPE changed"},
                  {16, "SDR crossed 1 in either direction"},
                  {17, "SP changed"},
                  {18, "DRP_REF changed"},
                  {19, "SYSCON failed"},
                  {20, "DRP_MV_LMT changed"}},
                 "None");
    u.OPID_STATUS_IN_1_I_NAME = status;
    bk::I_TO_STR(u.OPID_STATUS_I_TO_STR, u.OPID_STATUS_IN_1_I_NAME,
                 {{1, "Ready"},
                  {2, "Enabled / Settling"},
                  {3, "Step Up Analysis"},
                  {4, "Step Down Analysis"},
                  {5, "Step Up to Threshold"},
                  {6, "Step Down to Threshold"},
                  {7, "Calculating Gains"},
                  {8, "Using OPID Gains at Setpoint"},
                  {9, "Step Test 1 with OPID Gains"},
                  {10, "Step Test 1 with OPID Gains"},
                  {11, "Fault - Analysis Aborted"},
                  {12, "Using OPID Gains at Setpoint"},
                  {13, "Step Test 2 with OPID Gains"},
                  {14, "Step Test 2 with OPID Gains"},
                  {15, "System Settling"},
                  {16, "Complete - Using New OPID Gains"}},
                 "OFF");

    // State flags.
    bk::I_COMPARE(u.OPTI_11_FLT_EQ, u.OPTI_11_FLT_LT, u.OPTI_11_FLT_GT, status, 11);
    u.NOT_FLT_NOT = bk::NOT(u.OPTI_11_FLT_EQ);
    u.OPTIDYN_IN_USE_AND = bk::AND({status > u.OPTIDYN_ON_IN_2 ? 1u : 0u, u.NOT_FLT_NOT});
    u.OPTI_ACTIVE_AND = bk::AND({status < u.OPTI_CMPLT_IN_2 ? 1u : 0u, status > 1 ? 1u : 0u});
}

}  // namespace r10

namespace r40 {

void SPD_CTRL_reference_moving() {
    SPD_CTRL.SP_MOVE_OR = bk::OR({SPDC.SPEED_REF_MOVING_UP, SPDC.SPEED_REF_MOVING_DN});
    IFACE_OUT_SPEED.SP_NOT_MOVE_NOT = bk::NOT(SPD_CTRL.SP_MOVE_OR);
}

void SPD_CTRL_setpoint() {
    SPD_CTRL.SPD_REF_ADD = IFACE_OUT_SPEED.SPEED_REF_A_NAME + 0.0f;
    SPD_CTRL.REM_SIG_A_SW = bk::SW<float>(IFACE_IN_SPEED.REMSP_PV_FLT_B_NAME, RMT_SETPT.RMT_DEAD_A_DEADBAND, 0.0f);
    const bk::BusOut combo = bk::HSS_BUS({SPD_CTRL.SPD_REF_ADD, SPD_CTRL.REM_SIG_A_SW}, 100000.0f, 0.0f);
    SPD_CTRL.COMBO_MODE_HSS_BUS = combo.out;
    SPD_CTRL.COMBO_MODE_HI_LIM_I = combo.hi_lim_i;
    SPD_CTRL.COMBO_MODE_LO_LIM_I = combo.lo_lim_i;
    bk::set_sel(combo.sel, SPD_CTRL.COMBO_MODE_SEL_1, SPD_CTRL.COMBO_MODE_SEL_2);
    SPD_CTRL.RAMP_OR_HSS_A_SW = bk::SW<float>(SPD_CTRL.ENA_COMBO_AND, SPD_CTRL.SPD_REF_ADD, SPD_CTRL.COMBO_MODE_HSS_BUS);
    SPD_CTRL.DROOPED_SP_SUBTRACT = SPD_CTRL.RAMP_OR_HSS_A_SW - SPD_CTRL.DROOP_VAL_A_SW;
    SPD_CTRL.SPD_SETPT_A_NAME = SPD_CTRL.DROOPED_SP_SUBTRACT;
}

void SPD_CTRL_optimizer_enable() {
    SPD_CTRL.TIQ_OPTI_RQST_B_NAME = SPD_CTRL.TIQ_OPTI_RQST_IN;
    SPD_CTRL.OPTI_RQST_OR = bk::OR({SPD_CTRL.TIQ_OPTI_RQST_B_NAME, IFACE_IN_SPEED.ANLYZ_RQST_OUT_1});
    SPD_CTRL.OPTI_FLT_AND = bk::AND({_ub91.OPTI_FLT_LATCH, RESET.RESET_B_NAME});
    // The pulse that ends a tuning run (its time ran out, or its gains were
    // taken) resets the stored and limited enable only: it clears the stored
    // request so that the next one starts a new run. The time-limited type
    // would start again while its request is held, and the delayed types
    // begin their enable when the time runs out, so the pulse would cut it
    // at once; the types without a timer never give the pulse after start-up.
    const int32_t q = SPD_CTRL.ENA_OPTI_ACT_Q;
    const uint32_t ended = q == kStoredAndLimited ? SPD_CTRL.ONE_SHOT_ONE_SHOT : 0u;
    int32_t actOut = SPD_CTRL.ENA_OPTI_ACT_OUT;
    bk::ACTION(SPD_CTRL_st.ENA_OPTI, SPD_CTRL.ENA_OPTI_B_ACTION, actOut, SPD_CTRL.ENA_OPTI_E_TIME,
               SPD_CTRL.ENA_OPTI_R_TIME, SPD_CTRL.OPTI_RQST_OR,
               bk::OR({SPD_CTRL.ENA_OPTI_RST_1, SPD_CTRL.ENA_OPTI_RST_2, SPD_CTRL.ENA_OPTI_RST_5,
                       IFACE_IN_SPEED.ANLYZ_RQST_OUT_2, SPD_CTRL.OPTI_FLT_AND, ended}),
               q, SPD_CTRL.ENA_OPTI_D_TIME, bk::T40);
    SPD_CTRL.ENA_OPTI_ACT_OUT = actOut;
    bk::DELAY(SPD_CTRL_st.ENA_OPTI_DELAY, SPD_CTRL.ENA_OPTI_DELAY_DELAY, &SPD_CTRL.ENA_OPTI_DELAY_R_TIME.ref(),
              SPD_CTRL.ENA_OPTI_B_ACTION, 0.1f, 0.0f, bk::T40);
}

void SPD_CTRL_near_max() {
    SPD_CTRL.MAX_SETPT_SUBTRACT = IFACE_IN_SPEED.MAX_GOV_A_NAME - IFACE_OUT_SPEED.SPEED_REF_A_NAME;
    bk::A_COMPARE_HYST(SPD_CTRL.NEAR_MAXGV_A_COMPARE, SPD_CTRL.NEAR_MAXGV_A_EQUAL, SPD_CLTR.Z_REFBACK_ZMINUS1,
                       SPD_CTRL.NEAR_MAXGV_IN_2, SPD_CTRL.NEAR_MAXGV_HYSTER);
}

}  // namespace r40

namespace r160 {

void SPD_CTRL_values() {
    // Fast/slow adjustment: position 1 wins; without either the ramp holds.
    const bk::RampOut r = bk::RAMP(SPD_CTRL_st.FAST_SLOW_RAMP,
                                   {{IFACE_IN_SPEED.ADJ_FAST_SLOW_OUT_1, 0.0f},
                                    {IFACE_IN_SPEED.ADJ_FAST_SLOW_OUT_2, SPD_CTRL.FAST_SLOW_RAMP_P_SP_2}},
                                   SPD_CTRL.FAST_SLOW_RAMP_R_SP_1, bk::T160);
    SPD_CTRL.FAST_SLOW_RAMP_RAMP = r.ramp;
    SPD_CTRL.FAST_SLOW_RAMP_REV_RAMP = 0.0f;
    SPD_CTRL.FAST_SLOW_RAMP_MOVING_UP = r.moving_up;
    SPD_CTRL.FAST_SLOW_RAMP_MOVING_DN = r.moving_dn;
    SPD_CTRL.FAST_SLOW_RAMP_POS_SEL = r.pos_sel;
    SPD_CTRL.FAST_SLOW_RAMP_P_LIM_1 = bk::P_LIM(r, 0.0f);
    SPD_CTRL.FAST_SLOW_RAMP_P_LIM_2 = bk::P_LIM(r, SPD_CTRL.FAST_SLOW_RAMP_P_SP_2);
    SPD_CTRL.A_TO_INT_OUT_1 = bk::real_to_int(SPD_CTRL.FAST_SLOW_RAMP_RAMP);
    SPD_CTRL.I_TO_AN_OUT_1 = bk::int_to_real(SPD_CTRL.A_TO_INT_OUT_1);
    SPD_CTRL.FAST_SLOW_A_NAME = SPD_CTRL.I_TO_AN_OUT_1;

    // Overspeed-test normalisation.
    SPD_CTRL.INV_MX_SPD_DIVIDE = bk::DIVIDE(100.0f, CNFG_SETPT.OST_LIMIT_A_NAME);
    SPD_CTRL.NORM_PRCMV_MULTIPLY = SPD_CTRL.NORM_PRCMV_IN_1 * SPD_CTRL.INV_MX_SPD_DIVIDE;
    SPD_CTRL.PRC_MVLMT_A_NAME = SPD_CTRL.NORM_PRCMV_MULTIPLY;

    // On line: at or above the go-on-line speed, until 100 below it.
    bk::A_COMPARE_HYST(SPD_CTRL.SPD_GT_MIN_A_COMPARE, SPD_CTRL.SPD_GT_MIN_A_EQUAL, IFACE_IN_SPEED.SPEED_A_NAME,
                       IFACE_IN_SPEED.GO_ONLINE_A_NAME, SPD_CTRL.SPD_GT_MIN_HYSTER);
}

}  // namespace r160
