// Receive and transmit PDOs: every mapped byte, transmission types, lengths.
#include <gtest/gtest.h>

#include <cstdio>

#include "canopen/canopen_mscan.h"
#include "canopen/canopen_obj_dctn.h"
#include "canopen/canopen_pdo.h"
#include "runtime/can_startup.h"
#include "tests/canopen/can_fixture.h"

using Lines = std::vector<std::string>;

static std::string pdoLine(uint32_t cob, const uint8_t* d, int n) {
    hostcan::Frame f;
    f.id = cob;
    f.len = static_cast<uint8_t>(n);
    for (int i = 0; i < n; ++i) f.data[i] = d[i];
    return hostcan::formatFrame(f);
}

static void goOperational(CanNet& net) {
    net.send("000#010A");
    net.passes(1);
    ASSERT_EQ(net.image().NmtState, NMT_OPERATIONAL);
    net.take();
}

TEST(CanOpenPdo, ReceiveUnpacksEveryMappedRow) {
    CanNet net;
    goOperational(net);
    // The COB-ids the network set-up gave (node ids 1, 3, 4, 5); RPDO 1 and 5 have none in the table.
    const std::pair<int, uint32_t> rpdos[] = {{2, 0x281}, {3, 0x381}, {4, 0x481}, {6, 0x283},
                                              {7, 0x383}, {8, 0x184}, {9, 0x185}};
    for (const auto& [n, cob] : rpdos) {
        uint8_t d[8];
        for (int i = 0; i < 8; ++i) d[i] = static_cast<uint8_t>(n * 16 + i);
        net.send(pdoLine(cob, d, 8));
    }
    net.passes(1);
    for (const auto& [n, cob] : rpdos) {
        EXPECT_EQ(RxPdoBufferB[n - 1][0], 1) << n;  // raised by the callback
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(RxPdoBufferB[n - 1][1 + i], n * 16 + i) << n << " " << i;
            // The dictionary object of the byte is the buffer byte.
            EXPECT_EQ(GetOdEntryObjectByOdIndex(CANOpenBCommProfileArea.data(), kOdCount,
                                                static_cast<uint16_t>(0x2000 + 8 * (n - 1) + i)),
                      &RxPdoBufferB[n - 1][1 + i]);
        }
    }
    EXPECT_EQ(RxPdoBufferB[0][0], 0);
    EXPECT_EQ(RxPdoBufferB[4][0], 0);
    // RPDO 1 and 5 through the receiver directly.
    net.task([] {
        for (uint8_t n : {1, 5}) {
            uint8_t d[8];
            for (int i = 0; i < 8; ++i) d[i] = static_cast<uint8_t>(0xE0 + n + i);
            ProcessReceivedPdo(&COImagesApp, COImagesApp.RxPdoBufferArray, n, d, 8);
            EXPECT_EQ(RxPdoBufferB[n - 1][0], 1);
            for (int i = 0; i < 8; ++i) EXPECT_EQ(RxPdoBufferB[n - 1][1 + i], 0xE0 + n + i);
        }
    });

    // A frame shorter than its mapping is ignored; so is a reserved transmission type.
    net.task([] {
        for (auto& row : RxPdoBufferB) row[0] = 0;
        RxPdoCommunicationTableB2.TransmissionType = 245;
    });
    net.send("281#01020304050607");
    net.send("381#0102030405060708");
    net.send("382#0102030405060708");  // no row holds it
    net.passes(1);
    EXPECT_EQ(RxPdoBufferB[1][0], 0);
    EXPECT_EQ(RxPdoBufferB[1][1], 0x20);
    EXPECT_EQ(RxPdoBufferB[2][0], 0);
    EXPECT_EQ(RxPdoBufferB[2][1], 0x30);
    for (const auto& l : net.take()) EXPECT_EQ(l, "080#");  // nothing answers a PDO
}

TEST(CanOpenPdo, SynchronousReceiveIsTakenOverAtTheNextSync) {
    CanNet net;
    goOperational(net);
    net.task([] { RxPdoCommunicationTableB1.TransmissionType = 1; });
    net.send("281#1112131415161718");
    net.passes(1);
    EXPECT_EQ(RxPdoBufferB[1][0], 1);
    EXPECT_EQ(RxPdoBufferB[1][1], 0x11);
    EXPECT_EQ(RxPdoBufferB[1][8], 0x18);
    net.passes(1);  // the SYNC of the previous pass comes back through the loop-back
    EXPECT_EQ(RxPdoBufferB[1][0], 0);
    EXPECT_EQ(RxPdoBufferB[1][8], 0x18);
}

TEST(CanOpenPdo, TransmitPacksEveryMappedRow) {
    CanNet net;
    for (int k = 0; k < kNumTxPdos; ++k)
        for (int i = 0; i < 8; ++i) COBFifoTx[kTxPdoStride * k + i] = static_cast<uint8_t>(k * 16 + i);
    // Not operational: nothing leaves, the result is still 0.
    net.task([] { EXPECT_EQ(CanOpenSendPdoNow(1, 1, 0), 0); });
    EXPECT_EQ(net.take(), (Lines{"70A#00"}));
    goOperational(net);
    net.task([] {
        for (uint8_t n = 1; n <= 9; ++n) EXPECT_EQ(CanOpenSendPdoNow(1, n, 0), 0);
        EXPECT_EQ(CanOpenSendPdoNow(1, 10, 0), 0);  // no such PDO
    });
    // TPDO 1 (5 objects) and 2 (3 objects) as set up, 3 and 4 on their defaults,
    // 5..9 on the COB-id of their initial record word.
    EXPECT_EQ(net.take(), (Lines{"501#0001020304", "205#101112", "38A#2021222324252627", "48A#3031323334353637",
                                 "181#4041424344454647", "181#5051525354555657", "181#6061626364656667",
                                 "181#7071727374757677", "181#8081828384858687"}));
    // Every transmit byte is its dictionary object.
    for (int i = 0; i < kNumTxPdos * 8; ++i)
        EXPECT_EQ(GetOdEntryObjectByOdIndex(CANOpenBCommProfileArea.data(), kOdCount, static_cast<uint16_t>(0x2048 + i)),
                  &COBFifoTx[kTxPdoStride * (i / 8) + i % 8]);

    // Forced lengths, invalid PDOs, a closed image.
    net.task([] {
        EXPECT_EQ(CanOpenSendPdoNow(1, 2, 5), 0);
        EXPECT_EQ(CanOpenSendPdoNow(1, 3, 5), 0);
        EXPECT_EQ(CanOpenSendPdoNow(1, 3, 12), 0);
        DisablePdos(&COImagesApp);
        EXPECT_EQ(CanOpenSendPdoNow(1, 5, 0), 0);
        EXPECT_NE(TxPdoCommunicationTableB3.CobId & 0x80000000u, 0x80000000u);
        TxPdoCommunicationTableB2.CobId |= 0x80000000u;
        EXPECT_EQ(CanOpenSendPdoNow(1, 3, 0), 0);
        EnablePdos(&COImagesApp);
        EXPECT_EQ(CanOpenSendPdoNow(1, 3, 1), 0);
        EXPECT_EQ(TxPdoCommunicationTableB4.CobId & 0x80000000u, 0x80000000u);
        EXPECT_EQ(RxPdoCommunicationTableB8.CobId & 0x80000000u, 0x80000000u);
        TxPdoCommunicationTableB2.TransmissionType = 253;
        ProcessReadPdo(&COImagesApp, 3);
        ProcessReadPdo(&COImagesApp, 4);  // type 254: not on request
        CanOpenClose(1);
        EXPECT_EQ(CanOpenSendPdoNow(1, 1, 0), -1);
    });
    EXPECT_EQ(net.take(), (Lines{"205#1011120000", "38A#2021222324", "38A#2021222324252627", "38A#20",
                                 "38A#2021222324252627"}));
}

TEST(CanOpenPdo, SyncTransmissionEveryNthSync) {
    CanNet net;
    net.take();
    // TPDO 3: invalidate, make it synchronous every third SYNC, validate.
    for (const char* req : {"60A#230218018A030080", "60A#2F02180203000000", "60A#230218018A030000"}) {
        net.send(req);
        net.passes(1);
    }
    EXPECT_EQ(net.take(), (Lines{"080#", "58A#6002180100000000", "080#", "58A#6002180200000000", "080#",
                                 "58A#6002180100000000"}));
    net.send("000#820A");  // reset communication: the boot sequence loads the countdowns
    net.passes(1);
    net.send("000#010A");
    net.passes(1);
    net.take();
    for (int i = 0; i < 8; ++i) COBFifoTx[kTxPdoStride * 2 + i] = static_cast<uint8_t>(0xC0 + i);
    net.passes(9);
    const Lines got = net.take();
    Lines expect;
    for (int p = 1; p <= 9; ++p) {
        expect.push_back("080#");
        if (p % 3 == 0) expect.push_back("38A#C0C1C2C3C4C5C6C7");
    }
    EXPECT_EQ(got, expect);
}

TEST(CanOpenPdo, DefaultCobIdsAndTheIdTable) {
    CanNet net(false, false);
    net.task([] {
        // Node id 1, with TPDO 1 and RPDO 4 left unconfigured: boot gives the defaults.
        COImagesApp.NodeId = 1;
        TxPdoCommunicationTableB0.Configured = 0;
        RxPdoCommunicationTableB3.Configured = 0;
        ProcessSlaveNmtStateTransition01(1);
        EXPECT_EQ(TxPdoCommunicationTableB0.CobId, 0x181u);
        EXPECT_EQ(RxPdoCommunicationTableB3.CobId, 0x501u);
        EXPECT_EQ(RxPdoCommunicationTableB0.CobId, 0x201u);
        EXPECT_EQ(RxPdoCommunicationTableB1.CobId, 0x281u);  // configured: kept
        EXPECT_EQ(TxPdoCommunicationTableB1.CobId, 0x205u);
        EXPECT_EQ(RxPdoCommunicationTableB4.CobId, 0x0C000201u);  // PDO 5 keeps its word
    });
    // Repeated lookups visit every row with the same COB-id and kind.
    const IdTableEntry table[] = {{0x581, 12, 0}, {0x581, 40, 1}, {0x581, 13, 0}, {0x80, 6, 0}};
    uint16_t start = 0;
    EXPECT_EQ(GetSameIndexFromPdoIdTable(&start, table, 0x581, 0, 4), 12);
    EXPECT_EQ(start, 1);
    EXPECT_EQ(GetSameIndexFromPdoIdTable(&start, table, 0x581, 0, 4), 13);
    EXPECT_EQ(GetSameIndexFromPdoIdTable(&start, table, 0x581, 0, 4), 0xFFFF);
    EXPECT_EQ(GetIndexFromPdoIdTable(table, 0x581, 1, 4), 40);
    EXPECT_EQ(GetIndexFromPdoIdTable(table, 0x80, 0, 0), 0xFFFF);
    start = 7;
    EXPECT_EQ(GetSameIndexFromPdoIdTable(&start, table, 0x80, 0, 4), 0xFFFF);
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
        EXPECT_EQ(got.Data[0], 0xA0);
        EXPECT_EQ(got.Data[1], 0xA1);
        for (int i = 2; i < 8; ++i) EXPECT_EQ(got.Data[i], 0) << i;

        // A synchronous RPDO mapped on two bytes buffers a 2-byte frame handed
        // straight to the dispatcher with its other bytes zeroed.
        RxPdoMappingParmsB1.Entries = 2;
        RxPdoCommunicationTableB1.TransmissionType = 1;
        CanOpenGenRxProcessor(1, &f);
        EXPECT_EQ(RxPdoBufferB[1][0], 1);
        EXPECT_EQ(RxPdoBufferB[1][1], 0xA0);
        EXPECT_EQ(RxPdoBufferB[1][2], 0xA1);
        for (int i = 3; i <= 8; ++i) EXPECT_EQ(RxPdoBufferB[1][i], 0) << i;
        // One byte is shorter than the mapping: ignored.
        RxPdoBufferB[1][0] = 0;
        f.Length = 1;
        CanOpenGenRxProcessor(1, &f);
        EXPECT_EQ(RxPdoBufferB[1][0], 0);
        // A length register above 8 counts as 8.
        f.Length = 15;
        CanOpenGenRxProcessor(1, &f);
        EXPECT_EQ(RxPdoBufferB[1][8], 0xA7);
    });
}
