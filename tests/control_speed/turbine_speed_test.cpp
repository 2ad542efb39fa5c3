// The turbine speed of the shutdown slice (_R10_TASK_4's first piece): which
// probe or the simulated speed wins, the monitor value of a probe at its
// minimum speed, the limits and the power-up delay before any speed is let
// through. On the whole program the probes turn as the speed-sensor model
// has them and the settings are written as the service tool writes them.
#include <gtest/gtest.h>

#include <string>

#include "app/control/MPU.cells.h"
#include "host/speed_sensor_model.h"
#include "tests/control_speed/program_rig.h"
#include "tests/support/app_harness.h"

namespace {

constexpr int R10 = 0, R160 = 4;

// ---- on the whole program ---------------------------------------------------------------

class TurbineSpeedProgram : public sc_test::ProgramRig {
protected:
    // Started with probe 2 used or not (a configuration list entry, taken
    // while the controller powers up). `max1` and `max2` given: the sensors'
    // maximum speeds set during the start-up frames, which also fixes the
    // range their readings are clamped to (1.1 x the maximum).
    void startWith(bool useMpu2, double max1 = 0.0, double max2 = 0.0) {
        startApp();
        if (max1 > 0.0) serviceWrite("CNFG_SPEED.SPD1_MAXSPD.IN", max1);
        if (max2 > 0.0) serviceWrite("CNFG_SPEED.SPD2_MAXSPD.IN", max2);
        serviceWrite("CNFG_SPEED.CONFIG_B.IN_1", useMpu2 ? 1 : 0);
        runPasses(R160, 20);
        ASSERT_EQ(boolean("MASTER.IO_LOCK_OR_PWR.B_NAME"), 0u) << "still powering up";
        ASSERT_EQ(boolean("CONF_VAL_1.USE_MPU2.B_NAME"), useMpu2 ? 1u : 0u);
    }
    // Probe 1's wheel at `rpm1`, probe 2's at `rpm2` (60 teeth, gear 1),
    // until the readings have settled.
    void spin(double rpm1, double rpm2) {
        speedsensor::setShaftSpeed(0, rpm1, 60);
        speedsensor::setShaftSpeed(1, rpm2, 60);
        runPasses(R10, 150);
        runPasses(R160, 1);
    }
    // The turbine speed against its copies, and which input the select took.
    void expectSelected(int sel, uint32_t hi, uint32_t lo, const std::string& what) {
        const float speed = real("MPU.TURB_SPD.A_NAME");
        EXPECT_EQ(real("MPU.TURB_SPEED.HSS_BUS"), speed) << what;
        EXPECT_EQ(real("IFACE_IN_SPEED.SPEED.A_NAME"), speed) << what;
        EXPECT_EQ(real("IFACE_IN_START.TURB_SPEED.A_NAME"), speed) << what;
        for (int k = 1; k <= 3; ++k)
            EXPECT_EQ(boolean("MPU.TURB_SPEED.SEL_" + std::to_string(k)), k == sel ? 1u : 0u) << what << k;
        EXPECT_EQ(boolean("MPU.TURB_SPEED.HI_LIM_I"), hi) << what;
        EXPECT_EQ(boolean("MPU.TURB_SPEED.LO_LIM_I"), lo) << what;
        if (hi == 0 && lo == 0) {
            const char* from[] = {"MPU.TSS_01.A_SW", "MPU.SPEED_SW.A_SW", "SPEED_SIM.ENA_SIMSPD.A_SW"};
            EXPECT_EQ(speed, real(from[sel - 1])) << what;
        }
    }
};

// The probes' speeds (with the maximum speeds' named copies at 4000 and
// 5000, the sensors reading up to 6600): each probe gives its reading, or
// its monitor value below its minimum speed (120 rpm: a fiftieth of the
// sensor's maximum of 6000), where the reading is that minimum; the second probe counts only when it is used;
// the high select keeps the first of equal values and holds the speed at
// the larger maximum speed.
// A row's expected probe value: its monitor value (the reading then stands
// at the minimum), or not looked at.
constexpr double kMonitor = -1.0, kAny = -2.0;

struct ProbeCase {
    const char* what;
    double rpm1, rpm2;
    bool useMpu2;
    double speed, tss1, tss2, speedSw;
    int sel;
    uint32_t hi, lo;
};

class ProbeSelect : public TurbineSpeedProgram, public ::testing::WithParamInterface<bool> {
protected:
    // A probe's value against the row; below the minimum, its monitor value
    // with the reading at the minimum.
    void expectProbe(int n, double want, const std::string& what) {
        const std::string probe = "MPU.TSS_0" + std::to_string(n) + ".A_SW";
        const std::string tss = "CNFG_SPEED.TSS_0" + std::to_string(n);
        if (want == kAny) return;
        if (want != kMonitor) {
            EXPECT_NEAR(real(probe), want, 0.5) << what << n;
            return;
        }
        EXPECT_EQ(boolean(tss + ".MIN_SPEED"), 1u) << what << n;
        EXPECT_FLOAT_EQ(real(tss + ".MPU_ZARN"), 120.0f) << what << n;
        EXPECT_LT(real(tss + ".MONITOR"), 120.0f) << what << n;
        EXPECT_GT(real(tss + ".MONITOR"), 0.0f) << what << n;
        EXPECT_EQ(real(probe), real(tss + ".MONITOR")) << what << n;
        EXPECT_EQ(boolean("MPU.MON0" + std::to_string(n) + "_OK.AND"), 1u) << what << n;
    }
};

TEST_P(ProbeSelect, HighSelectOfTheProbes) {
    const bool useMpu2 = GetParam();
    const ProbeCase cases[] = {
        // At rest from the start: the readings are at the minimum, the
        // monitors at 0 (no signal yet), and 0 is the select's low limit.
        {"zero reads as the low limit", 0, 0, false, 0, 0, 0, 0, 1, 0, 1},
        {"zero reads as the low limit", 0, 0, true, 0, 0, 0, 0, 1, 0, 1},
        {"probe 2 monitor", 0, 80, true, kMonitor, 0, kMonitor, kMonitor, 2, 0, 0},
        {"probe 1 alone", 3000, 3500, false, 3000, 3000, 3500, 0, 1, 0, 0},
        {"probe 2 used and higher", 3000, 3500, true, 3500, 3000, 3500, 3500, 2, 0, 0},
        {"probe 2 used and lower", 3000, 2500, true, 3000, 3000, 2500, 2500, 1, 0, 0},
        {"a tie keeps the first", 3000, 3000, true, 3000, 3000, 3000, 3000, 1, 0, 0},
        {"held at the larger maximum", 5200, 5300, false, 5000, 5200, 5300, 0, 1, 1, 0},
        {"held at the larger maximum", 5200, 5300, true, 5000, 5200, 5300, 5300, 2, 1, 0},
        {"monitor at minimum speed", 80, 0, false, kMonitor, kMonitor, kAny, 0, 1, 0, 0},
    };
    startWith(useMpu2);
    serviceWrite("CNFG_SPEED.SPD1_MAXSPD.IN", 4000.0);
    serviceWrite("CNFG_SPEED.SPD2_MAXSPD.IN", 5000.0);
    runPasses(R160, 1);
    for (const ProbeCase& c : cases) {
        if (c.useMpu2 != useMpu2) continue;
        spin(c.rpm1, c.rpm2);
        if (c.rpm1 == c.rpm2 && c.rpm1 > 0) {
            ASSERT_EQ(real("MPU.TSS_01.A_SW"), real("MPU.TSS_02.A_SW")) << "no tie";
        }
        expectProbe(1, c.tss1, c.what);
        expectProbe(2, c.tss2, c.what);
        if (c.speedSw == kMonitor) {
            EXPECT_EQ(real("MPU.SPEED_SW.A_SW"), real("MPU.TSS_02.A_SW")) << c.what;
        } else {
            EXPECT_NEAR(real("MPU.SPEED_SW.A_SW"), c.speedSw, 0.5) << c.what;
        }
        if (c.speed != kMonitor) {
            EXPECT_NEAR(real("MPU.TURB_SPD.A_NAME"), c.speed, 0.5) << c.what;
        }
        expectSelected(c.sel, c.hi, c.lo, c.what);
    }
}

INSTANTIATE_TEST_SUITE_P(Probe2, ProbeSelect, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& i) { return i.param ? "Used" : "NotUsed"; });

// A reading exactly at the larger maximum speed is held there with the
// high limit flag: a wheel above the clamp of a sensor started with a
// maximum of 1000 reads the clamp, and both maximum speeds moved onto that
// reading afterwards (their named copies follow the settings).
TEST_F(TurbineSpeedProgram, TheMaximumItselfIsTheHighLimit) {
    startWith(false, 1000.0, 1000.0);
    spin(1500.0, 0.0);
    const float clamp = real("CNFG_SPEED.TSS_01.MPU_ZARN");
    ASSERT_NEAR(clamp, 1100.0f, 0.01f);
    serviceWrite("CNFG_SPEED.SPD1_MAXSPD.IN", static_cast<double>(clamp));
    serviceWrite("CNFG_SPEED.SPD2_MAXSPD.IN", static_cast<double>(clamp));
    runPasses(R160, 2);
    EXPECT_EQ(real("MPU.MAXSPD_DLY.A_SW"), clamp);
    EXPECT_EQ(real("MPU.TURB_SPD.A_NAME"), clamp);
    expectSelected(1, 1, 0, "at the maximum");
}

// Low speeds as the sensors read them. Sensor 1 (maximum 6000 rpm on 60
// teeth: 6000 Hz) times two teeth per measurement, sensor 2 (maximum 5000:
// 5000 Hz) one; the measurable minimum is a fiftieth of the maximum, 120
// and 100 rpm. The channel's minimum-speed check and the filter's decay
// bound take the tooth frequency of the measured period, so each sensor
// counts as below its minimum only below it, its speed reading the minimum
// there, and the turbine speed takes its monitor value, which reads the
// shaft: the bound lies between the shaft speed and twice it and holds no
// sample of a steady shaft. Up and down alike.
TEST_F(TurbineSpeedProgram, LowSpeedsReadTheShaftWithOneOrTwoTeethPerMeasurement) {
    const double rows[] = {20, 29, 30, 50, 59, 60, 99, 100, 119.9, 120, 200, 239.9, 240, 300,
                           239.9, 200, 120, 119.9, 100, 59, 50};
    startWith(false, 6000.0, 5000.0);
    for (const double rpm : rows) {
        const std::string what = std::to_string(rpm) + " rpm";
        spin(rpm, rpm);
        const bool below1 = rpm < 120.0, below2 = rpm < 100.0;
        EXPECT_EQ(boolean("CNFG_SPEED.TSS_01.MIN_SPEED"), below1 ? 1u : 0u) << what;
        EXPECT_NEAR(real("CNFG_SPEED.TSS_01.MPU_ZARN"), below1 ? 120.0 : rpm, 0.01) << what;
        EXPECT_NEAR(real("CNFG_SPEED.TSS_01.MONITOR"), rpm, 0.01) << what;
        EXPECT_NEAR(real("MPU.TURB_SPD.A_NAME"), rpm, 0.01) << what;
        expectSelected(1, 0, 0, what);
        EXPECT_EQ(boolean("CNFG_SPEED.TSS_02.MIN_SPEED"), below2 ? 1u : 0u) << what;
        EXPECT_NEAR(real("CNFG_SPEED.TSS_02.MPU_ZARN"), below2 ? 100.0 : rpm, 0.01) << what;
        EXPECT_NEAR(real("CNFG_SPEED.TSS_02.MONITOR"), rpm, 0.01) << what;
        EXPECT_NEAR(real("MPU.TSS_02.A_SW"), rpm, 0.01) << what;
    }
}

// No speed is let through until the power-up delay has run out: 0.1 s,
// written from the service tool, saved with the tunables and so in force
// from the first pass of the next start. The delay counts from the first
// pass (run by the start): ten passes of 10 ms after it.
TEST_F(TurbineSpeedProgram, NoSpeedUntilThePowerUpDelayHasRunOut) {
    startApp();
    runPasses(R160, 40);  // the supervision task looks for saves 4 s after start
    serviceWrite("MPU.PWR_UP_DLY.DLY_TIME", 0.1);
    serviceWrite("MASTER.SAVETUNES.IN_1", 1);
    for (int k = 0; k < 100; ++k) {
        runPasses(2, 1);
        if (boolean("_MASTER._SYS_INFO.EE_BUSY") != 0) serviceWrite("MASTER.SAVETUNES.IN_1", 0);
    }
    speedsensor::setShaftSpeed(0, 3000.0, 60);
    stopApp();
    startApp();
    ASSERT_FLOAT_EQ(real("MPU.PWR_UP_DLY.DLY_TIME"), 0.1f);
    for (int pass = 1; pass <= 13; ++pass) {
        runPasses(R10, 1);
        const bool over = pass > 10;
        const float probe = real("MPU.TSS_01.A_SW");
        ASSERT_GT(probe, 0.0f);
        EXPECT_EQ(boolean("MPU.PWR_UP_DLY.DELAY"), over ? 1u : 0u) << pass;
        EXPECT_FLOAT_EQ(real("MPU.MAXSPD_DLY.A_SW"), over ? 6000.0f : 0.0f) << pass;
        EXPECT_FLOAT_EQ(real("MPU.TURB_SPD.A_NAME"), over ? probe : 0.0f) << pass;
        EXPECT_EQ(boolean("MPU.TURB_SPEED.HI_LIM_I"), over ? 0u : 1u) << pass;
    }
}

// ---- cases no input of the program reaches ----------------------------------------------

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

// The select's inputs as only a hand-written probe reading or simulated
// speed gives them: a reading above the monitor value while the probe is
// at its minimum speed, the minimum-speed flag without the reading at the
// minimum, negative readings, and a simulated speed beside a probe that
// reads a speed (the internal simulation runs only while the probes read
// none: the simulated speed as the select's input, speed_modules_test.cpp).
TEST_F(TurbineSpeed, HighSelectOfTheProbesAndTheSimulatedSpeed) {
    struct Case {
        const char* what;
        Probes in;
        double speed, tss1, tss2, speedSw;
        int sel;  // 1 .. 3
        int hi, lo;
    };
    const Case cases[] = {
        {"a tie keeps the first", {3000, 0, 3000, 0, 0, 0, 1, 3000}, 3000, 3000, 3000, 3000, 1, 0, 0},
        {"monitor above the reading", {120, 130, 0, 0, 1, 0, 0, 0}, 120, 120, 0, 0, 1, 0, 0},
        {"monitor without minimum speed", {120, 80, 0, 0, 0, 0, 0, 0}, 120, 120, 0, 0, 1, 0, 0},
        {"never below zero", {-5, 0, -9, 0, 0, 0, 1, -1}, 0, -5, -9, -9, 3, 0, 1},
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


}  // namespace

