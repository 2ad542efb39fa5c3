// The constant records of the four remote I/O nodes and the items they point
// to, and the nodes' start-up values.
#include "app/config/CNFG_CAN2_nodes.h"

#include <cstring>
#include <iterator>

#include "app/config/CNFG_CAN2.cells.h"
#include "app/remote_io/remote_io.h"
#include "canopen/canopen_obj_dctn.h"
#include "runtime/can_startup.h"

CoOrskNodeData CNFG_CAN2_VL_NODE1_AIO_2416, CNFG_CAN2_VL_NODE3_RTD_8C_2421, CNFG_CAN2_VL_NODE4_BI_2425,
    CNFG_CAN2_VL_NODE5_BO_2429;
CoOrskNodeData* const CoOrskNodeData4[4] = {&CNFG_CAN2_VL_NODE1_AIO_2416, &CNFG_CAN2_VL_NODE3_RTD_8C_2421,
                                            &CNFG_CAN2_VL_NODE4_BI_2425, &CNFG_CAN2_VL_NODE5_BO_2429};
int32_t VL3_RTD_ChanDev[8];
int32_t VL3_RTD_ChanUnits[8];

namespace {

constexpr uint32_t kSyncRate = 160000;
constexpr int32_t kRtdUnitWord = 0x2D0000;

// A node's channel table; its record's channel count says how many rows are used.
struct ChanTable {
    CO_ORSK_ChanVars v[std::size(CoOrskNodeData{}.ChanValue)];
    explicit ChanTable(CoOrskNodeData& d) {
        for (size_t c = 0; c < std::size(v); ++c) v[c] = {&d.ChanValue[c], &d.ChanStatus[c], &d.ChanFault[c]};
    }
};
ChanTable aioChans(CNFG_CAN2_VL_NODE1_AIO_2416);
ChanTable rtdChans(CNFG_CAN2_VL_NODE3_RTD_8C_2421);
ChanTable biChans(CNFG_CAN2_VL_NODE4_BI_2425);
ChanTable boChans(CNFG_CAN2_VL_NODE5_BO_2429);

int32_t* const aioMsgInfo[3] = {&CNFG_CAN2_VL_NODE1_AIO_2416.ScanRate[0], &CNFG_CAN2_VL_NODE1_AIO_2416.ScanRate[1],
                                &CNFG_CAN2_VL_NODE1_AIO_2416.ScanRate[2]};
int32_t* const rtdMsgInfo[3] = {&CNFG_CAN2_VL_NODE3_RTD_8C_2421.ScanRate[0],
                                &CNFG_CAN2_VL_NODE3_RTD_8C_2421.ScanRate[1],
                                &CNFG_CAN2_VL_NODE3_RTD_8C_2421.ScanRate[2]};
int32_t* const biMsgInfo[3] = {&CNFG_CAN2_VL_NODE4_BI_2425.ScanRate[0], &CNFG_CAN2_VL_NODE4_BI_2425.ScanRate[1],
                               &CNFG_CAN2_VL_NODE4_BI_2425.ScanRate[2]};
int32_t* const boMsgInfo[3] = {&CNFG_CAN2_VL_NODE5_BO_2429.ScanRate[0], &CNFG_CAN2_VL_NODE5_BO_2429.ScanRate[1],
                               &CNFG_CAN2_VL_NODE5_BO_2429.ScanRate[2]};
int32_t* const aioTxInfo[1] = {&CNFG_CAN2_VL_NODE1_AIO_2416.TxScanRate};
int32_t* const rtdTxInfo[1] = {&CNFG_CAN2_VL_NODE3_RTD_8C_2421.TxScanRate};
int32_t* const biTxInfo[1] = {&CNFG_CAN2_VL_NODE4_BI_2425.TxScanRate};
int32_t* const boTxInfo[1] = {&CNFG_CAN2_VL_NODE5_BO_2429.TxScanRate};

// Channel-major: sensor word, then unit word, of channels 1 .. 8.
int32_t* const rtdChanConfig[16] = {
    &VL3_RTD_ChanDev[0], &VL3_RTD_ChanUnits[0], &VL3_RTD_ChanDev[1], &VL3_RTD_ChanUnits[1],
    &VL3_RTD_ChanDev[2], &VL3_RTD_ChanUnits[2], &VL3_RTD_ChanDev[3], &VL3_RTD_ChanUnits[3],
    &VL3_RTD_ChanDev[4], &VL3_RTD_ChanUnits[4], &VL3_RTD_ChanDev[5], &VL3_RTD_ChanUnits[5],
    &VL3_RTD_ChanDev[6], &VL3_RTD_ChanUnits[6], &VL3_RTD_ChanDev[7], &VL3_RTD_ChanUnits[7]};

int32_t* cellI(const cat::Cell<int32_t>& c) { return &c.ref(); }
uint32_t* cellB(const cat::Cell<uint32_t>& c) { return &c.ref(); }
char* cellC(const cat::Cell<StrCell>& c) { return c.ref().s; }

}  // namespace

#define ORSK_RECORD(NODE, DATA, SDO, NMT, MSG, TX, CONFIG, CHANS, CODE, COUNT)                                        \
    {&SDO, &NMT, MSG, TX, &DATA.Timer, &DATA.Status, cellI(cells::CNFG_CAN2.NODE##_VENDOR_ID),                       \
     cellI(cells::CNFG_CAN2.NODE##_PART_NUM), cellI(cells::CNFG_CAN2.NODE##_REV_NUM),                               \
     cellI(cells::CNFG_CAN2.NODE##_SERIAL_NUM), &DATA.SerialNumTmp, cellI(cells::CNFG_CAN2.NODE##_NODE_FUNC),        \
     &DATA.NibbleA, &DATA.NibbleB, &DATA.MsgSdoStat, &DATA.NodeId, CONFIG, CHANS.v, kSyncRate,                     \
     cellC(cells::CNFG_CAN2.NODE##_SW_VER), cellC(cells::CNFG_CAN2.NODE##_DEVICE_NM),                               \
     cellB(cells::CNFG_CAN2.NODE##_CFG_FAULT), cellB(cells::CNFG_CAN2.NODE##_ID_FAULT), CODE, COUNT,                \
     &DATA.ChanCount, &DATA.ChanCnfgSdoCount, &DATA.ThisPort, &DATA.NodeDiag, &DATA.CurrentSDO, &DATA.NodeTemp}

const CO_ORSK_NodeConfig CO_ORSK_CNFG_CAN2_VL_NODE1_AIO_2416 =
    ORSK_RECORD(VL_NODE1_AIO, CNFG_CAN2_VL_NODE1_AIO_2416, cSdo1B, NmtErrCntrlSt1B, aioMsgInfo, aioTxInfo, nullptr,
                aioChans, 0x6001, 10);
const CO_ORSK_NodeConfig CO_ORSK_CNFG_CAN2_VL_NODE3_RTD_8C_2421 =
    ORSK_RECORD(VL_NODE3_RTD_8C, CNFG_CAN2_VL_NODE3_RTD_8C_2421, cSdo2B, NmtErrCntrlSt2B, rtdMsgInfo, rtdTxInfo,
                rtdChanConfig, rtdChans, 0x1001, 8);
const CO_ORSK_NodeConfig CO_ORSK_CNFG_CAN2_VL_NODE4_BI_2425 =
    ORSK_RECORD(VL_NODE4_BI, CNFG_CAN2_VL_NODE4_BI_2425, cSdo3B, NmtErrCntrlSt3B, biMsgInfo, biTxInfo, nullptr,
                biChans, 0x5001, 16);
const CO_ORSK_NodeConfig CO_ORSK_CNFG_CAN2_VL_NODE5_BO_2429 =
    ORSK_RECORD(VL_NODE5_BO, CNFG_CAN2_VL_NODE5_BO_2429, cSdo4B, NmtErrCntrlSt4B, boMsgInfo, boTxInfo, nullptr,
                boChans, 0x4001, 16);

const CO_ORSK_NodeConfig* const CoOrskNodeRecords[4] = {
    &CO_ORSK_CNFG_CAN2_VL_NODE1_AIO_2416, &CO_ORSK_CNFG_CAN2_VL_NODE3_RTD_8C_2421, &CO_ORSK_CNFG_CAN2_VL_NODE4_BI_2425,
    &CO_ORSK_CNFG_CAN2_VL_NODE5_BO_2429};

namespace {

// The block cells that block initialisation sets, per node.
struct NodeInitCells {
    int32_t& nodeId;
    StrCell &deviceName, &swVersion;
    uint32_t& cfgFault;
    int32_t* lastMsg[3];
};

NodeInitCells node_init_cells(RemoteNode n) {
    auto& c = cells::CNFG_CAN2;
    switch (n) {
        case kNodeAio:
            return {c.VL_NODE1_AIO_NODE_ID.ref(), c.VL_NODE1_AIO_DEVICE_NM.ref(), c.VL_NODE1_AIO_SW_VER.ref(),
                    c.VL_NODE1_AIO_CFG_FAULT.ref(),
                    {&c.VL_NODE1_AIO_LAST_MSG_1.ref(), &c.VL_NODE1_AIO_LAST_MSG_2.ref(),
                     &c.VL_NODE1_AIO_LAST_MSG_3.ref()}};
        case kNodeRtd:
            return {c.VL_NODE3_RTD_8C_NODE_ID.ref(), c.VL_NODE3_RTD_8C_DEVICE_NM.ref(), c.VL_NODE3_RTD_8C_SW_VER.ref(),
                    c.VL_NODE3_RTD_8C_CFG_FAULT.ref(),
                    {&c.VL_NODE3_RTD_8C_LAST_MSG_1.ref(), &c.VL_NODE3_RTD_8C_LAST_MSG_2.ref(), nullptr}};
        case kNodeBi:
            return {c.VL_NODE4_BI_NODE_ID.ref(), c.VL_NODE4_BI_DEVICE_NM.ref(), c.VL_NODE4_BI_SW_VER.ref(),
                    c.VL_NODE4_BI_CFG_FAULT.ref(), {&c.VL_NODE4_BI_LAST_MSG_1.ref(), nullptr, nullptr}};
        default:
            return {c.VL_NODE5_BO_NODE_ID.ref(), c.VL_NODE5_BO_DEVICE_NM.ref(), c.VL_NODE5_BO_SW_VER.ref(),
                    c.VL_NODE5_BO_CFG_FAULT.ref(), {&c.VL_NODE5_BO_LAST_MSG_1.ref(), nullptr, nullptr}};
    }
}

}  // namespace

void CNFG_CAN2_node_init_blk(RemoteNode n) {
    CoOrskNodeData& d = *CoOrskNodeData4[n];
    NodeInitCells k = node_init_cells(n);
    const uint32_t objects = n == kNodeRtd ? 2u : 0u;
    d.Status = ORSK_IDLE | (1u << ORSK_CONTROLLER_SHIFT) | (objects << ORSK_OBJECTS_SHIFT);
    d.CurrentSDO = 0;
    d.NibbleA = 0;
    d.NibbleB = 0;
    d.NodeId = k.nodeId;
    d.ThisPort = 0;
    d.NodeDiag = 0;
    d.ChanCount = 1;  // the channel cursor counts from 1
    str_cell_copy(k.deviceName, "");
    str_cell_copy(k.swVersion, "");
    k.cfgFault = 1;  // not yet configured: no start before a configuration
    RemoteNodeBlock& b = RemoteNodeBlocks[n];
    for (int m = 0; m < kMaxNodePdos; ++m) {
        b.Age[0][m] = b.Age[1][m] = kNeverReceived;
        if (k.lastMsg[m] != nullptr) *k.lastMsg[m] = kNeverReceived;
        b.Rate[0][m] = 0.0f;
        b.Rate[1][m] = 1.0e38f;
        b.PDOSlipCount[m] = 0;
    }
    b.SDOSlipCount = 0;
    if (n == kNodeRtd)
        for (int32_t& u : VL3_RTD_ChanUnits) u = kRtdUnitWord;
    if (n == kNodeAio || n == kNodeBo) {
        uint8_t* tx = &COBFifoTx[n == kNodeAio ? 0 : kTxPdoStride];
        for (int i = 0; i < kTxPdoStride; ++i) tx[i] = 0;
    }
}
