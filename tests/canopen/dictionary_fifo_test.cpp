// Object dictionary lookups and layout; frame FIFOs.
#include <gtest/gtest.h>

#include "canopen/canopen_obj_dctn.h"
#include "canopen/fifo.h"

TEST(CanOpenDictionary, LayoutAndLookups) {
    const OdEntry* od = CANOpenBCommProfileArea.data();
    ASSERT_EQ(CANOpenBCommProfileArea.size(), 197u);
    for (size_t i = 1; i < CANOpenBCommProfileArea.size(); ++i) EXPECT_LT(od[i - 1].Index, od[i].Index) << i;
    // Row positions the COB-id table relies on.
    EXPECT_EQ(GetIndex2OdEntry(od, kOdCount, 0x1005), 6);
    EXPECT_EQ(GetIndex2OdEntry(od, kOdCount, 0x1200), 11);
    EXPECT_EQ(GetIndex2OdEntry(od, kOdCount, 0x1280), 12);
    EXPECT_EQ(GetIndex2OdEntry(od, kOdCount, 0x1400), 16);
    EXPECT_EQ(GetIndex2OdEntry(od, kOdCount, 0x1600), 25);
    EXPECT_EQ(GetIndex2OdEntry(od, kOdCount, 0x1800), 34);
    EXPECT_EQ(GetIndex2OdEntry(od, kOdCount, 0x1A00), 43);
    EXPECT_EQ(GetIndex2OdEntry(od, kOdCount, 0x2000), 52);
    EXPECT_EQ(GetIndex2OdEntry(od, kOdCount, 0xFFFF), 196);  // the end row, by an exact search

    EXPECT_EQ(GetOdEntryObjectByOdIndex(od, kOdCount, 0x1017), &ProducerHeartbeatTimeB);
    EXPECT_EQ(GetOdEntryTypeByOdIndex(od, kOdCount, 0x1018), OD_TYPE_IDENTITY);
    EXPECT_EQ(GetOdEntryAttributeByOdIndex(od, kOdCount, 0x1400), OD_ACCESS_RW);
    EXPECT_EQ(GetOdEntryAttributeByOdIndex(od, kOdCount, 0x1A08), OD_ACCESS_RO);
    EXPECT_EQ(GetOdEntryObjectNameByOdIndex(od, kOdCount, 0x0023), OD_CODE_DEFTYPE);
    EXPECT_EQ(DoesOdEntryExist(od, kOdCount, 0x208F), 1);
    EXPECT_EQ(GetOdEntryObjectByIndex(od, kOdCount, 9), &ProducerHeartbeatTimeB);

    // Every miss gives the absent values: TIME (0x1012), keys below the first
    // row, between rows and above 0x208F, and an empty table.
    for (uint16_t key : {0x1012, 0x0000, 0x001F, 0x0021, 0x1003, 0x2090, 0xFFFE}) {
        EXPECT_EQ(DoesOdEntryExist(od, kOdCount, key), 0) << key;
        EXPECT_EQ(GetIndex2OdEntry(od, kOdCount, key), 0) << key;
        EXPECT_EQ(GetOdEntryObjectByOdIndex(od, kOdCount, key), OdAbsentObject()) << key;
        EXPECT_EQ(GetOdEntryTypeByOdIndex(od, kOdCount, key), 255) << key;
        EXPECT_EQ(GetOdEntryAttributeByOdIndex(od, kOdCount, key), 255) << key;
        EXPECT_EQ(GetOdEntryObjectNameByOdIndex(od, kOdCount, key), 255) << key;
    }
    EXPECT_EQ(GetOdEntryObjectByOdIndex(od, 0, 0x1000), OdAbsentObject());
    EXPECT_EQ(GetOdEntryTypeByOdIndex(nullptr, 0, 0x1000), 255);

    // Records as the table describes them.
    EXPECT_EQ(RxPdoCommunicationTableB5.CobId, 0x0C000201u);
    EXPECT_EQ(TxPdoCommunicationTableB5.CobId, 0x0C000181u);
    EXPECT_EQ(TxPdoCommunicationTableB5.TransmissionType, 254);
    EXPECT_EQ(TxPdoCommunicationTableB5.Reserved, 0xFF);
    EXPECT_EQ(RxPdoMappingParmsB8.Entries, 8);
    EXPECT_EQ(RxPdoMappingParmsB8.Map[7].Index, 0x2047);
    EXPECT_EQ(TxPdoMappingParmsB8.Map[7].Index, 0x208F);
    EXPECT_EQ(IdentityB.Entries, 4);
}

TEST(CanOpenFifo, HoldsCountMinusOneAndWraps) {
    uint8_t storage[20 * 14];
    uint8_t* slots[20];
    FifoParams f{storage, slots, 20, 14, 0, 0, 0, nullptr};
    uint8_t rec[14] = {};
    EXPECT_EQ(FifoWrite(&f, rec), -1);  // not initialised/open
    ASSERT_EQ(FifoInit(&f), 0);
    EXPECT_EQ(FifoWrite(&f, rec), -1);  // closed
    EXPECT_EQ(FifoGetCount(&f), 0);
    ASSERT_EQ(FifoOpen(&f), 0);
    EXPECT_EQ(FifoRead(&f, rec), -1);  // empty
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 19; ++i) {
            rec[0] = static_cast<uint8_t>(round * 19 + i);
            EXPECT_EQ(FifoWrite(&f, rec), 0) << i;
        }
        EXPECT_EQ(FifoGetCount(&f), 19);
        EXPECT_EQ(FifoWrite(&f, rec), -1);
        for (int i = 0; i < 19; ++i) {
            ASSERT_EQ(FifoRead(&f, rec), 0);
            EXPECT_EQ(rec[0], round * 19 + i);
            EXPECT_EQ(FifoGetCount(&f), 18 - i);
        }
        EXPECT_EQ(FifoRead(&f, rec), -1);
        // Leave the indexes off zero so that the next round wraps.
        EXPECT_EQ(FifoWrite(&f, rec), 0);
        EXPECT_EQ(FifoRead(&f, rec), 0);
    }
    // A FIFO of one slot holds nothing.
    uint8_t* one[1];
    FifoParams g{storage, one, 1, 14, 0, 0, 0, nullptr};
    FifoInit(&g);
    FifoOpen(&g);
    EXPECT_EQ(FifoWrite(&g, rec), -1);
}
