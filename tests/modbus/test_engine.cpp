// The request engine on buffers: every function code, its exception rules,
// the per-transport limits, reads past a table's end, write enables and
// short requests.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "modbus/MODBUS.h"
#include "modbus/ModbusSupport.h"

namespace {

struct Tables {
    int32_t area[64] = {};  // stands for mr_i: counters live here
    uint32_t coils[22] = {};
    uint32_t inputs[90] = {};
    int16_t inRegs[50] = {};
    int16_t holdRegs[5] = {};
    int32_t port = 0, slave = 1, mode = 2;
    uint32_t coilWe = 1, regWe = 1;
    float timeout = 1.0f;

    ModSlave slave_(int bitLimit, int regLimit, int coilBase = 0) {
        MOD_AreaBase[1] = area;
        ModbusSlaveArgs a{&port,    &slave,    &mode, 0,       coils,     coilBase, 22,      inputs,    0,
                          90,       inRegs,    0,     50,      holdRegs,  0,        5,       &area[1],  &area[2],
                          &area[3], &port,     7,     0,       &timeout,  &coilWe,  &regWe};
        ModSlave s;
        MOD_InitSlave(&s, &a);
        s.bitLimit = bitLimit;
        s.regLimit = regLimit;
        return s;
    }
};

struct Case {
    const char* name;
    std::vector<uint8_t> request;
    int exception;                 // expected exception code, 0 for a reply
    std::vector<uint8_t> reply;    // expected reply (when exception is 0)
};

// Runs one request; returns the exception code and leaves the reply in out.
int run(ModSlave& s, const std::vector<uint8_t>& req, std::vector<uint8_t>* out) {
    ModbusMsgBuf buf{};
    std::memset(buf.data, 0, sizeof buf.data);
    std::memcpy(buf.data, req.data(), req.size());
    buf.length = static_cast<int>(req.size());
    int code = MOD_Execute(&s, &buf);
    out->assign(buf.data, buf.data + buf.length);
    return code;
}

void runCases(ModSlave& s, const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        std::vector<uint8_t> out;
        int code = run(s, c.request, &out);
        EXPECT_EQ(code, c.exception) << c.name;
        if (c.exception == 0) {
            EXPECT_EQ(out, c.reply) << c.name;
        }
    }
}

}  // namespace

TEST(ModbusEngine, ReadsLimitsAndTableEnds) {
    Tables t;
    for (int k : {0, 2, 7, 21}) t.coils[k] = 1;
    for (int k : {0, 89}) t.inputs[k] = 1;
    t.holdRegs[3] = 0x1234;
    t.holdRegs[4] = -1;
    t.inRegs[49] = 0x0102;
    ModSlave net = t.slave_(1888, 118);
    runCases(net, {
        {"coils q3 gives the whole first byte", {1, 1, 0, 0, 0, 3}, 0, {1, 1, 1, 0x85}},
        {"coils q0 gives byte count 0", {1, 1, 0, 0, 0, 0}, 0, {1, 1, 0}},
        {"coils past the end are 0", {1, 1, 0, 21, 0, 9}, 0, {1, 1, 2, 0x01, 0x00}},
        {"coil address at count", {1, 1, 0, 22, 0, 1}, 2, {}},
        {"coil address 0xFFFF", {1, 1, 0xFF, 0xFF, 0, 1}, 2, {}},
        {"coils above the bit limit", {1, 1, 0, 0, 0x07, 0x61}, 3, {}},
        {"inputs last element", {1, 2, 0, 89, 0, 1}, 0, {1, 2, 1, 1}},
        {"inputs address 90", {1, 2, 0, 90, 0, 1}, 2, {}},
        {"holding past the end reads 0", {1, 3, 0, 3, 0, 4}, 0, {1, 3, 8, 0x12, 0x34, 0xFF, 0xFF, 0, 0, 0, 0}},
        {"holding q0", {1, 3, 0, 0, 0, 0}, 0, {1, 3, 0}},
        {"holding address 5", {1, 3, 0, 5, 0, 1}, 2, {}},
        {"input regs q119 over the network", {1, 4, 0, 0, 0, 119}, 3, {}},
        {"input regs last", {1, 4, 0, 49, 0, 1}, 0, {1, 4, 2, 1, 2}},
        {"address check comes before the limit", {1, 4, 0, 50, 0x7F, 0xFF}, 2, {}},
    });
    // The largest network read fills 239 bytes.
    std::vector<uint8_t> out;
    EXPECT_EQ(run(net, {1, 1, 0, 0, 0x07, 0x60}, &out), 0);
    EXPECT_EQ(out.size(), 239u);
    EXPECT_EQ(run(net, {1, 4, 0, 0, 0, 118}, &out), 0);
    EXPECT_EQ(out.size(), 239u);
    EXPECT_EQ(out[2], 236);

    ModSlave asc = t.slave_(944, 59);
    runCases(asc, {
        {"input regs q60 over ASCII", {1, 4, 0, 0, 0, 60}, 3, {}},
        {"coils q945 over ASCII", {1, 1, 0, 0, 0x03, 0xB1}, 3, {}},
    });
    EXPECT_EQ(run(asc, {1, 4, 0, 0, 0, 59}, &out), 0);
    EXPECT_EQ(out.size(), 121u);
    EXPECT_EQ(run(asc, {1, 2, 0, 0, 0x03, 0xB0}, &out), 0);
    EXPECT_EQ(out.size(), 121u);

    // A table whose first address is not 0.
    ModSlave based = t.slave_(1888, 118, 100);
    runCases(based, {
        {"below the first address", {1, 1, 0, 99, 0, 1}, 2, {}},
        {"at the first address (the byte carries the following coils)", {1, 1, 0, 100, 0, 1}, 0, {1, 1, 1, 0x85}},
    });
}

TEST(ModbusEngine, WritesAndWriteEnables) {
    Tables t;
    ModSlave s = t.slave_(1888, 118);
    runCases(s, {
        {"coil on", {1, 5, 0, 4, 0xFF, 0}, 0, {1, 5, 0, 4, 0xFF, 0}},
        {"coil value 0x1234", {1, 5, 0, 5, 0x12, 0x34}, 3, {}},
        {"coil address 22", {1, 5, 0, 22, 0xFF, 0}, 2, {}},
        {"register", {1, 6, 0, 4, 0xAB, 0xCD}, 0, {1, 6, 0, 4, 0xAB, 0xCD}},
        {"register address 5", {1, 6, 0, 5, 0, 1}, 2, {}},
        {"two registers", {1, 16, 0, 0, 0, 2, 4, 0, 7, 0xFF, 0xF0}, 0, {1, 16, 0, 0, 0, 2}},
        {"3 registers at the last address", {1, 16, 0, 4, 0, 3, 6, 0, 1, 0, 2, 0, 3}, 2, {}},
        {"ten coils", {1, 15, 0, 10, 0, 10, 2, 0x01, 0x02}, 0, {1, 15, 0, 10, 0, 10}},
        {"coils beyond the table", {1, 15, 0, 20, 0, 3, 1, 7}, 2, {}},
    });
    EXPECT_EQ(t.coils[4], 1);
    EXPECT_EQ(t.coils[5], 0);
    EXPECT_EQ(t.holdRegs[4], static_cast<int16_t>(0xABCD));
    EXPECT_EQ(t.holdRegs[0], 7);
    EXPECT_EQ(t.holdRegs[1], -16);
    EXPECT_EQ(t.coils[10], 1);
    EXPECT_EQ(t.coils[19], 1);
    EXPECT_EQ(t.coils[11], 0);

    // Write enables off: single writes are echoed, multiple writes answered,
    // and nothing changes.
    t.coilWe = 0;
    t.regWe = 0;
    runCases(s, {
        {"coil off while disabled", {1, 5, 0, 4, 0, 0}, 0, {1, 5, 0, 4, 0, 0}},
        {"coil bad value while disabled", {1, 5, 0, 4, 0x12, 0x34}, 0, {1, 5, 0, 4, 0x12, 0x34}},
        {"register while disabled", {1, 6, 0, 0, 0, 9}, 0, {1, 6, 0, 0, 0, 9}},
        {"registers while disabled", {1, 16, 0, 0, 0, 1, 2, 0, 9}, 0, {1, 16, 0, 0, 0, 1}},
        {"coils while disabled", {1, 15, 0, 0, 0, 1, 1, 1}, 0, {1, 15, 0, 0, 0, 1}},
        {"range still checked for multiple writes", {1, 16, 0, 5, 0, 1, 2, 0, 9}, 2, {}},
    });
    EXPECT_EQ(t.coils[4], 1);
    EXPECT_EQ(t.coils[0], 0);
    EXPECT_EQ(t.holdRegs[0], 7);
    t.coilWe = 2;  // only 1 enables
    std::vector<uint8_t> out;
    EXPECT_EQ(run(s, {1, 5, 0, 0, 0xFF, 0}, &out), 0);
    EXPECT_EQ(t.coils[0], 0);
}

TEST(ModbusEngine, DiagnosticsUnknownCodesAndShortRequests) {
    Tables t;
    ModSlave s = t.slave_(1888, 118);
    runCases(s, {
        {"diagnostics sub-function 0 echoes", {1, 8, 0, 0, 0xA5, 0x37}, 0, {1, 8, 0, 0, 0xA5, 0x37}},
        {"diagnostics sub-function 1", {1, 8, 0, 1, 0, 0}, 1, {}},
        {"code 0", {1, 0, 0, 0, 0, 1}, 1, {}},
        {"code 7", {1, 7, 0, 0, 0, 1}, 1, {}},
        {"code 9", {1, 9, 0, 0, 0, 1}, 1, {}},
        {"code 14", {1, 14, 0, 0, 0, 1}, 1, {}},
        {"code 17", {1, 17, 0, 0, 0, 1}, 1, {}},
        {"code 0x83", {1, 0x83, 0, 0, 0, 1}, 1, {}},
        // Requests shorter than their code needs.
        {"read of 4 bytes", {1, 3, 0, 0}, 3, {}},
        {"read of 5 bytes", {1, 1, 0, 0, 0}, 3, {}},
        {"write coil of 5 bytes", {1, 5, 0, 0, 0xFF}, 3, {}},
        {"diagnostics of 2 bytes", {1, 8}, 3, {}},
        {"registers without byte count", {1, 16, 0, 0, 0, 1}, 3, {}},
        {"registers byte count not 2Q", {1, 16, 0, 0, 0, 2, 2, 0, 1, 0, 2}, 3, {}},
        {"registers missing data", {1, 16, 0, 0, 0, 2, 4, 0, 1, 0}, 3, {}},
        {"coils byte count not ceil(Q/8)", {1, 15, 0, 0, 0, 9, 1, 0xFF, 0x01}, 3, {}},
        {"coils missing data", {1, 15, 0, 0, 0, 9, 2, 0xFF}, 3, {}},
        {"unknown code stays exception 1 when short", {1, 0x2B}, 1, {}},
    });
    EXPECT_EQ(t.holdRegs[0], 0);
    EXPECT_EQ(t.coils[0], 0);

    // Stale bytes of an earlier, longer request are never used: the short
    // read is refused even though the bytes behind it would make a request.
    ModbusMsgBuf buf{};
    const uint8_t stale[] = {1, 6, 0, 1, 0x11, 0x22};
    std::memcpy(buf.data, stale, sizeof stale);
    buf.length = 4;
    EXPECT_EQ(MOD_Execute(&s, &buf), 3);
    EXPECT_EQ(t.holdRegs[1], 0);

    // Echoes of long requests: codes 5 and 6 answer their 6 bytes, a
    // diagnostics echo is capped at the longest frame.
    std::vector<uint8_t> longReq(254, 0x5A);
    longReq[0] = 1;
    longReq[1] = 6;
    longReq[2] = 0;
    longReq[3] = 2;
    std::vector<uint8_t> out;
    EXPECT_EQ(run(s, longReq, &out), 0);
    EXPECT_EQ(out, (std::vector<uint8_t>{1, 6, 0, 2, 0x5A, 0x5A}));
    longReq[1] = 5;
    longReq[4] = 0xFF;
    longReq[5] = 0;
    EXPECT_EQ(run(s, longReq, &out), 0);
    EXPECT_EQ(out.size(), 6u);
    EXPECT_EQ(t.coils[2], 1);
    longReq[1] = 8;
    longReq[2] = longReq[3] = 0;
    EXPECT_EQ(run(s, longReq, &out), 0);
    EXPECT_EQ(out, longReq);
    ModbusMsgBuf huge{};
    huge.data[0] = 1;
    huge.data[1] = 8;
    huge.length = kModDataSize;
    EXPECT_EQ(MOD_Execute(&s, &huge), 0);
    EXPECT_EQ(huge.length, kModMaxAdu);
}

TEST(ModbusEngine, ErrorsAndExceptionReplies) {
    Tables t;
    t.slave_(1888, 118);
    set_error_exception(&t.area[1], &t.area[3], 2, 7);
    set_error_exception(&t.area[1], &t.area[3], 23, 7);
    EXPECT_EQ(t.area[1], 2);
    EXPECT_EQ(t.area[3], 23);
    EXPECT_EQ(Fetch_tCntIValAddress(&t.area[3]), 3);

    static std::vector<uint8_t> sent;
    ModbusMsgBuf buf{};
    const uint8_t req[] = {9, 3, 0, 0, 0, 1};
    std::memcpy(buf.data, req, sizeof req);
    buf.length = 6;
    moderror(4, &buf, 2, [](int dev, ModbusMsgBuf* b) {
        EXPECT_EQ(dev, 4);
        sent.assign(b->data, b->data + b->length);
    });
    EXPECT_EQ(sent, (std::vector<uint8_t>{9, 0x83, 2}));
}
