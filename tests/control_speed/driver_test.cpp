// The speed-sensor driver against raw FPGA registers (the pulse-train model
// detached), and the pulse-train model itself.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "drivers/ZarnTurbineSpeed.h"
#include "drivers/zarn_regs.h"
#include "host/board.h"
#include "host/chips.h"
#include "host/hostkernel.h"
#include "host/speed_sensor_model.h"

namespace {

constexpr double kHz = 64e6;

uint32_t reg(uint32_t channel0Reg, int ch) { return channel0Reg + static_cast<uint32_t>(ch) * ZARN_TSS_STRIDE; }

void pokeSamples(int ch, uint32_t count) {
    for (int i = 0; i < ZARN_TSS_SAMPLE_COUNT; ++i)
        board::poke32(reg(ZARN_TSS_SAMPLES0, ch) + 4u * static_cast<uint32_t>(i), count);
}
void pokePeriods(int ch, uint32_t a, uint32_t b) {
    board::poke32(reg(ZARN_TSS_PERIOD_A0, ch), a);
    board::poke32(reg(ZARN_TSS_PERIOD_B0, ch), b);
}

// Channel set-up as block initialisation and the speed logic leave it.
void setUp(int ch, float maxFreq, int32_t teeth, float slewPct = 100.0f) {
    ZarnTssChannel& c = stZarnTssData[ch];
    c.tau1Ms = 10;
    c.tau2Ms = 10;
    c.inputMode = 1;
    c.inputOption = 0;
    InitZarnTss(ch);
    c.maxFreq = maxFreq;
    c.teethPerMeasure = teeth;
    c.slewPct = slewPct;
    ConfigZarnTss(ch);
}

class TssDriver : public ::testing::Test {
protected:
    void SetUp() override {
        hk::start(hk::ClockMode::Simulated);
        board::reset();  // raw registers: no pulse-train model
    }
    void TearDown() override { hk::shutdown(); }
};

TEST_F(TssDriver, InitAndConfigureSetRegistersAndBits) {
    InitZarnProxVThresh(0);
    InitZarnProxVThresh(1);
    EXPECT_EQ(board::peek16(ZARN_TSS_THRESH_PERIOD0), 14222u);
    EXPECT_EQ(board::peek16(ZARN_TSS_THRESH_PERIOD0 + ZARN_TSS_THRESH_STRIDE), 14222u);
    board::poke16(ZARN_CTRL, ZARN_CTRL_ACT6_ENABLE);  // another driver's bit survives

    setUp(1, 3000.0f, 2);
    EXPECT_EQ(ZarnTssUsed[0], 0u);
    EXPECT_EQ(ZarnTssUsed[1], 1u);
    EXPECT_EQ(stZarnTssData[1].status, ZARN_TSS_BELOW_MIN | ZARN_TSS_NO_SIGNAL);
    EXPECT_EQ(board::peek16(ZARN_TSS_THRESH_VALUE0 + ZARN_TSS_THRESH_STRIDE), 0u);
    EXPECT_EQ(board::peek16(ZARN_TSS_THRESH_PERIOD0 + ZARN_TSS_THRESH_STRIDE), 5246u);
    EXPECT_EQ(board::peek16(reg(ZARN_TSS_TEETH0, 1)), 1u);
    // Channel 1: open-wire bit 9, option bit 5 set (option 0), mode bit 7 clear.
    EXPECT_EQ(board::controlRegister(), ZARN_CTRL_ACT6_ENABLE | (1u << 9) | (1u << 5));
    EXPECT_DOUBLE_EQ(ZarnTssFilter(1).minSpeed, 60.0);
    EXPECT_DOUBLE_EQ(ZarnTssFilter(1).tsTau1, 0.01);
    EXPECT_DOUBLE_EQ(ZarnTssFilter(1).derivScale, 100.0);

    stZarnTssData[1].inputOption = 1;
    ConfigZarnTss(1);
    EXPECT_EQ(board::controlRegister(), ZARN_CTRL_ACT6_ENABLE | (1u << 9));
    stZarnTssData[1].inputMode = 2;
    ConfigZarnTss(1);
    EXPECT_EQ(board::controlRegister(), ZARN_CTRL_ACT6_ENABLE | (1u << 9) | (1u << 7));
    stZarnTssData[1].inputMode = 3;  // changes no bit
    ConfigZarnTss(1);
    EXPECT_EQ(board::controlRegister(), ZARN_CTRL_ACT6_ENABLE | (1u << 9) | (1u << 7));

    SetOpenWireTest(1, 1);
    EXPECT_EQ(board::controlRegister() & (1u << 9), 0u);
    SetOpenWireTest(1, 5);
    EXPECT_NE(board::controlRegister() & (1u << 9), 0u);

    // Channels other than 0 and 1 do nothing.
    const auto writes = board::writeLog().size();
    InitZarnTss(2);
    ConfigZarnTss(-1);
    FilterZarnTss(2);
    RunZarnTss(7);
    ReadToothCount(2);
    SetZarnProxVThresh(2, 10.0);
    EXPECT_EQ(ReadZarnSpeedPhase(2), 0.0);
    EXPECT_EQ(board::writeLog().size(), writes);
}

TEST_F(TssDriver, SlewLimitBounds) {
    setUp(0, 2000.0f, 1, 0.5f);
    EXPECT_DOUBLE_EQ(ZarnTssFilter(0).slewLimit, 2000.0 * 1e-6);
    stZarnTssData[0].slewPct = 20000.0f;
    ConfigZarnTss(0);
    EXPECT_DOUBLE_EQ(ZarnTssFilter(0).slewLimit, 2000.0 * 0.01);
    stZarnTssData[0].slewPct = 100.0f;
    ConfigZarnTss(0);
    EXPECT_DOUBLE_EQ(ZarnTssFilter(0).slewLimit, 2000.0 * 100.0 * 1e-6);
}

// n = trunc(log2(MinSpeed / signal)); the bound is MinSpeed >> n.
TEST_F(TssDriver, DecayBoundLogAndShiftCorners) {
    auto count = [](double hz) { return static_cast<uint32_t>(kHz / hz); };
    // Signal below MinSpeed: a bound between the signal and twice the signal.
    EXPECT_DOUBLE_EQ(ZarnTssDecayBound(100.0, count(30.0)), 50.0);   // log2 3.33 -> 1
    EXPECT_DOUBLE_EQ(ZarnTssDecayBound(100.0, count(12.0)), 12.5);   // log2 8.33 -> 3
    // Between MinSpeed and twice MinSpeed: log2 in (-1, 0] truncates to 0.
    EXPECT_DOUBLE_EQ(ZarnTssDecayBound(100.0, count(150.0)), 100.0);
    EXPECT_DOUBLE_EQ(ZarnTssDecayBound(100.0, count(100.0)), 100.0);
    // Above twice MinSpeed the shift is negative: no bound.
    EXPECT_TRUE(std::isinf(ZarnTssDecayBound(100.0, count(250.0))));
    // MinSpeed 0 (not configured yet) and a zero count: no bound.
    EXPECT_TRUE(std::isinf(ZarnTssDecayBound(0.0, count(30.0))));
    EXPECT_TRUE(std::isinf(ZarnTssDecayBound(100.0, 0)));
    // A shift of 31 stays a positive divisor; 32 and more leave no bound.
    const double slowest = kHz / 4294967295.0;
    const double m31 = slowest * std::ldexp(1.0, 31) * 1.5;
    const double d31 = ZarnTssDecayBound(m31, 0xFFFFFFFFu);
    EXPECT_GT(d31, 0.0);
    EXPECT_DOUBLE_EQ(d31, m31 / std::ldexp(1.0, 31));
    EXPECT_TRUE(std::isinf(ZarnTssDecayBound(slowest * std::ldexp(1.0, 32) * 1.5, 0xFFFFFFFFu)));
}

TEST_F(TssDriver, FilterSlewsAndHoldsAtTheBound) {
    // 1000 Hz with one tooth per measurement; slew limit 0.1 Hz per sample.
    setUp(0, 1000.0f, 1);
    stZarnTssData[0].status = 0;
    pokeSamples(0, 64000);
    pokePeriods(0, 64000, 100);
    FilterZarnTss(0);
    // From rest every sample is slew-limited: 50 samples of 0.1 Hz.
    EXPECT_NEAR(ZarnTssFilter(0).lastY1, 5.0, 1e-9);
    for (int i = 0; i < 400; ++i) FilterZarnTss(0);
    EXPECT_NEAR(ZarnTssFilter(0).lastY2, 1000.0, 0.5);

    // Every count below 640 is no pulse: x = 64e6 / 4294967295 and the
    // filter decays by the slew limit per sample.
    const double y1 = ZarnTssFilter(0).lastY1;
    pokeSamples(0, 639);
    FilterZarnTss(0);
    EXPECT_DOUBLE_EQ(ZarnTssFilter(0).lastX1, kHz / 4294967295.0);
    EXPECT_NEAR(ZarnTssFilter(0).lastY1, y1 - 5.0, 1e-9);

    // Below-minimum flag set, signal between MinSpeed (20 Hz) and twice it:
    // samples are held at MinSpeed.
    stZarnTssData[0].status = ZARN_TSS_BELOW_MIN;
    pokeSamples(0, static_cast<uint32_t>(kHz / 30.0));
    pokePeriods(0, static_cast<uint32_t>(kHz / 30.0), 100);
    FilterZarnTss(0);
    EXPECT_DOUBLE_EQ(ZarnTssFilter(0).lastX1, 20.0);
    // Above 38500 Hz the sample is clamped.
    stZarnTssData[0].status = 0;
    stZarnTssData[0].teethPerMeasure = 7;
    pokeSamples(0, 640);
    FilterZarnTss(0);
    EXPECT_DOUBLE_EQ(ZarnTssFilter(0).lastX1, 38500.0);
}

TEST_F(TssDriver, RunStatusRulesAndTableIndex) {
    setUp(0, 500.0f, 1);  // MinSpeed 10 Hz
    // Both periods fast: both flags clear.
    pokePeriods(0, 64000, 32000);
    RunZarnTss(0);
    EXPECT_EQ(stZarnTssData[0].status, 0u);
    // Period B at exactly MinSpeed with A fast: the below-minimum flag stays.
    stZarnTssData[0].status = ZARN_TSS_BELOW_MIN | ZARN_TSS_NO_SIGNAL;
    pokePeriods(0, 64000, 6400000);
    RunZarnTss(0);
    EXPECT_EQ(stZarnTssData[0].status, ZARN_TSS_BELOW_MIN);
    // B slow (5 Hz): below minimum, but above the absolute minimum.
    pokePeriods(0, 64000, 12800000);
    RunZarnTss(0);
    EXPECT_EQ(stZarnTssData[0].status, ZARN_TSS_BELOW_MIN);
    // 0.01 Hz is below the absolute minimum of one tooth (0.02 Hz).
    pokePeriods(0, 64000, 0xFFFFFFFFu);
    RunZarnTss(0);
    EXPECT_EQ(stZarnTssData[0].status, ZARN_TSS_BELOW_MIN | ZARN_TSS_NO_SIGNAL);

    // Teeth per measurement beyond the table's eight entries uses its last
    // entry (0.11 Hz): 0.1 Hz is no usable signal.
    stZarnTssData[0].status = ZARN_TSS_BELOW_MIN;
    stZarnTssData[0].teethPerMeasure = 300;
    pokePeriods(0, 64000, 640000000);
    RunZarnTss(0);
    EXPECT_EQ(stZarnTssData[0].status, ZARN_TSS_BELOW_MIN | ZARN_TSS_NO_SIGNAL);
    // A negative count uses the first entry (0.0): the signal is usable.
    stZarnTssData[0].teethPerMeasure = -5;
    RunZarnTss(0);
    EXPECT_EQ(stZarnTssData[0].status, ZARN_TSS_BELOW_MIN);
}

TEST_F(TssDriver, PhaseToothCountThresholdAndVoltages) {
    // count / 64e6 = 4 / 4096 exactly; at 1024 Hz that is 360 degrees.
    stZarnTssData[0].speed = 1024.0f;
    board::poke32(ZARN_TSS_PHASE, 62500);
    EXPECT_EQ(ReadZarnSpeedPhase(0), 360.0);
    board::poke32(ZARN_TSS_PHASE, 62674);  // 361 degrees
    EXPECT_EQ(ReadZarnSpeedPhase(0), 0.0);
    board::poke32(ZARN_TSS_PHASE, 15625);
    EXPECT_EQ(ReadZarnSpeedPhase(0), 90.0);

    board::poke16(reg(ZARN_TSS_TOOTH_COUNT0, 1), 4711);
    ReadToothCount(1);
    EXPECT_EQ(stZarnTssData[1].toothCount, 4711);

    SetZarnProxVThresh(0, 3.9);
    EXPECT_EQ(board::peek16(ZARN_TSS_THRESH_VALUE0), 699u);
    SetZarnProxVThresh(0, 25.0);
    EXPECT_EQ(board::peek16(ZARN_TSS_THRESH_VALUE0), 3497u);
    SetZarnProxVThresh(1, 12.0);
    EXPECT_EQ(board::peek16(ZARN_TSS_THRESH_VALUE0 + ZARN_TSS_THRESH_STRIDE), 2098u);

    // Probe voltage: input (select) 1 of monitor 0, code 1000 -> 15 V.
    board::setSensorMonitorCode(0, 1, 1000);
    float v = 0;
    EXPECT_EQ(ReadZarnProxVolts(0, 1, &v), 0);
    EXPECT_FLOAT_EQ(v, 15.0f);
    // Sensor supply: input 2; 400 * 0.0175 = 7.0 V is an open wire.
    board::setSensorMonitorCode(1, 2, 400);
    ReadOpenWire(1);
    EXPECT_EQ(stZarnTssData[1].openWire, 1u);
    board::setSensorMonitorCode(1, 2, 390);
    ReadOpenWire(1);
    EXPECT_EQ(stZarnTssData[1].openWire, 0u);

    board::failChip(board::Chip::ADT1018, true);
    testing::internal::CaptureStdout();
    EXPECT_EQ(ReadZarnProxVolts(0, 1, &v), 0);
    ReadZarnMpuPs(0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Voltage Monitor SPI error\nMPU Voltage Monitor SPI error\n");
}

// ---- the pulse-train model ---------------------------------------------------------

class TssModel : public ::testing::Test {
protected:
    void SetUp() override {
        hk::start(hk::ClockMode::Simulated);
        board::reset();
        speedsensor::install();
    }
    void TearDown() override { hk::shutdown(); }
};

TEST_F(TssModel, CountsFollowTheShaft) {
    // Standing still: no measurement, no edge.
    EXPECT_EQ(board::cpuRead32(ZARN_TSS_PERIOD_A0), 0xFFFFFFFFu);
    EXPECT_EQ(board::cpuRead32(ZARN_TSS_PERIOD_B0), 0xFFFFFFFFu);
    EXPECT_EQ(board::cpuRead32(ZARN_TSS_SAMPLES0), 0xFFFFFFFFu);

    // 3000 rpm, 60 teeth: 3000 Hz; two teeth per measurement.
    board::cpuWrite16(ZARN_TSS_TEETH0, 1);
    speedsensor::setShaftSpeed(0, 3000.0, 60);
    hk::runTicks(4);
    const double a = board::cpuRead32(ZARN_TSS_PERIOD_A0);
    EXPECT_NEAR(a, 2 * kHz / 3000.0, 1.0);
    EXPECT_LT(board::cpuRead32(ZARN_TSS_PERIOD_B0), a / 2 + 1);
    for (int i = 0; i < ZARN_TSS_SAMPLE_COUNT; ++i)
        EXPECT_NEAR(board::cpuRead32(ZARN_TSS_SAMPLES0 + 4u * static_cast<uint32_t>(i)), a, 1.0);
    // 20 ms at 3000 Hz: 60 teeth.
    EXPECT_NEAR(board::cpuRead16(ZARN_TSS_TOOTH_COUNT0), 60, 1);
    // Halves of a 32-bit register.
    const uint32_t whole = board::cpuRead32(ZARN_TSS_PERIOD_A0);
    EXPECT_EQ((uint32_t{board::cpuRead16(ZARN_TSS_PERIOD_A0)} << 16) | board::cpuRead16(ZARN_TSS_PERIOD_A0 + 2),
              whole);

    // A step to 1500 Hz shows in the samples taken after it.
    speedsensor::setToothFrequency(0, 1500.0);
    hk::runTicks(1);
    EXPECT_NEAR(board::cpuRead32(ZARN_TSS_SAMPLES0 + 4u * 49), 2 * kHz / 1500.0, 1.0);

    // A failed sensor: period A keeps its last measurement, B keeps growing.
    speedsensor::failSensor(0);
    hk::runTicks(20);
    EXPECT_NEAR(board::cpuRead32(ZARN_TSS_PERIOD_A0), 2 * kHz / 1500.0, 1.0);
    EXPECT_GT(board::cpuRead32(ZARN_TSS_PERIOD_B0), static_cast<uint32_t>(0.099 * kHz));
    EXPECT_EQ(speedsensor::toothFrequency(0), 0.0);

    // Phase: channel 1 at the same speed, lagging a quarter tooth.
    speedsensor::setToothFrequency(0, 1000.0);
    speedsensor::setToothFrequency(1, 1000.0);
    speedsensor::setPhaseDegrees(90.0);
    hk::runTicks(2);
    EXPECT_NEAR(board::cpuRead32(ZARN_TSS_PHASE), kHz / 1000.0 / 4.0, 2.0);
    // The teeth register reads back what was written.
    EXPECT_EQ(board::cpuRead16(ZARN_TSS_TEETH0), 1u);
}

}  // namespace
