// Byte-level framing of the Modbus slave: RTU CRC, ASCII LRC, MBAP headers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "modbus/MODUTIL.h"
#include "runtime/appmem.h"
#include "tests/modbus/modbus_rig.h"

using mbt::Bytes;

TEST(ModbusFraming, RtuAndAsciiChecks) {
    // Known CRC of 01 03 00 00 00 01 is 0x0A84 (sent 84 0A).
    Bytes req = {0x01, 0x03, 0x00, 0x00, 0x00, 0x01};
    EXPECT_EQ(MOD_Crc(req.data(), 6), 0x0A84);
    auto rtu = [](const Bytes& frame) {
        ModbusMsgBuf buf{};
        if (!frame.empty()) std::memcpy(buf.data, frame.data(), frame.size());
        MOD_RtuCheck(&buf, static_cast<int>(frame.size()));
        return std::pair{buf.status, buf.length};
    };
    Bytes swapped = mbt::rtu(req);
    std::swap(swapped[6], swapped[7]);
    EXPECT_EQ(rtu(mbt::rtu(req)), std::pair(MOD_ST_GOOD, 6));
    EXPECT_EQ(rtu(swapped).first, MOD_ST_CHECKSUM);
    EXPECT_EQ(rtu({0x01, 0x03, 0x00, 0x00}).first, MOD_ST_SHORT);
    EXPECT_EQ(rtu(mbt::rtu({0x01, 0x08, 0x00})), std::pair(MOD_ST_GOOD, 3));
    EXPECT_EQ(rtu({}).first, MOD_ST_NOTHING);  // an empty read (flush) is no error

    const std::pair<std::string, int> lines[] = {
        {"x?\x7f:010300000001FB\n", MOD_ST_GOOD}, {":010300000001fb\r\n", MOD_ST_GOOD},
        {":0a0300000001f2\n", MOD_ST_GOOD},       {":01FF\n\n", MOD_ST_GOOD},  // one byte and its LRC
        {":010300000001FA\n", MOD_ST_CHECKSUM},   {":01FE\n", MOD_ST_SHORT},
        {":0103\n", MOD_ST_SHORT},                {"010300000001FB\n", MOD_ST_SHORT},  // no ':'
        {"", MOD_ST_NOTHING},
    };
    for (const auto& [line, status] : lines) {
        ModbusMsgBuf b{};
        MOD_AscDecode(reinterpret_cast<const uint8_t*>(line.data()), static_cast<int>(line.size()), &b);
        EXPECT_EQ(b.status, status) << line;
    }
    // The longest reply fits the writers' buffers.
    ModbusMsgBuf big{};
    big.length = kModDataSize;
    uint8_t out[2 * kModDataSize + 4];
    EXPECT_EQ(MOD_AscFrame(&big, out), 2 * kModMaxAdu + 4);
    EXPECT_EQ(MOD_RtuFrame(&big, out), kModMaxAdu + 2);
}

TEST(ModbusFraming, MbapHeaderChecks) {
    Bytes f = mbt::mbap(0x1234, {1, 3, 0, 0, 0, 1});
    EXPECT_EQ(MOD_MbapWanted(f.data(), 0), 6);
    EXPECT_EQ(MOD_MbapWanted(f.data(), 3), 3);
    EXPECT_EQ(MOD_MbapWanted(f.data(), 6), 6);
    EXPECT_EQ(MOD_MbapWanted(f.data(), 12), 0);
    // Protocol identifier not 0, length above 254 or without a function code; 2 and 254 are taken.
    for (auto [idx, v, wanted] : {std::tuple{2, 1, -1}, {3, 1, -1}, {4, 1, -1}, {5, 1, -1}, {5, 0, -1},
                                  {5, 255, -1}, {5, 254, 254}, {5, 2, 2}}) {
        Bytes g = f;
        g[size_t(idx)] = uint8_t(v);
        EXPECT_EQ(MOD_MbapWanted(g.data(), 6), wanted) << idx << " " << v;
    }
}

// The integer areas by kind: 1..4 are the four areas, anything else none.
TEST(ModbusAreas, KindsOneToFour) {
    const std::pair<int, int32_t*> kinds[] = {{-1, nullptr}, {0, nullptr}, {1, MOD_AreaBase[1]}, {2, dn_i},
                                              {3, up_i},     {4, mw_i},   {5, nullptr}};
    for (const auto& [kind, area] : kinds) EXPECT_EQ(MOD_IntArea(kind), area) << kind;
}

// A device's fault and status cells are those of its row; a number outside
// the table has none.
TEST(ModbusDevices, CellsOfRowsInsideTheTableOnly) {
    ASSERT_NE(devtab[1].statusCell, nullptr);
    ASSERT_NE(devtab[ndevs - 1].faultCell, nullptr);
    struct Row { int dev; const uint32_t* fault; const int32_t* status; };
    const Row rows[] = {{-1, nullptr, nullptr},
                        {1, &devtab[1].faultCell(), &devtab[1].statusCell()},
                        {ndevs - 1, &devtab[ndevs - 1].faultCell(), nullptr},
                        {ndevs, nullptr, nullptr},
                        {ndevs + 1, nullptr, nullptr}};
    for (const Row& r : rows) {
        EXPECT_EQ(MOD_DevFaultCell(r.dev), r.fault) << r.dev;
        EXPECT_EQ(MOD_DevStatusCell(r.dev), r.status) << r.dev;
    }
}
