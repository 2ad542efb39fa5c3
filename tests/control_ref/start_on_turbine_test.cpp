// A start from shutdown through idle to rated on the turbine model of the
// host layer: the program's own slice table (speed reference, speed control,
// protection, I/O) drives the actuator current, the model's shaft turns the
// speed sensors, and the loop closes through the real speed sensing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "tests/support/ref_rig.h"

using namespace ref_test;

namespace {

class StartOnTurbine : public RefRig {};

// Time from a start until the reference reaches idle at the idle rate, and
// from rated selected until it reaches rated at the minimum-governor rate;
// the margin covers the passes between a command and the chart taking it
// (one 160 ms pass, one 80 ms pass) and the 20 rpm the chart steps the
// reference on leaving idle.
constexpr double kToIdleS = kIdle / kRateIdle;              // 20 s
constexpr double kToRatedS = (kRated - kIdle) / kRateMin;   // 26 s
constexpr double kRampMarginS = 0.5;
// The shaft lags the ramp by the loop's response; it must reach the speed
// within a second of the reference.
constexpr double kFollowS = 1.0;
// With no load the valve closed only lets friction (0.02 pu at rated:
// 7.2 rpm/s) brake the shaft, so the end of a ramp overshoots by what the
// loop lets through while it takes the ramp's accelerating torque off: no
// more than 1.1 s of the ramp's rate.
constexpr double kOvershootS = 1.1;
// The valve limiter opens with the start at this rate (%/s).
constexpr double kLimiterRate = 25.0;
// The overspeed trip of the default settings.
constexpr double kTripRpm = 3960.0;

TEST_F(StartOnTurbine, StartsFromShutdownThroughIdleToRatedAndSettles) {
    start(true, true);
    serviceWrite("CNFG_START.VLV_LIM_RATE.IN", kLimiterRate);
    runPasses(R160, 2);
    ASSERT_TRUE(step("A00_STEP"));
    EXPECT_EQ(shaft(), 0.0);
    // The idle/rated start is in use.
    EXPECT_EQ(boolean("IFACE_IN_START.USE_IDLE_RATED.B_NAME"), 1u);
    EXPECT_EQ(boolean("IDLE_RATE.NOT_USED.NOT"), 0u);
    EXPECT_EQ(boolean("SPDC.NO_IDLE.AND"), 0u);
    // Reset but not started: the valve limiter stays closed, and so does the
    // valve.
    EXPECT_EQ(boolean("HPLM.A00_STEP.SFC_STEP"), 1u);
    EXPECT_EQ(real("IFACE_IN_VLV.V1LMTR_VAL.A_NAME"), 0.0f);
    EXPECT_EQ(real("HP_DRIVER.ACT_LSS.LSS_BUS"), 0.0f);

    // Every 10 ms pass: the first time the reference and the shaft reach a
    // speed, the peak of the shaft, and the steps the chart passes through.
    double peak = 0.0, tRef = -1.0, tShaft = -1.0;
    uint32_t t0 = 0;
    std::string seen;
    auto note = [&](const char* s) {
        if (step(s) && seen.find(s) == std::string::npos) seen += std::string(s) + " ";
    };
    auto runUntilStep = [&](const char* s, double target, double maxS) {
        tRef = tShaft = -1.0;
        peak = 0.0;
        for (int k = 0; k < static_cast<int>(maxS * 100.0) && !step(s); ++k) {
            runPasses(R10, 1);
            const double t = (passes(R10) - t0) / 100.0;
            if (tRef < 0.0 && ref() >= target) tRef = t;
            if (tShaft < 0.0 && shaft() >= target) tShaft = t;
            peak = std::max(peak, shaft());
            for (const char* n : {"A01_STEP", "A02_STEP", "A07_STEP", "A08_STEP"}) note(n);
        }
        return step(s);
    };

    // The start from the start contact (valve limiter opened with it): to
    // idle, which holds; then rated selected at idle from the idle/rated
    // contact.
    struct Phase {
        int contact;
        const char* until;
        double target, seconds, rate, maxS;
    };
    const Phase phases[] = {
        {kStartContact, "A02_STEP", kIdle, kToIdleS, kRateIdle, 60.0},
        {kIdleRatedContact, "A08_STEP", kRated, kToRatedS, kRateMin, 90.0},
    };
    for (const Phase& p : phases) {
        SCOPED_TRACE(p.until);
        t0 = passes(R10);
        contact(p.contact, true);
        ASSERT_TRUE(runUntilStep(p.until, p.target, p.maxS));
        EXPECT_NEAR(tRef, p.seconds, kRampMarginS);
        EXPECT_GE(tShaft, tRef);
        EXPECT_LE(tShaft, tRef + kFollowS);
        EXPECT_LT(peak, p.target + kOvershootS * p.rate);
        if (p.contact == kStartContact) {
            // At idle it stays: the reference holds idle, and the shaft
            // comes back to it once the end of the ramp has coasted off
            // (friction alone brakes it at idle).
            contact(kStartContact, false);
            runPasses(R80, 500);
            EXPECT_TRUE(step("A02_STEP"));
            EXPECT_FLOAT_EQ(ref(), static_cast<float>(kIdle));
            EXPECT_NEAR(shaft(), kIdle, 5.0);
            EXPECT_EQ(boolean("IDLE_RATE.IDLE.AND"), 1u);
        }
    }
    EXPECT_EQ(seen, "A01_STEP A02_STEP A07_STEP A08_STEP ");
    EXPECT_LT(peak, kTripRpm);
    EXPECT_EQ(boolean("IDLE_RATE.RATED.LATCH_R"), 1u);

    // In control at rated: once the overshoot has coasted off, the shaft
    // holds rated within a few rpm.
    runPasses(R10, 6000);
    double worst = 0.0;
    for (int k = 0; k < 3000; ++k) {
        runPasses(R10, 1);
        worst = std::max(worst, std::fabs(shaft() - kRated));
    }
    EXPECT_LT(worst, 0.5);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u);
    // The limiter opened to its maximum and the chart holds it there.
    EXPECT_EQ(boolean("HPLM.A01_STEP.SFC_STEP"), 1u);
    EXPECT_NEAR(real("IFACE_IN_VLV.V1LMTR_VAL.A_NAME"), 101.0f, 1e-3);

    // Idle again from the idle/rated contact opening: back down to idle.
    contact(kIdleRatedContact, false);
    ASSERT_TRUE(runUntil([&] { return step("A02_STEP"); }, 2000)) << "never back at idle";
    EXPECT_FLOAT_EQ(ref(), static_cast<float>(kIdle));
}

}  // namespace

namespace {

// A semi-automatic start: the reference goes to minimum governor while the
// operator opens the valve limiter; once the speed controller has the shaft
// there, it is in control.
TEST_F(StartOnTurbine, SemiAutomaticStartReachesControlAtMinimumGovernor) {
    start(false, false, {{"CNFG_START.CONFIG_B.IN_1", 0}, {"CNFG_START.CONFIG_B.IN_3", 1}});
    ASSERT_EQ(boolean("START.SEMI_AUTO.AND"), 1u);
    EXPECT_EQ(boolean("SPDC.NO_IDLE.AND"), 1u);
    startCommand();
    ASSERT_TRUE(runUntil([&] { return step("A01_STEP"); }, 20));
    // No idle to reach: on to minimum governor at once.
    ASSERT_TRUE(runUntil([&] { return step("A07_STEP"); }, 3));
    // The limiter is the operator's: held closed until raised.
    EXPECT_EQ(boolean("HPLM.A01_STEP.SFC_STEP"), 1u);
    runPasses(R80, 20);
    EXPECT_EQ(real("IFACE_IN_VLV.V1LMTR_VAL.A_NAME"), 0.0f);
    EXPECT_TRUE(step("A07_STEP"));
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_1", 1);
    ASSERT_TRUE(runUntil([&] { return step("A08_STEP"); }, 3000)) << "never in control; shaft " << shaft();
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_1", 0);
    EXPECT_FLOAT_EQ(ref(), static_cast<float>(kMinGov));
    runPasses(R80, 300);
    EXPECT_NEAR(shaft(), kMinGov, 5.0);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u);
}

}  // namespace
