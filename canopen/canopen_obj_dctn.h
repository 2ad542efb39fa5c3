// Object dictionary of the controller's own CANopen node: a constant table
// sorted by object index whose rows point at the variables and records that
// hold the values, the record layouts behind those rows, and the lookups.
#pragma once

#include <array>
#include <cstdint>

// Object codes
constexpr uint8_t OD_CODE_DEFTYPE = 6;
constexpr uint8_t OD_CODE_VAR = 7;
constexpr uint8_t OD_CODE_ARRAY = 8;
constexpr uint8_t OD_CODE_RECORD = 9;
// Data types
constexpr uint8_t OD_TYPE_BYTELIST = 0;
constexpr uint8_t OD_TYPE_UNSIGNED8 = 5;
constexpr uint8_t OD_TYPE_UNSIGNED16 = 6;
constexpr uint8_t OD_TYPE_UNSIGNED32 = 7;
constexpr uint8_t OD_TYPE_PDO_COMM = 32;
constexpr uint8_t OD_TYPE_PDO_MAP = 33;
constexpr uint8_t OD_TYPE_SDO_PARAM = 34;
constexpr uint8_t OD_TYPE_IDENTITY = 35;
// Access
constexpr uint8_t OD_ACCESS_RW = 0;
constexpr uint8_t OD_ACCESS_WO = 1;
constexpr uint8_t OD_ACCESS_RO = 2;
constexpr uint8_t OD_ACCESS_CONST = 3;

struct OdEntry {
    uint16_t Index;
    uint8_t ObjectCode;
    uint8_t DataType;
    uint8_t Access;
    void* Object;
};

// The object reference that every lookup returns for an absent index.
inline void* OdAbsentObject() { return reinterpret_cast<void*>(~static_cast<uintptr_t>(0)); }

// PDO communication parameters (0x1400.., 0x1800..)
struct PdoCommParams {
    uint8_t Entries;           // sub 0
    uint32_t CobId;            // sub 1; bit 31 set = PDO not valid
    uint32_t Configured;       // non-zero: COB-id set by the network set-up, kept at boot
    uint8_t TransmissionType;  // sub 2
    uint16_t InhibitTime;      // sub 3
    uint8_t Reserved;          // sub 4, not reachable over SDO
    uint16_t EventTimer;       // sub 5
    uint8_t Structure[2];      // sub 255
};

struct PdoMapEntry {
    uint16_t Index;
    uint8_t SubIndex;
    uint8_t DataType;  // 5, 6 or 7: what the packing uses
};

// PDO mapping parameters (0x1600.., 0x1A00..)
struct PdoMapParams {
    uint8_t Entries;  // sub 0
    PdoMapEntry* Map; // subs 1..8
    uint8_t Structure[2];
};

// SDO server (0x1200) and client (0x1280..) parameters
struct SdoParams {
    uint8_t Entries;               // 2 server, 3 client
    uint32_t CobIdClientToServer;  // sub 1
    uint32_t CobIdServerToClient;  // sub 2
    uint8_t NodeId;                // sub 3, clients only
    uint8_t Structure[2];          // sub 255
    uint8_t* ResponseData;         // clients: count byte, then the latest 8 data bytes
};

// Identity (0x1018)
struct IdentityRecord {
    uint8_t Entries;
    uint32_t VendorId;
    uint32_t ProductCode;
    uint32_t Revision;
    uint32_t SerialNumber;
    uint8_t Structure[2];
};

// Lookups by object index: binary search over rows 0..count-1.
uint16_t GetIndex2OdEntry(const OdEntry* od, uint16_t count, uint16_t index);          // 0 when absent
void* GetOdEntryObjectByOdIndex(const OdEntry* od, uint16_t count, uint16_t index);    // all ones when absent
uint8_t GetOdEntryTypeByOdIndex(const OdEntry* od, uint16_t count, uint16_t index);    // 255 when absent
uint8_t GetOdEntryAttributeByOdIndex(const OdEntry* od, uint16_t count, uint16_t index);  // 255 when absent
uint8_t GetOdEntryObjectNameByOdIndex(const OdEntry* od, uint16_t count, uint16_t index); // 255 when absent
int DoesOdEntryExist(const OdEntry* od, uint16_t count, uint16_t index);
void* GetOdEntryObjectByIndex(const OdEntry* od, uint16_t count, uint16_t row);
// The row of an index, or nullptr when absent.
const OdEntry* FindOdEntry(const OdEntry* od, uint16_t count, uint16_t index);

// ---- The dictionary of the controller's own node and the objects it maps ----

constexpr uint16_t kOdCount = 197;
constexpr int kNumRxPdos = 9;
constexpr int kNumTxPdos = 9;
constexpr int kRxPdoRowBytes = 9;   // new-data flag + 8 data bytes
constexpr int kTxPdoStride = 28;    // bytes between TPDO data blocks in COBFifoTx

extern const std::array<OdEntry, kOdCount> CANOpenBCommProfileArea;

extern uint32_t CAN_BDeviceType;
extern uint8_t ErrorRegister;
extern uint32_t ManufacturerErrorRegister;
extern uint32_t SyncCobIdB;
extern uint16_t GuardTime;
extern uint8_t LifeTimeFactor;
extern uint16_t ProducerHeartbeatTimeB;
extern IdentityRecord IdentityB;
extern SdoParams Sdo1B;
extern SdoParams cSdo1B, cSdo2B, cSdo3B, cSdo4B;
extern uint8_t ResponseDataSdo1B[9], ResponseDataSdo2B[9], ResponseDataSdo3B[9], ResponseDataSdo4B[9];
extern PdoCommParams RxPdoCommunicationTableB0, RxPdoCommunicationTableB1, RxPdoCommunicationTableB2,
    RxPdoCommunicationTableB3, RxPdoCommunicationTableB4, RxPdoCommunicationTableB5, RxPdoCommunicationTableB6,
    RxPdoCommunicationTableB7, RxPdoCommunicationTableB8;
extern PdoCommParams TxPdoCommunicationTableB0, TxPdoCommunicationTableB1, TxPdoCommunicationTableB2,
    TxPdoCommunicationTableB3, TxPdoCommunicationTableB4, TxPdoCommunicationTableB5, TxPdoCommunicationTableB6,
    TxPdoCommunicationTableB7, TxPdoCommunicationTableB8;
extern PdoMapParams RxPdoMappingParmsB0, RxPdoMappingParmsB1, RxPdoMappingParmsB2, RxPdoMappingParmsB3,
    RxPdoMappingParmsB4, RxPdoMappingParmsB5, RxPdoMappingParmsB6, RxPdoMappingParmsB7, RxPdoMappingParmsB8;
extern PdoMapParams TxPdoMappingParmsB0, TxPdoMappingParmsB1, TxPdoMappingParmsB2, TxPdoMappingParmsB3,
    TxPdoMappingParmsB4, TxPdoMappingParmsB5, TxPdoMappingParmsB6, TxPdoMappingParmsB7, TxPdoMappingParmsB8;

// Received RPDO data: one row per RPDO, byte 0 the new-data flag, bytes 1..8 the data.
extern uint8_t RxPdoBufferB[kNumRxPdos][kRxPdoRowBytes];
// TPDO data packed by the application: TPDO k sends bytes 28k .. 28k + entries - 1.
extern uint8_t COBFifoTx[kNumTxPdos * kTxPdoStride];

// The communication records in PDO order, for code that walks them.
extern PdoCommParams* const RxPdoCommunicationTablesB[kNumRxPdos];
extern PdoCommParams* const TxPdoCommunicationTablesB[kNumTxPdos];
