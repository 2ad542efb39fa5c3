// The small modules of the first analog output slice on the whole program:
// the tutorial setpoint ramp, the cascade units text, the notes, the empty
// user block and the demonstration's step timers; through real passes of
// their slices only what no input reaches.
#include "drivers/ZarnKeypad.h"
#include "host/board.h"
#include "host/hostkernel.h"
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

// Kept on the slices: step 1 ends only once its delay ran out (the demo's
// start waits for it) and step 4 ends as its delay runs out, so no input
// ends step 1 with time left or holds step 4 after its delay.
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
                                           DemoCase{"step_4", "DEMO_STEP4", "DELAY4"}),
                         [](const ::testing::TestParamInfo<DemoCase>& i) { return std::string(i.param.name); });

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

namespace ao_test {
namespace {

// The demonstration in the internal simulation on the whole program, from
// the service tool, the contacts and the keypad: the chart walks its five
// steps by itself (start, in control, trip at the maximum governor limit,
// reset, ready), and each of the steps 1, 3, 4 and 5 times its own on-delay.
class DemoProgram : public ref_test::RefRig {
protected:
    static std::string timer(int step) { return "UNIT_DEMO.DELAY" + (step == 1 ? std::string() : std::to_string(step)); }
    uint32_t active(int step) { return boolean("UNIT_DEMO.DEMO_STEP" + std::to_string(step) + ".SFC_STEP"); }
    uint32_t on(int step) { return boolean(timer(step) + ".DELAY"); }
    int32_t left(int step) { return integer(timer(step) + ".R_TIME"); }
    void delay(int step, double s) { serviceWrite(timer(step) + ".DLY_TIME", s); }
    // Until the chart enters `step`, noting the 160 ms pass it did.
    void enter(int step) {
        if (active(step) == 1) return;  // entered as the last step ended
        ASSERT_TRUE(runUntil([&] { return active(step) == 1; }, 4000)) << "step " << step << " never entered";
        entered_ = passes(ref_test::R160);
    }
    // Until the chart leaves `step`, which enters the next.
    void leave(int step) {
        if (active(step) == 0) return;
        ASSERT_TRUE(runUntil([&] { return active(step) == 0; }, 4000)) << "step " << step << " never left";
        entered_ = passes(ref_test::R160);
    }
    // Until `n` 160 ms passes after the current step was entered.
    void passesIn(uint32_t n) {
        const uint32_t now = passes(ref_test::R160);
        if (entered_ + n > now) runPasses(ref_test::R160, entered_ + n - now);
    }
    // Demo mode on or off with the simulator's commands.
    void demoMode(bool on) {
        serviceWrite(on ? "SPEED_SIM.INTERNAL_SIM.IN_3" : "SPEED_SIM.INTERNAL_SIM.IN_4", 1);
        runPasses(ref_test::R80, 2);
        ASSERT_EQ(boolean("UNIT_DEMO.DEMO_MODE.B_NAME"), on ? 1u : 0u);
    }
    // The keypad's trip key (slot 12 of the keypad table) held until the
    // chart is back in its first step.
    void keypadTrip(int from) {
        const ZarnKeyBit k = zarnKeypadBits[12];
        hk::runTask([=] { board::setKey(k.word, k.bit, true); });
        leave(from);
        ASSERT_EQ(active(1), 1u);
        hk::runTask([=] { board::setKey(k.word, k.bit, false); });
    }
    // The chart back in its first step from the keypad's trip (the step it
    // ends with time left on its delay), demo mode off so that it stays there; once the simulated turbine is at rest the
    // trips reset, then demo mode on once ready to start.
    void backToTheFirstStep(int from) {
        // (demo mode off keeps the demo's commands as they are: not in the
        // middle of its trip pulse)
        ASSERT_TRUE(runUntil([&] { return boolean("UNIT_DEMO.DEMO_TRIP.ONE_SHOT") == 0; }, 20));
        demoMode(false);
        ASSERT_EQ(active(from), 1u) << from;
        ASSERT_GT(left(from), 0) << from;
        keypadTrip(from);
    }
    void nextRun() {
        ASSERT_TRUE(runUntil([&] { return real("MPU.TURB_SPD.A_NAME") == 0.0f; }, 1000));  // the simulated turbine at rest
        reset();
        ASSERT_TRUE(runUntil([&] { return ready(); }, 50));
        demoMode(true);
    }
    // The first time in a step (its delay 1 s): off after three passes; with
    // the delay raised to 3 s, two whole seconds left; back to 1 s, on.
    void firstTime(int step) {
        enter(step);
        passesIn(3);
        EXPECT_EQ(on(step), 0u) << step;
        delay(step, 3.0);
        passesIn(4);
        EXPECT_EQ(left(step), 2) << step;
        delay(step, 1.0);
        EXPECT_TRUE(runUntil([&] { return on(step) == 1; }, 8)) << step;
    }
    // In the step again (its delay 1 s): timed anew, off after five passes.
    void again(int step) {
        enter(step);
        passesIn(5);
        EXPECT_EQ(on(step), 0u) << step;
    }
    // Ended by the keypad's trip with time left (the delay raised to 3 s).
    void endedWithTimeLeft(int step) {
        delay(step, 3.0);
        passesIn(6);
        ASSERT_EQ(left(step), 2) << step;
        backToTheFirstStep(step);
        offWhenLeft(step);
        delay(step, 1.0);
    }
    // On after ten passes.
    void onAfterTen(int step) {
        passesIn(10);
        EXPECT_EQ(on(step), 1u) << step;
    }
    // On while the step holds, no time left.
    void staysOn(int step) {
        runPasses(ref_test::R160, 3);
        ASSERT_EQ(active(step), 1u) << step;
        EXPECT_EQ(on(step), 1u) << step;
        EXPECT_EQ(left(step), 0) << step;
    }
    // Off at once when the step ends, no time left.
    void offWhenLeft(int step) {
        leave(step);
        runPasses(ref_test::R160, 2);
        EXPECT_EQ(on(step), 0u) << step;
        EXPECT_EQ(left(step), 0) << step;
    }

private:
    uint32_t entered_ = 0;
};

// Steps 1, 3 and 5 hold after their delay ran out (step 1 with demo mode
// off, step 5 while a trip is held); step 4 ends with its own. Step 1 ends
// only once its delay ran out, so it never ends with time left.
TEST_F(DemoProgram, EachStepTimesItsOwnDelay) {
    start(false, false, {{"CNFG_START.RATE_MIN_SPD.IN", 1000.0}, {"IFACE_IN_SPEED.SP_GOTO_RT.IN", 100.0}});
    holdShaftAt(0.0);
    for (int step : {1, 3, 4, 5}) delay(step, 1.0);
    serviceWrite("UNIT_DEMO.AT_MAXGOV.DLY_TIME", 1.0);
    serviceWrite("UNIT_DEMO.GO2_CURV.DLY_TIME", 2.0);
    serviceWrite("UNIT_DEMO.GO_MINGOV.DLY_TIME", 2.0);
    // Shut down, a local user of configure level: the simulation; the trips
    // reset (the trip contact stays open, which the simulation reads as no
    // trip), then demo mode.
    trip();
    runPasses(ref_test::R160, 3);
    serviceWrite("IFACE_MODE.CNFG_OR_ABOV.IN_3", 1);
    serviceWrite("SPEED_SIM.INTERNAL_SIM.IN_1", 1);
    runPasses(ref_test::R80, 2);
    ASSERT_EQ(boolean("SPEED_SIM.ENA__SIM.B_NAME"), 1u);
    runPasses(ref_test::R160, 8);  // the trip's one-shot, which cuts a reset off, over
    nextRun();

    // The first run: step 1 (active since power-up) ends with the demo's
    // start; each step timed for the first time.
    offWhenLeft(1);
    firstTime(3);
    staysOn(3);
    offWhenLeft(3);
    firstTime(4);
    serviceWrite("SHUTDOWNS.TUNABLE_TRIP.IN", 1);  // the demo's reset leaves this trip
    offWhenLeft(4);
    firstTime(5);
    staysOn(5);
    serviceWrite("SHUTDOWNS.TUNABLE_TRIP.IN", 0);
    reset();
    offWhenLeft(5);
    again(1);
    offWhenLeft(1);  // the demo's start, once its delay ran out
    // The second run: step 3 again, ended with time left; step 1 again,
    // held with demo mode off.
    again(3);
    endedWithTimeLeft(3);
    again(1);
    delay(1, 3.0);
    passesIn(6);
    EXPECT_EQ(left(1), 2);
    delay(1, 1.0);
    onAfterTen(1);
    staysOn(1);
    nextRun();
    offWhenLeft(1);
    // The third run: step 3 again to its end; step 4 again, ended with time
    // left.
    again(3);
    onAfterTen(3);
    staysOn(3);
    offWhenLeft(3);
    again(4);
    endedWithTimeLeft(4);
    nextRun();
    // The fourth run: step 4 again to its end; step 5 again, ended with time
    // left.
    again(4);
    EXPECT_TRUE(runUntil([&] { return on(4) == 1; }, 8));
    offWhenLeft(4);
    again(5);
    endedWithTimeLeft(5);
}

}  // namespace
}  // namespace ao_test

namespace ao_test {
namespace {

// The first step's on-delay from power-up, its delay saved by the service
// tool before the start: on in the first 160 ms pass that finds the elapsed
// time at the delay, before it grows (a delay of 0 in the first pass that
// sees the step, of 0.32 s, two passes, in the third); a delay of 2 s shows
// one whole second left in the third pass. The 160 ms group sees the step
// from its second frame: the first runs at the start, before any copy from
// the 80 ms group.
TEST_F(DemoProgram, TheFirstStepsDelayFromPowerUp) {
    startApp();
    const struct {
        double delay;
        int pass;  // of the step's activity, in which it comes on
    } delays[] = {{0.0, 1}, {0.16, 2}, {0.32, 3}, {1.0, 8}, {2.0, 14}};
    for (const auto& d : delays) {
        delay(1, d.delay);
        serviceWrite("MASTER.SAVETUNES.IN_1", 1);
        runPasses(ref_test::R160, 32);  // the supervision task saves the tunables file
        serviceWrite("MASTER.SAVETUNES.IN_1", 0);
        stopApp();
        startApp();
        int pass = 0;
        while (pass < 20 && on(1) == 0) {
            runPasses(ref_test::R160, 1);
            ++pass;
            ASSERT_EQ(active(1), 1u);
            if (d.delay == 2.0 && pass == 3) {
                EXPECT_EQ(left(1), 1);
            }
        }
        EXPECT_EQ(pass, d.pass) << d.delay;
    }
}

}  // namespace
}  // namespace ao_test
