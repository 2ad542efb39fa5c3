// The analog output channel template on the whole program: selection and
// scaling, function texts, forcing with the ramped force setpoint and its
// commands, the force transfer back, the readback alarm, the Modbus scale
// and the configuration wizard.
#include <functional>

#include "app/analog/AO_CHANNEL.cells.h"
#include "host/vkboard.h"
#include "tests/analog_outputs/output_rig.h"

namespace ao_test {
namespace {

// On the whole program: each output carries the signal its function
// selects (the measured speed, the speed setpoint, the HP valve demand)
// scaled onto its range, with its function's text; a range entered after
// power-up waits for the next configuration window; a wiring fault on an
// output's loop raises the readback alarm of that output alone. Shut down
// in calibration mode, the service tool forces output 1: the force setpoint
// ramps at the force rate on raise, stops at 20 mA, ramps down to 4 mA on
// lower and to the entered value on go to; disabling forcing wins; leaving
// calibration mode ends forcing at once.
class OutputProgramChannel : public OutputProgram {
protected:
    float ramp() { return real("_ub10.FORCE_SETPT.RAMP"); }
    // The computed milliamps of outputs 1 .. 3 from their sources.
    float computed(int k) {
        if (k == 0) return ma(real("MPU.TURB_SPD.A_NAME"), 0.0, 4000.0);
        if (k == 1) return ma(real("AO_MUX.SPD_SETPT.A_NAME"), 2000.0, 4000.0);
        // The speed control's demand moves on while the shaft is held: the
        // value the channel selected, which is the demand of a pass before.
        EXPECT_NEAR(real("_ub12.SEL.A_MUX_N_1"), real("_ub5.HP_DMD.A_NAME"), 0.1f);
        return ma(real("_ub12.SEL.A_MUX_N_1"), 0.0, 100.0);
    }
    // The shaft held where it is once the load has been taken, so that the
    // speed and the setpoint stand still.
    void settle() {
        runPasses(ref_test::R160, 2);
        holdShaftAt(shaft());
        runPasses(ref_test::R160, 4);
    }
    void forcing(bool enable) {
        const char* cell = enable ? "_ub10.FORCE_EN.IN" : "_ub10.FORCE_DIS.IN";
        serviceWrite(cell, 1);
        runPasses(ref_test::R160, 2);
        serviceWrite(cell, 0);
        runPasses(ref_test::R160, 1);
    }
};

TEST_F(OutputProgramChannel, FunctionsScalingReadbackAndForcing) {
    startConfigured();
    const char* const texts[] = {"Actual Shaft Speed", "Speed Reference Setpoint", "HP Valve Demand"};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(text(channel(k) + ".FUNCT_STRG.S_NAME"), texts[k]) << k;
        EXPECT_EQ(text(channel(k) + ".FDBK.I_TO_STR"), texts[k]) << k;
    }
    startToInControl();
    turbine::setLoad(0.3);
    runPasses(ref_test::R160, 20);
    settle();
    ASSERT_GT(real("MPU.TURB_SPD.A_NAME"), 2000.0f);
    for (int k = 0; k < 3; ++k) {
        EXPECT_GT(computed(k), 4.5f) << k;
        EXPECT_NEAR(real(channel(k) + ".MA_SIGNAL.A_NAME"), computed(k), 1e-3f) << k;
    }
    // A range entered outside the configuration window is not taken.
    serviceWrite("_ub10.RANGE_HI.IN", 8000.0);
    runPasses(ref_test::R160, 4);
    EXPECT_EQ(real("_ub10.RANGE_HIGH.A_NAME"), 4000.0f);
    EXPECT_NEAR(real("_ub10.MA_SIGNAL.A_NAME"), computed(0), 1e-3f);

    // A wiring fault on the second output's loop: its readback alarm alone.
    board::setLoopFault(4, board::LoopFault::OpenWire);
    runPasses(ref_test::R20, 8);
    EXPECT_EQ(boolean("_ub11.CHN_RDBK_FLT.B_NAME"), 1u);
    EXPECT_EQ(boolean("_ub11.DBK_FLT.B_NAME"), 1u);
    for (int n = 0; n < 3; ++n) {
        const std::string alarm = "CNFG_AO.AO_0" + std::to_string(n + 1) + "_RDBK_FLTALM.B_NAME";
        EXPECT_EQ(boolean(alarm), n == 1 ? 1u : 0u) << alarm;
    }
    board::setLoopFault(4, board::LoopFault::None);

    // Forcing is inhibited outside calibration mode.
    shutDown();
    forcing(true);
    EXPECT_EQ(boolean("_ub10.FRC_ENBL.LATCH_R"), 0u);
    calibration(true);
    forcing(true);
    ASSERT_EQ(boolean("_ub10.FRC_ENBL.LATCH_R"), 1u);
    EXPECT_EQ(ramp(), 4.0f);
    EXPECT_EQ(real("_ub10.ENTR_SETPT.TUNE"), 0.0f);  // enabling the force reset it
    // Raise at the force rate, 1 mA/s: 0.16 mA a pass.
    serviceWrite("_ub10.COMMANDS.IN_1", 1);
    runPasses(ref_test::R160, 1);
    const float first = ramp();
    EXPECT_NEAR(first, 4.16f, 1e-5);
    EXPECT_EQ(boolean("_ub10.FORCE_SETPT.MOVING_UP"), 1u);
    EXPECT_EQ(integer("_ub10.FORCE_SETPT.POS_SEL"), 2);
    runPasses(ref_test::R160, 10);
    EXPECT_NEAR(ramp(), first + 1.6f, 1e-4);
    runPasses(ref_test::R20, 2);
    EXPECT_EQ(boolean("_ub10.FORCE.FRC"), 1u);
    EXPECT_NEAR(real("_ub10.MA_SIGNAL.A_NAME"), ramp(), 0.2);
    // Releasing the command stops the ramp where it is.
    serviceWrite("_ub10.COMMANDS.IN_1", 0);
    runPasses(ref_test::R160, 2);
    const float held = ramp();
    runPasses(ref_test::R160, 5);
    EXPECT_EQ(ramp(), held);
    EXPECT_EQ(boolean("_ub10.FORCE_SETPT.MOVING_UP"), 0u);

    // At 20 mA/s: raise fast to 20 mA, lower back to 4 mA, go to 10 mA.
    serviceWrite("CNFG_AO.AO_FORCE_RATE.IN", 20.0);
    serviceWrite("_ub10.COMMANDS.IN_3", 1);
    runPasses(ref_test::R160, 8);
    EXPECT_EQ(ramp(), 20.0f);
    EXPECT_EQ(boolean("_ub10.FORCE_SETPT.P_LIM_2"), 1u);
    EXPECT_EQ(boolean("_ub10.FRC_RSE.B_ACTION"), 0u);  // cleared by the limit of the last pass
    runPasses(ref_test::R20, 2);
    EXPECT_EQ(real("_ub10.MA_SIGNAL.A_NAME"), 20.0f);
    serviceWrite("_ub10.COMMANDS.IN_3", 0);
    serviceWrite("_ub10.COMMANDS.IN_4", 1);
    runPasses(ref_test::R160, 2);
    EXPECT_EQ(boolean("_ub10.FORCE_SETPT.MOVING_DN"), 1u);
    runPasses(ref_test::R160, 6);
    EXPECT_EQ(ramp(), 4.0f);
    EXPECT_EQ(boolean("_ub10.FORCE_SETPT.P_LIM_1"), 1u);
    serviceWrite("_ub10.COMMANDS.IN_4", 0);
    serviceWrite("_ub10.ENTR_SETPT.TUNE", 10.0);
    serviceWrite("_ub10.COMMANDS.IN_5", 1);
    runPasses(ref_test::R160, 6);
    EXPECT_EQ(real("_ub10.ENTR_SETPT_A_SW.A_SW"), 10.0f);
    EXPECT_EQ(ramp(), 10.0f);
    EXPECT_EQ(boolean("_ub10.FORCE_SETPT.P_LIM_3"), 1u);
    runPasses(ref_test::R20, 2);
    EXPECT_EQ(real("_ub10.MA_SIGNAL.A_NAME"), 10.0f);
    serviceWrite("_ub10.COMMANDS.IN_5", 0);

    // Disabling forcing wins; enabled again, leaving calibration mode ends
    // forcing at once: the output is the computed signal in the next pass.
    serviceWrite("_ub10.FORCE_DIS.IN", 1);
    serviceWrite("_ub10.FORCE_EN.IN", 1);
    runPasses(ref_test::R160, 1);
    EXPECT_EQ(boolean("_ub10.FRC_ENBL.LATCH_R"), 0u);
    serviceWrite("_ub10.FORCE_DIS.IN", 0);
    serviceWrite("_ub10.FORCE_EN.IN", 0);
    forcing(true);
    ASSERT_EQ(boolean("_ub10.FRC_ENBL.LATCH_R"), 1u);
    serviceWrite("_ub10.COMMANDS.IN_3", 1);
    runPasses(ref_test::R160, 8);
    serviceWrite("_ub10.COMMANDS.IN_3", 0);
    runPasses(ref_test::R20, 2);
    ASSERT_EQ(real("_ub10.MA_SIGNAL.A_NAME"), 20.0f);
    calibration(false);
    EXPECT_EQ(boolean("_ub10.FRC_ENBL.LATCH_R"), 0u);
    runPasses(ref_test::R20, 1);
    EXPECT_EQ(boolean("_ub10.FORCE.FRC"), 0u);
    EXPECT_NEAR(real("_ub10.MA_SIGNAL.A_NAME"), computed(0), 1e-3f);
}

}  // namespace
}  // namespace ao_test

namespace ao_test {
namespace {

// The scaling on the whole program: the three outputs all on the shaft
// speed, the shaft held at 2000 rpm, their ranges entered from the service
// tool while the controller powers up.
struct ProgramScaleCase {
    const char* name;
    double lo[3], hi[3];
    float mA[3];
};

class OutputProgramScaling : public OutputProgram, public ::testing::WithParamInterface<ProgramScaleCase> {};

TEST_P(OutputProgramScaling, SpeedToMilliamps) {
    Settings ranges;
    for (int k = 0; k < 3; ++k) {
        ranges.push_back({kFunct[k], 2});
        ranges.push_back({kLo[k], GetParam().lo[k]});
        ranges.push_back({kHi[k], GetParam().hi[k]});
    }
    startConfigured(ranges);
    holdShaftAt(2000.0);
    runPasses(ref_test::R160, 6);
    ASSERT_EQ(real("MPU.TURB_SPD.A_NAME"), 2000.0f);
    for (int k = 0; k < 3; ++k) {
        EXPECT_FLOAT_EQ(real(channel(k) + ".MA_SIGNAL.A_NAME"), GetParam().mA[k]) << k;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, OutputProgramScaling,
    ::testing::Values(
        // bottom, middle and top of rising ranges
        ProgramScaleCase{"bottom_middle_top", {2000, 0, 0}, {6000, 4000, 2000}, {4.0f, 12.0f, 20.0f}},
        // twice the span is limited to 25 mA, half a span below the range to
        // 0 mA; a zero span reads zero
        ProgramScaleCase{"limits_and_zero_span", {0, 3000, 2000}, {1000, 5000, 2000}, {25.0f, 0.0f, 0.0f}},
        // a falling range
        ProgramScaleCase{"falling_range", {8000, 0, 0}, {0, 4000, 4000}, {16.0f, 12.0f, 12.0f}}),
    [](const ::testing::TestParamInfo<ProgramScaleCase>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace ao_test

namespace ao_test {
namespace {

// The service commands and settings of an output on the whole program: a
// command lasts sixty seconds after its write (375 passes of 0.16 s, the
// single-precision sum reaching 60 s one pass later) and writing zero ends
// it on the next pass; the Modbus scale selection gives the multiplier;
// the texts are copied. In pulse mode the raise block remembers the command
// itself: a raise held while forcing was off gives no step when calibration
// mode and forcing come on; a new press gives one step of one pass.
TEST_F(OutputProgramChannel, CommandsModbusScaleTextsAndAPulseRaise) {
    startConfigured();
    EXPECT_EQ(text("_ub10.TAG.S_NAME"), "AO 01 Actual Speed");
    EXPECT_EQ(text("_ub11.TAG.S_NAME"), "AO 02");
    EXPECT_EQ(text("_ub12.ENG_UNITS.S_NAME"), "Eng Units");
    serviceWrite("_ub10.COMMANDS.IN_1", 1);
    const struct {
        int passes;  // from the write
        uint32_t out;
    } times[] = {{200, 1}, {374, 1}, {378, 0}};
    int done = 0;
    for (const auto& t : times) {
        runPasses(ref_test::R160, static_cast<uint32_t>(t.passes - done));
        done = t.passes;
        EXPECT_EQ(boolean("_ub10.COMMANDS.OUT_1"), t.out) << t.passes;
        EXPECT_EQ(boolean("_ub10.COMMANDS.IN_1"), t.out) << t.passes;
    }
    serviceWrite("_ub10.COMMANDS.IN_2", 1);
    runPasses(ref_test::R160, 1);
    ASSERT_EQ(boolean("_ub10.COMMANDS.OUT_2"), 1u);
    serviceWrite("_ub10.COMMANDS.IN_2", 0);
    runPasses(ref_test::R160, 1);
    EXPECT_EQ(boolean("_ub10.COMMANDS.OUT_2"), 0u);
    EXPECT_EQ(boolean("_ub10.COMMANDS.IN_2"), 0u);

    const struct {
        int selection;
        float multiplier;
    } scales[] = {{1, 0.01f}, {3, 1.0f}, {5, 100.0f}, {2, 0.1f}, {4, 10.0f}};
    for (const auto& m : scales) {
        serviceWrite("_ub10.AO_MOD_X.IN", m.selection);
        runPasses(ref_test::R160, 1);
        EXPECT_FLOAT_EQ(real("_ub10.MOD_MULT.A_NAME"), m.multiplier) << m.selection;
    }

    shutDown();
    serviceWrite("_ub10.FRC_RSE.ACT_Q", 5);
    serviceWrite("_ub10.COMMANDS.IN_1", 1);
    // 160 ms passes until `done` (at most `max`), the raise block never acting.
    const auto noRaiseUntil = [&](const std::function<bool()>& done, int max, const char* what) {
        for (int pass = 0; pass < max && !done(); ++pass) {
            runPasses(ref_test::R160, 1);
            EXPECT_EQ(boolean("_ub10.FRC_RSE.B_ACTION"), 0u) << what << " " << pass;
        }
    };
    noRaiseUntil([] { return false; }, 3, "held, not forcing");
    serviceWrite("MASTER.COMMANDS.IN_4", 1);
    noRaiseUntil([&] { return boolean("CALMODE.CALMODE.B_NAME") == 1u; }, 20, "entering calibration mode");
    serviceWrite("MASTER.COMMANDS.IN_4", 0);
    ASSERT_EQ(boolean("CALMODE.CALMODE.B_NAME"), 1u);
    serviceWrite("_ub10.FORCE_EN.IN", 1);
    noRaiseUntil([] { return false; }, 4, "forcing enabled");
    ASSERT_EQ(boolean("_ub10.FRC_ENBL.LATCH_R"), 1u);
    EXPECT_EQ(ramp(), 4.0f);
    serviceWrite("_ub10.COMMANDS.IN_1", 0);
    runPasses(ref_test::R160, 10);  // past the release's inhibit pulse
    serviceWrite("_ub10.COMMANDS.IN_1", 1);
    runPasses(ref_test::R160, 1);
    EXPECT_EQ(boolean("_ub10.FRC_RSE.B_ACTION"), 1u);
    EXPECT_NEAR(ramp(), 4.16f, 1e-5);
    runPasses(ref_test::R160, 3);
    EXPECT_EQ(boolean("_ub10.FRC_RSE.B_ACTION"), 0u);
    EXPECT_NEAR(ramp(), 4.16f, 1e-5);
    serviceWrite("_ub10.COMMANDS.IN_1", 0);
}

// Settings beyond the service tool's limits, written to their cells to
// show the channel's own guards against them (the service path refuses
// them): a go-to value above 25 mA is limited to 25; a Modbus scale
// selection outside 1 .. 5 keeps the last multiplier; a function number
// beyond the list, entered in configure mode after the speed was selected,
// keeps that selection under the text "Default".
TEST_F(OutputProgramChannel, SettingsBeyondTheirLimits) {
    startConfigured();
    holdShaftAt(200.0);
    runPasses(ref_test::R160, 6);
    const float speed = real("MPU.TURB_SPD.A_NAME");
    ASSERT_GT(speed, 100.0f);
    ASSERT_EQ(real("_ub10.SEL.A_MUX_N_1"), speed);

    pokeTunable("_ub10.ENTR_SETPT.TUNE", 30.0);  // above the setting's limits: refused by the tool
    runPasses(ref_test::R160, 1);
    EXPECT_EQ(real("_ub10.ENTR_SETPT.TUNE"), 25.0f);
    EXPECT_EQ(boolean("_ub10.ENTR_SETPT.LIMITED"), 1u);

    serviceWrite("_ub10.AO_MOD_X.IN", 5);
    runPasses(ref_test::R160, 1);
    for (int selection : {6, 0}) {
        pokeTunable("_ub10.AO_MOD_X.IN", selection);  // outside 1 .. 5: refused by the tool
        runPasses(ref_test::R160, 1);
        EXPECT_FLOAT_EQ(real("_ub10.MOD_MULT.A_NAME"), 100.0f) << selection;
    }

    trip();
    ASSERT_TRUE(runUntil([&] { return boolean("SHUTDOWNS.ANY_SD.B_NAME") == 1u; }, 50));
    enterConfigureMode();
    pokeTunable("_ub10.FUNCT.IN", 21);  // beyond the list: refused by the tool
    sampleInConfigureMode();
    runPasses(ref_test::R20, 2);
    ASSERT_EQ(real("MPU.TURB_SPD.A_NAME"), speed);
    EXPECT_EQ(integer("_ub10.FUNCT_INT.I_NAME"), 21);
    EXPECT_EQ(text("_ub10.FDBK.I_TO_STR"), "Default");
    EXPECT_EQ(text("_ub10.FUNCT_STRG.S_NAME"), "Default");
    EXPECT_EQ(real("_ub10.SEL.A_MUX_N_1"), speed);
}

// The configuration wizard switched on from the service tool in configure
// mode: output 1 takes the wizard's function for it, the cascade input
// (which the controller's analog input 2 carries under the wizard as well),
// and carries its value; the actuator and its readout both take the
// wizard's function 2 (the HP demand, and the speed as the readout),
// whatever was entered by hand (4 and 19).
TEST_F(OutputProgramChannel, TheWizardChoosesTheFunctions) {
    startConfigured({{"_ub5.FUNCT.IN", 4}, {"_ub5.RO_FUNCT.IN", 19}}, true);
    ASSERT_EQ(integer("_ub10.FUNCT_INT.I_NAME"), 2);
    ASSERT_EQ(integer("_ub5.ACT_FUNCTION.SAMP_ITUNE"), 4);
    ASSERT_EQ(integer("_ub5.RO_FUNCTION.SAMP_ITUNE"), 19);
    shutDown();
    const float cascade = real("AI_MUX.CASC_IN.A_NAME");
    ASSERT_GT(cascade, 1.0f);
    enterConfigureMode();
    serviceWrite("CNFG_AI.WIZFUN_AI_CH1.IN", 2);
    serviceWrite("CNFG_AI.WIZFUN_AI_CH2.IN", 3);
    serviceWrite("CNFG_AO.WIZFUN_AO_CH1.IN", 5);
    serviceWrite("CNFG_WIZ.WIZARD.IN", 1);
    sampleInConfigureMode();
    runPasses(ref_test::R20, 2);
    EXPECT_EQ(integer("_ub10.AO_SW.I_SW"), 5);
    EXPECT_EQ(integer("_ub10.FUNCT_INT.I_NAME"), 5);
    EXPECT_EQ(real("AI_MUX.CASC_IN.A_NAME"), cascade);
    EXPECT_EQ(real("_ub10.VAL.A_NAME"), cascade);
    EXPECT_EQ(integer("CNFG_ACT.RO_WIZFUN_ACT1.I_NAME"), 2);
    EXPECT_EQ(integer("_ub5.ACT_FUNCTION.SAMP_ITUNE"), 2);
    EXPECT_EQ(integer("_ub5.RO_FUNCTION.SAMP_ITUNE"), 2);
    EXPECT_EQ(text("_ub5.ACT_RO_FUNCT_STRG.I_TO_STR"), "Actual Shaft Speed");
}

}  // namespace
}  // namespace ao_test

namespace ao_test {
namespace {

// Every function of the outputs on the whole program, three outputs at a
// time, entered from the service tool while the controller powers up: its
// text, the selection list entry it selects (the spare tunable entries
// 15 .. 17 set from the service tool), and its readback alarm on a wiring
// fault: raised only when enabled and the output is used.
struct ProgramFunctionCase {
    const char* name;
    int function[3];
    int enabled[3];
};

class OutputProgramFunction : public OutputProgram, public ::testing::WithParamInterface<ProgramFunctionCase> {};

TEST_P(OutputProgramFunction, TextSelectionAndReadbackAlarm) {
    static const char* const texts[] = {"--- Not Used ---",      "Actual Shaft Speed",     "Speed Reference Setpoint",
                                        "Remote Speed Setpoint", "Cascade Input Signal",   "Cascade Setpoint",
                                        "Remote Cascade Setpoint", "Valve Limiter Setpoint", "HP Valve Demand",
                                        "Signal Monitoring #1",  "Signal Monitoring #2",   "Signal Monitoring #3"};
    const ProgramFunctionCase& p = GetParam();
    Settings settings = {{"AO_MUX.SEL_OUTS.IN_15", 115.0},
                         {"AO_MUX.SEL_OUTS.IN_16", 116.0},
                         {"AO_MUX.SEL_OUTS.IN_17", 117.0}};
    for (int k = 0; k < 3; ++k) {
        settings.push_back({kFunct[k], p.function[k]});
        settings.push_back({kEnableReadback[k], p.enabled[k]});
    }
    startConfigured(settings, p.function[0] >= 4 && p.function[0] <= 7);
    holdShaftAt(500.0);
    runPasses(ref_test::R160, 6);
    for (int k = 0; k < 3; ++k) {
        const int f = p.function[k];
        const std::string expected = f <= 12 ? texts[f - 1] : "Spare " + std::to_string(f);
        EXPECT_EQ(text(channel(k) + ".FUNCT_STRG.S_NAME"), expected) << f;
        EXPECT_EQ(text(channel(k) + ".FDBK.I_TO_STR"), expected) << f;
        EXPECT_EQ(real(channel(k) + ".SEL.A_MUX_N_1"), real("AO_MUX.SEL_OUTS.LIST_" + std::to_string(f))) << f;
        if (f >= 15 && f <= 17) {
            EXPECT_EQ(real(channel(k) + ".SEL.A_MUX_N_1"), 100.0f + f);
        }
        if (f == 1 || f >= 18) {
            EXPECT_EQ(real(channel(k) + ".SEL.A_MUX_N_1"), 0.0f) << f;
        }
    }
    for (int k = 0; k < 3; ++k) board::setLoopFault(3 + k, board::LoopFault::OpenWire);
    runPasses(ref_test::R20, 8);
    for (int k = 0; k < 3; ++k) {
        const uint32_t alarm = p.enabled[k] != 0 && p.function[k] != 1 ? 1u : 0u;
        EXPECT_EQ(boolean(channel(k) + ".CHN_RDBK_FLT.B_NAME"), 1u) << k;
        EXPECT_EQ(boolean(channel(k) + ".DBK_FLT.B_NAME"), alarm) << k;
        EXPECT_EQ(boolean("CNFG_AO.AO_0" + std::to_string(k + 1) + "_RDBK_FLTALM.B_NAME"), alarm) << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Functions, OutputProgramFunction,
                         ::testing::Values(ProgramFunctionCase{"one_to_three", {1, 2, 3}, {1, 0, 1}},
                                           ProgramFunctionCase{"four_to_six", {4, 5, 6}, {1, 1, 0}},
                                           ProgramFunctionCase{"seven_to_nine", {7, 8, 9}, {0, 1, 1}},
                                           ProgramFunctionCase{"ten_to_twelve", {10, 11, 12}, {1, 1, 1}},
                                           ProgramFunctionCase{"spares_13_to_15", {13, 14, 15}, {1, 0, 1}},
                                           ProgramFunctionCase{"spares_16_to_18", {16, 17, 18}, {1, 1, 1}},
                                           ProgramFunctionCase{"spares_19_20", {19, 20, 1}, {1, 1, 1}}),
                         [](const ::testing::TestParamInfo<ProgramFunctionCase>& i) {
                             return std::string(i.param.name);
                         });

}  // namespace
}  // namespace ao_test
