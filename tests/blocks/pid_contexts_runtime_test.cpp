// The two PID records wired at start-up by RTinit_blks and stepped by slices
// of the 10 ms and 80 ms groups through real passes of the runtime.
#include <gtest/gtest.h>

#include "blocks/pid_contexts.h"
#include "tests/support/app_harness.h"

namespace {

// The speed PID as the 10 ms speed control calls it: error 1, PI gains,
// the demand selected last pass fed back.
void speed_pid_slice()
{
    PidOptiVars& v = SPD_CTRL_SPD_PID_9052_vars;
    v.PV = 89.0f;
    v.SP = 90.0f;
    v.P = 2.0f;
    v.I = 1.0f;
    v.SDR = 100.0f;
    v.FDBK = *v.OUT;
    v.FEEDBACK1 = 1;
    v.PID_TYPE = 3;
    pid_opti(&v, kPidOptiRun);
}

// The cascade PID as the 80 ms cascade slice calls it.
void cascade_pid_slice()
{
    Pid2Vars& v = CASC_CTRL_CASC_PID_9137_vars;
    v.SP = 1.0f;
    v.P = 2.0f;
    v.I = 1.0f;
    v.SDR = 100.0f;
    v.FDBK = *v.OUT;
    v.FEEDBACK1 = 1;
    pid2(&v);
}

class PidContextsInRuntime : public tc_test::AppHarness {};

}  // namespace

TEST_F(PidContextsInRuntime, SlicesStepTheWiredRecords)
{
    useSlices(0, {speed_pid_slice});
    useSlices(3, {cascade_pid_slice});
    startApp();
    runPasses(0, 20);
    runPasses(3, 3);

    // Speed PID: the first pass starts bumplessly from the (cleared) output
    // cell; every later pass adds P x I x e x dt = 0.02.
    const uint32_t n10 = passes(0);
    ASSERT_GT(n10, 20u);
    EXPECT_NEAR(real("SPD_CTRL.SPD_PID.PID_OPTI"), 0.02f * static_cast<float>(n10 - 1), 1e-4f);
    EXPECT_EQ(integer("SPD_CTRL.SPD_PID.OPTI_STATUS"), 1);
    EXPECT_EQ(integer("SPD_CTRL.SPD_PID.OPTI_FAULT"), 0);
    EXPECT_FLOAT_EQ(real("SPD_CTRL.SPD_PID.PROC_ERR"), 1.0f);
    EXPECT_FLOAT_EQ(real("SPD_CTRL.SPD_PID.CALC_P"), 2.0f);

    // Cascade PID at 0.08 s: G x e = 2 x (0.04 + 1) on the first pass, then
    // P x I x e x dt = 0.16 per pass.
    const uint32_t n80 = passes(3);
    ASSERT_GE(n80, 3u);
    EXPECT_NEAR(real("CASC_CTRL.CASC_PID.PID_2"), 2.08f + 0.16f * static_cast<float>(n80 - 1), 1e-4f);
    stopApp();
}
