// The overspeed test: its permission, the contact and command demands, the
// trip at the level in use (the reduced level included), the test limit and
// the time-out of a test whose reference does not move.
#include "app/control/OSPD.cells.h"
#include "app/control/SD_LOGIC.cells.h"
#include "app/control/control_slices.h"
#include "app/interface/interface_slices.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/protection/protection_slices.h"
#include "tests/control_valve/valve_rig.h"

using namespace valve_test;

namespace {

constexpr double kTrip = 3960.0, kLimit = 4000.0, kMaxGov = 3800.0;

// The trips of the third 10 ms slice after the turbine speed, which the
// tests give by hand.
void tripsAtTheGivenSpeed() {
    r10::SD_LOGIC_conditions();
    r10::SD_LOGIC_hp_fault();
    r10::OSPD_trip();
    r10::SHUTDOWNS_trips_a();
}

class Overspeed : public ValveRig {
protected:
    void SetUp() override {
        ValveRig::SetUp();
        run({tripsAtTheGivenSpeed}, {}, {_R80_TASK_16, _R80_TASK_22}, {_R160_TASK_40, _R160_TASK_47});
        setCell("CNFG_SETPT.OSPD_TRIP.A_NAME", kTrip);
        setCell("CNFG_SETPT.OST_LIMIT.A_NAME", kLimit);
        setCell("IFACE_IN_SPEED.MAX_GOV.A_NAME", kMaxGov);
        setCell("IFACE_OUT_SPEED.SPEED_REF.A_NAME", 3600.0);
        setCell("IFACE_IN_SPEED.SPEED.A_NAME", 3600.0);
        turbine(3600.0);
        seconds(1.0);
    }
    void turbine(double rpm) { setCell("MPU.TURB_SPD.A_NAME", rpm); }
    // The sequence in its test step, the speed controller in control above
    // minimum governor.
    void permit() {
        setCell("SPDC.A09_STEP.SFC_STEP", 1);
        setCell("HP_LIMTER.SPDCTRL_MING.AND", 1);
        seconds(0.5);
    }
    uint32_t tripping() { return boolean("OSPD.OSPD_SD.AND"); }
    void command(const char* c) {
        setCell(c, 1);
        seconds(0.32);
        setCell(c, 0);
        seconds(0.5);
    }
};

TEST_F(Overspeed, TheOwnTripComesAtTheConfiguredLevel) {
    EXPECT_EQ(real("OSPD.OSPD_SP.A_SW"), static_cast<float>(kTrip));
    const struct {
        double rpm;
        uint32_t trip;
    } cases[] = {{kTrip - 0.5, 0}, {kTrip, 1}, {kTrip + 10.0, 1}, {3000.0, 0}};
    for (const auto& c : cases) {
        turbine(c.rpm);
        runPasses(R10, 2);
        EXPECT_EQ(tripping(), c.trip) << c.rpm;
        EXPECT_EQ(boolean("OSPD.OSPD_TRIP.B_NAME"), c.trip) << c.rpm;
    }
    turbine(kTrip);
    seconds(1.0);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_03.B_ALARM"), 1u);
}

TEST_F(Overspeed, AContactClosedWhilePermittedRunsAnExternalTestThatSuppressesTheOwnTrip) {
    permit();
    EXPECT_EQ(boolean("IFACE_OUT_SPEED.OSPD_TEST_EN.B_NAME"), 1u);
    EXPECT_EQ(boolean("IFACE_OUT_SPEED.OSPD_TRIP_EN.B_NAME"), 1u) << "the own trip is armed";
    setCell("IFACE_IN_SPEED.OSPD_TEST_SW.B_NAME", 1);
    seconds(0.5);
    EXPECT_EQ(boolean("OSPD.AND_OK.AND"), 1u);
    EXPECT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 1u);
    EXPECT_EQ(boolean("OSPD.DISABLED.NOT"), 0u);
    EXPECT_EQ(boolean("IFACE_OUT_SPEED.OSPD_TRIP_EN.B_NAME"), 0u);
    // Above the trip level: no own trip, the external-test alarm instead.
    turbine(kTrip + 20.0);
    seconds(0.5);
    EXPECT_EQ(tripping(), 0u);
    EXPECT_EQ(boolean("OSPD.OSPD_ALM.B_NAME"), 1u);
    // Opening the contact ends the test: the own trip is back.
    setCell("IFACE_IN_SPEED.OSPD_TEST_SW.B_NAME", 0);
    seconds(0.5);
    EXPECT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 0u);
    EXPECT_EQ(boolean("IFACE_OUT_SPEED.OSPD_TRIP_EN.B_NAME"), 1u);
    EXPECT_EQ(tripping(), 1u);
}

TEST_F(Overspeed, AContactStillClosedWhenTheTestIsPermittedAgainDemandsNothing) {
    permit();
    setCell("IFACE_IN_SPEED.OSPD_TEST_SW.B_NAME", 1);
    seconds(0.5);
    ASSERT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 1u);
    // The permission ends and comes back with the contact left closed.
    setCell("SPDC.A09_STEP.SFC_STEP", 0);
    seconds(0.5);
    EXPECT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 0u);
    permit();
    seconds(0.5);
    EXPECT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 0u);
    EXPECT_EQ(boolean("OSPD.AND_OK.AND"), 0u);
    // Reopened and closed: now it demands.
    setCell("IFACE_IN_SPEED.OSPD_TEST_SW.B_NAME", 0);
    seconds(0.5);
    setCell("IFACE_IN_SPEED.OSPD_TEST_SW.B_NAME", 1);
    seconds(0.5);
    EXPECT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 1u);
    // The permission ending ends the demand.
    setCell("SPDC.A09_STEP.SFC_STEP", 0);
    seconds(0.5);
    EXPECT_EQ(boolean("OSPD.LATCH_DMD.LATCH_R"), 0u);
    EXPECT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 0u);
}

TEST_F(Overspeed, AnInternalTestRunsOnlyWithTheSpeedControllerInChargeAndTripsAtTheLevel) {
    // Not permitted: speed control not in charge, or cascade enabled.
    setCell("SPDC.A09_STEP.SFC_STEP", 1);
    seconds(0.5);
    EXPECT_EQ(boolean("OSPD.SPDCNTRL_OK.NAND"), 1u);
    command("IFACE_IN_SPEED.ENABLE_INT_OST.B_NAME");
    EXPECT_EQ(boolean("OSPD.OSPD_DMD_INT.B_ACTION"), 0u);
    setCell("HP_LIMTER.SPDCTRL_MING.AND", 1);
    setCell("IFACE_OUT_SPEED.CASCADE_ENABLED.B_NAME", 1);
    seconds(0.5);
    EXPECT_EQ(boolean("OSPD.SPDCNTRL_OK.NAND"), 1u);
    setCell("IFACE_OUT_SPEED.CASCADE_ENABLED.B_NAME", 0);
    seconds(0.5);
    EXPECT_EQ(boolean("OSPD.SPDCNTRL_OK.NAND"), 0u);
    // Permitted: the command latches the demand, with one pulse for the
    // reference; the own trip stays armed.
    int pulses = 0;
    setCell("IFACE_IN_SPEED.ENABLE_INT_OST.B_NAME", 1);
    for (int k = 0; k < 8; ++k) {
        runPasses(R80, 1);
        pulses += boolean("OSPD.OSPD_PLS.B_ACTION") ? 1 : 0;
    }
    setCell("IFACE_IN_SPEED.ENABLE_INT_OST.B_NAME", 0);
    EXPECT_EQ(pulses, 1);
    EXPECT_EQ(boolean("OSPD.OSPD_DMD_INT.B_ACTION"), 1u);
    EXPECT_EQ(boolean("OSPD.NAND_TEST.NAND"), 1u);
    turbine(kTrip - 1.0);
    seconds(0.32);
    EXPECT_EQ(tripping(), 0u);
    turbine(kTrip);
    runPasses(R10, 2);
    EXPECT_EQ(tripping(), 1u);
    // The operator's disable ends it.
    command("IFACE_IN_SPEED.DISABLE_OST.B_NAME");
    EXPECT_EQ(boolean("OSPD.OSPD_DMD_INT.B_ACTION"), 0u);
}

TEST_F(Overspeed, ATestWhoseReferenceDoesNotMoveEndsAfterTheDelay) {
    setCell("OSPD.DLY_NOMOV.DLY_TIME", 5.0);
    permit();  // entering the test step moves the reference
    command("IFACE_IN_SPEED.ENABLE_EXT_OST.B_NAME");
    ASSERT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 1u);
    // The wait starts with the demand.
    seconds(3.0);
    EXPECT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 1u);
    EXPECT_EQ(boolean("OSPD.DLY_NOMOV.DELAY"), 0u);
    EXPECT_LE(integer("OSPD.DLY_NOMOV.R_TIME"), 2);
    seconds(2.5);
    EXPECT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 0u);
    EXPECT_EQ(boolean("OSPD.DISABLED.NOT"), 1u);
    // A demand given long after the reference stopped (the wait has run
    // out) waits its own delay and then ends as well, with the own trip
    // back in force.
    seconds(10.0);
    ASSERT_EQ(boolean("OSPD.DLY_NOMOV.DELAY"), 1u);
    command("IFACE_IN_SPEED.ENABLE_EXT_OST.B_NAME");
    ASSERT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 1u);
    EXPECT_EQ(boolean("IFACE_OUT_SPEED.OSPD_TRIP_EN.B_NAME"), 0u);
    seconds(6.0);
    EXPECT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 0u);
    EXPECT_EQ(boolean("IFACE_OUT_SPEED.OSPD_TRIP_EN.B_NAME"), 1u);
    seconds(1.0);  // the end pulse is over
    // A moving reference restarts the delay (the raise acts in the speed
    // chart's speed step, no remote setpoint in control).
    setCell("SPDC.B00_STEP.SFC_STEP", 1);
    setCell("SPD_R_L.NO_REM.NOT", 1);
    command("IFACE_IN_SPEED.ENABLE_EXT_OST.B_NAME");
    ASSERT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 1u);
    for (int k = 0; k < 4; ++k) {
        seconds(3.0);
        setCell("SPD_R_L.NONDI_RAZ.IN_2", 1);
        seconds(0.32);
        setCell("SPD_R_L.NONDI_RAZ.IN_2", 0);
    }
    EXPECT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 1u);
    // Left standing, it ends.
    seconds(5.5);
    EXPECT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 0u);
}

TEST_F(Overspeed, TheTestLimitTripsEvenDuringAnExternalTest) {
    permit();
    setCell("IFACE_IN_SPEED.OSPD_TEST_SW.B_NAME", 1);
    seconds(0.5);
    ASSERT_EQ(boolean("OSPD.NAND_TEST.NAND"), 0u);
    const struct {
        double speed, ref;
        uint32_t trip;
    } cases[] = {{3990.0, 3999.0, 0}, {3990.0, kLimit, 1}, {kLimit, 3000.0, 1}, {3000.0, 3000.0, 0}};
    for (const auto& c : cases) {
        setCell("IFACE_IN_SPEED.SPEED.A_NAME", c.speed);
        setCell("IFACE_OUT_SPEED.SPEED_REF.A_NAME", c.ref);
        runPasses(R10, 2);
        EXPECT_EQ(boolean("OSPD.MAX_SP_ENA.AND"), c.trip) << c.speed << " " << c.ref;
    }
    setCell("IFACE_OUT_SPEED.SPEED_REF.A_NAME", kLimit);
    seconds(1.0);
    EXPECT_EQ(boolean("OSPD.OSPD_MAXLIM.B_NAME"), 1u);
    EXPECT_EQ(tripping(), 0u);
    // Without the test the limit does not trip.
    setCell("SPDC.A09_STEP.SFC_STEP", 0);
    seconds(0.5);
    EXPECT_EQ(boolean("OSPD.MAX_SP_ENA.AND"), 0u);
}

TEST_F(Overspeed, TheReducedLevelIsTemporaryAndNeverAboveTheConfiguredOne) {
    setCell("OSPD.REDUCE_SP.TUNE", 3000.0);
    setCell("CNFG_SETPT.USE_REDUC_OSPD.SAMP_BTUNE", 1);
    seconds(0.5);
    EXPECT_EQ(boolean("OSPD.REDUCE_OSPD_USE.B_ACTION"), 1u);
    EXPECT_EQ(real("OSPD.OSPD_SP.A_SW"), 3000.0f);
    turbine(3000.0);
    runPasses(R10, 2);
    EXPECT_EQ(tripping(), 1u);
    turbine(2999.0);
    runPasses(R10, 2);
    EXPECT_EQ(tripping(), 0u);
    // Above the configured level the configured level holds.
    setCell("OSPD.REDUCE_SP.TUNE", 3790.0);
    setCell("CNFG_SETPT.OSPD_TRIP.A_NAME", 3700.0);
    seconds(0.5);
    EXPECT_EQ(real("OSPD.OSPD_SP.A_SW"), 3700.0f);
    // Switching the option off returns to the configured level and
    // re-samples the reduced level from it.
    setCell("CNFG_SETPT.USE_REDUC_OSPD.SAMP_BTUNE", 0);
    seconds(0.5);
    EXPECT_EQ(boolean("OSPD.REDUCE_OSPD_USE.B_ACTION"), 0u);
    EXPECT_EQ(real("OSPD.OSPD_SP.A_SW"), 3700.0f);
    EXPECT_EQ(real("OSPD.REDUCE_SP.TUNE"), 3700.0f);
    // A shutdown also ends it.
    setCell("CNFG_SETPT.USE_REDUC_OSPD.SAMP_BTUNE", 1);
    setCell("OSPD.REDUCE_SP.TUNE", 2500.0);
    seconds(0.5);
    ASSERT_EQ(real("OSPD.OSPD_SP.A_SW"), 2500.0f);
    setCell("CNFG_SETPT.USE_REDUC_OSPD.SAMP_BTUNE", 0);
    setCell("SHUTDOWNS.SD_SHOOT.ONE_SHOT", 1);
    runPasses(R160, 1);
    setCell("SHUTDOWNS.SD_SHOOT.ONE_SHOT", 0);
    seconds(0.5);
    EXPECT_EQ(boolean("OSPD.REDUCE_OSPD_USE.B_ACTION"), 0u);
}

TEST_F(Overspeed, TheReducedLevelIsLimitedToMaximumGovernorAndAtLeast100) {
    const struct {
        double max_gov, entry, expect;
    } cases[] = {{kMaxGov, 5000.0, kMaxGov}, {kMaxGov, 50.0, 100.0}, {80.0, 500.0, 100.0}};
    for (const auto& c : cases) {
        setCell("IFACE_IN_SPEED.MAX_GOV.A_NAME", c.max_gov);
        setCell("OSPD.REDUCE_SP.TUNE", c.entry);
        seconds(0.5);
        EXPECT_EQ(real("OSPD.REDUCE_SP.SAMP_TUNE"), static_cast<float>(c.expect)) << c.max_gov << " " << c.entry;
    }
    // Entry needs the front panel's shift key.
    EXPECT_EQ(boolean("OSPD.REDUCE_SP.EN_ENT_OUT"), 0u);
    setCell("ORVEX12_IO.KEYPAD.SHIFT", 1);
    seconds(0.5);
    EXPECT_EQ(boolean("OSPD.REDUCE_SP.EN_ENT_OUT"), 1u);
}

}  // namespace
