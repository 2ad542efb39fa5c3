// The OPC link's side of the application on the whole program: the item
// descriptions, the write window with its clear pulse (writes refused by
// default), the enables, the heartbeat that command 20 toggles, the two
// written reals and the read lists, each entry from its own source cell.
// The link's writes and the settings go through the service write path, as
// the plant computer's OPC server writes them.
#include <array>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/interface/OPC_DATA.cells.h"
#include "app/interface/OPC_DATA_texts.h"
#include "host/analog_inputs.h"
#include "host/turbine_model.h"
#include "tests/interface/iface_rig.h"

namespace iface_test {
namespace {

class OpcLink : public IfaceProgram {
protected:
    static std::string item(const char* list, int n) {
        return std::string("OPC_DATA.") + list + ".LIST_" + std::to_string(n);
    }
    static std::string cmd(int n) { return "OPC_DATA.BW_LIST.IN_" + std::to_string(n); }
    static std::string sel(int n) { return "OPC_DATA.BW_CMDS.SEL_" + std::to_string(n); }
    // One 160 ms frame and the 80 ms frames it releases.
    void frame160() { runPasses(R160, 1); }
    void enableWrites(int on) {
        tune("OPC_DATA.ENA_WRITES.IN", on);
        frame160();
    }
    // Started, with the clear pulse of the start over.
    void startSettled() {
        startApp();
        runPasses(R160, 8);
    }
    // The 80 ms group sees a 160 ms result from the next 160 ms frame on.
    void seenBy80() { frame160(); }
};

// ---- descriptions -------------------------------------------------------------

struct ListTexts {
    const char* list;
    const char* const* texts;
    int count;
};

TEST_F(OpcLink, EveryItemCarriesItsOwnDescription) {
    startApp();
    const ListTexts lists[] = {
        {"ARS_LIST", opc_items::ARS_LIST, 48},
        {"AWS_LIST", opc_items::AWS_LIST, 2},
        {"BRS_LIST", opc_items::BRS_LIST, 78},
        {"BWS_LIST", opc_items::BWS_LIST, 20},
    };
    std::set<std::string> seen;
    for (const ListTexts& l : lists) {
        for (int n = 1; n <= l.count; ++n) {
            const std::string shown = text(item(l.list, n));
            EXPECT_EQ(shown, l.texts[n - 1]) << item(l.list, n);
            EXPECT_LE(std::strlen(l.texts[n - 1]), 39u) << "shown whole: " << l.texts[n - 1];
            EXPECT_TRUE(seen.insert(shown).second) << "told apart: " << shown;
        }
    }
    EXPECT_EQ(seen.size(), 148u);
    EXPECT_EQ(cell(item("ARS_LIST", 49)), nullptr);
    EXPECT_EQ(cell(item("BRS_LIST", 79)), nullptr);
    EXPECT_EQ(cell(item("BWS_LIST", 21)), nullptr);
    EXPECT_EQ(cell(item("AWS_LIST", 3)), nullptr);
}

// The texts as the plant computer shows them, at the ends and the turns of
// each list.
TEST_F(OpcLink, DescriptionsByteForByteAtTheirPlaces) {
    startApp();
    struct Case {
        const char* list;
        int n;
        const char* text;
    };
    const Case cases[] = {
        {"ARS_LIST", 1, "Actual Turbine Speed (RPM)"},
        {"ARS_LIST", 5, "VLV Limiter Output x 100"},
        {"ARS_LIST", 19, "Analog output 2 Value"},
        {"ARS_LIST", 21, "VL Node 1 Analog Input 1 Val"},
        {"ARS_LIST", 38, "VL Node 3 RTD Input 8 Temp"},
        {"ARS_LIST", 39, "First Out Alarm"},
        {"ARS_LIST", 48, "Total Run Hours with Load/Valve > 75%"},
        {"AWS_LIST", 1, "Modbus Entered Speed Setpoint"},
        {"AWS_LIST", 2, "Modbus Entered Casc Setpoint"},
        {"BRS_LIST", 1, "Shutdown Exists (Trip Indication)"},
        {"BRS_LIST", 2, "Alarm Exists (Common Alarm Indication)"},
        {"BRS_LIST", 18, "Speed Sensor Failed Overide ON"},
        {"BRS_LIST", 34, "spare_34"},
        {"BRS_LIST", 35, "Discrete Input 1 State"},
        {"BRS_LIST", 46, "Relay Output 4 State"},
        {"BRS_LIST", 47, "VL Node 4 DI 1 State"},
        {"BRS_LIST", 63, "VL Node 5 DO 1 State"},
        {"BRS_LIST", 78, "VL Node 5 DO 16 State"},
        {"BWS_LIST", 1, "Raise Speed Setpoint"},
        {"BWS_LIST", 5, "Start / Run"},
        {"BWS_LIST", 20, "External Heartbeat Pulse"},
    };
    for (const Case& c : cases) EXPECT_EQ(text(item(c.list, c.n)), c.text) << c.list << " " << c.n;
}

// The OPC slices alone: no input alters a description, so that the texts
// are written again every pass shows only on a text changed by hand.
class OpcLinkSlices : public IfaceRig {
protected:
    void SetUp() override {
        IfaceRig::SetUp();
        useSlices(R160, {_R160_TASK_46});
    }
};

TEST_F(OpcLinkSlices, ADescriptionChangedInMemoryComesBack) {
    startApp();
    auto* cellText = static_cast<StrCell*>(cell("OPC_DATA.BWS_LIST.LIST_4"));
    ASSERT_NE(cellText, nullptr);
    std::memset(cellText->s, 'x', sizeof cellText->s);
    runPasses(R160, 1);
    EXPECT_EQ(text("OPC_DATA.BWS_LIST.LIST_4"), "System Reset");
}

// ---- write window ---------------------------------------------------------------

TEST_F(OpcLink, WritesAreRefusedByDefault) {
    startApp();
    EXPECT_EQ(boolean("OPC_DATA.ENA_WRITES.IN"), 0u);
    for (int n = 1; n <= 20; ++n) tune(cmd(n), 1);
    for (int k = 0; k < 12; ++k) {
        frame160();
        EXPECT_EQ(boolean("OPC_DATA.WRIT_OFF_DLY.DELAY"), 0u) << k;
        EXPECT_EQ(boolean("OPC_DATA.ENA_WRITES.B_NAME"), 0u) << k;
        EXPECT_EQ(boolean("OPC_DATA.WRIT_OFF.NOT"), 1u) << k;
        for (int n = 1; n <= 20; ++n) EXPECT_EQ(boolean(sel(n)), 0u) << n;
    }
    EXPECT_EQ(boolean("OPC_DATA.BW_CMDS.LOGICAL_OR"), 0u) << "the latch rests while the window is shut";
    EXPECT_EQ(boolean("OPC_DATA.OPC_TRIP.AND"), 0u);
    EXPECT_EQ(boolean("OPC_DATA.BEAT.T_FLIPFLOP"), 0u) << "command 20 refused too";
    EXPECT_EQ(boolean("OPC_DATA.ENA_OPC.B_NAME"), 0u);
    EXPECT_EQ(boolean("OPC_DATA.ENA_OPC_TRIP.B_NAME"), 0u);
}

// Writes start disabled, so the clear pulse runs from the first pass for
// 1.0 s: seven passes of 0.16 s.
TEST_F(OpcLink, TheClearPulseRunsAtStartAndWhenWritesAreDisabled) {
    startApp();
    std::vector<uint32_t> start{boolean("OPC_DATA.CLEAR_BWS.ONE_SHOT")};
    for (int k = 0; k < 8; ++k) {
        frame160();
        start.push_back(boolean("OPC_DATA.CLEAR_BWS.ONE_SHOT"));
    }
    EXPECT_EQ(start, (std::vector<uint32_t>{1, 1, 1, 1, 1, 1, 1, 0, 0}));

    // Enabled: the window opens in the same pass, commands latch.
    enableWrites(1);
    EXPECT_EQ(boolean("OPC_DATA.WRIT_OFF_DLY.DELAY"), 1u);
    EXPECT_EQ(boolean("OPC_DATA.CLEAR_BWS.ONE_SHOT"), 0u);
    tune(cmd(7), 1);
    tune(cmd(2), 1);
    seenBy80();
    EXPECT_EQ(boolean(sel(2)), 1u);
    EXPECT_EQ(boolean(sel(7)), 1u);
    EXPECT_EQ(integer("OPC_DATA.BW_CMDS.FIRST_ALM"), 2);

    // Disabled: the clear pulse drops the commands at once, the window
    // closes 0.5 s later (after the fourth pass, at 0.64 s) and the commands
    // stay dropped.
    enableWrites(0);
    EXPECT_EQ(boolean("OPC_DATA.CLEAR_BWS.ONE_SHOT"), 1u);
    std::vector<uint32_t> window{boolean("OPC_DATA.WRIT_OFF_DLY.DELAY")};
    seenBy80();
    window.push_back(boolean("OPC_DATA.WRIT_OFF_DLY.DELAY"));
    EXPECT_EQ(boolean(sel(2)), 0u);
    EXPECT_EQ(boolean(sel(7)), 0u);
    EXPECT_EQ(boolean("OPC_DATA.BW_CMDS.LOGICAL_OR"), 1u);
    for (int k = 0; k < 4; ++k) {
        frame160();
        window.push_back(boolean("OPC_DATA.WRIT_OFF_DLY.DELAY"));
    }
    EXPECT_EQ(window, (std::vector<uint32_t>{1, 1, 1, 1, 0, 0}));
    for (int k = 0; k < 8; ++k) frame160();
    EXPECT_EQ(boolean("OPC_DATA.CLEAR_BWS.ONE_SHOT"), 0u);
    EXPECT_EQ(boolean(sel(2)), 0u) << "window shut: held at the cleared value";
    EXPECT_EQ(boolean(sel(7)), 0u);

    // A short enable re-arms the pulse; re-enabled inside the off-delay the
    // window never closes.
    enableWrites(1);
    for (int k = 0; k < 7; ++k) frame160();  // the pulse of the disabling ends
    EXPECT_EQ(boolean(sel(7)), 1u);
    enableWrites(0);
    EXPECT_EQ(boolean("OPC_DATA.CLEAR_BWS.ONE_SHOT"), 1u);
    enableWrites(1);
    EXPECT_EQ(boolean("OPC_DATA.WRIT_OFF_DLY.DELAY"), 1u);
    for (int k = 0; k < 8; ++k) frame160();
    EXPECT_EQ(boolean("OPC_DATA.WRIT_OFF_DLY.DELAY"), 1u);
    EXPECT_EQ(boolean(sel(7)), 1u) << "after the pulse the command latches again";
}

TEST_F(OpcLink, TheTripRequestNeedsItsEnableAndAHealthyLink) {
    startSettled();
    enableWrites(1);
    tune(cmd(3), 1);
    seenBy80();
    EXPECT_EQ(boolean(sel(3)), 1u);
    EXPECT_EQ(boolean("OPC_DATA.NO_FLT.NOT"), 1u);
    EXPECT_EQ(boolean("OPC_DATA.OPC_TRIP.AND"), 0u) << "trip not enabled";
    tune("OPC_DATA.ENA_OPC_TRIP.IN", 1);
    tune("OPC_DATA.ENA_OPC.IN", 1);
    frame160();
    EXPECT_EQ(boolean("OPC_DATA.ENA_OPC_TRIP.B_NAME"), 1u);
    EXPECT_EQ(boolean("OPC_DATA.ENA_OPC.B_NAME"), 1u);
    seenBy80();
    EXPECT_EQ(boolean("OPC_DATA.OPC_TRIP.AND"), 1u);
    // A lost heartbeat is a link fault, which blocks the request.
    tune("OPC_DATA.ENA_FLT.IN_3", 1);
    tune("OPC_DATA.HB_TIMEOUT.IN", 1.0);
    for (int k = 0; k < 10; ++k) frame160();
    EXPECT_EQ(boolean("OPC_DATA.LINK_FLT.B_NAME"), 1u);
    EXPECT_EQ(boolean("OPC_DATA.NO_FLT.NOT"), 0u);
    EXPECT_EQ(boolean("OPC_DATA.OPC_TRIP.AND"), 0u);
    tune("OPC_DATA.ENA_OPC.IN", 0);
    frame160();
    EXPECT_EQ(boolean("OPC_DATA.ENA_OPC.B_NAME"), 0u);
}

// Command 20 toggles the heartbeat on each rising edge: a link that pulses
// it every 4 s keeps the link alive, one that stops is lost after the
// time-out (5 s).
TEST_F(OpcLink, CommandTwentyIsTheLinksHeartbeat) {
    startSettled();
    tune("OPC_DATA.ENA_FLT.IN_3", 1);
    enableWrites(1);
    uint32_t beat = boolean("OPC_DATA.HEARTBEAT.B_NAME");
    for (int k = 1; k <= 6; ++k) {
        tune(cmd(20), 1);
        runPasses(R160, 2);  // seen by the 160 ms group a frame later
        tune(cmd(20), 0);
        runPasses(R160, 23);  // 4 s in all
        const uint32_t now = boolean("OPC_DATA.HEARTBEAT.B_NAME");
        EXPECT_EQ(now, boolean("OPC_DATA.BEAT.T_FLIPFLOP"));
        EXPECT_EQ(now, 1u - beat) << k;
        beat = now;
        EXPECT_EQ(boolean("OPC_DATA.HB_LOST.OR"), 0u) << k;
        EXPECT_EQ(boolean("OPC_DATA.LINK_FLT.B_NAME"), 0u) << k;
    }
    // Held TRUE: one edge only, then the heartbeat stands and is lost.
    tune(cmd(20), 1);
    runPasses(R160, 12);
    EXPECT_EQ(boolean("OPC_DATA.HEARTBEAT.B_NAME"), 1u - beat);
    EXPECT_EQ(boolean("OPC_DATA.HB_LOST.OR"), 0u) << "1.92 s since the edge";
    runPasses(R160, 25);
    EXPECT_EQ(boolean("OPC_DATA.HEARTBEAT.B_NAME"), 1u - beat);
    EXPECT_EQ(boolean("OPC_DATA.HB_LOST.OR"), 1u);
    EXPECT_EQ(boolean("OPC_DATA.LINK_FLT.B_NAME"), 1u);
    frame160();
    EXPECT_EQ(boolean("OPC_DATA.NO_FLT.NOT"), 0u);
}

// ---- written reals --------------------------------------------------------------

TEST_F(OpcLink, TheWrittenRealsReachTheirListAndStay) {
    startApp();
    EXPECT_EQ(real("OPC_DATA.AW_LIST.LIST_1"), 0.0f);
    tune("OPC_DATA.OPC_AW_1.TUNE", 3612.5);
    tune("OPC_DATA.OPC_AW_2.TUNE", -41.25);
    runPasses(R80, 1);
    EXPECT_EQ(real("OPC_DATA.AW_LIST.LIST_1"), 3612.5f);
    EXPECT_EQ(real("OPC_DATA.AW_LIST.LIST_2"), -41.25f);
    EXPECT_EQ(real("OPC_DATA.OPC_AW_1.SAMP_TUNE"), 3612.5f);
    EXPECT_EQ(real("OPC_DATA.OPC_AW_2.SAMP_TUNE"), -41.25f);
    runPasses(R160, 20);  // nothing samples over them, nothing clamps them
    EXPECT_EQ(real("OPC_DATA.OPC_AW_1.TUNE"), 3612.5f);
    EXPECT_EQ(real("OPC_DATA.AW_LIST.LIST_2"), -41.25f);
    for (const char* b : {"OPC_DATA.OPC_AW_1.", "OPC_DATA.OPC_AW_2."}) {
        const std::string p = b;
        EXPECT_EQ(boolean(p + "LIMITED"), 0u) << p;
        EXPECT_EQ(boolean(p + "EN_ENT_OUT"), 1u) << p << "a written value may jump";
        EXPECT_EQ(real(p + "LO_LIM_OUT"), -1e38f) << p;
        EXPECT_EQ(real(p + "HI_LIM_OUT"), 1e38f) << p;
    }
    tune("OPC_DATA.OPC_AW_2.ENBL_ENTER", 0);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("OPC_DATA.OPC_AW_2.EN_ENT_OUT"), 0u);
    EXPECT_EQ(boolean("OPC_DATA.OPC_AW_1.EN_ENT_OUT"), 1u);
    // The widest values stay as written.
    tune("OPC_DATA.OPC_AW_1.TUNE", 1e38);
    tune("OPC_DATA.OPC_AW_2.TUNE", -1e38);
    runPasses(R80, 2);
    EXPECT_EQ(real("OPC_DATA.AW_LIST.LIST_1"), 1e38f);
    EXPECT_EQ(real("OPC_DATA.AW_LIST.LIST_2"), -1e38f);
}

// ---- monitoring speed -------------------------------------------------------------

// Every 160 ms pass, the shaft held at speeds from standstill up.
TEST_F(OpcLink, TheMonitoringSpeedDoublesTheMonitorLag) {
    turbine::enable();
    startApp();
    std::set<float> lags;
    for (double rpm : {0.0, 1800.25, 3600.0, 120.0}) {
        holdShaftAt(rpm);
        for (int k = 0; k < 40; ++k) {
            frame160();
            EXPECT_EQ(real("MPU.SPEED.MULTIPLY"), 2.0f * real("MPU.SPD_MONTOR.LAG")) << rpm;
            lags.insert(real("MPU.SPD_MONTOR.LAG"));
        }
    }
    EXPECT_GT(lags.size(), 20u);
    EXPECT_EQ(lags.count(0.0f), 1u);
}

// ---- read lists ---------------------------------------------------------------------

// Source of each analog read entry, in list order (nullptr: none).
const char* const kAnalogSources[48] = {
        "MPU.TURB_SPD.A_NAME",  // 1
        "SPD_CTRL.SPD_SETPT.A_NAME",  // 2
        "IFACE_OUT_SPEED.RMT_SPD_INPUT.A_NAME",  // 3
        "AI_MUX.RMT_SPD_SP.A_NAME",  // 4
        "HP_LIMTER.HP_RAMP.RAMP",  // 5, in percent: MOD_SCALE.VLV_100.MULTIPLY
        "MOD_SCALE.SPD_100.MULTIPLY",  // 6
        "MOD_SCALE.ACT1_HSS.MULTIPLY",  // 7
        "MOD_SCALE.CASC_100.MULTIPLY",  // 8
        "IFACE_IN_CASC.CASC_IN_NAME.A_NAME",  // 9
        "IFACE_OUT_CASC.CASC_SP.A_NAME",  // 10
        "CNFG_SPEED.TSS_01.MONITOR",  // 11
        "CNFG_SPEED.TSS_02.MONITOR",  // 12
        "_ub6.VALUE.A_NAME",  // 13
        "_ub7.VALUE.A_NAME",  // 14
        "_ub8.VALUE.A_NAME",  // 15
        "_ub9.VALUE.A_NAME",  // 16
        "MOD_IO.ACT1_100.MULTIPLY",  // 17
        "_ub10.VAL.A_NAME",  // 18
        "_ub11.VAL.A_NAME",  // 19
        "_ub12.VAL.A_NAME",  // 20
        "MOD_VL_IO.VL_A_VALUES.LIST_1",  // 21
        "MOD_VL_IO.VL_A_VALUES.LIST_2",  // 22
        "MOD_VL_IO.VL_A_VALUES.LIST_3",  // 23
        "MOD_VL_IO.VL_A_VALUES.LIST_4",  // 24
        "MOD_VL_IO.VL_A_VALUES.LIST_5",  // 25
        "MOD_VL_IO.VL_A_VALUES.LIST_6",  // 26
        "MOD_VL_IO.VL_A_VALUES.LIST_7",  // 27
        "MOD_VL_IO.VL_A_VALUES.LIST_8",  // 28
        "MOD_VL_IO.VL_A_VALUES.LIST_9",  // 29
        "MOD_VL_IO.VL_A_VALUES.LIST_10",  // 30
        "MOD_VL_IO.VL_A_VALUES.LIST_11",  // 31
        "MOD_VL_IO.VL_A_VALUES.LIST_12",  // 32
        "MOD_VL_IO.VL_A_VALUES.LIST_13",  // 33
        "MOD_VL_IO.VL_A_VALUES.LIST_14",  // 34
        "MOD_VL_IO.VL_A_VALUES.LIST_15",  // 35
        "MOD_VL_IO.VL_A_VALUES.LIST_16",  // 36
        "MOD_VL_IO.VL_A_VALUES.LIST_17",  // 37
        "MOD_VL_IO.VL_A_VALUES.LIST_18",  // 38
        "ALARMS.FIRSTOUT_A.OUT_1",  // 39
        "SHUTDOWNS.FIRSTOUT_A.OUT_1",  // 40
        "COND_MON.STRT_TURB.A_NAME",  // 41
        "COND_MON.SD_NUM.A_NAME",  // 42
        "COND_MON.SDLOAD1_NUM.A_NAME",  // 43
        "COND_MON.SDLOAD2_NUM.A_NAME",  // 44
        "COND_MON.OSPD_NUM.A_NAME",  // 45
        "COND_MON.TRUNHRS.A_NAME",  // 46
        "COND_MON.TRUNLDHRS.A_NAME",  // 47
        "COND_MON.TRUNLD2HRS.A_NAME",  // 48
};

// Source of each boolean read entry, in list order (nullptr: none).
const char* const kBooleanSources[78] = {
        "SHUTDOWNS.ANY_SD.B_NAME",  // 1
        "ALARMS.ANY_ALM.B_NAME",  // 2
        "ALARMS.ANY.SEL_1",  // 3
        "ALARMS.ANY.SEL_2",  // 4
        "ALARMS.ANY.SEL_3",  // 5
        "SHUTDOWNS.ANY.SEL_1",  // 6
        "SHUTDOWNS.ANY.SEL_4",  // 7
        "SHUTDOWNS.ANY.SEL_3",  // 8
        "SHUTDOWNS.ANY.SEL_2",  // 9
        "SHUTDOWNS.ANY.SEL_5",  // 10
        "IFACE_OUT_SPEED.RMT_SPD_ENABLED.B_NAME",  // 11
        "IFACE_OUT_SPEED.RMT_SPD_ACTIVE.B_NAME",  // 12
        "SPDC.A00_STEP.SFC_STEP",  // 13
        "SPDC.A07_STEP.SFC_STEP",  // 14
        "SPDC.A01_STEP.SFC_STEP",  // 15
        "IFACE_OUT_SPEED.OSPD_TEST_EN.B_NAME",  // 16
        "IFACE_OUT_VLV.ACT_LSS_SEL_1.B_NAME",  // 17
        "MPU_OVRD.OVRD1_OR.OR",  // 18
        "ALARMS.ANY.SEL_7",  // 19
        "ALARMS.ANY.SEL_67",  // 20
        "MESSAGE.RMT_IN_CTL.AND",  // 21
        "RMT_ENBL.RMT_SPD_INH.AND",  // 22
        "IFACE_OUT_CASC.ENABLED.B_NAME",  // 23
        "IFACE_OUT_SPEED.CASCADE_ENABLED.B_NAME",  // 24
        "MESSAGE.CASC_CTL_DELAY.DELAY",  // 25
        "CASC_ENBL.INHIBITED.LATCH1",  // 26
        "IFACE_OUT_CASC.RMT_CAS_EN.B_NAME",  // 27
        "IFACE_OUT_CASC.REM_CAS_SEL.B_NAME",  // 28
        "MESSAGE.CASC_RMT_DELAY.DELAY",  // 29
        "RMT_CAS_EN.RCASC_IH.LATCH1",  // 30
        "HP_LIMTER.AT_MAX.OR",  // 31
        "HP_LIMTER.HP_RAMP.P_LIM_1",  // 32
        "IFACE_OUT_VLV.ACT_LSS_SEL_2.B_NAME",  // 33
        nullptr,  // 34
        "CNFG_BI.BI_01_ZARN.BI_ZARN",  // 35
        "CNFG_BI.BI_02_ZARN.BI_ZARN",  // 36
        "CNFG_BI.BI_03_ZARN.BI_ZARN",  // 37
        "CNFG_BI.BI_04_ZARN.BI_ZARN",  // 38
        "CNFG_BI.BI_05_ZARN.BI_ZARN",  // 39
        "CNFG_BI.BI_06_ZARN.BI_ZARN",  // 40
        "CNFG_BI.BI_07_ZARN.BI_ZARN",  // 41
        "CNFG_BI.BI_08_ZARN.BI_ZARN",  // 42
        "CNFG_BO.RELAY_1.DISPLAY",  // 43
        "CNFG_BO.RELAY_2.DISPLAY",  // 44
        "CNFG_BO.RELAY_3.DISPLAY",  // 45
        "CNFG_BO.RELAY_4.DISPLAY",  // 46
        "MOD_VL_IO.VL_B_STATES.LIST_1",  // 47
        "MOD_VL_IO.VL_B_STATES.LIST_2",  // 48
        "MOD_VL_IO.VL_B_STATES.LIST_3",  // 49
        "MOD_VL_IO.VL_B_STATES.LIST_4",  // 50
        "MOD_VL_IO.VL_B_STATES.LIST_5",  // 51
        "MOD_VL_IO.VL_B_STATES.LIST_6",  // 52
        "MOD_VL_IO.VL_B_STATES.LIST_7",  // 53
        "MOD_VL_IO.VL_B_STATES.LIST_8",  // 54
        "MOD_VL_IO.VL_B_STATES.LIST_9",  // 55
        "MOD_VL_IO.VL_B_STATES.LIST_10",  // 56
        "MOD_VL_IO.VL_B_STATES.LIST_11",  // 57
        "MOD_VL_IO.VL_B_STATES.LIST_12",  // 58
        "MOD_VL_IO.VL_B_STATES.LIST_13",  // 59
        "MOD_VL_IO.VL_B_STATES.LIST_14",  // 60
        "MOD_VL_IO.VL_B_STATES.LIST_15",  // 61
        "MOD_VL_IO.VL_B_STATES.LIST_16",  // 62
        "MOD_VL_IO.VL_B_STATES.LIST_17",  // 63
        "MOD_VL_IO.VL_B_STATES.LIST_18",  // 64
        "MOD_VL_IO.VL_B_STATES.LIST_19",  // 65
        "MOD_VL_IO.VL_B_STATES.LIST_20",  // 66
        "MOD_VL_IO.VL_B_STATES.LIST_21",  // 67
        "MOD_VL_IO.VL_B_STATES.LIST_22",  // 68
        "MOD_VL_IO.VL_B_STATES.LIST_23",  // 69
        "MOD_VL_IO.VL_B_STATES.LIST_24",  // 70
        "MOD_VL_IO.VL_B_STATES.LIST_25",  // 71
        "MOD_VL_IO.VL_B_STATES.LIST_26",  // 72
        "MOD_VL_IO.VL_B_STATES.LIST_27",  // 73
        "MOD_VL_IO.VL_B_STATES.LIST_28",  // 74
        "MOD_VL_IO.VL_B_STATES.LIST_29",  // 75
        "MOD_VL_IO.VL_B_STATES.LIST_30",  // 76
        "MOD_VL_IO.VL_B_STATES.LIST_31",  // 77
        "MOD_VL_IO.VL_B_STATES.LIST_32",  // 78
};

// The whole program through a scenario that moves many sources: remote
// setpoint and cascade on analog inputs 1 and 2, inputs 3 and 4 at their
// own currents, a start to in control, the speed raised from its contact,
// the limiter lowered, alarms from the analog inputs' loops, a trip and a
// reset, then each of the controller's contacts toggled alone. Every 80 ms pass each entry equals its source whenever the source
// has stood still for the last passes (sources of other groups reach the
// 80 ms group through the cross-rate copies); an entry is told apart from
// the others once its source stood at a value no other entry had.
class OpcReadListsOnProgram : public OpcLink {
protected:
    // Sampled every 10 ms pass; the entries checked after each 80 ms pass.
    template <class T, size_t N>
    struct Watch {
        std::array<const T*, N> src{}, entries{};
        const char* const* names;
        std::array<std::vector<T>, N> history{};
        // apart[k][j]: entry k was checked while its source differed from
        // source j, so a list that read source j for entry k would show.
        std::array<std::array<bool, N>, N> apart{};
        Watch(OpcReadListsOnProgram& rig, const char* const* sources, const char* list) : names(sources) {
            static const T zero{};
            for (size_t k = 0; k < N; ++k) {
                src[k] = sources[k] ? static_cast<const T*>(rig.cell(sources[k])) : &zero;
                entries[k] = static_cast<const T*>(rig.cell(item(list, int(k) + 1)));
            }
        }
        // The sources over the last 80 ms pass and a half (12 passes of 10 ms).
        void sample() {
            for (size_t k = 0; k < N; ++k) {
                auto& h = history[k];
                h.push_back(*src[k]);
                if (h.size() > 24) h.erase(h.begin());
            }
        }
        void check() {
            for (size_t k = 0; k < N; ++k) {
                const T v = *src[k];
                const auto& h = history[k];
                bool still = h.size() == 24;
                for (const T& x : h) still = still && x == v;
                if (!still) continue;
                EXPECT_EQ(*entries[k], v) << "entry " << k + 1 << " from " << (names[k] ? names[k] : "constant");
                for (size_t j = 0; j < N; ++j) apart[k][j] = apart[k][j] || *src[j] != v;
            }
        }
        // The entries not told apart from every other source.
        std::string untold() const {
            std::string out;
            for (size_t k = 0; k < N; ++k) {
                bool all = true;
                for (size_t j = 0; j < N; ++j) all = all && (j == k || apart[k][j]);
                if (!all) out += " " + std::to_string(k + 1);
            }
            return out;
        }
    };
    void scenario(const std::function<void()>& sample, const std::function<void()>& check) {
        board::setAnalogInputMa(2, 7.0);
        board::setAnalogInputMa(3, 17.0);
        startWithRemoteAndCascade();
        auto run = [&](int n) {
            for (int k = 0; k < n; ++k) {
                const uint32_t p = passes(R80);
                while (passes(R80) == p) {
                    runPasses(R10, 1);
                    sample();
                }
                check();
            }
        };
        run(20);
        startCommand();
        for (int k = 0; k < 3000 && !step("A08_STEP"); ++k) run(1);
        ASSERT_TRUE(step("A08_STEP"));
        run(50);
        holdShaftAt(3550.0);
        run(30);
        holdShaftAt(3650.0);
        run(30);
        shaftAt(3600.0);
        turbine::enable();
        run(30);
        contact(ref_test::kRaiseContact, true);
        run(60);
        contact(ref_test::kRaiseContact, false);
        serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_2", 1);
        run(40);
        serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_2", 0);
        run(40);
        board::setAnalogInputMa(3, 1.0);  // input 4's loop broken
        run(60);
        trip();
        run(100);
        clearTrip();
        run(60);
        // Each of the controller's eight contacts toggled alone.
        for (int input = 12; input <= 19; ++input) {
            const bool closed = ((board::discreteInputs() >> input) & 1u) != 0;
            contact(input, !closed);
            run(12);
            contact(input, closed);
            run(12);
        }
    }
};

// The analog sources as the program's list reads them: entry 5 is the
// limiter in percent.
const char* const* const kAnalogSourcesOnProgram = [] {
    static const char* t[48];
    for (int k = 0; k < 48; ++k) t[k] = kAnalogSources[k];
    t[4] = "MOD_SCALE.VLV_100.MULTIPLY";
    return t;
}();
// The entries whose sources the scenario never tells apart from every
// other source: sources that stand at 0 throughout (no remote node, no
// shutdown counted, ...) or that carry the same quantity as another source
// whenever both stand still (the speed from either probe, the remote
// setpoint's input and its channel). These stay on the list's slice below.
const std::string kAnalogNotToldApart =
    " 1 3 4 6 7 8 9 10 11 12 13 14 18 19 20 21 22 23 24 25 26 27 28 29 30 31 32 33 34 35 36 37 38 39 43 44 45 46 47 48";
const std::string kBooleanNotToldApart =
    " 1 2 3 4 5 6 7 8 9 10 11 12 15 16 19 20 21 22 23 24 25 26 27 28 29 34 44 45 46 47 48 49 50 51"
    " 52 53 54 55 56 57 58 59 60 61 62 63 64 65 66 67 68 69 70 71 72 73 74 75 76 77 78";
bool toldApartOnProgram(const std::string& untold, int n) {
    return untold.find(" " + std::to_string(n) + " ") == std::string::npos &&
           untold.substr(untold.rfind(' ')) != " " + std::to_string(n);
}

TEST_F(OpcReadListsOnProgram, EveryAnalogEntryComesFromItsOwnSource) {
    startApp();
    Watch<float, 48> w(*this, kAnalogSourcesOnProgram, "AR_LIST");
    stopApp();
    scenario([&] { w.sample(); },
             [&] {
                 w.check();
                 // The limiter in percent is computed first, in the same pass.
                 EXPECT_EQ(real("MOD_SCALE.VLV_100.MULTIPLY"), real("HP_LIMTER.HP_RAMP.RAMP") * 100.0f);
                 EXPECT_EQ(real(item("AR_LIST", 5)), real("MOD_SCALE.VLV_100.MULTIPLY"));
             });
    EXPECT_EQ(w.untold(), kAnalogNotToldApart);
}

TEST_F(OpcReadListsOnProgram, EveryBooleanEntryComesFromItsOwnSource) {
    startApp();
    Watch<uint32_t, 78> w(*this, kBooleanSources, "BR_LIST");
    stopApp();
    scenario([&] { w.sample(); }, [&] { w.check(); });
    EXPECT_EQ(w.untold(), kBooleanNotToldApart);
}

// The read lists alone in the 80 ms group, so that every source holds what
// the test sets: for the entries whose sources no scenario of the program
// tells apart from the others (above).
void listsOnly() { r80::OPC_DATA_lists(); }

class OpcReadLists : public IfaceRig {
protected:
    static std::string item(const char* list, int n) {
        return std::string("OPC_DATA.") + list + ".LIST_" + std::to_string(n);
    }
    void SetUp() override {
        IfaceRig::SetUp();
        useSlices(R80, {listsOnly});
        useSlices(R160, {});
    }
    // Sources of every group reach the 80 ms group within two 160 ms frames.
    void settle() { runPasses(R160, 2); }
};

TEST_F(OpcReadLists, EveryAnalogEntryComesFromItsOwnSource) {
    startApp();
    for (const char* src : kAnalogSources)
        if (src) setCell(src, 0.0);
    settle();
    for (int n = 1; n <= 48; ++n) {
        const char* src = kAnalogSources[n - 1];
        if (src == nullptr || toldApartOnProgram(kAnalogNotToldApart, n)) continue;
        const float v = 1000.0f + 0.25f * static_cast<float>(n);
        setCell(src, v);
        settle();
        const float shown = n == 5 ? v * 100.0f : v;  // the limiter in percent
        for (int k = 1; k <= 48; ++k)
            EXPECT_EQ(real(item("AR_LIST", k)), k == n ? shown : 0.0f) << src << " at entry " << k;
        setCell(src, 0.0);
    }
}

// The limiter's position in percent is computed here first; the Modbus map
// reads the same cell.
// The limiter's position outside its travel, which it never takes: the
// list does not clamp it. (Within its travel the program's scenario above
// checks the percentage every pass.)
TEST_F(OpcReadLists, TheLimiterInPercentIsComputedBeforeTheList) {
    startApp();
    for (float ramp : {0.0f, 0.375f, 101.0f, -2.5f}) {
        setCell("HP_LIMTER.HP_RAMP.RAMP", ramp);
        runPasses(R80, 1);
        EXPECT_EQ(real("MOD_SCALE.VLV_100.MULTIPLY"), ramp * 100.0f) << ramp;
        EXPECT_EQ(real(item("AR_LIST", 5)), ramp * 100.0f) << "same pass: " << ramp;
    }
}

TEST_F(OpcReadLists, EveryBooleanEntryComesFromItsOwnSource) {
    startApp();
    for (const char* src : kBooleanSources)
        if (src) setCell(src, 0);
    settle();
    for (int n = 1; n <= 78; ++n) {
        const char* src = kBooleanSources[n - 1];
        if (src == nullptr || toldApartOnProgram(kBooleanNotToldApart, n)) continue;
        setCell(src, 1);
        settle();
        for (int k = 1; k <= 78; ++k)
            EXPECT_EQ(boolean(item("BR_LIST", k)), k == n ? 1u : 0u) << src << " at entry " << k;
        setCell(src, 0);
    }
    settle();
    for (int k = 1; k <= 78; ++k) EXPECT_EQ(boolean(item("BR_LIST", k)), 0u) << k;
}

}  // namespace
}  // namespace iface_test
