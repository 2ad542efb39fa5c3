// Socket devices and the dispatch over real sockets on 127.0.0.1, driven in
// simulated time; the peers are plain host threads and sockets.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/support/ports.h"

#include <atomic>
#include <cmath>
#include <limits>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "host/hostio.h"
#include "host/hostnet.h"
#include "host/hostkernel.h"
#include "host/hostsym.h"
#include "platform/vkiodev.h"
#include "platform/vkiodprt.h"
#include "platform/vkiodput.h"
#include "platform/vkos.h"
#include "platform/vxwsock2.h"

namespace {

constexpr uint32_t kLoopback = 0x7F000001;

// Ports of parallel test processes must not meet.
int offsetForThisProcess() { return tc_test::pickPortOffset(); }

sockaddr_in loopback(uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(kLoopback);
    return a;
}

// Waits (real time) until fd has data; the bytes come from another thread.
bool readable(int fd) {
    pollfd p = {fd, POLLIN, 0};
    return ::poll(&p, 1, 5000) == 1;
}

std::vector<uint8_t> frame(uint16_t tid, uint8_t unit, std::vector<uint8_t> pdu) {
    uint16_t len = static_cast<uint16_t>(pdu.size() + 1);
    std::vector<uint8_t> f = {static_cast<uint8_t>(tid >> 8), static_cast<uint8_t>(tid), 0, 0,
                              static_cast<uint8_t>(len >> 8), static_cast<uint8_t>(len), unit};
    f.insert(f.end(), pdu.begin(), pdu.end());
    return f;
}

// A TCP connection from a client thread's socket to an accepted socket that
// the test hands to a device, as the Modbus/TCP acceptor does.
struct TcpPair {
    int client = -1;
    int server = -1;
    TcpPair() {
        int lis = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a = loopback(0);
        socklen_t len = sizeof a;
        ::bind(lis, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(lis, 1);
        ::getsockname(lis, reinterpret_cast<sockaddr*>(&a), &len);
        std::thread t([&] {
            client = ::socket(AF_INET, SOCK_STREAM, 0);
            ::connect(client, reinterpret_cast<sockaddr*>(&a), sizeof a);
        });
        server = ::accept(lis, nullptr, nullptr);
        t.join();
        ::close(lis);
    }
    ~TcpPair() {
        if (client >= 0) ::close(client);
    }
    // The client thread sends bytes.
    void send(const std::vector<uint8_t>& b) {
        std::thread([&] { ASSERT_EQ(::send(client, b.data(), b.size(), MSG_NOSIGNAL), (ssize_t)b.size()); }).join();
    }
    void closeClient() {
        std::thread([&] { ::close(client); }).join();
        client = -1;
    }
};

class SocketDevices : public ::testing::Test {
protected:
    void SetUp() override {
        hostio::setPortOffset(offsetForThisProcess());
        hostio::firewallTakeLog();
        hk::start(hk::ClockMode::Simulated);
        ApplicationRunning = 1;
    }
    void TearDown() override {
        ApplicationRunning = 0;
        CpuSlot = 1;
        hk::runTask([] { DeleteDevs(); });
        hk::shutdown();
    }

    // Initialises a device in a task; returns its result.
    int32_t init(int dev) {
        int32_t r = 0;
        hk::runTask([&] { r = VKIO_devInit(dev); });
        return r;
    }

    // Hands a connected socket to a TCP row with the given receive time-out.
    void handOver(int dev, int fd, uint32_t timeoutMs) {
        ASSERT_EQ(init(dev), VKIO_DONE);
        SocketDvram* r = socketDvramOf(dev);
        ASSERT_NE(r, nullptr);
        r->socket = fd;
        r->timeout = timeoutMs;
        if (devtab[dev].statusCell != nullptr) *devtab[dev].statusCell = 16;
    }

    int32_t recvFrame(int dev, uint8_t* buf, int cap) {
        int32_t n = 0;
        hk::runTask([&] {
            VKSockAddr from{};
            int fromLen = sizeof from;
            n = VKIO_devRecvfrom(dev, buf, cap, 0, &from, &fromLen);
        });
        return n;
    }
};

}  // namespace

TEST_F(SocketDevices, FramedReceiveReturnsWholeFramesAndKeepsPipelinedBytes) {
    TcpPair c;
    handOver(2, c.server, 10000);
    auto f1 = frame(1, 5, {3, 0, 0, 0, 2});
    auto f2 = frame(2, 5, {6, 0, 1, 0, 7});
    std::vector<uint8_t> both = f1;
    both.insert(both.end(), f2.begin(), f2.end());
    c.send(both);
    ASSERT_TRUE(readable(c.server));
    uint8_t buf[256];
    ASSERT_EQ(recvFrame(2, buf, sizeof buf), static_cast<int32_t>(f1.size()));
    EXPECT_EQ(std::vector<uint8_t>(buf, buf + f1.size()), f1);
    ASSERT_EQ(recvFrame(2, buf, sizeof buf), static_cast<int32_t>(f2.size()));
    EXPECT_EQ(std::vector<uint8_t>(buf, buf + f2.size()), f2);

    // A frame whose first 3 bytes come in one segment and the rest later.
    auto f3 = frame(3, 5, {4, 0, 9, 0, 1});
    c.send(std::vector<uint8_t>(f3.begin(), f3.begin() + 3));
    ASSERT_TRUE(readable(c.server));
    std::atomic<int32_t> n{0};
    std::atomic<bool> done{false};
    hk::spawnFunction([&] {
        n = VKIO_devRecvfrom(2, buf, sizeof buf, 0, nullptr, nullptr);
        done = true;
    }, 50, "tRecv");
    hk::runUntilIdle();
    EXPECT_FALSE(done);  // waiting for the rest
    c.send(std::vector<uint8_t>(f3.begin() + 3, f3.end()));
    ASSERT_TRUE(hk::runUntil([&] { return done.load(); }, 2000));
    ASSERT_EQ(n, static_cast<int32_t>(f3.size()));
    EXPECT_EQ(std::vector<uint8_t>(buf, buf + f3.size()), f3);
}

TEST_F(SocketDevices, FramedReceiveRefusesBadLengthsWithoutOverrun) {
    uint8_t buf[64];
    {
        TcpPair c;
        handOver(2, c.server, 10000);
        c.send({0, 1, 0, 0, 0, 0, 5, 3});  // length 0
        ASSERT_TRUE(readable(c.server));
        EXPECT_EQ(recvFrame(2, buf, sizeof buf), VKIO_ERROR);
    }
    {
        TcpPair c;
        handOver(5, c.server, 10000);
        c.send({0, 1, 0, 0, 1, 4, 5, 3, 0, 0});  // length 260: high byte set
        ASSERT_TRUE(readable(c.server));
        EXPECT_EQ(recvFrame(5, buf, sizeof buf), VKIO_ERROR);
    }
    {
        TcpPair c;
        handOver(3, c.server, 10000);
        // 6 + 100 bytes do not fit a 64-byte buffer: refused, nothing written past it.
        std::vector<uint8_t> big = frame(1, 5, std::vector<uint8_t>(99, 0xEE));
        c.send(big);
        ASSERT_TRUE(readable(c.server));
        std::vector<uint8_t> guarded(64 + 16, 0x55);
        EXPECT_EQ(recvFrame(3, guarded.data(), 64), VKIO_ERROR);
        for (size_t i = 64; i < guarded.size(); ++i) EXPECT_EQ(guarded[i], 0x55);
        // Exactly the capacity is fine.
        auto fits = frame(2, 5, std::vector<uint8_t>(57, 1));
        ASSERT_EQ(fits.size(), 64u);
        TcpPair d;
        SocketDvram* r = socketDvramOf(3);
        r->socket = d.server;
        d.send(fits);
        ASSERT_TRUE(readable(d.server));
        EXPECT_EQ(recvFrame(3, guarded.data(), 64), 64);
    }
}

TEST_F(SocketDevices, PeerCloseAndTimeOutEndTheReceive) {
    uint8_t buf[256];
    TcpPair c;
    handOver(2, c.server, 100);
    // Silent peer: ten failed rounds of 10 ms.
    uint64_t t0 = hk::ticks();
    EXPECT_EQ(recvFrame(2, buf, sizeof buf), VKIO_TIMEOUT);
    uint64_t elapsed = hk::ticks() - t0;
    EXPECT_GE(elapsed, 20u);
    EXPECT_LE(elapsed, 22u);
    // The peer closing ends the framed receive, read and getc at once.
    c.send({0, 1, 0});
    c.closeClient();
    ASSERT_TRUE(readable(c.server));
    t0 = hk::ticks();
    EXPECT_EQ(recvFrame(2, buf, sizeof buf), VKIO_TIMEOUT);
    int32_t rd = 0, gc = 0;
    hk::runTask([&] {
        rd = VKIO_devRead(2, buf, sizeof buf);
        gc = VKIO_devGetc(2);
    });
    EXPECT_EQ(rd, VKIO_TIMEOUT);
    EXPECT_EQ(gc, VKIO_TIMEOUT);
    EXPECT_LE(hk::ticks() - t0, 1u);
    // Writing to the closed connection never raises SIGPIPE; errors are not reported.
    hk::runTask([&] {
        for (int i = 0; i < 3; ++i) EXPECT_EQ(VKIO_devWrite(2, "late", 4), VKIO_DONE);
    });
    // Closing the device frees the row for the acceptor.
    hk::runTask([&] { EXPECT_EQ(VKIO_devClose(2), VKIO_DONE); });
    EXPECT_EQ(socketDvramOf(2)->socket, -1);
    EXPECT_EQ(*devtab[2].statusCell, DEV_TCP_STATUS_FREE);
    EXPECT_EQ(recvFrame(2, buf, sizeof buf), VKIO_ERROR);  // no socket
}

TEST_F(SocketDevices, TcpReadWriteAndDisplayControls) {
    TcpPair c;
    handOver(5, c.server, 0);
    c.send({'h', 'i'});
    ASSERT_TRUE(readable(c.server));
    uint8_t buf[16];
    int32_t n = 0, ch = 0;
    hk::runTask([&] {
        ch = VKIO_devGetc(5);
        n = VKIO_devRead(5, buf, sizeof buf);
        EXPECT_EQ(VKIO_devWrite(5, "ok", 2), VKIO_DONE);
        EXPECT_EQ(VKIO_devPutc(5, 0x141), VKIO_DONE);  // the low byte
        EXPECT_EQ(VKIO_devControl(5, 11, 2, 1), VKIO_DONE);  // 2 + 128 + 64
        EXPECT_EQ(VKIO_devControl(5, 12, 0, 0), VKIO_DONE);
        EXPECT_EQ(VKIO_devControl(5, 13, 4, 0), VKIO_DONE);
        EXPECT_EQ(VKIO_devControl(5, 19, 3, 10), VKIO_DONE);
        EXPECT_EQ(VKIO_devControl(5, 19, 3, 60), VKIO_DONE);
        EXPECT_EQ(VKIO_devControl(5, 20, 1234, 0), VKIO_DONE);
        EXPECT_EQ(VKIO_devControl(5, 15, 2, 0), VKIO_DONE);  // not a socket code
        EXPECT_EQ(VKIO_devControl(5, 16, 0, 0), VKIO_DONE);
        VKSockAddr to = vkSockAddr(kLoopback, 1);
        EXPECT_EQ(VKIO_devSendto(5, "!", 1, 0, &to, sizeof to), VKIO_DONE);
    });
    EXPECT_EQ(ch, 'h');
    EXPECT_EQ(n, 1);
    EXPECT_EQ(buf[0], 'i');
    EXPECT_EQ(socketDvramOf(5)->timeout, 1234u);
    std::vector<uint8_t> want = {'o', 'k', 0x41, 194, 1, 15, 138, 131, 202, 195, '!'};
    std::vector<uint8_t> got(want.size());
    size_t have = 0;
    while (have < got.size() && readable(c.client)) {
        ssize_t r = ::recv(c.client, got.data() + have, got.size() - have, 0);
        if (r <= 0) break;
        have += static_cast<size_t>(r);
    }
    EXPECT_EQ(got, want);
    // Writes are refused while the application is not running.
    ApplicationRunning = 0;
    hk::runTask([&] { EXPECT_EQ(VKIO_devWrite(5, "x", 1), VKIO_ERROR); });
}

TEST_F(SocketDevices, UdpDeviceExchangesDatagrams) {
    PentEthPortIP[4] = kLoopback;
    ASSERT_EQ(init(4), VKIO_DONE);
    EXPECT_EQ(hostio::firewallTakeLog(), std::vector<std::string>{"add udp 5001"});
    SocketDvram* r = socketDvramOf(4);
    ASSERT_NE(r, nullptr);
    EXPECT_NE(r->sem, 0);
    EXPECT_EQ(vkSockAddrIp(r->own), kLoopback);

    int peer = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in pa = loopback(0);
    ::bind(peer, reinterpret_cast<sockaddr*>(&pa), sizeof pa);
    socklen_t plen = sizeof pa;
    ::getsockname(peer, reinterpret_cast<sockaddr*>(&pa), &plen);
    sockaddr_in dev = loopback(hostio::hostPort(5001));
    ASSERT_EQ(::sendto(peer, "ping", 4, 0, reinterpret_cast<sockaddr*>(&dev), sizeof dev), 4);
    ASSERT_TRUE(readable(r->socket));

    uint8_t buf[32];
    int32_t n = 0;
    hk::runTask([&] {
        EXPECT_EQ(VKIO_devOpen(4), VKIO_DONE);
        n = VKIO_devRead(4, buf, sizeof buf);  // the sender becomes the peer
        EXPECT_EQ(VKIO_devWrite(4, "pong", 4), VKIO_DONE);
        EXPECT_EQ(VKIO_devPutc(4, 0x41), VKIO_DONE);
        EXPECT_EQ(VKIO_devClose(4), VKIO_DONE);
    });
    ASSERT_EQ(n, 4);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), 4), "ping");
    EXPECT_EQ(vkSockAddrPort(r->peer), ntohs(pa.sin_port));
    char got[16];
    ASSERT_TRUE(readable(peer));
    EXPECT_EQ(::recv(peer, got, sizeof got, 0), 4);
    EXPECT_EQ(std::string(got, 4), "pong");
    ASSERT_TRUE(readable(peer));
    EXPECT_EQ(::recv(peer, got, sizeof got, 0), 1);  // one datagram holding 0x41
    EXPECT_EQ(got[0], 0x41);

    // recvfrom gives the sender to the caller; sendto answers it.
    ASSERT_EQ(::sendto(peer, "abc", 3, 0, reinterpret_cast<sockaddr*>(&dev), sizeof dev), 3);
    ASSERT_TRUE(readable(r->socket));
    VKSockAddr from{};
    int fromLen = sizeof from;
    hk::runTask([&] {
        n = VKIO_devRecvfrom(4, buf, sizeof buf, 0, &from, &fromLen);
        EXPECT_EQ(VKIO_devSendto(4, "xyz", 3, 0, &from, fromLen), VKIO_DONE);
    });
    EXPECT_EQ(n, 3);
    EXPECT_EQ(fromLen, 16);
    EXPECT_EQ(from.family, 2);
    EXPECT_EQ(vkSockAddrIp(from), kLoopback);
    EXPECT_EQ(vkSockAddrPort(from), ntohs(pa.sin_port));
    ASSERT_TRUE(readable(peer));
    EXPECT_EQ(::recv(peer, got, sizeof got, 0), 3);
    EXPECT_EQ(std::string(got, 3), "xyz");
    ::close(peer);
}

TEST_F(SocketDevices, UdpTimeOutWordAndWaits) {
    ASSERT_EQ(init(6), VKIO_DONE);
    SocketDvram* r = socketDvramOf(6);
    int32_t n = 0;
    uint8_t buf[8];
    hk::runTask([&] {
        VKIO_devControl(6, 20, 3, 0);
        EXPECT_EQ(r->timeout, 1u);  // 5 ms
        VKIO_devControl(6, 20, 0, 0);
        EXPECT_EQ(r->timeout, 0u);  // for ever
        VKIO_devControl(6, 20, 1000, 0);
        EXPECT_EQ(r->timeout, 200u);
        VKIO_devControl(6, 20, 50, 0);
    });
    uint64_t t0 = hk::ticks();
    hk::runTask([&] { n = VKIO_devRead(6, buf, sizeof buf); });
    EXPECT_EQ(n, VKIO_TIMEOUT);
    EXPECT_EQ(hk::ticks() - t0, 10u);
    // The device mutex: a second user waits until the first closes.
    std::atomic<int> order{0};
    std::atomic<int> secondAt{0};
    hk::runTask([&] {
        VKIO_devOpen(6);
        hk::spawnFunction([&] {
            VKIO_devOpen(6);
            secondAt = ++order;
            VKIO_devClose(6);
        }, 50, "tUser2");
        VKOS_SleepMillisec(50);
        ++order;
        VKIO_devClose(6);
    });
    hk::runUntil([&] { return secondAt.load() != 0; }, 100);
    EXPECT_EQ(secondAt, 2);
}

TEST_F(SocketDevices, FirewallRulesAndRelease) {
    // Port 5005 is taken: device 7 cannot be set up and raises its fault cell.
    int blocker = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in ba{};
    ba.sin_family = AF_INET;
    ba.sin_port = htons(hostio::hostPort(5005));
    ASSERT_EQ(::bind(blocker, reinterpret_cast<sockaddr*>(&ba), sizeof ba), 0);
    int32_t ret = 0;
    hk::runTask([&] { ret = init_devs(); });
    EXPECT_EQ(ret, 0);
    EXPECT_EQ(hostio::firewallTakeLog(), (std::vector<std::string>{"add tcp 502", "add udp 5001", "add udp 5002"}));
    EXPECT_EQ(*devtab[7].faultCell, 1);
    EXPECT_EQ(socketDvramOf(7)->socket, -1);
    EXPECT_EQ(*devtab[1].faultCell, 1);  // "/tyCo/0" is mapped to no tty here
    ::close(blocker);
    EXPECT_EQ(*devtab[2].statusCell, DEV_TCP_STATUS_FREE);
    EXPECT_EQ(*devtab[5].statusCell, DEV_TCP_STATUS_FREE);
    EXPECT_EQ(*devtab[4].faultCell, 0);
    hk::runTask([&] {
        EXPECT_EQ(VKIO_devControl(4, 24, 777, 0), VKIO_DONE);
        hostio::firewallSetResult(-1);
        EXPECT_EQ(VKIO_devControl(3, 25, 777, 0), VKIO_ERROR);
        hostsym::registerSymbol("VKFirewallAddUDPPortRule", nullptr);
        EXPECT_EQ(VKIO_devControl(4, 24, 778, 0), VKIO_DONE);  // no platform function
        hostio::registerFirewallFunctions();
        hostio::firewallSetResult(0);
    });
    EXPECT_EQ(hostio::firewallTakeLog(), (std::vector<std::string>{"add udp 777", "remove tcp 777"}));

    hk::runTask([&] { EXPECT_EQ(DeleteDevs(), 0); });
    for (int d = 2; d <= 7; ++d) EXPECT_EQ(*devtab[d].holder, nullptr) << d;
    EXPECT_EQ(hostio::firewallTakeLog(),
              (std::vector<std::string>{"remove tcp 502", "remove udp 5001", "remove udp 5002", "remove udp 5005"}));
    // The ports are free again.
    hk::runTask([&] { EXPECT_EQ(VKIO_devInit(7), VKIO_DONE); });
}

TEST_F(SocketDevices, DispatchRefusals) {
    int32_t r = 0;
    uint64_t t0 = hk::ticks();
    hk::runTask([&] {
        EXPECT_EQ(VKIO_devGetc(254), VKIO_ERROR);
        EXPECT_EQ(VKIO_devGetc(-1), VKIO_ERROR);
        EXPECT_EQ(VKIO_devRead(8, nullptr, 0), 0);
        EXPECT_EQ(VKIO_devInit(8), VKIO_ERROR);
        EXPECT_EQ(VKIO_devControl(8, 16, 0, 0), VKIO_ERROR);
        EXPECT_EQ(VKIO_devSendto(9, "x", 1, 0, nullptr, 0), VKIO_ERROR);
    });
    EXPECT_EQ(hk::ticks(), t0);  // at once
    hk::runTask([&] { r = VKIO_devPutc(0, 'x'); });
    EXPECT_EQ(r, VKIO_TIMEOUT);
    EXPECT_EQ(hk::ticks() - t0, 20u);  // after 100 ms

    // A recvfrom on the null device blocks until another task resumes it.
    std::atomic<bool> done{false};
    TASK_ID tid = hk::spawnFunction([&] {
        r = VKIO_devRecvfrom(0, nullptr, 0, 0, nullptr, nullptr);
        done = true;
    }, 50, "tBlocked");
    hk::runTicks(100);
    EXPECT_FALSE(done);
    hk::runTask([&] { taskResume(tid); });
    ASSERT_TRUE(hk::runUntil([&] { return done.load(); }, 10));
    EXPECT_EQ(r, 0);

    // A row of another CPU slot: reads after 1 s with 0x80000002, others at once.
    TcpPair c;
    handOver(2, c.server, 100);
    CpuSlot = 2;
    uint8_t buf[8];
    t0 = hk::ticks();
    hk::runTask([&] { r = VKIO_devRecvfrom(2, buf, sizeof buf, 0, nullptr, nullptr); });
    EXPECT_EQ(r, VKIO_OTHER_CPU);
    EXPECT_EQ(hk::ticks() - t0, 200u);
    hk::runTask([&] { r = VKIO_devWrite(2, "x", 1); });
    EXPECT_EQ(r, VKIO_ERROR);
    CpuSlot = 1;
}

TEST_F(SocketDevices, PutRoutinesWriteTheirFields) {
    ASSERT_EQ(init(4), VKIO_DONE);
    int peer = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in pa = loopback(0);
    ::bind(peer, reinterpret_cast<sockaddr*>(&pa), sizeof pa);
    socklen_t plen = sizeof pa;
    ::getsockname(peer, reinterpret_cast<sockaddr*>(&pa), &plen);
    socketDvramOf(4)->peer = vkSockAddr(kLoopback, ntohs(pa.sin_port));
    auto next = [&] {
        char b[512];
        if (!readable(peer)) return std::string("<none>");
        ssize_t n = ::recv(peer, b, sizeof b, 0);
        return std::string(b, static_cast<size_t>(n < 0 ? 0 : n));
    };
    int32_t dt = 0;
    hk::runTask([&] {
        VKIO_devPuts(4, "System Initializing");
        VKIO_devPut_dig(4, 1, 5);
        VKIO_devPut_dig(4, 1, 2);
        VKIO_devPut_dig(4, 0, 0);
        VKIO_devPut_bool(4, 1, 7);
        VKIO_devPut_bool(4, 0, 3);
        VKIO_devPut_int(4, -42, 5);
        VKIO_devPut_int(4, -42, 2);
        VKIO_devPut_real(4, 6, 3, 3.14159f);
        VKIO_devPut_real(4, 4, 3, 3.14159f);
        VKIO_devPut_real(4, 3, 3, 3.14159f);
        VKIO_devPut_real(4, 2, 3, 3.14159f);
        VKIO_devPut_real(4, 8, 2, std::numeric_limits<float>::infinity());
        VKIO_devPut_real(4, 0, 2, -std::numeric_limits<float>::infinity());
        VKIO_devPut_real(4, 5, 2, std::nanf(""));
        VKIO_devPut_real(4, 7, 2, 123456.0f);
        VKIO_devPut_char(4, 'x', 3);
        VKIO_devPut_char(4, 'y', 0);
        VKIO_devPut_strn(4, "hello", 3);
        VKIO_devPut_strn(4, "hello", 8);
        VKIO_devPut_strn(4, "hello", 0);
        VKIO_devPut_wtimer(4, 3723, 45000, 20);
        dt = VKIO_devPut_dtimer(4, 0, 12);
        VKIO_devPuts(4, "end");
    });
    for (const char* want : {"System Initializing", "   ON", " O", "OFF", "   TRUE", "FAL", "  -42", "*2", " 3.142",
                             "3.14", "3.1", " 3", "  1.0E38", "-1.0E38", "  NaN", "1.2E+05", "  x", "y", "hel",
                             "   hello", "hello", "         1:02:03.045", "end"})
        EXPECT_EQ(next(), want);
    EXPECT_EQ(dt, VKIO_ERROR);  // writes nothing
    ::close(peer);
}

TEST_F(SocketDevices, AuxiliaryRoutines) {
    TcpPair c;
    handOver(2, c.server, 0);
    uint8_t buf[16];
    int32_t n = 0;
    // The select-style receive: no wait with a time-out word of 0.
    hk::runTask([&] { n = QLMvxtcprecv_WSock(&devtab[2], buf, sizeof buf, 0, nullptr, nullptr); });
    EXPECT_EQ(n, VKIO_TIMEOUT);
    c.send({'a', 'b'});
    ASSERT_TRUE(readable(c.server));
    VKSockAddr from{};
    int fromLen = sizeof from;
    hk::runTask([&] { n = QLMvxtcprecv_WSock(&devtab[2], buf, sizeof buf, 0, &from, &fromLen); });
    EXPECT_EQ(n, 2);
    EXPECT_EQ(vkSockAddrIp(from), kLoopback);
    // Update drops the connection of a 'f' row.
    hk::runTask([&] { EXPECT_EQ(vxtcpupdate_WSock(&devtab[2]), VKIO_DONE); });
    EXPECT_EQ(socketDvramOf(2)->socket, -1);
    EXPECT_EQ(*devtab[2].statusCell, DEV_TCP_STATUS_FREE);

    // The UDP update reloads the addresses from the port table.
    ASSERT_EQ(init(4), VKIO_DONE);
    SocketDvram* u = socketDvramOf(4);
    u->timeout = 9;
    PentEthPortIP[4] = 0x0A000001;
    PentEthPortNum[4] = 1234;
    hk::runTask([&] { EXPECT_EQ(xudpupdate_WSock(&devtab[4]), VKIO_DONE); });
    EXPECT_EQ(vkSockAddrIp(u->peer), 0x0A000001u);
    EXPECT_EQ(vkSockAddrPort(u->own), 1234);
    EXPECT_EQ(u->timeout, 0u);

    // Multicast membership on the interface's address; a bad group fails.
    hk::runTask([&] {
        EXPECT_EQ(vxMCastAddMembership(u->socket, "239.1.2.3", 0), VKIO_DONE);
        EXPECT_EQ(vxMCastDropMembership(u->socket, "239.1.2.3", 0), VKIO_DONE);
        EXPECT_EQ(vxMCastAddMembership(u->socket, "not.an.address", 0), VKIO_ERROR);
        EXPECT_EQ(vxMCastSetIF(u->socket, 0), VKIO_DONE);
    });

    // VKIO_devPrintf writes the text and returns its length, refused or not.
    int peer = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in pa = loopback(0);
    ::bind(peer, reinterpret_cast<sockaddr*>(&pa), sizeof pa);
    socklen_t plen = sizeof pa;
    ::getsockname(peer, reinterpret_cast<sockaddr*>(&pa), &plen);
    u->peer = vkSockAddr(kLoopback, ntohs(pa.sin_port));
    hk::runTask([&] { n = VKIO_devPrintf(4, "%s=%d %B", "x", 42, 1); });
    EXPECT_EQ(n, 9);
    char got[32];
    ASSERT_TRUE(readable(peer));
    EXPECT_EQ(::recv(peer, got, sizeof got, 0), 9);
    EXPECT_EQ(std::string(got, 9), "x=42 TRUE");
    ApplicationRunning = 0;
    hk::runTask([&] { n = VKIO_devPrintf(4, "%d", 123); });
    EXPECT_EQ(n, 3);
    ::close(peer);
}
