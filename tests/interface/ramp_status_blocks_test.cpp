// The speed-side pieces the interface slices carry. On the whole program,
// driven through its inputs: the minimum speed entry and the speed monitor
// lag (the shaft held on the turbine model), the alarm relay slots (an
// external alarm contact), the droop deadband values, the self-powered
// actuator scaling, the second sensor's override during a start and its
// minimum speed check, the suggested process limit from the noise of the
// speed, the override timer and the overspeed test permission with the
// shown rates.
// On the interface slices alone: the cases below their own marks.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "app/control/control_slices.h"
#include "app/control/MPU.cells.h"
#include "app/interface/interface_slices.h"
#include "tests/control_speed/program_rig.h"
#include "tests/interface/program_cases_rig.h"
#include "tests/support/app_harness.h"

namespace {

using pc_test::ProgramCases;

class SpeedPieces : public ProgramCases {
protected:
    static constexpr int P40 = pc_test::R40, P160 = pc_test::R160;
};

// The minimum speed entry: idle under another start mode (the idle/rated
// start) while speed and setpoint are at rest below minimum governor,
// minimum governor under a manual start or with the shaft above it; the
// entry switch wins over both.
TEST_F(SpeedPieces, MinimumEntryIsIdleOnlyBelowMinimumUnderAnotherStartMode) {
    struct Row {
        bool idleRated;
        double shaft;
        int sel2;
        int sel;
        float entry;
    };
    const Row rows[] = {
        {true, 0.0, 0, 1, static_cast<float>(ref_test::kIdle)},
        {false, 0.0, 0, 0, static_cast<float>(ref_test::kMinGov)},
        {true, ref_test::kMinGov + 200.0, 0, 0, static_cast<float>(ref_test::kMinGov)},
        {true, 0.0, 1, 2, 0.0f},
        {false, ref_test::kMinGov + 200.0, 1, 2, 0.0f},
    };
    for (const Row& r : rows) {
        holdShaftAt(r.shaft);
        startConfigured({{"CNFG_START.CONFIG_B.IN_2", r.idleRated ? 1 : 0}, {"MPU.MIN_ENTR.SEL_2", r.sel2}});
        runPasses(P160, 4);
        const std::string what = std::string("idle/rated ") + (r.idleRated ? "1" : "0") + " shaft " +
                                 std::to_string(r.shaft) + " sel2 " + std::to_string(r.sel2);
        EXPECT_EQ(boolean("CNFG_CHECK.OTHR_STRT.OR"), r.idleRated ? 1u : 0u) << what;
        const bool idleMin = r.idleRated && r.shaft <= ref_test::kMinGov;
        EXPECT_EQ(boolean("MPU.IDLE_MIN.AND"), idleMin ? 1u : 0u) << what;
        EXPECT_EQ(integer("MPU.MIN_ENTR.INT_SEL"), r.sel) << what;
        EXPECT_EQ(real("MPU.MIN_ENTR.A_MUX_HSS"), r.entry) << what;
        stopApp();
    }
}

// The lag step with its coefficient from the lag time and the 0.16 s step,
// the time at or below the step's floor 2T/3.14 giving the floor's.
struct LagModel {
    float c = 0.16f / (2.0f * (2.0f * 0.16f / 3.14f) + 0.16f);
    float lag = 0, deriv = 0, xPrev = 0;
    void step(float x) {
        const float d = c * (x + xPrev - 2.0f * lag);
        lag = lag + d;
        deriv = d / 0.16f;
        xPrev = x;
    }
};

// The monitor lag of half the measured speed, with its rate, the shaft put
// at 3000 rpm and held; with each lag time written from the service tool.
TEST_F(SpeedPieces, MonitorLagFollowsHalfTheSpeedWithItsRate) {
    const float floorC = LagModel{}.c;
    struct Row {
        double tau;
        float c;
    } rows[] = {{0.0, floorC}, {1.0, 0.16f / (2.0f * 1.0f + 0.16f)}, {4.0, 0.16f / (2.0f * 4.0f + 0.16f)},
                {0.05, floorC}};
    holdShaftAt(0.0);
    startConfigured();
    for (const Row& r : rows) {
        holdShaftAt(0.0);
        tune("MPU.SPD_MONTOR.LAG_TAU", 0.0);
        runPasses(P160, 80);
        ASSERT_LT(real("MPU.SPD_MONTOR.LAG"), 1.0f);
        tune("MPU.SPD_MONTOR.LAG_TAU", r.tau);
        holdShaftAt(3000.0);
        // Until the measured speed has settled at the lag's input.
        float half = -1.0f;
        ASSERT_GE(passesUntil(P160, [&] {
                      const float now = real("MPU.SPDDIV2.MULTIPLY");
                      const bool steady = now == half && now > 1000.0f;
                      half = now;
                      return steady;
                  }, 40), 0);
        EXPECT_FLOAT_EQ(half, real("MPU.TURB_SPD.A_NAME") / 2.0f);
        LagModel m;
        m.c = r.c;
        m.lag = real("MPU.SPD_MONTOR.LAG");
        m.xPrev = half;
        for (int n = 0; n < 4; ++n) {
            runPasses(P160, 1);
            const float in = real("MPU.SPDDIV2.MULTIPLY");  // the measured speed, steady to its last bits
            ASSERT_NEAR(in, half, 0.01f);
            m.step(in);
            EXPECT_FLOAT_EQ(real("MPU.SPD_MONTOR.LAG"), m.lag) << "tau " << r.tau << " pass " << n;
            EXPECT_FLOAT_EQ(real("MPU.SPD_MONTOR.DERIV"), m.deriv) << "tau " << r.tau << " pass " << n;
            EXPECT_FLOAT_EQ(real("MPU.SPD_DRV.MULTIPLY"), 2.0f * m.deriv) << n;
            EXPECT_GT(real("MPU.SPD_DRV.MULTIPLY"), 0.0f);
        }
    }
    runPasses(P160, 300);
    EXPECT_NEAR(real("MPU.SPD_MONTOR.LAG"), real("MPU.SPDDIV2.MULTIPLY"), 0.01f);
    EXPECT_NEAR(real("MPU.SPD_DRV.MULTIPLY"), 0.0f, 0.01f);
}

// The alarm relay slots follow the alarm of an external alarm contact (the
// spare contact given that function), raised, then cleared and reset, every
// 40 ms pass.
TEST_F(SpeedPieces, AlarmRelaySlotsFollowTheBlinkingAlarm) {
    startPastPowerUp({{"_ub19.FUNCT.IN", 19}});
    contact(ref_test::kSpareContact, true);
    int seen[2] = {0, 0};
    for (int k = 0; k < 300; ++k) {
        if (k == 100) contact(ref_test::kSpareContact, false);
        if (k == 150) contact(ref_test::kResetContact, true);
        if (k == 170) contact(ref_test::kResetContact, false);
        runPasses(P40, 1);
        const uint32_t blink = boolean("ALARMS.BLINK.B_SW");
        ++seen[blink];
        EXPECT_EQ(boolean("BO_MUX.ALARM.B_NAME"), blink) << k;
        EXPECT_EQ(boolean("BO_MUX.REV_ALM.NOT"), 1u - blink) << k;
        EXPECT_EQ(boolean("BO_MUX.ALARM_R.B_NAME"), 1u - blink) << k;
    }
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);
}

// The droop deadband from the service tool, against the governor range of
// the settings; its switch gives 0.
TEST_F(SpeedPieces, DroopDeadbandOffsetsMinimumAndMaximumGovernor) {
    startConfigured();
    tune("IFACE_IN_SPEED.ONLINE_DB.IN", 12.0);
    runPasses(P160, 2);
    EXPECT_EQ(real("DROOP.RPM_DB.A_NAME"), 12.0f);
    EXPECT_EQ(real("DROOP.ADD_OFSET.ADD"), static_cast<float>(ref_test::kMinGov + 12.0));
    EXPECT_EQ(real("DROOP.SUB_RPM2.SUBTRACT"), static_cast<float>(ref_test::kMaxGov - 12.0));
    EXPECT_EQ(boolean("DROOP.SPD_DB2.CTRL"), 0u);  // default
    EXPECT_EQ(real("DROOP.SPD_DB2.A_SW"), 12.0f);
    tune("DROOP.SPD_DB2.CTRL", 1);
    runPasses(P160, 1);
    EXPECT_EQ(real("DROOP.SPD_DB2.A_SW"), 0.0f);
    EXPECT_EQ(real("DROOP.ADD_OFSET.ADD"), static_cast<float>(ref_test::kMinGov + 12.0));
}

// The self-powered actuator's level, a percentage of idle under the
// idle/rated start, else of minimum governor.
TEST_F(SpeedPieces, SelfPoweredActuatorScalesIdleOrMinimumGovernor) {
    for (bool idleRated : {true, false}) {
        startConfigured({{"CNFG_START.CONFIG_B.IN_2", idleRated ? 1 : 0},
                         {"IFACE_IN_START.SELFPWRACT.IN", 25.0},
                         {"IFACE_IN_VLV.SELFPWR_TDLY.IN", 75}});
        runPasses(P160, 2);
        EXPECT_EQ(boolean("CNFG_START.IDLE_RATED_SEQ.B_NAME"), idleRated ? 1u : 0u);
        const float base = static_cast<float>(idleRated ? ref_test::kIdle : ref_test::kMinGov);
        EXPECT_EQ(real("DRVR_SCALE.IDL_OR_RATED.A_SW"), base);
        EXPECT_FLOAT_EQ(real("DRVR_SCALE.IN_PCT.MULTIPLY"), base * 0.25f);
        EXPECT_EQ(real("DRVR_SCALE.I_TO_AN.OUT_1"), 75.0f);
        stopApp();
    }
}

// The second sensor's override shows only where the sensor is used: through
// a start, with the sensor configured or not.
TEST_F(SpeedPieces, SecondSensorOverrideShowsOnlyWhenTheSensorIsUsed) {
    for (int used : {1, 0}) {
        start(false, false, {{"CNFG_SPEED.CONFIG_B.IN_1", used}});
        int seen[2][2] = {{0, 0}, {0, 0}};
        startCommand();
        uint32_t before = boolean("MPU_OVRD.OVRD_MPU2.OR");
        for (int k = 0; k < 300; ++k) {
            runPasses(P160, 1);
            const uint32_t ovrd = boolean("MPU_OVRD.OVRD_MPU2.OR");
            ASSERT_EQ(boolean("CONF_VAL_1.USE_MPU2.B_NAME"), static_cast<uint32_t>(used));
            // The override is an 80 ms cell: judged where it held over the pass.
            if (ovrd == before) {
                ++seen[ovrd][boolean("MPU_OVRD.MPU2_OVRD.B_SW")];
                EXPECT_EQ(boolean("MPU_OVRD.MPU2_OVRD.B_SW"), used != 0 ? ovrd : 0u) << used << " pass " << k;
                EXPECT_EQ(boolean("IFACE_OUT_START.MPU2_OVRD_ON.B_NAME"), used != 0 ? ovrd : 0u) << used;
            }
            before = ovrd;
        }
        EXPECT_GT(seen[1][used], 0) << "overridden during the start, used " << used;
        stopApp();
        turbine::reset();
    }
}

// The overspeed test is permitted only while nothing disables it: in
// control at rated with the reference raised to maximum governor it is, a
// trip disables it; the rates shown come from the service tool.
TEST_F(SpeedPieces, OverspeedTestPermissionAndTheShownRates) {
    start(true, true);
    startToRated();
    // The reference raised to maximum governor from the raise contact.
    contact(ref_test::kRaiseContact, true);
    ASSERT_TRUE(runUntil([this] { return ref() >= ref_test::kMaxGov - 0.5; }, 2000));
    contact(ref_test::kRaiseContact, false);
    tune("IFACE_IN_SPEED.RMT_NOT_MATCH.IN", 42.0);
    tune("IFACE_IN_VLV.VLV_LIM_ENTRD.IN", 7.5);
    for (bool tripped : {false, true}) {
        if (tripped) trip();
        runPasses(P160, 3);
        const uint32_t disable = boolean("OSPD.OR_DISABLE.OR");
        EXPECT_EQ(disable, tripped ? 1u : 0u);
        EXPECT_EQ(boolean("OSPD.PERMISSIVE.NOT"), 1u - disable);
        EXPECT_EQ(boolean("IFACE_OUT_SPEED.OST_PERMISSIVE.B_NAME"), 1u - disable);
    }
    EXPECT_EQ(real("IFACE_OUT_SPEED.RMT_SPD_N_MATCH_RATE.A_NAME"), 42.0f);
    EXPECT_EQ(real("IFACE_OUT_VLV.ENTRD_RATE.A_NAME"), 7.5f);
}

// The suggested process limit on a unit in control at minimum governor
// with the noise calculation enabled from the service tool: nothing until
// the noise has been calculated for 10 s, then the noise x 12 held between
// 0.005 x the reference and 200 (the upper winning where the lower is above
// it, with the lower's factor raised); the speed's swings (the shaft put up
// and back) give the noise.
TEST_F(SpeedPieces, SuggestedProcessLimitIsHeldBetweenItsLimitsAfterTheDelay) {
    start(false, false);
    startToInControl();
    holdShaftAt(ref_test::kMinGov);
    runPasses(P160, 20);
    tune("SPD_CTRL.CALC_NOISE_ENBL.IN_1", 1);
    runPasses(P160, 60);
    EXPECT_EQ(boolean("SPD_CTRL.RST_HOLD_DLY.DELAY"), 0u);
    EXPECT_EQ(real("SPD_CTRL.RCMD_OPTI_PROC_LIM.A_SW"), 0.0f);
    EXPECT_FLOAT_EQ(real("SPD_CTRL.RCMD_OPTI_PROC.MULTIPLY"), real("SPD_CTRL.SIGNAL_NOISE.A_NAME") * 12.0f);
    runPasses(P160, 4);
    ASSERT_EQ(boolean("SPD_CTRL.RST_HOLD_DLY.DELAY"), 1u);
    int regimes[3] = {0, 0, 0};  // lower, between, upper
    auto check = [&](const std::string& what) {
        runPasses(P160, 2);
        const float noise = real("SPD_CTRL.SIGNAL_NOISE.A_NAME");
        const float lo = real("SPDC.SPEED_REF.RAMP") * real("SPD_CTRL.MULTIPLY.IN_2");
        float want = std::max(noise * 12.0f, lo);
        want = std::min(want, 200.0f);
        EXPECT_FLOAT_EQ(real("SPD_CTRL.MULTIPLY.MULTIPLY"), lo) << what;
        EXPECT_FLOAT_EQ(real("SPD_CTRL.PROC_LIM.A_LIMITER"), want) << what << " noise " << noise;
        EXPECT_FLOAT_EQ(real("SPD_CTRL.RCMD_OPTI_PROC_LIM.A_SW"), want) << what;
        EXPECT_FLOAT_EQ(real("IFACE_OUT_SPEED.SUGGEST_PROC_LIM.A_NAME"), want) << what;
        ++regimes[want == 200.0f ? 2 : want == lo ? 0 : 1];
    };
    check("steady");
    EXPECT_FLOAT_EQ(real("SPD_CTRL.MULTIPLY.MULTIPLY"), static_cast<float>(ref_test::kMinGov * 0.005));
    holdShaftAt(ref_test::kMinGov + 5.0);
    runPasses(P160, 10);
    holdShaftAt(ref_test::kMinGov);
    check("swung by 5 rpm");
    holdShaftAt(ref_test::kMinGov + 25.0);
    runPasses(P160, 10);
    holdShaftAt(ref_test::kMinGov);
    check("swung by 25 rpm");
    tune("SPD_CTRL.MULTIPLY.IN_2", 0.08);
    check("the lower limit above the upper");
    EXPECT_GT(real("SPD_CTRL.MULTIPLY.MULTIPLY"), 200.0f);
    EXPECT_GT(regimes[0], 0);
    EXPECT_GT(regimes[1], 0);
    EXPECT_GT(regimes[2], 1);
    tune("SPD_CTRL.CALC_NOISE_ENBL.IN_1", 0);
    runPasses(P160, 2);
    EXPECT_EQ(real("SPD_CTRL.RCMD_OPTI_PROC_LIM.A_SW"), 0.0f);
    EXPECT_EQ(real("IFACE_OUT_SPEED.SUGGEST_PROC_LIM.A_NAME"), 0.0f);
}

}  // namespace

namespace {

constexpr int R40 = 2, R80 = 3, R160 = 4;

bool g_defaulted = false;
void defaultsOnce() {
    if (!g_defaulted) tc_test::loadTunableDefaults();
    g_defaulted = true;
}

class InterfacePieces : public tc_test::AppHarness {
protected:
    // Without the 40 ms slice, the speed reference ramp is the test's to set.
    void start(bool withRamp = true) {
        g_defaulted = false;
        useSlices(0, {defaultsOnce});
        if (withRamp) useSlices(R40, {_R40_TASK_4});
        useSlices(R80, {r80::MPU_min_gov_compare});
        useSlices(R160, {_R160_TASK_35, _R160_TASK_41, _R160_TASK_45});
        startApp();
        runPasses(R160, 1);
    }
};

// ---- on the interface slices alone ----------------------------------------
// The cases that no input reaches, each with its reason; and, not yet
// converted, the status flags of the tuner.

// The edges no input gives: the measured speed is never exactly the minimum
// governor setting, and the reference's unit delay is never above minimum
// governor while the shaft is held below it at rest.
TEST_F(InterfacePieces, MinimumEntryAtTheEdges) {
    start();
    setCell("CNFG_SETPT.MIN_GOV.A_NAME", 3000.0);
    setCell("IFACE_IN_SPEED.IDLE_1.A_NAME", 1200.0);
    struct Row {
        int otherStart;
        double speed, setpoint;
        int sel2;
        int sel;
        float entry;
    };
    const Row rows[] = {
        {1, 3000, 2000, 0, 1, 1200.0f},  // speed exactly at minimum still counts
        {1, 1000, 3001, 0, 0, 3000.0f},  // setpoint above minimum
    };
    for (const Row& r : rows) {
        setCell("CNFG_CHECK.OTHR_STRT.OR", r.otherStart);
        setCell("MPU.TURB_SPD.A_NAME", r.speed);
        setCell("IFACE_OUT_SPEED.Z_SETPOINT.A_NAME", r.setpoint);
        setCell("MPU.MIN_ENTR.SEL_2", r.sel2);
        runPasses(R160, 2);
        const std::string what = "other " + std::to_string(r.otherStart) + " speed " + std::to_string(r.speed) +
                                 " setpoint " + std::to_string(r.setpoint) + " sel2 " + std::to_string(r.sel2);
        const bool idleMin = r.otherStart == 1 && r.speed <= 3000 && r.setpoint <= 3000;
        EXPECT_EQ(boolean("MPU.IDLE_MIN.AND"), idleMin ? 1u : 0u) << what;
        EXPECT_EQ(integer("MPU.MIN_ENTR.INT_SEL"), r.sel) << what;
        EXPECT_EQ(real("MPU.MIN_ENTR.A_MUX_HSS"), r.entry) << what;
    }
}

// ---- speed monitor lag ---------------------------------------------------



// No input gives a speed that is not a number: the speed-sensor channels
// give 0 when they cannot measure.
TEST_F(InterfacePieces, MonitorLagTakesAnUnmeasurableSpeedAsZero) {
    start();
    setCell("MPU.TURB_SPD.A_NAME", 2000.0);
    runPasses(R160, 60);
    ASSERT_NEAR(real("MPU.SPD_MONTOR.LAG"), 1000.0f, 0.01f);
    setCell("MPU.TURB_SPD.A_NAME", std::numeric_limits<double>::quiet_NaN());
    runPasses(R160, 3);
    const float lag = real("MPU.SPD_MONTOR.LAG");
    EXPECT_TRUE(std::isfinite(lag));
    EXPECT_LT(lag, 1000.0f);
    EXPECT_LT(real("MPU.SPD_MONTOR.DERIV"), 0.0f);
    runPasses(R160, 60);
    EXPECT_NEAR(real("MPU.SPD_MONTOR.LAG"), 0.0f, 0.01f);
}






// ---- speed-sensor override timer -----------------------------------------


class OverrideTimer : public sc_test::ProgramRig {
protected:
    static constexpr int P80 = sc_test::P80, P160 = sc_test::P160;
};

TEST_F(OverrideTimer, OverrideTimeCountsDownFromTheRunCommand) {
    start(false, false);
    tune("IFACE_IN_START.MPU_OVRD_TIME.IN", 3.0);
    runPasses(P160, 2);
    EXPECT_EQ(real("MPU_OVRD.OVRD_TIME.A_NAME"), 3.0f);
    EXPECT_EQ(boolean("MPU_OVRD.STRT_DLY_1.DELAY"), 0u);
    startCommand();
    ASSERT_EQ(boolean("START.RUN_CMD.LATCH_R"), 1u);
    runPasses(P160, 2);
    const int32_t first = integer("IFACE_OUT_START.MPU_OVRD_TIME_REM.I_NAME");
    EXPECT_GE(first, 2);
    EXPECT_LE(first, 3);
    int passes = 2;
    while (boolean("MPU_OVRD.STRT_DLY_1.DELAY") == 0 && passes < 40) {
        runPasses(P160, 1);
        ++passes;
        EXPECT_EQ(integer("IFACE_OUT_START.MPU_OVRD_TIME_REM.I_NAME"), integer("MPU_OVRD.STRT_DLY_1.R_TIME"));
    }
    // 3 s of 0.16 s passes, counted from the pass that first saw the command.
    EXPECT_GE(passes, 19);
    EXPECT_LE(passes, 21);
    EXPECT_EQ(integer("IFACE_OUT_START.MPU_OVRD_TIME_REM.I_NAME"), 0);
    // The trip contact opens: the run command drops and the timer with it.
    trip();
    runPasses(P160, 2);
    EXPECT_EQ(boolean("START.RUN_CMD.LATCH_R"), 0u);
    EXPECT_EQ(boolean("MPU_OVRD.STRT_DLY_1.DELAY"), 0u);
}

}  // namespace

namespace {

class MinSpeedCheck : public pc_test::ProgramCases {};

// The second sensor's failed level against the lowest speed it can measure
// (from its configuration), an error only while the second sensor is used:
// the level entered in configure mode below, at and above that speed.
TEST_F(MinSpeedCheck, SecondSensorFailedLevelBelowItsRangeIsAnErrorWhenUsed) {
    for (int used : {1, 0}) {
        startConfigured({{"CNFG_SPEED.CONFIG_B.IN_1", used}});
        enterConfigureMode();
        const float lowest = real("MPU.MIN_SPD_CK2.MULTIPLY");
        ASSERT_GT(lowest, 20.0f);
        struct Row {
            float level;
            uint32_t check;
        } rows[] = {{lowest - 10.0f, 1}, {lowest, 1}, {lowest + 10.0f, 0}};
        for (const Row& r : rows) {
            tune("CNFG_SPEED.SPD2_LOW_SP.IN", r.level);
            ASSERT_GE(passesUntil(pc_test::R160, [&] { return real("MPU_OVRD.MIN_SPD_2.A_NAME") == r.level; }, 10), 0);
            runPasses(pc_test::R160, 1);
            EXPECT_EQ(real("MPU.MIN_SPD_CK2.MULTIPLY"), lowest);
            EXPECT_EQ(boolean("MPU.SP2_MN_CHK.A_COMPARE"), r.check) << r.level << " against " << lowest;
            EXPECT_EQ(boolean("MPU.SP2_MINERR.AND"), used != 0 ? r.check : 0u) << r.level << " used " << used;
        }
        stopApp();
    }
}

}  // namespace
