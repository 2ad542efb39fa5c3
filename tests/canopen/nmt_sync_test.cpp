// NMT slave and master, boot-up, SYNC production, heartbeat, over the bus.
#include <gtest/gtest.h>

#include "canopen/canopen.h"
#include "canopen/canopen_mscan.h"
#include "host/hostkernel.h"
#include "runtime/can_startup.h"
#include "tests/canopen/can_fixture.h"

using Lines = std::vector<std::string>;

TEST(CanOpenNmt, BootUpOnOpenAndSyncEvery20msInEveryState) {
    CanNet net;
    EXPECT_EQ(net.take(), (Lines{"70A#00"}));
    EXPECT_EQ(net.image().NmtState, NMT_PRE_OPERATIONAL);

    std::vector<uint64_t> syncTimes;
    const int node = hostcan::attach("sync-clock", [&](const hostcan::Frame& f) {
        if (f.id == 0x80) syncTimes.push_back(hk::nowNs());
    });
    net.passes(3);
    EXPECT_EQ(net.take(), (Lines{"080#", "080#", "080#"}));

    net.send("000#010A");  // start, addressed to the own node
    net.passes(1);
    EXPECT_EQ(net.image().NmtState, NMT_OPERATIONAL);
    net.passes(2);
    EXPECT_EQ(net.take(), (Lines{"080#", "080#", "080#"}));

    net.send("000#0200");  // stop, all nodes
    net.passes(1);
    EXPECT_EQ(net.image().NmtState, NMT_STOPPED);
    net.passes(2);
    EXPECT_EQ(net.take(), (Lines{"080#", "080#", "080#"}));

    hostcan::detach(node);
    ASSERT_EQ(syncTimes.size(), 9u);
    for (size_t i = 1; i < syncTimes.size(); ++i) EXPECT_EQ(syncTimes[i] - syncTimes[i - 1], 20'000'000u) << i;
}

TEST(CanOpenNmt, CommandTableOverTheBus) {
    CanNet net;
    net.take();
    struct Step {
        const char* line;
        uint8_t expect;
    };
    // From pre-operational through every transition of the command table.
    const Step steps[] = {
        {"000#800A", NMT_PRE_OPERATIONAL},  // 127 -128-> no change
        {"000#010A", NMT_OPERATIONAL},      // 127 -1-> 5
        {"000#010A", NMT_OPERATIONAL},      // 5 -1-> no change
        {"000#800A", NMT_PRE_OPERATIONAL},  // 5 -128-> 127
        {"000#020A", NMT_STOPPED},          // 127 -2-> 4
        {"000#020A", NMT_STOPPED},          // 4 -2-> no change
        {"000#800A", NMT_PRE_OPERATIONAL},  // 4 -128-> 127
        {"000#0200", NMT_STOPPED},          // node 0 applies
        {"000#010A", NMT_OPERATIONAL},      // 4 -1-> 5
        {"000#020A", NMT_STOPPED},          // 5 -2-> 4
        {"000#010B", NMT_STOPPED},          // another node: ignored
        {"000#0100", NMT_OPERATIONAL},
        {"000#030A", NMT_OPERATIONAL},      // unknown specifier: ignored
        {"000#01", NMT_OPERATIONAL},        // wrong length: dropped
        {"000#800A00", NMT_OPERATIONAL},    // wrong length: dropped
        {"000#800A", NMT_PRE_OPERATIONAL},
    };
    for (const Step& s : steps) {
        net.send(s.line);
        net.passes(1);
        EXPECT_EQ(net.image().NmtState, s.expect) << s.line;
    }
    EXPECT_EQ(net.take(), Lines(std::size(steps), "080#"));

    // Reset node and reset communication in pre-operational boot at once, in the same pass.
    net.send("000#810A");
    net.passes(1);
    EXPECT_EQ(net.take(), (Lines{"080#", "70A#00"}));
    net.send("000#8200");
    net.passes(1);
    EXPECT_EQ(net.take(), (Lines{"080#", "70A#00"}));
    EXPECT_EQ(net.image().NmtState, NMT_PRE_OPERATIONAL);

    // Reset communication in operational boots at once too.
    net.send("000#010A");
    net.passes(1);
    net.send("000#820A");
    net.passes(1);
    EXPECT_EQ(net.take(), (Lines{"080#", "080#", "70A#00"}));
    EXPECT_EQ(net.image().NmtState, NMT_PRE_OPERATIONAL);
}

TEST(CanOpenNmt, ResetNodeOutsidePreOperationalWaitsForTheTimerStep) {
    CanNet net(true, false);
    net.take();
    for (uint8_t state : {NMT_OPERATIONAL, NMT_STOPPED}) {
        net.task([&] {
            COImagesApp.NmtState = state;
            CanFrame f{};
            f.Id = 0;
            f.Length = 2;
            f.Data[0] = NMT_CS_RESET_NODE;
            f.Data[1] = 10;
            CanOpenGenRxProcessor(1, &f);
            EXPECT_EQ(COImagesApp.NmtState, NMT_INITIALISING);
        });
        EXPECT_TRUE(net.take().empty());
        net.task([] { EXPECT_EQ(CanOpenProcessTimers(1), 0); });
        EXPECT_EQ(net.take(), (Lines{"70A#00"}));
        EXPECT_EQ(net.image().NmtState, NMT_PRE_OPERATIONAL);
    }
    // A frame received in state 0 boots the node and is dropped.
    net.task([] {
        COImagesApp.NmtState = NMT_INITIALISING;
        CanFrame f{};
        f.Id = 0x60Au << 21;
        f.Length = 8;
        f.Data[0] = 0x40;
        CanOpenGenRxProcessor(1, &f);
    });
    EXPECT_EQ(net.take(), (Lines{"70A#00"}));
}

TEST(CanOpenNmt, MasterCommandsAndLoopBack) {
    CanNet net;
    net.take();
    const uint16_t irq = net.image().NumIrq;
    const uint16_t rxFrames = net.image().RxFrameCount;
    net.task([] { CanOpenGoOperational(1); });
    EXPECT_EQ(net.take(), (Lines{"000#0100"}));
    // Looped back into the own receive FIFO: counted once, not as a bus frame.
    EXPECT_EQ(net.image().NumIrq, irq + 1);
    EXPECT_EQ(net.image().RxFrameCount, rxFrames);
    EXPECT_EQ(net.image().NmtState, NMT_PRE_OPERATIONAL);
    net.passes(1);
    EXPECT_EQ(net.image().NmtState, NMT_OPERATIONAL);

    net.task([] { CanOpenNodeGoPreOperational(1, 3); });
    net.passes(1);
    EXPECT_EQ(net.image().NmtState, NMT_OPERATIONAL);
    net.task([] { CanOpenNodeGoPreOperational(1, 10); });
    net.passes(1);
    EXPECT_EQ(net.image().NmtState, NMT_PRE_OPERATIONAL);
    net.task([] { CanOpenNodeGoOperational(1, 5); });
    net.passes(1);
    EXPECT_EQ(net.image().NmtState, NMT_PRE_OPERATIONAL);
    EXPECT_EQ(net.take(), (Lines{"080#", "000#8003", "080#", "000#800A", "080#", "000#0105", "080#"}));

    // A SYNC sent without latching, and a SYNC through the NMT primitive.
    net.task([] {
        SendCanOpenRtSyncObject(1);
        EXPECT_EQ(CanOpenSendNmtNow(1, 0x80, &NmtCanMessageBufferB, 0), 0);
        EXPECT_EQ(COImagesApp.RxLatchedCount, 2);  // the last pass's and the first SYNC's loop-backs
    });
    EXPECT_EQ(net.take(), (Lines{"080#", "080#"}));

    // Closed: nothing is sent, the operations report -1.
    net.task([] {
        EXPECT_EQ(CanOpenClose(1), 0);
        CanOpenGoOperational(1);
        SendCanOpenRtSyncObject(1);
        CanFrame f{};
        EXPECT_EQ(CanOpenSendNmtNow(1, 0x80, &f, 0), -1);
        EXPECT_EQ(CanOpen(1, 20), -1);
        EXPECT_EQ(CanOpenProcessTimers(1), -1);
        EXPECT_EQ(CanOpenSendTime(1), -1);
    });
    net.passes(2);
    EXPECT_TRUE(net.take().empty());
}

TEST(CanOpenNmt, HeartbeatProducerAndConsumer) {
    CanNet net;
    net.take();
    net.passes(10);
    for (const auto& l : net.take()) EXPECT_EQ(l, "080#");  // 0x1017 = 0: no heartbeat
    net.task([] { ProducerHeartbeatTimeB = 100; });
    net.passes(10);
    EXPECT_EQ(net.take(), (Lines{"080#", "080#", "080#", "080#", "080#", "70A#7F", "080#", "080#", "080#", "080#",
                                 "080#", "70A#7F"}));
    net.task([] { ProducerHeartbeatTimeB = 0; });

    // Remote node 1 (heartbeat COB-id 0x701): boot-up counts both, a heartbeat one.
    net.send("701#00");
    net.send("701#05");
    net.send("701#");     // no state byte: no heartbeat
    net.send("77F#05");   // no node row holds it
    net.send("70A#05");   // the own COB-id is not consumed
    net.send("705#7F");   // node 4 (relay)
    net.passes(1);
    EXPECT_EQ(NmtErrCntrlSt1B.HeartbeatCount, 2);
    EXPECT_EQ(NmtErrCntrlSt1B.BootUpCount, 1);
    EXPECT_EQ(NmtErrCntrlSt4B.HeartbeatCount, 1);
    EXPECT_EQ(NmtErrCntrlSt4B.BootUpCount, 0);
    EXPECT_EQ(NmtErrCntrlSt2B.HeartbeatCount, 0);

    // Stopped: heartbeats and NMT commands still count, SYNC, SDO and PDOs are dropped.
    net.send("000#020A");
    net.passes(1);
    ASSERT_EQ(net.image().NmtState, NMT_STOPPED);
    net.take();
    net.send("703#00");
    net.send("60A#4017100000000000");
    net.send("281#0102030405060708");
    net.passes(2);
    EXPECT_EQ(net.take(), (Lines{"080#", "080#"}));
    EXPECT_EQ(NmtErrCntrlSt2B.BootUpCount, 1);
    EXPECT_EQ(RxPdoBufferB[1][0], 0);
    EXPECT_EQ(RxPdoBufferB[1][1], 0);
}

TEST(CanOpenNmt, NoImageAndInvalidNodeIds) {
    hk::start(hk::ClockMode::Simulated);
    hk::runTask([] {
        EXPECT_EQ(GetCanOpenImage(1), nullptr);
        EXPECT_EQ(CanOpenOpen(1), -1);
        EXPECT_EQ(CanOpenClose(1), -1);
        EXPECT_EQ(CanOpen(1, 20), -1);
        EXPECT_EQ(CanOpenLatchRxMsgCount(1), -1);
        CanOpenChangeCobId(1, 10, 1, 0, 0x123);
        init_can_protocols();
        CNFG_CAN2_CAN2_NTW1_2357_InitForCopenReset();
        for (uint8_t id : {0, 128, 255}) {
            COImagesApp.NodeId = id;
            EXPECT_EQ(CanOpenOpen(1), -1);
            EXPECT_EQ(COImagesApp.Open, 0);
            EXPECT_EQ(CANControllerMemory.ControllerB.Open, 0u);  // the controller was left alone
        }
        COImagesApp.NodeId = 127;
        EXPECT_EQ(CanOpenOpen(1), 0);
        EXPECT_EQ(COImagesApp.NmtState, NMT_PRE_OPERATIONAL);
        EXPECT_EQ(CanOpenOpen(1), -1);  // the controller is already open
    });
    hk::shutdown();
    mscan::reset();
    hostcan::reset();
}
