// The speed-sensor pulse-train model as the CPU reads its registers.
#include "tests/host_board/speed_fixture.h"

namespace {

using speedtest::reg;

using SpeedModel = speedtest::SpeedSensorTest;

TEST_F(SpeedModel, RegistersOfAChannelTurningAtOneKilohertz) {
    for (int ch : {0, 1}) {
        SCOPED_TRACE(ch);
        EXPECT_EQ(board::cpuRead32(reg(ZARN_TSS_PERIOD_A0, ch)), 0xFFFFFFFFu);  // no measurement yet
        EXPECT_EQ(board::cpuRead16(reg(ZARN_TSS_TOOTH_COUNT0, ch)), 0u);
        EXPECT_EQ(speedsensor::toothFrequency(ch), 0.0);
    }
    board::cpuWrite16(reg(ZARN_TSS_TEETH0, 1), 3);  // four teeth per measurement on channel 1
    speedsensor::setToothFrequency(0, 1000.0);
    speedsensor::setToothFrequency(1, 1000.0);
    hk::runTicks(4);  // 20 ms
    EXPECT_EQ(speedsensor::toothFrequency(0), 1000.0);
    for (int ch : {0, 1}) {
        SCOPED_TRACE(ch);
        // Edges every 1 ms from the change: the 20th falls on this read.
        const uint64_t edges = speedsensor::edges(ch);
        EXPECT_EQ(edges, 20u);
        EXPECT_EQ(board::cpuRead16(reg(ZARN_TSS_TOOTH_COUNT0, ch)), edges);
        EXPECT_EQ(board::cpuRead32(reg(ZARN_TSS_PERIOD_A0, ch)), ch == 0 ? 64000u : 256000u);
        EXPECT_EQ(board::cpuRead32(reg(ZARN_TSS_PERIOD_B0, ch)), 0u);
        for (int i = 0; i < ZARN_TSS_SAMPLE_COUNT; ++i)
            EXPECT_EQ(board::cpuRead32(reg(ZARN_TSS_SAMPLES0, ch) + 4u * static_cast<uint32_t>(i)), ch == 0 ? 64000u : 256000u) << i;
    }
    // In phase: the channel 1 edge that falls on this read is the next one after
    // the channel 0 edge a tooth before.
    EXPECT_EQ(board::cpuRead32(ZARN_TSS_PHASE), 64000u);
    // A failed sensor: period A keeps the last measurement while period B grows.
    speedsensor::failSensor(0);
    const uint64_t edges = speedsensor::edges(0);
    hk::runTicks(2);
    EXPECT_EQ(speedsensor::edges(0), edges);
    EXPECT_EQ(board::cpuRead32(reg(ZARN_TSS_PERIOD_A0, 0)), 64000u);
    EXPECT_GE(board::cpuRead32(reg(ZARN_TSS_PERIOD_B0, 0)), 640000u);  // at least 10 ms
    EXPECT_EQ(board::cpuRead32(reg(ZARN_TSS_PERIOD_A0, 1)), 256000u);
}

TEST_F(SpeedModel, ShaftSpeedGearAndTeethMakeTheToothFrequency) {
    speedsensor::setShaftSpeed(0, 3000.0, 60);       // 3000 Hz
    speedsensor::setShaftSpeed(1, 3000.0, 30, 2.0);  // 3000 Hz through a 2:1 gear
    EXPECT_DOUBLE_EQ(speedsensor::toothFrequency(0), 3000.0);
    EXPECT_DOUBLE_EQ(speedsensor::toothFrequency(1), 3000.0);
    speedsensor::setShaftSpeedAt(1, 10 * hk::kTickNs, 1500.0, 30, 2.0);
    hk::runTicks(9);
    EXPECT_DOUBLE_EQ(speedsensor::toothFrequency(1), 3000.0);
    hk::runTicks(1);
    EXPECT_DOUBLE_EQ(speedsensor::toothFrequency(1), 1500.0);
    // Channel 1 a quarter tooth behind channel 0: 90 degrees of a 3000 Hz tooth.
    speedsensor::setShaftSpeed(1, 3000.0, 30, 2.0);
    speedsensor::setPhaseDegrees(90.0);
    hk::runTicks(2);
    const uint32_t phase = board::cpuRead32(ZARN_TSS_PHASE);
    EXPECT_NEAR(phase, 64e6 / 3000.0 / 4.0, 2.0);
}

// The phase counts from where both wheels stand when it is set, also when
// channel 0 stands part way between two teeth then.
TEST_F(SpeedModel, PhaseCountsFromWhereTheWheelsStandWhenItIsSet) {
    const struct {
        double degrees, hz;
        int ticksBefore;
    } rows[] = {{90.0, 3000.0, 10}, {90.0, 3050.0, 1}, {270.0, 3050.0, 3}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.hz);
        hk::shutdown();
        hk::start(hk::ClockMode::Simulated);
        board::reset();
        speedsensor::install();
        speedsensor::setToothFrequency(0, r.hz);
        speedsensor::setToothFrequency(1, r.hz);
        hk::runTicks(r.ticksBefore);
        speedsensor::setPhaseDegrees(r.degrees);
        hk::runTicks(2);
        EXPECT_NEAR(board::cpuRead32(ZARN_TSS_PHASE), 64e6 / r.hz * r.degrees / 360.0, 2.0);
    }
}

}  // namespace
