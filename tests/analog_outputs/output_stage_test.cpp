// The driver stages of the analog outputs and the actuator on the whole
// program: counts for 0, 50 and 100 % worked out by hand from the
// calibration pairs, readback faults from wiring faults of the board's
// loops, the I/O lock, the actuator's range at the next start, and the
// calibration record read at start-up; limits no input reaches on the
// slices.
#include <bit>
#include <limits>

#include "drivers/zarn_regs.h"
#include "host/vkboard.h"
#include "platform/vkiobus.h"
#include "runtime/sysinfo.h"
#include "tests/analog_outputs/output_rig.h"

namespace ao_test {
namespace {

class OutputStage : public OutputRig {};

// Kept on the slices: the service tool enters the low range's currents only
// inside 0 .. 25 mA, so no input gives these limits (the high range's, and
// the 110 % limit of a readout, are on the whole program below).
TEST_F(OutputStage, DemandCurrentsAreLimitedToTheRange) {
    configureActuator(0, -5.0, 30.0);  // 0 % raised to 0 mA, 100 % limited to 27.5 mA
    start();
    hpDemand(100.0);
    runPasses(R160, 3);
    EXPECT_FLOAT_EQ(stZarnActData[6].MaDemand, 27.5f);
    hpDemand(0.0);
    runPasses(R160, 1);
    EXPECT_FLOAT_EQ(stZarnActData[6].MaDemand, 0.0f);
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

namespace ao_test {
namespace {

// The actuator on its high range (0 % at 20 mA, 100 % at 160 mA, the high
// range's calibration pair 1.02, -0.5) on the whole program.
class ActuatorHighRangeProgram : public OutputStageProgram {
protected:
    // Entered while the controller powers up: in force from the next start.
    void startWithTheHighRangeEntered() {
        storeCalibration({{32, 1.02, -0.5}});
        startConfigured({{"_ub5.HW_RANGE.IN", 2},
                         {"_ub5.MA_AT_0_RNG1.IN", 20.0},
                         {"_ub5.MA_AT_100_RNG1.IN", 160.0},
                         {"CNFG_ACT.ACT_FRC_RATE.IN", 20.0}});
    }
    // The tunables saved by the service tool's save command, the program
    // stopped and started again.
    void save() {
        serviceWrite("MASTER.SAVETUNES.IN_1", 1);
        runPasses(ref_test::R160, 20);
        serviceWrite("MASTER.SAVETUNES.IN_1", 0);
        stopApp();
    }
    // The HP valve stroked to `percent` with the force setpoint's go to.
    void strokeTo(double percent) {
        serviceWrite("_ub5.ENTR_SETPT.TUNE", percent);
        serviceWrite("_ub5.COMMANDS.IN_5", 1);
        ASSERT_TRUE(runUntil([&] { return real("_ub5.FORCE_SETPT.RAMP") == static_cast<float>(percent); }, 200));
        serviceWrite("_ub5.COMMANDS.IN_5", 0);
        runPasses(ref_test::R160, 2);
    }
};

// The range entered while the controller powers up is in force in the
// channel at once but reaches the driver only at the next start; then block
// initialisation sets the driver records the previous run left, the stroked
// valve's demand gives the calibrated high-range counts, the I/O lock turns
// every output off and its release back on, a shut-down output writes 0,
// the currents of 0 and 100 % are
// kept inside what the high range drives, and the scale check.
TEST_F(ActuatorHighRangeProgram, RangeAtTheNextStartThenCountsIoLockShutdownLimitsAndScaleCheck) {
    startWithTheHighRangeEntered();
    EXPECT_EQ(integer("_ub5.RANGE.I_NAME"), 1);
    EXPECT_EQ(stZarnActData[6].Command, 0);
    EXPECT_EQ(board::controlRegister() & ZARN_CTRL_ACT6_HIGH, 0);
    save();

    // Records as a previous run may leave them: block initialisation sets
    // the output channels' (3 .. 5) and the actuator's rate groups, range
    // and shutdown, and leaves the others alone.
    for (int ch = 0; ch < 8; ++ch) stZarnActData[ch] = ZarnActChannel{7, 7, 1, 1, 1, 1, 1, 1, 1, 1, 1, 7, 7, 1, 1,
                                                                      1, 0, 0, 0, 0, 0, 0};
    startApp();
    for (int ch = 3; ch <= 5; ++ch) {
        EXPECT_EQ(stZarnActData[ch].Command, 0) << ch;
        EXPECT_EQ(stZarnActData[ch].Rategroup, 20) << ch;
        EXPECT_EQ(stZarnActData[ch].Shutdown, 0u) << ch;
    }
    EXPECT_EQ(stZarnActData[6].Rategroup, 10);
    EXPECT_EQ(stZarnActData[2].Rategroup, 7);
    EXPECT_EQ(stZarnActData[7].Rategroup, 7);
    runPasses(ref_test::R160, 20);
    EXPECT_EQ(integer("_ub5.RANGE.I_NAME"), 1);

    // Stroked in calibration mode: (20 + 1.4 x percent) x 1.02 - 0.5, x 67.546, truncated.
    shutDown();
    calibration(true);
    pulse("IFACE_IN_VLV.HP_STRK_ENBL.IN", ref_test::R160);
    runPasses(ref_test::R160, 2);
    ASSERT_EQ(boolean("HP_DRIVER.STRK_LTCH.LATCH_R"), 1u);
    const struct {
        double percent;
        uint16_t count;
    } strokes[] = {{0.0, 1344}, {50.0, 6166}, {100.0, 10989}};
    for (const auto& k : strokes) {
        strokeTo(k.percent);
        EXPECT_EQ(stZarnActData[6].Command, 1);
        EXPECT_EQ(board::pwmOutput(ZARN_ACT6_COUNT), k.count) << k.percent;
        EXPECT_NE(board::controlRegister() & ZARN_CTRL_ACT6_ENABLE, 0);
        EXPECT_NE(board::controlRegister() & ZARN_CTRL_ACT6_HIGH, 0);
        EXPECT_FLOAT_EQ(real("CNFG_ACT.ACT_1.ACT_ZARN"), static_cast<float>(k.percent));
        EXPECT_EQ(boolean("CNFG_ACT.ACT_01_FLT_ANY.OR"), 0u);
    }

    // The I/O lock, taken and released through the platform's entry points.
    strokeTo(50.0);
    for (int n = 4; n <= 6; ++n) ASSERT_GT(board::peek16(zarnAoutCountReg(n)), 0) << "output " << n;
    ASSERT_GT(board::peek16(ZARN_ACT6_COUNT), 0);
    for (int p = 0; p < 100 && _SYS_INFO_LOCK_PER != 1; ++p) runPasses(ref_test::R10, 1);
    Assert_IOLOCK();
    ASSERT_EQ(Query_IOLOCK(), 1u);
    board::clearWriteLog();
    runPasses(ref_test::R20, 2);
    for (int n = 4; n <= 6; ++n) EXPECT_EQ(board::peek16(zarnAoutCountReg(n)), 0) << "output " << n;
    EXPECT_EQ(board::peek16(ZARN_ACT6_COUNT), 0);
    EXPECT_EQ(stZarnActData[6].S_actout, 0.0f);
    for (int ch = 0; ch < board::kCurrentLoops; ++ch) EXPECT_EQ(board::loopCurrentMa(ch), 0.0) << ch;
    EXPECT_FALSE(board::writeLog(ZARN_ACT6_COUNT, ZARN_ACT6_COUNT).empty());
    serviceWrite("MASTER.COMMANDS.IN_3", 1);  // configure mode, which the lock entered, left
    for (int p = 0; p < 8 && boolean("MASTER.LOCK_IO.LATCH") != 0; ++p) runPasses(ref_test::R160, 1);
    ASSERT_EQ(boolean("MASTER.LOCK_IO.LATCH"), 0u);
    UnAssert_IOLOCK();
    runPasses(ref_test::R20, 2);
    EXPECT_GT(board::peek16(ZARN_ACT6_COUNT), 0);
    EXPECT_GT(board::peek16(zarnAoutCountReg(4)), 0);

    // A shutdown of output 1 from the service tool (its calibration the
    // default pair) writes 0.
    serviceWrite("CNFG_AO.AO_01_ZARN.SD", 1);
    runPasses(ref_test::R20, 3);
    EXPECT_EQ(board::peek16(zarnAoutCountReg(4)), 0);
    EXPECT_EQ(stZarnActData[3].Shutdown, 1u);
    EXPECT_EQ(boolean("CNFG_AO.AO_01_ZARN.RB_RET_FLT"), 0u);

    // The currents of 0 and 100 % taken in calibration mode: -10 mA raised to
    // 0 mA, 220 mA kept to the 210 mA the high range drives.
    serviceWrite("_ub5.MA_AT_0_RNG1.IN", -10.0);
    serviceWrite("_ub5.MA_AT_100_RNG1.IN", 220.0);
    runPasses(ref_test::R160, 4);
    strokeTo(100.0);
    EXPECT_FLOAT_EQ(stZarnActData[6].MaDemand, 210.0f);
    strokeTo(0.0);
    EXPECT_FLOAT_EQ(stZarnActData[6].MaDemand, 0.0f);

    // The scale check of the HP demand function and the offset in percent of
    // the span.
    const struct {
        const char* name;
        double ma0, ma100, offset;
        uint32_t compare, equal, sd;
        float toDec;
    } scales[] = {{"rising span", 20.0, 120.0, 5.0, 0, 0, 0, 0.05f},
                  {"zero span, positive offset", 50.0, 50.0, 0.0, 1, 1, 1, 1e34f},
                  {"zero span, negative offset", 50.0, 50.0, -1.0, 1, 1, 1, -1e34f},
                  {"falling span", 120.0, 20.0, 10.0, 1, 0, 1, -0.1f}};
    for (const auto& c : scales) {
        serviceWrite("_ub5.MA_AT_0_RNG1.IN", c.ma0);
        serviceWrite("_ub5.MA_AT_100_RNG1.IN", c.ma100);
        serviceWrite("CNFG_ACT.ACT_01_OFFSET.IN", c.offset);
        runPasses(ref_test::R160, 4);
        EXPECT_EQ(boolean("CNFG_ACT.ACT1_SCALE_CHECK.A_COMPARE"), c.compare) << c.name;
        EXPECT_EQ(boolean("CNFG_ACT.ACT1_SCALE_CHECK.A_EQUAL"), c.equal) << c.name;
        EXPECT_EQ(boolean("CNFG_ACT.ACT1_SCALE_SD.AND"), c.sd) << c.name;
        EXPECT_FLOAT_EQ(real("CNFG_ACT.MA_TO_DEC.DIVIDE"), c.toDec) << c.name;
        EXPECT_FLOAT_EQ(real("CNFG_ACT.RANGE1.SUBTRACT"), static_cast<float>(c.ma100 - c.ma0)) << c.name;
    }
}

}  // namespace
}  // namespace ao_test

namespace ao_test {
namespace {

// The three outputs on the held shaft speed, with the calibration pairs
// (1.01, 0.05), (0.5, 0) and (1, 1): output 1 over 0 .. 4000 rpm gives
// 4, 12 and 20 mA at 0, 2000 and 4000 rpm, (mA x 1.01 + 0.05) x 568.89
// counts, truncated; at 2000 rpm output 2 (500 .. 4500 rpm) gives 10 mA,
// 10 x 0.5 x 568.89 counts, and output 3 (0 .. 1000 rpm) 36 mA, kept to the
// 22 mA limit, + 1: 23 x 568.89. The readback follows the count. The
// actuator reads the speed out over 0 .. 2000 rpm: 200 % at 4000 rpm is
// limited to 110 %. Then a shutdown of output 1 from the service tool, and
// the actuator fault's extra input set from it.
TEST_F(OutputStageProgram, CountsOfTheHeldSpeedShutdownAndTheExtraActuatorFault) {
    storeCalibration({{11, 1.01, 0.05}, {12, 0.5, 0.0}, {13, 1.0, 1.0}});
    startConfigured({{"_ub11.FUNCT.IN", 2},
                     {"_ub11.RANGE_LO.IN", 500},
                     {"_ub11.RANGE_HI.IN", 4500},
                     {"_ub12.FUNCT.IN", 2},
                     {"_ub12.RANGE_LO.IN", 0},
                     {"_ub12.RANGE_HI.IN", 1000},
                     {"_ub5.FUNCT.IN", 4},
                     {"_ub5.RO_FUNCT.IN", 2},
                     {"_ub5.RO_LOW.IN", 0},
                     {"_ub5.RO_HI.IN", 2000}});
    const struct {
        double rpm, signalMa;
        uint16_t count;
        float actuator;  // percent
    } speeds[] = {{0.0, 4.0, 2326, 0.0f}, {2000.0, 12.0, 6923, 100.0f}, {4000.0, 20.0, 11520, 110.0f}};
    for (const auto& k : speeds) {
        holdShaftAt(k.rpm);
        ASSERT_TRUE(runUntil([&] { return real("MPU.TURB_SPD.A_NAME") == static_cast<float>(k.rpm); }, 100));
        runPasses(ref_test::R20, 6);  // the filtered readback follows two passes behind the count
        EXPECT_EQ(board::pwmOutput(zarnAoutCountReg(4)), k.count) << k.rpm;
        EXPECT_FLOAT_EQ(real("CNFG_AO.AO_01_ZARN.DISPLAY"), static_cast<float>(k.signalMa));
        EXPECT_FLOAT_EQ(real("CNFG_AO.AO_01_MA.A_NAME"), static_cast<float>(k.signalMa));
        EXPECT_NEAR(real("CNFG_AO.AO_01_ZARN.RDBK_RET"), k.count / kAoBits, 0.02);
        EXPECT_NEAR(real("CNFG_AO.AO_01_RDBK.A_NAME"), k.count / kAoBits, 0.02);
        EXPECT_EQ(boolean("CNFG_AO.AO_01_ZARN.RB_RET_FLT"), 0u);
        EXPECT_FLOAT_EQ(real("CNFG_ACT.ACT_1.ACT_ZARN"), k.actuator) << k.rpm;
        if (k.rpm == 2000.0) {
            EXPECT_EQ(board::pwmOutput(zarnAoutCountReg(5)), 2844);
            EXPECT_EQ(board::pwmOutput(zarnAoutCountReg(6)), 13084);
        }
    }

    // Shut down, the current is 0 mA and the count that of its calibration:
    // 0.05 x 568.89.
    serviceWrite("CNFG_AO.AO_01_ZARN.SD", 1);
    runPasses(ref_test::R20, 3);
    EXPECT_EQ(board::peek16(zarnAoutCountReg(4)), 28);
    EXPECT_EQ(stZarnActData[3].MaDemand, 0.0f);
    EXPECT_EQ(stZarnActData[3].Shutdown, 1u);
    EXPECT_EQ(boolean("CNFG_AO.AO_01_ZARN.RB_RET_FLT"), 0u);

    ASSERT_EQ(boolean("CNFG_ACT.ACT_01_FLT_ANY.OR"), 0u);
    serviceWrite("CNFG_ACT.ACT_01_FLT_ANY.IN_3", 1);
    runPasses(ref_test::R10, 1);
    EXPECT_EQ(boolean("CNFG_ACT.ACT_01_FLT_ANY.OR"), 1u);
}

}  // namespace
}  // namespace ao_test
