// Byte-level framing and table packing of the Modbus slave.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "modbus/MODUTIL.h"

namespace {

std::vector<uint8_t> withCrc(std::vector<uint8_t> b) {
    uint16_t c = MOD_Crc(b.data(), static_cast<int>(b.size()));
    b.push_back(static_cast<uint8_t>(c));
    b.push_back(static_cast<uint8_t>(c >> 8));
    return b;
}

ModbusMsgBuf rtu(const std::vector<uint8_t>& frame) {
    ModbusMsgBuf buf{};
    if (!frame.empty()) std::memcpy(buf.data, frame.data(), frame.size());
    MOD_RtuCheck(&buf, static_cast<int>(frame.size()));
    return buf;
}

ModbusMsgBuf ascii(const std::string& line) {
    ModbusMsgBuf buf{};
    MOD_AscDecode(reinterpret_cast<const uint8_t*>(line.data()), static_cast<int>(line.size()), &buf);
    return buf;
}

std::vector<uint8_t> bytes(const ModbusMsgBuf& b) { return {b.data, b.data + b.length}; }

}  // namespace

TEST(ModbusFraming, CrcTableAndRtuFrames) {
    // Known CRC of the request 01 03 00 00 00 01 is 0x0A84 (sent 84 0A).
    std::vector<uint8_t> req = {0x01, 0x03, 0x00, 0x00, 0x00, 0x01};
    EXPECT_EQ(MOD_Crc(req.data(), 6), 0x0A84);
    EXPECT_EQ(crctab[1], 0xC0C1);
    EXPECT_EQ(crctab[255], 0x4040);

    ModbusMsgBuf ok = rtu(withCrc(req));
    EXPECT_EQ(ok.status, MOD_ST_GOOD);
    EXPECT_EQ(ok.length, 6);

    std::vector<uint8_t> swapped = withCrc(req);
    std::swap(swapped[6], swapped[7]);
    EXPECT_EQ(rtu(swapped).status, MOD_ST_CHECKSUM);

    std::vector<uint8_t> flipped = withCrc(req);
    flipped[3] ^= 0x10;
    EXPECT_EQ(rtu(flipped).status, MOD_ST_CHECKSUM);

    EXPECT_EQ(rtu({0x01, 0x03, 0x00, 0x00}).status, MOD_ST_SHORT);  // 4 bytes
    ModbusMsgBuf five = rtu(withCrc({0x01, 0x08, 0x00}));
    EXPECT_EQ(five.status, MOD_ST_GOOD);
    EXPECT_EQ(five.length, 3);
    // An empty read (flush) is "nothing received", not a short frame.
    EXPECT_EQ(rtu({}).status, MOD_ST_NOTHING);

    // Reply framing appends the CRC low byte first; an empty reply sends FF FF.
    ModbusMsgBuf reply{};
    std::memcpy(reply.data, req.data(), 6);
    reply.length = 6;
    uint8_t out[kModDataSize + 2];
    ASSERT_EQ(MOD_RtuFrame(&reply, out), 8);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 8), withCrc(req));
    reply.length = 0;
    ASSERT_EQ(MOD_RtuFrame(&reply, out), 2);
    EXPECT_EQ(out[0], 0xFF);
    EXPECT_EQ(out[1], 0xFF);
    // A reply is never framed longer than the longest ADU.
    reply.length = 400;
    EXPECT_EQ(MOD_RtuFrame(&reply, out), kModMaxAdu + 2);
}

TEST(ModbusFraming, AsciiDecodeAndEncode) {
    ModbusMsgBuf b = ascii("x?\x7f:010300000001FB\n");
    EXPECT_EQ(b.status, MOD_ST_GOOD);
    EXPECT_EQ(bytes(b), (std::vector<uint8_t>{1, 3, 0, 0, 0, 1}));
    EXPECT_EQ(ascii(":010300000001FB\r\n").length, 6);  // CR LF gives the same length
    EXPECT_EQ(ascii(":010300000001fb\n").status, MOD_ST_GOOD);
    ModbusMsgBuf lower = ascii(":0a0300000001f2\n");
    EXPECT_EQ(lower.status, MOD_ST_GOOD);
    EXPECT_EQ(lower.data[0], 0x0A);

    EXPECT_EQ(ascii(":010300000001FA\n").status, MOD_ST_CHECKSUM);  // wrong LRC
    EXPECT_EQ(ascii(":01FE\n").status, MOD_ST_SHORT);             // 5 characters after the colon: too short
    EXPECT_EQ(ascii(":0103\n").status, MOD_ST_SHORT);
    EXPECT_EQ(ascii("010300000001FB\n").status, MOD_ST_SHORT);     // no ':' at all
    EXPECT_EQ(ascii("").status, MOD_ST_NOTHING);
    ModbusMsgBuf one = ascii(":01FF\n\n");  // r = 6: one byte and its LRC
    EXPECT_EQ(one.status, MOD_ST_GOOD);
    EXPECT_EQ(one.length, 1);

    // Exception reply to address 1, function 3, code 2.
    ModbusMsgBuf exc{};
    exc.data[0] = 1;
    exc.data[1] = 0x83;
    exc.data[2] = 2;
    exc.length = 3;
    uint8_t out[2 * kModDataSize + 4];
    int n = MOD_AscFrame(&exc, out);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), static_cast<size_t>(n)), ":0183027A\n");
    // The longest reply fits the writer's buffer.
    exc.length = kModDataSize;
    EXPECT_EQ(MOD_AscFrame(&exc, out), 2 * kModMaxAdu + 4);
}

TEST(ModbusFraming, MbapHeaderChecks) {
    std::vector<uint8_t> f = {0x12, 0x34, 0, 0, 0, 6, 1, 3, 0, 0, 0, 1};
    EXPECT_EQ(MOD_MbapWanted(f.data(), 0), 6);
    EXPECT_EQ(MOD_MbapWanted(f.data(), 3), 3);
    EXPECT_EQ(MOD_MbapWanted(f.data(), 6), 6);
    EXPECT_EQ(MOD_MbapWanted(f.data(), 12), 0);
    EXPECT_EQ(MOD_MbapFrameLength(f.data(), 12), 6);
    EXPECT_EQ(MOD_MbapFrameLength(f.data(), 11), -1);

    auto bad = [&](int idx, uint8_t v) {
        std::vector<uint8_t> g = f;
        g[static_cast<size_t>(idx)] = v;
        return MOD_MbapWanted(g.data(), 6);
    };
    EXPECT_EQ(bad(2, 1), -1);     // protocol identifier not 0
    EXPECT_EQ(bad(3, 1), -1);
    EXPECT_EQ(bad(4, 1), -1);     // length 262 > 254
    EXPECT_EQ(bad(5, 1), -1);     // length 1: no function code
    EXPECT_EQ(bad(5, 0), -1);
    EXPECT_EQ(bad(5, 255), -1);
    EXPECT_EQ(bad(5, 254), 254);  // the longest legal frame

    ModbusMsgBuf buf{};
    MOD_MbapTake(f.data(), 12, &buf);
    EXPECT_EQ(buf.length, 6);
    EXPECT_EQ(buf.data[0], 1);
    EXPECT_EQ(buf.data[5], 1);
    // The reply carries the transaction and protocol identifiers back with its own length.
    buf.data[1] = 0x83;
    buf.data[2] = 2;
    buf.length = 3;
    uint8_t out[kModDataSize + 6];
    int n = MOD_MbapFrame(&buf, out);
    EXPECT_EQ(std::vector<uint8_t>(out, out + n), (std::vector<uint8_t>{0x12, 0x34, 0, 0, 0, 3, 1, 0x83, 2}));
}

TEST(ModbusFraming, TablePacking) {
    uint32_t coils[22] = {};
    for (int k : {0, 2, 7, 8, 9, 21}) coils[k] = 1;
    coils[3] = 2;  // only 1 counts as set
    uint8_t out[300];
    // Quantity 3 from the start returns one byte holding coils 0-7.
    EXPECT_EQ(fetchdig(coils, 3, out, 22), 1);
    EXPECT_EQ(out[0], 0x85);
    EXPECT_EQ(fetchdig(coils, 0, out, 22), 0);
    // Past the end of the table the bits and bytes are 0.
    std::memset(out, 0xAA, sizeof out);
    EXPECT_EQ(fetchdig(coils + 16, 24, out, 6), 3);
    EXPECT_EQ(out[0], 0x20);
    EXPECT_EQ(out[1], 0);
    EXPECT_EQ(out[2], 0);

    int16_t regs[5] = {1, -2, 0x1234, 4, 5};
    std::memset(out, 0xAA, sizeof out);
    EXPECT_EQ(fetchreg(regs + 3, 4, out, 2), 8);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 8), (std::vector<uint8_t>{0, 4, 0, 5, 0, 0, 0, 0}));
    EXPECT_EQ(fetchreg(regs, 2, out, 5), 4);
    EXPECT_EQ(out[2], 0xFF);
    EXPECT_EQ(out[3], 0xFE);

    // storedig/storereg take bits LSB first and values high byte first.
    uint32_t dst[10] = {};
    dst[1] = 1;
    uint8_t bits[2] = {0x05, 0x02};
    storedig(dst, 10, bits, 0, 0, 0);
    EXPECT_EQ(std::vector<uint32_t>(dst, dst + 10), (std::vector<uint32_t>{1, 0, 1, 0, 0, 0, 0, 0, 0, 1}));
    int16_t rdst[3] = {};
    uint8_t vals[6] = {0x80, 0x01, 0x00, 0x07, 0xFF, 0xFF};
    storereg(rdst, 3, vals, 0, 0, 0);
    EXPECT_EQ(rdst[0], static_cast<int16_t>(0x8001));
    EXPECT_EQ(rdst[1], 7);
    EXPECT_EQ(rdst[2], -1);

    int16_t sbits[9] = {1, 0, 1, 1, 0, 0, 0, 1, 1};
    EXPECT_EQ(packbits_short(sbits, 8), 0x8D);
    EXPECT_EQ(fetchdig_short(sbits, 9, out, 9), 2);
    EXPECT_EQ(out[1], 1);
    EXPECT_EQ(packbits(coils, 0), 0);
}

TEST(ModbusFraming, HexAndDelayQueue) {
    uint8_t sum = 0;
    uint8_t pair[2];
    btoh(pair, &sum, 0xA7);
    EXPECT_EQ(pair[0], 'A');
    EXPECT_EQ(pair[1], '7');
    uint8_t s2 = 0;
    const uint8_t lower[2] = {'a', '7'};
    EXPECT_EQ(htob(lower, &s2), 0xA7);
    EXPECT_EQ(s2, sum);

    ModQueue q{};
    EXPECT_EQ(modqrmv(&q), -1);
    EXPECT_EQ(modqput(&q, 10, 1), 1);
    EXPECT_EQ(modqput(&q, 25, 2), 1);
    EXPECT_EQ(q.delay[1], 15);  // reduced by the queued delays
    EXPECT_EQ(modqon(&q, 2), 1);
    EXPECT_EQ(modqon(&q, 3), 0);
    EXPECT_EQ(modqrmv(&q), 1);
    EXPECT_EQ(modqon(&q, 1), 0);
    for (int k = 0; k < 14; ++k) EXPECT_EQ(modqput(&q, 0, 10 + k), 1);
    EXPECT_EQ(modqput(&q, 0, 99), -1);  // full: 15 entries
}
