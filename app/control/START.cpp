// START: start permissives, the start inhibit list, the run command and
// start pulse, and the run-time counter.
#include "app/config/CNFG_START.cells.h"
#include "app/control/START.cells.h"

#include <algorithm>

#include "app/control/CONF_VAL_1.cells.h"
#include "app/control/IFACE_IN_START.cells.h"
#include "app/control/MPU.cells.h"
#include "app/control/ORVEX12_IO.cells.h"
#include "app/control/IFACE_OUT_START.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/config/CNFG_SETPT.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/ref_blocks.h"
#include "app/interface/MOD_BW.cells.h"
#include "app/interface/OPC_DATA.cells.h"
#include "app/analog/AI_ALARM_LEVELS.cells.h"
#include "app/analog/UNIT_DEMO.cells.h"
#include "app/remote_io/VLTR_OUTS.cells.h"
#include "app/discrete/BI_MUX.cells.h"
#include "app/interface/PWR_UP_MSG.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct START_blocks {
    bk::DelayState STRT_PRM_D;
    refbk::EdgeState RST_START;
    bk::OneShotState V1_STRT, PULSE, START_OS;
    bk::DelayState DLY_OF;
    // The run-time minutes, counted exactly: a float accumulated by a tiny
    // step every pass stalls long before its limit.
    double minutes;
};
BlockRam<START_blocks> START_st;

constexpr double kMinutesLimit = 32500.0;
constexpr double kMinutesRate = 0.016667;  // per second: one a minute
constexpr double kMinutesDownRate = 32500.0;  // per second, after a shutdown
constexpr double kPass = 0.16;
constexpr float kRestDelay = 3.0f;  // s the run command may hold the reference at rest
constexpr float kStartCmdPulse = 0.5f;  // s
}  // namespace

namespace r40 {

// A run command while the reference stays at rest (-1) ends after 3 s.
void START_rest_delay() {
    auto& c = START;
    c.PB_LTCH_AND = bk::AND({c.RUN_CMD_LATCH_R, c.CP_REFNLUL_A_EQUAL});
    bk::DELAY(START_st.DLY_OF, c.DLY_OF_DELAY, &c.DLY_OF_R_TIME.ref(), c.PB_LTCH_AND, kRestDelay, 0.0f, bk::T40);
}

}  // namespace r40

namespace r160 {

void START_semi_auto() {
    IFACE_IN_START.SEMI_AUTO_START_B_NAME = CNFG_START.SEMIAUTO_START_B_NAME;
    START.NO_OTHER_NOR = bk::NOR({START.AUTO_START_AND, START.MAN_START_B_NAME});
    START.SEMI_AUTO_AND = bk::AND({IFACE_IN_START.SEMI_AUTO_START_B_NAME, START.NO_OTHER_NOR});
}

void START_permissives() {
    auto& c = START;
    c.NO_BI_PERM_NOT = bk::NOT(IFACE_IN_START.START_PERM_CMD_B_NAME);
    c.BI_START_PERM_B_SW = bk::SW<uint32_t>(BI_MUX.STARTPERM_USED_B_NAME, c.BI_START_PERM_NC, c.NO_BI_PERM_NOT);
    c.AI_START_PERM_OR = bk::OR({_ub1.PERM_NOT_MET_B_NAME, _ub2.PERM_NOT_MET_B_NAME, _ub3.PERM_NOT_MET_B_NAME,
                                 _ub4.PERM_NOT_MET_B_NAME, VLTR_OUTS.VL_PERMS_NOT_MET_OR});
    c.START_PERMS_NOT_MET_OR = bk::OR({c.BI_START_PERM_B_SW, c.AI_START_PERM_OR});
    c.START_PERM_NOT_MET_B_SW = c.START_PERMS_NOT_MET_OR;
    c.NO_STR_CF_NOR = bk::NOR({c.AUTO_START_AND, c.MAN_START_B_NAME, c.SEMI_AUTO_AND});
    c.PWRUP_PERM_NOT = bk::NOT(PWR_UP_MSG.N_ERR_DLY_DELAY);
    bk::DELAY(START_st.STRT_PRM_D, c.STRT_PRM_D_DELAY, &c.STRT_PRM_D_R_TIME.ref(), IFACE_IN_START.ANY_SD_B_NAME, 0.0f,
              c.STRT_PRM_D_NEG_DTIME, bk::T160);
    c.NO_RUN_PLS_NOT = bk::NOT(c.V1_STRT_ONE_SHOT);
    c.NO_START_NOT = bk::NOT(c.RUN_CMD_LATCH_R);
}

void START_run_time() {
    auto& c = START;
    const uint32_t any_sd = IFACE_IN_START.ANY_SD_B_NAME;
    bk::LATCH(c.TMR_STRT_LATCH, c.PULSE_ONE_SHOT, any_sd);
    double& m = START_st.minutes;
    int32_t position = 0;
    uint32_t moving_dn = 0;
    if (any_sd != 0) {
        const double down = m - kMinutesDownRate * kPass;
        moving_dn = down > 0.0 ? 1u : 0u;
        m = down > 0.0 ? down : 0.0;
        position = 1;
    } else if (c.TMR_STRT_LATCH != 0) {
        m = std::min(kMinutesLimit, m + kMinutesRate * kPass);
        position = 2;
    }
    c.MINUTES_RAMP = static_cast<float>(m);
    c.MINUTES_REV_RAMP = 0.0f;
    c.MINUTES_MOVING_UP = position == 2 && m < kMinutesLimit ? 1u : 0u;
    c.MINUTES_MOVING_DN = moving_dn;
    c.MINUTES_POS_SEL = position;
    c.MINUTES_P_LIM_1 = m == 0.0 ? 1u : 0u;
    c.MINUTES_P_LIM_2 = m == kMinutesLimit ? 1u : 0u;
    c.RUN_HRS_DIVIDE = static_cast<float>(m / 60.0);
}

// The start latch: set by the start pulse (set wins), reset once the speed
// reaches idle (idle/rated starts) or minimum governor, or by a shutdown.
void START_started() {
    auto& c = START;
    c.USE_IDLE_OR = CONF_VAL_1.IDLE_RTD_B_NAME;
    c.RST_STRT_AND = bk::AND({c.USE_IDLE_OR, MPU.SPD_GTEQ_IDL_OR});
    c.STRT_RST_OR = bk::OR({c.RST_STRT_AND, MPU.SPD_GTEQ_MIN_OR, IFACE_IN_START.ANY_SD_B_NAME});
    bk::LATCH(c.STARTED_LATCH, c.PULSE_ONE_SHOT, c.STRT_RST_OR);
}

void START_not_started() { START.NOT_STRTD_NOT = bk::NOT(START.ZSTRTR_ZMINUS1_B); }

}  // namespace r160

namespace r80 {

void START_inhibit() {
    auto& c = START;
    c.OR_NOSTRT_OR = bk::OR({c.NOT_STRTD_NOT, c.ZPERM_ZMINUS1_B});
    if (c.OR_NOSTRT_OR != 0) {
        uint32_t* const sel[] = {&c.STRT_IH_SEL_1.ref(), &c.STRT_IH_SEL_2.ref(), &c.STRT_IH_SEL_3.ref(),
                                 &c.STRT_IH_SEL_4.ref(), &c.STRT_IH_SEL_5.ref(), &c.STRT_IH_SEL_6.ref()};
        int32_t* const no[] = {&c.STRT_IH_ALM_NO_1.ref(), &c.STRT_IH_ALM_NO_2.ref(), &c.STRT_IH_ALM_NO_3.ref(),
                               &c.STRT_IH_ALM_NO_4.ref(), &c.STRT_IH_ALM_NO_5.ref(), &c.STRT_IH_ALM_NO_6.ref()};
        const uint32_t in[] = {c.STRT_PRM_D_DELAY, c.NO_STR_CF_NOR, c.START_PERM_NOT_MET_B_SW, 0u, c.PWRUP_PERM_NOT,
                               0u};
        refbk::LIST_PASS(sel, no, c.STRT_IH_LATCH1, c.STRT_IH_HORN, c.STRT_IH_FIRST_ALM, c.STRT_IH_LOGICAL_OR, in,
                         bk::NOT(c.ZSTRTR_ZMINUS1_B));
    }
    IFACE_OUT_START.STRT_INH_B_NAME = c.STRT_IH_LATCH1;
}

// The start commands of the "Start/External Run" contact (a pulse when it
// closes) and of the keypad's start key.
void START_commands() {
    auto& c = START;
    bk::ONE_SHOT(START_st.START_OS, c.START_OS_ONE_SHOT, &c.START_OS_R_TIME.ref(), IFACE_IN_START.STARTCMD_B_NAME,
                 kStartCmdPulse, bk::T80);
    c.KEYPAD_START_B_SW = ORVEX12_IO.KEYPAD_START;
}

void START_run_command() {
    auto& c = START;
    c.RST_START_B_ACTION = refbk::RISE(START_st.RST_START, SPDC.A00_STEP_SFC_STEP, c.RST_START_ACT_OUT,
                                       c.RST_START_E_TIME, c.RST_START_R_TIME);
    c.OR_SD_OR = bk::OR({IFACE_IN_START.ANY_SD_B_NAME, c.PLS_OFF_B_ACTION, SPDC.Z01_STEP_TRAN_2,
                         c.RST_START_B_ACTION, c.DLY_OF_DELAY, IFACE_OUT_START.STRT_INH_B_NAME});
    c.SD_CLEAR_NOT = bk::NOT(c.OR_SD_OR);
    c.RSET_START_AND = bk::AND({c.SD_CLEAR_NOT, c.RST_OS_ONE_SHOT, IFACE_IN_START.STARTCMD_B_NAME});
    c.START_OR = bk::OR({c.START_OS_ONE_SHOT, c.KEYPAD_START_B_SW, c.START_IN_3, MOD_BW.BW_CMD_SEL_5,
                         c.RSET_START_AND, UNIT_DEMO.B_CMDS_LIST_1, OPC_DATA.BW_CMDS_SEL_5});
    // The start pulse, held at 0 in the pass that enters A00 with its time
    // spent: a command still held then gives no new run.
    bk::ONE_SHOT(START_st.V1_STRT, c.V1_STRT_ONE_SHOT, &c.V1_STRT_R_TIME.ref(), c.START_OR, 0.5f, bk::T80,
                 c.RST_START_B_ACTION);
    bk::LATCH_R(c.RUN_CMD_LATCH_R, c.V1_STRT_ONE_SHOT, c.OR_SD_OR);
}

void START_pulse() {
    bk::ONE_SHOT(START_st.PULSE, START.PULSE_ONE_SHOT, &START.PULSE_R_TIME.ref(), START.RUN_CMD_LATCH_R, 1.0f, bk::T80);
}

void START_flags() {
    auto& c = START;
    c.AND_H_MIN_AND = bk::AND({SPDC.Z01_STEP_SFC_STEP, SPDC.SR__GE_L1_A_COMPARE});
    c.IDLE_OR = bk::OR({c.AND_H_MIN_AND, SPDC.A01_STEP_SFC_STEP, SPDC.A11_STEP_SFC_STEP});
    c.OR_STARTED_OR = bk::OR({c.NO_RUN_PLS_NOT, c.ZSTRTR_ZMINUS1_B});
    c.SEMI_START_NC = bk::AND({c.PULSE_ONE_SHOT, bk::NOT(c.SEMI_AUTO_AND)});
    c.SEMI_START_NO = bk::AND({c.PULSE_ONE_SHOT, c.SEMI_AUTO_AND});
}

}  // namespace r80

namespace r160 {

// The configured start mode: manual wins over automatic.
void START_mode_flags() {
    START.MAN_START_B_NAME = CNFG_START.MAN_START_B_NAME;
    IFACE_IN_START.MANUAL_START_B_NAME = START.MAN_START_B_NAME;
    START.NOT_MAN_NOT = bk::NOT(START.MAN_START_B_NAME);
    IFACE_IN_START.AUTO_START_B_NAME = CNFG_START.AUTO_START_B_NAME;
    START.AUTO_START_AND = bk::AND({START.NOT_MAN_NOT, CNFG_START.AUTO_START_B_NAME});
}

// The speed reference at (1 below) minimum governor or above.
void START_min_gov() {
    START.MIN_GOV_1_SUBTRACT = CNFG_SETPT.MIN_GOV_A_NAME - 1.0f;
    bk::A_COMPARE_HYST(START.SP_MINGOV_A_COMPARE, START.SP_MINGOV_A_EQUAL, IFACE_OUT_SPEED.Z_SETPOINT_A_NAME,
                       START.MIN_GOV_1_SUBTRACT, START.SP_MINGOV_HYSTER);
    START.SP_MIN_NOT_NOT = bk::NOT(START.SP_MINGOV_A_COMPARE);
}

}  // namespace r160

// The reset contact's command, held off for half a second; and the stop
// pulse when the reference comes to rest at -1.
#include "app/control/RESET.cells.h"

namespace {
struct START_pulse_blocks {
    bk::DelayState DI_RST_CMD;
    refbk::EdgeState PLS_OFF;
};
BlockRam<START_pulse_blocks> START_pulse_st;
constexpr float kResetContactDelay = 0.5f;  // s
constexpr float kRefAtRest = -1.0f;
}  // namespace

namespace r80 {

void START_pulses() {
    auto& c = START;
    auto& s = START_pulse_st;
    bk::DELAY(s.DI_RST_CMD, c.DI_RST_CMD_DELAY, &c.DI_RST_CMD_R_TIME.ref(), RESET.RESET_DI_ONE_SHOT, kResetContactDelay,
              0.0f, bk::T80);
    bk::A_COMPARE(c.CP_REFNLUL_A_COMPARE, c.CP_REFNLUL_A_EQUAL, IFACE_OUT_SPEED.SPEED_REF_A_NAME, kRefAtRest);
    c.PLS_OFF_B_ACTION =
        refbk::RISE(s.PLS_OFF, c.CP_REFNLUL_A_EQUAL, c.PLS_OFF_ACT_OUT, c.PLS_OFF_E_TIME, c.PLS_OFF_R_TIME);
}

}  // namespace r80
