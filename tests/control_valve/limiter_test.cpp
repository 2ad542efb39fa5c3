// The HP valve limiter: its chart through a start, operator raise and lower,
// the entered value, the start maximum, a normal shutdown and a trip.
#include "app/control/control_slices.h"
#include "app/control/unit_delays_r80.h"
#include "app/discrete/discrete_slices.h"
#include "app/interface/interface_slices.h"
#include "host/turbine_model.h"
#include "tests/control_valve/valve_rig.h"
#include "tests/support/ref_rig.h"

using namespace valve_test;

namespace {

constexpr double kRate = 10.0;  // the limiter's normal rate (%/s)

// The 80 ms unit delays, stored and committed at the end of the group.
void unitDelays80() {
    r80::unit_delays_store();
    r80::unit_delays_commit();
}

class Limiter : public ValveRig {
protected:
    void SetUp() override {
        ValveRig::SetUp();
        run({}, {_R40_TASK_4}, {_R80_TASK_13, _R80_TASK_14, unitDelays80}, {_R160_TASK_37, _R160_TASK_82});
        setCell("CNFG_START.VLV_LIM_RATE.A_NAME", kRate);
        seconds(0.5);
    }
    bool at(const char* s) { return boolean(std::string("HPLM.") + s + ".SFC_STEP") != 0; }
    float limiter() { return real("HP_LIMTER.HP_RAMP.RAMP"); }
    // A start pulse as the start logic gives it.
    void startPulse() { pulse("START.PULSE.ONE_SHOT", R160); runPasses(R160, 2); }
    // A semi-automatic start: the chart holds the limiter in A01.
    void semiAutoStart() {
        setCell("START.SEMI_AUTO.AND", 1);
        startPulse();
        ASSERT_TRUE(at("A01_STEP"));
    }
};

// With no start mode both transitions hold and the first (to A02) wins; the
// semi-automatic mode with a manual or automatic start at once leaves the
// chart in A00. No input gives these start pulses: without a start mode the
// start logic inhibits the start, and its semi-automatic flag is off
// whenever a manual or automatic start is configured. These rows on the
// chart's slices; the others on the program
// (LimiterOnProgram.TheStartModeChoosesTheStepAStartPulseLeadsTo).
TEST_F(Limiter, TheStartModeChoosesTheStepAStartPulseLeadsTo) {
    struct Case {
        int semi, man, aut;
        const char* step;
    };
    const Case cases[] = {
        {0, 0, 0, "A02_STEP"},  // both conditions hold: the first transition wins
        {1, 1, 0, "A00_STEP"},
        {1, 0, 1, "A00_STEP"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.step) + " " + std::to_string(c.semi) + std::to_string(c.man) +
                     std::to_string(c.aut));
        setCell("IFACE_IN_VLV.ANY_SD.B_NAME", 1);
        seconds(0.5);
        setCell("IFACE_IN_VLV.ANY_SD.B_NAME", 0);
        ASSERT_TRUE(at("A00_STEP"));
        setCell("START.SEMI_AUTO.AND", c.semi);
        setCell("START.MAN_START.B_NAME", c.man);
        setCell("START.AUTO_START.AND", c.aut);
        startPulse();
        EXPECT_TRUE(at(c.step));
    }
}

TEST_F(Limiter, AShutdownSequenceOrAStartResetEndsTheNormalShutdownInA00) {
    for (const char* end : {"IFACE_IN_VLV.SD_SEQ_SD.B_NAME", "IFACE_IN_VLV.STRT_SEQ_RST.B_NAME"}) {
        startPulse();
        seconds(12.0);
        ASSERT_TRUE(at("A01_STEP")) << end;
        EXPECT_EQ(boolean("HP_LIMTER.HP_RAMP.P_LIM_2"), 0u) << "open";
        setCell("IFACE_IN_VLV.SD_SEQ_NORM_SD.B_NAME", 1);
        seconds(0.5);
        ASSERT_TRUE(at("A03_STEP")) << end;
        setCell(end, 1);
        seconds(0.5);
        EXPECT_TRUE(at("A00_STEP")) << end;
        setCell(end, 0);
        setCell("IFACE_IN_VLV.SD_SEQ_NORM_SD.B_NAME", 0);
        // A00 forces the limiter closed (the stop complete's own lowering
        // is shown on the whole program, in LimiterProgram).
        seconds(12.0);
        EXPECT_EQ(limiter(), 0.0f) << end;
        // Closed: the ramp stands at both of its zero targets.
        EXPECT_EQ(boolean("HP_LIMTER.HP_RAMP.P_LIM_1"), 1u) << end;
        EXPECT_EQ(boolean("HP_LIMTER.HP_RAMP.P_LIM_2"), 1u) << end;
        seconds(2.5);
    }
}

// The reference sequence back in its ready step returns the chart from A01
// to A00, but only 2 s after the chart left A00. No input brings the
// reference sequence back to its ready step while this chart is in A01
// without a shutdown (a controlled stop takes this chart to A03 first): on
// the chart's slices.
TEST_F(Limiter, AStartSequenceResetReturnsA01ToA00OnlyTwoSecondsAfterLeavingA00) {
    semiAutoStart();
    setCell("IFACE_IN_VLV.STRT_SEQ_RST.B_NAME", 1);
    seconds(1.0);
    EXPECT_TRUE(at("A01_STEP"));
    seconds(1.5);
    EXPECT_TRUE(at("A00_STEP"));
}

}  // namespace

namespace {

class LimiterProgram : public ProgramRig {};

// A start on the turbine with the start maximum: the limiter opens at its
// rate to the start maximum and holds it while the speed controller brings
// the shaft to minimum governor; once the controller is in control above it
// the maximum is lifted and the limiter opens on to the full maximum. A trip
// puts the start maximum back in force.
TEST_F(LimiterProgram, TheStartMaximumHoldsUntilTheSpeedControllerTakesOverAndATripRestoresIt) {
    turbine::enable();
    powerUpReady({{"IFACE_IN_VLV.USE_STRT_MAX.IN", 1},
                  {"IFACE_IN_VLV.LIM_MAX_AT_START.IN", 30.0},
                  {"CNFG_START.VLV_LIM_RATE.IN", kRate}});
    startCommand();
    auto limiter = [&] { return real("HP_LIMTER.HP_RAMP.RAMP"); };
    seconds(5.0);
    EXPECT_EQ(limiter(), 30.0f);
    EXPECT_EQ(real("HP_LIMTER.MAX_DMD.A_SW"), 30.0f);
    EXPECT_EQ(boolean("HPLM.A02_STEP.SFC_STEP"), 1u) << "the start maximum is not the maximum";
    // Held there, the controller not yet in control above minimum governor.
    bool pulsed = false;
    int passes = 0;
    for (; passes < 500 && boolean("HP_LIMTER.CTRL_OK.LATCH") == 0; ++passes) {
        ASSERT_EQ(limiter(), 30.0f);
        ASSERT_EQ(boolean("SPDC.ABOV_MING.OR"), 0u);
        runPasses(R160, 1);
        pulsed = pulsed || boolean("HP_LIMTER.RAZ_LMT_OS.ONE_SHOT") != 0;
    }
    ASSERT_EQ(boolean("HP_LIMTER.CTRL_OK.LATCH"), 1u) << "the controller never took over; shaft " << turbine::speedRpm();
    EXPECT_EQ(boolean("SPDC.ABOV_MING.OR"), 1u);
    EXPECT_GE(turbine::speedRpm(), 3000.0);
    for (int k = 0; k < 10; ++k) {
        runPasses(R160, 1);
        pulsed = pulsed || boolean("HP_LIMTER.RAZ_LMT_OS.ONE_SHOT") != 0;
    }
    EXPECT_TRUE(pulsed);
    EXPECT_EQ(real("HP_LIMTER.MAX_DMD.A_SW"), 101.0f);
    seconds(10.0);
    EXPECT_EQ(limiter(), 101.0f);
    EXPECT_EQ(boolean("HP_LIMTER.SPD_IN_CTRL.B_ACTION"), 0u);
    // A trip clears the take-over.
    contact(kTripContact, false);
    seconds(1.0);
    ASSERT_TRUE(tripped());
    EXPECT_EQ(boolean("HP_LIMTER.CTRL_OK.LATCH"), 0u);
    EXPECT_EQ(real("HP_LIMTER.MAX_DMD.A_SW"), 30.0f);
}

// A normal stop on the turbine, from control with the limiter at its
// maximum: the stop holds the limiter in A03 while the reference runs down;
// once the stop is complete the limiter lowers at the shutdown rate to its
// lower end, the stop's trip follows, and the shutdown sequence ends the
// chart in A00.
TEST_F(LimiterProgram, ANormalStopLowersTheLimiterOnceCompleteAndItsTripEndsTheChartInA00) {
    turbine::enable();
    powerUpReady({{"CNFG_START.VLV_LIM_RATE.IN", kRate}, {"IFACE_IN_SPEED.NS_RATE.IN", 100.0}});
    startCommand();
    auto limiter = [&] { return real("HP_LIMTER.HP_RAMP.RAMP"); };
    auto at = [&](const char* s) { return boolean(std::string("HPLM.") + s + ".SFC_STEP") != 0; };
    ASSERT_TRUE(runUntil([&] { return boolean("SPDC.A08_STEP.SFC_STEP") != 0 && limiter() == 101.0f; }, 5000))
        << "never in control with the limiter open";
    EXPECT_TRUE(at("A01_STEP"));
    turbine::setLoad(0.0);
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 1);
    ASSERT_TRUE(runUntil([&] { return boolean("SPDC.Z01_STEP.SFC_STEP") != 0; }, 20)) << "the stop never began";
    seconds(0.5);
    EXPECT_TRUE(at("A03_STEP"));
    // Held while the reference runs down.
    int passes = 0;
    for (; passes < 5000 && boolean("CNTRL_STOP.STP_CPLT.OR") == 0; ++passes) {
        ASSERT_EQ(limiter(), 101.0f) << passes;
        ASSERT_EQ(boolean("HP_LIMTER.LOWER.OR"), 0u) << passes;
        runPasses(R80, 1);
    }
    ASSERT_EQ(boolean("CNTRL_STOP.STP_CPLT.OR"), 1u) << "the stop never completed";
    EXPECT_TRUE(at("A03_STEP"));
    runPasses(R80, 1);
    EXPECT_EQ(boolean("HP_LIMTER.LOWER.OR"), 1u);
    const float a = limiter();
    runPasses(R80, 1);
    EXPECT_LT(limiter(), a) << "lowered on the stop complete";
    ASSERT_TRUE(runUntil([&] { return at("A00_STEP"); }, 2000)) << "the chart never returned to A00";
    EXPECT_EQ(boolean("SHUTDOWNS.ANY.SEL_25"), 1u) << "the stop's trip";
    EXPECT_EQ(limiter(), 0.0f);
    // Closed: the ramp stands at both of its zero targets.
    EXPECT_EQ(boolean("HP_LIMTER.HP_RAMP.P_LIM_1"), 1u);
    EXPECT_EQ(boolean("HP_LIMTER.HP_RAMP.P_LIM_2"), 1u);
}

}  // namespace

namespace {

// The limiter on the whole program with the turbine model: the start modes
// and the limiter's rate entered from the service tool while the controller
// powers up; starts, raise and lower commands, entries and controlled stops
// as the service tool gives them; the limiter's open and close contacts on
// the spare contacts BI07 and BI08; trips from the trip contact.
class LimiterOnProgram : public ref_test::RefRig {
protected:
    static constexpr int P80 = ref_test::R80, P160 = ref_test::R160;
    static constexpr int kOpenContact = ref_test::kSpareContact, kCloseContact = ref_test::kSpareContact + 1;
    enum class Mode { Semi, Manual, Auto };
    // Ready to start in `mode`, the contacts' functions set.
    void ready(Mode mode, const Settings& extra = {}) {
        Settings all = {{"CNFG_START.VLV_LIM_RATE.IN", kRate}, {"_ub19.FUNCT.IN", 22}, {"_ub20.FUNCT.IN", 23}};
        if (mode == Mode::Semi) all.push_back({"CNFG_START.CONFIG_B.IN_3", 1});
        all.insert(all.end(), extra.begin(), extra.end());
        start(mode == Mode::Auto, mode != Mode::Manual, all);
    }
    void seconds(double s) { runPasses(P160, static_cast<uint32_t>(s / 0.16 + 0.5)); }
    bool at(const char* s) { return boolean(std::string("HPLM.") + s + ".SFC_STEP") != 0; }
    float limiter() { return real("HP_LIMTER.HP_RAMP.RAMP"); }
    // The start command, and the chart's first step after it.
    void startAndWait() {
        startCommand();
        ASSERT_TRUE(runUntil([&] { return !at("A00_STEP"); }, 20)) << "the chart never left A00";
    }
    // A raise (1) or lower (2) command of the service tool held for `s`.
    void raiseLower(int k, double s) {
        const std::string in = "IFACE_IN_VLV.RSE_LWR.IN_" + std::to_string(k);
        serviceWrite(in, 1);
        seconds(s);
        serviceWrite(in, 0);
    }
};

TEST_F(LimiterOnProgram, ClosedUntilAStartThenOpensAtItsRateToTheMaximumAndHolds) {
    ready(Mode::Manual);
    EXPECT_TRUE(at("A00_STEP"));
    EXPECT_EQ(limiter(), 0.0f);
    EXPECT_EQ(real("IFACE_IN_VLV.V1LMTR_VAL.A_NAME"), 0.0f);
    EXPECT_EQ(boolean("HP_LIMTER.OR_FRC.OR"), 1u);
    seconds(5.0);
    EXPECT_EQ(limiter(), 0.0f);

    startAndWait();
    ASSERT_TRUE(at("A02_STEP"));
    const float a = limiter();
    seconds(2.0);
    EXPECT_NEAR(limiter() - a, 2.0 * kRate, 0.81);
    EXPECT_EQ(boolean("HP_LIMTER.HP_RAMP.MOVING_UP"), 1u);
    EXPECT_EQ(real("IFACE_OUT_VLV.VALVE_LMT.A_NAME"), limiter());
    seconds(9.0);
    // At the maximum, the chart moves to A01 and the limiter stays there.
    EXPECT_TRUE(at("A01_STEP"));
    EXPECT_EQ(limiter(), 101.0f);
    EXPECT_EQ(boolean("HP_LIMTER.HP_RAMP.P_LIM_3"), 1u);
    EXPECT_EQ(boolean("HP_LIMTER.AT_MAX.OR"), 1u);
    EXPECT_NEAR(real("IFACE_IN_VLV.V1LMTR_VAL.A_NAME"), 101.0f, 1e-3);
    seconds(3.0);
    EXPECT_TRUE(at("A01_STEP"));
    EXPECT_EQ(limiter(), 101.0f);
}

// The configured start mode chooses the step a start leads to:
// semi-automatic leads to A01, manual and automatic to A02.
TEST_F(LimiterOnProgram, TheStartModeChoosesTheStepAStartPulseLeadsTo) {
    const struct {
        Mode mode;
        uint32_t semi, man, aut;
        const char* step;
    } cases[] = {{Mode::Semi, 1, 0, 0, "A01_STEP"},
                 {Mode::Manual, 0, 1, 0, "A02_STEP"},
                 {Mode::Auto, 0, 0, 1, "A02_STEP"}};
    bool first = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step + std::string(" ") + std::to_string(c.semi) + std::to_string(c.man) + std::to_string(c.aut));
        if (!first) {
            stopApp();
            shaftAt(0.0);
        }
        first = false;
        ready(c.mode);
        EXPECT_EQ(boolean("START.SEMI_AUTO.AND"), c.semi);
        EXPECT_EQ(boolean("START.MAN_START.B_NAME"), c.man);
        EXPECT_EQ(boolean("START.AUTO_START.AND"), c.aut);
        startAndWait();
        EXPECT_TRUE(at(c.step));
    }
}

// From A01 a new start command (the valve start) opens the limiter unless
// the reference leads the speed by 200 rpm or more; a semi-automatic start
// and a completed start sequence keep it from opening it too.
TEST_F(LimiterOnProgram, TheValveStartOpensFromA01UnlessTheReferenceLeadsTheSpeed) {
    // Semi-automatic: the start leads to A01, the valve start does nothing.
    ready(Mode::Semi);
    startAndWait();
    ASSERT_TRUE(at("A01_STEP"));
    startCommand();
    seconds(0.5);
    EXPECT_TRUE(at("A01_STEP"));
    // Automatic: at idle, lowered to A01, the shaft held below the
    // reference.
    stopApp();
    shaftAt(0.0);
    ready(Mode::Auto);
    startCommand();
    ASSERT_TRUE(runUntil([&] { return step("A02_STEP"); }, 500)) << "never at idle";
    raiseLower(2, 3.0);  // well below the maximum, so that a valve start opens it for a while
    seconds(0.5);
    ASSERT_TRUE(at("A01_STEP"));
    const float r = ref();
    holdShaftAt(r - 200.0);
    seconds(1.0);
    startCommand();
    seconds(0.5);
    EXPECT_TRUE(at("A01_STEP")) << "the reference 200 above the speed";
    holdShaftAt(r - 199.0);
    seconds(1.0);
    startCommand();
    seconds(0.5);
    EXPECT_TRUE(at("A02_STEP"));
    // In control (the start sequence completed), lowered to A01: the valve
    // start does nothing.
    turbine::enable();
    pulse("IFACE_IN_START.IR_EN.IN", P160);
    ASSERT_TRUE(runUntil([&] { return step("A08_STEP"); }, 3000)) << "never in control";
    raiseLower(2, 0.32);
    seconds(0.5);
    ASSERT_TRUE(at("A01_STEP"));
    startCommand();
    seconds(0.5);
    EXPECT_TRUE(at("A01_STEP"));
}

// In A01 only raise and lower move it, lower winning over raise; a lower
// maximum does not move the held limiter by itself.
TEST_F(LimiterOnProgram, InA01OnlyRaiseAndLowerMoveItAndLowerWins) {
    ready(Mode::Semi);
    startAndWait();
    ASSERT_TRUE(at("A01_STEP"));
    seconds(1.0);
    EXPECT_EQ(limiter(), 0.0f);
    EXPECT_EQ(integer("HP_LIMTER.HP_RAMP.POS_SEL"), 0);
    raiseLower(1, 3.0);
    const float raised = limiter();
    EXPECT_NEAR(raised, 3.0 * kRate, 3.3);
    seconds(2.0);
    EXPECT_EQ(integer("HP_LIMTER.HP_RAMP.POS_SEL"), 0);
    const float heldAt = limiter();
    seconds(2.0);
    EXPECT_EQ(limiter(), heldAt);
    // A lower maximum does not move the held limiter by itself.
    serviceWrite("IFACE_IN_VLV.VLV_LIM_MAX.IN", 10.0);
    seconds(1.0);
    EXPECT_EQ(limiter(), heldAt);
    EXPECT_EQ(boolean("HP_LIMTER.HP_RAMP.P_LIM_3"), 0u);
    serviceWrite("IFACE_IN_VLV.VLV_LIM_MAX.IN", 101.0);
    // Raise and lower together: lower.
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_1", 1);
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_2", 1);
    seconds(1.0);
    EXPECT_LT(limiter(), heldAt);
    EXPECT_EQ(boolean("HP_LIMTER.HP_RAMP.MOVING_DN"), 1u);
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_2", 0);
    seconds(1.0);
    EXPECT_EQ(boolean("HP_LIMTER.HP_RAMP.MOVING_UP"), 1u);
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_1", 0);
    // Lower to the bottom.
    raiseLower(2, 5.0);
    EXPECT_EQ(limiter(), 0.0f);
    EXPECT_EQ(boolean("HP_LIMTER.HP_RAMP.P_LIM_1"), 1u);
    EXPECT_TRUE(at("A01_STEP"));
}

TEST_F(LimiterOnProgram, TheContactsRaiseAndLowerWhileHeld) {
    ready(Mode::Semi);
    startAndWait();
    ASSERT_TRUE(at("A01_STEP"));
    contact(kOpenContact, true);
    seconds(2.0);
    contact(kOpenContact, false);
    seconds(0.16);
    const float raised = limiter();
    EXPECT_GT(raised, 10.0f);
    seconds(1.0);
    EXPECT_EQ(limiter(), raised);
    contact(kCloseContact, true);
    seconds(1.0);
    EXPECT_LT(limiter(), raised);
    EXPECT_EQ(boolean("HP_LIMTER.CLS_LMTR.OR"), 1u);
    contact(kCloseContact, false);
    seconds(0.5);
    float lowered = limiter();
    seconds(1.0);
    EXPECT_EQ(limiter(), lowered);
    // A lower from the service tool cancels the raise of a contact held.
    contact(kOpenContact, true);
    seconds(1.0);
    EXPECT_GT(limiter(), lowered);
    raiseLower(2, 0.32);
    seconds(1.0);
    lowered = limiter();
    seconds(1.0);
    EXPECT_EQ(limiter(), lowered);
    contact(kOpenContact, false);
    // A spare reset keeps a contact from latching.
    serviceWrite("HP_LIMTER.OPN_LTCH_D.RST_2", 1);
    contact(kOpenContact, true);
    seconds(1.0);
    EXPECT_EQ(limiter(), lowered);
}

TEST_F(LimiterOnProgram, AnOperatorCommandInA02HandsTheLimiterToA01) {
    ready(Mode::Manual);
    startAndWait();
    ASSERT_TRUE(at("A02_STEP"));
    seconds(1.0);
    raiseLower(2, 0.16);
    seconds(0.5);
    EXPECT_TRUE(at("A01_STEP"));
    const float held = limiter();
    seconds(2.0);
    EXPECT_EQ(limiter(), held);
}

// A normal shutdown (a controlled stop) holds the limiter in A03 until the
// stop is complete, then closes it at 1 %/s; the stop aborted, the chart
// returns to A01 2 s later; a shutdown closes the limiter at once.
TEST_F(LimiterOnProgram, ANormalShutdownClosesItSlowlyAndAnyShutdownAtOnce) {
    ready(Mode::Manual, {{"IFACE_IN_SPEED.NS_RATE.IN", 100.0}});
    startAndWait();
    seconds(12.0);
    ASSERT_TRUE(at("A01_STEP"));
    ASSERT_TRUE(runUntil([&] { return step("A08_STEP"); }, 3000)) << "never in control";
    turbine::setLoad(0.0);
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 1);
    ASSERT_TRUE(runUntil([&] { return step("Z01_STEP"); }, 20)) << "the stop never began";
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 0);
    seconds(0.5);
    ASSERT_TRUE(at("A03_STEP"));
    // Once the stop is complete it closes at 1 %/s (that it holds until
    // then is shown in LimiterProgram).
    ASSERT_TRUE(runUntil([&] { return boolean("CNTRL_STOP.STP_CPLT.OR") != 0; }, 5000)) << "never complete";
    runPasses(P80, 2);
    ASSERT_EQ(boolean("HP_LIMTER.LOWER.OR"), 1u);
    const float a = limiter();
    seconds(5.0);
    EXPECT_NEAR(a - limiter(), 5.0, 0.2);
    // The sequence ended (the stop aborted): back to A01 after 2 s.
    serviceWrite("IFACE_IN_START.CSD_ABORT.IN", 1);
    ASSERT_TRUE(runUntil([&] { return !step("Z01_STEP"); }, 10));
    serviceWrite("IFACE_IN_START.CSD_ABORT.IN", 0);
    seconds(1.5);
    EXPECT_TRUE(at("A03_STEP"));
    seconds(1.0);
    EXPECT_TRUE(at("A01_STEP"));
    // A shutdown: the limiter is 0 after one 80 ms pass.
    const float before = limiter();
    ASSERT_GT(before, 80.0f);
    trip();
    runPasses(P80, 2);
    EXPECT_EQ(limiter(), 0.0f);
    seconds(0.5);
    EXPECT_TRUE(at("A00_STEP"));
}

// An entered value inside the limits is taken (the limiter moves to it at
// its rate); one outside is refused and reverts 3 s later; the boundaries
// are valid; an operator command (one of the entered value's disables) ends
// the move.
TEST_F(LimiterOnProgram, AnEnteredValueInsideTheLimitsIsTakenAndOneOutsideReverts) {
    ready(Mode::Semi, {{"IFACE_IN_VLV.VLV_LIM_ENTRD.IN", 20.0}});
    startAndWait();
    ASSERT_TRUE(at("A01_STEP"));
    serviceWrite("HP_LIMTER.ENTR_HP_LIM_SP.TUNE", 40.0);
    pulse("IFACE_IN_VLV.TUNED_OK.IN", P160);
    // It moves to the entry at the entered rate (20 %/s).
    ASSERT_TRUE(runUntil([&] { return limiter() > 0.0f; }, 10));
    seconds(1.0);
    EXPECT_NEAR(limiter(), 20.0, 3.3);
    seconds(2.0);
    EXPECT_EQ(limiter(), 40.0f);
    EXPECT_EQ(boolean("HP_LIMTER.HP_RAMP.P_LIM_4"), 1u);
    // Above the maximum: refused, and back to 40 after 3 s.
    serviceWrite("HP_LIMTER.ENTR_HP_LIM_SP.TUNE", 120.0);
    seconds(0.5);
    EXPECT_EQ(boolean("HP_LIMTER.INVALID_SP.OR"), 1u);
    pulse("IFACE_IN_VLV.TUNED_OK.IN", P160);
    seconds(1.0);
    EXPECT_EQ(limiter(), 40.0f);
    EXPECT_EQ(boolean("HP_LIMTER.H_SER_LAT.LATCH"), 0u) << "reaching the entered value ends the move";
    for (const char* a : {"HP_LIMTER.SPD_IN_CTRL.ACT_OUT", "HP_LIMTER.OPN_LTCH_D.ACT_OUT"})
        EXPECT_EQ(integer(a), 2) << a << ": the latches show their kind";
    seconds(2.5);
    EXPECT_EQ(real("HP_LIMTER.ENTR_HP_LIM_SP.TUNE"), 40.0f);
    // The boundaries are valid, just outside them is not.
    const struct {
        double v;
        uint32_t invalid;
    } cases[] = {{-0.5, 1}, {0.0, 0}, {101.0, 0}, {101.5, 1}};
    for (const auto& c : cases) {
        serviceWrite("HP_LIMTER.ENTR_HP_LIM_SP.TUNE", c.v);
        runPasses(P80, 2);
        EXPECT_EQ(boolean("HP_LIMTER.INVALID_SP.OR"), c.invalid) << c.v;
        EXPECT_EQ(boolean("HP_LIMTER.NOT_LIMITED.NOT"), 1u - c.invalid) << c.v;
    }
    // An operator command (the entered-value disable) ends the move.
    serviceWrite("HP_LIMTER.ENTR_HP_LIM_SP.TUNE", 0.0);
    pulse("IFACE_IN_VLV.TUNED_OK.IN", P160);
    seconds(0.5);
    ASSERT_EQ(boolean("HP_LIMTER.H_SER_LAT.LATCH"), 1u);
    raiseLower(1, 0.48);
    runPasses(P80, 3);
    EXPECT_EQ(boolean("HP_LIMTER.H_SER_LAT.LATCH"), 0u);
    const float held = limiter();
    EXPECT_GT(held, 0.0f);
    seconds(1.0);
    EXPECT_EQ(limiter(), held);
}

// Without the start maximum the raise pulse never fires through a start to
// control; the take-over latches, the maximum stays the full one.
TEST_F(LimiterOnProgram, WithoutTheStartMaximumTheRaisePulseNeverFires) {
    ready(Mode::Manual);
    startCommand();
    for (int k = 0; k < 3000 && boolean("HP_LIMTER.CTRL_OK.LATCH") == 0; ++k) {
        runPasses(P160, 1);
        ASSERT_EQ(boolean("HP_LIMTER.RAZ_LMT_OS.ONE_SHOT"), 0u) << k;
        ASSERT_EQ(real("HP_LIMTER.MAX_DMD.A_SW"), 101.0f) << k;
    }
    ASSERT_EQ(boolean("HP_LIMTER.CTRL_OK.LATCH"), 1u) << "never in control above minimum governor";
    for (int k = 0; k < 20; ++k) {
        runPasses(P160, 1);
        EXPECT_EQ(boolean("HP_LIMTER.RAZ_LMT_OS.ONE_SHOT"), 0u);
    }
    EXPECT_EQ(real("HP_LIMTER.MAX_DMD.A_SW"), 101.0f);
}

}  // namespace
