// Speed sensing and acceleration (_R10_TASK_1) through real passes of the
// rate-group runtime in simulated time, fed by the pulse-train model.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/control/ACCEL.cells.h"
#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/control_slices.h"
#include "drivers/ZarnTurbineSpeed.h"
#include "host/hostkernel.h"
#include "host/speed_sensor_model.h"
#include "runtime/catalogue_tables.h"
#include "runtime/rgtask.h"
#include "tests/support/app_harness.h"

namespace {

// Until the speed-control slices exist: the unit-delay stores of the 10 ms
// speed-control slice and the group's commits, as far as ACCEL uses them.
void speedControlTail() {
    r10::ACCEL_store_delays();
    r10::ACCEL_commit_delays();
}

constexpr int R10 = 0;

// What start-up does before the first frame once the tunables file and the
// block initialisation call them: the generated tunable defaults, then the
// speed-sensor channel blocks. Until then it runs as the first thing of the
// first 10 ms frame.
bool g_started = false;
void startUpInFirstFrame() {
    if (g_started) return;
    g_started = true;
    for (uint32_t k = 0; k < num_tune_defaults; ++k) {
        const TuneDefault& d = _tune_defaults[k];
        void* p = cell_ptr(d.cell);
        if (d.type == 'A') *static_cast<float*>(p) = static_cast<float>(d.value);
        else if (d.type == 'I') *static_cast<int32_t*>(p) = static_cast<int32_t>(d.value);
        else if (d.type == 'B' || d.type == 'U') *static_cast<uint32_t*>(p) = static_cast<uint32_t>(d.value);
    }
    CNFG_SPEED_init_blks();
}

class SpeedSense : public tc_test::AppHarness {
protected:
    void SetUp() override {
        AppHarness::SetUp();
        speedsensor::install();
        g_started = false;
        useSlices(R10, {startUpInFirstFrame, _R10_TASK_1, speedControlTail});
    }

    // Starts the application; the start-up frames that take the sensor
    // settings are still to come. The minimum detection speeds come from the
    // 160 ms group.
    void startWithDefaults() {
        startApp();
        ASSERT_TRUE(g_started);
        ASSERT_EQ(AllRgExecutedwMMM, 0);
        setCell("MPU_OVRD.MIN_SPD_1.A_NAME", 250.0);
        setCell("MPU_OVRD.MIN_SPD_2.A_NAME", 250.0);
    }

    // Both wheels: 60 teeth, gear 1 (1 Hz per rpm), at `rpm`.
    void spin(double rpm) {
        speedsensor::setShaftSpeed(0, rpm, 60);
        speedsensor::setShaftSpeed(1, rpm, 60);
    }
};

TEST_F(SpeedSense, ConstantSpeedSettlesOnBothChannels) {
    startWithDefaults();
    spin(3000.0);
    speedsensor::setPhaseDegrees(45.0);
    // From rest the filter slews at 100 % of the maximum frequency (6000 Hz)
    // per second: 0.5 s to 3000 rpm, then the 10 ms lags.
    runPasses(R10, 100);
    for (const char* ch : {"TSS_01", "TSS_02"}) {
        const std::string t = std::string("CNFG_SPEED.") + ch;
        EXPECT_NEAR(real(t + ".MPU_ZARN"), 3000.0f, 0.5f) << ch;
        EXPECT_NEAR(real(t + ".MONITOR"), 3000.0f, 0.5f) << ch;
        EXPECT_NEAR(real(t + ".DERIV"), 0.0f, 5.0f) << ch;
        EXPECT_EQ(boolean(t + ".MIN_SPEED"), 0u) << ch;
        EXPECT_EQ(boolean(t + ".TOOTH_DET"), 1u) << ch;
        EXPECT_EQ(boolean(t + ".LATCH_OR"), 0u) << ch;
        // Phase is read once start-up is over: both wheels see channel 1
        // lag channel 0 by 45 degrees.
        EXPECT_NEAR(real(t + ".PHASE_DIFF"), 45.0f, 0.5f) << ch;
    }
    // The settings as the driver took them: 60 teeth x gear 1 at 6000 rpm is
    // 6000 Hz, two teeth per measurement.
    EXPECT_FLOAT_EQ(stZarnTssData[0].maxFreq, 6000.0f);
    EXPECT_EQ(stZarnTssData[0].teethPerMeasure, 2);
    EXPECT_EQ(integer("CNFG_SPEED.SPD1_TEETH.I_NAME"), 60);
    EXPECT_FLOAT_EQ(real("CNFG_SPEED.SPD2_MAXSPD.A_NAME"), 6000.0f);
    EXPECT_NEAR(real("IFACE_IN_START.MPU_A.A_NAME"), 3000.0f, 0.5f);
    EXPECT_NEAR(real("IFACE_IN_START.MPU_B.A_NAME"), 3000.0f, 0.5f);
    EXPECT_EQ(boolean("MPU_OVRD.SS1_FLD.B_SW"), 0u);
    EXPECT_EQ(boolean("MPU_OVRD.SS2_FLD.B_SW"), 0u);
    EXPECT_EQ(boolean("MPU_OVRD.MPU2_SD_L.OR"), 0u);
    EXPECT_NEAR(real("ACCEL.ACCEL_PV.A_NAME"), 0.0f, 5.0f);
}

TEST_F(SpeedSense, SpeedStepAndRampGiveTheirAcceleration) {
    startWithDefaults();
    // Sensor 2 on a 30-tooth wheel: 0.5 Hz per rpm, 3000 Hz maximum.
    setCell("CNFG_SPEED.SPD2_TEETH.IN", 30);
    speedsensor::setShaftSpeed(0, 3000.0, 60);
    speedsensor::setShaftSpeed(1, 3000.0, 30);
    runPasses(R10, 100);
    ASSERT_FLOAT_EQ(stZarnTssData[1].maxFreq, 3000.0f);
    ASSERT_NEAR(real("CNFG_SPEED.TSS_02.MPU_ZARN"), 3000.0f, 0.5f);
    // Forget the start-up transients (sensor 2 was reconfigured while it
    // turned): reset the held rate and the peak, then release the resets.
    setCell("ACCEL.RST_HOLD.OR", 1);
    setCell("X_RESET.BLINK_RST2.ONE_SHOT", 1);
    runPasses(R10, 40);
    EXPECT_FLOAT_EQ(real("ACCEL.HOLD_RST.A_SW"), 0.0f);
    EXPECT_NEAR(real("ACCEL.MAX_RATE.A_NAME"), 0.0f, 5.0f);
    EXPECT_NEAR(real("ACCEL.PEAK.A_NAME"), 0.0f, 5.0f);
    setCell("ACCEL.RST_HOLD.OR", 0);
    setCell("X_RESET.BLINK_RST2.ONE_SHOT", 0);
    runPasses(R10, 40);

    // A step to 4500 rpm: the filter follows at its slew limit, 100 % of the
    // maximum frequency per second, which is 6000 rpm/s on both wheels.
    speedsensor::setShaftSpeed(0, 4500.0, 60);
    speedsensor::setShaftSpeed(1, 4500.0, 30);
    runPasses(R10, 12);
    EXPECT_NEAR(real("CNFG_SPEED.TSS_01.DERIV"), 6000.0f, 30.0f);
    EXPECT_NEAR(real("CNFG_SPEED.TSS_02.DERIV"), 6000.0f, 30.0f);
    EXPECT_NEAR(real("ACCEL.SS1_DERIV.A_NAME"), 6000.0f, 30.0f);
    EXPECT_NEAR(real("ACCEL.SS_DERIV_MAX.A_MAX"), 6000.0f, 30.0f);
    EXPECT_NEAR(real("ACCEL.ACCEL_PV.A_NAME"), 6000.0f, 30.0f);
    runPasses(R10, 60);
    EXPECT_NEAR(real("CNFG_SPEED.TSS_01.MPU_ZARN"), 4500.0f, 0.5f);
    EXPECT_NEAR(real("CNFG_SPEED.TSS_02.MPU_ZARN"), 4500.0f, 0.5f);
    EXPECT_NEAR(real("ACCEL.ACCEL_PV.A_NAME"), 0.0f, 5.0f);
    // The held maximum rate and the peak keep the step's acceleration.
    EXPECT_NEAR(real("ACCEL.MAX_RATE.A_NAME"), 6000.0f, 30.0f);
    EXPECT_NEAR(real("ACCEL.PEAK.A_NAME"), 6000.0f, 30.0f);
    EXPECT_EQ(boolean("ACCEL.ACCEL_HOLD.SEL_1"), 1u);

    // A ramp of 200 rpm/s (a new speed every millisecond).
    const uint64_t t0 = hk::nowNs();
    for (int ms = 1; ms <= 1000; ++ms) {
        const uint64_t t = t0 + static_cast<uint64_t>(ms) * 1'000'000;
        const double rpm = 4500.0 + 0.2 * ms;
        speedsensor::setShaftSpeedAt(0, t, rpm, 60);
        speedsensor::setShaftSpeedAt(1, t, rpm, 30);
    }
    runPasses(R10, 60);
    EXPECT_NEAR(real("CNFG_SPEED.TSS_01.DERIV"), 200.0f, 5.0f);
    EXPECT_NEAR(real("CNFG_SPEED.TSS_02.DERIV"), 200.0f, 5.0f);
    EXPECT_NEAR(real("ACCEL.ACCEL_PV.A_NAME"), 200.0f, 5.0f);

    // Resetting the hold and the peak.
    setCell("ACCEL.RST_HOLD.OR", 1);
    setCell("X_RESET.BLINK_RST2.ONE_SHOT", 1);
    runPasses(R10, 40);
    EXPECT_NEAR(real("ACCEL.MAX_RATE.A_NAME"), 200.0f, 5.0f);
    EXPECT_NEAR(real("ACCEL.PEAK.A_NAME"), 200.0f, 5.0f);
    EXPECT_FLOAT_EQ(real("ACCEL.HOLD_RST.A_SW"), 0.0f);
    EXPECT_EQ(boolean("ACCEL.ACCEL_HOLD.SEL_2"), 1u);
}

TEST_F(SpeedSense, FailedSensorRaisesItsFailureCells) {
    startWithDefaults();
    spin(3000.0);
    runPasses(R10, 120);  // past the 1 s power-up window
    ASSERT_EQ(boolean("SD_LOGIC.PWR_UP_SD.ONE_SHOT"), 0u);
    ASSERT_EQ(boolean("MPU_OVRD.SS1_FLD.B_SW"), 0u);

    speedsensor::failSensor(0);
    runPasses(R10, 5);
    // Below the measurable minimum the speed reads as that minimum:
    // 6000 Hz / 50 = 120 rpm.
    EXPECT_EQ(boolean("CNFG_SPEED.TSS_01.MIN_SPEED"), 1u);
    EXPECT_FLOAT_EQ(real("CNFG_SPEED.TSS_01.MPU_ZARN"), 120.0f);
    EXPECT_FLOAT_EQ(real("IFACE_IN_START.MPU_A.A_NAME"), 120.0f);
    EXPECT_EQ(boolean("MPU_OVRD.SPD1_FLD.A_COMPARE"), 1u);
    EXPECT_EQ(boolean("MPU_OVRD.SPD1FLD.OR"), 1u);
    EXPECT_EQ(boolean("MPU_OVRD.SS1_FLD.B_SW"), 1u);
    EXPECT_EQ(boolean("ACCEL.SS1_FLD.B_NAME"), 1u);
    EXPECT_FLOAT_EQ(real("ACCEL.SS1_DERIV_USED.A_SW"), 0.0f);
    // Below the low-speed limit (250 rpm) for the latch delay (20 ms).
    EXPECT_EQ(boolean("CNFG_SPEED.TSS_01.LO_LATCH"), 1u);
    EXPECT_EQ(boolean("CNFG_SPEED.TSS_01.LATCH_OR"), 1u);
    // Sensor 2 is untouched.
    EXPECT_EQ(boolean("MPU_OVRD.SS2_FLD.B_SW"), 0u);
    EXPECT_NEAR(real("CNFG_SPEED.TSS_02.MPU_ZARN"), 3000.0f, 0.5f);

    // Without an edge for 33.3 s (0.03 Hz, two teeth per measurement) there
    // is no usable signal: the monitor speed and the acceleration read 0.
    EXPECT_GT(real("CNFG_SPEED.TSS_01.MONITOR"), 0.0f);
    runPasses(R10, 3300);
    EXPECT_EQ(stZarnTssData[0].status & ZARN_TSS_NO_SIGNAL, 0u);
    runPasses(R10, 50);
    EXPECT_NE(stZarnTssData[0].status & ZARN_TSS_NO_SIGNAL, 0u);
    EXPECT_FLOAT_EQ(real("CNFG_SPEED.TSS_01.MONITOR"), 0.0f);
    EXPECT_FLOAT_EQ(real("CNFG_SPEED.TSS_01.DERIV"), 0.0f);

    // The override hides the failure and stops the low latch's condition,
    // so the reset clears the latch.
    setCell("MPU_OVRD.OVRD_MPU_1.B_SW", 1);
    setCell("RESET.RESET.B_NAME", 1);
    runPasses(R10, 40);
    EXPECT_EQ(boolean("MPU_OVRD.OVRD1_OR.OR"), 1u);
    EXPECT_EQ(boolean("MPU_OVRD.SS1_FLD.B_SW"), 0u);
    EXPECT_EQ(boolean("MPU_OVRD.SPD1FLD.OR"), 1u);
    EXPECT_EQ(boolean("CNFG_SPEED.TSS_01.LO_LATCH"), 0u);

    // A second sensor that is not used is lost, and its acceleration unused.
    setCell("CONF_VAL_2.NO_MPU2.NOT", 1);
    runPasses(R10, 40);
    EXPECT_EQ(boolean("MPU_OVRD.MPU2_SD_L.OR"), 1u);
    EXPECT_EQ(boolean("ACCEL.MPU2_SD_L.B_NAME"), 1u);
    EXPECT_EQ(boolean("MPU_OVRD.SS2_FLD.B_SW"), 0u);  // overridden
}

TEST_F(SpeedSense, SettingsLimitsAndStartUpFreeze) {
    startWithDefaults();
    // Sensor 2: one tooth, gear 0.1, 10 rpm: the maximum frequency is
    // limited to 5 Hz.
    setCell("CNFG_SPEED.SPD2_TEETH.IN", 1);
    setCell("CNFG_SPEED.SPD2_GEAR.IN", 0.1);
    setCell("CNFG_SPEED.SPD2_MAXSPD.IN", 10.0);
    runPasses(R10, 3);
    EXPECT_FLOAT_EQ(stZarnTssData[1].maxFreq, 5.0f);
    EXPECT_EQ(stZarnTssData[1].teethPerMeasure, 1);
    // Standing still, sensor 1 reads its minimum speed 6000 / 50 = 120 rpm.
    EXPECT_EQ(boolean("CNFG_SPEED.TSS_01.MIN_SPEED"), 1u);
    EXPECT_FLOAT_EQ(real("CNFG_SPEED.TSS_01.MPU_ZARN"), 120.0f);
    EXPECT_EQ(boolean("CNFG_SPEED.TSS_01.TOOTH_DET"), 0u);

    // The power-up window: 1 s of shutdown, its whole seconds left.
    EXPECT_EQ(boolean("SD_LOGIC.PWR_UP_SD.ONE_SHOT"), 1u);
    EXPECT_EQ(boolean("MPU_OVRD.OVRD1_OR.OR"), 1u);
    EXPECT_EQ(boolean("MPU_OVRD.OVRD_MPU2.OR"), 1u);
    EXPECT_EQ(integer("SD_LOGIC.PWR_UP_SD.R_TIME"), 0);

    // Above 1.1 x the maximum speed the speed reads 6600 rpm; the high latch
    // sets after its delay.
    speedsensor::setShaftSpeed(0, 7000.0, 60);
    runPasses(R10, 150);
    EXPECT_EQ(boolean("SD_LOGIC.PWR_UP_SD.ONE_SHOT"), 0u);
    EXPECT_FLOAT_EQ(real("CNFG_SPEED.TSS_01.MPU_ZARN"), 6600.0f);
    EXPECT_FLOAT_EQ(real("CNFG_SPEED.TSS_01.MONITOR"), 6600.0f);
    EXPECT_EQ(boolean("CNFG_SPEED.TSS_01.HI_LATCH"), 1u);

    // After start-up the settings stay frozen until the next start.
    ASSERT_EQ(AllRgExecutedwMMM, 1);
    setCell("CNFG_SPEED.SPD1_TEETH.IN", 30);
    setCell("CNFG_SPEED.SPD1_MAXSPD.IN", 3000.0);
    runPasses(R10, 3);
    EXPECT_EQ(integer("CNFG_SPEED.SPD1_TEETH.I_NAME"), 30);
    EXPECT_FLOAT_EQ(stZarnTssData[0].maxFreq, 6000.0f);
    EXPECT_EQ(stZarnTssData[0].teethPerMeasure, 2);
    // The high latch follows the copied limit, and the reset clears it only
    // once the speed is back below it.
    setCell("RESET.RESET.B_NAME", 1);
    runPasses(R10, 40);
    EXPECT_EQ(boolean("CNFG_SPEED.TSS_01.HI_LATCH"), 1u);
    setCell("CNFG_SPEED.SPD1_MAXSPD.IN", 8000.0);
    runPasses(R10, 2);
    EXPECT_EQ(boolean("CNFG_SPEED.TSS_01.HI_LATCH"), 0u);

    EXPECT_EQ(boolean("ORVEX12_IO.SET_CLOCK.B_NAME"), 0u);
    setCell("ORVEX12_IO.SET_CLOCK.IN", 1);
    runPasses(R10, 1);
    EXPECT_EQ(boolean("ORVEX12_IO.SET_CLOCK.B_NAME"), 1u);
}

}  // namespace

namespace {

// The acceleration filter alone, fed with sensor accelerations set by the
// test: a non-finite input counts as 0.0 for that pass.
float g_accelIn = 0.0f;
void feedAccel() {
    cells::ACCEL.SS1_DERIV_USED_A_SW = g_accelIn;
    cells::ACCEL.SS2_DERIV_USED_A_SW = -1.0f;
}

class AccelFilter : public tc_test::AppHarness {};

TEST_F(AccelFilter, NonFiniteInputCountsAsZero) {
    useSlices(R10, {feedAccel, r10::ACCEL_accel});
    startApp();
    setCell("ACCEL.SS_DERIV_FILT.LAG_TAU", 0.05);
    g_accelIn = 100.0f;
    runPasses(R10, 100);
    ASSERT_NEAR(real("ACCEL.ACCEL_PV.A_NAME"), 100.0f, 0.01f);
    // One pass with NaN: x = 0 with the previous input 100 and y = 100 gives
    // dy = 0.01 * (0 + 100 - 200) / (2 * 0.05 + 0.01).
    g_accelIn = std::nanf("");
    runPasses(R10, 1);
    const float y = real("ACCEL.SS_DERIV_FILT.LAG_2");
    EXPECT_NEAR(y, 100.0f - 0.01f * 100.0f / 0.11f, 0.01f);
    EXPECT_NEAR(real("ACCEL.SS_DERIV_FILT.DERIV"), (y - 100.0f) / 0.01f, 1.0f);
    g_accelIn = INFINITY;
    runPasses(R10, 1);
    EXPECT_TRUE(std::isfinite(real("ACCEL.SS_DERIV_FILT.LAG_2")));
    EXPECT_LT(real("ACCEL.SS_DERIV_FILT.LAG_2"), y);
    g_accelIn = 100.0f;
    runPasses(R10, 100);
    EXPECT_NEAR(real("ACCEL.ACCEL_PV.A_NAME"), 100.0f, 0.01f);
}

}  // namespace
