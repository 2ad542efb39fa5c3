#include "service/InPdu.h"

#include "service/TwSerial.h"
#include "service/crc16.h"

namespace {

enum : uint32_t { RX_IDLE = 0, RX_CONTROL = 2, RX_ADDRESS = 3, RX_DATA = 4, RX_CRC_HIGH = 5, RX_CRC_LOW = 6 };

}  // namespace

void InPduOpen(uint8_t (*getByte)(uint8_t*)) {
    TwSerialPort* p = pCurTWSerialPort;
    p->getByte = getByte;
    p->receiveState = RX_IDLE;
    p->receiveEscape = 0;
    p->inputStart = p->inputFrame;
    p->dataPointer = p->inputFrame;
    p->bytesLeft = 0;
}

int PduReceive() {
    TwSerialPort* p = pCurTWSerialPort;
    uint8_t raw = 0;
    while (p->getByte(&raw) != 254) {
        if (raw == PDU_DLE) {
            p->receiveEscape = 1;
            continue;
        }
        bool escaped = p->receiveEscape != 0;
        p->receiveEscape = 0;
        if (raw == PDU_SOH) {
            p->receiveCrc = 0xFFFF;
            p->dataPointer = p->inputStart;
            p->bytesLeft = 0;
            p->receiveState = RX_CONTROL;
            continue;
        }
        // Every stuffed field (control, address, data, CRC) is unstuffed
        // before it is used, so the CRC covers what the sender computed it on.
        uint8_t b = escaped ? static_cast<uint8_t>(raw ^ PDU_STUFF_BIT) : raw;
        switch (p->receiveState) {
        case RX_CONTROL:
            p->receiveCrc = Crc16RevNext(p->receiveCrc, b);
            p->frameSequence = b & 0x0F;
            p->frameKind = b & 0xC0;
            if (b & PDU_ADDRESS_FLAG) {
                p->receiveState = RX_ADDRESS;
            } else {
                p->frameAddress = 255;
                p->receiveState = RX_DATA;
            }
            break;
        case RX_ADDRESS:
            p->receiveCrc = Crc16RevNext(p->receiveCrc, b);
            p->frameAddress = b & 0x0F;
            p->receiveState = RX_DATA;
            break;
        case RX_DATA:
            if (raw == PDU_ETX && !escaped) {
                p->receiveState = RX_CRC_HIGH;
                break;
            }
            if (p->dataPointer - p->inputStart >= TW_PDU_MAX_DATA) {
                p->receiveState = RX_IDLE;
                return 0;
            }
            p->receiveCrc = Crc16RevNext(p->receiveCrc, b);
            *p->dataPointer++ = b;
            break;
        case RX_CRC_HIGH:
            p->receiveState = b == (p->receiveCrc >> 8) ? RX_CRC_LOW : RX_IDLE;
            break;
        case RX_CRC_LOW:
            p->bytesLeft = static_cast<uint16_t>(p->dataPointer - p->inputStart);
            p->dataPointer = p->inputStart;
            p->receiveState = RX_IDLE;
            if (b == (p->receiveCrc & 0xFF)) return 1;
            return 0;
        default:
            break;
        }
    }
    return 0;
}

int IsAddressedToMe(uint8_t address) {
    const TwSerialPort* p = pCurTWSerialPort;
    return p->frameAddress == 255 || p->frameAddress == address;
}

int IsAddressed() { return pCurTWSerialPort->frameAddress != 255 ? 1 : 0; }

int IsConnectRequest() { return pCurTWSerialPort->frameKind == PDU_KIND_CONNECT ? 1 : 0; }

uint8_t GetSequenceNumber() { return pCurTWSerialPort->frameSequence; }
