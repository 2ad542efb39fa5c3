// IDLE_RATE, GOTO_MIN and IDLE_RTD: the idle/rated selection.
#include "app/control/CASC_ENBL.cells.h"
#include "app/control/IDLE_RATE.cells.h"

#include "app/control/GOTO_MIN.cells.h"
#include "app/control/IDLE_RTD.cells.h"
#include "app/control/IFACE_IN_START.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/MPU.cells.h"
#include "app/control/OSPD.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/START.cells.h"
#include "app/control/ref_blocks.h"
#include "app/interface/MOD_BW.cells.h"
#include "app/interface/OPC_DATA.cells.h"
#include "app/control/CRIT_SPD.cells.h"
#include "app/analog/UNIT_DEMO.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/interface/IFACE_OUT_CASC.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct IDLE_RATE_blocks {
    refbk::EdgeState BI_ON, BI_SET_LATCH, PLS_ON, BI_OFF, CMD_OFF, IDLE_SH, PLS_OFF, RATED_SH;
};
BlockRam<IDLE_RATE_blocks> IDLE_RATE_st;

// Idle and rated commands are ignored while a remote source owns the setpoint.
uint32_t remote_source() {
    using namespace r80;
    return bk::OR({IFACE_OUT_SPEED.RMT_SPD_ENABLED_B_NAME, IFACE_OUT_CASC.ENABLED_B_NAME});
}
}  // namespace

namespace r160 {
void IDLE_RATE_config() { IDLE_RATE.NOT_USED_NOT = bk::NOT(IFACE_IN_START.USE_IDLE_RATED_B_NAME); }

// The service tool's ramp-to-idle and idle-priority settings with their
// negations (_R160_TASK_38).
void IDLE_RATE_interface_settings() {
    IFACE_IN_START.USE_RAMP_TO_IDLE_B_NAME = IFACE_IN_START.USE_RAMP_TO_IDLE_IN;
    IDLE_RTD.USE_IDLE_B_NAME = IFACE_IN_START.USE_RAMP_TO_IDLE_IN;
    IDLE_RATE.NOT_RBACK_NOT = bk::NOT(IFACE_IN_START.USE_RAMP_TO_IDLE_IN);
    IDLE_RATE.NO_RBACK_B_NAME = IDLE_RATE.NOT_RBACK_NOT;
    IFACE_IN_START.IDLE_PRIORITY_B_NAME = IFACE_IN_START.IDLE_PRIORITY_IN;
    IDLE_RTD.IDL_PRIOR_B_NAME = IFACE_IN_START.IDLE_PRIORITY_IN;
    IDLE_RATE.NO_PRIOR_NOT = bk::NOT(IFACE_IN_START.IDLE_PRIORITY_IN);
}
}  // namespace r160

namespace r80 {

// The action kind of the edge blocks: a one-pass pulse on a rising edge.
constexpr int32_t kPulseAction = 5;

void GOTO_MIN_second_start() {
    auto& g = GOTO_MIN;
    IDLE_RATE.CONTACT_B_NAME = IFACE_IN_START.IDLERATECMD_B_NAME;
    refbk::ACTION_OUT(IDLE_RATE.BI_ON_ACT_OUT, IDLE_RATE.BI_ON_E_TIME, IDLE_RATE.BI_ON_R_TIME, kPulseAction);
    IDLE_RATE.BI_ON_B_ACTION = refbk::RISE(IDLE_RATE_st.BI_ON, IDLE_RATE.CONTACT_B_NAME);
    g.STRT_CHECK_GO_RATED_AND = bk::AND({IDLE_RATE.CONTACT_B_NAME, SPDC.A00_STEP_SFC_STEP,
                                         IFACE_IN_START.BI_RESET_GOTO_MIN_B_NAME});
    const uint32_t set_rise = refbk::RISE(IDLE_RATE_st.BI_SET_LATCH, g.STRT_CHECK_GO_RATED_AND);
    refbk::ACTION_OUT(g.BI_SET_LATCH_ACT_OUT, g.BI_SET_LATCH_E_TIME, g.BI_SET_LATCH_R_TIME, kPulseAction);
    g.BI_SET_LATCH_B_ACTION = bk::AND({set_rise, bk::NOT(g.BI_SET_LATCH_RST_1)});
    g.SECOND_START_CMD_OR = bk::OR({IFACE_IN_START.START_KEY_B_NAME, OPC_DATA.BW_CMDS_SEL_5, MOD_BW.BW_CMD_SEL_5,
                                    START.START_OS_ONE_SHOT});
    g.SECND_START_AND = bk::AND({g.SECOND_START_CMD_OR, START.RUN_CMD_LATCH_R, SPDC.COMP_MINGO_A_COMPARE,
                                 MPU.SPD_GTEQ_IDL_OR, g.SECND_START_IN_5});
}

void IDLE_RATE_enable() {
    auto& c = IDLE_RATE;
    c.OR_ENABLE_OR = bk::OR({c.BI_ON_B_ACTION, MOD_BW.BW_CMD_SEL_6, IFACE_IN_START.IR_EN_B_NAME,
                             UNIT_DEMO.B_CMDS_LIST_5, c.OR_ENABLE_IN_5, OPC_DATA.BW_CMDS_SEL_6,
                             GOTO_MIN.SECND_START_AND, GOTO_MIN.BI_SET_LATCH_B_ACTION});
    refbk::ACTION_OUT(c.PLS_ON_ACT_OUT, c.PLS_ON_E_TIME, c.PLS_ON_R_TIME, kPulseAction);
    const uint32_t rise = refbk::RISE(IDLE_RATE_st.PLS_ON, c.OR_ENABLE_OR);
    c.PLS_ON_B_ACTION = bk::AND({rise, bk::NOT(remote_source())});
    c.CI_NOT_NOT = bk::NOT(c.CONTACT_B_NAME);
}

void IDLE_RATE_latch() {
    auto& c = IDLE_RATE;
    auto& s = IDLE_RATE_st;
    c.BI_OFF_B_ACTION = refbk::RISE(s.BI_OFF, c.CI_NOT_NOT, c.BI_OFF_ACT_OUT, c.BI_OFF_E_TIME, c.BI_OFF_R_TIME);
    const uint32_t off_cmd = bk::OR({OPC_DATA.BW_CMDS_SEL_7, MOD_BW.BW_CMD_SEL_7, IFACE_IN_START.IR_DIS_B_NAME,
                                     c.BI_OFF_B_ACTION});
    const uint32_t off_rise = refbk::RISE(s.CMD_OFF, off_cmd);
    c.CMD_OFF_B_ACTION = bk::AND({off_rise, bk::NOT(remote_source())});
    refbk::ACTION_OUT(c.CMD_OFF_ACT_OUT, c.CMD_OFF_E_TIME, c.CMD_OFF_R_TIME, 5);
    // The rated latch.
    c.OR_DISABLE_OR = bk::OR({c.CMD_OFF_B_ACTION, SHUTDOWNS.SD_SHOOT_ONE_SHOT, c.OR_DISABLE_IN_3, OSPD.MV_REF_OR,
                              SPDC.Z01_STEP_SFC_STEP, CRIT_SPD.FRC_TOMIN_B_ACTION, c.NOT_USED_NOT});
    if (c.OR_DISABLE_OR != 0) {
        c.RATED_LATCH_R = 0;
        c.RATE_LACT_NOT = 1;
    } else if (c.PLS_ON_B_ACTION != 0) {
        c.RATED_LATCH_R = 1;
        c.RATE_LACT_NOT = 0;
    } else {
        c.RATE_LACT_NOT = bk::NOT(c.RATED_LATCH_R);
    }
    c.IDLE_AND = bk::AND({c.RATE_LACT_NOT, IFACE_IN_START.USE_IDLE_RATED_B_NAME});
    // Pulses and flags.
    c.AND_TOILDE_AND = bk::AND({SPDC.A11_STEP_SFC_STEP, c.IDLE_AND, IDLE_RTD.USE_IDLE_B_NAME});
    c.AND_TORATD_AND = bk::AND({SPDC.A07_STEP_SFC_STEP, c.RATED_LATCH_R});
    c.IDLE_SH_B_ACTION = refbk::RISE(s.IDLE_SH, c.IDLE_AND, c.IDLE_SH_ACT_OUT, c.IDLE_SH_E_TIME, c.IDLE_SH_R_TIME);
    c.OR_PLS_RP_OR = bk::OR({c.CMD_OFF_B_ACTION, MOD_BW.BW_CMD_SEL_7, c.OR_PLS_RP_IN_3, IFACE_IN_START.IR_DIS_B_NAME,
                             OPC_DATA.BW_CMDS_SEL_7});
    c.PLS_OFF_B_ACTION = refbk::RISE(s.PLS_OFF, c.OR_PLS_RP_OR, c.PLS_OFF_ACT_OUT, c.PLS_OFF_E_TIME, c.PLS_OFF_R_TIME);
    c.REPEAT_OFF_AND = bk::AND({c.IDLE_AND, c.PLS_OFF_B_ACTION});
    c.IDLE_PLS_OR = bk::OR({c.IDLE_SH_B_ACTION, c.REPEAT_OFF_AND});
    c.REPEAT_ON_AND = bk::AND({c.PLS_ON_B_ACTION, c.RATED_LATCH_R});
    c.RATED_SH_B_ACTION =
        refbk::RISE(s.RATED_SH, c.RATED_LATCH_R, c.RATED_SH_ACT_OUT, c.RATED_SH_E_TIME, c.RATED_SH_R_TIME);
    c.RATED_PLS_OR = bk::OR({c.REPEAT_ON_AND, c.RATED_SH_B_ACTION});
    c.OR_ATMIN_OR = bk::OR({SPDC.A01_STEP_SFC_STEP, SPDC.A02_STEP_SFC_STEP});
    c.TOMIN_IR_AND = bk::AND({c.OR_ATMIN_OR, c.IDLE_AND});
    IDLE_RTD.IDL_OR_RTD_OR = bk::OR({c.TOMIN_IR_AND, c.AND_TORATD_AND, c.AND_TOILDE_AND});
}

}  // namespace r80
