// The expedited SDO server, frame by frame over the bus, with every abort code.
#include <gtest/gtest.h>

#include "canopen/canopen_obj_dctn.h"
#include "runtime/can_startup.h"
#include "tests/canopen/can_fixture.h"

namespace {
// The objects the system's dictionary lacks: a write-only variable, writable
// UNSIGNED16 and UNSIGNED32, an array other than 0x1016, an unknown object code
// and an unknown data type.
uint8_t woByte = 0x55;
uint16_t rw16 = 0;
uint32_t rw32 = 0;
uint32_t arrayWords[3] = {2, 7, 8};
const OdEntry testOd[] = {
    {0x2100, OD_CODE_VAR, OD_TYPE_UNSIGNED8, OD_ACCESS_WO, &woByte},
    {0x2101, OD_CODE_VAR, OD_TYPE_UNSIGNED32, OD_ACCESS_RW, &rw32},
    {0x2102, OD_CODE_ARRAY, OD_TYPE_UNSIGNED32, OD_ACCESS_RO, arrayWords},
    {0x2103, 5, OD_TYPE_UNSIGNED32, OD_ACCESS_RO, &rw32},
    {0x2104, OD_CODE_VAR, 9, OD_ACCESS_RW, &rw32},
    {0x2105, OD_CODE_VAR, OD_TYPE_UNSIGNED16, OD_ACCESS_RW, &rw16},
    {0xFFFF, 255, 255, 255, nullptr},
};

void useDictionary(const OdEntry* od, size_t count) {
    COImagesApp.ObjectDictionary = od;
    COImagesApp.OdCount = static_cast<uint16_t>(count);
}
}  // namespace

TEST(CanOpenSdo, UploadsDownloadsAndEveryAbortCode) {
    CanNet net;
    net.take();
    net.task([] {
        ProducerHeartbeatTimeB = 0x1234;
        IdentityB.VendorId = 0x12345678;
    });
    struct Row {
        const char* request;
        const char* response;  // nullptr: none
        bool test = false;     // on the test dictionary
    };
    const Row rows[] = {
        {"60A#4017100000000000", "58A#4B17100034120000"},  // UNSIGNED16 0x1017 (read-only)
        {"60A#4017100100000000", "58A#8017100111000906"},  // 0x06090011
        {"60A#2B17100064000000", "58A#8017100002000106"},  // 0x06010002
        {"60A#2B00200007000000", "58A#8000200012000706"},  // 0x06070012 (UNSIGNED8 0x2000)
        {"60A#2F002000070000FF", "58A#6000200000000000"},
        {"60A#40002000FFFFFFFF", "58A#4F00200007000000"},
        {"60A#4005100000000000", "58A#4305100080000000"},  // UNSIGNED32 0x1005
        {"60A#4012100000000000", "58A#8012100000000206"},  // 0x06020000: TIME is absent
        {"60A#4010000000000000", "58A#8010000000000206"},  // below the first row
        {"60A#4021000000000000", "58A#8021000000000206"},  // between rows
        {"60A#8000000000000000", "58A#8000000001000405"},  // 0x05040001
        {"60A#6017100000000000", "58A#8017100001000405"},
        {"60A#4020000000000000", "58A#4F20000005000000"},  // type definitions upload as byte lists
        {"60A#4020000300000000", "58A#4F20000006000000"},
        {"60A#402000FF00000000", "58A#4F20000007000000"},
        {"60A#4020000600000000", "58A#8020000611000906"},
        {"60A#4022000000000000", "58A#4F22000003000000"},
        {"60A#4022000300000000", "58A#4F22000005000000"},
        {"60A#4022000400000000", "58A#8022000411000906"},
        {"60A#402200FF00000000", "58A#4F22000007000000"},
        {"60A#4023000000000000", "58A#4F23000004000000"},
        {"60A#4023000100000000", "58A#4F23000007000000"},
        {"60A#4023000200000000", "58A#4F23000007000000"},
        {"60A#4023000300000000", "58A#4F23000007000000"},
        {"60A#4023000400000000", "58A#4F23000007000000"},
        {"60A#402300FF00000000", "58A#4F23000007000000"},
        {"60A#4020000100000000", "58A#4F20000007000000"},
        {"60A#4020000200000000", "58A#4F20000005000000"},
        {"60A#4020000400000000", "58A#4F20000005000000"},
        {"60A#4020000500000000", "58A#4F20000006000000"},
        {"60A#4022000100000000", "58A#4F22000007000000"},
        {"60A#4022000200000000", "58A#4F22000007000000"},
        {"60A#2F20000001000000", "58A#8020000002000106"},  // and refuse downloads
        {"60A#4018100100000000", "58A#4318100178563412"},  // identity
        {"60A#401810FF00000000", "58A#4B1810FF23060000"},
        {"60A#4000120100000000", "58A#430012010A060000"},  // SDO server: no sub-index 3
        {"60A#4000120300000000", "58A#8000120311000906"},
        {"60A#4081120300000000", "58A#4F81120303000000"},  // a client has one
        {"60A#4000120000000000", "58A#4F00120002000000"},  // entries: the server 2, each client 3
        {"60A#4080120000000000", "58A#4F80120003000000"},
        {"60A#4081120000000000", "58A#4F81120003000000"},
        {"60A#4082120000000000", "58A#4F82120003000000"},
        {"60A#4083120000000000", "58A#4F83120003000000"},
        {"60A#40001A0000000000", "58A#4F001A0005000000"},  // PDO mapping: type, sub-index, object
        {"60A#40001A0100000000", "58A#43001A0105004820"},
        {"60A#40081A0800000000", "58A#43081A0805008F20"},
        {"60A#40001A0600000000", "58A#80001A0611000906"},  // TPDO 1 maps 5 objects
        {"60A#2F001A0001000000", "58A#80001A0002000106"},  // mapping downloads are refused
        {"60A#4001140100000000", "58A#4301140181020000"},  // PDO communication records
        {"60A#4000180200000000", "58A#4F001802FE000000"},
        {"60A#2F00140201000000", "58A#8000140222000008"},  // 0x08000022: the PDO is valid
        {"60A#230014010A020080", "58A#6000140100000000"},  // invalidate it
        {"60A#2F00140201000000", "58A#6000140200000000"},
        {"60A#2B00140310270000", "58A#6000140300000000"},
        {"60A#2B00140101000000", "58A#8000140113000706"},  // 0x06070013
        {"60A#2300140201000000", "58A#8000140210000706"},  // 0x06070010
        {"60A#230014012A020000", "58A#6000140100000000"},
        {"60A#40171000", nullptr},  // short SDO frames are dropped
        {"60A#", nullptr},
        {"60A#4000210000000000", "58A#8000210001000106", true},  // 0x06010001: write-only
        {"60A#2F00210009000000", "58A#6000210000000000", true},
        {"60A#2301210004030201", "58A#6001210000000000", true},
        {"60A#2F05210001000000", "58A#8005210010000706", true},
        {"60A#2B05210034120000", "58A#6005210000000000", true},
        {"60A#4005210000000000", "58A#4B05210034120000", true},
        {"60A#4002210000000000", "58A#8002210000000206", true},  // array other than 0x1016
        {"60A#4003210000000000", "58A#8003210000000206", true},  // other object code
        {"60A#4004210000000000", "58A#8004210000000206", true},  // unknown data type
        {"000#010A", nullptr},                                   // operational: PDO parameters refused
        {"60A#2F001A0001000000", "58A#80001A0022000008"},
        {"60A#2300140101000080", "58A#8000140122000008"},
        {"60A#4000140200000000", "58A#4F00140201000000"},
    };
    for (const Row& r : rows) {
        if (r.test) net.task([] { useDictionary(testOd, std::size(testOd)); });
        net.send(r.request);
        net.passes(1);
        if (r.test) net.task([] { useDictionary(CANOpenBCommProfileArea.data(), kOdCount); });
        Lines want{"080#"};
        if (r.response != nullptr) want.push_back(r.response);
        EXPECT_EQ(net.take(), want) << r.request;
    }
    EXPECT_EQ(RxPdoBufferB[0][1], 7);
    EXPECT_EQ(RxPdoCommunicationTableB0.CobId, 0x22Au);
    EXPECT_EQ(RxPdoCommunicationTableB0.TransmissionType, 1);
    EXPECT_EQ(RxPdoCommunicationTableB0.InhibitTime, 0x2710);
    EXPECT_EQ(woByte, 9);
    EXPECT_EQ(rw32, 0x01020304u);
    EXPECT_EQ(rw16, 0x1234);
}

// Every row of the node's dictionary is found by its index, with its object,
// type, access and object code; indexes below, between and above the rows are
// absent.
TEST(CanOpenDictionary, EveryRowFoundAndEveryGapAbsent) {
    const OdEntry* od = CANOpenBCommProfileArea.data();
    for (uint16_t row = 0; row + 1 < kOdCount; ++row) {
        const uint16_t index = od[row].Index;
        EXPECT_EQ(FindOdEntry(od, kOdCount, index), &od[row]) << std::hex << index;
        EXPECT_EQ(GetIndex2OdEntry(od, kOdCount, index), row) << std::hex << index;
        EXPECT_EQ(GetOdEntryObjectByOdIndex(od, kOdCount, index), od[row].Object) << std::hex << index;
        EXPECT_EQ(GetOdEntryObjectByIndex(od, kOdCount, row), od[row].Object) << std::hex << index;
        EXPECT_EQ(std::tuple(GetOdEntryTypeByOdIndex(od, kOdCount, index), GetOdEntryAttributeByOdIndex(od, kOdCount, index),
                             GetOdEntryObjectNameByOdIndex(od, kOdCount, index), DoesOdEntryExist(od, kOdCount, index)),
                  std::tuple(od[row].DataType, od[row].Access, od[row].ObjectCode, 1))
            << std::hex << index;
    }
    for (uint16_t index : {0x0000, 0x001F, 0x0021, 0x0FFF, 0x1003, 0x1016, 0x1284, 0x1409, 0x1A09, 0x1FFF, 0x2090, 0xFFFE}) {
        EXPECT_EQ(FindOdEntry(od, kOdCount, index), nullptr) << std::hex << index;
        EXPECT_EQ(GetIndex2OdEntry(od, kOdCount, index), 0) << std::hex << index;
        EXPECT_EQ(GetOdEntryObjectByOdIndex(od, kOdCount, index), OdAbsentObject()) << std::hex << index;
        EXPECT_EQ(std::tuple(GetOdEntryTypeByOdIndex(od, kOdCount, index), GetOdEntryAttributeByOdIndex(od, kOdCount, index),
                             GetOdEntryObjectNameByOdIndex(od, kOdCount, index), DoesOdEntryExist(od, kOdCount, index)),
                  std::tuple(255, 255, 255, 0))
            << std::hex << index;
    }
    EXPECT_EQ(GetOdEntryObjectByIndex(od, kOdCount, kOdCount), OdAbsentObject());
    EXPECT_EQ(FindOdEntry(od, 0, 0x1000), nullptr);
}
