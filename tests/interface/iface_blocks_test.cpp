// The interface input blocks on the whole program: settings written as the
// service tool writes them copied to the cells the control reads (and their
// defaults), the timed commands after a service write, the gauge tick, the
// derived inputs from the configuration entered at power-up and the valve
// limiter sequence text through a start.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "app/interface/interface_slices.h"
#include "runtime/tune_side_effects.h"
#include "tests/interface/iface_rig.h"
#include "tests/support/app_harness.h"

namespace {

using iface_test::IfaceProgram;

class InterfaceBlocks : public IfaceProgram {
protected:
    void start() {
        startApp();
        runPasses(R160, 1);
    }
    // Passes of `group` while `out` stays 1 (at most limit).
    int passesOn(int group, const std::string& out, int limit) {
        for (int n = 0; n < limit; ++n) {
            runPasses(group, 1);
            if (boolean(out) == 0) return n;
        }
        return limit;
    }
};

// The interface input slices alone, for what no input reaches.
bool g_defaulted = false;
void defaultsOnce() {
    if (!g_defaulted) tc_test::loadTunableDefaults();
    g_defaulted = true;
}

class InterfaceBlocksSlices : public tc_test::AppHarness {
protected:
    static constexpr int R40 = 2, R160 = 4;
    void start() {
        g_defaulted = false;
        useSlices(0, {defaultsOnce});
        useSlices(R40, {_R40_TASK_4});
        useSlices(R160, {_R160_TASK_35, _R160_TASK_39});
        startApp();
        runPasses(R160, 1);
    }
};

TEST_F(InterfaceBlocks, SettingsAreCopiedWithTheirDefaults) {
    start();
    struct Default {
        const char* name;
        double value;
    };
    const Default defaults[] = {
        {"IFACE_IN_SPEED.GO_ONLINE.A_NAME", 15000},   {"IFACE_IN_SPEED.NS_RATE.A_NAME", 5},
        {"IFACE_IN_SPEED.RMT_NOT_MATCH.A_NAME", 15},  {"IFACE_IN_SPEED.SP_FRATE_ON.A_NAME", 3},
        {"IFACE_IN_START.ROLLDWN_SPD.A_NAME", 450},   {"IFACE_IN_START.SELFPWRACT.A_NAME", 20},
        {"IFACE_IN_VLV.VLV_LIM_ENTRD.A_NAME", 5},     {"IFACE_IN_SPEED.GAUGE_TICK_CONFIG.I_NAME", 3},
        {"IFACE_IN_SPEED.TREND1_Y_MAX.I_NAME", 100},  {"IFACE_IN_VLV.SELFPWR_TDLY.I_NAME", 60},
        {"IFACE_IN_SPEED.ENA_USPD_AL.B_NAME", 1},     {"IFACE_IN_START.BI_RESET_GOTO_MIN.B_NAME", 1},
        {"IFACE_IN_START.USE_STOP_CMD.B_NAME", 1},    {"IFACE_IN_SPEED.USE_SETBACK.B_NAME", 0},
        {"IFACE_IN_SPEED.TICK_CONFIG.A_MUX_N_1", 1.0},
    };
    for (const Default& d : defaults) {
        char type = 0;
        void* p = cell(d.name, &type);
        ASSERT_NE(p, nullptr) << d.name;
        if (type == 'A') EXPECT_EQ(real(d.name), static_cast<float>(d.value)) << d.name;
        else if (type == 'I') EXPECT_EQ(integer(d.name), static_cast<int32_t>(d.value)) << d.name;
        else EXPECT_EQ(boolean(d.name), static_cast<uint32_t>(d.value)) << d.name;
    }
    // Every setting reaches its copy in the next pass: each its own value.
    const char* const copies[][2] = {
        {"IFACE_IN_SPEED.GO_ONLINE.IN", "IFACE_IN_SPEED.GO_ONLINE.A_NAME"},
        {"IFACE_IN_SPEED.NS_RATE.IN", "IFACE_IN_SPEED.NS_RATE.A_NAME"},
        {"IFACE_IN_SPEED.OSPD_RATE.IN", "IFACE_IN_SPEED.OSPD_RATE.A_NAME"},
        {"IFACE_IN_SPEED.RMT_NOT_MATCH.IN", "IFACE_IN_SPEED.RMT_NOT_MATCH.A_NAME"},
        {"IFACE_IN_SPEED.RMT_SPD_DB.IN", "IFACE_IN_SPEED.RMT_SPD_DB.A_NAME"},
        {"IFACE_IN_SPEED.RMT_SPD_LAGTAU.IN", "IFACE_IN_SPEED.RMT_SPD_LAGTAU.A_NAME"},
        {"IFACE_IN_SPEED.SP_FRATE_DLY.IN", "IFACE_IN_SPEED.SP_FRATE_DLY.A_NAME"},
        {"IFACE_IN_SPEED.SP_FRATE_OFF.IN", "IFACE_IN_SPEED.SP_FRATE_OFF.A_NAME"},
        {"IFACE_IN_SPEED.SP_FRATE_ON.IN", "IFACE_IN_SPEED.SP_FRATE_ON.A_NAME"},
        {"IFACE_IN_SPEED.SP_GOTO_RT.IN", "IFACE_IN_SPEED.SP_GOTO_RT.A_NAME"},
        {"IFACE_IN_SPEED.UNDERSPEED.IN", "IFACE_IN_SPEED.UNDERSPEED.A_NAME"},
        {"IFACE_IN_SPEED.ONLINE_DB.IN", "IFACE_IN_SPEED.ONLINE_DB.A_NAME"},
        {"IFACE_IN_SPEED.GAUGE_TICK_CONFIG.IN", "IFACE_IN_SPEED.GAUGE_TICK_CONFIG.I_NAME"},
        {"IFACE_IN_SPEED.TREND1_Y_MAX.IN", "IFACE_IN_SPEED.TREND1_Y_MAX.I_NAME"},
        {"IFACE_IN_SPEED.TREND1_Y_MIN.IN", "IFACE_IN_SPEED.TREND1_Y_MIN.I_NAME"},
        {"IFACE_IN_SPEED.ENABLE_INT_OST.IN", "IFACE_IN_SPEED.ENABLE_INT_OST.B_NAME"},
        {"IFACE_IN_SPEED.ENABLE_RED_OST.IN", "IFACE_IN_SPEED.ENABLE_RED_OST.B_NAME"},
        {"IFACE_IN_SPEED.ENA_USPD_AL.IN", "IFACE_IN_SPEED.ENA_USPD_AL.B_NAME"},
        {"IFACE_IN_SPEED.ENA_USPD_SD.IN", "IFACE_IN_SPEED.ENA_USPD_SD.B_NAME"},
        {"IFACE_IN_SPEED.HOLD_CHANGES_RMT.IN", "IFACE_IN_SPEED.HOLD_CHANGES_RMT.B_NAME"},
        {"IFACE_IN_SPEED.HOT_START_CMD.IN", "IFACE_IN_SPEED.HOT_START_CMD.B_NAME"},
        {"IFACE_IN_SPEED.RESET_NOISE_CALC.IN", "IFACE_IN_SPEED.RESET_NOISE_CALC.B_NAME"},
        {"IFACE_IN_SPEED.USE_COMBO.IN", "IFACE_IN_SPEED.USE_COMBO.B_NAME"},
        {"IFACE_IN_SPEED.USE_SETBACK.IN", "IFACE_IN_SPEED.USE_SETBACK.B_NAME"},
        {"IFACE_IN_SPEED.GOTO_ENTR_SP.IN", "IFACE_IN_SPEED.GOTO_ENTR_SP.B_NAME"},
        {"IFACE_IN_START.AT_IDL_DISP_MRGN.IN", "IFACE_IN_START.AT_IDL_DISP_MRGN.A_NAME"},
        {"IFACE_IN_START.MPU_OVRD_TIME.IN", "IFACE_IN_START.MPU_OVRD_TIME.A_NAME"},
        {"IFACE_IN_START.ROLLDWN_DLY.IN", "IFACE_IN_START.ROLLDWN_DLY.A_NAME"},
        {"IFACE_IN_START.ROLLDWN_SPD.IN", "IFACE_IN_START.ROLLDWN_SPD.A_NAME"},
        {"IFACE_IN_START.SELFPWRACT.IN", "IFACE_IN_START.SELFPWRACT.A_NAME"},
        {"IFACE_IN_START.AUTO_DIS.IN", "IFACE_IN_START.AUTO_DIS.B_NAME"},
        {"IFACE_IN_START.AUTO_EN.IN", "IFACE_IN_START.AUTO_EN.B_NAME"},
        {"IFACE_IN_START.BI_RESET_GOTO_MIN.IN", "IFACE_IN_START.BI_RESET_GOTO_MIN.B_NAME"},
        {"IFACE_IN_START.CNTRL_ST.IN", "IFACE_IN_START.CNTRL_ST.B_NAME"},
        {"IFACE_IN_START.CSD_ABORT.IN", "IFACE_IN_START.CSD_ABORT.B_NAME"},
        {"IFACE_IN_START.IR_DIS.IN", "IFACE_IN_START.IR_DIS.B_NAME"},
        {"IFACE_IN_START.IR_EN.IN", "IFACE_IN_START.IR_EN.B_NAME"},
        {"IFACE_IN_START.START_KEY.IN", "IFACE_IN_START.START_KEY.B_NAME"},
        {"IFACE_IN_START.START_KEY_C.IN", "IFACE_IN_START.START_KEY_C.B_NAME"},
        {"IFACE_IN_START.USE_MPU_OVRD_TIME.IN", "IFACE_IN_START.USE_MPU_OVRD_TIME.B_NAME"},
        {"IFACE_IN_START.USE_RDWN_OVRD.IN", "IFACE_IN_START.USE_RDWN_OVRD.B_NAME"},
        {"IFACE_IN_START.USE_STOP_CMD.IN", "IFACE_IN_START.USE_STOP_CMD.B_NAME"},
        {"IFACE_IN_VLV.VLV_LIM_ENTRD.IN", "IFACE_IN_VLV.VLV_LIM_ENTRD.A_NAME"},
        {"IFACE_IN_VLV.SELFPWR_TDLY.IN", "IFACE_IN_VLV.SELFPWR_TDLY.I_NAME"},
        {"IFACE_IN_VLV.TUNED_OK.IN", "IFACE_IN_VLV.TUNED_OK.B_NAME"},
        {"IFACE_IN_VLV.HP_STRK_DISBL.IN", "IFACE_IN_VLV.HP_STRK_DISBL.B_NAME"},
        {"IFACE_IN_VLV.SELF_PWACT.IN", "IFACE_IN_VLV.SELF_PWACT.B_NAME"},
    };
    int k = 0;
    for (const auto& c : copies) {
        ++k;
        char type = 0;
        cell(c[0], &type);
        // Each its own value inside the setting's range.
        double lo = 0, hi = 0;
        double v = type == 'B' ? (boolean(c[1]) == 0 ? 1 : 0) : type == 'I' ? 5 + k : 1.5 + k;
        if (type != 'B' && tuneRange(c[0], lo, hi) && (v < lo || v > hi)) {
            v = lo + (hi - lo) * k / 64.0;
            if (type == 'I') v = static_cast<int>(v);
        }
        ASSERT_NE(v, type == 'A' ? real(c[1]) : type == 'I' ? integer(c[1]) : boolean(c[1])) << c[0];
        tune(c[0], v);
        runPasses(R160, 1);
        if (type == 'A') EXPECT_EQ(real(c[1]), static_cast<float>(v)) << c[1];
        else if (type == 'I') EXPECT_EQ(integer(c[1]), static_cast<int32_t>(v)) << c[1];
        else EXPECT_EQ(boolean(c[1]), static_cast<uint32_t>(v)) << c[1];
    }
    tune("IFACE_IN_SPEED.ONLINE_DB.IN", 12.5);
    runPasses(R160, 1);
    EXPECT_EQ(real("DROOP.RPM_DB.A_NAME"), 12.5f);
}

// A write of true raises OUT_1 for 60 s, then input and output clear; a
// write of false after 10 s clears both at the next pass.
TEST_F(InterfaceBlocks, RaiseLowerCommandsLastSixtySeconds) {
    start();
    for (const char* block : {"IFACE_IN_SPEED.RSE_LWR", "IFACE_IN_VLV.RSE_LWR"}) {
        const std::string b = block;
        serviceWrite(b + ".IN_1", 1);
        EXPECT_EQ(passesOn(R160, b + ".OUT_1", 400), 376) << b;  // 376 x 0.16 s >= 60 s
        EXPECT_EQ(boolean(b + ".IN_1"), 0u);
        serviceWrite(b + ".IN_2", 1);
        runPasses(R160, 63);
        EXPECT_EQ(boolean(b + ".OUT_2"), 1u);
        EXPECT_EQ(boolean(b + ".OUT_1"), 0u);
        serviceWrite(b + ".IN_2", 0);
        runPasses(R160, 1);
        EXPECT_EQ(boolean(b + ".OUT_2"), 0u);
        // Written true again, the pulse starts over.
        serviceWrite(b + ".IN_2", 1);
        runPasses(R160, 1);
        EXPECT_EQ(boolean(b + ".OUT_2"), 1u);
        serviceWrite(b + ".IN_2", 0);
        runPasses(R160, 1);
    }
}

// The 40 ms commands: 1.0 s (25 passes) and 2.0 s (50 passes).
TEST_F(InterfaceBlocks, FortyMillisecondCommandsByTheirLengths) {
    start();
    struct Case {
        const char* in;
        const char* out;
        int passes;
    };
    const Case cases[] = {
        {"IFACE_IN_SPEED.ANLYZ_RQST.IN_1", "IFACE_IN_SPEED.ANLYZ_RQST.OUT_1", 25},
        {"IFACE_IN_SPEED.ANLYZ_RQST.IN_2", "IFACE_IN_SPEED.ANLYZ_RQST.OUT_2", 25},
        {"IFACE_IN_SPEED.ANLYZ_RQST.IN_3", "IFACE_IN_SPEED.ANLYZ_RQST.OUT_3", 25},
        {"IFACE_IN_SPEED.ANLYZ_RQST.IN_4", "IFACE_IN_SPEED.ANLYZ_RQST.OUT_4", 25},
        {"IFACE_IN_SPEED.ENA_DIS_REM.IN_1", "IFACE_IN_SPEED.ENA_DIS_REM.OUT_1", 51},
        {"IFACE_IN_SPEED.ENA_DIS_REM.IN_2", "IFACE_IN_SPEED.ENA_DIS_REM.OUT_2", 51},
        {"IFACE_IN_SPEED.USE_OPID_OUTS.IN_1", "IFACE_IN_SPEED.USE_OPID_OUTS.OUT_1", 51},
        {"IFACE_IN_SPEED.USE_OPID_OUTS.IN_2", "IFACE_IN_SPEED.USE_OPID_OUTS.OUT_2", 51},
    };
    for (const Case& c : cases) {
        serviceWrite(c.in, 1);
        EXPECT_EQ(passesOn(R40, c.out, 100), c.passes) << c.in;
        EXPECT_EQ(boolean(c.in), 0u) << c.in;
    }
    // Two commands of one block run their own times.
    serviceWrite("IFACE_IN_SPEED.ANLYZ_RQST.IN_2", 1);
    runPasses(R40, 10);
    serviceWrite("IFACE_IN_SPEED.ANLYZ_RQST.IN_3", 1);
    EXPECT_EQ(passesOn(R40, "IFACE_IN_SPEED.ANLYZ_RQST.OUT_2", 100), 15);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.ANLYZ_RQST.OUT_3"), 1u);
    EXPECT_EQ(passesOn(R40, "IFACE_IN_SPEED.ANLYZ_RQST.OUT_3", 100), 9);  // 25 - 16
}

// Ticks 1 .. 6 from the setting; the service path refuses any other
// value (the slices alone show that the tick keeps its value then).
TEST_F(InterfaceBlocks, GaugeTickKeepsItsValueOutsideOneToSix) {
    start();
    const float ticks[] = {0.01f, 0.1f, 1.0f, 10.0f, 100.0f, 1000.0f};
    for (int k : {1, 2, 3, 4, 5, 6, 2}) {
        tune("IFACE_IN_SPEED.GAUGE_TICK_CONFIG.IN", k);
        runPasses(R160, 1);
        EXPECT_EQ(real("IFACE_IN_SPEED.TICK_CONFIG.A_MUX_N_1"), ticks[k - 1]) << k;
    }
}

// The remote speed setpoint's enable contact and the remote setpoint: off
// by default; entered at power-up (the spare contact BI07 given the remote
// enable function 8, the remote setpoint configured on analog input 1)
// they show in the derived inputs. The valve limiter's sequence text
// follows the limiter chart's step every pass of a start to in control, a
// controlled stop from the service tool and a trip.
TEST_F(InterfaceBlocks, DerivedInputsAndValveLimiterText) {
    start();
    EXPECT_EQ(boolean("IFACE_IN_SPEED.NO_RMT_DI.NOT"), 1u);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.NO_RMT_SPD.NOT"), 1u);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.USE_RMT_ENA_DI.B_NAME"), 0u);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.USE_RMT_SPD_SP.B_NAME"), 0u);
    stopApp();
    startWithRemoteAndCascade({{"_ub19.FUNCT.IN", 8}});
    runPasses(R160, 2);
    EXPECT_EQ(boolean("BI_MUX.RMT_SPD_ENBL_USED.B_NAME"), 1u);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.USE_RMT_ENA_DI.B_NAME"), 1u);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.NO_RMT_DI.NOT"), 0u);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.USE_RMT_SPD_SP.B_NAME"), 1u);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.NO_RMT_SPD.NOT"), 0u);

    const std::map<std::string, std::pair<int32_t, std::string>> texts = {
        {"A00", {0, "OFF"}}, {"A01", {1, "Manual Stroke"}}, {"A02", {2, "Automatic Open Stroke"}},
        {"A03", {3, "Normal SD"}}};
    std::set<std::string> seen;
    auto chart = [&] {
        std::string step = "A00";
        for (const auto& [s, t] : texts)
            if (s != "A00" && boolean("HPLM." + s + "_STEP.SFC_STEP") != 0) step = s;
        return step;
    };
    // Every 160 ms pass: the text of the step the chart was in when the
    // text was computed (the chart commits its steps later in the pass).
    std::string before = chart();
    auto watch = [&](int passes) {
        for (int k = 0; k < passes; ++k) {
            runPasses(R160, 1);
            const std::string step = before;
            before = chart();
            const auto& want = texts.at(step);
            EXPECT_EQ(integer("IFACE_IN_VLV.V1_LIMITER_SEQ.MSG_SEL"), want.first) << step;
            EXPECT_EQ(text("IFACE_IN_VLV.V1_LIMITER_SEQ.B_TO_STR"), want.second) << step;
            EXPECT_EQ(text("IFACE_IN_VLV.VLV_LIMITER_SEQ.S_NAME"), want.second) << step;
            seen.insert(step);
        }
    };
    watch(3);
    startCommand();
    for (int k = 0; k < 400 && !this->step("A08_STEP"); ++k) watch(1);
    ASSERT_TRUE(this->step("A08_STEP")) << "never in control";
    watch(20);
    // The limiter moved from the service tool: manual stroke.
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_2", 1);
    watch(5);
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_2", 0);
    watch(5);
    pulse("IFACE_IN_START.CNTRL_ST.IN", R160);
    watch(300);
    trip();
    watch(20);
    EXPECT_EQ(seen, (std::set<std::string>{"A00", "A01", "A02", "A03"}));
}

// Every 40 ms pass the start logic's copy of the speed setpoint is the
// interface's, through a start (the setpoint moves).
TEST_F(InterfaceBlocks, FortyMillisecondSetpointCopy) {
    RefRig::start(false, false);
    startCommand();
    std::set<float> values;
    for (int k = 0; k < 1500 && !step("A08_STEP"); ++k) {
        runPasses(R40, 1);
        EXPECT_EQ(real("IFACE_IN_START.Z_SETPOINT.A_NAME"), real("IFACE_OUT_SPEED.Z_SETPOINT.A_NAME"));
        values.insert(real("IFACE_OUT_SPEED.Z_SETPOINT.A_NAME"));
    }
    EXPECT_GT(values.size(), 10u);
}

// An input the service side did not write: every write of the service path
// runs the after-write hook, so no input sets an input without it.
TEST_F(InterfaceBlocksSlices, AnInputNotWrittenByTheServiceSideDoesNotPulse) {
    start();
    setCell("IFACE_IN_SPEED.ANLYZ_RQST.IN_2", 1);
    runPasses(R40, 1);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.ANLYZ_RQST.OUT_2"), 0u);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.ANLYZ_RQST.IN_2"), 0u);
}

// The tick outside 1 .. 6 (the service path refuses it): the tick keeps its
// value. Two limiter steps at once (the chart is in one step at a time):
// the later step's text wins.
TEST_F(InterfaceBlocksSlices, GaugeTickOutsideItsRangeAndStepsAtOnce) {
    start();
    for (int k : {7, 0, -1}) {
        setCell("IFACE_IN_SPEED.GAUGE_TICK_CONFIG.IN", 6);
        runPasses(R160, 1);
        setCell("IFACE_IN_SPEED.GAUGE_TICK_CONFIG.IN", k);
        runPasses(R160, 1);
        EXPECT_EQ(real("IFACE_IN_SPEED.TICK_CONFIG.A_MUX_N_1"), 1000.0f) << k;
    }
    struct Step {
        const char* on;
        int32_t number;
        const char* text;
    };
    const Step steps[] = {{"HPLM.A03_STEP.SFC_STEP", 3, "Normal SD"},
                          {"HPLM.A02_STEP.SFC_STEP", 2, "Automatic Open Stroke"},
                          {"HPLM.A01_STEP.SFC_STEP", 1, "Manual Stroke"}};
    for (const Step& s : steps) {  // each later step wins over those set before
        setCell(s.on, 1);
        runPasses(R160, 1);
        EXPECT_EQ(text("IFACE_IN_VLV.V1_LIMITER_SEQ.B_TO_STR"), s.text);
        EXPECT_EQ(integer("IFACE_IN_VLV.V1_LIMITER_SEQ.MSG_SEL"), s.number);
        EXPECT_EQ(text("IFACE_IN_VLV.VLV_LIMITER_SEQ.S_NAME"), s.text);
    }
}

}  // namespace
