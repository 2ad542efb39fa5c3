// The speed-control slices through real passes in simulated time, with the
// speed sensing before them and the actuator stage after them, and without
// the turbine model: the select of the four valve demands, the droop lag,
// the gain sets, the setpoint chain, the tuner enable, the simulator link,
// the gain acceptance and the unit delays.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "app/control/SIM.cells.h"
#include "tests/control_speed/speed_rig.h"

namespace sc_test {
namespace {

class SpeedControl : public SpeedRig {
protected:
    // Without the gain-set slice: the gains and the speed-control switch
    // are set by the test.
    void withoutGainSlice() {
        useSlices(R10, {startUpInFirstFrameForTests, _R10_TASK_1, _R10_TASK_5, _R10_TASK_6, _R10_TASK_8,
                        _R10_TASK_10, _R10_TASK_11});
    }
    static void startUpInFirstFrameForTests() {
        static bool* loaded = &g_defaultsLoaded;
        if (*loaded) return;
        *loaded = true;
        tc_test::loadTunableDefaults();
    }
};

struct SelectCase {
    const char* name;
    int disabled, trip;
    double limiter;
    float lss;
    int selected;        // 1 .. 4
    uint32_t hi, lo;     // limit flags
    float pidInput;      // the PID's input of the select (pushed above the bus
                         // by the PID itself while another input wins)
};

class DemandSelect : public SpeedControl, public ::testing::WithParamInterface<SelectCase> {};

// Speed at standstill and the reference at rated: the PID asks for 100 %.
TEST_P(DemandSelect, LowestDemandWinsTiesKeepTheEarlierInput) {
    const SelectCase& c = GetParam();
    start();
    reference(kRatedRpm);
    // Speed control disabled: the other controller at maximum governor.
    setCell("SPD_CTRL.OTHER_AT_MAX.IN_3", c.disabled);
    setCell("SPD_CTRL.OTHER_EN_CTL.OR", c.disabled);
    setCell("IFACE_IN_VLV.ANY_SD.B_NAME", c.trip);
    setCell("IFACE_IN_VLV.V1LMTR_VAL.A_NAME", c.limiter);
    runPasses(R160, 2);
    EXPECT_EQ(real("IFACE_IN_VLV.SPD_PID.A_NAME"), c.pidInput);
    EXPECT_EQ(real("HP_DRIVER.ACT_LSS.LSS_BUS"), c.lss);
    EXPECT_EQ(real("IFACE_OUT_VLV.LSS_OUT.A_NAME"), c.lss);
    for (int k = 1; k <= 4; ++k)
        EXPECT_EQ(boolean("HP_DRIVER.ACT_LSS.SEL_" + std::to_string(k)), k == c.selected ? 1u : 0u) << k;
    EXPECT_EQ(boolean("HP_DRIVER.ACT_LSS.HI_LIM_I"), c.hi);
    EXPECT_EQ(boolean("HP_DRIVER.ACT_LSS.LO_LIM_I"), c.lo);
    EXPECT_EQ(boolean("IFACE_OUT_VLV.ACT_LSS_SEL_1.B_NAME"), c.selected == 1 ? 1u : 0u);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.NOT_SPDCTRL.NOT"), c.selected == 1 ? 0u : 1u);
    EXPECT_EQ(boolean("IFACE_OUT_SPEED.SPD_CTRL_DISABLED.B_NAME"), static_cast<uint32_t>(c.disabled));
    EXPECT_EQ(real("IFACE_OUT_SPEED.SPD_PID.A_NAME"), real("SPD_CTRL.SPD_PID.PID_OPTI"));
    EXPECT_EQ(real("IFACE_OUT_SPEED.SPD_PID.A_NAME"), c.disabled ? 101.0f : c.pidInput);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DemandSelect,
    ::testing::Values(SelectCase{"EqualDemandsSelectThePid", 0, 0, 100.0, 100.0f, 1, 1, 0, 100.0f},
                      SelectCase{"LimiterBelowThePid", 0, 0, 60.0, 60.0f, 2, 0, 0, 101.0f},
                      SelectCase{"DisabledPidIsNeverSelected", 1, 0, 100.0, 100.0f, 2, 1, 0, 101.0f}),
    [](const ::testing::TestParamInfo<SelectCase>& i) { return std::string(i.param.name); });

// The droop lag's time is the integral time 1/I, at least 0.0063694264 s;
// at an integral gain of 0 the quotient is 1e34 and the lag does not move.
// Shown by the lag's first step when the selected demand steps to 50 %.
TEST_F(SpeedControl, DroopLagTimeFromTheIntegralGain) {
    const struct {
        float gain, quotient, firstStep;
    } rows[] = {
        {0.0f, 1e34f, 0.0f},
        {100.0f, 0.01f, 50.0f * 0.01f / 0.03f},
        {157.0f, 1.0f / 157.0f, 50.0f * 0.01f / (2.0f / 157.0f + 0.01f)},
        {200.0f, 0.005f, 50.0f * 0.01f / (2.0f * 0.0063694264f + 0.01f)},
    };
    for (const auto& r : rows) {
        withoutGainSlice();
        g_defaultsLoaded = false;
        start();
        setCell("SPD_CTRL.SPD_SW_DLY.DELAY", 1);
        setCell("SPD_CTRL.I_GAIN.A_SW", r.gain);
        setCell("IFACE_IN_VLV.V1LMTR_VAL.A_NAME", 0.0);
        runSeconds(1.0);
        ASSERT_LT(std::fabs(real("DROOP.SPD_DP_LAG.LAG_2")), 1e-20f) << r.gain;
        setCell("IFACE_IN_VLV.V1LMTR_VAL.A_NAME", 50.0);
        // The delayed demand reaches 50 at the end of a pass; the lag takes
        // its first step in the next.
        while (real("DROOP.ACTR_Z.ZMINUS1") != 50.0f) runPasses(R10, 1);
        runPasses(R10, 1);
        EXPECT_EQ(real("DROOP.SET_LAG.DIVIDE"), r.quotient) << r.gain;
        EXPECT_NEAR(real("DROOP.SPD_DP_LAG.LAG_2"), r.firstStep, 1e-4f) << r.gain;
        EXPECT_NEAR(real("DROOP.SPD_DP_LAG.DERIV"), r.firstStep / 0.01f, 1e-2f) << r.gain;
        runSeconds(1.0);  // and settles on the demand
        EXPECT_NEAR(real("DROOP.SPD_DP_LAG.LAG_2"), r.gain > 0.0f ? 50.0f : 0.0f, 1e-3f) << r.gain;
        stopApp();
    }
}

// Combination mode: the remote signal wins only when strictly higher; the
// droop value comes off the result.
TEST_F(SpeedControl, CombinationTakesTheRemoteSignalOnlyWhenHigher) {
    start();
    setCell("SPD_CTRL.ENA_COMBO.AND", 1);
    reference(3500.0);
    const struct {
        double remote;
        float setpoint;
        uint32_t sel2;
    } rows[] = {{3400.0, 3500.0f, 0}, {3500.0, 3500.0f, 0}, {3500.5, 3500.5f, 1}};
    for (const auto& r : rows) {
        setCell("RMT_SETPT.RMT_DEAD.A_DEADBAND", r.remote);
        runPasses(R80, 2);
        EXPECT_EQ(real("SPD_CTRL.SPD_SETPT.A_NAME"), r.setpoint) << r.remote;
        EXPECT_EQ(boolean("SPD_CTRL.COMBO_MODE.SEL_2"), r.sel2) << r.remote;
    }
    setCell("IFACE_IN_SPEED.REMSP_PV_FLT.B_NAME", 1);  // a failed remote signal counts as 0
    runPasses(R80, 2);
    EXPECT_EQ(real("SPD_CTRL.SPD_SETPT.A_NAME"), 3500.0f);
    EXPECT_EQ(real("SPD_CTRL.COMBO_SETPT.ZMINUS1"), 3500.0f);
}

// Words for the simulator: rounded half away from zero, saturated to the
// signed 16-bit range, 0 for a value that is no number.
TEST(SimulatorWords, RoundedAndSaturated) {
    const struct {
        float v;
        int16_t w;
    } rows[] = {{2.5f, 3},        {-2.5f, -3},       {2.49f, 2},          {32767.4f, 32767},
                {32767.5f, 32767}, {40000.0f, 32767}, {-40000.0f, -32768}, {-32768.0f, -32768},
                {std::numeric_limits<float>::infinity(), 32767},      {std::nanf(""), 0}};
    for (const auto& r : rows) EXPECT_EQ(SIM_word(r.v), r.w) << r.v;
}

// Without a request on the simulator link, after the time-out the link
// reports its error and the received values are 0; the sent words carry the
// settings, saturated.
TEST_F(SpeedControl, SimulatorLinkErrorAfterTheTimeOut) {
    start();
    setCell("SIM.XFER_TO_SIM.TIME_OUT_1", 1.0);
    setCell("CNFG_SPEED.SPD1_MAXSPD.IN", 40000.0);
    _BW_SIM_XFER_TO_SIM_11359[1] = 1;
    _AW_SIM_XFER_TO_SIM_11359[0] = -7;
    setCell("SIM.XFER_TO_SIM.MSG_CNT_1", 1);
    runPasses(R40, 1);
    EXPECT_EQ(boolean("SIM.XFER_TO_SIM.LNK_ERR_1"), 0u);
    EXPECT_EQ(boolean("SIM.XFER_TO_SIM.BW_V_1"), 0u);
    EXPECT_EQ(boolean("SIM.XFER_TO_SIM.BW_V_2"), 1u);
    EXPECT_EQ(real("SIM.XFER_TO_SIM.AW_V_1"), -7.0f);
    runPasses(R40, 24);  // 0.96 s without a message: within the time-out
    EXPECT_EQ(boolean("SIM.XFER_TO_SIM.LNK_ERR_1"), 0u);
    runPasses(R40, 2);
    EXPECT_EQ(boolean("SIM.XFER_TO_SIM.LNK_ERR_1"), 1u);
    EXPECT_EQ(boolean("SIM.XFER_TO_SIM.BW_V_2"), 0u);
    EXPECT_EQ(real("SIM.XFER_TO_SIM.AW_V_1"), 0.0f);
    EXPECT_EQ(_BW_SIM_XFER_TO_SIM_11359[1], 0u);
    EXPECT_EQ(_AR_SIM_XFER_TO_SIM_11359[11], 32767);
    EXPECT_EQ(_AR_SIM_XFER_TO_SIM_11359[1], static_cast<int16_t>(kOstLimitRpm));
    EXPECT_EQ(_AR_SIM_XFER_TO_SIM_11359[12], static_cast<int16_t>(kTripRpm));
}

// The words sent to the simulator, each from its own setting.
TEST_F(SpeedControl, SimulatorWordsFromTheirSettings) {
    start();
    const struct {
        const char* cell;
        double v;
        int word;
    } rows[] = {{"IFACE_IN_SPEED.MIN_GOV.A_NAME", 3001.4, 0}, {"IFACE_IN_SPEED.MAX_GOV.A_NAME", 3779.6, 2},
                {"_ub6.MIN.SAMP_TUNE", 1.04, 3},              {"_ub6.MAX.SAMP_TUNE", 2.04, 4},
                {"_ub7.MIN.SAMP_TUNE", 3.04, 5},              {"_ub7.MAX.SAMP_TUNE", 4.04, 6},
                {"_ub8.MIN.SAMP_TUNE", 5.04, 7},              {"_ub9.MIN.SAMP_TUNE", 6.04, 9},
                {"_ub9.MAX.SAMP_TUNE", 7.04, 10},             {"IFACE_IN_SPEED.IDLE_1.A_NAME", 800.0, 13}};
    for (const auto& r : rows) setCell(r.cell, r.v);
    runPasses(R160, 2);
    for (const auto& r : rows) {
        const double scale = r.word >= 3 && r.word <= 10 ? 10.0 : 1.0;
        EXPECT_EQ(_AR_SIM_XFER_TO_SIM_11359[r.word], static_cast<int16_t>(std::lround(scale * r.v))) << r.cell;
    }
    EXPECT_EQ(_AR_SIM_XFER_TO_SIM_11359[8], static_cast<int16_t>(std::lround(10.0 * real("SPEED_SIM.AI_KW_TO_MW.DIVIDE"))));
    // The function numbers of the chassis analog inputs and outputs.
    for (int k = 0; k < 4; ++k) setCell("_ub" + std::to_string(6 + k) + ".FUN_NUM.SAMP_ITUNE", 11 + k);
    for (int k = 0; k < 3; ++k) setCell("_ub" + std::to_string(10 + k) + ".FUNCT_INT.I_NAME", 2 + k);
    runPasses(R160, 2);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(_AR_SIM_XFER_TO_SIM_11359[15 + k], 11 + k) << k;
    for (int k = 0; k < 3; ++k) EXPECT_EQ(_AR_SIM_XFER_TO_SIM_11359[23 + k], 2 + k) << k;
}

// More than 1024 counted messages halve both totals, keeping the error
// percentage; a reset clears the error flag.
TEST_F(SpeedControl, SimulatorLinkStatistics) {
    start();
    setCell("SIM.XFER_TO_SIM.MSG_CNT_1", 1000);
    setCell("SIM.XFER_TO_SIM.ERR_CNT_1", 10);
    runPasses(R40, 1);
    EXPECT_EQ(boolean("SIM.XFER_TO_SIM.EX_ERR_1"), 1u);
    EXPECT_FLOAT_EQ(real("SIM.XFER_TO_SIM.ERR_PCT_1"), 1.0f);
    setCell("SIM.XFER_TO_SIM.MSG_CNT_1", 100);
    setCell("SIM.XFER_TO_SIM.ERR_CNT_1", 1);
    runPasses(R40, 1);
    EXPECT_FLOAT_EQ(real("SIM.XFER_TO_SIM.ERR_PCT_1"), 1.0f);
    EXPECT_EQ(integer("SIM.XFER_TO_SIM.TOT_MSG_1"), 550);
    EXPECT_EQ(integer("SIM.XFER_TO_SIM.TOT_ERR_1"), 5);
    EXPECT_EQ(integer("SIM.XFER_TO_SIM.MSG_CNT_1"), 0) << "the pass's counts are consumed";
    EXPECT_EQ(integer("SIM.XFER_TO_SIM.ERR_CNT_1"), 0);
    setCell("SIM.XFER_TO_SIM.ERR_NUM_1", 23);
    setCell("SIM.XFER_TO_SIM.RST", 1);
    runPasses(R40, 1);
    EXPECT_EQ(boolean("SIM.XFER_TO_SIM.EX_ERR_1"), 0u);
    EXPECT_EQ(integer("SIM.XFER_TO_SIM.ERR_NUM_1"), 0);
}

// The totals are halved only once the message total is above 1024; a
// single error in a pass sets the error flag.
TEST_F(SpeedControl, SimulatorLinkTotalsHalvedAbove1024) {
    start();
    struct Row {
        int messages, errors;
        int totalMessages, totalErrors;
        uint32_t flag;
    };
    const Row rows[] = {{1024, 0, 1024, 0, 0}, {1, 1, 512, 0, 1}};
    for (const Row& r : rows) {
        setCell("SIM.XFER_TO_SIM.MSG_CNT_1", r.messages);
        setCell("SIM.XFER_TO_SIM.ERR_CNT_1", r.errors);
        runPasses(R40, 1);
        EXPECT_EQ(integer("SIM.XFER_TO_SIM.TOT_MSG_1"), r.totalMessages) << r.messages;
        EXPECT_EQ(integer("SIM.XFER_TO_SIM.TOT_ERR_1"), r.totalErrors) << r.messages;
        EXPECT_EQ(boolean("SIM.XFER_TO_SIM.EX_ERR_1"), r.flag) << r.messages;
    }
}

// The slave instance's settings each pass: the address a copy of the
// tunable, both write enables held on; a port request is served once.
TEST_F(SpeedControl, SimulatorInstanceSettings) {
    start();
    setCell("SIM.XFER_TO_SIM.NET_ADDR_1", 17);
    setCell("SIM.XFER_TO_SIM.BW_ENBL_1", 0);
    setCell("SIM.XFER_TO_SIM.AW_ENBL_1", 0);
    setCell("SIM.XFER_TO_SIM.PRT_RST_1", 1);
    runPasses(R40, 1);
    EXPECT_EQ(integer("SIM.XFER_TO_SIM.ADDR_1"), 17);
    EXPECT_EQ(boolean("SIM.XFER_TO_SIM.BW_ENBL_1"), 1u);
    EXPECT_EQ(boolean("SIM.XFER_TO_SIM.AW_ENBL_1"), 1u);
    EXPECT_EQ(integer("SIM.XFER_TO_SIM.PRT_RST_1"), 0);
}

// A proposal accepted into a gain set is limited to the set's range: an
// integral gain of 0 becomes 0.0099, a proportional gain above 100 becomes
// 100; without an accept edge the settings stay.
TEST_F(SpeedControl, AcceptedGainsAreLimited) {
    useSlices(R10, {});
    start();
    setCell("SPD_CTRL.SPD_PID.CALC_P", 150.0);
    setCell("SPD_CTRL.SPD_PID.CALC_I", 0.0);
    setCell("SPD_CTRL.SPD_PID.CALC_SDR", 6.8531);
    setCell("SPD_CTRL.SPD_PID.OPTI_STATUS", 16);
    runPasses(R160, 2);
    EXPECT_FLOAT_EQ(real("SPD_DYN.P_OFFLINE.SAMP_TUNE"), 5.0f);
    setCell("IFACE_IN_SPEED.USE_OPID_OUTS.OUT_2", 1);
    runPasses(R160, 2);
    EXPECT_FLOAT_EQ(real("SPD_DYN.P_OFFLINE.SAMP_TUNE"), 100.0f);
    EXPECT_FLOAT_EQ(real("SPD_DYN.I_OFFLINE.SAMP_TUNE"), 0.0099f);
    EXPECT_FLOAT_EQ(real("SPD_DYN.D_OFFLINE.SAMP_TUNE"), 6.8531f);
    EXPECT_FLOAT_EQ(real("SPD_DYN.P_ONLINE.SAMP_TUNE"), 5.0f);
    EXPECT_EQ(boolean("SPD_DYN.OPTI_OFF.DELAY"), 1u);
    // The online set takes the next proposal.
    setCell("IFACE_IN_SPEED.USE_OPID_OUTS.OUT_2", 0);
    setCell("IFACE_IN_SPEED.USE_OPID_OUTS.OUT_1", 1);
    setCell("SPD_CTRL.SPD_PID.CALC_P", 12.0);
    runPasses(R160, 2);
    EXPECT_FLOAT_EQ(real("SPD_DYN.P_ONLINE.SAMP_TUNE"), 12.0f);
    EXPECT_FLOAT_EQ(real("SPD_DYN.I_ONLINE.SAMP_TUNE"), 0.0099f);
    EXPECT_FLOAT_EQ(real("SPD_DYN.P_OFFLINE.SAMP_TUNE"), 100.0f);
}

// The manual demand: tracking the selected demand while manual control is
// disabled, offered to the select only when enabled or selected, raised at
// its rate when enabled, and soft-disabled toward 101 while still selected.
TEST_F(SpeedControl, ManualDemandTracksRampsAndSoftDisables) {
    start();
    setCell("SPD_CTRL.OTHER_AT_MAX.IN_3", 1);  // speed control disabled
    setCell("SPD_CTRL.OTHER_EN_CTL.OR", 1);
    setCell("IFACE_IN_VLV.V1LMTR_VAL.A_NAME", 40.0);
    runPasses(R160, 2);
    EXPECT_EQ(real("HP_MAN_RAMP.MAN_DMD.RAMP"), 40.0f);
    EXPECT_EQ(boolean("HP_MAN_RAMP.MAN_DMD.P_LIM_2"), 1u);
    EXPECT_EQ(integer("HP_MAN_RAMP.MAN_DMD.POS_SEL"), 2);
    EXPECT_EQ(real("HP_MAN_RAMP.MAN_DMD_SW.A_SW"), 101.0f);
    EXPECT_EQ(real("IFACE_OUT_HP_MAN.MAN_OUT.A_NAME"), 101.0f);
    EXPECT_EQ(boolean("HP_MAN_RAMP.TRACK.B_NAME"), 1u);

    // Enabled: the delayed ramp is offered and wins below the limiter.
    setCell("HP_MAN_ENBL.ENABLED.LATCH_R", 1);
    setCell("IFACE_IN_HP_MAN.MAN_RATE.A_NAME", 10.0);
    setCell("HP_MAN_RAMP.LOWER.B_ACTION", 1);
    runPasses(R160, 2);
    runPasses(R10, 50);
    EXPECT_EQ(boolean("HP_DRIVER.ACT_LSS.SEL_3"), 1u);
    EXPECT_EQ(boolean("IFACE_OUT_VLV.ACT_LSS_SEL_3.B_NAME"), 1u);
    EXPECT_EQ(boolean("IFACE_IN_HP_MAN.MAN_CTRL.B_NAME"), 1u);
    EXPECT_EQ(boolean("HP_MAN_RAMP.MAN_DMD.MOVING_DN"), 1u);
    const float before = real("HP_MAN_RAMP.MAN_DMD.RAMP");
    runPasses(R10, 10);
    EXPECT_NEAR(before - real("HP_MAN_RAMP.MAN_DMD.RAMP"), 1.0f, 1e-3f);  // 10 %/s
    EXPECT_EQ(real("HP_DRIVER.ACT_LSS.LSS_BUS"), real("HP_MAN_RAMP.MAN_DMD_SW.A_SW"));

    // Disabled while selected: soft disable toward 101 at its rate.
    setCell("HP_MAN_RAMP.LOWER.B_ACTION", 0);
    setCell("HP_MAN_ENBL.ENABLED.LATCH_R", 0);
    setCell("HP_MAN_RAMP.SOFT_DIS_RATE.MULTIPLY", 20.0);
    runPasses(R10, 1);
    EXPECT_EQ(boolean("HP_MAN_RAMP.SOFT_DIS.B_NAME"), 1u);
    runPasses(R160, 1);
    EXPECT_EQ(integer("HP_MAN_RAMP.MAN_DMD.POS_SEL"), 1);
    EXPECT_EQ(boolean("HP_MAN_RAMP.MAN_DMD.MOVING_UP"), 1u);
    runSeconds(6.0);  // the limiter takes over once the ramp passes it
    EXPECT_EQ(boolean("HP_DRIVER.ACT_LSS.SEL_2"), 1u);
    EXPECT_EQ(real("HP_MAN_RAMP.MAN_DMD.RAMP"), 40.0f);
    EXPECT_EQ(boolean("HP_MAN_RAMP.TRACK.B_NAME"), 1u);
}

// The rated speed, the self-powered actuator level and the simulator's
// configuration numbers (the critical band while running and the trip's
// followers: running_unit_test.cpp).
TEST_F(SpeedControl, RatedSpeedSelfPowerAndSimulatorNumbers) {
    start();
    setCell("MPU_OVRD.IN_PCT.MULTIPLY", 2105.0);
    setCell("IFACE_IN_VLV.SELF_PWACT.B_NAME", 1);
    setCell("SIM.GEN_UNIT.B_NAME", 1);
    setCell("SPEED_SIM.LOAD_MW.NO", 12.5);
    for (int k = 1; k <= 3; ++k) setCell("_ub" + std::to_string(9 + k) + ".FUNCT_INT.I_NAME", 1 + k);
    const struct {
        double rpm;
        uint32_t selfPowered;
    } rows[] = {{1990.0, 1}, {2000.0, 1}, {2101.0, 1}, {2500.0, 0}, {2510.0, 0}, {2090.0, 1}};
    for (const auto& r : rows) {
        speedsensor::setShaftSpeed(0, r.rpm, 60);
        runSeconds(2.0);
        EXPECT_EQ(boolean("MPU_OVRD.SELFPWRED.B_SW"), r.selfPowered) << r.rpm;
        EXPECT_EQ(boolean("MPU_OVRD.S_PWRACT_O.ZMINUS1_B"), r.selfPowered) << r.rpm;
    }
    EXPECT_FLOAT_EQ(real("CNFG_SPEED.RATED_MULT1.MULTIPLY"), static_cast<float>(kMaxGovRpm * 1.27));
    EXPECT_FLOAT_EQ(real("SPEED_SIM.AI_KW_TO_MW.DIVIDE"), 0.1f);  // 100 kW
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(real("SPEED_SIM.ANIN_CNFIG.OUT_" + std::to_string(k)), 1.0f) << k;
    for (int k = 1; k <= 3; ++k) EXPECT_EQ(real("SPEED_SIM.RO_CONFIG.OUT_" + std::to_string(k)), 1.0f + k) << k;
    EXPECT_EQ(real("SPEED_SIM.LOAD_MW.A_SW"), 12.5f);
}

// The optimizer status block: alarm texts, the fault held for display until
// its reset, and the state flags.
TEST_F(SpeedControl, OptimizerStatusTexts) {
    useSlices(R10, {_R10_TASK_10});
    start();
    const struct {
        int alarm;
        const char* text;
    } rows[] = {{0, "None"},
                {8, "Act Movement was limited"},
                {1, "Rate group not fast enough"},
                {32, "High process movement in Droop"},
                {11, "1, 2, 8"},
                {63, "1, 2, 4, 8, 16, 32"},
                {64, "RESP_TM_LMT too short for response"},
                {65, "None"}};
    for (const auto& r : rows) {
        setCell("SPD_CTRL.SPD_PID.OPTI_ALARM", r.alarm);
        runPasses(R10, 1);
        EXPECT_EQ(text("_ub91.OPID_ALMS.I_TO_STR"), r.text) << r.alarm;
        EXPECT_EQ(real("SPD_CTRL.OPID_ALRM.OUT_1"), static_cast<float>(r.alarm)) << r.alarm;
    }
    setCell("SPD_CTRL.SPD_PID.OPTI_STATUS", 11);
    setCell("SPD_CTRL.SPD_PID.OPTI_FAULT", 9);
    runPasses(R10, 2);
    EXPECT_EQ(real("SPD_CTRL.OPID_FAULT.OUT_1"), 9.0f);
    setCell("SPD_CTRL.SPD_PID.OPTI_FAULT", 0);
    runPasses(R10, 2);
    EXPECT_EQ(text("_ub91.OPID_FLTS.I_TO_STR"), "FEEDBACK1 was False");
    EXPECT_EQ(text("_ub91.OPID_STATUS.I_TO_STR"), "Fault - Analysis Aborted");
    EXPECT_EQ(boolean("_ub91.OPTI_FLT.LATCH"), 1u);
    EXPECT_EQ(boolean("_ub91.NOT_FLT.NOT"), 0u);
    EXPECT_EQ(boolean("_ub91.OPTI_ACTIVE.AND"), 1u);
    EXPECT_EQ(boolean("SPD_CTRL.OPTI_NOT_RDY.GT"), 1u);
    EXPECT_EQ(real("SPD_CTRL.OPID_STATE.OUT_1"), 11.0f);
    // A reset clears the latch; the held text goes with a reset while no
    // fault is latched, which samples the fault of that moment.
    setCell("SPD_CTRL.OPTI_FLT_RST.OR", 1);
    runPasses(R80, 2);
    EXPECT_EQ(boolean("_ub91.OPTI_FLT.LATCH"), 0u);
    EXPECT_EQ(text("_ub91.OPID_FLTS.I_TO_STR"), "FEEDBACK1 was False");
    setCell("SPD_CTRL.OPTI_FLT_RST.OR", 0);
    runSeconds(1.0);
    setCell("SPD_CTRL.OPTI_FLT_RST.OR", 1);
    runPasses(R80, 2);
    EXPECT_EQ(text("_ub91.OPID_FLTS.I_TO_STR"), "None");
    const struct {
        int status;
        const char* text;
    } states[] = {{0, "OFF"}, {5, "Step Up to Threshold"}, {6, "Step Down to Threshold"}, {17, "OFF"}};
    for (const auto& st : states) {
        setCell("SPD_CTRL.SPD_PID.OPTI_STATUS", st.status);
        runPasses(R10, 1);
        EXPECT_EQ(text("_ub91.OPID_STATUS.I_TO_STR"), st.text) << st.status;
    }
    setCell("SPD_CTRL.SPD_PID.OPTI_STATUS", 16);
    runPasses(R10, 1);
    EXPECT_EQ(boolean("_ub91.OPTIDYN_IN_USE.AND"), 1u);
    EXPECT_EQ(boolean("_ub91.OPTI_ACTIVE.AND"), 0u);
}

// The second block of 10 ms unit delays: each input reaches its delay output
// at the end of the pass (a real that is no number as 0).
TEST_F(SpeedControl, SecondUnitDelayBlock) {
    useSlices(R10, {_R10_TASK_11});
    start();
    const struct {
        const char *in, *out;
        double v, want;
    } rows[] = {
        {"SPD_CTRL.SPD_DB.A_DEADBAND", "DROOP.Z_SPD.ZMINUS1", 3.5, 3.5},
        {"HP_MAN_RAMP.MAN_DMD.RAMP", "HP_MAN_RAMP.MAN_DMD_Z.ZMINUS1", 4.5, 4.5},
        {"IFACE_OUT_VLV.LSS_OUT.A_NAME", "DROOP.ACTR_Z.ZMINUS1", 5.5, 5.5},
        {"SPD_CTRL.HOLD_RST_HI.A_SW", "SPD_CTRL.LP_BRKR_HI.ZMINUS1", 7.5, 7.5},
        {"SPD_CTRL.HOLD_RST_LO.A_SW", "SPD_CTRL.LP_BRKR_LO.ZMINUS1", std::nan(""), 0.0},
        {"ACT_MUX.HP_FLT_ACTOUT.B_NAME", "SD_LOGIC.HP_FLT_Z.ZMINUS1_B", 1, 1},
        {"HP_DRIVER.ACT_LSS.SEL_3", "HP_DRIVER.LSS_SEL_3_Z.ZMINUS1_B", 1, 1},
        {"SHUTDOWNS.SD_REL_SW.B_SW", "DRVR_SCALE.SD_DVR_BRK.ZMINUS1_B", 1, 1},
        {"HP_MAN_RAMP.MAN_DMD.P_LIM_5", "HP_MAN_RAMP.P_LIM_4_Z.ZMINUS1_B", 1, 1},
        {"ORVEX12_IO.A_COMPARE.A_COMPARE", "ORVEX12_IO.PULSE.ZMINUS1_B", 1, 1},
        {"SHUTDOWNS.COUNTER.CMP_OUT", "SHUTDOWNS.CMP_OUT_Z.ZMINUS1_B", 1, 1},
    };
    for (const auto& r : rows) {
        setCell(r.in, r.v);
        runPasses(R10, 1);
        char type = 0;
        cell(r.out, &type);
        EXPECT_EQ(type == 'A' ? real(r.out) : static_cast<float>(boolean(r.out)), static_cast<float>(r.want)) << r.out;
    }
}

// The first block of 10 ms unit delays (stored in the tenth slice) and the
// 40 ms unit delays: each input reaches its delay output at the end of the
// pass.
TEST_F(SpeedControl, FirstUnitDelayBlockAndFortyMillisecondDelays) {
    useSlices(R10, {_R10_TASK_8, _R10_TASK_10, _R10_TASK_11});
    useSlices(R40, {_R40_TASK_8});
    start();
    const struct {
        const char *in, *out;
        int group;
        double v;
    } rows[] = {
        {"IFACE_OUT_VLV.HP_DMD.A_NAME", "SPEED_SIM.VLV_PERCENT.ZMINUS1", R10, 2.5},
        {"IFACE_IN_START.NOT_SD.B_NAME", "MPU_OVRD.NOT_SD_Z.ZMINUS1_B", R10, 1},
        {"ALARMS.ACK_D.DELAY", "ALARMS.HORN_Z.ZMINUS1_B", R40, 1},
        {"SPDC.TRACK_RATE.A_MUX_HSS", "SPDC.ZRATETRACK.ZMINUS1", R40, 6.5},
        {"OSPD.SPEED_HOLD.HSS_BUS", "OSPD.LP_BRKR.ZMINUS1", R40, 7.5},
    };
    for (const auto& r : rows) {
        setCell(r.in, r.v);
        runPasses(r.group, 1);
        char type = 0;
        cell(r.out, &type);
        EXPECT_EQ(type == 'A' ? real(r.out) : static_cast<float>(boolean(r.out)), static_cast<float>(r.v)) << r.out;
    }
    // The combination bus and the distance to maximum governor.
    reference(3000.0);
    setCell("IFACE_IN_SPEED.MAX_GOV.A_NAME", kMaxGovRpm);
    runPasses(R40, 2);
    EXPECT_EQ(real("SPD_CTRL.COMBO_SETPT.ZMINUS1"), 3000.0f);
    EXPECT_EQ(real("SPD_CLTR.Z_REFBACK.ZMINUS1"), static_cast<float>(kMaxGovRpm - 3000.0));
}

}  // namespace
}  // namespace sc_test
