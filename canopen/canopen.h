// The CANopen node of one CAN controller: the image record that holds all the
// stack knows about the controller, the registry of images, opening and
// closing a network, the 20 ms network pass with its receive dispatcher, the
// NMT slave and master commands, heartbeat, SYNC and TIME.
#pragma once

#include <cstdint>

#include "canopen/canopen_obj_dctn.h"
#include "canopen/fifo.h"

struct CanControllerParams;  // host/mscan.h

// NMT states
constexpr uint8_t NMT_INITIALISING = 0;
constexpr uint8_t NMT_STOPPED = 4;
constexpr uint8_t NMT_OPERATIONAL = 5;
constexpr uint8_t NMT_PRE_OPERATIONAL = 127;

// NMT command specifiers
constexpr uint8_t NMT_CS_START = 1;
constexpr uint8_t NMT_CS_STOP = 2;
constexpr uint8_t NMT_CS_ENTER_PRE_OPERATIONAL = 128;
constexpr uint8_t NMT_CS_RESET_NODE = 129;
constexpr uint8_t NMT_CS_RESET_COMMUNICATION = 130;

// The frame record every part of the stack passes.
struct CanFrame {
    uint32_t Id;       // COB-id in bits 31..21, all other bits 0
    uint8_t Data[8];
    uint16_t Length;   // low 4 bits: the data length 0..8
    uint8_t Priority;  // transmit priority; 0 in received frames
    uint16_t TimeStamp;
};
inline uint32_t CanFrameCobId(const CanFrame& f) { return f.Id >> 21; }
constexpr int kRxFifoSlotBytes = 14;  // identifier word, data, length
constexpr int kTxFifoSlotBytes = 28;  // controller buffer layout, first 28 bytes

// COB-id table rows: kind 0 SDO (and SYNC), 1 receive PDO, 2 transmit PDO.
constexpr uint16_t ID_KIND_SDO = 0;
constexpr uint16_t ID_KIND_RXPDO = 1;
constexpr uint16_t ID_KIND_TXPDO = 2;
struct IdTableEntry {
    uint32_t CobId;
    uint16_t Row;   // dictionary row position
    uint16_t Kind;
};

// Heartbeat consumer record of one remote node.
struct NmtErrCntrlRecord {
    uint8_t HeartbeatCount;  // wraps
    uint8_t BootUpCount;     // wraps
    uint32_t CobId;          // 0x700 + node id
};
struct NmtErrCtrlEntry {
    uint16_t Slot;  // 0xFFFF ends the table
    NmtErrCntrlRecord* Record;
};

// Timer rows (8 bytes); a TPDO row holds the SYNC countdown in its second half-word.
struct PdoTimerEntry {
    uint16_t Timer;
    uint16_t SyncCountdown;
    uint32_t Reserved;
};
struct TimerArray {
    uint16_t Count;
    PdoTimerEntry* Rows;
};
struct TimersStruct {
    uint16_t HeartbeatElapsedMs;
    TimerArray* ConsumerHeartbeat;
    TimerArray* TxPdo;
    TimerArray* RxPdo;
};

struct RxPdoBufferDesc {
    uint16_t Count;
    uint8_t (*Rows)[kRxPdoRowBytes];
};

// TIME_OF_DAY: milliseconds after midnight (28 bits) and days since 1 January 1984.
struct TimeOfDay {
    uint32_t Milliseconds;
    uint16_t Days;
};

// Callback record passed to the image's receive callback.
struct CoCallbackEvent {
    uint32_t Kind;      // 3: an event-driven RPDO was stored
    uint32_t PdoNumber; // 1..9
};
constexpr uint32_t CO_EVENT_RPDO = 3;
typedef int (*CoRxCallback)(const CoCallbackEvent* event);

struct CanOpenImage {
    uint8_t ControllerId;                 // 255 until the network set-up has run
    CanControllerParams* ControllerParams;
    uint32_t TimerPeriod;                 // microseconds
    uint16_t BaudRate;                    // kbit/s
    uint16_t RxLatchedCount;
    uint8_t NmtState;
    uint8_t NodeId;
    TimersStruct* Timers;
    RxPdoBufferDesc* RxPdoBufferArray;
    const OdEntry* ObjectDictionary;
    uint16_t OdPosSdoServer, OdPosSdoClient, OdPosRxPdoComm, OdPosRxPdoMap, OdPosTxPdoComm, OdPosTxPdoMap;
    uint16_t OdCount;
    TimeOfDay* TimeRecord;
    IdTableEntry* IdTable;
    uint16_t IdTableCount;
    CoRxCallback RxPdoCallback;
    CoRxCallback RxAltCallback;           // registered by the set-up, never called
    FifoParams FifoParamsRx;
    FifoParams FifoParamsTx;
    uint16_t Errors;
    uint8_t BusOff;
    uint16_t NumIrq;
    uint16_t NumBytes;
    uint8_t RxStatusFlags;
    uint8_t TxStatusFlags;
    uint16_t RxOverFlowCounter;
    uint16_t TxOverFlowCounter;
    uint16_t RxFrameCount;
    uint8_t Open;
    uint8_t RemotePort;
    NmtErrCtrlEntry* NmtErrCtrlTable;
    uint16_t NmtErrCtrlCount;
    uint16_t SyncTimeStamp;
};

// ---- Registry, open, close, network pass ----
void CanOpenInit(CanOpenImage* images, uint8_t count);
CanOpenImage* GetCanOpenImage(uint8_t controllerId);
int CanOpenOpen(uint8_t controllerId);
int CanOpenClose(uint8_t controllerId);
int CanOpen(uint8_t controllerId, int periodMs);
int CanOpenLatchRxMsgCount(uint8_t controllerId);
int CanOpenProcessTimers(uint8_t controllerId);
void CanOpenChangeCobId(uint8_t controllerId, uint8_t node, uint8_t pdo, int tx, uint32_t cob);
void CanOpenGenRxProcessor(uint8_t controllerId, const CanFrame* frame);
void CanOpenImageDump(uint8_t controllerId);
// The open image of a controller, or nullptr.
CanOpenImage* GetOpenCanOpenImage(uint8_t controllerId);

// ---- NMT, heartbeat, SYNC and TIME ----
void CanOpenNodeGoOperational(uint8_t controllerId, uint8_t node);
void CanOpenNodeGoPreOperational(uint8_t controllerId, uint8_t node);
void CanOpenGoOperational(uint8_t controllerId);
int CanOpenSendNmtNow(uint8_t controllerId, uint32_t cobId, CanFrame* frame, uint16_t length);
void SendCanOpenRtSyncObject(uint8_t controllerId);
void ProcessSlaveNmtStateTransition01(uint8_t controllerId);
void ProcessSlaveNmtStateTransition02(uint8_t controllerId);
void ProcessNmtErrorControlAsNmtSlave(uint8_t controllerId);
void ProcessSlaveNmtErrorContrlMsg(uint8_t controllerId, const uint8_t* data, uint32_t cobId);
void ProcessSyncReceive(uint8_t controllerId);
int CanOpenSendTime(uint8_t controllerId);
void ProcessTimeReceive(uint8_t controllerId, const CanFrame* frame);

// Data length of a frame (the length register's low 4 bits, at most 8).
inline int CanFrameDataLength(const CanFrame& f) {
    int n = f.Length & 15;
    return n > 8 ? 8 : n;
}
