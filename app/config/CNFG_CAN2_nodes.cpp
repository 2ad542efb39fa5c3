// The constant records of the four remote I/O nodes and the items they point
// to, and the nodes' start-up values.
#include "app/config/CNFG_CAN2_nodes.h"

#include <cstring>
#include <iterator>

#include "app/config/CNFG_CAN2.cells.h"
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

void CNFG_CAN2_nodes_init_blks() {
    const auto& c = cells::CNFG_CAN2;
    const int32_t ids[4] = {c.VL_NODE1_AIO_NODE_ID, c.VL_NODE3_RTD_8C_NODE_ID, c.VL_NODE4_BI_NODE_ID,
                            c.VL_NODE5_BO_NODE_ID};
    for (int k = 0; k < 4; ++k) {
        CoOrskNodeData& d = *CoOrskNodeData4[k];
        const uint32_t objects = k == 1 ? 2u : 0u;
        d.Status = ORSK_IDLE | (1u << ORSK_CONTROLLER_SHIFT) | (objects << ORSK_OBJECTS_SHIFT);
        d.CurrentSDO = 0;
        d.NibbleA = 0;
        d.NibbleB = 0;
        d.NodeId = ids[k];
        d.ThisPort = 0;
        d.NodeDiag = 0;
        d.ChanCount = 1;  // the channel cursor counts from 1
    }
    for (int32_t& u : VL3_RTD_ChanUnits) u = kRtdUnitWord;
}
