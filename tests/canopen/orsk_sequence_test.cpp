// The configuration sequence of the four remote nodes against simulated
// nodes on the virtual bus: every frame in order, and each node's outcome
// when the node misbehaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "app/config/CNFG_CAN2.cells.h"
#include "canopen/canopen_obj_dctn.h"
#include "tests/canopen/orsk_frames.h"

namespace {

class OrskKinds : public ::testing::TestWithParam<KindCase> {};

}  // namespace

TEST_P(OrskKinds, ConfiguresTheNodeFrameByFrame) {
    const KindCase c = GetParam();
    OrskRig rig;
    SimRemoteNode node(c.kind, static_cast<uint8_t>(c.id));
    rig.start(c.slot);
    ASSERT_TRUE(rig.runUntilIdle(c.slot));
    EXPECT_EQ(nodeFrames(rig.net.take(), c.id), expectedSequence(c));
    EXPECT_EQ(rig.cfgFault(c.slot), 0u);
    EXPECT_EQ(rig.idFault(c.slot), 0u);
    EXPECT_FALSE(rig.lost(c.slot));
    EXPECT_EQ(rig.data(c.slot).NibbleA, 0x88880088u);
    EXPECT_EQ(rig.data(c.slot).NibbleB, 0x88888888u);
    EXPECT_EQ(rig.data(c.slot).MsgSdoStat, 0x88888888u);
    EXPECT_EQ(rig.deviceName(c.slot), c.name);
    EXPECT_EQ(rig.swVer(c.slot), "rev A 2.14");
    EXPECT_EQ(rig.data(c.slot).ThisPort, 0x11);
}

INSTANTIATE_TEST_SUITE_P(EachKind, OrskKinds, ::testing::ValuesIn(kKinds),
                         [](const auto& i) { return std::string(i.param.name).substr(3, 2 + (i.param.id == 3)); });

TEST(OrskSequence, ResultsLandInTheNodeBlockCells) {
    OrskRig rig;
    SimRemoteNode node(Kind::DiscreteIn, 4);
    node.values[SimRemoteNode::key(0x1018, 1)] = 0x12345678;
    cells::CNFG_CAN2.VL_NODE5_BO_VENDOR_ID = -1;
    // Channel status words of an earlier run are cleared when the sequence starts.
    rig.data(2).ChanStatus[0] = 0x44;
    rig.data(2).ChanStatus[15] = 0x44;
    rig.start(2);
    ASSERT_TRUE(rig.runUntilIdle(2));
    EXPECT_EQ(static_cast<int32_t>(cells::CNFG_CAN2.VL_NODE4_BI_VENDOR_ID), 0x12345678);
    EXPECT_EQ(static_cast<int32_t>(cells::CNFG_CAN2.VL_NODE4_BI_SERIAL_NUM), 41004);
    EXPECT_EQ(static_cast<int32_t>(cells::CNFG_CAN2.VL_NODE4_BI_NODE_FUNC), 0x5001);
    EXPECT_STREQ(cells::CNFG_CAN2.VL_NODE4_BI_DEVICE_NM.c_str(), "VL-BI-16C");
    EXPECT_STREQ(cells::CNFG_CAN2.VL_NODE4_BI_SW_VER.c_str(), "rev A 2.14");
    EXPECT_EQ(static_cast<uint32_t>(cells::CNFG_CAN2.VL_NODE4_BI_CFG_FAULT), 0u);
    EXPECT_EQ(rig.data(2).ChanStatus[0], 0u);
    EXPECT_EQ(rig.data(2).ChanStatus[15], 0u);
    // The other nodes' cells are untouched.
    EXPECT_EQ(static_cast<int32_t>(cells::CNFG_CAN2.VL_NODE5_BO_VENDOR_ID), -1);
}

TEST(OrskSequence, NodeThatNeverBootsIsWaitedForThenLost) {
    OrskRig rig;
    SimRemoteNode node(Kind::RelayOut, 5);
    node.neverBoots = true;
    rig.start(3);
    int passes = 0;
    uint32_t waiting = 0;  // nibble A one second into the wait
    while ((rig.data(3).Status & ORSK_IDLE) == 0 && passes < 500) {
        rig.net.passes(1);
        if (++passes == 50) waiting = rig.data(3).NibbleA & 0xF;
    }
    EXPECT_GE(passes * 20, 2000);
    EXPECT_LT(passes * 20, 2200);
    EXPECT_EQ(waiting, 1u);  // the reset's wait is marked in bit 0
    EXPECT_EQ(nodeFrames(rig.net.take(), 5), Lines{"000#8105"});
    EXPECT_EQ(rig.idFault(3), 1u);
    EXPECT_TRUE(rig.lost(3));
    EXPECT_EQ(rig.data(3).NibbleA & 0xF, NIB_TIMEOUT);
    EXPECT_EQ(node.writes().size(), 0u);
}

TEST(OrskSequence, RetryBitRepeatsTheResetOnce) {
    OrskRig rig;
    SimRemoteNode node(Kind::RelayOut, 5);
    node.neverBoots = true;
    rig.data(3).Status |= ORSK_RETRY;
    rig.start(3);
    ASSERT_TRUE(rig.runUntilIdle(3));
    EXPECT_EQ(nodeFrames(rig.net.take(), 5), (Lines{"000#8105", "000#8105"}));
    EXPECT_EQ(rig.idFault(3), 1u);
}

// Two boot-ups per reset, whether one node boots twice or two nodes share the id:
// the node is reset once more, then given up with the identity fault.
TEST(OrskSequence, NodeThatBootsTwiceEndsWithIdentityFault) {
    OrskRig rig;
    SimRemoteNode node(Kind::DiscreteIn, 4);
    node.bootUps = 2;
    rig.start(2);
    ASSERT_TRUE(rig.runUntilIdle(2));
    EXPECT_EQ(nodeFrames(rig.net.take(), 4), (Lines{"000#8104", "704#00", "704#00", "000#8104", "704#00", "704#00"}));
    EXPECT_EQ(node.resets(), 2);
    EXPECT_EQ(rig.idFault(2), 1u);
    EXPECT_FALSE(rig.lost(2));
}

TEST(OrskSequence, TwoNodesSharingAnIdEndWithIdentityFault) {
    OrskRig rig;
    SimRemoteNode a(Kind::AnalogIO, 1), twin(Kind::AnalogIO, 1);
    rig.start(0);
    ASSERT_TRUE(rig.runUntilIdle(0));
    EXPECT_EQ(nodeFrames(rig.net.take(), 1), (Lines{"000#8101", "701#00", "701#00", "000#8101", "701#00", "701#00"}));
    EXPECT_EQ(rig.idFault(0), 1u);
    EXPECT_TRUE(a.writes().empty());
}

// A second answer to the serial-number read (a twin that booted unseen)
// sets the identity fault there.
TEST(OrskSequence, SecondAnswerToTheSerialNumberReadIsAnIdentityFault) {
    OrskRig rig;
    SimRemoteNode a(Kind::AnalogIO, 1), twin(Kind::AnalogIO, 1);
    twin.neverBoots = true;
    rig.start(0);
    ASSERT_TRUE(rig.runUntilIdle(0));
    const Lines frames = nodeFrames(rig.net.take(), 1);
    ASSERT_EQ(frames.size(), 5u);
    EXPECT_EQ(frames[2], "601#4018100400000000");
    EXPECT_EQ(rig.idFault(0), 1u);
    EXPECT_EQ(rig.data(0).SerialNumTmp, 41001);
}

struct LateCase {
    int lateMs;
    uint32_t cfgFault;
    bool lost;
};
class OrskLate : public ::testing::TestWithParam<LateCase> {};

TEST_P(OrskLate, AnswersWithinTheLimitAreTakenLaterOnesTimeOut) {
    const LateCase c = GetParam();
    OrskRig rig;
    SimRemoteNode node(Kind::DiscreteIn, 4);
    node.lateMs = c.lateMs;
    rig.start(2);
    ASSERT_TRUE(rig.runUntilIdle(2, 5000));
    EXPECT_EQ(rig.cfgFault(2), c.cfgFault);
    EXPECT_EQ(rig.lost(2), c.lost);
    const Lines frames = nodeFrames(rig.net.take(), 4);
    if (c.lost) {
        // Every step timed out and the sequence ran to its end; the texts'
        // time-outs abort the transfer with the time-out code.
        EXPECT_EQ(rig.data(2).NibbleB & 0x00FF0000u, 0x00440000u);
        EXPECT_NE(std::find(frames.begin(), frames.end(), "604#8008100000000405"), frames.end());
        EXPECT_NE(std::find(frames.begin(), frames.end(), "604#800A100000000405"), frames.end());
    } else {
        EXPECT_EQ(rig.data(2).NibbleB, 0x88888888u);
    }
}

INSTANTIATE_TEST_SUITE_P(Late, OrskLate,
                         ::testing::Values(LateCase{1900, 0, false}, LateCase{2100, 1, true}),
                         [](const ::testing::TestParamInfo<LateCase>& i) {
                             return "answer_after_" + std::to_string(i.param.lateMs) + "_ms";
                         });

TEST(OrskSequence, AbortedStepIsRecordedAndTheSequenceGoesOn) {
    OrskRig rig;
    SimRemoteNode node(Kind::AnalogIO, 1);
    node.aborts[SimRemoteNode::key(0x1017, 0)] = 0x06010002;
    node.aborts[SimRemoteNode::key(0x1008, 0)] = 0x06020000;
    rig.start(0);
    ASSERT_TRUE(rig.runUntilIdle(0));
    EXPECT_EQ((rig.data(0).NibbleA >> 20) & 0xF, NIB_ABORT);
    EXPECT_EQ((rig.data(0).NibbleB >> 16) & 0xF, NIB_ABORT);
    EXPECT_EQ(rig.deviceName(0), "");
    EXPECT_EQ(rig.swVer(0), "rev A 2.14");
    EXPECT_EQ(rig.cfgFault(0), 1u);
    EXPECT_TRUE(rig.lost(0));
    // The transmit intervals after the aborted heartbeat write still went out.
    const auto w = node.writes();
    ASSERT_FALSE(w.empty());
    EXPECT_EQ(w.back(), (SimRemoteNode::Write{0x1802, 5, 1000}));
}

TEST(OrskSequence, WrongModuleCodeReadsIdentityButWritesNothing) {
    OrskRig rig;
    SimRemoteNode node(Kind::Rtd, 3);
    node.values[SimRemoteNode::key(0x2000, 0)] = 0x1002;
    rig.start(1);
    ASSERT_TRUE(rig.runUntilIdle(1));
    EXPECT_EQ(rig.cfgFault(1), 1u);
    EXPECT_EQ(rig.idFault(1), 0u);
    EXPECT_EQ(rig.deviceName(1), "VL-RTD-8C");
    EXPECT_EQ(rig.swVer(1), "rev A 2.14");
    // Only the heartbeat write; no channel configuration, deadline or interval.
    EXPECT_EQ(node.writes(), (std::vector<SimRemoteNode::Write>{{0x1017, 0, 0}}));
}

TEST(OrskSequence, LongTextIsCutToTheCellAndTheTransferRunsToItsEnd) {
    OrskRig rig;
    SimRemoteNode node(Kind::DiscreteIn, 4);
    const std::string longName(60, 'N');
    node.texts[SimRemoteNode::key(0x1008, 0)] = longName + "";
    rig.start(2);
    ASSERT_TRUE(rig.runUntilIdle(2));
    EXPECT_EQ(rig.deviceName(2), std::string(39, 'N'));
    EXPECT_EQ(rig.rec(2).DeviceName[39], '\0');
    EXPECT_EQ((rig.data(2).NibbleB >> 16) & 0xF, NIB_DONE);
    const Lines frames = nodeFrames(rig.net.take(), 4);
    const auto segRequests = std::count_if(frames.begin(), frames.end(), [](const std::string& l) {
        return l == "604#6000000000000000" || l == "604#7000000000000000";
    });
    EXPECT_EQ(segRequests, 9 + 2);  // 60 bytes in 9 segments, then the 10-byte version in 2
    EXPECT_EQ(rig.swVer(2), "rev A 2.14");
    EXPECT_EQ(rig.cfgFault(2), 0u);
}

TEST(OrskSequence, SevenByteNameArrivesInOneSegment) {
    OrskRig rig;
    SimRemoteNode node(Kind::DiscreteIn, 4);
    node.texts[SimRemoteNode::key(0x1008, 0)] = "BI16-07";
    rig.start(2);
    ASSERT_TRUE(rig.runUntilIdle(2));
    EXPECT_EQ(rig.deviceName(2), "BI16-07");
    const Lines frames = nodeFrames(rig.net.take(), 4);
    EXPECT_NE(std::find(frames.begin(), frames.end(), "584#01424931362D3037"), frames.end());
}

TEST(OrskSequence, SegmentOutOfTurnIsAbortedWithTheOneClientCode) {
    OrskRig rig;
    SimRemoteNode node(Kind::DiscreteIn, 4);
    node.badToggle = true;
    rig.start(2);
    ASSERT_TRUE(rig.runUntilIdle(2));
    const Lines frames = nodeFrames(rig.net.take(), 4);
    EXPECT_NE(std::find(frames.begin(), frames.end(), "604#8008100000000405"), frames.end());
    EXPECT_NE(std::find(frames.begin(), frames.end(), "604#800A100000000405"), frames.end());
    EXPECT_EQ((rig.data(2).NibbleB >> 16) & 0xF, NIB_ABORT);
    EXPECT_EQ(rig.cfgFault(2), 1u);
}

TEST(OrskSequence, FourNodesConfigureSideBySide) {
    OrskRig rig;
    SimRemoteNode n1(Kind::AnalogIO, 1), n3(Kind::Rtd, 3), n4(Kind::DiscreteIn, 4), n5(Kind::RelayOut, 5);
    for (int k = 0; k < 4; ++k) rig.start(k);
    for (int i = 0; i < 1000; ++i) {
        rig.net.passes(1);
        bool idle = true;
        for (int k = 0; k < 4; ++k) idle = idle && (rig.data(k).Status & ORSK_IDLE) != 0;
        if (idle) break;
    }
    const Lines all = rig.net.take();
    for (const KindCase& c : kKinds) {
        EXPECT_EQ(rig.cfgFault(c.slot), 0u) << c.name;
        EXPECT_EQ(nodeFrames(all, c.id), expectedSequence(c)) << c.name;
    }
}

TEST(OrskSequence, StartUpValuesOfTheNodes) {
    OrskRig rig;
    for (int k = 0; k < 4; ++k) {
        rig.data(k).NibbleA = rig.data(k).NibbleB = 0x12345678;
        rig.data(k).ThisPort = rig.data(k).NodeDiag = 7;
        rig.data(k).ChanCount = 0;
    }
    VL3_RTD_ChanUnits[5] = 1;
    // What a previous run left in the transmit data.
    std::fill(std::begin(COBFifoTx), std::end(COBFifoTx), uint8_t{0xA5});
    rig.net.task([] { for (RemoteNode n : {kNodeRtd, kNodeBi, kNodeAio, kNodeBo}) CNFG_CAN2_node_init_blk(n); });
    // The analog and relay nodes' transmit entries start cleared; the others
    // are not theirs.
    for (int i = 0; i < kNumTxPdos * kTxPdoStride; ++i)
        EXPECT_EQ(COBFifoTx[i], i < 2 * kTxPdoStride ? 0 : 0xA5) << "byte " << i;
    const int32_t ids[4] = {1, 3, 4, 5};
    for (int k = 0; k < 4; ++k) {
        const CoOrskNodeData& d = rig.data(k);
        EXPECT_EQ(d.Status, ORSK_IDLE | 1u << 16 | (k == 1 ? 2u << 13 : 0u)) << k;
        EXPECT_EQ(d.NibbleA, 0u);
        EXPECT_EQ(d.NibbleB, 0u);
        EXPECT_EQ(d.ThisPort, 0);
        EXPECT_EQ(d.NodeDiag, 0);
        EXPECT_EQ(d.ChanCount, 1);
        EXPECT_EQ(d.CurrentSDO, 0);
        EXPECT_EQ(d.NodeId, ids[k]);
    }
    for (int32_t u : VL3_RTD_ChanUnits) EXPECT_EQ(u, 0x2D0000);
}

// A module code with bit 31 set writes the sync period; with the retry bit a
// second failure counts as done.
TEST(OrskSequence, SyncPeriodFailingTwiceCountsAsDone) {
    OrskRig rig;
    SimRemoteNode node(Kind::AnalogIO, 1);
    node.values[SimRemoteNode::key(0x2000, 0)] = 0x80006001u;
    node.aborts[SimRemoteNode::key(0x1006, 0)] = 0x06010002;
    rig.data(0).Status |= ORSK_RETRY;
    rig.start(0);
    ASSERT_TRUE(rig.runUntilIdle(0));
    const Lines frames = nodeFrames(rig.net.take(), 1);
    EXPECT_EQ(std::count(frames.begin(), frames.end(), "601#2306100000710200"), 2);
    EXPECT_EQ((rig.data(0).NibbleA >> 4) & 0xF, NIB_DONE);
    EXPECT_EQ(rig.cfgFault(0), 1u);  // the code is not the expected one
}

TEST(OrskSequence, SyncPeriodWrittenForAModuleCodeWithBit31) {
    OrskRig rig;
    SimRemoteNode node(Kind::AnalogIO, 1);
    node.values[SimRemoteNode::key(0x2000, 0)] = 0x80006001u;
    rig.start(0);
    ASSERT_TRUE(rig.runUntilIdle(0));
    EXPECT_EQ(node.writes(), (std::vector<SimRemoteNode::Write>{{0x1017, 0, 0}, {0x1006, 0, 160000}}));
    EXPECT_EQ((rig.data(0).NibbleA >> 4) & 0xF, NIB_DONE);
}

// With the retry bit a failed step is tried once more, then the sequence goes on.
TEST(OrskSequence, RetryBitRepeatsAFailedStepOnce) {
    OrskRig rig;
    SimRemoteNode node(Kind::Rtd, 3);
    node.aborts[SimRemoteNode::key(0x1017, 0)] = 0x06010002;
    node.aborts[SimRemoteNode::key(0x2269, 1)] = 0x06090011;
    rig.data(1).Status |= ORSK_RETRY;
    rig.start(1);
    ASSERT_TRUE(rig.runUntilIdle(1));
    const Lines frames = nodeFrames(rig.net.take(), 3);
    EXPECT_EQ(std::count(frames.begin(), frames.end(), "603#2B17100000000000"), 2);
    EXPECT_EQ(std::count(frames.begin(), frames.end(), "603#2F69220100000000"), 2);
    EXPECT_EQ((rig.data(1).NibbleA >> 20) & 0xF, NIB_ABORT);
    EXPECT_EQ(rig.data(1).ChanStatus[0], 0x82u);
    EXPECT_EQ((rig.data(1).NibbleA >> 24) & 0xF, NIB_ABORT);  // the channel pattern check
    EXPECT_EQ(rig.cfgFault(1), 1u);
}
