// CASC_CTRL and CASC_RATE: the cascade's sampled limits and rates, its
// scaling to percent of the setpoint span, and the PID path from the
// process value to the speed-setpoint demand.
#include "app/control/CASC_CTRL.cells.h"

#include "app/config/MASTER.cells.h"
#include "app/control/CASC_RATE.cells.h"
#include "app/control/CASC_SETPT.cells.h"
#include "app/control/CNFG_CASC.cells.h"
#include "app/control/IFACE_IN_CASC.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/RESET.cells.h"
#include "app/discrete/IFACE_OUT_VLV.cells.h"
#include "app/config/CNFG_SETPT.cells.h"
#include "runtime/rgtask.h"
#include "blocks/pid_contexts.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "blocks/tune_coef.h"

namespace {
struct CASC_CTRL_blocks {
    bk::SampState SPD_SP_MAX, SPD_SP_MIN, RTD_SETPT, FST_RATE, N_MTCHD, ENTRD_RATE, RT_N_MTCH;
    bk::LagState CASC_LAG;
    float CASC_LAG_coef;
};
BlockRam<CASC_CTRL_blocks> CASC_CTRL_st;

constexpr float kFdbkLimit = 101.0f;  // % the PID's feedback is limited to

// One sampled tunable B of module M: start value IN on the pulse SAMPLE, its
// own range [TMIN, TMAX], run-time limits [LO, HI].
#define CASC_SAMPLE(M, B, IN, SAMPLE, LO, HI, TMIN, TMAX)                                                    \
    bk::SAMP_OUTPUTS(bk::SAMP_TUNE(CASC_CTRL_st.B, M.B##_TUNE, IN, SAMPLE, LO, HI, M.B##_ENBL_ENTER, TMIN, TMAX, \
                                   static_cast<uint32_t>(AllRgExecutedwMMM)),                                \
                     M.B##_SAMP_TUNE, M.B##_LIMITED, M.B##_EN_ENT_OUT, M.B##_LO_LIM_OUT, M.B##_HI_LIM_OUT)
}  // namespace

void CASC_CTRL_init_blks() { tune_lag(&CASC_CTRL_st.CASC_LAG_coef, cells::CASC_CTRL.CASC_LAG_LAG_TAU, bk::T80); }
void CASC_CTRL_lag_time_written() { CASC_CTRL_init_blks(); }

namespace r160 {

void CASC_RATE_rates() {
    auto& r = CASC_RATE;
    r.H_CASC_SET_B_SW = bk::SW<uint32_t>(r.H_CASC_SET_CTRL, RESET.PWR_UP_RST_ONE_SHOT, 0u);
    r.FAST_RATE_MULTIPLY = IFACE_IN_CASC.CASC_RATE_A_NAME * r.FAST_RATE_IN_2;
    CASC_SAMPLE(r, FST_RATE, r.FAST_RATE_MULTIPLY, r.H_CASC_SET_B_SW, 0.01f, 5000.0f, 0.01f, 5000.0f);
    CASC_SAMPLE(r, N_MTCHD, CNFG_SETPT.SLOW_RATE_ONLINE_A_NAME, r.H_CASC_SET_B_SW, 0.01f, 1000.0f, 0.01f, 1000.0f);
    CASC_SAMPLE(r, ENTRD_RATE, CNFG_CASC.SP_RATE_A_NAME, r.H_CASC_SET_B_SW, 0.01f, 1000.0f, 0.01f, 1000.0f);
    // The remote not-matched rate has a power-up pulse of its own.
    r.H_R_CAS_S_B_SW = bk::SW<uint32_t>(r.H_R_CAS_S_CTRL, RESET.PWR_UP_RST_ONE_SHOT, 0u);
    CASC_SAMPLE(r, RT_N_MTCH, IFACE_IN_CASC.CASC_RATE_A_NAME, r.H_R_CAS_S_B_SW, 0.01f, 1000.0f, 0.01f, 1000.0f);
}

void CASC_CTRL_scaling() {
    auto& c = CASC_CTRL;
    const uint32_t io_lock = MASTER.IO_LOCK_B_NAME;
    c.MIN_CAS_SP_HOLD_A_SW = bk::SW<float>(io_lock, CNFG_SETPT.MIN_GOV_A_NAME, bk::kRealLoLim);
    c.MAX_GOV_HOLD_A_SW = bk::SW<float>(io_lock, CNFG_SETPT.MAX_GOV_A_NAME, bk::kRealHiLim);
    c.MIN_SETPT_HOLD_A_SW = bk::SW<float>(io_lock, CASC_SETPT.MIN_SETPT_A_NAME, bk::kRealLoLim);
    c.MAX_SETPT_HOLD_A_SW = bk::SW<float>(io_lock, CASC_SETPT.MAX_SETPT_A_NAME, bk::kRealHiLim);
    const uint32_t pulse = CASC_RATE.H_CASC_SET_B_SW;
    CASC_SAMPLE(c, SPD_SP_MAX, CNFG_CASC.SPD_SP_MAX_A_NAME, pulse, c.MIN_CAS_SP_HOLD_A_SW, c.MAX_GOV_HOLD_A_SW,
                0.0f, 65000.0f);
    CASC_SAMPLE(c, SPD_SP_MIN, CNFG_CASC.SPD_SP_MIN_A_NAME, pulse, c.MIN_CAS_SP_HOLD_A_SW, c.MAX_GOV_HOLD_A_SW,
                0.0f, 65000.0f);
    CASC_SAMPLE(c, RTD_SETPT, CASC_SETPT.MAX_SETPT_A_NAME, pulse, c.MIN_SETPT_HOLD_A_SW, c.MAX_SETPT_HOLD_A_SW,
                -20000.0f, 20000.0f);
    const uint32_t used = IFACE_IN_CASC.USE_CASC_B_NAME;
    if (used != 0) {
        c.SUB_1_SUBTRACT = c.SPD_SP_MAX_SAMP_TUNE - c.SPD_SP_MIN_SAMP_TUNE;
        c.F_BCK_S2_SUBTRACT = c.SUB_1_SUBTRACT;
        c.DIV_1_DIVIDE = bk::DIVIDE(c.SUB_1_SUBTRACT, 100.0f);
    }
    c.FD_BCK_AN_A_NAME = c.SPD_SP_MIN_SAMP_TUNE;
    // Process value and setpoint in percent of the span from min(minimum, 0)
    // to the maximum setpoint.
    if (used != 0) {
        c.MAXSP_DIV2_MULTIPLY = CASC_SETPT.MAX_SETPT_A_NAME * 0.5f;
        c.MINSP_DIV2_DIVIDE = bk::DIVIDE(CASC_SETPT.NEG_OFFSET_A_SW, 2.0f);
        c.MAX_CASC_SUBTRACT = c.MAXSP_DIV2_MULTIPLY - c.MINSP_DIV2_DIVIDE;
        c.INV_MX_CAS_DIVIDE = bk::DIVIDE(50.0f, c.MAX_CASC_SUBTRACT);
    }
    c.INV_SW_A_SW = bk::SW<float>(c.INVERT_B_NAME, 0.01f, -0.01f);
    c.NORMAL_DB_A_NAME = IFACE_IN_CASC.CASC_DB_A_NAME;
    if (used != 0) c.CASC_DB_CALC_A_NAME = IFACE_IN_CASC.CASC_DB_A_NAME;
}

}  // namespace r160

namespace r80 {

void CASC_CTRL_pid() {
    auto& c = CASC_CTRL;
    c.NOT_SPDCTL_OR = bk::OR({IFACE_OUT_VLV.ACT_LSS_SEL_3_B_NAME, IFACE_OUT_VLV.ACT_LSS_SEL_2_B_NAME, c.NOT_SPDCTL_IN_3});
    bk::LAG_COEF(CASC_CTRL_st.CASC_LAG, c.CASC_LAG_LAG, nullptr, c.Z1_ZMINUS1, CASC_CTRL_st.CASC_LAG_coef, bk::T80);
    c.DROOP_MULTIPLY = c.INV_SW_A_SW * c.RTD_SETPT_SAMP_TUNE * c.CASC_LAG_LAG * 0.01f * CNFG_CASC.DROOP_A_NAME;
    c.SET_DROOP_SUBTRACT = CASC_SETPT.SETPT_RAMP - c.DROOP_MULTIPLY;
    const float pv = IFACE_IN_CASC.CASC_IN_NAME_A_NAME;
    c.PROC_SP_NC = bk::SW<float>(c.INVERT_B_NAME, pv, c.SET_DROOP_SUBTRACT);
    c.PROC_SP_NO = bk::SW<float>(c.INVERT_B_NAME, c.SET_DROOP_SUBTRACT, pv);
    bk::A_COMPARE(c.LOWER_ONLY_A_COMPARE, c.LOWER_ONLY_A_EQUAL, c.PROC_SP_NO, c.PROC_SP_NC);
    // While another controller holds the valve, an error that would raise
    // the demand is replaced by none.
    c.EN_LMTR_AND = bk::AND({c.NOT_SPDCTL_OR, c.LOWER_ONLY_A_COMPARE});
    c.STOP_SW_A_SW = bk::SW<float>(c.EN_LMTR_AND, c.PROC_SP_NC, c.PROC_SP_NO);
    const uint32_t used = IFACE_IN_CASC.USE_CASC_B_NAME;
    if (used != 0) {
        c.PROC_MULT_MULTIPLY = c.INV_MX_CAS_DIVIDE * c.STOP_SW_A_SW;
        c.SP_MULT_MULTIPLY = c.INV_MX_CAS_DIVIDE * c.PROC_SP_NO;
    }
    c.CASC_DB_A_LIMITER = bk::A_LIMITER(c.SP_MULT_MULTIPLY, c.PROC_MULT_MULTIPLY - c.CASC_DB_CALC_A_NAME,
                                        c.PROC_MULT_MULTIPLY + c.CASC_DB_CALC_A_NAME);
    c.CASC_DROOP_ADD = c.DROOP_MULTIPLY + pv;
    Pid2Vars& v = CASC_CTRL_CASC_PID_9137_vars;
    v.PV = c.CASC_DB_A_LIMITER;
    v.SP = c.SP_MULT_MULTIPLY;
    v.I = CNFG_CASC.I_A_NAME;
    v.P = CNFG_CASC.P_A_NAME;
    v.SDR = CNFG_CASC.SDR_A_NAME;
    v.THRESH = c.CASC_PID_THRESH;
    v.FDBK = c.FDBK_LMT_A_MIN;
    v.FEEDBACK1 = static_cast<int32_t>(IFACE_OUT_SPEED.CASCADE_ENABLED_B_NAME);
    pid2(&v);
    if (used != 0) {
        c.GAIN_1_MULTIPLY = c.CASC_PID_PID_2 * c.DIV_1_DIVIDE;
        c.CAS_TO_SPD_ADD = c.GAIN_1_MULTIPLY + c.SPD_SP_MIN_SAMP_TUNE;
        c.FD_BCK_S_SUBTRACT = IFACE_OUT_SPEED.Z_SETPOINT_A_NAME - c.FD_BCK_AN_A_NAME;
        c.FD_BCK_D_DIVIDE = bk::DIVIDE(c.FD_BCK_S_SUBTRACT, c.F_BCK_S2_SUBTRACT);
        c.FD_BCK_M_MULTIPLY = 100.0f * c.FD_BCK_D_DIVIDE;
        c.PID_PCT_MULTIPLY = c.CASC_PID_PID_2;
    }
    // The PID feedback is the actual speed setpoint in percent of the
    // cascade's speed span, so the output tracks it while not in control.
    c.FDBK_LMT_A_MIN = bk::A_MIN(c.FD_BCK_M_MULTIPLY, kFdbkLimit);
}

}  // namespace r80
