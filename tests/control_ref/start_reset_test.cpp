// Start and run-time counting, the start roads and the start pulse, the
// start inhibit, the trip reset and the reset blink.
#include <utility>
#include <vector>

#include "app/control/control_slices.h"
#include "app/analog/output_slices.h"
#include "app/discrete/discrete_slices.h"
#include "app/interface/interface_slices.h"
#include "tests/control_ref/ref_rig.h"

using namespace ref_test;

namespace {
class StartReset : public RefRig {};
}  // namespace

TEST_F(StartReset, RunMinutesCountExactlyAndRunHoursFollow) {
    start(true, true);
    pulse("START.START_OS.ONE_SHOT", R80);
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
    // A shutdown clears the count.
    setCell("IFACE_IN_START.ANY_SD.B_NAME", 1);
    runPasses(R160, 2);
    EXPECT_FLOAT_EQ(real("START.MINUTES.RAMP"), 0.0f);
    EXPECT_EQ(boolean("START.MINUTES.P_LIM_1"), 1u);
    EXPECT_EQ(boolean("START.TMR_STRT.LATCH"), 0u);
}

TEST_F(StartReset, AStartHeldOnGivesOnePulseAndAShutdownBlocksIt) {
    start(true, true);
    setCell("START.START.IN_3", 1);
    runPasses(R80, 20);
    EXPECT_EQ(boolean("START.RUN_CMD.LATCH_R"), 1u);
    EXPECT_EQ(boolean("START.V1_STRT.ONE_SHOT"), 0u);
    setCell("START.START.IN_3", 0);
    // A shutdown clears the run command; a start then is ignored.
    setCell("IFACE_IN_START.ANY_SD.B_NAME", 1);
    runPasses(R80, 2);
    EXPECT_EQ(boolean("START.RUN_CMD.LATCH_R"), 0u);
    pulse("START.START_OS.ONE_SHOT", R80);
    runPasses(R80, 3);
    EXPECT_EQ(boolean("START.RUN_CMD.LATCH_R"), 0u);
}

TEST_F(StartReset, StartInhibitListShowsTheShutdownFirstAndBlocksTheStart) {
    start(true, true);
    setCell("START.AUTO_START.AND", 1);
    // The 80 ms power-up sequence, which this rig does not run, has completed.
    setCell("PWR_UP_MSG.PWR_UP_COMPLETE.DELAY", 1);
    runPasses(R160, 30);  // power-up settled without configuration errors
    ASSERT_EQ(boolean("PWR_UP_MSG.N_ERR_DLY.DELAY"), 1u);
    setCell("START.NOT_STRTD.NOT", 1);
    setCell("IFACE_IN_START.ANY_SD.B_NAME", 1);
    runPasses(R160, 2);
    setCell("IFACE_IN_START.ANY_SD.B_NAME", 0);
    runPasses(R160, 2);
    // Within NEG_DTIME after the shutdown cleared: inhibited, input 1 first.
    EXPECT_EQ(boolean("IFACE_OUT_START.STRT_INH.B_NAME"), 1u);
    EXPECT_EQ(integer("START.STRT_IH.FIRST_ALM"), 1);
    EXPECT_EQ(boolean("START.STRT_IH.SEL_1"), 1u);
    pulse("START.START_OS.ONE_SHOT", R80);
    runPasses(R80, 2);
    EXPECT_EQ(boolean("START.RUN_CMD.LATCH_R"), 0u);
    // Once the delay has passed the list clears and a start runs.
    runPasses(R160, 8);
    EXPECT_EQ(boolean("IFACE_OUT_START.STRT_INH.B_NAME"), 0u);
    pulse("START.START_OS.ONE_SHOT", R80);
    runPasses(R80, 2);
    EXPECT_EQ(boolean("START.RUN_CMD.LATCH_R"), 1u);
}

TEST_F(StartReset, ResetCommandHeldHalfASecondRunsTheTripHeader) {
    start(true, true);
    setCell("SHUTDOWNS.ANY.LATCH_AE", 1);
    setCell("RESET.PWR_UP_N.NOT", 1);
    setCell("RESET.RST.ONE_SHOT", 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("RESET.RST_NOT.NOT"), 0u);
    EXPECT_EQ(boolean("RESET.TRIP_HDR.AND"), 0u);
    runPasses(R80, 7);
    EXPECT_EQ(boolean("RESET.TRIP_HDR.AND"), 1u);
    setCell("RESET.RST.ONE_SHOT", 0);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("RESET.TRIP_HDR.AND"), 0u);
    EXPECT_EQ(boolean("RESET.RST_NOT.NOT"), 1u);
    // Reset commands pass on to the time-stamp reset.
    setCell("RESET.RESET.B_NAME", 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("RESET.TS_RESET.B_NAME"), 1u);
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

TEST_F(StartReset, EveryStartRoadStartsAndResetAndStartNeedsAClearStart) {
    start(true, true);
    const struct {
        std::vector<const char*> on;
        uint32_t start, reset_start;
    } rows[] = {
        {{}, 0, 0},
        {{"START.START_OS.ONE_SHOT"}, 1, 0},
        {{"START.KEYPAD_START.B_SW"}, 1, 0},
        {{"START.START.IN_3"}, 1, 0},
        {{"MOD_BW.BW_CMD.SEL_5"}, 1, 0},
        {{"OPC_DATA.BW_CMDS.SEL_5"}, 1, 0},
        {{"UNIT_DEMO.B_CMDS.LIST_1"}, 1, 0},
        {{"START.RST_OS.ONE_SHOT"}, 0, 0},
        {{"IFACE_IN_START.STARTCMD.B_NAME"}, 0, 0},
        {{"START.RST_OS.ONE_SHOT", "IFACE_IN_START.STARTCMD.B_NAME"}, 1, 1},
        // A shutdown makes the start not clear: no reset-and-start.
        {{"START.RST_OS.ONE_SHOT", "IFACE_IN_START.STARTCMD.B_NAME", "IFACE_IN_START.ANY_SD.B_NAME"}, 0, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.on.empty() ? "none" : r.on.back());
        for (const char* c : r.on) setCell(c, 1);
        runPasses(R80, 1);
        EXPECT_EQ(boolean("START.RSET_START.AND"), r.reset_start);
        EXPECT_EQ(boolean("START.START.OR"), r.start);
        for (const char* c : r.on) setCell(c, 0);
        runPasses(R80, 2);
    }
}

TEST_F(StartReset, StartPulseGoesToTheSemiAutomaticOutputOnlyWhenThatModeIsConfigured) {
    start(true, false);
    for (uint32_t semi : {0u, 1u, 0u}) {
        SCOPED_TRACE(semi);
        setCell("CNFG_START.CONFIG_B.LIST_3", semi);
        setCell("CNFG_START.SEMIAUTO_START.B_NAME", semi);
        setCell("CNFG_START.MAN_START.B_NAME", 0);
        setCell("CNFG_START.AUTO_START.B_NAME", 0);
        // Without the semi-automatic mode the automatic one: a start needs a
        // start mode (the start-mode flags' slice is not in this rig).
        setCell("START.MAN_START.B_NAME", 0);
        setCell("START.AUTO_START.AND", 1 - semi);
        // A shutdown pass ends the last start.
        pulse("IFACE_IN_START.ANY_SD.B_NAME", R160);
        runPasses(R160, 8);  // past the start permissive's delay after a shutdown
        ASSERT_EQ(boolean("START.SEMI_AUTO.AND"), semi);
        ASSERT_EQ(boolean("START.RUN_CMD.LATCH_R"), 0u);
        pulse("START.START_OS.ONE_SHOT", R80);
        runPasses(R80, 1);
        ASSERT_EQ(boolean("START.PULSE.ONE_SHOT"), 1u);
        EXPECT_EQ(boolean("START.SEMI_START.NO"), semi);
        EXPECT_EQ(boolean("START.SEMI_START.NC"), 1u - semi);
        runPasses(R80, 15);
        EXPECT_EQ(boolean("START.SEMI_START.NO"), 0u);
        EXPECT_EQ(boolean("START.SEMI_START.NC"), 0u);
    }
}

// The start sequence counts as started from the pass after the run command
// (the 80 ms unit delay); until then the critical-rate check (record 32)
// speaks, and it is silent once started.
TEST_F(StartReset, NotStartedFollowsTheRunCommandAndSilencesTheCriticalRateCheck) {
    start(true, true);
    // The band used, its rate at the slow rate off line (5 per second).
    for (const char* name : {"CNFG_SETPT.CONFIG_B.IN_1", "CNFG_SETPT.CONFIG_B.LIST_1"}) setCell(name, 1);
    for (const char* name : {"CNFG_SETPT.QT_CRIT_SPD_RATE.IN", "CNFG_SETPT.CONFIG_A.LIST_6"}) setCell(name, 5.0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("START.NOT_STRTD.NOT"), 1u);
    EXPECT_EQ(boolean("CNFG_CHECK.CRIT_RATE.AND"), 1u);
    pulse("START.START_OS.ONE_SHOT", R80);
    runPasses(R160, 2);
    ASSERT_EQ(boolean("START.RUN_CMD.LATCH_R"), 1u);
    EXPECT_EQ(boolean("START.ZSTRTR.ZMINUS1_B"), 1u);
    EXPECT_EQ(boolean("START.NOT_STRTD.NOT"), 0u);
    EXPECT_EQ(boolean("CNFG_CHECK.CRIT_RATE.AND"), 0u);
    // A shutdown ends the run: not started again.
    setCell("IFACE_IN_START.ANY_SD.B_NAME", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("START.NOT_STRTD.NOT"), 1u);
    EXPECT_EQ(boolean("CNFG_CHECK.CRIT_RATE.AND"), 1u);
}

namespace {
// Start pieces in their own slices alone, their inputs set directly.
class StartPieces : public tc_test::AppHarness {
protected:
    void start(int group, std::vector<SliceFn> slices) {
        useSlices(group, std::move(slices));
        startApp();
    }
};
}  // namespace

// A run command while the reference stays at rest (-1) is held off after
// 3.0 s of 40 ms passes; the reference leaving rest ends the delay at once.
TEST_F(StartPieces, RunCommandWithTheReferenceAtRestEndsAfterThreeSeconds) {
    start(R40, {_R40_TASK_8});
    const struct {
        uint32_t run, atRest, held;
    } rows[] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 1}};
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "run " << r.run << " at rest " << r.atRest);
        setCell("START.RUN_CMD.LATCH_R", r.run);
        setCell("START.CP_REFNLUL.A_EQUAL", r.atRest);
        runPasses(R40, 72);  // 2.88 s
        EXPECT_EQ(boolean("START.PB_LTCH.AND"), r.held);
        EXPECT_EQ(boolean("START.DLY_OF.DELAY"), 0u);
        runPasses(R40, 6);  // 3.12 s
        EXPECT_EQ(boolean("START.DLY_OF.DELAY"), r.held);
        setCell("START.CP_REFNLUL.A_EQUAL", 0);
        runPasses(R40, 2);
        EXPECT_EQ(boolean("START.DLY_OF.DELAY"), 0u);
    }
}

// The entered setpoint's go-to pulse of an automatic start: two 160 ms
// passes on the rise of the automatic enable, once however long it holds.
TEST_F(StartPieces, AutomaticStartGivesOneGoToPulseOfTwoPasses) {
    start(R160, {_R160_TASK_41});
    setCell("RMT_ENBL.ENBL_AUTO.AND", 1);
    std::vector<uint32_t> seen;
    for (int k = 0; k < 5; ++k) {
        runPasses(R160, 1);
        seen.push_back(boolean("ENTR_SETPT.AUTO_ST_OS.ONE_SHOT"));
    }
    EXPECT_EQ(seen, (std::vector<uint32_t>{1, 1, 0, 0, 0}));
    // A new rise, a new pulse.
    setCell("RMT_ENBL.ENBL_AUTO.AND", 0);
    runPasses(R160, 2);
    setCell("RMT_ENBL.ENBL_AUTO.AND", 1);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("ENTR_SETPT.AUTO_ST_OS.ONE_SHOT"), 1u);
}

// The reference at the entered setpoint counts as matched only with the
// match's permissive, which nothing sets in this application.
TEST_F(StartPieces, EnteredSetpointMatchNeedsItsPermissive) {
    start(R40, {_R40_TASK_4});
    runPasses(R40, 2);
    ASSERT_EQ(boolean("SPDC.SPEED_REF.P_LIM_10"), 1u);  // the reference at rest on the (zero) entry
    EXPECT_EQ(boolean("ENTR_SETPT.ENTR_MTCHD.AND"), 0u);
    setCell("ENTR_SETPT.B_H_SER_OK_NOT.NOT", 1);
    runPasses(R40, 1);
    EXPECT_EQ(boolean("ENTR_SETPT.ENTR_MTCHD.AND"), 1u);
    setCell("MOD_SPD_SP.ENTRD_MUX.A_MUX_HSS", 2500.0);
    runPasses(R40, 2);
    EXPECT_EQ(boolean("ENTR_SETPT.ENTR_MTCHD.AND"), 0u);
}

// At idle for the start logic: in A01 or A11, or in a controlled stop (Z01)
// with the reference still at or above idle.
TEST_F(StartPieces, AtIdleInTheIdleStepsOrInAControlledStopAboveIdle) {
    start(R80, {_R80_TASK_26});
    const struct {
        uint32_t z01, aboveIdle, a01, a11, stopAboveIdle, idle;
    } rows[] = {
        {0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0}, {0, 1, 0, 0, 0, 0}, {1, 1, 0, 0, 1, 1},
        {0, 0, 1, 0, 0, 1}, {0, 0, 0, 1, 0, 1},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "Z01 " << r.z01 << " above idle " << r.aboveIdle << " A01 " << r.a01
                                        << " A11 " << r.a11);
        setCell("SPDC.Z01_STEP.SFC_STEP", r.z01);
        setCell("SPDC.SR__GE_L1.A_COMPARE", r.aboveIdle);
        setCell("SPDC.A01_STEP.SFC_STEP", r.a01);
        setCell("SPDC.A11_STEP.SFC_STEP", r.a11);
        runPasses(R80, 1);
        EXPECT_EQ(boolean("START.AND_H_MIN.AND"), r.stopAboveIdle);
        EXPECT_EQ(boolean("START.IDLE.OR"), r.idle);
    }
}

// The cascade gauge's tick from its configuration 1 .. 6; another number
// keeps the last tick.
TEST_F(StartPieces, CascadeGaugeTickFromItsConfiguration) {
    start(R160, {_R160_TASK_38});
    const struct {
        int config;
        float tick;
    } rows[] = {{1, 0.01f}, {2, 0.1f}, {3, 1.0f}, {4, 10.0f}, {5, 100.0f}, {6, 1000.0f}, {7, 1000.0f}, {0, 1000.0f},
                {1, 0.01f},  {-1, 0.01f}};
    for (const auto& r : rows) {
        setCell("IFACE_IN_CASC.GAUGE_TICK_CONFIG.I_NAME", r.config);
        runPasses(R160, 1);
        EXPECT_EQ(real("IFACE_IN_CASC.TICK_CONFIG.A_NAME"), r.tick) << r.config;
    }
}
