// The data-log control module on the whole program, driven through the
// service tool's settings and commands, starts and trips of the unit on the
// turbine model: the file counter, the load levels, commissioning mode, the
// stop after a trip and the print that follows it, down to the log file the
// writer task makes of it.
#include <algorithm>
#include <sstream>

#include "app/interface/interface_slices.h"
#include "host/turbine_model.h"
#include "tests/interface/program_cases_rig.h"

namespace {

using namespace pc_test;

class DataLogControl : public ProgramCases {
protected:
    // The data log enabled and collecting on a ready unit.
    void collectingOnAReadyUnit(const Settings& settings = {}) {
        start(false, false, settings);
        tune("DATALOG.TREND_DLOG.B_ENABLE", 1);
        runPasses(R10, 110);
        tune("DATALOG.EVENT_STRT.IN_3", 1);
        ASSERT_TRUE(untilMs(collecting));
        tune("DATALOG.EVENT_STRT.IN_3", 0);
    }
    // Collection stopped from the service tool, then a print, until the
    // writer has begun it.
    void printCommand() {
        if (collecting()) {
            command(2);
            ASSERT_TRUE(untilMs([] { return !collecting(); }, 3000));
        }
        tune("DATALOG.PRINT.IN_2", 1);
        ASSERT_TRUE(untilMs([] { return TREND_DLOG_internal.PRT_BUSY == 1; }, 3000));
        tune("DATALOG.PRINT.IN_2", 0);
    }
    // A service command of the data log (1 start .. 6 commissioning off).
    void command(int n) { tune("DATALOG.DLOG_CMDS.IN_" + std::to_string(n), 1); }
    bool commissioning() { return boolean("DATALOG.COMMISH_MODE.LATCH_R") != 0; }
};

// The file counter with a limit of 4, through seven prints: it counts on
// the print pulse's rise only, holds 4 for the pass it reaches it and
// starts again at 1; the next index is one more.
TEST_F(DataLogControl, FileCounterRunsToItsLimitHoldsItOnePassAndStartsAgain) {
    collectingOnAReadyUnit({{"DATALOG.COUNTER.IN_1", 4}});
    runPasses(R160, 2);
    EXPECT_EQ(integer("DATALOG.CNTATOI.OUT_1"), 0);
    std::vector<int> atEdges, nextToEdges, afterEdges;
    bool edgeBefore = false;
    uint32_t pulse = 0;
    for (int print = 0; print < 7; ++print) {
        printCommand();
        // The pulse's passes and the pass after it ends.
        for (int k = 0; k < 200; ++k) {
            runPasses(R160, 1);
            const uint32_t now = boolean("DATALOG.PRT_OS.ONE_SHOT");
            const int count = integer("DATALOG.CNTATOI.OUT_1");
            EXPECT_EQ(integer("DATALOG.NEXT_INDEX.I_ADD"), count + 1);
            EXPECT_EQ(integer("DATALOG.NEXT_INDEX_DISP.I_NAME"), count + 1);
            if (edgeBefore) nextToEdges.push_back(count);
            edgeBefore = now != 0 && pulse == 0;
            if (edgeBefore) atEdges.push_back(count);
            if (now == 0 && pulse != 0) {
                afterEdges.push_back(count);
                pulse = now;
                break;
            }
            pulse = now;
        }
        ASSERT_TRUE(untilMs([] { return TREND_DLOG_internal.PRT_BUSY == 0; }, 10000));
        // Some data collected again before the next print.
        runPasses(R160, 20);
    }
    EXPECT_EQ(atEdges, (std::vector<int>{1, 2, 3, 4, 2, 3, 4}));
    EXPECT_EQ(nextToEdges, (std::vector<int>{1, 2, 3, 1, 2, 3, 1})) << "4 held for one pass";
    EXPECT_EQ(afterEdges, (std::vector<int>{1, 2, 3, 1, 2, 3, 1}));
}

// The load levels against the valve demand of a unit in control under load:
// on at or above the level, off below the level less 5, held between.
TEST_F(DataLogControl, LoadLevelsSwitchOnAtTheLevelAndOffFiveBelowIt) {
    start(false, false);
    startToInControl();
    turbine::setLoad(0.5);
    runPasses(R160, 200);
    const float load = real("IFACE_OUT_VLV.LSS_OUT.A_NAME");
    ASSERT_GT(load, 10.0f);
    struct {
        double level;  // above the load
        uint32_t on;
    } steps[] = {{6.0, 0}, {1.0, 0}, {-1.0, 1}, {4.0, 1}, {4.5, 1}, {6.0, 0}, {-1.0, 1}, {6.0, 0}};
    for (int n : {1, 2}) {
        const std::string lvl = std::to_string(n);
        for (const auto& s : steps) {
            tune("DATALOG.LOAD_LVL" + lvl + ".IN_2", load + s.level);
            runPasses(R160, 2);
            const float now = real("IFACE_OUT_VLV.LSS_OUT.A_NAME");
            ASSERT_NEAR(now, load, 0.4f) << "the load holds";
            EXPECT_EQ(boolean("DATALOG.LOAD_LEVEL" + lvl + ".B_NAME"), s.on) << n << " " << s.level;
            EXPECT_EQ(boolean("COND_MON.LOAD_LVL" + lvl + ".B_NAME"), s.on) << n << " " << s.level;
            EXPECT_EQ(boolean("DATALOG.LOAD_LVL" + lvl + ".A_EQUAL"), 0u) << n << " " << s.level;
        }
    }
}

// Commissioning mode from the service command: continuous collection, a
// stop pulse of OFF.DLY_TIME for the mode change, the hours counted while
// it runs (a minute here; their time-out is on the module's slices).
TEST_F(DataLogControl, CommissioningModeCollectsContinuouslyAndCountsItsHours) {
    start(false, false);
    ASSERT_TRUE(untilMs([this] { return boolean("COND_MON.PWRUPOS.ONE_SHOT") == 0u; }, 15000));
    command(5);
    ASSERT_GE(passesUntil(R160, [this] { return commissioning(); }, 10), 0);
    EXPECT_EQ(boolean("DATALOG.CONTIN.B_SW"), 1u);
    // The mode change gave a stop pulse of OFF.DLY_TIME (10 s).
    EXPECT_EQ(boolean("DATALOG.EVENT_STP.OR"), 1u);
    EXPECT_GT(integer("DATALOG.OFF.R_TIME"), 8);
    runPasses(R160, 70);  // 11.2 s
    EXPECT_EQ(boolean("DATALOG.EVENT_STP.OR"), 0u);
    EXPECT_EQ(integer("DATALOG.OFF.R_TIME"), 10);  // at rest: the whole pulse length
    const float h = real("DATALOG.COMMISH_TIME.OUT_1");
    runPasses(R80, 750);  // 60 s
    EXPECT_NEAR(real("DATALOG.COMMISH_TIME.OUT_1") - h, 60.0f / 3600.0f, 0.1f / 3600.0f);
    EXPECT_TRUE(commissioning());
}

// Commissioning ends with the off command and the inhibit; the power-up
// pulse holds it off (the reset wins over a set in the same pass).
TEST_F(DataLogControl, PowerUpPulseAndOffCommandEndCommissioning) {
    startApp();
    command(5);
    runPasses(R160, 10);
    ASSERT_EQ(boolean("COND_MON.PWRUPOS.ONE_SHOT"), 1u);
    EXPECT_FALSE(commissioning()) << "the power-up pulse wins";
    ASSERT_TRUE(untilMs([this] { return boolean("COND_MON.PWRUPOS.ONE_SHOT") == 0u; }, 15000));
    struct Off {
        const char* what;
        std::function<void(bool)> off;
    };
    const Off offs[] = {
        {"off command", [this](bool on) { if (on) command(6); }},
        {"inhibit", [this](bool on) { tune("DATALOG.INHIBIT.IN_2", on ? 1 : 0); }},
    };
    for (const Off& o : offs) {
        command(5);
        ASSERT_GE(passesUntil(R160, [this] { return commissioning(); }, 10), 0) << o.what;
        runPasses(R160, 10);  // the command over
        o.off(true);
        ASSERT_GE(passesUntil(R160, [this] { return !commissioning(); }, 10), 0) << o.what;
        // The reset wins over a set in the same pass.
        if (std::string(o.what) == "inhibit") {
            command(5);
            runPasses(R160, 4);
            EXPECT_FALSE(commissioning()) << o.what;
        }
        o.off(false);
        runPasses(R160, 10);
    }
}

// A trip from the trip contact shorter than the stop delay stops nothing; a
// long one stops collection after STP_DLY.DLY_TIME (20 s) with a 2 s stop
// pulse and prints from 3 s into the 5 s write pulse until 1 s after it.
TEST_F(DataLogControl, ShortTripStopsNothingALongOneStopsAndPrints) {
    start(false, false);
    trip();
    ASSERT_TRUE(untilMs([this] { return boolean("DATALOG.TURB_TRIP.B_NAME") == 1u; }, 500));
    runPasses(R160, 40);
    clearTrip();
    ASSERT_EQ(boolean("DATALOG.TURB_TRIP.B_NAME"), 0u);
    runPasses(R160, 200);
    EXPECT_EQ(boolean("DATALOG.STP_DLY.DELAY"), 0u);
    EXPECT_EQ(boolean("DATALOG.EVENT_STP.OR"), 0u);
    EXPECT_EQ(boolean("DATALOG.PRINT.OR"), 0u);

    trip();
    ASSERT_GE(passesUntil(R160, [this] { return boolean("DATALOG.TURB_TRIP.B_NAME") == 1u; }, 5), 0);
    std::vector<uint32_t> stop, print;
    for (int p = 0; p < 200; ++p) {
        runPasses(R160, 1);
        stop.push_back(boolean("DATALOG.EVENT_STP.OR"));
        print.push_back(boolean("DATALOG.PRINT.OR"));
    }
    const auto first = [](const std::vector<uint32_t>& v) {
        return static_cast<int>(std::find(v.begin(), v.end(), 1u) - v.begin());
    };
    const auto count = [](const std::vector<uint32_t>& v) { return static_cast<int>(std::count(v.begin(), v.end(), 1u)); };
    // 20 s delay (125 passes), a 2 s stop pulse (12.5 passes), a print from
    // 3 s into the 5 s write pulse until 1 s after it.
    EXPECT_NEAR(first(stop), 125, 1);
    EXPECT_NEAR(count(stop), 13, 1);
    EXPECT_NEAR(first(print) - first(stop), 19, 1);
    EXPECT_NEAR(count(print), 19, 1);
}

// The start request at 40 ms: the start command, a turbine start (1 s), and
// the print pulse once it has lasted AUTO.DLY_TIME (3.5 s); a pulse set
// shorter than that does not restart collection.
TEST_F(DataLogControl, StartCommandsFormTheStartRequestAt40ms) {
    start(false, false);
    command(1);
    ASSERT_GE(passesUntil(R40, [this] { return boolean("DATALOG.EVENT_STRT.OR") == 1u; }, 10), 0);
    ASSERT_GE(passesUntil(R40, [this] { return boolean("DATALOG.EVENT_STRT.OR") == 0u; }, 40), 0);
    // A turbine start gives a 1 s start request.
    startCommand();
    ASSERT_GE(passesUntil(R40, [this] { return boolean("DATALOG.TURB_START.B_NAME") == 1u; }, 20), 0);
    ASSERT_GE(passesUntil(R40, [this] { return boolean("DATALOG.EVENT_STRT.OR") == 1u; }, 10), 0);
    runPasses(R160, 8);
    EXPECT_EQ(boolean("DATALOG.EVENT_STRT.OR"), 0u);
    trip();
    runPasses(R160, 5);
    // A print pulse of 3 s, then of 4 s.
    tune("DATALOG.TREND_DLOG.B_ENABLE", 1);
    tune("DATALOG.STP_DLY.DLY_TIME", 120.0);
    for (double length : {3.0, 4.0}) {
        tune("DATALOG.PRT_OS.DLY_TIME", length);
        printCommand();
        ASSERT_GE(passesUntil(R160, [this] { return boolean("DATALOG.PRT_OS.ONE_SHOT") == 1u; }, 20), 0);
        bool restarted = false, auto_on = false;
        for (int k = 0; k < 150; ++k) {
            runPasses(R40, 1);
            auto_on = auto_on || boolean("DATALOG.AUTO.DELAY") != 0;
            restarted = restarted || (boolean("DATALOG.AUTO.DELAY") != 0 && boolean("DATALOG.EVENT_STRT.OR") != 0);
        }
        EXPECT_EQ(auto_on, length >= 3.5) << length;
        EXPECT_EQ(restarted, length >= 3.5) << length;
        ASSERT_TRUE(untilMs([] { return TREND_DLOG_internal.PRT_BUSY == 0; }, 10000));
        runPasses(R160, 40);
    }
}

// The requested interval reaches the writer rounded to the 10 ms frames;
// the writer's status reaches the display cells; a full ring while
// collecting shows the buffer full and being overwritten.
TEST_F(DataLogControl, RequestedIntervalReachesTheWriterRounded) {
    start(false, false, {{"DATALOG.MININTVL.IN", 25}});
    tune("DATALOG.TREND_DLOG.B_ENABLE", 1);
    runPasses(R10, 110);
    tune("DATALOG.EVENT_STRT.IN_3", 1);
    ASSERT_TRUE(untilMs(collecting));
    tune("DATALOG.EVENT_STRT.IN_3", 0);
    EXPECT_EQ(integer("DATALOG.MININTVL.I_NAME"), 25);
    EXPECT_EQ(TREND_DLOG_internal.SAMPLE_MS, 40);
    runPasses(R160, 2);
    const int32_t maxSec = integer("DATALOG.TREND_DLOG.MAX_SEC");
    ASSERT_GT(maxSec, 0);
    EXPECT_EQ(real("DATALOG.DATASEC.OUT_1"), static_cast<float>(maxSec));
    EXPECT_EQ(real("DATALOG.DATATIME.A_NAME"), static_cast<float>(maxSec));
    EXPECT_EQ(boolean("DATALOG.D_COLLECT.B_NAME"), 1u);
    EXPECT_EQ(boolean("DATALOG.D_BUFFFULL.B_NAME"), 0u);
    EXPECT_EQ(boolean("DATALOG.UNLOCK_GUI.B_NAME"), 1u);
    // Time left until the rings hold MAX_SEC seconds, counting down.
    const float left = real("DATALOG.REMAINTIME.A_NAME");
    EXPECT_GT(left, maxSec - 3.0f);
    EXPECT_LE(left, static_cast<float>(maxSec));
    runPasses(R160, 13);
    EXPECT_NEAR(real("DATALOG.REMAINA.OUT_1"), left - 2.0f, 1.0f);
    tune("DATALOG.UNLOCK_GUI.IN", 0);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("DATALOG.UNLOCK_GUI.B_NAME"), 0u);
    // Collecting on until the ring has wrapped: full and being overwritten.
    ASSERT_TRUE(untilMs([] { return TREND_DLOG_internal.WRAPPED == 1; }, (maxSec + 10) * 1000ull));
    runPasses(R160, 2);
    EXPECT_EQ(boolean("DATALOG.D_BUFFFULL.B_NAME"), 1u);
    EXPECT_EQ(boolean("DATALOG.D_BUFFOVRT.B_NAME"), 1u);
}

// A trip with the data log collecting through a start: collection goes on
// STP_DLY.DLY_TIME (2 s) after the trip, stops, and the file written 3 s
// later holds the history before the trip and the seconds after it, the
// speed rising as the turbine ran up.
TEST_F(DataLogControl, TripCapturesHistoryBeforeAndAfterIt) {
    collectingOnAReadyUnit({{"DATALOG.STP_DLY.DLY_TIME", 2.0}});
    startCommand();
    runPasses(R10, 1500);  // 15 s into the start
    // The trip's print rewrites the file the power-up's trip printed: its
    // pulse counts one more file.
    const int32_t files = integer("DATALOG.CNTATOI.OUT_1");
    trip();
    ASSERT_TRUE(untilMs([this] { return boolean("DATALOG.TURB_TRIP.B_NAME") == 1u; }, 500));
    runPasses(R10, 400);
    EXPECT_EQ(TREND_DLOG_internal.RUN_STATE, 0u);
    ASSERT_TRUE(untilMs([&] { return integer("DATALOG.CNTATOI.OUT_1") != files; }, 10000));
    ASSERT_TRUE(untilMs([] { return TREND_DLOG_internal.PRT_BUSY == 0; }));
    ASSERT_TRUE(logExists("TREND_DLOG1.log"));
    const dl_test::LogFile f = dl_test::parse(readLog("TREND_DLOG1.log"));
    const dl_test::Var* speed = f.find("DATALOG.SPEED.A_NAME");
    const dl_test::Var* trip = f.find("DATALOG.TURB_TRIP.B_NAME");
    ASSERT_NE(speed, nullptr);
    ASSERT_NE(trip, nullptr);
    ASSERT_EQ(speed->samples.size(), trip->samples.size());
    // 10 ms samples: at least 2.9 s before the trip, 2 s to 2.4 s after it.
    const auto firstTrip = static_cast<int>(std::find(trip->samples.begin(), trip->samples.end(), 1.0) -
                                            trip->samples.begin());
    const int after = static_cast<int>(trip->samples.size()) - firstTrip;
    EXPECT_GE(firstTrip, 290);
    EXPECT_GE(after, 200);
    EXPECT_LE(after, 240);
    for (size_t i = firstTrip; i < trip->samples.size(); ++i) ASSERT_EQ(trip->samples[i], 1.0) << i;
    EXPECT_GT(speed->samples[firstTrip - 1], speed->samples.front()) << "the turbine ran up before the trip";
}

// ---- on the module's slices --------------------------------------------------

// The load exactly at a level, and exactly the hysteresis below it: the
// valve demand of the program never holds such a value exactly.
class DataLogOnItsSlices : public OnTheirSlices {};

TEST_F(DataLogOnItsSlices, LoadExactlyAtTheLevelAndAtTheHysteresis) {
    startSlices({{R160, {_R160_TASK_29, _R160_TASK_31, _R160_TASK_34, _R160_TASK_35}}});
    struct {
        float load;
        uint32_t level1, equal1, level2;
    } steps[] = {
        {24.99f, 0, 0, 0}, {25.0f, 1, 1, 0}, {30.0f, 1, 0, 0}, {21.0f, 1, 0, 0}, {20.0f, 1, 0, 0},
        {19.9f, 0, 0, 0},  {75.0f, 1, 0, 1}, {70.0f, 1, 0, 1}, {69.9f, 1, 0, 0},
    };
    for (const auto& s : steps) {
        setCell("IFACE_OUT_VLV.LSS_OUT.A_NAME", s.load);
        runPasses(R160, 1);
        EXPECT_EQ(boolean("DATALOG.LOAD_LEVEL1.B_NAME"), s.level1) << s.load;
        EXPECT_EQ(boolean("COND_MON.LOAD_LVL1.B_NAME"), s.level1) << s.load;
        EXPECT_EQ(boolean("DATALOG.LOAD_LVL1.A_EQUAL"), s.equal1) << s.load;
        EXPECT_EQ(boolean("DATALOG.LOAD_LEVEL2.B_NAME"), s.level2) << s.load;
        EXPECT_EQ(boolean("COND_MON.LOAD_LVL2.B_NAME"), s.level2) << s.load;
    }
}

// Commissioning ends when its hours are up, back to CONTIN.NC, and the
// hours are cleared a second later: the shortest setting is two hours,
// more passes of the whole program than a loaded host runs without
// tripping the CPU-hold check (the hours are seen counting there).
TEST_F(DataLogOnItsSlices, CommissioningEndsWhenItsHoursAreUp) {
    startSlices({{R40, {_R40_TASK_4}}, {R160, {_R160_TASK_29, _R160_TASK_31, _R160_TASK_34, _R160_TASK_35}}});
    setCell("DATALOG.DLOG_CMDS.OUT_5", 1);
    runPasses(R160, 2);
    setCell("DATALOG.DLOG_CMDS.OUT_5", 0);
    runPasses(R160, 2);
    ASSERT_EQ(boolean("DATALOG.COMMISH_MODE.LATCH_R"), 1u);
    setCell("DATALOG.COMMISH_TIME.OUT_1", 7.99);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("DATALOG.CONTIN.B_SW"), 1u);
    setCell("DATALOG.CONTIN.NC", 1);
    setCell("DATALOG.COMMISH_TIME.OUT_1", 8.0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("DATALOG.COMMISH_MODE.LATCH_R"), 0u);
    EXPECT_EQ(boolean("DATALOG.CONTIN.B_SW"), 1u);
    setCell("DATALOG.CONTIN.NC", 0);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("DATALOG.CONTIN.B_SW"), 0u);
    EXPECT_EQ(boolean("DATALOG.RST_ACCUM.DELAY"), 0u);
    runPasses(R160, 7);
    EXPECT_EQ(boolean("DATALOG.RST_ACCUM.DELAY"), 1u);
}

}  // namespace
