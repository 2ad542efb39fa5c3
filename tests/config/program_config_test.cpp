// The I/O configuration, the trip relay and the condition monitor through
// the program's own slice table, driven only by its inputs: the board and
// the speed sensors, the I/O lock, tunables written as the service tool
// writes them and the tunables file over a restart.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "host/board.h"
#include "host/speed_sensor_model.h"
#include "platform/vkiobus.h"
#include "runtime/sysinfo.h"
#include "storage/eefile.h"
#include "tests/support/app_harness.h"

namespace {

constexpr int R10 = 0, R160 = 4;
constexpr uint32_t kPassesPerHour = 22500;  // 160 ms passes

class Program : public tc_test::AppHarness {
protected:
    void SetUp() override {
        const auto& program = tc_test::programSliceTable();
        AppHarness::SetUp();
        board::reset();
        // Its settings go in while the control runs, in larger steps than the
        // service tool accepts then: not yet entered in the tool's steps or in
        // configure mode.
        checkSteps(false);
        UnAssert_IOLOCK();
        for (int g = 0; g < kNumRateGroups; ++g) useSlices(g, program[g]);
    }
    void TearDown() override {
        AppHarness::TearDown();
        UnAssert_IOLOCK();
    }
    void seconds(double s) { runPasses(R160, static_cast<uint32_t>(std::ceil(s / 0.16))); }
    // The I/O lock, taken once the platform allows it.
    void lock() {
        for (int p = 0; p < 100 && _SYS_INFO_LOCK_PER != 1; ++p) runPasses(R10, 1);
        Assert_IOLOCK();
        ASSERT_EQ(Query_IOLOCK(), 1u);
    }
    // Leaves configure mode with the service tool's exit command (which saves
    // the tunables file), then releases the lock.
    void unlock() {
        serviceWrite("MASTER.COMMANDS.IN_3", 1);
        for (int p = 0; p < 8 && boolean("MASTER.LOCK_IO.LATCH") != 0; ++p) runPasses(R160, 1);
        ASSERT_EQ(boolean("MASTER.LOCK_IO.LATCH"), 0u);
        UnAssert_IOLOCK();
    }
    uint32_t relayOne() { return board::relaysEnergised() & 1u; }
    // Relay 1's output as its function and inversion give it.
    uint32_t relayOneExpected(int function, uint32_t inverted) {
        const uint32_t state = function == 1 ? boolean("SHUTDOWNS.ANY.LATCH_AE") : boolean("SHUTDOWNS.RELY_NOT.NOT");
        return state ^ inverted;
    }
};

// Relay 1 (the trip relay) follows its stored function and inversion from
// the start: the sampled function is in force in the first pass and the
// inversion latches in the power-up window; outside the window and the lock
// the inversion holds.
TEST_F(Program, RelayOneFollowsItsStoredFunctionAndInversionAfterARestart) {
    board::wireRelayReadbacks(true);
    startApp();
    EXPECT_EQ(integer("CNFG_BO.RLY_FUNCTION.SAMP_ITUNE"), 2) << "the default in the first pass";
    EXPECT_EQ(boolean("CNFG_BO.RLY_USED.GT"), 1u);
    seconds(8);  // past the power-up windows
    EXPECT_EQ(boolean("ORVEX12_IO.IOLOCK_PWRUP.OR"), 0u);
    EXPECT_EQ(text("CNFG_BO.RLY_FUN_STRG1.I_TO_STR"), "Summary Shutdown");
    EXPECT_EQ(boolean("CNFG_BO.INVERTED.LATCH"), 0u);
    EXPECT_EQ(relayOne(), relayOneExpected(2, 0));
    EXPECT_EQ(integer("CNFG_BO.RLY02_FDBK.MSG_SEL"), static_cast<int32_t>(relayOne()));
    EXPECT_EQ(text("CNFG_BO.RLY02_FDBK.B_TO_STR"), relayOne() ? " Energized " : " De-energized ");

    // An inversion entered outside the lock waits for it.
    serviceWrite("CNFG_BO.INVERT_RELAY.IN", 1);
    seconds(1);
    EXPECT_EQ(boolean("CNFG_BO.INVERTED.LATCH"), 0u);
    // Under the lock and with adjustment allowed: function 1 and the inversion.
    serviceWrite("CALMODE.ADJUSTOK.IN_2", 1);
    serviceWrite("CNFG_BO.RLY_FUNCT.IN", 1);
    lock();
    seconds(3);
    EXPECT_EQ(boolean("ORVEX12_IO.IOLOCK_PWRUP.OR"), 1u);
    EXPECT_EQ(integer("CNFG_BO.RLY_FUNCTION.SAMP_ITUNE"), 1);
    EXPECT_EQ(integer("CNFG_BO.RLY_FUNCTION.TUNE"), 1);
    EXPECT_EQ(boolean("CNFG_BO.INVERTED.LATCH"), 1u);
    EXPECT_EQ(boolean("CNFG_BO.INV_INH.B_ACTION"), 1u);
    serviceWrite("CALMODE.ADJUSTOK.IN_2", 0);
    unlock();
    seconds(5);  // the tunables file is written
    EXPECT_EQ(relayOne(), relayOneExpected(1, 1));

    stopApp();
    board::reset();
    board::wireRelayReadbacks(true);
    startApp();
    EXPECT_EQ(integer("CNFG_BO.RLY_FUNCTION.SAMP_ITUNE"), 1) << "the stored function in the first pass";
    EXPECT_EQ(text("CNFG_BO.RLY_FUN_STRG1.I_TO_STR"), "--- Not Used ---");
    seconds(1);
    EXPECT_EQ(boolean("ORVEX12_IO.IOLOCK_PWRUP.OR"), 1u) << "the power-up window";
    EXPECT_EQ(boolean("CNFG_BO.INVERTED.LATCH"), 1u) << "the stored inversion";
    seconds(7);
    EXPECT_EQ(boolean("ORVEX12_IO.IOLOCK_PWRUP.OR"), 0u);
    runPasses(R10, 3);
    EXPECT_EQ(relayOne(), relayOneExpected(1, 1));
    EXPECT_EQ(boolean("CNFG_BO.RELAY_1.RDBK_FAULT"), 0u);
    // Outside the window the inversion holds whatever is entered...
    serviceWrite("CNFG_BO.INVERT_RELAY.IN", 0);
    seconds(2);
    EXPECT_EQ(boolean("CNFG_BO.INVERTED.LATCH"), 1u);
    EXPECT_EQ(boolean("CNFG_BO.ENBL_RST.AND"), 0u);
    // ...and follows it under the lock.
    lock();
    seconds(3);
    EXPECT_EQ(boolean("CNFG_BO.ENBL_RST.AND"), 1u);
    EXPECT_EQ(boolean("CNFG_BO.INVERTED.LATCH"), 0u);
    EXPECT_EQ(integer("CNFG_BO.RLY_FUNCTION.SAMP_ITUNE"), 1) << "no sample without adjustment allowed";
}

// The cascade configuration: the input's function is taken into the
// configuration list only in the window (power-up or the I/O lock), while
// the interface copy and the droop flag follow their settings every pass.
TEST_F(Program, CascadeInputIsSampledInTheWindowAndTheDroopFlagFollowsEveryPass) {
    startApp();
    seconds(8);  // past the power-up window
    EXPECT_EQ(integer("CNFG_CASC.CONFIG_I.LIST_1"), 1) << "the stored input, taken at power-up";
    EXPECT_EQ(boolean("CNFG_CASC.NO_DROOP.B_NAME"), 1u);
    serviceWrite("CNFG_CASC.INPUT.I_NAME", 3);
    serviceWrite("CNFG_CASC.DROOP.A_NAME", 2.5);
    serviceWrite("CNFG_CASC.RMT_MAX_RATE.A_NAME", 7.5);
    seconds(0.32);
    EXPECT_EQ(integer("IFACE_IN_CASC.CASC_INPUT_INT.I_NAME"), 3);
    EXPECT_EQ(real("IFACE_IN_CASC.RMT_RATE.A_NAME"), 7.5f) << "the remote setpoint's rate";
    EXPECT_EQ(boolean("CNFG_CASC.NO_DROOP.B_NAME"), 0u);
    seconds(2);
    EXPECT_EQ(integer("CNFG_CASC.CONFIG_I.LIST_1"), 1) << "held outside the window";
    lock();
    seconds(0.32);
    EXPECT_EQ(integer("CNFG_CASC.CONFIG_I.LIST_1"), 3);
    serviceWrite("CNFG_CASC.DROOP.A_NAME", 0.0);
    seconds(0.32);
    EXPECT_EQ(boolean("CNFG_CASC.NO_DROOP.B_NAME"), 1u);
    unlock();
    seconds(3);
    serviceWrite("CNFG_CASC.INPUT.I_NAME", 4);
    seconds(0.32);
    EXPECT_EQ(integer("CNFG_CASC.CONFIG_I.LIST_1"), 3) << "held again once the window closed";
}

// The acceleration hold: reset by the power-up reset pulse, then it keeps
// the largest acceleration until its reset setting is on, and takes up
// again when the setting goes off.
TEST_F(Program, AccelerationHoldIsResetAtPowerUpAndByItsSetting) {
    speedsensor::install();
    startApp();
    uint32_t reset_seen = 0, speed_hold_reset_seen = 0;
    for (int p = 0; p < 60; ++p) {
        runPasses(R160, 1);
        reset_seen |= boolean("ACCEL.RST_HOLD.OR");
        speed_hold_reset_seen |= boolean("OSPD.RST_HOLD.OR");
    }
    EXPECT_EQ(reset_seen, 1u) << "the power-up reset pulse";
    EXPECT_EQ(speed_hold_reset_seen, 1u) << "the overspeed test's speed hold too";
    EXPECT_EQ(boolean("ACCEL.RST_HOLD.OR"), 0u);
    EXPECT_EQ(real("ACCEL.MAX_RATE.A_NAME"), 0.0f);
    speedsensor::setShaftSpeed(0, 3600, 60);
    speedsensor::setShaftSpeed(1, 3600, 60);
    seconds(3);
    const float held = real("ACCEL.MAX_RATE.A_NAME");
    EXPECT_GT(held, 1000.0f) << "the run-up's acceleration is held";
    EXPECT_LT(std::fabs(real("ACCEL.ACCEL_PV.A_NAME")), 10.0f) << "at a steady speed";
    seconds(1);
    EXPECT_EQ(real("ACCEL.MAX_RATE.A_NAME"), held);
    serviceWrite("ACCEL.RST_HOLD.IN_3", 1);
    seconds(0.5);
    EXPECT_EQ(boolean("ACCEL.RST_HOLD.OR"), 1u);
    EXPECT_LT(real("ACCEL.MAX_RATE.A_NAME"), 10.0f);
    serviceWrite("ACCEL.RST_HOLD.IN_3", 0);
    seconds(0.5);
    // Speed sensor 2 is not in use: its run-up alone is no acceleration.
    speedsensor::setShaftSpeed(1, 3700, 60);
    seconds(2);
    EXPECT_LT(real("ACCEL.MAX_RATE.A_NAME"), 10.0f) << "sensor 2 not in use";
    speedsensor::setShaftSpeed(0, 3700, 60);
    seconds(2);
    EXPECT_GT(real("ACCEL.MAX_RATE.A_NAME"), 10.0f) << "held again";
    EXPECT_LT(real("ACCEL.MAX_RATE.A_NAME"), held);
}

// Settings published as lists and copies: the remote analog node's lists
// (channels 1-8, then constants), the alarm override and delay lists, the
// wizard's function numbers and the forcing rate, the actuator scaling.
TEST_F(Program, SettingsArePublishedInTheirListsAndCopies) {
    startApp();
    serviceWrite("_ub33.QT_DECIMALS.IN", 3);
    serviceWrite("_ub33.AI_MOD_X.IN", 5);
    serviceWrite("ALARMS.ALM_OVRDS.IN_76", 1);
    serviceWrite("ALARMS.ALM_OVRDS.IN_99", 1);
    serviceWrite("ALARMS.ALM_DELAYS.IN_83", 12.5);
    serviceWrite("ALARMS.ALM_DELAYS.IN_100", 7.0);
    serviceWrite("CNFG_AI.WIZFUN_AI_CH3.IN", 9);
    serviceWrite("CNFG_AO.WIZFUN_AO_CH2.IN", 4);
    serviceWrite("CNFG_AO.AO_FORCE_RATE.IN", 2.5);
    runPasses(R160, 70);  // past the texts' slices
    const struct {
        const char* cell;
        double value;
    } expected[] = {
        {"VLTR_OUTS.VL_AI_FUNCT.LIST_1", 1},   {"VLTR_OUTS.VL_AI_FUNCT.LIST_9", 0},
        {"VLTR_OUTS.VL_AI_FUNCT.LIST_16", 0},  {"VLTR_OUTS.VL_AI_MAXS.LIST_1", 100.0},
        {"VLTR_OUTS.VL_AI_MAXS.LIST_8", 100.0}, {"VLTR_OUTS.VL_AI_MAXS.LIST_9", 1.0},
        {"VLTR_OUTS.VL_AI_MINS.LIST_1", 0.0},   {"VLTR_OUTS.VL_AI_MINS.LIST_16", 0.0},
        {"VLTR_OUTS.VL_AI_MODMULT.LIST_1", 100.0}, {"VLTR_OUTS.VL_AI_MODMULT.LIST_12", 1.0},
        {"VLTR_OUTS.VL_AI_DECIM.LIST_1", 3},    {"VLTR_OUTS.VL_AI_DECIM.LIST_2", 1},
        {"VLTR_OUTS.VL_AI_DECIM.LIST_10", 1},   {"ALARMS.ALM_OVRDS.LIST_76", 1},
        {"ALARMS.ALM_OVRDS.LIST_77", 0},        {"ALARMS.ALM_OVRDS.LIST_99", 1},
        {"ALARMS.ALM_DELAYS.LIST_83", 12.5},    {"ALARMS.ALM_DELAYS.LIST_100", 7.0},
        {"CNFG_AI.WIZFUN_AI_CH3.I_NAME", 9},    {"CNFG_AO.WIZFUN_AO_CH2.I_NAME", 4},
        {"CNFG_AO.AO_FORCE_RATE.A_NAME", 2.5},  {"_ub10.FORCE_RATE.A_NAME", 2.5},
        {"CNFG_ACT.RANGE1.SUBTRACT", 16.0},     {"CNFG_ACT.MA_TO_DEC.DIVIDE", 0.0},
        {"CNFG_ACT.MA_TO_PCT.MULTIPLY", 0.0},
    };
    for (const auto& e : expected) {
        char type = 0;
        void* p = cell(e.cell, &type);
        ASSERT_NE(p, nullptr) << e.cell;
        const double got = type == 'A' ? *static_cast<float*>(p) : type == 'I' ? *static_cast<int32_t*>(p)
                                                                                : *static_cast<uint32_t*>(p);
        EXPECT_EQ(got, e.value) << e.cell;
    }
    EXPECT_EQ(text("VLTR_OUTS.VL_AI_UNITS.LIST_1"), text("_ub33.ENG_UNIT.S_NAME"));
    EXPECT_EQ(text("VLTR_OUTS.VL_AI_UNITS.LIST_9"), "1");
    EXPECT_EQ(text("VLTR_OUTS.VL_AI_UNITS.LIST_16"), "1");
}

// A turbine that stays tripped above idle: the trip is saved once, the
// periodic saves follow at 2 and 3 hours (the first after the threshold of
// 2 h, the later ones every hour), and the run-time displays
// show the hours run at or above minimum governor.
TEST_F(Program, TripAtSpeedIsSavedOnceAndThePeriodicSavesFollow) {
    speedsensor::install();
    startApp();
    seconds(15);
    ASSERT_EQ(boolean("DATALOG.TURB_TRIP.B_NAME"), 1u) << "the unit starts tripped";
    EXPECT_EQ(integer("COND_MON.NV_MEM_LOG.COUNT"), 0);
    // The tripped turbine is brought above idle and stays there.
    speedsensor::setShaftSpeed(0, 3600, 60);
    speedsensor::setShaftSpeed(1, 3600, 60);
    seconds(0.8);
    ASSERT_EQ(boolean("COND_MON.ABV_MIN.A_COMPARE"), 1u);
    EXPECT_EQ(integer("COND_MON.NV_MEM_LOG.COUNT"), 0) << "the save waits a second";
    seconds(2);
    EXPECT_EQ(integer("COND_MON.NV_MEM_LOG.COUNT"), 1) << "the trip's save";
    EXPECT_EQ(boolean("COND_MON.SAVE.OR"), 0u) << "the trip's request ends with its save";
    EXPECT_EQ(boolean("COND_MON.WAIT4COUNT.DELAY"), 1u);
    // Half an hour either side of each save: after 1.5 h the trip's save
    // alone, then one more every hour.
    runPasses(R160, kPassesPerHour + kPassesPerHour / 2 - 117);
    for (int32_t saves = 1; saves <= 3; ++saves) {
        EXPECT_EQ(integer("COND_MON.NV_MEM_LOG.COUNT"), saves) << "after " << saves + 0.5 << " h";
        if (saves < 3) runPasses(R160, kPassesPerHour);
    }
    EXPECT_EQ(boolean("DATALOG.TURB_TRIP.B_NAME"), 1u);
    EXPECT_EQ(real("COND_MON.TRUNHRS.A_NAME"), 3.0f);
    EXPECT_EQ(real("COND_MON.TRUN_HMS.HOUR"), 3.0f);
    EXPECT_GE(real("COND_MON.TRUN_HMS.MIN"), 28.0f);
    EXPECT_LE(real("COND_MON.TRUN_HMS.MIN"), 30.0f);
    EXPECT_EQ(real("COND_MON.TRUNMINS.A_NAME"), real("COND_MON.TRUN_HMS.MIN"));
    EXPECT_EQ(real("COND_MON.TRUN_HMS.DAY"), 1.0f) << "a date since 1970";
    EXPECT_EQ(real("COND_MON.TRUN_HMS.YEAR"), 1970.0f);
    EXPECT_EQ(static_cast<float>(reinterpret_cast<TimeCell*>(cell("COND_MON.TRUNTOTIME.A_TO_T"))->sec),
              std::trunc(real("COND_MON.TRUNCVTBK.MULTIPLY")));
    // No load: the load-level hours stay at zero.
    EXPECT_EQ(real("COND_MON.TRUNLD_HMS.HOUR"), 0.0f);
    EXPECT_EQ(real("COND_MON.TRUNLDMINS.A_NAME"), 0.0f);
    EXPECT_EQ(real("COND_MON.TRUNLD_HMS.DAY"), 1.0f);
}

}  // namespace
