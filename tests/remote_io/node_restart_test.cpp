// The start and restart of a remote node's configuration through the whole
// program: a node is not started before it is configured, a restart in the
// middle of a segmented upload begins a clean sequence, and the node's
// millisecond counters stop at the top of their range.
#include <climits>
#include <string>

#include "app/config/CNFG_CAN2.cells.h"
#include "app/config/CNFG_CAN2_nodes.h"
#include "app/remote_io/remote_io.h"
#include "tests/remote_io/program_rig.h"

namespace rio_test {
namespace {

class NodeRestart : public ProgramWithNodes {
protected:
    // Every frame the controller sent since the last call, "ID#DATA".
    std::vector<std::string> takeAll() {
        std::lock_guard<std::mutex> lock(mu_);
        std::vector<std::string> out;
        for (const auto& f : sent_) out.push_back(hostcan::formatFrame(f));
        sent_.clear();
        return out;
    }
    static bool has(const std::vector<std::string>& lines, const std::string& prefix) {
        for (const std::string& l : lines)
            if (l.rfind(prefix, 0) == 0) return true;
        return false;
    }
    uint32_t idle() const { return (CNFG_CAN2_VL_NODE4_BI_2425.Status & ORSK_IDLE) != 0 ? 1u : 0u; }
};

// Before any configuration the node counts as unconfigured: enabled, with
// the network operational but its configuration not permitted, it is never
// started, and its PDO ages read "never received".
TEST_F(NodeRestart, AnUnconfiguredNodeIsNotStarted) {
    addNode(Kind::DiscreteIn, 4);
    // The tunables file holds no configuration permission for any node.
    tunablesAtStart([] {
        auto& c = cells::CNFG_CAN2;
        c.VL_NODE1_AIO_INIT_PERM = 0;
        c.VL_NODE3_RTD_8C_INIT_PERM = 0;
        c.VL_NODE4_BI_INIT_PERM = 0;
        c.VL_NODE5_BO_INIT_PERM = 0;
    });
    startPastPowerUp();
    setCell("CNFG_CAN2.USE_VL.IN", 1);
    setCell("CNFG_CAN2.VL4_ENA.IN", 1);
    setCell("CNFG_CAN2.GO_OPER.IN_1", 1);
    run(400);
    EXPECT_EQ(integer("CNFG_CAN2.CAN2_NTW1.NMT_STATUS"), 5);
    EXPECT_EQ(boolean("CNFG_CAN2.VL4_ENABLE.AND"), 1u);
    const auto frames = takeAll();
    EXPECT_FALSE(has(frames, "000#0104"));
    EXPECT_FALSE(has(frames, "604#"));
    EXPECT_EQ(boolean("CNFG_CAN2.VL_NODE4_BI.CFG_FAULT"), 1u);
    EXPECT_EQ(integer("CNFG_CAN2.VL_NODE4_BI.LAST_MSG_1"), INT_MAX);
    EXPECT_EQ(boolean("CNFG_CAN2.VL_NODE4_BI.ACTIVE"), 0u);
    EXPECT_STREQ(cells::CNFG_CAN2.VL_NODE4_BI_DEVICE_NM.c_str(), "");
}

// The operator restarts the node while its device name is coming in
// segments: the new sequence resets the node and reads every text from its
// start, the node comes back configured and operational and is not lost.
TEST_F(NodeRestart, ARestartDuringASegmentedUploadBeginsACleanSequence) {
    addNode(Kind::DiscreteIn, 4);
    pdo(0x184, {0x00, 0x00, 0x00});
    startWithNodes({"CNFG_CAN2.VL4_ENA.IN"}, {"CNFG_CAN2.VL_NODE4_BI.ACTIVE"});
    nodes_[0]->lateMs = 200;
    serviceWrite("CNFG_CAN2.VL4_INIT.IN_3", 1);
    run(8);
    serviceWrite("CNFG_CAN2.VL4_INIT.IN_3", 0);
    takeAll();
    // Up to the first segment request of the device name.
    bool segment = false;
    for (int p = 0; p < 2000 && !segment; ++p) {
        run(1);
        segment = has(takeAll(), "604#6000000000000000");
    }
    ASSERT_TRUE(segment);
    EXPECT_EQ(idle(), 0u);
    serviceWrite("CNFG_CAN2.VL4_INIT.IN_3", 1);
    std::vector<std::string> after;
    bool restarted = false;
    for (int p = 0; p < 4000 && !(restarted && idle() != 0); ++p) {
        run(1);
        for (const std::string& l : takeAll()) after.push_back(l);
        restarted = restarted || has(after, "000#8104");
        if (p == 20) serviceWrite("CNFG_CAN2.VL4_INIT.IN_3", 0);
    }
    ASSERT_TRUE(restarted);
    ASSERT_EQ(idle(), 1u);
    // Nothing of the old transfer is carried on: no segment request before
    // the new initiate, and no abort.
    const std::string initiate = "604#4008100000000000";
    bool initiateSeen = false;
    for (const std::string& l : after) {
        if (l == initiate) initiateSeen = true;
        if (!initiateSeen) {
            EXPECT_NE(l.rfind("604#60", 0), 0u) << l;
        }
        EXPECT_NE(l.rfind("604#80", 0), 0u) << l;
    }
    EXPECT_TRUE(initiateSeen);
    EXPECT_STREQ(cells::CNFG_CAN2.VL_NODE4_BI_DEVICE_NM.c_str(), "VL-BI-16C");
    EXPECT_STREQ(cells::CNFG_CAN2.VL_NODE4_BI_SW_VER.c_str(), "rev A 2.14");
    EXPECT_EQ(boolean("CNFG_CAN2.VL_NODE4_BI.CFG_FAULT"), 0u);
    EXPECT_EQ(boolean("CNFG_CAN2.VL_NODE4_BI.ID_FAULT"), 0u);
    nodes_[0]->lateMs = 0;
    run(100);
    EXPECT_TRUE(has(takeAll(), "000#0104") || nodes_[0]->nmtState() == 5);
    EXPECT_EQ(nodes_[0]->nmtState(), 5);
    EXPECT_EQ(boolean("CNFG_CAN2.VL_NODE4_BI.COMM_FLT_1"), 0u);
    EXPECT_EQ(boolean("CNFG_CAN2.VL_NODE4_BI.ACTIVE"), 1u);
}

// Millisecond counters stop at the top of the 32-bit range instead of
// wrapping negative (after about 24.9 days).
TEST(MillisecondCounters, StopAtTheTopOfTheRange) {
    struct Row {
        int32_t from, add, to;
    };
    const Row rows[] = {{0, 20, 20},
                        {INT_MAX - 21, 20, INT_MAX - 1},
                        {INT_MAX - 20, 20, INT_MAX},
                        {INT_MAX - 19, 20, INT_MAX},
                        {INT_MAX, 20, INT_MAX}};
    for (const Row& r : rows) {
        int32_t v = r.from;
        add_ms_saturated(v, r.add);
        EXPECT_EQ(v, r.to) << r.from;
    }
}

// A node idle for weeks: its request timer and the age of a PDO that has
// stopped reach the top of the range and stay there; the node stays lost.
TEST_F(NodeRestart, AnIdleNodesCountersStayAtTheTop) {
    addNode(Kind::DiscreteIn, 4);
    pdo(0x184, {0x00, 0x00, 0x00});
    startWithNodes({"CNFG_CAN2.VL4_ENA.IN"}, {"CNFG_CAN2.VL_NODE4_BI.ACTIVE"});
    pdo(0x184, {});
    run(100);
    EXPECT_EQ(boolean("CNFG_CAN2.VL_NODE4_BI.COMM_FLT_1"), 1u);
    // Weeks later (the hidden counters of the block placed near the top).
    CNFG_CAN2_VL_NODE4_BI_2425.Timer = INT_MAX - 30;
    RemoteNodeBlocks[kNodeBi].Age[0][0] = INT_MAX - 30;
    run(5);
    EXPECT_EQ(CNFG_CAN2_VL_NODE4_BI_2425.Timer, INT_MAX);
    EXPECT_EQ(integer("CNFG_CAN2.VL_NODE4_BI.LAST_MSG_1"), INT_MAX);
    EXPECT_EQ(boolean("CNFG_CAN2.VL_NODE4_BI.ACTIVE"), 0u);
    EXPECT_EQ(boolean("CNFG_CAN2.VL_NODE4_BI.COMM_FLT_1"), 1u);
}

}  // namespace
}  // namespace rio_test
