#include "service/TwTrnspt.h"

#include "service/Excepres.h"
#include "service/InPdu.h"
#include "service/OutPdu.h"
#include "service/TwSerial.h"

namespace {

enum : uint32_t { S_RECEIVE = 0, S_DECIDE = 1, S_RESEND = 2, S_CONNECT_REPLY = 3 };

constexpr uint16_t kErrTransport = 2201;

}  // namespace

int TwTransportInit(uint8_t address) {
    TwSerialPort* p = pCurTWSerialPort;
    if (address > 15) {
        ExceptionResError(kErrTransport, 7);
        return -1;
    }
    p->ownAddress = address;
    p->transportInitialised = 1;
    return 0;
}

int TwTransportOpen(void (*connectHook)()) {
    TwSerialPort* p = pCurTWSerialPort;
    if (!p->transportInitialised) {
        ExceptionResError(kErrTransport, 5);
        return -1;
    }
    if (p->transportOpen) {
        ExceptionResError(kErrTransport, 4);
        return -1;
    }
    p->connectHook = connectHook;
    p->sequence = 0;
    p->sessionState = S_RECEIVE;
    p->transportOpen = 1;
    p->connected = 0;
    return 0;
}

int TwTransportClose() {
    TwSerialPort* p = pCurTWSerialPort;
    if (!p->transportOpen) {
        ExceptionResError(kErrTransport, 2);
        return -1;
    }
    p->transportOpen = 0;
    return 0;
}

int TwReceive() {
    TwSerialPort* p = pCurTWSerialPort;
    if (!p->transportOpen) {
        ExceptionResError(kErrTransport, 2);
        return 0;
    }
    for (;;) {
        switch (p->sessionState) {
        case S_RECEIVE:
            if (!PduReceive()) return 0;
            p->sessionState = S_DECIDE;
            break;
        case S_DECIDE:
            p->sessionState = S_RECEIVE;
            if (!IsAddressedToMe(p->ownAddress)) break;
            if (IsConnectRequest()) {
                if (p->bytesLeft >= 3) break;
                if (p->connectHook != nullptr) p->connectHook();
                PduPrepare(0, PDU_KIND_CONNECT);
                serialTwInsert(1);
                serialTwInsert(0x01);
                serialTwInsert(0x00);
                serialTwInsert(0x01);
                serialTwInsert(0x00);
                p->connected = 1;
                p->addressedMode = static_cast<uint8_t>(IsAddressed());
                p->sessionState = S_CONNECT_REPLY;
                break;
            }
            if (IsAddressed() != p->addressedMode || !p->connected) break;
            if (GetSequenceNumber() == p->sequence) {
                PduPrepare(p->sequence, PDU_KIND_DATA);
                return 1;
            }
            p->sessionState = S_RESEND;
            break;
        case S_RESEND:
            if (!PduSend()) return 0;
            p->sessionState = S_RECEIVE;
            break;
        case S_CONNECT_REPLY:
            if (!PduSend()) return 0;
            p->sequence = 1;
            p->sessionState = S_RECEIVE;
            break;
        default:
            p->sessionState = S_RECEIVE;
            break;
        }
    }
}

int TwSend() {
    TwSerialPort* p = pCurTWSerialPort;
    if (!p->transportOpen) {
        ExceptionResError(kErrTransport, 2);
        return 0;
    }
    if (!PduSend()) return 0;
    p->sequence = p->sequence == 0 ? 1 : 0;
    return 1;
}
