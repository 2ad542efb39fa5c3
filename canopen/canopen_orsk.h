// The controller as master of its remote I/O nodes: the constant record of one
// remote node, the bits of the node status word, the SDO client that talks to
// the node one frame per call, and the configuration sequence that brings the
// node into service one step per call.
#pragma once

#include <cstdint>

#include "canopen/canopen.h"
#include "canopen/canopen_obj_dctn.h"

// ---- Node status word --------------------------------------------------------
constexpr uint32_t ORSK_IDLE = 1u << 31;          // no configuration running
constexpr uint32_t ORSK_IDS_LOADED = 1u << 30;    // node ids (re)loaded by the network set-up
constexpr uint32_t ORSK_START = 1u << 29;         // start request, consumed by state 0
constexpr uint32_t ORSK_REQUEST = 1u << 28;       // a request is out, its answer awaited
constexpr uint32_t ORSK_SEGMENTS = 1u << 27;      // segmented upload in its segment phase
constexpr uint32_t ORSK_TOGGLE = 1u << 26;        // toggle of the next segment request
constexpr uint32_t ORSK_SDO_ERROR = 1u << 25;     // a transfer ended in time-out or abort
constexpr uint32_t ORSK_IN_TRANSFER = 1u << 24;   // a step is busy with a transfer
constexpr uint32_t ORSK_RETRY = 1u << 23;         // a failed step is repeated once
constexpr int ORSK_CONTROLLER_SHIFT = 16;         // bits 22..16: CAN controller id
constexpr uint32_t ORSK_CONTROLLER_MASK = 0x7Fu << ORSK_CONTROLLER_SHIFT;
constexpr int ORSK_OBJECTS_SHIFT = 13;            // bits 15..13: configuration objects per channel
constexpr uint32_t ORSK_OBJECTS_MASK = 7u << ORSK_OBJECTS_SHIFT;
constexpr uint32_t ORSK_SEGMENT_COUNT = 0xFFu;    // bits 7..0: segments received

// Status nibble values of one configuration step.
constexpr uint32_t NIB_BUSY = 1, NIB_ABORT = 2, NIB_TIMEOUT = 4, NIB_DONE = 8;

// Result codes of the SDO client.
constexpr int ORSK_BUSY = 1;
constexpr int ORSK_TIMEOUT = 2;
constexpr int ORSK_ABORTED = 3;
constexpr int ORSK_DONE = 4;
constexpr int ORSK_SEG_INIT = 5;
constexpr int ORSK_SEG_MORE = 6;

// An answer counts as missing once the request timer has passed this (ms).
constexpr int32_t ORSK_ANSWER_MS = 2000;

// The abort code the client sends, for a segment out of turn as well as for
// a segmented upload that timed out: 0x05040000, in the bus's little-endian
// order like every other multi-byte value (bytes 4-7 = 00 00 04 05).
constexpr uint32_t ORSK_ABORT_CODE = 0x05040000;

// Text cells the sequence fills (device name, software version).
constexpr int ORSK_TEXT_BYTES = 40;

// One channel of a node: its value cell (null: channel not used), its status
// word (one nibble per configuration object) and its fault cell.
struct CO_ORSK_ChanVars {
    int32_t* Value;
    uint32_t* Status;
    uint32_t* Fault;
};

// The constant record of one remote node; every changing item lives in the
// cells it points to.
struct CO_ORSK_NodeConfig {
    SdoParams* Sdo;
    NmtErrCntrlRecord* NmtErrCntrl;
    int32_t* const* MsgInfo;      // 3 scan-rate cells (ms) of the node's PDOs
    int32_t* const* TxMsgInfo;    // scan-rate cell of the controller's PDO to the node
    int32_t* Timer;               // request timer, ms
    uint32_t* Status;             // node status word
    int32_t* VendorId;
    int32_t* PartNum;
    int32_t* RevNum;
    int32_t* SerialNum;
    int32_t* SerialNumTmp;
    int32_t* NodeFunc;            // module code read from the node
    uint32_t* NibbleA;
    uint32_t* NibbleB;
    uint32_t* NibbleC;
    int32_t* NodeId;
    int32_t* const* ChanConfigData;  // channel-major: (channel - 1) * objects + object
    const CO_ORSK_ChanVars* ChanVars;
    uint32_t SyncRate;            // microseconds
    char* SwVer;                  // ORSK_TEXT_BYTES
    char* DeviceName;             // ORSK_TEXT_BYTES
    uint32_t* CfgFault;
    uint32_t* IdFault;
    uint32_t ExpectedCode;
    uint8_t ChanCount;
    uint8_t* ChanCursor;          // 1-based
    uint8_t* CfgObjCursor;        // 0-based
    uint8_t* Port;
    uint8_t* Diag;                // error register
    uint8_t* State;
    uint8_t* Temp;
};

// A configuration object of a module: index high, index low, subindex, size.
struct CO_ORSK_Object {
    uint8_t IndexHigh, IndexLow, SubIndex, Size;
};
struct CO_ORSK_Module {
    const CO_ORSK_Object* Objects;
    uint8_t Count;
    uint8_t Family;
};
extern const CO_ORSK_Module* const orsk_modules[8];
extern const CO_ORSK_Object ht_msg_info_sdo_index[4];
extern const CO_ORSK_Object rt_msg_info_sdo_index[12];

// ---- SDO client (one frame at most per call) ----
int CO_ORSK_ExpeditedUpload(CO_ORSK_NodeConfig rec, uint8_t indexLow, uint8_t indexHigh, uint8_t subIndex,
                            uint8_t size, CanFrame* frame);
int CO_ORSK_ExpeditedDownload(CO_ORSK_NodeConfig rec, uint8_t indexLow, uint8_t indexHigh, uint8_t subIndex,
                              uint8_t size, CanFrame* frame);
int CO_ORSK_SegmentedUpload(CO_ORSK_NodeConfig rec, uint8_t indexLow, uint8_t indexHigh, uint8_t subIndex,
                            CanFrame* frame);
int CO_ORSK_Abort_Sdo(CO_ORSK_NodeConfig rec, uint8_t indexLow, uint8_t indexHigh, uint8_t subIndex,
                      CanFrame* frame);
int CO_ORSK_ResetNode(CO_ORSK_NodeConfig rec);
int CO_ORSK_ResetNodeAlarm(CO_ORSK_NodeConfig rec);

// ---- Configuration sequence (one step per call) ----
int Process_CO_ORSK_Sdo(CO_ORSK_NodeConfig rec, int* passCounter);
int Process_CO_Object_Identity(CO_ORSK_NodeConfig rec);
int Process_CO_ORSK_Chan_Config(CO_ORSK_NodeConfig rec, uint8_t indexLow, uint8_t indexHigh, uint8_t unused,
                                uint8_t size);

// The application's four node records, in the order of the SDO channels
// cSdo1B .. cSdo4B (analog I/O, RTD, discrete input, relay output).
extern const CO_ORSK_NodeConfig CO_ORSK_CNFG_CAN2_VL_NODE1_AIO_2416;
extern const CO_ORSK_NodeConfig CO_ORSK_CNFG_CAN2_VL_NODE3_RTD_8C_2421;
extern const CO_ORSK_NodeConfig CO_ORSK_CNFG_CAN2_VL_NODE4_BI_2425;
extern const CO_ORSK_NodeConfig CO_ORSK_CNFG_CAN2_VL_NODE5_BO_2429;
extern const CO_ORSK_NodeConfig* const CoOrskNodeRecords[4];
