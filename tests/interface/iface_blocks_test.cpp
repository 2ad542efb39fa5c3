// The interface input blocks through real passes: settings copied to the
// cells the control reads (and their defaults), the timed commands after a
// service write, the gauge tick, the derived inputs and the valve limiter
// sequence text.
#include <gtest/gtest.h>

#include <string>

#include "app/interface/interface_slices.h"
#include "runtime/tune_side_effects.h"
#include "tests/support/app_harness.h"

namespace {

constexpr int R40 = 2, R160 = 4;

bool g_defaulted = false;
void defaultsOnce() {
    if (!g_defaulted) tc_test::loadTunableDefaults();
    g_defaulted = true;
}

class InterfaceBlocks : public tc_test::AppHarness {
protected:
    void start() {
        g_defaulted = false;
        useSlices(0, {defaultsOnce});
        useSlices(R40, {_R40_TASK_4});
        useSlices(R160, {_R160_TASK_35, _R160_TASK_39});
        startApp();
        runPasses(R160, 1);
    }
    // What the service side does on a write: the cell, then the after-write hook.
    void serviceWrite(const std::string& name, uint32_t value) {
        setCell(name, value);
        special_case_tune(cell(name));
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
    struct Copy {
        const char* in;
        const char* out;
        double value;
    };
    const Copy copies[] = {
        {"IFACE_IN_SPEED.UNDERSPEED.IN", "IFACE_IN_SPEED.UNDERSPEED.A_NAME", 1234.5},
        {"IFACE_IN_SPEED.ONLINE_DB.IN", "DROOP.RPM_DB.A_NAME", 12.5},
        {"IFACE_IN_SPEED.ONLINE_DB.IN", "IFACE_IN_SPEED.ONLINE_DB.A_NAME", 12.5},
        {"IFACE_IN_START.MPU_OVRD_TIME.IN", "IFACE_IN_START.MPU_OVRD_TIME.A_NAME", 42},
        {"IFACE_IN_VLV.VLV_LIM_ENTRD.IN", "IFACE_IN_VLV.VLV_LIM_ENTRD.A_NAME", 7.5},
        {"IFACE_IN_SPEED.TREND1_Y_MIN.IN", "IFACE_IN_SPEED.TREND1_Y_MIN.I_NAME", -300},
        {"IFACE_IN_VLV.SELFPWR_TDLY.IN", "IFACE_IN_VLV.SELFPWR_TDLY.I_NAME", 99},
        {"IFACE_IN_SPEED.HOLD_CHANGES_RMT.IN", "IFACE_IN_SPEED.HOLD_CHANGES_RMT.B_NAME", 1},
        {"IFACE_IN_START.START_KEY_C.IN", "IFACE_IN_START.START_KEY_C.B_NAME", 1},
        {"IFACE_IN_VLV.SELF_PWACT.IN", "IFACE_IN_VLV.SELF_PWACT.B_NAME", 1},
        {"IFACE_IN_START.USE_STOP_CMD.IN", "IFACE_IN_START.USE_STOP_CMD.B_NAME", 0},
    };
    for (const Copy& c : copies) {
        setCell(c.in, c.value);
        runPasses(R160, 1);
        char type = 0;
        cell(c.out, &type);
        if (type == 'A') EXPECT_EQ(real(c.out), static_cast<float>(c.value)) << c.out;
        else if (type == 'I') EXPECT_EQ(integer(c.out), static_cast<int32_t>(c.value)) << c.out;
        else EXPECT_EQ(boolean(c.out), static_cast<uint32_t>(c.value)) << c.out;
    }
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
    // An input the service side did not write (no restart) does not pulse.
    setCell("IFACE_IN_SPEED.ANLYZ_RQST.IN_2", 1);
    runPasses(R40, 1);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.ANLYZ_RQST.OUT_2"), 0u);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.ANLYZ_RQST.IN_2"), 0u);
}

TEST_F(InterfaceBlocks, GaugeTickKeepsItsValueOutsideOneToSix) {
    start();
    const float ticks[] = {0.01f, 0.1f, 1.0f, 10.0f, 100.0f, 1000.0f};
    for (int k = 1; k <= 6; ++k) {
        setCell("IFACE_IN_SPEED.GAUGE_TICK_CONFIG.IN", k);
        runPasses(R160, 1);
        EXPECT_EQ(real("IFACE_IN_SPEED.TICK_CONFIG.A_MUX_N_1"), ticks[k - 1]) << k;
    }
    for (int k : {7, 0, -1}) {
        setCell("IFACE_IN_SPEED.GAUGE_TICK_CONFIG.IN", k);
        runPasses(R160, 1);
        EXPECT_EQ(real("IFACE_IN_SPEED.TICK_CONFIG.A_MUX_N_1"), 1000.0f) << k;
    }
}

TEST_F(InterfaceBlocks, DerivedInputsAndValveLimiterText) {
    start();
    EXPECT_EQ(boolean("IFACE_IN_SPEED.NO_RMT_DI.NOT"), 1u);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.NO_RMT_SPD.NOT"), 1u);
    setCell("BI_MUX.RMT_SPD_ENBL_USED.B_NAME", 1);
    setCell("CNFG_SETPT.USE_RMTSPD.B_NAME", 1);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.USE_RMT_ENA_DI.B_NAME"), 1u);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.NO_RMT_DI.NOT"), 0u);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.USE_RMT_SPD_SP.B_NAME"), 1u);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.NO_RMT_SPD.NOT"), 0u);

    struct Step {
        const char* on;
        int32_t number;
        const char* text;
    };
    const Step steps[] = {{"HPLM.A03_STEP.SFC_STEP", 3, "Normal SD"},
                          {"HPLM.A02_STEP.SFC_STEP", 2, "Automatic Open Stroke"},
                          {"HPLM.A01_STEP.SFC_STEP", 1, "Manual Stroke"}};
    EXPECT_EQ(text("IFACE_IN_VLV.V1_LIMITER_SEQ.B_TO_STR"), "OFF");
    EXPECT_EQ(integer("IFACE_IN_VLV.V1_LIMITER_SEQ.MSG_SEL"), 0);
    for (const Step& s : steps) {  // each later step wins over those set before
        setCell(s.on, 1);
        runPasses(R160, 1);
        EXPECT_EQ(text("IFACE_IN_VLV.V1_LIMITER_SEQ.B_TO_STR"), s.text);
        EXPECT_EQ(integer("IFACE_IN_VLV.V1_LIMITER_SEQ.MSG_SEL"), s.number);
        EXPECT_EQ(text("IFACE_IN_VLV.VLV_LIMITER_SEQ.S_NAME"), s.text);
    }
}

TEST_F(InterfaceBlocks, FortyMillisecondCopies) {
    start();
    setCell("IFACE_OUT_SPEED.Z_SETPOINT.A_NAME", 3456.0);
    setCell("HP_LIMTER.RAMP_LAG.LAG", 61.5);
    runPasses(R40, 1);
    EXPECT_EQ(real("IFACE_IN_START.Z_SETPOINT.A_NAME"), 3456.0f);
    EXPECT_EQ(real("IFACE_IN_VLV.V1LMTR_VAL.A_NAME"), 61.5f);
}

}  // namespace
