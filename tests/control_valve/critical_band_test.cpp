// The time the turbine may dwell in the first critical band, and what
// happens when it stays longer. On the whole program: the band, its use and
// its rate entered from the service tool while the controller powers up, an
// automatic start to idle and rated, a controlled stop from the service tool,
// and the turbine model held at a speed inside or outside the band.
#include <cmath>

#include "app/control/control_slices.h"
#include "app/discrete/discrete_slices.h"
#include "app/interface/interface_slices.h"
#include "host/turbine_model.h"
#include "tests/control_valve/valve_rig.h"
#include "tests/support/ref_rig.h"

namespace {

using namespace ref_test;

constexpr double kLow = 2000.0, kHigh = 2500.0;  // the band; its top for the speed is 0.5 lower

class CriticalBand : public RefRig {
protected:
    // startWithBand() again, on a program stopped and the shaft at rest,
    // unless it is the first start of the case.
    void startAgain(bool first, bool used, double rate) {
        if (!first) {
            stopApp();
            shaftAt(0.0);
        }
        startWithBand(used, rate);
    }
    void startWithBand(bool used, double rate, const Settings& extra = {}) {
        Settings all = {{"CNFG_SETPT.QT_CRIT_SPD_1_MIN.IN", kLow},
                        {"CNFG_SETPT.QT_CRIT_SPD_1_MAX.IN", kHigh},
                        {"CNFG_SETPT.CONFIG_B.IN_1", used ? 1.0 : 0.0},
                        {"CNFG_SETPT.QT_CRIT_SPD_RATE.IN", rate}};
        all.insert(all.end(), extra.begin(), extra.end());
        start(true, true, all);
    }
    // Started and at idle (the run command on).
    void toIdle() {
        startCommand();
        ASSERT_TRUE(runUntil([&] { return step("A02_STEP"); }, 500)) << "never at idle";
        ASSERT_EQ(boolean("START.RUN_CMD.LATCH_R"), 1u);
    }
    // The shaft held at `rpm` until the controller measures it.
    void speed(double rpm) {
        holdShaftAt(rpm);
        ASSERT_TRUE(runUntil([&] { return std::fabs(real("IFACE_IN_START.TURB_SPEED.A_NAME") - rpm) < 0.07; }, 20))
            << rpm;
        runPasses(R160, 4);  // settled
    }
    // Seconds in the band (the shaft held at 2200) until IN_CRIT, at most
    // `max`, counted from the pass that first sees the speed inside.
    double dwellUntilStuck(double max) {
        holdShaftAt(2200.0);
        if (!runUntil([&] { return boolean("CRIT_SPD.CRIT_PROB1.AND") != 0; }, 20)) return -2.0;
        for (int k = 1; k <= static_cast<int>(max / 0.16); ++k) {
            runPasses(R160, 1);
            if (boolean("CRIT_SPD.IN_CRIT.OR")) return k * 0.16;
        }
        return -1.0;
    }
};

// The speed at either end of the band counts as inside, while running and
// with the band used (the controller's speed resolution is a few hundredths
// of an rpm here).
TEST_F(CriticalBand, TheSpeedAtEitherEndCountsAsInside) {
    for (bool used : {true, false}) {
        SCOPED_TRACE(used);
        startAgain(used, used, 100.0);
        toIdle();
        const struct {
            double speed;
            uint32_t inside;
        } cases[] = {{1999.9, 0}, {2000.0, 1}, {2499.45, 1}, {2499.6, 0}, {2250.0, 1}};
        for (const auto& c : cases) {
            speed(c.speed);
            runPasses(R10, 2);
            EXPECT_EQ(boolean("CRIT_SPD.CRIT_PROB1.AND"), used ? c.inside : 0u) << c.speed;
        }
        if (!used) break;
        // Not while stopped.
        speed(2200.0);
        trip();
        ASSERT_TRUE(runUntil([&] { return boolean("START.RUN_CMD.LATCH_R") == 0; }, 5));
        runPasses(R80, 2);  // the run command reaches the 10 ms group
        EXPECT_EQ(boolean("CRIT_SPD.CRIT_PROB1.AND"), 0u);
    }
}

// At or above minimum governor (in control at rated): the crossing time at
// the critical rate times the factor 5, but at least 15 s.
TEST_F(CriticalBand, TheAllowedDwellIsTheCrossingTimesTheFactorButAtLeast15s) {
    const struct {
        double rate, dwell;
    } cases[] = {
        {100.0, 499.5 / (100.0 / 5.0)},  // 24.975 s
        {400.0, 15.0},                   // crossing 6.2 s: the floor
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate);
        startAgain(c.rate == cases[0].rate, true, c.rate);
        startToRated();
        EXPECT_NEAR(real("CRIT_SPD.MAXTIME_1.A_SW"), c.dwell, 1e-3);
        EXPECT_NEAR(dwellUntilStuck(60.0), c.dwell, 0.33);
    }
}

// No rate, no limit. (A band used without a rate is a configuration
// error; its check overridden, the unit runs.)
TEST_F(CriticalBand, NoRateMeansNoLimit) {
    // The service tool refuses a rate of 0 (below the setting's limits): it
    // is written to the cell beside the settings entered at power-up, as
    // start() enters them.
    turbine::enable();
    startApp();
    enterSettings(true, true,
                  {{"CNFG_SETPT.QT_CRIT_SPD_1_MIN.IN", kLow},
                   {"CNFG_SETPT.QT_CRIT_SPD_1_MAX.IN", kHigh},
                   {"CNFG_SETPT.CONFIG_B.IN_1", 1.0},
                   {"CONF_LATCH.ANY.OVRD", 1}});
    pokeTunable("CNFG_SETPT.QT_CRIT_SPD_RATE.IN", 0.0);  // below its limits: refused by the tool
    runPasses(R160, 20);
    clearTrip();
    ASSERT_TRUE(runUntil([&] { return ready(); }, 50)) << "not ready";
    startToRated();
    EXPECT_EQ(real("CRIT_SPD.MAXTIME_1.A_SW"), 1e34f);
    EXPECT_LT(dwellUntilStuck(60.0), -0.5);
}

// Going to idle or stopping allows 50 times the crossing time, which stays
// for the time remaining after the stop ends.
TEST_F(CriticalBand, StoppingAllowsTheLargerFactor) {
    startWithBand(true, 100.0);
    startToRated();
    speed(1000.0);
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 1);
    ASSERT_TRUE(runUntil([&] { return step("Z01_STEP"); }, 10));
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 0);
    runPasses(R160, 3);
    EXPECT_NEAR(real("CRIT_SPD.MAXTIME_1.A_SW"), 499.5 / 2.0, 1e-2);
    holdShaftAt(2200.0);
    ASSERT_TRUE(runUntil([&] { return boolean("CRIT_SPD.CRIT_PROB1.AND") != 0; }, 20));
    runPasses(R160, static_cast<uint32_t>(2.0 / 0.16 + 0.5));
    EXPECT_EQ(real("CRIT_SPD.RTIME.OUT_1"), 247.0f);
    // The stop aborted: the larger factor stays.
    serviceWrite("IFACE_IN_START.CSD_ABORT.IN", 1);
    ASSERT_TRUE(runUntil([&] { return !step("Z01_STEP"); }, 10));
    serviceWrite("IFACE_IN_START.CSD_ABORT.IN", 0);
    runPasses(R160, static_cast<uint32_t>(5.0 / 0.16 + 0.5));
    EXPECT_NEAR(real("CRIT_SPD.MAXTIME_1.A_SW"), 499.5 / 2.0, 1e-2);
    EXPECT_EQ(boolean("CRIT_SPD.IN_CRIT.OR"), 0u);
}

// A start below minimum governor (the held setpoint below it for 10 s with
// the run command on) allows only the short dwell of 5 s; the reference at
// minimum governor and above no longer counts as one.
TEST_F(CriticalBand, AfterAStartBelowMinimumGovernorOnlyTheShortDwellIsAllowed) {
    startWithBand(true, 100.0);
    // Below minimum governor since power-up: 10 s on, a start is one at
    // once.
    ASSERT_EQ(boolean("START.SP_MIN_NOT.NOT"), 1u);
    ASSERT_TRUE(runUntil([&] { return boolean("CRIT_SPD.AT_MIN_GOV.DELAY") != 0; }, 130));
    EXPECT_EQ(boolean("CRIT_SPD.RST_STRT.AND"), 0u) << "not started";
    startCommand();
    ASSERT_TRUE(runUntil([&] { return boolean("CRIT_SPD.RST_STRT.AND") != 0; }, 5));
    runPasses(R160, 1);
    EXPECT_EQ(real("CRIT_SPD.MAXTIME_1.A_SW"), 5.0f);
    // To rated: below minimum governor (with its hysteresis) it still
    // counts as a start below it; at minimum governor no longer.
    ASSERT_TRUE(runUntil([&] { return step("A02_STEP"); }, 500));
    pulse("IFACE_IN_START.IR_EN.IN", R160);
    bool crossed = false;
    for (int k = 0; k < 2000 && !crossed; ++k) {
        runPasses(R160, 1);
        const float z = real("IFACE_OUT_SPEED.Z_SETPOINT.A_NAME");
        if (z < kMinGov - 20.0) {
            EXPECT_EQ(boolean("START.SP_MIN_NOT.NOT"), 1u) << z;
            EXPECT_EQ(boolean("CRIT_SPD.RST_STRT.AND"), 1u) << z;
        }
        crossed = z >= kMinGov + 20.0;
    }
    ASSERT_TRUE(crossed);
    EXPECT_EQ(boolean("START.SP_MIN_NOT.NOT"), 0u);
    EXPECT_EQ(boolean("CRIT_SPD.RST_STRT.AND"), 0u);
    ASSERT_TRUE(runUntil([&] { return step("A08_STEP"); }, 2000));
    // A controlled stop takes the setpoint below minimum governor again,
    // the run command still on: after 10 s only the short dwell.
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 1);
    ASSERT_TRUE(runUntil([&] { return boolean("START.SP_MIN_NOT.NOT") != 0; }, 200));
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 0);
    runPasses(R160, static_cast<uint32_t>(9.5 / 0.16));
    EXPECT_EQ(boolean("CRIT_SPD.AT_MIN_GOV.DELAY"), 0u);
    runPasses(R160, static_cast<uint32_t>(1.0 / 0.16 + 0.5));
    EXPECT_EQ(boolean("CRIT_SPD.AT_MIN_GOV.DELAY"), 1u);
    EXPECT_EQ(boolean("CRIT_SPD.RST_STRT.AND"), 1u);
    EXPECT_EQ(real("CRIT_SPD.MAXTIME_1.A_SW"), 5.0f);
    EXPECT_NEAR(dwellUntilStuck(30.0), 5.0, 0.33);
}

// Stuck in the band: the reference is forced to minimum once (a 0.32 s
// request); out of the band the timer starts again.
TEST_F(CriticalBand, StuckInTheBandForcesTheReferenceToMinimumOnceAndLeavingResets) {
    startWithBand(true, 400.0);
    startToRated();
    int forced = 0;
    holdShaftAt(2200.0);
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
    holdShaftAt(2200.0);
    ASSERT_TRUE(runUntil([&] { return boolean("CRIT_SPD.CRIT_PROB1.AND") != 0; }, 20));
    runPasses(R160, 2);
    EXPECT_EQ(real("CRIT_SPD.RTIME.OUT_1"), 14.0f);
    EXPECT_EQ(boolean("CRIT_SPD.IN_CRIT.OR"), 0u);
}

// The held setpoint at either end of the band counts as inside when the
// band is used, and the reference then moves at the critical rate: checked
// on every 40 ms pass of the reference crossing the band to rated.
TEST_F(CriticalBand, TheHeldSetpointAtEitherEndCountsAsInsideWhenTheBandIsUsed) {
    for (bool used : {true, false}) {
        SCOPED_TRACE(used);
        startAgain(used, used, 100.0);
        startCommand();
        ASSERT_TRUE(runUntil([&] { return step("A02_STEP"); }, 500));
        pulse("IFACE_IN_START.IR_EN.IN", R160);
        int seen[2] = {0, 0};
        bool ends[2] = {false, false};
        for (int k = 0; k < 3000 && ref() < kRated; ++k) {
            runPasses(R40, 1);
            const float z = real("IFACE_OUT_SPEED.Z_SETPOINT.A_NAME");
            const uint32_t inside = used && z >= kLow && z <= kHigh ? 1u : 0u;
            EXPECT_EQ(boolean("CRIT_SPD.CRIT_BAND.OR"), inside) << z;
            EXPECT_EQ(boolean("SPDC.USE_CRIT_RATE.OR"), inside) << z;
            ++seen[inside];
            ends[0] = ends[0] || z == static_cast<float>(kLow);
            ends[1] = ends[1] || z == static_cast<float>(kHigh);
        }
        EXPECT_GT(seen[0], 0);
        EXPECT_EQ(seen[1] > 0, used);
        EXPECT_TRUE(ends[0] && ends[1]) << "the crossing passes through both ends";
    }
}

}  // namespace

namespace band_slices {

using namespace valve_test;
constexpr double kLow = 2000.0, kHigh = 2500.0;

// In the sequence's initial step there is no force. No input keeps the
// reference chart in its initial (or ready) step while the run command holds
// and the speed dwells in the band: the start's pulse takes the chart out of
// them at once. The band's slices alone, with the steps and the speed given
// by hand.
class CriticalBandSlices : public ValveRig {
protected:
    void SetUp() override {
        ValveRig::SetUp();
        run({_R10_TASK_8}, {}, {}, {_R160_TASK_33, _R160_TASK_81, _R160_TASK_82});
        setCell("IFACE_IN_START.SET_LOW1.A_NAME", kLow);
        setCell("IFACE_IN_START.SET_HIGH1.A_NAME", kHigh);
        setCell("CONF_VAL_1.CRIT_BAND1.B_NAME", 1);
        setCell("CNFG_SETPT.CRIT_SPD_RATE.A_NAME", 400.0);
        setCell("CNFG_SETPT.MIN_GOV.A_NAME", 3000.0);
        setCell("IFACE_OUT_SPEED.Z_SETPOINT.A_NAME", 3000.0);
        setCell("START.RUN_CMD.LATCH_R", 1);
        seconds(0.5);
    }
};

TEST_F(CriticalBandSlices, InTheSequencesInitialStepThereIsNoForce) {
    setCell("SPDC.Z00_STEP.SFC_STEP", 1);
    setCell("IFACE_IN_START.TURB_SPEED.A_NAME", 2200.0);
    int k = 1;
    for (; k <= 200 && boolean("CRIT_SPD.IN_CRIT.OR") == 0; ++k) runPasses(valve_test::R160, 1);
    EXPECT_NEAR((k - 1) * 0.16, 15.0, 0.33);
    for (int p = 0; p < 5; ++p) {
        runPasses(valve_test::R160, 1);
        EXPECT_EQ(boolean("CRIT_SPD.FRC_TOMIN.B_ACTION"), 0u);
    }
}

// No input rests the held setpoint within one rpm below minimum governor
// (below it the reference only passes, in steps of several rpm): the
// hysteresis row on the slices.
TEST_F(CriticalBandSlices, WithinTheHysteresisBelowMinimumGovernorItIsNotYetThere) {
    setCell("IFACE_OUT_SPEED.Z_SETPOINT.A_NAME", 3000.0 - 1.5);
    seconds(10.5);
    ASSERT_EQ(boolean("CRIT_SPD.RST_STRT.AND"), 1u);
    setCell("IFACE_OUT_SPEED.Z_SETPOINT.A_NAME", 3000.0 - 0.5);
    seconds(0.5);
    EXPECT_EQ(boolean("START.SP_MIN_NOT.NOT"), 1u);
    setCell("IFACE_OUT_SPEED.Z_SETPOINT.A_NAME", 3000.0);
    seconds(0.5);
    EXPECT_EQ(boolean("START.SP_MIN_NOT.NOT"), 0u);
    EXPECT_EQ(boolean("CRIT_SPD.RST_STRT.AND"), 0u);
}

}  // namespace band_slices
