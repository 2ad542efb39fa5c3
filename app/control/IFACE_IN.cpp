// IFACE_IN_SPEED, IFACE_IN_START, IFACE_IN_VLV: what the operator interface
// and the service side set for speed control, start sequencing and the
// valve limiter, copied once per pass into the cells the control reads;
// the timed commands (a service write of true gives a pulse of the block's
// length, a write of false ends it); the derived inputs and texts.
#include "app/config/BI_MUX_routing.rows.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/IFACE_IN_START.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/DROOP.cells.h"
#include "app/analog/AI_MUX.cells.h"
#include "app/discrete/BI_MUX.cells.h"
#include "app/config/CNFG_SETPT.cells.h"
#include "app/control/HPLM.cells.h"
#include "app/control/HP_LIMTER.cells.h"
#include "app/remote_io/MOD_VL_IO.cells.h"
#include "app/control/SPD_R_L.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "runtime/rgtask.h"

namespace {

struct IFACE_IN_blocks {
    bk::SvcCmdState<4> analyze;       // IFACE_IN_SPEED.ANLYZ_RQST, 1.0 s
    bk::SvcCmdState<2> enaDisRem;     // IFACE_IN_SPEED.ENA_DIS_REM, 2.0 s
    bk::SvcCmdState<2> useOpid;       // IFACE_IN_SPEED.USE_OPID_OUTS, 2.0 s
    bk::SvcCmdState<2> speedRaiseLower;  // IFACE_IN_SPEED.RSE_LWR, 60.0 s
    bk::SvcCmdState<2> valveRaiseLower;  // IFACE_IN_VLV.RSE_LWR, 60.0 s
    bk::SvcCmdState<2> adjFastSlow;      // IFACE_IN_SPEED.ADJ_FAST_SLOW, 100.0 s
    bk::SvcCmdState<3> goStep;           // IFACE_IN_SPEED.GO_STEP_SP, 1.0 s
    bk::ActionState enaStepTest;         // IFACE_IN_SPEED.ENA_STEPTEST
    bk::SampState spStep;                // IFACE_IN_SPEED.SP_STEP over QT_STEP_AMOUNT
};
BlockRam<IFACE_IN_blocks> IFACE_IN_st;

constexpr float kAnalyze = 1.0f, kEnaDisRem = 2.0f, kUseOpid = 2.0f, kRaiseLower = 60.0f;
constexpr float kGoStep = 1.0f, kArmStepTest = 0.5f, kAdjFastSlow = 100.0f;
constexpr int32_t kStepMin = -100, kStepMax = 100;  // percent

// Written true: the pulse starts (elapsed 0); written false: it ends.
template <int N>
void restart(bk::SvcCmdState<N>& s, int k, uint32_t value, float length) {
    s.e[k - 1] = value != 0 ? 0.0f : length;
}

}  // namespace

void IFACE_IN_init_blks() {
    bk::SVC_CMD_INIT(IFACE_IN_st.analyze, kAnalyze);
    bk::SVC_CMD_INIT(IFACE_IN_st.enaDisRem, kEnaDisRem);
    bk::SVC_CMD_INIT(IFACE_IN_st.useOpid, kUseOpid);
    bk::SVC_CMD_INIT(IFACE_IN_st.speedRaiseLower, kRaiseLower);
    bk::SVC_CMD_INIT(IFACE_IN_st.valveRaiseLower, kRaiseLower);
    bk::SVC_CMD_INIT(IFACE_IN_st.adjFastSlow, kAdjFastSlow);
    bk::SVC_CMD_INIT(IFACE_IN_st.goStep, kGoStep);
}

void IFACE_IN_command_written(const void* cell, uint32_t value) {
    using namespace cells;
    auto& sp = IFACE_IN_SPEED;
    auto& st = IFACE_IN_st;
    const void* analyze[4] = {&sp.ANLYZ_RQST_IN_1.ref(), &sp.ANLYZ_RQST_IN_2.ref(), &sp.ANLYZ_RQST_IN_3.ref(),
                              &sp.ANLYZ_RQST_IN_4.ref()};
    for (int k = 1; k <= 4; ++k)
        if (cell == analyze[k - 1]) restart(st.analyze, k, value, kAnalyze);
    const void* goStep[3] = {&sp.GO_STEP_SP_IN_1.ref(), &sp.GO_STEP_SP_IN_2.ref(), &sp.GO_STEP_SP_IN_3.ref()};
    for (int k = 1; k <= 3; ++k)
        if (cell == goStep[k - 1]) restart(st.goStep, k, value, kGoStep);
    struct Pair {
        const void* in1;
        const void* in2;
        bk::SvcCmdState<2>& s;
        float length;
    };
    const Pair pairs[5] = {
        {&sp.ENA_DIS_REM_IN_1.ref(), &sp.ENA_DIS_REM_IN_2.ref(), st.enaDisRem, kEnaDisRem},
        {&sp.USE_OPID_OUTS_IN_1.ref(), &sp.USE_OPID_OUTS_IN_2.ref(), st.useOpid, kUseOpid},
        {&sp.RSE_LWR_IN_1.ref(), &sp.RSE_LWR_IN_2.ref(), st.speedRaiseLower, kRaiseLower},
        {&IFACE_IN_VLV.RSE_LWR_IN_1.ref(), &IFACE_IN_VLV.RSE_LWR_IN_2.ref(), st.valveRaiseLower, kRaiseLower},
        {&sp.ADJ_FAST_SLOW_IN_1.ref(), &sp.ADJ_FAST_SLOW_IN_2.ref(), st.adjFastSlow, kAdjFastSlow},
    };
    for (const Pair& p : pairs) {
        if (cell == p.in1) restart(p.s, 1, value, p.length);
        if (cell == p.in2) restart(p.s, 2, value, p.length);
    }
}

namespace r40 {

void IFACE_IN_commands_40() {
    auto& c = IFACE_IN_SPEED;
    auto& st = IFACE_IN_st;
    constexpr float T = 0.04f;
    bk::SVC_CMD(st.analyze, 1, c.ANLYZ_RQST_IN_1, c.ANLYZ_RQST_OUT_1, kAnalyze, T);
    bk::SVC_CMD(st.analyze, 2, c.ANLYZ_RQST_IN_2, c.ANLYZ_RQST_OUT_2, kAnalyze, T);
    bk::SVC_CMD(st.analyze, 3, c.ANLYZ_RQST_IN_3, c.ANLYZ_RQST_OUT_3, kAnalyze, T);
    bk::SVC_CMD(st.analyze, 4, c.ANLYZ_RQST_IN_4, c.ANLYZ_RQST_OUT_4, kAnalyze, T);
    bk::SVC_CMD(st.enaDisRem, 1, c.ENA_DIS_REM_IN_1, c.ENA_DIS_REM_OUT_1, kEnaDisRem, T);
    bk::SVC_CMD(st.enaDisRem, 2, c.ENA_DIS_REM_IN_2, c.ENA_DIS_REM_OUT_2, kEnaDisRem, T);
    bk::SVC_CMD(st.useOpid, 1, c.USE_OPID_OUTS_IN_1, c.USE_OPID_OUTS_OUT_1, kUseOpid, T);
    bk::SVC_CMD(st.useOpid, 2, c.USE_OPID_OUTS_IN_2, c.USE_OPID_OUTS_OUT_2, kUseOpid, T);
    IFACE_IN_START.Z_SETPOINT_A_NAME = IFACE_OUT_SPEED.Z_SETPOINT_A_NAME;
}

}  // namespace r40

namespace r40 {

// The step test: command 2 arms it, command 3, a raise or lower of the
// setpoint or the speed PID out of control disarms it; the step (percent) is
// cleared on arming and may be entered only while armed; command 1 applies it.
void IFACE_IN_step_test() {
    auto& c = IFACE_IN_SPEED;
    auto& st = IFACE_IN_st;
    constexpr float T = 0.04f;
    bk::SVC_CMD(st.goStep, 1, c.GO_STEP_SP_IN_1, c.GO_STEP_SP_OUT_1, kGoStep, T);
    bk::SVC_CMD(st.goStep, 2, c.GO_STEP_SP_IN_2, c.GO_STEP_SP_OUT_2, kGoStep, T);
    bk::SVC_CMD(st.goStep, 3, c.GO_STEP_SP_IN_3, c.GO_STEP_SP_OUT_3, kGoStep, T);
    bk::ACTION(st.enaStepTest, c.ENA_STEPTEST_B_ACTION, c.ENA_STEPTEST_ACT_OUT, c.ENA_STEPTEST_E_TIME,
               c.ENA_STEPTEST_R_TIME, c.GO_STEP_SP_OUT_2,
               bk::OR({c.GO_STEP_SP_OUT_3, SPD_R_L.RSE_LWR_OR, c.NOT_SPDCTRL_NOT}), c.ENA_STEPTEST_ACT_Q, kArmStepTest,
               T);
    const uint32_t armed = c.ENA_STEPTEST_B_ACTION;
    bk::SAMP_OUTPUTS(bk::SAMP_ITUNE(st.spStep, c.QT_STEP_AMOUNT_I_NAME, 0, armed, kStepMin, kStepMax, armed, kStepMin, kStepMax,
                                    static_cast<uint32_t>(AllRgExecutedwMMM)),
                     c.SP_STEP_SAMP_ITUNE, c.SP_STEP_LIMITED, c.SP_STEP_EN_ENT_OUT, c.SP_STEP_LO_LIM_OUT,
                     c.SP_STEP_HI_LIM_OUT);
}

}  // namespace r40

namespace r160 {

void IFACE_IN_settings() {
    {
        auto& c = IFACE_IN_SPEED;
        c.GO_ONLINE_A_NAME = c.GO_ONLINE_IN;
        c.NS_RATE_A_NAME = c.NS_RATE_IN;
        c.OSPD_RATE_A_NAME = c.OSPD_RATE_IN;
        c.RMT_NOT_MATCH_A_NAME = c.RMT_NOT_MATCH_IN;
        c.RMT_SPD_DB_A_NAME = c.RMT_SPD_DB_IN;
        c.RMT_SPD_LAGTAU_A_NAME = c.RMT_SPD_LAGTAU_IN;
        c.SP_FRATE_DLY_A_NAME = c.SP_FRATE_DLY_IN;
        c.SP_FRATE_OFF_A_NAME = c.SP_FRATE_OFF_IN;
        c.SP_FRATE_ON_A_NAME = c.SP_FRATE_ON_IN;
        c.SP_GOTO_RT_A_NAME = c.SP_GOTO_RT_IN;
        c.UNDERSPEED_A_NAME = c.UNDERSPEED_IN;
        c.ONLINE_DB_A_NAME = c.ONLINE_DB_IN;
        c.GAUGE_TICK_CONFIG_I_NAME = c.GAUGE_TICK_CONFIG_IN;
        c.TREND1_Y_MAX_I_NAME = c.TREND1_Y_MAX_IN;
        c.TREND1_Y_MIN_I_NAME = c.TREND1_Y_MIN_IN;
        c.USE_DI_MOMENT_B_NAME = c.USE_DI_MOMENT_IN;
        c.ENABLE_INT_OST_B_NAME = c.ENABLE_INT_OST_IN;
        c.ENABLE_RED_OST_B_NAME = c.ENABLE_RED_OST_IN;
        c.ENA_USPD_AL_B_NAME = c.ENA_USPD_AL_IN;
        c.ENA_USPD_SD_B_NAME = c.ENA_USPD_SD_IN;
        c.HOLD_CHANGES_RMT_B_NAME = c.HOLD_CHANGES_RMT_IN;
        c.HOT_START_CMD_B_NAME = c.HOT_START_CMD_IN;
        c.RESET_NOISE_CALC_B_NAME = c.RESET_NOISE_CALC_IN;
        c.USE_COMBO_B_NAME = c.USE_COMBO_IN;
        c.USE_SETBACK_B_NAME = c.USE_SETBACK_IN;
        c.GOTO_ENTR_SP_B_NAME = c.GOTO_ENTR_SP_IN;
        DROOP.RPM_DB_A_NAME = c.ONLINE_DB_A_NAME;
        c.USE_RMT_ENA_DI_B_NAME = BI_MUX.RMT_SPD_ENBL_USED_B_NAME;
        c.NO_RMT_DI_NOT = bk::NOT(c.USE_RMT_ENA_DI_B_NAME);
        c.USE_RMT_SPD_SP_B_NAME = CNFG_SETPT.USE_RMTSPD_B_NAME;
        c.NO_RMT_SPD_NOT = bk::NOT(c.USE_RMT_SPD_SP_B_NAME);
        // Gauge tick: any other setting keeps the last tick.
        bk::MUX<float>(c.TICK_CONFIG_A_MUX_N_1, c.GAUGE_TICK_CONFIG_I_NAME,
                       {0.01f, 0.1f, 1.0f, 10.0f, 100.0f, 1000.0f});
        bk::SVC_CMD(IFACE_IN_st.speedRaiseLower, 1, c.RSE_LWR_IN_1, c.RSE_LWR_OUT_1, kRaiseLower, 0.16f);
        bk::SVC_CMD(IFACE_IN_st.speedRaiseLower, 2, c.RSE_LWR_IN_2, c.RSE_LWR_OUT_2, kRaiseLower, 0.16f);
        c.H_SER_RSE_B_NAME = c.RSE_LWR_OUT_1;
        c.H_SER_LWR_B_NAME = c.RSE_LWR_OUT_2;
    }
    {
        auto& c = IFACE_IN_START;
        c.AT_IDL_DISP_MRGN_A_NAME = c.AT_IDL_DISP_MRGN_IN;
        c.MPU_OVRD_TIME_A_NAME = c.MPU_OVRD_TIME_IN;
        c.ROLLDWN_DLY_A_NAME = c.ROLLDWN_DLY_IN;
        c.ROLLDWN_SPD_A_NAME = c.ROLLDWN_SPD_IN;
        c.SELFPWRACT_A_NAME = c.SELFPWRACT_IN;
        c.AUTO_DIS_B_NAME = c.AUTO_DIS_IN;
        c.AUTO_EN_B_NAME = c.AUTO_EN_IN;
        c.BI_RESET_GOTO_MIN_B_NAME = c.BI_RESET_GOTO_MIN_IN;
        c.CNTRL_ST_B_NAME = c.CNTRL_ST_IN;
        c.CSD_ABORT_B_NAME = c.CSD_ABORT_IN;
        c.IR_DIS_B_NAME = c.IR_DIS_IN;
        c.IR_EN_B_NAME = c.IR_EN_IN;
        c.START_KEY_B_NAME = c.START_KEY_IN;
        c.START_KEY_C_B_NAME = c.START_KEY_C_IN;
        c.USE_MPU_OVRD_TIME_B_NAME = c.USE_MPU_OVRD_TIME_IN;
        c.USE_RDWN_OVRD_B_NAME = c.USE_RDWN_OVRD_IN;
        c.USE_STOP_CMD_B_NAME = c.USE_STOP_CMD_IN;
    }
    {
        auto& c = IFACE_IN_VLV;
        c.VLV_LIM_ENTRD_A_NAME = c.VLV_LIM_ENTRD_IN;
        c.SELFPWR_TDLY_I_NAME = c.SELFPWR_TDLY_IN;
        c.TUNED_OK_B_NAME = c.TUNED_OK_IN;
        c.HP_STRK_DISBL_B_NAME = c.HP_STRK_DISBL_IN;
        c.SELF_PWACT_B_NAME = c.SELF_PWACT_IN;
        bk::SVC_CMD(IFACE_IN_st.valveRaiseLower, 1, c.RSE_LWR_IN_1, c.RSE_LWR_OUT_1, kRaiseLower, 0.16f);
        bk::SVC_CMD(IFACE_IN_st.valveRaiseLower, 2, c.RSE_LWR_IN_2, c.RSE_LWR_OUT_2, kRaiseLower, 0.16f);
        c.VLIM_RSE_B_NAME = c.RSE_LWR_OUT_1;
        c.VLIM_LWR_B_NAME = c.RSE_LWR_OUT_2;
    }
}

// The speed settings and commands of the service tool that the manual
// demand's slice copies (_R160_TASK_38).
void IFACE_IN_SPEED_service_settings() {
    auto& c = IFACE_IN_SPEED;
    bk::SVC_CMD(IFACE_IN_st.adjFastSlow, 1, c.ADJ_FAST_SLOW_IN_1, c.ADJ_FAST_SLOW_OUT_1, kAdjFastSlow, bk::T160);
    bk::SVC_CMD(IFACE_IN_st.adjFastSlow, 2, c.ADJ_FAST_SLOW_IN_2, c.ADJ_FAST_SLOW_OUT_2, kAdjFastSlow, bk::T160);
    c.DISABLE_HOT_START_B_NAME = c.DISABLE_HOT_START_IN;
    c.DISABLE_OST_B_NAME = c.DISABLE_OST_IN;
    c.ENABLE_EXT_OST_B_NAME = c.ENABLE_EXT_OST_IN;
    c.DROOP_PCT_A_NAME = c.DROOP_PCT_IN;
}

void IFACE_IN_VLV_limiter_text() {
    auto& c = IFACE_IN_VLV;
    c.V1_LIMITER_SEQ_MSG_SEL = bk::MSG_SEL(c.V1_LIMITER_SEQ_B_TO_STR,
                                           {{HPLM.A01_STEP_SFC_STEP, 1, "Manual Stroke"},
                                            {HPLM.A02_STEP_SFC_STEP, 2, "Automatic Open Stroke"},
                                            {HPLM.A03_STEP_SFC_STEP, 3, "Normal SD"}},
                                           "OFF");
    c.VLV_LIMITER_SEQ_S_NAME = c.V1_LIMITER_SEQ_B_TO_STR;
}

}  // namespace r160

namespace r10 {
void IFACE_IN_SPEED_dynamics_contact() { IFACE_IN_SPEED.DYN_SW_CONT_B_NAME = BI_MUX.CONT_MUX_OUT_9; }
}  // namespace r10
