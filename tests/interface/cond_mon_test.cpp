// Condition monitoring on the whole program, driven through starts, load on
// the turbine model, trips and the service tool: starts, trips and
// overspeed trips counted, saved to the NV condition log by the 80 ms
// snapshot and its writer task, reloaded after each save and after a
// restart; the periodic save; run hours; the operator's rewrite of the
// counts. The log an earlier run left is written by the log's own writer
// before the program starts.
#include <cmath>
#include <string>
#include <utility>

#include "app/control/control_slices.h"
#include "app/discrete/discrete_slices.h"
#include "app/interface/interface_slices.h"
#include "host/turbine_model.h"
#include "storage/nvlog.h"
#include "tests/interface/program_cases_rig.h"

namespace {

using namespace pc_test;

class CondMon : public ProgramCases {
protected:
    // Past the power-up window and the reload that follows it.
    void settle() {
        ASSERT_TRUE(untilMs([this] { return boolean("COND_MON.PWRUPOS.ONE_SHOT") == 0u; }, 15000));
        seconds(2);
    }
    void seconds(double s) { runPasses(R160, static_cast<uint32_t>(std::ceil(s / 0.16))); }
    int32_t writes() { return integer("COND_MON.NV_MEM_LOG.COUNT"); }
    // The log an earlier run left: `values` at the log's places 1 .. 11.
    void earlierLog(const std::vector<float>& values) {
        hk::runTask([&] {
            for (size_t k = 0; k + 1 < values.size(); ++k) EElog(static_cast<int32_t>(k), 0, values[k]);
            EElog(static_cast<int32_t>(values.size() - 1), 1, values.back());
        });
    }
    // A ready unit configured for the start latch's cases: the idle/rated
    // start (automatic, to idle) or a manual one.
    void readyForAStart(bool idleRated) { start(idleRated, idleRated); }
};

// A start to in control, load above both load levels, then a trip from the
// trip contact: each counted once, saved a second after the trip; the
// reload after the save keeps them, and a restart brings them back from the
// log. A second start counts on, and an overspeed trip (the shaft put above
// its level) is counted as a trip and an overspeed trip. (The speed
// controller closes the valve on the speed's rise before the overspeed
// trip is seen, so that trip is not one at load.)
TEST_F(CondMon, CountsAreSavedAfterATripAndSurviveARestart) {
    start(false, false);
    settle();
    EXPECT_EQ(writes(), 0);
    startToInControl();
    seconds(2);
    EXPECT_EQ(real("COND_MON.STRT_TURB.A_NAME"), 1.0f);
    turbine::setLoad(0.9);
    ASSERT_TRUE(runUntil([this] { return boolean("COND_MON.LOAD_LVL2.B_NAME") == 1u; }, 2000)) << "above both levels";
    ASSERT_EQ(boolean("COND_MON.LOAD_LVL1.B_NAME"), 1u);
    seconds(2);
    trip();
    ASSERT_TRUE(untilMs([this] { return boolean("DATALOG.TURB_TRIP.B_NAME") == 1u; }, 500));
    seconds(0.5);
    EXPECT_EQ(writes(), 0) << "the save waits a second after the trip";
    seconds(3);
    EXPECT_EQ(writes(), 1);
    EXPECT_EQ(real("COND_MON.SD_NUM.A_NAME"), 1.0f);
    EXPECT_EQ(real("COND_MON.SDLOAD1_NUM.A_NAME"), 1.0f);
    EXPECT_EQ(real("COND_MON.SDLOAD2_NUM.A_NAME"), 1.0f);
    EXPECT_EQ(real("COND_MON.OSPD_NUM.A_NAME"), 0.0f);
    EXPECT_EQ(real("COND_MON.NV_MEM_LOG.OUT_1"), 1.0f);
    EXPECT_EQ(real("COND_MON.NV_MEM_LOG.OUT_4"), 1.0f);
    // The reload after the save keeps the counts.
    seconds(12);
    EXPECT_EQ(real("COND_MON.STRT_TURB.A_NAME"), 1.0f);
    EXPECT_EQ(real("COND_MON.SD_NUM.A_NAME"), 1.0f);

    stopApp();
    turbine::reset();
    turbine::enable();
    startApp();
    EXPECT_EQ(real("COND_MON.STRT_TURB.A_NAME"), 0.0f) << "not reloaded before the power-up window ends";
    enterSettings(false, false);
    runPasses(R160, 20);
    clearTrip();
    ASSERT_TRUE(runUntil([this] { return ready(); }, 50));
    settle();
    EXPECT_EQ(writes(), 1) << "the write count comes back from the log";
    EXPECT_EQ(real("COND_MON.STRT_TURB.A_NAME"), 1.0f);
    EXPECT_EQ(real("COND_MON.SD_NUM.A_NAME"), 1.0f);
    EXPECT_EQ(real("COND_MON.SDLOAD1_NUM.A_NAME"), 1.0f);
    EXPECT_EQ(real("COND_MON.SDLOAD2_NUM.A_NAME"), 1.0f);
    EXPECT_EQ(real("COND_MON.OSPD_NUM.A_NAME"), 0.0f);
    // A second start counts on from the stored one.
    startToInControl();
    seconds(1);
    EXPECT_EQ(real("COND_MON.STRT_TURB.A_NAME"), 2.0f);
    shaftAt(4100.0);
    ASSERT_TRUE(untilMs([this] { return boolean("DATALOG.TURB_TRIP.B_NAME") == 1u; }, 1000));
    EXPECT_EQ(boolean("SHUTDOWNS.ANY.SEL_3"), 1u) << "the overspeed trip";
    seconds(4);
    EXPECT_EQ(writes(), 2);
    EXPECT_EQ(real("COND_MON.SD_NUM.A_NAME"), 2.0f);
    EXPECT_EQ(real("COND_MON.OSPD_NUM.A_NAME"), 1.0f);
    EXPECT_EQ(real("COND_MON.NV_MEM_LOG.OUT_11"), 1.0f);
}

// The start latch that the start counter, the data log and the interface
// see: set by the start command's pulse, reset at idle (idle/rated starts
// only), at minimum governor or by a shutdown; the pulse wins over a reset
// in the same pass.
TEST_F(CondMon, StartLatchIsSetByThePulseAndResetBySpeedOrShutdown) {
    const char* shown[] = {"START.STARTED.LATCH", "IFACE_OUT_START.STARTING.B_NAME", "DATALOG.TURB_START.B_NAME",
                           "COND_MON.START.B_NAME"};
    auto all = [&](uint32_t v, const std::string& when) {
        for (const char* c : shown) EXPECT_EQ(boolean(c), v) << c << " " << when;
    };
    struct Row {
        const char* what;
        bool idleRated;
        double resetAt;  // the speed that resets it (0: a trip)
        double notAt;    // a speed on the way that does not
    };
    const Row rows[] = {
        {"manual start, minimum governor", false, ref_test::kMinGov, ref_test::kIdle + 100.0},
        {"idle/rated start, idle", true, ref_test::kIdle, ref_test::kIdle / 2.0},
        {"manual start, a trip", false, 0.0, 0.0},
    };
    for (const Row& r : rows) {
        readyForAStart(r.idleRated);
        all(0, std::string("ready, ") + r.what);
        startCommand();
        runPasses(R160, 2);
        all(1, std::string("after the start command, ") + r.what);
        if (r.notAt > 0.0) {
            ASSERT_TRUE(runUntil([&] { return shaft() > r.notAt; }, 2000));
            runPasses(R160, 2);
            all(1, std::string("on the way, ") + r.what);
        }
        if (r.resetAt > 0.0) {
            ASSERT_TRUE(runUntil([&] { return boolean("START.STARTED.LATCH") == 0u; }, 3000)) << r.what;
            EXPECT_GE(shaft(), r.resetAt - 30.0) << r.what;
        } else {
            // Once the start's pulse is over (the pulse wins over a reset).
            ASSERT_TRUE(runUntil([this] { return boolean("START.PULSE.ONE_SHOT") == 0u; }, 100));
            trip();
            runPasses(R160, 3);
        }
        runPasses(R160, 2);
        all(0, std::string("reset, ") + r.what);
        stopApp();
        turbine::reset();
    }
    // The pulse wins: an idle/rated start with the shaft turning above idle
    // sets the latch while the pulse lasts, though idle resets it; the
    // reset takes once the pulse is over.
    readyForAStart(true);
    holdShaftAt(ref_test::kIdle + 200.0);
    runPasses(R160, 4);
    ASSERT_EQ(boolean("MPU.SPD_GTEQ_IDL.OR"), 1u);
    startCommand();
    bool won = false;
    for (int k = 0; k < 40; ++k) {
        won = won || (boolean("START.PULSE.ONE_SHOT") == 1u && boolean("START.STARTED.LATCH") == 1u &&
                      boolean("START.STRT_RST.OR") == 1u);
        runPasses(R80, 1);
    }
    EXPECT_TRUE(won) << "the pulse wins";
    EXPECT_EQ(boolean("START.PULSE.ONE_SHOT"), 0u);
    EXPECT_EQ(boolean("START.STARTED.LATCH"), 0u);
}

// A trip below idle is counted but not saved.
TEST_F(CondMon, ATripBelowIdleDoesNotSave) {
    start(false, false);
    holdShaftAt(ref_test::kIdle - 1.0);
    settle();
    trip();
    seconds(3);
    EXPECT_EQ(real("COND_MON.SD_NUM.A_NAME"), 1.0f);
    EXPECT_EQ(real("COND_MON.SDLOAD1_NUM.A_NAME"), 0.0f);
    EXPECT_EQ(writes(), 0);
    clearTrip();
    trip();
    seconds(3);
    EXPECT_EQ(real("COND_MON.SD_NUM.A_NAME"), 2.0f);
    EXPECT_EQ(writes(), 0);
}

// The periodic save with its shortest threshold from the service tool: the
// first a quarter hour after the start, not before.
TEST_F(CondMon, PeriodicSaveAfterAQuarterHour) {
    startApp();
    tune("COND_MON.RSTNVTRIG.IN_2", 0.25);
    seconds(0.25 * 3600 - 5);
    EXPECT_EQ(writes(), 0);
    seconds(10);
    EXPECT_EQ(writes(), 1);
}

TEST_F(CondMon, ARequestDuringThePowerUpWindowIsDroppedUntilItFalls) {
    startApp();
    tune("COND_MON.SAVE.IN_4", 1);
    settle();
    EXPECT_EQ(writes(), 0);
    tune("COND_MON.SAVE.IN_4", 0);
    seconds(0.5);
    tune("COND_MON.SAVE.IN_4", 1);
    seconds(2);
    EXPECT_EQ(writes(), 1);
}

// Every slot an earlier run left, each its own value, shown by its own cell
// after power-up: counts and hours truncated, the peaks as stored (the
// turbine at rest). The counts reload again on the reset from the service
// tool.
TEST_F(CondMon, StoredSlotsReloadIntoTheirOwnCellsCountsTruncated) {
    earlierLog({12.7f, 2.2f, -3.9f, 4.6f, 5.3f, 6.5f, 7.25f, 8.75f, 3456.0f, 123.5f, 11.6f});
    startApp();
    settle();
    EXPECT_EQ(real("COND_MON.NV_MEM_LOG.OUT_1"), 12.7f);
    EXPECT_EQ(integer("COND_MON.RST_1.OUT_1"), 12);
    const std::pair<const char*, float> shown[] = {
        {"STRT_TURB", 12.0f}, {"SD_NUM", -3.0f},    {"SDLOAD1_NUM", 4.0f}, {"SDLOAD2_NUM", 5.0f},
        {"OSPD_NUM", 11.0f},  {"TRUNHRS", 6.0f},    {"TRUNLDHRS", 7.0f},   {"TRUNLD2HRS", 8.0f},
    };
    for (const auto& [name, value] : shown) EXPECT_EQ(real(std::string("COND_MON.") + name + ".A_NAME"), value) << name;
    EXPECT_EQ(real("COND_MON.PEAKSPD_GUI.A_MAX"), 3456.0f);
    EXPECT_EQ(real("COND_MON.PEAKACEL_GUI.A_MAX"), 123.5f);
    tune("COND_MON.RSET.IN_4", 1);
    seconds(1);
    tune("COND_MON.RSET.IN_4", 0);
    EXPECT_EQ(integer("COND_MON.RST_1.OUT_1"), 12);
    EXPECT_EQ(real("COND_MON.STRT_TURB.A_NAME"), 12.0f);
}

// Stored hours 5.0 and 2.0: the run hours add to them while the speed is
// above minimum governor (the shaft held there), not below it and not with
// counting off.
TEST_F(CondMon, RunHoursAddToTheStoredHoursOnlyWhileRunningAboveMinimumGovernor) {
    earlierLog({0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 5.0f, 2.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    start(false, false);
    settle();
    holdShaftAt(ref_test::kMinGov + 100.0);
    ASSERT_TRUE(runUntil([this] { return boolean("NV_MEM.ABV_IDLE.A_COMPARE") == 1u; }, 100));
    ASSERT_EQ(boolean("COND_MON.LOAD_LVL1.B_NAME"), 0u);  // below load level 1
    const float h0 = real("COND_MON.TRUNCALC.CALCULATE");
    EXPECT_NEAR(h0, 5.0f, 1.0f / 3600.0f);
    seconds(36);
    const float h = real("COND_MON.TRUNCALC.CALCULATE");
    EXPECT_NEAR(h, h0 + 36.0f / 3600.0f, 0.5f / 3600.0f);
    EXPECT_EQ(real("COND_MON.TRUNLDCALC.CALCULATE"), 2.0f);
    EXPECT_EQ(integer("COND_MON.RIHOURS.OUT_1"), 5);
    EXPECT_EQ(real("COND_MON.TRUNHRS.A_NAME"), 5.0f);
    EXPECT_EQ(real("COND_MON.TRUN_HMS.HOUR"), 5.0f);
    EXPECT_EQ(real("COND_MON.TRUNMINS.A_NAME"), 0.0f);
    EXPECT_NEAR(real("COND_MON.TRUN_HMS.SEC"), 36.0f + (h0 - 5.0f) * 3600.0f, 1.0f);
    // Below minimum governor, or with counting off, the hours stand.
    holdShaftAt(ref_test::kMinGov - 100.0);
    runPasses(R160, 2);
    const float below = real("COND_MON.TRUNCALC.CALCULATE");
    seconds(10);
    EXPECT_NEAR(real("COND_MON.TRUNCALC.CALCULATE"), below, 0.2f / 3600.0f);
    holdShaftAt(ref_test::kMinGov + 500.0);
    tune("COND_MON.TURB_RUN.IN_2", 0);
    seconds(10);
    EXPECT_NEAR(real("COND_MON.TRUNCALC.CALCULATE"), below, 0.2f / 3600.0f);
    // A reset clears the hours counted since power-up.
    EXPECT_GT(real("COND_MON.TRUNACCUM.OUT_1"), 0.0f);
    tune("COND_MON.RSET.IN_4", 1);
    seconds(1);
    tune("COND_MON.RSET.IN_4", 0);
    EXPECT_EQ(real("COND_MON.TRUNACCUM.OUT_1"), 0.0f);
}

// The operator's rewrite: the entered counts and hours stored, the peak
// speed held (the shaft turned to 3300 rpm) cleared while it runs and back
// after it.
TEST_F(CondMon, RewriteStoresTheEnteredCountsAndHours) {
    start(false, false);
    settle();
    tune("COND_MON.PRIORCNT1.IN_1", 42);
    tune("COND_MON.PRIORCNT11.IN_1", 3);
    tune("COND_MON.TRUNSET.IN", 1234.5);
    holdShaftAt(3300.0);
    seconds(1);
    const float peak = real("OSPD.SPEED_HOLD.HSS_BUS");
    ASSERT_NEAR(peak, 3300.0f, 1.0f);
    EXPECT_EQ(real("COND_MON.PEAKSPD_GUI.A_MAX"), peak);
    tune("COND_MON.REWRITE_NV_CMD.IN_1", 1);
    seconds(0.5);
    EXPECT_EQ(real("COND_MON.STRT_TURB.A_NAME"), 42.0f);
    EXPECT_EQ(real("COND_MON.PEAK_SPD.A_SW"), 0.0f);
    seconds(2);
    EXPECT_EQ(writes(), 1);
    EXPECT_EQ(real("COND_MON.NV_MEM_LOG.OUT_1"), 42.0f);
    EXPECT_EQ(real("COND_MON.NV_MEM_LOG.OUT_6"), 1234.5f);
    EXPECT_EQ(real("COND_MON.NV_MEM_LOG.OUT_11"), 3.0f);
    EXPECT_EQ(boolean("COND_MON.REWRITE_NV_CMD.IN_1"), 0u) << "the command is held for one second";
    seconds(5);
    EXPECT_EQ(boolean("COND_MON.BEGIN.LATCH"), 0u);
    // After the sequence the live counters carry the entered values.
    EXPECT_EQ(real("COND_MON.STRT_TURB.A_NAME"), 42.0f);
    EXPECT_EQ(real("COND_MON.OSPD_NUM.A_NAME"), 3.0f);
    EXPECT_EQ(real("COND_MON.TRUNHRS.A_NAME"), 1234.0f);
    EXPECT_EQ(real("COND_MON.PEAK_SPD.A_SW"), peak);

    // A trip 0.6 s into the next rewrite's save request, the shaft held at
    // 3500 rpm: the trip's request begins while the rewrite's holds the
    // save request high, and still gets its save; a service save follows.
    holdShaftAt(3500.0);
    seconds(12);
    const int32_t before = writes();
    tune("COND_MON.REWRITE_NV_CMD.IN_1", 1);
    ASSERT_TRUE(untilMs([this] { return boolean("COND_MON.NV_WRITE.ONE_SHOT") == 1u; }, 1500));
    seconds(0.6);
    trip();
    ASSERT_TRUE(untilMs([this] { return boolean("COND_MON.WAIT4COUNT.DELAY") == 1u; }, 1500));
    EXPECT_EQ(boolean("COND_MON.NV_WRITE.ONE_SHOT"), 1u);
    seconds(1);
    EXPECT_EQ(writes(), before + 2) << "the rewrite's save and the trip's";
    seconds(12);
    EXPECT_EQ(boolean("COND_MON.SAVE.OR"), 0u) << "a trip's request ends once its save has begun";
    tune("COND_MON.SAVE.IN_4", 1);
    seconds(1);
    EXPECT_EQ(writes(), before + 3) << "a service save";
}

// ---- cases no input reaches ------------------------------------------------

// Two trips within one second count once: a trip is reset at the earliest
// after the shutdown one-shot, which cuts resets off for longer than that,
// so no input gives two trips within a second.
class CondMonOnItsSlices : public OnTheirSlices {
protected:
    // The module's slices, past the power-up window and its reload.
    void start() {
        startSlices({{R80, {_R80_TASK_18}},
                     {R160, {_R160_TASK_29, _R160_TASK_30, _R160_TASK_31, _R160_TASK_32, _R160_TASK_81, _R160_TASK_82}}});
        runPasses(R160, 12 * 7);
    }
};

TEST_F(CondMonOnItsSlices, TwoTripsWithinOneSecondCountOnce) {
    start();
    setCell("CNFG_START.IDLE_1_SP.A_NAME", 1000);
    setCell("DATALOG.SPEED.A_NAME", 999);
    setCell("IFACE_OUT_VLV.LSS_OUT.A_NAME", 0);
    for (int k = 0; k < 2; ++k) {
        setCell("DATALOG.TURB_TRIP.B_NAME", 1);
        runPasses(R160, 2);
        setCell("DATALOG.TURB_TRIP.B_NAME", 0);
        runPasses(R160, 2);
    }
    runPasses(R160, 19);
    EXPECT_EQ(real("COND_MON.SD_NUM.A_NAME"), 1.0f);
    EXPECT_EQ(integer("COND_MON.NV_MEM_LOG.COUNT"), 0);
}

// The periodic save repeats each quarter hour, and not a third time before
// 0.75 h: three quarters of an hour of the whole program are more passes
// than a loaded host runs without tripping the CPU-hold check, so the
// repetition is shown on the module's slices (the first save is shown on
// the whole program above).
TEST_F(CondMonOnItsSlices, PeriodicSaveRepeatsWithAThresholdOfAQuarterHour) {
    startSlices({{R80, {_R80_TASK_18}},
                 {R160, {_R160_TASK_29, _R160_TASK_30, _R160_TASK_31, _R160_TASK_32, _R160_TASK_81, _R160_TASK_82}}});
    setCell("COND_MON.RSTNVTRIG.IN_2", 0.25);
    auto seconds = [this](double t) { runPasses(R160, static_cast<uint32_t>(std::ceil(t / 0.16))); };
    auto writes = [this] { return integer("COND_MON.NV_MEM_LOG.COUNT"); };
    seconds(0.25 * 3600 - 5);
    EXPECT_EQ(writes(), 0);
    seconds(10);
    EXPECT_EQ(writes(), 1);
    seconds(0.25 * 3600);
    EXPECT_EQ(writes(), 2);
    seconds(0.2 * 3600);
    EXPECT_EQ(writes(), 2);
}

// Exactly at minimum governor the hours count, one below they do not: the
// measured speed of the shaft is never exactly the setting, so only the
// slices show the edge.
TEST_F(CondMonOnItsSlices, RunHoursCountFromExactlyMinimumGovernor) {
    start();
    setCell("CNFG_SETPT.MIN_GOV.A_NAME", 2000);
    setCell("IFACE_OUT_VLV.LSS_OUT.A_NAME", 0);
    for (double speed : {2000.0, 1999.0}) {
        setCell("DATALOG.SPEED.A_NAME", speed);
        runPasses(R160, 2);
        const float h = real("COND_MON.TRUNCALC.CALCULATE");
        runPasses(R160, 7 * 10);
        const float gained = (real("COND_MON.TRUNCALC.CALCULATE") - h) * 3600.0f;
        if (speed == 2000.0) {
            EXPECT_NEAR(gained, 11.2f, 0.5f) << speed;
        } else {
            EXPECT_NEAR(gained, 0.0f, 0.2f) << speed;
        }
    }
}

}  // namespace
