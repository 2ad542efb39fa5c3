// Serial-line frames written from the framing rules: SOH, stuffed control,
// optional address and data, ETX, stuffed reflected CRC-16 (high byte first).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace twser {

inline void putStuffed(std::vector<uint8_t>& out, uint8_t b) {
    bool special = b == 0x01 || b == 0x03 || b == 0x0D || b == 0x10 || b == 0x11 || b == 0x13;
    if (special) out.push_back(0x10);
    out.push_back(special ? static_cast<uint8_t>(b | 0x20) : b);
}

// control: sequence | kind (0x40 connect); an address adds bit 0x10.
inline std::vector<uint8_t> frame(uint8_t control, std::optional<uint8_t> address, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> body{static_cast<uint8_t>(control | (address ? 0x10 : 0))};
    if (address) body.push_back(*address);
    body.insert(body.end(), data.begin(), data.end());
    uint16_t crc = 0xFFFF;
    for (uint8_t b : body) {
        crc ^= b;
        for (int i = 0; i < 8; ++i) crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
    }
    std::vector<uint8_t> out{0x01};
    for (uint8_t b : body) putStuffed(out, b);
    out.push_back(0x03);
    putStuffed(out, static_cast<uint8_t>(crc >> 8));
    putStuffed(out, static_cast<uint8_t>(crc));
    return out;
}

}  // namespace twser
