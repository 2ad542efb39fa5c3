#include "service/Tallwire.h"

#include <cstdio>
#include <cstring>

#include "platform/vkos.h"
#include "runtime/appmain.h"
#include "runtime/rgtask.h"
#include "service/TallwireSupport.h"
#include "service/TwApiClassic.h"
#include "service/TwDataTypeIO.h"
#include "service/TwSerial.h"

uint8_t (*pTwExtract)() = nullptr;
void (*pTwInsert)(uint8_t) = nullptr;
bool (*pInsertWillOverflow)(uint16_t) = nullptr;
bool (*pDataAvailable)(uint16_t) = nullptr;
bool (*pCanTwExtractString)(uint16_t) = nullptr;
uint16_t (*pCurrentPortRef)() = nullptr;
bool (*pPortRefInUse)(uint16_t) = nullptr;
uint16_t (*pOutputBufferSpace)() = nullptr;
uint16_t (*pMaxDataPacketBytes)(uint32_t) = nullptr;
void (*pTcpSetTokenForAll)(uint8_t) = nullptr;
void (*pSerialSetTokenForAll)(uint8_t) = nullptr;
int (*pTcpChangeExcluded)() = nullptr;
int (*pSerialChangeExcluded)() = nullptr;

const RequestMapEntry* pRequestMap = nullptr;
uint8_t RequestMapSize = 0;
const TwapiDescriptor* TwapiDescriptorPtr = nullptr;

void (*pSerialTwSlave)() = nullptr;
void (*pTcpTwSlave)() = nullptr;
void (*pTcpTwListener)() = nullptr;
void (*pTcpTwClose)() = nullptr;
TASK_ID _TW_SLAVEpid = 0;
TASK_ID _TCP_LISTENERpid = 0;
uint8_t SecurityReadControlInfo = 0;
uint8_t SecurityWriteControlInfo = 0;
uint8_t SecurityServiceUser = 0;
uint8_t BeginProgrammingRequested = 0;
uint8_t ResetControlRequested = 0;
uint32_t StartProgramLocation = 0;
uint32_t EndProgramLocation = 0;

void TwInstallOperations(const TwTransportOps& ops) {
    pTwExtract = ops.extract;
    pTwInsert = ops.insert;
    pInsertWillOverflow = ops.insertWillOverflow;
    pDataAvailable = ops.dataAvailable;
    pCanTwExtractString = ops.canExtractString;
    pCurrentPortRef = ops.currentPortRef;
    pPortRefInUse = ops.portRefInUse;
    pOutputBufferSpace = ops.outputBufferSpace;
    pMaxDataPacketBytes = ops.maxDataPacketBytes;
}

int TallwireOpen(const RequestMapEntry* map, uint8_t count) {
    pRequestMap = map;
    RequestMapSize = count;
    return 0;
}

int InitializeTallwire(int tcpEnabled, int numSerialPorts, int readControlLevel, int writeControlLevel,
                       int serviceUserLevel) {
    TwApiClassicInit(&TallwireClassicDescriptor);
    SecurityReadControlInfo = static_cast<uint8_t>(readControlLevel);
    SecurityWriteControlInfo = static_cast<uint8_t>(writeControlLevel);
    SecurityServiceUser = static_cast<uint8_t>(serviceUserLevel);
    TallwireAllocSerialPorts(numSerialPorts);

    _TW_SLAVEpid = VKOS_CreateProcess(TW_SLAVE, 8192, 41, "TW_SLAVE", 0);
    if (_TW_SLAVEpid != 0) VKOS_ResumeProcess(_TW_SLAVEpid);

    if (numSerialPorts > 0) pSerialTwSlave = serialTwSlave;

    const TwapiDescriptor* d = TwapiDescriptorPtr;
    if (tcpEnabled != 0 && d->TcpTwSlave != nullptr && d->TcpTwListener != nullptr) {
        pTcpTwSlave = d->TcpTwSlave;
        pTcpTwListener = d->TcpTwListener;
        pTcpTwClose = d->TcpTwClose;
        _TCP_LISTENERpid = VKOS_CreateProcess(TCP_LISTENER, 8192, 36, "TCP_LISTENER", 0);
        if (_TCP_LISTENERpid != 0) VKOS_ResumeProcess(_TCP_LISTENERpid);
    }
    return 0;
}

void TW_SLAVE(long) {
    for (;;) {
        if (AllRgExecutedwMMM != 0) {
            if (pSerialTwSlave != nullptr && _TW_SLAVEpid != 0) pSerialTwSlave();
            if (pTcpTwSlave != nullptr && _TCP_LISTENERpid != 0) pTcpTwSlave();
        }
        VKOS_SleepMillisec(10);
    }
}

void TCP_LISTENER(long) {
    if (app_inited == 0) return;
    VKOS_WaitSemaphore(app_inited, -1);
    VKOS_SleepMillisec(1000);
    if (pTcpTwListener != nullptr && _TCP_LISTENERpid != 0) pTcpTwListener();
}

int TallwireClose() {
    std::printf("Closing Tallwire ...\n");
    if (pTcpTwClose != nullptr) pTcpTwClose();
    VKOS_SleepMillisec(100);
    if (_TW_SLAVEpid != 0) {
        TASK_ID tid = _TW_SLAVEpid;
        _TW_SLAVEpid = 0;
        VKOS_SleepMillisec(100);
        VKOS_KillProcess(tid);
    }
    if (_TCP_LISTENERpid != 0) {
        TASK_ID tid = _TCP_LISTENERpid;
        _TCP_LISTENERpid = 0;
        VKOS_SleepMillisec(100);
        VKOS_KillProcess(tid);
        VKOS_SleepMillisec(100);
    }
    VKOS_SleepMillisec(100);
    TallwireFreeSerialPorts();
    std::printf(" Closed.\n");
    return 0;
}

void ProcessRequest() {
    uint8_t code = TwExtractUint8();
    const RequestMapEntry* e = pRequestMap;
    for (uint8_t i = 0; e != nullptr && i < RequestMapSize; ++i, ++e) {
        if (e->code == code) {
            e->handler(code);
            return;
        }
    }
    TwInsertUint8(TW_NOT_PROVIDED);
}

void Connect() {
    const TwapiDescriptor* d = TwapiDescriptorPtr;
    if (d == nullptr || d->Connect == nullptr) return;
    d->Connect();
    if (BeginProgrammingRequested) {
        if (d->BeginProgramming != nullptr) d->BeginProgramming();
        BeginProgrammingRequested = 0;
    } else if (ResetControlRequested) {
        if (d->ResetControl != nullptr) d->ResetControl();
        ResetControlRequested = 0;
    }
}

void FlushMessage() {
    if (TwapiDescriptorPtr != nullptr && TwapiDescriptorPtr->FlushMessage != nullptr)
        TwapiDescriptorPtr->FlushMessage();
}

void AllowChangeForAll(int allow) {
    uint8_t state = allow != 0 ? TOKEN_ALLOWED : TOKEN_EXCLUDED;
    if (pSerialSetTokenForAll != nullptr) pSerialSetTokenForAll(state);
    if (pTcpSetTokenForAll != nullptr) pTcpSetTokenForAll(state);
}

int ChangeExcluded() {
    if (pSerialChangeExcluded != nullptr && pSerialChangeExcluded() != 0) return 1;
    if (pTcpChangeExcluded != nullptr) return pTcpChangeExcluded() != 0 ? 1 : 0;
    return 0;
}

void* AllocZeroedMemory(uint32_t size) {
    void* p = VKOS_GetMem(size);
    if (p != nullptr) std::memset(p, 0, size);
    return p;
}
