// The supervision blocks of the four remote nodes (template told once,
// instances VL_NODE1_AIO, VL_NODE3_RTD_8C, VL_NODE4_BI, VL_NODE5_BO): start of
// the configuration sequence and its supervision steps, periodic reads of
// the error register and temperature, PDO arrival with slip counters, and
// the node's status cells.
#include <cstring>

#include "app/analog/AO_CHANNEL.cells.h"
#include "app/analog/VL1_AIO.cells.h"
#include "app/config/CNFG_CAN2.cells.h"
#include "app/control/IFACE_IN_CASC.cells.h"
#include "app/discrete/DRVR_SCALE.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/config/CNFG_CAN2_nodes.h"
#include "app/discrete/VL5_BO.cells.h"
#include "app/remote_io/remote_io.h"
#include "app/remote_io/RTD_CHANNEL.cells.h"
#include "canopen/canopen_obj_dctn.h"
#include "canopen/canopen_pdo.h"
#include "runtime/sched.h"
#include "canopen/canopen_orsk.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct RemoteNodeBlockStore {
    RemoteNodeBlock n[4];
};
BlockRam<RemoteNodeBlockStore> RemoteNodeBlockRam;
}  // namespace
RemoteNodeBlock (&RemoteNodeBlocks)[4] = RemoteNodeBlockRam.n;

namespace {

constexpr int32_t kPassMs = 20;
constexpr float kUnknownRate = 1.0e38f;
constexpr int16_t kLateSlip = 64;
constexpr int16_t kLostAbove = 128;

// One instance: its cells and what differs between the instances.
struct NodeCells {
    int32_t &NODE_ID, &HT_SCAN_RT;
    uint32_t &INIT_PERM, &ACTIVE, &COMM_FLT_1, &COMM_FLT_2, &NODE_FLT, &NODE_T_ALM;
    int32_t& NODE_TEMP;
    uint32_t &CFG_FAULT, &ID_FAULT;
    int32_t &VENDOR_ID, &PART_NUM, &REV_NUM, &SERIAL_NUM, &NODE_FUNC;
    StrCell &DEVICE_NM, &SW_VER;
    uint32_t* NEW_MSG[kMaxNodePdos];
    float* MSG_RATE[kMaxNodePdos];
    int32_t* LAST_MSG[kMaxNodePdos];
    int32_t* DBS[kMaxNodePdos];
    uint32_t initPulse;
    uint32_t tempReadEnable;  // periodic temperature read (analog node only)
    int pdos;                 // supervised PDOs
    int32_t extraLate;        // added to the slip threshold (RTD node: 100 ms)
    int activeAge;            // PDO whose age decides ACTIVE
};

#define NODE_COMMON(B)                                                                                           \
    c.B##_NODE_ID.ref(), c.B##_HT_SCAN_RT.ref(), c.B##_INIT_PERM.ref(), c.B##_ACTIVE.ref(), c.B##_COMM_FLT_1.ref(), \
        c.B##_COMM_FLT_2.ref(), c.B##_NODE_FLT.ref(), c.B##_NODE_T_ALM.ref(), c.B##_NODE_TEMP.ref(),               \
        c.B##_CFG_FAULT.ref(), c.B##_ID_FAULT.ref(), c.B##_VENDOR_ID.ref(), c.B##_PART_NUM.ref(),                  \
        c.B##_REV_NUM.ref(), c.B##_SERIAL_NUM.ref(), c.B##_NODE_FUNC.ref(), c.B##_DEVICE_NM.ref(), c.B##_SW_VER.ref()
#define PDO(B, M) &c.B##_NEW_MSG_##M.ref()
#define RATE(B, M) &c.B##_MSG_##M##_RATE.ref()
#define LAST(B, M) &c.B##_LAST_MSG_##M.ref()
#define DBS(B, M) &c.B##_DBS_M##M##_P1.ref()

template <class View>
NodeCells node_cells(View& c, RemoteNode n) {
    switch (n) {
        case kNodeAio:
            return {NODE_COMMON(VL_NODE1_AIO),
                    {PDO(VL_NODE1_AIO, 1), PDO(VL_NODE1_AIO, 2), PDO(VL_NODE1_AIO, 3)},
                    {RATE(VL_NODE1_AIO, 1), RATE(VL_NODE1_AIO, 2), RATE(VL_NODE1_AIO, 3)},
                    {LAST(VL_NODE1_AIO, 1), LAST(VL_NODE1_AIO, 2), LAST(VL_NODE1_AIO, 3)},
                    {DBS(VL_NODE1_AIO, 1), DBS(VL_NODE1_AIO, 2), DBS(VL_NODE1_AIO, 3)},
                    c.VL1_INIT_OS_ONE_SHOT,
                    c.VL_NODE1_AIO_NODE_T_EN,
                    3,
                    0,
                    1};
        case kNodeRtd:
            return {NODE_COMMON(VL_NODE3_RTD_8C),
                    {PDO(VL_NODE3_RTD_8C, 1), PDO(VL_NODE3_RTD_8C, 2), nullptr},
                    {RATE(VL_NODE3_RTD_8C, 1), RATE(VL_NODE3_RTD_8C, 2), nullptr},
                    {LAST(VL_NODE3_RTD_8C, 1), LAST(VL_NODE3_RTD_8C, 2), nullptr},
                    {DBS(VL_NODE3_RTD_8C, 1), DBS(VL_NODE3_RTD_8C, 2), nullptr},
                    c.VL3_INIT_OS_ONE_SHOT,
                    0,
                    2,
                    100,
                    0};
        case kNodeBi:
            return {NODE_COMMON(VL_NODE4_BI), {PDO(VL_NODE4_BI, 1)}, {RATE(VL_NODE4_BI, 1)}, {LAST(VL_NODE4_BI, 1)},
                    {DBS(VL_NODE4_BI, 1)}, c.VL4_INIT_OS_ONE_SHOT, 0, 1, 0, 0};
        default:
            return {NODE_COMMON(VL_NODE5_BO), {PDO(VL_NODE5_BO, 1)}, {RATE(VL_NODE5_BO, 1)}, {LAST(VL_NODE5_BO, 1)},
                    {DBS(VL_NODE5_BO, 1)}, c.VL5_INIT_OS_ONE_SHOT, 0, 1, 0, 0};
    }
}

int32_t clamp_scan(int32_t v) { return v < 100 ? 100 : (v > 1000 ? 1000 : v); }

// The RTD channel's sensor word from its resistance and curve texts.
int32_t rtd_config_word(const char* ohm, const char* curve) {
    const bool curveA = std::strcmp(curve, "A") == 0 || std::strcmp(curve, "a") == 0;
    if (std::strcmp(ohm, "100") == 0) return curveA ? 0x100 : 0x101;
    return curveA ? 0x102 : 0x103;
}

// Both ports' PDO bookkeeping back to "nothing heard yet".
void reset_supervision(RemoteNodeBlock& b, NodeCells& k, bool clearArrivals) {
    for (int m = 0; m < kMaxNodePdos; ++m) {
        b.Rate[0][m] = 0.0f;
        b.Rate[1][m] = kUnknownRate;
        b.Late[0][m] = 0;
        b.Late[1][m] = 0;
        b.PDOSlipCount[m] = 0;
        if (clearArrivals) {
            b.RxFlag[0][m] = b.RxFlag[1][m] = 0;
            b.Age[0][m] = b.Age[1][m] = kNeverReceived;
            b.Data[m][0] = b.Data[m][1] = 0;
        }
    }
    b.SDOSlipCount = 0;
    b.Lost[0] = b.Lost[1] = 0;
    k.COMM_FLT_1 = 0;
    k.COMM_FLT_2 = 0;
    b.ErrRegTimer = 0;
    b.TempTimer = 0;
}

void end_sequence(CoOrskNodeData& d, NodeCells& k) {
    d.CurrentSDO = 0;
    d.Status |= ORSK_IDLE;
    k.ID_FAULT = 1;
}

void start_configuration(RemoteNode n, RemoteNodeBlock& b, CoOrskNodeData& d, NodeCells& k,
                         const CO_ORSK_NodeConfig& rec) {
    const int32_t scan = clamp_scan(k.HT_SCAN_RT / 100 * 100);
    for (int32_t& s : d.ScanRate) s = scan;
    d.TxScanRate = scan;
    b.ScanRateInt = scan;
    if ((d.Status & ORSK_IDS_LOADED) != 0) d.NodeId = k.NODE_ID;

    d.Status &= ~ORSK_IDS_LOADED;
    d.ThisPort = 0;
    d.NodeDiag = 0;
    d.SerialNumTmp = 0;
    d.ChanCount = 1;
    d.ChanCnfgSdoCount = 0;
    k.VENDOR_ID = 0;
    k.PART_NUM = 0;
    k.REV_NUM = 0;
    k.SERIAL_NUM = 0;
    str_cell_copy(k.DEVICE_NM, "");
    str_cell_copy(k.SW_VER, "");
    k.NODE_FUNC = 0;
    d.Status &= ~ORSK_IDLE;
    k.CFG_FAULT = 1;
    b.Operational = 0;
    b.RequestSeen = 0;
    b.Started = 0;
    b.ResetPhase = 0;
    k.NODE_TEMP = 0;
    reset_supervision(b, k, true);

    if (n == kNodeRtd) {
        for (int ch = 0; ch < 8; ++ch)
            VL3_RTD_ChanDev[ch] = rtd_config_word(r20::RTD_CHANNEL_ohm_text(ch), r20::RTD_CHANNEL_curve_text(ch));
    }

    if (rec.NmtErrCntrl != nullptr) rec.NmtErrCntrl->BootUpCount = 0;
    k.ID_FAULT = 0;
    d.Status &= ~ORSK_SDO_ERROR;
    d.CurrentSDO = 0;
    // A restart may come in any state, also in the middle of a segmented
    // upload: the client's transfer bits and segment count go with it, so
    // that the new sequence starts clean.
    d.Status &= ~(ORSK_IN_TRANSFER | ORSK_REQUEST | ORSK_SEGMENTS | ORSK_TOGGLE | ORSK_SEGMENT_COUNT);
    d.Status |= ORSK_START;
}

void clear_responses(const CO_ORSK_NodeConfig& rec) {
    if (rec.Sdo != nullptr && rec.Sdo->ResponseData != nullptr) rec.Sdo->ResponseData[0] = 0;
}
uint8_t responses(const CO_ORSK_NodeConfig& rec) {
    return rec.Sdo != nullptr && rec.Sdo->ResponseData != nullptr ? rec.Sdo->ResponseData[0] : 0;
}

// The node reset's outcome (state 15) by the number of boot-ups heard.
void reset_outcome(RemoteNodeBlock& b, CoOrskNodeData& d, NodeCells& k, const CO_ORSK_NodeConfig& rec) {
    uint8_t& boots = rec.NmtErrCntrl->BootUpCount;
    if (b.ResetPhase == 0) {
        if (boots > 1) {
            boots = 0;
            d.CurrentSDO = 14;
            b.ResetPhase = 1;
        } else if (boots == 0) {
            b.Lost[0] = 1;
            end_sequence(d, k);
        } else {
            b.ResetPhase = 2;
            clear_responses(rec);
            d.CurrentSDO = 12;
        }
        boots = 0;
    } else if (b.ResetPhase == 1) {
        if (boots == 0) b.Lost[0] = 1;
        if (boots == 1) {
            clear_responses(rec);
            d.CurrentSDO = 12;
        } else {
            end_sequence(d, k);
        }
        boots = 0;
    }
}

}  // namespace

namespace r20 {

void CNFG_CAN2_node(RemoteNode n) {
    auto& c = CNFG_CAN2;
    NodeCells k = node_cells(c, n);
    RemoteNodeBlock& b = RemoteNodeBlocks[n];
    CoOrskNodeData& d = *CoOrskNodeData4[n];
    const CO_ORSK_NodeConfig& rec = *CoOrskNodeRecords[n];

    add_ms_saturated(d.Timer, kPassMs);

    if (c.VL_RST_OR != 0) {
        if (b.ResetLatch == 0 && (d.Status & ORSK_IDLE) != 0) {
            b.ResetLatch = 1;
            b.RequestSeen = 0;
            b.Started = 0;
            reset_supervision(b, k, false);
            d.Status &= ~ORSK_SDO_ERROR;
        }
    } else {
        b.ResetLatch = 0;
        b.CommReset[0] = b.CommReset[1] = 0;
    }

    if (k.INIT_PERM == 0) d.Status &= ~ORSK_IDS_LOADED;

    if (CNFG_CAN2_CAN2_NTW1_2357_NtwEnabled != 0) {
        bool start = false;
        if (k.INIT_PERM != 0) {
            if (k.initPulse != 0 && b.InitLatch == 0) {
                b.InitLatch = 1;
                start = true;
            }
            if ((d.Status & ORSK_IDS_LOADED) != 0) start = true;
        }
        if (start) start_configuration(n, b, d, k, rec);
        if (k.initPulse == 0) b.InitLatch = 0;
    }

    for (int m = 0; m < k.pdos; ++m) *k.NEW_MSG[m] = bk::OR({b.RxFlag[0][m], b.RxFlag[1][m]});

    const bool idle = (d.Status & ORSK_IDLE) != 0;
    if (k.COMM_FLT_1 == 0) {
        if (d.CurrentSDO == 2) {
            b.ErrRegTimer = 0;
            d.CurrentSDO = 0;
        }
        const bool mayRead = idle && d.CurrentSDO != 1 && d.CurrentSDO != 5 && k.CFG_FAULT == 0 && k.ID_FAULT == 0;
        if (mayRead) {
            b.ErrRegTimer += kPassMs;
            if (b.ErrRegTimer > 999) d.CurrentSDO = 1;
        }
        if (mayRead && k.tempReadEnable != 0 && d.CurrentSDO != 1) {
            b.TempTimer += kPassMs;
            if (b.TempTimer > 999) d.CurrentSDO = 5;
        }
        k.NODE_FLT = (d.NodeDiag & 1u) != 0 ? 1u : 0u;
        k.NODE_T_ALM = (d.NodeDiag & 8u) != 0 ? 1u : 0u;
        if (d.CurrentSDO == 6) {
            b.TempTimer = 0;
            d.CurrentSDO = 0;
            k.NODE_TEMP = static_cast<int32_t>(d.NodeTemp) - 40;
        }
    }

    for (int m = 0; m < k.pdos; ++m) {
        int16_t& slip = b.PDOSlipCount[m];
        if (b.RxFlag[0][m] != 0) {
            b.RxFlag[0][m] = 0;
            if (slip > 0) --slip;
            if (b.Age[0][m] != kNeverReceived)
                b.Rate[0][m] = (9.0f * b.Rate[0][m] + static_cast<float>(b.Age[0][m] + kPassMs)) / 10.0f;
            b.Age[0][m] = 0;
            b.Late[0][m] = 0;
        } else {
            if (b.Age[0][m] != kNeverReceived) add_ms_saturated(b.Age[0][m], kPassMs);
            if (b.Operational != 0 && b.Lost[0] == 0 && k.CFG_FAULT == 0) {
                b.Late[0][m] += kPassMs;
                if (b.Late[0][m] > clamp_scan(d.ScanRate[m]) + k.extraLate) {
                    slip = static_cast<int16_t>(slip + kLateSlip);
                    b.Late[0][m] = 0;
                }
            } else {
                slip = 0;
                b.Late[0][m] = 0;
            }
        }
        if (slip > kLostAbove) b.Lost[0] = 1;
    }

    if (idle && d.CurrentSDO != 12 && d.CurrentSDO != 13 && b.Lost[0] != 0) {
        const uint8_t p = d.ThisPort;
        if (p == 0x11 || p == 0x22 || p == 0x10 || p == 0)
            k.COMM_FLT_1 = 1;
        else
            k.COMM_FLT_2 = 1;
    }

    for (int m = 0; m < k.pdos; ++m) {
        *k.DBS[m] = b.PDOSlipCount[m];
        if (b.Lost[0] != 0) b.Rate[0][m] = b.Rate[1][m] + 100.0f;
        if (b.Lost[1] != 0) b.Rate[1][m] = b.Rate[0][m] + 100.0f;
        *k.MSG_RATE[m] = bk::A_MIN(b.Rate[0][m], b.Rate[1][m]);
        *k.LAST_MSG[m] = b.Age[0][m] < b.Age[1][m] ? b.Age[0][m] : b.Age[1][m];
    }
    k.ACTIVE = b.Lost[0] == 0 && b.Operational != 0 && 3 * d.ScanRate[0] > *k.LAST_MSG[k.activeAge] ? 1u : 0u;
    if (n == kNodeBo && k.ACTIVE == 0) b.Data[0][0] = 65535;

    if (idle) {
        if (rec.NmtErrCntrl->BootUpCount != 0) k.ID_FAULT = 1;
        return;
    }
    if (d.CurrentSDO == 15) reset_outcome(b, d, k, rec);
    if (d.CurrentSDO == 13) {
        if (responses(rec) > 1) {
            end_sequence(d, k);
            clear_responses(rec);
        }
        if (k.ID_FAULT == 0) d.CurrentSDO = 16;
    }
    if (d.CurrentSDO == 17) {
        if (b.Lost[0] != 0) {
            d.CurrentSDO = 18;
        } else if (d.ThisPort != 1) {
            end_sequence(d, k);
        } else {
            d.CurrentSDO = 10;
            d.NibbleB = (d.NibbleB & 0x0FFFFFFFu) | (NIB_DONE << 28);
            d.ThisPort = static_cast<uint8_t>((d.ThisPort & 0x0F) + 0x10);
            b.PortInt = d.ThisPort;
        }
    }
    if (d.CurrentSDO == 10) d.CurrentSDO = 18;
    if (d.CurrentSDO == 38) {
        d.CurrentSDO = 0;
        d.Status |= ORSK_IDLE;
    }
    if ((d.Status & ORSK_SDO_ERROR) != 0) b.Lost[0] = 1;
}

}  // namespace r20

namespace r20 {

// The analog node's output commands (TPDO 1) or the relay node's relay word
// (TPDO 2), sent with the 20 ms watchdog byte once per scan period while the
// node is operational and sound.
void CNFG_CAN2_node_outputs(RemoteNode n) {
    auto& c = CNFG_CAN2;
    RemoteNodeBlock& b = RemoteNodeBlocks[n];
    const CoOrskNodeData& d = *CoOrskNodeData4[n];
    uint8_t* tx;
    uint32_t enable, cfgFault;
    uint8_t pdo;
    uint16_t length;
    if (n == kNodeAio) {
        b.TxWord = (static_cast<uint32_t>(VL1_AIO_AoCommand[0]) & 0xFFFFu) |
                   (static_cast<uint32_t>(VL1_AIO_AoCommand[1]) & 0xFFFFu) << 16;
        tx = &COBFifoTx[0];
        tx[0] = static_cast<uint8_t>(b.TxWord);
        tx[1] = static_cast<uint8_t>(b.TxWord >> 8);
        tx[2] = static_cast<uint8_t>(b.TxWord >> 16);
        tx[3] = static_cast<uint8_t>(b.TxWord >> 24);
        enable = c.VL1_ENABLE_AND;
        cfgFault = c.VL_NODE1_AIO_CFG_FAULT;
        pdo = 1;
        length = 5;
    } else {
        const auto& o = VL5_BO;
        const uint32_t relays[16] = {o.BOUT_01_DISPLAY, o.BOUT_02_DISPLAY, o.BOUT_03_DISPLAY, o.BOUT_04_DISPLAY,
                                     o.BOUT_05_DISPLAY, o.BOUT_06_DISPLAY, o.BOUT_07_DISPLAY, o.BOUT_08_DISPLAY,
                                     o.BOUT_09_DISPLAY, o.BOUT_10_DISPLAY, o.BOUT_11_DISPLAY, o.BOUT_12_DISPLAY,
                                     o.BOUT_13_DISPLAY, o.BOUT_14_DISPLAY, o.BOUT_15_DISPLAY, o.BOUT_16_DISPLAY};
        b.TxWord = 0;
        for (int r = 0; r < 16; ++r)
            if (relays[r] != 0) b.TxWord |= 1u << r;
        tx = &COBFifoTx[kTxPdoStride];
        tx[0] = static_cast<uint8_t>(b.TxWord);
        tx[1] = static_cast<uint8_t>(b.TxWord >> 8);
        enable = c.VL5_ENABLE_AND;
        cfgFault = c.VL_NODE5_BO_CFG_FAULT;
        pdo = 2;
        length = 3;
    }
    if (b.TxTimer >= d.TxScanRate) {
        b.TxTimer = 0;
        if (cfgFault == 0 && b.Lost[0] == 0 && enable != 0 && b.Operational != 0) {
            tx[length - 1] = vl_R20_watchdog;
            CanOpenSendPdoNow(1, pdo, length);
        }
    }
    b.TxTimer += kPassMs;
}

}  // namespace r20

// Slice 19 of the 20 ms group: the remote analog outputs' readback alarms,
// the network block, the node blocks with the output nodes' transmit PDOs,
// the NMT state compare, the self-powered actuator's start-up ramp, the
// interface copies of the analog-input faults and the remote speed setpoint
// with the average speed, then the remote analog
// outputs' signals and output stages (the commands the next pass sends).
void remote_io_R20_TASK_19() {
    using namespace r20;
    for (int k = kAoFirstRemote; k < kAoAllChannels; ++k) AO_CHANNEL_alarm(k);
    CNFG_CAN2_network();
    CNFG_CAN2_node(kNodeRtd);
    CNFG_CAN2_node(kNodeBi);
    CNFG_CAN2_node(kNodeAio);
    CNFG_CAN2_node_outputs(kNodeAio);
    CNFG_CAN2_node(kNodeBo);
    CNFG_CAN2_node_outputs(kNodeBo);
    CNFG_CAN2_after_nodes();
    DRVR_SCALE_ramp();
    IFACE_IN_CASC_faults();
    IFACE_IN_SPEED_inputs();
    for (int n = 0; n < kVl1AioOutputs; ++n) {
        AO_CHANNEL_signal(kAoFirstRemote + n);
        VL1_AIO_output(n);
    }
}
