#include "service/TwSerial.h"

#include <cstdio>

#include "platform/vkiodev.h"
#include "platform/vkos.h"
#include "service/Excepres.h"
#include "service/InPdu.h"
#include "service/OutPdu.h"
#include "service/Tallwire.h"
#include "service/TwTrnspt.h"
#include "service/crc16.h"

TwSerialPort* TWSerialPorts = nullptr;
int numSerialTWPorts = 0;
TwSerialPort* pCurTWSerialPort = nullptr;

namespace {

constexpr uint16_t kErrPorts = 2200;
void selectFramedProtocol(uint16_t device) {
    VKIO_devControl(device, DEVCTL_PROTOCOL, 2, 0);
    // In frame mode the device drops every frame whose first byte differs
    // from its frame address; every Tallwire frame starts with SOH.
    VKIO_devControl(device, DEVCTL_FRAME_ADDRESS, PDU_SOH, 0);
    VKIO_devControl(device, DEVCTL_FLUSH, 0, 0);
}

uint8_t newSessionTokenState() { return ChangeExcluded() ? TOKEN_EXCLUDED : TOKEN_ALLOWED; }

int openChannel(TwSerialPort* p) {
    if (!p->initialised) {
        ExceptionResError(kErrPorts, 5);
        return -1;
    }
    if (p->channelOpen) {
        ExceptionResError(kErrPorts, 4);
        return -1;
    }
    p->replyPending = 0;
    p->channelOpen = 1;
    return 0;
}

}  // namespace

int TallwireAllocSerialPorts(int count) {
    if (count <= 0) {
        numSerialTWPorts = 0;
        return 0;
    }
    void* mem = AllocZeroedMemory(static_cast<uint32_t>(count * sizeof(TwSerialPort)));
    if (mem == nullptr) {
        ExceptionResError(kErrPorts, 1);
        numSerialTWPorts = 0;
        return -1;
    }
    TWSerialPorts = static_cast<TwSerialPort*>(mem);
    numSerialTWPorts = count;
    return 0;
}

void TallwireFreeSerialPorts() {
    if (TWSerialPorts != nullptr)
        VKOS_FreeMem(TWSerialPorts, static_cast<uint32_t>(numSerialTWPorts * sizeof(TwSerialPort)));
    TWSerialPorts = nullptr;
    numSerialTWPorts = 0;
    pCurTWSerialPort = nullptr;
}

int TallwireInitSerialPort(uint32_t* deviceNumberRef, const uint16_t* config) {
    TwSerialPort* p = nullptr;
    for (int i = 0; TWSerialPorts != nullptr && i < numSerialTWPorts; ++i) {
        if (!TWSerialPorts[i].inUse) {
            p = &TWSerialPorts[i];
            break;
        }
    }
    if (p == nullptr) {
        ExceptionResError(kErrPorts, 2);
        return 255;
    }
    pCurTWSerialPort = p;
    p->inUse = 1;
    p->tokenState = newSessionTokenState();
    p->deviceNumber = static_cast<uint16_t>(*deviceNumberRef);
    p->deviceNumberRef = deviceNumberRef;
    if (p->initialised) {
        openChannel(p);
        return 0;
    }
    selectFramedProtocol(p->deviceNumber);
    if (TwTransportInit(static_cast<uint8_t>(config[1] > 255 ? 255 : config[1])) != 0) return 255;
    TwTransportOpen(Connect);
    const TwapiDescriptor* d = TwapiDescriptorPtr;
    InPduOpen(d != nullptr ? d->SciGetc : nullptr);
    OutPduOpen(d != nullptr ? d->SciPutc : nullptr);
    p->initialised = 1;
    openChannel(p);
    return 0;
}

uint8_t serialTwExtract() {
    TwSerialPort* p = pCurTWSerialPort;
    // Past the received bytes a request reads as zeros.
    if (p->bytesLeft == 0) return 0;
    --p->bytesLeft;
    return *p->dataPointer++;
}

void serialTwInsert(uint8_t b) {
    TwOutputDescriptor* o = pCurTWSerialPort->currentOutput;
    if (o->position + o->stuffedCount + 7 >= o->start + TW_PDU_MAX_DATA) return;
    *o->position++ = b;
    o->crc = Crc16RevNext(o->crc, b);
    if (PduIsStuffed(b)) ++o->stuffedCount;
}

bool serialInsertWillOverflow(uint16_t n) {
    const TwOutputDescriptor* o = pCurTWSerialPort->currentOutput;
    return (o->position - o->start) + o->stuffedCount + 5 + 2 * n >= TW_PDU_MAX_DATA;
}

bool CanExtract(uint16_t n) { return pCurTWSerialPort->bytesLeft >= n; }

bool serialCanTwExtractString(uint16_t n) {
    const TwSerialPort* p = pCurTWSerialPort;
    for (uint16_t i = 0; i < p->bytesLeft && i < n; ++i)
        if (p->dataPointer[i] == 0) return true;
    return false;
}

uint16_t serialCurrentPortRef() { return pCurTWSerialPort == nullptr ? 0 : pCurTWSerialPort->deviceNumber; }

bool serialPortRefInUse(uint16_t ref) {
    for (int i = 0; i < numSerialTWPorts; ++i)
        if (TWSerialPorts[i].inUse && TWSerialPorts[i].deviceNumber == ref) return true;
    return false;
}

uint16_t serialOutputBufferSpace() { return 247; }

uint16_t serialMaxDataPacketBytes(uint32_t handle) {
    const TwapiDescriptor* d = TwapiDescriptorPtr;
    if (d == nullptr || d->GetDataPacketBytes == nullptr) return 0;
    return static_cast<uint16_t>(2 * d->GetDataPacketBytes(handle));
}

void SerialSetTokenForAll(uint8_t state) {
    for (int i = 0; i < numSerialTWPorts; ++i)
        if (TWSerialPorts[i].inUse) TWSerialPorts[i].tokenState = state;
}

int SerialChangeExcluded() {
    for (int i = 0; i < numSerialTWPorts; ++i)
        if (TWSerialPorts[i].inUse && TWSerialPorts[i].tokenState == TOKEN_HOLDER) return 1;
    return 0;
}

void serialInstallOperations() {
    static constexpr TwTransportOps ops{serialTwExtract,     serialTwInsert,     serialInsertWillOverflow,
                                        CanExtract,          serialCanTwExtractString, serialCurrentPortRef,
                                        serialPortRefInUse,  serialOutputBufferSpace,  serialMaxDataPacketBytes};
    TwInstallOperations(ops);
    pSerialSetTokenForAll = SerialSetTokenForAll;
    pSerialChangeExcluded = SerialChangeExcluded;
}

void serialTwSlave() {
    if (_TW_SLAVEpid == 0) {
        std::printf("ERROR:  Attempt to run Serial TW Slave process after it was closed!\n");
        return;
    }
    if (TWSerialPorts == nullptr || numSerialTWPorts == 0) return;
    bool anyDevice = false;
    for (int i = 0; i < numSerialTWPorts; ++i) {
        TwSerialPort* p = &TWSerialPorts[i];
        uint32_t cell = p->deviceNumberRef != nullptr ? *p->deviceNumberRef : 0;
        if (cell == 0) {
            if (p->tokenState == TOKEN_HOLDER) AllowChangeForAll(1);
            p->tokenState = 0;
            p->deviceNumber = 0;
            p->inUse = 0;
            continue;
        }
        p->inUse = 1;
        anyDevice = true;
        if (cell != p->deviceNumber) {
            p->deviceNumber = static_cast<uint16_t>(cell);
            selectFramedProtocol(p->deviceNumber);
            p->tokenState = newSessionTokenState();
        }
    }
    if (!anyDevice) return;
    serialInstallOperations();
    for (int i = 0; i < numSerialTWPorts; ++i) {
        TwSerialPort* p = &TWSerialPorts[i];
        if (!p->inUse || !p->initialised) continue;
        pCurTWSerialPort = p;
        if (!p->replyPending && TwReceive()) {
            p->replyPending = 1;
            if (p->bytesLeft > 0) ProcessRequest();
        }
        if (p->replyPending && TwSend()) p->replyPending = 0;
    }
    pCurTWSerialPort = nullptr;
}
