// Flags the speed reference reads from the configuration and the overspeed
// test, through real passes: the configured halt at idle (160 ms) and the
// negated reduced-overspeed flag (80 ms, from the 160 ms latch).
#include <gtest/gtest.h>

#include <string>

#include "app/config/config_slices.h"
#include "app/control/control_slices.h"
#include "app/interface/interface_slices.h"
#include "tests/support/app_harness.h"

namespace {

constexpr int R80 = 3, R160 = 4;

class ConfigFlags : public tc_test::AppHarness {
protected:
    void SetUp() override {
        AppHarness::SetUp();
        useSlices(R80, {_R80_TASK_22});
        useSlices(R160, {_R160_TASK_12});
        startApp();
    }
};

TEST_F(ConfigFlags, HaltAtIdleAndReducedOverspeedFollowTheirSources) {
    const struct {
        const char *source, *flag;
        uint32_t inverted;
    } flags[] = {{"CNFG_START.AUTO_HALT_AT_IDLE.B_NAME", "AUTO_ENBL.AUTO_HALT.B_NAME", 0},
                 {"OSPD.REDUCE_OSPD_USE.B_ACTION", "OSPD.REDICE_OSPD_NOT.NOT", 1}};
    for (const auto& f : flags) {
        for (uint32_t v : {1u, 0u, 1u}) {
            setCell(f.source, v);
            runPasses(R160, 2);
            runPasses(R80, 1);
            EXPECT_EQ(boolean(f.flag), v ^ f.inverted) << f.flag << " " << v;
        }
    }
}

}  // namespace
