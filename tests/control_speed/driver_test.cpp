// The speed-sensor driver against raw FPGA registers (the pulse-train model
// detached).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "drivers/ZarnTurbineSpeed.h"
#include "drivers/zarn_regs.h"
#include "host/board.h"
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

// n = trunc(log2(MinSpeed / signal)); the bound is MinSpeed >> n.
TEST_F(TssDriver, DecayBoundLogAndShiftCorners) {
    auto count = [](double hz) { return static_cast<uint32_t>(kHz / hz); };
    const double slowest = kHz / 4294967295.0, m31 = slowest * std::ldexp(1.0, 31) * 1.5;
    const struct { double minSpeed; uint32_t count; double bound; } rows[] = {
        {100.0, count(30.0), 50.0},    // log2 3.33 -> 1: between the signal and twice it
        {100.0, count(12.0), 12.5},    // log2 8.33 -> 3
        {100.0, count(150.0), 100.0},  // log2 in (-1, 0] truncates to 0
        {100.0, count(100.0), 100.0},
        {100.0, count(250.0), kNone},  // above twice MinSpeed the shift is negative
        {0.0, count(30.0), kNone},     // MinSpeed not configured yet
        {100.0, 0, kNone},             // no count
        {m31, 0xFFFFFFFFu, m31 / std::ldexp(1.0, 31)},  // a shift of 31 stays a positive divisor
        {slowest * std::ldexp(1.0, 32) * 1.5, 0xFFFFFFFFu, kNone},  // 32 and more: no bound
    };
    for (const auto& r : rows) EXPECT_DOUBLE_EQ(ZarnTssDecayBound(r.minSpeed, r.count), r.bound) << r.minSpeed;
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

TEST_F(TssDriver, StatusRulesAndAbsoluteMinimumTableIndexClamp) {
    setUpChannel(0, 500.0f, 1);  // MinSpeed 10 Hz
    const uint32_t kNoSignal = ZARN_TSS_BELOW_MIN | ZARN_TSS_NO_SIGNAL;
    // Each row: teeth per measurement, period B, status after.
    const struct { int32_t teeth; uint32_t periodB; uint32_t status; } rows[] = {
        {1, 32000, 0},                    // fast: both flags clear
        {1, 6400000, ZARN_TSS_BELOW_MIN},  // exactly MinSpeed: below-minimum stays
        {1, 12800000, ZARN_TSS_BELOW_MIN},  // 5 Hz: above the absolute minimum of one tooth (0.02 Hz)
        {1, 0xFFFFFFFFu, kNoSignal},      // 0.01 Hz
        {300, 640000000, kNoSignal},      // beyond the table: its last entry (0.11 Hz) > 0.1 Hz
        {-5, 640000000, ZARN_TSS_BELOW_MIN},  // negative: the first entry (0.0)
    };
    for (const auto& r : rows) {
        stZarnTssData[0].status = (r.status & ZARN_TSS_NO_SIGNAL) ? ZARN_TSS_BELOW_MIN : kNoSignal;  // the other way
        stZarnTssData[0].teethPerMeasure = r.teeth;
        pokePeriods(0, 64000, r.periodB);
        RunZarnTss(0);
        EXPECT_EQ(stZarnTssData[0].status, r.status) << r.teeth << " " << r.periodB;
    }
}

}  // namespace
