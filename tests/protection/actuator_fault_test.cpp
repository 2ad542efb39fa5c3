// The actuator fault routed by the valve function the actuator drives, into
// the HP actuator fault alarm (17) and, after its delay, the HP actuator
// fault trip (19), through real passes of the actuator driver stage.
#include <string>

#include "app/analog/output_slices.h"
#include "app/control/control_slices.h"
#include "app/discrete/discrete_slices.h"
#include "tests/protection/protection_rig.h"

namespace pr_test {
namespace {

struct RouteCase {
    const char* name;
    int function;         // of the actuator channel: 2 HP, 3 HP2, 4 readout
    int in2, sel2;        // the routing's second input and its selection
    int fault;            // the actuator fault's extra input
    uint32_t hp, hp2;     // routed fault flags
};

class ActuatorFault : public ProtectionRig, public ::testing::WithParamInterface<RouteCase> {};

TEST_P(ActuatorFault, TheFaultReachesTheFlagOfTheValveItsFunctionDrives) {
    const RouteCase& c = GetParam();
    useSlices(R10, {startUpInFirstFrame, _R10_TASK_1, clockAndTrip1, _R10_TASK_3, _R10_TASK_4, _R10_TASK_5,
                    _R10_TASK_6, _R10_TASK_9, _R10_TASK_11});
    start();
    setCell("SD_LOGIC.SD_NOT_DLY.DELAY", 1);
    setCell("CNFG_DRIVER.USE_HP1_FLT_SD.B_NAME", 1);
    setCell("_ub5.FUNCT_INT.I_NAME", c.function);
    runPasses(R160, 2);  // the function number reaches the 10 ms group
    setCell("ACT_MUX.HP_FLT_ACT.IN_2", c.in2);
    setCell("ACT_MUX.HP_FLT_ACT.SEL_2", c.sel2);
    setCell("CNFG_ACT.ACT_01_FLT_ANY.IN_3", c.fault);
    runPasses(R10, 3);
    EXPECT_EQ(boolean("ACT_MUX.HP_FLT_ACTOUT.B_NAME"), c.hp);
    EXPECT_EQ(boolean("ACT_MUX.HP2_FLT_ACTOUT.B_NAME"), c.hp2);
    EXPECT_EQ(boolean("SD_LOGIC.HP_FLT_Z.ZMINUS1_B"), c.hp) << "one pass later";
    runPasses(R10, 130);  // the trip's 1 s delay
    EXPECT_EQ(boolean("ALARMS.ALM_017.B_ALARM"), c.hp);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_19.B_ALARM"), c.hp);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), c.hp);
    // The routed flags follow the fault, they do not hold it.
    setCell("CNFG_ACT.ACT_01_FLT_ANY.IN_3", 0);
    setCell("ACT_MUX.HP_FLT_ACT.IN_2", 0);
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

}  // namespace
}  // namespace pr_test

namespace pr_test {
namespace {

TEST_F(ProtectionRig, AFunctionChangeMovesTheFaultAndClearsTheOtherFlag) {
    useSlices(R10, {startUpInFirstFrame, _R10_TASK_1, clockAndTrip1, _R10_TASK_5, _R10_TASK_6});
    start();
    setCell("CNFG_ACT.ACT_01_FLT_ANY.IN_3", 1);
    setCell("_ub5.FUNCT_INT.I_NAME", 3);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("ACT_MUX.HP2_FLT_ACTOUT.B_NAME"), 1u);
    setCell("_ub5.FUNCT_INT.I_NAME", 2);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("ACT_MUX.HP_FLT_ACTOUT.B_NAME"), 1u);
    EXPECT_EQ(boolean("ACT_MUX.HP2_FLT_ACTOUT.B_NAME"), 0u);
}

}  // namespace
}  // namespace pr_test
