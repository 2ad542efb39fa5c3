// Flags the speed reference reads from the configuration and the overspeed
// test, on the whole program: the configured halt at idle (160 ms), entered
// while the controller powers up, and the negated reduced-overspeed flag
// (80 ms, from the 160 ms latch), chosen from the service tool and ended by
// a trip.
#include <gtest/gtest.h>

#include "tests/support/ref_rig.h"

namespace {

using namespace ref_test;

class ConfigFlags : public RefRig, public ::testing::WithParamInterface<int> {};

TEST_P(ConfigFlags, HaltAtIdleAndReducedOverspeedFollowTheirSources) {
    const int halt = GetParam();
    start(true, true, {{"CNFG_START.CONFIG_B.IN_9", halt}});
    EXPECT_EQ(boolean("CNFG_START.AUTO_HALT_AT_IDLE.B_NAME"), static_cast<uint32_t>(halt));
    EXPECT_EQ(boolean("AUTO_ENBL.AUTO_HALT.B_NAME"), static_cast<uint32_t>(halt));

    // The reduced overspeed level: not in use, then chosen, then ended by a
    // trip, which also switches the option off.
    EXPECT_EQ(boolean("OSPD.REDUCE_OSPD_USE.B_ACTION"), 0u);
    EXPECT_EQ(boolean("OSPD.REDICE_OSPD_NOT.NOT"), 1u);
    serviceWrite("CNFG_SETPT.USE_REDUC_OSPD.TUNE", 1);
    runPasses(R160, 2);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("OSPD.REDUCE_OSPD_USE.B_ACTION"), 1u);
    EXPECT_EQ(boolean("OSPD.REDICE_OSPD_NOT.NOT"), 0u);
    trip();
    ASSERT_TRUE(runUntil([&] { return boolean("SHUTDOWNS.ANY_SD.B_NAME") != 0; }, 4));
    runPasses(R160, 2);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("OSPD.REDUCE_OSPD_USE.B_ACTION"), 0u);
    EXPECT_EQ(boolean("OSPD.REDICE_OSPD_NOT.NOT"), 1u);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("CNFG_SETPT.USE_REDUC_OSPD.TUNE"), 0u);
}

INSTANTIATE_TEST_SUITE_P(HaltAtIdle, ConfigFlags, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& i) { return i.param ? "Halt" : "NoHalt"; });

}  // namespace
