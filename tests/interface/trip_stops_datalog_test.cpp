// A trip raised through the shutdown logic reaches the data-log control:
// collection stops STP_DLY.DLY_TIME after the trip and the log is printed.
#include "app/control/control_slices.h"
#include "app/discrete/discrete_slices.h"
#include "app/interface/interface_slices.h"
#include "app/protection/protection_slices.h"
#include "tests/storage_datalog/datalog_rig.h"
#include "tests/support/tune_defaults.h"

using namespace dl_test;

namespace {

bool g_defaults = false;
void defaultsOnce() {
    if (g_defaults) return;
    g_defaults = true;
    tc_test::loadTuneDefaults();
}

class TripStopsDataLog : public DataLogRig {};

TEST_F(TripStopsDataLog, AModbusTripStopsCollectingAndPrintsTheLog) {
    g_defaults = false;
    useSlices(R10, {defaultsOnce, _R10_TASK_1, _R10_TASK_2, _R10_TASK_3, _R10_TASK_4});
    useSlices(R40, {_R40_TASK_4});
    useSlices(R160, {_R160_TASK_29, _R160_TASK_31, _R160_TASK_34, _R160_TASK_35});
    startApp();
    setCell("DATALOG.TREND_DLOG.B_ENABLE", 1);
    setCell("DATALOG.STP_DLY.DLY_TIME", 1.0);
    runPasses(R10, 110);
    setCell("DATALOG.EVENT_STRT.IN_3", 1);
    ASSERT_TRUE(runUntil([] { return TREND_DLOG_internal.RUN_STATE == 1; }));
    setCell("DATALOG.EVENT_STRT.IN_3", 0);
    runPasses(R10, 50);
    EXPECT_EQ(boolean("DATALOG.TURB_TRIP.B_NAME"), 0u);
    // The Modbus trip is an 80 ms cell: the shutdown logic sees it from the
    // next 80 ms frame on.
    setCell("MOD_BW.MOD1_SW.B_SW", 1);
    ASSERT_TRUE(runUntil([this] { return boolean("SHUTDOWNS.ANY_SD.B_NAME") == 1u; }));
    runPasses(R10, 3);
    EXPECT_EQ(boolean("DATALOG.TURB_TRIP.B_NAME"), 1u);
    EXPECT_EQ(TREND_DLOG_internal.RUN_STATE, 1u) << "collection goes on for the stop delay";
    runPasses(R10, 150);
    EXPECT_EQ(TREND_DLOG_internal.RUN_STATE, 0u);
    EXPECT_TRUE(runUntil([this] { return exists("TREND_DLOG1.log"); }, 10000)) << "the trip printed the log";
}

}  // namespace
