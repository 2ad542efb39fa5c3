// The request engine on buffers: every function code with its exception
// paths, the per-transport limits, reads past a table's end, write enables
// and short requests.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "tests/modbus/modbus_rig.h"

namespace {

using mbt::Bytes;

// An instance's tables, its cells at the start of an integer area.
struct Tables : mbt::Link {
    int32_t area[64] = {};
    Tables() {
        cells = area;
        slave() = 1;
        mode() = 2;
    }
    ModSlave make(int bitLimit, int regLimit, int coilBase = 0) {
        MOD_AreaBase[1] = area;
        ModbusSlaveArgs a{&port(), &slave(), &mode(), 0, coils, coilBase, 22, inputs, 0, 90, inRegs, 0, 50, holdRegs,
                          0, 5, &errCount(), &msgCount(), &lastErr(), &port(), 7, 0, &timeout, &coilWe, &regWe};
        ModSlave s;
        MOD_InitSlave(&s, &a);
        s.bitLimit = bitLimit;
        s.regLimit = regLimit;
        return s;
    }
};

// Runs one request; the exception code, or 0 and the reply.
std::pair<int, Bytes> run(ModSlave& s, const Bytes& req) {
    ModbusMsgBuf buf{};
    std::memcpy(buf.data, req.data(), req.size());
    buf.length = static_cast<int>(req.size());
    int code = MOD_Execute(&s, &buf);
    return {code, code ? Bytes{} : Bytes(buf.data, buf.data + buf.length)};
}

// One request on the network (N), ASCII (A), a coil table based at 100 (B)
// or tables whose writes are disabled (D): the exception it gives, or (0) its
// whole reply.
struct Case {
    char slave;
    Bytes request;
    int exception;
    Bytes reply;
};

TEST(ModbusEngine, EveryFunctionCode) {
    Tables t;
    for (int k : {0, 2, 7, 21}) t.coils[k] = 1;
    for (int k : {0, 89}) t.inputs[k] = 1;
    t.holdRegs[3] = 0x1234;
    t.holdRegs[4] = -1;
    t.inRegs[49] = 0x0102;
    ModSlave net = t.make(1888, 118), asc = t.make(944, 59), based = t.make(1888, 118, 100);
    Tables off;
    off.coilWe = 2;  // only 1 enables
    off.regWe = 0;
    ModSlave disabled = off.make(1888, 118);
    // The largest reads: 1,888 bits (236 bytes) and 118 registers, from tables of 22 and 50.
    Bytes bits1888(3 + 236, 0), regs118(3 + 236, 0);
    for (size_t k = 0; k < 3; ++k) bits1888[k] = regs118[k] = Bytes{1, 1, 236}[k];
    regs118[1] = 4;
    bits1888[3] = 0x85;
    bits1888[5] = 0x20;
    regs118[3 + 98] = 1;
    regs118[3 + 99] = 2;
    // ASCII: 944 bits (118 bytes) and 59 registers.
    Bytes bits944(bits1888.begin(), bits1888.begin() + 3 + 118), regs59(regs118.begin(), regs118.begin() + 3 + 118);
    bits944[2] = regs59[2] = 118;
    const Case cases[] = {
        {'N', {1, 1, 0, 0, 0x07, 0x60}, 0, bits1888},
        {'N', {1, 4, 0, 0, 0, 118}, 0, regs118},
        {'A', {1, 1, 0, 0, 0x03, 0xB0}, 0, bits944},
        {'A', {1, 4, 0, 0, 0, 59}, 0, regs59},
        {'N', {1, 1, 0, 0, 0, 3}, 0, {1, 1, 1, 0x85}},  // the whole first byte
        {'N', {1, 1, 0, 0, 0, 7}, 0, {1, 1, 1, 0x85}},
        {'N', {1, 1, 0, 0, 0, 8}, 0, {1, 1, 1, 0x85}},
        {'N', {1, 1, 0, 0, 0, 9}, 0, {1, 1, 2, 0x85, 0x00}},
        {'N', {1, 1, 0, 15, 0, 8}, 0, {1, 1, 1, 0x40}},
        {'N', {1, 1, 0, 0, 0, 0}, 0, {1, 1, 0}},
        {'N', {1, 1, 0, 21, 0, 9}, 0, {1, 1, 2, 0x01, 0x00}},  // past the end: 0
        {'N', {1, 1, 0, 22, 0, 1}, 2, {}},
        {'N', {1, 1, 0xFF, 0xFF, 0, 1}, 2, {}},
        {'N', {1, 1, 0, 0, 0x07, 0x61}, 3, {}},  // 1,889 bits
        {'A', {1, 1, 0, 0, 0x03, 0xB1}, 3, {}},  // 945 bits
        {'B', {1, 1, 0, 99, 0, 1}, 2, {}},
        {'B', {1, 1, 0, 100, 0, 1}, 0, {1, 1, 1, 0x85}},
        {'N', {1, 2, 0, 89, 0, 1}, 0, {1, 2, 1, 1}},
        {'N', {1, 2, 0, 90, 0, 1}, 2, {}},
        {'N', {1, 3, 0, 3, 0, 4}, 0, {1, 3, 8, 0x12, 0x34, 0xFF, 0xFF, 0, 0, 0, 0}},
        {'N', {1, 3, 0, 5, 0, 1}, 2, {}},
        {'N', {1, 4, 0, 49, 0, 1}, 0, {1, 4, 2, 1, 2}},
        {'N', {1, 4, 0, 0, 0, 119}, 3, {}},
        {'A', {1, 4, 0, 0, 0, 60}, 3, {}},
        {'N', {1, 4, 0, 50, 0x7F, 0xFF}, 2, {}},  // the address check comes first
        {'N', {1, 5, 0, 4, 0xFF, 0}, 0, {1, 5, 0, 4, 0xFF, 0}},
        {'N', {1, 5, 0, 5, 0x12, 0x34}, 3, {}},
        {'N', {1, 5, 0, 22, 0xFF, 0}, 2, {}},
        {'N', {1, 6, 0, 2, 0xAB, 0xCD}, 0, {1, 6, 0, 2, 0xAB, 0xCD}},
        {'N', {1, 6, 0, 5, 0, 1}, 2, {}},
        {'N', {1, 8, 0, 0, 0xA5, 0x37}, 0, {1, 8, 0, 0, 0xA5, 0x37}},
        {'N', {1, 8, 0, 1, 0, 0}, 1, {}},
        {'N', {1, 15, 0, 10, 0, 10, 2, 0x01, 0x02}, 0, {1, 15, 0, 10, 0, 10}},
        {'N', {1, 15, 0, 20, 0, 3, 1, 7}, 2, {}},
        {'N', {1, 15, 0, 0, 0, 9, 1, 0xFF, 0x01}, 3, {}},  // byte count not ceil(Q/8)
        {'N', {1, 16, 0, 0, 0, 2, 4, 0, 7, 0xFF, 0xF0}, 0, {1, 16, 0, 0, 0, 2}},
        {'N', {1, 16, 0, 4, 0, 3, 6, 0, 1, 0, 2, 0, 3}, 2, {}},
        {'N', {1, 16, 0, 0, 0, 2, 2, 0, 1, 0, 2}, 3, {}},  // byte count not 2Q
        {'N', {1, 7, 0, 0, 0, 1}, 1, {}},
        {'N', {1, 0x83, 0, 0, 0, 1}, 1, {}},
        {'N', {1, 0x2B}, 1, {}},  // unknown stays exception 1 when short
        // Requests shorter than their code needs.
        {'N', {1, 3, 0, 0}, 3, {}},
        {'N', {1, 1, 0, 0, 0}, 3, {}},
        {'N', {1, 5, 0, 0, 0xFF}, 3, {}},
        {'N', {1, 8}, 3, {}},
        {'N', {1, 16, 0, 0, 0, 1}, 3, {}},
        {'N', {1, 16, 0, 0, 0, 2, 4, 0, 1, 0}, 3, {}},
        {'N', {1, 15, 0, 0, 0, 9, 2, 0xFF}, 3, {}},
        // Writes disabled: single writes are echoed, multiple writes answered.
        {'D', {1, 5, 0, 4, 0xFF, 0}, 0, {1, 5, 0, 4, 0xFF, 0}},
        {'D', {1, 5, 0, 4, 0x12, 0x34}, 0, {1, 5, 0, 4, 0x12, 0x34}},
        {'D', {1, 6, 0, 0, 0, 9}, 0, {1, 6, 0, 0, 0, 9}},
        {'D', {1, 16, 0, 0, 0, 1, 2, 0, 9}, 0, {1, 16, 0, 0, 0, 1}},
        {'D', {1, 15, 0, 0, 0, 1, 1, 1}, 0, {1, 15, 0, 0, 0, 1}},
        {'D', {1, 16, 0, 5, 0, 1, 2, 0, 9}, 2, {}},  // the range is still checked
        // Byte counts at each side of a whole byte of coils, and of 2Q; ranges to the last element.
        {'D', {1, 15, 0, 0, 0, 8, 1, 0}, 0, {1, 15, 0, 0, 0, 8}},
        {'D', {1, 15, 0, 0, 0, 8, 2, 0, 0}, 3, {}},
        {'D', {1, 15, 0, 0, 0, 16, 2, 0, 0}, 0, {1, 15, 0, 0, 0, 16}},
        {'D', {1, 15, 0, 0, 0, 17, 2, 0, 0, 0}, 3, {}},
        {'D', {1, 15, 0, 0, 0, 17, 3, 0, 0, 0}, 0, {1, 15, 0, 0, 0, 17}},
        {'D', {1, 15, 0, 0, 0, 1, 0}, 3, {}},
        {'D', {1, 15, 0, 20, 0, 2, 1, 0}, 0, {1, 15, 0, 20, 0, 2}},
        {'D', {1, 16, 0, 0, 0, 1, 1, 0}, 3, {}},
        {'D', {1, 16, 0, 0, 0, 1, 3, 0, 0, 0}, 3, {}},
        {'D', {1, 16, 0, 4, 0, 1, 2, 0, 9}, 0, {1, 16, 0, 4, 0, 1}},
        {'B', {1, 15, 0, 99, 0, 1, 1, 1}, 2, {}},
        {'B', {1, 5, 0, 99, 0xFF, 0}, 2, {}},
        {'N', {1, 5, 0, 21, 0, 0}, 0, {1, 5, 0, 21, 0, 0}},
        {'N', {1, 6, 0, 4, 0xFF, 0xFF}, 0, {1, 6, 0, 4, 0xFF, 0xFF}},
        {'N', {1, 6, 0xFF, 0xFF, 0, 1}, 2, {}},
    };
    for (const Case& c : cases) {
        ModSlave& s = c.slave == 'N' ? net : c.slave == 'A' ? asc : c.slave == 'B' ? based : disabled;
        EXPECT_EQ(run(s, c.request), std::pair(c.exception, c.reply)) << testing::PrintToString(c.request);
    }
    EXPECT_EQ(off.coils[0] + off.coils[4] + uint32_t(off.holdRegs[0]), 0u);
    EXPECT_EQ(t.coils[4], 1);
    EXPECT_EQ(t.coils[5], 0);
    EXPECT_EQ(t.coils[21], 0);
    EXPECT_EQ(t.holdRegs[4], -1);
    EXPECT_EQ(t.holdRegs[2], static_cast<int16_t>(0xABCD));
    EXPECT_EQ(t.holdRegs[1], -16);
    EXPECT_EQ(Bytes(t.coils + 9, t.coils + 21), (Bytes{0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0}));

    // Stale bytes of an earlier, longer request are never used.
    ModbusMsgBuf buf{};
    const uint8_t stale[] = {1, 6, 0, 1, 0x11, 0x22};
    std::memcpy(buf.data, stale, sizeof stale);
    buf.length = 4;
    EXPECT_EQ(MOD_Execute(&net, &buf), 3);
    EXPECT_EQ(t.holdRegs[1], -16);
}

TEST(ModbusEngine, LongEchoes) {
    Tables t;
    ModSlave s = t.make(1888, 118);
    // Codes 5, 6 and 8 answer the request unchanged however long it is,
    // written, unchanged or refused by the write enable; an echo is capped
    // at the longest frame.
    Tables off;
    off.coilWe = off.regWe = 0;
    ModSlave disabled = off.make(1888, 118);
    Bytes longReq(254, 0x5A);
    longReq[0] = 1;
    for (uint8_t code : {6, 5, 6}) {
        longReq[1] = code;
        longReq[2] = longReq[3] = longReq[5] = 0;
        longReq[4] = code == 5 ? 0xFF : 0x5A;
        EXPECT_EQ(run(s, longReq), std::pair(0, longReq));
        EXPECT_EQ(run(disabled, longReq), std::pair(0, longReq));
    }
    EXPECT_EQ(t.holdRegs[0], 0x5A00);
    EXPECT_EQ(t.coils[0], 1u);
    longReq[1] = 8;
    EXPECT_EQ(run(s, longReq), std::pair(0, longReq));
    for (uint8_t code : {5, 6, 8}) {
        ModbusMsgBuf huge{};
        huge.data[0] = 1;
        huge.data[1] = code;
        huge.length = kModDataSize;
        EXPECT_EQ(MOD_Execute(&s, &huge), 0);
        EXPECT_EQ(huge.length, kModMaxAdu) << int(code);
    }
}

// The transport each port cell and mode selects: its reader and writer, its
// read limits, and the receive time-out it gives a network device.
TEST(ModbusTransport, SelectionByPortModeAndTimeout) {
    struct Row {
        const char* name;
        int port, mode;
        float seconds;
        ModReader reader;
        ModWriter writer;
        int device, bitLimit, regLimit;
        int64_t timeout;  // of the device's record; -1: none
    };
    const Row rows[] = {
        {"TCP 10 s", 2, 2, 10.0f, tcp_server_modread, tcp_server_modwrite, 2, 1888, 118, 10000},
        {"TCP 1.5 ms", 5, 1, 0.0015f, tcp_server_modread, tcp_server_modwrite, 5, 1888, 118, 1},
        {"TCP 0 s", 2, 2, 0.0f, tcp_server_modread, tcp_server_modwrite, 2, 1888, 118, 0},
        {"TCP negative", 2, 2, -1.0f, tcp_server_modread, tcp_server_modwrite, 2, 1888, 118, 0},
        {"TCP not a number", 2, 2, std::nanf(""), tcp_server_modread, tcp_server_modwrite, 2, 1888, 118, 0},
        {"TCP 2^31 ms", 2, 2, 2147483.648f, tcp_server_modread, tcp_server_modwrite, 2, 1888, 118, 2147483647},
        {"TCP 10^12 ms", 2, 2, 1e9f, tcp_server_modread, tcp_server_modwrite, 2, 1888, 118, 2147483647},
        {"UDP polls every second", 7, 1, 10.0f, udp_modread, udp_modwrite, 7, 1888, 118, 200},
        {"ASCII", 0, 1, 10.0f, asc_modread, asc_modwrite, 0, 944, 59, -1},
        {"RTU", 0, 2, 10.0f, rtu_modread, rtu_modwrite, 0, 1888, 118, -1},
        {"mode 0 is ASCII", 0, 0, 10.0f, asc_modread, asc_modwrite, 0, 944, 59, -1},
        {"mode 3 is ASCII", 0, 3, 10.0f, asc_modread, asc_modwrite, 0, 944, 59, -1},
        {"port -1 is row 0", -1, 2, 10.0f, rtu_modread, rtu_modwrite, 0, 1888, 118, -1},
        {"port 8 is row 0", 8, 2, 10.0f, rtu_modread, rtu_modwrite, 0, 1888, 118, -1},
    };
    hk::start(hk::ClockMode::Simulated);
    hk::runTask([&] {
        init_devs();
        for (const Row& r : rows) {
            Tables t;
            t.port() = r.port;
            t.mode() = r.mode;
            t.timeout = r.seconds;
            ModSlave s = t.make(0, 0);
            MOD_SelectTransport(&s);
            EXPECT_EQ(s.device, r.device) << r.name;
            EXPECT_TRUE(s.reader == r.reader && s.writer == r.writer) << r.name;
            EXPECT_EQ(std::pair(s.bitLimit, s.regLimit), std::pair(r.bitLimit, r.regLimit)) << r.name;
            if (r.timeout >= 0) {
                EXPECT_EQ(socketDvramOf(r.device)->timeout, uint32_t(r.timeout)) << r.name;
            }
        }
    });
    hk::shutdown();
}

// Modbus/TCP goes through the binding's descriptor: a side it does not have
// reads and writes nothing.
TEST(ModbusTransport, ClientSideThroughTheDescriptor) {
    static std::vector<std::string> calls;
    calls.clear();
    static const ModbusDescriptor recording = {
        nullptr, [](int dev, ModbusMsgBuf*) { calls.push_back("read " + std::to_string(dev)); }, nullptr,
        [](int dev, ModbusMsgBuf*) { calls.push_back("write " + std::to_string(dev)); }};
    hk::start(hk::ClockMode::Simulated);
    hk::runTask([] {
        ModbusMsgBuf buf{};
        for (const ModbusDescriptor* d : {&ModbusClassicDescriptor, &recording}) {
            ModbusDescriptorPtr = d;
            tcp_client_modread(2, &buf);
            tcp_client_modwrite(5, &buf);
            tcp_server_modwrite(6, &buf);  // not a TCP row: nothing is sent
        }
        tcp_server_modread(2, &buf);  // no server side in this descriptor
        ModbusDescriptorPtr = &ModbusClassicDescriptor;
        EXPECT_EQ(buf.status, 0);
    });
    hk::shutdown();
    EXPECT_EQ(calls, (std::vector<std::string>{"read 2", "write 5"}));
}

// The redundant-CPU check, step by step on one slave's three words.
TEST(ModbusRedundantCpus, ForceFlagFollowsTheBackupState) {
    struct Step { int expected, backup, mode, countdownBefore, last, force, countdown; };
    const Step steps[] = {
        {0, 0, 1, 10, -1, 0, 10},  // not expected: nothing
        {1, 0, 1, 10, 0, 1, 10},   // the backup came up: force, count 10
        {1, 0, 1, 1, 0, 1, 1},
        {1, 0, 1, 0, 0, 0, 0},     // mode 1 and the count run down: force off
        {1, 1, 1, 5, 1, 0, 5},
        {1, 0, 2, 0, 0, 1, 10},
        {1, 0, 2, 0, 0, 1, 0},     // mode 2 keeps the force flag
    };
    int last = -1, force = 0, countdown = 10;
    for (const Step& st : steps) {
        RedundantCpusExpected = st.expected;
        BackupCpuStatus = st.backup;
        countdown = st.countdownBefore;
        CheckRedundantCpusModbusSlave(&last, &force, &countdown, st.mode);
        EXPECT_EQ(std::tuple(last, force, countdown), std::tuple(st.last, st.force, st.countdown))
            << &st - steps;
    }
    RedundantCpusExpected = 0;
    BackupCpuStatus = -1;
}

// A 16-slot ring of delays: each new delay is reduced by the queued ones;
// it holds 15 entries.
TEST(ModbusQueue, DelaysIdsAndWrap) {
    ModQueue q{};
    EXPECT_EQ(modqrmv(&q), -1);
    EXPECT_EQ(modqput(&q, 100, 1), 1);
    EXPECT_EQ(modqput(&q, 250, 2), 1);
    EXPECT_EQ(modqput(&q, 1000, 3), 1);
    EXPECT_EQ(std::vector<int32_t>(q.delay, q.delay + 3), (std::vector<int32_t>{100, 150, 750}));
    for (int id = 4; id <= 15; ++id) EXPECT_EQ(modqput(&q, 1000, id), 1);
    EXPECT_EQ(modqput(&q, 0, 16), -1);
    EXPECT_EQ(std::pair(modqon(&q, 1), modqon(&q, 16)), std::pair(1, 0));
    EXPECT_EQ(modqrmv(&q), 1);
    EXPECT_EQ(modqon(&q, 1), 0);
    EXPECT_EQ(modqput(&q, 5000, 16), 1);  // into the last slot; the write index wraps to 0
    EXPECT_EQ(std::tuple(q.delay[15], q.wr, modqon(&q, 16)), std::tuple(4100, 0, 1));
    for (int k = 0; k < 15; ++k) EXPECT_EQ(modqrmv(&q), 1);
    EXPECT_EQ(std::pair(q.rd, modqrmv(&q)), std::pair(0, -1));
}

}  // namespace
