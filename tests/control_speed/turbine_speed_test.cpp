// The turbine speed of the shutdown slice (_R10_TASK_3) through real passes
// of the rate-group runtime: which probe or the simulated speed wins, the
// monitor value of a probe at its minimum speed, the limits and the
// power-up delay before any speed is let through.
#include <gtest/gtest.h>

#include <string>

#include "app/control/MPU.cells.h"
#include "tests/support/app_harness.h"

namespace {

constexpr int R10 = 0, R160 = 4;

class TurbineSpeed : public tc_test::AppHarness {
protected:
    void SetUp() override {
        AppHarness::SetUp();
        useSlices(R10, {+[] { r10::MPU_turbine_speed(); }});
    }

    struct Probes {
        double zarn1, monitor1, zarn2, monitor2;
        int min1, min2;
        int useMpu2;
        double sim;
    };
    void set(const Probes& p) {
        setCell("CNFG_SPEED.TSS_01.MPU_ZARN", p.zarn1);
        setCell("CNFG_SPEED.TSS_01.MONITOR", p.monitor1);
        setCell("CNFG_SPEED.TSS_01.MIN_SPEED", p.min1);
        setCell("CNFG_SPEED.TSS_02.MPU_ZARN", p.zarn2);
        setCell("CNFG_SPEED.TSS_02.MONITOR", p.monitor2);
        setCell("CNFG_SPEED.TSS_02.MIN_SPEED", p.min2);
        setCell("CONF_VAL_1.USE_MPU2.B_NAME", p.useMpu2);
        setCell("SPEED_SIM.ENA_SIMSPD.A_SW", p.sim);
    }
    void startWithDefaults() {
        startApp();
        tc_test::loadTunableDefaults();
    }
    // Running, past the power-up delay, with maximum speeds of 4000 and 5000.
    void startRunning() {
        startWithDefaults();
        setCell("CNFG_SPEED.SPD1_MAXSPD.A_NAME", 4000.0);
        setCell("CNFG_SPEED.SPD2_MAXSPD.A_NAME", 5000.0);
        runPasses(R10, 5);
        ASSERT_EQ(boolean("MPU.PWR_UP_DLY.DELAY"), 1u);
    }
};

TEST_F(TurbineSpeed, HighSelectOfTheProbesAndTheSimulatedSpeed) {
    struct Case {
        const char* what;
        Probes in;
        double speed, tss1, tss2, speedSw;
        int sel;  // 1 .. 3
        int hi, lo;
    };
    const Case cases[] = {
        {"probe 1 alone", {3000, 0, 3500, 0, 0, 0, 0, 0}, 3000, 3000, 3500, 0, 1, 0, 0},
        {"probe 2 used and higher", {3000, 0, 3500, 0, 0, 0, 1, 0}, 3500, 3000, 3500, 3500, 2, 0, 0},
        {"probe 2 used and lower", {3000, 0, 2500, 0, 0, 0, 1, 0}, 3000, 3000, 2500, 2500, 1, 0, 0},
        {"a tie keeps the first", {3000, 0, 3000, 0, 0, 0, 1, 3000}, 3000, 3000, 3000, 3000, 1, 0, 0},
        {"simulated speed higher", {3000, 0, 0, 0, 0, 0, 0, 3200}, 3200, 3000, 0, 0, 3, 0, 0},
        {"monitor at minimum speed", {120, 80, 0, 0, 1, 0, 0, 0}, 80, 80, 0, 0, 1, 0, 0},
        {"monitor above the reading", {120, 130, 0, 0, 1, 0, 0, 0}, 120, 120, 0, 0, 1, 0, 0},
        {"monitor without minimum speed", {120, 80, 0, 0, 0, 0, 0, 0}, 120, 120, 0, 0, 1, 0, 0},
        {"probe 2 monitor", {100, 0, 150, 90, 0, 1, 1, 0}, 100, 100, 90, 90, 1, 0, 0},
        {"held at the larger maximum", {5200, 0, 5300, 0, 0, 0, 1, 0}, 5000, 5200, 5300, 5300, 2, 1, 0},
        {"the maximum itself", {5000, 0, 0, 0, 0, 0, 0, 0}, 5000, 5000, 0, 0, 1, 1, 0},
        {"never below zero", {-5, 0, -9, 0, 0, 0, 1, -1}, 0, -5, -9, -9, 3, 0, 1},
        {"zero reads as the low limit", {0, 0, 0, 0, 0, 0, 0, 0}, 0, 0, 0, 0, 1, 0, 1},
    };
    startRunning();
    for (const Case& c : cases) {
        set(c.in);
        // The probe-2 switch comes from the 160 ms group through its copy.
        runPasses(R160, 1);
        EXPECT_FLOAT_EQ(real("MPU.TURB_SPD.A_NAME"), static_cast<float>(c.speed)) << c.what;
        EXPECT_FLOAT_EQ(real("MPU.TURB_SPEED.HSS_BUS"), static_cast<float>(c.speed)) << c.what;
        EXPECT_FLOAT_EQ(real("MPU.TSS_01.A_SW"), static_cast<float>(c.tss1)) << c.what;
        EXPECT_FLOAT_EQ(real("MPU.TSS_02.A_SW"), static_cast<float>(c.tss2)) << c.what;
        EXPECT_FLOAT_EQ(real("MPU.SPEED_SW.A_SW"), static_cast<float>(c.speedSw)) << c.what;
        for (int k = 1; k <= 3; ++k)
            EXPECT_EQ(boolean("MPU.TURB_SPEED.SEL_" + std::to_string(k)), k == c.sel ? 1u : 0u) << c.what << k;
        EXPECT_EQ(boolean("MPU.TURB_SPEED.HI_LIM_I"), static_cast<uint32_t>(c.hi)) << c.what;
        EXPECT_EQ(boolean("MPU.TURB_SPEED.LO_LIM_I"), static_cast<uint32_t>(c.lo)) << c.what;
        EXPECT_FLOAT_EQ(real("IFACE_IN_SPEED.SPEED.A_NAME"), static_cast<float>(c.speed)) << c.what;
        EXPECT_FLOAT_EQ(real("IFACE_IN_START.TURB_SPEED.A_NAME"), static_cast<float>(c.speed)) << c.what;
    }
}

TEST_F(TurbineSpeed, NoSpeedUntilThePowerUpDelayHasRunOut) {
    startWithDefaults();
    setCell("MPU.PWR_UP_DLY.DLY_TIME", 0.1);
    setCell("CNFG_SPEED.SPD1_MAXSPD.A_NAME", 4000.0);
    set({3000, 0, 0, 0, 0, 0, 0, 0});
    // The delay counts from the first pass: ten passes of 10 ms.
    for (int pass = 1; pass <= 12; ++pass) {
        runPasses(R10, 1);
        const bool over = pass > 10;
        EXPECT_EQ(boolean("MPU.PWR_UP_DLY.DELAY"), over ? 1u : 0u) << pass;
        EXPECT_FLOAT_EQ(real("MPU.MAXSPD_DLY.A_SW"), over ? 4000.0f : 0.0f) << pass;
        EXPECT_FLOAT_EQ(real("MPU.TURB_SPD.A_NAME"), over ? 3000.0f : 0.0f) << pass;
        EXPECT_EQ(boolean("MPU.TURB_SPEED.HI_LIM_I"), over ? 0u : 1u) << pass;
    }
}

}  // namespace
