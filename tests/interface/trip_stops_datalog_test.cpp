// A trip raised through the shutdown logic reaches the data-log control, on
// the whole program: collection stops STP_DLY.DLY_TIME after the trip and
// the log is printed; the print pulse of the 10 ms group then counts the
// file and restarts collection. The Modbus trip comes through its service
// override; the data log's settings and start command from the service tool.
#include "tests/interface/program_cases_rig.h"

namespace {

using namespace pc_test;

class TripStopsDataLog : public ProgramCases {
protected:
    // A ready unit, the shaft held at `rpm`, the data log collecting with a
    // stop delay of 1 s.
    void collectingWithAStopDelay(double rpm = 0.0) {
        start(false, false);
        holdShaftAt(rpm);
        tune("DATALOG.TREND_DLOG.B_ENABLE", 1);
        tune("DATALOG.STP_DLY.DLY_TIME", 1.0);
        runPasses(R10, 110);
        tune("DATALOG.EVENT_STRT.IN_3", 1);
        ASSERT_TRUE(untilMs(collecting));
        tune("DATALOG.EVENT_STRT.IN_3", 0);
        runPasses(R10, 50);
        ASSERT_EQ(boolean("DATALOG.TURB_TRIP.B_NAME"), 0u);
        ASSERT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u);
    }
    // The Modbus trip as the service side commands it: its override on, the
    // override's value tripping.
    void modbusTrip() {
        tune("MOD_BW.MOD1_SW.CTRL", 1);
        tune("MOD_BW.MOD1_SW.NO", 1);
    }
};

TEST_F(TripStopsDataLog, AModbusTripStopsCollectingAndPrintsTheLog) {
    collectingWithAStopDelay();
    // The Modbus trip is an 80 ms cell: the shutdown logic sees it from the
    // next 80 ms frame on.
    modbusTrip();
    ASSERT_TRUE(untilMs([this] { return boolean("SHUTDOWNS.ANY_SD.B_NAME") == 1u; }));
    EXPECT_EQ(boolean("SHUTDOWNS.ANY.SEL_5"), 1u) << "the Modbus trip";
    runPasses(R10, 3);
    EXPECT_EQ(boolean("DATALOG.TURB_TRIP.B_NAME"), 1u);
    EXPECT_EQ(TREND_DLOG_internal.RUN_STATE, 1u) << "collection goes on for the stop delay";
    runPasses(R10, 150);
    EXPECT_EQ(TREND_DLOG_internal.RUN_STATE, 0u);
    EXPECT_TRUE(untilMs([this] { return logExists("TREND_DLOG1.log"); }, 10000)) << "the trip printed the log";
}

TEST_F(TripStopsDataLog, TheTripsPrintHoldsTheTripAndTheSpeedAndItsPulseCountsTheFileAndRestarts) {
    // The turbine turns, held at one speed.
    collectingWithAStopDelay(1500.0);
    const float speed = real("MPU.TURB_SPD.A_NAME");
    EXPECT_NEAR(speed, 1500.0f, 5.0f);
    EXPECT_EQ(real("DATALOG.SPEED.A_NAME"), speed);
    EXPECT_EQ(integer("DATALOG.CNTATOI.OUT_1"), 0);
    modbusTrip();
    // The print starts: the pulse rises with the writer's printing flag and
    // lasts its 4 s.
    ASSERT_TRUE(untilMs([this] { return boolean("DATALOG.PRT_OS.ONE_SHOT") == 1; }, 10000));
    EXPECT_EQ(TREND_DLOG_internal.RUN_STATE, 0u);
    int on = 0;
    for (int k = 0; k < 500 && boolean("DATALOG.PRT_OS.ONE_SHOT") == 1; ++k, ++on) runPasses(R10, 1);
    EXPECT_EQ(on, 401);  // 0.01 summed 400 times stays below 4.0
    EXPECT_TRUE(logExists("TREND_DLOG1.log"));
    EXPECT_EQ(integer("DATALOG.CNTATOI.OUT_1"), 1);
    EXPECT_EQ(integer("DATALOG.NEXT_INDEX.I_ADD"), 2);
    // Collection started again while the pulse was ending.
    EXPECT_TRUE(untilMs(collecting, 2000));
    const dl_test::LogFile f = dl_test::parse(readLog("TREND_DLOG1.log"));
    const dl_test::Var* trip = f.find("DATALOG.TURB_TRIP.B_NAME");
    const dl_test::Var* logged = f.find("DATALOG.SPEED.A_NAME");
    ASSERT_NE(trip, nullptr);
    ASSERT_NE(logged, nullptr);
    ASSERT_GT(trip->count, 100);
    EXPECT_EQ(trip->samples.front(), 0.0);
    EXPECT_EQ(trip->samples.back(), 1.0) << "the log holds the trip";
    for (double v : logged->samples) ASSERT_EQ(v, speed);
}

}  // namespace
