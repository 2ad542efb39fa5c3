// A serial-line client written from the framing rules: builds stuffed
// frames with the reflected CRC-16 and takes replies apart.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace twser {

inline uint16_t crc16(const std::vector<uint8_t>& bytes) {
    uint16_t c = 0xFFFF;
    for (uint8_t b : bytes) {
        c ^= b;
        for (int i = 0; i < 8; ++i) c = (c & 1) ? static_cast<uint16_t>((c >> 1) ^ 0xA001) : static_cast<uint16_t>(c >> 1);
    }
    return c;
}

inline bool special(uint8_t b) { return b == 0x01 || b == 0x03 || b == 0x0D || b == 0x10 || b == 0x11 || b == 0x13; }

inline void putStuffed(std::vector<uint8_t>& out, uint8_t b) {
    if (special(b)) {
        out.push_back(0x10);
        out.push_back(static_cast<uint8_t>(b | 0x20));
    } else {
        out.push_back(b);
    }
}

// control: sequence | kind (0x40 connect); address present adds bit 0x10.
inline std::vector<uint8_t> frame(uint8_t control, std::optional<uint8_t> address, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> body;
    body.push_back(static_cast<uint8_t>(control | (address ? 0x10 : 0)));
    if (address) body.push_back(*address);
    body.insert(body.end(), data.begin(), data.end());
    uint16_t crc = crc16(body);
    std::vector<uint8_t> out{0x01};
    for (uint8_t b : body) putStuffed(out, b);
    out.push_back(0x03);
    putStuffed(out, static_cast<uint8_t>(crc >> 8));
    putStuffed(out, static_cast<uint8_t>(crc));
    return out;
}

struct Reply {
    uint8_t control = 0;
    std::vector<uint8_t> data;
    bool crcOk = false;
};

// Parses one reply frame from the start of `line`; consumed is set to the
// bytes it took (0 when no complete frame is there).
inline std::optional<Reply> parse(const std::vector<uint8_t>& line, size_t* consumed) {
    *consumed = 0;
    size_t i = 0;
    while (i < line.size() && line[i] != 0x01) ++i;
    if (i == line.size()) return std::nullopt;
    ++i;
    std::vector<uint8_t> body;
    bool esc = false;
    for (; i < line.size(); ++i) {
        uint8_t b = line[i];
        if (b == 0x10) { esc = true; continue; }
        if (b == 0x03 && !esc) break;
        body.push_back(esc ? static_cast<uint8_t>(b ^ 0x20) : b);
        esc = false;
    }
    if (i == line.size()) return std::nullopt;
    ++i;
    uint8_t crcBytes[2];
    for (int k = 0; k < 2; ++k) {
        if (i >= line.size()) return std::nullopt;
        if (line[i] == 0x10) {
            if (i + 1 >= line.size()) return std::nullopt;
            crcBytes[k] = static_cast<uint8_t>(line[i + 1] ^ 0x20);
            i += 2;
        } else {
            crcBytes[k] = line[i++];
        }
    }
    *consumed = i;
    Reply r;
    if (body.empty()) return r;
    r.control = body[0];
    r.data.assign(body.begin() + 1, body.end());
    r.crcOk = crc16(body) == ((crcBytes[0] << 8) | crcBytes[1]);
    return r;
}

}  // namespace twser
