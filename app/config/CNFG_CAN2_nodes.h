// The four remote I/O nodes of the CAN2 network as the configuration
// sequence sees them: per node the items its constant record points to
// (request timer, status word, status nibbles, cursors, the per-channel
// cells and the scan-rate cells), the RTD node's channel configuration
// words, the start-up values of all of these, and the CAN2 network restart
// check that the configuration task calls on each pass.
#pragma once

#include <cstdint>

#include "app/remote_io/remote_io.h"
#include "canopen/canopen_orsk.h"

struct CoOrskNodeData {
    int32_t Timer;           // request timer, ms; the 20 ms supervision advances it
    uint32_t Status;         // node status word
    int32_t SerialNumTmp;
    uint32_t NibbleA;
    uint32_t NibbleB;
    uint32_t MsgSdoStat;     // status nibble word C
    int32_t NodeId;
    uint8_t ChanCount;       // channel cursor, 1-based
    uint8_t ChanCnfgSdoCount;  // configuration-object cursor
    uint8_t ThisPort;
    uint8_t NodeDiag;        // error register
    uint8_t CurrentSDO;      // state of the sequence
    uint8_t NodeTemp;
    int32_t ScanRate[3];     // scan rates (ms) of the node's PDOs
    int32_t TxScanRate;      // scan rate (ms) of the controller's PDO to the node
    int32_t ChanValue[16];
    uint32_t ChanStatus[16];
    uint32_t ChanFault[16];
};
extern CoOrskNodeData CNFG_CAN2_VL_NODE1_AIO_2416, CNFG_CAN2_VL_NODE3_RTD_8C_2421, CNFG_CAN2_VL_NODE4_BI_2425,
    CNFG_CAN2_VL_NODE5_BO_2429;
// In the order of CoOrskNodeRecords.
extern CoOrskNodeData* const CoOrskNodeData4[4];

// RTD node: per channel the sensor word (object 0x2269) and the unit word
// (object 0x6430) that the channel configuration writes.
extern int32_t VL3_RTD_ChanDev[8];
extern int32_t VL3_RTD_ChanUnits[8];

// Start-up values of one node (block initialisation): idle, its id in its
// record, not yet configured, nothing received.
void CNFG_CAN2_node_init_blk(RemoteNode n);

// ---- CAN2 network restart check ----
// Hidden items of block CNFG_CAN2.CAN2_NTW1 that the check keeps.
extern uint32_t CNFG_CAN2_CAN2_NTW1_2357_NtwOpen;
extern uint32_t CNFG_CAN2_CAN2_NTW1_2357_ReopenLatch;
// The maker's vendor identifier written into the own identity object.
constexpr uint32_t kCan2OwnVendorId = 0x000004D2;
void COpenNtwCheckCNFG_CAN2_CAN2_NTW1_2357();
