// The speed-sensor sample registers as the CPU reads them one after the
// other: whatever changes on the board between two reads shows in the second
// one, and the watchdog's deadline is checked at each of them.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "drivers/zarn_regs.h"
#include "host/board.h"
#include "host/hostkernel.h"
#include "host/speed_sensor_model.h"
#include "host/vxworks.h"

namespace {

constexpr uint64_t kMs = 1'000'000;

uint32_t sampleRegister(int i) { return ZARN_TSS_SAMPLES0 + 4u * static_cast<uint32_t>(i); }

uint32_t readByHalves(uint32_t address) {
    return (static_cast<uint32_t>(board::cpuRead16(address)) << 16) | board::cpuRead16(address + 2);
}

class SpeedSamples : public ::testing::Test {
protected:
    void SetUp() override {
        board::reset();
        speedsensor::install();
        hk::start(hk::ClockMode::Simulated);
    }
    void TearDown() override { hk::shutdown(); }
};

struct ChangeCase {
    const char* name;
    std::function<void()> before;   // set-up, before the reads
    std::function<void()> between;  // inside the reading task, between the reads
};

const ChangeCase kChangeCases[] = {
    {"SpeedChangedEarlierInTheTick", [] { speedsensor::setToothFrequency(0, 1000.0); },
     [] { speedsensor::setToothFrequencyAt(0, 18 * kMs, 3000.0); }},
    {"TeethPerMeasureWritten", [] { speedsensor::setToothFrequency(0, 1000.0); },
     [] { board::cpuWrite16(ZARN_TSS_TEETH0, 3); }},
    {"ModelInstalledAgain", [] { speedsensor::setToothFrequency(0, 1000.0); }, [] { speedsensor::install(); }},
    {"NextTick",
     [] {
         speedsensor::setToothFrequency(0, 1000.0);
         speedsensor::setToothFrequencyAt(0, 22 * kMs + kMs / 2, 4000.0);
     },
     [] { taskDelay(1); }},
};

class SampleChange : public SpeedSamples, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(SampleChange, ShowsInTheNextRead) {
    GetParam().before();
    hk::runTicks(4);
    uint32_t latestBefore = 0, latestAfter = 0, latestByHalves = 0;
    uint64_t readAt = 0;
    hk::runTask([&] {
        readAt = hk::nowNs();
        board::cpuRead32(sampleRegister(0));
        latestBefore = board::cpuRead32(sampleRegister(ZARN_TSS_SAMPLE_COUNT - 1));
        GetParam().between();
        latestAfter = board::cpuRead32(sampleRegister(ZARN_TSS_SAMPLE_COUNT - 1));
        latestByHalves = readByHalves(sampleRegister(ZARN_TSS_SAMPLE_COUNT - 1));
    });
    ASSERT_EQ(readAt, 20 * kMs);
    EXPECT_NE(latestAfter, latestBefore);
    EXPECT_EQ(latestAfter, latestByHalves);
}

INSTANTIATE_TEST_SUITE_P(Cases, SampleChange, ::testing::ValuesIn(kChangeCases),
                         [](const ::testing::TestParamInfo<ChangeCase>& info) { return std::string(info.param.name); });

// 1000 teeth per second (an edge every 1 ms), from 18 ms on 2000 (every
// 0.5 ms), in some cases stopped at 19.2 ms; read in the tick at 20 ms, the
// samples stand 0.1 ms apart from 15.1 ms to 20 ms and show the last tooth
// interval.
struct InstantCase {
    const char* name;
    int sample;
    uint32_t counts;  // 64 MHz
    bool stops;
};

const InstantCase kInstantCases[] = {
    {"Oldest", 0, 64000, false},
    {"JustBeforeTheFirstFasterEdge", 33, 64000, false},
    {"JustAfterTheFirstFasterEdge", 35, 32000, false},
    {"OneBeforeTheLatest", 48, 32000, false},
    {"OldestOfAWheelStoppedSince", 0, 64000, true},
    {"LatestOfAWheelStoppedSince", 49, 32000, true},
};

class SampleInstant : public SpeedSamples, public ::testing::WithParamInterface<InstantCase> {};

TEST_P(SampleInstant, ShowsThePeriodAtItsInstant) {
    speedsensor::setToothFrequency(0, 1000.0);
    speedsensor::setToothFrequencyAt(0, 18 * kMs, 2000.0);
    if (GetParam().stops) speedsensor::setToothFrequencyAt(0, 19 * kMs + kMs / 5, 0.0);
    hk::runTicks(4);
    uint32_t counts[ZARN_TSS_SAMPLE_COUNT] = {};
    hk::runTask([&] {
        for (int i = 0; i < ZARN_TSS_SAMPLE_COUNT; ++i) counts[i] = board::cpuRead32(sampleRegister(i));
    });
    EXPECT_NEAR(counts[GetParam().sample], GetParam().counts, 1.0);
}

INSTANTIATE_TEST_SUITE_P(Cases, SampleInstant, ::testing::ValuesIn(kInstantCases),
                         [](const ::testing::TestParamInfo<InstantCase>& info) { return std::string(info.param.name); });

// One register read after another, with the watchdog switched on at the
// first read and a time-out of 2 ms.
struct DeadlineCase {
    const char* name;
    uint64_t cpuBetweenNs;
    bool timedOutBySecondRead;
};

const DeadlineCase kDeadlineCases[] = {
    {"JustBeforeTheDeadline", 2 * kMs - 1, false},
    {"AtTheDeadline", 2 * kMs, false},
    {"JustPastTheDeadline", 2 * kMs + 1, true},
};

class SampleDeadline : public SpeedSamples, public ::testing::WithParamInterface<DeadlineCase> {};

TEST_P(SampleDeadline, WatchdogCheckedAtEachRead) {
    speedsensor::setToothFrequency(0, 1000.0);
    board::setWatchdogTimeoutNs(2 * kMs);
    hk::runTicks(4);
    bool timedOutLater = true;
    hk::runTask([&] {
        board::cpuWrite16(ZARN_WDOG_ENABLE, 1);
        board::cpuRead32(sampleRegister(0));
        hk::consumeCpu(GetParam().cpuBetweenNs);
        board::cpuRead32(sampleRegister(1));
        timedOutLater = board::poll();
    });
    EXPECT_FALSE(timedOutLater);
    EXPECT_EQ((board::cpuRequestStatus() & ZARN_INTR_WDOG_TIMEOUT) != 0, GetParam().timedOutBySecondRead);
}

INSTANTIATE_TEST_SUITE_P(Cases, SampleDeadline, ::testing::ValuesIn(kDeadlineCases),
                         [](const ::testing::TestParamInfo<DeadlineCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
