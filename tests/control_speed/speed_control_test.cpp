// The speed control on the whole program, driven only through its inputs,
// with the turbine model closing the loop: the select of the four valve
// demands, the combination of the reference with the remote setpoint, and
// the unit delays, all checked in every pass of a start to rated and what
// follows it. Then the speed-control slices alone, with the speed sensing
// before them and the actuator stage after them, for what no input of the
// program reaches: the droop lag at integral gains the loop cannot run with,
// the simulator link's write enables and port request (written by nothing
// but its own slice), the limits of a tuning proposal and the tuner's status
// codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/control/SIM.cells.h"
#include "host/analog_inputs.h"
#include "host/board.h"
#include "host/speed_sensor_model.h"
#include "host/turbine_model.h"
#include "tests/control_speed/speed_rig.h"
#include "tests/support/ref_rig.h"

namespace sc_test {
namespace {

// ---- on the whole program ---------------------------------------------------------------

class SpeedControlProgram : public ref_test::RefRig {
protected:
    static constexpr int P10 = ref_test::R10, P40 = ref_test::R40, P160 = ref_test::R160;
    void runSeconds(double s) { runPasses(P10, static_cast<uint32_t>(s * 100.0 + 0.5)); }

    // The valve demand select in the pass just run: the lowest of the speed
    // PID's demand, the valve limiter, the manual demand and the trip's
    // demand, a later input only when strictly lower, held to 0 .. 100. The
    // limiter comes from the 40 ms group through its copy: the select is
    // checked once the limiter has stood still for eight passes.
    struct SelectSeen {
        int limiterBelowPid = 0, tieTakesPid = 0, pidAlone = 0, pidDisabled = 0, manual = 0, trip = 0;
        float limiter = -1.0f;
        int limiterSteady = 0;
    };
    void expectSelect(SelectSeen& seen) {
        const float in[4] = {real("SPD_CTRL.SPD_PID_SW.A_SW"), real("IFACE_IN_VLV.V1LMTR_VAL.A_NAME"),
                             real("HP_MAN_RAMP.MAN_DMD_SW.A_SW"), real("HP_DRIVER.TRIP.A_SW")};
        seen.limiterSteady = in[1] == seen.limiter ? seen.limiterSteady + 1 : 0;
        seen.limiter = in[1];
        if (seen.limiterSteady < 8) return;
        int sel = 0;
        for (int k = 1; k < 4; ++k)
            if (in[k] < in[sel]) sel = k;
        const float low = in[sel];
        const float out = std::clamp(low, 0.0f, 100.0f);
        const std::string at = std::to_string(in[0]) + " " + std::to_string(in[1]) + " " + std::to_string(in[2]) +
                               " " + std::to_string(in[3]);
        EXPECT_EQ(real("HP_DRIVER.ACT_LSS.LSS_BUS"), out) << at;
        EXPECT_EQ(real("IFACE_OUT_VLV.LSS_OUT.A_NAME"), out) << at;
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(boolean("HP_DRIVER.ACT_LSS.SEL_" + std::to_string(k + 1)), k == sel ? 1u : 0u) << at << k;
        EXPECT_EQ(boolean("HP_DRIVER.ACT_LSS.HI_LIM_I"), low >= 100.0f ? 1u : 0u) << at;
        EXPECT_EQ(boolean("HP_DRIVER.ACT_LSS.LO_LIM_I"), low <= 0.0f ? 1u : 0u) << at;
        // Speed control disabled: the PID is offered as 101, never taken.
        const uint32_t disabled = boolean("SPD_CTRL.SPD_SW_DLY.DELAY");
        EXPECT_EQ(boolean("IFACE_OUT_SPEED.SPD_CTRL_DISABLED.B_NAME"), disabled);
        EXPECT_EQ(real("IFACE_OUT_SPEED.SPD_PID.A_NAME"), real("SPD_CTRL.SPD_PID.PID_OPTI"));
        if (disabled != 0) {
            EXPECT_EQ(in[0], 101.0f);
            ++seen.pidDisabled;
        } else {
            EXPECT_EQ(in[0], real("SPD_CTRL.SPD_PID.PID_OPTI"));
        }
        if (sel == 1 && in[1] < in[0]) ++seen.limiterBelowPid;
        if (sel == 0 && in[0] == in[1]) ++seen.tieTakesPid;
        if (sel == 0 && in[0] < in[1]) ++seen.pidAlone;
        if (sel == 2) ++seen.manual;
        if (sel == 3) ++seen.trip;
    }
    void runChecking(SelectSeen& seen, double seconds) {
        for (int k = 0; k < static_cast<int>(seconds * 100.0); ++k) {
            runPasses(P10, 1);
            expectSelect(seen);
        }
    }
};

// A start to rated, the valve limiter opening at 5 %/s: equal at 100 to the
// PID's full demand, the PID (the earlier input) wins; in control the PID
// alone; the limiter lowered from the service tool below the PID's demand
// wins until raised again. The manual demand enabled with speed
// control set to give way to it: the PID is disabled, offered as 101. A trip
// last: the trip's 0 and the PID's 0 tie, the PID keeps the select.
TEST_F(SpeedControlProgram, LowestDemandWinsTiesKeepTheEarlierInput) {
    start(true, true,
          {{"CNFG_START.VLV_LIM_RATE.IN", 5.0},
           {"IFACE_IN_HP_MAN.USE_MAN_DMD.B_NAME", 1},
           {"SPD_CTRL.OTHER_AT_MAX.IN_3", 1}});
    SelectSeen seen;
    startCommand();
    for (int k = 0; k < 100 && !step("A02_STEP"); ++k) runChecking(seen, 1.0);
    ASSERT_TRUE(step("A02_STEP")) << "never at idle";
    serviceWrite("IFACE_IN_START.IR_EN.IN", 1);
    runChecking(seen, 0.2);
    serviceWrite("IFACE_IN_START.IR_EN.IN", 0);
    for (int k = 0; k < 40000 && !step("A08_STEP"); ++k) {
        runPasses(P10, 1);
        expectSelect(seen);
    }
    ASSERT_TRUE(step("A08_STEP")) << "never in control";
    turbine::setLoad(0.5);
    runChecking(seen, 30.0);
    EXPECT_GT(seen.tieTakesPid, 10);
    EXPECT_GT(seen.pidAlone, 100);
    EXPECT_EQ(seen.pidDisabled, 0);

    // The limiter lowered from the service tool below the PID's demand.
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_2", 1);
    for (int k = 0; k < 3000 && real("IFACE_IN_VLV.V1LMTR_VAL.A_NAME") > 35.0f; ++k) {
        runPasses(P10, 1);
        expectSelect(seen);
    }
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_2", 0);
    runChecking(seen, 5.0);
    EXPECT_GT(seen.limiterBelowPid, 100);
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_1", 1);
    for (int k = 0; k < 6000 && real("IFACE_IN_VLV.V1LMTR_VAL.A_NAME") < 100.0f; ++k) {
        runPasses(P10, 1);
        expectSelect(seen);
    }
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_1", 0);
    runChecking(seen, 20.0);

    serviceWrite("IFACE_IN_HP_MAN.ENABLE.B_NAME", 1);
    runChecking(seen, 2.0);
    EXPECT_EQ(boolean("IFACE_OUT_HP_MAN.ENABLED.B_NAME"), 1u);
    EXPECT_EQ(boolean("SPD_CTRL.OTHER_AT_MAX.AND"), 1u);
    EXPECT_GT(seen.pidDisabled, 10);
    EXPECT_GT(seen.manual, 10);

    trip();
    runChecking(seen, 2.0);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    EXPECT_EQ(real("HP_DRIVER.ACT_LSS.LSS_BUS"), 0.0f);
}

// Combination mode (configured, the speed at or above minimum governor and
// the remote setpoint enabled): the remote signal wins only when strictly
// higher than the reference; a failed remote signal counts as 0; the droop
// value comes off the result. Every 40 ms pass of a unit in control with the
// remote setpoint on analog input 1: the reference raised to 3500 rpm, the
// remote setpoint enabled at 3400 rpm (mid range), then moved to 3600, then
// its input lost. The enable comes from the 80 ms group through its copy:
// the set point is checked once it has stood for three passes.
TEST_F(SpeedControlProgram, CombinationTakesTheRemoteSignalOnlyWhenHigher) {
    board::setAnalogInputMa(0, 12.0);
    startWithRemoteAndCascade({{"IFACE_IN_SPEED.USE_COMBO.IN", 1}});
    startToInControl();
    int remoteWins = 0, referenceWins = 0, failed = 0, steady = 0;
    uint32_t combo = boolean("SPD_CTRL.ENA_COMBO.AND");
    auto everyPass = [&](int passes) {
        for (int k = 0; k < passes; ++k) {
            runPasses(P40, 1);
            const float ref = real("SPD_CTRL.SPD_REF.ADD");
            const float remote = real("SPD_CTRL.REM_SIG.A_SW");
            if (boolean("IFACE_IN_SPEED.REMSP_PV_FLT.B_NAME") != 0) {
                ++failed;
                EXPECT_EQ(remote, 0.0f);
            }
            const uint32_t sel2 = remote > ref ? 1u : 0u;
            EXPECT_EQ(boolean("SPD_CTRL.COMBO_MODE.SEL_2"), sel2) << ref << " " << remote;
            EXPECT_EQ(boolean("SPD_CTRL.COMBO_MODE.SEL_1"), 1u - sel2) << ref << " " << remote;
            EXPECT_EQ(real("SPD_CTRL.COMBO_MODE.HSS_BUS"), sel2 ? remote : ref);
            EXPECT_EQ(real("SPD_CTRL.COMBO_SETPT.ZMINUS1"), real("SPD_CTRL.COMBO_MODE.HSS_BUS"));
            const uint32_t now = boolean("SPD_CTRL.ENA_COMBO.AND");
            steady = now == combo ? steady + 1 : 0;
            combo = now;
            if (steady < 3) continue;
            const float used = combo ? real("SPD_CTRL.COMBO_MODE.HSS_BUS") : ref;
            EXPECT_EQ(real("SPD_CTRL.SPD_SETPT.A_NAME"), used - real("SPD_CTRL.DROOP_VAL.A_SW"));
            if (combo != 0) (sel2 ? remoteWins : referenceWins) += 1;
        }
    };
    everyPass(25);
    EXPECT_EQ(combo, 0u) << "the remote setpoint not enabled";
    serviceWrite("IFACE_IN_SPEED.RSE_LWR.IN_1", 1);
    for (int k = 0; k < 2000 && real("SPD_CTRL.SPD_REF.ADD") < 3500.0f; ++k) everyPass(1);
    serviceWrite("IFACE_IN_SPEED.RSE_LWR.IN_1", 0);
    everyPass(50);
    ASSERT_GT(real("SPD_CTRL.SPD_REF.ADD"), 3450.0f);
    serviceWrite("IFACE_IN_SPEED.ENA_DIS_REM.IN_1", 1);
    everyPass(100);
    EXPECT_EQ(boolean("SPD_CTRL.ENA_COMBO.AND"), 1u);
    EXPECT_GT(referenceWins, 20) << "the remote's 3400 rpm below the reference";
    board::setAnalogInputMa(0, 16.0);  // 3600 rpm
    everyPass(200);
    EXPECT_GT(remoteWins, 20);
    EXPECT_NEAR(real("SPD_CTRL.SPD_SETPT.A_NAME"), 3600.0f, 1.0f);
    // Combination no longer configured: the reference alone.
    serviceWrite("IFACE_IN_SPEED.USE_COMBO.IN", 0);
    everyPass(20);
    EXPECT_EQ(boolean("SPD_CTRL.ENA_COMBO.AND"), 0u);
    EXPECT_EQ(boolean("RMT_ENBL.ENABLED.LATCH_R"), 1u);
    EXPECT_EQ(real("SPD_CTRL.SPD_SETPT.A_NAME"), real("SPD_CTRL.SPD_REF.ADD") - real("SPD_CTRL.DROOP_VAL.A_SW"));
    serviceWrite("IFACE_IN_SPEED.USE_COMBO.IN", 1);
    everyPass(20);
    EXPECT_EQ(boolean("SPD_CTRL.ENA_COMBO.AND"), 1u);
    board::setAnalogInputMa(0, 0.0);  // the remote signal's loop broken
    everyPass(100);
    EXPECT_GT(failed, 10);
    EXPECT_EQ(boolean("SPD_CTRL.COMBO_MODE.SEL_1"), 1u);
}

// The unit delays: each one's output is its input at the end of the pass
// that stored it, every pass of a start to rated on the turbine model with
// manual demand enabled and lowered below the PID (the manual select's
// delay), then a trip (the shutdown relay's). The 10 ms delays are checked
// after each 10 ms pass, the 40 ms ones after each 40 ms pass.
const char* const kAiFunct[4] = {"_ub6.FUNCT.IN", "_ub7.FUNCT.IN", "_ub8.FUNCT.IN", "_ub9.FUNCT.IN"};
const char* const kAoFunct[3] = {"_ub10.FUNCT.IN", "_ub11.FUNCT.IN", "_ub12.FUNCT.IN"};

struct DelayPair {
    const char *in, *out;
    int group;
    bool moves;  // the scenario moves the input
};
const DelayPair kDelays[] = {
    {"SPD_CTRL.SPD_DB.A_DEADBAND", "DROOP.Z_SPD.ZMINUS1", 0, true},
    {"HP_MAN_RAMP.MAN_DMD.RAMP", "HP_MAN_RAMP.MAN_DMD_Z.ZMINUS1", 0, true},
    {"IFACE_OUT_VLV.LSS_OUT.A_NAME", "DROOP.ACTR_Z.ZMINUS1", 0, true},
    {"SPD_CTRL.HOLD_RST_HI.A_SW", "SPD_CTRL.LP_BRKR_HI.ZMINUS1", 0, false},
    {"SPD_CTRL.HOLD_RST_LO.A_SW", "SPD_CTRL.LP_BRKR_LO.ZMINUS1", 0, false},
    {"ACT_MUX.HP_FLT_ACTOUT.B_NAME", "SD_LOGIC.HP_FLT_Z.ZMINUS1_B", 0, false},
    {"HP_DRIVER.ACT_LSS.SEL_3", "HP_DRIVER.LSS_SEL_3_Z.ZMINUS1_B", 0, true},
    {"SHUTDOWNS.SD_REL_SW.B_SW", "DRVR_SCALE.SD_DVR_BRK.ZMINUS1_B", 0, true},
    {"HP_MAN_RAMP.MAN_DMD.P_LIM_5", "HP_MAN_RAMP.P_LIM_4_Z.ZMINUS1_B", 0, true},
    {"ORVEX12_IO.A_COMPARE.A_COMPARE", "ORVEX12_IO.PULSE.ZMINUS1_B", 0, false},
    {"SHUTDOWNS.COUNTER.CMP_OUT", "SHUTDOWNS.CMP_OUT_Z.ZMINUS1_B", 0, false},
    {"IFACE_OUT_VLV.HP_DMD.A_NAME", "SPEED_SIM.VLV_PERCENT.ZMINUS1", 0, true},
    {"IFACE_IN_START.NOT_SD.B_NAME", "MPU_OVRD.NOT_SD_Z.ZMINUS1_B", 0, true},
    {"ALARMS.ACK_D.DELAY", "ALARMS.HORN_Z.ZMINUS1_B", 2, false},
    {"SPDC.TRACK_RATE.A_MUX_HSS", "SPDC.ZRATETRACK.ZMINUS1", 2, true},
    {"OSPD.HOLD_RST.A_SW", "OSPD.LP_BRKR.ZMINUS1", 2, true},
    {"SPD_CTRL.COMBO_MODE.HSS_BUS", "SPD_CTRL.COMBO_SETPT.ZMINUS1", 2, true},
    {"SPD_CTRL.MAX_SETPT.SUBTRACT", "SPD_CLTR.Z_REFBACK.ZMINUS1", 2, true},
};

TEST_F(SpeedControlProgram, EachUnitDelayGivesItsInputOfThePassBefore) {
    std::map<std::string, std::set<float>> values;
    auto value = [&](const char* name) {
        char type = 0;
        cell(name, &type);
        return type == 'A' ? real(name) : static_cast<float>(boolean(name));
    };
    auto check = [&](int group) {
        for (const DelayPair& d : kDelays) {
            if (d.group != group) continue;
            const float in = value(d.in);
            EXPECT_EQ(value(d.out), in) << d.out;
            values[d.in].insert(in);
        }
    };
    auto run = [&](double seconds) {
        for (int k = 0; k < static_cast<int>(seconds * 25.0); ++k) {
            runPasses(P40, 1);
            check(2);
            for (int j = 0; j < 4; ++j) {
                runPasses(P10, 1);
                check(0);
            }
        }
    };
    start(true, true, {{"CNFG_START.VLV_LIM_RATE.IN", 25.0}, {"IFACE_IN_HP_MAN.USE_MAN_DMD.B_NAME", 1}});
    startCommand();
    run(20.0);
    serviceWrite("IFACE_IN_START.IR_EN.IN", 1);
    run(1.0);
    serviceWrite("IFACE_IN_START.IR_EN.IN", 0);
    for (int k = 0; k < 200 && !step("A08_STEP"); ++k) run(1.0);
    ASSERT_TRUE(step("A08_STEP")) << "never in control";
    turbine::setLoad(0.5);
    run(10.0);
    serviceWrite("IFACE_IN_HP_MAN.ENABLE.B_NAME", 1);
    run(1.0);
    serviceWrite("IFACE_IN_HP_MAN.RSE_LWR.IN_2", 1);
    run(3.0);
    serviceWrite("IFACE_IN_HP_MAN.RSE_LWR.IN_2", 0);
    run(2.0);
    trip();
    run(3.0);
    for (const DelayPair& d : kDelays) {
        if (d.moves) {
            EXPECT_GE(values[d.in].size(), 2u) << d.in << " never moved";
        }
    }
}

// The words sent to the simulator, each from its own setting, entered from
// the service tool while the controller powers up: the governor range, the
// idle speed, the chassis analog inputs' ranges (tenths) and function
// numbers, and the chassis analog outputs' functions.
TEST_F(SpeedControlProgram, SimulatorWordsFromTheirSettings) {
    const struct {
        const char* setting;
        double v;
        const char* cell;
        int word;
    } rows[] = {{"CNFG_SETPT.QT_MIN_GOV.IN", 3001.4, "IFACE_IN_SPEED.MIN_GOV.A_NAME", 0},
                {"CNFG_SETPT.QT_MAX_GOV.IN", 3779.6, "IFACE_IN_SPEED.MAX_GOV.A_NAME", 2},
                {"_ub6.RANGE_LO.IN", 1.04, "_ub6.MIN.SAMP_TUNE", 3},
                {"_ub6.RANGE_HI.IN", 2.04, "_ub6.MAX.SAMP_TUNE", 4},
                {"_ub7.RANGE_LO.IN", 3.04, "_ub7.MIN.SAMP_TUNE", 5},
                {"_ub7.RANGE_HI.IN", 4.04, "_ub7.MAX.SAMP_TUNE", 6},
                {"_ub8.RANGE_LO.IN", 5.04, "_ub8.MIN.SAMP_TUNE", 7},
                {"_ub9.RANGE_LO.IN", 6.04, "_ub9.MIN.SAMP_TUNE", 9},
                {"_ub9.RANGE_HI.IN", 7.04, "_ub9.MAX.SAMP_TUNE", 10},
                {"CNFG_START.CONFIG_A.IN_1", 800.0, "IFACE_IN_SPEED.IDLE_1.A_NAME", 13}};
    Settings settings;
    for (const auto& r : rows) settings.emplace_back(r.setting, r.v);
    for (int k = 0; k < 4; ++k) settings.emplace_back(kAiFunct[k], 11 + k);
    for (int k = 0; k < 3; ++k) settings.emplace_back(kAoFunct[k], 2 + k);
    startApp();
    for (const auto& [name, v] : settings) serviceWrite(name, v);
    runPasses(P160, 20);
    for (const auto& r : rows) {
        EXPECT_FLOAT_EQ(real(r.cell), static_cast<float>(r.v)) << r.cell;
        const double scale = r.word >= 3 && r.word <= 10 ? 10.0 : 1.0;
        EXPECT_EQ(_AR_SIM_XFER_TO_SIM_11359[r.word], static_cast<int16_t>(std::lround(scale * r.v))) << r.cell;
    }
    EXPECT_EQ(_AR_SIM_XFER_TO_SIM_11359[8], static_cast<int16_t>(std::lround(10.0 * real("SPEED_SIM.AI_KW_TO_MW.DIVIDE"))));
    for (int k = 0; k < 4; ++k) EXPECT_EQ(_AR_SIM_XFER_TO_SIM_11359[15 + k], 11 + k) << k;
    for (int k = 0; k < 3; ++k) EXPECT_EQ(_AR_SIM_XFER_TO_SIM_11359[23 + k], 2 + k) << k;
}

// The droop lag: a first-order lag of the selected demand of the pass
// before, its time the integral time 1/I of the gain set in use. Every 10 ms
// pass of a unit in control at rated, then with the valve limiter lowered
// below the PID's demand and the integral gains at the top of their range
// (50: a lag of 0.02 s), the limiter moving. A droop of 5 % is configured:
// in every pass the droop in rpm is the lag's output (the demand in %) times
// the percentage times minimum governor / 10000, and at the steady load the
// speed PID's setpoint stands that far below the reference.
TEST_F(SpeedControlProgram, DroopLagTimeFromTheIntegralGain) {
    constexpr float kDroopPct = 5.0f;
    start(true, true, {{"CNFG_START.VLV_LIM_RATE.IN", 25.0}, {"IFACE_IN_SPEED.DROOP_PCT.IN", kDroopPct}});
    startToRated();
    turbine::setLoad(0.5);
    runSeconds(20.0);
    {
        const float demand = real("IFACE_OUT_VLV.LSS_OUT.A_NAME");
        ASSERT_GT(demand, 10.0f) << "no load on the unit";
        // 5 % of 3000 rpm over the full stroke: 1.5 rpm per % of demand.
        const float droopRpm = demand * kDroopPct * static_cast<float>(ref_test::kMinGov) / 10000.0f;
        // Within 1 %: the loop still settles, the lag a little behind.
        EXPECT_NEAR(real("DROOP.DROOP_RPM.MULTIPLY"), droopRpm, 0.01f * droopRpm);
        EXPECT_NEAR(real("SPD_CTRL.DROOP_VAL.A_SW"), droopRpm, 0.01f * droopRpm);
        EXPECT_NEAR(real("SPD_CTRL.SPD_REF.ADD") - real("SPD_CTRL.SPD_SETPT.A_NAME"), droopRpm, 0.01f * droopRpm);
    }
    // The demand each pass uses: the one stored by the pass before.
    float usedBefore = real("DROOP.ACTR_Z.ZMINUS1");
    runPasses(P10, 1);
    float y = real("DROOP.SPD_DP_LAG.LAG_2"), used = real("DROOP.ACTR_Z.ZMINUS1");
    std::set<float> gains;
    float moved = 0.0f;
    auto everyPass = [&](double seconds) {
        for (int k = 0; k < static_cast<int>(seconds * 100.0); ++k) {
            runPasses(P10, 1);
            const float gain = real("SPD_CTRL.I_GAIN.A_SW");
            gains.insert(gain);
            EXPECT_FLOAT_EQ(real("DROOP.SET_LAG.DIVIDE"), 1.0f / gain);
            const float delta = (used + usedBefore - 2.0f * y) * 0.01f / (2.0f / gain + 0.01f);
            const float now = real("DROOP.SPD_DP_LAG.LAG_2");
            ASSERT_NEAR(now, y + delta, 1e-4f + 1e-5f * std::fabs(now)) << k << " " << gain;
            EXPECT_NEAR(real("DROOP.SPD_DP_LAG.DERIV"), (now - y) / 0.01f, 1e-2f + 1e-3f * std::fabs(now - y) * 100.0f);
            const float droopRpm = now * kDroopPct * static_cast<float>(ref_test::kMinGov) / 10000.0f;
            ASSERT_NEAR(real("DROOP.DROOP_RPM.MULTIPLY"), droopRpm, 1e-4f * std::fabs(droopRpm) + 1e-4f) << k;
            ASSERT_EQ(real("SPD_CTRL.DROOP_VAL.A_SW"), real("DROOP.DROOP_RPM.MULTIPLY")) << k;
            moved = std::max(moved, std::fabs(now - y));
            y = now;
            usedBefore = used;
            used = real("DROOP.ACTR_Z.ZMINUS1");
            EXPECT_EQ(used, real("IFACE_OUT_VLV.LSS_OUT.A_NAME")) << "stored at the end of the pass";
        }
    };
    everyPass(10.0);
    serviceWrite("SPD_DYN.I_OFFLINE.TUNE", 50.0);
    serviceWrite("SPD_DYN.I_ONLINE.TUNE", 50.0);
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_2", 1);
    everyPass(20.0);
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_2", 0);
    everyPass(5.0);
    EXPECT_TRUE(gains.count(50.0f)) << "the top of the range in use";
    EXPECT_GE(gains.size(), 2u);
    EXPECT_GT(moved, 0.01f);
}

// The rated speed, the self-powered actuator level and the simulator's
// configuration numbers, from the settings entered at power-up: a manual
// start (the level is 70 % of minimum governor, 2100 rpm), the actuator
// self-powered, a generator unit with its load, the chassis analog outputs'
// functions. The self-powered flag is set while the level stands 5 rpm or
// more above the turbine speed (the wheels turned by the speed-sensor model),
// until the speed passes the level.
TEST_F(SpeedControlProgram, RatedSpeedSelfPowerAndSimulatorNumbers) {
    startApp();
    enterSettings(false, false,
                  {{"IFACE_IN_START.SELFPWRACT.IN", 70.0},
                   {"IFACE_IN_VLV.SELF_PWACT.IN", 1},
                   {"SIM.GEN_UNIT.IN", 1},
                   {"SPEED_SIM.LOAD_MW.NO", 12.5},
                   {kAoFunct[0], 2},
                   {kAoFunct[1], 3},
                   {kAoFunct[2], 4}});
    runPasses(P160, 20);
    const float level = real("MPU_OVRD.IN_PCT.MULTIPLY");
    EXPECT_NEAR(level, 2100.0f, 0.01f);
    const struct {
        double below;  // rpm below the level
        uint32_t selfPowered;
    } rows[] = {{115.0, 1}, {105.0, 1}, {4.0, 1}, {-395.0, 0}, {-405.0, 0}, {15.0, 1}};
    for (const auto& r : rows) {
        speedsensor::setShaftSpeed(0, level - r.below, 60);
        runSeconds(2.0);
        EXPECT_EQ(boolean("MPU_OVRD.SELFPWRED.B_SW"), r.selfPowered) << r.below;
        EXPECT_EQ(boolean("MPU_OVRD.S_PWRACT_O.ZMINUS1_B"), r.selfPowered) << r.below;
    }
    EXPECT_FLOAT_EQ(real("CNFG_SPEED.RATED_MULT1.MULTIPLY"), static_cast<float>(ref_test::kMaxGov * 1.27));
    EXPECT_FLOAT_EQ(real("SPEED_SIM.AI_KW_TO_MW.DIVIDE"), 0.1f);  // 100 kW
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(real("SPEED_SIM.ANIN_CNFIG.OUT_" + std::to_string(k)), 1.0f) << k;
    for (int k = 1; k <= 3; ++k) EXPECT_EQ(real("SPEED_SIM.RO_CONFIG.OUT_" + std::to_string(k)), 1.0f + k) << k;
    EXPECT_EQ(boolean("SIM.GEN_UNIT.B_NAME"), 1u);
    EXPECT_EQ(real("SPEED_SIM.LOAD_MW.A_SW"), 12.5f);
    serviceWrite("SIM.GEN_UNIT.IN", 0);
    runPasses(P160, 2);
    EXPECT_EQ(real("SPEED_SIM.LOAD_MW.A_SW"), real("SPEED_SIM.LOAD_MW.NC"));
}

// The tuner's status block on a fault: a tuning run requested while the
// valve limiter, lowered from the service tool below the PID's demand, has
// the valve aborts (the PID's feedback flag is false); its text is held for
// display after the fault has gone, until a reset (from the reset contact)
// while no fault is latched samples the fault of that moment.
TEST_F(SpeedControlProgram, TheTunersFaultIsHeldUntilItsReset) {
    start(true, true, {{"CNFG_START.VLV_LIM_RATE.IN", 25.0}});
    startToRated();
    turbine::setLoad(0.5);
    runSeconds(20.0);
    EXPECT_EQ(integer("SPD_CTRL.SPD_PID.OPTI_STATUS"), 1);
    EXPECT_EQ(text("_ub91.OPID_STATUS.I_TO_STR"), "Ready");
    EXPECT_EQ(text("_ub91.OPID_FLTS.I_TO_STR"), "None");
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_2", 1);
    ASSERT_TRUE(runUntil([&] { return boolean("HP_DRIVER.ACT_LSS.SEL_2") != 0; }, 500));
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_2", 0);
    runSeconds(2.0);
    serviceWrite("SPD_CTRL.TIQ_OPTI_RQST.IN", 1);
    ASSERT_TRUE(runUntil([&] { return integer("SPD_CTRL.SPD_PID.OPTI_STATUS") == 11; }, 100))
        << "status " << integer("SPD_CTRL.SPD_PID.OPTI_STATUS");
    runSeconds(0.2);
    EXPECT_EQ(integer("SPD_CTRL.SPD_PID.OPTI_FAULT"), 9);
    EXPECT_EQ(real("SPD_CTRL.OPID_FAULT.OUT_1"), 9.0f);
    EXPECT_EQ(real("SPD_CTRL.OPID_STATE.OUT_1"), 11.0f);
    EXPECT_EQ(text("_ub91.OPID_FLTS.I_TO_STR"), "FEEDBACK1 was False");
    EXPECT_EQ(text("_ub91.OPID_STATUS.I_TO_STR"), "Fault - Analysis Aborted");
    EXPECT_EQ(boolean("_ub91.OPTI_FLT.LATCH"), 1u);
    EXPECT_EQ(boolean("_ub91.NOT_FLT.NOT"), 0u);
    EXPECT_EQ(boolean("_ub91.OPTI_ACTIVE.AND"), 1u);
    EXPECT_EQ(boolean("_ub91.OPTIDYN_IN_USE.AND"), 0u);
    EXPECT_EQ(boolean("SPD_CTRL.OPTI_NOT_RDY.GT"), 1u);
    // The request released and the tuner reset from the service tool: the
    // fault is gone and its latch cleared, its text held.
    serviceWrite("SPD_CTRL.TIQ_OPTI_RQST.IN", 0);
    serviceWrite("SPD_CTRL.ENA_OPTI.RST_1", 1);
    runPasses(P160, 2);
    serviceWrite("SPD_CTRL.ENA_OPTI.RST_1", 0);
    ASSERT_TRUE(runUntil([&] { return integer("SPD_CTRL.SPD_PID.OPTI_FAULT") == 0; }, 50));
    runSeconds(1.0);
    EXPECT_EQ(text("_ub91.OPID_FLTS.I_TO_STR"), "FEEDBACK1 was False");
    EXPECT_EQ(boolean("_ub91.OPTI_FLT.LATCH"), 0u);
    EXPECT_EQ(text("_ub91.OPID_STATUS.I_TO_STR"), "Ready");
    // A reset while no fault is latched samples the fault of that moment.
    reset();
    runSeconds(2.0);
    EXPECT_EQ(text("_ub91.OPID_FLTS.I_TO_STR"), "None");
}

// ---- the speed-control slices alone -----------------------------------------------------

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

// Integral gains the settings do not take (0.0099 .. 50) and the loop
// could not run with:
// the droop lag's time is the integral time 1/I, at least 0.0063694264 s;
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

// The simulator link's supervision, statistics and address setting run on
// the whole program with a simulator on its port (simulator_link_test.cpp).
// Nothing but the link's own slice writes the write enables and the port
// request, so no input can clear an enable or ask for the port: only the
// slice shows that the enables are held on each pass and a request is
// served once.
TEST_F(SpeedControl, SimulatorInstanceHoldsItsEnablesAndServesAPortRequestOnce) {
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

// The optimizer status block for codes the tuner gives in runs no scenario
// here brings about (each alarm bit, the step states, a status beyond the
// last): alarm texts, the fault held for display until its reset, and the
// state flags (a fault from a real run: TheTunersFaultIsHeldUntilItsReset).
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

}  // namespace
}  // namespace sc_test
