// A trip raised through the shutdown logic reaches the data-log control:
// collection stops STP_DLY.DLY_TIME after the trip and the log is printed;
// the print pulse of the 10 ms group then counts the file and restarts
// collection.
#include "app/control/control_slices.h"
#include "app/discrete/discrete_slices.h"
#include "app/interface/interface_slices.h"
#include "app/protection/protection_slices.h"
#include "host/speed_sensor_model.h"
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

TEST_F(TripStopsDataLog, TheTripsPrintHoldsTheTripAndTheSpeedAndItsPulseCountsTheFileAndRestarts) {
    g_defaults = false;
    useSlices(R10, {defaultsOnce, _R10_TASK_1, _R10_TASK_2, _R10_TASK_3, _R10_TASK_4, _R10_TASK_8});
    useSlices(R40, {_R40_TASK_4});
    useSlices(R160, {_R160_TASK_29, _R160_TASK_31, _R160_TASK_34, _R160_TASK_35});
    startApp();
    speedsensor::install();
    speedsensor::setShaftSpeed(0, 1500.0, 60);  // the turbine turns
    setCell("DATALOG.TREND_DLOG.B_ENABLE", 1);
    setCell("DATALOG.STP_DLY.DLY_TIME", 1.0);
    runPasses(R10, 110);
    const float speed = real("MPU.TURB_SPD.A_NAME");
    EXPECT_NE(speed, 0.0f);
    EXPECT_EQ(real("DATALOG.SPEED.A_NAME"), speed);
    setCell("DATALOG.EVENT_STRT.IN_3", 1);
    ASSERT_TRUE(runUntil([] { return TREND_DLOG_internal.RUN_STATE == 1; }));
    setCell("DATALOG.EVENT_STRT.IN_3", 0);
    runPasses(R10, 50);
    EXPECT_EQ(integer("DATALOG.CNTATOI.OUT_1"), 0);
    setCell("MOD_BW.MOD1_SW.B_SW", 1);
    // The print starts: the pulse rises with the writer's printing flag and
    // lasts its 4 s.
    ASSERT_TRUE(runUntil([this] { return boolean("DATALOG.PRT_OS.ONE_SHOT") == 1; }, 10000));
    EXPECT_EQ(TREND_DLOG_internal.RUN_STATE, 0u);
    int on = 0;
    for (int k = 0; k < 500 && boolean("DATALOG.PRT_OS.ONE_SHOT") == 1; ++k, ++on) runPasses(R10, 1);
    EXPECT_EQ(on, 401);  // 0.01 summed 400 times stays below 4.0
    EXPECT_TRUE(exists("TREND_DLOG1.log"));
    EXPECT_EQ(integer("DATALOG.CNTATOI.OUT_1"), 1);
    EXPECT_EQ(integer("DATALOG.NEXT_INDEX.I_ADD"), 2);
    // Collection started again while the pulse was ending.
    EXPECT_TRUE(runUntil([] { return TREND_DLOG_internal.RUN_STATE == 1; }, 2000));
    const LogFile f = parse(readLog("TREND_DLOG1.log"));
    const Var* trip = f.find("DATALOG.TURB_TRIP.B_NAME");
    const Var* logged = f.find("DATALOG.SPEED.A_NAME");
    ASSERT_NE(trip, nullptr);
    ASSERT_NE(logged, nullptr);
    ASSERT_GT(trip->count, 100);
    EXPECT_EQ(trip->samples.front(), 0.0);
    EXPECT_EQ(trip->samples.back(), 1.0) << "the log holds the trip";
    for (double v : logged->samples) ASSERT_EQ(v, speed);
}

}  // namespace
