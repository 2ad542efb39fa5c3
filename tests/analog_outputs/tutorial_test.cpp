// The small modules of the first analog output slice through real passes:
// the tutorial setpoint ramp, the cascade units text, the demo step timers,
// the notes and the empty user block.
#include "tests/analog_outputs/output_rig.h"

namespace ao_test {
namespace {

class Tutorial : public OutputRig {
protected:
    float setpoint() { return real("TUTORIAL.SP_TUTORIAL_RAMP.RAMP"); }
};

struct RateCase {
    const char* name;
    int select;
    double rate;
    float perPass;
};

class TutorialRate : public OutputRig, public ::testing::WithParamInterface<RateCase> {};

TEST_P(TutorialRate, RaiseMovesByTheRatePerPass) {
    start();
    setCell("TUTORIAL.SP_TUTORIAL_RAMP.R_SEL_1", GetParam().select);
    setCell("TUTORIAL.SP_TUTORIAL_RAMP.R_SP_1", GetParam().rate);
    setCell("TUTORIAL.SP_TUT_COMMANDS.OUT_2", 1);
    runPasses(R160, 1);
    EXPECT_NEAR(real("TUTORIAL.SP_TUTORIAL_RAMP.RAMP"), GetParam().perPass, 1e-5);
    EXPECT_EQ(boolean("TUTORIAL.SP_TUTORIAL_RAMP.MOVING_UP"), 1u);
    EXPECT_EQ(integer("TUTORIAL.SP_TUTORIAL_RAMP.POS_SEL"), 2);
    runPasses(R160, 4);
    EXPECT_NEAR(real("TUTORIAL.SP_TUTORIAL_RAMP.RAMP"), 5 * GetParam().perPass, 1e-4);
}

INSTANTIATE_TEST_SUITE_P(Rates, TutorialRate,
                         ::testing::Values(RateCase{"default_ten_per_second", 0, 50.0, 1.6f},
                                           RateCase{"selected_rate", 1, 50.0, 8.0f}),
                         [](const ::testing::TestParamInfo<RateCase>& i) { return std::string(i.param.name); });

TEST_F(Tutorial, RaiseStopsAtOneHundredAndReleases) {
    start();
    setCell("TUTORIAL.SP_TUTORIAL_RAMP.R_SEL_1", 1);
    setCell("TUTORIAL.SP_TUTORIAL_RAMP.R_SP_1", 200.0);
    setCell("TUTORIAL.SP_TUT_COMMANDS.OUT_2", 1);
    runPasses(R160, 4);
    EXPECT_EQ(setpoint(), 100.0f);
    EXPECT_EQ(boolean("TUTORIAL.SP_TUTORIAL_RAMP.P_LIM_2"), 1u);
    EXPECT_EQ(boolean("TUTORIAL.P_LIM_2.ZMINUS1_B"), 1u);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("TUTORIAL.RSE.B_ACTION"), 0u);  // the limit of the last pass inhibits it
}

TEST_F(Tutorial, LowerAndGoTo) {
    start();
    setCell("TUTORIAL.SP_TUTORIAL_RAMP.R_SEL_1", 1);
    setCell("TUTORIAL.SP_TUTORIAL_RAMP.R_SP_1", 200.0);
    setCell("TUTORIAL.ENTR_SETPT_HOLD.A_SW", 42.0);
    setCell("TUTORIAL.GOTO_TUT_SP.B_ACTION", 1);
    runPasses(R160, 2);
    EXPECT_EQ(setpoint(), 42.0f);
    EXPECT_EQ(boolean("TUTORIAL.SP_TUTORIAL_RAMP.P_LIM_3"), 1u);
    EXPECT_EQ(boolean("TUTORIAL.GOTO_CMD_Z.ZMINUS1_B"), 1u);
    EXPECT_EQ(boolean("TUTORIAL.P_LIM_3.ZMINUS1_B"), 1u);
    setCell("TUTORIAL.GOTO_TUT_SP.B_ACTION", 0);
    setCell("TUTORIAL.LWR.B_ACTION", 1);
    runPasses(R160, 2);
    EXPECT_EQ(setpoint(), 0.0f);
    EXPECT_EQ(boolean("TUTORIAL.SP_TUTORIAL_RAMP.P_LIM_1"), 1u);
    EXPECT_EQ(boolean("TUTORIAL.P_LIM_1.ZMINUS1_B"), 1u);
}

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

TEST_F(Tutorial, LowerCommandInhibitsRaise) {
    start();
    setCell("TUTORIAL.SP_TUT_COMMANDS.OUT_2", 1);
    setCell("TUTORIAL.SP_TUT_COMMANDS.OUT_3", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("TUTORIAL.RSE.B_ACTION"), 0u);
    EXPECT_EQ(setpoint(), 0.0f);
}

struct UnitCase {
    const char* name;
    int number;
    const char* text;
};

class UnitsText : public OutputRig, public ::testing::WithParamInterface<UnitCase> {};

TEST_P(UnitsText, NumberGivesTheText) {
    start();
    setCell("UNITS.UNIT_CASC.IN", GetParam().number);
    runPasses(R160, 1);
    EXPECT_EQ(text("UNITS.CASC_UNITS.I_TO_STR"), GetParam().text);
    EXPECT_EQ(integer("UNITS.UNIT_CASC.I_NAME"), GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(Numbers, UnitsText,
                         ::testing::Values(UnitCase{"zero", 0, "\"\""}, UnitCase{"one", 1, "\"\""},
                                           UnitCase{"psi", 2, "psi"}, UnitCase{"kpph", 9, "k#/hr"},
                                           UnitCase{"quoted", 10, "#\"/hr\""}, UnitCase{"atm", 13, "atm"},
                                           UnitCase{"fourteen", 14, "\"\""}),
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

TEST_F(Tutorial, TheTextTunableIsCopied) {
    start();
    StrCell* in = static_cast<StrCell*>(cell("TUTORIAL.S_TUNABLE.IN"));
    ASSERT_NE(in, nullptr);
    str_cell_copy(*in, "practice text");
    runPasses(R160, 1);
    EXPECT_EQ(text("TUTORIAL.S_TUNABLE.S_NAME"), "practice text");
}

TEST_F(Tutorial, NotesAndTheEmptyUserBlock) {
    start();
    EXPECT_EQ(text("ZZ.DLOG_EXTRA.S_NAME"), "Create TREND_DLOG with Tracewise");
    EXPECT_EQ(text("ZZ.STOP_APP.S_NAME"), "Allow Stop Application w/ Turbine Run");
    EXPECT_EQ(real("_GENERIC.C1.A_OUT_1"), 0.0f);
    EXPECT_EQ(integer("_GENERIC.C1.I_OUT_1"), 0);
    EXPECT_EQ(boolean("_GENERIC.C1.B_OUT_1"), 0u);
}

}  // namespace
}  // namespace ao_test
