// The speed reference sequence: a start from shutdown through idle to
// rated, a shutdown from every step, idle/rated selection and a controlled
// stop.
#include <string>
#include <vector>

#include "tests/support/ref_rig.h"
#include "tests/control_ref/slice_rig.h"

using namespace ref_test;

namespace {
class Sequence : public RefRig {};
// Cases that put the chart or its remote inputs where they need them.
class SequencePieces : public SliceRig {};

const char* const kSteps[] = {"Z00_STEP", "A00_STEP", "A00ASTEP", "A01_STEP", "A02_STEP", "A02ASTEP", "A07_STEP",
                              "A08_STEP", "A09_STEP", "A10_STEP", "A11_STEP", "A12_STEP", "Z01_STEP"};
}  // namespace


TEST_F(Sequence, StartFromShutdownThroughIdleToRatedAtTheStartRates) {
    // Halt at idle configured.
    start(true, true, {{"CNFG_START.CONFIG_B.IN_9", 1}});
    // Shutdown step first, then ready with the reference at zero demand.
    EXPECT_TRUE(step("A00_STEP"));
    EXPECT_FLOAT_EQ(ref(), -1.0f);
    EXPECT_EQ(boolean("START.RUN_CMD.LATCH_R"), 0u);
    EXPECT_EQ(boolean("AUTO_ENBL.AUTO_HALT.B_NAME"), 1u);
    startCommand();
    ASSERT_TRUE(runUntil([&] { return step("A01_STEP"); }, 20));
    EXPECT_EQ(boolean("START.RUN_CMD.LATCH_R"), 1u);
    // To idle at the idle rate; reaching idle gives the halt-at-idle pulse.
    runPasses(R80, 5);
    EXPECT_NEAR(slopeOverOneSecond(), kRateIdle, 0.01);
    ASSERT_TRUE(runUntil([&] { return boolean("AUTO_SEQ.HALT_IDLE.AND") != 0; }, 400));
    EXPECT_TRUE(step("A02_STEP"));
    EXPECT_FLOAT_EQ(ref(), static_cast<float>(kIdle));
    // Idle holds until rated is selected.
    runPasses(R80, 40);
    EXPECT_TRUE(step("A02_STEP"));
    EXPECT_FLOAT_EQ(ref(), static_cast<float>(kIdle));
    serviceWrite("IFACE_IN_START.IR_EN.IN", 1);
    // In the pass that selects rated, idle is already off.
    ASSERT_TRUE(runUntil([&] { return boolean("IDLE_RATE.RATED.LATCH_R") != 0; }, 4));
    EXPECT_EQ(boolean("IDLE_RATE.RATE_LACT.NOT"), 0u);
    EXPECT_EQ(boolean("IDLE_RATE.IDLE.AND"), 0u);
    serviceWrite("IFACE_IN_START.IR_EN.IN", 0);
    ASSERT_TRUE(runUntil([&] { return step("A07_STEP"); }, 10));
    runPasses(R80, 1);
    EXPECT_EQ(boolean("IDLE_RTD.IDL_OR_RTD.OR"), 1u);
    runPasses(R80, 4);
    EXPECT_NEAR(slopeOverOneSecond(), kRateMin, 0.01);
    ASSERT_TRUE(runUntil([&] { return step("A08_STEP"); }, 2000));
    EXPECT_FLOAT_EQ(ref(), static_cast<float>(kRated));
    // In control: the reference holds.
    runPasses(R80, 20);
    EXPECT_FLOAT_EQ(ref(), static_cast<float>(kRated));
    EXPECT_EQ(integer("SPDC.SPEED_REF.POS_SEL"), 0);
}

// Without the idle/rated start a manual start goes straight to minimum
// governor, and idle/rated commands do nothing.
TEST_F(Sequence, ManualStartGoesToMinimumGovernorAndIgnoresIdleRated) {
    start(false, false);
    EXPECT_EQ(boolean("IFACE_IN_START.USE_IDLE_RATED.B_NAME"), 0u);
    EXPECT_EQ(boolean("IDLE_RATE.NOT_USED.NOT"), 1u);
    startCommand();
    ASSERT_TRUE(runUntil([&] { return step("A07_STEP"); }, 20));
    ASSERT_TRUE(runUntil([&] { return step("A08_STEP"); }, 3000));
    EXPECT_FLOAT_EQ(ref(), static_cast<float>(kMinGov));
    pulse("IFACE_IN_START.IR_EN.IN", R160);
    runPasses(R80, 10);
    EXPECT_EQ(boolean("IDLE_RATE.RATED.LATCH_R"), 0u);
    EXPECT_TRUE(step("A08_STEP"));
}

TEST_F(Sequence, HotStartScalesBothStartRates) {
    start(true, true);
    serviceWrite("IFACE_IN_SPEED.HOT_START_CMD.IN", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("IFACE_OUT_SPEED.HOT_START_ENABLED.B_NAME"), 1u);
    startCommand();
    ASSERT_TRUE(runUntil([&] { return step("A01_STEP"); }, 20));
    runPasses(R80, 5);
    EXPECT_NEAR(slopeOverOneSecond(), 2.0 * kRateIdle, 0.01);
    // A trip ends the hot start.
    serviceWrite("IFACE_IN_SPEED.HOT_START_CMD.IN", 0);
    trip();
    runPasses(R160, 2);
    EXPECT_EQ(boolean("IFACE_OUT_SPEED.HOT_START_ENABLED.B_NAME"), 0u);
    EXPECT_FLOAT_EQ(real("SPDC.RT_TO_IDL.A_NAME"), static_cast<float>(kRateIdle));
}

// A trip from each step of a start: the chart is in Z00 at the end of the
// pass, stays there while the trip lasts and is ready 0.5 s after the reset.
TEST_F(Sequence, ATripFromEveryStepOfAStartReturnsTheChartToZ00AndHoldsItThere) {
    start(true, true);
    for (const char* s : {"A00_STEP", "A01_STEP", "A02_STEP", "A07_STEP", "A08_STEP"}) {
        SCOPED_TRACE(s);
        if (!step(s)) {
            startCommand();
            const std::string name = s;
            if (name == "A07_STEP" || name == "A08_STEP") pulse("IFACE_IN_START.IR_EN.IN", R160);
            ASSERT_TRUE(runUntil([&] { return step(s); }, 3000));
        }
        contact(kTripContact, false);
        uint32_t anySd = 0;
        ASSERT_TRUE(runUntil([&] { return (anySd = boolean("SHUTDOWNS.ANY_SD.B_NAME")) != 0; }, 3));
        // The pass that sees the trip ends in Z00.
        runPasses(R80, 1);
        int active = 0;
        for (const char* other : kSteps) active += step(other) ? 1 : 0;
        EXPECT_TRUE(step("Z00_STEP"));
        EXPECT_EQ(active, 1);
        // Z00 stays while the trip lasts.
        runPasses(R80, 25);
        EXPECT_TRUE(step("Z00_STEP"));
        EXPECT_FLOAT_EQ(ref(), -1.0f);
        EXPECT_EQ(boolean("START.RUN_CMD.LATCH_R"), 0u);
        // and leaves to A00 0.5 s after the reset.
        contact(kTripContact, true);
        runPasses(R160, 2);
        reset();
        ASSERT_TRUE(runUntil([&] { return boolean("SHUTDOWNS.ANY_SD.B_NAME") == 0; }, 10));
        EXPECT_TRUE(step("Z00_STEP"));
        ASSERT_TRUE(runUntil([&] { return step("A00_STEP"); }, 20));
        // The shaft brought to rest for the next start.
        shaftAt(0.0);
        runPasses(R160, 10);
    }
}

// Every step of the chart, put active directly while the trip contact is
// open, leaves to Z00 in the next pass.
TEST_F(Sequence, AShutdownFromEveryStepReturnsTheChartToZ00AndHoldsItThere) {
    start(true, true);
    for (const char* s : kSteps) {
        SCOPED_TRACE(s);
        trip();
        ASSERT_TRUE(runUntil([&] { return boolean("SHUTDOWNS.ANY_SD.B_NAME") != 0; }, 3));
        ASSERT_TRUE(runUntil([&] { return step("Z00_STEP"); }, 2));
        for (const char* other : kSteps) setCell(std::string("SPDC.") + other + ".SFC_STEP", 0);
        setCell(std::string("SPDC.") + s + ".SFC_STEP", 1);
        runPasses(R80, 1);
        int active = 0;
        for (const char* other : kSteps) active += step(other) ? 1 : 0;
        EXPECT_TRUE(step("Z00_STEP"));
        EXPECT_EQ(active, 1);
        // Z00 stays while the shutdown lasts.
        runPasses(R80, 25);
        EXPECT_TRUE(step("Z00_STEP"));
        EXPECT_FALSE(step("A00_STEP"));
        EXPECT_FLOAT_EQ(ref(), -1.0f);
        // and leaves to A00 once no shutdown has been present for 0.5 s.
        contact(kTripContact, true);
        runPasses(R160, 2);
        contact(kResetContact, true);
        ASSERT_TRUE(runUntil([&] { return boolean("SHUTDOWNS.ANY_SD.B_NAME") == 0; }, 10));
        contact(kResetContact, false);
        runPasses(R80, 5);
        EXPECT_TRUE(step("Z00_STEP"));
        runPasses(R80, 3);
        EXPECT_TRUE(step("A00_STEP"));
        EXPECT_FALSE(step("Z00_STEP"));
    }
}

TEST_F(Sequence, ActiveTimeGrowsWhileActiveAndDropsWhenLeft) {
    start(true, true);
    trip();
    runPasses(R80, 1);
    const float t0 = real("SPDC.Z00_STEP.ACTIVETIME");
    runPasses(R80, 10);
    EXPECT_NEAR(real("SPDC.Z00_STEP.ACTIVETIME") - t0, 0.8f, 1e-4);
    EXPECT_FLOAT_EQ(real("SPDC.A00_STEP.ACTIVETIME"), 0.0f);
}

TEST_F(Sequence, RestartOnARollingTurbineTracksTheSpeed) {
    start(true, true);
    holdShaftAt(2000.0);
    runPasses(R80, 30);
    startCommand();
    ASSERT_TRUE(runUntil([&] { return step("A00ASTEP"); }, 20));
    runPasses(R80, 20);
    EXPECT_FALSE(step("A01_STEP"));
    EXPECT_NEAR(ref(), 2000.0, 1.0);
}

struct IdleRatedCase {
    const char* name;
    bool remote_enabled;
    const char* command;
    uint32_t rated_after;
};

TEST_F(SequencePieces, RatedAndIdleCommandsAreIgnoredWhileARemoteSourceIsEnabled) {
    const IdleRatedCase cases[] = {
        {"rated, local", false, "IFACE_IN_START.IR_EN.B_NAME", 1},
        {"idle, remote enabled", true, "IFACE_IN_START.IR_DIS.B_NAME", 1},
        {"idle, local", false, "IFACE_IN_START.IR_DIS.B_NAME", 0},
        {"rated, remote enabled", true, "IFACE_IN_START.IR_EN.B_NAME", 0},
    };
    start(true, true);
    startCommand();
    ASSERT_TRUE(runUntil([&] { return step("A02_STEP"); }, 500));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        setCell("IFACE_OUT_SPEED.RMT_SPD_ENABLED.B_NAME", c.remote_enabled ? 1 : 0);
        pulse(c.command, R160);
        runPasses(R80, 3);
        EXPECT_EQ(boolean("IDLE_RATE.RATED.LATCH_R"), c.rated_after);
    }
}

// A rated request held while the remote setpoint is enabled is not taken
// when the remote drops out: only a new rising request is.
TEST_F(SequencePieces, ARatedRequestRefusedForARemoteSourceNeedsToRiseAgain) {
    start(true, true);
    startCommand();
    ASSERT_TRUE(runUntil([&] { return step("A02_STEP"); }, 500));
    setCell("IFACE_OUT_SPEED.RMT_SPD_ENABLED.B_NAME", 1);
    setCell("IFACE_IN_START.IR_EN.B_NAME", 1);
    int pulses = 0;
    for (int k = 0; k < 6; ++k) {
        runPasses(R80, 1);
        pulses += static_cast<int>(boolean("IDLE_RATE.PLS_ON.B_ACTION"));
    }
    EXPECT_EQ(boolean("IDLE_RATE.OR_ENABLE.OR"), 1u);
    setCell("IFACE_OUT_SPEED.RMT_SPD_ENABLED.B_NAME", 0);
    for (int k = 0; k < 6; ++k) {
        runPasses(R80, 1);
        pulses += static_cast<int>(boolean("IDLE_RATE.PLS_ON.B_ACTION"));
    }
    EXPECT_EQ(pulses, 0);
    EXPECT_EQ(boolean("IDLE_RATE.RATED.LATCH_R"), 0u);
    setCell("IFACE_IN_START.IR_EN.B_NAME", 0);
    runPasses(R160, 2);
    setCell("IFACE_IN_START.IR_EN.B_NAME", 1);
    for (int k = 0; k < 6; ++k) {
        runPasses(R80, 1);
        pulses += static_cast<int>(boolean("IDLE_RATE.PLS_ON.B_ACTION"));
    }
    EXPECT_EQ(pulses, 1);
    EXPECT_EQ(boolean("IDLE_RATE.RATED.LATCH_R"), 1u);
    setCell("IFACE_IN_START.IR_EN.B_NAME", 0);
}

TEST_F(Sequence, IdleCommandInControlRampsBackToIdle) {
    start(true, true);
    startToRated();
    // A repeated rated command still gives the rated pulse.
    serviceWrite("IFACE_IN_START.IR_EN.IN", 1);
    EXPECT_TRUE(runUntil([&] { return boolean("IDLE_RATE.REPEAT_ON.AND") != 0; }, 4));
    serviceWrite("IFACE_IN_START.IR_EN.IN", 0);
    pulse("IFACE_IN_START.IR_DIS.IN", R160);
    ASSERT_TRUE(runUntil([&] { return step("A11_STEP"); }, 10));
    EXPECT_EQ(boolean("IDLE_RATE.IDLE.AND"), 1u);
    runPasses(R80, 5);
    EXPECT_NEAR(slopeOverOneSecond(), -kRateMin, 0.01);
    ASSERT_TRUE(runUntil([&] { return step("A02_STEP"); }, 2000));
    EXPECT_FLOAT_EQ(ref(), static_cast<float>(kIdle));
}

TEST_F(Sequence, ControlledStopRampsDownAtTheStopRateAndEndsReady) {
    start(true, true);
    startToRated();
    // Enable the controlled stop; its sequence then runs.
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 1);
    ASSERT_TRUE(runUntil([&] { return boolean("IFACE_OUT_START.CSD_LATCH_ENABLED.B_NAME") != 0; }, 8));
    EXPECT_EQ(boolean("IFACE_OUT_START.CSD_DISABLED.B_NAME"), 0u);
    ASSERT_TRUE(runUntil([&] { return step("Z01_STEP"); }, 3));
    runPasses(R80, 3);
    EXPECT_NEAR(slopeOverOneSecond(), -100.0, 0.01);
    ASSERT_TRUE(runUntil([&] { return ref() == static_cast<float>(kIdle); }, 500));
    EXPECT_TRUE(step("Z01_STEP"));
    // The valve limiter closing to its end completes the stop.
    ASSERT_TRUE(runUntil([&] { return step("A00_STEP"); }, 5000));
    EXPECT_EQ(boolean("CNTRL_STOP.Z_HPRPLIM.ZMINUS1_B"), 1u);
    runPasses(R80, 2);
    EXPECT_EQ(boolean("START.RUN_CMD.LATCH_R"), 0u);
    EXPECT_FLOAT_EQ(ref(), -1.0f);
}

TEST_F(Sequence, AbortedControlledStopHaltsInA02AAndReturnsToControl) {
    start(true, true);
    startToRated();
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 1);
    runPasses(R160, 2);
    ASSERT_TRUE(runUntil([&] { return step("Z01_STEP"); }, 3));
    runPasses(R80, 10);
    serviceWrite("IFACE_IN_START.CSD_ABORT.IN", 1);
    runPasses(R160, 1);
    // Disabled for 0.2 s: the chart halts with the reference held, and above
    // minimum governor it returns to control.
    ASSERT_TRUE(runUntil([&] { return step("A02ASTEP"); }, 6));
    runPasses(R80, 1);
    const float held = ref();
    EXPECT_LT(held, static_cast<float>(kRated));
    EXPECT_GT(held, static_cast<float>(kMinGov));
    ASSERT_TRUE(runUntil([&] { return step("A08_STEP"); }, 20));
    EXPECT_FLOAT_EQ(ref(), held);
}

TEST_F(SequencePieces, RaiseDuringTheOverspeedTestMovesTowardsTheTestLimit) {
    start(true, true);
    setCell("CNFG_SETPT.OST_LIMIT.A_NAME", 4000.0);
    for (const char* other : kSteps) setCell(std::string("SPDC.") + other + ".SFC_STEP", 0);
    setCell("SPDC.A09_STEP.SFC_STEP", 1);
    // No test demand was latched: keep the step from ending the test.
    setCell("SPDC.A09_C3.RST_1", 1);
    setCell("SPD_R_L.NONDI_RAZ.IN_2", 1);
    runPasses(R80, 3);
    EXPECT_TRUE(step("A09_STEP"));
    EXPECT_EQ(boolean("SPDC.AND_OSPD.AND"), 1u);
    EXPECT_EQ(boolean("SPDC.STRT_SEQ.OR"), 1u);
    EXPECT_EQ(integer("SPDC.SEL_SP.INT_SEL"), 6);
    EXPECT_FLOAT_EQ(real("SPDC.SEL_SP.A_MUX_HSS"), 4000.0f);
}

TEST_F(SequencePieces, ReferenceDeviationFlagSetsAtTwoHundredAboveTheSpeed) {
    struct Case {
        double speed;
        uint32_t deviation;
    };
    // The reference is at -1 while ready.
    const Case cases[] = {{-200.0, 0}, {-201.0, 1}, {-202.0, 1}, {-150.0, 0}};
    start(true, true);
    setFollow(false);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.speed);
        setCell("IFACE_IN_SPEED.SPEED.A_NAME", c.speed);
        runPasses(R160, 2);
        EXPECT_EQ(boolean("SPD_REF.CP_DEV.A_COMPARE"), c.deviation);
        EXPECT_EQ(boolean("SPD_REF.N_HIGH.NOT"), 1u - c.deviation);
    }
}

// The controlled-stop contact: closing it enables the controlled stop,
// opening it disables it for one pass, which clears the latch.
// In control at rated, with a slow stop rate, so that the stops the latch
// starts stay in their first seconds.
TEST_F(Sequence, ControlledStopContactEnablesOnClosingAndItsOpeningClearsTheLatch) {
    start(true, true, {{"IFACE_IN_SPEED.NS_RATE.IN", 0.5}});
    startToRated();
    auto latched = [&] { return boolean("CNTRL_STOP.NSD_ENABLED.LATCH_R") != 0; };
    contact(kSpareContact, true);
    ASSERT_TRUE(runUntil(latched, 8));
    EXPECT_EQ(boolean("CNTRL_STOP.CONTACT.B_NAME"), 1u);
    EXPECT_EQ(boolean("CNTRL_STOP.DISABLED.NOT"), 0u);
    // Held closed: the enable was a pulse, so a disable wins and the latch
    // stays clear.
    serviceWrite("CNTRL_STOP.OR_DISABLE.IN_4", 1);
    ASSERT_TRUE(runUntil([&] { return !latched(); }, 8));
    serviceWrite("CNTRL_STOP.OR_DISABLE.IN_4", 0);
    runPasses(R160, 3);
    EXPECT_FALSE(latched());
    // Enabled again from the service tool, then the contact opened.
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 1);
    ASSERT_TRUE(runUntil(latched, 8));
    contact(kSpareContact, false);
    int offPulses = 0;
    for (int k = 0; k < 8; ++k) {
        runPasses(R80, 1);
        offPulses += static_cast<int>(boolean("CNTRL_STOP.BI_OFF.B_ACTION"));
    }
    EXPECT_EQ(offPulses, 1);
    EXPECT_FALSE(latched());
    EXPECT_EQ(boolean("CNTRL_STOP.DISABLED.NOT"), 1u);
}

TEST_F(Sequence, ControlledStopEnablesOnARisingRequestAndEveryDisableWins) {
    start(true, true, {{"IFACE_IN_SPEED.NS_RATE.IN", 0.5}});
    startToRated();
    auto latched = [&] { return boolean("CNTRL_STOP.NSD_ENABLED.LATCH_R") != 0; };
    // Each disable held while the enable request stays: the latch stays
    // clear; dropped, it stays clear until the request rises again.
    const char* enables[] = {"IFACE_IN_START.CNTRL_ST.IN", "CNTRL_STOP.OR_ENABLE.IN_4"};
    const char* disables[] = {"CNTRL_STOP.OR_DISABLE.IN_4", "IFACE_IN_START.CSD_ABORT.IN"};
    for (const char* en : enables) {
        for (const char* dis : disables) {
            SCOPED_TRACE(::testing::Message() << en << " / " << dis);
            serviceWrite(en, 1);
            ASSERT_TRUE(runUntil(latched, 8));
            EXPECT_EQ(boolean("CNTRL_STOP.DISABLED.NOT"), 0u);
            runPasses(R80, 1);
            EXPECT_EQ(boolean("IFACE_OUT_START.CSD_DISABLED.B_NAME"), 0u);
            serviceWrite(dis, 1);
            ASSERT_TRUE(runUntil([&] { return !latched(); }, 8));
            runPasses(R80, 1);
            EXPECT_EQ(boolean("IFACE_OUT_START.CSD_DISABLED.B_NAME"), 1u);
            serviceWrite(dis, 0);
            runPasses(R160, 3);
            EXPECT_FALSE(latched());
            EXPECT_EQ(boolean("CNTRL_STOP.DISABLED.NOT"), 1u);
            serviceWrite(en, 0);
            runPasses(R160, 3);
        }
    }
    // A trip disables it too.
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 1);
    ASSERT_TRUE(runUntil(latched, 8));
    trip();
    EXPECT_TRUE(runUntil([&] { return !latched(); }, 4));
}

// With the controlled stop not used, no request enables it.
TEST_F(Sequence, ControlledStopNotUsedIsNeverEnabled) {
    start(true, true, {{"CNTRL_STOP.USE_STOP.IN", 0}});
    startToRated();
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 1);
    contact(kSpareContact, true);
    runPasses(R160, 6);
    EXPECT_EQ(boolean("CNTRL_STOP.NOT_USED.NOT"), 1u);
    EXPECT_EQ(boolean("CNTRL_STOP.NSD_ENABLED.LATCH_R"), 0u);
    EXPECT_TRUE(step("A08_STEP"));
}

TEST_F(Sequence, AutomaticSequenceEnableGivesOnePulseAndStaysDisabledHere) {
    start(true, true);
    serviceWrite("IFACE_IN_START.AUTO_EN.IN", 1);
    ASSERT_TRUE(runUntil([&] { return boolean("AUTO_SEQ.PLS_ON.B_ACTION") != 0; }, 4));
    runPasses(R80, 1);
    EXPECT_EQ(boolean("AUTO_SEQ.PLS_ON.B_ACTION"), 0u);
    EXPECT_EQ(boolean("AUTO_SEQ.CONTINUE.LATCH_R"), 0u);
    EXPECT_EQ(boolean("AUTO_SEQ.HALT_LTCH.NOT"), 1u);
}

// This application has no automatic sequence to continue, so the contact
// shows only through the enable and disable requests it makes.
TEST_F(Sequence, ContinueContactPulsesOnClosingAndOnOpening) {
    start(true, true);
    runPasses(R80, 2);
    EXPECT_EQ(boolean("AUTO_SEQ.CI_NOT.NOT"), 1u);
    EXPECT_EQ(boolean("AUTO_SEQ.BI_OFF.B_ACTION"), 0u);
    serviceWrite("AUTO_SEQ.CONTACT.IN", 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("AUTO_SEQ.CI_NOT.NOT"), 0u);
    EXPECT_EQ(boolean("AUTO_SEQ.BI_ON.B_ACTION"), 1u);
    EXPECT_EQ(boolean("AUTO_SEQ.OR_ENABLE.OR"), 1u);
    EXPECT_EQ(boolean("AUTO_SEQ.PLS_ON.B_ACTION"), 1u);
    EXPECT_EQ(boolean("AUTO_SEQ.BI_OFF.B_ACTION"), 0u);
    // Held closed: one pulse only.
    runPasses(R80, 5);
    EXPECT_EQ(boolean("AUTO_SEQ.BI_ON.B_ACTION"), 0u);
    EXPECT_EQ(boolean("AUTO_SEQ.OR_ENABLE.OR"), 0u);
    serviceWrite("AUTO_SEQ.CONTACT.IN", 0);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("AUTO_SEQ.BI_OFF.B_ACTION"), 1u);
    EXPECT_EQ(boolean("AUTO_SEQ.BI_ON.B_ACTION"), 0u);
    EXPECT_EQ(boolean("AUTO_SEQ.CI_NOT.NOT"), 1u);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("AUTO_SEQ.BI_OFF.B_ACTION"), 0u);
}
