#include "service/crc16.h"

namespace {

constexpr std::array<uint16_t, 256> makeRevTable() {
    std::array<uint16_t, 256> t{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xA001u : c >> 1;
        t[i] = static_cast<uint16_t>(c);
    }
    return t;
}

constexpr std::array<uint16_t, 256> makeCcittTable() {
    std::array<uint16_t, 256> t{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned c = i << 8;
        for (int k = 0; k < 8; ++k) c = (c & 0x8000) ? ((c << 1) ^ 0x1021u) : c << 1;
        t[i] = static_cast<uint16_t>(c);
    }
    return t;
}

}  // namespace

constinit const std::array<uint16_t, 256> CrcRevTable = makeRevTable();
constinit const std::array<uint16_t, 256> CrcCcittTable = makeCcittTable();

uint16_t Crc16CcittNext(uint16_t crc, uint8_t b) {
    return static_cast<uint16_t>((crc << 8) ^ CrcCcittTable[((crc >> 8) ^ b) & 0xFF]);
}
