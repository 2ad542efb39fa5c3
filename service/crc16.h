// CRC-16 tables: the reflected polynomial 0xA001 (initial 0xFFFF, no final
// XOR) used by the serial frames, and the MSB-first CRC-CCITT (0x1021).
#pragma once

#include <array>
#include <cstdint>

extern const std::array<uint16_t, 256> CrcRevTable;
extern const std::array<uint16_t, 256> CrcCcittTable;

// One byte of the reflected CRC.
inline uint16_t Crc16RevNext(uint16_t crc, uint8_t b) {
    return static_cast<uint16_t>((crc >> 8) ^ CrcRevTable[(crc ^ b) & 0xFF]);
}
// One byte of the MSB-first CRC-CCITT.
uint16_t Crc16CcittNext(uint16_t crc, uint8_t b);
