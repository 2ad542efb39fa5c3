// The speed-control interface bits, the tripped alarm, the remote-cascade
// enable, the start-message pulses and the Modbus trip and reset of the 80 ms
// group, through real passes of slices 12 and 20 and the end-of-pass unit
// delays. The slices that compute their inputs do not run here, so the test
// sets those inputs as their slices would leave them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/control/SPDC.cells.h"
#include "app/control/control_slices.h"
#include "app/control/unit_delays_r80.h"
#include "app/remote_io/remote_io.h"
#include "tests/support/app_harness.h"
#include "tests/support/ref_rig.h"

namespace {

constexpr int R10 = 0, R40 = 2, R80 = 3, R160 = 4;

bool g_defaults = false;
void defaultsOnce() {
    if (g_defaults) return;
    g_defaults = true;
    tc_test::loadTunableDefaults();
}
void unitDelays80() {
    r80::unit_delays_store();
    r80::unit_delays_commit();
}

class IfaceBits : public tc_test::AppHarness {
protected:
    void SetUp() override {
        AppHarness::SetUp();
        g_defaults = false;
        useSlices(R10, {defaultsOnce});
        useSlices(R80, {_R80_TASK_12, _R80_TASK_18, _R80_TASK_20, unitDelays80});
        useSlices(R160, {r160::SPDC_max_gov_margin});
        startApp();
        runPasses(R80, 2);
    }
    // Enough passes for a value of any group to reach the 80 ms group and
    // its results to settle.
    void settle() {
        runPasses(R160, 2);
        runPasses(R80, 2);
    }
};

TEST_F(IfaceBits, EachActiveDynamicsReachesItsOwnInterfaceBitAndTheOffLineFlag) {
    const char* outs[] = {"IFACE_OUT_SPEED.MANUL_OFFL.B_NAME", "IFACE_OUT_SPEED.MANUL_ONL.B_NAME",
                          "IFACE_OUT_SPEED.OPTI_OFFL.B_NAME", "IFACE_OUT_SPEED.OPTI_ONL.B_NAME",
                          "IFACE_OUT_SPEED.USING_OPTIDYN.B_NAME"};
    const uint32_t offline[] = {1, 0, 1, 0, 0};
    for (int k = 0; k < 5; ++k) {
        for (int j = 0; j < 5; ++j) setCell("SPD_CTRL.DYN_ACTIV.OUT_" + std::to_string(j + 1), j == k ? 1 : 0);
        runPasses(R80, 1);
        for (int j = 0; j < 5; ++j) EXPECT_EQ(boolean(outs[j]), j == k ? 1u : 0u) << "active " << k + 1 << " " << outs[j];
        EXPECT_EQ(boolean("IFACE_OUT_SPEED.OFFLINE.OR"), offline[k]) << "active " << k + 1;
    }
    for (int j = 0; j < 5; ++j) setCell("SPD_CTRL.DYN_ACTIV.OUT_" + std::to_string(j + 1), 0);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("IFACE_OUT_SPEED.OFFLINE.OR"), 0u);
}

TEST_F(IfaceBits, TheLoadPercentageIsTheReferencesPlaceInTheGovernorRange) {
    const struct {
        double ramp, minGov, maxGov;
        float rpm, range, pct;
    } rows[] = {
        {1500.0, 1000.0, 2000.0, 500.0f, 1000.0f, 50.0f},
        {900.0, 1000.0, 2000.0, -100.0f, 1000.0f, -10.0f},
        {3000.0, 1000.0, 2000.0, 2000.0f, 1000.0f, 200.0f},
        {1000.0, 1000.0, 1000.0, 0.0f, 0.0f, 1e36f},      // a zero range at the minimum: +1e34 x 100
        {1200.0, 1000.0, 1000.0, 200.0f, 0.0f, 1e36f},
        {900.0, 1000.0, 1000.0, -100.0f, 0.0f, -1e36f},   // below the minimum: -1e34 x 100
    };
    for (const auto& r : rows) {
        setCell("SPDC.SPEED_REF.RAMP", r.ramp);
        setCell("CNFG_SETPT.MIN_GOV.A_NAME", r.minGov);
        setCell("IFACE_IN_SPEED.MAX_GOV.A_NAME", r.maxGov);
        settle();
        EXPECT_EQ(real("SPDC.SP_RPM.SUBTRACT"), r.rpm) << r.ramp;
        EXPECT_EQ(real("SPDC.RANGE.SUBTRACT"), r.range) << r.ramp;
        EXPECT_FLOAT_EQ(real("SPDC.PCT_RANGE.MULTIPLY"), r.pct) << r.ramp << " " << r.maxGov;
        EXPECT_FLOAT_EQ(real("SPDC.RATIO.DIVIDE") * 100.0f, r.pct);
        EXPECT_EQ(real("IFACE_OUT_SPEED.MDRIVE_LOAD.A_NAME"), real("SPDC.PCT_RANGE.MULTIPLY"));
    }
}

TEST_F(IfaceBits, TheReferenceCheckComparesTheMarginBelowMaximumGovernorWithTheReference) {
    setCell("IFACE_IN_SPEED.MAX_GOV.A_NAME", 3600.0);
    settle();
    EXPECT_EQ(real("SPDC.SUB_1.SUBTRACT"), 3599.0f);
    const struct {
        double ref;
        uint32_t compare, equal;
    } rows[] = {{3000.0, 1, 0}, {3599.0, 1, 1}, {3599.5, 0, 0}, {3598.9, 1, 0}, {3700.0, 0, 0}};
    for (const auto& r : rows) {
        setCell("IFACE_OUT_SPEED.SPEED_REF.A_NAME", r.ref);
        runPasses(R80, 2);
        EXPECT_EQ(boolean("SPDC.SR_MXGGRRE.A_COMPARE"), r.compare) << r.ref;
        EXPECT_EQ(boolean("SPDC.SR_MXGGRRE.A_EQUAL"), r.equal) << r.ref;
    }
    setCell("IFACE_IN_SPEED.MAX_GOV.A_NAME", 4000.0);
    settle();
    EXPECT_EQ(boolean("SPDC.SR_MXGGRRE.A_COMPARE"), 1u) << "the margin follows the maximum governor";
}

TEST_F(IfaceBits, TheInterfaceCopiesFollowTheirSources) {
    const struct {
        const char* source;
        std::vector<const char*> copies;
    } rows[] = {
        {"SPDC.Z01_C2.B_ACTION", {"IFACE_OUT_SPEED.NSD_IN_PROGRESS.B_NAME"}},
        {"CNTRL_STOP.NSD_ENABLED.LATCH_R", {"CNTRL_STOP.CSD_SEQ.B_NAME", "IFACE_OUT_START.CSD_SEQ_ENABLED.B_NAME"}},
        {"START.SD_CLEAR.NOT", {"IFACE_OUT_START.SD_CLEAR.B_NAME"}},
        {"HP_LIMTER.INVALID_SP.OR", {"IFACE_OUT_VLV.INVALID_SP.B_NAME"}},
    };
    for (const auto& r : rows) {
        for (int v : {1, 0, 1}) {
            setCell(r.source, v);
            runPasses(R80, 1);
            for (const char* c : r.copies) EXPECT_EQ(boolean(c), uint32_t(v)) << r.source << " -> " << c;
        }
        setCell(r.source, 0);
    }
    // Each copy has its own source.
    runPasses(R80, 1);
    setCell("START.SD_CLEAR.NOT", 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("IFACE_OUT_START.CSD_SEQ_ENABLED.B_NAME"), 0u);
    EXPECT_EQ(boolean("IFACE_OUT_VLV.INVALID_SP.B_NAME"), 0u);
    EXPECT_EQ(boolean("IFACE_OUT_SPEED.NSD_IN_PROGRESS.B_NAME"), 0u);
}

// On the whole program: the alarm from the service tool, the shutdown from
// the trip contact.
class TrippedAlarm : public ref_test::RefRig {};

TEST_F(TrippedAlarm, TheTrippedAlarmNeedsTheAlarmAndAShutdown) {
    start(false, false);
    const struct {
        int s1, anySd;
    } rows[] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 0}};
    for (const auto& r : rows) {
        serviceWrite("ALARMS.S1.IN", r.s1);
        if (r.anySd != 0 && boolean("SHUTDOWNS.ANY_SD.B_NAME") == 0) trip();
        if (r.anySd == 0 && boolean("SHUTDOWNS.ANY_SD.B_NAME") != 0) clearTrip();
        runPasses(R160, 2);
        runPasses(R80, 2);
        ASSERT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), uint32_t(r.anySd));
        EXPECT_EQ(boolean("ALM_LOGIC.TRIP_ALM.AND"), uint32_t(r.s1 && r.anySd)) << r.s1 << r.anySd;
    }
}

// The remote-cascade enable: configured, cascade enabled and matched.
class RemoteCascade : public IfaceBits {
protected:
    void SetUp() override {
        IfaceBits::SetUp();
        setCell("RMT_CAS_EN.RCASC_CF.B_NAME", 1);
        setCell("IFACE_OUT_SPEED.CASCADE_ENABLED.B_NAME", 1);
        setCell("CASC_RATE.MATCHED.NOT", 1);
        settle();
    }
    // The enable list rises; the pulse and the latch come in the pass the
    // 80 ms group first sees it.
    void enable() {
        setCell("RMT_CAS_EN.OR_ENABLE.OR", 1);
        for (int k = 0; k < 12 && boolean("RMT_CAS_EN.PLS_ON.B_ACTION") == 0; ++k) runPasses(R80, 1);
        ASSERT_EQ(boolean("RMT_CAS_EN.PLS_ON.B_ACTION"), 1u);
        EXPECT_EQ(integer("RMT_CAS_EN.PLS_ON.ACT_OUT"), 5);
        EXPECT_EQ(boolean("RMT_CAS_EN.ENABLED.LATCH_R"), 1u);
        runPasses(R80, 1);
        EXPECT_EQ(boolean("RMT_CAS_EN.PLS_ON.B_ACTION"), 0u) << "one pass on the rise";
        setCell("RMT_CAS_EN.OR_ENABLE.OR", 0);
        settle();
    }
};

TEST_F(RemoteCascade, TheRiseOfTheEnableListLatchesAndSelectsRemoteCascade) {
    EXPECT_EQ(boolean("RMT_CAS_EN.ENABLED.LATCH_R"), 0u);
    EXPECT_EQ(boolean("RMT_CAS_EN.REM_SEL.AND"), 0u);
    enable();
    EXPECT_EQ(boolean("RMT_CAS_EN.ENABLED.LATCH_R"), 1u) << "held after the pulse";
    EXPECT_EQ(boolean("RMT_CAS_EN.REM_SEL.AND"), 1u);
    EXPECT_EQ(boolean("IFACE_OUT_CASC.REM_CAS_SEL.B_NAME"), 1u);
    // The selection needs cascade enabled and the setpoint matched as well.
    for (const char* c : {"IFACE_OUT_SPEED.CASCADE_ENABLED.B_NAME", "CASC_RATE.MATCHED.NOT"}) {
        setCell(c, 0);
        settle();
        EXPECT_EQ(boolean("RMT_CAS_EN.REM_SEL.AND"), 0u) << c;
        EXPECT_EQ(boolean("IFACE_OUT_CASC.REM_CAS_SEL.B_NAME"), 0u) << c;
        EXPECT_EQ(boolean("RMT_CAS_EN.ENABLED.LATCH_R"), 1u) << c;
        setCell(c, 1);
        settle();
        EXPECT_EQ(boolean("IFACE_OUT_CASC.REM_CAS_SEL.B_NAME"), 1u) << c;
    }
}

TEST_F(RemoteCascade, EveryDisableConditionDropsTheLatchAndTheSelection) {
    const char* disables[] = {
        "SHUTDOWNS.SD_SHOOT.ONE_SHOT",     "RMT_CAS_EN.BI_OFF.B_ACTION",     "IFACE_IN_CASC.CASC_PV_FLT.B_NAME",
        "IFACE_IN_CASC.RMT_CASC_FLT.B_NAME", "IFACE_IN_CASC.RMT_CAS_DIS.B_NAME", "IFACE_IN_CASC.CASC_RMT_N.NOT",
        "RMT_CAS_EN.OR_DISABLE.IN_8",      "MOD_BW.BW_CMD.SEL_15",           "OPC_DATA.BW_CMDS.SEL_15",
    };
    for (const char* d : disables) {
        enable();
        ASSERT_EQ(boolean("RMT_CAS_EN.REM_SEL.AND"), 1u) << d;
        setCell(d, 1);
        settle();
        EXPECT_EQ(boolean("RMT_CAS_EN.OR_DISABLE.OR"), 1u) << d;
        EXPECT_EQ(boolean("RMT_CAS_EN.ENABLED.LATCH_R"), 0u) << d;
        EXPECT_EQ(boolean("RMT_CAS_EN.REM_SEL.AND"), 0u) << d;
        EXPECT_EQ(boolean("IFACE_OUT_CASC.REM_CAS_SEL.B_NAME"), 0u) << d;
        // A rise of the enable list while the disable holds: the disable wins.
        setCell("RMT_CAS_EN.OR_ENABLE.OR", 1);
        settle();
        EXPECT_EQ(boolean("RMT_CAS_EN.ENABLED.LATCH_R"), 0u) << d;
        setCell("RMT_CAS_EN.OR_ENABLE.OR", 0);
        setCell(d, 0);
        settle();
        EXPECT_EQ(boolean("RMT_CAS_EN.OR_DISABLE.OR"), 0u) << d;
        EXPECT_EQ(boolean("RMT_CAS_EN.ENABLED.LATCH_R"), 0u) << d << ": stays off until the next rise";
    }
}

TEST_F(RemoteCascade, EnablingTheRemoteSpeedSetpointDropsRemoteCascadeOnceOnItsRise) {
    enable();
    setCell("RMT_ENBL.ENABLED.LATCH_R", 1);
    // The pulse follows the enable's unit delay: one pass, a pass later.
    runPasses(R80, 1);
    EXPECT_EQ(boolean("RMT_ENBL.ZENABLED.ZMINUS1_B"), 1u);
    EXPECT_EQ(boolean("RMT_ENBL.PLS_ENABL.B_ACTION"), 0u);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("RMT_ENBL.PLS_ENABL.B_ACTION"), 1u);
    EXPECT_EQ(integer("RMT_ENBL.PLS_ENABL.ACT_OUT"), 5);
    EXPECT_EQ(boolean("RMT_CAS_EN.ENABLED.LATCH_R"), 0u);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("RMT_ENBL.PLS_ENABL.B_ACTION"), 0u);
    // Remote cascade can be enabled again while the remote speed setpoint
    // stays enabled.
    enable();
    runPasses(R80, 5);
    EXPECT_EQ(boolean("RMT_CAS_EN.ENABLED.LATCH_R"), 1u);
}

TEST_F(RemoteCascade, WhileNotConfiguredTheLatchKeepsItsStateWhateverTheInputs) {
    enable();
    setCell("RMT_CAS_EN.RCASC_CF.B_NAME", 0);
    settle();
    setCell("RMT_CAS_EN.OR_DISABLE.IN_8", 1);
    settle();
    EXPECT_EQ(boolean("RMT_CAS_EN.OR_DISABLE.OR"), 1u);
    EXPECT_EQ(boolean("RMT_CAS_EN.ENABLED.LATCH_R"), 1u) << "a disable does not reset it";
    EXPECT_EQ(boolean("RMT_CAS_EN.REM_SEL.AND"), 1u);
    setCell("RMT_CAS_EN.RCASC_CF.B_NAME", 1);
    settle();
    EXPECT_EQ(boolean("RMT_CAS_EN.ENABLED.LATCH_R"), 0u);
    setCell("RMT_CAS_EN.OR_DISABLE.IN_8", 0);
    setCell("RMT_CAS_EN.RCASC_CF.B_NAME", 0);
    settle();
    setCell("RMT_CAS_EN.OR_ENABLE.OR", 1);
    settle();
    EXPECT_EQ(boolean("RMT_CAS_EN.PLS_ON.B_ACTION"), 0u);
    EXPECT_EQ(boolean("RMT_CAS_EN.ENABLED.LATCH_R"), 0u) << "an enable does not set it";
}

TEST_F(IfaceBits, AnIdleOrRatedCommandIsShownForThreeSeconds) {
    for (const char* cmd : {"IDLE_RATE.IDLE_PLS.OR", "IDLE_RATE.RATED_PLS.OR"}) {
        const std::string shown =
            std::string(cmd) == "IDLE_RATE.IDLE_PLS.OR" ? "MESSAGE_START.SH_OFFCMD" : "MESSAGE_START.SH_ONCMD";
        const std::string other =
            shown == "MESSAGE_START.SH_OFFCMD" ? "MESSAGE_START.SH_ONCMD" : "MESSAGE_START.SH_OFFCMD";
        setCell(cmd, 1);
        runPasses(R80, 1);
        EXPECT_EQ(integer(shown + ".R_TIME"), 2) << cmd;
        setCell(cmd, 0);
        int on = 1;
        for (int k = 0; k < 60; ++k) {
            EXPECT_EQ(boolean(other + ".ONE_SHOT"), 0u) << cmd;
            runPasses(R80, 1);
            on += static_cast<int>(boolean(shown + ".ONE_SHOT"));
        }
        EXPECT_EQ(on, 38) << cmd << ": 3.0 s in 0.08 s steps";
        EXPECT_EQ(boolean(shown + ".ONE_SHOT"), 0u);
    }
}

TEST_F(IfaceBits, MovingToIdleIsEitherIdleStep) {
    const struct {
        int a01, a11;
    } rows[] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 0}};
    for (const auto& r : rows) {
        setCell("SPDC.A01_STEP.SFC_STEP", r.a01);
        setCell("SPDC.A11_STEP.SFC_STEP", r.a11);
        runPasses(R80, 1);
        EXPECT_EQ(boolean("MESSAGE_START.TOIDLE.OR"), uint32_t(r.a01 || r.a11)) << r.a01 << r.a11;
    }
}

TEST_F(IfaceBits, TheModbusTripNeedsTheCoilModbusInUseAndTheTripEnabledUnlessOverridden) {
    const struct {
        int coil, used, enabled, ctrl, no;
        uint32_t cmd, trip;
    } rows[] = {
        {0, 0, 0, 0, 0, 0, 0}, {1, 1, 1, 0, 0, 1, 1}, {1, 1, 0, 0, 0, 0, 0}, {1, 0, 1, 0, 0, 0, 0},
        {0, 1, 1, 0, 0, 0, 0}, {1, 1, 1, 1, 0, 1, 0}, {0, 0, 0, 1, 1, 0, 1}, {1, 1, 1, 0, 1, 1, 1},
    };
    for (const auto& r : rows) {
        setCell("MOD_BW.BW_CMD.SEL_3", r.coil);
        setCell("MOD.USE_MOD.B_NAME", r.used);
        setCell("MOD_BW.MOD1_SD.IN", r.enabled);
        setCell("MOD_BW.MOD1_SW.CTRL", r.ctrl);
        setCell("MOD_BW.MOD1_SW.NO", r.no);
        settle();
        const std::string row = std::to_string(r.coil) + std::to_string(r.used) + std::to_string(r.enabled) +
                                std::to_string(r.ctrl) + std::to_string(r.no);
        EXPECT_EQ(boolean("MOD_BW.MOD1_SD.B_NAME"), uint32_t(r.enabled)) << row;
        EXPECT_EQ(boolean("MOD_BW.M1_BW_3.AND"), r.cmd) << row;
        EXPECT_EQ(boolean("MOD_BW.MOD1_SW.B_SW"), r.trip) << row;
    }
}

TEST_F(IfaceBits, TheModbusResetIsTheCommonResetOrTheDelayedRestart) {
    const struct {
        int rst, restart;
    } rows[] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 0}};
    for (const auto& r : rows) {
        setCell("RESET.RST.ONE_SHOT", r.rst);
        setCell("SIO1.DLY_RST_MD.DELAY", r.restart);
        settle();
        EXPECT_EQ(boolean("MOD_LNK_STAT.RST_MODBUS.OR"), uint32_t(r.rst || r.restart)) << r.rst << r.restart;
    }
}

}  // namespace
