// The speed-sensor driver against raw FPGA registers (the pulse-train model
// detached).
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "drivers/ZarnTurbineSpeed.h"
#include "drivers/zarn_regs.h"
#include "host/board.h"
#include "host/chips.h"
#include "host/hostkernel.h"

namespace {

constexpr double kHz = 64e6;
constexpr double kNone = std::numeric_limits<double>::infinity();

uint32_t reg(uint32_t channel0Reg, int ch) { return channel0Reg + static_cast<uint32_t>(ch) * ZARN_TSS_STRIDE; }
void pokeSamples(int ch, uint32_t count) {
    for (int i = 0; i < ZARN_TSS_SAMPLE_COUNT; ++i)
        board::poke32(reg(ZARN_TSS_SAMPLES0, ch) + 4u * static_cast<uint32_t>(i), count);
}
void pokePeriods(int ch, uint32_t a, uint32_t b) {
    board::poke32(reg(ZARN_TSS_PERIOD_A0, ch), a);
    board::poke32(reg(ZARN_TSS_PERIOD_B0, ch), b);
}

class TssDriver : public ::testing::Test {
protected:
    void SetUp() override {
        hk::start(hk::ClockMode::Simulated);
        board::reset();
    }
    void TearDown() override { hk::shutdown(); }
    // Channel set-up as block initialisation and the speed logic leave it.
    static void setUpChannel(int ch, float maxFreq, int32_t teeth) {
        ZarnTssChannel& c = stZarnTssData[ch];
        c.tau1Ms = c.tau2Ms = 10;
        c.inputMode = 1;
        c.inputOption = 0;
        InitZarnTss(ch);
        c.maxFreq = maxFreq;
        c.teethPerMeasure = teeth;
        c.slewPct = 100.0f;
        ConfigZarnTss(ch);
    }
};

// n = trunc(log2(MinSpeed / signal)); the bound is MinSpeed >> n. The
// signal is the tooth frequency: the teeth of one measurement times 64 MHz
// over the count.
TEST_F(TssDriver, DecayBoundLogAndShiftCorners) {
    auto count = [](double hz) { return static_cast<uint32_t>(kHz / hz); };
    const double slowest = kHz / 4294967295.0, m31 = slowest * std::ldexp(1.0, 31) * 1.5;
    const struct { double minSpeed; int32_t teeth; uint32_t count; double bound; } rows[] = {
        {100.0, 1, count(30.0), 50.0},    // log2 3.33 -> 1: between the signal and twice it
        {100.0, 1, count(12.0), 12.5},    // log2 8.33 -> 3
        {100.0, 1, count(150.0), 100.0},  // log2 in (-1, 0] truncates to 0
        {100.0, 1, count(100.0), 100.0},
        {100.0, 1, count(250.0), kNone},  // above twice MinSpeed the shift is negative
        {100.0, 2, count(30.0), 100.0},   // two teeth: 60 Hz, log2 1.67 -> 0
        {100.0, 2, count(100.0), kNone},  // 200 Hz: not below MinSpeed
        {100.0, 4, count(6.0), 25.0},     // 24 Hz: log2 4.17 -> 2
        {0.0, 1, count(30.0), kNone},     // MinSpeed not configured yet
        {100.0, 1, 0, kNone},             // no count
        {m31, 1, 0xFFFFFFFFu, m31 / std::ldexp(1.0, 31)},  // a shift of 31 stays a positive divisor
        {slowest * std::ldexp(1.0, 32) * 1.5, 1, 0xFFFFFFFFu, kNone},  // 32 and more: no bound
    };
    for (const auto& r : rows)
        EXPECT_DOUBLE_EQ(ZarnTssDecayBound(r.minSpeed, r.teeth, r.count), r.bound) << r.minSpeed << " " << r.teeth;
}

TEST_F(TssDriver, FilterSlewsDecaysWithoutPulsesHoldsAndClamps) {
    setUpChannel(0, 1000.0f, 1);  // slew limit 0.1 Hz per sample
    stZarnTssData[0].status = 0;
    pokeSamples(0, 64000);  // 1000 Hz
    pokePeriods(0, 64000, 100);
    for (int i = 0; i < 401; ++i) FilterZarnTss(0);  // slew-limited from rest, then settled
    EXPECT_NEAR(ZarnTssFilter(0).lastY2, 1000.0, 0.5);
    // A count below 640 is no pulse: the slowest signal, decaying by the slew limit.
    const double y1 = ZarnTssFilter(0).lastY1;
    pokeSamples(0, 639);
    FilterZarnTss(0);
    EXPECT_DOUBLE_EQ(ZarnTssFilter(0).lastX1, kHz / 4294967295.0);
    EXPECT_NEAR(ZarnTssFilter(0).lastY1, y1 - 5.0, 1e-9);
    // Below minimum with the signal between MinSpeed (20 Hz) and twice it: held at MinSpeed.
    stZarnTssData[0].status = ZARN_TSS_BELOW_MIN;
    pokeSamples(0, static_cast<uint32_t>(kHz / 30.0));
    pokePeriods(0, static_cast<uint32_t>(kHz / 30.0), 100);
    FilterZarnTss(0);
    EXPECT_DOUBLE_EQ(ZarnTssFilter(0).lastX1, 20.0);
    stZarnTssData[0].status = 0;
    stZarnTssData[0].teethPerMeasure = 7;
    pokeSamples(0, 640);
    FilterZarnTss(0);
    EXPECT_DOUBLE_EQ(ZarnTssFilter(0).lastX1, 38500.0);  // clamped
}

// The filter against its steps worked one sample at a time: every value of
// the state bit for bit after each pass, through runs of equal samples while
// the state is still moving, once it has settled (standstill, a steady
// signal), and when one sample in a run differs.
TEST_F(TssDriver, FilterMatchesItsStepsSampleBySampleBitForBit) {
    setUpChannel(0, 1000.0f, 1);  // slew limit 0.1 Hz per sample
    stZarnTssData[0].status = 0;
    pokePeriods(0, 64000, 100);
    const ZarnTssFilterState cfg = ZarnTssFilter(0);
    // From wherever earlier passes left the state.
    double lastX1 = cfg.lastX1, lastY1 = cfg.lastY1, lastX3 = cfg.lastX3, lastY2 = cfg.lastY2, lastY3 = cfg.lastY3;
    auto step = [&](uint32_t count) {
        if (count < 640) count = 0xFFFFFFFFu;
        double x = std::min(1.0 * 64e6 / count, 38500.0);
        double d = cfg.tsTau1 * ((x + lastX1) / 2.0 - lastY1);
        if (std::fabs(d) > cfg.slewLimit) d = std::copysign(cfg.slewLimit, d);
        const double y1 = lastY1 + d;
        const double x3 = (lastY1 + y1) / 2.0 - lastY2;
        const double y2 = lastY2 + cfg.tsTau1 * x3;
        const double y3 = lastY3 + cfg.tsTau2 * ((x3 + lastX3) / 2.0 - lastY3);
        lastX1 = x, lastY1 = y1, lastX3 = x3, lastY2 = y2, lastY3 = y3;
    };
    auto bits = [](double v) { return std::bit_cast<uint64_t>(v); };
    auto pass = [&](const std::vector<uint32_t>& samples) {
        for (int i = 0; i < ZARN_TSS_SAMPLE_COUNT; ++i) {
            board::poke32(reg(ZARN_TSS_SAMPLES0, 0) + 4u * static_cast<uint32_t>(i), samples[static_cast<size_t>(i)]);
            step(samples[static_cast<size_t>(i)]);
        }
        FilterZarnTss(0);
        const ZarnTssFilterState f = ZarnTssFilter(0);
        return bits(f.lastX1) == bits(lastX1) && bits(f.lastY1) == bits(lastY1) && bits(f.lastX3) == bits(lastX3) &&
               bits(f.lastY2) == bits(lastY2) && bits(f.lastY3) == bits(lastY3);
    };
    auto run = [](uint32_t count, size_t n) { return std::vector<uint32_t>(n, count); };
    auto join = [](std::vector<uint32_t> a, const std::vector<uint32_t>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const struct {
        const char* name;
        std::vector<uint32_t> samples;
        int passes;
    } cases[] = {
        {"standstill, until settled", run(0xFFFFFFFFu, 50), 150},
        {"one other sample in a settled run", join(join(run(0xFFFFFFFFu, 20), run(64000, 1)), run(0xFFFFFFFFu, 29)), 3},
        {"a no-pulse count in a run of them", join(run(0xFFFFFFFFu, 25), run(639, 25)), 2},
        {"runs of two values while moving", join(join(run(64000, 10), run(32000, 10)), run(64000, 30)), 20},
        {"a steady signal, until settled", run(6400000, 50), 400},
        {"the last sample differs", join(run(6400000, 49), run(6400001, 1)), 2},
        {"back to the steady signal", run(6400000, 50), 100},
    };
    for (const auto& c : cases) {
        for (int p = 0; p < c.passes; ++p) ASSERT_TRUE(pass(c.samples)) << c.name << ", pass " << p;
    }
}

TEST_F(TssDriver, StatusRulesAndAbsoluteMinimumTableIndexClamp) {
    setUpChannel(0, 500.0f, 1);  // MinSpeed 10 Hz
    const uint32_t kNoSignal = ZARN_TSS_BELOW_MIN | ZARN_TSS_NO_SIGNAL;
    // Each row: teeth per measurement, period B, status after.
    const struct { int32_t teeth; uint32_t periodB; uint32_t status; } rows[] = {
        {1, 32000, 0},                    // fast: both flags clear
        {1, 6400000, ZARN_TSS_BELOW_MIN},  // exactly MinSpeed: below-minimum stays
        {1, 12800000, ZARN_TSS_BELOW_MIN},  // 5 Hz: above the absolute minimum of one tooth (0.02 Hz)
        {1, 0xFFFFFFFFu, kNoSignal},      // 0.01 Hz
        {2, 9600000, 0},                  // two teeth in 0.15 s: 13.3 Hz, above MinSpeed
        {2, 0xFFFFFFFFu, kNoSignal},      // two teeth: 0.0298 Hz, below their 0.03 Hz
        {2, 4000000000u, ZARN_TSS_BELOW_MIN},  // 0.032 Hz
        {8, 0xFFFFFFFFu, ZARN_TSS_BELOW_MIN},  // beyond the table: its last entry (0.11 Hz) < 0.119 Hz
        {-5, 640000000, kNoSignal},       // negative: the first entry (0.0) above -0.5 Hz
    };
    for (const auto& r : rows) {
        stZarnTssData[0].status = (r.status & ZARN_TSS_NO_SIGNAL) ? ZARN_TSS_BELOW_MIN : kNoSignal;  // the other way
        stZarnTssData[0].teethPerMeasure = r.teeth;
        pokePeriods(0, 64000, r.periodB);
        RunZarnTss(0);
        EXPECT_EQ(stZarnTssData[0].status, r.status) << r.teeth << " " << r.periodB;
    }
}

// A period at exactly the absolute minimum of one tooth (0.02 Hz) is not
// below it. Period B there leaves the no-signal flag as it was, below
// MinSpeed and above it; period A there does not set the flag, and period B
// above the minimum clears it.
TEST_F(TssDriver, AtExactlyTheAbsoluteMinimumTheNoSignalFlagIsLeftAsItWas) {
    const uint32_t kNoSignal = ZARN_TSS_BELOW_MIN | ZARN_TSS_NO_SIGNAL;
    constexpr uint32_t kAtMinimum = 3200000000u;  // 64e6 / 3.2e9 = 0.02 Hz
    const struct {
        const char* name;
        float maxFreq;
        uint32_t periodA, periodB;
        uint32_t before, after;
    } rows[] = {
        {"MinSpeed 0.01 Hz, both periods above it, flags set", 0.5f, 64000, kAtMinimum, kNoSignal, kNoSignal},
        {"MinSpeed 0.01 Hz, both periods above it, flags clear", 0.5f, 64000, kAtMinimum, 0, 0},
        {"MinSpeed 0.03 Hz, period B below it, flags set", 1.5f, 64000, kAtMinimum, kNoSignal, kNoSignal},
        {"MinSpeed 0.03 Hz, period B below it, no-signal clear", 1.5f, 64000, kAtMinimum, 0, ZARN_TSS_BELOW_MIN},
        {"MinSpeed 10 Hz, period A at the minimum, B at 5 Hz, flags set", 500.0f, kAtMinimum, 12800000, kNoSignal,
         ZARN_TSS_BELOW_MIN},
        {"MinSpeed 10 Hz, period A at the minimum, B at 5 Hz, flags clear", 500.0f, kAtMinimum, 12800000, 0,
         ZARN_TSS_BELOW_MIN},
    };
    for (const auto& r : rows) {
        setUpChannel(0, r.maxFreq, 1);
        stZarnTssData[0].status = r.before;
        pokePeriods(0, r.periodA, r.periodB);
        RunZarnTss(0);
        EXPECT_EQ(stZarnTssData[0].status, r.after) << r.name;
    }
}

// The absolute minimum comes from an eight-entry table by the teeth per
// measurement: a count above 7 takes the last entry (0.11 Hz), one below 0
// the first (0 Hz). Period B below MinSpeed (0.2 Hz), its tooth frequency
// just under the entry looked for and above its neighbour. Above 7 teeth
// the longest period is faster than the last entry, and a count below 1
// gives no positive frequency.
TEST_F(TssDriver, TeethPerMeasureOutsideTheTableTakeItsEnds) {
    const uint32_t kNoSignal = ZARN_TSS_BELOW_MIN | ZARN_TSS_NO_SIGNAL;
    const struct { int32_t teeth; uint32_t periodB; uint32_t after; } rows[] = {
        {7, 0xFFFFFFFFu, kNoSignal},             // 0.104 Hz: below 0.11, above 0.09
        {8, 0xFFFFFFFFu, ZARN_TSS_BELOW_MIN},    // 0.119 Hz
        {1000, 0xFFFFFFFFu, 0},                  // 14.9 Hz: above MinSpeed
        {6, 3840000000u, ZARN_TSS_BELOW_MIN},    // 0.10 Hz: not below 0.09
        {6, 0xFFFFFFFFu, kNoSignal},             // 0.089 Hz
        {0, 4000000000u, ZARN_TSS_BELOW_MIN},    // 0 Hz: not below 0
        {-1, 4000000000u, kNoSignal},            // -0.016 Hz
        {1, 4000000000u, kNoSignal},             // 0.016 Hz: below 0.02
    };
    for (const auto& r : rows) {
        setUpChannel(0, 10.0f, r.teeth);
        stZarnTssData[0].status = 0;
        pokePeriods(0, 64000, r.periodB);
        RunZarnTss(0);
        EXPECT_EQ(stZarnTssData[0].status, r.after) << "teeth " << r.teeth;
    }
}

// Channel set-up: the control register bits of each channel, the teeth
// register and the filter constants.
TEST_F(TssDriver, SetUpWritesEachChannelsOwnBits) {
    const struct {
        const char* name;
        int ch;
        uint32_t mode, option;
        uint16_t before, after;
    } cases[] = {
        {"mode 1 option 0", 0, 1, 0, 0x0040, 0x0010},
        {"mode 1 option 1", 0, 1, 1, 0x0050, 0x0000},
        {"mode 1 option 2 keeps the option", 0, 1, 2, 0x0050, 0x0010},
        {"mode 2 keeps the option", 0, 2, 0, 0x0010, 0x0050},
        {"mode 3 changes nothing", 0, 3, 0, 0x0040, 0x0040},
        {"channel 1 mode 1 option 0", 1, 1, 0, 0x00C0, 0x0060},
        {"channel 1 mode 1 option 1", 1, 1, 1, 0x00A0, 0x0000},
        {"channel 1 mode 2", 1, 2, 1, 0x0000, 0x0080},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        board::poke16(ZARN_CTRL, c.before);
        ZarnTssChannel& k = stZarnTssData[c.ch];
        k.inputMode = c.mode, k.inputOption = c.option, k.teethPerMeasure = 4, k.maxFreq = 2500.0f;
        hk::runTask([&] { ConfigZarnTss(c.ch); });
        EXPECT_EQ(board::peek16(ZARN_CTRL), c.after);
        EXPECT_EQ(board::peek16(reg(ZARN_TSS_TEETH0, c.ch)), 3);
        EXPECT_DOUBLE_EQ(ZarnTssFilter(c.ch).minSpeed, 50.0);
    }
}

TEST_F(TssDriver, SlewLimitPerSampleIsBounded) {
    const struct {
        float slewPct;
        double limit;  // of 1000 Hz per 0.1 ms sample
    } cases[] = {{100.0f, 0.1}, {1.0f, 0.001}, {0.5f, 0.001}, {10000.0f, 10.0}, {20000.0f, 10.0}, {250.0f, 0.25}};
    for (const auto& c : cases) {
        stZarnTssData[0].maxFreq = 1000.0f;
        stZarnTssData[0].slewPct = c.slewPct;
        ConfigZarnTss(0);
        EXPECT_NEAR(ZarnTssFilter(0).slewLimit, c.limit, 1e-12) << c.slewPct;
    }
}

TEST_F(TssDriver, InitialisationMarksTheChannelSlowAndArmsTheThreshold) {
    for (int ch : {0, 1}) {
        SCOPED_TRACE(ch);
        ZarnTssChannel& c = stZarnTssData[ch];
        c = ZarnTssChannel{};
        c.tau1Ms = 20, c.tau2Ms = 40, c.accel = 5.0f;
        ZarnTssUsed[ch] = 0;
        board::poke16(ZARN_CTRL, 0);
        board::poke16(ZARN_TSS_THRESH_VALUE0 + ch * ZARN_TSS_THRESH_STRIDE, 77);
        hk::runTask([ch] { InitZarnTss(ch); });
        EXPECT_EQ(board::peek16(ZARN_CTRL), ZARN_CTRL_TSS_OPENW0 << ch);
        EXPECT_EQ(board::peek16(ZARN_TSS_THRESH_VALUE0 + ch * ZARN_TSS_THRESH_STRIDE), 0);
        EXPECT_EQ(board::peek16(ZARN_TSS_THRESH_PERIOD0 + ch * ZARN_TSS_THRESH_STRIDE), 5246);
        EXPECT_EQ(ZarnTssUsed[ch], 1u);
        EXPECT_EQ(c.status, ZARN_TSS_BELOW_MIN | ZARN_TSS_NO_SIGNAL);
        EXPECT_EQ(c.accel, 0.0f);
        const ZarnTssFilterState f = ZarnTssFilter(ch);
        EXPECT_DOUBLE_EQ(f.tsTau1, 0.1 / 20);
        EXPECT_DOUBLE_EQ(f.tsTau2, 0.1 / 40);
        EXPECT_DOUBLE_EQ(f.derivScale, 1000.0 / 20);
        hk::runTask([ch] { InitZarnProxVThresh(ch); });
        EXPECT_EQ(board::peek16(ZARN_TSS_THRESH_PERIOD0 + ch * ZARN_TSS_THRESH_STRIDE), 14222);
    }
}

TEST_F(TssDriver, ChannelsOtherThanZeroAndOneDoNothing) {
    for (int ch : {-1, 2, 7}) {
        board::clearWriteLog();
        stZarnTssData[0].status = stZarnTssData[1].status = 0;
        hk::runTask([ch] {
            InitZarnTss(ch);
            ConfigZarnTss(ch);
            FilterZarnTss(ch);
            RunZarnTss(ch);
            ReadToothCount(ch);
            InitZarnProxVThresh(ch);
            SetZarnProxVThresh(ch, 10.0);
            SetOpenWireTest(ch, 1);
            ReadOpenWire(ch);
            EXPECT_EQ(ReadZarnSpeedPhase(ch), 0.0);
        });
        EXPECT_TRUE(board::writeLog().empty()) << ch;
        EXPECT_EQ(stZarnTssData[0].status | stZarnTssData[1].status, 0u) << ch;
        EXPECT_EQ(ZarnTssFilter(ch).tsTau1, 0.0) << ch;
    }
}

TEST_F(TssDriver, PeriodAIsReadUntilTwoReadsAgree) {
    setUpChannel(1, 500.0f, 1);  // MinSpeed 10 Hz
    const struct {
        const char* name;
        std::vector<uint32_t> reads;  // successive values of period A
        size_t used;                  // reads taken
        bool belowMin;
    } cases[] = {
        {"first two agree", {64000, 64000, 12800000}, 2, false},
        {"first two differ: the third counts", {64000, 12800000, 12800000}, 3, true},
        {"the third even when it is the first again", {12800000, 64000, 12800000}, 3, true},
        {"slow and agreeing", {12800000, 12800000, 64000}, 2, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        static std::vector<uint32_t> reads;
        static size_t taken = 0;
        reads = c.reads, taken = 0;
        board::attach(reg(ZARN_TSS_PERIOD_A0, 1), reg(ZARN_TSS_PERIOD_A0, 1) + 2,
                      board::Behaviour{[](uint32_t, int, uint32_t) { return reads[std::min(taken++, reads.size() - 1)]; },
                                       nullptr});
        board::poke32(reg(ZARN_TSS_PERIOD_B0, 1), 64000);
        stZarnTssData[1].status = 0;
        hk::runTask([] { RunZarnTss(1); });
        EXPECT_EQ(taken, c.used);
        EXPECT_EQ((stZarnTssData[1].status & ZARN_TSS_BELOW_MIN) != 0, c.belowMin);
    }
}

TEST_F(TssDriver, PublishedSpeedAccelerationToothCountAndPhase) {
    setUpChannel(1, 1000.0f, 1);
    pokeSamples(1, 64000);
    pokePeriods(1, 64000, 64000);
    for (int i = 0; i < 30; ++i) hk::runTask([] { FilterZarnTss(1); });
    board::poke16(reg(ZARN_TSS_TOOTH_COUNT0, 1), 4321);
    hk::runTask([] {
        RunZarnTss(1);
        ReadToothCount(1);
    });
    const ZarnTssFilterState f = ZarnTssFilter(1);
    EXPECT_GT(f.lastY2, 0.0);
    EXPECT_EQ(stZarnTssData[1].speed, static_cast<float>(f.lastY2));
    EXPECT_EQ(stZarnTssData[1].accel, static_cast<float>(f.lastY3 * 100.0));
    EXPECT_EQ(stZarnTssData[1].toothCount, 4321);
    // Phase: the edge-to-edge count at 64 MHz times the speed, in degrees; above 360 it reads 0.
    stZarnTssData[1].speed = 100.0f;
    const struct { uint32_t count; double degrees; } phases[] = {
        {0, 0.0}, {64000, 36.0}, {640000, 360.0}, {640064, 0.0}};
    for (const auto& p : phases) {
        board::poke32(ZARN_TSS_PHASE, p.count);
        EXPECT_NEAR(ReadZarnSpeedPhase(1), p.degrees, 1e-9) << p.count;
    }
}

TEST_F(TssDriver, ProximityThresholdCodes) {
    const struct { double volts; uint16_t code; } cases[] = {
        {2.0, 699}, {3.99, 699}, {4.0, 699}, {10.0, 1748}, {20.0, 3497}, {20.01, 3497}, {29.0, 3497}};
    for (int ch : {0, 1}) {
        for (const auto& c : cases) {
            hk::runTask([&] { SetZarnProxVThresh(ch, c.volts); });
            EXPECT_EQ(board::peek16(ZARN_TSS_THRESH_VALUE0 + ch * ZARN_TSS_THRESH_STRIDE), c.code) << ch << " " << c.volts;
        }
    }
}

TEST_F(TssDriver, OpenWireTestAndSupplyLevel) {
    board::poke16(ZARN_CTRL, 0x0300);
    hk::runTask([] { SetOpenWireTest(1, 1); });  // 1 runs the test: the bit low
    EXPECT_EQ(board::peek16(ZARN_CTRL), 0x0100);
    hk::runTask([] { SetOpenWireTest(1, 2); });
    EXPECT_EQ(board::peek16(ZARN_CTRL), 0x0300);
    hk::runTask([] { SetOpenWireTest(0, 1); });
    EXPECT_EQ(board::peek16(ZARN_CTRL), 0x0200);
    hk::runTask([] { SetOpenWireTest(0, 0); });
    EXPECT_EQ(board::peek16(ZARN_CTRL), 0x0300);
    // Open wire above 6.836 V: codes of 17.5 mV on input 2 of the channel's monitor.
    const struct { int ch; uint16_t code; uint32_t open; } levels[] = {
        {0, 390, 0}, {0, 391, 1}, {1, 391, 1}, {1, 0, 0}, {1, 2047, 1}};
    for (const auto& l : levels) {
        board::resetChips();
        board::setSensorMonitorCode(l.ch, 2, l.code);
        stZarnTssData[l.ch].openWire = 7;
        hk::runTask([&] { ReadOpenWire(l.ch); });
        EXPECT_EQ(stZarnTssData[l.ch].openWire, l.open) << l.ch << " " << l.code;
    }
    board::setSensorMonitorCode(1, 2, 400);
    EXPECT_DOUBLE_EQ(ReadZarnMpuPs(1), 400 * 0.0175);
}

TEST_F(TssDriver, ProbeVoltsFromTheSelectedMonitorInput) {
    for (int input = 0; input < 4; ++input) board::setSensorMonitorCode(1, input, static_cast<uint16_t>(250 + 100 * input));
    for (uint32_t select = 0; select < 4; ++select) {
        float volts = -1.0f;
        EXPECT_EQ(ReadZarnProxVolts(1, select, &volts), 0);
        EXPECT_FLOAT_EQ(volts, static_cast<float>((250 + 100 * select) * 0.02 - 5.0)) << select;
    }
    // A failed transfer is reported; the reading is what the untouched command word gives.
    board::failChip(board::Chip::ADT1018, true);
    testing::internal::CaptureStdout();
    float volts = 0.0f;
    ReadZarnProxVolts(0, 0, &volts);
    const double mpu = ReadZarnMpuPs(0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Voltage Monitor SPI error\nMPU Voltage Monitor SPI error\n");
    EXPECT_DOUBLE_EQ(mpu, ((0xE3CA >> 4) & 0x7FF) * 0.0175);
    board::failChip(board::Chip::ADT1018, false);
    testing::internal::CaptureStdout();
    ReadZarnProxVolts(0, 0, &volts);
    ReadZarnMpuPs(0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

}  // namespace
