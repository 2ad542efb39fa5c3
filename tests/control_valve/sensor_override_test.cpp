// When the speed sensors' failure detections are overridden: from a start
// until the turbine passes the sensor's level (or the start timer runs out),
// near idle in a controlled stop, and at roll-down. On the whole program:
// the sensors' failed levels and the options entered as the service tool
// enters them, the speed on the speed sensors (or from the turbine model),
// starts, stops and trips from the service tool and the contacts.
#include "tests/control_valve/valve_rig.h"
#include "tests/support/ref_rig.h"

namespace {

using namespace valve_test;

class SensorOverride : public ProgramRig {};

// With the start timer the override also ends when the timer runs out,
// the turbine still below the sensors' levels; the start's latch stays.
TEST_F(SensorOverride, WithTheStartTimerTheOverrideAlsoEndsWhenItRunsOut) {
    powerUpReady({{"CNFG_SPEED.SPD1_LOW_SP.IN", 200.0},
                  {"CNFG_SPEED.SPD2_LOW_SP.IN", 400.0},
                  {"IFACE_IN_START.USE_MPU_OVRD_TIME.IN", 1},
                  {"IFACE_IN_START.MPU_OVRD_TIME.IN", 3.0}});
    sensorsAt(250.0);  // above sensor 1's failed level, below its level and hysteresis
    startCommand();
    ASSERT_TRUE(runUntil([&] { return boolean("START.RUN_CMD.LATCH_R") != 0; }, 20)) << "never started";
    seconds(0.32);
    EXPECT_EQ(boolean("MPU_OVRD.OVRD_MPU_1.B_SW"), 1u);
    EXPECT_EQ(boolean("MPU_OVRD.OVRD_MPU_2.B_SW"), 1u);
    ASSERT_TRUE(runUntil([&] { return boolean("MPU_OVRD.STRT_DLY_1.DELAY") != 0; }, 60)) << "the timer never ran out";
    seconds(0.32);
    EXPECT_EQ(boolean("MPU_OVRD.OVRD_MPU_1.B_SW"), 0u);
    EXPECT_EQ(boolean("MPU_OVRD.OVRD_MPU_2.B_SW"), 0u);
    EXPECT_EQ(boolean("MPU_OVRD.OVRD_1.LATCH"), 1u);
}

// Roll-down overrides only once the turbine has reached minimum governor
// since the last shutdown (power-up comes tripped); a trip forgets it.
TEST_F(SensorOverride, RollDownOverridesOnlyAfterTheTurbineOnceReachedMinimumGovernor) {
    powerUpReady({{"CNFG_SPEED.SPD1_LOW_SP.IN", 200.0},
                  {"CNFG_SPEED.SPD2_LOW_SP.IN", 400.0},
                  {"IFACE_IN_START.USE_RDWN_OVRD.IN", 1},
                  {"IFACE_IN_START.ROLLDWN_SPD.IN", 1000.0},
                  {"IFACE_IN_START.ROLLDWN_DLY.IN", 1.0}});
    sensorsAt(900.0);
    seconds(2.0);
    EXPECT_EQ(boolean("MPU_OVRD.GT_MINGOV.LATCH"), 0u);
    EXPECT_EQ(boolean("MPU_OVRD.RDWN_DLY.DELAY"), 0u);
    sensorsAt(3000.0);
    ASSERT_TRUE(runUntil([&] { return real("MPU.TURB_SPD.A_NAME") >= 3000.0f; }, 20));
    seconds(0.32);
    EXPECT_EQ(boolean("MPU_OVRD.GT_MINGOV.LATCH"), 1u);
    sensorsAt(1000.0);
    // The speed reaches the controller through its filter: from the pass
    // that sees it at the roll-down speed, the delay of 1.0 s.
    ASSERT_TRUE(runUntil([&] { return boolean("MPU_OVRD.ROLLDWN.A_COMPARE") != 0; }, 10));
    seconds(0.64);
    EXPECT_EQ(boolean("MPU_OVRD.RDWN_DLY.DELAY"), 0u);
    seconds(0.64);
    EXPECT_EQ(boolean("MPU_OVRD.RDWN_DLY.DELAY"), 1u);
    // A shutdown forgets minimum governor; the override holds 0.32 s more.
    contact(kTripContact, false);
    seconds(0.32);
    ASSERT_TRUE(tripped());
    EXPECT_EQ(boolean("MPU_OVRD.GT_MINGOV.LATCH"), 0u);
    seconds(0.48);
    EXPECT_EQ(boolean("MPU_OVRD.RDWN_DLY.DELAY"), 0u);
}

// A controlled stop near idle overrides a sensor after two seconds below
// its level, and holds 0.32 s after the stop step ends (here by the stop's
// abort).
class SensorOverrideStop : public ref_test::RefRig {};

TEST_F(SensorOverrideStop, AControlledStopNearIdleOverridesAfterTwoSecondsBelowTheLevel) {
    start(true, true, {{"CNFG_SPEED.SPD1_LOW_SP.IN", 200.0}, {"CNFG_SPEED.SPD2_LOW_SP.IN", 400.0}});
    startCommand();
    ASSERT_TRUE(runUntil([&] { return step("A02_STEP"); }, 500)) << "never at idle";
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 1);
    ASSERT_TRUE(runUntil([&] { return step("Z01_STEP"); }, 10));
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 0);
    ASSERT_TRUE(runUntil([&] { return boolean("SPDC.CP_MINCTRL.A_EQUAL") != 0; }, 50)) << "the reference not at idle";
    holdShaftAt(600.0);
    runPasses(ref_test::R160, 2);
    holdShaftAt(400.0);  // below sensor 2's level (500) only
    ASSERT_TRUE(runUntil([&] { return boolean("MPU_OVRD.OVRD_OFF_2.A_COMPARE") == 0; }, 10));
    runPasses(ref_test::R160, static_cast<uint32_t>(1.6 / 0.16 + 0.5));
    EXPECT_EQ(boolean("MPU_OVRD.DLY_CTRL2.DELAY"), 0u);
    runPasses(ref_test::R160, 4);
    ASSERT_TRUE(step("Z01_STEP"));
    EXPECT_EQ(boolean("MPU_OVRD.DLY_CTRL2.DELAY"), 1u);
    EXPECT_EQ(boolean("MPU_OVRD.DLY_CTRL1.DELAY"), 0u);
    // It holds 0.32 s after the stop step ends.
    serviceWrite("IFACE_IN_START.CSD_ABORT.IN", 1);
    ASSERT_TRUE(runUntil([&] { return !step("Z01_STEP"); }, 10));
    serviceWrite("IFACE_IN_START.CSD_ABORT.IN", 0);
    runPasses(ref_test::R160, 1);
    EXPECT_EQ(boolean("MPU_OVRD.DLY_CTRL2.DELAY"), 1u);
    runPasses(ref_test::R160, 3);
    EXPECT_EQ(boolean("MPU_OVRD.DLY_CTRL2.DELAY"), 0u);
}

}  // namespace

namespace {

using namespace valve_test;

class SensorOverrideProgram : public ProgramRig {};

// Tripped or not started, both sensors are overridden; after a start each
// override ends once the turbine passes its sensor's failed level plus the
// 100 rpm hysteresis, and stays ended below it (above the failed level).
TEST_F(SensorOverrideProgram, AfterAStartEachSensorIsOverriddenUntilTheSpeedPassesItsLevel) {
    powerUp({{"CNFG_SPEED.SPD1_LOW_SP.IN", 200.0}, {"CNFG_SPEED.SPD2_LOW_SP.IN", 400.0}});
    seconds(0.32);
    EXPECT_EQ(boolean("MPU_OVRD.OVRD_MPU_1.B_SW"), 1u);
    EXPECT_EQ(boolean("MPU_OVRD.OVRD_MPU_2.B_SW"), 1u);
    clearTrips();
    startCommand();
    ASSERT_TRUE(runUntil([&] { return boolean("START.RUN_CMD.LATCH_R") != 0; }, 20)) << "never started";
    const struct {
        double rpm;
        uint32_t ovrd1, ovrd2;
    } cases[] = {{299.0, 1, 1}, {300.0, 0, 1}, {499.0, 0, 1}, {500.0, 0, 0}, {450.0, 0, 0}};
    for (const auto& c : cases) {
        ASSERT_FALSE(tripped());
        sensorsAt(c.rpm);
        seconds(0.32);
        EXPECT_EQ(boolean("MPU_OVRD.OVRD_MPU_1.B_SW"), c.ovrd1) << c.rpm;
        EXPECT_EQ(boolean("MPU_OVRD.OVRD_MPU_2.B_SW"), c.ovrd2) << c.rpm;
    }
}

}  // namespace
