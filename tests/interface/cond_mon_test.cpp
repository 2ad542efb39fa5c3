// Condition monitoring through real passes: starts, trips and overspeed
// trips counted, saved to the NV condition log by the 80 ms snapshot and
// its writer task, reloaded after each save and after a restart; the
// periodic save; run hours; the operator's rewrite of the counts.
#include <cmath>
#include <string>

#include "app/control/control_slices.h"
#include "app/discrete/discrete_slices.h"
#include "app/interface/interface_slices.h"
#include "runtime/tune_side_effects.h"
#include "storage/nvlog.h"
#include "tests/support/app_harness.h"

namespace {

constexpr int R10 = 0, R80 = 3, R160 = 4;
// Passes of the 160 ms group per second, rounded up.
constexpr uint32_t kPerSecond = 7;

bool g_defaulted = false;
void tunableDefaultsOnce() {
    if (g_defaulted) return;
    g_defaulted = true;
    tc_test::loadTunableDefaults();
}

class CondMon : public tc_test::AppHarness {
protected:
    void start() {
        g_defaulted = false;
        useSlices(R10, {tunableDefaultsOnce});
        useSlices(R80, {_R80_TASK_18});
        useSlices(R160, {_R160_TASK_29, _R160_TASK_30, _R160_TASK_31, _R160_TASK_32, _R160_TASK_81, _R160_TASK_82});
        startApp();
    }
    // Past the power-up window and the reload that follows it.
    void settle() {
        runPasses(R160, 12 * kPerSecond);
        ASSERT_EQ(boolean("COND_MON.PWRUPOS.ONE_SHOT"), 0u);
    }
    void seconds(double s) { runPasses(R160, static_cast<uint32_t>(std::ceil(s / 0.16))); }
    // A service write of the cell, with the after-write hook the service side runs.
    void serviceWrite(const std::string& name, double v) {
        setCell(name, v);
        special_case_tune(cell(name));
    }
    void trip(bool on) { setCell("DATALOG.TURB_TRIP.B_NAME", on ? 1 : 0); }
    int32_t writes() { return integer("COND_MON.NV_MEM_LOG.COUNT"); }
};

TEST_F(CondMon, CountsAreSavedAfterATripAndSurviveARestart) {
    start();
    settle();
    EXPECT_EQ(writes(), 0);
    setCell("CNFG_START.IDLE_1_SP.A_NAME", 1000);  // idle 1 as configured
    setCell("DATALOG.SPEED.A_NAME", 3000);
    setCell("IFACE_OUT_VLV.LSS_OUT.A_NAME", 80);  // above both load levels
    setCell("START.STARTED.LATCH", 1);
    seconds(2);
    EXPECT_EQ(real("COND_MON.STRT_TURB.A_NAME"), 1.0f);
    setCell("SHUTDOWNS.ANY.SEL_3", 1);
    trip(true);
    seconds(0.5);
    EXPECT_EQ(writes(), 0) << "the save waits a second after the trip";
    seconds(3);
    EXPECT_EQ(writes(), 1);
    EXPECT_EQ(real("COND_MON.SD_NUM.A_NAME"), 1.0f);
    EXPECT_EQ(real("COND_MON.SDLOAD1_NUM.A_NAME"), 1.0f);
    EXPECT_EQ(real("COND_MON.SDLOAD2_NUM.A_NAME"), 1.0f);
    EXPECT_EQ(real("COND_MON.OSPD_NUM.A_NAME"), 1.0f);
    EXPECT_EQ(real("COND_MON.NV_MEM_LOG.OUT_1"), 1.0f);
    EXPECT_EQ(real("COND_MON.NV_MEM_LOG.OUT_11"), 1.0f);
    // The reload after the save keeps the counts.
    seconds(12);
    EXPECT_EQ(real("COND_MON.STRT_TURB.A_NAME"), 1.0f);
    EXPECT_EQ(real("COND_MON.SD_NUM.A_NAME"), 1.0f);

    stopApp();
    start();
    EXPECT_EQ(real("COND_MON.STRT_TURB.A_NAME"), 0.0f);
    settle();
    EXPECT_EQ(writes(), 1) << "the write count comes back from the log";
    EXPECT_EQ(real("COND_MON.STRT_TURB.A_NAME"), 1.0f);
    EXPECT_EQ(real("COND_MON.SD_NUM.A_NAME"), 1.0f);
    EXPECT_EQ(real("COND_MON.SDLOAD1_NUM.A_NAME"), 1.0f);
    EXPECT_EQ(real("COND_MON.SDLOAD2_NUM.A_NAME"), 1.0f);
    EXPECT_EQ(real("COND_MON.OSPD_NUM.A_NAME"), 1.0f);
    // A second start counts on from the stored one.
    setCell("START.STARTED.LATCH", 1);
    seconds(1);
    EXPECT_EQ(real("COND_MON.STRT_TURB.A_NAME"), 2.0f);
}

// The start latch that the start counter, the data log and the interface
// see: set by the start pulse, reset at idle (idle/rated starts only), at
// minimum governor or by a shutdown; the pulse wins over a reset.
TEST_F(CondMon, StartLatchIsSetByThePulseAndResetBySpeedOrShutdown) {
    start();
    settle();
    struct Row {
        int idleRated, atIdle, atMin, shutdown;
        bool resets;
    };
    const Row rows[] = {
        {0, 0, 0, 0, false}, {1, 0, 0, 0, false}, {0, 1, 0, 0, false},  // idle counts only for idle/rated
        {1, 1, 0, 0, true},  {0, 0, 1, 0, true},  {0, 0, 0, 1, true},
    };
    const char* shown[] = {"START.STARTED.LATCH", "IFACE_OUT_START.STARTING.B_NAME", "DATALOG.TURB_START.B_NAME",
                           "COND_MON.START.B_NAME"};
    const auto inputs = [this](const Row& r) {
        setCell("CONF_VAL_1.IDLE_RTD.B_NAME", r.idleRated);
        setCell("MPU.SPD_GTEQ_IDL.OR", r.atIdle);
        setCell("MPU.SPD_GTEQ_MIN.OR", r.atMin);
        setCell("IFACE_IN_START.ANY_SD.B_NAME", r.shutdown);
    };
    for (const Row& r : rows) {
        const std::string what = "idle/rated " + std::to_string(r.idleRated) + " at idle " +
                                 std::to_string(r.atIdle) + " at min " + std::to_string(r.atMin) + " sd " +
                                 std::to_string(r.shutdown);
        inputs({0, 0, 0, 0, false});
        setCell("START.PULSE.ONE_SHOT", 1);
        runPasses(R160, 2);
        setCell("START.PULSE.ONE_SHOT", 0);
        runPasses(R160, 2);
        for (const char* c : shown) EXPECT_EQ(boolean(c), 1u) << c << " after the pulse, " << what;
        inputs(r);
        runPasses(R160, 2);
        for (const char* c : shown) EXPECT_EQ(boolean(c), r.resets ? 0u : 1u) << c << ", " << what;
        setCell("START.PULSE.ONE_SHOT", 1);
        runPasses(R160, 2);
        EXPECT_EQ(boolean("START.STARTED.LATCH"), 1u) << "the pulse wins, " << what;
        setCell("START.PULSE.ONE_SHOT", 0);
        runPasses(R160, 2);
    }
    inputs({0, 0, 0, 1, true});
    runPasses(R160, 2);
}

TEST_F(CondMon, TwoTripsWithinOneSecondCountOnceAndATripBelowIdleDoesNotSave) {
    start();
    settle();
    setCell("CNFG_START.IDLE_1_SP.A_NAME", 1000);  // idle 1 as configured
    setCell("DATALOG.SPEED.A_NAME", 999);
    setCell("IFACE_OUT_VLV.LSS_OUT.A_NAME", 0);
    for (int k = 0; k < 2; ++k) {
        trip(true);
        seconds(0.32);
        trip(false);
        seconds(0.32);
    }
    seconds(3);
    EXPECT_EQ(real("COND_MON.SD_NUM.A_NAME"), 1.0f);
    EXPECT_EQ(real("COND_MON.SDLOAD1_NUM.A_NAME"), 0.0f);
    EXPECT_EQ(writes(), 0);
    trip(true);
    seconds(3);
    EXPECT_EQ(real("COND_MON.SD_NUM.A_NAME"), 2.0f);
    EXPECT_EQ(writes(), 0);
}

TEST_F(CondMon, PeriodicSaveRepeatsWithAThresholdOfAQuarterHour) {
    start();
    setCell("COND_MON.RSTNVTRIG.IN_2", 0.25);
    // 0.25 h and 0.5 h after start, and not a third time before 0.75 h.
    seconds(0.25 * 3600 - 5);
    EXPECT_EQ(writes(), 0);
    seconds(10);
    EXPECT_EQ(writes(), 1);
    seconds(0.25 * 3600);
    EXPECT_EQ(writes(), 2);
    seconds(0.2 * 3600);
    EXPECT_EQ(writes(), 2);
}

TEST_F(CondMon, ARequestDuringThePowerUpWindowIsDroppedUntilItFalls) {
    start();
    setCell("COND_MON.SAVE.IN_4", 1);
    settle();
    EXPECT_EQ(writes(), 0);
    setCell("COND_MON.SAVE.IN_4", 0);
    seconds(0.5);
    setCell("COND_MON.SAVE.IN_4", 1);
    seconds(2);
    EXPECT_EQ(writes(), 1);
}

TEST_F(CondMon, StoredCountsReloadTruncated) {
    start();
    settle();
    setCell("COND_MON.NV_MEM_LOG.OUT_1", 12.7);
    setCell("COND_MON.NV_MEM_LOG.OUT_3", -3.9);
    setCell("COND_MON.RSET.IN_4", 1);
    seconds(1);
    EXPECT_EQ(integer("COND_MON.RST_1.OUT_1"), 12);
    EXPECT_EQ(real("COND_MON.STRT_TURB.A_NAME"), 12.0f);
    EXPECT_EQ(real("COND_MON.SD_NUM.A_NAME"), -3.0f);
}

TEST_F(CondMon, RunHoursAddToTheStoredHoursOnlyWhileRunningAboveMinimumGovernor) {
    start();
    settle();
    setCell("COND_MON.NV_MEM_LOG.OUT_6", 5.0);
    setCell("COND_MON.NV_MEM_LOG.OUT_7", 2.0);
    setCell("COND_MON.RSET.IN_4", 1);
    seconds(0.5);
    setCell("COND_MON.RSET.IN_4", 0);
    setCell("CNFG_SETPT.MIN_GOV.A_NAME", 2000);
    setCell("DATALOG.SPEED.A_NAME", 2000);
    setCell("IFACE_OUT_VLV.LSS_OUT.A_NAME", 0);  // below load level 1
    seconds(36);
    const float h = real("COND_MON.TRUNCALC.CALCULATE");
    EXPECT_NEAR(h, 5.0f + 36.0f / 3600.0f, 0.5f / 3600.0f);
    EXPECT_EQ(real("COND_MON.TRUNLDCALC.CALCULATE"), 2.0f);
    EXPECT_EQ(integer("COND_MON.RIHOURS.OUT_1"), 5);
    EXPECT_EQ(real("COND_MON.TRUNHRS.A_NAME"), 5.0f);
    EXPECT_EQ(real("COND_MON.TRUN_HMS.HOUR"), 5.0f);
    EXPECT_EQ(real("COND_MON.TRUNMINS.A_NAME"), 0.0f);
    EXPECT_NEAR(real("COND_MON.TRUN_HMS.SEC"), 36.0f, 1.0f);
    // Below minimum governor, or with counting off, the hours stand.
    setCell("DATALOG.SPEED.A_NAME", 1999);
    seconds(10);
    EXPECT_NEAR(real("COND_MON.TRUNCALC.CALCULATE"), h, 0.2f / 3600.0f);
    setCell("DATALOG.SPEED.A_NAME", 2500);
    setCell("COND_MON.TURB_RUN.IN_2", 0);
    seconds(10);
    EXPECT_NEAR(real("COND_MON.TRUNCALC.CALCULATE"), h, 0.2f / 3600.0f);
}

TEST_F(CondMon, RewriteStoresTheEnteredCountsAndHours) {
    start();
    settle();
    setCell("COND_MON.PRIORCNT1.IN_1", 42);
    setCell("COND_MON.PRIORCNT11.IN_1", 3);
    setCell("COND_MON.TRUNSET.IN", 1234.5);
    setCell("OSPD.SPEED_HOLD.HSS_BUS", 3300);
    seconds(1);
    EXPECT_EQ(real("COND_MON.PEAKSPD_GUI.A_MAX"), 3300.0f);
    serviceWrite("COND_MON.REWRITE_NV_CMD.IN_1", 1);
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
    EXPECT_EQ(real("COND_MON.PEAK_SPD.A_SW"), 3300.0f);
}

}  // namespace
