// The protection logic as the whole program runs it: every slice of the
// program's own table, driven by the speed sensors, the contacts and the
// service tool.
#include <cstdio>
#include <string>

#include "tests/protection/program_rig.h"

namespace pr_test {
namespace {

class Protection : public ProgramRig {};

// The overspeed trip latches in the very 10 ms pass in which the turbine
// speed first reaches the trip level, not a pass later.
TEST_F(Protection, OverspeedTripLatchesInThePassTheSpeedReachesTheLevel) {
    startTurning(3000.0);
    const float level = real("OSPD.OSPD_SP.A_SW");
    ASSERT_FLOAT_EQ(level, 3960.0f);
    ASSERT_EQ(boolean("SHUTDOWNS.SD_03.B_ALARM"), 0u);
    turn(4000.0);
    int reached = -1, latched = -1;
    for (int pass = 0; pass < 200 && latched < 0; ++pass) {
        runPasses(P10, 1);
        if (reached < 0 && real("MPU.TURB_SPD.A_NAME") >= level) reached = pass;
        if (boolean("SHUTDOWNS.SD_03.B_ALARM") != 0) latched = pass;
    }
    ASSERT_GE(reached, 0) << "the speed never reached the trip level";
    EXPECT_EQ(latched, reached);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY.SEL_3"), 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
}

}  // namespace
}  // namespace pr_test
