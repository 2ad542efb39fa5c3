// Analog input channels on the whole program (its own slice table), driven
// only through its inputs: the milliamp stage with its open-loop and
// out-of-range latches, scaling to engineering units, the filters, and the
// configuration that puts a function number and range in force. Values the
// service tool refuses (a function number outside the table, an unknown
// Modbus multiplier, a gain that is not a number) are entered past its
// range check, to show the program's own guard against them.
#include <cmath>

#include "drivers/ZarnAnalogIns.h"
#include "drivers/ZarnCalibration.h"
#include "tests/analog_inputs/analog_rig.h"

namespace ai_test {
namespace {

class AnalogChannel : public AnalogProgram {};

// The driver's reading of a current, as the ADC quantises it.
double adcMa(double mA) {
    return static_cast<float>(static_cast<float>(board::analogInputCode(mA)) * 0.000416127f + 12.495655f);
}

TEST_F(AnalogChannel, FourToTwentyMilliampsScaleToTheRangeInForce) {
    startWith({{"_ub6.FUNCT.IN", 3}, {"_ub6.RANGE_LO.IN", -50.0}, {"_ub6.RANGE_HI.IN", 150.0}});
    struct Case {
        double mA;
        double value, pct, pu;
    };
    const Case cases[] = {
        {4.0, -50.0, 0.0, 0.0},   {20.0, 150.0, 100.0, 1.0}, {12.0, 50.0, 50.0, 0.5},
        {2.0, -75.0, -12.5, -0.125}, {22.0, 175.0, 112.5, 1.125},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mA);
        board::setAnalogInputMa(0, c.mA);
        run(40);
        const double x = (adcMa(c.mA) - 4.0) * 0.0625;
        EXPECT_NEAR(real("_ub6.MA.A_NAME"), adcMa(c.mA), 1e-5);
        EXPECT_NEAR(real("_ub6.SCALED.A_OUT_2"), x, 1e-5);
        EXPECT_NEAR(real("_ub6.SCALED.A_OUT_1"), -50.0 + 200.0 * x, 1e-3);
        EXPECT_NEAR(real("_ub6.VALUE.A_NAME"), c.value, 0.01);
        EXPECT_NEAR(real("_ub6.PCT.A_NAME"), c.pct, 0.01);
        EXPECT_NEAR(real("_ub6.SCALED.A_OUT_2"), c.pu, 1e-4);
    }
    // The cascade input (function 3) carries the value.
    EXPECT_NEAR(real("AI_MUX.CASC_IN.A_NAME"), 175.0, 0.01);
    EXPECT_EQ(boolean("_ub6.SCALED.ALM"), 0u);
}

TEST_F(AnalogChannel, RangeEditsTakeEffectOnlyAtTheNextSampleWithTheConfigurationEnabled) {
    startWith({{"_ub7.FUNCT.IN", 2}, {"_ub7.RANGE_LO.IN", 0.0}, {"_ub7.RANGE_HI.IN", 100.0}});
    board::setAnalogInputMa(1, 20.0);
    run(30);
    EXPECT_NEAR(real("_ub7.VALUE.A_NAME"), 100.0, 0.01);
    serviceWrite("_ub7.RANGE_HI.IN", 300.0);
    run(8 * 4);
    EXPECT_EQ(real("_ub7.MAX.SAMP_TUNE"), 100.0f);
    EXPECT_NEAR(real("_ub7.VALUE.A_NAME"), 100.0, 0.01);
    // The sample pulser runs on, but without the window it samples nothing.
    run(8 * 2);
    EXPECT_EQ(boolean("CALMODE.CFG_SAMPL_OK.B_NAME"), 0u);
    EXPECT_EQ(real("_ub7.MAX.SAMP_TUNE"), 100.0f);
    configure(1, 2, 0.0, 300.0);
    run(30);
    EXPECT_NEAR(real("_ub7.VALUE.A_NAME"), 300.0, 0.02);
    EXPECT_EQ(text("_ub7.FUN_STRG.I_TO_STR"), "Remote Speed Setpoint");
    // Both sampled range ends show the limits of a real tunable and no limiting.
    for (const char* end : {"_ub7.MIN.", "_ub7.MAX."}) {
        EXPECT_EQ(real(std::string(end) + "LO_LIM_OUT"), -1e38f) << end;
        EXPECT_EQ(real(std::string(end) + "HI_LIM_OUT"), 1e38f) << end;
        EXPECT_EQ(boolean(std::string(end) + "LIMITED"), 0u) << end;
    }
}

// Numbers outside the table (1 .. 20) are ones the service tool refuses:
// entered past its range check.
TEST_F(AnalogChannel, FunctionNumbersOutsideTheTableAreClampedWhenSampled) {
    startWith();
    struct Case {
        int entered, in_force;
        const char* text;
        uint32_t used;
    };
    const Case cases[] = {{0, 1, "--- Not Used ---", 0}, {1, 1, "--- Not Used ---", 0}, {2, 2, "Remote Speed Setpoint", 1},
                          {16, 16, "HP Valve Feedback Position", 1}, {20, 20, "Spare 20", 1}, {21, 20, "Spare 20", 1},
                          {-4, 1, "--- Not Used ---", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entered);
        // A number outside the table is refused by the tool.
        if (c.entered >= 1 && c.entered <= 20) serviceWrite("_ub8.FUNCT.IN", c.entered);
        else pokeTunable("_ub8.FUNCT.IN", c.entered);
        window(true);
        EXPECT_EQ(integer("_ub8.FUN_NUM.SAMP_ITUNE"), c.in_force);
        EXPECT_EQ(text("_ub8.FUN_STRG.I_TO_STR"), c.text);
        EXPECT_EQ(boolean("_ub8.CH_ENABL.B_NAME"), c.used);
        EXPECT_EQ(boolean("_ub8.CH_DISAB.B_NAME"), 1u - c.used);
    }
}

TEST_F(AnalogChannel, WizardSuppliesTheFunctionNumberWhileEnabled) {
    startWith();
    // Each controller channel takes its own wizard number.
    for (int k = 0; k < 4; ++k) {
        serviceWrite("CNFG_AI.WIZFUN_AI_CH" + std::to_string(k + 1) + ".IN", 5 + k);
        serviceWrite(channel(k) + ".FUNCT.IN", 3);
    }
    serviceWrite("CNFG_WIZ.WIZARD.IN", 1);
    window(true);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(integer(channel(k) + ".FUN_NUM.SAMP_ITUNE"), 5 + k) << k;
        EXPECT_EQ(integer(channel(k) + ".WIZ_FUNCT.I_NAME"), 5 + k) << k;
    }
    serviceWrite("CNFG_WIZ.WIZARD.IN", 0);
    configure(3, 3, 0.0, 100.0);
    EXPECT_EQ(integer("_ub9.FUN_NUM.SAMP_ITUNE"), 3);
    // A remote channel has its own wizard.
    serviceWrite("_ub33.WIZ_ENA.IN", 1);
    serviceWrite("_ub33.WIZ_FUNCT.IN", 12);
    configure(4, 3, 0.0, 100.0);
    EXPECT_EQ(integer("_ub33.FUN_NUM.SAMP_ITUNE"), 12);
    EXPECT_EQ(integer("VLTR_OUTS.VL_AI_FUNCT.LIST_1"), 12);
}

// The filter time constant; 0 s still filters with the shortest one.
TEST_F(AnalogChannel, ValueFilterFollowsAStepWithItsTimeConstant) {
    startWith({{"_ub6.FUNCT.IN", 3}});
    struct Case {
        double tau;
        int passes;
        double expect;  // fraction of the step
    };
    // Bilinear lag: per pass y += (u + u' - 2y) T / (2 tau + T).
    const Case cases[] = {{0.0, 1, 0.02 / (2 * 0.012738853 + 0.02)}, {1.0, 50, 0.6321}, {2.0, 100, 0.6321}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tau);
        board::setAnalogInputMa(0, 4.0);
        serviceWrite("_ub6.CH_FILTR.IN", c.tau);
        run(8 * 2);
        run(1500);
        ASSERT_NEAR(real("_ub6.VALUE.A_NAME"), 0.0, 0.01);
        board::setAnalogInputMa(0, 20.0);
        run(c.passes);
        EXPECT_NEAR(real("_ub6.VALUE.A_NAME") / 100.0, c.expect, 0.004);
        EXPECT_NEAR(real("_ub6.PCT.A_NAME") / 100.0, c.expect, 0.004);
    }
}

struct LatchCase {
    const char* name;
    void (*apply)(int ch);
    double delayMs;
    const char* latch;  // the stage latch that sets
};

TEST_F(AnalogChannel, OpenLoopAndOutOfRangeLatchAfterTheirDelayUntilReset) {
    const LatchCase cases[] = {
        {"open loop", [](int ch) { board::setAnalogInputOpen(ch, true); }, 0.0, "LO_LATCH"},
        {"open loop, 100 ms", [](int ch) { board::setAnalogInputOpen(ch, true); }, 100.0, "LO_LATCH"},
        {"below 2 mA", [](int ch) { board::setAnalogInputMa(ch, 1.9); }, 60.0, "LO_LATCH"},
        {"unpowered transmitter", [](int ch) { board::setAnalogInputLoopPowered(ch, true); }, 40.0, "LO_LATCH"},
        {"above 22 mA", [](int ch) { board::setAnalogInputMa(ch, 22.5); }, 0.0, "HI_LATCH"},
        {"above 22 mA, 200 ms", [](int ch) { board::setAnalogInputMa(ch, 22.5); }, 200.0, "HI_LATCH"},
        {"at 22 mA", [](int ch) { board::setAnalogInputMa(ch, 22.001); }, 20.0, "HI_LATCH"},
    };
    startWith({{"_ub6.FUNCT.IN", 5}});  // vibration input 1
    for (const LatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        serviceWrite("CNFG_AI.AI_01_LATDLY.IN", c.delayMs);
        run(8 * 2);
        ASSERT_EQ(boolean("CNFG_AI.AI_01_ZARN.LATCH_OR"), 0u);
        c.apply(0);
        // The timer compares before it grows by 20 ms a pass.
        const int passes = static_cast<int>(c.delayMs / 20.0) + 1;
        run(passes - 1);
        EXPECT_EQ(boolean(std::string("CNFG_AI.AI_01_ZARN.") + c.latch), 0u);
        EXPECT_EQ(boolean("_ub6.CHNL_FLT.B_NAME"), 0u);
        run(1);
        EXPECT_EQ(boolean(std::string("CNFG_AI.AI_01_ZARN.") + c.latch), 1u);
        EXPECT_EQ(boolean("CNFG_AI.AI_01_ZARN.LATCH_OR"), 1u);
        EXPECT_EQ(boolean("_ub6.CHNL_FLT.B_NAME"), 1u);
        EXPECT_EQ(boolean("AI_MUX.VIB_IN1_FLT.B_NAME"), 1u);
        // A reset while the condition stands does nothing.
        reset();
        EXPECT_EQ(boolean("_ub6.CHNL_FLT.B_NAME"), 1u);
        // The signal back in band: still latched until the reset.
        board::setAnalogInputOpen(0, false);
        board::setAnalogInputLoopPowered(0, false);
        board::setAnalogInputMa(0, 12.0);
        run(8);
        EXPECT_EQ(boolean("_ub6.CHNL_FLT.B_NAME"), 1u);
        reset();
        EXPECT_EQ(boolean("_ub6.CHNL_FLT.B_NAME"), 0u);
        EXPECT_EQ(boolean("AI_MUX.VIB_IN1_FLT.B_NAME"), 0u);
    }
}

TEST_F(AnalogChannel, UnusedChannelReportsNoFaultAndSkipsTheLowCheck) {
    startWith();  // channel 1 not used (function 1), as delivered
    board::setAnalogInputOpen(0, true);
    run(10);
    EXPECT_EQ(boolean("CNFG_AI.AI_01_ZARN.LO_LATCH"), 0u);
    EXPECT_EQ(boolean("_ub6.CHNL_FLT.B_NAME"), 0u);
    EXPECT_EQ(boolean("_ub6.CH_DISAB.B_NAME"), 1u);
    // A high reading still latches, but an unused channel reports nothing.
    board::setAnalogInputOpen(0, false);
    board::setAnalogInputMa(0, 24.0);
    run(2);
    EXPECT_EQ(boolean("CNFG_AI.AI_01_ZARN.HI_LATCH"), 1u);
    EXPECT_EQ(boolean("_ub6.CHN_FLT.B_NAME"), 1u);
    EXPECT_EQ(boolean("_ub6.CHNL_FLT.B_NAME"), 0u);
}

TEST_F(AnalogChannel, StageLineGainAndOffsetMapTheCalibratedCurrent) {
    startWith();
    struct Case {
        double val4, val20, gain, offset, mA, expect;
    };
    const Case cases[] = {
        {4.0, 20.0, 1.0, 0.0, 12.0, 12.0},  {0.0, 20.0, 1.0, 0.0, 4.0, 0.0},   {4.0, 20.0, 2.0, 1.0, 10.0, 21.0},
        {8.0, 8.0, 1.0, 0.0, 17.0, 8.0},    {4.0, 12.0, 1.0, -2.0, 20.0, 10.0},
    };
    for (int ch = 0; ch < 4; ++ch) {
        const std::string stage = "CNFG_AI.AI_0" + std::to_string(ch + 1);
        for (const Case& c : cases) {
            SCOPED_TRACE(stage + " at " + std::to_string(c.mA));
            serviceWrite(stage + "_ZARN.VAL_4", c.val4);
            serviceWrite(stage + "_ZARN.VAL_20", c.val20);
            serviceWrite(stage + "_GAIN.IN", c.gain);
            serviceWrite(stage + "_OFFSET.IN", c.offset);
            board::setAnalogInputMa(ch, c.mA);
            run(8 * 2);
            const double mA = adcMa(c.mA);
            const double slope = (c.val20 - c.val4) * 0.0625;
            EXPECT_NEAR(real(stage + "_ZARN.AI_4_20"), (mA * slope + c.val20 - 20.0 * slope) * c.gain + c.offset,
                        1e-4);
            EXPECT_NEAR(real(stage + "_ZARN.AI_4_20"), c.expect, 2e-3);
        }
    }
}

// Pairs 0 .. 3 of the calibration table in the board's flash, each its own,
// calibrate controller inputs 1 .. 4.
TEST_F(AnalogChannel, EachControllerInputTakesItsOwnCalibrationPair) {
    const float gain[4] = {1.02f, 0.96f, 1.05f, 0.9f}, offset[4] = {0.1f, -0.2f, 0.3f, 0.5f};
    SetCalDefaults();
    for (int ch = 0; ch < 4; ++ch) {
        put_cal_mb(0, static_cast<uint32_t>(ch), gain[ch], offset[ch]);
        board::setAnalogInputMa(ch, 8.0 + 2.0 * ch);
    }
    ASSERT_EQ(WriteCalValues(), 0);
    ResetZarnCalibration();
    startWith();
    ASSERT_EQ(boolean("ORVEX12_IO.CHASS_STATUS.CAL_FLT"), 0u);
    for (int ch = 0; ch < 4; ++ch) {
        const float mA = gain[ch] * static_cast<float>(adcMa(8.0 + 2.0 * ch)) + offset[ch];
        EXPECT_FLOAT_EQ(real("CNFG_AI.AI_0" + std::to_string(ch + 1) + "_ZARN.AI_4_20"), mA) << "input " << ch + 1;
    }
}

// The band limits compare with the calibrated reading: at the high limit
// is out of band, at the low limit is not.
TEST_F(AnalogChannel, BandLimitsAreExactBoundaries) {
    startWith({{"_ub7.FUNCT.IN", 2}});
    struct Case {
        const char* limit;
        double mA;
        double offset;  // limit minus reading
        const char* latch;
        uint32_t expect;
    };
    const Case cases[] = {
        {"HI_SP_MA", 22.3, 0.0, "HI_LATCH", 1},  {"HI_SP_MA", 22.3, 0.001, "HI_LATCH", 0},
        {"LO_SP_MA", 1.7, 0.0, "LO_LATCH", 0},   {"LO_SP_MA", 1.7, 0.001, "LO_LATCH", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.limit) + " " + std::to_string(c.offset));
        board::setAnalogInputMa(1, c.mA);
        serviceWrite(std::string("CNFG_AI.AI_02_ZARN.") + c.limit, static_cast<float>(adcMa(c.mA)) + c.offset);
        run(3);
        EXPECT_EQ(boolean(std::string("CNFG_AI.AI_02_ZARN.") + c.latch), c.expect);
        serviceWrite("CNFG_AI.AI_02_ZARN.HI_SP_MA", 22.0);
        serviceWrite("CNFG_AI.AI_02_ZARN.LO_SP_MA", 2.0);
        board::setAnalogInputMa(1, 12.0);
        reset();
    }
}

TEST_F(AnalogChannel, LoopSupplyFollowsTheChannelsSetting) {
    board::setAnalogInputLoopPowered(2, true);
    board::setAnalogInputMa(2, 16.0);
    startWith();
    EXPECT_FALSE(board::analogLoopSupplyOn(2));
    EXPECT_NEAR(real("_ub8.MA.A_NAME"), 0.0, 1e-3);
    serviceWrite("_ub8.LOOP_PWR.IN", 1);
    run(8 * 2);
    run(1);
    EXPECT_EQ(integer("_ub8.TYPE_SEL.I_NAME"), 2);
    EXPECT_TRUE(board::analogLoopSupplyOn(2));
    run(1);
    EXPECT_NEAR(real("_ub8.MA.A_NAME"), 16.0, 1e-3);
    EXPECT_FALSE(board::analogLoopSupplyOn(1));
}

// Selections 0 and 6 are ones the service tool refuses (its range is
// 1 .. 5): entered past its range check.
TEST_F(AnalogChannel, ModbusMultiplierFollowsItsSelectionAndKeepsItForUnknownOnes) {
    startWith();
    const std::pair<int, float> cases[] = {{1, 0.01f}, {2, 0.1f}, {3, 1.0f}, {4, 10.0f}, {5, 100.0f}, {6, 100.0f},
                                           {0, 100.0f}, {2, 0.1f}};
    for (auto [sel, mult] : cases) {
        // A selection outside 1 .. 5 is refused by the tool.
        if (sel >= 1 && sel <= 5) serviceWrite("_ub35.AI_MOD_X.IN", sel);
        else pokeTunable("_ub35.AI_MOD_X.IN", sel);
        run(8);
        EXPECT_EQ(real("_ub35.MOD_MULT.A_NAME"), mult) << sel;
    }
    // Every channel of the three 160 ms slices takes its own settings.
    const char* const channels[] = {"_ub6", "_ub7", "_ub8", "_ub9", "_ub33", "_ub34", "_ub35",
                                    "_ub36", "_ub37", "_ub38", "_ub39", "_ub40"};
    int k = 0;
    for (const char* ch : channels) {
        ++k;
        serviceWrite(std::string(ch) + ".QT_DECIMALS.IN", k % 4);
        serviceWrite(std::string(ch) + ".AI_MOD_X.IN", 1 + k % 5);
    }
    run(8);
    k = 0;
    const float mults[] = {0.01f, 0.1f, 1.0f, 10.0f, 100.0f};
    for (const char* ch : channels) {
        ++k;
        EXPECT_EQ(integer(std::string(ch) + ".QT_DECIMALS.I_NAME"), k % 4) << ch;
        EXPECT_EQ(real(std::string(ch) + ".MOD_MULT.A_NAME"), mults[k % 5]) << ch;
    }
    EXPECT_EQ(text("_ub35.TAG.S_NAME"), "VL1_AI_03");
    EXPECT_EQ(text("_ub6.USAGE.S_NAME"), "AI_01 Description");
    EXPECT_EQ(text("_ub6.ENG_UNIT.S_NAME"), "ENG Units");
}

TEST_F(AnalogChannel, NonFiniteCurrentScalesToZeroAndLatchesTheScalingAlarm) {
    startWith({{"_ub33.FUNCT.IN", 3}});
    setMa(4, 20.0);
    run(30);
    EXPECT_NEAR(real("_ub33.VALUE.A_NAME"), 100.0, 1e-3);
    EXPECT_EQ(boolean("_ub33.SCALED.ALM"), 0u);
    // A gain that is not a number (written past the service's range check).
    pokeTunable("VL1_AIO.AI_1_GAIN.IN", std::nan(""));
    run(8 * 2);
    for (const char* out : {"_ub33.SCALED.A_OUT_1", "_ub33.SCALED.A_OUT_2", "_ub33.SCALED.A_OUT_3"})
        EXPECT_EQ(real(out), 0.0f) << out;
    EXPECT_EQ(boolean("_ub33.SCALED.ALM"), 1u);
    run(30);
    EXPECT_NEAR(real("_ub33.VALUE.A_NAME"), 0.0, 1e-3);
    // The alarm stays until the next start.
    serviceWrite("VL1_AIO.AI_1_GAIN.IN", 1.0);
    run(30);
    EXPECT_NEAR(real("_ub33.VALUE.A_NAME"), 100.0, 1e-3);
    EXPECT_EQ(boolean("_ub33.SCALED.ALM"), 1u);
}

}  // namespace
}  // namespace ai_test
