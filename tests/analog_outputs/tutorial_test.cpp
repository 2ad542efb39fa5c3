// The small modules of the first analog output slice: the tutorial setpoint
// ramp, the cascade units text, the notes and the empty user block on the
// whole program; the demo step timers and one ramp case through real passes
// of their slices.
#include "tests/analog_outputs/output_rig.h"

namespace ao_test {
namespace {

class Tutorial : public OutputRig {
protected:
    float setpoint() { return real("TUTORIAL.SP_TUTORIAL_RAMP.RAMP"); }
};

// Kept on the slices: on the whole program a raise command ends the go to
// in the pass it is given, so no input gives a go to and a raise together.
TEST_F(Tutorial, AGoToInProgressInhibitsRaise) {
    start();
    setCell("TUTORIAL.ENTR_SETPT_HOLD.A_SW", 42.0);
    setCell("TUTORIAL.GOTO_TUT_SP.B_ACTION", 1);
    runPasses(R160, 1);
    setCell("TUTORIAL.SP_TUT_COMMANDS.OUT_2", 1);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("TUTORIAL.RSE.B_ACTION"), 0u);
    EXPECT_EQ(integer("TUTORIAL.SP_TUTORIAL_RAMP.POS_SEL"), 3);
}

struct UnitCase {
    const char* name;
    int number;
    const char* text;
};

// Kept on the slices: the service tool writes the units number only inside
// 1 .. 13, so no input gives a number outside it.
class UnitsText : public OutputRig, public ::testing::WithParamInterface<UnitCase> {};

TEST_P(UnitsText, NumberGivesTheText) {
    start();
    setCell("UNITS.UNIT_CASC.IN", GetParam().number);
    runPasses(R160, 1);
    EXPECT_EQ(text("UNITS.CASC_UNITS.I_TO_STR"), GetParam().text);
    EXPECT_EQ(integer("UNITS.UNIT_CASC.I_NAME"), GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(Numbers, UnitsText,
                         ::testing::Values(UnitCase{"zero", 0, "\"\""}, UnitCase{"fourteen", 14, "\"\""}),
                         [](const ::testing::TestParamInfo<UnitCase>& i) { return std::string(i.param.name); });

struct DemoCase {
    const char* name;
    const char* step;
    const char* delay;
};

class DemoTimer : public OutputRig, public ::testing::WithParamInterface<DemoCase> {};

// A delay of 1.0 s needs seven passes of 0.16 s; the step reaches the
// 160 ms group through the copy at its next frame.
TEST_P(DemoTimer, RunsOnlyWhileItsStepIsActive) {
    const std::string step = std::string("UNIT_DEMO.") + GetParam().step + ".SFC_STEP";
    const std::string delay = std::string("UNIT_DEMO.") + GetParam().delay;
    start();
    setCell("UNIT_DEMO.DEMO_STEP1.SFC_STEP", 0);  // the chart starts in its first step
    runPasses(R160, 2);
    setCell(delay + ".DLY_TIME", 1.0);
    setCell(step, 1);
    runPasses(R160, 5);
    EXPECT_EQ(boolean(delay + ".DELAY"), 0u);
    setCell(delay + ".DLY_TIME", 3.0);  // two whole seconds left ...
    runPasses(R160, 1);
    ASSERT_EQ(integer(delay + ".R_TIME"), 2);
    setCell(delay + ".DLY_TIME", 1.0);
    setCell(step, 0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean(delay + ".DELAY"), 0u);
    EXPECT_EQ(integer(delay + ".R_TIME"), 0);
    setCell(step, 1);
    runPasses(R160, 5);
    EXPECT_EQ(boolean(delay + ".DELAY"), 0u);  // timed anew
    runPasses(R160, 3);
    EXPECT_EQ(boolean(delay + ".DELAY"), 1u);
    runPasses(R160, 3);
    EXPECT_EQ(boolean(delay + ".DELAY"), 1u);
    EXPECT_EQ(integer(delay + ".R_TIME"), 0);
    setCell(step, 0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean(delay + ".DELAY"), 0u);
}

INSTANTIATE_TEST_SUITE_P(Steps, DemoTimer,
                         ::testing::Values(DemoCase{"step_1", "DEMO_STEP1", "DELAY"},
                                           DemoCase{"step_3", "DEMO_STEP3", "DELAY3"},
                                           DemoCase{"step_4", "DEMO_STEP4", "DELAY4"},
                                           DemoCase{"step_5", "DEMO_STEP5", "DELAY5"}),
                         [](const ::testing::TestParamInfo<DemoCase>& i) { return std::string(i.param.name); });

struct OnDelayCase {
    const char* name;
    double delay;
    int pass;  // of the step's activity, 1 the first, in which DELAY comes on
};

class DemoOnDelay : public OutputRig, public ::testing::WithParamInterface<OnDelayCase> {};

// An on-delay comes on in the first pass that finds the elapsed time at the
// delay, before it grows: a delay of 0.32 s (two passes) in the third pass.
// The first active pass is the one in which a delay of 0 comes on.
TEST_P(DemoOnDelay, ComesOnInTheFirstPassThatFindsTheDelayElapsed) {
    start();
    setCell("UNIT_DEMO.DELAY.DLY_TIME", 0.0);
    setCell("UNIT_DEMO.DELAY4.DLY_TIME", GetParam().delay);
    setCell("UNIT_DEMO.DEMO_STEP1.SFC_STEP", 1);
    setCell("UNIT_DEMO.DEMO_STEP4.SFC_STEP", 1);
    int first = 0;
    for (int pass = 1; pass <= 20 && first == 0; ++pass) {
        runPasses(R160, 1);
        if (boolean("UNIT_DEMO.DELAY.DELAY") == 1) first = pass;
    }
    ASSERT_NE(first, 0);
    int on = boolean("UNIT_DEMO.DELAY4.DELAY") == 1 ? 1 : 0;
    for (int pass = 2; pass <= 20 && on == 0; ++pass) {
        runPasses(R160, 1);
        if (boolean("UNIT_DEMO.DELAY4.DELAY") == 1) on = pass;
    }
    EXPECT_EQ(on, GetParam().pass);
}

INSTANTIATE_TEST_SUITE_P(Delays, DemoOnDelay,
                         ::testing::Values(OnDelayCase{"none", 0.0, 1}, OnDelayCase{"one_pass", 0.16, 2},
                                           OnDelayCase{"two_passes", 0.32, 3}, OnDelayCase{"one_second", 1.0, 8}),
                         [](const ::testing::TestParamInfo<OnDelayCase>& i) { return std::string(i.param.name); });

TEST_F(Tutorial, DemoTimerShowsTheWholeSecondsLeft) {
    start();
    setCell("UNIT_DEMO.DEMO_STEP1.SFC_STEP", 0);  // the chart starts in its first step
    runPasses(R160, 2);
    setCell("UNIT_DEMO.DELAY.DLY_TIME", 2.0);
    setCell("UNIT_DEMO.DEMO_STEP1.SFC_STEP", 1);
    runPasses(R160, 3);
    EXPECT_EQ(integer("UNIT_DEMO.DELAY.R_TIME"), 1);
}

}  // namespace
}  // namespace ao_test

namespace ao_test {
namespace {

// On the whole program, from the service tool only: the tutorial setpoint
// raised at the default and at the selected rate, stopped at 100; sent to
// an entered value; lowered to 0; a go to in progress and a lower command
// each keep a raise from acting; and the cascade units text of each units
// number.
class TutorialProgram : public ref_test::RefRig {
protected:
    float setpoint() { return real("TUTORIAL.SP_TUTORIAL_RAMP.RAMP"); }
    void command(int n, int value) { serviceWrite("TUTORIAL.SP_TUT_COMMANDS.IN_" + std::to_string(n), value); }
    // A raise held for `passes` 160 ms passes, then released.
    void raise(int passes) {
        command(2, 1);
        runPasses(ref_test::R160, static_cast<uint32_t>(passes));
        command(2, 0);
        runPasses(ref_test::R160, 2);
    }
};

TEST_F(TutorialProgram, RaiseLowerGoToAndTheUnitsText) {
    start(false, false);
    ASSERT_EQ(setpoint(), 0.0f);
    // Raise at the default rate, 10 per second, then at a selected 50: the
    // ramp moves by the rate each pass.
    const struct {
        int select;
        double rate;
        float perPass;
    } rates[] = {{0, 50.0, 1.6f}, {1, 50.0, 8.0f}};
    for (const auto& r : rates) {
        serviceWrite("TUTORIAL.SP_TUTORIAL_RAMP.R_SEL_1", r.select);
        serviceWrite("TUTORIAL.SP_TUTORIAL_RAMP.R_SP_1", r.rate);
        const float from = setpoint();
        command(2, 1);
        for (int k = 0; k < 10 && setpoint() == from; ++k) runPasses(ref_test::R160, 1);
        EXPECT_NEAR(setpoint() - from, r.perPass, 1e-4) << r.select;
        EXPECT_EQ(boolean("TUTORIAL.SP_TUTORIAL_RAMP.MOVING_UP"), 1u);
        EXPECT_EQ(integer("TUTORIAL.SP_TUTORIAL_RAMP.POS_SEL"), 2);
        runPasses(ref_test::R160, 4);
        EXPECT_NEAR(setpoint() - from, 5 * r.perPass, 1e-4) << r.select;
        command(2, 0);
        runPasses(ref_test::R160, 2);
    }
    // Up to 100 at 200 per second, and no further.
    serviceWrite("TUTORIAL.SP_TUTORIAL_RAMP.R_SP_1", 200.0);
    command(2, 1);
    runPasses(ref_test::R160, 4);
    EXPECT_EQ(setpoint(), 100.0f);
    EXPECT_EQ(boolean("TUTORIAL.SP_TUTORIAL_RAMP.P_LIM_2"), 1u);
    EXPECT_EQ(boolean("TUTORIAL.P_LIM_2.ZMINUS1_B"), 1u);
    runPasses(ref_test::R160, 1);
    EXPECT_EQ(boolean("TUTORIAL.RSE.B_ACTION"), 0u);  // the limit of the last pass inhibits it
    command(2, 0);
    runPasses(ref_test::R160, 2);
    // Go to an entered 42.
    serviceWrite("TUTORIAL.ENTR_TUT_SETPT.TUNE", 42.0);
    runPasses(ref_test::R160, 2);
    command(1, 1);
    runPasses(ref_test::R160, 3);
    command(1, 0);
    EXPECT_EQ(real("TUTORIAL.ENTR_SETPT_HOLD.A_SW"), 42.0f);
    EXPECT_EQ(setpoint(), 42.0f);
    EXPECT_EQ(boolean("TUTORIAL.SP_TUTORIAL_RAMP.P_LIM_3"), 1u);
    EXPECT_EQ(boolean("TUTORIAL.P_LIM_3.ZMINUS1_B"), 1u);
    runPasses(ref_test::R160, 2);
    // Lower to 0.
    command(3, 1);
    runPasses(ref_test::R160, 3);
    EXPECT_EQ(setpoint(), 0.0f);
    EXPECT_EQ(boolean("TUTORIAL.SP_TUTORIAL_RAMP.P_LIM_1"), 1u);
    EXPECT_EQ(boolean("TUTORIAL.P_LIM_1.ZMINUS1_B"), 1u);
    // A lower command keeps a raise from acting.
    command(2, 1);
    runPasses(ref_test::R160, 2);
    EXPECT_EQ(boolean("TUTORIAL.RSE.B_ACTION"), 0u);
    EXPECT_EQ(setpoint(), 0.0f);
    command(2, 0);
    command(3, 0);
    runPasses(ref_test::R160, 2);
    // A go to in progress (at the default rate, it takes seconds): a raise
    // ends it and does not act in the pass that ends it, then acts.
    serviceWrite("TUTORIAL.SP_TUTORIAL_RAMP.R_SEL_1", 0);
    command(1, 1);
    for (int k = 0; k < 10 && boolean("TUTORIAL.GOTO_TUT_SP.B_ACTION") == 0; ++k) runPasses(ref_test::R160, 1);
    ASSERT_EQ(boolean("TUTORIAL.GOTO_TUT_SP.B_ACTION"), 1u);
    EXPECT_EQ(boolean("TUTORIAL.GOTO_CMD_Z.ZMINUS1_B"), 1u);
    command(1, 0);
    command(2, 1);
    runPasses(ref_test::R160, 1);
    EXPECT_EQ(boolean("TUTORIAL.RSE.B_ACTION"), 0u);
    EXPECT_EQ(boolean("TUTORIAL.GOTO_TUT_SP.B_ACTION"), 0u);
    EXPECT_EQ(integer("TUTORIAL.SP_TUTORIAL_RAMP.POS_SEL"), 0);
    runPasses(ref_test::R160, 1);
    EXPECT_EQ(boolean("TUTORIAL.RSE.B_ACTION"), 1u);
    EXPECT_EQ(integer("TUTORIAL.SP_TUTORIAL_RAMP.POS_SEL"), 2);
    command(2, 0);

    // The cascade units text of each units number.
    const struct {
        int number;
        const char* text;
    } units[] = {{1, "\"\""}, {2, "psi"}, {9, "k#/hr"}, {10, "#\"/hr\""}, {13, "atm"}};
    for (const auto& u : units) {
        serviceWrite("UNITS.UNIT_CASC.IN", u.number);
        runPasses(ref_test::R160, 1);
        EXPECT_EQ(text("UNITS.CASC_UNITS.I_TO_STR"), u.text) << u.number;
        EXPECT_EQ(integer("UNITS.UNIT_CASC.I_NAME"), u.number);
    }
    // The text tunable is copied; the notes and the empty user block.
    StrCell* in = static_cast<StrCell*>(cell("TUTORIAL.S_TUNABLE.IN"));
    ASSERT_NE(in, nullptr);
    str_cell_copy(*in, "practice text");
    runPasses(ref_test::R160, 1);
    EXPECT_EQ(text("TUTORIAL.S_TUNABLE.S_NAME"), "practice text");
    EXPECT_EQ(text("ZZ.DLOG_EXTRA.S_NAME"), "Create TREND_DLOG with Tracewise");
    EXPECT_EQ(text("ZZ.STOP_APP.S_NAME"), "Allow Stop Application w/ Turbine Run");
    EXPECT_EQ(real("_GENERIC.C1.A_OUT_1"), 0.0f);
    EXPECT_EQ(integer("_GENERIC.C1.I_OUT_1"), 0);
    EXPECT_EQ(boolean("_GENERIC.C1.B_OUT_1"), 0u);
}

}  // namespace
}  // namespace ao_test
