// The remote relay node's outputs through the whole program: each relay that
// the relay logic energises reaches its own bit of the transmit PDO the
// controller sends to a simulated node on the bus; the I/O lock and the loss
// of the node take them away.
#include <string>

#include "tests/remote_io/program_rig.h"

namespace rio_test {
namespace {

constexpr uint32_t kReadbackPdo = 0x185, kRelayPdo = 0x205;

class RemoteRelays : public ProgramWithNodes {
protected:
    void SetUp() override {
        ProgramWithNodes::SetUp();
        addNode(Kind::RelayOut, 5);
        pdo(kReadbackPdo, words({0x0000}));
        startWithNodes({"CNFG_CAN2.VL5_ENA.IN"}, {"CNFG_CAN2.VL_NODE5_BO.ACTIVE"});
    }
};

TEST_F(RemoteRelays, EveryRelayReachesItsOwnPdoBitAndTheLockAndTheNodesLossTakeThemAway) {
    // Scan rate 200 ms: one frame every ten passes, relays 1-8 in byte 0 and
    // 9-16 in byte 1 (relay n in bit n-1), then the watchdog byte, ten
    // releases on.
    for (uint16_t relays : kBitPatterns) {
        energiseRelays(relays);
        takeSent(kRelayPdo);
        run(40);
        auto tx = takeSent(kRelayPdo);
        ASSERT_GE(tx.size(), 3u);
        ASSERT_LE(tx.size(), 5u);
        for (const auto& f : tx) {
            EXPECT_EQ(f.len, 3u);
            EXPECT_EQ(f.data[0], relays & 0xFF) << std::hex << relays;
            EXPECT_EQ(f.data[1], relays >> 8) << std::hex << relays;
        }
        EXPECT_EQ(static_cast<uint8_t>(tx[1].data[2] - tx[0].data[2]), 10u);
    }
    ASSERT_EQ(boolean("_ub75.ENERGIZE_CMD.B_NAME"), 1u);
    ASSERT_EQ(boolean("VL5_BO.BOUT_01.DISPLAY"), 1u);

    // The I/O lock: relay 1 is off at once; the node is then disabled and
    // sent back to pre-operational, so nothing more goes out.
    lock();
    run(3);
    EXPECT_EQ(boolean("VL5_BO.BOUT_01.DISPLAY"), 0u);
    EXPECT_EQ(boolean("_ub75.ENERGIZE_CMD.B_NAME"), 1u);
    takeSent(kRelayPdo);
    run(40);
    for (const auto& f : takeSent(kRelayPdo)) {
        EXPECT_EQ(f.data[0], 0x00);
        EXPECT_EQ(f.data[1], 0x00);
    }
    EXPECT_EQ(boolean("CNFG_CAN2.VL_NODE5_BO.ACTIVE"), 0u);
    EXPECT_EQ(nodes_[0]->nmtState(), 127u);

    // Unlocked, the node is started again and gets its relays once more.
    unlock();
    for (int p = 0; p < 600 && boolean("CNFG_CAN2.VL_NODE5_BO.ACTIVE") == 0; ++p) run(1);
    ASSERT_EQ(boolean("CNFG_CAN2.VL_NODE5_BO.ACTIVE"), 1u);
    run(20);
    auto tx = takeSent(kRelayPdo);
    ASSERT_FALSE(tx.empty());
    EXPECT_EQ(tx.back().data[0], 0x35);
    EXPECT_EQ(tx.back().data[1], 0x4D);

    // The node falls silent: once it is no longer active nothing is sent
    // to it.
    pdo(kReadbackPdo, {});
    for (int p = 0; p < 600 && boolean("CNFG_CAN2.VL_NODE5_BO.ACTIVE") != 0; ++p) run(1);
    ASSERT_EQ(boolean("CNFG_CAN2.VL_NODE5_BO.ACTIVE"), 0u);
    run(2);
    takeSent(kRelayPdo);
    run(40);
    EXPECT_TRUE(takeSent(kRelayPdo).empty());
}

}  // namespace
}  // namespace rio_test
