// The driver stages of the analog outputs and the actuator through real
// passes of the slices: counts for 0, 50 and 100 % worked out by hand from
// the calibration pairs, readback faults from wiring faults of the board's
// loops, the I/O lock, and the calibration record read at start-up.
#include <bit>
#include <cmath>
#include <limits>

#include "app/analog/CNFG_ACT.cells.h"
#include "app/analog/CNFG_AO.cells.h"
#include "drivers/ZarnHwDepend.h"
#include "drivers/zarn_regs.h"
#include "host/vkboard.h"
#include "tests/analog_outputs/output_rig.h"

namespace ao_test {
namespace {

class OutputStage : public OutputRig {};

struct AoCountCase {
    const char* name;
    double signalMa;  // the channel's milliamp signal (4 mA = 0 %, 20 mA = 100 %)
    uint16_t count;   // (mA x 1.01 + 0.05) x 568.89, truncated
};

class AnalogOutputCount : public OutputRig, public ::testing::WithParamInterface<AoCountCase> {};

TEST_P(AnalogOutputCount, TheGatherWritesTheCalibratedCount) {
    flashCalibration({{11, 1.01, 0.05}, {12, 0.5, 0.0}, {13, 1.0, 1.0}});
    start();
    outputMa(0, GetParam().signalMa);
    outputMa(1, 10.0);
    outputMa(2, 30.0);
    runPasses(R20, 6);  // the filtered readback follows two passes behind the count
    EXPECT_EQ(board::pwmOutput(zarnAoutCountReg(4)), GetParam().count);
    EXPECT_EQ(board::pwmOutput(zarnAoutCountReg(5)), 2844);   // 10 x 0.5 x 568.89
    EXPECT_EQ(board::pwmOutput(zarnAoutCountReg(6)), 13084);  // 22 mA limit, + 1: 23 x 568.89
    EXPECT_FLOAT_EQ(real("CNFG_AO.AO_01_ZARN.DISPLAY"), static_cast<float>(GetParam().signalMa));
    EXPECT_FLOAT_EQ(real("CNFG_AO.AO_01_MA.A_NAME"), static_cast<float>(GetParam().signalMa));
    EXPECT_NEAR(real("CNFG_AO.AO_01_ZARN.RDBK_RET"), GetParam().count / 568.89, 0.02);
    EXPECT_NEAR(real("CNFG_AO.AO_01_RDBK.A_NAME"), GetParam().count / 568.89, 0.02);
    EXPECT_EQ(boolean("CNFG_AO.AO_01_ZARN.RB_RET_FLT"), 0u);
}

INSTANTIATE_TEST_SUITE_P(Demands, AnalogOutputCount,
                         ::testing::Values(AoCountCase{"zero_percent", 4.0, 2326},
                                           AoCountCase{"fifty_percent", 12.0, 6923},
                                           AoCountCase{"hundred_percent", 20.0, 11520}),
                         [](const ::testing::TestParamInfo<AoCountCase>& i) { return std::string(i.param.name); });

struct ActCountCase {
    const char* name;
    double percent;
    uint16_t count;  // (20 + 1.4 x percent) x 1.02 - 0.5, x 67.546, truncated
};

class ActuatorCount : public OutputRig, public ::testing::WithParamInterface<ActCountCase> {};

TEST_P(ActuatorCount, TheGatherWritesTheCalibratedCount) {
    flashCalibration({{32, 1.02, -0.5}});
    configureActuator(1, 20.0, 160.0);
    start();
    hpDemand(GetParam().percent);
    runPasses(R160, 3);
    EXPECT_EQ(stZarnActData[6].Command, 1);
    EXPECT_EQ(board::pwmOutput(ZARN_ACT6_COUNT), GetParam().count);
    EXPECT_NE(board::controlRegister() & ZARN_CTRL_ACT6_ENABLE, 0);
    EXPECT_NE(board::controlRegister() & ZARN_CTRL_ACT6_HIGH, 0);
    EXPECT_FLOAT_EQ(real("CNFG_ACT.ACT_1.ACT_ZARN"), static_cast<float>(GetParam().percent));
    EXPECT_EQ(boolean("CNFG_ACT.ACT_01_FLT_ANY.OR"), 0u);
}

INSTANTIATE_TEST_SUITE_P(Demands, ActuatorCount,
                         ::testing::Values(ActCountCase{"zero_percent", 0.0, 1344},
                                           ActCountCase{"fifty_percent", 50.0, 6166},
                                           ActCountCase{"hundred_percent", 100.0, 10989}),
                         [](const ::testing::TestParamInfo<ActCountCase>& i) { return std::string(i.param.name); });

TEST_F(OutputStage, ARangeChangeAfterStartUpWaitsForTheNextStart) {
    configureActuator(0, 4.0, 20.0);
    start();
    runPasses(R160, 3);
    ASSERT_EQ(stZarnActData[6].Command, 0);
    setCell("_ub5.HW_RANGE.IN", 2);
    sampleConfiguration();
    EXPECT_EQ(integer("_ub5.RANGE.I_NAME"), 1);
    EXPECT_EQ(stZarnActData[6].Command, 0);
}

TEST_F(OutputStage, DemandCurrentsAreLimitedToTheRange) {
    configureActuator(0, -5.0, 30.0);  // 0 % raised to 0 mA, 100 % limited to 27.5 mA
    start();
    hpDemand(100.0);
    runPasses(R160, 3);
    EXPECT_FLOAT_EQ(stZarnActData[6].MaDemand, 27.5f);
    hpDemand(0.0);
    runPasses(R160, 1);
    EXPECT_FLOAT_EQ(stZarnActData[6].MaDemand, 0.0f);
    hpDemand(200.0);  // the percent demand is limited to 110 %
    runPasses(R160, 1);
    EXPECT_FLOAT_EQ(real("CNFG_ACT.ACT_1.ACT_ZARN"), 110.0f);
}

struct ScaleCase {
    const char* name;
    double ma0, ma100, offset;
    uint32_t compare, equal, sd;
    float toDec;
};

class ActuatorScale : public OutputRig, public ::testing::WithParamInterface<ScaleCase> {};

TEST_P(ActuatorScale, ScaleCheckAndOffsetInPercent) {
    configureActuator(1, GetParam().ma0, GetParam().ma100);
    start();
    setCell("CNFG_ACT.ACT_01_OFFSET.IN", GetParam().offset);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("CNFG_ACT.ACT1_SCALE_CHECK.A_COMPARE"), GetParam().compare);
    EXPECT_EQ(boolean("CNFG_ACT.ACT1_SCALE_CHECK.A_EQUAL"), GetParam().equal);
    EXPECT_EQ(boolean("CNFG_ACT.ACT1_SCALE_SD.AND"), GetParam().sd);
    EXPECT_FLOAT_EQ(real("CNFG_ACT.MA_TO_DEC.DIVIDE"), GetParam().toDec);
    EXPECT_FLOAT_EQ(real("CNFG_ACT.RANGE1.SUBTRACT"), static_cast<float>(GetParam().ma100 - GetParam().ma0));
}

INSTANTIATE_TEST_SUITE_P(
    Spans, ActuatorScale,
    ::testing::Values(ScaleCase{"rising_span", 20.0, 120.0, 5.0, 0, 0, 0, 0.05f},
                      ScaleCase{"zero_span_positive_offset", 50.0, 50.0, 0.0, 1, 1, 1, 1e34f},
                      ScaleCase{"zero_span_negative_offset", 50.0, 50.0, -1.0, 1, 1, 1, -1e34f},
                      ScaleCase{"falling_span", 120.0, 20.0, 10.0, 1, 0, 1, -0.1f}),
    [](const ::testing::TestParamInfo<ScaleCase>& i) { return std::string(i.param.name); });

TEST_F(OutputStage, TheExtraFaultInputJoinsTheActuatorFault) {
    start();
    setCell("CNFG_ACT.ACT_01_FLT_ANY.IN_3", 1);
    runPasses(R10, 1);
    EXPECT_EQ(boolean("CNFG_ACT.ACT_01_FLT_ANY.OR"), 1u);
}

TEST_F(OutputStage, TheIoLockTurnsEveryOutputOff) {
    configureActuator(1, 20.0, 160.0);
    start();
    hpDemand(50.0);
    outputMa(0, 12.0);
    outputMa(1, 12.0);
    outputMa(2, 12.0);
    runPasses(R160, 3);
    ASSERT_GT(board::peek16(ZARN_ACT6_COUNT), 0);
    io_lock(0x7FFF);
    board::clearWriteLog();
    runPasses(R20, 2);
    for (int n = 4; n <= 6; ++n) EXPECT_EQ(board::peek16(zarnAoutCountReg(n)), 0) << "output " << n;
    EXPECT_EQ(board::peek16(ZARN_ACT6_COUNT), 0);
    EXPECT_EQ(stZarnActData[6].S_actout, 0.0f);
    for (int ch = 0; ch < board::kCurrentLoops; ++ch) EXPECT_EQ(board::loopCurrentMa(ch), 0.0) << ch;
    EXPECT_FALSE(board::writeLog(ZARN_ACT6_COUNT, ZARN_ACT6_COUNT).empty());
    io_lock(0x8000);
    runPasses(R20, 2);
    EXPECT_GT(board::peek16(ZARN_ACT6_COUNT), 0);
    EXPECT_GT(board::peek16(zarnAoutCountReg(4)), 0);
}

TEST_F(OutputStage, BlockInitialisationSetsTheDriverRecords) {
    for (int ch = 0; ch < 8; ++ch) stZarnActData[ch] = ZarnActChannel{7, 7, 1, 1, 1, 1, 1, 1, 1, 1, 1, 7, 7, 1, 1,
                                                                      1, 0, 0, 0, 0, 0, 0};
    CNFG_AO_init_blks();
    CNFG_ACT_init_blks();
    for (int ch = 3; ch <= 5; ++ch) {
        EXPECT_EQ(stZarnActData[ch].Command, 0) << ch;
        EXPECT_EQ(stZarnActData[ch].Rategroup, 20) << ch;
        EXPECT_EQ(stZarnActData[ch].Shutdown, 0u) << ch;
    }
    EXPECT_EQ(stZarnActData[6].Rategroup, 10);
    EXPECT_EQ(stZarnActData[2].Rategroup, 7);
    EXPECT_EQ(stZarnActData[7].Rategroup, 7);
}

TEST_F(OutputStage, ShutdownOfAnAnalogOutputWritesZero) {
    start();
    outputMa(0, 12.0);
    setCell("CNFG_AO.AO_01_ZARN.SD", 1);
    runPasses(R20, 3);
    EXPECT_EQ(board::peek16(zarnAoutCountReg(4)), 0);
    EXPECT_EQ(stZarnActData[3].Shutdown, 1u);
    EXPECT_EQ(boolean("CNFG_AO.AO_01_ZARN.RB_RET_FLT"), 0u);
}

struct LimitCase {
    const char* name;
    double minCur, maxCur, signal, gain, offset;
    float current;
};

// Kept on the slices: the service tool enters the channel limits only
// inside 2 .. 3 and 20 .. 25 mA, so no input gives these limits.
class AnalogOutputLimits : public OutputRig, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(AnalogOutputLimits, CurrentIsClampedToTheChannelLimits) {
    start();
    setCell("CNFG_AO.AO_01_ZARN.MIN_CUR", GetParam().minCur);
    setCell("CNFG_AO.AO_01_ZARN.MAX_CUR", GetParam().maxCur);
    setCell("CNFG_AO.AO_01_GAIN.IN", GetParam().gain);
    setCell("CNFG_AO.AO_01_OFFSET.IN", GetParam().offset);
    outputMa(0, GetParam().signal);
    runPasses(R160, 2);
    EXPECT_FLOAT_EQ(stZarnActData[3].MaDemand, GetParam().current);
    EXPECT_FLOAT_EQ(stZarnActData[3].MaDemandwDither, GetParam().current);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, AnalogOutputLimits,
    ::testing::Values(LimitCase{"maximum_beyond_the_driver", 2.0, 30.0, 24.0, 1.2, 0.0, 27.5f},
                      LimitCase{"minimum_above_maximum", 25.0, 20.0, 12.0, 1.0, 0.0, 0.0f},
                      LimitCase{"negative_minimum_counts_as_zero", -1.0, 22.0, 0.0, 1.0, -3.0, 0.0f}),
    [](const ::testing::TestParamInfo<LimitCase>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace ao_test

namespace ao_test {
namespace {

// On the whole program, with the calibration table in the board's flash:
// the driver stages turn the channels' currents into the calibrated counts
// (gain and offset of an output entered from the service tool while the
// controller powers up), the readbacks come back from the board's loops,
// and a wiring fault on a loop rises on the sixth pass that sees it and
// clears on the first without it.
class OutputStageProgram : public OutputProgram {
protected:
    static constexpr double kAoBits = 568.89;  // counts per mA of an analog output
    // The count of a current through a calibration pair.
    static int count(double mA, double m, double b, double bits) {
        return static_cast<int>((static_cast<float>(mA) * static_cast<float>(m) + static_cast<float>(b)) * bits);
    }
};

TEST_F(OutputStageProgram, CalibratedCountsReadbacksAndWiringFaults) {
    storeCalibration({{11, 1.01, 0.05}, {12, 0.5, 0.0}, {14, 1.02, -0.05}});
    startConfigured({{"CNFG_AO.AO_03_GAIN.IN", 1.5}, {"CNFG_AO.AO_03_OFFSET.IN", -2.0}});
    startToInControl();
    turbine::setLoad(0.3);
    runPasses(ref_test::R160, 20);
    holdShaftAt(shaft());
    runPasses(ref_test::R160, 6);
    // Output 1 (the speed) through the pair (1.01, 0.05), output 2 (the
    // speed setpoint) through (0.5, 0); output 3 (the HP demand) with gain
    // 1.5 and offset -2 mA before its pair (1, 0).
    const float speedMa = real("_ub10.MA_SIGNAL.A_NAME");
    ASSERT_GT(speedMa, 10.0f);
    EXPECT_NEAR(board::pwmOutput(zarnAoutCountReg(4)), count(speedMa, 1.01, 0.05, kAoBits), 1);
    EXPECT_NEAR(board::pwmOutput(zarnAoutCountReg(5)), count(real("_ub11.MA_SIGNAL.A_NAME"), 0.5, 0.0, kAoBits), 1);
    EXPECT_FLOAT_EQ(stZarnActData[5].MaDemand, 1.5f * real("_ub12.MA_SIGNAL.A_NAME") - 2.0f);
    EXPECT_FLOAT_EQ(real("CNFG_AO.AO_01_ZARN.DISPLAY"), speedMa);
    EXPECT_FLOAT_EQ(real("CNFG_AO.AO_01_MA.A_NAME"), speedMa);
    const double driven = board::pwmOutput(zarnAoutCountReg(4)) / kAoBits;
    EXPECT_NEAR(real("CNFG_AO.AO_01_ZARN.RDBK_RET"), driven, 0.02);
    EXPECT_NEAR(real("CNFG_AO.AO_01_RDBK.A_NAME"), driven, 0.02);
    EXPECT_EQ(boolean("CNFG_AO.AO_01_ZARN.RB_RET_FLT"), 0u);
    // The actuator (low range) through its low range's pair (1.02, -0.05):
    // within 10 counts, the speed control's demand moving on a little from
    // the pass that wrote the count (the pair moves it by some 100).
    const ZarnActChannel& act = stZarnActData[6];
    EXPECT_EQ(act.Command, 0);
    EXPECT_NEAR(board::pwmOutput(ZARN_ACT6_COUNT), count(act.MaDemandwDither, 1.02, -0.05, act.SlopeMaBits), 10);
    EXPECT_NE(board::controlRegister() & ZARN_CTRL_ACT6_ENABLE, 0);
    EXPECT_EQ(board::controlRegister() & ZARN_CTRL_ACT6_HIGH, 0);
    EXPECT_FLOAT_EQ(real("CNFG_ACT.ACT_1.ACT_ZARN"), real("_ub5.DEMAND.A_NAME"));
    EXPECT_EQ(boolean("CNFG_ACT.ACT_01_FLT_ANY.OR"), 0u);

    // Wiring faults of output 1's loop and of the actuator's (output 2's
    // readback, off by its pair, stays as it is).
    const uint32_t second = boolean("CNFG_AO.AO_02_ZARN.RB_RET_FLT");
    const struct {
        int loop, group;
        const char *src, *ret, *srcAlarm, *retAlarm;
    } loops[] = {{3, ref_test::R20, "CNFG_AO.AO_01_ZARN.RB_SRC_FLT", "CNFG_AO.AO_01_ZARN.RB_RET_FLT",
                  "CNFG_AO.AO_01_SRC_FLT.B_NAME", "CNFG_AO.AO_01_RDBK_FLT.B_NAME"},
                 {6, ref_test::R10, "CNFG_ACT.ACT_1.RB_SRC_FLT", "CNFG_ACT.ACT_1.RB_RET_FLT",
                  "CNFG_ACT.ACT_01_SRC_FLT.B_NAME", "CNFG_ACT.ACT_01_RDBK_FLT.B_NAME"}};
    const struct {
        board::LoopFault fault;
        bool source;
    } faults[] = {{board::LoopFault::OpenWire, true}, {board::LoopFault::ShortToGround, false}};
    for (const auto& l : loops) {
        for (const auto& f : faults) {
            board::setLoopFault(l.loop, f.fault);
            for (int pass = 1; pass <= 6; ++pass) {
                runPasses(l.group, 1);
                const bool raised = pass == 6;
                EXPECT_EQ(boolean(l.src), raised && f.source ? 1u : 0u) << l.loop << " " << pass;
                EXPECT_EQ(boolean(l.ret), raised ? 1u : 0u) << l.loop << " " << pass;
                if (l.loop == 6) {
                    EXPECT_EQ(boolean("CNFG_ACT.ACT_01_FLT_ANY.OR"), raised ? 1u : 0u) << pass;
                }
            }
            EXPECT_EQ(boolean(l.retAlarm), 1u) << l.loop;
            EXPECT_EQ(boolean(l.srcAlarm), f.source ? 1u : 0u) << l.loop;
            EXPECT_EQ(boolean("CNFG_AO.AO_02_ZARN.RB_RET_FLT"), second);
            board::setLoopFault(l.loop, board::LoopFault::None);
            runPasses(l.group, 1);
            EXPECT_EQ(boolean(l.src), 0u) << l.loop;
            EXPECT_EQ(boolean(l.ret), 0u) << l.loop;
            if (l.loop == 6) {
                EXPECT_EQ(boolean("CNFG_ACT.ACT_01_FLT_ANY.OR"), 0u);
            }
            runPasses(ref_test::R160, 2);
        }
    }
}

}  // namespace
}  // namespace ao_test

namespace ao_test {
namespace {

// The calibration record read at start-up, on the whole program: output 1
// carries the speed, 4 mA at standstill.
struct RecordCase {
    const char* name;
    int kind;  // 0 good, 1 checksum wrong, 2 all zeros, 3 NaN with right sum, 4 flash fails
    bool fault;
};

class CalibrationRecord : public OutputProgram, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(CalibrationRecord, ABadRecordGivesTheDefaultsAndTheEvent) {
    const int kind = GetParam().kind;
    storeCalibration({{11, 2.0, 1.0}});
    if (kind == 1) {
        std::vector<uint8_t> f = board::calibrationFlash();
        f[11 * 8] ^= 1;
        board::setCalibrationFlash(f);
    } else if (kind == 2) {
        board::setCalibrationFlash(std::vector<uint8_t>(356, 0));
    } else if (kind == 3) {
        // A flash table with a right checksum over a pair that is no number
        // (put_cal_mb refuses such a pair, so the table is written whole).
        SetCalDefaults();
        ZarnCalData.pair[11].m = std::numeric_limits<float>::quiet_NaN();
        uint32_t sum = 0;
        for (const ZarnCalPair& p : ZarnCalData.pair) sum += std::bit_cast<uint32_t>(p.m) + std::bit_cast<uint32_t>(p.b);
        ZarnCalData.checksum = 0u - sum;
        ASSERT_EQ(WriteCalValues(), 0);
        ResetZarnCalibration();
    } else if (kind == 4) {
        board::failCalibrationFlash(true);
    }
    startConfigured();
    EXPECT_EQ(boolean("ORVEX12_IO.CHASS_STATUS.CAL_FLT"), GetParam().fault ? 1u : 0u);
    bool event = false;
    for (const std::string& line : messageLines()) {
        if (line == "event 3: Zarn Calibration Fault - Applying default calibration values.") event = true;
    }
    EXPECT_EQ(event, GetParam().fault);
    float g = 0, o = 0;
    ASSERT_EQ(get_cal_mb(0, 11, &g, &o), 0);
    EXPECT_EQ(g, GetParam().fault ? 1.0f : 2.0f);
    EXPECT_EQ(o, GetParam().fault ? 0.0f : 1.0f);
    // The output follows the pair in force: 4 mA x 2 + 1 or 4 mA x 1 + 0.
    ASSERT_EQ(real("_ub10.MA_SIGNAL.A_NAME"), 4.0f);
    EXPECT_EQ(board::pwmOutput(zarnAoutCountReg(4)), GetParam().fault ? 2275 : 5120);
}

INSTANTIATE_TEST_SUITE_P(Records, CalibrationRecord,
                         ::testing::Values(RecordCase{"good", 0, false}, RecordCase{"checksum_wrong", 1, true},
                                           RecordCase{"all_zeros", 2, true},
                                           RecordCase{"not_a_number_with_right_checksum", 3, true},
                                           RecordCase{"flash_read_fails", 4, true}),
                         [](const ::testing::TestParamInfo<RecordCase>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace ao_test

namespace ao_test {
namespace {

// The current of output 1 clamped to its channel limits on the whole
// program: the speed signal of the held shaft on its range, the limits, gain
// and offset entered from the service tool while the controller powers up.
struct ProgramLimitCase {
    const char* name;
    double lo, hi, rpm;  // the signal: 4 + 16 (rpm - lo) / (hi - lo) mA
    double minCur, maxCur, gain, offset;
    float current;
};

class AnalogOutputProgramLimits : public OutputProgram, public ::testing::WithParamInterface<ProgramLimitCase> {};

TEST_P(AnalogOutputProgramLimits, CurrentIsClampedToTheChannelLimits) {
    const ProgramLimitCase& p = GetParam();
    startConfigured({{"_ub10.RANGE_LO.IN", p.lo},
                     {"_ub10.RANGE_HI.IN", p.hi},
                     {"CNFG_AO.AO_01_ZARN.MIN_CUR", p.minCur},
                     {"CNFG_AO.AO_01_ZARN.MAX_CUR", p.maxCur},
                     {"CNFG_AO.AO_01_GAIN.IN", p.gain},
                     {"CNFG_AO.AO_01_OFFSET.IN", p.offset}});
    holdShaftAt(p.rpm);
    runPasses(ref_test::R160, 6);
    ASSERT_EQ(real("MPU.TURB_SPD.A_NAME"), static_cast<float>(p.rpm));
    EXPECT_FLOAT_EQ(stZarnActData[3].MaDemand, p.current);
    EXPECT_FLOAT_EQ(stZarnActData[3].MaDemandwDither, p.current);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, AnalogOutputProgramLimits,
    ::testing::Values(ProgramLimitCase{"inside", 0, 4000, 2000, 2.0, 22.0, 1.0, 0.0, 12.0f},
                      ProgramLimitCase{"gain_and_offset", 0, 4000, 2000, 2.0, 22.0, 1.5, -2.0, 16.0f},
                      ProgramLimitCase{"below_minimum", 1000, 5000, 250, 2.0, 22.0, 1.0, 0.0, 2.0f},
                      ProgramLimitCase{"above_maximum", 0, 1000, 1250, 2.0, 22.0, 1.0, 0.0, 22.0f}),
    [](const ::testing::TestParamInfo<ProgramLimitCase>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace ao_test

namespace ao_test {
namespace {

// The actuator's gain and offset entered from the service tool while the
// controller powers up, on the whole program in control: the offset in mA
// is taken as a percentage of the span (1.6 mA of 16 mA: 10 %), added to
// the HP demand times the gain.
TEST_F(OutputStageProgram, OffsetAndGainOfTheActuator) {
    startConfigured({{"CNFG_ACT.ACT_01_GAIN.IN", 0.5}, {"CNFG_ACT.ACT_01_OFFSET.IN", 1.6}});
    startToInControl();
    turbine::setLoad(0.5);
    ASSERT_TRUE(runUntil([&] { return real("_ub5.DEMAND.A_NAME") > 10.0f; }, 500));
    EXPECT_FLOAT_EQ(real("CNFG_ACT.MA_TO_PCT.MULTIPLY"), 10.0f);
    const float demand = real("_ub5.DEMAND.A_NAME");
    EXPECT_GT(demand, 10.0f);
    EXPECT_NEAR(stZarnActData[6].MaDemand, 4.0f + 0.16f * (demand * 0.5f + 10.0f), 1e-3f);
}

}  // namespace
}  // namespace ao_test
