#include "runtime/can_startup.h"

#include "app/config/CNFG_CAN2.cells.h"
#include "app/remote_io/remote_io.h"

#include "canopen/canopen_obj_dctn.h"
#include "canopen/canopen_orsk.h"
#include "host/vkboard.h"
#include "app/config/CNFG_CAN2.cells.h"

CanOpenImage COImagesApp;
uint32_t COisused[4];

RxPdoBufferDesc RxPdoBufferArrayB;
PdoTimerEntry RxPdoTimerB[9], TxPdoTimerB[9], ConsumerHeartbeatTimerB[9];
TimerArray RxPdoTimerArrayB, TxPdoTimerArrayB, ConsumerHeartbeatTimerArrayB;
TimersStruct TimersStructB;

uint8_t BFifoRx[20 * kRxFifoSlotBytes];
uint8_t* pBFifoRx[20];
uint8_t BFifoTx[9 * kTxFifoSlotBytes];
uint8_t* pBFifoTx[9];

CanControllerMemoryLayout CANControllerMemory;
static_assert(offsetof(CanControllerMemoryLayout, ControllerB) == 48);

NmtErrCntrlRecord NmtErrCntrlSt1B, NmtErrCntrlSt2B, NmtErrCntrlSt3B, NmtErrCntrlSt4B;
NmtErrCtrlEntry CANOpenBNmtErrProfileArea[5] = {
    {0, &NmtErrCntrlSt1B},
    {1, &NmtErrCntrlSt2B},
    {2, &NmtErrCntrlSt3B},
    {3, &NmtErrCntrlSt4B},
    {0xFFFF, reinterpret_cast<NmtErrCntrlRecord*>(~static_cast<uintptr_t>(0))},
};
IdTableEntry IdTableB[20];
CanFrame NmtCanMessageBufferB;

void init_can_protocols() {
    COisused[1] = 0;
    SyncCobIdB = 128;

    RxPdoBufferArrayB = {kNumRxPdos, RxPdoBufferB};
    RxPdoTimerArrayB = {9, RxPdoTimerB};
    TxPdoTimerArrayB = {6, TxPdoTimerB};
    ConsumerHeartbeatTimerArrayB = {9, ConsumerHeartbeatTimerB};
    TimersStructB.ConsumerHeartbeat = &ConsumerHeartbeatTimerArrayB;
    TimersStructB.TxPdo = &TxPdoTimerArrayB;
    TimersStructB.RxPdo = &RxPdoTimerArrayB;

    MSCANShutdown();
    MSCANInit(2, &CANControllerMemory);
    VKCanLed1Off();
    VKCanLed2Off();

    CanOpenImage& img = COImagesApp;
    img.ControllerId = 255;
    img.NodeId = 255;
    COisused[1] = 1;
    CNFG_CAN2_CAN2_NTW1_2357_NtwEnabled = 1;

    img.ControllerParams = &CANControllerMemory.ControllerB;
    img.Timers = &TimersStructB;
    img.RxPdoBufferArray = &RxPdoBufferArrayB;
    img.ObjectDictionary = CANOpenBCommProfileArea.data();
    img.OdCount = kOdCount;
    img.NmtErrCtrlTable = CANOpenBNmtErrProfileArea;
    img.NmtErrCtrlCount = 5;
    img.IdTable = IdTableB;
    img.RxPdoCallback = CallBackBHandler;
    img.RemotePort = 0;

    img.FifoParamsRx = {BFifoRx, pBFifoRx, 20, kRxFifoSlotBytes, 0, 0, 0, nullptr};
    img.FifoParamsTx = {BFifoTx, pBFifoTx, 9, kTxFifoSlotBytes, 0, 0, 0, nullptr};
    img.RxAltCallback = CallbackAltHandlerRxB;

    CanOpenInit(&COImagesApp, 1);
}

// Puts a node id into a COB-id: the 7-bit node part is replaced, the function bits kept.
static uint32_t withNode(uint32_t cob, int32_t node) {
    return (cob & 0x780u) | (static_cast<uint32_t>(node) & 127u);
}

void CNFG_CAN2_CAN2_NTW1_2357_InitForCopenReset() {
    const auto& net = cells::CNFG_CAN2;
    const int32_t own = net.CAN2_NTW1_NODE_ID;
    const int32_t ids[4] = {net.VL_NODE1_AIO_NODE_ID, net.VL_NODE3_RTD_8C_NODE_ID, net.VL_NODE4_BI_NODE_ID,
                            net.VL_NODE5_BO_NODE_ID};

    Sdo1B.CobIdClientToServer = withNode(Sdo1B.CobIdClientToServer, own);
    Sdo1B.CobIdServerToClient = withNode(Sdo1B.CobIdServerToClient, own);
    cells::CNFG_CAN2.CAN2_NTW1_RCV_MASK = 0;

    CanOpenImage& img = COImagesApp;
    img.ControllerId = 1;
    img.TimerPeriod = 20000;
    switch (net.CAN2_NTW1_CAN_BAUD) {
        case 0: img.BaudRate = 125; break;
        case 1: img.BaudRate = 250; break;
        case 2: img.BaudRate = 500; break;
        case 3: img.BaudRate = 1000; break;
        default: break;
    }
    img.NmtState = NMT_INITIALISING;
    img.NodeId = static_cast<uint8_t>(own);
    img.Errors = 0;
    img.BusOff = 0;

    SdoParams* clients[4] = {&cSdo1B, &cSdo2B, &cSdo3B, &cSdo4B};
    NmtErrCntrlRecord* heartbeats[4] = {&NmtErrCntrlSt1B, &NmtErrCntrlSt2B, &NmtErrCntrlSt3B, &NmtErrCntrlSt4B};
    for (int k = 0; k < 4; ++k) {
        clients[k]->CobIdClientToServer = withNode(clients[k]->CobIdClientToServer, ids[k]);
        clients[k]->CobIdServerToClient = withNode(clients[k]->CobIdServerToClient, ids[k]);
        clients[k]->NodeId = static_cast<uint8_t>(ids[k]);
        heartbeats[k]->CobId = 0x700u + static_cast<uint32_t>(ids[k]);
        *CoOrskNodeRecords[k]->Status |= ORSK_IDS_LOADED;
    }

    const uint8_t ownLow = static_cast<uint8_t>(own & 0xFF);
    auto setPdo = [](PdoCommParams& rec, uint32_t cob, uint8_t node, uint8_t pdo, int tx) {
        rec.CobId = cob;
        rec.Configured = 1;
        rec.TransmissionType = 254;
        CanOpenChangeCobId(1, node, pdo, tx, cob);
    };
    const uint32_t id1 = static_cast<uint32_t>(ids[0]), id2 = static_cast<uint32_t>(ids[1]),
                   id3 = static_cast<uint32_t>(ids[2]), id4 = static_cast<uint32_t>(ids[3]);
    setPdo(TxPdoCommunicationTableB0, 0x500 + id1, static_cast<uint8_t>(id1), 1, 1);
    TxPdoMappingParmsB0.Entries = 5;
    RxPdoCommunicationTableB0.TransmissionType = 254;
    setPdo(RxPdoCommunicationTableB1, 0x280 + id1, ownLow, 2, 0);
    setPdo(RxPdoCommunicationTableB2, 0x380 + id1, ownLow, 3, 0);
    setPdo(RxPdoCommunicationTableB3, 0x480 + id1, ownLow, 4, 0);
    RxPdoCommunicationTableB4.TransmissionType = 254;
    setPdo(RxPdoCommunicationTableB5, 0x280 + id2, ownLow, 6, 0);
    setPdo(RxPdoCommunicationTableB6, 0x380 + id2, ownLow, 7, 0);
    setPdo(RxPdoCommunicationTableB7, 0x180 + id3, ownLow, 8, 0);
    setPdo(TxPdoCommunicationTableB1, 0x200 + id4, static_cast<uint8_t>(id4), 2, 1);
    TxPdoMappingParmsB1.Entries = 3;
    setPdo(RxPdoCommunicationTableB8, 0x180 + id4, ownLow, 9, 0);

    int n = 0;
    IdTableB[n++] = {SyncCobIdB, 6, ID_KIND_SDO};
    IdTableB[n++] = {Sdo1B.CobIdClientToServer, 11, ID_KIND_SDO};
    for (int k = 0; k < 4; ++k)
        IdTableB[n++] = {clients[k]->CobIdServerToClient, static_cast<uint16_t>(12 + k), ID_KIND_SDO};
    for (int k = 0; k < kNumRxPdos; ++k)
        IdTableB[n++] = {RxPdoCommunicationTablesB[k]->CobId, static_cast<uint16_t>(16 + k), ID_KIND_RXPDO};
    for (int k = 0; k < 4; ++k)
        IdTableB[n++] = {TxPdoCommunicationTablesB[k]->CobId, static_cast<uint16_t>(34 + k), ID_KIND_TXPDO};
    IdTableB[n++] = {0xFFFFFFFFu, 255, 255};
    can_sort(20, IdTableB);
    img.IdTableCount = 20;
    cells::CNFG_CAN2.CAN2_NTW1_RCV_MASK = -1;
}

int CallBackBHandler(const CoCallbackEvent* event) {
    if (event != nullptr && event->Kind == CO_EVENT_RPDO && event->PdoNumber >= 1 && event->PdoNumber <= kNumRxPdos)
        RxPdoBufferB[event->PdoNumber - 1][0] = 1;
    return 0;
}

int CallbackAltHandlerRxB(const CoCallbackEvent*) { return 0; }

// Bubble sort ascending by COB-id: each run moves the largest remaining row to
// the end of the unsorted part; it stops after a run without an exchange.
void can_sort(int count, IdTableEntry* table) {
    for (int bound = count - 1; bound > 0; --bound) {
        bool exchanged = false;
        for (int i = 0; i < bound; ++i) {
            if (table[i].CobId > table[i + 1].CobId) {
                const IdTableEntry t = table[i];
                table[i] = table[i + 1];
                table[i + 1] = t;
                exchanged = true;
            }
        }
        if (!exchanged) return;
    }
}
