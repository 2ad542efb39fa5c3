// The outputs every block of a kind carries, seen on the whole program
// through a power-up, a start and a trip: the remaining time of one-shots
// and delays, the action blocks' ACT_OUT with their timer outputs, the
// comparators' A_EQUAL and the run-time ramp's position and motion.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "host/turbine_model.h"
#include "runtime/catalogue_tables.h"
#include "tests/support/ref_rig.h"

using namespace ref_test;

namespace {

class BlockOutputs : public RefRig {};

// An action block: its qualifier and, for the kinds that run no timer, an
// elapsed and a remaining time of 0.
struct ActionFacts {
    const char* block;
    int32_t act_out;
};
const ActionFacts kActions[] = {
    {"CRIT_SPD.FRC_TOMIN", 1},   {"SPDC.A00_C2", 1},       {"RCTRL.B00_C1", 1},      {"HPLM.A00_C2", 1},
    {"HP_LIMTER.CLS_LTCH_D", 2}, {"OSPD.OSPD_DMD_INT", 2}, {"SPEED_SIM.ENA_SIM", 2}, {"AUTO_SEQ.BI_ON", 5},
    {"IDLE_RATE.CMD_OFF", 5},    {"HP_LIMTER.PLS_LW", 5},  {"CNFG_BO.INV_INH", 1},   {"SHUTDOWNS.SD1_RST", 5},
    {"RESET.RST_M1", 5},         {"AUTO_SEQ.START", 5},    {"RMT_ENBL.BI_OFF", 5},   {"CNTRL_STOP.BI_ON", 5},
    {"AUTO_SEQ.PLS_SEQ_OF", 5},  {"UNIT_DEMO.ENA_DEMO", 2},
};

}  // namespace

TEST_F(BlockOutputs, TimersActionsComparatorsAndTheRunTimeRampShowTheirKindsOutputs) {
    turbine::enable();
    startApp();
    enterSettings(true, true, {{"CNFG_SETPT.QT_CRIT_SPD_1_MIN.IN", kIdle}});

    // The front panel's 5 s power-up window: its remaining whole seconds
    // count down from 4 (truncated), each whole second lasting 6 or 7 passes
    // of 0.16 s, and are 0 in the last second and once the window has ended.
    std::vector<int32_t> left;
    runPasses(R160, 1);
    while (boolean("ORVEX12_IO.PWRUP_OS.ONE_SHOT") == 1u && left.size() < 40) {
        left.push_back(integer("ORVEX12_IO.PWRUP_OS.R_TIME"));
        runPasses(R160, 1);
    }
    ASSERT_GE(left.size(), 30u);
    EXPECT_LE(left.size(), 32u);
    EXPECT_EQ(left.front(), 4);
    EXPECT_EQ(left.back(), 0);
    for (int32_t second = 3; second >= 1; --second)
        EXPECT_TRUE(std::count(left.begin(), left.end(), second) == 6 ||
                    std::count(left.begin(), left.end(), second) == 7)
            << second;
    EXPECT_TRUE(std::is_sorted(left.rbegin(), left.rend()));
    EXPECT_EQ(integer("ORVEX12_IO.PWRUP_OS.R_TIME"), 0);

    runPasses(R160, 20);
    clearTrip();
    ASSERT_TRUE(runUntil([&] { return ready(); }, 50));

    // Action blocks: ACT_OUT is the qualifier; no timer runs.
    for (const ActionFacts& a : kActions) {
        const std::string b = a.block;
        EXPECT_EQ(integer(b + ".ACT_OUT"), a.act_out) << b;
        EXPECT_EQ(real(b + ".E_TIME"), 0.0f) << b;
        EXPECT_EQ(real(b + ".R_TIME"), 0.0f) << b;
    }
    // The controller's idle time as a real, which its 10 s average takes.
    EXPECT_EQ(real("MASTER.I_TO_AN.OUT_1"), static_cast<float>(integer("_MASTER._SYS_INFO.IDLE_TIME")));
    EXPECT_GT(real("MASTER.I_TO_AN.OUT_1"), 0.0f);
    // Comparators: the critical band's low end equal to idle.
    EXPECT_EQ(boolean("CNFG_CHECK.LOW_LIM_1.A_EQUAL"), 1u);
    EXPECT_EQ(boolean("CNFG_CHECK.LOW_LIM_1.A_COMPARE"), 1u);
    EXPECT_EQ(boolean("CNFG_CHECK.IDLE_ER.A_EQUAL"), 0u);
    EXPECT_EQ(boolean("SPD_REF.CP_DEV.A_EQUAL"), 0u);

    // Waiting for a start: the run-time ramp holds with no position chosen;
    // the limiter chart's off-delay is on with nothing to time.
    EXPECT_EQ(integer("START.MINUTES.POS_SEL"), 0);
    EXPECT_EQ(boolean("START.MINUTES.MOVING_UP"), 0u);
    EXPECT_EQ(boolean("HPLM.DLY.DELAY"), 1u);
    EXPECT_EQ(integer("HPLM.DLY.R_TIME"), 0);

    // The start: the ramp rises toward its top (position 2); the limiter
    // chart leaves its first step and the 2 s off-delay runs out.
    startCommand();
    ASSERT_TRUE(runUntil([&] { return boolean("HPLM.A00_STEP.SFC_STEP") == 0u; }, 100));
    runPasses(R160, 1);
    EXPECT_EQ(integer("START.MINUTES.POS_SEL"), 2);
    EXPECT_EQ(boolean("START.MINUTES.MOVING_UP"), 1u);
    EXPECT_EQ(boolean("START.MINUTES.MOVING_DN"), 0u);
    EXPECT_EQ(real("START.MINUTES.REV_RAMP"), 0.0f);
    EXPECT_GT(real("START.MINUTES.RAMP"), 0.0f);
    int seconds_left_one = 0;
    while (boolean("HPLM.DLY.DELAY") == 1u && seconds_left_one < 100) {
        seconds_left_one += integer("HPLM.DLY.R_TIME") == 1;
        runPasses(R160, 1);
    }
    // 2 s less 0.16 s a pass: above one second for six passes, one of them
    // maybe before the count began.
    EXPECT_GE(seconds_left_one, 4);
    EXPECT_LE(seconds_left_one, 6);
    EXPECT_EQ(integer("HPLM.DLY.R_TIME"), 0);

    // A trip sends the ramp back to 0 at once (position 1, nothing moving).
    trip();
    runPasses(R160, 2);
    EXPECT_EQ(integer("START.MINUTES.POS_SEL"), 1);
    EXPECT_EQ(boolean("START.MINUTES.MOVING_UP"), 0u);
    EXPECT_EQ(boolean("START.MINUTES.MOVING_DN"), 0u);
    EXPECT_EQ(real("START.MINUTES.RAMP"), 0.0f);
}

TEST_F(BlockOutputs, AnAnalogOutputsLimitsAndReadbackEnableFollowTheirSettings) {
    start(true, true);
    EXPECT_EQ(real("_ub10.CHAN_HI.A_NAME"), 25.0f);
    EXPECT_EQ(real("_ub10.CHAN_LO.A_NAME"), 0.0f);
    EXPECT_EQ(boolean("_ub12.ENBL_RDBK_FLT.B_NAME"), 1u);
    serviceWrite("_ub10.CHAN_HI.IN", 20.0);
    serviceWrite("_ub10.CHAN_LO.IN", 4.0);
    serviceWrite("_ub12.ENBL_RDBK_FLT.IN", 0);
    runPasses(R160, 2);
    EXPECT_EQ(real("_ub10.CHAN_HI.A_NAME"), 20.0f);
    EXPECT_EQ(real("_ub10.CHAN_LO.A_NAME"), 4.0f);
    EXPECT_EQ(boolean("_ub12.ENBL_RDBK_FLT.B_NAME"), 0u);
    // The 20 ms output stage limits to the new range.
    runPasses(R20, 4);
    EXPECT_GE(real("_ub10.CHAN.A_LIMITER"), 4.0f);
    EXPECT_LE(real("_ub10.CHAN.A_LIMITER"), 20.0f);
}

// Each step of the speed-control chart has its shutdown condition as a
// named cell: 1 through the power-up trip, 0 once the trips are reset, 1
// again after a trip. The condition of the idle level without run-back is
// the idle selection and no run-back together, shown the same way through
// a start to idle; the step to maximum governor likewise.
TEST_F(BlockOutputs, EveryChartStepShowsTheShutdownAndTheIdleConditionItsInputs) {
    std::vector<std::string> conditions;
    for (uint32_t h = 1; h + 1 < num_dbug_hdr; ++h) {
        if (std::string(_dbug_hdr[h].name) != "SPDC") continue;
        for (uint32_t r = _dbug_hdr[h].first; r <= _dbug_hdr[h].last; ++r) {
            const std::string name = _dbug_var[r].name;
            if (name.size() > 9 && name.compare(name.size() - 9, 9, "SD.B_NAME") == 0) conditions.push_back("SPDC." + name);
        }
    }
    ASSERT_EQ(conditions.size(), 12u);
    const auto expectAll = [&](uint32_t v, const char* when) {
        for (const std::string& c : conditions) EXPECT_EQ(boolean(c), v) << c << " " << when;
        EXPECT_EQ(boolean("SPDC.AND_NORB.AND"),
                  boolean("IDLE_RATE.IDLE.AND") & boolean("IDLE_RATE.NO_RBACK.B_NAME")) << when;
    };
    // The reference's step to maximum governor: above it, or the reduced
    // overspeed test not in use.
    const auto expectStepToMaxGov = [&] {
        EXPECT_EQ(boolean("SPDC.STEP_MAXGOV.OR"),
                  boolean("SPDC.SR_OVR_MXG.A_COMPARE") | boolean("OSPD.NOT_REDUCED.NOT"));
    };
    turbine::enable();
    startApp();
    enterSettings(true, true);
    runPasses(R160, 20);
    ASSERT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    expectAll(1u, "power-up trip");
    clearTrip();
    ASSERT_TRUE(runUntil([&] { return ready(); }, 50));
    expectAll(0u, "ready");
    expectStepToMaxGov();
    EXPECT_EQ(boolean("SPDC.STEP_MAXGOV.OR"), 1u);
    // Without the ramp back to idle the idle selection gives the condition.
    serviceWrite("IFACE_IN_START.USE_RAMP_TO_IDLE.IN", 0);
    runPasses(R160, 2);
    expectAll(0u, "no ramp back");
    int idleConditions = 0;
    startCommand();
    for (int pass = 0; pass < 120; ++pass) {
        runPasses(R160, 1);
        expectAll(0u, "start");
        idleConditions += boolean("SPDC.AND_NORB.AND") == 1u;
    }
    EXPECT_GT(idleConditions, 0);
    trip();
    runPasses(R160, 2);
    expectAll(1u, "trip");
}

// The lagged speed the sequence compares with its levels carries its rate of
// change: each 160 ms pass DERIV is the pass's step of the lag over 0.16 s,
// rising while the shaft speeds up and falling once it coasts down after a
// trip. The actuator's function setting, written under the name the
// designer sees, is shown as its named copy and chosen by the function
// switch while no wizard runs; the channel's function itself changes only
// when the configuration is sampled.
TEST_F(BlockOutputs, TheSequencesSpeedLagCarriesItsRateAndTheActuatorItsFunctionSetting) {
    start(true, true);
    EXPECT_EQ(integer("_ub5.FUNCT.I_NAME"), 2);
    EXPECT_EQ(integer("_ub5.ACT_SW.I_SW"), 2);
    const int32_t sampled = integer("_ub5.FUNCT_INT.I_NAME");
    for (int32_t function : {4, 3, 1}) {
        serviceWrite("CNFG_ACT.ACT_01.QT_ACT_FUNCT", function);
        EXPECT_EQ(integer("_ub5.FUNCT.IN"), function);
        runPasses(R160, 1);
        EXPECT_EQ(integer("_ub5.FUNCT.I_NAME"), function);
        EXPECT_EQ(integer("_ub5.ACT_SW.I_SW"), function);
        EXPECT_EQ(integer("_ub5.FUNCT_INT.I_NAME"), sampled);
    }
    serviceWrite("CNFG_ACT.ACT_01.QT_ACT_FUNCT", 2);

    // Every pass of a start and then of a trip: the step of the lag and its
    // rate agree, within the rounding of the stored lag.
    const auto step = [&](int& rising, int& falling) {
        const float before = real("SPDC.LAG_SPEED.LAG_2");
        runPasses(R160, 1);
        const float after = real("SPDC.LAG_SPEED.LAG_2");
        const float rate = real("SPDC.LAG_SPEED.DERIV");
        EXPECT_NEAR(rate * 0.16f, after - before, 1e-3f + 1e-6f * std::abs(after)) << after;
        rising += rate > 1.0f;
        falling += rate < -1.0f;
    };
    int rising = 0, falling = 0;
    startCommand();
    for (int pass = 0; pass < 120; ++pass) step(rising, falling);
    EXPECT_GT(real("SPDC.LAG_SPEED.LAG_2"), 30.0f + 100.0f);
    EXPECT_GT(rising, 40) << real("IFACE_IN_SPEED.SPEED.A_NAME");
    EXPECT_EQ(falling, 0);
    trip();
    rising = falling = 0;
    for (int pass = 0; pass < 400; ++pass) step(rising, falling);
    EXPECT_GT(falling, 20) << real("IFACE_IN_SPEED.SPEED.A_NAME");
}
