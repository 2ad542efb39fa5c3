// The speed-side pieces the interface slices carry, through real passes: the
// minimum speed entry and the speed monitor lag, the alarm relay slots, the
// droop deadband values, the self-powered actuator scaling, the suggested
// process limit, the sensor override timer and the status shown for speed,
// start and valve.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "app/control/control_slices.h"
#include "app/control/MPU.cells.h"
#include "app/interface/interface_slices.h"
#include "tests/control_speed/program_rig.h"
#include "tests/support/app_harness.h"

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

// ---- minimum speed entry -------------------------------------------------

TEST_F(InterfacePieces, MinimumEntryIsIdleOnlyBelowMinimumUnderAnotherStartMode) {
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
        {1, 1000, 2000, 0, 1, 1200.0f},  // all three: idle
        {1, 3000, 2000, 0, 1, 1200.0f},  // speed exactly at minimum still counts
        {0, 1000, 2000, 0, 0, 3000.0f},  // other start mode missing
        {1, 3001, 2000, 0, 0, 3000.0f},  // speed above minimum
        {1, 1000, 3001, 0, 0, 3000.0f},  // setpoint above minimum
        {1, 1000, 2000, 1, 2, 0.0f},     // the switch wins over idle
        {0, 3500, 3500, 1, 2, 0.0f},     // and over minimum governor
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

// The lag step with its coefficient from the shortest lag time of a 0.16 s
// step: T / (2 * 2T/3.14 + T).
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

TEST_F(InterfacePieces, MonitorLagFollowsHalfTheSpeedWithItsRate) {
    start();
    setCell("MPU.TURB_SPD.A_NAME", 3000.0);
    runPasses(R160, 2);  // the input reaches the lag; from here x and x' are 1500
    LagModel m;
    m.lag = real("MPU.SPD_MONTOR.LAG");
    m.xPrev = 1500.0f;
    ASSERT_GT(m.lag, 0.0f);
    ASSERT_LT(m.lag, 1500.0f);
    for (int n = 0; n < 4; ++n) {
        m.step(1500.0f);
        runPasses(R160, 1);
        EXPECT_EQ(real("MPU.SPDDIV2.MULTIPLY"), 1500.0f);
        EXPECT_FLOAT_EQ(real("MPU.SPD_MONTOR.LAG"), m.lag) << n;
        EXPECT_FLOAT_EQ(real("MPU.SPD_MONTOR.DERIV"), m.deriv) << n;
        EXPECT_FLOAT_EQ(real("MPU.SPD_DRV.MULTIPLY"), 2.0f * m.deriv) << n;
        EXPECT_GT(real("MPU.SPD_DRV.MULTIPLY"), 0.0f);
    }
    runPasses(R160, 60);
    EXPECT_NEAR(real("MPU.SPD_MONTOR.LAG"), 1500.0f, 0.01f);
    EXPECT_NEAR(real("MPU.SPD_DRV.MULTIPLY"), 0.0f, 0.01f);
}

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

// A service write of the lag time gives the lag its new coefficient at once;
// a time at or below the step's floor gives the floor's coefficient.
TEST_F(InterfacePieces, MonitorLagTimeWrittenByServiceSetsTheCoefficient) {
    struct Row {
        double tau;
        float c;
    };
    const float floorC = LagModel{}.c;
    const Row rows[] = {
        {1.0, 0.16f / (2.0f * 1.0f + 0.16f)},
        {4.0, 0.16f / (2.0f * 4.0f + 0.16f)},
        {0.0, floorC},
        {0.05, floorC},  // below the floor 2T/3.14
    };
    start();
    for (const Row& r : rows) {
        setCell("MPU.TURB_SPD.A_NAME", 0.0);
        serviceWrite("MPU.SPD_MONTOR.LAG_TAU", 0.0);
        runPasses(R160, 80);
        ASSERT_NEAR(real("MPU.SPD_MONTOR.LAG"), 0.0f, 0.01f);
        serviceWrite("MPU.SPD_MONTOR.LAG_TAU", r.tau);
        setCell("MPU.TURB_SPD.A_NAME", 2000.0);
        LagModel m;
        m.c = r.c;
        // The new speed reaches the lag through the group copy.
        for (int n = 0; n < 3 && real("MPU.SPDDIV2.MULTIPLY") == 0.0f; ++n) {
            m.lag = real("MPU.SPD_MONTOR.LAG");
            runPasses(R160, 1);
        }
        ASSERT_EQ(real("MPU.SPDDIV2.MULTIPLY"), 1000.0f);
        m.step(1000.0f);
        EXPECT_FLOAT_EQ(real("MPU.SPD_MONTOR.LAG"), m.lag) << "tau " << r.tau << " first pass";
        for (int n = 0; n < 3; ++n) {
            m.step(1000.0f);
            runPasses(R160, 1);
            EXPECT_FLOAT_EQ(real("MPU.SPD_MONTOR.LAG"), m.lag) << "tau " << r.tau << " pass " << n;
        }
    }
}

// ---- alarm relay slots ---------------------------------------------------

TEST_F(InterfacePieces, AlarmRelaySlotsFollowTheBlinkingAlarm) {
    start();
    for (int blink : {1, 0, 1}) {
        setCell("ALARMS.BLINK.B_SW", blink);
        runPasses(R40, 1);
        EXPECT_EQ(boolean("BO_MUX.ALARM.B_NAME"), static_cast<uint32_t>(blink));
        EXPECT_EQ(boolean("BO_MUX.REV_ALM.NOT"), static_cast<uint32_t>(1 - blink));
        EXPECT_EQ(boolean("BO_MUX.ALARM_R.B_NAME"), static_cast<uint32_t>(1 - blink));
    }
}

// ---- droop deadband values -----------------------------------------------

TEST_F(InterfacePieces, DroopDeadbandOffsetsMinimumAndMaximumGovernor) {
    start();
    setCell("IFACE_IN_SPEED.ONLINE_DB.IN", 12.0);
    setCell("CNFG_SETPT.MIN_GOV.A_NAME", 3000.0);
    setCell("IFACE_IN_SPEED.MAX_GOV.A_NAME", 3800.0);
    runPasses(R160, 1);
    EXPECT_EQ(real("DROOP.RPM_DB.A_NAME"), 12.0f);
    EXPECT_EQ(real("DROOP.ADD_OFSET.ADD"), 3012.0f);
    EXPECT_EQ(real("DROOP.SUB_RPM2.SUBTRACT"), 3788.0f);
    EXPECT_EQ(boolean("DROOP.SPD_DB2.CTRL"), 0u);  // default
    EXPECT_EQ(real("DROOP.SPD_DB2.A_SW"), 12.0f);
    setCell("DROOP.SPD_DB2.CTRL", 1);
    runPasses(R160, 1);
    EXPECT_EQ(real("DROOP.SPD_DB2.A_SW"), 0.0f);
    EXPECT_EQ(real("DROOP.ADD_OFSET.ADD"), 3012.0f);
}

// ---- self-powered actuator scaling ---------------------------------------

TEST_F(InterfacePieces, SelfPoweredActuatorScalesIdleOrMinimumGovernor) {
    start();
    setCell("IFACE_IN_SPEED.IDLE_1.A_NAME", 1000.0);
    setCell("IFACE_IN_SPEED.MIN_GOV.A_NAME", 3000.0);
    setCell("IFACE_IN_START.SELFPWRACT.IN", 25.0);
    setCell("IFACE_IN_VLV.SELFPWR_TDLY.IN", 75);
    setCell("CNFG_START.IDLE_RATED_SEQ.B_NAME", 1);
    runPasses(R160, 1);
    EXPECT_EQ(real("DRVR_SCALE.IDL_OR_RATED.A_SW"), 1000.0f);
    EXPECT_FLOAT_EQ(real("DRVR_SCALE.IN_PCT.MULTIPLY"), 250.0f);
    EXPECT_EQ(real("DRVR_SCALE.I_TO_AN.OUT_1"), 75.0f);
    setCell("CNFG_START.IDLE_RATED_SEQ.B_NAME", 0);
    runPasses(R160, 1);
    EXPECT_EQ(real("DRVR_SCALE.IDL_OR_RATED.A_SW"), 3000.0f);
    EXPECT_FLOAT_EQ(real("DRVR_SCALE.IN_PCT.MULTIPLY"), 750.0f);
}

// ---- suggested process limit ---------------------------------------------

TEST_F(InterfacePieces, SuggestedProcessLimitIsHeldBetweenItsLimitsAfterTheDelay) {
    start(false);
    setCell("SPDC.SPEED_REF.RAMP", 3000.0);  // lower limit 3000 x 0.005 = 15
    setCell("SPD_CTRL.SIGNAL_NOISE.A_NAME", 5.0);
    setCell("SPD_CTRL.CALC_NOISE_ENBL.OR", 1);
    // Nothing is suggested until the noise has been calculated for 10 s.
    runPasses(R160, 60);
    EXPECT_EQ(boolean("SPD_CTRL.RST_HOLD_DLY.DELAY"), 0u);
    EXPECT_EQ(real("SPD_CTRL.RCMD_OPTI_PROC_LIM.A_SW"), 0.0f);
    EXPECT_EQ(real("SPD_CTRL.RCMD_OPTI_PROC.MULTIPLY"), 60.0f);
    runPasses(R160, 4);
    ASSERT_EQ(boolean("SPD_CTRL.RST_HOLD_DLY.DELAY"), 1u);
    struct Row {
        double ramp, noise;
        float limited;
    };
    const Row rows[] = {
        {3000, 5.0, 60.0f},     // 5 x 12 between 15 and 200
        {3000, 0.5, 15.0f},     // 6 below the lower limit
        {3000, 20.0, 200.0f},   // 240 above the upper limit
        {50000, 1.0, 200.0f},   // lower limit 250 above the upper: the upper wins
    };
    for (const Row& r : rows) {
        setCell("SPDC.SPEED_REF.RAMP", r.ramp);
        setCell("SPD_CTRL.SIGNAL_NOISE.A_NAME", r.noise);
        runPasses(R160, 2);
        EXPECT_FLOAT_EQ(real("SPD_CTRL.PROC_LIM.A_LIMITER"), r.limited) << r.ramp << " " << r.noise;
        EXPECT_FLOAT_EQ(real("SPD_CTRL.RCMD_OPTI_PROC_LIM.A_SW"), r.limited);
        EXPECT_FLOAT_EQ(real("IFACE_OUT_SPEED.SUGGEST_PROC_LIM.A_NAME"), r.limited);
    }
    EXPECT_FLOAT_EQ(real("SPD_CTRL.MULTIPLY.MULTIPLY"), 250.0f);
    setCell("SPD_CTRL.CALC_NOISE_ENBL.OR", 0);
    runPasses(R160, 2);
    EXPECT_EQ(real("SPD_CTRL.RCMD_OPTI_PROC_LIM.A_SW"), 0.0f);
    EXPECT_EQ(real("IFACE_OUT_SPEED.SUGGEST_PROC_LIM.A_NAME"), 0.0f);
}

// ---- speed-sensor override timer -----------------------------------------

TEST_F(InterfacePieces, SecondSensorOverrideShowsOnlyWhenTheSensorIsUsed) {
    start();
    const int rows[][3] = {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {1, 1, 1}};
    for (const auto& r : rows) {
        setCell("CONF_VAL_1.USE_MPU2.B_NAME", r[0]);
        setCell("MPU_OVRD.OVRD_MPU2.OR", r[1]);
        runPasses(R160, 2);
        EXPECT_EQ(boolean("MPU_OVRD.MPU2_OVRD.B_SW"), static_cast<uint32_t>(r[2])) << r[0] << r[1];
        EXPECT_EQ(boolean("IFACE_OUT_START.MPU2_OVRD_ON.B_NAME"), static_cast<uint32_t>(r[2])) << r[0] << r[1];
    }
}

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

// ---- status shown --------------------------------------------------------

TEST_F(InterfacePieces, EachStatusInputReachesOnlyItsOwnOutputs) {
    start();
    const char* const outputs[] = {
        "IFACE_OUT_SPEED.IDLE_1_CMPL.B_NAME",      "IFACE_OUT_SPEED.INVALID_SP.B_NAME",
        "IFACE_OUT_SPEED.OPTI_AT_SETPT.B_NAME",    "IFACE_OUT_SPEED.OPTI_STEPS_THRESH.B_NAME",
        "IFACE_OUT_SPEED.OPTI_CALC_GAINS.B_NAME",  "IFACE_OUT_SPEED.OPTI_CMPLT.B_NAME",
        "IFACE_OUT_SPEED.OPTI_FAULT_ABORT.B_NAME", "IFACE_OUT_SPEED.OPTI_SETTLING.B_NAME",
        "IFACE_OUT_SPEED.OPTI_STEADY.B_NAME",      "IFACE_OUT_SPEED.OPTI_STEPDN_ALYZ.B_NAME",
        "IFACE_OUT_SPEED.OPTI_STEPDN_THRE.B_NAME", "IFACE_OUT_SPEED.OPTI_STEPUP_ALYZ.B_NAME",
        "IFACE_OUT_SPEED.OPTI_STEPUP_THRE.B_NAME", "IFACE_OUT_SPEED.RDY_STATUS.AND",
        "IFACE_OUT_SPEED.OPTI_RDY.B_NAME",         "IFACE_OUT_SPEED.STEPS.OR",
        "IFACE_OUT_SPEED.OPTI_STEP_TESTS.B_NAME",  "IFACE_OUT_SPEED.STAT_7812.OR",
        "IFACE_OUT_SPEED.STATUS7812.B_NAME",
    };
    const std::string leds = "SPD_CTRL.QT_STATUS_LEDS.OUT_";
    struct Row {
        std::vector<std::string> inputs;
        std::vector<std::string> on;
    };
    const std::string steps[] = {"IFACE_OUT_SPEED.STEPS.OR", "IFACE_OUT_SPEED.OPTI_STEP_TESTS.B_NAME"};
    const std::string stat[] = {"IFACE_OUT_SPEED.STAT_7812.OR", "IFACE_OUT_SPEED.STATUS7812.B_NAME"};
    const std::vector<Row> rows = {
        {{"SPDC.IDLE_1_CMPL.AND"}, {"IFACE_OUT_SPEED.IDLE_1_CMPL.B_NAME"}},
        {{"ENTR_SETPT.INVALID_SP.OR"}, {"IFACE_OUT_SPEED.INVALID_SP.B_NAME"}},
        {{"IFACE_OUT_SPEED.AT_SETPT.OR"}, {"IFACE_OUT_SPEED.OPTI_AT_SETPT.B_NAME", stat[0], stat[1]}},
        {{"IFACE_OUT_SPEED.DATA_STEPS.OR"}, {"IFACE_OUT_SPEED.OPTI_STEPS_THRESH.B_NAME"}},
        {{leds + "7"}, {"IFACE_OUT_SPEED.OPTI_CALC_GAINS.B_NAME", stat[0], stat[1]}},
        {{leds + "16"}, {"IFACE_OUT_SPEED.OPTI_CMPLT.B_NAME"}},
        {{leds + "11"}, {"IFACE_OUT_SPEED.OPTI_FAULT_ABORT.B_NAME"}},
        {{leds + "2"}, {"IFACE_OUT_SPEED.OPTI_SETTLING.B_NAME"}},
        {{leds + "15"}, {"IFACE_OUT_SPEED.OPTI_STEADY.B_NAME", steps[0], steps[1]}},
        {{leds + "4"}, {"IFACE_OUT_SPEED.OPTI_STEPDN_ALYZ.B_NAME"}},
        {{leds + "6"}, {"IFACE_OUT_SPEED.OPTI_STEPDN_THRE.B_NAME"}},
        {{leds + "3"}, {"IFACE_OUT_SPEED.OPTI_STEPUP_ALYZ.B_NAME"}},
        {{leds + "5"}, {"IFACE_OUT_SPEED.OPTI_STEPUP_THRE.B_NAME"}},
        {{leds + "9"}, {steps[0], steps[1]}},
        {{leds + "10"}, {steps[0], steps[1]}},
        {{leds + "13"}, {steps[0], steps[1]}},
        {{leds + "14"}, {steps[0], steps[1]}},
        {{leds + "1"}, {}},
        {{"IFACE_OUT_SPEED.SP_NOT_MOVE.NOT"}, {}},
        {{leds + "1", "IFACE_OUT_SPEED.SP_NOT_MOVE.NOT"},
         {"IFACE_OUT_SPEED.RDY_STATUS.AND", "IFACE_OUT_SPEED.OPTI_RDY.B_NAME"}},
    };
    std::vector<std::string> allInputs = {"SPDC.IDLE_1_CMPL.AND", "ENTR_SETPT.INVALID_SP.OR",
                                          "IFACE_OUT_SPEED.AT_SETPT.OR", "IFACE_OUT_SPEED.DATA_STEPS.OR",
                                          "IFACE_OUT_SPEED.SP_NOT_MOVE.NOT"};
    for (int n = 1; n <= 16; ++n) allInputs.push_back(leds + std::to_string(n));
    for (const Row& r : rows) {
        for (const std::string& in : allInputs) setCell(in, 0);
        for (const std::string& in : r.inputs) setCell(in, 1);
        runPasses(R160, 2);
        for (const char* out : outputs) {
            bool expect = false;
            for (const std::string& on : r.on) expect = expect || on == out;
            EXPECT_EQ(boolean(out), expect ? 1u : 0u) << r.inputs[0] << " -> " << out;
        }
    }
}

TEST_F(InterfacePieces, OverspeedTestPermissionAndTheShownRates) {
    start();
    setCell("IFACE_IN_SPEED.RMT_NOT_MATCH.IN", 42.0);
    setCell("IFACE_IN_VLV.VLV_LIM_ENTRD.IN", 7.5);
    for (int disable : {1, 0}) {
        setCell("OSPD.OR_DISABLE.OR", disable);
        runPasses(R160, 2);
        EXPECT_EQ(boolean("OSPD.PERMISSIVE.NOT"), static_cast<uint32_t>(1 - disable));
        EXPECT_EQ(boolean("IFACE_OUT_SPEED.OST_PERMISSIVE.B_NAME"), static_cast<uint32_t>(1 - disable));
    }
    EXPECT_EQ(real("IFACE_OUT_SPEED.RMT_SPD_N_MATCH_RATE.A_NAME"), 42.0f);
    EXPECT_EQ(real("IFACE_OUT_VLV.ENTRD_RATE.A_NAME"), 7.5f);
}

}  // namespace

namespace {

class MinSpeedCheck : public tc_test::AppHarness {};

// The second sensor's failed level against the lowest speed it can measure,
// an error only while the second sensor is used.
TEST_F(MinSpeedCheck, SecondSensorFailedLevelBelowItsRangeIsAnErrorWhenUsed) {
    useSlices(0, {defaultsOnce});
    g_defaulted = false;
    useSlices(R160, {r160::MPU_min_speed_check});
    startApp();
    setCell("CNFG_SPEED.SPD2_LOW_SP.A_NAME", 100.0);
    struct Row {
        double lowest;
        int used;
        uint32_t check, error;
    };
    const Row rows[] = {{150, 1, 1, 1}, {100, 1, 1, 1}, {99, 1, 0, 0}, {150, 0, 1, 0}};
    for (const Row& r : rows) {
        setCell("MPU.MIN_SPD_CK2.MULTIPLY", r.lowest);
        setCell("CONF_VAL_1.USE_MPU2.B_NAME", r.used);
        runPasses(R160, 1);
        EXPECT_EQ(real("MPU_OVRD.MIN_SPD_2.A_NAME"), 100.0f);
        EXPECT_EQ(boolean("MPU.SP2_MN_CHK.A_COMPARE"), r.check) << r.lowest;
        EXPECT_EQ(boolean("MPU.SP2_MINERR.AND"), r.error) << r.lowest << " used " << r.used;
    }
}

}  // namespace
