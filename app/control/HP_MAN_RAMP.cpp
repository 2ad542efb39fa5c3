// HP_MAN_RAMP: the manual valve demand, offered to the low-signal select
// only while manual control is enabled or selected, and its ramp, which
// tracks the selected demand while manual control is disabled.
#include "app/control/HP_MAN_RAMP.cells.h"
#include "app/control/MPU.cells.h"

#include "app/control/HP_DRIVER.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/SPD_CTRL.cells.h"
#include "app/control/ref_blocks.h"
#include "app/discrete/IFACE_OUT_VLV.cells.h"
#include "app/config/CNFG_SETPT.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "runtime/rgtask.h"

namespace {
struct HP_MAN_RAMP_blocks {
    bk::RampState MAN_DMD;
    bk::OneShotState GOTO_OS, SH_OFF;
    bk::ActionState GOTO_CMD;
    bk::SampState ENTR_SETPT;
    bk::DelayState DLY_NOMOV;
    refbk::EdgeState PLS_ON, ENABLED;
    bk::SvcCmdState<2> RSE_LWR;
};
BlockRam<HP_MAN_RAMP_blocks> HP_MAN_RAMP_st;
constexpr float kNeverSelected = 101.0f;
constexpr float kInstantRate = 9e20f;
constexpr float kRseLwrTime = 60.0f;   // s a service raise/lower stays on
constexpr float kShutOffPulse = 1.0f;  // s
}  // namespace

void IFACE_IN_HP_MAN_init_blks() { bk::SVC_CMD_INIT(HP_MAN_RAMP_st.RSE_LWR, kRseLwrTime); }

void IFACE_IN_HP_MAN_command_written(const void* cell, uint32_t value) {
    if (cell == &cells::IFACE_IN_HP_MAN.RSE_LWR_IN_1.ref()) bk::SVC_CMD_WRITTEN(HP_MAN_RAMP_st.RSE_LWR, 1, value, kRseLwrTime);
    if (cell == &cells::IFACE_IN_HP_MAN.RSE_LWR_IN_2.ref()) bk::SVC_CMD_WRITTEN(HP_MAN_RAMP_st.RSE_LWR, 2, value, kRseLwrTime);
}

namespace r10 {

void HP_MAN_RAMP_gate() {
    HP_MAN_ENBL.DISABLED_NOT = bk::NOT(HP_MAN_ENBL.ENABLED_LATCH_R);
    IFACE_IN_HP_MAN.MAN_CTRL_B_NAME = HP_DRIVER.LSS_SEL_3_Z_ZMINUS1_B;
    IFACE_OUT_VLV.ACT_LSS_SEL_3_B_NAME = IFACE_IN_HP_MAN.MAN_CTRL_B_NAME;
    HP_MAN_RAMP.MAN_CTRL_NOT_NOT = bk::NOT(IFACE_IN_HP_MAN.MAN_CTRL_B_NAME);
    HP_MAN_RAMP.DIS_AND_AND = bk::AND({HP_MAN_ENBL.DISABLED_NOT, HP_MAN_RAMP.MAN_CTRL_NOT_NOT});
    HP_MAN_RAMP.MAN_DMD_SW_A_SW = bk::SW<float>(HP_MAN_RAMP.DIS_AND_AND, HP_MAN_RAMP.MAN_DMD_Z_ZMINUS1, kNeverSelected);
    IFACE_OUT_HP_MAN.MAN_OUT_A_NAME = HP_MAN_RAMP.MAN_DMD_SW_A_SW;
}

void HP_MAN_RAMP_ramp() {
    auto& m = HP_MAN_RAMP;
    m.SOFT_DIS_AND_AND = bk::AND({HP_MAN_ENBL.DISABLED_NOT, IFACE_IN_HP_MAN.MAN_CTRL_B_NAME});
    m.SOFT_DIS_B_NAME = m.SOFT_DIS_AND_AND;
    m.TRACK_B_NAME = HP_MAN_ENBL.DISABLED_NOT;
    IFACE_IN_HP_MAN.LSS_OUT_A_NAME = HP_DRIVER.ACT_LSS_LSS_BUS;
    const float lss = IFACE_IN_HP_MAN.LSS_OUT_A_NAME;
    const float entered = m.ENTR_SETPT_A_SW_A_SW;
    const float rate = m.SOFT_DIS_B_NAME != 0 ? static_cast<float>(m.SOFT_DIS_RATE_MULTIPLY)
                       : m.TRACK_B_NAME != 0  ? kInstantRate
                                              : static_cast<float>(IFACE_IN_HP_MAN.MAN_RATE_A_NAME);
    const bk::RampOut r = bk::RAMP(HP_MAN_RAMP_st.MAN_DMD,
                                   {{m.SOFT_DIS_B_NAME, kNeverSelected},
                                    {m.TRACK_B_NAME, lss},
                                    {m.LOWER_B_ACTION, 0.0f},
                                    {m.RAISE_B_ACTION, 100.0f},
                                    {m.GOTO_CMD_B_ACTION, entered}},
                                   rate, bk::T10);
    m.MAN_DMD_RAMP = r.ramp;
    m.MAN_DMD_REV_RAMP = 0.0f;
    m.MAN_DMD_MOVING_UP = r.moving_up;
    m.MAN_DMD_MOVING_DN = r.moving_dn;
    m.MAN_DMD_POS_SEL = r.pos_sel;
    m.MAN_DMD_P_LIM_1 = bk::P_LIM(r, kNeverSelected);
    m.MAN_DMD_P_LIM_2 = bk::P_LIM(r, lss);
    m.MAN_DMD_P_LIM_3 = bk::P_LIM(r, 0.0f);
    m.MAN_DMD_P_LIM_4 = bk::P_LIM(r, 100.0f);
    m.MAN_DMD_P_LIM_5 = bk::P_LIM(r, entered);
}

}  // namespace r10

namespace r10 {

void HP_MAN_ENBL_latch() {
    auto& e = HP_MAN_ENBL;
    IFACE_IN_HP_MAN.TURB_SPD_A_NAME = MPU.TURB_SPD_A_NAME;
    const float speed = IFACE_IN_HP_MAN.TURB_SPD_A_NAME;
    bk::A_COMPARE_HYST(e.LT_MIN_GOV_A_COMPARE, e.LT_MIN_GOV_A_EQUAL, IFACE_IN_HP_MAN.MIN_GOV_A_NAME, speed,
                       e.LT_MIN_GOV_HYSTER);
    bk::A_COMPARE_HYST(e.GT_MAX_GOV_A_COMPARE, e.GT_MAX_GOV_A_EQUAL, speed, IFACE_IN_HP_MAN.MAX_GOV_A_NAME,
                       e.GT_MAX_GOV_HYSTER);
    e.OR_DISABLE_OR = bk::OR({IFACE_IN_HP_MAN.DISABLE_B_NAME, HP_MAN_RAMP.NOT_USED_NOT, IFACE_IN_HP_MAN.ANY_SD_B_NAME,
                              e.START_COMP_NOT_NOT, e.LT_MIN_GOV_A_COMPARE, e.GT_MAX_GOV_A_COMPARE, e.OR_DISABLE_IN_7,
                              e.SH_OFF_ONE_SHOT});
    bk::LATCH_R(e.ENABLED_LATCH_R, e.PLS_ON_B_ACTION, e.OR_DISABLE_OR);
    IFACE_OUT_HP_MAN.ENABLED_B_NAME = e.ENABLED_LATCH_R;
    SPD_CTRL.OTHER_EN_CTL_OR = e.ENABLED_LATCH_R;
}

}  // namespace r10

namespace r160 {

void IFACE_IN_HP_MAN_raise_lower() {
    auto& i = IFACE_IN_HP_MAN;
    auto& s = HP_MAN_RAMP_st;
    bk::SVC_CMD(s.RSE_LWR, 1, i.RSE_LWR_IN_1, i.RSE_LWR_OUT_1, kRseLwrTime, bk::T160);
    bk::SVC_CMD(s.RSE_LWR, 2, i.RSE_LWR_IN_2, i.RSE_LWR_OUT_2, kRseLwrTime, bk::T160);
    HP_MAN_RAMP.RSE_CMD_B_NAME = i.RSE_LWR_OUT_1;
    HP_MAN_RAMP.LWR_CMD_B_NAME = i.RSE_LWR_OUT_2;
}

void HP_MAN_RAMP_commands() {
    auto& m = HP_MAN_RAMP;
    auto& e = HP_MAN_ENBL;
    auto& s = HP_MAN_RAMP_st;
    auto& i = IFACE_IN_HP_MAN;
    const uint32_t disabled = e.DISABLED_NOT;
    bk::ONE_SHOT(s.GOTO_OS, m.GOTO_OS_ONE_SHOT, &m.GOTO_OS_R_TIME.ref(), m.GOTO_OS_TRIGGER, m.GOTO_OS_DLY_TIME,
                 bk::T160);
    // "At the entered value" reaches this group two passes after the ramp,
    // so while the go-to's pulse stands it still tells of the value entered
    // before: held off then, as the limiter and cascade go-tos hold theirs,
    // or a go-to given with the demand at that value would be lost.
    const uint32_t at_entered = bk::AND({m.P_LIM_4_Z_ZMINUS1_B, bk::NOT(m.GOTO_OS_ONE_SHOT)});
    bk::ACTION(s.GOTO_CMD, m.GOTO_CMD_B_ACTION, m.GOTO_CMD_ACT_OUT, m.GOTO_CMD_E_TIME, m.GOTO_CMD_R_TIME,
               m.GOTO_OS_ONE_SHOT, bk::OR({at_entered, disabled, m.LWR_CMD_B_NAME, m.RSE_CMD_B_NAME}),
               m.GOTO_CMD_ACT_Q, 0.0f, bk::T160);
    // Raise and lower only while held; lower wins.
    m.RSE_CMD_NOT_NOT = bk::NOT(m.RSE_CMD_B_NAME);
    m.LWR_CMD_NOT_NOT = bk::NOT(m.LWR_CMD_B_NAME);
    m.RAISE_B_ACTION = bk::AND({bk::NOT(disabled), m.RSE_CMD_B_NAME, m.LWR_CMD_NOT_NOT, bk::NOT(m.GOTO_CMD_B_ACTION)});
    refbk::ACTION_OUT(m.RAISE_ACT_OUT, m.RAISE_E_TIME, m.RAISE_R_TIME, 1);
    m.LOWER_B_ACTION = bk::AND({bk::NOT(disabled), m.LWR_CMD_B_NAME, bk::NOT(m.RAISE_B_ACTION),
                                bk::NOT(m.GOTO_CMD_B_ACTION)});
    refbk::ACTION_OUT(m.LOWER_ACT_OUT, m.LOWER_E_TIME, m.LOWER_R_TIME, 1);
    // On enabling, the entered value starts at the present demand.
    const uint32_t enabled_rise = refbk::RISE(s.ENABLED, e.ENABLED_LATCH_R);
    bk::SAMP_OUTPUTS(bk::SAMP_TUNE(s.ENTR_SETPT, m.ENTR_SETPT_TUNE, m.MAN_DMD_Z_ZMINUS1, enabled_rise, 0.0f, 100.0f,
                                   m.ENTR_SETPT_ENBL_ENTER, 0.0f, 100.0f, static_cast<uint32_t>(AllRgExecutedwMMM)),
                     m.ENTR_SETPT_SAMP_TUNE, m.ENTR_SETPT_LIMITED, m.ENTR_SETPT_EN_ENT_OUT, m.ENTR_SETPT_LO_LIM_OUT,
                     m.ENTR_SETPT_HI_LIM_OUT);
    if (m.GOTO_OS_ONE_SHOT != 0) m.ENTR_SETPT_A_SW_A_SW = m.ENTR_SETPT_SAMP_TUNE;
    m.NOT_USED_NOT = bk::NOT(i.USE_MAN_DMD_B_NAME);
    m.SOFT_DIS_RATE_MULTIPLY = i.MAN_RATE_A_NAME * 0.5f;
    // Enable pulse, and a demand left untouched disables itself.
    e.OR_ENABLE_OR = i.ENABLE_B_NAME;
    e.PLS_ON_B_ACTION = refbk::RISE(s.PLS_ON, e.OR_ENABLE_OR, e.PLS_ON_ACT_OUT, e.PLS_ON_E_TIME, e.PLS_ON_R_TIME);
    e.MV_REF_OR = bk::OR({m.LOWER_B_ACTION, m.RAISE_B_ACTION, m.GOTO_CMD_B_ACTION, e.PLS_ON_B_ACTION});
    e.NO_MV_NOT = bk::NOT(e.MV_REF_OR);
    bk::DELAY(s.DLY_NOMOV, e.DLY_NOMOV_DELAY, &e.DLY_NOMOV_R_TIME.ref(), e.NO_MV_NOT, i.NOMOV_DLY_A_NAME, 0.0f,
              bk::T160);
    bk::ONE_SHOT(s.SH_OFF, e.SH_OFF_ONE_SHOT, &e.SH_OFF_R_TIME.ref(), e.DLY_NOMOV_DELAY, kShutOffPulse, bk::T160);
    i.MIN_GOV_A_NAME = CNFG_SETPT.MIN_GOV_A_NAME;
    i.MAX_GOV_A_NAME = CNFG_SETPT.MAX_GOV_A_NAME;
}

}  // namespace r160
