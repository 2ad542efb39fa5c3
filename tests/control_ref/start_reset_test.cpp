// Start and run-time counting, the start roads and the start pulse, a
// start command held on, the start inhibit, the trip reset and the reset
// blink, on the whole program from its inputs.
#include <string>
#include <utility>
#include <vector>

#include "app/control/control_slices.h"
#include "app/analog/output_slices.h"
#include "app/discrete/discrete_slices.h"
#include "app/interface/interface_slices.h"
#include "app/control/SIM.cells.h"
#include "drivers/ZarnKeypad.h"
#include "host/board.h"
#include "host/hostkernel.h"
#include "host/turbine_model.h"
#include "tests/support/ref_rig.h"

using namespace ref_test;

namespace {
class StartReset : public RefRig {
protected:
    // The keypad's start key (slot 15 of the keypad table) pressed or let go.
    void startKey(bool pressed) {
        const ZarnKeyBit k = zarnKeypadBits[15];
        hk::runTask([=] { board::setKey(k.word, k.bit, pressed); });
    }
    bool running() { return boolean("START.RUN_CMD.LATCH_R") != 0; }
    // A trip, its reset and the shaft brought to rest.
    void tripToRest() {
        trip();
        ASSERT_TRUE(runUntil([&] { return !running(); }, 4));
        clearTrip();
        shaftAt(0.0);
    }
    // 80 ms passes over which the chart is out of A00 (and Z00, with
    // `orZ00`).
    int passesOutOfRest(int passes, bool orZ00 = false) {
        int out = 0;
        for (int k = 0; k < passes; ++k) {
            runPasses(R80, 1);
            out += step("A00_STEP") || (orZ00 && step("Z00_STEP")) ? 0 : 1;
        }
        return out;
    }
};
}  // namespace

TEST_F(StartReset, RunMinutesCountExactlyAndRunHoursFollow) {
    start(true, true);
    startCommand();
    runPasses(R160, 3);
    EXPECT_EQ(boolean("START.TMR_STRT.LATCH"), 1u);
    const float m0 = real("START.MINUTES.RAMP");
    // Twenty minutes of 160 ms passes: 7500 steps of 0.016667/s x 0.16 s
    // (a float accumulation is already 0.0008 short here).
    runPasses(R160, 7500);
    EXPECT_NEAR(real("START.MINUTES.RAMP") - m0, 20.0004, 0.0002);
    EXPECT_NEAR(real("START.RUN_HRS.DIVIDE"), real("START.MINUTES.RAMP") / 60.0, 1e-6);
    // Neither at 0 nor at the limit while counting.
    EXPECT_EQ(boolean("START.MINUTES.P_LIM_1"), 0u);
    EXPECT_EQ(boolean("START.MINUTES.P_LIM_2"), 0u);
    // A trip takes the count down at 32,500 a second: twenty minutes are
    // gone in the first pass, which ends the way down.
    trip();
    runPasses(R160, 3);
    EXPECT_FLOAT_EQ(real("START.MINUTES.RAMP"), 0.0f);
    EXPECT_EQ(boolean("START.MINUTES.P_LIM_1"), 1u);
    EXPECT_EQ(integer("START.MINUTES.POS_SEL"), 1);
    EXPECT_EQ(boolean("START.MINUTES.MOVING_DN"), 0u);
    EXPECT_EQ(boolean("START.TMR_STRT.LATCH"), 0u);
}

// A start command held on gives one run: the chart leaves A00 once, and
// neither a trip and its reset (with no start-permissive delay after the
// trip) nor the return to A00 starts the unit again while the command
// stays; once it drops, a new command starts. Every road of a held command:
// the service tool's start, the start contact and the keypad's start key.
TEST_F(StartReset, AStartCommandHeldOnGivesExactlyOneRun) {
    enum Road { kService, kContact, kKey };
    const struct {
        const char* name;
        Road road;
    } roads[] = {{"service start", kService}, {"start contact", kContact}, {"keypad start key", kKey}};
    start(true, true, {{"START.STRT_PRM_D.NEG_DTIME", 0.0}});
    for (const auto& r : roads) {
        SCOPED_TRACE(r.name);
        auto hold = [&](bool on) {
            if (r.road == kService) serviceWrite("START.START.IN_3", on ? 1 : 0);
            if (r.road == kContact) contact(kStartContact, on);
            if (r.road == kKey) startKey(on);
        };
        ASSERT_TRUE(runUntil([&] { return ready(); }, 50));
        hold(true);
        ASSERT_TRUE(runUntil([&] { return step("A01_STEP"); }, 20));
        EXPECT_TRUE(running());
        // The start pulse given, never again while the command holds.
        int pulses = 0, prev = static_cast<int>(boolean("START.V1_STRT.ONE_SHOT"));
        for (int k = 0; k < 40; ++k) {
            runPasses(R80, 1);
            const int v = static_cast<int>(boolean("START.V1_STRT.ONE_SHOT"));
            pulses += v && !prev ? 1 : 0;
            prev = v;
        }
        EXPECT_EQ(pulses, 0);
        // A trip, its reset, the shaft brought to rest: ready again, and
        // with the command still held the unit stays at rest.
        tripToRest();
        ASSERT_TRUE(runUntil([&] { return ready(); }, 50));
        EXPECT_EQ(passesOutOfRest(100), 0) << "a held command restarted the unit after a trip";
        EXPECT_FALSE(running());
        EXPECT_FLOAT_EQ(ref(), -1.0f);
        // Dropped and given again: a new run.
        hold(false);
        runPasses(R160, 3);
        hold(true);
        EXPECT_TRUE(runUntil([&] { return running() && step("A01_STEP"); }, 20));
        hold(false);
        tripToRest();
    }
}

// The same after a controlled stop, which ends in a trip once the valve
// limiter has closed: reset and ready again with the command held, the unit
// stays at rest.
TEST_F(StartReset, AStartCommandHeldThroughAControlledStopGivesNoSecondRun) {
    start(true, true, {{"START.STRT_PRM_D.NEG_DTIME", 0.0}});
    serviceWrite("START.START.IN_3", 1);
    ASSERT_TRUE(runUntil([&] { return step("A02_STEP"); }, 500));
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 1);
    ASSERT_TRUE(runUntil([&] { return step("Z01_STEP"); }, 10));
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 0);
    ASSERT_TRUE(runUntil([&] { return boolean("SPDC.Z01_STEP.TRAN_2") != 0; }, 5000)) << "the stop never ended";
    // At rest: the run command ends with the return to A00.
    ASSERT_TRUE(runUntil([&] { return !running(); }, 4));
    EXPECT_EQ(passesOutOfRest(60, true), 0) << "a held command restarted the unit after the controlled stop";
    if (boolean("SHUTDOWNS.ANY_SD.B_NAME") != 0) clearTrip();
    shaftAt(0.0);
    ASSERT_TRUE(runUntil([&] { return ready(); }, 100));
    EXPECT_EQ(passesOutOfRest(100), 0) << "a held command restarted the unit after the reset";
    EXPECT_FALSE(running());
    EXPECT_FLOAT_EQ(ref(), -1.0f);
    serviceWrite("START.START.IN_3", 0);
}

TEST_F(StartReset, StartInhibitListShowsTheShutdownFirstAndBlocksTheStart) {
    start(true, true);
    trip();
    runPasses(R160, 2);
    clearTrip();
    // Within NEG_DTIME (1 s) after the trip cleared: inhibited, input 1
    // first.
    EXPECT_EQ(boolean("IFACE_OUT_START.STRT_INH.B_NAME"), 1u);
    EXPECT_EQ(integer("START.STRT_IH.FIRST_ALM"), 1);
    EXPECT_EQ(boolean("START.STRT_IH.SEL_1"), 1u);
    startCommand();
    runPasses(R80, 2);
    EXPECT_FALSE(running());
    // Once the delay has passed the list clears and a start runs.
    runPasses(R160, 8);
    EXPECT_EQ(boolean("IFACE_OUT_START.STRT_INH.B_NAME"), 0u);
    startCommand();
    EXPECT_TRUE(runUntil([&] { return running(); }, 4));
}

// Without a start mode (its configuration error overridden, so that it
// does not trip the unit), or with the start permissive not met, the start
// is inhibited, each showing its input of the list.
class InhibitedStart : public StartReset {
protected:
    void SetUp() override {
        StartReset::SetUp();
        startable_ = false;
    }
    void expectInhibitedBy(int input) {
        runPasses(R160, 10);  // past the start permissive's delay after the reset
        EXPECT_EQ(boolean("IFACE_OUT_START.STRT_INH.B_NAME"), 1u);
        EXPECT_EQ(integer("START.STRT_IH.FIRST_ALM"), input);
        EXPECT_EQ(boolean("START.STRT_IH.SEL_" + std::to_string(input)), 1u);
        startCommand();
        runPasses(R80, 4);
        EXPECT_FALSE(running());
        EXPECT_TRUE(step("A00_STEP"));
    }
};
TEST_F(InhibitedStart, WithoutAStartMode) {
    start(false, false, {{"CNFG_START.CONFIG_B.IN_1", 0}, {"CONF_LATCH.ANY.OVRD", 1}});
    expectInhibitedBy(2);
}
TEST_F(InhibitedStart, WithTheStartPermissiveNotMet) {
    start(false, false, {{"START.BI_START_PERM.NC", 1}});
    expectInhibitedBy(3);
}

// While the controller powers up, and until it has run without a
// configuration error for its delay, a start is inhibited (input 5).
TEST_F(StartReset, TheStartIsInhibitedUntilThePowerUpHasRunWithoutErrors) {
    turbine::enable();
    startApp();
    enterSettings(false, false);
    runPasses(R160, 3);
    EXPECT_EQ(boolean("PWR_UP_MSG.N_ERR_DLY.DELAY"), 0u);
    EXPECT_EQ(boolean("START.PWRUP_PERM.NOT"), 1u);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("START.STRT_IH.SEL_5"), 1u);
    ASSERT_TRUE(runUntil([&] { return boolean("PWR_UP_MSG.N_ERR_DLY.DELAY") != 0; }, 200));
    runPasses(R160, 1);
    EXPECT_EQ(boolean("START.PWRUP_PERM.NOT"), 0u);
}

// The reset contact held half a second runs the trip header while a trip
// is latched; resets pass on to the time-stamp reset.
TEST_F(StartReset, ResetCommandHeldHalfASecondRunsTheTripHeader) {
    start(true, true);
    trip();
    runPasses(R160, 10);  // past the trip's one-shot, which cuts a reset off
    contact(kResetContact, true);
    ASSERT_TRUE(runUntil([&] { return boolean("RESET.RST_NOT.NOT") == 0; }, 20));
    EXPECT_EQ(boolean("RESET.TRIP_HDR.AND"), 0u);
    uint32_t ts = boolean("RESET.TS_RESET.B_NAME");
    int passes = 0;
    ASSERT_TRUE(runUntil([&] { return ++passes, (ts |= boolean("RESET.TS_RESET.B_NAME"), boolean("RESET.TRIP_HDR.AND") != 0); }, 12));
    EXPECT_GE(passes, 6);
    EXPECT_LE(passes, 8);
    EXPECT_EQ(ts, 1u);
    contact(kResetContact, false);
    ASSERT_TRUE(runUntil([&] { return boolean("RESET.RST_NOT.NOT") != 0; }, 20));
    EXPECT_EQ(boolean("RESET.TRIP_HDR.AND"), 0u);
}

TEST_F(StartReset, ResetBlinkPulsesForTwoPassesEveryDelay) {
    start(true, true);
    // Rising edges and pulse lengths of the blink over 10 s from a rise
    // (whole pulses only).
    uint32_t prev = 1;
    for (int k = 0; k < 20; ++k) {
        runPasses(R160, 1);
        const uint32_t b = boolean("X_RESET.BLINK_RST2.ONE_SHOT");
        if (b && !prev) break;
        prev = b;
    }
    int rises = 1, on = 1;
    prev = 1;
    for (int k = 1; k < 62 || prev; ++k) {
        runPasses(R160, 1);
        const uint32_t b = boolean("X_RESET.BLINK_RST2.ONE_SHOT");
        if (b && !prev) ++rises;
        on += b ? 1 : 0;
        prev = b;
    }
    EXPECT_GE(rises, 6);
    EXPECT_LE(rises, 8);
    EXPECT_EQ(on, 2 * rises);
}

// Each start road alone starts; the reset-and-start pulse is given by
// nothing, so a reset never starts the unit even with the start contact
// held.
TEST_F(StartReset, EveryStartRoadStartsAndAResetDoesNot) {
    enum Road { kNone, kService, kContact, kKey, kResetWithContact };
    const struct {
        const char* name;
        Road road;
        uint32_t starts;
    } rows[] = {
        {"none", kNone, 0},          {"service start", kService, 1}, {"start contact", kContact, 1},
        {"keypad start key", kKey, 1}, {"reset with the start contact held", kResetWithContact, 0},
    };
    start(true, true);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        if (r.road == kResetWithContact) {
            contact(kStartContact, true);
            runPasses(R160, 2);
            trip();
            runPasses(R160, 2);
            clearTrip();
            ASSERT_TRUE(runUntil([&] { return ready(); }, 50));
            runPasses(R160, 10);  // past the start permissive's delay
        }
        ASSERT_TRUE(ready());
        if (r.road == kService) serviceWrite("START.START.IN_3", 1);
        if (r.road == kContact) contact(kStartContact, true);
        if (r.road == kKey) startKey(true);
        if (r.road == kResetWithContact) reset();
        runPasses(R160, 3);
        EXPECT_EQ(running() ? 1u : 0u, r.starts);
        EXPECT_EQ(boolean("START.RSET_START.AND"), 0u);
        serviceWrite("START.START.IN_3", 0);
        contact(kStartContact, false);
        startKey(false);
        if (running()) {
            tripToRest();
            ASSERT_TRUE(runUntil([&] { return ready(); }, 50));
            runPasses(R160, 10);
        }
    }
}

// The start commands shown to the service screen and sent to the turbine
// simulator: the run command, from the pass after it is set.
TEST_F(StartReset, RunCommandReachesTheServiceScreenAndTheSimulatorLink) {
    start(true, true);
    EXPECT_EQ(boolean("SERVICE.IH_ENTER.B_ACTION"), 0u);
    EXPECT_EQ(integer("SERVICE.IH_ENTER.ACT_OUT"), 1);
    EXPECT_EQ(boolean("SIM.SIM_START.B_NAME"), 0u);
    startCommand();
    ASSERT_TRUE(runUntil([&] { return running(); }, 4));
    runPasses(R80, 1);
    EXPECT_EQ(boolean("SERVICE.IH_ENTER.B_ACTION"), 1u);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("SIM.SIM_START.B_NAME"), 1u);
    runPasses(R40, 2);
    EXPECT_EQ(_BR_SIM_XFER_TO_SIM_11359[1], 1u);
    trip();
    ASSERT_TRUE(runUntil([&] { return !running(); }, 4));
    runPasses(R160, 3);
    EXPECT_EQ(boolean("SERVICE.IH_ENTER.B_ACTION"), 0u);
    EXPECT_EQ(boolean("SIM.SIM_START.B_NAME"), 0u);
    EXPECT_EQ(_BR_SIM_XFER_TO_SIM_11359[1], 0u);
}

// The simulator's load is its generator-unit value while the generator-unit
// setting is on, else the other one.
TEST_F(StartReset, GeneratorUnitSettingChoosesTheSimulatedLoad) {
    start(true, true, {{"SPEED_SIM.LOAD_MW.NO", 12.5}, {"SPEED_SIM.LOAD_MW.NC", 7.5}});
    for (int gen : {0, 1, 0}) {
        serviceWrite("SIM.GEN_UNIT.IN", gen);
        runPasses(R160, 2);
        EXPECT_EQ(boolean("SIM.GEN_UNIT.B_NAME"), static_cast<uint32_t>(gen));
        EXPECT_FLOAT_EQ(real("SPEED_SIM.LOAD_MW.A_SW"), gen ? 12.5f : 7.5f);
    }
}

// The starting flag: set by the start pulse, it ends once the speed
// reaches idle (an idle/rated start) or minimum governor (any start), or
// with a trip.
TEST_F(StartReset, StartingEndsAtIdleOrMinimumGovernorOrWithATrip) {
    start(true, true);
    auto starting = [&] { return boolean("START.STARTED.LATCH") != 0; };
    EXPECT_FALSE(starting());
    startCommand();
    ASSERT_TRUE(runUntil(starting, 6));
    runPasses(R80, 20);
    EXPECT_TRUE(starting());
    EXPECT_EQ(boolean("IFACE_OUT_START.STARTING.B_NAME"), 1u);
    EXPECT_LT(shaft(), kIdle);
    ASSERT_TRUE(runUntil([&] { return !starting(); }, 500)) << "still starting at " << shaft();
    EXPECT_GE(shaft(), kIdle - 5.0);
    EXPECT_EQ(boolean("MPU.SPD_GTEQ_IDL.OR"), 1u);
    EXPECT_EQ(boolean("MPU.SPD_GTEQ_MIN.OR"), 0u);
    runPasses(R80, 2);
    EXPECT_EQ(boolean("IFACE_OUT_START.STARTING.B_NAME"), 0u);
    // A trip while starting ends it.
    tripToRest();
    ASSERT_TRUE(runUntil([&] { return ready(); }, 50));
    runPasses(R160, 10);
    startCommand();
    ASSERT_TRUE(runUntil(starting, 6));
    runPasses(R80, 15);  // past the start pulse, which sets it
    ASSERT_TRUE(starting());
    trip();
    EXPECT_TRUE(runUntil([&] { return !starting(); }, 4));
}

// A manual start goes on starting past idle, until minimum governor.
TEST_F(StartReset, AManualStartEndsStartingAtMinimumGovernor) {
    start(false, false);
    auto starting = [&] { return boolean("START.STARTED.LATCH") != 0; };
    startCommand();
    ASSERT_TRUE(runUntil(starting, 6));
    ASSERT_TRUE(runUntil([&] { return shaft() > kIdle + 100.0; }, 500));
    runPasses(R160, 2);
    EXPECT_TRUE(starting());
    ASSERT_TRUE(runUntil([&] { return !starting(); }, 1000)) << "still starting at " << shaft();
    EXPECT_GE(shaft(), kMinGov - 5.0);
    EXPECT_EQ(boolean("MPU.SPD_GTEQ_MIN.OR"), 1u);
}

// The start pulse goes to the semi-automatic output only when that mode is
// configured (semi-automatic start alone), else to the other one.
class SemiStart : public StartReset, public ::testing::WithParamInterface<uint32_t> {};
TEST_P(SemiStart, StartPulseGoesToItsOutput) {
    const uint32_t semi = GetParam();
    start(false, false, {{"CNFG_START.CONFIG_B.IN_1", semi ? 0 : 1}, {"CNFG_START.CONFIG_B.IN_3", semi}});
    ASSERT_EQ(boolean("START.SEMI_AUTO.AND"), semi);
    ASSERT_FALSE(running());
    startCommand();
    ASSERT_TRUE(runUntil([&] { return boolean("START.PULSE.ONE_SHOT") != 0; }, 4));
    EXPECT_EQ(boolean("START.SEMI_START.NO"), semi);
    EXPECT_EQ(boolean("START.SEMI_START.NC"), 1u - semi);
    runPasses(R80, 15);
    EXPECT_EQ(boolean("START.SEMI_START.NO"), 0u);
    EXPECT_EQ(boolean("START.SEMI_START.NC"), 0u);
}
INSTANTIATE_TEST_SUITE_P(Modes, SemiStart, ::testing::Values(0u, 1u),
                         [](const ::testing::TestParamInfo<uint32_t>& i) { return i.param ? "SemiAutomatic" : "Manual"; });

// The start sequence counts as started from the pass after the run command
// (the 80 ms unit delay); until then the critical-rate check (record 32)
// speaks, and it is silent once started.
TEST_F(StartReset, NotStartedFollowsTheRunCommandAndSilencesTheCriticalRateCheck) {
    // The band used, its rate at the slow rate off line (5 per second).
    start(true, true,
          {{"CNFG_SETPT.CONFIG_B.IN_1", 1}, {"CNFG_SETPT.QT_CRIT_SPD_RATE.IN", 5.0}, {"CONF_LATCH.ANY.OVRD", 1}});
    runPasses(R160, 2);
    EXPECT_EQ(boolean("START.NOT_STRTD.NOT"), 1u);
    EXPECT_EQ(boolean("CNFG_CHECK.CRIT_RATE.AND"), 1u);
    startCommand();
    runPasses(R160, 2);
    ASSERT_TRUE(running());
    EXPECT_EQ(boolean("START.ZSTRTR.ZMINUS1_B"), 1u);
    EXPECT_EQ(boolean("START.NOT_STRTD.NOT"), 0u);
    EXPECT_EQ(boolean("CNFG_CHECK.CRIT_RATE.AND"), 0u);
    // A trip ends the run: not started again.
    trip();
    runPasses(R160, 3);
    EXPECT_EQ(boolean("START.NOT_STRTD.NOT"), 1u);
    EXPECT_EQ(boolean("CNFG_CHECK.CRIT_RATE.AND"), 1u);
}

// At idle for the start logic: in the ramp to idle (A01), in the ramp back
// to idle from rated (A11), or in a controlled stop (Z01) while the
// reference (and the speed) are still above idle; not at rest, not held at
// idle (A02), not on the way to rated or in control, and not in a
// controlled stop begun below idle.
TEST_F(StartReset, AtIdleInTheIdleStepsOrInAControlledStopAboveIdle) {
    start(true, true);
    auto expectIdle = [&](const char* where, uint32_t stopAboveIdle, uint32_t idle) {
        SCOPED_TRACE(where);
        EXPECT_EQ(boolean("START.AND_H_MIN.AND"), stopAboveIdle);
        EXPECT_EQ(boolean("START.IDLE.OR"), idle);
    };
    auto reach = [&](const char* s, int max) {
        const bool ok = runUntil([&] { return step(s); }, max);
        runPasses(R80, 1);
        return ok;
    };
    expectIdle("at rest", 0, 0);
    startCommand();
    ASSERT_TRUE(reach("A01_STEP", 20));
    expectIdle("ramp to idle", 0, 1);
    ASSERT_TRUE(reach("A02_STEP", 500));
    expectIdle("held at idle", 0, 0);
    serviceWrite("IFACE_IN_START.IR_EN.IN", 1);
    ASSERT_TRUE(reach("A07_STEP", 10));
    serviceWrite("IFACE_IN_START.IR_EN.IN", 0);
    expectIdle("ramp to rated", 0, 0);
    ASSERT_TRUE(reach("A08_STEP", 2000));
    expectIdle("in control", 0, 0);
    pulse("IFACE_IN_START.IR_DIS.IN", R160);
    ASSERT_TRUE(reach("A11_STEP", 10));
    expectIdle("ramp back to idle", 0, 1);
    ASSERT_TRUE(reach("A02_STEP", 2000));
    pulse("IFACE_IN_START.IR_EN.IN", R160);
    ASSERT_TRUE(reach("A08_STEP", 2000));
    // A controlled stop from rated: at idle for the start logic while the
    // reference is above idle.
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 1);
    ASSERT_TRUE(reach("Z01_STEP", 10));
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 0);
    expectIdle("stop above idle", 1, 1);
    ASSERT_TRUE(runUntil([&] { return step("A00_STEP"); }, 5000)) << "the stop never ended";
    if (boolean("SHUTDOWNS.ANY_SD.B_NAME") != 0) clearTrip();
    shaftAt(0.0);
    ASSERT_TRUE(runUntil([&] { return ready(); }, 100));
    runPasses(R160, 10);
    // A controlled stop begun in the ramp to idle, below idle.
    startCommand();
    ASSERT_TRUE(reach("A01_STEP", 20));
    runPasses(R80, 10);
    ASSERT_LT(ref(), static_cast<float>(kIdle));
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 1);
    ASSERT_TRUE(reach("Z01_STEP", 10));
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 0);
    expectIdle("stop below idle", 0, 0);
}


// A run command while the reference stays at rest (-1) is held off after
// 3.0 s of 40 ms passes. The manual start's road out of A00 switched off
// from the service tool keeps the chart, and so the reference, at rest
// after a start; a start that moves the reference is never held off.
TEST_F(StartReset, RunCommandWithTheReferenceAtRestEndsAfterThreeSeconds) {
    start(false, false);
    // Ready, not started: nothing to hold off.
    runPasses(R40, 78);
    EXPECT_EQ(boolean("START.CP_REFNLUL.A_EQUAL"), 1u);
    EXPECT_EQ(boolean("START.PB_LTCH.AND"), 0u);
    EXPECT_EQ(boolean("START.DLY_OF.DELAY"), 0u);
    serviceWrite("SPDC.A00_C2_MANUL.RST_3", 1);
    startCommand();
    int k = 0;
    for (; k < 10 && boolean("START.PB_LTCH.AND") == 0; ++k) runPasses(R40, 1);
    ASSERT_EQ(boolean("START.PB_LTCH.AND"), 1u);
    ASSERT_TRUE(running());
    runPasses(R40, 71);  // 2.88 s
    EXPECT_TRUE(step("A00_STEP"));
    EXPECT_EQ(boolean("START.PB_LTCH.AND"), 1u);
    EXPECT_EQ(boolean("START.DLY_OF.DELAY"), 0u);
    EXPECT_TRUE(running());
    runPasses(R40, 6);  // 3.12 s
    EXPECT_EQ(boolean("START.DLY_OF.DELAY"), 1u);
    runPasses(R80, 1);
    EXPECT_FALSE(running());
    runPasses(R40, 2);
    EXPECT_EQ(boolean("START.DLY_OF.DELAY"), 0u);
    // With the road open again the start moves the reference: no hold-off.
    serviceWrite("SPDC.A00_C2_MANUL.RST_3", 0);
    runPasses(R160, 2);
    startCommand();
    ASSERT_TRUE(runUntil([&] { return step("A07_STEP"); }, 20));
    runPasses(R40, 78);
    EXPECT_TRUE(running());
    EXPECT_EQ(boolean("START.CP_REFNLUL.A_EQUAL"), 0u);
    EXPECT_EQ(boolean("START.PB_LTCH.AND"), 0u);
    EXPECT_EQ(boolean("START.DLY_OF.DELAY"), 0u);
}

// This application never continues its automatic sequence (it is not
// configured and cannot be), so through an automatic start, run command on,
// neither the sequence's continue latch nor the automatic enable rises, and
// the entered setpoint's automatic go-to pulse never fires.
TEST_F(StartReset, AnAutomaticStartNeverContinuesTheSequenceNorGivesItsGoToPulse) {
    start(true, true);
    startCommand();
    ASSERT_TRUE(runUntil([&] { return running(); }, 10));
    for (int k = 0; k < 60; ++k) {
        runPasses(R160, 1);
        ASSERT_EQ(boolean("IFACE_IN_START.AUTO_SEQ_NOT.NOT"), 1u) << k;
        ASSERT_EQ(boolean("AUTO_SEQ.CONTINUE.LATCH_R"), 0u) << k;
        ASSERT_EQ(boolean("RMT_ENBL.ENBL_AUTO.AND"), 0u) << k;
        ASSERT_EQ(boolean("ENTR_SETPT.AUTO_ST_OS.ONE_SHOT"), 0u) << k;
    }
    EXPECT_TRUE(running());
}

// The cascade gauge's tick from its configuration 1 .. 6, set from the
// service tool on the running program; another number (which the service
// tool refuses, so it is written to the cell) keeps the last tick.
TEST_F(StartReset, CascadeGaugeTickFromItsConfiguration) {
    start(false, false);
    const struct {
        int config;
        float tick;
    } rows[] = {{1, 0.01f}, {2, 0.1f}, {3, 1.0f}, {4, 10.0f}, {5, 100.0f}, {6, 1000.0f}, {7, 1000.0f}, {0, 1000.0f},
                {1, 0.01f},  {-1, 0.01f}};
    for (const auto& r : rows) {
        if (r.config >= 1 && r.config <= 6) serviceWrite("IFACE_IN_CASC.GAUGE_TICK_CONFIG.I_NAME", r.config);
        else pokeTunable("IFACE_IN_CASC.GAUGE_TICK_CONFIG.I_NAME", r.config);
        runPasses(R160, 1);
        EXPECT_EQ(real("IFACE_IN_CASC.TICK_CONFIG.A_NAME"), r.tick) << r.config;
    }
}
