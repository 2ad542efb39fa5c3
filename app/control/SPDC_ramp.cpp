// SPDC, the speed reference ramp: its selectors and step rates (40 ms), the
// ramp itself, the tracking rate, the 10 ms unit delay of its output, the
// 20 ms lost-remote pulse and the rates of the 160 ms group.
#include <cmath>

#include "app/config/CNFG_START.cells.h"
#include "app/control/CASC_ENBL.cells.h"
#include "app/control/CASC_RATE.cells.h"
#include "app/control/CNFG_CASC.cells.h"
#include "app/interface/RMT_SETPT.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/ENTR_SETPT.cells.h"
#include "app/control/MOD_SPD_SP.cells.h"
#include "app/control/REMOTE.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/SPD_CTRL.cells.h"
#include "app/control/SPD_DYN.cells.h"
#include "app/control/SPD_R_L.cells.h"
#include "app/control/SPD_SETPT.cells.h"
#include "app/control/CASC_CTRL.cells.h"
#include "app/control/ref_blocks.h"
#include "app/control/CRIT_SPD.cells.h"
#include "app/analog/AO_MUX.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/config/CNFG_SETPT.cells.h"
#include "app/control/HP_MAN_RAMP.cells.h"
#include "app/interface/RMT_SETPT.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct SPDC_ramp_blocks {
    bk::RampState SPEED_REF;
    bk::OneShotState SPDSTEP_OS, LOST_REM;
};
BlockRam<SPDC_ramp_blocks> SPDC_ramp_st;

// The instantaneous rate of every jump of the reference.
constexpr float kInstantRate = 32500.0f;
}  // namespace

namespace r40 {

void SPDC_selectors() {
    const uint32_t any_sd = SHUTDOWNS.ANY_SD_B_NAME;
    const uint32_t z00 = SPDC.Z00_STEP_SFC_STEP, a00 = SPDC.A00_STEP_SFC_STEP;
    const uint32_t a00a = SPDC.A00ASTEP_SFC_STEP;
    // The speed step test: a step of the reference from its last value.
    SPDC.ENA_STEP_AND = bk::AND({IFACE_IN_SPEED.ENA_STEPTEST_B_ACTION, IFACE_IN_SPEED.GO_STEP_SP_OUT_1});
    bk::ONE_SHOT(SPDC_ramp_st.SPDSTEP_OS, SPDC.SPDSTEP_OS_ONE_SHOT, &SPDC.SPDSTEP_OS_R_TIME.ref(), SPDC.ENA_STEP_AND,
                 0.04f, bk::T40);
    SPD_DYN.I_TO_AN_OUT_1 = bk::int_to_real(IFACE_IN_SPEED.SP_STEP_SAMP_ITUNE);
    SPD_DYN.ADD_STEP_ADD = SPDC.MN_REF_ZMINUS1 + SPD_DYN.I_TO_AN_OUT_1;
    SPD_DYN.STEP_SP_LMT_A_LIMITER =
        bk::A_LIMITER(SPD_DYN.ADD_STEP_ADD, SPDC.LOWER_SP_A_SW, IFACE_IN_SPEED.MAX_GOV_A_NAME);
    // Selector flags.
    SPDC.ZERO_DMD_OR = bk::OR({any_sd, z00, a00});
    SPDC.OR_TRCK_SP_OR = bk::OR({a00a, SPDC.PLS_SPD_ONE_SHOT, SPDC.LOST_REM_ONE_SHOT});
    SPDC.INSTANT_OR = bk::OR({any_sd, z00, a00, a00a, SPDC.PLS_SPD_ONE_SHOT, SPDC.LOST_REM_ONE_SHOT,
                              SPDC.SBACK_OS_ONE_SHOT, SPDC.SPDSTEP_OS_ONE_SHOT});
    SPDC.TRACK_REM_OR = bk::OR({REMOTE.REM_SEL_SW_B_SW, IFACE_OUT_SPEED.CASCADE_ENABLED_B_NAME,
                                SPDC.IH_REMOTE_B_ACTION, IFACE_OUT_HP_MAN.ENABLED_B_NAME});
    SPDC.NO_CAS_FLT_NOT = bk::NOT(IFACE_IN_SPEED.CASC_PV_FLT_B_NAME);
    SPDC.NO_FLT_CAS_AND = bk::AND({IFACE_OUT_SPEED.CASCADE_ENABLED_B_NAME, SPDC.NO_CAS_FLT_NOT});
    // The step rate of the active sequence step.
    const refbk::MuxIn rp[] = {
        {1, SPDC.A01_STEP_SFC_STEP, SPDC.RT_TO_IDL_A_NAME},
        {3, SPDC.A07_STEP_SFC_STEP, SPDC.RT_TO_MIN_A_NAME},
        {4, SPDC.A11_STEP_SFC_STEP, SPDC.RT_TO_MIN_A_NAME},
        {6, SPDC.A10_STEP_SFC_STEP, SPDC.FST_OPSD_A_MAX},
        {7, IFACE_OUT_SPEED.OSPD_TEST_EN_B_NAME, IFACE_IN_SPEED.OSPD_RATE_A_NAME},
    };
    SPDC.RP_PV_INT_SEL = refbk::A_MUX_HSS(SPDC.RP_PV_A_MUX_HSS, rp, 0.0f);
    bk::I_COMPARE(SPDC.CP_RATE_EQ, SPDC.CP_RATE_LT, SPDC.CP_RATE_GT, SPDC.RP_PV_INT_SEL, 0);
    SPDC.ACTIV_RATE_NAND = bk::NAND({SPDC.CP_RATE_EQ, SPDC.NO_CRITACT_NOT});
    IFACE_OUT_SPEED.Z_SETPOINT_A_NAME = SPDC.MN_REF_ZMINUS1;
}

void SPDC_ramp() {
    SPDC.USE_CRIT_RATE_OR = bk::OR({CRIT_SPD.IN_CRIT_OR, CRIT_SPD.CRIT_BAND_OR});
    SPDC.MX_RATE_A_MAX = bk::A_MAX(SPDC.RP_PV_A_MUX_HSS, CNFG_SETPT.CRIT_SPD_RATE_A_NAME);
    SPDC.SW_RATE_A_SW = bk::SW<float>(SPDC.USE_CRIT_RATE_OR, SPDC.RP_PV_A_MUX_HSS, SPDC.MX_RATE_A_MAX);
    // The rate, first true row wins.
    float rate = SPDC.OFLINE_FST_A_SW;
    if (SPDC.INSTANT_OR != 0) rate = kInstantRate;
    else if (SPDC.TRACK_REM_OR != 0) rate = SPDC.ZRATETRACK_ZMINUS1;
    else if (SPDC.ACTIV_RATE_NAND != 0) rate = SPDC.SW_RATE_A_SW;
    else if (SPDC.OFLINE_AND != 0) rate = SPDC.ONLINE_FST_A_SW;
    else if (SPDC.SPEED_REF_R_SEL_5 != 0) rate = SPDC.SPEED_REF_R_SP_5;
    else if (SPDC.Z01_STEP_SFC_STEP != 0) rate = IFACE_IN_SPEED.NS_RATE_A_NAME;
    // The target, first true position wins.
    const float t[15] = {0.0f,
                         SPDC.SPEED_REF_P_SP_1,
                         0.0f,
                         SPDC.RESTART_A_NAME,
                         IFACE_IN_SPEED.SPEED_A_NAME,
                         SPDC.SPEED_REF_P_SP_5,
                         SPD_SETPT.LIM_RSTTR_A_LIMITER,
                         SPDC.SEL_SP_A_MUX_HSS,
                         SPDC.LOWER_SP_A_SW,
                         IFACE_IN_SPEED.MAX_GOV_A_NAME,
                         MOD_SPD_SP.ENTRD_MUX_A_MUX_HSS,
                         SPD_CTRL.COMBO_SETPT_ZMINUS1,
                         RMT_SETPT.RMT_DEAD_A_DEADBAND,
                         CASC_CTRL.CAS_TO_SPD_ADD,
                         SPD_DYN.STEP_SP_LMT_A_LIMITER};
    const bk::RampOut r = bk::RAMP(SPDC_ramp_st.SPEED_REF,
                                   {{SPDC.ZERO_DMD_OR, t[1]},
                                    {0, t[2]},
                                    {SPDC.OR_TRCK_SP_OR, t[3]},
                                    {SPDC.SBACK_OS_ONE_SHOT, t[4]},
                                    {SPDC.SPEED_REF_P_SEL_5, t[5]},
                                    {SPDC.SPEED_REF_P_SEL_6, t[6]},
                                    {SPDC.STRT_SEQ_OR, t[7]},
                                    {SPDC.ORFRC_LOW_OR, t[8]},
                                    {SPDC.ORFRC_RAIS_OR, t[9]},
                                    {ENTR_SETPT.IN_OVRSPD_B_SW, t[10]},
                                    {SPDC.COMBO_TRCK_AND, t[11]},
                                    {SPDC.REM_ENA_AND, t[12]},
                                    {SPDC.NO_FLT_CAS_AND, t[13]},
                                    {SPDC.SPDSTEP_OS_ONE_SHOT, t[14]}},
                                   rate, bk::T40);
    SPDC.SPEED_REF_RAMP = r.ramp;
    SPDC.SPEED_REF_REV_RAMP = r.rev_ramp;
    SPDC.SPEED_REF_MOVING_UP = r.moving_up;
    SPDC.SPEED_REF_MOVING_DN = r.moving_dn;
    SPDC.SPEED_REF_POS_SEL = r.pos_sel;
    IFACE_OUT_SPEED.SPEED_REF_A_NAME = r.ramp;
    AO_MUX.SPD_SETPT_A_NAME = r.ramp;
    uint32_t* const p_lim[15] = {nullptr,
                                 &SPDC.SPEED_REF_P_LIM_1.ref(),
                                 &SPDC.SPEED_REF_P_LIM_2.ref(),
                                 &SPDC.SPEED_REF_P_LIM_3.ref(),
                                 &SPDC.SPEED_REF_P_LIM_4.ref(),
                                 &SPDC.SPEED_REF_P_LIM_5.ref(),
                                 &SPDC.SPEED_REF_P_LIM_6.ref(),
                                 &SPDC.SPEED_REF_P_LIM_7.ref(),
                                 &SPDC.SPEED_REF_P_LIM_8.ref(),
                                 &SPDC.SPEED_REF_P_LIM_9.ref(),
                                 &SPDC.SPEED_REF_P_LIM_10.ref(),
                                 &SPDC.SPEED_REF_P_LIM_11.ref(),
                                 &SPDC.SPEED_REF_P_LIM_12.ref(),
                                 &SPDC.SPEED_REF_P_LIM_13.ref(),
                                 &SPDC.SPEED_REF_P_LIM_14.ref()};
    for (int n = 1; n <= 14; ++n) *p_lim[n] = bk::P_LIM(r, t[n]);
}

void SPDC_track_rate() {
    IFACE_OUT_SPEED.REF_LOW_LMT_B_NAME = SPDC.SPEED_REF_P_LIM_8;
    const refbk::MuxIn tr[] = {
        {1, ENTR_SETPT.IN_OVRSPD_B_SW, IFACE_IN_SPEED.SP_GOTO_RT_A_NAME},
        {2, REMOTE.REM_SEL_SW_B_SW, REMOTE.RMT_RATE_A_NAME},
        {3, REMOTE.N_MTCH_RTE_LATCH, IFACE_IN_SPEED.RMT_NOT_MATCH_A_NAME},
        {4, IFACE_OUT_SPEED.CASCADE_ENABLED_B_NAME, CNFG_CASC.SPD_MAX_RATE_A_NAME},
        {5, CASC_RATE.N_MATCHED_LATCH, CASC_RATE.N_MTCHD_SAMP_TUNE},
        {8, IFACE_OUT_HP_MAN.ENABLED_B_NAME, SPDC.TRACK_RATE_IN_8},
    };
    SPDC.TRACK_RATE_INT_SEL = refbk::A_MUX_HSS(SPDC.TRACK_RATE_A_MUX_HSS, tr, 0.0f);
    bk::I_COMPARE(SPDC.RMT_MAX_RATE_SEL_EQ, SPDC.RMT_MAX_RATE_SEL_LT, SPDC.RMT_MAX_RATE_SEL_GT,
                  SPDC.TRACK_RATE_INT_SEL, 2);
    IFACE_OUT_SPEED.RMT_MAX_RATE_SEL_B_NAME = SPDC.RMT_MAX_RATE_SEL_EQ;
    bk::I_COMPARE(SPDC.RMT_N_MTCH_RATE_SEL_EQ, SPDC.RMT_N_MTCH_RATE_SEL_LT, SPDC.RMT_N_MTCH_RATE_SEL_GT,
                  SPDC.TRACK_RATE_INT_SEL, 3);
    IFACE_OUT_SPEED.RMT_N_MTCH_RATE_SEL_B_NAME = SPDC.RMT_N_MTCH_RATE_SEL_EQ;
}

void SPDC_over_max_gov() {
    bk::A_COMPARE(SPDC.SR_OVR_MXG_A_COMPARE, SPDC.SR_OVR_MXG_A_EQUAL, IFACE_OUT_SPEED.Z_SETPOINT_A_NAME,
                  IFACE_IN_SPEED.MAX_GOV_A_NAME);
}

}  // namespace r40

namespace r20 {
void SPDC_lost_rem() {
    bk::ONE_SHOT(SPDC_ramp_st.LOST_REM, SPDC.LOST_REM_ONE_SHOT, &SPDC.LOST_REM_R_TIME.ref(),
                 IFACE_IN_SPEED.REMSP_PV_FLT_B_NAME, 0.3f, bk::T20);
}
}  // namespace r20

namespace r160 {

void SPDC_ramp_rates() {
    SPDC.RESET_HOT_OR = bk::OR({IFACE_IN_SPEED.DISABLE_HOT_START_B_NAME, SHUTDOWNS.SD_SHOOT_ONE_SHOT});
    bk::LATCH_R(SPDC.HOT_START_LATCH_R, IFACE_IN_SPEED.HOT_START_CMD_B_NAME, SPDC.RESET_HOT_OR);
    IFACE_OUT_SPEED.HOT_START_ENABLED_B_NAME = SPDC.HOT_START_LATCH_R;
    SPDC.HOT_START_MULT_A_SW = bk::SW<float>(SPDC.HOT_START_LATCH_R, 1.0f, CNFG_START.HOT_START_MULT_A_NAME);
    SPDC.RT_TO_IDL_MULT_MULTIPLY = CNFG_START.RATE_IDL_SPD_A_NAME * SPDC.HOT_START_MULT_A_SW;
    SPDC.RT_TO_IDL_A_NAME = SPDC.RT_TO_IDL_MULT_MULTIPLY;
    SPDC.RT_TO_MIN_MULT_MULTIPLY = CNFG_START.RATE_MIN_SPD_A_NAME * SPDC.HOT_START_MULT_A_SW;
    SPDC.RT_TO_MIN_A_NAME = SPDC.RT_TO_MIN_MULT_MULTIPLY;
    SPDC.FST_OPSD_A_MAX = bk::A_MAX(IFACE_IN_SPEED.OSPD_RATE_A_NAME, IFACE_IN_SPEED.SP_FRATE_ON_A_NAME);
}

void SPDC_slow_online_rate() { SPDC.SL_ONLINE_A_NAME = CNFG_SETPT.SLOW_RATE_ONLINE_A_NAME; }

void SPDC_slow_rates() {
    SPDC.SL_OFFLINE_A_NAME = CNFG_SETPT.SLOW_RATE_OFFLINE_A_NAME;
    const uint32_t fast = SPD_R_L.USE_FASTRATE_OR;
    SPDC.OFLINE_FST_A_SW = bk::SW<float>(fast, SPDC.SL_OFFLINE_A_NAME, IFACE_IN_SPEED.SP_FRATE_OFF_A_NAME);
    SPDC.ONLINE_FST_A_SW = bk::SW<float>(fast, SPDC.SL_ONLINE_A_NAME, IFACE_IN_SPEED.SP_FRATE_ON_A_NAME);
    SPDC.COMBO_TRCK_AND = bk::AND({IFACE_IN_SPEED.USE_COMBO_B_NAME, SPDC.COMBO_TRCK_IN_2});
    SPDC.NOT_COMBO_NOT = bk::NOT(IFACE_IN_SPEED.USE_COMBO_B_NAME);
}

}  // namespace r160
