// Speed sensing and acceleration (_R10_TASK_1) through real passes of the
// rate-group runtime in simulated time, fed by the pulse-train model.
#include <gtest/gtest.h>

#include <string>

#include "app/control/ACCEL.cells.h"
#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/control_slices.h"
#include "drivers/ZarnTurbineSpeed.h"
#include "host/hostkernel.h"
#include "host/speed_sensor_model.h"
#include "runtime/catalogue_tables.h"
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

TEST_F(SpeedSense, ConstantSpeedOnBothChannelsGivesTheSpeedCells) {
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
        EXPECT_EQ(boolean(t + ".MIN_SPEED"), 0u) << ch;
        EXPECT_EQ(boolean(t + ".TOOTH_DET"), 1u) << ch;
        // Read once start-up is over: channel 1 lags channel 0 by 45 degrees.
        EXPECT_NEAR(real(t + ".PHASE_DIFF"), 45.0f, 0.5f) << ch;
    }
    EXPECT_NEAR(real("IFACE_IN_START.MPU_B.A_NAME"), 3000.0f, 0.5f);
}

TEST_F(SpeedSense, SpeedStepGivesItsAcceleration) {
    startWithDefaults();
    // Sensor 2 on a 30-tooth wheel: 0.5 Hz per rpm, 3000 Hz maximum.
    setCell("CNFG_SPEED.SPD2_TEETH.IN", 30);
    speedsensor::setShaftSpeed(0, 3000.0, 60);
    speedsensor::setShaftSpeed(1, 3000.0, 30);
    runPasses(R10, 100);
    // A step to 4500 rpm: the filter follows at its slew limit, 100 % of the
    // maximum frequency per second, which is 6000 rpm/s on both wheels.
    speedsensor::setShaftSpeed(0, 4500.0, 60);
    speedsensor::setShaftSpeed(1, 4500.0, 30);
    runPasses(R10, 12);
    EXPECT_NEAR(real("CNFG_SPEED.TSS_01.DERIV"), 6000.0f, 30.0f);
    EXPECT_NEAR(real("CNFG_SPEED.TSS_02.DERIV"), 6000.0f, 30.0f);
    EXPECT_NEAR(real("ACCEL.ACCEL_PV.A_NAME"), 6000.0f, 30.0f);
    runPasses(R10, 60);
    EXPECT_NEAR(real("CNFG_SPEED.TSS_02.MPU_ZARN"), 4500.0f, 0.5f);
    EXPECT_NEAR(real("ACCEL.ACCEL_PV.A_NAME"), 0.0f, 5.0f);
}

TEST_F(SpeedSense, FailedSensorRaisesItsFailureCells) {
    startWithDefaults();
    spin(3000.0);
    runPasses(R10, 120);  // past the 1 s power-up window
    speedsensor::failSensor(0);
    runPasses(R10, 5);
    // Below the measurable minimum the speed reads as that minimum: 6000 Hz / 50.
    EXPECT_EQ(boolean("CNFG_SPEED.TSS_01.MIN_SPEED"), 1u);
    EXPECT_FLOAT_EQ(real("CNFG_SPEED.TSS_01.MPU_ZARN"), 120.0f);
    EXPECT_EQ(boolean("MPU_OVRD.SPD1FLD.OR"), 1u);
    EXPECT_EQ(boolean("MPU_OVRD.SS1_FLD.B_SW"), 1u);
    EXPECT_EQ(boolean("ACCEL.SS1_FLD.B_NAME"), 1u);
    EXPECT_FLOAT_EQ(real("ACCEL.SS1_DERIV_USED.A_SW"), 0.0f);
    EXPECT_EQ(boolean("CNFG_SPEED.TSS_01.LATCH_OR"), 1u);  // below 250 rpm for the 20 ms latch delay
    EXPECT_EQ(boolean("MPU_OVRD.SS2_FLD.B_SW"), 0u);       // sensor 2 untouched
    // Without an edge for 33.3 s (0.03 Hz, two teeth per measurement) there
    // is no usable signal: the monitor speed and the acceleration read 0.
    runPasses(R10, 3300);
    EXPECT_EQ(stZarnTssData[0].status & ZARN_TSS_NO_SIGNAL, 0u);
    runPasses(R10, 50);
    EXPECT_NE(stZarnTssData[0].status & ZARN_TSS_NO_SIGNAL, 0u);
    EXPECT_FLOAT_EQ(real("CNFG_SPEED.TSS_01.MONITOR"), 0.0f);
    EXPECT_FLOAT_EQ(real("CNFG_SPEED.TSS_01.DERIV"), 0.0f);
}

}  // namespace
