// The time the turbine may dwell in the first critical band, and what
// happens when it stays longer.
#include "app/control/control_slices.h"
#include "app/discrete/discrete_slices.h"
#include "app/interface/interface_slices.h"
#include "tests/control_valve/valve_rig.h"

using namespace valve_test;

namespace {

constexpr double kLow = 2000.0, kHigh = 2500.0;  // the band; its top for the speed is 0.5 lower
constexpr double kMinGov = 3000.0;

class CriticalBand : public ValveRig {
protected:
    void SetUp() override {
        ValveRig::SetUp();
        run({_R10_TASK_8}, {}, {}, {_R160_TASK_33, _R160_TASK_81, _R160_TASK_82});
        setCell("IFACE_IN_START.SET_LOW1.A_NAME", kLow);
        setCell("IFACE_IN_START.SET_HIGH1.A_NAME", kHigh);
        setCell("CONF_VAL_1.CRIT_BAND1.B_NAME", 1);
        setCell("CNFG_SETPT.CRIT_SPD_RATE.A_NAME", 100.0);
        setCell("CNFG_SETPT.MIN_GOV.A_NAME", kMinGov);
        setCell("IFACE_OUT_SPEED.Z_SETPOINT.A_NAME", kMinGov);
        setCell("START.RUN_CMD.LATCH_R", 1);
        setCell("SPDC.Z00_STEP.SFC_STEP", 0);
        setCell("SPDC.A08_STEP.SFC_STEP", 1);
        seconds(0.5);
    }
    void speed(double s) { setCell("IFACE_IN_START.TURB_SPEED.A_NAME", s); }
    // Seconds in the band until IN_CRIT, at most `max`.
    double dwellUntilStuck(double max) {
        speed(2200.0);
        for (int k = 1; k <= static_cast<int>(max / 0.16); ++k) {
            runPasses(R160, 1);
            if (boolean("CRIT_SPD.IN_CRIT.OR")) return k * 0.16;
        }
        return -1.0;
    }
};

TEST_F(CriticalBand, TheSpeedAtEitherEndCountsAsInside) {
    const struct {
        double speed;
        uint32_t inside;
    } cases[] = {{1999.9, 0}, {2000.0, 1}, {2499.5, 1}, {2499.6, 0}, {2250.0, 1}};
    for (const auto& c : cases) {
        speed(c.speed);
        runPasses(R10, 2);
        EXPECT_EQ(boolean("CRIT_SPD.CRIT_PROB1.AND"), c.inside) << c.speed;
    }
    // Not while stopped, nor without the band configured.
    speed(2200.0);
    setCell("START.RUN_CMD.LATCH_R", 0);
    seconds(0.32);
    EXPECT_EQ(boolean("CRIT_SPD.CRIT_PROB1.AND"), 0u);
    setCell("START.RUN_CMD.LATCH_R", 1);
    setCell("CONF_VAL_1.CRIT_BAND1.B_NAME", 0);
    seconds(1.0);
    EXPECT_EQ(boolean("CRIT_SPD.CRIT_PROB1.AND"), 0u);
}

TEST_F(CriticalBand, TheAllowedDwellIsTheCrossingTimesTheFactorButAtLeast15s) {
    const struct {
        double rate, dwell;
    } cases[] = {
        {100.0, 499.5 / (100.0 / 5.0)},  // 24.975 s
        {400.0, 15.0},                   // crossing 6.2 s: the floor
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate);
        setCell("CNFG_SETPT.CRIT_SPD_RATE.A_NAME", c.rate);
        speed(1000.0);
        seconds(1.0);
        EXPECT_NEAR(real("CRIT_SPD.MAXTIME_1.A_SW"), c.dwell, 1e-3);
        const double t = dwellUntilStuck(60.0);
        EXPECT_NEAR(t, c.dwell, 0.33);
    }
}

TEST_F(CriticalBand, NoRateMeansNoLimitAndStoppingAllowsTheLargerFactor) {
    setCell("CNFG_SETPT.CRIT_SPD_RATE.A_NAME", 0.0);
    seconds(0.5);
    EXPECT_EQ(real("CRIT_SPD.MAXTIME_1.A_SW"), 1e34f);
    EXPECT_LT(dwellUntilStuck(60.0), 0.0);
    // Going to idle or stopping: 50 times the crossing time.
    speed(1000.0);
    setCell("CNFG_SETPT.CRIT_SPD_RATE.A_NAME", 100.0);
    setCell("SPDC.Z01_STEP.SFC_STEP", 1);
    seconds(0.5);
    EXPECT_NEAR(real("CRIT_SPD.MAXTIME_1.A_SW"), 499.5 / 2.0, 1e-2);
    speed(2200.0);
    seconds(2.0);
    EXPECT_EQ(real("CRIT_SPD.RTIME.OUT_1"), 247.0f);
    // The larger factor stays for the remaining time after the stop ends.
    setCell("SPDC.Z01_STEP.SFC_STEP", 0);
    seconds(5.0);
    EXPECT_NEAR(real("CRIT_SPD.MAXTIME_1.A_SW"), 499.5 / 2.0, 1e-2);
    EXPECT_EQ(boolean("CRIT_SPD.IN_CRIT.OR"), 0u);
}

TEST_F(CriticalBand, AfterAStartBelowMinimumGovernorOnlyTheShortDwellIsAllowed) {
    setCell("IFACE_OUT_SPEED.Z_SETPOINT.A_NAME", kMinGov - 1.5);
    seconds(9.5);
    EXPECT_EQ(boolean("CRIT_SPD.AT_MIN_GOV.DELAY"), 0u);
    seconds(1.0);
    EXPECT_EQ(boolean("CRIT_SPD.RST_STRT.AND"), 1u);
    EXPECT_EQ(real("CRIT_SPD.MAXTIME_1.A_SW"), 5.0f);
    EXPECT_NEAR(dwellUntilStuck(30.0), 5.0, 0.33);
    // Within the hysteresis of minimum governor it counts as there.
    setCell("IFACE_OUT_SPEED.Z_SETPOINT.A_NAME", kMinGov - 0.5);
    seconds(0.5);
    EXPECT_EQ(boolean("START.SP_MIN_NOT.NOT"), 1u);
    setCell("IFACE_OUT_SPEED.Z_SETPOINT.A_NAME", kMinGov);
    seconds(0.5);
    EXPECT_EQ(boolean("START.SP_MIN_NOT.NOT"), 0u);
    EXPECT_EQ(boolean("CRIT_SPD.RST_STRT.AND"), 0u);
}

TEST_F(CriticalBand, StuckInTheBandForcesTheReferenceToMinimumOnceAndLeavingResets) {
    setCell("CNFG_SETPT.CRIT_SPD_RATE.A_NAME", 400.0);
    seconds(0.5);
    int forced = 0;
    speed(2200.0);
    for (int k = 0; k < 150; ++k) {
        runPasses(R160, 1);
        forced += boolean("CRIT_SPD.FRC_TOMIN.B_ACTION") ? 1 : 0;
    }
    EXPECT_EQ(boolean("CRIT_SPD.IN_CRIT.OR"), 1u);
    EXPECT_EQ(forced, 2);  // the 0.32 s request
    // Out of the band the timer starts again.
    speed(2600.0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("CRIT_SPD.IN_CRIT.OR"), 0u);
    EXPECT_EQ(real("CRIT_SPD.RTIME.OUT_1"), 0.0f);
    speed(2200.0);
    runPasses(R10, 1);
    runPasses(R160, 2);
    EXPECT_EQ(real("CRIT_SPD.RTIME.OUT_1"), 14.0f);
    EXPECT_EQ(boolean("CRIT_SPD.IN_CRIT.OR"), 0u);
    speed(2600.0);
    runPasses(R160, 2);
    // In the sequence's initial step there is no force.
    setCell("SPDC.Z00_STEP.SFC_STEP", 1);
    EXPECT_NEAR(dwellUntilStuck(30.0), 15.0, 0.33);
    for (int k = 0; k < 5; ++k) {
        runPasses(R160, 1);
        EXPECT_EQ(boolean("CRIT_SPD.FRC_TOMIN.B_ACTION"), 0u);
    }
}

}  // namespace

namespace {

class ReferenceBand : public ValveRig {};

TEST_F(ReferenceBand, TheHeldSetpointAtEitherEndCountsAsInsideWhenTheBandIsUsed) {
    run({}, {_R40_TASK_4}, {}, {});
    setCell("IFACE_IN_START.SET_LOW1.A_NAME", kLow);
    setCell("IFACE_IN_START.SET_HIGH1.A_NAME", kHigh);
    setCell("CONF_VAL_1.CRIT_BAND1.B_NAME", 1);
    seconds(0.32);
    const struct {
        double z;
        uint32_t inside;
    } cases[] = {{1999.0, 0}, {2000.0, 1}, {2250.0, 1}, {2500.0, 1}, {2500.5, 0}};
    for (const auto& c : cases) {
        setCell("IFACE_OUT_SPEED.Z_SETPOINT.A_NAME", c.z);
        runPasses(R40, 1);
        EXPECT_EQ(boolean("CRIT_SPD.CRIT_BAND.OR"), c.inside) << c.z;
        EXPECT_EQ(boolean("SPDC.USE_CRIT_RATE.OR"), c.inside) << c.z;
    }
    setCell("CONF_VAL_1.CRIT_BAND1.B_NAME", 0);
    seconds(0.32);
    EXPECT_EQ(boolean("CRIT_SPD.CRIT_BAND.OR"), 0u);
}

}  // namespace
