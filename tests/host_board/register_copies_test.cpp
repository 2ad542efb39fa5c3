// Registers the CPU reads one after the other, which the board answers from
// a copy made at the first read: the discrete-input samples and the
// speed-sensor periods. Whatever changes between two reads (on the board, by
// the CPU, or with time) shows in the second one.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <string>

#include "drivers/zarn_regs.h"
#include "host/board.h"
#include "host/hostkernel.h"
#include "host/speed_sensor_model.h"
#include "host/vxworks.h"

namespace {

constexpr uint64_t kMs = 1'000'000;

using DinWords = std::array<uint16_t, 10>;  // samples k = 0..4, words 0 and 1 of each

DinWords readDinSamples() {
    DinWords w{};
    for (int k = 0; k < 5; ++k)
        for (int word = 0; word < 2; ++word)
            w[static_cast<size_t>(2 * k + word)] = board::cpuRead16(zarnDinSampleReg(k, word));
    return w;
}

// The same, after a hold of the board's lock, so that nothing is answered
// from a copy made before.
DinWords readDinSamplesAfresh() {
    board::peek16(ZARN_CTRL);
    return readDinSamples();
}

class RegisterCopies : public ::testing::Test {
protected:
    void SetUp() override {
        board::reset();
        speedsensor::install();
        hk::start(hk::ClockMode::Simulated);
    }
    void TearDown() override {
        hk::shutdown();
        board::reset();
    }
};

// Inputs 0x0000_0001 from the start; the relay readbacks wired, relays 0
// and 2 driven, outputs released. Read at 20 ms.
struct DinChangeCase {
    const char* name;
    std::function<void()> before;   // set-up, before the reads
    std::function<void()> between;  // inside the reading task, between the two rounds of reads
    bool changes;                   // the second round differs from the first
};

void nothing() {}
// Inputs 0x0002_0003 from 20.5 ms.
void laterChange() { board::setDiscreteInputsAt(20 * kMs + kMs / 2, 0x00020003u); }

const DinChangeCase kDinChangeCases[] = {
    {"Nothing", laterChange, nothing, false},
    {"InputsSetByTheModel", nothing, [] { board::setDiscreteInputs(0x00100001u); }, true},
    {"RelayWrittenByTheCpu", nothing, [] { board::cpuWrite16(ZARN_RELAYS, 0x1); }, true},
    {"OutputsLockedByTheCpu", nothing, [] { board::cpuWrite16(ZARN_CTRL, 0); }, true},
    {"ReadbackStuck", nothing, [] { board::setRelayReadbackStuck(1, 1); }, true},
    {"JustBeforeTheNextMillisecond", laterChange, [] { hk::consumeCpu(kMs - 1); }, false},
    {"AtTheNextMillisecond", laterChange, [] { hk::consumeCpu(kMs); }, true},
    {"NextTick", laterChange, [] { taskDelay(1); }, true},
};

class DinSampleChange : public RegisterCopies, public ::testing::WithParamInterface<DinChangeCase> {};

TEST_P(DinSampleChange, ShowsInTheNextRead) {
    board::wireRelayReadbacks(true);
    board::setDiscreteInputs(0x00000001u);
    GetParam().before();
    hk::runTicks(4);
    DinWords before{}, after{}, afresh{};
    uint64_t readAt = 0;
    hk::runTask([&] {
        board::cpuWrite16(ZARN_RELAYS, 0x5);
        board::cpuWrite16(ZARN_CTRL, ZARN_CTRL_OUTPUTS_RELEASED);
        readAt = hk::nowNs();
        before = readDinSamples();
        GetParam().between();
        after = readDinSamples();
        afresh = readDinSamplesAfresh();
    });
    ASSERT_EQ(readAt, 20 * kMs);
    // Sample 0 at 20 ms: input 0, readbacks of relays 0 and 2 (inputs 24, 26).
    EXPECT_EQ(before[0], 0x0001u);
    EXPECT_EQ(before[1], 0x0500u);
    EXPECT_EQ(after, afresh);
    EXPECT_EQ(after != before, GetParam().changes);
}

INSTANTIATE_TEST_SUITE_P(Cases, DinSampleChange, ::testing::ValuesIn(kDinChangeCases),
                         [](const ::testing::TestParamInfo<DinChangeCase>& info) { return std::string(info.param.name); });

// The discrete-input samples and the watchdog's deadline, as for every other
// register: a time-out of 2 ms, switched on just before the first read.
TEST_F(RegisterCopies, DinSamplesCheckTheWatchdogAtEachRead) {
    const struct {
        const char* name;
        uint64_t cpuBetweenNs;
        bool timedOut;
    } rows[] = {
        {"at the deadline", 2 * kMs, false},
        {"just past the deadline", 2 * kMs + 1, true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        board::reset();
        board::setWatchdogTimeoutNs(2 * kMs);
        hk::runTicks(1);
        hk::runTask([&] {
            board::cpuWrite16(ZARN_WDOG_ENABLE, 1);
            board::cpuRead16(zarnDinSampleReg(0, 0));
            hk::consumeCpu(r.cpuBetweenNs);
            board::cpuRead16(zarnDinSampleReg(0, 1));
        });
        EXPECT_EQ((board::cpuRequestStatus() & ZARN_INTR_WDOG_TIMEOUT) != 0, r.timedOut);
    }
}

// Period A and B of channel 0 read whole, then again after `between`, and
// by halves. 1000 teeth per second; read in the tick at 20 ms.
struct PeriodChangeCase {
    const char* name;
    std::function<void()> between;
    bool periodAChanges, periodBChanges;
};

const PeriodChangeCase kPeriodChangeCases[] = {
    {"Nothing", [] {}, false, false},
    {"SpeedChangedEarlierInTheTick", [] { speedsensor::setToothFrequencyAt(0, 18 * kMs + kMs / 4, 3000.0); }, true,
     true},
    {"TeethPerMeasureWritten", [] { board::cpuWrite16(ZARN_TSS_TEETH0, 3); }, true, false},
    {"PhaseShifted", [] { speedsensor::setPhaseDegrees(90.0); }, false, false},
    {"AMicrosecondLater", [] { hk::consumeCpu(1000); }, false, true},
};

class PeriodChange : public RegisterCopies, public ::testing::WithParamInterface<PeriodChangeCase> {};

uint32_t readByHalves(uint32_t address) {
    return (static_cast<uint32_t>(board::cpuRead16(address)) << 16) | board::cpuRead16(address + 2);
}

TEST_P(PeriodChange, ShowsInTheNextRead) {
    speedsensor::setToothFrequency(0, 1000.0);
    hk::runTicks(4);
    uint32_t aBefore = 0, bBefore = 0, aAfter = 0, bAfter = 0, aAgain = 0, aHalves = 0, bHalves = 0;
    hk::runTask([&] {
        aBefore = board::cpuRead32(ZARN_TSS_PERIOD_A0);
        bBefore = board::cpuRead32(ZARN_TSS_PERIOD_B0);
        GetParam().between();
        aAfter = board::cpuRead32(ZARN_TSS_PERIOD_A0);
        aAgain = board::cpuRead32(ZARN_TSS_PERIOD_A0);
        bAfter = board::cpuRead32(ZARN_TSS_PERIOD_B0);
        aHalves = readByHalves(ZARN_TSS_PERIOD_A0);
        bHalves = readByHalves(ZARN_TSS_PERIOD_B0);
    });
    // An edge every 1 ms, the last one at 20 ms.
    EXPECT_EQ(aBefore, 64000u);
    EXPECT_EQ(bBefore, 0u);
    EXPECT_EQ(aAfter != aBefore, GetParam().periodAChanges);
    EXPECT_EQ(bAfter != bBefore, GetParam().periodBChanges);
    EXPECT_EQ(aAgain, aAfter);
    EXPECT_EQ(aHalves, aAfter);
    EXPECT_EQ(bHalves, bAfter);
}

INSTANTIATE_TEST_SUITE_P(Cases, PeriodChange, ::testing::ValuesIn(kPeriodChangeCases),
                         [](const ::testing::TestParamInfo<PeriodChangeCase>& info) {
                             return std::string(info.param.name);
                         });

// A read behaviour that publishes what a run of 32-bit registers reads as:
// every slot, and up to the largest copy, answers the rest of the run
// without coming back; a slot or a length beyond them is refused.
TEST_F(RegisterCopies, PublishedCopiesByTheirSlotAndLength) {
    constexpr uint32_t kFirst = 0x8080E000;
    static int calls;
    static int slot;
    static size_t count;
    const struct {
        int slot;
        size_t count;
        bool taken;
    } rows[] = {
        {0, board::kPublishedMax, true},
        {board::kPublishedSlots - 1, board::kPublishedMax, true},
        {board::kPublishedSlots - 1, board::kPublishedMax + 1, false},
        {board::kPublishedSlots, 4, false},
        {-1, 4, false},
    };
    board::attach(kFirst, kFirst + 4 * (board::kPublishedMax + 1) - 2,
                  board::Behaviour{[](uint32_t a, int, uint32_t) -> uint32_t {
                                       ++calls;
                                       uint32_t values[board::kPublishedMax + 1];
                                       for (size_t i = 0; i < count; ++i) values[i] = 1000 + static_cast<uint32_t>(i);
                                       board::publishReads(slot, kFirst, values, count, 0, ~uint64_t{0});
                                       return 1000 + (a - kFirst) / 4;
                                   },
                                   nullptr});
    for (const auto& r : rows) {
        SCOPED_TRACE(std::to_string(r.slot) + " " + std::to_string(r.count));
        slot = r.slot;
        count = r.count;
        calls = 0;
        board::peek16(ZARN_CTRL);  // no copy from before
        const size_t reads = std::min(r.count, board::kPublishedMax);
        for (size_t i = 0; i < reads; ++i)
            EXPECT_EQ(board::cpuRead32(kFirst + 4 * static_cast<uint32_t>(i)), 1000 + i) << i;
        EXPECT_EQ(calls, r.taken ? 1 : static_cast<int>(reads));
    }
    board::attach(kFirst, kFirst + 4 * (board::kPublishedMax + 1) - 2, board::Behaviour{});
}

// The first sample register read in a tick may be any of them: read first,
// sample 40 (at 19.1 ms, after the speed rose at 18 ms) shows what it shows
// read after another.
TEST_F(RegisterCopies, AnySampleMayBeReadFirst) {
    speedsensor::setToothFrequency(0, 1000.0);
    speedsensor::setToothFrequencyAt(0, 18 * kMs, 2000.0);
    hk::runTicks(4);
    const uint32_t sample40 = ZARN_TSS_SAMPLES0 + 4u * 40;
    uint32_t first = 0, oldest = 0, again = 0;
    hk::runTask([&] {
        first = board::cpuRead32(sample40);
        board::peek16(ZARN_CTRL);  // no copy from before
        oldest = board::cpuRead32(ZARN_TSS_SAMPLES0);
        again = board::cpuRead32(sample40);
    });
    EXPECT_EQ(oldest, 64000u);
    EXPECT_EQ(first, 32000u);
    EXPECT_EQ(again, first);
}

// Both channels' periods, read in turn: each channel's copy holds its own.
TEST_F(RegisterCopies, EachChannelsPeriodsAreItsOwn) {
    speedsensor::setToothFrequency(0, 1000.0);
    speedsensor::setToothFrequency(1, 2000.0);
    hk::runTicks(4);
    uint32_t a0 = 0, a1 = 0, b0 = 0, b1 = 0;
    hk::runTask([&] {
        a0 = board::cpuRead32(ZARN_TSS_PERIOD_A0);
        a1 = board::cpuRead32(ZARN_TSS_PERIOD_A0 + ZARN_TSS_STRIDE);
        a0 = board::cpuRead32(ZARN_TSS_PERIOD_A0);
        b1 = board::cpuRead32(ZARN_TSS_PERIOD_B0 + ZARN_TSS_STRIDE);
        b0 = board::cpuRead32(ZARN_TSS_PERIOD_B0);
    });
    EXPECT_EQ(a0, 64000u);
    EXPECT_EQ(a1, 32000u);
    EXPECT_EQ(b0, 0u);
    EXPECT_EQ(b1, 0u);
}

}  // namespace
