// Receive and transmit PDOs: every mapped byte, and frame lengths.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "canopen/canopen_mscan.h"
#include "canopen/canopen_obj_dctn.h"
#include "canopen/canopen_pdo.h"
#include "runtime/can_startup.h"
#include "tests/canopen/can_fixture.h"

TEST(CanOpenPdo, ReceiveUnpacksEveryMappedRow) {
    CanNet net;
    net.goOperational();
    // RPDO number and COB-id from the network set-up; 0: RPDO 1 and 5 have none, fed to the receiver.
    const std::pair<int, uint32_t> rpdos[] = {{1, 0},     {2, 0x281}, {3, 0x381}, {4, 0x481}, {5, 0},
                                              {6, 0x283}, {7, 0x383}, {8, 0x184}, {9, 0x185}};
    for (const auto& [n, cob] : rpdos) {
        hostcan::Frame f;
        f.id = cob;
        f.len = 8;
        for (int i = 0; i < 8; ++i) f.data[i] = static_cast<uint8_t>(n * 16 + i);
        if (cob != 0) net.send(hostcan::formatFrame(f));
        else net.task([&, n = n] { ProcessReceivedPdo(&COImagesApp, COImagesApp.RxPdoBufferArray, static_cast<uint8_t>(n), f.data); });
    }
    net.passes(1);
    for (const auto& [n, cob] : rpdos) {
        EXPECT_EQ(RxPdoBufferB[n - 1][0], 1) << n;  // raised by the callback
        for (int i = 0; i < 8; ++i) EXPECT_EQ(RxPdoBufferB[n - 1][1 + i], n * 16 + i) << n << " " << i;
    }
    // A frame shorter than its mapping is taken whole (the bytes past its length
    // read as zero: the nodes' PDOs carry 2 to 4 bytes), and nothing answers a PDO.
    for (const char* frame : {"281#01020304050607", "281#0A0B", "281#"}) {
        net.task([] { RxPdoBufferB[1][0] = 0; });
        net.send(frame);
        net.passes(1);
        EXPECT_EQ(RxPdoBufferB[1][0], 1) << frame;
    }
    for (int i = 1; i <= 8; ++i) EXPECT_EQ(RxPdoBufferB[1][i], 0) << i;
    net.task([] { RxPdoBufferB[1][0] = 0; });
    net.send("281#0A0B");
    net.passes(1);
    EXPECT_EQ(RxPdoBufferB[1][1], 0x0A);
    EXPECT_EQ(RxPdoBufferB[1][2], 0x0B);
    EXPECT_EQ(RxPdoBufferB[1][3], 0);
    EXPECT_EQ(net.take(), (Lines{"080#", "080#", "080#", "080#", "080#"}));
}

TEST(CanOpenPdo, TransmitPacksEveryMappedRow) {
    CanNet net;
    for (int k = 0; k < kNumTxPdos; ++k)
        for (int i = 0; i < 8; ++i) COBFifoTx[kTxPdoStride * k + i] = static_cast<uint8_t>(k * 16 + i);
    net.task([] { EXPECT_EQ(CanOpenSendPdoNow(1, 1, 0), 0); });  // pre-operational: nothing leaves
    EXPECT_EQ(net.take(), (Lines{"70A#00"}));
    net.goOperational();
    net.task([] {
        for (uint8_t n = 1; n <= 10; ++n) EXPECT_EQ(CanOpenSendPdoNow(1, n, 0), 0);  // 10: no such PDO
    });
    // TPDO 1 (5 objects) and 2 (3 objects) as set up, 3 and 4 on their defaults,
    // 5..9 on the COB-id of their initial record word.
    EXPECT_EQ(net.take(), (Lines{"501#0001020304", "205#101112", "38A#2021222324252627", "48A#3031323334353637",
                                 "181#4041424344454647", "181#5051525354555657", "181#6061626364656667",
                                 "181#7071727374757677", "181#8081828384858687"}));
}

// PDOs 1..4 that the network set-up leaves alone get 0x200 / 0x180 + 0x100 per
// PDO + node id at boot; PDO 5 keeps its record word.
TEST(CanOpenPdo, DefaultCobIdsAtBoot) {
    CanNet net;
    net.task([] {
        for (int k = 0; k < 5; ++k) RxPdoCommunicationTablesB[k]->Configured = TxPdoCommunicationTablesB[k]->Configured = 0;
    });
    net.send("000#820A");
    net.passes(1);
    net.take();
    const std::pair<uint16_t, uint32_t> rows[] = {{0x1400, 0x20A}, {0x1401, 0x30A}, {0x1402, 0x40A}, {0x1403, 0x50A},
                                                  {0x1404, 0x0C000201}, {0x1800, 0x18A}, {0x1801, 0x28A},
                                                  {0x1802, 0x38A}, {0x1803, 0x48A}, {0x1804, 0x0C000181}};
    auto hex = [](uint32_t v, int bytes) {
        char out[9] = {};
        for (int b = 0; b < bytes; ++b) std::snprintf(out + 2 * b, 3, "%02X", (v >> (8 * b)) & 0xFF);
        return std::string(out);
    };
    for (const auto& [index, cob] : rows) {
        net.send("60A#40" + hex(index, 2) + "0100000000");
        net.passes(1);
        EXPECT_EQ(net.take(), (Lines{"080#", "58A#43" + hex(index, 2) + "01" + hex(cob, 4)})) << std::hex << index;
    }
}

TEST(CanOpenPdo, BytesBeyondTheLengthReadAsZero) {
    CanNet net(true, false);
    net.task([] {
        COImagesApp.NmtState = NMT_OPERATIONAL;
        // The receive interrupt stores only the bytes within the length.
        CanFrame f{};
        f.Id = 0x281u << 21;
        f.Length = 2;
        for (int i = 0; i < 8; ++i) f.Data[i] = static_cast<uint8_t>(0xA0 + i);
        uint8_t buf[kMscanBufferBytes];
        CanFrameToMscanBuffer(f, buf);
        CanOpenHandlerRx(1, buf);
        uint8_t slot[kRxFifoSlotBytes];
        ASSERT_EQ(FifoRead(&COImagesApp.FifoParamsRx, slot), 0);
        const CanFrame got = RxSlotToCanFrame(slot);
        EXPECT_EQ(got.Data[1], 0xA1);
        for (int i = 2; i < 8; ++i) EXPECT_EQ(got.Data[i], 0) << i;
        // A 2-byte frame on an RPDO mapped on eight bytes is taken with the
        // bytes of the frame record: the mapped objects past it become zero.
        CanOpenGenRxProcessor(1, &got);
        EXPECT_EQ(RxPdoBufferB[1][0], 1);
        EXPECT_EQ(RxPdoBufferB[1][1], 0xA0);
        EXPECT_EQ(RxPdoBufferB[1][2], 0xA1);
        for (int i = 3; i <= 8; ++i) EXPECT_EQ(RxPdoBufferB[1][i], 0) << i;
    });
}

// A COB-id change goes through the node's own SDO server: first the PDO is
// made invalid, then the new COB-id is written. Only the own node's server
// takes it, and only while pre-operational.
TEST(CanOpenPdo, ChangeCobIdThroughTheOwnServer) {
    struct Row {
        const char* name;
        bool operational;
        uint8_t node, pdo;
        int tx;
        Lines sent;
        uint32_t tpdo3, rpdo2;
    };
    const Row rows[] = {
        {"TPDO 3", false, 10, 3, 1, {"58A#6002180100000000", "58A#6002180100000000"}, 0x123, 0x281},
        {"RPDO 2", false, 10, 2, 0, {"58A#6001140100000000", "58A#6001140100000000"}, 0x38A, 0x123},
        {"another node", false, 11, 3, 1, {}, 0x38A, 0x281},
        {"operational", true, 10, 3, 1, {"58A#8002180122000008", "58A#8002180122000008"}, 0x38A, 0x281},
    };
    for (const Row& r : rows) {
        CanNet net(true, false);
        if (r.operational) net.send("000#010A");
        net.passes(1);
        net.task([] { CanOpen(1, 20); });
        net.take();
        net.task([&] { CanOpenChangeCobId(1, r.node, r.pdo, r.tx, 0x123); });
        net.passes(1);
        EXPECT_EQ(net.take(), r.sent) << r.name;
        EXPECT_EQ(std::pair(TxPdoCommunicationTableB2.CobId, RxPdoCommunicationTableB1.CobId), std::pair(r.tpdo3, r.rpdo2))
            << r.name;
    }
}

// Disabling invalidates PDOs 5..9 and leaves 1..4; enabling validates 1..4 only.
TEST(CanOpenPdo, EnableAndDisableByPdoNumber) {
    CanNet net(true, false);
    auto invalid = [] {
        std::string out;
        for (PdoCommParams* const* table : {RxPdoCommunicationTablesB, TxPdoCommunicationTablesB})
            for (int k = 0; k < 9; ++k) out += (table[k]->CobId & 0x80000000u) != 0 ? '1' : '0';
        return out;
    };
    net.task([&] {
        DisablePdos(&COImagesApp);
        EXPECT_EQ(invalid(), "000011111" "000011111");
        for (PdoCommParams* const* table : {RxPdoCommunicationTablesB, TxPdoCommunicationTablesB})
            for (int k = 0; k < 9; ++k) table[k]->CobId |= 0x80000000u;
        EnablePdos(&COImagesApp);
        EXPECT_EQ(invalid(), "000011111" "000011111");
        for (PdoCommParams* const* table : {RxPdoCommunicationTablesB, TxPdoCommunicationTablesB})
            for (int k = 0; k < 9; ++k) table[k]->CobId &= ~0x80000000u;
    });
}

// RPDO 2 by transmission type: an event-driven one is taken over at once
// (flag raised by the application callback); a synchronous one is buffered
// with its flag raised and taken over at the next SYNC, which clears the
// flag; a reserved type is ignored.
TEST(CanOpenPdo, SynchronousRpdoTakenOverAtTheSync) {
    struct Row { const char* type; int flagAfterFrame, flagAfterSync; uint8_t value; };
    const Row rows[] = {{"FE", 1, 1, 0x11}, {"01", 1, 0, 0x11}, {"F0", 1, 0, 0x11}, {"FC", 1, 0, 0x11}, {"F1", 0, 0, 0x00}};
    for (const Row& r : rows) {
        CanNet net;
        for (const std::string& line : {std::string("60A#2301140181020080"), "60A#2F011402" + std::string(r.type) + "000000",
                                         std::string("60A#2301140181020000")}) {
            net.send(line);
            net.passes(1);
        }
        net.goOperational();
        net.send("281#1122334455667788");
        net.passes(1);
        EXPECT_EQ(RxPdoBufferB[1][0], r.flagAfterFrame) << r.type;
        net.passes(1);
        EXPECT_EQ(RxPdoBufferB[1][0], r.flagAfterSync) << r.type;
        EXPECT_EQ(RxPdoBufferB[1][1], r.value) << r.type;
        EXPECT_EQ(RxPdoBufferB[1][8], r.value == 0 ? 0 : 0x88) << r.type;
    }
}
