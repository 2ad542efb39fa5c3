// The start-mode flags of the 160 ms group through real passes: the
// semi-automatic start only when no other start mode is set, and the
// no-run-pulse flag against the start command pulse.
#include <gtest/gtest.h>

#include "app/control/control_slices.h"
#include "tests/support/app_harness.h"

namespace {

constexpr int R160 = 4;

class StartFlags : public tc_test::AppHarness {};

TEST_F(StartFlags, SemiAutomaticOnlyAloneAndNoRunPulseAgainstTheCommandPulse) {
    useSlices(R160, {_R160_TASK_36, _R160_TASK_50});
    startApp();
    struct Row {
        int semi, autoStart, manual, v1Pulse;
    };
    const Row rows[] = {{1, 0, 0, 0}, {1, 1, 0, 1}, {1, 0, 1, 0}, {0, 0, 0, 1}, {1, 1, 1, 0}};
    for (const Row& r : rows) {
        setCell("CNFG_START.SEMIAUTO_START.B_NAME", r.semi);
        setCell("START.AUTO_START.AND", r.autoStart);
        setCell("START.MAN_START.B_NAME", r.manual);
        setCell("START.V1_STRT.ONE_SHOT", r.v1Pulse);
        runPasses(R160, 2);
        const bool semiAuto = r.semi == 1 && r.autoStart == 0 && r.manual == 0;
        EXPECT_EQ(boolean("START.SEMI_AUTO.AND"), semiAuto ? 1u : 0u) << r.semi << r.autoStart << r.manual;
        EXPECT_EQ(boolean("START.NO_RUN_PLS.NOT"), r.v1Pulse == 1 ? 0u : 1u) << r.v1Pulse;
    }
}

}  // namespace
