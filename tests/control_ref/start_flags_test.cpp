// The start-mode flags on the whole program, each start-mode configuration
// entered from the service tool while the controller powers up: the
// semi-automatic start only when no other start mode is set, and the
// no-run-pulse flag against the start command pulse.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/ref_rig.h"

namespace {

using namespace ref_test;

struct ModeCase {
    const char* name;
    int semi, autoStart, manual;
};

class StartFlags : public RefRig, public ::testing::WithParamInterface<ModeCase> {
protected:
    void SetUp() override {
        RefRig::SetUp();
        // Some of these configurations inhibit a start: the flags are read
        // at rest all the same.
        startable_ = false;
    }
};

TEST_P(StartFlags, SemiAutomaticOnlyAloneAndNoRunPulseAgainstTheCommandPulse) {
    const ModeCase& m = GetParam();
    // The start-mode list as configured; a configuration error it raises
    // is overridden, so that it does not trip the unit.
    start(false, false,
          {{"CNFG_START.CONFIG_B.IN_1", m.manual},
           {"CNFG_START.CONFIG_B.IN_2", m.autoStart},
           {"CNFG_START.CONFIG_B.IN_3", m.semi},
           {"CNFG_START.CONFIG_B.IN_10", m.autoStart},
           {"CONF_LATCH.ANY.OVRD", 1}});
    runPasses(R160, 10);
    const bool semiAuto = m.semi == 1 && m.autoStart == 0 && m.manual == 0;
    EXPECT_EQ(boolean("START.SEMI_AUTO.AND"), semiAuto ? 1u : 0u);
    EXPECT_EQ(boolean("START.AUTO_START.AND"), m.autoStart == 1 && m.manual == 0 ? 1u : 0u);
    EXPECT_EQ(boolean("START.MAN_START.B_NAME"), static_cast<uint32_t>(m.manual));
    EXPECT_EQ(boolean("START.NO_STR_CF.NOR"), m.semi + m.autoStart + m.manual == 0 ? 1u : 0u);

    // The start command's pulse: the no-run-pulse flag drops with it (the
    // 160 ms group reads it) and comes back once it is over.
    EXPECT_EQ(boolean("START.NO_RUN_PLS.NOT"), 1u);
    serviceWrite("START.START.IN_3", 1);
    ASSERT_TRUE(runUntil([&] { return boolean("START.V1_STRT.ONE_SHOT") != 0; }, 4));
    runPasses(R160, 1);
    EXPECT_EQ(boolean("START.V1_STRT.ONE_SHOT"), 1u);
    EXPECT_EQ(boolean("START.NO_RUN_PLS.NOT"), 0u);
    ASSERT_TRUE(runUntil([&] { return boolean("START.V1_STRT.ONE_SHOT") == 0; }, 10));
    runPasses(R160, 1);
    EXPECT_EQ(boolean("START.NO_RUN_PLS.NOT"), 1u);
    serviceWrite("START.START.IN_3", 0);
}

const ModeCase kModes[] = {
    {"SemiAlone", 1, 0, 0},   {"SemiWithAutomatic", 1, 1, 0}, {"SemiWithManual", 1, 0, 1},
    {"NoMode", 0, 0, 0},      {"AllThree", 1, 1, 1},          {"AutomaticAlone", 0, 1, 0},
};
INSTANTIATE_TEST_SUITE_P(Modes, StartFlags, ::testing::ValuesIn(kModes),
                         [](const ::testing::TestParamInfo<ModeCase>& i) { return std::string(i.param.name); });

}  // namespace
