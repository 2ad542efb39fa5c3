// The speed reference sequence: a start from shutdown through idle to
// rated, a shutdown from every step, idle/rated selection and a controlled
// stop.
#include <functional>
#include <string>
#include <vector>

#include "tests/support/ref_rig.h"
#include "host/analog_inputs.h"
#include "host/board.h"
#include "host/turbine_model.h"

using namespace ref_test;

namespace {
class Sequence : public RefRig {
protected:
    // To rated, the reference raised to maximum governor (an overspeed test
    // is refused below it), and the internal overspeed test enabled from the
    // service tool.
    void toOverspeedTest() {
        startToRated();
        contact(kRaiseContact, true);
        ASSERT_TRUE(runUntil([&] { return ref() == static_cast<float>(kMaxGov); }, 500));
        contact(kRaiseContact, false);
        runPasses(R80, 5);
        pulse("IFACE_IN_SPEED.ENABLE_INT_OST.IN", R160);
    }
};

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
    // Rated and idle commanded together: the idle command wins the pass in
    // which both pulse, and the unit stays at idle.
    serviceWrite("IFACE_IN_START.IR_EN.IN", 1);
    serviceWrite("IFACE_IN_START.IR_DIS.IN", 1);
    uint32_t together = 0;
    for (int p = 0; p < 4; ++p) {
        runPasses(R80, 1);
        together += boolean("IDLE_RATE.PLS_ON.B_ACTION") & boolean("IDLE_RATE.CMD_OFF.B_ACTION");
        EXPECT_EQ(boolean("IDLE_RATE.RATED.LATCH_R"), 0u) << "80 ms pass " << p;
    }
    EXPECT_EQ(together, 1u) << "the rated and idle pulses never came in one pass";
    serviceWrite("IFACE_IN_START.IR_EN.IN", 0);
    serviceWrite("IFACE_IN_START.IR_DIS.IN", 0);
    runPasses(R160, 2);
    EXPECT_TRUE(step("A02_STEP"));
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

// A multiplier of 1.5, so that no scaled rate equals the other cold one.
TEST_F(Sequence, HotStartScalesBothStartRates) {
    constexpr double kMult = 1.5;
    start(true, true, {{"CNFG_START.HOT_START_MULT.IN", kMult}});
    serviceWrite("IFACE_IN_SPEED.HOT_START_CMD.IN", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("IFACE_OUT_SPEED.HOT_START_ENABLED.B_NAME"), 1u);
    startCommand();
    ASSERT_TRUE(runUntil([&] { return step("A01_STEP"); }, 20));
    runPasses(R80, 5);
    EXPECT_NEAR(slopeOverOneSecond(), kMult * kRateIdle, 0.01);
    // Idle reached, rated selected: the ramp to minimum governor scaled too.
    ASSERT_TRUE(runUntil([&] { return step("A02_STEP"); }, 400));
    pulse("IFACE_IN_START.IR_EN.IN", R160);
    ASSERT_TRUE(runUntil([&] { return step("A07_STEP"); }, 10));
    runPasses(R80, 5);
    EXPECT_NEAR(slopeOverOneSecond(), kMult * kRateMin, 0.01);
    // A trip ends the hot start.
    serviceWrite("IFACE_IN_SPEED.HOT_START_CMD.IN", 0);
    trip();
    runPasses(R160, 2);
    EXPECT_EQ(boolean("IFACE_OUT_SPEED.HOT_START_ENABLED.B_NAME"), 0u);
    EXPECT_FLOAT_EQ(real("SPDC.RT_TO_IDL.A_NAME"), static_cast<float>(kRateIdle));
    EXPECT_FLOAT_EQ(real("SPDC.RT_TO_MIN.A_NAME"), static_cast<float>(kRateMin));
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

// A trip from each of the other steps the program's inputs lead to: the
// restart on a rolling shaft (A00A), the ramp back to idle (A11), the
// overspeed test (A09) and the controlled stop (Z01). The chart is in Z00 at
// the end of the pass that sees the trip, stays there while the trip lasts,
// and goes to A00 once no shutdown has been present for 0.5 s.
TEST_F(Sequence, AShutdownFromEveryStepReturnsTheChartToZ00AndHoldsItThere) {
    start(true, true);
    const struct {
        const char* step;
        std::function<void()> reach;
    } roads[] = {
        {"A00ASTEP",
         [&] {
             holdShaftAt(2000.0);
             runPasses(R80, 30);
             startCommand();
         }},
        {"A11_STEP",
         [&] {
             startToRated();
             pulse("IFACE_IN_START.IR_DIS.IN", R160);
         }},
        {"A09_STEP", [&] { toOverspeedTest(); }},
        {"Z01_STEP",
         [&] {
             startToRated();
             pulse("IFACE_IN_START.CNTRL_ST.IN", R160);
         }},
    };
    for (const auto& r : roads) {
        SCOPED_TRACE(r.step);
        r.reach();
        ASSERT_TRUE(runUntil([&] { return step(r.step); }, 20));
        runPasses(R80, 2);
        ASSERT_TRUE(step(r.step));
        trip();
        ASSERT_TRUE(runUntil([&] { return boolean("SHUTDOWNS.ANY_SD.B_NAME") != 0; }, 3));
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
        // The shaft at rest and turning freely for the next start.
        shaftAt(0.0);
        turbine::enable();
        ASSERT_TRUE(runUntil([&] { return ready(); }, 50));
        runPasses(R160, 10);
    }
}

// Block initialisation: the program starts with one step of the sequence
// chart active (the shutdown step, which leaves for the ready step once no
// shutdown is present) and the local-control step of the mode chart.
TEST_F(Sequence, ThePowerUpStartsWithOneStepOfEachChart) {
    turbine::enable();
    startApp();
    for (int k = 0; k < 30; ++k) {
        SCOPED_TRACE(k);
        int steps = 0;
        for (const char* s : kSteps) steps += step(s) ? 1 : 0;
        EXPECT_EQ(steps, 1);
        EXPECT_TRUE(step("Z00_STEP") || step("A00_STEP"));
        EXPECT_TRUE(step("B00_STEP"));
        int remote = 0;
        for (const char* s : {"B00_STEP", "B01_STEP", "B02_STEP", "B03_STEP"}) remote += step(s) ? 1 : 0;
        EXPECT_EQ(remote, 1);
        runPasses(R80, 1);
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

namespace {
// In control at rated after an idle/rated start, with the remote speed
// setpoint configured on the controller's analog input 1 (over the governor
// range, at mid range: 3400 rpm) and enabled or disabled from the service
// tool.
class SequenceWithRemote : public RefRig {
protected:
    void startToRatedWithRemote(const Settings& extra = {}) {
        board::setAnalogInputMa(0, 12.0);
        Settings all = {{"CNFG_SETPT.CONFIG_B.IN_2", 1},
                        {"_ub6.FUNCT.IN", 2},
                        {"_ub6.RANGE_LO.IN", kMinGov},
                        {"_ub6.RANGE_HI.IN", kMaxGov}};
        all.insert(all.end(), extra.begin(), extra.end());
        start(true, true, all);
        startToRated();
    }
    bool remoteEnabled() { return boolean("IFACE_OUT_SPEED.RMT_SPD_ENABLED.B_NAME") != 0; }
    // The service tool's enable (or disable) command, and past its pulse.
    void remote(bool on) {
        serviceWrite(on ? "IFACE_IN_SPEED.ENA_DIS_REM.IN_1" : "IFACE_IN_SPEED.ENA_DIS_REM.IN_2", 1);
        ASSERT_TRUE(runUntil([&] { return remoteEnabled() == on; }, 20)) << (on ? "never enabled" : "never disabled");
        runPasses(R160, 20);
    }
    // Rated pulses of the idle/rated logic over `n` 80 ms passes.
    int ratedPulses(int n) {
        int pulses = 0;
        for (int k = 0; k < n; ++k) {
            runPasses(R80, 1);
            pulses += static_cast<int>(boolean("IDLE_RATE.PLS_ON.B_ACTION"));
        }
        return pulses;
    }
};
}  // namespace

// Rated and idle commands are ignored while a remote source owns the
// setpoint, and taken again once it has let go.
TEST_F(SequenceWithRemote, RatedAndIdleCommandsAreIgnoredWhileARemoteSourceIsEnabled) {
    startToRatedWithRemote();
    ASSERT_EQ(boolean("IDLE_RATE.RATED.LATCH_R"), 1u);
    // Local: a repeated rated command gives its pulse.
    serviceWrite("IFACE_IN_START.IR_EN.IN", 1);
    EXPECT_EQ(ratedPulses(4), 1);
    serviceWrite("IFACE_IN_START.IR_EN.IN", 0);
    runPasses(R160, 2);
    remote(true);
    // Remote enabled: neither the rated nor the idle command is taken.
    const struct {
        const char* name;
        const char* command;
    } cases[] = {{"rated, remote enabled", "IFACE_IN_START.IR_EN.IN"},
                 {"idle, remote enabled", "IFACE_IN_START.IR_DIS.IN"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        serviceWrite(c.command, 1);
        EXPECT_EQ(ratedPulses(4), 0);
        EXPECT_EQ(boolean("IDLE_RATE.CMD_OFF.B_ACTION"), 0u);
        serviceWrite(c.command, 0);
        runPasses(R80, 3);
        EXPECT_EQ(boolean("IDLE_RATE.RATED.LATCH_R"), 1u);
        EXPECT_TRUE(step("A08_STEP"));
        EXPECT_EQ(boolean("IDLE_RATE.IDLE.AND"), 0u);
    }
    // Local again: the idle command drops rated and the chart goes back to
    // idle.
    remote(false);
    pulse("IFACE_IN_START.IR_DIS.IN", R160);
    runPasses(R80, 3);
    EXPECT_EQ(boolean("IDLE_RATE.RATED.LATCH_R"), 0u);
    EXPECT_TRUE(runUntil([&] { return step("A11_STEP"); }, 10));
}

// A rated or idle request held while the remote setpoint is enabled is not
// taken when the remote drops out: only a new rising request is.
TEST_F(SequenceWithRemote, ARatedRequestRefusedForARemoteSourceNeedsToRiseAgain) {
    startToRatedWithRemote();
    remote(true);
    serviceWrite("IFACE_IN_START.IR_EN.IN", 1);
    EXPECT_EQ(ratedPulses(6), 0);
    EXPECT_EQ(boolean("IDLE_RATE.OR_ENABLE.OR"), 1u);
    remote(false);
    EXPECT_EQ(ratedPulses(6), 0);
    serviceWrite("IFACE_IN_START.IR_EN.IN", 0);
    runPasses(R160, 2);
    serviceWrite("IFACE_IN_START.IR_EN.IN", 1);
    EXPECT_EQ(ratedPulses(6), 1);
    EXPECT_EQ(boolean("IDLE_RATE.RATED.LATCH_R"), 1u);
    serviceWrite("IFACE_IN_START.IR_EN.IN", 0);
    // The idle request the same way: held through the remote's end it
    // leaves the unit at rated; given anew, it goes to idle.
    remote(true);
    serviceWrite("IFACE_IN_START.IR_DIS.IN", 1);
    runPasses(R160, 3);
    remote(false);
    runPasses(R160, 3);
    EXPECT_EQ(boolean("IDLE_RATE.RATED.LATCH_R"), 1u);
    EXPECT_TRUE(step("A08_STEP"));
    serviceWrite("IFACE_IN_START.IR_DIS.IN", 0);
    runPasses(R160, 2);
    serviceWrite("IFACE_IN_START.IR_DIS.IN", 1);
    EXPECT_TRUE(runUntil([&] { return step("A11_STEP"); }, 10));
    EXPECT_EQ(boolean("IDLE_RATE.RATED.LATCH_R"), 0u);
    serviceWrite("IFACE_IN_START.IR_DIS.IN", 0);
}

// The remote setpoint's selection: after its 1 s go-active delay by
// default; with its switch set to the on-line dynamics from the service
// tool, at once on line (at rated, above the go-on-line speed).
TEST_F(SequenceWithRemote, RemoteSelectedAtOnceOnLineWhenItsSwitchSaysSo) {
    startToRatedWithRemote({{"IFACE_IN_SPEED.GO_ONLINE.IN", kRated - 100.0}});
    runPasses(R160, 13);
    ASSERT_EQ(boolean("SPD_CTRL.ONLINE_DYN.B_NAME"), 1u);
    for (int atOnce : {0, 1}) {
        SCOPED_TRACE(atOnce ? "at once" : "after the delay");
        serviceWrite("REMOTE.REM_SEL_SW.CTRL", atOnce ? 0 : 1);
        serviceWrite("IFACE_IN_SPEED.ENA_DIS_REM.IN_1", 1);
        ASSERT_TRUE(runUntil([&] { return boolean("RMT_ENBL.ENABLED.LATCH_R") != 0; }, 10));
        EXPECT_EQ(boolean("REMOTE.REM_SEL.AND"), 1u);
        EXPECT_EQ(boolean("REMOTE.GO_ACTIV.DELAY"), 0u);
        EXPECT_EQ(boolean("REMOTE.REM_SEL_SW.B_SW"), static_cast<uint32_t>(atOnce));
        runPasses(R80, 14);
        EXPECT_EQ(boolean("REMOTE.REM_SEL_SW.B_SW"), 1u);
        remote(false);
    }
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
    runPasses(R80, 1);
    // On its way to idle: the entered setpoint's go-to ends with it.
    EXPECT_EQ(boolean("IDLE_RATE.AND_TOILDE.AND"), 1u);
    EXPECT_EQ(boolean("IDLE_RTD.IDL_OR_RTD.OR"), 1u);
    runPasses(R80, 4);
    EXPECT_NEAR(slopeOverOneSecond(), -kRateMin, 0.01);
    // A rated command on the way down takes the chart back towards rated;
    // an idle command then sends it down again.
    pulse("IFACE_IN_START.IR_EN.IN", R160);
    EXPECT_TRUE(runUntil([&] { return step("A07_STEP"); }, 6));
    pulse("IFACE_IN_START.IR_DIS.IN", R160);
    ASSERT_TRUE(runUntil([&] { return step("A11_STEP"); }, 10));
    ASSERT_TRUE(runUntil([&] { return step("A02_STEP"); }, 2000));
    EXPECT_FLOAT_EQ(ref(), static_cast<float>(kIdle));
}

// Without the ramp back to idle, an idle command on the way to rated (above
// minimum governor) halts the reference where it is; with the ramp back
// (the default), the same command takes the reference back down to idle.
TEST_F(Sequence, IdleCommandOnTheWayToRatedHaltsWithoutTheRampBack) {
    for (bool rampBack : {false, true}) {
        SCOPED_TRACE(rampBack ? "ramp back" : "no ramp back");
        if (rampBack) {
            serviceWrite("IFACE_IN_START.USE_RAMP_TO_IDLE.IN", 1);
            trip();
            runPasses(R160, 3);
            clearTrip();
            shaftAt(0.0);
            ASSERT_TRUE(runUntil([&] { return ready(); }, 50));
            runPasses(R160, 10);
        } else {
            start(true, true, {{"IFACE_IN_START.USE_RAMP_TO_IDLE.IN", 0}});
        }
        EXPECT_EQ(boolean("IDLE_RATE.NO_RBACK.B_NAME"), rampBack ? 0u : 1u);
        EXPECT_EQ(boolean("IFACE_IN_START.USE_RAMP_TO_IDLE.B_NAME"), rampBack ? 1u : 0u);
        startCommand();
        ASSERT_TRUE(runUntil([&] { return step("A02_STEP"); }, 500));
        pulse("IFACE_IN_START.IR_EN.IN", R160);
        ASSERT_TRUE(runUntil([&] { return step("A07_STEP") && ref() > kMinGov + 100.0; }, 500));
        pulse("IFACE_IN_START.IR_DIS.IN", R160);
        runPasses(R80, 6);
        const float held = ref();
        runPasses(R80, 20);
        if (rampBack) {
            EXPECT_TRUE(step("A11_STEP"));
            EXPECT_LT(ref(), held);
            // Below minimum governor a raise halts the ramp back; an idle
            // command within half a second of the raise is not taken, a
            // later one takes the reference back down.
            ASSERT_TRUE(runUntil([&] { return ref() < kMinGov - 50.0; }, 1000));
            contact(kRaiseContact, true);
            ASSERT_TRUE(runUntil([&] { return step("A02ASTEP"); }, 10));
            contact(kRaiseContact, false);
            pulse("IFACE_IN_START.IR_DIS.IN", R160);
            runPasses(R80, 3);
            EXPECT_TRUE(step("A02ASTEP"));
            runPasses(R80, 10);
            ASSERT_TRUE(step("A02ASTEP"));
            pulse("IFACE_IN_START.IR_DIS.IN", R160);
            EXPECT_TRUE(runUntil([&] { return step("A11_STEP"); }, 6));
        } else {
            EXPECT_TRUE(step("A02ASTEP"));
            EXPECT_EQ(boolean("IDLE_RATE.RATED.LATCH_R"), 0u);
            EXPECT_FLOAT_EQ(ref(), held);
            EXPECT_GT(held, static_cast<float>(kMinGov));
            EXPECT_LT(held, static_cast<float>(kRated));
        }
    }
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

// The internal overspeed test enabled from the service tool in control at
// maximum governor: the chart enters the overspeed-test step, and the raise contact
// moves the reference towards the test limit (4000 rpm by default) as a
// sequence of its own.
TEST_F(Sequence, RaiseDuringTheOverspeedTestMovesTowardsTheTestLimit) {
    start(true, true);
    toOverspeedTest();
    ASSERT_TRUE(runUntil([&] { return step("A09_STEP"); }, 20)) << "the test never began";
    runPasses(R80, 1);
    EXPECT_EQ(boolean("IFACE_OUT_SPEED.OSPD_TEST_EN.B_NAME"), 1u);
    EXPECT_EQ(boolean("SPDC.AND_OSPD.AND"), 0u);
    EXPECT_EQ(boolean("SPDC.STRT_SEQ.OR"), 0u);
    contact(kRaiseContact, true);
    ASSERT_TRUE(runUntil([&] { return boolean("SPDC.AND_OSPD.AND") != 0; }, 20));
    EXPECT_TRUE(step("A09_STEP"));
    EXPECT_EQ(boolean("SPDC.STRT_SEQ.OR"), 1u);
    EXPECT_EQ(integer("SPDC.SEL_SP.INT_SEL"), 6);
    EXPECT_FLOAT_EQ(real("SPDC.SEL_SP.A_MUX_HSS"), 4000.0f);
    const float before = ref();
    runPasses(R80, 5);
    EXPECT_GT(ref(), before);
    contact(kRaiseContact, false);
}

// The reference-deviation flag: set while the reference stands 200 rpm or
// more above the measured speed. In control at rated, the shaft held below
// it.
TEST_F(Sequence, ReferenceDeviationFlagSetsAtTwoHundredAboveTheSpeed) {
    start(true, true);
    startToRated();
    runPasses(R80, 50);
    struct Case {
        double shaft;
        uint32_t deviation;
    };
    // The measured speed differs from the shaft's by the sensors'
    // resolution (a few hundredths of an rpm): the cases stand clear of it.
    const Case cases[] = {{3500.0, 0}, {3401.0, 0}, {3399.0, 1}, {3000.0, 1}, {3450.0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shaft);
        holdShaftAt(c.shaft);
        runPasses(R160, 3);
        ASSERT_FLOAT_EQ(ref(), static_cast<float>(kRated));
        ASSERT_NEAR(real("IFACE_IN_SPEED.SPEED.A_NAME"), c.shaft, 0.1);
        EXPECT_EQ(boolean("SPD_REF.CP_DEV.A_COMPARE"), c.deviation) << real("IFACE_IN_SPEED.SPEED.A_NAME");
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
