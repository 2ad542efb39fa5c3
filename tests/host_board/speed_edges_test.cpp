// The speed-sensor model at its edges: the first teeth of a measurement,
// a measurement that spans many speed changes, and channels that do not
// exist.
#include "tests/host_board/speed_fixture.h"

namespace {

constexpr uint32_t kNoCount = 0xFFFFFFFFu;

using speedtest::reg;

using SpeedEdges = speedtest::SpeedSensorTest;

// 250 teeth per second (an edge every 4 ms), read every 5 ms: period A needs
// one edge more than its teeth per measurement (1 on channel 0, 2 on
// channel 1), period B needs one edge.
TEST_F(SpeedEdges, FirstEdgesOfAMeasurement) {
    board::cpuWrite16(reg(ZARN_TSS_TEETH0, 1), 1);
    speedsensor::setToothFrequency(0, 250.0);
    speedsensor::setToothFrequency(1, 250.0);
    const struct {
        uint32_t edges;
        uint32_t periodA[2], periodB;
    } rows[] = {
        {0, {kNoCount, kNoCount}, kNoCount},
        {1, {kNoCount, kNoCount}, 64000},   // 1 ms after the edge at 4 ms
        {2, {256000, kNoCount}, 128000},    // edges at 4 and 8 ms
        {3, {256000, 512000}, 192000},      // edges at 4, 8 and 12 ms
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.edges);
        for (int ch : {0, 1}) {
            EXPECT_EQ(board::cpuRead16(reg(ZARN_TSS_TOOTH_COUNT0, ch)), r.edges) << ch;
            EXPECT_NEAR(board::cpuRead32(reg(ZARN_TSS_PERIOD_A0, ch)), r.periodA[ch], 1.0) << ch;
            EXPECT_NEAR(board::cpuRead32(reg(ZARN_TSS_PERIOD_B0, ch)), r.periodB, 1.0) << ch;
        }
        hk::runTicks(1);
    }
}

// Ten teeth per measurement at 500 teeth per second span 20 ms, longer than
// the history of the sample registers; a change of speed every tick meanwhile
// must not lose the measurement's first edge.
TEST_F(SpeedEdges, AMeasurementOverManySpeedChanges) {
    board::cpuWrite16(ZARN_TSS_TEETH0, 9);
    speedsensor::setToothFrequency(0, 1000.0);  // edges 1 .. 10 by 10 ms
    hk::runTicks(2);
    for (int i = 0; i < 5; ++i) {  // at 10, 15 .. 30 ms
        speedsensor::setToothFrequency(0, 500.0);
        hk::runTicks(1);
    }
    // 35 ms: edge 22 came at 34 ms, edge 12 at 14 ms.
    EXPECT_EQ(speedsensor::edges(0), 22u);
    EXPECT_NEAR(board::cpuRead32(ZARN_TSS_PERIOD_A0), 1280000.0, 1.0);
    EXPECT_NEAR(board::cpuRead32(ZARN_TSS_SAMPLES0 + 4u * (ZARN_TSS_SAMPLE_COUNT - 1)), 1280000.0, 1.0);
}

// Channels other than 0 and 1 do not exist: setting them changes nothing,
// asking them gives nothing.
TEST_F(SpeedEdges, OnlyChannelsZeroAndOne) {
    for (int ch : {-1, 2}) {
        speedsensor::setToothFrequency(ch, 1000.0);
        speedsensor::setShaftSpeed(ch, 3000.0, 60);
        speedsensor::failSensor(ch);
    }
    hk::runTicks(2);
    for (int ch : {-1, 0, 1, 2}) {
        SCOPED_TRACE(ch);
        EXPECT_EQ(speedsensor::toothFrequency(ch), 0.0);
        EXPECT_EQ(speedsensor::edges(ch), 0u);
    }
    speedsensor::setToothFrequency(1, 1000.0);
    hk::runTicks(1);
    EXPECT_EQ(speedsensor::toothFrequency(1), 1000.0);
    EXPECT_EQ(speedsensor::edges(1), 5u);
    EXPECT_EQ(speedsensor::edges(2), 0u);
    EXPECT_EQ(speedsensor::toothFrequency(2), 0.0);
    EXPECT_EQ(speedsensor::edges(0), 0u);
}

}  // namespace
