// The start of the 80 ms pass on the whole program: the remote-node enables
// under the I/O lock, the node fault summaries, the alarm override while no
// node is in use, RTD channel 1's configuration and the reset pulses. The
// nodes are simulated on the host CAN bus: their faults come from what they
// answer and send (an error register, a wrong module code, a boot-up, PDOs
// that stop), the I/O lock from the platform, the reset from the board's
// reset contact and the service tool.
#include <functional>
#include <string>
#include <vector>

#include "app/config/CNFG_CAN2_nodes.h"
#include "app/remote_io/remote_io.h"
#include "canopen/canopen_orsk.h"
#include "tests/remote_io/program_rig.h"
#include "tests/support/ref_rig.h"

namespace rio_test {
namespace {

// The nodes that exist (node 2 has none): id, kind, block and PDOs.
struct NodeSpec {
    int vl;  // 1 .. 5
    SimRemoteNode::Kind kind;
    const char* block;
    RemoteNode index;
    std::vector<uint32_t> cobs;
};
const NodeSpec kSpecs[4] = {
    {1, SimRemoteNode::Kind::AnalogIO, "VL_NODE1_AIO", kNodeAio, {0x281, 0x381, 0x481}},
    {3, SimRemoteNode::Kind::Rtd, "VL_NODE3_RTD_8C", kNodeRtd, {0x283, 0x383}},
    {4, SimRemoteNode::Kind::DiscreteIn, "VL_NODE4_BI", kNodeBi, {0x184}},
    {5, SimRemoteNode::Kind::RelayOut, "VL_NODE5_BO", kNodeBo, {0x185}},
};

class RemoteNodes : public ProgramWithNodes {
protected:
    static std::string vl(int k, const char* rest) { return "VL" + std::to_string(k) + rest; }
    static std::string node(const NodeSpec& s, const char* field) {
        return std::string("CNFG_CAN2.") + s.block + "." + field;
    }
    // A setting or command as the service tool writes it (its limits checked).
    void tool(const std::string& name, double v) { tc_test::AppHarness::serviceWrite(name, v); }
    // 20 ms passes (the nodes reporting) until `done`, at most `max`.
    bool until(const std::function<bool()>& done, int max) {
        for (int p = 0; p < max && !done(); ++p) run(1);
        return done();
    }
    void passes80(int n) { run(4 * n); }

    // Every node on the bus, taken in, with none of them enabled yet.
    void nodesOnTheBus() {
        for (const NodeSpec& s : kSpecs) {
            addNode(s.kind, static_cast<uint8_t>(s.vl));
            sending(s, true);
        }
        startPastPowerUp();
        takeNodesIn({});
    }
    // The node's PDOs every 100 ms, or none.
    void sending(const NodeSpec& s, bool on) {
        for (uint32_t cob : s.cobs) pdo(cob, on ? words({0x0190, 0x0190, 0x0190, 0x0190}) : std::vector<uint8_t>{});
    }
    SimRemoteNode& sim(const NodeSpec& s) { return *nodeOf(static_cast<uint8_t>(s.vl)); }
    bool configured(const NodeSpec& s) {
        return (CoOrskNodeData4[s.index]->Status & ORSK_IDLE) != 0 && RemoteNodeBlocks[s.index].Operational != 0 &&
               boolean(node(s, "CFG_FAULT")) == 0 && boolean(node(s, "ID_FAULT")) == 0 &&
               boolean(node(s, "ACTIVE")) != 0;
    }
    // The node's configuration run again from the service tool, until its
    // sequence has ended (`sound`: configured, operational and active).
    void reconfigure(const NodeSpec& s, bool sound) {
        tool("CNFG_CAN2." + vl(s.vl, "_INIT.IN_3"), 1);
        run(8);
        tool("CNFG_CAN2." + vl(s.vl, "_INIT.IN_3"), 0);
        const auto ended = [&] {
            return (CoOrskNodeData4[s.index]->Status & ORSK_IDLE) != 0 && (!sound || configured(s));
        };
        ASSERT_TRUE(until(ended, 4000)) << s.block << " never configured again";
    }
    // The communication reset of the network from the service tool.
    void networkReset() {
        tool("CNFG_CAN2.VL_RST.IN_2", 1);
        run(8);
        tool("CNFG_CAN2.VL_RST.IN_2", 0);
    }
};

TEST_F(RemoteNodes, EnablesFollowTheirSettingsAndTheIoLockTurnsThemAllOff) {
    nodesOnTheBus();
    passes80(2);
    for (int k = 1; k <= 5; ++k) EXPECT_EQ(boolean("CNFG_CAN2." + vl(k, "_ENABLE.AND")), 0u) << k;
    tool("CNFG_CAN2.VL3_ENA.IN", 1);
    passes80(1);
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(boolean("CNFG_CAN2." + vl(k, "_ENA.B_NAME")), k == 3 ? 1u : 0u) << k;
        EXPECT_EQ(boolean("CNFG_CAN2." + vl(k, "_ENABLE.AND")), k == 3 ? 1u : 0u) << k;
    }
    for (int k = 1; k <= 5; ++k) tool("CNFG_CAN2." + vl(k, "_ENA.IN"), 1);
    for (const NodeSpec& s : kSpecs) ASSERT_TRUE(until([&] { return configured(s); }, 4000)) << s.block;
    // Every node reports a fault in its error register, then falls silent.
    for (const NodeSpec& s : kSpecs) sim(s).values[SimRemoteNode::key(0x1001, 0)] = 0x01;
    for (const NodeSpec& s : kSpecs)
        ASSERT_TRUE(until([&] { return boolean(node(s, "NODE_FLT")) != 0; }, 200)) << s.block;
    for (const NodeSpec& s : kSpecs) sending(s, false);
    for (const NodeSpec& s : kSpecs)
        ASSERT_TRUE(until([&] { return boolean(node(s, "COMM_FLT_1")) != 0; }, 200)) << s.block;
    passes80(1);
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(boolean("CNFG_CAN2." + vl(k, "_ENABLE.AND")), 1u) << k;
        EXPECT_EQ(boolean("VLTR_ALMS." + vl(k, "_CFLT_ENA.AND")), k == 2 ? 0u : 1u) << k;
        EXPECT_EQ(boolean("VLTR_ALMS." + vl(k, "_FLT_ENA.AND")), k == 2 ? 0u : 1u) << k;
    }
    // The I/O lock from the platform (a 160 ms cell, through its copy).
    lock();
    passes80(6);
    EXPECT_EQ(boolean("MASTER.IO_LOCK.B_NAME"), 1u);
    EXPECT_EQ(boolean("CNFG_CAN2.NO_IOLOCK.NOT"), 0u);
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(boolean("CNFG_CAN2." + vl(k, "_ENA.B_NAME")), 1u) << k;
        EXPECT_EQ(boolean("CNFG_CAN2." + vl(k, "_ENABLE.AND")), 0u) << k;
        EXPECT_EQ(boolean("VLTR_ALMS." + vl(k, "_CFLT_ENA.AND")), 0u) << k;
        EXPECT_EQ(boolean("VLTR_ALMS." + vl(k, "_FLT_ENA.AND")), 0u) << k;
        EXPECT_EQ(boolean("VLTR_ALMS." + vl(k, "_FLT.OR")), k == 2 ? 0u : 1u) << k;
    }
}

// The four faults of a node, each brought about on one node at a time by
// what the node does: its error register (node fault), a module code that
// is not its kind's (configuration fault), a boot-up while it runs
// (identity fault), its PDOs stopping (communication fault).
TEST_F(RemoteNodes, EachFaultOfANodeCountsForThatNodeOnly) {
    nodesOnTheBus();
    for (int k = 1; k <= 5; ++k) tool("CNFG_CAN2." + vl(k, "_ENA.IN"), 1);
    // Every node starts unconfigured; here each has been configured.
    for (const NodeSpec& s : kSpecs) ASSERT_TRUE(until([&] { return configured(s); }, 4000)) << s.block;
    passes80(2);
    const auto checkOnly = [&](const NodeSpec& s, const char* f) {
        passes80(2);
        const bool comm = std::string(f) == "COMM_FLT_1";
        for (int j = 1; j <= 5; ++j) {
            EXPECT_EQ(boolean("VLTR_ALMS." + vl(j, "_FLT.OR")), j == s.vl && !comm ? 1u : 0u) << s.vl << f << j;
            EXPECT_EQ(boolean("VLTR_ALMS." + vl(j, "_FLT_ENA.AND")), j == s.vl && !comm ? 1u : 0u) << s.vl << f << j;
            EXPECT_EQ(boolean("VLTR_ALMS." + vl(j, "_CFLT_ENA.AND")), j == s.vl && comm ? 1u : 0u) << s.vl << f << j;
        }
        for (const char* other : {"NODE_FLT", "CFG_FAULT", "ID_FAULT", "COMM_FLT_1"})
            EXPECT_EQ(boolean(node(s, other)), std::string(other) == f ? 1u : 0u) << s.block << " " << f;
    };
    for (const NodeSpec& s : kSpecs) {
        SimRemoteNode& nd = sim(s);
        const uint32_t code = SimRemoteNode::moduleCode(s.kind);
        // Node fault: the error register's generic bit, read once a second.
        nd.values[SimRemoteNode::key(0x1001, 0)] = 0x01;
        ASSERT_TRUE(until([&] { return boolean(node(s, "NODE_FLT")) != 0; }, 200)) << s.block;
        checkOnly(s, "NODE_FLT");
        nd.values[SimRemoteNode::key(0x1001, 0)] = 0;
        ASSERT_TRUE(until([&] { return boolean(node(s, "NODE_FLT")) == 0; }, 200)) << s.block;
        // Configuration fault: configured again with another module code.
        nd.values[SimRemoteNode::key(0x2000, 0)] = code ^ 0x10u;
        reconfigure(s, false);
        checkOnly(s, "CFG_FAULT");
        nd.values[SimRemoteNode::key(0x2000, 0)] = code;
        reconfigure(s, true);
        // Identity fault: a boot-up of the running node.
        nd.transmit(hostcan::makeFrame(0x700u + static_cast<uint32_t>(s.vl), {0x00}));
        ASSERT_TRUE(until([&] { return boolean(node(s, "ID_FAULT")) != 0; }, 10)) << s.block;
        checkOnly(s, "ID_FAULT");
        reconfigure(s, true);
        // Communication fault: the node's PDOs stop; the network's reset
        // takes it back once they come again.
        sending(s, false);
        ASSERT_TRUE(until([&] { return boolean(node(s, "COMM_FLT_1")) != 0; }, 200)) << s.block;
        checkOnly(s, "COMM_FLT_1");
        sending(s, true);
        networkReset();
        ASSERT_TRUE(until([&] { return configured(s) && boolean(node(s, "COMM_FLT_1")) == 0; }, 4000)) << s.block;
    }
    // Node 2 has no node: its flags stay off.
    passes80(2);
    for (const char* f : {"VLTR_ALMS.VL2_CFLT_ENA.AND", "VLTR_ALMS.VL2_FLT.OR", "VLTR_ALMS.VL2_FLT_ENA.AND"})
        EXPECT_EQ(boolean(f), 0u) << f;
    // A fault of a node that is not enabled is not annunciated: node 4
    // disabled, then gone from the bus and configured again (no boot-up:
    // configuration, identity and communication faults).
    tool("CNFG_CAN2.VL4_ENA.IN", 0);
    sim(kSpecs[2]).neverBoots = true;
    sending(kSpecs[2], false);
    reconfigure(kSpecs[2], false);
    passes80(2);
    EXPECT_EQ(boolean("CNFG_CAN2.VL_NODE4_BI.CFG_FAULT"), 1u);
    EXPECT_EQ(boolean("CNFG_CAN2.VL_NODE4_BI.COMM_FLT_1"), 1u);
    EXPECT_EQ(boolean("VLTR_ALMS.VL4_FLT.OR"), 1u);
    EXPECT_EQ(boolean("VLTR_ALMS.VL4_FLT_ENA.AND"), 0u);
    EXPECT_EQ(boolean("VLTR_ALMS.VL4_CFLT_ENA.AND"), 0u);
}

// The network's settings, resets and RTD channel 1 with no node on the bus:
// the alarm override while no node is in use, the network reset from the
// reset contact or its own setting, the channel's range in Celsius and its
// texts, and the reset pulses of the 80 ms group.
TEST_F(RemoteNodes, OverrideNetworkResetRtdChannelOneAndResetPulses) {
    startPastPowerUp();
    passes80(2);
    EXPECT_EQ(boolean("VLTR_ALMS.NOT_USED.NOT"), 1u);
    EXPECT_EQ(boolean("VLTR_ALMS.OVRD_ALMS.OR"), 1u);
    tool("CNFG_CAN2.USE_VL.IN", 1);
    passes80(6);
    EXPECT_EQ(boolean("CNFG_CAN2.ENA_VL.OR"), 1u);
    EXPECT_EQ(boolean("VLTR_ALMS.OVRD_ALMS.OR"), 0u);
    tool("VLTR_ALMS.OVRD_ALMS.IN_1", 1);
    passes80(1);
    EXPECT_EQ(boolean("VLTR_ALMS.OVRD_ALMS.OR"), 1u);
    tool("VLTR_ALMS.OVRD_ALMS.IN_1", 0);

    // RTD channel 1. Defaults: Fahrenheit, range 0 .. 1500.
    EXPECT_EQ(boolean("CNFG_CAN2.USE_DEG_F.B_NAME"), 1u);
    EXPECT_EQ(boolean("_ub43.SEL_DEG_F.B_NAME"), 1u);
    EXPECT_FLOAT_EQ(real("_ub43.LO_SP_IN_C.A_SW"), -17.777779f);
    EXPECT_FLOAT_EQ(real("_ub43.HI_SP_IN_C.A_SW"), 815.5556f);
    EXPECT_EQ(text("_ub43.CURVE_TYPE.S_MUX_N_1"), "E");
    EXPECT_EQ(text("_ub43.OHM_VAL.S_MUX_N_1"), "100");
    EXPECT_FLOAT_EQ(real("_ub43.SEC_TO_MS.MULTIPLY"), 1000.0f);
    EXPECT_FLOAT_EQ(real("_ub43.GAIN.A_NAME"), 1.0f);
    tool("_ub43.CURVE_C.IN", 2);
    tool("_ub43.OHM_C.IN", 2);
    tool("_ub43.FLT_DLY.IN", 2.5);
    tool("_ub43.OFFSET.IN", -3.0);
    tool("CNFG_CAN2.USE_DEG_F.IN", 0);
    passes80(1);
    EXPECT_EQ(text("_ub43.CURVE_TYPE.S_MUX_N_1"), "A");
    EXPECT_EQ(text("_ub43.OHM_VAL.S_MUX_N_1"), "200");
    EXPECT_EQ(integer("_ub43.CURVE_C.I_NAME"), 2);
    EXPECT_FLOAT_EQ(real("_ub43.SEC_TO_MS.MULTIPLY"), 2500.0f);
    EXPECT_FLOAT_EQ(real("_ub43.OFFSET.A_NAME"), -3.0f);
    EXPECT_FLOAT_EQ(real("_ub43.LO_SP_IN_C.A_SW"), 0.0f);
    EXPECT_FLOAT_EQ(real("_ub43.HI_SP_IN_C.A_SW"), 1500.0f);
    tool("_ub43.RANGE_LO.IN", 100.0);
    passes80(1);
    EXPECT_FLOAT_EQ(real("_ub43.LO_SP_IN_C.A_SW"), 100.0f);
    // A selector outside 1 .. 2 (which the service tool refuses) keeps the text.
    pokeTunable("_ub43.CURVE_C.IN", 3);
    pokeTunable("_ub43.OHM_C.IN", 0);
    passes80(1);
    EXPECT_EQ(text("_ub43.CURVE_TYPE.S_MUX_N_1"), "A");
    EXPECT_EQ(text("_ub43.OHM_VAL.S_MUX_N_1"), "200");

    // The network reset follows the CAN reset (here from the reset
    // contact) or its own setting.
    EXPECT_EQ(boolean("CNFG_CAN2.VL_RST.OR"), 0u);
    board::setDiscreteInput(ref_test::kResetContact, true);
    ASSERT_TRUE(until([&] { return boolean("CNFG_CAN2.CAN2_RST.OR") != 0; }, 40));
    passes80(1);
    EXPECT_EQ(boolean("CNFG_CAN2.VL_RST.OR"), 1u);
    board::setDiscreteInput(ref_test::kResetContact, false);
    ASSERT_TRUE(until([&] { return boolean("CNFG_CAN2.CAN2_RST.OR") == 0; }, 200));
    passes80(1);
    EXPECT_EQ(boolean("CNFG_CAN2.VL_RST.OR"), 0u);
    tool("CNFG_CAN2.VL_RST.IN_2", 1);
    passes80(1);
    EXPECT_EQ(boolean("CNFG_CAN2.CAN2_RST.OR"), 0u);
    EXPECT_EQ(boolean("CNFG_CAN2.VL_RST.OR"), 1u);
    tool("CNFG_CAN2.VL_RST.IN_2", 0);
    passes80(10);

    // The reset pulses last one second: the service tool's and the reset
    // contact's, started in the same pass.
    ASSERT_EQ(boolean("RESET.RESET_DI.ONE_SHOT"), 0u);
    tool("RESET.DEBUG_RST.TRIGGER", 1);
    board::setDiscreteInput(ref_test::kResetContact, true);
    int debug = 0, contact = 0;
    for (int p = 0; p < 25; ++p) {
        runPasses(R80, 1);
        debug += static_cast<int>(boolean("RESET.DEBUG_RST.ONE_SHOT"));
        contact += static_cast<int>(boolean("RESET.RESET_DI.ONE_SHOT"));
    }
    EXPECT_EQ(debug, 13);
    EXPECT_EQ(contact, 13);
    EXPECT_EQ(integer("RESET.DEBUG_RST.R_TIME"), 0);
    // A new pulse needs the trigger to drop first.
    board::setDiscreteInput(ref_test::kResetContact, false);
    ASSERT_TRUE(until([&] { return boolean("BI_MUX.RESET_CONT.B_NAME") == 0; }, 40));
    passes80(2);
    board::setDiscreteInput(ref_test::kResetContact, true);
    for (int p = 0; p < 4 && boolean("RESET.RESET_DI.ONE_SHOT") == 0; ++p) runPasses(R80, 1);
    EXPECT_EQ(boolean("RESET.RESET_DI.ONE_SHOT"), 1u);
    EXPECT_EQ(integer("RESET.RESET_DI.R_TIME"), 0);
    EXPECT_EQ(boolean("RESET.DEBUG_RST.ONE_SHOT"), 0u);
}

}  // namespace
}  // namespace rio_test
