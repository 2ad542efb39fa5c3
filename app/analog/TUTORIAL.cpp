// The tutorial setpoint: a raise command block and a three-target ramp
// (lower to 0, raise to 100, go to the held entry).
#include "app/analog/TUTORIAL.cells.h"

#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {

constexpr float kDefaultRate = 10.0f;  // per second, while R_SEL_1 is off

struct TUTORIAL_blocks {
    bk::OneShotState no_mom_rst;
    bk::ActionState rse;
    bk::RampState ramp;
};
BlockRam<TUTORIAL_blocks> TUTORIAL_st;

}  // namespace

namespace r160 {

void TUTORIAL_setpoint() {
    auto& c = TUTORIAL;
    TUTORIAL_blocks& v = TUTORIAL_st;
    c.NO_MOM_RSE_NOT = bk::NOT(c.SP_TUT_COMMANDS_OUT_2);
    bk::ONE_SHOT(v.no_mom_rst, c.NO_MOM_RST_ONE_SHOT, &static_cast<int32_t&>(c.NO_MOM_RST_R_TIME), c.NO_MOM_RSE_NOT,
                 c.NO_MOM_RST_DLY_TIME, bk::T160);
    bk::ACTION(v.rse, c.RSE_B_ACTION, c.RSE_ACT_OUT, c.RSE_E_TIME, c.RSE_R_TIME, c.SP_TUT_COMMANDS_OUT_2,
               bk::OR({c.NO_MOM_RST_ONE_SHOT, c.P_LIM_2_ZMINUS1_B, c.GOTO_CMD_Z_ZMINUS1_B, c.SP_TUT_COMMANDS_OUT_3}),
               c.RSE_ACT_Q, 0.0f, bk::T160);
    const float hold = c.ENTR_SETPT_HOLD_A_SW;
    const float rate = c.SP_TUTORIAL_RAMP_R_SEL_1 == 1 ? static_cast<float>(c.SP_TUTORIAL_RAMP_R_SP_1) : kDefaultRate;
    const bk::RampOut r =
        bk::RAMP(v.ramp, {{c.LWR_B_ACTION, 0.0f}, {c.RSE_B_ACTION, 100.0f}, {c.GOTO_TUT_SP_B_ACTION, hold}}, rate,
                 bk::T160);
    c.SP_TUTORIAL_RAMP_RAMP = r.ramp;
    c.SP_TUTORIAL_RAMP_REV_RAMP = 0.0f;
    c.SP_TUTORIAL_RAMP_MOVING_UP = r.moving_up;
    c.SP_TUTORIAL_RAMP_MOVING_DN = r.moving_dn;
    c.SP_TUTORIAL_RAMP_POS_SEL = r.pos_sel;
    c.SP_TUTORIAL_RAMP_P_LIM_1 = bk::P_LIM(r, 0.0f);
    c.SP_TUTORIAL_RAMP_P_LIM_2 = bk::P_LIM(r, 100.0f);
    c.SP_TUTORIAL_RAMP_P_LIM_3 = bk::P_LIM(r, hold);
    // Unit delays: the blocks of the next pass see this pass's limits.
    c.P_LIM_1_ZMINUS1_B = c.SP_TUTORIAL_RAMP_P_LIM_1;
    c.P_LIM_2_ZMINUS1_B = c.SP_TUTORIAL_RAMP_P_LIM_2;
    c.P_LIM_3_ZMINUS1_B = c.SP_TUTORIAL_RAMP_P_LIM_3;
    c.GOTO_CMD_Z_ZMINUS1_B = c.GOTO_TUT_SP_B_ACTION;
    c.S_TUNABLE_S_NAME = c.S_TUNABLE_IN;
}

}  // namespace r160
