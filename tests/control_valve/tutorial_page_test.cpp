// The tutorial page on the whole program: its sample tunables, the momentary
// commands that drop after 20 s, the entered setpoint with its go-to command
// and revert, and the lower command, driving the tutorial ramp. Everything
// is entered as the service tool enters it.
#include "tests/control_valve/valve_rig.h"

using namespace valve_test;

namespace {

class TutorialPage : public ProgramRig {
protected:
    void SetUp() override {
        ProgramRig::SetUp();
        startApp();
        runPasses(R160, 2);
    }
    void command(int n) { serviceWrite("TUTORIAL.SP_TUT_COMMANDS.IN_" + std::to_string(n), 1); }
    void release(int n) { serviceWrite("TUTORIAL.SP_TUT_COMMANDS.IN_" + std::to_string(n), 0); }
    float ramp() { return real("TUTORIAL.SP_TUTORIAL_RAMP.RAMP"); }
    void enter(double v) {
        serviceWrite("TUTORIAL.ENTR_TUT_SETPT.TUNE", v);
        runPasses(R160, 1);
    }
    // Enters v and gives the go-to command until the ramp has settled.
    void goTo(double v) {
        enter(v);
        command(1);
        runPasses(R160, 2);
        release(1);
        seconds(12.0);
    }
};

TEST_F(TutorialPage, TheSampleTunablesReachTheirOutputs) {
    EXPECT_EQ(real("TUTORIAL.A_TUNABLE.A_NAME"), 100.0f);
    EXPECT_EQ(integer("TUTORIAL.I_DROPDOWN.I_NAME"), 1);
    EXPECT_EQ(integer("TUTORIAL.I_TUNABLE.I_NAME"), 100);
    const char* flags[] = {"TUTORIAL.B_TUNABLE", "TUTORIAL.B_TUNABLE1", "TUTORIAL.B_TUNABLE2", "TUTORIAL.B_TUNABLE3"};
    for (const char* f : flags) EXPECT_EQ(boolean(std::string(f) + ".B_NAME"), 0u) << f;
    serviceWrite("TUTORIAL.A_TUNABLE.IN", -2.5);
    serviceWrite("TUTORIAL.I_DROPDOWN.IN", 4);
    serviceWrite("TUTORIAL.I_TUNABLE.IN", -7);
    for (int k = 0; k < 4; ++k) {
        for (int j = 0; j < 4; ++j) serviceWrite(std::string(flags[j]) + ".IN", j == k);
        runPasses(R160, 1);
        for (int j = 0; j < 4; ++j) EXPECT_EQ(boolean(std::string(flags[j]) + ".B_NAME"), j == k ? 1u : 0u) << k;
    }
    EXPECT_EQ(real("TUTORIAL.A_TUNABLE.A_NAME"), -2.5f);
    EXPECT_EQ(integer("TUTORIAL.I_DROPDOWN.I_NAME"), 4);
    EXPECT_EQ(integer("TUTORIAL.I_TUNABLE.I_NAME"), -7);
}

TEST_F(TutorialPage, AMomentaryCommandLeftSetIsDroppedAfterTwentySeconds) {
    for (int n = 1; n <= 3; ++n) {
        const std::string in = "TUTORIAL.SP_TUT_COMMANDS.IN_" + std::to_string(n);
        const std::string out = "TUTORIAL.SP_TUT_COMMANDS.OUT_" + std::to_string(n);
        EXPECT_EQ(boolean(out), 0u) << "cleared at start-up";
        command(n);
        int on = 0;
        for (int p = 0; p < 140; ++p) {
            runPasses(R160, 1);
            on += static_cast<int>(boolean(out));
        }
        EXPECT_NEAR(on, 125, 1) << n;  // 20 s of 160 ms passes
        EXPECT_EQ(boolean(in), 0u) << n;
        // A written zero ends it at the next pass.
        command(n);
        runPasses(R160, 2);
        EXPECT_EQ(boolean(out), 1u) << n;
        release(n);
        runPasses(R160, 1);
        EXPECT_EQ(boolean(out), 0u) << n;
    }
}

TEST_F(TutorialPage, TheGoToCommandTakesAValidEntryAndTheRampFollows) {
    enter(42.0);
    EXPECT_EQ(boolean("TUTORIAL.INVALID_SETPOINT.B_NAME"), 0u);
    EXPECT_EQ(boolean("TUTORIAL.GOTO_TUT_SP.B_ACTION"), 0u);
    command(1);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("TUTORIAL.GOTO_CMD.AND"), 1u);
    EXPECT_EQ(boolean("TUTORIAL.GOTO_VAL_SAMP.ONE_SHOT"), 1u);
    EXPECT_EQ(real("TUTORIAL.ENTR_SETPT_HOLD.A_SW"), 42.0f);
    // In the pulse's first pass the ramp still stands at the old hold value,
    // which resets the go-to; the second pass sets it.
    EXPECT_EQ(boolean("TUTORIAL.GOTO_TUT_SP.B_ACTION"), 0u);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("TUTORIAL.GOTO_VAL_SAMP.ONE_SHOT"), 1u);
    EXPECT_EQ(boolean("TUTORIAL.GOTO_TUT_SP.B_ACTION"), 1u);
    EXPECT_EQ(integer("TUTORIAL.GOTO_TUT_SP.ACT_OUT"), 2);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("TUTORIAL.GOTO_VAL_SAMP.ONE_SHOT"), 0u) << "0.32 s pulse";
    release(1);
    // The go-to holds until the ramp reaches the entry, then resets.
    seconds(2.0);
    EXPECT_EQ(boolean("TUTORIAL.GOTO_TUT_SP.B_ACTION"), 1u);
    EXPECT_GT(ramp(), 10.0f);
    seconds(4.0);
    EXPECT_EQ(ramp(), 42.0f);
    EXPECT_EQ(boolean("TUTORIAL.GOTO_TUT_SP.B_ACTION"), 0u);
    // Only the pulse takes the entry: a later entry leaves the hold alone.
    enter(17.0);
    seconds(1.0);
    EXPECT_EQ(real("TUTORIAL.ENTR_SETPT_HOLD.A_SW"), 42.0f);
    EXPECT_EQ(ramp(), 42.0f);
}

TEST_F(TutorialPage, AnEntryOutsideTheRangeIsRefusedAndRevertsThreeSecondsLater) {
    goTo(60.0);
    ASSERT_EQ(ramp(), 60.0f);
    struct Case {
        double entry;
        uint32_t invalid;
    } cases[] = {{-0.001, 1}, {0.0, 0}, {100.0, 0}, {100.001, 1}, {250.0, 1}, {-1e30, 1}};
    for (const Case& c : cases) {
        enter(c.entry);
        EXPECT_EQ(boolean("TUTORIAL.INVALID_SETPOINT.B_NAME"), c.invalid) << c.entry;
        EXPECT_EQ(boolean("TUTORIAL.NOT_LIMITED.NOT"), c.invalid ^ 1u) << c.entry;
        command(1);
        runPasses(R160, 1);
        EXPECT_EQ(boolean("TUTORIAL.GOTO_CMD.AND"), c.invalid ^ 1u) << c.entry;
        release(1);
        if (c.invalid) {
            EXPECT_EQ(real("TUTORIAL.ENTR_SETPT_HOLD.A_SW"), 60.0f) << c.entry;
            seconds(2.6);
            EXPECT_EQ(real("TUTORIAL.ENTR_TUT_SETPT.SAMP_TUNE"), static_cast<float>(c.entry)) << "still refused";
            seconds(0.8);
            EXPECT_EQ(boolean("TUTORIAL.LIMITED.DELAY"), 0u) << c.entry;
            EXPECT_EQ(real("TUTORIAL.ENTR_TUT_SETPT.TUNE"), 60.0f) << "back to the last accepted " << c.entry;
            EXPECT_EQ(boolean("TUTORIAL.INVALID_SETPOINT.B_NAME"), 0u) << c.entry;
            EXPECT_EQ(ramp(), 60.0f) << c.entry;
        } else {
            goTo(60.0);  // back where the next case starts
        }
    }
}

TEST_F(TutorialPage, TheLowerCommandRunsTheRampDownUntilReleasedOrAtZero) {
    goTo(50.0);
    command(3);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("TUTORIAL.LWR.B_ACTION"), 1u);
    seconds(1.6);
    release(3);
    runPasses(R160, 1);
    // Released: the short reset pulse stops the lower at once.
    EXPECT_EQ(boolean("TUTORIAL.NO_MOM_LWR_RST.ONE_SHOT"), 1u);
    EXPECT_EQ(boolean("TUTORIAL.LWR.B_ACTION"), 0u);
    const float stopped = ramp();
    EXPECT_LT(stopped, 50.0f);
    EXPECT_GT(stopped, 30.0f);
    seconds(1.0);
    EXPECT_EQ(ramp(), stopped);
    // Held to the bottom: the reached zero resets it.
    command(3);
    seconds(6.0);
    EXPECT_EQ(ramp(), 0.0f);
    EXPECT_EQ(boolean("TUTORIAL.LWR.B_ACTION"), 0u);
    // The raise command resets the lower.
    release(3);
    goTo(50.0);
    command(3);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("TUTORIAL.LWR.B_ACTION"), 1u);
    command(2);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("TUTORIAL.LWR.B_ACTION"), 0u);
}

}  // namespace
