// Instances over real transports in simulated time: Modbus/TCP through the
// acceptor, RTU in UDP datagrams, RTU and ASCII on a pseudo-terminal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/vkiodev.h"
#include "platform/send_evt.h"
#include "platform/vkos.h"
#include "tests/modbus/modbus_rig.h"
#include "tests/support/runtime_fixture.h"

using mbt::Bytes;
using mbt::mbap;
using mbt::rtu;

namespace {

int32_t tcpStatus(int dev) { return *devtab[dev].statusCell; }

Bytes concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

TEST(ModbusTcp, RoutesByUnitIdentifierAndServesRequests) {
    mbt::Rig rig;
    mbt::Link& one = rig.links[0];
    mbt::Link& two = rig.links[1];
    one.port() = 2;
    one.slave() = 1;
    two.port() = 5;
    two.slave() = 0x102;  // the acceptor compares the low 8 bits
    one.holdRegs[0] = 111;
    two.holdRegs[0] = 222;
    one.inRegs[0] = 7;
    one.inRegs[1] = -2;
    rig.start(2);

    mbt::TcpMaster a(rig, 502);
    ASSERT_TRUE(a.connected());
    a.send(mbap(0x1234, {1, 3, 0, 0, 0, 1}));
    EXPECT_EQ(a.reply(), mbap(0x1234, {1, 3, 2, 0, 111}));
    EXPECT_EQ(tcpStatus(2), MOD_TCP_IN_USE);

    // Unit 2 goes to the second instance, whose whole address is 0x102: it
    // takes the connection but never answers a request for 2.
    mbt::TcpMaster b(rig, 502);
    b.send(mbap(7, {2, 3, 0, 0, 0, 1}));
    EXPECT_TRUE(b.reply(1000).empty());
    EXPECT_EQ(tcpStatus(5), MOD_TCP_IN_USE);

    // A second master for unit 1 is closed while the first holds the row;
    // a unit that no instance has is closed at once.
    mbt::TcpMaster c(rig, 502);
    c.send(mbap(1, {1, 3, 0, 0, 0, 1}));
    EXPECT_TRUE(c.closedByPeer());
    mbt::TcpMaster d(rig, 502);
    d.send(mbap(1, {9, 3, 0, 0, 0, 1}));
    EXPECT_TRUE(d.closedByPeer());

    // Pipelined requests in one segment are answered in order.
    a.send(concat(mbap(10, {1, 3, 0, 0, 0, 1}), mbap(11, {1, 6, 0, 1, 0, 5})));
    EXPECT_EQ(a.reply(), mbap(10, {1, 3, 2, 0, 111}));
    EXPECT_EQ(a.reply(), mbap(11, {1, 6, 0, 1, 0, 5}));
    EXPECT_EQ(one.holdRegs[1], 5);

    // A request split after 3 bytes is put together.
    Bytes req = mbap(12, {1, 4, 0, 0, 0, 2});
    a.send(Bytes(req.begin(), req.begin() + 3));
    rig.run(50);
    a.send(Bytes(req.begin() + 3, req.end()));
    EXPECT_EQ(a.reply(), mbap(12, {1, 4, 4, 0, 7, 0xFF, 0xFE}));

    // Limits of the network transports and exception replies.
    a.send(mbap(13, {1, 4, 0, 0, 0, 119}));
    EXPECT_EQ(a.reply(), mbap(13, {1, 0x84, 3}));
    a.send(mbap(14, {1, 3, 0, 0, 0, 118}));
    Bytes big = a.reply();
    ASSERT_EQ(big.size(), 6u + 239u);
    EXPECT_EQ(big[5], 239);
    a.send(mbap(15, {1, 1, 0, 22, 0, 1}));
    EXPECT_EQ(a.reply(), mbap(15, {1, 0x81, 2}));
    EXPECT_EQ(one.errCount(), 2);
    EXPECT_EQ(one.lastErr(), 2);
    EXPECT_EQ(one.msgCount(), 7);

    // A diagnostics echo of the longest legal request comes back whole.
    Bytes diag(254, 0x33);
    diag[0] = 1;
    diag[1] = 8;
    diag[2] = diag[3] = 0;
    a.send(mbap(16, diag));
    EXPECT_EQ(a.reply(), mbap(16, diag));
}

TEST(ModbusTcp, ConcurrentFirstRequestsReachTheirOwnInstances) {
    mbt::Rig rig;
    rig.links[0].port() = 2;
    rig.links[0].slave() = 1;
    rig.links[1].port() = 5;
    rig.links[1].slave() = 2;
    rig.links[0].holdRegs[0] = 111;
    rig.links[1].holdRegs[0] = 222;
    rig.start(2);
    // Both first requests arrive before either instance has taken its
    // connection: each is handed over with its own connection.
    mbt::TcpMaster a(rig, 502);
    mbt::TcpMaster b(rig, 502);
    a.send(mbap(0xA1, {1, 3, 0, 0, 0, 1}));
    b.send(mbap(0xB2, {2, 3, 0, 0, 0, 1}));
    EXPECT_EQ(b.reply(), mbap(0xB2, {2, 3, 2, 0, 222}));
    EXPECT_EQ(a.reply(), mbap(0xA1, {1, 3, 2, 0, 111}));
}

TEST(ModbusTcp, RoutingSkipsPortCellsOutsideTheDeviceTable) {
    mbt::Rig rig;
    rig.links[0].port() = 99;  // no such device: the instance uses the null device
    rig.links[0].slave() = 1;
    rig.links[1].port() = 2;
    rig.links[1].slave() = 1;
    rig.links[1].holdRegs[0] = 42;
    rig.start(2);
    mbt::TcpMaster a(rig, 502);
    a.send(mbap(1, {1, 3, 0, 0, 0, 1}));
    EXPECT_EQ(a.reply(), mbap(1, {1, 3, 2, 0, 42}));
}

TEST(ModbusTcp, ConnectionOnDescriptorZero) {
    // Make descriptor 0 the lowest free one, so that the acceptor's next
    // connection gets it.
    if (fcntl(0, F_GETFD) < 0) {
        ASSERT_EQ(open("/dev/null", O_RDONLY), 0);
    }
    mbt::Rig rig;
    rig.links[0].port() = 2;
    rig.links[0].timeout = 1.0f;
    rig.start(1);
    mbt::TcpMaster a(rig, 502);
    ASSERT_TRUE(a.connected());
    close(0);
    a.send(mbap(1, {1, 3, 0, 0, 0, 1}));
    EXPECT_EQ(a.reply(), mbap(1, {1, 3, 2, 0, 0}));
    const SocketDvram* rec = socketDvramOf(2);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->socket, 0);
    // The row is in use: another master for the unit is refused.
    mbt::TcpMaster b(rig, 502);
    b.send(mbap(2, {1, 3, 0, 0, 0, 1}));
    EXPECT_TRUE(b.closedByPeer());
    // The idle time-out closes descriptor 0 like any other.
    EXPECT_TRUE(a.closedByPeer(3000));
    EXPECT_EQ(rec->socket, -1);
}

TEST(ModbusTcp, AcceptorListensAgainAfterTheApplicationRestarts) {
    mbt::Rig rig;
    rig.links[0].port() = 2;
    rig.start(1);
    ApplicationRunning = 0;
    rig.run(500);
    // Within 100 ms of the restart the acceptor has a new listening socket.
    ApplicationRunning = 1;
    rig.run(200);
    EXPECT_NE(socketDvramOf(3)->socket, -1);
    mbt::TcpMaster a(rig, 502);
    a.send(mbap(1, {1, 3, 0, 0, 0, 1}));
    EXPECT_EQ(a.reply(), mbap(1, {1, 3, 2, 0, 0}));
}

TEST(ModbusTcp, TenForeignRequestsCloseTheConnection) {
    mbt::Rig rig;
    rig.links[0].port() = 2;
    rig.start(1);
    mbt::TcpMaster a(rig, 502);
    a.send(mbap(1, {1, 3, 0, 0, 0, 1}));
    ASSERT_FALSE(a.reply().empty());
    for (int k = 0; k < 9; ++k) a.send(mbap(static_cast<uint16_t>(100 + k), {7, 3, 0, 0, 0, 1}));
    a.send(mbap(2, {1, 3, 0, 0, 0, 1}));
    EXPECT_EQ(a.reply(), mbap(2, {1, 3, 2, 0, 0}));  // nine foreign requests are tolerated
    for (int k = 0; k < 10; ++k) a.send(mbap(static_cast<uint16_t>(200 + k), {7, 3, 0, 0, 0, 1}));
    EXPECT_TRUE(a.closedByPeer());
    EXPECT_EQ(tcpStatus(2), MOD_TCP_FREE);
    // The row is free for the next master.
    mbt::TcpMaster b(rig, 502);
    b.send(mbap(3, {1, 3, 0, 0, 0, 1}));
    EXPECT_EQ(b.reply(), mbap(3, {1, 3, 2, 0, 0}));
}

TEST(ModbusTcp, MalformedHeadersCloseTheConnection) {
    mbt::Rig rig;
    rig.links[0].port() = 2;
    rig.start(1);
    auto firstFrameCloses = [&](Bytes f) {
        mbt::TcpMaster m(rig, 502);
        m.send(f);
        return m.closedByPeer();
    };
    Bytes good = mbap(1, {1, 3, 0, 0, 0, 1});
    Bytes proto = good;
    proto[3] = 1;
    EXPECT_TRUE(firstFrameCloses(proto));
    EXPECT_TRUE(firstFrameCloses({0, 1, 0, 0, 0, 1, 1}));           // unit id only
    EXPECT_TRUE(firstFrameCloses(concat({0, 1, 0, 0, 1, 0x2C}, Bytes(300, 1))));  // length 300
    EXPECT_EQ(tcpStatus(2), MOD_TCP_FREE);

    // On a connection in use, a frame longer than any legal one closes it
    // (and is counted as a malformed frame); the row is free again.
    mbt::TcpMaster m(rig, 502);
    m.send(good);
    ASSERT_FALSE(m.reply().empty());
    m.send(concat({0, 2, 0, 0, 0, 255}, Bytes(255, 1)));
    EXPECT_TRUE(m.closedByPeer());
    EXPECT_TRUE(rig.until([&] { return rig.links[0].lastErr() == MOD_ST_SHORT; }, 1000));
    mbt::TcpMaster n(rig, 502);
    n.send(good);
    EXPECT_FALSE(n.reply().empty());
    Bytes wrongProto = good;
    wrongProto[2] = 0x12;
    n.send(wrongProto);
    EXPECT_TRUE(n.closedByPeer());
}

TEST(ModbusTcp, SilentClientsAreDroppedWithoutBlockingOthers) {
    mbt::Rig rig;
    rig.links[0].port() = 2;
    rig.start(1);
    mbt::TcpMaster silent(rig, 502);
    rig.run(1000);
    // Another master is served while the silent one still has its 21 s.
    mbt::TcpMaster b(rig, 502);
    b.send(mbap(5, {1, 3, 0, 0, 0, 1}));
    EXPECT_EQ(b.reply(), mbap(5, {1, 3, 2, 0, 0}));
    EXPECT_FALSE(silent.closedByPeer(15000));
    EXPECT_TRUE(silent.closedByPeer(7000));
}

TEST(ModbusTcp, InstanceTimeoutClosesIdleConnections) {
    mbt::Rig rig;
    rig.links[0].port() = 2;
    rig.links[0].timeout = 0.5f;
    rig.start(1);
    mbt::TcpMaster a(rig, 502);
    a.send(mbap(1, {1, 3, 0, 0, 0, 1}));
    ASSERT_FALSE(a.reply().empty());
    ASSERT_TRUE(a.closedByPeer(1500));
    // While the instance records the lost link, the acceptor hands it the
    // next master, which must not be closed with the old link.
    mbt::TcpMaster b(rig, 502);
    b.send(mbap(2, {1, 3, 0, 0, 0, 1}));
    EXPECT_EQ(b.reply(), mbap(2, {1, 3, 2, 0, 0}));
    EXPECT_EQ(rig.links[0].lastErr(), MOD_ST_TIMEOUT);
    EXPECT_TRUE(b.closedByPeer(1500));

    // Time-out 0: the first receive that finds nothing closes the connection.
    rig.links[0].timeout = 0.0f;
    rig.run(500);
    mbt::TcpMaster c(rig, 502);
    c.send(mbap(3, {1, 3, 0, 0, 0, 1}));
    EXPECT_FALSE(c.reply().empty());
    EXPECT_TRUE(c.closedByPeer(200));
}

TEST(ModbusUdp, RtuFramesInDatagrams) {
    mbt::Rig rig;
    mbt::Link& l = rig.links[0];
    l.port() = 7;
    l.slave() = 3;
    l.holdRegs[0] = 0x0102;
    l.holdRegs[1] = 0x0304;
    rig.start(1);
    mbt::UdpMaster m(rig, 5005);
    m.send(rtu({3, 3, 0, 0, 0, 2}));
    EXPECT_EQ(m.reply(), rtu({3, 3, 4, 1, 2, 3, 4}));

    Bytes bad = rtu({3, 3, 0, 0, 0, 2});
    std::swap(bad[6], bad[7]);
    m.send(bad);
    EXPECT_TRUE(m.reply(500).empty());
    EXPECT_EQ(l.lastErr(), MOD_ST_CHECKSUM);
    m.send({3, 3, 0, 0});
    EXPECT_TRUE(m.reply(500).empty());
    EXPECT_EQ(l.lastErr(), MOD_ST_SHORT);
    EXPECT_EQ(l.errCount(), 2);

    // Broadcast and foreign requests are neither executed nor answered.
    m.send(rtu({0, 6, 0, 0, 0, 9}));
    EXPECT_TRUE(m.reply(500).empty());
    EXPECT_EQ(l.holdRegs[0], 0x0102);
    m.send(rtu({4, 6, 0, 0, 0, 9}));
    EXPECT_TRUE(m.reply(500).empty());
    EXPECT_EQ(l.holdRegs[0], 0x0102);
    EXPECT_EQ(l.msgCount(), 1);

    m.send(rtu({3, 4, 0, 0, 0, 119}));
    EXPECT_EQ(m.reply(), rtu({3, 0x84, 3}));
    m.send(rtu({3, 2, 0, 0, 0x07, 0x60}));
    EXPECT_EQ(m.reply().size(), 239u + 2u);
    l.regWe = 0;
    m.send(rtu({3, 6, 0, 0, 0, 9}));
    EXPECT_EQ(m.reply(), rtu({3, 6, 0, 0, 0, 9}));
    EXPECT_EQ(l.holdRegs[0], 0x0102);
}

TEST(ModbusLoop, OutOfRangePortsUseTheNullDevice) {
    mbt::Rig rig;
    rig.links[0].port() = NDEVS;
    rig.links[1].port() = -5;
    rig.start(2);
    for (int i = 0; i < 2; ++i) {
        mbt::Link& l = rig.links[i];
        EXPECT_TRUE(rig.until([&] { return l.errCount() >= 3; }, 5000)) << i;
        EXPECT_EQ(l.lastErr(), MOD_ST_TIMEOUT);
    }
}

TEST(ModbusSerial, RtuThenAsciiOnOneLine) {
    mbt::Rig rig(hk::ClockMode::Simulated, true);
    ASSERT_TRUE(rig.serialReady());
    mbt::Link& l = rig.links[0];
    l.port() = 1;
    l.slave() = 5;
    l.mode() = 2;
    l.holdRegs[2] = 0x1234;
    rig.start(1);
    rig.run(1000);
    // Selecting the transport flushes the line: that is no error.
    EXPECT_EQ(l.errCount(), 0);
    const SerialDvram* rec = serialDvramOf(1);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->dataBits, MOD_DATA_BITS_8);
    EXPECT_EQ(rec->protocol, 2);
    EXPECT_EQ(rec->frameAddress, 5u);

    mbt::SerialMaster m(rig);
    m.send(rtu({5, 3, 0, 2, 0, 1}));
    EXPECT_EQ(m.rtuReply(), rtu({5, 3, 2, 0x12, 0x34}));
    m.send(rtu({5, 3, 0, 0, 0, 119}));
    EXPECT_EQ(m.rtuReply(), rtu({5, 0x83, 3}));
    Bytes bad = rtu({5, 3, 0, 2, 0, 1});
    bad.back() ^= 1;
    m.send(bad);
    EXPECT_TRUE(m.rtuReply(500).empty());
    EXPECT_EQ(l.lastErr(), MOD_ST_CHECKSUM);
    m.send(rtu({6, 3, 0, 2, 0, 1}));  // another slave's frame
    EXPECT_TRUE(m.rtuReply(500).empty());
    EXPECT_EQ(l.errCount(), 2);

    // Switch to ASCII (7 data bits, line protocol); the runtime's serial
    // settings end a line at LF and drop CR.
    hk::runTask([] {
        VKIO_devControl(1, DEVCTL_READ_ENDING, 1, 0);
        VKIO_devControl(1, DEVCTL_CR_HANDLING, 2, 0);
    });
    // Any value but 2 means ASCII; the change is taken up on a quiet line.
    l.mode() = 0;
    rig.run(2500);
    EXPECT_EQ(rec->dataBits, MOD_DATA_BITS_7);
    EXPECT_EQ(rec->protocol, 1);
    EXPECT_EQ(l.errCount(), 2);
    m.send(std::string("noise") + mbt::ascii({5, 3, 0, 2, 0, 1}));
    EXPECT_EQ(m.asciiReply(), mbt::ascii({5, 3, 2, 0x12, 0x34}));
    m.send(mbt::ascii({5, 4, 0, 0, 0, 60}));
    EXPECT_EQ(m.asciiReply(), mbt::ascii({5, 0x84, 3}));
    m.send(std::string(":0503000200011F\r\n"));  // wrong LRC
    EXPECT_TRUE(m.asciiReply(500).empty());
    EXPECT_EQ(l.lastErr(), MOD_ST_CHECKSUM);
    m.send(std::string(":05FB\r\n"));  // too short
    EXPECT_TRUE(m.asciiReply(500).empty());
    EXPECT_EQ(l.lastErr(), MOD_ST_SHORT);
    m.send(std::string(":05FB \r\n"));  // address and LRC only: no function code
    EXPECT_TRUE(m.asciiReply(500).empty());
    EXPECT_EQ(l.lastErr(), MOD_ST_SHORT);
    m.send(mbt::ascii({5, 6, 0, 3, 0xAB, 0xCD}));
    EXPECT_EQ(m.asciiReply(), mbt::ascii({5, 6, 0, 3, 0xAB, 0xCD}));
    EXPECT_EQ(l.holdRegs[3], static_cast<int16_t>(0xABCD));
    EXPECT_EQ(l.errCount(), 6);
}

using ModbusStart = tc_test::RuntimeFixture;

TEST_F(ModbusStart, InstanceNumbersOutsideTheTableAreRefused) {
    static int32_t cells[8];
    static uint32_t enable = 1;
    static float timeout = 1.0f;
    hk::runTask([] {
        AppEventInit();
        VKOS_CreateProcess(AppEventMonitor, 8192, 40, "AppEventMonitor", 0);
        for (int32_t instance : {200, -1})
            modbus(&cells[0], &cells[1], &cells[2], 0, nullptr, 0, 0, nullptr, 0, 0, nullptr, 0, 0, nullptr, 0, 0,
                   &cells[3], &cells[4], &cells[5], instance, 0, &timeout, &enable, &enable);
    });
    hk::runTicks(200);
    std::vector<std::string> lines = messageLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "event 6: Modbus Slave exceeded 200 port instances"), 2);
    hk::runTask([] { EXPECT_EQ(taskNameToId("do_modbus"), ERROR); });
}
