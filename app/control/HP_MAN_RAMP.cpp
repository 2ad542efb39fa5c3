// HP_MAN_RAMP: the manual valve demand, offered to the low-signal select
// only while manual control is enabled or selected, and its ramp, which
// tracks the selected demand while manual control is disabled.
#include "app/control/HP_MAN_RAMP.cells.h"

#include "app/control/HP_DRIVER.cells.h"
#include "app/discrete/IFACE_OUT_VLV.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct HP_MAN_RAMP_blocks {
    bk::RampState MAN_DMD;
};
BlockRam<HP_MAN_RAMP_blocks> HP_MAN_RAMP_st;
constexpr float kNeverSelected = 101.0f;
constexpr float kInstantRate = 9e20f;
}  // namespace

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
