// The data-log control module through real passes: the file counter, the
// load levels, commissioning mode, the stop after a trip and the print that
// follows it, down to the log file the writer task makes of it.
#include <algorithm>
#include <sstream>

#include "app/interface/interface_slices.h"
#include "runtime/catalogue_tables.h"
#include "tests/storage_datalog/datalog_rig.h"

using namespace dl_test;

namespace {


// The tunables at their defaults, as the tunables file gives them at start:
// set in the first 10 ms frame, before any 160 ms pass.
bool g_defaulted = false;
void tunableDefaultsOnce() {
    if (g_defaulted) return;
    g_defaulted = true;
    for (uint32_t k = 0; k < num_tune_defaults; ++k) {
        const TuneDefault& d = _tune_defaults[k];
        void* p = cell_ptr(d.cell);
        if (d.type == 'A') *static_cast<float*>(p) = static_cast<float>(d.value);
        else if (d.type == 'I') *static_cast<int32_t*>(p) = static_cast<int32_t>(d.value);
        else if (d.type == 'B' || d.type == 'U') *static_cast<uint32_t*>(p) = static_cast<uint32_t>(d.value);
    }
}

}  // namespace

class DataLogControl : public DataLogRig {
protected:
    void start() {
        g_defaulted = false;
        useSlices(R10, {tunableDefaultsOnce});
        useSlices(R40, {_R40_TASK_4});
        useSlices(R160, {_R160_TASK_29, _R160_TASK_31, _R160_TASK_34, _R160_TASK_35});
        startApp();
    }
    // A print pulse of one 160 ms pass.
    void printPulse() {
        setCell("DATALOG.PRT_OS.ONE_SHOT", 1);
        runPasses(R160, 1);
        setCell("DATALOG.PRT_OS.ONE_SHOT", 0);
        runPasses(R160, 1);
    }
};

TEST_F(DataLogControl, FileCounterRunsToItsLimitHoldsItOnePassAndStartsAgain) {
    start();
    setCell("DATALOG.COUNTER.IN_1", 4);
    runPasses(R160, 2);
    EXPECT_EQ(integer("DATALOG.CNTATOI.OUT_1"), 0);
    std::vector<int> seen;
    for (int edge = 0; edge < 7; ++edge) {
        setCell("DATALOG.PRT_OS.ONE_SHOT", 1);
        runPasses(R160, 1);
        seen.push_back(integer("DATALOG.CNTATOI.OUT_1"));
        EXPECT_EQ(integer("DATALOG.NEXT_INDEX.I_ADD"), seen.back() + 1);
        EXPECT_EQ(integer("DATALOG.NEXT_INDEX_DISP.I_NAME"), seen.back() + 1);
        // Held at 1 for a second pass: no second count.
        runPasses(R160, 1);
        seen.push_back(integer("DATALOG.CNTATOI.OUT_1"));
        setCell("DATALOG.PRT_OS.ONE_SHOT", 0);
        runPasses(R160, 1);
        seen.push_back(integer("DATALOG.CNTATOI.OUT_1"));
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 1, 1, 2, 2, 2, 3, 3, 3, 4, 1, 1}));
}

TEST_F(DataLogControl, LoadLevelsSwitchOnAtTheLevelAndOffFiveBelowIt) {
    start();
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

TEST_F(DataLogControl, CommissioningModeCollectsContinuouslyUntilItsHoursAreUp) {
    start();
    setCell("DATALOG.DLOG_CMDS.OUT_5", 1);
    runPasses(R160, 2);
    setCell("DATALOG.DLOG_CMDS.OUT_5", 0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("DATALOG.COMMISH_MODE.LATCH_R"), 1u);
    EXPECT_EQ(boolean("DATALOG.CONTIN.B_SW"), 1u);
    // The mode change gave a stop pulse of OFF.DLY_TIME (10 s).
    EXPECT_EQ(boolean("DATALOG.EVENT_STP.OR"), 1u);
    EXPECT_GT(integer("DATALOG.OFF.R_TIME"), 8);
    runPasses(R160, 70);  // 11.2 s
    EXPECT_EQ(boolean("DATALOG.EVENT_STP.OR"), 0u);
    EXPECT_EQ(integer("DATALOG.OFF.R_TIME"), 10);  // at rest: the whole pulse length
    // Just below the hours: still on; at them: off, back to CONTIN.NC.
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
    // The hours are cleared a second after the time-out.
    EXPECT_EQ(boolean("DATALOG.RST_ACCUM.DELAY"), 0u);
    runPasses(R160, 7);
    EXPECT_EQ(boolean("DATALOG.RST_ACCUM.DELAY"), 1u);
}

TEST_F(DataLogControl, PowerUpPulseAndOffCommandEndCommissioning) {
    for (const char* off : {"COND_MON.PWRUPOS.ONE_SHOT", "DATALOG.DLOG_CMDS.OUT_6", "DATALOG.INHIBIT.IN_2"}) {
        start();
        setCell("DATALOG.DLOG_CMDS.OUT_5", 1);
        runPasses(R160, 2);
        setCell("DATALOG.DLOG_CMDS.OUT_5", 0);
        ASSERT_EQ(boolean("DATALOG.COMMISH_MODE.LATCH_R"), 1u) << off;
        setCell(off, 1);
        runPasses(R160, 1);
        EXPECT_EQ(boolean("DATALOG.COMMISH_MODE.LATCH_R"), 0u) << off;
        // The reset wins over a set in the same pass.
        setCell("DATALOG.DLOG_CMDS.OUT_5", 1);
        runPasses(R160, 2);
        EXPECT_EQ(boolean("DATALOG.COMMISH_MODE.LATCH_R"), 0u) << off;
        stopApp();
    }
}

TEST_F(DataLogControl, ShortTripStopsNothingALongOneStopsAndPrints) {
    start();
    setCell("DATALOG.TURB_TRIP.B_NAME", 1);
    runPasses(R160, 62);  // 9.9 s
    setCell("DATALOG.TURB_TRIP.B_NAME", 0);
    runPasses(R160, 200);
    EXPECT_EQ(boolean("DATALOG.STP_DLY.DELAY"), 0u);
    EXPECT_EQ(boolean("DATALOG.EVENT_STP.OR"), 0u);
    EXPECT_EQ(boolean("DATALOG.PRINT.OR"), 0u);

    setCell("DATALOG.TURB_TRIP.B_NAME", 1);
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

TEST_F(DataLogControl, StartCommandsFormTheStartRequestAt40ms) {
    start();
    setCell("DATALOG.DLOG_CMDS.OUT_1", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("DATALOG.EVENT_STRT.OR"), 1u);
    setCell("DATALOG.DLOG_CMDS.OUT_1", 0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("DATALOG.EVENT_STRT.OR"), 0u);
    // A turbine start gives a 1 s start request.
    setCell("START.STARTED.LATCH", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("DATALOG.TURB_START.B_NAME"), 1u);
    runPasses(R40, 2);
    EXPECT_EQ(boolean("DATALOG.EVENT_STRT.OR"), 1u);
    runPasses(R160, 8);
    EXPECT_EQ(boolean("DATALOG.EVENT_STRT.OR"), 0u);
    // The print pulse (held PRT_OS.DLY_TIME) restarts collection once it has
    // lasted AUTO.DLY_TIME (3.5 s); a short pulse does not.
    printPulse();
    runPasses(R160, 19);
    EXPECT_EQ(boolean("DATALOG.AUTO.DELAY"), 0u);
    setCell("DATALOG.PRT_OS.ONE_SHOT", 1);
    runPasses(R160, 21);
    EXPECT_EQ(boolean("DATALOG.AUTO.DELAY"), 0u);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("DATALOG.AUTO.DELAY"), 1u);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("DATALOG.EVENT_STRT.OR"), 1u);
}

TEST_F(DataLogControl, RequestedIntervalReachesTheWriterRounded) {
    start();
    setCell("DATALOG.TREND_DLOG.B_ENABLE", 1);
    setCell("DATALOG.MININTVL.IN", 25);
    runPasses(R10, 110);
    setCell("DATALOG.EVENT_STRT.IN_3", 1);
    ASSERT_TRUE(runUntil([] { return TREND_DLOG_internal.RUN_STATE == 1; }));
    EXPECT_EQ(integer("DATALOG.MININTVL.I_NAME"), 25);
    EXPECT_EQ(TREND_DLOG_internal.SAMPLE_MS, 40);
    // The writer's status reaches the display cells.
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
    setCell("DATALOG.UNLOCK_GUI.IN", 0);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("DATALOG.UNLOCK_GUI.B_NAME"), 0u);
    // A wrapped ring while collecting: buffer full and being overwritten.
    TREND_DLOG_internal.WRAPPED = 1;
    runPasses(R160, 2);
    EXPECT_EQ(boolean("DATALOG.D_BUFFFULL.B_NAME"), 1u);
    EXPECT_EQ(boolean("DATALOG.D_BUFFOVRT.B_NAME"), 1u);
}

// A trip with the data log collecting: collection goes on STP_DLY.DLY_TIME
// after the trip, stops, and the file written 3 s later holds the history
// before the trip and the seconds after it.
TEST_F(DataLogControl, TripCapturesHistoryBeforeAndAfterIt) {
    start();
    setCell("DATALOG.TREND_DLOG.B_ENABLE", 1);
    setCell("DATALOG.STP_DLY.DLY_TIME", 2.0);
    runPasses(R10, 110);
    setCell("DATALOG.EVENT_STRT.IN_3", 1);
    ASSERT_TRUE(runUntil([] { return TREND_DLOG_internal.RUN_STATE == 1; }));
    setCell("DATALOG.EVENT_STRT.IN_3", 0);
    int pass = 0;
    auto run = [&](int n) {
        for (int k = 0; k < n; ++k, ++pass) {
            setCell("DATALOG.SPEED.A_NAME", pass);
            runPasses(R10, 1);
        }
    };
    run(300);  // 3 s before the trip
    const int tripPass = pass;
    setCell("DATALOG.TURB_TRIP.B_NAME", 1);
    run(400);
    EXPECT_EQ(TREND_DLOG_internal.RUN_STATE, 0u);
    ASSERT_TRUE(runUntil([this] { return exists("TREND_DLOG1.log"); }, 10000));
    runUntil([] { return TREND_DLOG_internal.PRT_BUSY == 0; });
    std::istringstream out(readLog("TREND_DLOG1.log"));
    std::string line;
    std::vector<double> speed, trip;
    while (std::getline(out, line)) {
        std::istringstream ls(line);
        std::string var, type, path;
        std::getline(ls, var, '\t');
        std::getline(ls, type, '\t');
        std::getline(ls, path, '\t');
        std::string field;
        for (int k = 0; k < 4; ++k) std::getline(ls, field, '\t');
        std::getline(ls, field, '\t');
        std::istringstream vs(field);
        std::vector<double>* into = path == "DATALOG.SPEED.A_NAME" ? &speed : path == "DATALOG.TURB_TRIP.B_NAME" ? &trip : nullptr;
        double x;
        if (into)
            while (vs >> x) into->push_back(x);
    }
    ASSERT_FALSE(speed.empty());
    ASSERT_EQ(speed.size(), trip.size());
    EXPECT_LE(speed.front(), tripPass - 290);
    // Collection ended 2 s (plus the pulse and frame boundaries) after the trip.
    EXPECT_GE(speed.back(), tripPass + 200);
    EXPECT_LE(speed.back(), tripPass + 240);
    for (size_t i = 0; i < speed.size(); ++i) ASSERT_EQ(trip[i], speed[i] >= tripPass ? 1 : 0) << speed[i];
}
