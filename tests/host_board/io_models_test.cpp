// The board's current-loop and analog-input models read as the CPU reads
// them: which register shows which loop, the ends of the readback ADC's
// range, loops with nothing driving them, and the analog inputs' noise and
// loop supply.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "drivers/zarn_regs.h"
#include "host/analog_inputs.h"
#include "host/board.h"
#include "host/current_loops.h"

namespace {

constexpr double kAoutCountsPerMa = 568.89;
constexpr double kActLowCountsPerMa = 517.86;
constexpr double kActHighCountsPerMa = 67.546;

class IoModels : public ::testing::Test {
protected:
    void SetUp() override { board::reset(); }
    void TearDown() override { board::reset(); }
};

// The readback register of loop ch: channels in pairs 0/1, 2/3 ... with the
// odd one 0x10 further on, the return reading 8 bytes after the source.
uint32_t readbackRegister(int ch, bool isReturn) {
    return ZARN_READBACK_FIRST + 2u * static_cast<uint32_t>(ch / 2) + (ch % 2 != 0 ? 0x10u : 0u) +
           (isReturn ? 8u : 0u);
}

// Every loop driven at a current of its own: analog outputs 1..6 through
// their counts, actuator 6 in its low range and actuator 7 in its high one.
void driveEveryLoop(const double (&mA)[board::kCurrentLoops]) {
    for (int ch = 0; ch < 6; ++ch)
        board::poke16(zarnAoutCountReg(ch + 1), static_cast<uint16_t>(std::lround(mA[ch] * kAoutCountsPerMa)));
    board::poke16(ZARN_ACT6_COUNT, static_cast<uint16_t>(std::lround(mA[6] * kActLowCountsPerMa)));
    board::poke16(ZARN_ACT7_COUNT, static_cast<uint16_t>(std::lround(mA[7] * kActHighCountsPerMa)));
    board::poke16(ZARN_CTRL, ZARN_CTRL_OUTPUTS_RELEASED | ZARN_CTRL_ACT6_ENABLE | ZARN_CTRL_ACT7_ENABLE |
                                 ZARN_CTRL_ACT7_HIGH);
}

TEST_F(IoModels, EachReadbackRegisterShowsItsOwnLoop) {
    const double mA[board::kCurrentLoops] = {2.0, 5.0, 8.0, 11.0, 14.0, 17.0, 20.0, 150.0};
    driveEveryLoop(mA);
    for (int ch = 0; ch < board::kCurrentLoops; ++ch) {
        SCOPED_TRACE(ch);
        EXPECT_NEAR(board::loopCurrentMa(ch), mA[ch], 0.01);
        EXPECT_GT(board::loopSourceCode(ch), 0u);
        EXPECT_GT(board::loopReturnCode(ch), 0u);
        EXPECT_EQ(board::cpuRead16(readbackRegister(ch, false)), board::loopSourceCode(ch) << 4);
        EXPECT_EQ(board::cpuRead16(readbackRegister(ch, true)), board::loopReturnCode(ch) << 4);
    }
    // No two loops read alike: a register showing a neighbour would match it.
    std::vector<uint16_t> returns;
    for (int ch = 0; ch < board::kCurrentLoops; ++ch) returns.push_back(board::loopReturnCode(ch));
    std::sort(returns.begin(), returns.end());
    EXPECT_EQ(std::adjacent_find(returns.begin(), returns.end()), returns.end());
}

// Loops that nothing drives: outputs locked, an actuator not enabled, and
// numbers that are no loop.
TEST_F(IoModels, UndrivenLoopsAndNoLoopCarryNoCurrent) {
    const double mA[board::kCurrentLoops] = {10.0, 10.0, 10.0, 10.0, 10.0, 10.0, 10.0, 10.0};
    const struct {
        const char* name;
        uint16_t clear;  // control bits taken away after every loop was driven
        bool driven[board::kCurrentLoops];
    } rows[] = {
        {"all driven", 0, {true, true, true, true, true, true, true, true}},
        {"outputs locked", ZARN_CTRL_OUTPUTS_RELEASED, {}},
        {"actuator 6 not enabled", ZARN_CTRL_ACT6_ENABLE, {true, true, true, true, true, true, false, true}},
        {"actuator 7 not enabled", ZARN_CTRL_ACT7_ENABLE, {true, true, true, true, true, true, true, false}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        board::reset();
        driveEveryLoop(mA);
        board::pokeBits16(ZARN_CTRL, r.clear, 0);
        for (int ch = 0; ch < board::kCurrentLoops; ++ch) {
            EXPECT_EQ(board::loopCurrentMa(ch) > 1.0, r.driven[ch]) << ch;
            EXPECT_EQ(board::loopReturnCode(ch) > 0u, r.driven[ch]) << ch;
        }
        for (int ch : {-1, board::kCurrentLoops}) {
            EXPECT_EQ(board::loopCurrentMa(ch), 0.0) << ch;
            EXPECT_EQ(board::loopSourceCode(ch), 0u) << ch;
            EXPECT_EQ(board::loopReturnCode(ch), 0u) << ch;
        }
    }
}

// The readback ADC has 12 bits: a current beyond its range reads full scale,
// never a code that does not fit.
TEST_F(IoModels, ReadbackCodesEndAtFullScale) {
    board::poke16(ZARN_CTRL, ZARN_CTRL_OUTPUTS_RELEASED);
    const struct {
        uint16_t count;  // analog output 1; its return reads 0.01235 mA per code
        uint16_t code;
    } rows[] = {{28764, 4094}, {28770, 4095}, {28777, 4095}, {40000, 4095}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.count);
        board::poke16(zarnAoutCountReg(1), r.count);
        EXPECT_EQ(board::loopReturnCode(0), r.code);
        EXPECT_EQ(board::cpuRead16(readbackRegister(0, true)), r.code << 4);
    }
}

// A wiring fault per loop: what leaves the driver and what comes back.
TEST_F(IoModels, WiringFaultsShowInTheReadings) {
    const struct {
        const char* name;
        board::LoopFault fault;
        double ohms, drift;
        double source, ret;  // mA
    } rows[] = {
        {"sound", board::LoopFault::None, 40.0, 0.0, 100.0, 100.0},
        {"load beyond the compliance", board::LoopFault::None, 480.0, 0.0, 50.0, 50.0},
        {"no load", board::LoopFault::None, 0.0, 0.0, 100.0, 100.0},
        {"drift up", board::LoopFault::None, 40.0, 0.1, 110.0, 110.0},
        {"open wire", board::LoopFault::OpenWire, 40.0, 0.0, 0.0, 0.0},
        {"short to ground bypasses the load", board::LoopFault::ShortToGround, 480.0, 0.0, 100.0, 0.0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        board::reset();
        board::poke16(ZARN_ACT6_COUNT, static_cast<uint16_t>(std::lround(100.0 * kActHighCountsPerMa)));
        board::poke16(ZARN_CTRL, ZARN_CTRL_OUTPUTS_RELEASED | ZARN_CTRL_ACT6_ENABLE | ZARN_CTRL_ACT6_HIGH);
        board::setLoopLoad(6, r.ohms);
        board::setLoopFault(6, r.fault);
        board::setLoopDrift(6, r.drift);
        EXPECT_NEAR(board::loopCurrentMa(6), r.source, 0.01);
        EXPECT_NEAR(board::loopSourceCode(6) * 0.4002, r.source, 0.4002);
        EXPECT_NEAR(board::loopReturnCode(6) * 0.2001, r.ret, 0.2001);
    }
}

int16_t result(int ch) { return static_cast<int16_t>(board::cpuRead16(ZARN_AIN_BASE + 4u * static_cast<uint32_t>(ch))); }

// Conversions of channel ch at 10 mA with a peak noise of 1 mA; `quiet`
// conversions without noise come first.
std::vector<int16_t> noisy(int ch, int quiet, int n) {
    board::reset();
    board::poke16(ZARN_ADC_CONTROL, 3);
    board::setAnalogInputMa(ch, 10.0);
    for (int i = 0; i < quiet; ++i) result(ch);
    board::setAnalogInputNoise(ch, 1.0);
    std::vector<int16_t> s;
    for (int i = 0; i < n; ++i) s.push_back(result(ch));
    return s;
}

// The noise is spread over its whole band on both sides of the current, and
// its sequence starts at the first noisy conversion, whatever was converted
// before.
TEST_F(IoModels, AnalogNoiseSpansItsBandBothWays) {
    const int nominal = board::analogInputCode(10.0);
    const int peak = board::analogInputCode(11.0) - nominal;
    for (int ch : {0, 7}) {
        SCOPED_TRACE(ch);
        const auto s = noisy(ch, 0, 64);
        const auto [lo, hi] = std::minmax_element(s.begin(), s.end());
        EXPECT_GE(*lo, nominal - peak - 1);
        EXPECT_LT(*lo, nominal - peak / 2);
        EXPECT_LE(*hi, nominal + peak + 1);
        EXPECT_GT(*hi, nominal + peak / 2);
        EXPECT_EQ(noisy(ch, 5, 64), s);
    }
}

// The loop supply register has a bit per channel; bits beyond the eight
// channels supply nothing.
TEST_F(IoModels, LoopSupplyOfTheEightChannelsOnly) {
    board::poke16(ZARN_AIN_LOOP_POWER, 0xFFFF);
    for (int ch : {0, 7}) EXPECT_TRUE(board::analogLoopSupplyOn(ch)) << ch;
    for (int ch : {-1, 8, 9}) EXPECT_FALSE(board::analogLoopSupplyOn(ch)) << ch;
}

}  // namespace
