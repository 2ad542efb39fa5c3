// The controller glue on the MSCAN model: error-passive and bus-off.
#include <gtest/gtest.h>

#include <cstdio>

#include "canopen/CanVersion.h"
#include "canopen/canopen_mscan.h"
#include "canopen/canopen_pdo.h"
#include "host/board.h"
#include "host/mscan.h"
#include "runtime/can_startup.h"
#include "tests/canopen/can_fixture.h"

TEST(CanGlue, ErrorPassiveAndBusOff) {
    CanNet net;
    net.take();
    mscan::setErrorState(1, 2, 2);  // error-passive: still on the bus
    net.passes(1);
    EXPECT_EQ(net.image().Errors, 1);
    EXPECT_EQ(net.image().BusOff, 0);
    EXPECT_EQ(net.take(), (Lines{"080#"}));

    mscan::setErrorState(1, 0, 3);  // transmitter bus-off
    net.passes(1);
    EXPECT_EQ(net.image().Errors, 2);
    EXPECT_EQ(net.image().BusOff, 1);
    const uint16_t rxFrames = net.image().RxFrameCount;
    net.send("701#05");  // not received while off the bus
    net.passes(11);
    EXPECT_TRUE(net.take().empty());
    EXPECT_EQ(net.image().RxFrameCount, rxFrames);
    EXPECT_EQ(NmtErrCntrlSt1B.HeartbeatCount, 0);
    // 12 SYNCs queued while off: the transmit FIFO holds 8, the rest are lost and counted.
    EXPECT_EQ(net.image().TxOverFlowCounter, 4);

    mscan::setErrorState(1, 0, 0);  // recovered: the queued frames leave in order
    net.passes(1);
    EXPECT_EQ(net.image().Errors, 3);
    EXPECT_EQ(net.image().BusOff, 0);
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

// The bit timing and the other settings handed to the controller, and the stamp a frame on COB-id
// 0x200 carries: 51 bit times after the last SYNC was loaded.
TEST(CanGlue, BitTimingAndSyncStampPerBitRate) {
    struct Row { uint16_t kbits; uint8_t timing0; uint32_t bitsUs; };
    const Row rows[] = {{125, 0x97, 408}, {250, 0x8B, 204}, {500, 0x85, 102}, {1000, 0x82, 51}};
    for (const Row& r : rows) {
        CanNet net(false, false);
        net.task([&] {
            COImagesApp.BaudRate = r.kbits;
            ASSERT_EQ(CanOpenOpen(1), 0);
            EXPECT_EQ(COImagesApp.ControllerParams->BusTiming0, r.timing0) << r.kbits;
            const CanControllerParams& p = *COImagesApp.ControllerParams;
            EXPECT_EQ(std::tuple(p.BusTiming1, p.Config, p.Control1, p.RxIntEnable, p.AcceptControl),
                      std::tuple(0x4F, 0x08, 0xC0, 0x69, 0))
                << r.kbits;
            EXPECT_EQ(std::vector<uint8_t>(p.AcceptMask, p.AcceptMask + 8),
                      (std::vector<uint8_t>{0xFF, 0xE7, 0xFF, 0xFE, 0xFF, 0xE7, 0xFF, 0xFE}));
            board::poke16(kFpgaSyncTimerRegister, 0x1234);  // the timer when the SYNC is loaded
            CanOpenSendNmtNow(1, 0x80, &NmtCanMessageBufferB, 0);
        });
        net.passes(1);
        CanFrame stamp{};
        for (uint8_t& b : stamp.Data) b = 0xEE;  // the stamp replaces the first four bytes
        net.task([&] {
            board::poke16(kFpgaSyncTimerRegister, 0x4000);  // later frames take no stamp
            CanOpenSendNmtNow(1, 0x200, &stamp, 4);
        });
        net.passes(1);
        EXPECT_EQ(COImagesApp.SyncTimeStamp, 0x091A);
        const uint32_t v = r.bitsUs + 0x091A;
        char want[16];
        std::snprintf(want, sizeof want, "200#%02X%02X0000", v & 0xFF, (v >> 8) & 0xFF);
        EXPECT_EQ(net.take(), (Lines{"70A#00", "080#", want})) << r.kbits;
    }
}

// What an open needs: a node id 1..127, FIFOs of at least two slots of the
// frame sizes, and a controller of its own unless the port is remote. A
// refused open sends nothing and leaves the image closed.
TEST(CanGlue, OpenAndCloseRefusals) {
    struct Row {
        const char* name;
        uint8_t controller;
        void (*change)(CanOpenImage&);
        int result;
        Lines sent;
    };
    const Row rows[] = {
        {"node 1", 1, [](CanOpenImage& i) { i.NodeId = 1; }, 0, {"701#00"}},
        {"node 127", 1, [](CanOpenImage& i) { i.NodeId = 127; }, 0, {"77F#00"}},
        {"node 0", 1, [](CanOpenImage& i) { i.NodeId = 0; }, -1, {}},
        {"node 128", 1, [](CanOpenImage& i) { i.NodeId = 128; }, -1, {}},
        {"no such controller", 2, [](CanOpenImage&) {}, -1, {}},
        {"controller 4", 4, [](CanOpenImage& i) { i.ControllerId = 4; }, -1, {}},
        {"receive FIFO of one slot", 1, [](CanOpenImage& i) { i.FifoParamsRx.Count = 1; }, -1, {}},
        {"receive FIFO of two slots", 1, [](CanOpenImage& i) { i.FifoParamsRx.Count = 2; }, 0, {"70A#00"}},
        {"transmit slots too long", 1, [](CanOpenImage& i) { ++i.FifoParamsTx.Size; }, -1, {}},
        {"receive slots too short", 1, [](CanOpenImage& i) { --i.FifoParamsRx.Size; }, -1, {}},
        {"no transmit storage", 1, [](CanOpenImage& i) { i.FifoParamsTx.Storage = nullptr; }, -1, {}},
        {"no receive slot table", 1, [](CanOpenImage& i) { i.FifoParamsRx.Slots = nullptr; }, -1, {}},
        {"controller already open", 1, [](CanOpenImage& i) { i.ControllerParams->Open = 1; }, -1, {}},
        {"no controller", 1, [](CanOpenImage& i) { i.ControllerParams = nullptr; }, -1, {}},
        {"remote port", 1, [](CanOpenImage& i) { i.ControllerParams = nullptr, i.RemotePort = 1; }, 0, {}},
    };
    for (const Row& r : rows) {
        CanNet net(false, false);
        net.task([&] {
            r.change(COImagesApp);
            EXPECT_EQ(CanOpenOpen(r.controller), r.result) << r.name;
            EXPECT_EQ(COImagesApp.Open, r.result == 0 ? 1 : 0) << r.name;
            // A remote port keeps its frames (the boot-up) in the transmit FIFO, uncounted.
            if (COImagesApp.RemotePort != 0) {
                EXPECT_EQ(std::pair(FifoGetCount(&COImagesApp.FifoParamsTx), int(COImagesApp.NumIrq)), std::pair(1, 0));
            }
            if (r.result == 0) {
                const bool own = COImagesApp.RemotePort == 0;
                EXPECT_EQ(CanOpenDriverGetCanControllerStatus(&COImagesApp), own ? 0 : -1) << r.name;
                EXPECT_EQ(CanOpenClose(r.controller), 0) << r.name;
                if (own) {
                    EXPECT_EQ(CanOpenDriverGetCanControllerStatus(&COImagesApp), -1) << r.name;
                }
                EXPECT_EQ(CanOpenSendPdoNow(r.controller, 1, 0), -1) << r.name;
                EXPECT_EQ(CanOpenClose(r.controller), COImagesApp.RemotePort != 0 ? 0 : -1) << r.name;
            }
        });
        net.passes(1);
        EXPECT_EQ(net.take(), r.sent) << r.name;
        net.task([] {
            COImagesApp.ControllerParams = &CANControllerMemory.ControllerB;
            CANControllerMemory.ControllerB.Open = 0;
        });
    }
}

// The diagnostic dump names the image and its counters; another controller
// prints nothing. The library reports its version.
TEST(CanGlue, ImageDumpAndVersion) {
    CanNet net(true, false);
    net.send("701#0506");  // received: one more interrupt, two more bytes
    net.passes(1);
    std::string one, other;
    net.task([&] {
        testing::internal::CaptureStdout();
        CanOpenImageDump(1);
        one = testing::internal::GetCapturedStdout();
        testing::internal::CaptureStdout();
        CanOpenImageDump(2);
        other = testing::internal::GetCapturedStdout();
    });
    for (const char* line : {"ImageIdx - 0\n", "CanOpenImage->Open - 1\n", "CanOpenImage->ControllerId - 1\n",
                             "CanOpenImage->BaudRate - 500\n", "CanOpenImage->NmtState - 127\n",
                             "CanOpenImage->NumIrq - 2\n", "CanOpenImage->NumBytes - 3\n",  // the boot-up frame and one received
                             "CanOpenImage->FifoParamsRx Count - 1\n", "CanOpenImage->FifoParamsTx Count - 0\n"})
        EXPECT_NE(one.find(line), std::string::npos) << line << one;
    EXPECT_EQ(other, "");
    EXPECT_EQ(CanVersion(), 3u);  // the library version the network block records
}

// Frames keep leaving however many go out in a row: 300 SYNCs, one a pass.
TEST(CanGlue, ThreeHundredFramesInARow) {
    CanNet net;
    net.take();
    net.passes(300);
    EXPECT_EQ(net.take(), Lines(300, "080#"));
}

// A FIFO of n slots holds n - 1 records, in order, across the wrap of its
// indexes; it sets up only its own n slot references. Per size: records
// written until full, then read back.
TEST(CanFifo, HoldsOneLessThanItsSlotsInOrder) {
    for (uint16_t n : {1, 2, 3, 5}) {
        uint8_t storage[5 * 2] = {};
        uint8_t* slots[6] = {};
        uint8_t sentinel = 0;
        slots[n] = &sentinel;
        FifoParams f{storage, slots, n, 2, 0, 0, 0, nullptr};
        const uint8_t first[2] = {9, 9};
        EXPECT_EQ(FifoWrite(&f, first), -1) << n;  // not open yet
        ASSERT_EQ(FifoInit(&f), 0);
        ASSERT_EQ(FifoOpen(&f), 0);
        EXPECT_EQ(slots[n], &sentinel) << n;
        std::vector<int> order;
        for (int round = 0; round < 3; ++round) {  // three rounds: the indexes wrap
            int written = 0;
            for (uint8_t v = 1; v <= 6; ++v) {
                const uint8_t rec[2] = {uint8_t(round), v};
                if (FifoWrite(&f, rec) != 0) break;
                ++written;
                EXPECT_EQ(FifoGetCount(&f), written) << n;
            }
            EXPECT_EQ(written, n < 2 ? 0 : n - 1) << n;
            uint8_t rec[2];
            while (FifoRead(&f, rec) == 0) order.push_back(rec[0] * 10 + rec[1]);
            EXPECT_EQ(FifoGetCount(&f), 0) << n;
        }
        std::vector<int> want;
        for (int round = 0; round < 3; ++round)
            for (int v = 1; v < n; ++v) want.push_back(round * 10 + v);
        EXPECT_EQ(order, want) << n;
        // Opened again with both indexes elsewhere: empty.
        const uint8_t rec[2] = {7, 7};
        if (n >= 2) {
            ASSERT_EQ(FifoWrite(&f, rec), 0);
        }
        ASSERT_EQ(FifoOpen(&f), 0);
        uint8_t out[2];
        EXPECT_EQ(std::pair(FifoGetCount(&f), FifoRead(&f, out)), std::pair(0, -1)) << n;
    }
}
