#include "canopen/canopen.h"

#include <cstdio>
#include <cstring>

#include "canopen/canopen_mscan.h"
#include "canopen/canopen_pdo.h"
#include "canopen/canopen_sdo.h"
#include "host/vxworks.h"

CanOpenImage* CanOpenImages = nullptr;
uint8_t CanOpenNumImages = 0;

// ---- Registry ----

void CanOpenInit(CanOpenImage* images, uint8_t count) {
    CanOpenImages = images;
    CanOpenNumImages = count;
}

CanOpenImage* GetCanOpenImage(uint8_t controllerId) {
    if (CanOpenImages == nullptr) return nullptr;
    for (uint8_t i = 0; i < CanOpenNumImages; ++i)
        if (CanOpenImages[i].ControllerId == controllerId) return &CanOpenImages[i];
    return nullptr;
}

CanOpenImage* GetOpenCanOpenImage(uint8_t controllerId) {
    CanOpenImage* img = GetCanOpenImage(controllerId);
    return img != nullptr && img->Open == 1 ? img : nullptr;
}

// ---- Open and close ----

static bool fifoUsable(const FifoParams& f, uint16_t slotBytes) {
    return f.Storage != nullptr && f.Slots != nullptr && f.Count >= 2 && f.Size == slotBytes;
}

int CanOpenOpen(uint8_t controllerId) {
    CanOpenImage* img = GetCanOpenImage(controllerId);
    if (img == nullptr) return -1;
    if (img->NodeId < 1 || img->NodeId > 127) return -1;
    const OdEntry* od = img->ObjectDictionary;
    img->OdPosSdoServer = GetIndex2OdEntry(od, img->OdCount, 0x1200);
    img->OdPosSdoClient = GetIndex2OdEntry(od, img->OdCount, 0x1280);
    img->OdPosRxPdoComm = GetIndex2OdEntry(od, img->OdCount, 0x1400);
    img->OdPosRxPdoMap = GetIndex2OdEntry(od, img->OdCount, 0x1600);
    img->OdPosTxPdoComm = GetIndex2OdEntry(od, img->OdCount, 0x1800);
    img->OdPosTxPdoMap = GetIndex2OdEntry(od, img->OdCount, 0x1A00);
    // The FIFOs copy whole slots of these sizes; anything else cannot carry a frame.
    if (!fifoUsable(img->FifoParamsRx, kRxFifoSlotBytes) || !fifoUsable(img->FifoParamsTx, kTxFifoSlotBytes))
        return -1;
    if (FifoInit(&img->FifoParamsRx) != 0 || FifoOpen(&img->FifoParamsRx) != 0) return -1;
    if (FifoInit(&img->FifoParamsTx) != 0 || FifoOpen(&img->FifoParamsTx) != 0) return -1;
    CanOpenDriverAttachGetCanOpenImageCallBack(GetCanOpenImage);
    if (CanOpenDriverOpen(img, 0) != img->ControllerId) return -1;
    img->Open = 1;
    ProcessSlaveNmtStateTransition01(controllerId);
    return 0;
}

int CanOpenClose(uint8_t controllerId) {
    CanOpenImage* img = GetCanOpenImage(controllerId);
    if (img == nullptr) return -1;
    img->Open = 0;
    return CanOpenDriverClose(img) == 0 ? 0 : -1;
}

// ---- Network pass ----

int CanOpen(uint8_t controllerId, int /*periodMs*/) {
    CanOpenImage* img = GetOpenCanOpenImage(controllerId);
    if (img == nullptr) return -1;
    CanOpenDriverUpdateFlags(img);
    int n = img->RxLatchedCount;
    uint8_t slot[kRxFifoSlotBytes];
    int key = intLock();
    while (n > 0) {
        if (FifoRead(&img->FifoParamsRx, slot) != 0) break;
        intUnlock(key);
        CanFrame frame = RxSlotToCanFrame(slot);
        CanOpenGenRxProcessor(controllerId, &frame);
        --n;
        key = intLock();
    }
    intUnlock(key);
    img->RxLatchedCount = img->FifoParamsRx.Count;
    return 0;
}

int CanOpenLatchRxMsgCount(uint8_t controllerId) {
    CanOpenImage* img = GetOpenCanOpenImage(controllerId);
    if (img == nullptr) return -1;
    int key = intLock();
    img->RxLatchedCount = static_cast<uint16_t>(FifoGetCount(&img->FifoParamsRx));
    intUnlock(key);
    return 0;
}

int CanOpenProcessTimers(uint8_t controllerId) {
    CanOpenImage* img = GetOpenCanOpenImage(controllerId);
    if (img == nullptr) return -1;
    switch (img->NmtState) {
        case NMT_INITIALISING: ProcessSlaveNmtStateTransition01(controllerId); break;
        case NMT_STOPPED:
        case NMT_OPERATIONAL:
        case NMT_PRE_OPERATIONAL: ProcessNmtErrorControlAsNmtSlave(controllerId); break;
        default: break;
    }
    return 0;
}

// ---- Receive dispatcher ----

static void processNmtCommand(uint8_t controllerId, CanOpenImage* img, const uint8_t* d) {
    if (d[1] != 0 && d[1] != img->NodeId) return;
    const uint8_t cs = d[0];
    switch (img->NmtState) {
        case NMT_PRE_OPERATIONAL:
            if (cs == NMT_CS_START) img->NmtState = NMT_OPERATIONAL;
            else if (cs == NMT_CS_STOP) img->NmtState = NMT_STOPPED;
            else if (cs == NMT_CS_RESET_NODE || cs == NMT_CS_RESET_COMMUNICATION)
                ProcessSlaveNmtStateTransition01(controllerId);
            break;
        case NMT_OPERATIONAL:
        case NMT_STOPPED:
            if (cs == NMT_CS_START) img->NmtState = NMT_OPERATIONAL;
            else if (cs == NMT_CS_STOP) img->NmtState = NMT_STOPPED;
            else if (cs == NMT_CS_ENTER_PRE_OPERATIONAL) img->NmtState = NMT_PRE_OPERATIONAL;
            else if (cs == NMT_CS_RESET_NODE) img->NmtState = NMT_INITIALISING;
            else if (cs == NMT_CS_RESET_COMMUNICATION) ProcessSlaveNmtStateTransition01(controllerId);
            break;
        default: break;
    }
}

// Heartbeat and boot-up frames carry the state byte: an empty one is no heartbeat.
static void heartbeatConsumer(uint8_t controllerId, const CanFrame& f, int len) {
    if (len >= 1) ProcessSlaveNmtErrorContrlMsg(controllerId, f.Data, CanFrameCobId(f));
}

// Looks a COB-id up as a receive PDO; true when it was one and was delivered.
static bool deliverRxPdo(CanOpenImage* img, uint32_t c, const CanFrame& f) {
    uint16_t row = GetIndexFromPdoIdTable(img->IdTable, c, ID_KIND_RXPDO, img->IdTableCount);
    if (row == 0xFFFF || row >= img->OdCount) return false;
    uint16_t index = img->ObjectDictionary[row].Index;
    if (index < 0x1400 || index > 0x15FE) return false;
    ProcessReceivedPdo(img, img->RxPdoBufferArray, static_cast<uint8_t>(index - 0x13FF), f.Data);
    return true;
}

void CanOpenGenRxProcessor(uint8_t controllerId, const CanFrame* frame) {
    CanOpenImage* img = GetOpenCanOpenImage(controllerId);
    if (img == nullptr || frame == nullptr) return;
    // Only the bytes within the data length count; the rest read as 0.
    CanFrame f = *frame;
    const int len = CanFrameDataLength(f);
    for (int i = len; i < 8; ++i) f.Data[i] = 0;
    const uint32_t c = CanFrameCobId(f);
    const uint32_t ownHeartbeat = 0x700u + img->NodeId;

    switch (img->NmtState) {
        case NMT_INITIALISING:
            ProcessSlaveNmtStateTransition01(controllerId);
            return;
        case NMT_STOPPED:
            if (c == 0) {
                if (len == 2) processNmtCommand(controllerId, img, f.Data);
            } else if (c >= 0x700 && c != ownHeartbeat) {
                heartbeatConsumer(controllerId, f, len);
            }
            return;
        case NMT_PRE_OPERATIONAL:
        case NMT_OPERATIONAL:
            break;
        default:
            return;
    }

    if (c == 0x80) {
        ProcessSyncReceive(controllerId);
    } else if (c == 0x100) {
        ProcessTimeReceive(controllerId, &f);
    } else if (c == 0) {
        if (len == 2) processNmtCommand(controllerId, img, f.Data);
    } else if (c == 0x600u + img->NodeId) {
        if (len == 8) ProcessDefaultSdo(img, f.Data);
    } else if ((c & 0x780) == 0x580) {
        if (len == 8) ProcessServerResponseSdo(img, f.Data, c);
    } else if (img->NmtState == NMT_OPERATIONAL && (c < 0x700 || c == ownHeartbeat)) {
        deliverRxPdo(img, c, f);
    } else if (img->NmtState == NMT_OPERATIONAL && c == 0x7E4 && deliverRxPdo(img, c, f)) {
        // delivered as a receive PDO
    } else if (c >= 0x700 && c != ownHeartbeat) {
        heartbeatConsumer(controllerId, f, len);
    }
}

// ---- COB-id change through the own SDO server ----

void CanOpenChangeCobId(uint8_t controllerId, uint8_t node, uint8_t pdo, int tx, uint32_t cob) {
    CanOpenImage* img = GetOpenCanOpenImage(controllerId);
    if (img == nullptr) return;
    const uint16_t index = static_cast<uint16_t>((tx != 0 ? 0x1800 : 0x1400) + pdo - 1);
    const uint32_t invalid = cob | 0x80000000u;
    CanFrame f{};
    f.Id = (0x600u + node) << 21;
    f.Length = 8;
    f.Data[0] = 0x23;
    f.Data[1] = static_cast<uint8_t>(index & 0xFF);
    f.Data[2] = static_cast<uint8_t>(index >> 8);
    f.Data[3] = 1;
    for (int i = 0; i < 4; ++i) f.Data[4 + i] = static_cast<uint8_t>(invalid >> (8 * i));
    CanOpenGenRxProcessor(controllerId, &f);
    f.Data[7] &= 0x7F;
    CanOpenGenRxProcessor(controllerId, &f);
}

// ---- Diagnostic dump ----

void CanOpenImageDump(uint8_t controllerId) {
    if (CanOpenImages == nullptr) return;
    for (uint8_t i = 0; i < CanOpenNumImages; ++i) {
        const CanOpenImage* img = &CanOpenImages[i];
        if (img->ControllerId != controllerId) continue;
        printf("ImageIdx - %d\n", i);
        printf("CanOpenImage->RemotePort - %d\n", img->RemotePort);
        printf("CanOpenImage->Open - %d\n", img->Open);
        printf("CanOpenImage->ControllerId - %d\n", img->ControllerId);
        printf("CanOpenImage->BaudRate - %d\n", img->BaudRate);
        printf("CanOpenImage->NmtState - %d\n", img->NmtState);
        printf("CanOpenImage->Errors - %d\n", img->Errors);
        printf("CanOpenImage->BusOff - %d\n", img->BusOff);
        printf("CanOpenImage->NumIrq - %d\n", img->NumIrq);
        printf("CanOpenImage->NumBytes - %d\n", img->NumBytes);
        printf("CanOpenImage->RxOverFlowCounter - %d\n", img->RxOverFlowCounter);
        printf("CanOpenImage->TxOverFlowCounter - %d\n", img->TxOverFlowCounter);
        printf("CanOpenImage->RxStatusFlags - %d\n", img->RxStatusFlags);
        printf("CanOpenImage->TxStatusFlags - %d\n", img->TxStatusFlags);
        printf("CanOpenImage->FifoParamsRx Count - %d\n", FifoGetCount(&img->FifoParamsRx));
        printf("CanOpenImage->FifoParamsTx Count - %d\n", FifoGetCount(&img->FifoParamsTx));
        return;
    }
}

// ---- NMT master ----

static void sendNmtCommand(uint8_t controllerId, uint8_t cs, uint8_t node) {
    if (GetOpenCanOpenImage(controllerId) == nullptr) return;
    CanFrame f{};
    f.Data[0] = cs;
    f.Data[1] = node;
    CanOpenSendNmtNow(controllerId, 0, &f, 2);
}

void CanOpenNodeGoOperational(uint8_t controllerId, uint8_t node) { sendNmtCommand(controllerId, NMT_CS_START, node); }

void CanOpenNodeGoPreOperational(uint8_t controllerId, uint8_t node) {
    sendNmtCommand(controllerId, NMT_CS_ENTER_PRE_OPERATIONAL, node);
}

void CanOpenGoOperational(uint8_t controllerId) { sendNmtCommand(controllerId, NMT_CS_START, 0); }

int CanOpenSendNmtNow(uint8_t controllerId, uint32_t cobId, CanFrame* frame, uint16_t length) {
    if (GetOpenCanOpenImage(controllerId) == nullptr || frame == nullptr) return -1;
    if (cobId == 0x80) CanOpenLatchRxMsgCount(controllerId);
    frame->Id = (cobId & 0x7FF) << 21;
    frame->Length = length;
    CanOpenDriverTxRequest(controllerId, frame);
    return 0;
}

void SendCanOpenRtSyncObject(uint8_t controllerId) {
    if (GetOpenCanOpenImage(controllerId) == nullptr) return;
    CanFrame f{};
    f.Id = 0x80u << 21;
    CanOpenDriverTxRequest(controllerId, &f);
}

// ---- NMT slave ----

void ProcessSlaveNmtStateTransition01(uint8_t controllerId) {
    CanOpenImage* img = GetCanOpenImage(controllerId);
    if (img == nullptr) return;
    img->NmtState = NMT_INITIALISING;
    ProcessSlaveNmtStateTransition02(controllerId);
}

void ProcessSlaveNmtStateTransition02(uint8_t controllerId) {
    CanOpenImage* img = GetCanOpenImage(controllerId);
    if (img == nullptr) return;
    InitializePdos(img);
    if (img->Open == 1) {
        CanFrame f{};
        f.Id = (0x700u + img->NodeId) << 21;
        f.Length = 1;
        f.Data[0] = 0;
        CanOpenDriverTxRequest(controllerId, &f);
    }
    img->NmtState = NMT_PRE_OPERATIONAL;
}

void ProcessNmtErrorControlAsNmtSlave(uint8_t controllerId) {
    CanOpenImage* img = GetOpenCanOpenImage(controllerId);
    if (img == nullptr || img->Timers == nullptr) return;
    const OdEntry* e = FindOdEntry(img->ObjectDictionary, img->OdCount, 0x1017);
    if (e == nullptr || e->DataType != OD_TYPE_UNSIGNED16) return;
    const uint16_t t = *static_cast<const uint16_t*>(e->Object);
    if (t == 0) return;
    img->Timers->HeartbeatElapsedMs = static_cast<uint16_t>(img->Timers->HeartbeatElapsedMs + img->TimerPeriod / 1000);
    if (img->Timers->HeartbeatElapsedMs >= t) {
        img->Timers->HeartbeatElapsedMs = 0;
        CanFrame f{};
        f.Id = (0x700u + img->NodeId) << 21;
        f.Length = 1;
        f.Data[0] = img->NmtState;
        CanOpenDriverTxRequest(controllerId, &f);
    }
}

void ProcessSlaveNmtErrorContrlMsg(uint8_t controllerId, const uint8_t* data, uint32_t cobId) {
    CanOpenImage* img = GetOpenCanOpenImage(controllerId);
    if (img == nullptr || img->NmtErrCtrlTable == nullptr) return;
    for (uint16_t i = 0; i < img->NmtErrCtrlCount; ++i) {
        const NmtErrCtrlEntry& e = img->NmtErrCtrlTable[i];
        if (e.Slot == 0xFFFF) break;
        if (e.Record == nullptr || e.Record->CobId != cobId) continue;
        ++e.Record->HeartbeatCount;
        if (data[0] == 0) ++e.Record->BootUpCount;
    }
}

// ---- SYNC and TIME ----

void ProcessSyncReceive(uint8_t controllerId) {
    CanOpenImage* img = GetOpenCanOpenImage(controllerId);
    if (img == nullptr || img->NmtState != NMT_OPERATIONAL) return;
    UpdateReceivedSyncPdoData(img);
    ProcessSyncTransmitPdos(img);
}

// TIME runs only where the dictionary holds object 0x1012 (COB-id TIME: bit 30
// producer, bit 31 consumer); this system's dictionary has none.
static const uint32_t* timeCobObject(const CanOpenImage* img) {
    const OdEntry* e = FindOdEntry(img->ObjectDictionary, img->OdCount, 0x1012);
    if (e == nullptr || e->DataType != OD_TYPE_UNSIGNED32) return nullptr;
    return static_cast<const uint32_t*>(e->Object);
}

int CanOpenSendTime(uint8_t controllerId) {
    CanOpenImage* img = GetOpenCanOpenImage(controllerId);
    if (img == nullptr) return -1;
    const uint32_t* cob = timeCobObject(img);
    if (cob == nullptr || (*cob & 0x40000000u) == 0 || img->TimeRecord == nullptr) return 0;
    CanFrame f{};
    f.Id = (*cob & 0x7FF) << 21;
    f.Length = 6;
    const uint32_t ms = img->TimeRecord->Milliseconds & 0x0FFFFFFF;
    for (int i = 0; i < 4; ++i) f.Data[i] = static_cast<uint8_t>(ms >> (8 * i));
    f.Data[4] = static_cast<uint8_t>(img->TimeRecord->Days & 0xFF);
    f.Data[5] = static_cast<uint8_t>(img->TimeRecord->Days >> 8);
    CanOpenDriverTxRequest(controllerId, &f);
    return 0;
}

void ProcessTimeReceive(uint8_t controllerId, const CanFrame* frame) {
    CanOpenImage* img = GetOpenCanOpenImage(controllerId);
    if (img == nullptr) return;
    const uint32_t* cob = timeCobObject(img);
    if (cob == nullptr || (*cob & 0x80000000u) == 0 || img->TimeRecord == nullptr) return;
    if (CanFrameDataLength(*frame) < 6) return;
    const uint8_t* d = frame->Data;
    img->TimeRecord->Milliseconds = (d[0] | (d[1] << 8) | (d[2] << 16) | (static_cast<uint32_t>(d[3]) << 24)) & 0x0FFFFFFF;
    img->TimeRecord->Days = static_cast<uint16_t>(d[4] | (d[5] << 8));
}
