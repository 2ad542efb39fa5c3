// The expedited SDO server, frame by frame, with every abort code.
#include <gtest/gtest.h>

#include "canopen/canopen_mscan.h"
#include "canopen/canopen_obj_dctn.h"
#include "canopen/canopen_sdo.h"
#include "host/hostkernel.h"
#include "runtime/appinit.h"
#include "runtime/can_startup.h"
#include "tests/canopen/can_fixture.h"

using Lines = std::vector<std::string>;

struct Exchange {
    const char* request;
    const char* response;  // nullptr: no response
};

// Sends each request in its own pass and checks the controller's answer.
static void exchange(CanNet& net, std::initializer_list<Exchange> list) {
    for (const Exchange& e : list) {
        net.send(e.request);
        net.passes(1);
        Lines got = net.take();
        ASSERT_FALSE(got.empty()) << e.request;
        EXPECT_EQ(got[0], "080#") << e.request;
        got.erase(got.begin());
        if (e.response == nullptr) EXPECT_TRUE(got.empty()) << e.request;
        else EXPECT_EQ(got, (Lines{e.response})) << e.request;
    }
}

TEST(CanOpenSdo, VariablesAndAbortsInPreOperational) {
    CanNet net;
    net.take();
    net.task([] {
        ProducerHeartbeatTimeB = 0x1234;
        IdentityB.VendorId = 0x12345678;
        IdentityB.ProductCode = 0x0A0B0C0D;
        IdentityB.Revision = 3;
        IdentityB.SerialNumber = 0xCAFE;
    });
    exchange(net, {
        // UNSIGNED16 0x1017 (read-only)
        {"60A#4017100000000000", "58A#4B17100034120000"},
        {"60A#4017100100000000", "58A#8017100111000906"},  // 0x06090011
        {"60A#2B17100064000000", "58A#8017100002000106"},  // 0x06010002
        // UNSIGNED8 0x2000 (read-write, RPDO 1 data byte 0)
        {"60A#2B00200007000000", "58A#8000200012000706"},  // 0x06070012
        {"60A#2300200007000000", "58A#8000200012000706"},
        {"60A#2F00200107000000", "58A#8000200111000906"},  // sub-index 1
        {"60A#2F002000070000FF", "58A#6000200000000000"},
        {"60A#40002000FFFFFFFF", "58A#4F00200007000000"},
        {"60A#4001100100000000", "58A#8001100111000906"},
        // UNSIGNED32 0x1005 (read-only)
        {"60A#4005100000000000", "58A#4305100080000000"},
        {"60A#4005100100000000", "58A#8005100111000906"},
        {"60A#2305100081000000", "58A#8005100002000106"},
        // absent objects: 0x1012 (TIME) and an index below the first row
        {"60A#4012100000000000", "58A#8012100000000206"},  // 0x06020000
        {"60A#2312100000010000", "58A#8012100000000206"},
        {"60A#4010000000000000", "58A#8010000000000206"},
        {"60A#4021000000000000", "58A#8021000000000206"},
        // command classes other than download and upload: 0x05040001
        {"60A#8000000000000000", "58A#8000000001000405"},
        {"60A#6017100000000000", "58A#8017100001000405"},
        {"60A#A017100000000000", "58A#8017100001000405"},
        // type definitions upload as byte lists and refuse downloads
        {"60A#4020000000000000", "58A#4F20000005000000"},
        {"60A#4020000300000000", "58A#4F20000006000000"},
        {"60A#402000FF00000000", "58A#4F20000007000000"},
        {"60A#4020000600000000", "58A#8020000611000906"},
        {"60A#4023000400000000", "58A#4F23000007000000"},
        {"60A#4023000500000000", "58A#8023000511000906"},
        {"60A#2F20000001000000", "58A#8020000002000106"},
        // identity
        {"60A#4018100000000000", "58A#4F18100004000000"},
        {"60A#4018100100000000", "58A#4318100178563412"},
        {"60A#4018100200000000", "58A#431810020D0C0B0A"},
        {"60A#4018100400000000", "58A#43181004FECA0000"},
        {"60A#4018100500000000", "58A#8018100511000906"},
        {"60A#401810FF00000000", "58A#4B1810FF23060000"},
        {"60A#2318100100000000", "58A#8018100102000106"},
        // SDO parameters: the server has no sub-index 3, a client has
        {"60A#4000120100000000", "58A#430012010A060000"},
        {"60A#4000120200000000", "58A#430012028A050000"},
        {"60A#4000120300000000", "58A#8000120311000906"},
        {"60A#4081120300000000", "58A#4F81120303000000"},
        {"60A#4081120200000000", "58A#4381120283050000"},
        {"60A#2F81120305000000", "58A#8081120302000106"},
        // PDO mapping: fixed, uploads report type, sub-index and object
        {"60A#40001A0000000000", "58A#4F001A0005000000"},  // set up with 5 entries
        {"60A#40001A0100000000", "58A#43001A0105004820"},
        {"60A#40021A0500000000", "58A#43021A0505005C20"},
        {"60A#40081A0800000000", "58A#43081A0805008F20"},
        {"60A#40001A0900000000", "58A#80001A0911000906"},
        {"60A#40001AFF00000000", "58A#4B001AFF21000000"},
        {"60A#40001A0500000000", "58A#43001A0505004C20"},
        {"60A#40001A0600000000", "58A#80001A0611000906"},  // TPDO 1 maps 5 objects
        {"60A#40011A0400000000", "58A#80011A0411000906"},  // TPDO 2 maps 3
        {"60A#2F001A0001000000", "58A#80001A0002000106"},  // mapping downloads are refused
        // short or long SDO frames are dropped
        {"60A#40171000", nullptr},
        {"60A#", nullptr},
    });
    EXPECT_EQ(RxPdoBufferB[0][1], 7);
}

TEST(CanOpenSdo, PdoCommunicationRecords) {
    CanNet net;
    net.take();
    exchange(net, {
        {"60A#4000140000000000", "58A#4F00140005000000"},
        {"60A#4000140100000000", "58A#430014010A020000"},  // RPDO 1 default 0x200 + 10
        {"60A#4001140100000000", "58A#4301140181020000"},  // RPDO 2 set up as 0x281
        {"60A#4000180100000000", "58A#4300180101050000"},  // TPDO 1 set up as 0x501
        {"60A#4000180200000000", "58A#4F001802FE000000"},
        {"60A#4000180300000000", "58A#4B00180300000000"},
        {"60A#4000180500000000", "58A#4B00180500000000"},
        {"60A#4000180400000000", "58A#8000180411000906"},
        {"60A#400018FF00000000", "58A#4B0018FF20200000"},
        // a valid PDO accepts only the COB-id write that invalidates it
        {"60A#2F00140201000000", "58A#8000140222000008"},  // 0x08000022
        {"60A#2B00140310000000", "58A#8000140322000008"},
        {"60A#2F00140001000000", "58A#8000140022000008"},
        {"60A#230014010A020080", "58A#6000140100000000"},
        {"60A#2F00140201000000", "58A#6000140200000000"},
        {"60A#2B00140310270000", "58A#6000140300000000"},
        {"60A#2B00140564000000", "58A#6000140500000000"},
        {"60A#2B00140101000000", "58A#8000140113000706"},  // 0x06070013
        {"60A#2300140201000000", "58A#8000140210000706"},  // 0x06070010
        {"60A#2F00140301000000", "58A#8000140310000706"},
        {"60A#2300140501000000", "58A#8000140510000706"},
        {"60A#2F00140401000000", "58A#8000140411000906"},
        {"60A#2F00140601000000", "58A#8000140611000906"},
        {"60A#2F00140001000000", "58A#8000140002000106"},
        {"60A#2F0014FF01000000", "58A#800014FF02000106"},
        {"60A#230014012A020000", "58A#6000140100000000"},
    });
    EXPECT_EQ(RxPdoCommunicationTableB0.CobId, 0x22Au);
    EXPECT_EQ(RxPdoCommunicationTableB0.TransmissionType, 1);
    EXPECT_EQ(RxPdoCommunicationTableB0.InhibitTime, 0x2710);
    EXPECT_EQ(RxPdoCommunicationTableB0.EventTimer, 100);

    // Operational: every PDO parameter write is refused, uploads still answer.
    net.send("000#010A");
    net.passes(1);
    net.take();
    exchange(net, {
        {"60A#2F00140201000000", "58A#8000140222000008"},
        {"60A#2300140101000080", "58A#8000140122000008"},
        {"60A#2F001A0001000000", "58A#80001A0022000008"},
        {"60A#4000140200000000", "58A#4F00140201000000"},
    });
}

TEST(CanOpenSdo, ChangeCobIdThroughTheOwnServer) {
    CanNet net;
    net.take();
    net.task([] { CanOpenChangeCobId(1, 10, 2, 0, 0x2A1); });
    EXPECT_EQ(net.take(), (Lines{"58A#6001140100000000", "58A#6001140100000000"}));
    EXPECT_EQ(RxPdoCommunicationTableB1.CobId, 0x2A1u);
    // Addressed to another node's server: the dispatcher drops both requests.
    net.task([] { CanOpenChangeCobId(1, 3, 1, 1, 0x1A3); });
    EXPECT_TRUE(net.take().empty());
    EXPECT_EQ(TxPdoCommunicationTableB0.CobId, 0x501u);
    // Operational: refused.
    net.send("000#010A");
    net.passes(1);
    net.take();
    net.task([] { CanOpenChangeCobId(1, 10, 1, 1, 0x1A3); });
    EXPECT_EQ(net.take(), (Lines{"58A#8000180122000008", "58A#8000180122000008"}));
    EXPECT_EQ(TxPdoCommunicationTableB0.CobId, 0x501u);
}

TEST(CanOpenSdo, ClientResponsesAreFiled) {
    CanNet net;
    net.take();
    net.send("583#4318100178563412");  // node 3 answers the client of record 0x1281
    net.send("583#60");                // wrong length: dropped
    net.send("581#8000200000000206");  // node 1
    net.send("5FF#4300000000000000");  // no client holds it
    net.passes(1);
    EXPECT_EQ(ResponseDataSdo2B[0], 1);
    const uint8_t expect2[8] = {0x43, 0x18, 0x10, 0x01, 0x78, 0x56, 0x34, 0x12};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(ResponseDataSdo2B[1 + i], expect2[i]) << i;
    EXPECT_EQ(ResponseDataSdo1B[0], 1);
    EXPECT_EQ(ResponseDataSdo1B[1], 0x80);
    EXPECT_EQ(ResponseDataSdo3B[0], 0);
    EXPECT_EQ(ResponseDataSdo4B[0], 0);
    EXPECT_EQ(net.take(), (Lines{"080#"}));  // responses are filed, never answered
}

// A small dictionary with the objects the system's own lacks: a write-only
// variable, a writable UNSIGNED16 and UNSIGNED32, an array other than 0x1016,
// an unknown object code and an unknown data type. The image is a remote port,
// so its responses wait in the transmit FIFO.
namespace {
uint8_t woByte = 0x55;
uint16_t rw16 = 0;
uint32_t rw32 = 0;
uint32_t arrayWords[3] = {2, 7, 8};
uint32_t heartbeatWords[3] = {2, 0x00030064, 0x000400C8};
const OdEntry testOd[] = {
    {0x1016, OD_CODE_ARRAY, OD_TYPE_UNSIGNED32, OD_ACCESS_RO, heartbeatWords},
    {0x2100, OD_CODE_VAR, OD_TYPE_UNSIGNED8, OD_ACCESS_WO, &woByte},
    {0x2101, OD_CODE_VAR, OD_TYPE_UNSIGNED32, OD_ACCESS_RW, &rw32},
    {0x2102, OD_CODE_ARRAY, OD_TYPE_UNSIGNED32, OD_ACCESS_RO, arrayWords},
    {0x2103, 5, OD_TYPE_UNSIGNED32, OD_ACCESS_RO, &rw32},
    {0x2104, OD_CODE_VAR, 9, OD_ACCESS_RW, &rw32},
    {0x2105, OD_CODE_VAR, OD_TYPE_UNSIGNED16, OD_ACCESS_RW, &rw16},
    {0x2106, OD_CODE_VAR, OD_TYPE_UNSIGNED32, OD_ACCESS_WO, &rw32},
    {0xFFFF, 255, 255, 255, nullptr},
};
uint8_t rxStore[20 * kRxFifoSlotBytes], txStore[9 * kTxFifoSlotBytes];
uint8_t* rxSlots[20];
uint8_t* txSlots[9];
CanOpenImage testImage;

std::string sdo(const std::string& request) {
    hostcan::Frame f;
    EXPECT_TRUE(hostcan::parseFrame(request, &f));
    std::string out;
    hk::runTask([&] {
        ProcessDefaultSdo(&testImage, f.data);
        uint8_t buf[kMscanBufferBytes] = {};
        if (FifoRead(&testImage.FifoParamsTx, buf) != 0) return;
        const CanFrame r = MscanBufferToCanFrame(buf);
        hostcan::Frame hf;
        hf.id = CanFrameCobId(r);
        hf.len = static_cast<uint8_t>(r.Length);
        for (int i = 0; i < 8; ++i) hf.data[i] = r.Data[i];
        out = hostcan::formatFrame(hf);
    });
    return out;
}
}  // namespace

TEST(CanOpenSdo, WriteOnlyUnknownCodesAndTypes) {
    hk::start(hk::ClockMode::Simulated);
    testImage.ControllerId = 2;
    testImage.NodeId = 10;
    testImage.RemotePort = 1;
    testImage.ObjectDictionary = testOd;
    testImage.OdCount = static_cast<uint16_t>(std::size(testOd));
    testImage.FifoParamsRx = {rxStore, rxSlots, 20, kRxFifoSlotBytes, 0, 0, 0, nullptr};
    testImage.FifoParamsTx = {txStore, txSlots, 9, kTxFifoSlotBytes, 0, 0, 0, nullptr};
    CanOpenInit(&testImage, 1);
    VmeMasterController = 1;
    hk::runTask([] { ASSERT_EQ(CanOpenOpen(2), 0); });
    hk::runTask([] {
        uint8_t buf[kMscanBufferBytes] = {};
        ASSERT_EQ(FifoRead(&testImage.FifoParamsTx, buf), 0);  // the boot-up frame
        EXPECT_EQ(CanFrameCobId(MscanBufferToCanFrame(buf)), 0x70Au);
    });
    EXPECT_EQ(sdo("60A#4000210000000000"), "58A#8000210001000106");  // 0x06010001
    EXPECT_EQ(sdo("60A#4000210100000000"), "58A#8000210111000906");  // sub-index tested first
    EXPECT_EQ(sdo("60A#4006210100000000"), "58A#8006210101000106");  // UNSIGNED32: access first
    EXPECT_EQ(sdo("60A#2F00210009000000"), "58A#6000210000000000");  // write-only accepts writes
    EXPECT_EQ(woByte, 9);
    EXPECT_EQ(sdo("60A#2F01210001000000"), "58A#8001210013000706");  // 0x06070013
    EXPECT_EQ(sdo("60A#2B01210001000000"), "58A#8001210013000706");
    EXPECT_EQ(sdo("60A#2301210004030201"), "58A#6001210000000000");
    EXPECT_EQ(rw32, 0x01020304u);
    EXPECT_EQ(sdo("60A#2F05210001000000"), "58A#8005210010000706");  // 0x06070010
    EXPECT_EQ(sdo("60A#2B05210034120000"), "58A#6005210000000000");
    EXPECT_EQ(rw16, 0x1234);
    EXPECT_EQ(sdo("60A#4005210000000000"), "58A#4B05210034120000");
    EXPECT_EQ(sdo("60A#4002210000000000"), "58A#8002210000000206");  // array other than 0x1016
    EXPECT_EQ(sdo("60A#4003210000000000"), "58A#8003210000000206");  // unknown object code
    EXPECT_EQ(sdo("60A#4004210000000000"), "58A#8004210000000206");  // unknown data type
    EXPECT_EQ(sdo("60A#2304210000000000"), "58A#8004210000000206");
    EXPECT_EQ(sdo("60A#4016100000000000"), "58A#4F16100002000000");  // consumer heartbeat times
    EXPECT_EQ(sdo("60A#4016100200000000"), "58A#43161002C8000400");
    EXPECT_EQ(sdo("60A#4016100300000000"), "58A#8016100311000906");
    hk::shutdown();
}
