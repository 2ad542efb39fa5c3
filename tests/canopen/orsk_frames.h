// Expected frames of the remote nodes' configuration: the encodings of an
// upload, a download and a segmented upload, and the whole sequence of a
// well-behaved node of each kind with the rig's scan rates.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>

#include "tests/canopen/orsk_rig.h"

using Kind = SimRemoteNode::Kind;

inline std::string frame(uint32_t cob, std::initializer_list<uint8_t> bytes) {
    char buf[40];
    int n = std::snprintf(buf, sizeof buf, "%03X#", cob);
    for (uint8_t b : bytes) n += std::snprintf(buf + n, sizeof buf - static_cast<size_t>(n), "%02X", b);
    return buf;
}

inline uint8_t b(uint32_t v, int i) { return static_cast<uint8_t>(v >> (8 * i)); }

// An expedited upload of an n-byte value, request and answer.
inline Lines up(int id, uint16_t idx, uint8_t sub, uint32_t v, int n) {
    return {frame(0x600 + id, {0x40, b(idx, 0), b(idx, 1), sub, 0, 0, 0, 0}),
            frame(0x580 + id, {static_cast<uint8_t>(0x43 + 4 * (4 - n)), b(idx, 0), b(idx, 1), sub, b(v, 0), b(v, 1),
                               b(v, 2), b(v, 3)})};
}

// An expedited download of an n-byte value, request and answer.
inline Lines dl(int id, uint16_t idx, uint8_t sub, uint32_t v, int n) {
    uint8_t d[4] = {};
    for (int i = 0; i < n; ++i) d[i] = b(v, i);
    return {frame(0x600 + id, {static_cast<uint8_t>(0x23 + 4 * (4 - n)), b(idx, 0), b(idx, 1), sub, d[0], d[1], d[2],
                               d[3]}),
            frame(0x580 + id, {0x60, b(idx, 0), b(idx, 1), sub, 0, 0, 0, 0})};
}

// A segmented upload of a text: initiate, then one request and one segment per 7 bytes.
// With extraSegment the node ends the text with one more, empty, segment.
inline Lines seg(int id, uint16_t idx, const std::string& text, bool extraSegment = false) {
    const auto len = static_cast<uint32_t>(text.size());
    Lines out = {frame(0x600 + id, {0x40, b(idx, 0), b(idx, 1), 0, 0, 0, 0, 0}),
                 frame(0x580 + id, {0x41, b(idx, 0), b(idx, 1), 0, b(len, 0), b(len, 1), b(len, 2), b(len, 3)})};
    uint8_t t = 0;
    for (size_t pos = 0; pos < text.size(); pos += 7, t ^= 0x10) {
        const size_t n = std::min<size_t>(7, text.size() - pos);
        const bool last = pos + n >= text.size();
        uint8_t d[8] = {static_cast<uint8_t>(t | (7 - n) << 1 | (last ? 1 : 0))};
        for (size_t i = 0; i < n; ++i) d[1 + i] = static_cast<uint8_t>(text[pos + i]);
        out.push_back(frame(0x600 + id, {static_cast<uint8_t>(0x60 | t), 0, 0, 0, 0, 0, 0, 0}));
        out.push_back(frame(0x580 + id, {d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7]}));
    }
    if (extraSegment) {
        out.push_back(frame(0x600 + id, {static_cast<uint8_t>(0x60 | t), 0, 0, 0, 0, 0, 0, 0}));
        out.push_back(frame(0x580 + id, {static_cast<uint8_t>(t | 0x0F), 0, 0, 0, 0, 0, 0, 0}));
    }
    return out;
}

inline void add(Lines& to, const Lines& more) { to.insert(to.end(), more.begin(), more.end()); }

struct KindCase {
    Kind kind;
    int slot;   // record index
    int id;     // node id
    const char* name;
};
inline const KindCase kKinds[] = {{Kind::AnalogIO, 0, 1, "VL-AIO-10C"},
                           {Kind::Rtd, 1, 3, "VL-RTD-8C"},
                           {Kind::DiscreteIn, 2, 4, "VL-BI-16C"},
                           {Kind::RelayOut, 3, 5, "VL-BO-16C"}};

// The whole sequence of a well-behaved node of each kind with the rig's scan rates.
inline Lines expectedSequence(const KindCase& c, bool extraSegment = false) {
    const int id = c.id;
    const uint32_t code = SimRemoteNode::moduleCode(c.kind);
    const uint32_t serial = 41000u + static_cast<uint32_t>(id);
    Lines x = {frame(0, {0x81, static_cast<uint8_t>(id)}), frame(0x700 + id, {0})};
    add(x, up(id, 0x1018, 4, serial, 4));
    add(x, up(id, 0x2264, 2, 1, 1));
    add(x, up(id, 0x2000, 0, code, 4));
    if (c.kind == Kind::AnalogIO) add(x, dl(id, 0x1403, 5, 140, 2));  // 40 ms + 100
    if (c.kind == Kind::RelayOut) add(x, dl(id, 0x1400, 5, 180, 2));  // 80 ms + 100
    if (c.kind == Kind::Rtd) {
        // The rig's words: 0x100 + channel index (one byte on the bus) and 0x2D0000 + index.
        for (int ch = 1; ch <= 8; ++ch)
            add(x, dl(id, 0x2269, static_cast<uint8_t>(ch), static_cast<uint32_t>(ch - 1), 1));
        for (int ch = 1; ch <= 8; ++ch)
            add(x, dl(id, 0x6430, static_cast<uint8_t>(ch), 0x2D0000u + static_cast<uint32_t>(ch - 1), 4));
    }
    add(x, up(id, 0x1018, 1, 0x1F0, 4));
    add(x, up(id, 0x1018, 2, 0x00100000u + static_cast<uint32_t>(c.kind), 4));
    add(x, up(id, 0x1018, 3, 0x00010002, 4));
    add(x, up(id, 0x1018, 4, serial, 4));
    add(x, seg(id, 0x1008, c.name, extraSegment));
    add(x, seg(id, 0x100A, "rev A 2.14", extraSegment));
    add(x, dl(id, 0x1017, 0, 0, 2));
    switch (c.kind) {
        case Kind::AnalogIO:
            add(x, dl(id, 0x1803, 5, 100, 2));
            add(x, dl(id, 0x1801, 5, 200, 2));
            add(x, dl(id, 0x1802, 5, 1000, 2));  // 5000 limited
            break;
        case Kind::Rtd:
            add(x, dl(id, 0x1801, 5, 200, 2));
            add(x, dl(id, 0x1802, 5, 300, 2));
            break;
        case Kind::DiscreteIn: add(x, dl(id, 0x1800, 5, 150, 2)); break;
        case Kind::RelayOut: add(x, dl(id, 0x1800, 5, 250, 2)); break;
    }
    return x;
}

// The controller's requests (SDO requests and NMT commands) among the lines.
inline Lines requestsOf(const Lines& lines) {
    Lines out;
    for (const std::string& l : lines)
        if (l[0] == '6' || l.rfind("000#", 0) == 0) out.push_back(l);
    return out;
}
