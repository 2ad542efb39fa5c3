// The remote I/O nodes on the CAN2 network as the application sees them:
// the hidden items of the network block CAN2_NTW1 and of the four node
// supervision blocks, the words the 20 ms group unpacks from the nodes'
// PDOs, and the pieces of the 20 and 80 ms slices.
#pragma once

#include <cstdint>

#include "runtime/rgtask.h"

// ---- network block CAN2_NTW1 (hidden items) ----
// 1 once the start-up CAN set-up has prepared the image; the network block,
// the restart check and the node blocks act only while it is 1.
extern uint32_t CNFG_CAN2_CAN2_NTW1_2357_NtwEnabled;
// 1 while the restart check holds the network open.
extern uint32_t CNFG_CAN2_CAN2_NTW1_2357_NtwOpen;
// Frame-count snapshots: previous receive-frame count, NumIrq and NumBytes.
extern uint16_t CNFG_CAN2_CAN2_NTW1_2357_FrameSnap[3];

// ---- node supervision blocks (hidden items) ----
constexpr int kMaxNodePdos = 3;
struct RemoteNodeBlock {
    // Per supervised PDO, port 1 and port 2: receive flag, age in ms
    // (kNeverReceived: never), lateness accumulator in ms, filtered interval.
    uint32_t RxFlag[2][kMaxNodePdos];
    int32_t Age[2][kMaxNodePdos];
    int32_t Late[2][kMaxNodePdos];
    float Rate[2][kMaxNodePdos];
    uint32_t Lost[2];           // communication lost, port 1 and port 2
    uint32_t Operational;       // set and cleared by the go-operational step
    uint32_t InitLatch, ResetLatch;
    int32_t ErrRegTimer, TempTimer;
    int32_t ResetPhase;
    int16_t PDOSlipCount[kMaxNodePdos];  // CoOrskPDOSlipCount..._m_1
    int16_t SDOSlipCount;                // CoOrskSDOSlipCount..._1_1
    uint8_t CommReset[2];
    int32_t ScanRateInt;
    int32_t PortInt;  // integer copy of the accepted port number
    // The go-operational step of the chassis task: request seen, started.
    uint32_t RequestSeen, Started;
    // Data words of the node's PDOs as received (two per 8-byte PDO).
    uint32_t Data[kMaxNodePdos][2];
    // Output nodes: the packed output word and the transmit timer (ms).
    uint32_t TxWord;
    int32_t TxTimer;
};
constexpr int32_t kNeverReceived = 0x7FFFFFFF;
// Adds ms to a millisecond counter, stopping at the top of the 32-bit range:
// an idle node's request timer or a silent port's timers would otherwise
// wrap after about 24.9 days. A PDO age that reaches the top reads as
// never received.
inline void add_ms_saturated(int32_t& v, int32_t ms) { v = v > INT32_MAX - ms ? INT32_MAX : v + ms; }
// In the chassis task's order of the configuration records: analog I/O,
// RTD, discrete input, relay output.
enum RemoteNode { kNodeAio = 0, kNodeRtd = 1, kNodeBi = 2, kNodeBo = 3 };
// Cleared with the application memory at every start.
extern RemoteNodeBlock (&RemoteNodeBlocks)[4];

// Per-channel raw words split from the nodes' data words in their frame
// windows: analog inputs 1-8 and output readbacks 1-2, the discrete inputs,
// the relay readbacks and the RTD channels.
extern int32_t VL1_AIO_RawChan[10];
extern int32_t VL4_BI_RawChan[16];
extern uint32_t VL5_BO_Readback[16];
extern int32_t VL3_RTD_RawChan[8];

namespace r20 {
void CNFG_CAN2_network();          // the network block, ahead of the node blocks
void CNFG_CAN2_node(RemoteNode n);  // one node supervision block
void CNFG_CAN2_node_outputs(RemoteNode n);  // the transmit PDO of an output node
void CNFG_CAN2_after_nodes();      // NMT state compare and start-up pulse
}  // namespace r20
namespace r80 {
void CNFG_CAN2_start_pulses();
void PWR_UP_MSG_pulses();
}  // namespace r80

void _R80_TASK_12();
void _R80_TASK_18();
// The remote-node pieces of slice 19 of the 20 ms group.
void remote_io_R20_TASK_19();

// ---- the chassis block task ----
void _MASTER_CHASS_2351(long);
int GenRedundantChecksum();

extern uint32_t PreviousLEDStateB;
