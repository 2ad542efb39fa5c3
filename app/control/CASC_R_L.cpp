// CASC_R_L: the setpoint step test. While the test is armed (service input
// 2) a step SP_STEP, entered within +/- a fraction of the setpoint range, is
// applied by service input 1: the setpoint jumps in one pass to the present
// setpoint plus the step, held to the setpoint range. Input 3, a raise or
// lower command or cascade leaving control disarms the test.
#include "app/control/CASC_R_L.cells.h"

#include "app/control/CASC_SETPT.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/ref_blocks.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "runtime/rgtask.h"

namespace {
struct CASC_R_L_blocks {
    bk::SvcCmdState<3> GO_STEP_SP;
    bk::ActionState IFENA_STEPTEST;
    bk::OneShotState ENA_STEP;
    bk::SampState SP_STEP;
};
BlockRam<CASC_R_L_blocks> CASC_R_L_st;

constexpr float kGoStepTime = 1.0f;  // s a step-test command stays set
constexpr float kArmTime = 0.5f;     // s, time of the arming action block
constexpr float kStepMin = -100.0f, kStepMax = 100.0f;
}  // namespace

void CASC_R_L_init_blks() { bk::SVC_CMD_INIT(CASC_R_L_st.GO_STEP_SP, kGoStepTime); }

void CASC_R_L_command_written(const void* cell, uint32_t value) {
    auto& c = cells::CASC_R_L;
    const void* go[3] = {&c.GO_STEP_SP_IN_1.ref(), &c.GO_STEP_SP_IN_2.ref(), &c.GO_STEP_SP_IN_3.ref()};
    for (int k = 1; k <= 3; ++k)
        if (cell == go[k - 1]) bk::SVC_CMD_WRITTEN(CASC_R_L_st.GO_STEP_SP, k, value, kGoStepTime);
}

namespace r160 {

void CASC_R_L_step_limits() {
    auto& c = CASC_R_L;
    c.STEP_LIMIT_MULTIPLY = (CASC_SETPT.MAX_SETPT_A_NAME - CASC_SETPT.MIN_SETPT_A_NAME) * c.STEP_LIMIT_IN_2;
    c.INV_LMT_MULTIPLY = -c.STEP_LIMIT_MULTIPLY;
}

}  // namespace r160

namespace r80 {

void CASC_R_L_step_test() {
    auto& c = CASC_R_L;
    auto& s = CASC_R_L_st;
    bk::SVC_CMD(s.GO_STEP_SP, 1, c.GO_STEP_SP_IN_1, c.GO_STEP_SP_OUT_1, kGoStepTime, bk::T80);
    bk::SVC_CMD(s.GO_STEP_SP, 2, c.GO_STEP_SP_IN_2, c.GO_STEP_SP_OUT_2, kGoStepTime, bk::T80);
    bk::SVC_CMD(s.GO_STEP_SP, 3, c.GO_STEP_SP_IN_3, c.GO_STEP_SP_OUT_3, kGoStepTime, bk::T80);
    c.NOT_CASC_CTRL_NOT = bk::NOT(SPDC.B02_STEP_SFC_STEP);
    bk::ACTION(s.IFENA_STEPTEST, c.IFENA_STEPTEST_B_ACTION, c.IFENA_STEPTEST_ACT_OUT, c.IFENA_STEPTEST_E_TIME,
               c.IFENA_STEPTEST_R_TIME, c.GO_STEP_SP_OUT_2,
               bk::OR({c.GO_STEP_SP_OUT_3, c.RSE_OR_LWR_OR, c.NOT_CASC_CTRL_NOT}), c.IFENA_STEPTEST_ACT_Q, kArmTime,
               bk::T80);
    auto& sp = CASC_SETPT;
    sp.ENA_STEP_AND = bk::AND({c.IFENA_STEPTEST_B_ACTION, c.GO_STEP_SP_OUT_1});
    bk::ONE_SHOT(s.ENA_STEP, sp.ENA_STEP_ONE_SHOT, &sp.ENA_STEP_R_TIME.ref(), sp.ENA_STEP_AND, bk::T80, bk::T80);
    // Arming clears the step; it can be entered only while armed.
    const uint32_t armed = c.IFENA_STEPTEST_B_ACTION;
    bk::SAMP_OUTPUTS(bk::SAMP_TUNE(s.SP_STEP, c.SP_STEP_TUNE, 0.0f, armed, c.INV_LMT_MULTIPLY,
                                   c.STEP_LIMIT_MULTIPLY, armed, kStepMin, kStepMax,
                                   static_cast<uint32_t>(AllRgExecutedwMMM)),
                     c.SP_STEP_SAMP_TUNE, c.SP_STEP_LIMITED, c.SP_STEP_EN_ENT_OUT, c.SP_STEP_LO_LIM_OUT,
                     c.SP_STEP_HI_LIM_OUT);
    // The setpoint of the last pass plus the step, within the range.
    c.ADD_STEP_ADD = sp.SETPT_RAMP + c.SP_STEP_SAMP_TUNE;
    c.STEP_SP_LMT_A_LIMITER = bk::A_LIMITER(c.ADD_STEP_ADD, sp.MIN_SETPT_A_NAME, sp.MAX_SETPT_A_NAME);
}

}  // namespace r80
