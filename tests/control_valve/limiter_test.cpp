// The HP valve limiter: its chart through a start, operator raise and lower,
// the entered value, the start maximum, a normal shutdown and a trip.
#include "app/control/control_slices.h"
#include "app/control/unit_delays_r80.h"
#include "app/discrete/discrete_slices.h"
#include "app/interface/interface_slices.h"
#include "host/turbine_model.h"
#include "tests/control_valve/valve_rig.h"

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

TEST_F(Limiter, ClosedUntilAStartThenOpensAtItsRateToTheMaximumAndHolds) {
    EXPECT_TRUE(at("A00_STEP"));
    EXPECT_EQ(limiter(), 0.0f);
    EXPECT_EQ(real("IFACE_IN_VLV.V1LMTR_VAL.A_NAME"), 0.0f);
    EXPECT_EQ(boolean("HP_LIMTER.OR_FRC.OR"), 1u);
    seconds(5.0);
    EXPECT_EQ(limiter(), 0.0f);

    startPulse();
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

TEST_F(Limiter, TheStartModeChoosesTheStepAStartPulseLeadsTo) {
    struct Case {
        int semi, man, aut;
        const char* step;
    };
    const Case cases[] = {
        {0, 0, 0, "A02_STEP"},  // both conditions hold: the first transition wins
        {1, 0, 0, "A01_STEP"},
        {0, 1, 0, "A02_STEP"},
        {0, 0, 1, "A02_STEP"},
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

TEST_F(Limiter, TheValveStartOpensFromA01UnlessTheReferenceLeadsTheSpeed) {
    semiAutoStart();
    // Semi-automatic mode keeps the valve start from opening it.
    pulse("START.V1_STRT.ONE_SHOT", R160);
    seconds(0.5);
    EXPECT_TRUE(at("A01_STEP"));
    setCell("START.SEMI_AUTO.AND", 0);
    // The reference 200 above the speed blocks the valve start.
    setCell("IFACE_IN_SPEED.SPEED.A_NAME", -200.0);
    seconds(0.5);
    pulse("START.V1_STRT.ONE_SHOT", R160);
    seconds(0.5);
    EXPECT_TRUE(at("A01_STEP"));
    setCell("IFACE_IN_SPEED.SPEED.A_NAME", -199.0);
    seconds(0.5);
    pulse("START.V1_STRT.ONE_SHOT", R160);
    seconds(0.5);
    EXPECT_TRUE(at("A02_STEP"));
    // A completed start sequence blocks it too.
    setCell("IFACE_IN_VLV.ANY_SD.B_NAME", 1);
    seconds(0.5);
    setCell("IFACE_IN_VLV.ANY_SD.B_NAME", 0);
    semiAutoStart();
    setCell("START.SEMI_AUTO.AND", 0);
    setCell("IFACE_IN_VLV.STRT_SEQ_CMPL.B_NAME", 1);
    pulse("START.V1_STRT.ONE_SHOT", R160);
    seconds(0.5);
    EXPECT_TRUE(at("A01_STEP"));
}

TEST_F(Limiter, InA01OnlyRaiseAndLowerMoveItAndLowerWins) {
    semiAutoStart();
    seconds(1.0);
    EXPECT_EQ(limiter(), 0.0f);
    EXPECT_EQ(integer("HP_LIMTER.HP_RAMP.POS_SEL"), 0);
    setCell("IFACE_IN_VLV.VLIM_RSE.B_NAME", 1);
    seconds(3.0);
    setCell("IFACE_IN_VLV.VLIM_RSE.B_NAME", 0);
    const float raised = limiter();
    EXPECT_NEAR(raised, 3.0 * kRate, 3.3);
    seconds(2.0);
    EXPECT_EQ(integer("HP_LIMTER.HP_RAMP.POS_SEL"), 0);
    const float heldAt = limiter();
    seconds(2.0);
    EXPECT_EQ(limiter(), heldAt);
    // A lower maximum does not move the held limiter by itself.
    setCell("IFACE_IN_VLV.VLV_LIM_MAX.IN", 10.0);
    seconds(1.0);
    EXPECT_EQ(limiter(), heldAt);
    EXPECT_EQ(boolean("HP_LIMTER.HP_RAMP.P_LIM_3"), 0u);
    setCell("IFACE_IN_VLV.VLV_LIM_MAX.IN", 101.0);
    // Raise and lower together: lower.
    setCell("MOD_BW.BW_CMD.SEL_10", 1);
    setCell("OPC_DATA.BW_CMDS.SEL_11", 1);
    seconds(1.0);
    EXPECT_LT(limiter(), heldAt);
    EXPECT_EQ(boolean("HP_LIMTER.HP_RAMP.MOVING_DN"), 1u);
    setCell("OPC_DATA.BW_CMDS.SEL_11", 0);
    seconds(1.0);
    EXPECT_EQ(boolean("HP_LIMTER.HP_RAMP.MOVING_UP"), 1u);
    setCell("MOD_BW.BW_CMD.SEL_10", 0);
    // Lower to the bottom.
    setCell("IFACE_IN_VLV.VLIM_LWR.B_NAME", 1);
    seconds(5.0);
    EXPECT_EQ(limiter(), 0.0f);
    EXPECT_EQ(boolean("HP_LIMTER.HP_RAMP.P_LIM_1"), 1u);
    EXPECT_TRUE(at("A01_STEP"));
}

TEST_F(Limiter, TheContactsRaiseAndLowerWhileHeld) {
    semiAutoStart();
    setCell("IFACE_IN_VLV.HP_LIM_OPEN.B_NAME", 1);
    seconds(2.0);
    setCell("IFACE_IN_VLV.HP_LIM_OPEN.B_NAME", 0);
    const float raised = limiter();
    EXPECT_GT(raised, 10.0f);
    seconds(1.0);
    EXPECT_EQ(limiter(), raised);
    setCell("IFACE_IN_VLV.HP_LIM_CLOSE.B_NAME", 1);
    seconds(1.0);
    EXPECT_LT(limiter(), raised);
    EXPECT_EQ(boolean("HP_LIMTER.CLS_LMTR.OR"), 1u);
    setCell("IFACE_IN_VLV.HP_LIM_CLOSE.B_NAME", 0);
    seconds(0.5);
    const float lowered = limiter();
    seconds(1.0);
    EXPECT_EQ(limiter(), lowered);
    // A spare reset keeps a contact from latching.
    setCell("HP_LIMTER.OPN_LTCH_D.RST_2", 1);
    setCell("IFACE_IN_VLV.HP_LIM_OPEN.B_NAME", 1);
    seconds(1.0);
    EXPECT_EQ(limiter(), lowered);
}

TEST_F(Limiter, AnOperatorCommandInA02HandsTheLimiterToA01) {
    startPulse();
    ASSERT_TRUE(at("A02_STEP"));
    seconds(1.0);
    pulse("IFACE_IN_VLV.VLIM_LWR.B_NAME", R160);
    seconds(0.5);
    EXPECT_TRUE(at("A01_STEP"));
    const float held = limiter();
    seconds(2.0);
    EXPECT_EQ(limiter(), held);
}

TEST_F(Limiter, ANormalShutdownClosesItSlowlyAndAnyShutdownAtOnce) {
    startPulse();
    seconds(12.0);
    ASSERT_TRUE(at("A01_STEP"));
    setCell("IFACE_IN_VLV.SD_SEQ_NORM_SD.B_NAME", 1);
    seconds(0.5);
    ASSERT_TRUE(at("A03_STEP"));
    // It holds until a lower target is chosen, then closes at 1 %/s.
    float a = limiter();
    seconds(1.0);
    EXPECT_EQ(limiter(), a);
    // The controlled stop completes: the reference at idle in the normal
    // shutdown step.
    setCell("SPDC.Z01_STEP.SFC_STEP", 1);
    setCell("SPDC.A01_STEP.SFC_STEP", 1);
    runPasses(R80, 1);
    ASSERT_EQ(boolean("CNTRL_STOP.STP_CPLT.OR"), 1u);
    a = limiter();
    seconds(5.0);
    EXPECT_NEAR(a - limiter(), 5.0, 0.2);
    setCell("SPDC.Z01_STEP.SFC_STEP", 0);
    setCell("SPDC.A01_STEP.SFC_STEP", 0);
    // The sequence ended: back to A01 after 2 s.
    setCell("IFACE_IN_VLV.SD_SEQ_NORM_SD.B_NAME", 0);
    seconds(1.5);
    EXPECT_TRUE(at("A03_STEP"));
    seconds(1.0);
    EXPECT_TRUE(at("A01_STEP"));
    // A shutdown: the limiter is 0 after one 80 ms pass.
    const float before = limiter();
    ASSERT_GT(before, 90.0f);
    setCell("IFACE_IN_VLV.ANY_SD.B_NAME", 1);
    runPasses(R80, 2);
    EXPECT_EQ(limiter(), 0.0f);
    seconds(0.5);
    EXPECT_TRUE(at("A00_STEP"));
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

TEST_F(Limiter, AStartSequenceResetReturnsA01ToA00OnlyTwoSecondsAfterLeavingA00) {
    semiAutoStart();
    setCell("IFACE_IN_VLV.STRT_SEQ_RST.B_NAME", 1);
    seconds(1.0);
    EXPECT_TRUE(at("A01_STEP"));
    seconds(1.5);
    EXPECT_TRUE(at("A00_STEP"));
}

TEST_F(Limiter, AnEnteredValueInsideTheLimitsIsTakenAndOneOutsideReverts) {
    semiAutoStart();
    setCell("IFACE_IN_VLV.VLV_LIM_ENTRD.A_NAME", 20.0);
    setCell("HP_LIMTER.ENTR_HP_LIM_SP.TUNE", 40.0);
    pulse("IFACE_IN_VLV.TUNED_OK.B_NAME", R160);
    seconds(1.0);
    EXPECT_NEAR(limiter(), 20.0, 3.3);
    seconds(2.0);
    EXPECT_EQ(limiter(), 40.0f);
    EXPECT_EQ(boolean("HP_LIMTER.HP_RAMP.P_LIM_4"), 1u);
    // Above the maximum: refused, and back to 40 after 3 s.
    setCell("HP_LIMTER.ENTR_HP_LIM_SP.TUNE", 120.0);
    seconds(0.5);
    EXPECT_EQ(boolean("HP_LIMTER.INVALID_SP.OR"), 1u);
    pulse("IFACE_IN_VLV.TUNED_OK.B_NAME", R160);
    seconds(1.0);
    EXPECT_EQ(limiter(), 40.0f);
    seconds(2.5);
    EXPECT_EQ(real("HP_LIMTER.ENTR_HP_LIM_SP.TUNE"), 40.0f);
    // The boundaries are valid, just outside them is not.
    const struct {
        double v;
        uint32_t invalid;
    } cases[] = {{-0.5, 1}, {0.0, 0}, {101.0, 0}, {101.5, 1}};
    for (const auto& c : cases) {
        setCell("HP_LIMTER.ENTR_HP_LIM_SP.TUNE", c.v);
        runPasses(R80, 2);
        EXPECT_EQ(boolean("HP_LIMTER.INVALID_SP.OR"), c.invalid) << c.v;
        EXPECT_EQ(boolean("HP_LIMTER.NOT_LIMITED.NOT"), 1u - c.invalid) << c.v;
    }
    // The entered-value disable ends the move.
    setCell("HP_LIMTER.ENTR_HP_LIM_SP.TUNE", 0.0);
    pulse("IFACE_IN_VLV.TUNED_OK.B_NAME", R160);
    seconds(0.5);
    setCell("HP_LIMTER.H_SER_DIS.OR", 1);
    runPasses(R80, 3);
    EXPECT_EQ(boolean("HP_LIMTER.H_SER_LAT.LATCH"), 0u);
    const float held = limiter();
    EXPECT_GT(held, 0.0f);
    seconds(1.0);
    EXPECT_EQ(limiter(), held);
}

TEST_F(Limiter, TheStartMaximumHoldsUntilTheSpeedControllerTakesOver) {
    setCell("IFACE_IN_VLV.USE_STRT_MAX.IN", 1);
    setCell("IFACE_IN_VLV.LIM_MAX_AT_START.IN", 30.0);
    seconds(0.5);
    startPulse();
    seconds(5.0);
    EXPECT_EQ(limiter(), 30.0f);
    EXPECT_EQ(real("HP_LIMTER.MAX_DMD.A_SW"), 30.0f);
    EXPECT_TRUE(at("A02_STEP"));
    // Hand it to A01, then let the speed controller win above minimum governor.
    pulse("IFACE_IN_VLV.VLIM_RSE.B_NAME", R160);
    seconds(0.5);
    ASSERT_TRUE(at("A01_STEP"));
    setCell("SPDC.ABOV_MING.OR", 1);
    setCell("IFACE_OUT_VLV.ACT_LSS_SEL_1.B_NAME", 1);
    seconds(0.32);
    EXPECT_EQ(boolean("HP_LIMTER.CTRL_OK.LATCH"), 0u);
    bool pulsed = false;
    for (int k = 0; k < 10; ++k) {
        runPasses(R160, 1);
        pulsed = pulsed || boolean("HP_LIMTER.RAZ_LMT_OS.ONE_SHOT") != 0;
    }
    EXPECT_EQ(boolean("HP_LIMTER.CTRL_OK.LATCH"), 1u);
    EXPECT_TRUE(pulsed);
    seconds(10.0);
    EXPECT_EQ(limiter(), 101.0f);
    EXPECT_EQ(boolean("HP_LIMTER.SPD_IN_CTRL.B_ACTION"), 0u);
}

TEST_F(Limiter, WithoutTheStartMaximumTheRaisePulseNeverFires) {
    setCell("SPDC.ABOV_MING.OR", 1);
    setCell("IFACE_OUT_VLV.ACT_LSS_SEL_1.B_NAME", 1);
    for (int k = 0; k < 20; ++k) {
        runPasses(R160, 1);
        EXPECT_EQ(boolean("HP_LIMTER.RAZ_LMT_OS.ONE_SHOT"), 0u);
    }
    EXPECT_EQ(boolean("HP_LIMTER.CTRL_OK.LATCH"), 1u);
    EXPECT_EQ(real("HP_LIMTER.MAX_DMD.A_SW"), 101.0f);
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
