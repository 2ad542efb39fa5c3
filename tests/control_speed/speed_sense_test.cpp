// Speed sensing and acceleration on the whole program: the program's own
// slice table through real passes of the rate-group runtime in simulated
// time, fed by the pulse-train model (the turbine model stays off, so the
// wheels turn as the test sets them), its settings written as the service
// tool writes them and its resets given from the reset contact.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "drivers/ZarnTurbineSpeed.h"
#include "drivers/zarn_regs.h"
#include "host/board.h"
#include "host/speed_sensor_model.h"
#include "host/turbine_model.h"
#include "runtime/rgtask.h"
#include "tests/control_speed/program_rig.h"

namespace {

using sc_test::ProgramRig;
constexpr int R10 = sc_test::P10, R160 = sc_test::P160;

class SpeedSense : public ProgramRig {
protected:
    // Starts the program with both sensors in use (a configuration list
    // entry, taken while the controller powers up) and the trip contact
    // closed; the start-up frames that take the sensor settings are still
    // to come. The reset blink, which clears the remembered peak
    // acceleration every second by default, is put a minute apart.
    void startWithDefaults() {
        startApp();
        ASSERT_EQ(AllRgExecutedwMMM, 0);
        serviceWrite("CNFG_SPEED.CONFIG_B.IN_1", 1);
        serviceWrite("X_RESET.BLNK_RST.DLY_TIME", 60.0);
        // The configuration checks of the default I/O overridden.
        serviceWrite("CONF_LATCH.ANY.OVRD", 1);
        contact(ref_test::kTripContact, true);
    }
    // A failed sensor counts only on a running unit: from a shutdown until
    // the started turbine passes the detection level the sensors' failures
    // are overridden. An automatic start to rated on the turbine model, both
    // sensors in use; the model turns both wheels from then on. A low speed
    // level above rated is a configuration error, which a reset would latch
    // as a trip: the configuration checks are overridden.
    void startedOnTheTurbine() {
        start(true, true,
              {{"CNFG_SPEED.CONFIG_B.IN_1", 1}, {"CNFG_START.VLV_LIM_RATE.IN", 25.0}, {"CONF_LATCH.ANY.OVRD", 1}});
        startToRated();
        runPasses(R10, 100);
        ASSERT_EQ(boolean("MPU_OVRD.OVRD1_OR.OR"), 0u);
        ASSERT_EQ(boolean("MPU_OVRD.OVRD_MPU2.OR"), 0u);
    }

    // Both wheels: 60 teeth, gear 1 (1 Hz per rpm), at `rpm`.
    void spin(double rpm) {
        speedsensor::setShaftSpeed(0, rpm, 60);
        speedsensor::setShaftSpeed(1, rpm, 60);
    }

    // A reset from the reset contact: its 1 s pulse has begun.
    void resetPulse() {
        contact(ref_test::kResetContact, true);
        ASSERT_TRUE(runUntil([&] { return boolean("RESET.RESET.B_NAME") != 0; }, 10)) << "no reset pulse";
        contact(ref_test::kResetContact, false);
    }
    // 80 ms passes until the reset pulse has ended.
    void resetOver() {
        ASSERT_TRUE(runUntil([&] { return boolean("RESET.RESET.B_NAME") == 0; }, 30)) << "the reset never ended";
        runPasses(R10, 10);  // the 80 ms reset reaches the 10 ms group at its next release
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
    // Both channels set up for the first input conditioning, option 0.
    const uint16_t ctrl = board::peek16(ZARN_CTRL);
    for (int ch = 0; ch < 2; ++ch) {
        EXPECT_EQ(ctrl & (ZARN_CTRL_TSS_MODE0 << ch), 0) << ch;
        EXPECT_NE(ctrl & (ZARN_CTRL_TSS_OPTION0 << ch), 0) << ch;
    }
}

TEST_F(SpeedSense, SpeedStepGivesItsAcceleration) {
    startWithDefaults();
    // Sensor 2 on a 30-tooth wheel: 0.5 Hz per rpm, 3000 Hz maximum.
    serviceWrite("CNFG_SPEED.SPD2_TEETH.IN", 30);
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
    startedOnTheTurbine();
    turbine::failSensor(0);
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
    // Without an edge for 66.7 s (two teeth in it: 0.03 Hz, the absolute
    // minimum of two teeth per measurement) there is no usable signal: the
    // monitor speed and the acceleration read 0.
    runPasses(R10, 6620);
    EXPECT_EQ(stZarnTssData[0].status & ZARN_TSS_NO_SIGNAL, 0u);
    runPasses(R10, 50);
    EXPECT_NE(stZarnTssData[0].status & ZARN_TSS_NO_SIGNAL, 0u);
    EXPECT_FLOAT_EQ(real("CNFG_SPEED.TSS_01.MONITOR"), 0.0f);
    EXPECT_FLOAT_EQ(real("CNFG_SPEED.TSS_01.DERIV"), 0.0f);
}

}  // namespace

namespace {

// A failed sensor, for each of the two: its failure cells rise, its
// acceleration drops out, the other sensor stays untouched. Sensor 2 lost
// also raises its shutdown-logic flag.
struct FailCase {
    const char* name;
    int ch;
    const char* minSpeed;
    const char* fldOr;
    const char* fldSw;
    const char* derivUsed;
    const char* otherFldSw;
    const char* minDetect;
    const char* useMinFlag;
};

class SensorFailure : public SpeedSense, public ::testing::WithParamInterface<FailCase> {};

TEST_P(SensorFailure, RaisesItsOwnCells) {
    const FailCase& c = GetParam();
    startedOnTheTurbine();
    EXPECT_EQ(boolean("MPU_OVRD.MPU2_SD_L.OR"), 0u);
    turbine::failSensor(c.ch);
    runPasses(R10, 5);
    EXPECT_EQ(boolean(c.minSpeed), 1u);
    EXPECT_EQ(boolean(c.fldOr), 1u);
    EXPECT_EQ(boolean(c.fldSw), 1u);
    EXPECT_FLOAT_EQ(real(c.derivUsed), 0.0f);
    EXPECT_EQ(boolean(c.otherFldSw), 0u);
    EXPECT_EQ(boolean("MPU_OVRD.MPU2_SD_L.OR"), c.ch == 1 ? 1u : 0u);
    EXPECT_EQ(boolean("ACCEL.MPU2_SD_L.B_NAME"), c.ch == 1 ? 1u : 0u);
}

// Reading above the minimum detection speed, the sensor below its measurable
// minimum counts as failed only where the minimum flag is switched in.
TEST_P(SensorFailure, MeasurableMinimumCountsWhenSwitchedIn) {
    const FailCase& c = GetParam();
    startedOnTheTurbine();
    serviceWrite(c.minDetect, 50.0);
    runPasses(R160, 2);
    turbine::failSensor(c.ch);
    runPasses(R10, 5);
    ASSERT_EQ(boolean(c.minSpeed), 1u);
    EXPECT_EQ(boolean(c.fldSw), 0u);
    serviceWrite(c.useMinFlag, 1);
    runPasses(R10, 1);
    EXPECT_EQ(boolean(c.fldOr), 1u);
    EXPECT_EQ(boolean(c.fldSw), 1u);
    EXPECT_EQ(boolean(c.otherFldSw), 0u);
}

const FailCase kFailCases[] = {
    {"Sensor1", 0, "CNFG_SPEED.TSS_01.MIN_SPEED", "MPU_OVRD.SPD1FLD.OR", "MPU_OVRD.SS1_FLD.B_SW",
     "ACCEL.SS1_DERIV_USED.A_SW", "MPU_OVRD.SS2_FLD.B_SW", "CNFG_SPEED.SPD1_LOW_SP.IN",
     "MPU_OVRD.INHIB_MIN1.IN_1"},
    {"Sensor2", 1, "CNFG_SPEED.TSS_02.MIN_SPEED", "MPU_OVRD.SPD2FLD.OR", "MPU_OVRD.SS2_FLD.B_SW",
     "ACCEL.SS2_DERIV_USED.A_SW", "MPU_OVRD.SS1_FLD.B_SW", "CNFG_SPEED.SPD2_LOW_SP.IN",
     "MPU_OVRD.INHIB_MIN2.IN_1"},
};
INSTANTIATE_TEST_SUITE_P(Sensors, SensorFailure, ::testing::ValuesIn(kFailCases),
                         [](const ::testing::TestParamInfo<FailCase>& i) { return std::string(i.param.name); });

// A sensor setting changed during the start-up frames is taken (each one on
// its own: teeth, gear, maximum speed); after start-up the settings stay
// frozen until the next start while the named copy follows the tunable.
// Both wheels: 60 teeth at 1500 rpm. Speeds read at most 1.1 x the maximum.
struct SettingCase {
    const char* name;
    const char* in;
    const char* copy;
    double value;
    double dflt;
    const char* speed;
    float want;
};

class SensorSettings : public SpeedSense, public ::testing::WithParamInterface<SettingCase> {};

TEST_P(SensorSettings, TakenDuringStartUpOnlyAndOneAtATime) {
    const SettingCase& c = GetParam();
    startWithDefaults();
    spin(1500.0);
    serviceWrite(c.in, c.value);
    runPasses(R10, 150);
    ASSERT_EQ(AllRgExecutedwMMM, 1);
    EXPECT_NEAR(real(c.speed), c.want, 0.5f);
    serviceWrite(c.in, c.dflt);
    runPasses(R10, 100);
    EXPECT_NEAR(real(c.speed), c.want, 0.5f) << "frozen after start-up";
    char type = 0;
    ASSERT_NE(cell(c.copy, &type), nullptr);
    EXPECT_EQ(type == 'I' ? static_cast<double>(integer(c.copy)) : static_cast<double>(real(c.copy)), c.dflt);
}

const SettingCase kSettingCases[] = {
    {"Sensor1Teeth", "CNFG_SPEED.SPD1_TEETH.IN", "CNFG_SPEED.SPD1_TEETH.I_NAME", 30, 60, "CNFG_SPEED.TSS_01.MPU_ZARN", 3000.0f},
    {"Sensor1Gear", "CNFG_SPEED.SPD1_GEAR.IN", "CNFG_SPEED.SPD1_GEAR.A_NAME", 2.0, 1.0, "CNFG_SPEED.TSS_01.MPU_ZARN", 750.0f},
    {"Sensor1MaxSpeed", "CNFG_SPEED.SPD1_MAXSPD.IN", "CNFG_SPEED.SPD1_MAXSPD.A_NAME", 1000.0, 6000.0, "CNFG_SPEED.TSS_01.MPU_ZARN", 1100.0f},
    {"Sensor2Teeth", "CNFG_SPEED.SPD2_TEETH.IN", "CNFG_SPEED.SPD2_TEETH.I_NAME", 120, 60, "CNFG_SPEED.TSS_02.MPU_ZARN", 750.0f},
    {"Sensor2Gear", "CNFG_SPEED.SPD2_GEAR.IN", "CNFG_SPEED.SPD2_GEAR.A_NAME", 0.5, 1.0, "CNFG_SPEED.TSS_02.MPU_ZARN", 3000.0f},
    {"Sensor2MaxSpeed", "CNFG_SPEED.SPD2_MAXSPD.IN", "CNFG_SPEED.SPD2_MAXSPD.A_NAME", 1000.0, 6000.0, "CNFG_SPEED.TSS_02.MPU_ZARN", 1100.0f},
    {"Sensor1Unchanged", "CNFG_SPEED.SPD1_TEETH.IN", "CNFG_SPEED.SPD1_TEETH.I_NAME", 60, 30, "CNFG_SPEED.TSS_01.MPU_ZARN", 1500.0f},
};
INSTANTIATE_TEST_SUITE_P(Settings, SensorSettings, ::testing::ValuesIn(kSettingCases),
                         [](const ::testing::TestParamInfo<SettingCase>& i) { return std::string(i.param.name); });

}  // namespace

// The held maximum rate and the peak keep the highest acceleration while the
// speed settles and falls; the hold reset brings the held rate back to the
// current value (never below 0), the blink reset does so for the peak, each
// on its own.
TEST_F(SpeedSense, HeldRateAndPeakKeepTheMaximumUntilTheirReset) {
    startWithDefaults();
    spin(3000.0);
    // Past the power-up reset, whose 2 s pulse resets the hold as well.
    runPasses(R10, 250);
    ASSERT_EQ(boolean("RESET.PWR_UP_RST.ONE_SHOT"), 0u);
    ASSERT_EQ(boolean("ACCEL.RST_HOLD.OR"), 0u);
    spin(4500.0);
    float most = 0.0f;
    for (int k = 0; k < 60; ++k) {
        runPasses(R10, 1);
        most = std::max(most, real("ACCEL.ACCEL_PV.A_NAME"));
    }
    ASSERT_NEAR(most, 6000.0f, 30.0f);
    spin(3500.0);  // slowing down: a negative acceleration
    runPasses(R10, 12);
    const float now = real("ACCEL.ACCEL_PV.A_NAME");
    ASSERT_LT(now, -1000.0f);
    EXPECT_FLOAT_EQ(real("ACCEL.MAX_RATE.A_NAME"), most);
    EXPECT_FLOAT_EQ(real("ACCEL.PEAK.A_NAME"), most);

    // The hold reset from its service setting.
    serviceWrite("ACCEL.RST_HOLD.IN_3", 1);
    // Taken in the next 160 ms pass; that result reaches the 10 ms group
    // at the 160 ms release after it.
    runPasses(R10, 32);
    EXPECT_EQ(boolean("ACCEL.RST_HOLD.OR"), 1u);
    EXPECT_FLOAT_EQ(real("ACCEL.MAX_RATE.A_NAME"), 0.0f);  // held at its lower limit
    EXPECT_EQ(boolean("ACCEL.ACCEL_HOLD.LO_LIM_I"), 1u);
    EXPECT_FLOAT_EQ(real("ACCEL.PEAK.A_NAME"), most);
    serviceWrite("ACCEL.RST_HOLD.IN_3", 0);

    // The reset blink brought due: its pulse reaches the 10 ms group.
    serviceWrite("X_RESET.BLNK_RST.DLY_TIME", 0.0);
    ASSERT_TRUE(runUntil([&] { return boolean("X_RESET.BLINK_RST2.ONE_SHOT") != 0; }, 5)) << "no blink";
    runPasses(R10, 18);  // its 0.2 s pulse reaches the 10 ms group at the next 160 ms release
    // While resetting, the remembered peak reads 0: the larger of it and now.
    EXPECT_FLOAT_EQ(real("ACCEL.PEAK.A_NAME"), std::max(0.0f, real("ACCEL.ACCEL_PV.A_NAME")));
    EXPECT_FLOAT_EQ(real("ACCEL.MAX_RATE.A_NAME"), 0.0f);
}

namespace {

// The speed latches: set once their condition has stood for the latch delay
// (20 ms: the second frame), kept when the condition goes, cleared by the
// reset only while the condition is gone. Conditions brought about by moving
// the limit after start-up: the high latches with both wheels at 3000 rpm;
// the low latches, which an overridden sensor (a unit not started) never
// sets, on a unit started to rated.
struct LatchCase {
    const char* name;
    const char* limit;
    double on, off;
    const char* latch;
    const char* latchOr;
    bool running;
};

class SpeedLatch : public SpeedSense, public ::testing::WithParamInterface<LatchCase> {};

TEST_P(SpeedLatch, SetAfterTheDelayKeptAndReset) {
    const LatchCase& c = GetParam();
    if (c.running) {
        startedOnTheTurbine();
    } else {
        startWithDefaults();
        spin(3000.0);
        // Past start-up and the power-up reset, whose 2 s pulse holds off
        // any other reset.
        runPasses(R10, 250);
    }
    ASSERT_EQ(boolean("RESET.PWR_UP_RST.ONE_SHOT"), 0u);
    ASSERT_EQ(boolean(c.latch), 0u);
    serviceWrite(c.limit, c.on);
    runPasses(R10, 1);
    EXPECT_EQ(boolean(c.latch), 0u);
    runPasses(R10, 1);
    EXPECT_EQ(boolean(c.latch), 1u);
    EXPECT_EQ(boolean(c.latchOr), 1u);
    resetPulse();  // while the condition stands: kept
    runPasses(R10, 10);
    EXPECT_EQ(boolean(c.latch), 1u);
    resetOver();
    serviceWrite(c.limit, c.off);
    runPasses(R10, 10);
    EXPECT_EQ(boolean(c.latch), 1u) << "kept without a reset";
    resetPulse();
    runPasses(R10, 10);
    EXPECT_EQ(boolean(c.latch), 0u);
    EXPECT_EQ(boolean(c.latchOr), 0u);
}

const LatchCase kLatchCases[] = {
    {"Sensor1High", "CNFG_SPEED.SPD1_MAXSPD.IN", 2999.0, 6000.0, "CNFG_SPEED.TSS_01.HI_LATCH", "CNFG_SPEED.TSS_01.LATCH_OR", false},
    {"Sensor1Low", "CNFG_SPEED.SPD1_LOW_SP.IN", 3700.0, 250.0, "CNFG_SPEED.TSS_01.LO_LATCH", "CNFG_SPEED.TSS_01.LATCH_OR", true},
    {"Sensor2High", "CNFG_SPEED.SPD2_MAXSPD.IN", 2999.0, 6000.0, "CNFG_SPEED.TSS_02.HI_LATCH", "CNFG_SPEED.TSS_02.LATCH_OR", false},
    {"Sensor2Low", "CNFG_SPEED.SPD2_LOW_SP.IN", 3700.0, 250.0, "CNFG_SPEED.TSS_02.LO_LATCH", "CNFG_SPEED.TSS_02.LATCH_OR", true},
};
// A speed reading exactly at the maximum counts as high: a wheel above the
// over-range clamp (1.1 x a maximum of 1000 frozen at start-up) reads the
// clamp; the maximum then moved onto that reading latches on the second frame.
TEST_F(SpeedSense, HighLatchAtExactlyTheMaximumSpeed) {
    startWithDefaults();
    serviceWrite("CNFG_SPEED.SPD1_MAXSPD.IN", 1000.0);
    spin(1500.0);
    runPasses(R10, 250);  // past the power-up reset
    const float clamp = real("CNFG_SPEED.TSS_01.MPU_ZARN");
    ASSERT_NEAR(clamp, 1100.0f, 0.01f);
    serviceWrite("CNFG_SPEED.SPD1_MAXSPD.IN", static_cast<double>(clamp) * 2.0);
    resetPulse();
    resetOver();
    ASSERT_EQ(boolean("CNFG_SPEED.TSS_01.HI_LATCH"), 0u);
    serviceWrite("CNFG_SPEED.SPD1_MAXSPD.IN", static_cast<double>(clamp));
    runPasses(R10, 2);
    EXPECT_EQ(boolean("CNFG_SPEED.TSS_01.HI_LATCH"), 1u);
}

INSTANTIATE_TEST_SUITE_P(Latches, SpeedLatch, ::testing::ValuesIn(kLatchCases),
                         [](const ::testing::TestParamInfo<LatchCase>& i) { return std::string(i.param.name); });

}  // namespace
