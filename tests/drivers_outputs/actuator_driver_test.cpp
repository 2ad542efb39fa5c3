// The actuator and analog output drivers against the board model: dither,
// ranges, clamps, calibration, the I/O lock, counts that are no numbers,
// readback conversion, and the readback fault checks driven by wiring faults
// of the board's current loops.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "drivers/ZarnActuator.h"
#include "drivers/ZarnAnalogOuts.h"
#include "drivers/ZarnCalibration.h"
#include "drivers/ZarnHwDepend.h"
#include "drivers/zarn_regs.h"
#include "host/board.h"
#include "host/current_loops.h"

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

class OutputDriver : public ::testing::Test {
protected:
    void SetUp() override {
        board::reset();
        ResetZarnCalibration();
        ResetZarnActuator();
        SetCalDefaults();
        io_lock(0x8000);
    }
    void TearDown() override { io_lock(0x7FFF); }

    // One actuator pass of channel ch the way the 10 ms logic and gather
    // run it: readbacks checked, demand computed, count written, readbacks
    // gathered.
    void actuatorPass(uint32_t ch, float mA, uint16_t range, uint32_t shutdown = 0) {
        ZarnActChannel& c = stZarnActData[ch];
        CalcZarnSrcRetReadback(ch);
        CheckZarnSrcRetReadbackFaults(ch);
        c.Command = range;
        c.Rategroup = 10;
        c.MaDemand = mA;
        c.SlopeMaBits = range == 1 ? 67.546f : 517.86f;
        c.Shutdown = shutdown;
        CalcZarnActOutput(ch);
        WriteZarnActOut(ch, c.S_actout);
        GatherZarnSrcRetReadback(ch);
    }
};

TEST_F(OutputDriver, HighRangeDitherRunsTheSquareWave) {
    ZarnActChannel& c = stZarnActData[6];
    c.Command = 1;
    c.Rategroup = 10;
    c.MaDemand = 100.0f;
    c.Dither = 5.0f;
    c.SlopeMaBits = 67.546f;
    const float expected[] = {100, 100, 105, 100, 95, 100, 105, 100, 95};
    for (float e : expected) {
        CalcZarnActOutput(6);
        EXPECT_EQ(c.MaDemandwDither, e);
    }
    EXPECT_EQ(c.MaDemand, 100.0f);
}

struct DitherCase {
    const char* name;
    uint16_t range, rategroup;
    float demand, dither;
    float ditherAfter;   // the record's amplitude after one pass
    bool moves;          // whether the demand moves within four passes
};

class Dither : public OutputDriver, public ::testing::WithParamInterface<DitherCase> {};

TEST_P(Dither, AmplitudeIsLimitedByTheRangeFloor) {
    const DitherCase& p = GetParam();
    ZarnActChannel& c = stZarnActData[6];
    c.Command = p.range;
    c.Rategroup = p.rategroup;
    c.MaDemand = p.demand;
    c.Dither = p.dither;
    c.SlopeMaBits = 1.0f;
    bool moved = false;
    for (int i = 0; i < 4; ++i) {
        CalcZarnActOutput(6);
        if (i == 0) {
            EXPECT_FLOAT_EQ(c.Dither, p.ditherAfter);
        }
        if (c.MaDemandwDither != std::min(p.demand, p.range == 1 ? 210.0f : 27.5f)) moved = true;
    }
    EXPECT_EQ(moved, p.moves);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Dither,
    ::testing::Values(DitherCase{"rate_group_40_never_dithers", 1, 40, 100.0f, 5.0f, 5.0f, false},
                      DitherCase{"rate_group_20_dithers", 1, 20, 100.0f, 5.0f, 5.0f, true},
                      DitherCase{"low_range_one_milliamp_drops_the_dither", 0, 10, 1.0f, 0.5f, 0.0f, false},
                      DitherCase{"low_range_limited_to_demand_less_floor", 0, 10, 2.0f, 1.0f, 0.625f, true},
                      DitherCase{"high_range_at_the_floor_drops_it", 1, 10, 10.5f, 1.0f, 0.0f, false},
                      DitherCase{"high_range_just_above_the_floor", 1, 10, 11.5f, 5.0f, 1.0f, true}),
    [](const ::testing::TestParamInfo<DitherCase>& i) { return std::string(i.param.name); });

struct CountCase {
    const char* name;
    uint16_t range;
    float demand;
    float gain, offset;   // demand pair of the range
    uint8_t lock;         // 0 released
    uint32_t shutdown;
    float count;          // expected S_actout
    float driven;         // expected MaDemandwDither
};

class ActuatorCount : public OutputDriver, public ::testing::WithParamInterface<CountCase> {};

TEST_P(ActuatorCount, CalibratedDemandGivesTheCount) {
    const CountCase& p = GetParam();
    // The pair as the table holds it (a pair that is no number can only come
    // from the flash: put_cal_mb refuses it).
    ZarnCalData.pair[p.range == 1 ? 32 : 14] = ZarnCalPair{p.gain, p.offset};
    IoLock = p.lock;
    ZarnActChannel& c = stZarnActData[6];
    c.Command = p.range;
    c.Rategroup = 10;
    c.MaDemand = p.demand;
    c.SlopeMaBits = p.range == 1 ? 67.546f : 517.86f;
    c.Shutdown = p.shutdown;
    CalcZarnActOutput(6);
    EXPECT_FLOAT_EQ(c.S_actout, p.count);
    EXPECT_FLOAT_EQ(c.MaDemandwDither, p.driven);
    const uint16_t ctrl = board::controlRegister();
    EXPECT_EQ((ctrl & ZARN_CTRL_ACT6_HIGH) != 0, p.range == 1);
    EXPECT_EQ((ctrl & ZARN_CTRL_ACT6_ENABLE) != 0, p.shutdown != 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ActuatorCount,
    ::testing::Values(
        CountCase{"high_range_uncalibrated", 1, 100.0f, 1.0f, 0.0f, 0, 0, 6754.6f, 100.0f},
        CountCase{"high_range_calibrated", 1, 50.0f, 1.02f, -0.5f, 0, 0, (50.0f * 1.02f - 0.5f) * 67.546f, 50.0f},
        CountCase{"low_range_calibrated", 0, 20.0f, 0.98f, 0.25f, 0, 0, (20.0f * 0.98f + 0.25f) * 517.86f, 20.0f},
        CountCase{"high_range_above_the_maximum", 1, 250.0f, 1.0f, 0.0f, 0, 0, 13937.561f, 210.0f},
        CountCase{"low_range_above_the_maximum", 0, 30.0f, 1.0f, 0.0f, 0, 0, 13937.561f, 27.5f},
        CountCase{"calibrated_below_zero_is_off", 1, 1.0f, 1.0f, -1.5f, 0, 0, 0.0f, 0.0f},
        CountCase{"calibrated_exactly_zero_drives_zero", 1, 1.5f, 1.0f, -1.5f, 0, 0, 0.0f, 1.5f},
        CountCase{"io_lock_is_off", 1, 100.0f, 1.0f, 0.0f, 1, 0, 0.0f, 0.0f},
        CountCase{"shutdown_is_off", 1, 100.0f, 1.0f, 0.0f, 0, 1, 0.0f, 0.0f},
        CountCase{"shutdown_two_is_not_a_shutdown", 1, 100.0f, 1.0f, 0.0f, 0, 2, 6754.6f, 100.0f},
        CountCase{"demand_not_a_number_is_off", 1, kNaN, 1.0f, 0.0f, 0, 0, 0.0f, 0.0f},
        CountCase{"demand_infinite_is_off", 1, kInf, 1.0f, 0.0f, 0, 0, 0.0f, 0.0f},
        CountCase{"gain_not_a_number_is_off", 0, 10.0f, kNaN, 0.0f, 0, 0, 0.0f, 0.0f},
        CountCase{"offset_infinite_is_off", 0, 10.0f, 1.0f, -kInf, 0, 0, 0.0f, 0.0f}),
    [](const ::testing::TestParamInfo<CountCase>& i) { return std::string(i.param.name); });

TEST_F(OutputDriver, ChannelSevenUsesItsOwnBitsAndPairs) {
    put_cal_mb(0, 35, 2.0, 0.0);
    put_cal_mb(0, 15, 3.0, 0.0);
    ZarnActChannel& c = stZarnActData[7];
    c.Command = 1;
    c.Rategroup = 40;
    c.MaDemand = 10.0f;
    c.SlopeMaBits = 1.0f;
    CalcZarnActOutput(7);
    EXPECT_FLOAT_EQ(c.S_actout, 20.0f);
    EXPECT_EQ(board::controlRegister() & 0xF, ZARN_CTRL_ACT7_HIGH | ZARN_CTRL_ACT7_ENABLE);
    c.Command = 0;
    CalcZarnActOutput(7);
    EXPECT_FLOAT_EQ(c.S_actout, 30.0f);
    EXPECT_EQ(board::controlRegister() & 0xF, ZARN_CTRL_ACT7_ENABLE);
}

TEST_F(OutputDriver, ReadbackChannelsHaveNoOutput) {
    stZarnActData[3].MaDemand = 10.0f;
    stZarnActData[3].SlopeMaBits = 1.0f;
    CalcZarnActOutput(3);
    CalcZarnActOutput(8);
    EXPECT_EQ(stZarnActData[3].S_actout, 0.0f);
    EXPECT_EQ(board::controlRegister() & 0xF, 0);
}

struct WriteCase {
    const char* name;
    double count;
    uint16_t actuator;  // register value written by WriteZarnActOut
    uint16_t analog;    // and by WriteAnalogOut
};

class CountWrite : public OutputDriver, public ::testing::WithParamInterface<WriteCase> {};

// Both count registers take 0 .. the period cap: a count beyond it writes the
// cap, never its low 16 bits.
TEST_P(CountWrite, RegistersGetTheTruncatedCountWithinThePeriodCap) {
    board::poke16(ZARN_ACT6_COUNT, 0xBEEF);
    board::poke16(zarnAoutCountReg(4), 0xBEEF);
    WriteZarnActOut(6, GetParam().count);
    WriteAnalogOut(4, GetParam().count);
    EXPECT_EQ(board::peek16(ZARN_ACT6_COUNT), GetParam().actuator);
    EXPECT_EQ(board::peek16(zarnAoutCountReg(4)), GetParam().analog);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, CountWrite,
    ::testing::Values(WriteCase{"truncated", 1234.9, 1234, 1234}, WriteCase{"below_the_limit", 13937.5, 13937, 13937},
                      WriteCase{"just_above_the_limit", 13937.6, 13937, 13937},
                      WriteCase{"far_above_the_limit", 20000.0, 13937, 13937},
                      WriteCase{"beyond_sixteen_bits", 70000.0, 13937, 13937},
                      WriteCase{"just_below_zero", -0.1, 0, 0}, WriteCase{"zero", 0.0, 0, 0},
                      WriteCase{"minus_one", -1.0, 0, 0},
                      WriteCase{"not_a_number", std::nan(""), 0, 0},
                      WriteCase{"infinite", std::numeric_limits<double>::infinity(), 0, 0},
                      WriteCase{"minus_infinite", -std::numeric_limits<double>::infinity(), 0, 0},
                      WriteCase{"beyond_sixty_four_bits", 1e30, 13937, 13937}),
    [](const ::testing::TestParamInfo<WriteCase>& i) { return std::string(i.param.name); });

TEST_F(OutputDriver, AnalogOutputsOutsideOneToSixWriteNothing) {
    board::clearWriteLog();
    WriteAnalogOut(0, 100.0);
    WriteAnalogOut(7, 100.0);
    InitAnalogOut(0);
    InitAnalogOut(7);
    WriteZarnActOut(5, 100.0);
    InitZarnActOut(8);
    EXPECT_TRUE(board::writeLog().empty());
    WriteAnalogOut(1, 100.0);
    WriteAnalogOut(6, 200.0);
    EXPECT_EQ(board::peek16(zarnAoutCountReg(1)), 100);
    EXPECT_EQ(board::peek16(zarnAoutCountReg(6)), 200);
}

TEST_F(OutputDriver, TheIoLockWritesZero) {
    io_lock(0x7FFF);
    WriteAnalogOut(5, 5000.0);
    EXPECT_EQ(board::peek16(zarnAoutCountReg(5)), 0);
}

TEST_F(OutputDriver, InitialisationSetsPeriodsAndStartsTheReadbacks) {
    InitAnalogOut(6);
    InitZarnActOut(7);
    InitZarnReadbacksFpga();
    EXPECT_EQ(board::peek16(zarnAoutPeriodReg(6)), 14222);
    EXPECT_EQ(board::peek16(ZARN_ACT7_PERIOD), 14222);
    EXPECT_EQ(board::peek16(ZARN_READBACK_SETTING), 7);
    const auto log = board::writeLog(ZARN_ADC_CONTROL, ZARN_ADC_CONTROL);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].value, 0u);
    EXPECT_EQ(log[1].value, 3u);
}

TEST_F(OutputDriver, ReadbacksAreCalibratedFilteredAndLimited) {
    put_cal_mb(0, 22, 2.0, 1.0);   // channel 6 source, low range
    put_cal_mb(0, 30, 1.0, -0.5);  // channel 6 return, low range
    ZarnActChannel& c = stZarnActData[6];
    const uint16_t codes[] = {100, 4000, 200, 300};
    const float source[] = {100 * 0.0522f * 2 + 1, 2047 * 0.0522f * 2 + 1, 200 * 0.0522f * 2 + 1,
                            300 * 0.0522f * 2 + 1};
    const float filtered[] = {0.0f, source[0], source[2], source[3]};  // medians with the history
    for (int i = 0; i < 4; ++i) {
        c.SourceReadback = codes[i];
        c.ReturnReadback = codes[i];
        CalcZarnSrcRetReadback(6);
        EXPECT_FLOAT_EQ(c.SourceRbMa, source[i]) << i;
        EXPECT_FLOAT_EQ(c.FiltSrcRbMa, filtered[i]) << i;
    }
    c.ReturnReadback = 1;
    CalcZarnSrcRetReadback(6);
    EXPECT_EQ(c.ReturnRbMa, 0.0f);  // 0.2001 - 0.5 is negative
}

TEST_F(OutputDriver, BoardLoopsReadBackTheCommandedCurrent) {
    struct Case {
        const char* name;
        uint16_t range;
        float mA;
    } cases[] = {{"high range", 1, 100.0f}, {"low range", 0, 20.0f}};
    for (const Case& k : cases) {
        for (int i = 0; i < 3; ++i) actuatorPass(6, k.mA, k.range);
        CalcZarnSrcRetReadback(6);
        EXPECT_NEAR(stZarnActData[6].FiltSrcRbMa, k.mA, k.range == 1 ? 0.5 : 0.1) << k.name;
        EXPECT_NEAR(stZarnActData[6].FiltRtnRbMa, k.mA, 0.25) << k.name;
    }
    WriteAnalogOut(4, 20.0 * 568.89);
    GatherZarnSrcRetReadback(3);
    CalcZarnSrcRetReadback(3);
    EXPECT_NEAR(stZarnActData[3].SourceRbMa, 20.0, 0.05);
    EXPECT_NEAR(stZarnActData[3].ReturnRbMa, 20.0, 0.05);
}

// Wiring faults in the running actuator loop at 100 mA (high range): the
// flag rises on the sixth pass with the fault and falls on the first pass
// without it.
struct FaultCase {
    const char* name;
    board::LoopFault fault;
    double drift;
    bool sourceLow, sourceHigh, returnLow, returnHigh;
};

class ReadbackFault : public OutputDriver, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(ReadbackFault, RaisesAfterSixPassesAndClears) {
    const FaultCase& p = GetParam();
    const ZarnActChannel& c = stZarnActData[6];
    for (int i = 0; i < 20; ++i) actuatorPass(6, 100.0f, 1);
    ASSERT_EQ(c.SourceRbErr + c.ReturnRbErr, 0u);
    board::setLoopFault(6, p.fault);
    board::setLoopDrift(6, p.drift);
    actuatorPass(6, 100.0f, 1);  // gathers the first faulty readings
    for (int i = 1; i <= 6; ++i) {
        actuatorPass(6, 100.0f, 1);
        const bool raised = i == 6;
        EXPECT_EQ(c.SourceRbLoErr, raised && p.sourceLow ? 1u : 0u) << "pass " << i;
        EXPECT_EQ(c.SourceRbHiErr, raised && p.sourceHigh ? 1u : 0u) << "pass " << i;
        EXPECT_EQ(c.ReturnRbLoErr, raised && p.returnLow ? 1u : 0u) << "pass " << i;
        EXPECT_EQ(c.ReturnRbHiErr, raised && p.returnHigh ? 1u : 0u) << "pass " << i;
    }
    EXPECT_EQ(c.SourceRbErr, p.sourceLow || p.sourceHigh ? 1u : 0u);
    EXPECT_EQ(c.ReturnRbErr, p.returnLow || p.returnHigh ? 1u : 0u);
    board::setLoopFault(6, board::LoopFault::None);
    board::setLoopDrift(6, 0.0);
    actuatorPass(6, 100.0f, 1);
    actuatorPass(6, 100.0f, 1);
    EXPECT_EQ(c.SourceRbErr, 0u);
    EXPECT_EQ(c.ReturnRbErr, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Wiring, ReadbackFault,
    ::testing::Values(FaultCase{"open_wire", board::LoopFault::OpenWire, 0.0, true, false, true, false},
                      FaultCase{"short_to_ground", board::LoopFault::ShortToGround, 0.0, false, false, true, false},
                      FaultCase{"drift_up_ten_percent", board::LoopFault::None, 0.10, false, true, false, true},
                      FaultCase{"drift_down_ten_percent", board::LoopFault::None, -0.10, true, false, true, false}),
    [](const ::testing::TestParamInfo<FaultCase>& i) { return std::string(i.param.name); });

TEST_F(OutputDriver, LoadsLimitTheLoopCurrentAtTheCompliance) {
    struct Case {
        const char* name;
        uint32_t ch;
        double ohms;  // 0: the default load
        double mA;
    } cases[] = {{"actuator 6, default coil", 6, 0.0, 200.0},
                 {"actuator 7, default coil", 7, 0.0, 200.0},
                 {"actuator 6, 500 ohm", 6, 500.0, 48.0}};
    for (const Case& k : cases) {
        if (k.ohms > 0.0) board::setLoopLoad(static_cast<int>(k.ch), k.ohms);
        ZarnActChannel& c = stZarnActData[k.ch];
        c.Command = 1;
        c.Rategroup = 40;
        c.MaDemand = 200.0f;
        c.SlopeMaBits = 67.546f;
        CalcZarnActOutput(k.ch);
        WriteZarnActOut(k.ch, c.S_actout);
        EXPECT_NEAR(board::loopCurrentMa(static_cast<int>(k.ch)), k.mA, 0.05) << k.name;
    }
}

TEST_F(OutputDriver, SmallDriftStaysWithinTheSteadyTolerance) {
    board::setLoopDrift(6, 0.03);
    for (int i = 0; i < 30; ++i) actuatorPass(6, 100.0f, 1);
    EXPECT_EQ(stZarnActData[6].SourceRbErr + stZarnActData[6].ReturnRbErr, 0u);
}

TEST_F(OutputDriver, BelowTheFloorNoLowFlagCanRise) {
    board::setLoopFault(6, board::LoopFault::OpenWire);
    for (int i = 0; i < 30; ++i) actuatorPass(6, 1.0f, 0);  // below A5 = 1.38 mA
    EXPECT_EQ(stZarnActData[6].SourceRbLoErr, 0u);
    EXPECT_EQ(stZarnActData[6].ReturnRbLoErr, 0u);
}

struct OffCase {
    const char* name;
    int passes;
    bool flagged;
};

class CurrentWhileOff : public OutputDriver, public ::testing::WithParamInterface<OffCase> {};

// A current while the output is shut down: the driver is off, but the test
// puts a current into the readback registers as a wiring fault that feeds
// the loop would.
TEST_P(CurrentWhileOff, HighFlagAfterThreePasses) {
    ZarnActChannel& c = stZarnActData[6];
    c.Shutdown = 1;
    c.MaDemandwDither = 0.0f;
    for (int i = 0; i < GetParam().passes; ++i) {
        c.SourceReadback = 500;  // 26 mA in the low range
        c.ReturnReadback = 500;
        CalcZarnSrcRetReadback(6);
        CheckZarnSrcRetReadbackFaults(6);
    }
    EXPECT_EQ(c.SourceRbHiErr, GetParam().flagged ? 1u : 0u);
    EXPECT_EQ(c.ReturnRbHiErr, GetParam().flagged ? 1u : 0u);
    c.SourceReadback = 0;
    c.ReturnReadback = 0;
    for (int i = 0; i < 3; ++i) {
        CalcZarnSrcRetReadback(6);
        CheckZarnSrcRetReadbackFaults(6);
    }
    EXPECT_EQ(c.SourceRbHiErr, 0u);
}

INSTANTIATE_TEST_SUITE_P(Passes, CurrentWhileOff,
                         ::testing::Values(OffCase{"two_passes", 2, false}, OffCase{"three_passes", 3, true}),
                         [](const ::testing::TestParamInfo<OffCase>& i) { return std::string(i.param.name); });

TEST_F(OutputDriver, PrintListsEveryField) {
    testing::internal::CaptureStdout();
    printZarnActData(6);
    printZarnActData(8);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 22);
    EXPECT_NE(out.find("Rategroup        = 0\n"), std::string::npos);
}

}  // namespace

namespace {

// Which calibration pair converts each readback: every pair gets its own
// gain, so a readback of code 1000 shows which pair was used.
struct PairCase {
    const char* name;
    uint32_t ch;
    uint16_t command;
    uint32_t srcPair, rtnPair;
    float srcScale, srcOffset, rtnScale;
};

class ReadbackPair : public OutputDriver, public ::testing::WithParamInterface<PairCase> {};

TEST_P(ReadbackPair, EachRangeAndChannelUsesItsPair) {
    for (uint32_t k = 0; k < kZarnCalPairs; ++k) put_cal_mb(0, k, 1.0 + 0.01 * k, 0.0);
    const PairCase& p = GetParam();
    ZarnActChannel& c = stZarnActData[p.ch];
    c.Command = p.command;
    c.SourceReadback = 1500;
    c.ReturnReadback = 1500;
    CalcZarnSrcRetReadback(p.ch);
    const float srcGain = 1.0f + 0.01f * static_cast<float>(p.srcPair);
    const float rtnGain = 1.0f + 0.01f * static_cast<float>(p.rtnPair);
    EXPECT_FLOAT_EQ(c.SourceRbMa, (1500.0f * p.srcScale - p.srcOffset) * srcGain);
    EXPECT_FLOAT_EQ(c.ReturnRbMa, 1500.0f * p.rtnScale * rtnGain);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, ReadbackPair,
    ::testing::Values(PairCase{"output_readback_low", 3, 0, 19, 27, 0.04002001f, 40.96048f, 0.01235f},
                      PairCase{"output_readback_high", 3, 1, 36, 37, 0.4002f, 0.0f, 0.2001f},
                      PairCase{"actuator_6_low", 6, 0, 22, 30, 0.0522f, 0.0f, 0.2001f},
                      PairCase{"actuator_6_high", 6, 1, 33, 34, 0.4002f, 0.0f, 0.2001f},
                      PairCase{"actuator_7_low", 7, 0, 23, 31, 0.0522f, 0.0f, 0.2001f},
                      PairCase{"actuator_7_high", 7, 1, 36, 37, 0.4002f, 0.0f, 0.2001f}),
    [](const ::testing::TestParamInfo<PairCase>& i) { return std::string(i.param.name); });

}  // namespace
