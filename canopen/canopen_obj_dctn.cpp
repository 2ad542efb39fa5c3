#include "canopen/canopen_obj_dctn.h"

#include <array>
#include <cstddef>

// ---- Lookups ----

// Binary search for an index. Every miss (a key below the first row, above the
// last, or between two rows) gives -1, so that every lookup reports the absent
// values for it.
static int findRow(const OdEntry* od, uint16_t count, uint16_t index) {
    if (od == nullptr || count == 0) return -1;
    int lo = 0;
    int hi = count - 1;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        if (od[mid].Index < index) lo = mid + 1;
        else if (od[mid].Index > index) hi = mid - 1;
        else return mid;
    }
    return -1;
}

const OdEntry* FindOdEntry(const OdEntry* od, uint16_t count, uint16_t index) {
    int row = findRow(od, count, index);
    return row < 0 ? nullptr : &od[row];
}

uint16_t GetIndex2OdEntry(const OdEntry* od, uint16_t count, uint16_t index) {
    int row = findRow(od, count, index);
    return row < 0 ? 0 : static_cast<uint16_t>(row);
}

void* GetOdEntryObjectByOdIndex(const OdEntry* od, uint16_t count, uint16_t index) {
    int row = findRow(od, count, index);
    return row < 0 ? OdAbsentObject() : od[row].Object;
}

uint8_t GetOdEntryTypeByOdIndex(const OdEntry* od, uint16_t count, uint16_t index) {
    int row = findRow(od, count, index);
    return row < 0 ? 255 : od[row].DataType;
}

uint8_t GetOdEntryAttributeByOdIndex(const OdEntry* od, uint16_t count, uint16_t index) {
    int row = findRow(od, count, index);
    return row < 0 ? 255 : od[row].Access;
}

uint8_t GetOdEntryObjectNameByOdIndex(const OdEntry* od, uint16_t count, uint16_t index) {
    int row = findRow(od, count, index);
    return row < 0 ? 255 : od[row].ObjectCode;
}

int DoesOdEntryExist(const OdEntry* od, uint16_t count, uint16_t index) { return findRow(od, count, index) < 0 ? 0 : 1; }

void* GetOdEntryObjectByIndex(const OdEntry* od, uint16_t count, uint16_t row) {
    // The row is trusted by the callers (positions found at open); an out-of-range
    // row gives the absent reference rather than reading past the table.
    return row < count ? od[row].Object : OdAbsentObject();
}

// ---- The objects of the own node ----

uint32_t CAN_BDeviceType = 0;
uint8_t ErrorRegister = 0;
uint32_t ManufacturerErrorRegister = 0;
uint32_t SyncCobIdB = 0x80;
uint16_t GuardTime = 0;
uint8_t LifeTimeFactor = 0;
uint16_t ProducerHeartbeatTimeB = 0;
IdentityRecord IdentityB = {4, 0, 0, 0, 0, {0x23, 0x06}};

uint8_t ResponseDataSdo1B[9], ResponseDataSdo2B[9], ResponseDataSdo3B[9], ResponseDataSdo4B[9];
SdoParams Sdo1B = {2, 0x600, 0x580, 0, {0x22, 0x06}, nullptr};
SdoParams cSdo1B = {3, 0x600, 0x580, 0, {0x22, 0x06}, ResponseDataSdo1B};
SdoParams cSdo2B = {3, 0x600, 0x580, 0, {0x22, 0x06}, ResponseDataSdo2B};
SdoParams cSdo3B = {3, 0x600, 0x580, 0, {0x22, 0x06}, ResponseDataSdo3B};
SdoParams cSdo4B = {3, 0x600, 0x580, 0, {0x22, 0x06}, ResponseDataSdo4B};

#define RPDO_COMM {5, 0x0C000201u, 0, 254, 0, 0xFF, 0, {0x20, 0x20}}
#define TPDO_COMM {5, 0x0C000181u, 0, 254, 0, 0xFF, 0, {0x20, 0x20}}
PdoCommParams RxPdoCommunicationTableB0 = RPDO_COMM, RxPdoCommunicationTableB1 = RPDO_COMM,
              RxPdoCommunicationTableB2 = RPDO_COMM, RxPdoCommunicationTableB3 = RPDO_COMM,
              RxPdoCommunicationTableB4 = RPDO_COMM, RxPdoCommunicationTableB5 = RPDO_COMM,
              RxPdoCommunicationTableB6 = RPDO_COMM, RxPdoCommunicationTableB7 = RPDO_COMM,
              RxPdoCommunicationTableB8 = RPDO_COMM;
PdoCommParams TxPdoCommunicationTableB0 = TPDO_COMM, TxPdoCommunicationTableB1 = TPDO_COMM,
              TxPdoCommunicationTableB2 = TPDO_COMM, TxPdoCommunicationTableB3 = TPDO_COMM,
              TxPdoCommunicationTableB4 = TPDO_COMM, TxPdoCommunicationTableB5 = TPDO_COMM,
              TxPdoCommunicationTableB6 = TPDO_COMM, TxPdoCommunicationTableB7 = TPDO_COMM,
              TxPdoCommunicationTableB8 = TPDO_COMM;
#undef RPDO_COMM
#undef TPDO_COMM

PdoCommParams* const RxPdoCommunicationTablesB[kNumRxPdos] = {
    &RxPdoCommunicationTableB0, &RxPdoCommunicationTableB1, &RxPdoCommunicationTableB2,
    &RxPdoCommunicationTableB3, &RxPdoCommunicationTableB4, &RxPdoCommunicationTableB5,
    &RxPdoCommunicationTableB6, &RxPdoCommunicationTableB7, &RxPdoCommunicationTableB8};
PdoCommParams* const TxPdoCommunicationTablesB[kNumTxPdos] = {
    &TxPdoCommunicationTableB0, &TxPdoCommunicationTableB1, &TxPdoCommunicationTableB2,
    &TxPdoCommunicationTableB3, &TxPdoCommunicationTableB4, &TxPdoCommunicationTableB5,
    &TxPdoCommunicationTableB6, &TxPdoCommunicationTableB7, &TxPdoCommunicationTableB8};

// Mapping entries: PDO k maps eight UNSIGNED8 objects starting at `first` + 8k.
static constexpr std::array<PdoMapEntry, 8> mapEntries(uint16_t first, int k) {
    std::array<PdoMapEntry, 8> m{};
    for (int i = 0; i < 8; ++i) m[i] = {static_cast<uint16_t>(first + 8 * k + i), 0, OD_TYPE_UNSIGNED8};
    return m;
}
static std::array<PdoMapEntry, 8> RxMap[kNumRxPdos] = {
    mapEntries(0x2000, 0), mapEntries(0x2000, 1), mapEntries(0x2000, 2), mapEntries(0x2000, 3), mapEntries(0x2000, 4),
    mapEntries(0x2000, 5), mapEntries(0x2000, 6), mapEntries(0x2000, 7), mapEntries(0x2000, 8)};
static std::array<PdoMapEntry, 8> TxMap[kNumTxPdos] = {
    mapEntries(0x2048, 0), mapEntries(0x2048, 1), mapEntries(0x2048, 2), mapEntries(0x2048, 3), mapEntries(0x2048, 4),
    mapEntries(0x2048, 5), mapEntries(0x2048, 6), mapEntries(0x2048, 7), mapEntries(0x2048, 8)};

#define MAP(table, k) {8, table[k].data(), {0x21, 0x00}}
PdoMapParams RxPdoMappingParmsB0 = MAP(RxMap, 0), RxPdoMappingParmsB1 = MAP(RxMap, 1), RxPdoMappingParmsB2 = MAP(RxMap, 2),
             RxPdoMappingParmsB3 = MAP(RxMap, 3), RxPdoMappingParmsB4 = MAP(RxMap, 4), RxPdoMappingParmsB5 = MAP(RxMap, 5),
             RxPdoMappingParmsB6 = MAP(RxMap, 6), RxPdoMappingParmsB7 = MAP(RxMap, 7), RxPdoMappingParmsB8 = MAP(RxMap, 8);
PdoMapParams TxPdoMappingParmsB0 = MAP(TxMap, 0), TxPdoMappingParmsB1 = MAP(TxMap, 1), TxPdoMappingParmsB2 = MAP(TxMap, 2),
             TxPdoMappingParmsB3 = MAP(TxMap, 3), TxPdoMappingParmsB4 = MAP(TxMap, 4), TxPdoMappingParmsB5 = MAP(TxMap, 5),
             TxPdoMappingParmsB6 = MAP(TxMap, 6), TxPdoMappingParmsB7 = MAP(TxMap, 7), TxPdoMappingParmsB8 = MAP(TxMap, 8);
#undef MAP

uint8_t RxPdoBufferB[kNumRxPdos][kRxPdoRowBytes];
uint8_t COBFifoTx[kNumTxPdos * kTxPdoStride];

// Type definitions: highest sub-index, the type of each sub-index, the value for sub-index 255.
static uint8_t PdoComDefStruct[] = {5, 7, 5, 6, 5, 6, 7};
static uint8_t SdoDefStruct[] = {3, 7, 7, 5, 7};
static uint8_t IdentityDefStruct[] = {4, 7, 7, 7, 7, 7};

static PdoCommParams* const* commTables(bool tx) { return tx ? TxPdoCommunicationTablesB : RxPdoCommunicationTablesB; }
static PdoMapParams* mapParams(bool tx, int k) {
    static PdoMapParams* const rx[kNumRxPdos] = {&RxPdoMappingParmsB0, &RxPdoMappingParmsB1, &RxPdoMappingParmsB2,
                                                 &RxPdoMappingParmsB3, &RxPdoMappingParmsB4, &RxPdoMappingParmsB5,
                                                 &RxPdoMappingParmsB6, &RxPdoMappingParmsB7, &RxPdoMappingParmsB8};
    static PdoMapParams* const txp[kNumTxPdos] = {&TxPdoMappingParmsB0, &TxPdoMappingParmsB1, &TxPdoMappingParmsB2,
                                                  &TxPdoMappingParmsB3, &TxPdoMappingParmsB4, &TxPdoMappingParmsB5,
                                                  &TxPdoMappingParmsB6, &TxPdoMappingParmsB7, &TxPdoMappingParmsB8};
    return tx ? txp[k] : rx[k];
}

static std::array<OdEntry, kOdCount> buildDictionary() {
    std::array<OdEntry, kOdCount> od{};
    std::size_t n = 0;
    auto row = [&](uint16_t index, uint8_t code, uint8_t type, uint8_t access, void* object) {
        od[n++] = {index, code, type, access, object};
    };
    row(0x0020, OD_CODE_DEFTYPE, OD_TYPE_BYTELIST, OD_ACCESS_RO, PdoComDefStruct);
    row(0x0022, OD_CODE_DEFTYPE, OD_TYPE_BYTELIST, OD_ACCESS_RO, SdoDefStruct);
    row(0x0023, OD_CODE_DEFTYPE, OD_TYPE_BYTELIST, OD_ACCESS_RO, IdentityDefStruct);
    row(0x1000, OD_CODE_VAR, OD_TYPE_UNSIGNED32, OD_ACCESS_RO, &CAN_BDeviceType);
    row(0x1001, OD_CODE_VAR, OD_TYPE_UNSIGNED8, OD_ACCESS_RO, &ErrorRegister);
    row(0x1002, OD_CODE_VAR, OD_TYPE_UNSIGNED32, OD_ACCESS_RO, &ManufacturerErrorRegister);
    row(0x1005, OD_CODE_VAR, OD_TYPE_UNSIGNED32, OD_ACCESS_RO, &SyncCobIdB);
    row(0x100C, OD_CODE_VAR, OD_TYPE_UNSIGNED16, OD_ACCESS_RO, &GuardTime);
    row(0x100D, OD_CODE_VAR, OD_TYPE_UNSIGNED8, OD_ACCESS_RO, &LifeTimeFactor);
    row(0x1017, OD_CODE_VAR, OD_TYPE_UNSIGNED16, OD_ACCESS_RO, &ProducerHeartbeatTimeB);
    row(0x1018, OD_CODE_RECORD, OD_TYPE_IDENTITY, OD_ACCESS_RO, &IdentityB);
    row(0x1200, OD_CODE_RECORD, OD_TYPE_SDO_PARAM, OD_ACCESS_RW, &Sdo1B);
    SdoParams* clients[4] = {&cSdo1B, &cSdo2B, &cSdo3B, &cSdo4B};
    for (int k = 0; k < 4; ++k) row(0x1280 + k, OD_CODE_RECORD, OD_TYPE_SDO_PARAM, OD_ACCESS_RW, clients[k]);
    for (int k = 0; k < kNumRxPdos; ++k) row(0x1400 + k, OD_CODE_RECORD, OD_TYPE_PDO_COMM, OD_ACCESS_RW, commTables(false)[k]);
    for (int k = 0; k < kNumRxPdos; ++k) row(0x1600 + k, OD_CODE_RECORD, OD_TYPE_PDO_MAP, OD_ACCESS_RO, mapParams(false, k));
    for (int k = 0; k < kNumTxPdos; ++k) row(0x1800 + k, OD_CODE_RECORD, OD_TYPE_PDO_COMM, OD_ACCESS_RW, commTables(true)[k]);
    for (int k = 0; k < kNumTxPdos; ++k) row(0x1A00 + k, OD_CODE_RECORD, OD_TYPE_PDO_MAP, OD_ACCESS_RO, mapParams(true, k));
    for (int i = 0; i < kNumRxPdos * 8; ++i)
        row(0x2000 + i, OD_CODE_VAR, OD_TYPE_UNSIGNED8, OD_ACCESS_RW, &RxPdoBufferB[i / 8][1 + (i & 7)]);
    for (int i = 0; i < kNumTxPdos * 8; ++i)
        row(0x2048 + i, OD_CODE_VAR, OD_TYPE_UNSIGNED8, OD_ACCESS_RW, &COBFifoTx[kTxPdoStride * (i / 8) + (i & 7)]);
    row(0xFFFF, 255, 255, 255, OdAbsentObject());
    return od;
}

// Built once at load from the rows above; never changed afterwards.
const std::array<OdEntry, kOdCount> CANOpenBCommProfileArea = buildDictionary();
