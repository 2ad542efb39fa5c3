#include "canopen/canopen_mscan.h"

#include <cstdio>
#include <cstring>

#include "host/vkboard.h"
#include "host/vxworks.h"
#include "platform/vkiobus.h"
#include "runtime/appinit.h"

uint8_t CanMsgPriority[4];
uint8_t MsgOnDeck[4];
uint8_t MSCANMessage[4][kMscanBufferBytes];
int FifoStatus[4];

static CanOpenImageLookup imageLookup = nullptr;

static CanOpenImage* lookupImage(uint8_t controllerId) {
    return imageLookup != nullptr ? imageLookup(controllerId) : nullptr;
}

// ---- Conversions ----

void CanFrameToMscanBuffer(const CanFrame& f, uint8_t* b) {
    std::memset(b, 0, kMscanBufferBytes);
    b[MSCAN_OFS_IDR0] = static_cast<uint8_t>(f.Id >> 24);
    b[MSCAN_OFS_IDR1] = static_cast<uint8_t>(f.Id >> 16);
    b[MSCAN_OFS_IDR2] = static_cast<uint8_t>(f.Id >> 8);
    b[MSCAN_OFS_IDR3] = static_cast<uint8_t>(f.Id);
    for (int i = 0; i < 8; ++i) b[kMscanDataOffsets[i]] = f.Data[i];
    b[MSCAN_OFS_DLR] = static_cast<uint8_t>(f.Length);
    b[MSCAN_OFS_TBPR] = f.Priority;
    b[MSCAN_OFS_TSRH] = static_cast<uint8_t>(f.TimeStamp >> 8);
    b[MSCAN_OFS_TSRL] = static_cast<uint8_t>(f.TimeStamp);
}

CanFrame MscanBufferToCanFrame(const uint8_t* b) {
    CanFrame f{};
    f.Id = (static_cast<uint32_t>(b[MSCAN_OFS_IDR0]) << 24) | (b[MSCAN_OFS_IDR1] << 16) | (b[MSCAN_OFS_IDR2] << 8) |
           b[MSCAN_OFS_IDR3];
    for (int i = 0; i < 8; ++i) f.Data[i] = b[kMscanDataOffsets[i]];
    f.Length = b[MSCAN_OFS_DLR];
    f.Priority = 0;
    f.TimeStamp = static_cast<uint16_t>(b[MSCAN_OFS_TSRH] * 256 + b[MSCAN_OFS_TSRL]);
    return f;
}

void CanFrameToRxSlot(const CanFrame& f, uint8_t* s) {
    s[0] = static_cast<uint8_t>(f.Id >> 24);
    s[1] = static_cast<uint8_t>(f.Id >> 16);
    s[2] = static_cast<uint8_t>(f.Id >> 8);
    s[3] = static_cast<uint8_t>(f.Id);
    for (int i = 0; i < 8; ++i) s[4 + i] = f.Data[i];
    s[12] = static_cast<uint8_t>(f.Length >> 8);
    s[13] = static_cast<uint8_t>(f.Length);
}

CanFrame RxSlotToCanFrame(const uint8_t* s) {
    CanFrame f{};
    f.Id = (static_cast<uint32_t>(s[0]) << 24) | (s[1] << 16) | (s[2] << 8) | s[3];
    for (int i = 0; i < 8; ++i) f.Data[i] = s[4 + i];
    f.Length = static_cast<uint16_t>((s[12] << 8) | s[13]);
    return f;
}

static uint32_t bufferCobId(const uint8_t* b) { return ((b[MSCAN_OFS_IDR0] << 8) | b[MSCAN_OFS_IDR1]) >> 5; }

// ---- Registers ----

static uint32_t registerBase(const CanOpenImage* img) {
    if (img->ControllerParams != nullptr) return img->ControllerParams->RegisterBase;
    return img->ControllerId < 4 ? kMscanRegisterBase[img->ControllerId] : 0;
}

static uint8_t txFlags(const CanOpenImage* img) {
    if (img->RemotePort != 0) return 7;
    return MSCANReadRegister8(registerBase(img) + MSCAN_REG_TFLG);
}

// ---- Open and close ----

void CanOpenDriverAttachGetCanOpenImageCallBack(CanOpenImageLookup lookup) { imageLookup = lookup; }

static uint8_t busTiming0(uint16_t baud) {
    switch (baud) {
        case 125: return 0x97;
        case 250: return 0x8B;
        case 500: return 0x85;
        default: return 0x82;
    }
}

int CanOpenDriverOpen(CanOpenImage* img, int argument) {
    img->Errors = 0;
    img->BusOff = 0;
    img->NumIrq = 0;
    img->NumBytes = 0;
    img->RxOverFlowCounter = 0;
    img->TxOverFlowCounter = 0;
    img->RxFrameCount = 0;
    if (img->RemotePort != 0) return img->ControllerId;
    CanControllerParams* p = img->ControllerParams;
    if (p == nullptr || p->Open != 0) return -1;
    const uint8_t id = img->ControllerId;
    if (id > 3) {
        printf("CanOpenDriverOpen - ControllerId invalid\n");
        return -1;
    }
    MsgOnDeck[id] = 0;
    CanMsgPriority[id] = 0;
    p->RegisterBase = kMscanRegisterBase[id];
    p->Config = 0x08;
    p->Control1 = 0xC0;
    p->BusTiming0 = busTiming0(img->BaudRate);
    p->BusTiming1 = 0x4F;
    p->RxIntEnable = 0x69;
    std::memset(p->AcceptCode, 0, sizeof p->AcceptCode);
    p->AcceptControl = 0;
    static const uint8_t masks[8] = {0xFF, 0xE7, 0xFF, 0xFE, 0xFF, 0xE7, 0xFF, 0xFE};
    std::memcpy(p->AcceptMask, masks, sizeof masks);
    p->ErrorHandler = CanOpenHandlerError;
    p->RxHandler = CanOpenHandlerRx;
    p->TxPushHandler = CanOpenHandlerTxPush;
    p->TxPopHandler = CanOpenHandlerTxPop;
    if (MSCANOpenController(id, argument, p) != id) return -1;
    switch (id) {
        case 0: MSCANAintEnable(); break;
        case 1: MSCANBintEnable(); break;
        case 2: MSCANCintEnable(); break;
        default: MSCANDintEnable(); break;
    }
    return id;
}

int CanOpenDriverClose(CanOpenImage* img) {
    img->Errors = 0;
    img->BusOff = 0;
    if (img->RemotePort != 0) return 0;
    if (img->ControllerParams == nullptr || img->ControllerParams->Open == 0) return -1;
    if (MSCANCloseController(img->ControllerId) == -1) return -1;
    switch (img->ControllerId) {
        case 0: MSCANAintDisable(); break;
        case 1: MSCANBintDisable(); break;
        case 2: MSCANCintDisable(); break;
        case 3: MSCANDintDisable(); break;
        default: printf("ControllerId not found in CanOpenDriverClose\n"); break;
    }
    return 0;
}

// ---- Transmit ----

void CanOpenDriverTxRequest(uint8_t controllerId, const CanFrame* frame) {
    if (VmeMasterController != 1) return;
    CanOpenImage* img = lookupImage(controllerId);
    if (img == nullptr) return;
    uint8_t buf[kMscanBufferBytes];
    CanFrameToMscanBuffer(*frame, buf);
    int key = intLock();
    if (img->RemotePort != 0) {
        img->RxLatchedCount = img->FifoParamsRx.Count;
        CanOpenHandlerTxPush(controllerId, buf);
    } else {
        MSCANTxRequest(controllerId, buf);
    }
    intUnlock(key);
    const uint32_t c = CanFrameCobId(*frame);
    if (c == 0x80 || c == 0) {
        key = intLock();
        --img->RxFrameCount;
        CanOpenHandlerRx(controllerId, buf);
        intUnlock(key);
    } else if (img->RemotePort == 0) {
        ++img->NumIrq;
        img->NumBytes = static_cast<uint16_t>(img->NumBytes + frame->Length);
    }
}

void CanOpenDriverUpdateFlags(CanOpenImage* img) {
    if (img->RemotePort != 0) return;
    const uint8_t v = MSCANReadRegister8(registerBase(img) + MSCAN_REG_RFLG);
    img->RxStatusFlags = (v >> 4) & 3;
    img->TxStatusFlags = (v >> 2) & 3;
}

int CanOpenDriverDisableInterrupts(int* key) {
    *key = intLock();
    return *key;
}

void CanOpenDriverRestoreInterrupts(int key) { intUnlock(key); }

int CanOpenDriverGetCanControllerStatus(CanOpenImage* img) {
    return img->ControllerParams != nullptr && img->ControllerParams->Open > 0 ? 0 : -1;
}

void CanOpenDriverRxRequest() {}

// ---- Interrupt handlers ----

void CanOpenHandlerRx(uint8_t controllerId, const uint8_t* buffer) {
    CanOpenImage* img = lookupImage(controllerId);
    if (img == nullptr) return;
    CanFrame f = MscanBufferToCanFrame(buffer);
    // Bytes beyond the data length are not part of the frame.
    for (int i = CanFrameDataLength(f); i < 8; ++i) f.Data[i] = 0;
    img->NumBytes = static_cast<uint16_t>(img->NumBytes + (f.Length & 15));
    ++img->NumIrq;
    ++img->RxFrameCount;
    uint8_t slot[kRxFifoSlotBytes];
    CanFrameToRxSlot(f, slot);
    if (FifoWrite(&img->FifoParamsRx, slot) != 0) ++img->RxOverFlowCounter;
}

void CanOpenHandlerError(uint8_t controllerId, uint8_t rxFlags) {
    CanOpenImage* img = lookupImage(controllerId);
    if (img == nullptr) return;
    if (((rxFlags >> 4) & 3) == 3 || ((rxFlags >> 2) & 3) == 3) img->BusOff = 1;
    ++img->Errors;
}

void CanOpenHandlerTxPush(uint8_t controllerId, const uint8_t* buffer) {
    CanOpenImage* img = lookupImage(controllerId);
    if (img == nullptr) return;
    if (FifoWrite(&img->FifoParamsTx, buffer) != 0) ++img->TxOverFlowCounter;
}

int CanOpenHandlerTxPop(uint8_t controllerId, uint8_t* out) {
    CanOpenImage* img = lookupImage(controllerId);
    if (img == nullptr || controllerId > 3) return 0;
    const uint8_t id = controllerId;
    if (txFlags(img) == 7) CanMsgPriority[id] = 0;
    else if (CanMsgPriority[id] > 249) return 0;
    if (MsgOnDeck[id] == 0) {
        std::memset(MSCANMessage[id], 0, kMscanBufferBytes);
        FifoStatus[id] = FifoRead(&img->FifoParamsTx, MSCANMessage[id]);
        MsgOnDeck[id] = 1;
    }
    img->BusOff = 0;
    int key = intLock();
    if (FifoStatus[id] != 0) {
        MsgOnDeck[id] = 0;
        out[0] = 0;
        intUnlock(key);
        return 0;
    }
    uint8_t* m = MSCANMessage[id];
    const uint32_t c = bufferCobId(m);
    if (c == 0x80) {
        if (txFlags(img) != 7) {
            intUnlock(key);
            return 0;
        }
        img->SyncTimeStamp = static_cast<uint16_t>((VKIO_fpgaRdUint16(kFpgaSyncTimerRegister) & 0xFFFF) >> 1);
    }
    if (c == 0x200) {
        // 51 bit times after the SYNC was loaded; a bit rate of 0 counts as 1000 kbit/s.
        const uint32_t bitUs = img->BaudRate != 0 ? 1000u / img->BaudRate : 1u;
        const uint32_t v = 51u * bitUs + img->SyncTimeStamp;
        m[kMscanDataOffsets[0]] = static_cast<uint8_t>(v);
        m[kMscanDataOffsets[1]] = static_cast<uint8_t>(v >> 8);
        m[kMscanDataOffsets[2]] = 0;
        m[kMscanDataOffsets[3]] = 0;
    }
    ++CanMsgPriority[id];
    m[MSCAN_OFS_TBPR] = CanMsgPriority[id];
    std::memcpy(out, m, kMscanBufferBytes);
    MsgOnDeck[id] = 0;
    intUnlock(key);
    return 1;
}

// ---- Identity forwarders ----

uint32_t VKGetCanOpenRevision(uint32_t a, uint32_t b) { return VKGetIdentityRevision(a, b); }
uint32_t VKGetCanOpenSerialNumber(uint32_t a, uint32_t b) { return VKGetIdentitySerialNumber(a, b); }
uint32_t VKGetCanOpenPartNumber(uint32_t a, uint32_t b) { return VKGetIdentityPartNumber(a, b); }
