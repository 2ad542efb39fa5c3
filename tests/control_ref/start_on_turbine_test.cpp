// A start from shutdown through idle to rated on the turbine model of the
// host layer: the program's own slice table (speed reference, speed control,
// protection, I/O) drives the actuator current, the model's shaft turns the
// speed sensors, and the loop closes through the real speed sensing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "runtime/rgtask.h"
#include "tests/control_ref/ref_rig.h"
#include "tests/control_speed/speed_rig.h"

using namespace ref_test;

namespace {

// The program's slice table as it is linked, taken before any fixture
// replaces it.
std::vector<SliceFn> g_program[kNumRateGroups];
class ProgramTable : public ::testing::Environment {
public:
    void SetUp() override {
        for (int g = 0; g < kNumRateGroups; ++g) g_program[g] = rg_slices[g];
    }
};
const auto* const g_env = ::testing::AddGlobalTestEnvironment(new ProgramTable);

bool g_drivers = false;

class StartOnTurbine : public RefRig {
protected:
    void SetUp() override {
        tc_test::AppHarness::SetUp();
        board::reset();
        ResetZarnCalibration();
        ResetZarnActuator();
        turbine::reset();
        speedsensor::install();
        g_drivers = false;
        for (int g = 0; g < kNumRateGroups; ++g) useSlices(g, g_program[g]);
        auto& r10 = rg_slices[R10];
        r10.insert(r10.begin(), firstFrame);
    }
    void TearDown() override {
        turbine::reset();
        RefRig::TearDown();
    }
    double shaft() { return turbine::speedRpm(); }

private:
    // What start-up does before the first frame for the pieces this start
    // needs: the tunable defaults and the charts (the ref rig's), then the
    // speed-sensor channels and the actuator output.
    static void firstFrame() {
        startUpInFirstFrame();
        if (g_drivers) return;
        g_drivers = true;
        CNFG_SPEED_init_blks();
        CNFG_ACT_init_blks();
    }
};

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

TEST_F(StartOnTurbine, StartsFromShutdownThroughIdleToRatedAndSettles) {
    ASSERT_FALSE(g_program[R10].empty());
    turbine::enable();
    // Power-up with the external trip contact open: tripped.
    start(true, true);
    for (const auto& c : sc_test::kPlantCells)
        if (c.first != std::string("IFACE_IN_VLV.V1LMTR_VAL.A_NAME")) setCell(c.first, c.second);
    setCell("CNFG_START.VLV_LIM_RATE.IN", kLimiterRate);
    // The I/O configuration is left at its defaults, which its checks
    // report: the configuration-error list's override keeps those from
    // latching into a shutdown.
    setCell("CONF_LATCH.ANY.OVRD", 1);
    runPasses(R160, 20);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_01.B_ALARM"), 1u);
    // Trip contact closed, shutdowns reset: ready, the shaft at standstill.
    board::setDiscreteInput(14, true);
    runPasses(R160, 2);
    setCell("RESET.RESET.B_NAME", 1);
    setCell("SHUTDOWNS.DLY_SDREAC.B_ACTION", 1);
    runPasses(R80, 2);
    setCell("RESET.RESET.B_NAME", 0);
    setCell("SHUTDOWNS.DLY_SDREAC.B_ACTION", 0);
    runPasses(R160, 20);
    ASSERT_TRUE(step("A00_STEP"));
    EXPECT_EQ(shaft(), 0.0);
    // Reset but not started: the valve limiter stays closed, and so does the
    // valve.
    EXPECT_EQ(boolean("HPLM.A00_STEP.SFC_STEP"), 1u);
    EXPECT_EQ(real("IFACE_IN_VLV.V1LMTR_VAL.A_NAME"), 0.0f);
    EXPECT_EQ(real("HP_DRIVER.ACT_LSS.LSS_BUS"), 0.0f);

    // Every 10 ms pass: the first time the reference and the shaft reach a
    // speed, and the peak of the shaft.
    double peak = 0.0, tRef = -1.0, tShaft = -1.0;
    uint32_t t0 = 0;
    auto runUntilStep = [&](const char* s, double target, double maxS) {
        tRef = tShaft = -1.0;
        peak = 0.0;
        for (int k = 0; k < static_cast<int>(maxS * 100.0) && !step(s); ++k) {
            runPasses(R10, 1);
            const double t = (passes(R10) - t0) / 100.0;
            if (tRef < 0.0 && ref() >= target) tRef = t;
            if (tShaft < 0.0 && shaft() >= target) tShaft = t;
            peak = std::max(peak, shaft());
        }
        return step(s);
    };

    // The start (valve limiter opened with it), then rated selected at idle.
    struct Phase {
        const char* command;
        int group;
        const char* until;
        double target, seconds, rate, maxS;
    };
    const Phase phases[] = {
        {"START.START_OS.ONE_SHOT", R80, "A02_STEP", kIdle, kToIdleS, kRateIdle, 60.0},
        {"IFACE_IN_START.IR_EN.B_NAME", R160, "A08_STEP", kRated, kToRatedS, kRateMin, 90.0},
    };
    for (const Phase& p : phases) {
        SCOPED_TRACE(p.until);
        t0 = passes(R10);
        pulse(p.command, p.group);
        ASSERT_TRUE(runUntilStep(p.until, p.target, p.maxS));
        EXPECT_NEAR(tRef, p.seconds, kRampMarginS);
        EXPECT_GE(tShaft, tRef);
        EXPECT_LE(tShaft, tRef + kFollowS);
        EXPECT_LT(peak, p.target + kOvershootS * p.rate);
    }
    EXPECT_LT(peak, sc_test::kTripRpm);

    // In control at rated: once the overshoot has coasted off, the shaft
    // holds rated within two counts of the proportional action (gain 5).
    runPasses(R10, 6000);
    const double tol = 2.0 * sc_test::countTolerance(5.0);
    double worst = 0.0;
    for (int k = 0; k < 3000; ++k) {
        runPasses(R10, 1);
        worst = std::max(worst, std::fabs(shaft() - kRated));
    }
    EXPECT_LT(worst, tol);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u);
    // The limiter opened to its maximum and the chart holds it there.
    EXPECT_EQ(boolean("HPLM.A01_STEP.SFC_STEP"), 1u);
    EXPECT_NEAR(real("IFACE_IN_VLV.V1LMTR_VAL.A_NAME"), 101.0f, 1e-3);
}

}  // namespace
