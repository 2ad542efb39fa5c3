// Receive framer of the serial transport: SOH, stuffed control, address and
// data bytes, ETX and the CRC, one byte at a time from the byte callback;
// works on the current serial port record.
#pragma once

#include <cstdint>

constexpr uint8_t PDU_SOH = 0x01;
constexpr uint8_t PDU_ETX = 0x03;
constexpr uint8_t PDU_DLE = 0x10;
constexpr uint8_t PDU_STUFF_BIT = 0x20;
constexpr uint8_t PDU_ADDRESS_FLAG = 0x10;
constexpr uint8_t PDU_KIND_CONNECT = 0x40;
constexpr uint8_t PDU_KIND_DATA = 0x00;

// True for the byte values that travel stuffed.
inline bool PduIsStuffed(uint8_t b) {
    return b == 0x01 || b == 0x03 || b == 0x0D || b == 0x10 || b == 0x11 || b == 0x13;
}

void InPduOpen(uint8_t (*getByte)(uint8_t* byte));
// 1 when a frame with a good CRC is complete.
int PduReceive();

int IsAddressedToMe(uint8_t address);
int IsAddressed();
int IsConnectRequest();
uint8_t GetSequenceNumber();
