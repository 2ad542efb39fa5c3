// The actuator fault routed by the valve function the actuator drives, into
// the HP actuator fault alarm (17) and, after its delay, the HP actuator
// fault trip (19), on the whole program: the actuator's function and the
// fault's trip configured from the service tool while the controller
// powers up, the fault and the routing's second input given as the service
// tool gives them.
#include <string>

#include "tests/protection/whole_rig.h"

namespace pr_test {
namespace {

using ref_test::R10;
using ref_test::R160;

struct RouteCase {
    const char* name;
    int function;         // of the actuator channel: 2 HP, 3 HP2, 4 readout
    int in2, sel2;        // the routing's second input and its selection
    int fault;            // the actuator fault's extra input
    uint32_t hp, hp2;     // routed fault flags
};

class ActuatorFault : public WholeRig, public ::testing::WithParamInterface<RouteCase> {};

TEST_P(ActuatorFault, TheFaultReachesTheFlagOfTheValveItsFunctionDrives) {
    const RouteCase& c = GetParam();
    // The actuator's function, and its fault configured to trip.
    ready({{"_ub5.FUNCT.IN", c.function}, {"CNFG_DRIVER.CONFIG_B.IN_2", 1}});
    ASSERT_EQ(integer("_ub5.FUNCT_INT.I_NAME"), c.function);
    ASSERT_EQ(boolean("CNFG_DRIVER.USE_HP1_FLT_SD.B_NAME"), 1u);
    ASSERT_TRUE(runUntil([&] { return on("SD_LOGIC.SD_NOT_DLY.DELAY"); }, 100)) << "not shut down for its delay";
    ASSERT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u);
    tune("ACT_MUX.HP_FLT_ACT.IN_2", c.in2);
    tune("ACT_MUX.HP_FLT_ACT.SEL_2", c.sel2);
    tune("CNFG_ACT.ACT_01_FLT_ANY.IN_3", c.fault);
    runPasses(R10, 3);
    EXPECT_EQ(boolean("ACT_MUX.HP_FLT_ACTOUT.B_NAME"), c.hp);
    EXPECT_EQ(boolean("ACT_MUX.HP2_FLT_ACTOUT.B_NAME"), c.hp2);
    EXPECT_EQ(boolean("SD_LOGIC.HP_FLT_Z.ZMINUS1_B"), c.hp) << "one pass later";
    runPasses(R10, 130);  // the trip's 1 s delay
    EXPECT_EQ(boolean("ALARMS.ALM_017.B_ALARM"), c.hp);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_19.B_ALARM"), c.hp);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), c.hp);
    // The routed flags follow the fault, they do not hold it.
    tune("CNFG_ACT.ACT_01_FLT_ANY.IN_3", 0);
    tune("ACT_MUX.HP_FLT_ACT.IN_2", 0);
    runPasses(R10, 2);
    EXPECT_EQ(boolean("ACT_MUX.HP_FLT_ACTOUT.B_NAME"), 0u);
    EXPECT_EQ(boolean("ACT_MUX.HP2_FLT_ACTOUT.B_NAME"), 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, ActuatorFault,
                         ::testing::Values(RouteCase{"HealthyHp", 2, 0, 1, 0, 0, 0},
                                           RouteCase{"FaultHp", 2, 0, 1, 1, 1, 0},
                                           RouteCase{"FaultHp2", 3, 0, 1, 1, 0, 1},
                                           RouteCase{"FaultReadout", 4, 0, 1, 1, 0, 0},
                                           RouteCase{"SecondInputWinsOverTheFault", 2, 0, 2, 1, 0, 0},
                                           RouteCase{"SecondInputToHp", 3, 1, 2, 0, 1, 0},
                                           RouteCase{"SecondInputToHp2", 2, 1, 3, 0, 0, 1}),
                         [](const auto& i) { return std::string(i.param.name); });

// The actuator's function changed in configure mode (the unit tripped, the
// I/O locked): the fault moves to the other valve's flag and the first
// flag clears.
class ActuatorFunction : public WholeRig {};

TEST_F(ActuatorFunction, AFunctionChangeMovesTheFaultAndClearsTheOtherFlag) {
    ready({{"_ub5.FUNCT.IN", 3}});
    tune("CNFG_ACT.ACT_01_FLT_ANY.IN_3", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("ACT_MUX.HP2_FLT_ACTOUT.B_NAME"), 1u);
    EXPECT_EQ(boolean("ACT_MUX.HP_FLT_ACTOUT.B_NAME"), 0u);
    trip();
    runPasses(R160, 3);
    lockIo();
    tune("_ub5.FUNCT.IN", 2);
    runPasses(R160, 5);
    ASSERT_EQ(integer("_ub5.FUNCT_INT.I_NAME"), 2);
    EXPECT_EQ(boolean("ACT_MUX.HP_FLT_ACTOUT.B_NAME"), 1u);
    EXPECT_EQ(boolean("ACT_MUX.HP2_FLT_ACTOUT.B_NAME"), 0u);
    unlockIo();
    runPasses(R160, 2);
    EXPECT_EQ(integer("_ub5.FUNCT_INT.I_NAME"), 2);
    EXPECT_EQ(boolean("ACT_MUX.HP_FLT_ACTOUT.B_NAME"), 1u);
    EXPECT_EQ(boolean("ACT_MUX.HP2_FLT_ACTOUT.B_NAME"), 0u);
}

}  // namespace
}  // namespace pr_test
