// Instances over real transports in simulated time: Modbus/TCP through the
// acceptor, RTU in UDP datagrams, RTU and ASCII on a pseudo-terminal.
#include <gtest/gtest.h>
#include <netinet/in.h>

#include "platform/vkiodev.h"
#include "runtime/sysinfo.h"
#include "tests/modbus/modbus_rig.h"

using mbt::Bytes;
using mbt::Master;
using mbt::mbap;
using mbt::rtu;

namespace {

Bytes concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Two instances on TCP connections (units 1 and 2), one on UDP (slave 3).
class ModbusNet : public ::testing::Test {
protected:
    mbt::Rig rig;
    mbt::Link &one = rig.links[0], &two = rig.links[1], &udp = rig.links[2];
    void SetUp() override {
        one.port() = 2;
        two.port() = 5;
        two.slave() = 2;
        udp.port() = 7;
        udp.slave() = 3;
        one.holdRegs[0] = udp.holdRegs[0] = 111;
        two.holdRegs[0] = 222;
        one.inRegs[1] = -2;
        rig.start(3);
    }
};

TEST_F(ModbusNet, TcpRoutingFramesAndClosing) {
    // Both first requests arrive before either instance has taken its
    // connection: each is handed over with its own connection.
    Master a(rig, Master::Tcp, 502), b(rig, Master::Tcp, 502);
    a.send(mbap(0xA1, {1, 3, 0, 0, 0, 1}));
    b.send(mbap(0xB2, {2, 3, 0, 0, 0, 1}));
    EXPECT_EQ(b.reply(), mbap(0xB2, {2, 3, 2, 0, 222}));
    EXPECT_EQ(a.reply(), mbap(0xA1, {1, 3, 2, 0, 111}));

    // A second master for a unit in use, and a unit no instance has, are closed.
    for (uint8_t unit : {1, 9}) {
        Master c(rig, Master::Tcp, 502);
        c.send(mbap(1, {unit, 3, 0, 0, 0, 1}));
        EXPECT_TRUE(c.closedByPeer()) << int(unit);
    }

    // Pipelined requests in one segment, a request split after 3 bytes, the
    // largest network read.
    a.send(concat(mbap(10, {1, 3, 0, 0, 0, 1}), mbap(11, {1, 6, 0, 1, 0, 5})));
    EXPECT_EQ(a.reply(), mbap(10, {1, 3, 2, 0, 111}));
    EXPECT_EQ(a.reply(), mbap(11, {1, 6, 0, 1, 0, 5}));
    Bytes req = mbap(12, {1, 4, 0, 0, 0, 2});
    a.send(Bytes(req.begin(), req.begin() + 3));
    rig.run(50);
    a.send(Bytes(req.begin() + 3, req.end()));
    EXPECT_EQ(a.reply(), mbap(12, {1, 4, 4, 0, 0, 0xFF, 0xFE}));
    a.send(mbap(14, {1, 3, 0, 0, 0, 118}));
    EXPECT_EQ(a.reply().size(), 6u + 239u);
    a.send(mbap(15, {1, 8, 0, 0, 0xA5, 0x37}));  // an echo has the request's own length
    EXPECT_EQ(a.reply(), mbap(15, {1, 8, 0, 0, 0xA5, 0x37}));
    Bytes longest(254, 0x77);  // the longest frame, 260 bytes, on a connection in use
    longest[0] = 1, longest[1] = 8, longest[2] = longest[3] = 0;
    a.send(mbap(16, longest));
    EXPECT_EQ(a.reply(), mbap(16, longest));
    EXPECT_EQ(one.msgCount(), 7);

    // Nine foreign requests are tolerated; the tenth closes, and the row is free.
    for (int k = 0; k < 9; ++k) a.send(mbap(uint16_t(100 + k), {7, 3, 0, 0, 0, 1}));
    a.send(mbap(2, {1, 3, 0, 0, 0, 1}));
    EXPECT_EQ(a.reply(), mbap(2, {1, 3, 2, 0, 111}));
    for (int k = 0; k < 10; ++k) a.send(mbap(uint16_t(200 + k), {7, 3, 0, 0, 0, 1}));
    EXPECT_TRUE(a.closedByPeer());

    // Malformed headers close, as first frame or on a connection in use.
    Bytes good = mbap(1, {1, 3, 0, 0, 0, 1}), proto = good;
    proto[3] = 1;
    for (const Bytes& bad : {proto, Bytes{0, 1, 0, 0, 0, 1, 1}, concat({0, 1, 0, 0, 1, 0x2C}, Bytes(300, 1)),
                             concat({0, 2, 0, 0, 0, 255}, Bytes(255, 1))}) {
        Master m(rig, Master::Tcp, 502);
        m.send(good);
        EXPECT_EQ(m.reply(), mbap(1, {1, 3, 2, 0, 111}));
        m.send(bad);
        EXPECT_TRUE(m.closedByPeer());
        Master n(rig, Master::Tcp, 502);
        n.send(bad);
        EXPECT_TRUE(n.closedByPeer());
    }

    // The link stays lost: every read of the row waits in vain for a new
    // connection (41 s) and adds error 23.
    const int32_t lost = one.errCount();
    rig.run(90000);
    EXPECT_EQ(one.errCount() - lost, 2);
    EXPECT_EQ(one.lastErr(), MOD_ST_TIMEOUT);
}

// Two instances the acceptor never hands a connection to: one on no such
// device (the null row 0), one on a UDP port another program holds.
TEST(ModbusAcceptor, SilentClientBlocksNobodyAndRowsOutsideTheTableAreSkipped) {
    mbt::Rig rig;
    rig.links[0].port() = 99;  // no such device: its route row is skipped
    rig.links[0].slave() = 1;
    rig.links[1].port() = 2;
    rig.links[1].slave() = 1;
    rig.links[1].holdRegs[0] = 42;
    rig.links[2].port() = 4;
    rig.links[2].slave() = 3;
    const int taken = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(hostio::hostPort(5001));
    ASSERT_EQ(::bind(taken, reinterpret_cast<sockaddr*>(&sa), sizeof sa), 0);
    rig.start(3);
    Master silent(rig, Master::Tcp, 502);
    rig.run(1000);
    // Another master is served while the silent one still has its 21 s.
    Master b(rig, Master::Tcp, 502);
    b.send(mbap(5, {1, 3, 0, 0, 0, 1}));
    EXPECT_EQ(b.reply(), mbap(5, {1, 3, 2, 0, 42}));
    EXPECT_FALSE(silent.closedByPeer(15000));
    EXPECT_TRUE(silent.closedByPeer(7000));

    // The null row times out at every read: error 23 each time, no message.
    const int32_t before = rig.links[0].errCount();
    rig.run(13000);
    EXPECT_GE(rig.links[0].errCount() - before, 9);
    EXPECT_EQ(rig.links[0].lastErr(), MOD_ST_TIMEOUT);
    EXPECT_EQ(rig.links[0].msgCount(), 0);
    // The UDP port could not be had: its row is faulted, its reads end in
    // device errors (25), which lose the link without counting as errors.
    EXPECT_EQ(rtcells::CNFG_ETHER_PORT_5001_FAULT(), 1u);
    EXPECT_EQ(rig.links[2].errCount(), 0);
    EXPECT_EQ(rig.links[2].lastErr(), 0);
    ::close(taken);
}

// A new life of the acceptor (the task killed at a stop and created again)
// first closes the connections the old one still waited on: nobody else
// holds them.
TEST(ModbusAcceptor, ANewLifeClosesConnectionsLeftPending) {
    mbt::Rig rig;
    rig.links[0].port() = 2;
    rig.start(1);
    Master silent(rig, Master::Tcp, 502);
    EXPECT_FALSE(silent.closedByPeer(100));  // accepted, waiting for its first request
    hk::runTask([] {
        VKOS_KillProcess(_scan_tcpPid);
        _scan_tcpPid = VKOS_CreateProcess(scan_tcp, 8192, 40, "scan_tcp", 0);
    });
    EXPECT_TRUE(silent.closedByPeer(500));
    // The new life listens and serves.
    Master good(rig, Master::Tcp, 502);
    good.send(mbap(3, {1, 3, 0, 0, 0, 1}));
    EXPECT_EQ(good.reply(), mbap(3, {1, 3, 2, 0, 0}));
}

// A connection has 21 s (4200 ticks) for its first request: still open just
// before, closed by the acceptor's next pass after.
TEST(ModbusAcceptor, AFirstRequestHas21Seconds) {
    mbt::Rig rig;
    rig.links[0].port() = 2;
    rig.start(1);
    rig.run(3000);  // the acceptor's tick count is well above zero
    Master silent(rig, Master::Tcp, 502);
    const uint64_t t0 = hk::ticks();
    EXPECT_FALSE(silent.closedByPeer(20990));
    EXPECT_TRUE(silent.closedByPeer(100));
    const uint64_t elapsed = hk::ticks() - t0;
    EXPECT_GE(elapsed, 4200u);
    EXPECT_LE(elapsed, 4206u);
}

// A connection that sent part of its first request and went away leaves
// nothing behind: the next connection's request is read from its own start.
TEST(ModbusAcceptor, AnAbandonedPartialFrameLeavesNothingForTheNext) {
    mbt::Rig rig;
    rig.links[0].port() = 2;
    rig.links[0].holdRegs[0] = 77;
    rig.start(1);
    {
        Master a(rig, Master::Tcp, 502);
        Bytes req = mbap(1, {1, 3, 0, 0, 0, 1});
        a.send(Bytes(req.begin(), req.begin() + 5));
        rig.run(50);
    }
    rig.run(50);
    Master b(rig, Master::Tcp, 502);
    b.send(mbap(2, {1, 3, 0, 0, 0, 1}));
    EXPECT_EQ(b.reply(), mbap(2, {1, 3, 2, 0, 77}));
}

// When the application stops running, connections still waiting for their
// first request are closed.
TEST(ModbusAcceptor, AStopClosesConnectionsLeftPending) {
    mbt::Rig rig;
    rig.links[0].port() = 2;
    rig.start(1);
    Master a(rig, Master::Tcp, 502), b(rig, Master::Tcp, 502);
    EXPECT_FALSE(a.closedByPeer(100));
    ApplicationRunning = 0;
    EXPECT_TRUE(a.closedByPeer(500));
    EXPECT_TRUE(b.closedByPeer(500));
    ApplicationRunning = 1;
}

TEST_F(ModbusNet, RtuFramesInUdpDatagrams) {
    mbt::Link& l = udp;
    Master m(rig, Master::Udp, 5005);
    m.send(rtu({3, 3, 0, 0, 0, 2}));
    EXPECT_EQ(m.reply(), rtu({3, 3, 4, 0, 111, 0, 0}));
    // Bad CRC, short, broadcast and foreign frames: no answer, nothing written.
    Bytes bad = rtu({3, 6, 0, 0, 0, 9});
    std::swap(bad[6], bad[7]);
    for (const Bytes& f : {bad, Bytes{3, 3, 0, 0}, rtu({0, 6, 0, 0, 0, 9}), rtu({4, 6, 0, 0, 0, 9})}) {
        m.send(f);
        EXPECT_TRUE(m.reply(500).empty());
    }
    EXPECT_EQ(l.holdRegs[0], 111);
    EXPECT_EQ(l.errCount(), 2);
    EXPECT_EQ(l.msgCount(), 1);
}

TEST(ModbusSerial, RtuThenAsciiOnOneLine) {
    mbt::Rig rig(hk::ClockMode::Simulated, true);
    ASSERT_TRUE(rig.pty->ok());
    mbt::Link& l = rig.links[0];
    l.port() = 1;
    l.slave() = 5;
    l.holdRegs[2] = 0x1234;
    rig.start(1);
    rig.run(1000);
    EXPECT_EQ(l.errCount(), 0);  // selecting the transport flushes the line: no error
    Master m(rig, Master::Serial);
    m.send(rtu({5, 3, 0, 2, 0, 1}));
    EXPECT_EQ(m.reply(), rtu({5, 3, 2, 0x12, 0x34}));
    m.send(rtu({5, 3, 0, 0, 0, 119}));
    EXPECT_EQ(m.reply(), rtu({5, 0x83, 3}));
    // A read takes at most 252 bytes: an echo of that length is answered, one
    // byte more is not a frame.
    Bytes echo(250, 0x5A);
    echo[0] = 5, echo[1] = 8, echo[2] = echo[3] = 0;
    m.send(rtu(echo));
    EXPECT_EQ(m.reply(), rtu(echo));
    echo.push_back(0x5A);
    m.send(rtu(echo));
    EXPECT_TRUE(m.reply(500).empty());
    Bytes bad = rtu({5, 3, 0, 2, 0, 1});
    bad.back() ^= 1;
    m.send(bad);
    EXPECT_TRUE(m.reply(500).empty());
    EXPECT_EQ(l.lastErr(), MOD_ST_CHECKSUM);

    // ASCII (any mode but 2) is taken up on a quiet line; the runtime's
    // serial settings end a line at LF and drop CR.
    hk::runTask([] {
        VKIO_devControl(1, DEVCTL_READ_ENDING, 1, 0);
        VKIO_devControl(1, DEVCTL_CR_HANDLING, 2, 0);
    });
    l.mode() = 0;
    rig.run(2500);
    EXPECT_EQ(serialDvramOf(1)->dataBits, MOD_DATA_BITS_7);
    m.send("noise:050300020001F5\r\n");
    EXPECT_EQ(m.line(), ":0503021234B0\r\n");
    m.send(":05040000003CBB\r\n");  // past the ASCII register limit
    EXPECT_EQ(m.line(), ":05840374\r\n");
    for (auto [line, err] : {std::pair{":0503000200011F\r\n", MOD_ST_CHECKSUM}, {":05FB \r\n", MOD_ST_SHORT}}) {
        m.send(std::string(line));
        EXPECT_TRUE(m.reply(500).empty());
        EXPECT_EQ(l.lastErr(), err);
    }
    EXPECT_EQ(l.errCount(), 7);  // exceptions count too; the long frame counts twice (its 252 bytes, then 1)
}

}  // namespace

// A row that no connection is handed to: the read looks for one in 201
// passes of 205 ms (40 looks of 5 ms, then 5 ms), then gives up with status 23.
TEST(ModbusServerRead, ARowWithoutAConnectionTimesOutAfter201Passes) {
    mbt::Rig rig;
    ApplicationRunning = 1;
    ModbusMsgBuf buf{};
    ULONG elapsed = 0;
    hk::runTask([&] {
        init_devs();
        devtab[2].statusCell() = MOD_TCP_FREE;
        const ULONG t0 = tickGet();
        VKtcp_server_modread(2, &buf);
        elapsed = tickGet() - t0;
    });
    EXPECT_EQ(buf.status, MOD_ST_TIMEOUT);
    EXPECT_EQ(elapsed, 201u * 41u);
}

// On CPU slot 1 the acceptor's listening socket is recorded in the listening
// row (TCPModPort), where the device layer looks for it.
TEST(ModbusAcceptor, TheListeningRowHoldsTheListeningSocket) {
    mbt::Rig rig;
    rig.links[0].port() = 2;
    ASSERT_EQ(CpuSlot, 1);
    rig.start(1);
    const SocketDvram* listen = socketDvramOf(TCPModPort);
    ASSERT_NE(listen, nullptr);
    EXPECT_NE(listen->socket, -1);
}
