// Controller glue, the MSCAN model and the virtual bus: candump lines, faults,
// bus-off and error-passive, transmit order, the bus server over TCP.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "canopen/canopen_mscan.h"
#include "canopen/canopen_pdo.h"
#include "host/hostkernel.h"
#include "host/mscan.h"
#include "runtime/can_startup.h"
#include "runtime/appinit.h"
#include "tests/canopen/can_fixture.h"

using Lines = std::vector<std::string>;

TEST(CanBus, CandumpLines) {
    EXPECT_EQ(hostcan::formatFrame(hostcan::makeFrame(0x80, {})), "080#");
    EXPECT_EQ(hostcan::formatFrame(hostcan::makeFrame(0x70A, {5})), "70A#05");
    EXPECT_EQ(hostcan::formatFrame(hostcan::makeFrame(0x60A, {0x40, 0x18, 0x10, 4, 0, 0, 0, 0})),
              "60A#4018100400000000");
    hostcan::Frame f;
    ASSERT_TRUE(hostcan::parseFrame("60a#4018100400000000\r", &f));
    EXPECT_EQ(f, hostcan::makeFrame(0x60A, {0x40, 0x18, 0x10, 4, 0, 0, 0, 0}));
    ASSERT_TRUE(hostcan::parseFrame("0#", &f));
    EXPECT_EQ(f, hostcan::makeFrame(0, {}));
    ASSERT_TRUE(hostcan::parseFrame("7FF#0102", &f));
    EXPECT_EQ(f.len, 2);
    for (const char* bad : {"800#", "7FF#0", "7FF#010203040506070809", "#00", "1234#", "12G#", "123", "123#GG",
                            "", "123#01 02", " 12#"})
        EXPECT_FALSE(hostcan::parseFrame(bad, &f)) << bad;
}

TEST(CanBus, DeliveryDropAndDelay) {
    std::vector<std::string> a, b, c;
    const int pa = hostcan::attach("a", [&](const hostcan::Frame& f) { a.push_back(hostcan::formatFrame(f)); });
    const int pb = hostcan::attach("b", [&](const hostcan::Frame& f) { b.push_back(hostcan::formatFrame(f)); });
    hostcan::attach("c", [&](const hostcan::Frame& f) { c.push_back(hostcan::formatFrame(f)); });
    hostcan::enableLog(true);
    hostcan::send(pa, hostcan::makeFrame(0x181, {1}));
    EXPECT_TRUE(a.empty());
    EXPECT_EQ(b, (Lines{"181#01"}));
    EXPECT_EQ(c, (Lines{"181#01"}));
    hostcan::dropFrames([](const hostcan::Frame& f) { return f.id == 0x181; }, 1);
    hostcan::send(pa, hostcan::makeFrame(0x181, {2}));
    hostcan::send(pa, hostcan::makeFrame(0x181, {3}));
    hostcan::delayFrames([](const hostcan::Frame& f) { return f.id == 0x80; });
    hostcan::send(pb, hostcan::makeFrame(0x80, {}));
    hostcan::send(pb, hostcan::makeFrame(0x701, {5}));
    EXPECT_EQ(c, (Lines{"181#01", "181#03", "701#05"}));
    hostcan::releaseDelayed();
    EXPECT_EQ(c, (Lines{"181#01", "181#03", "701#05", "080#"}));
    EXPECT_EQ(a, (Lines{"701#05", "080#"}));
    EXPECT_EQ(hostcan::takeLog(), (Lines{"181#01", "181#03", "701#05", "080#"}));
    EXPECT_EQ(hostcan::framesCarried(), 4u);
    hostcan::detach(pb);
    hostcan::send(pa, hostcan::makeFrame(0x100, {}));
    EXPECT_EQ(b.size(), 2u);
    hostcan::reset();
}

TEST(CanGlue, ErrorPassiveAndBusOff) {
    CanNet net;
    net.take();
    mscan::setErrorState(1, 2, 2);  // error-passive: still on the bus
    net.passes(1);
    EXPECT_EQ(net.image().Errors, 1);
    EXPECT_EQ(net.image().BusOff, 0);
    EXPECT_EQ(net.image().RxStatusFlags, 2);
    EXPECT_EQ(net.image().TxStatusFlags, 2);
    EXPECT_EQ(net.take(), (Lines{"080#"}));

    mscan::setErrorState(1, 0, 3);  // transmitter bus-off
    net.passes(1);
    EXPECT_EQ(net.image().Errors, 2);
    EXPECT_EQ(net.image().BusOff, 1);
    EXPECT_EQ(net.image().TxStatusFlags, 3);
    const uint16_t rxFrames = net.image().RxFrameCount;
    net.send("701#05");  // not received while off the bus
    net.passes(11);
    EXPECT_TRUE(net.take().empty());
    EXPECT_EQ(net.image().RxFrameCount, rxFrames);
    EXPECT_EQ(NmtErrCntrlSt1B.HeartbeatCount, 0);
    EXPECT_EQ(net.image().BusOff, 1);
    // 12 SYNCs queued while off: the transmit FIFO holds 8, the rest are lost and counted.
    EXPECT_EQ(net.image().TxOverFlowCounter, 4);

    mscan::setErrorState(1, 0, 0);  // recovered: the queued frames leave in order
    net.passes(1);
    EXPECT_EQ(net.image().Errors, 3);
    EXPECT_EQ(net.image().BusOff, 0);
    EXPECT_EQ(net.image().TxStatusFlags, 0);
    EXPECT_EQ(net.take(), Lines(9, "080#"));
    net.send("701#05");
    net.passes(1);
    EXPECT_EQ(NmtErrCntrlSt1B.HeartbeatCount, 1);

    // The receiver alone in bus-off also counts as bus-off; closing clears the counters.
    net.task([] {
        CanOpenHandlerError(1, 0x30);
        EXPECT_EQ(COImagesApp.BusOff, 1);
        EXPECT_EQ(CanOpenClose(1), 0);
        EXPECT_EQ(COImagesApp.Errors, 0);
        EXPECT_EQ(COImagesApp.BusOff, 0);
    });
}

TEST(CanGlue, SyncWaitsForEmptyTransmitBuffersAndPriorityLimit) {
    CanNet net(true, false);
    net.take();
    mscan::setTxStall(1, true);
    net.task([] {
        CanOpenNodeGoOperational(1, 3);
        CanOpenSendNmtNow(1, 0x80, &NmtCanMessageBufferB, 0);
        CanOpenNodeGoOperational(1, 4);
        EXPECT_EQ(MsgOnDeck[1], 1);  // the SYNC waits on deck
    });
    EXPECT_TRUE(net.take().empty());
    net.task([] { COImagesApp.SyncTimeStamp = 0; });
    mscan::setTxStall(1, false);
    hk::runTicks(1);
    EXPECT_EQ(net.take(), (Lines{"000#0103", "080#", "000#0104"}));

    // With one buffer never draining, 250 frames are supplied, then none until it drains.
    mscan::setTxStall(1, true);
    net.task([] { CanOpenNodeGoOperational(1, 3); });  // occupies a buffer: priority 1
    net.task([] {
        uint8_t buf[kMscanBufferBytes];
        CanFrame f{};
        f.Id = 0x181u << 21;
        f.Length = 1;
        CanFrameToMscanBuffer(f, buf);
        for (int i = 2; i <= 250; ++i) {
            CanOpenHandlerTxPush(1, buf);
            uint8_t out[kMscanBufferBytes];
            ASSERT_EQ(CanOpenHandlerTxPop(1, out), 1) << i;
            EXPECT_EQ(out[MSCAN_OFS_TBPR], i);
        }
        CanOpenHandlerTxPush(1, buf);
        uint8_t out[kMscanBufferBytes];
        EXPECT_EQ(CanOpenHandlerTxPop(1, out), 0);
        EXPECT_EQ(CanOpenHandlerTxPop(1, out), 0);
    });
    mscan::setTxStall(1, false);
    hk::runTicks(1);
    EXPECT_EQ(net.take(), (Lines{"000#0103", "181#00"}));
    EXPECT_EQ(CanMsgPriority[1], 0);  // the last pop found every buffer empty

    // A frame on COB-id 0x200 carries the SYNC time plus 51 bit times.
    net.task([] {
        COImagesApp.SyncTimeStamp = 1000;
        uint8_t buf[kMscanBufferBytes];
        CanFrame f{};
        f.Id = 0x200u << 21;
        f.Length = 4;
        f.Data[0] = f.Data[1] = f.Data[2] = f.Data[3] = 0xFF;
        CanFrameToMscanBuffer(f, buf);
        for (uint16_t baud : {500, 125, 0}) {
            COImagesApp.BaudRate = baud;
            CanOpenHandlerTxPush(1, buf);
            uint8_t out[kMscanBufferBytes];
            ASSERT_EQ(CanOpenHandlerTxPop(1, out), 1);
            const CanFrame o = MscanBufferToCanFrame(out);
            const int v = 1000 + 51 * (baud == 0 ? 1 : 1000 / baud);
            EXPECT_EQ(o.Data[0], v & 0xFF);
            EXPECT_EQ(o.Data[1], v >> 8);
            EXPECT_EQ(o.Data[2], 0);
            EXPECT_EQ(o.Data[3], 0);
        }
    });
}

TEST(CanGlue, NotBusMasterSendsNothing) {
    CanNet net;
    net.take();
    VmeMasterController = 0;
    const uint16_t irq = net.image().NumIrq;
    net.task([] { CanOpenGoOperational(1); });
    net.passes(2);
    EXPECT_TRUE(net.take().empty());
    EXPECT_EQ(net.image().NmtState, NMT_PRE_OPERATIONAL);
    EXPECT_EQ(net.image().NumIrq, irq);
    VmeMasterController = 1;
    net.task([] { CanOpenGoOperational(1); });
    net.passes(1);
    EXPECT_EQ(net.image().NmtState, NMT_OPERATIONAL);
    // A bus frame counts in NumIrq and NumBytes.
    const uint16_t bytes = net.image().NumBytes;
    const uint16_t irq2 = net.image().NumIrq;
    net.task([] { EXPECT_EQ(CanOpenSendPdoNow(1, 1, 0), 0); });
    EXPECT_EQ(net.image().NumIrq, irq2 + 1);
    EXPECT_EQ(net.image().NumBytes, bytes + 5);
}

TEST(CanGlue, OpenCloseParameterBlockAndDump) {
    CanNet net(false, false);
    for (auto [baud, timing] : {std::pair<uint16_t, uint8_t>{125, 0x97}, {250, 0x8B}, {500, 0x85}, {1000, 0x82},
                                {800, 0x82}}) {
        net.task([baud = baud] {
            COImagesApp.BaudRate = baud;
            ASSERT_EQ(CanOpenOpen(1), 0);
        });
        const CanControllerParams& p = CANControllerMemory.ControllerB;
        EXPECT_EQ(p.BusTiming0, timing) << baud;
        EXPECT_EQ(p.Open, 1u);
        EXPECT_EQ(p.RegisterBase, 0x80001380u);
        EXPECT_EQ(p.Config, 0x08);
        EXPECT_EQ(p.Control1, 0xC0);
        EXPECT_EQ(p.BusTiming1, 0x4F);
        EXPECT_EQ(p.RxIntEnable, 0x69);
        EXPECT_EQ(p.AcceptMask[1], 0xE7);
        EXPECT_EQ(p.AcceptMask[7], 0xFE);
        EXPECT_EQ(p.TxPopHandler, &CanOpenHandlerTxPop);
        net.task([] {
            EXPECT_EQ(CanOpenDriverGetCanControllerStatus(&COImagesApp), 0);
            EXPECT_EQ(CanOpenClose(1), 0);
            EXPECT_EQ(CanOpenDriverGetCanControllerStatus(&COImagesApp), -1);
            EXPECT_EQ(CanOpenClose(1), -1);  // already closed
        });
    }
    EXPECT_EQ(net.take(), Lines(5, "70A#00"));

    testing::internal::CaptureStdout();
    net.task([] {
        COImagesApp.ControllerId = 5;
        EXPECT_EQ(CanOpenOpen(5), -1);
        CanOpenImageDump(5);
        CanOpenImageDump(6);  // no image: nothing
        COImagesApp.ControllerId = 1;
    });
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind("CanOpenDriverOpen - ControllerId invalid\nImageIdx - 0\nCanOpenImage->RemotePort - 0\n"
                        "CanOpenImage->Open - 0\nCanOpenImage->ControllerId - 5\nCanOpenImage->BaudRate - 800\n",
                        0),
              0u)
        << out;
    EXPECT_NE(out.find("CanOpenImage->FifoParamsTx Count - 0\n"), std::string::npos);
}

TEST(CanGlue, ReceiveFifoOverflowAndDrainWithoutSync) {
    CanNet net(true, false);
    net.take();
    for (int i = 0; i < 25; ++i) net.send("701#05");
    ASSERT_EQ(hostcan::waitFrames(26, 5000), 26u);
    hk::runTicks(1);
    EXPECT_EQ(net.image().RxFrameCount, 25);
    EXPECT_EQ(net.image().RxOverFlowCounter, 6);  // 19 fit
    net.task([] {
        COImagesApp.RxLatchedCount = 0;
        EXPECT_EQ(CanOpen(1, 20), 0);  // nothing latched
        EXPECT_EQ(NmtErrCntrlSt1B.HeartbeatCount, 0);
        EXPECT_EQ(COImagesApp.RxLatchedCount, 20);
        EXPECT_EQ(CanOpen(1, 20), 0);  // no SYNC in between: drains the FIFO
        EXPECT_EQ(NmtErrCntrlSt1B.HeartbeatCount, 19);
        EXPECT_EQ(FifoGetCount(&COImagesApp.FifoParamsRx), 0);
    });
}

// ---- The bus server, the way a client sees it ----

static int connectTo(int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    return fd;
}

static void writeAll(int fd, const std::string& s) {
    ASSERT_EQ(::send(fd, s.data(), s.size(), MSG_NOSIGNAL), static_cast<ssize_t>(s.size()));
}

// Reads until n complete lines arrived (or 5 s passed).
static Lines readLines(int fd, size_t n) {
    Lines lines;
    std::string partial;
    while (lines.size() < n) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0) break;
        char buf[512];
        const ssize_t r = ::recv(fd, buf, sizeof buf, 0);
        if (r <= 0) break;
        for (ssize_t i = 0; i < r; ++i) {
            if (buf[i] == '\n') {
                lines.push_back(partial);
                partial.clear();
            } else {
                partial += buf[i];
            }
        }
    }
    return lines;
}

TEST(CanBusServer, ClientsTalkToTheControllerInCandumpLines) {
    CanNet net;
    net.take();
    const int port = hostcan::startBusServer(0);
    ASSERT_GT(port, 0);
    // Each client's first line proves it was accepted.
    const int a = connectTo(port);
    uint64_t carried = hostcan::framesCarried();
    writeAll(a, "77E#01\n");
    ASSERT_EQ(hostcan::waitFrames(carried + 1, 5000), carried + 1);
    const int b = connectTo(port);
    carried = hostcan::framesCarried();
    writeAll(b, "77E#02\n");
    ASSERT_EQ(hostcan::waitFrames(carried + 1, 5000), carried + 1);
    EXPECT_EQ(readLines(a, 1), (Lines{"77E#02"}));
    EXPECT_EQ(hostcan::busClients(), 2);

    // A request in pieces, garbage lines, an over-long line, then a good one.
    carried = hostcan::framesCarried();
    writeAll(a, "60A#40181000");
    writeAll(a, "00000000\nnot a frame\n60A#4018100100000000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF\n");
    writeAll(a, "000#010A\n");
    ASSERT_EQ(hostcan::waitFrames(carried + 2, 5000), carried + 2);
    net.passes(1);
    EXPECT_EQ(readLines(a, 2), (Lines{"080#", "58A#4F18100004000000"}));
    EXPECT_EQ(readLines(b, 4), (Lines{"60A#4018100000000000", "000#010A", "080#", "58A#4F18100004000000"}));
    EXPECT_EQ(net.image().NmtState, NMT_OPERATIONAL);

    ::close(b);
    carried = hostcan::framesCarried();
    writeAll(a, "701#00\n");
    ASSERT_EQ(hostcan::waitFrames(carried + 1, 5000), carried + 1);
    net.passes(1);
    EXPECT_EQ(NmtErrCntrlSt1B.BootUpCount, 1);
    ::close(a);
    hostcan::stopBusServer();
}
