#include "service/OutPdu.h"

#include "service/InPdu.h"
#include "service/Tallwire.h"
#include "service/TwSerial.h"
#include "service/crc16.h"

namespace {

enum : uint32_t { TX_NOTHING = 0, TX_READY = 1, TX_SOH = 2, TX_BODY = 3, TX_ETX = 4, TX_CRC_HIGH = 5, TX_CRC_LOW = 6 };

}  // namespace

void OutPduOpen(uint8_t (*putByte)(uint8_t)) {
    TwSerialPort* p = pCurTWSerialPort;
    p->putByte = putByte;
    p->currentOutput = &p->outputDescriptor;
    p->outputDescriptor = TwOutputDescriptor{TX_NOTHING, 0xFFFF, 0, 0, p->outputFrame, p->outputFrame};
    p->sendEscape = 0;
}

void PduPrepare(uint8_t sequence, uint8_t kind) {
    TwOutputDescriptor* o = pCurTWSerialPort->currentOutput;
    o->senderState = TX_READY;
    o->position = o->start;
    o->stuffedCount = 0;
    uint8_t control = static_cast<uint8_t>((sequence & 0x0F) | PDU_STUFF_BIT | kind);
    *o->position++ = control;
    o->crc = Crc16RevNext(0xFFFF, control);
}

uint8_t PduPutc(uint8_t b) {
    TwSerialPort* p = pCurTWSerialPort;
    if (PduIsStuffed(b)) {
        if (!p->sendEscape) {
            if (p->putByte(PDU_DLE) == TW_BYTE_NOT_NOW) return TW_BYTE_NOT_NOW;
            p->sendEscape = 1;
        }
        b = static_cast<uint8_t>(b | PDU_STUFF_BIT);
    }
    if (p->putByte(b) == TW_BYTE_NOT_NOW) return TW_BYTE_NOT_NOW;
    p->sendEscape = 0;
    return 0;
}

int PduSend() {
    TwSerialPort* p = pCurTWSerialPort;
    TwOutputDescriptor* o = p->currentOutput;
    for (;;) {
        switch (o->senderState) {
        case TX_NOTHING:
            return 1;
        case TX_READY:
            o->bytesLeft = static_cast<uint16_t>(o->position - o->start);
            p->sendEscape = 0;
            o->senderState = TX_SOH;
            break;
        case TX_SOH:
            if (p->putByte(PDU_SOH) == TW_BYTE_NOT_NOW) return 0;
            o->senderState = TX_BODY;
            break;
        case TX_BODY:
            while (o->bytesLeft > 0) {
                if (PduPutc(*(o->position - o->bytesLeft)) == TW_BYTE_NOT_NOW) return 0;
                --o->bytesLeft;
            }
            o->senderState = TX_ETX;
            break;
        case TX_ETX:
            if (p->putByte(PDU_ETX) == TW_BYTE_NOT_NOW) return 0;
            o->senderState = TX_CRC_HIGH;
            break;
        case TX_CRC_HIGH:
            if (PduPutc(static_cast<uint8_t>(o->crc >> 8)) == TW_BYTE_NOT_NOW) return 0;
            o->senderState = TX_CRC_LOW;
            break;
        case TX_CRC_LOW:
            if (PduPutc(static_cast<uint8_t>(o->crc)) == TW_BYTE_NOT_NOW) return 0;
            o->senderState = TX_READY;
            FlushMessage();
            return 1;
        default:
            FlushMessage();
            return 1;
        }
    }
}
