// When the speed sensors' failure detections are overridden: from a start
// until the turbine passes the sensor's level, near idle in a controlled
// stop, and at roll-down.
#include "app/control/control_slices.h"
#include "tests/control_valve/valve_rig.h"

using namespace valve_test;

namespace {

class SensorOverride : public ValveRig {
protected:
    void SetUp() override {
        ValveRig::SetUp();
        run({}, {}, {}, {_R160_TASK_46});
        setCell("MPU_OVRD.MIN_SPD_1.A_NAME", 200.0);
        setCell("MPU_OVRD.MIN_SPD_2.A_NAME", 400.0);
        setCell("IFACE_IN_SPEED.MIN_GOV.A_NAME", 3000.0);
        seconds(0.5);
    }
    void turbine(double rpm) { setCell("MPU.TURB_SPD.A_NAME", rpm); }
};

TEST_F(SensorOverride, WithTheStartTimerTheOverrideAlsoEndsWhenItRunsOut) {
    setCell("MPU_OVRD.OR_NOTSTRP.OR", 1);
    setCell("IFACE_IN_START.USE_MPU_OVRD_TIME.B_NAME", 1);
    seconds(0.32);
    EXPECT_EQ(boolean("MPU_OVRD.OVRD_MPU_1.B_SW"), 1u);
    setCell("MPU_OVRD.STRT_DLY_1.DELAY", 1);
    seconds(0.32);
    EXPECT_EQ(boolean("MPU_OVRD.OVRD_MPU_1.B_SW"), 0u);
    EXPECT_EQ(boolean("MPU_OVRD.OVRD_MPU_2.B_SW"), 0u);
    EXPECT_EQ(boolean("MPU_OVRD.OVRD_1.LATCH"), 1u);
}

TEST_F(SensorOverride, AControlledStopNearIdleOverridesAfterTwoSecondsBelowTheLevel) {
    turbine(600.0);
    seconds(0.32);
    turbine(400.0);  // below sensor 2's level (500) only
    setCell("SPDC.CP_MINCTRL.A_EQUAL", 1);
    setCell("SPDC.Z01_STEP.SFC_STEP", 1);
    seconds(1.6);
    EXPECT_EQ(boolean("MPU_OVRD.DLY_CTRL2.DELAY"), 0u);
    seconds(0.64);
    EXPECT_EQ(boolean("MPU_OVRD.DLY_CTRL2.DELAY"), 1u);
    EXPECT_EQ(boolean("MPU_OVRD.DLY_CTRL1.DELAY"), 0u);
    // It holds 0.32 s after the stop step ends.
    setCell("SPDC.Z01_STEP.SFC_STEP", 0);
    seconds(0.16);
    EXPECT_EQ(boolean("MPU_OVRD.DLY_CTRL2.DELAY"), 1u);
    seconds(0.48);
    EXPECT_EQ(boolean("MPU_OVRD.DLY_CTRL2.DELAY"), 0u);
}

TEST_F(SensorOverride, RollDownOverridesOnlyAfterTheTurbineOnceReachedMinimumGovernor) {
    setCell("IFACE_IN_START.USE_RDWN_OVRD.B_NAME", 1);
    setCell("IFACE_IN_START.ROLLDWN_SPD.A_NAME", 1000.0);
    setCell("IFACE_IN_START.ROLLDWN_DLY.A_NAME", 1.0);
    // Minimum governor was 0 before the configuration came: a power-up
    // shutdown pass forgets that.
    setCell("SHUTDOWNS.SD_PWRUP.OR", 1);
    seconds(0.32);
    setCell("SHUTDOWNS.SD_PWRUP.OR", 0);
    turbine(900.0);
    seconds(2.0);
    EXPECT_EQ(boolean("MPU_OVRD.RDWN_DLY.DELAY"), 0u);
    turbine(3000.0);
    seconds(0.32);
    EXPECT_EQ(boolean("MPU_OVRD.GT_MINGOV.LATCH"), 1u);
    turbine(1000.0);
    seconds(0.64);
    EXPECT_EQ(boolean("MPU_OVRD.RDWN_DLY.DELAY"), 0u);
    seconds(0.64);
    EXPECT_EQ(boolean("MPU_OVRD.RDWN_DLY.DELAY"), 1u);
    // A power-up shutdown forgets minimum governor.
    setCell("SHUTDOWNS.SD_PWRUP.OR", 1);
    seconds(0.32);
    EXPECT_EQ(boolean("MPU_OVRD.GT_MINGOV.LATCH"), 0u);
    seconds(0.48);
    EXPECT_EQ(boolean("MPU_OVRD.RDWN_DLY.DELAY"), 0u);
}

}  // namespace

namespace {

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
