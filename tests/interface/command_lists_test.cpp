// The Modbus and OPC command lists through real passes: the write enables
// of the links (writes refused by default), the window and clear pulse, the
// latch taking each command once with its order number, the reset pulses,
// the link flags and the OPC link supervision.
#include <algorithm>
#include <string>
#include <vector>

#include "tests/interface/iface_rig.h"

namespace iface_test {
namespace {

class CommandLists : public IfaceRig {
protected:
    std::string coil(int n) { return "MOD.MOD1.BW_V_" + std::to_string(n); }
    std::string sel(int n) { return "MOD_BW.BW_CMD.SEL_" + std::to_string(n); }
    // Link 1 used and its writes enabled.
    void enableLink1() {
        setCell("C_COMM.C1.IN", 1);
        setCell("C_COMM.C2.IN", 1);
        setCell("CNFG_COMMS.PORT1_WRT_ENBL.IN", 1);
        runPasses(R160, 2);
    }
    void coilFor160(int n, int value) {
        setCell(coil(n), value);
        runPasses(R160, 1);
    }
    std::vector<uint32_t> sels() {
        std::vector<uint32_t> v;
        for (int n = 1; n <= 22; ++n) v.push_back(boolean(sel(n)));
        return v;
    }
};

TEST_F(CommandLists, WritesAreRefusedByDefaultAndCoilsChangeNothing) {
    startApp();
    runPasses(R160, 2);
    for (int k = 1; k <= 3; ++k) {
        const std::string n = std::to_string(k);
        EXPECT_EQ(boolean("MOD.PORT" + n + "_ENBL_WRT.AND"), 0u) << k;
        EXPECT_EQ(boolean("MOD.PORT" + n + "_USED.B_NAME"), 0u) << k;
        EXPECT_EQ(boolean("ALARMS.LINK" + n + "_ALM_USED.OR"), 1u) << k;
    }
    EXPECT_EQ(boolean("ALARMS.ANY_MOD1_ALM.AND"), 1u) << "no link in use";
    for (int n : {1, 5, 7, 22}) setCell(coil(n), 1);
    runPasses(R160, 3);
    EXPECT_EQ(boolean("MOD_BW.OR_ENABLE.OR"), 0u);
    EXPECT_EQ(boolean("MOD_BW.WRIT_OFF_DLY.DELAY"), 0u);
    EXPECT_EQ(sels(), std::vector<uint32_t>(22, 0u));
    EXPECT_EQ(boolean("MOD_BW.BW_CMD.LOGICAL_OR"), 0u) << "the latch is frozen while the window is shut";
}

struct LinkCase {
    const char* name;
    int c1, used, wrtEnbl, in1, in2, errZ, anySel;
    uint32_t usedOut, enblWrt, noWrite, alm;
};

class LinkFlags : public CommandLists, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(LinkFlags, EachLinkFlagFollowsItsInputs) {
    const LinkCase& c = GetParam();
    startApp();
    const char* used[] = {"C_COMM.C2.IN", "CNFG_COMMS.LINK2_USED.IN", "CNFG_COMMS.LINK3_USED.IN"};
    for (int k = 1; k <= 3; ++k) {
        const std::string n = std::to_string(k);
        setCell("C_COMM.C1.IN", c.c1);
        setCell(used[k - 1], c.used);
        setCell("CNFG_COMMS.PORT" + n + "_WRT_ENBL.IN", c.wrtEnbl);
        setCell("MOD.USE_MOD" + n + "_OR_TRIP.IN_1", c.in1);
        setCell("MOD.USE_MOD" + n + "_OR_TRIP.IN_2", c.in2);
        setCell("MOD.LNK" + n + "_ERR_Z.ZMINUS1_B", c.errZ);
        setCell("ALARMS.ANY.SEL_" + std::to_string(45 + k), c.anySel);
    }
    runPasses(R160, 2);
    for (int k = 1; k <= 3; ++k) {
        const std::string n = std::to_string(k);
        EXPECT_EQ(boolean("MOD.PORT" + n + "_USED.B_NAME"), c.usedOut) << k;
        EXPECT_EQ(boolean("CNFG_COMMS.MOD_LINK" + n + "_USED.AND"), c.usedOut) << k;
        EXPECT_EQ(boolean("MOD.NO_PORT" + n + ".NOT"), 1u - c.usedOut) << k;
        EXPECT_EQ(boolean("MOD.PORT" + n + "_ENBL_WRT.AND"), c.enblWrt) << k;
        EXPECT_EQ(boolean("ALARMS.PORT" + n + "_NO_WRITE.NOT"), c.noWrite) << k;
        EXPECT_EQ(boolean("ALARMS.LINK" + n + "_ALM_USED.OR"), c.alm) << k;
    }
    EXPECT_EQ(boolean("ALARMS.ANY_MOD1_ALM.AND"), c.alm);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LinkFlags,
    ::testing::Values(LinkCase{"UsedAndWriting", 1, 1, 1, 0, 1, 0, 0, 1, 1, 0, 0},
                      LinkCase{"NoCommonEnable", 0, 1, 1, 0, 1, 0, 0, 0, 1, 0, 1},
                      LinkCase{"NotUsed", 1, 0, 1, 0, 1, 0, 0, 0, 1, 0, 1},
                      LinkCase{"WritesOff", 1, 1, 0, 0, 1, 0, 0, 1, 0, 1, 1},
                      LinkCase{"LinkErrorLastPass", 1, 1, 1, 0, 1, 1, 0, 1, 0, 1, 1},
                      LinkCase{"NeitherUseInput", 1, 1, 1, 0, 0, 0, 0, 1, 0, 1, 1},
                      LinkCase{"FirstUseInputAlone", 1, 1, 1, 1, 0, 0, 0, 1, 1, 0, 0},
                      LinkCase{"AlarmListEntry", 1, 1, 1, 0, 1, 0, 1, 1, 1, 0, 1}),
    [](const auto& i) { return std::string(i.param.name); });

TEST_F(CommandLists, OneLinkAlarmFreeClearsTheSummary) {
    startApp();
    enableLink1();
    EXPECT_EQ(boolean("ALARMS.LINK1_ALM_USED.OR"), 0u);
    EXPECT_EQ(boolean("ALARMS.LINK2_ALM_USED.OR"), 1u);
    EXPECT_EQ(boolean("ALARMS.ANY_MOD1_ALM.AND"), 0u);
}

TEST_F(CommandLists, TheLatchNumbersCommandsInListOrderAndTakesEachOnce) {
    startApp();
    enableLink1();
    EXPECT_EQ(boolean("MOD_BW.OR_ENABLE.OR"), 1u);
    EXPECT_EQ(boolean("MOD_BW.WRIT_OFF_DLY.DELAY"), 1u);
    runPasses(R80, 14);  // the clear pulse of the start-up has run out
    EXPECT_EQ(boolean("MOD_BW.CLEAR_BWS.ONE_SHOT"), 0u);
    setCell(coil(7), 1);
    setCell(coil(2), 1);
    setCell("MOD_BW.BW_CMD.IN_20", 1);
    runPasses(R160, 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean(sel(2)), 1u);
    EXPECT_EQ(boolean(sel(7)), 1u);
    EXPECT_EQ(boolean(sel(20)), 1u) << "command 20 comes from its setting";
    EXPECT_EQ(integer("MOD_BW.BW_CMD.ALM_NO_2"), 1);
    EXPECT_EQ(integer("MOD_BW.BW_CMD.ALM_NO_7"), 2);
    EXPECT_EQ(integer("MOD_BW.BW_CMD.ALM_NO_20"), 3);
    EXPECT_EQ(integer("MOD_BW.BW_CMD.ALM_NO_5"), 0);
    EXPECT_EQ(integer("MOD_BW.BW_CMD.FIRST_ALM"), 2);
    EXPECT_EQ(boolean("MOD_BW.BW_CMD.LATCH1"), 1u);
    EXPECT_EQ(boolean("MOD_BW.BW_CMD.HORN"), 1u);
    EXPECT_EQ(boolean("MOD_BW.BW_CMD.LOGICAL_OR"), 1u);
    EXPECT_EQ(boolean("MOD_BW.ZLATCH.ZMINUS1_B"), 1u);
    // A coil that drops drops its command; the rest renumber.
    setCell(coil(2), 0);
    setCell("MOD_BW.BW_CMD.IN_20", 0);
    runPasses(R160, 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean(sel(2)), 0u);
    EXPECT_EQ(integer("MOD_BW.BW_CMD.ALM_NO_7"), 1);
    EXPECT_EQ(integer("MOD_BW.BW_CMD.FIRST_ALM"), 7);
    setCell(coil(7), 0);
    runPasses(R160, 1);
    runPasses(R80, 1);
    EXPECT_EQ(sels(), std::vector<uint32_t>(22, 0u));
    EXPECT_EQ(boolean("MOD_BW.BW_CMD.LATCH1"), 0u);
    EXPECT_EQ(integer("MOD_BW.BW_CMD.FIRST_ALM"), 0);
    EXPECT_EQ(boolean("MOD_BW.BW_CMD.LOGICAL_OR"), 0u);
}

// Each command alone reaches its own output, first and numbered 1.
TEST_F(CommandLists, EveryCoilReachesItsOwnCommand) {
    startApp();
    enableLink1();
    runPasses(R80, 14);
    for (int n = 1; n <= 22; ++n) {
        const std::string input = n == 20 ? "MOD_BW.BW_CMD.IN_20" : coil(n);
        setCell(input, 1);
        runPasses(R160, 1);
        runPasses(R80, 1);
        std::vector<uint32_t> expect(22, 0u);
        expect[size_t(n - 1)] = 1;
        EXPECT_EQ(sels(), expect) << n;
        EXPECT_EQ(integer("MOD_BW.BW_CMD.ALM_NO_" + std::to_string(n)), 1) << n;
        EXPECT_EQ(integer("MOD_BW.BW_CMD.FIRST_ALM"), n);
        setCell(input, 0);
        runPasses(R160, 1);
        runPasses(R80, 1);
        EXPECT_EQ(integer("MOD_BW.BW_CMD.ALM_NO_" + std::to_string(n)), 0) << n;
    }
}

// A reset command held on the coil gives a single pulse; none while every
// Modbus link has failed, none while its own reset input is on.
TEST_F(CommandLists, ResetCommandGivesOnePulse) {
    startApp();
    enableLink1();
    runPasses(R80, 14);
    // Pulses over ten 80 ms passes after the coil is set.
    auto pulses = [this](int value) {
        setCell(coil(4), value);
        int n = 0;
        for (int k = 0; k < 10; ++k) {
            runPasses(R80, 1);
            n += boolean("RESET.RST_M1.B_ACTION") == 1;
        }
        return n;
    };
    EXPECT_EQ(pulses(1), 1);
    EXPECT_EQ(integer("RESET.RST_M1.ACT_OUT"), 5);
    EXPECT_EQ(boolean(sel(4)), 1u) << "the command stays while the coil is on";
    EXPECT_EQ(pulses(0), 0);
    EXPECT_EQ(pulses(1), 1) << "a new command, a new pulse";
    EXPECT_EQ(pulses(0), 0);
    for (const char* veto : {"MOD_LNK_STAT.ALL_LNK_FAIL.B_NAME", "RESET.RST_M1.RST_2"}) {
        setCell(veto, 1);
        EXPECT_EQ(pulses(1), 0) << veto;
        EXPECT_EQ(boolean(sel(4)), 1u) << veto;
        EXPECT_EQ(pulses(0), 0) << veto;
        setCell(veto, 0);
    }
}

// Write enable removed while coil 7 is held: the command drops within a
// pass, the window closes half a second later and the command stays off.
TEST_F(CommandLists, RemovingTheWriteEnableDropsAHeldCommandAndClosesTheWindow) {
    startApp();
    enableLink1();
    runPasses(R80, 14);
    coilFor160(7, 1);
    runPasses(R80, 1);
    ASSERT_EQ(boolean(sel(7)), 1u);
    setCell("CNFG_COMMS.PORT1_WRT_ENBL.IN", 0);
    // The 80 ms group sees the enable gone after the 160 ms pass.
    ASSERT_EQ(passesUntil(R160, "MOD.PORT1_ENBL_WRT.AND", 0, 2), 1);
    const int dropped = passesUntil(R80, sel(7), 0, 4);
    EXPECT_GE(dropped, 1);
    EXPECT_LE(dropped, 3);
    EXPECT_EQ(boolean("MOD_BW.CLEAR_BWS.ONE_SHOT"), 1u);
    EXPECT_EQ(boolean("MOD_BW.WRIT_OFF.NOT"), 1u);
    EXPECT_EQ(boolean("MOD_BW.WRIT_OFF_DLY.DELAY"), 1u) << "the window is still open";
    const int closed = passesUntil(R80, "MOD_BW.WRIT_OFF_DLY.DELAY", 0, 12);
    EXPECT_GE(closed, 6);
    EXPECT_LE(closed, 8);
    runPasses(R80, 20);
    EXPECT_EQ(boolean(sel(7)), 0u);
    EXPECT_EQ(boolean("MOD_BW.BW_CMD.LOGICAL_OR"), 1u) << "frozen as the window closed";
    // Writes enabled again: the held coil is a command once the clear
    // pulse has run out.
    setCell("CNFG_COMMS.PORT1_WRT_ENBL.IN", 1);
    EXPECT_GT(passesUntil(R80, sel(7), 1, 30), 0);
}

TEST_F(CommandLists, TheSettingOrALatchedCommandHoldsTheWindowOpen) {
    startApp();
    setCell("MOD_BW.OR_ENABLE.IN_2", 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("MOD_BW.OR_ENABLE.OR"), 1u);
    EXPECT_EQ(boolean("MOD_BW.WRIT_OFF_DLY.DELAY"), 1u);
    EXPECT_EQ(integer("MOD_BW.WRIT_OFF_DLY.R_TIME"), 0);
    runPasses(R80, 14);
    setCell("MOD_BW.BW_CMD.IN_20", 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean(sel(20)), 1u);
    setCell("MOD_BW.ZLATCH.ZMINUS1_B", 1);
    setCell("MOD_BW.OR_ENABLE.IN_2", 0);
    runPasses(R80, 1);
    EXPECT_EQ(boolean(sel(20)), 0u) << "the clear pulse runs once the enables are gone";
    EXPECT_EQ(integer("MOD_BW.CLEAR_BWS.R_TIME"), 0);
}

// ---- OPC ----------------------------------------------------------------

class OpcCommands : public CommandLists {
protected:
    std::string in(int n) { return "OPC_DATA.BW_LIST.IN_" + std::to_string(n); }
    std::string osel(int n) { return "OPC_DATA.BW_CMDS.SEL_" + std::to_string(n); }
    void window(int open) {
        setCell("OPC_DATA.WRIT_OFF_DLY.DELAY", open);
        runPasses(R160, 1);
    }
};

TEST_F(OpcCommands, CommandsLatchOnlyInTheWindowAndNotDuringTheClearPulse) {
    startApp();
    setCell(in(9), 1);
    setCell(in(3), 1);
    runPasses(R80, 2);
    EXPECT_EQ(boolean("OPC_DATA.BW_LIST.LIST_9"), 1u);
    EXPECT_EQ(boolean(osel(9)), 0u) << "window closed";
    EXPECT_EQ(boolean("OPC_DATA.BW_CMDS.LOGICAL_OR"), 0u);
    window(1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean(osel(3)), 1u);
    EXPECT_EQ(boolean(osel(9)), 1u);
    EXPECT_EQ(integer("OPC_DATA.BW_CMDS.ALM_NO_3"), 1);
    EXPECT_EQ(integer("OPC_DATA.BW_CMDS.ALM_NO_9"), 2);
    EXPECT_EQ(integer("OPC_DATA.BW_CMDS.FIRST_ALM"), 3);
    EXPECT_EQ(boolean("OPC_DATA.BW_CMDS.HORN"), 1u);
    EXPECT_EQ(boolean("OPC_DATA.BW_CMDS.LATCH1"), 1u);
    // The clear pulse: nothing latches, the OR still reports.
    setCell("OPC_DATA.CLEAR_BWS.ONE_SHOT", 1);
    runPasses(R160, 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean(osel(3)), 0u);
    EXPECT_EQ(boolean(osel(9)), 0u);
    EXPECT_EQ(boolean("OPC_DATA.BW_CMDS.LOGICAL_OR"), 1u);
    EXPECT_EQ(integer("OPC_DATA.BW_CMDS.FIRST_ALM"), 0);
    setCell("OPC_DATA.CLEAR_BWS.ONE_SHOT", 0);
    runPasses(R160, 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean(osel(9)), 1u);
    // Window closed: the outputs hold whatever the link writes.
    window(0);
    setCell(in(9), 0);
    setCell(in(12), 1);
    runPasses(R80, 3);
    EXPECT_EQ(boolean(osel(9)), 1u);
    EXPECT_EQ(boolean(osel(12)), 0u);
}

TEST_F(OpcCommands, WithoutTheResetACommandStaysLatchedAndTheTripNeedsItsEnables) {
    startApp();
    window(1);
    setCell("OPC_DATA.BW_CMDS.RST", 0);
    setCell(in(3), 1);
    runPasses(R80, 1);
    setCell(in(3), 0);
    setCell(in(5), 1);
    runPasses(R80, 2);
    EXPECT_EQ(boolean(osel(3)), 1u) << "latched";
    EXPECT_EQ(integer("OPC_DATA.BW_CMDS.ALM_NO_5"), 2);
    EXPECT_EQ(integer("OPC_DATA.BW_CMDS.FIRST_ALM"), 3);
    EXPECT_EQ(boolean("OPC_DATA.OPC_TRIP.AND"), 0u);
    setCell("OPC_DATA.ENA_OPC_TRIP.B_NAME", 1);
    setCell("OPC_DATA.NO_FLT.NOT", 1);
    runPasses(R160, 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("OPC_DATA.OPC_TRIP.AND"), 1u);
    setCell("OPC_DATA.NO_FLT.NOT", 0);
    runPasses(R160, 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("OPC_DATA.OPC_TRIP.AND"), 0u) << "not with a link fault";
    setCell("OPC_DATA.BW_CMDS.RST", 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean(osel(3)), 0u);
    EXPECT_EQ(integer("OPC_DATA.BW_CMDS.ALM_NO_5"), 1);
}

TEST_F(OpcCommands, EveryWrittenCommandReachesItsOwnOutput) {
    startApp();
    window(1);
    for (int n = 1; n <= 20; ++n) {
        setCell(in(n), 1);
        runPasses(R80, 1);
        for (int m = 1; m <= 20; ++m) {
            const std::string k = std::to_string(m);
            EXPECT_EQ(boolean("OPC_DATA.BW_LIST.LIST_" + k), m == n ? 1u : 0u) << n << " " << m;
            EXPECT_EQ(boolean(osel(m)), m == n ? 1u : 0u) << n << " " << m;
            EXPECT_EQ(integer("OPC_DATA.BW_CMDS.ALM_NO_" + k), m == n ? 1 : 0) << n << " " << m;
        }
        EXPECT_EQ(integer("OPC_DATA.BW_CMDS.FIRST_ALM"), n);
        setCell(in(n), 0);
    }
}

TEST_F(OpcCommands, ResetCommandGivesOnePulse) {
    startApp();
    window(1);
    setCell(in(4), 1);
    std::vector<uint32_t> pulses;
    for (int k = 0; k < 5; ++k) {
        runPasses(R80, 1);
        pulses.push_back(boolean("RESET.RST_OPC.B_ACTION"));
    }
    EXPECT_EQ(pulses, (std::vector<uint32_t>{1, 0, 0, 0, 0}));
    EXPECT_EQ(integer("RESET.RST_OPC.ACT_OUT"), 5);
    setCell(in(4), 0);
    runPasses(R80, 1);
    setCell("RESET.RST_OPC.RST_2", 1);
    setCell(in(4), 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("RESET.RST_OPC.B_ACTION"), 0u);
}

TEST_F(OpcCommands, AStuckHeartbeatIsALinkFaultOnlyWithWritesEnabled) {
    startApp();
    setCell("OPC_DATA.ENA_FLT.IN_3", 1);
    // Toggling every 4 s: never lost.
    for (int k = 0; k < 4; ++k) {
        setCell("OPC_DATA.HEARTBEAT.B_NAME", k % 2);
        runPasses(R80, 50);
        EXPECT_EQ(boolean("OPC_DATA.HB_LOST.OR"), 0u) << k;
    }
    // Stuck: lost once the 5 s have been counted at 0.08 s a pass.
    const int lost = passesUntil(R80, "OPC_DATA.HB_LOST.OR", 1, 80);
    EXPECT_GE(lost, 11) << "50 passes were already counted";
    EXPECT_LE(lost, 16);
    EXPECT_EQ(boolean("OPC_DATA.BEAT_T.DELAY"), 1u);
    EXPECT_EQ(boolean("OPC_DATA.BEAT_F.DELAY"), 0u);
    EXPECT_EQ(real("OPC_DATA.HB_TIMEOUT.A_NAME"), 5.0f);
    EXPECT_EQ(boolean("OPC_DATA.LINK_FLT.B_NAME"), 0u) << "no fault without writes enabled";
    setCell("OPC_DATA.ENA_WRITES.B_NAME", 1);
    runPasses(R160, 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("OPC_DATA.ENA_FLT.AND"), 1u);
    EXPECT_EQ(boolean("OPC_DATA.LINK_FLT.B_NAME"), 1u);
    EXPECT_EQ(boolean("OPC_DATA.LINK_FLT_OS.ONE_SHOT"), 1u);
    // The fault pulse lasts 2 s although the fault stays.
    const int pulse = passesUntil(R80, "OPC_DATA.LINK_FLT_OS.ONE_SHOT", 0, 40);
    EXPECT_GE(pulse, 24);
    EXPECT_LE(pulse, 27);
    // Stuck low the other way.
    setCell("OPC_DATA.HEARTBEAT.B_NAME", 0);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("OPC_DATA.BEAT_T.DELAY"), 0u);
    const int lostLow = passesUntil(R80, "OPC_DATA.BEAT_F.DELAY", 1, 80);
    EXPECT_GE(lostLow, 60);
    EXPECT_LE(lostLow, 64);
    EXPECT_EQ(boolean("OPC_DATA.HB_NOT.NOT"), 1u);
    // The third input alone.
    setCell("OPC_DATA.HEARTBEAT.B_NAME", 1);
    setCell("OPC_DATA.HB_LOST.IN_3", 1);
    runPasses(R160, 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("OPC_DATA.HB_LOST.OR"), 1u);
    EXPECT_EQ(boolean("OPC_DATA.BEAT_F.DELAY"), 0u);
    EXPECT_EQ(boolean("OPC_DATA.BEAT_T.DELAY"), 0u);
}

}  // namespace
}  // namespace iface_test
