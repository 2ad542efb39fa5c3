// The tutorial page: sample tunables copied to their outputs, three momentary
// commands that drop after 20 s, an entered setpoint accepted only within
// 0 .. 100 (a refused entry reverts to the last accepted one 3 s later), and
// the go-to and lower action blocks that drive the tutorial ramp.
#include "app/analog/TUTORIAL.cells.h"

#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "runtime/rgtask.h"

namespace {
constexpr float kCommandTime = 20.0f;
constexpr float kEntryLo = -1e38f, kEntryHi = 1e38f;
constexpr float kSpMin = 0.0f, kSpMax = 100.0f;

struct TUTORIAL_page_blocks {
    bk::SvcCmdState<3> SP_TUT_COMMANDS;
    bk::SampState ENTR_TUT_SETPT;
    bk::DelayState LIMITED;
    bk::OneShotState GOTO_VAL_SAMP, NO_MOM_LWR_RST;
    bk::ActionState GOTO_TUT_SP, LWR;
    uint32_t sample_z;  // unit-delay stores, committed at the end of the pass
    float hold_z;
};
BlockRam<TUTORIAL_page_blocks> TUTORIAL_page_st;
}  // namespace

void TUTORIAL_init_blks() { bk::SVC_CMD_INIT(TUTORIAL_page_st.SP_TUT_COMMANDS, kCommandTime); }

void TUTORIAL_command_written(int n, uint32_t value) {
    bk::SVC_CMD_WRITTEN(TUTORIAL_page_st.SP_TUT_COMMANDS, n, value, kCommandTime);
}

namespace r160 {

void TUTORIAL_page() {
    auto& c = TUTORIAL;
    auto& s = TUTORIAL_page_st;
    c.A_TUNABLE_A_NAME = c.A_TUNABLE_IN;
    c.B_TUNABLE_B_NAME = c.B_TUNABLE_IN;
    c.B_TUNABLE1_B_NAME = c.B_TUNABLE1_IN;
    c.B_TUNABLE2_B_NAME = c.B_TUNABLE2_IN;
    c.B_TUNABLE3_B_NAME = c.B_TUNABLE3_IN;
    c.I_DROPDOWN_I_NAME = c.I_DROPDOWN_IN;
    c.I_TUNABLE_I_NAME = c.I_TUNABLE_IN;

    bk::SVC_CMD(s.SP_TUT_COMMANDS, 1, c.SP_TUT_COMMANDS_IN_1, c.SP_TUT_COMMANDS_OUT_1, kCommandTime, bk::T160);
    bk::SVC_CMD(s.SP_TUT_COMMANDS, 2, c.SP_TUT_COMMANDS_IN_2, c.SP_TUT_COMMANDS_OUT_2, kCommandTime, bk::T160);
    bk::SVC_CMD(s.SP_TUT_COMMANDS, 3, c.SP_TUT_COMMANDS_IN_3, c.SP_TUT_COMMANDS_OUT_3, kCommandTime, bk::T160);

    // The entry: a refusal standing for LIMITED.DLY_TIME puts the last
    // accepted value back.
    bk::SAMP_OUTPUTS(bk::SAMP_TUNE(s.ENTR_TUT_SETPT, c.ENTR_TUT_SETPT_TUNE, c.ENTR_SETPT_HOLD_Z_ZMINUS1,
                                   c.SAMPLE_Z_ZMINUS1_B, kEntryLo, kEntryHi, c.ENTR_TUT_SETPT_ENBL_ENTER, kEntryLo,
                                   kEntryHi, static_cast<uint32_t>(AllRgExecutedwMMM)),
                     c.ENTR_TUT_SETPT_SAMP_TUNE, c.ENTR_TUT_SETPT_LIMITED, c.ENTR_TUT_SETPT_EN_ENT_OUT,
                     c.ENTR_TUT_SETPT_LO_LIM_OUT, c.ENTR_TUT_SETPT_HI_LIM_OUT);
    const float entry = c.ENTR_TUT_SETPT_SAMP_TUNE;
    bk::A_COMPARE(c.SP_MIN_A_COMPARE, c.SP_MIN_A_EQUAL, kSpMin, entry);
    c.SP_BLW_MIN_AND = bk::AND({c.SP_MIN_A_COMPARE, bk::NOT(c.SP_MIN_A_EQUAL)});
    bk::A_COMPARE(c.SP_MAX_A_COMPARE, c.SP_MAX_A_EQUAL, entry, kSpMax);
    c.SP_ABV_MAX_AND = bk::AND({c.SP_MAX_A_COMPARE, bk::NOT(c.SP_MAX_A_EQUAL)});
    c.INVALID_SP_OR = bk::OR({c.SP_BLW_MIN_AND, c.SP_ABV_MAX_AND});
    c.INVALID_SETPOINT_B_NAME = c.INVALID_SP_OR;
    c.NOT_LIMITED_NOT = bk::NOT(c.INVALID_SP_OR);
    bk::DELAY(s.LIMITED, c.LIMITED_DELAY, &c.LIMITED_R_TIME.ref(), c.INVALID_SP_OR, c.LIMITED_DLY_TIME, 0.0f, bk::T160);

    // Go to the entry: its value is taken while the go pulse lasts.
    c.GOTO_CMD_AND = bk::AND({c.SP_TUT_COMMANDS_OUT_1, c.NOT_LIMITED_NOT});
    bk::ONE_SHOT(s.GOTO_VAL_SAMP, c.GOTO_VAL_SAMP_ONE_SHOT, &c.GOTO_VAL_SAMP_R_TIME.ref(), c.GOTO_CMD_AND,
                 c.GOTO_VAL_SAMP_DLY_TIME, bk::T160);
    if (c.GOTO_VAL_SAMP_ONE_SHOT != 0) c.ENTR_SETPT_HOLD_A_SW = entry;

    bk::ACTION(s.GOTO_TUT_SP, c.GOTO_TUT_SP_B_ACTION, c.GOTO_TUT_SP_ACT_OUT, c.GOTO_TUT_SP_E_TIME,
               c.GOTO_TUT_SP_R_TIME, c.GOTO_VAL_SAMP_ONE_SHOT,
               bk::OR({c.P_LIM_3_ZMINUS1_B, c.SP_TUT_COMMANDS_OUT_2, c.SP_TUT_COMMANDS_OUT_3}), c.GOTO_TUT_SP_ACT_Q,
               0.0f, bk::T160);
    c.NO_MOM_LWR_NOT = bk::NOT(c.SP_TUT_COMMANDS_OUT_3);
    bk::ONE_SHOT(s.NO_MOM_LWR_RST, c.NO_MOM_LWR_RST_ONE_SHOT, &c.NO_MOM_LWR_RST_R_TIME.ref(), c.NO_MOM_LWR_NOT,
                 c.NO_MOM_LWR_RST_DLY_TIME, bk::T160);
    bk::ACTION(s.LWR, c.LWR_B_ACTION, c.LWR_ACT_OUT, c.LWR_E_TIME, c.LWR_R_TIME, c.SP_TUT_COMMANDS_OUT_3,
               bk::OR({c.NO_MOM_LWR_RST_ONE_SHOT, c.P_LIM_1_ZMINUS1_B, c.GOTO_CMD_Z_ZMINUS1_B,
                       c.SP_TUT_COMMANDS_OUT_2}),
               c.LWR_ACT_Q, 0.0f, bk::T160);

    s.sample_z = c.LIMITED_DELAY;
    s.hold_z = c.ENTR_SETPT_HOLD_A_SW;
}

void TUTORIAL_commit() {
    auto& c = TUTORIAL;
    c.SAMPLE_Z_ZMINUS1_B = TUTORIAL_page_st.sample_z;
    c.ENTR_SETPT_HOLD_Z_ZMINUS1 = TUTORIAL_page_st.hold_z;
}

}  // namespace r160
