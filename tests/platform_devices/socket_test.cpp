// Socket devices and the dispatch over real sockets on 127.0.0.1, driven in
// simulated time; the peers are plain host sockets.
#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/support/ports.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <string>
#include <vector>

#include "host/hostfs.h"
#include "host/hostio.h"
#include "host/hostkernel.h"
#include "host/hostnet.h"
#include "platform/vkiodev.h"
#include "platform/vkiodput.h"
#include "platform/vxwsock2.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr uint32_t kLoopback = 0x7F000001;

sockaddr_in loopback(uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(kLoopback);
    return a;
}

// Waits (real time) until fd has data.
bool readable(int fd) {
    pollfd p = {fd, POLLIN, 0};
    return ::poll(&p, 1, 5000) == 1;
}

// A Modbus/TCP frame for unit 5.
Bytes frame(uint8_t tid, Bytes pdu) {
    pdu.insert(pdu.begin(), {0, tid, 0, 0, static_cast<uint8_t>((pdu.size() + 1) >> 8),
                             static_cast<uint8_t>(pdu.size() + 1), 5});
    return pdu;
}

// A TCP connection from a client socket to an accepted socket that the test
// hands to a device, as the Modbus/TCP acceptor does.
struct TcpPair {
    int client = ::socket(AF_INET, SOCK_STREAM, 0);
    int server = -1;
    TcpPair() {
        int lis = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a = loopback(0);
        socklen_t len = sizeof a;
        ::bind(lis, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(lis, 1);
        ::getsockname(lis, reinterpret_cast<sockaddr*>(&a), &len);
        ::connect(client, reinterpret_cast<sockaddr*>(&a), sizeof a);
        server = ::accept(lis, nullptr, nullptr);
        ::close(lis);
    }
    ~TcpPair() { ::close(client); }
    // Sends and (unless a receive is already waiting) waits until the bytes can be read.
    void send(const Bytes& b, bool wait = true) {
        ASSERT_EQ(::send(client, b.data(), b.size(), MSG_NOSIGNAL), static_cast<ssize_t>(b.size()));
        ASSERT_TRUE(!wait || readable(server));
    }
};

class SocketDevices : public ::testing::Test {
protected:
    void SetUp() override {
        hostio::setPortOffset(tc_test::pickPortOffset());  // parallel test processes must not meet
        hk::start(hk::ClockMode::Simulated);
        ApplicationRunning = 1;
    }
    void TearDown() override {
        ApplicationRunning = 0;
        CpuSlot = 1;
        hk::runTask([] { DeleteDevs(); });
        hk::shutdown();
    }
    template <typename F>
    int32_t run(F f) {
        int32_t r = 0;
        hk::runTask([&] { r = f(); });
        return r;
    }
    // Hands a connected socket to a TCP row with the given receive time-out.
    void handOver(int dev, int fd, uint32_t timeoutMs) {
        ASSERT_TRUE(socketDvramOf(dev) != nullptr || run([&] { return VKIO_devInit(dev); }) == VKIO_DONE);
        socketDvramOf(dev)->socket = hostio::sockAdopt(fd);
        socketDvramOf(dev)->timeout = timeoutMs;
        if (devtab[dev].statusCell != nullptr) devtab[dev].statusCell() = 16;
    }
    int32_t recvFrame(int dev, uint8_t* buf, int cap) {
        return run([&] { return VKIO_devRecvfrom(dev, buf, cap, 0, nullptr, nullptr); });
    }
};

}  // namespace

TEST_F(SocketDevices, FramedReceiveOverAStreamThatEndsWithThePeerClosing) {
    TcpPair c;
    handOver(2, c.server, 100);
    const Bytes f1 = frame(1, {3, 0, 0, 0, 2}), f2 = frame(2, {6, 0, 1, 0, 7}), f3 = frame(3, {4, 0, 9, 0, 1});
    Bytes both = f1;
    both.insert(both.end(), f2.begin(), f2.end());
    c.send(both);  // two pipelined frames come one per receive
    uint8_t buf[256];
    for (const Bytes& f : {f1, f2}) {
        ASSERT_EQ(recvFrame(2, buf, sizeof buf), static_cast<int32_t>(f.size()));
        EXPECT_EQ(Bytes(buf, buf + f.size()), f);
    }
    // The sender of a frame is the connected peer.
    sockaddr_in me{};
    socklen_t meLen = sizeof me;
    ::getsockname(c.client, reinterpret_cast<sockaddr*>(&me), &meLen);
    c.send(f1);
    VKSockAddr from{};
    int fromLen = sizeof from;
    ASSERT_EQ(run([&] { return VKIO_devRecvfrom(2, buf, sizeof buf, 0, &from, &fromLen); }),
              static_cast<int32_t>(f1.size()));
    EXPECT_EQ(vkSockAddrIp(from), kLoopback);
    EXPECT_EQ(vkSockAddrPort(from), ntohs(me.sin_port));
    // The first 3 bytes in one segment, the rest later: the receive waits for them.
    c.send(Bytes(f3.begin(), f3.begin() + 3));
    std::atomic<int32_t> n{0};
    hk::spawnFunction([&] { n = VKIO_devRecvfrom(2, buf, sizeof buf, 0, nullptr, nullptr); }, 50, "tRecv");
    hk::runTicks(5);
    EXPECT_EQ(n, 0);
    c.send(Bytes(f3.begin() + 3, f3.end()), false);
    ASSERT_TRUE(hk::runUntil([&] { return n.load() != 0; }, 2000));
    ASSERT_EQ(n, static_cast<int32_t>(f3.size()));
    EXPECT_EQ(Bytes(buf, buf + f3.size()), f3);

    uint64_t t0 = hk::ticks();
    EXPECT_EQ(recvFrame(2, buf, sizeof buf), VKIO_TIMEOUT);  // silent peer: ten rounds of 10 ms
    EXPECT_NEAR(static_cast<double>(hk::ticks() - t0), 21, 1);
    // The peer closing ends the framed receive, read and getc at once.
    c.send({0, 1, 0});
    ::close(c.client);
    c.client = -1;
    t0 = hk::ticks();
    hk::runTask([&] {
        EXPECT_EQ(VKIO_devRecvfrom(2, buf, sizeof buf, 0, nullptr, nullptr), VKIO_TIMEOUT);
        EXPECT_EQ(VKIO_devRead(2, buf, sizeof buf), VKIO_TIMEOUT);
        EXPECT_EQ(VKIO_devGetc(2), VKIO_TIMEOUT);
        EXPECT_EQ(VKIO_devWrite(2, "late", 4), VKIO_DONE);  // never raises SIGPIPE
        EXPECT_EQ(VKIO_devClose(2), VKIO_DONE);
    });
    EXPECT_LE(hk::ticks() - t0, 1u);
    EXPECT_EQ(devtab[2].statusCell(), DEV_TCP_STATUS_FREE);  // the row is free for the acceptor
    EXPECT_EQ(recvFrame(2, buf, sizeof buf), VKIO_ERROR);
}

TEST_F(SocketDevices, FramedReceiveRefusesBadLengthsWithoutOverrun) {
    struct {
        int dev;
        Bytes bytes;
        int32_t result;
    } cases[] = {
        {2, {0, 1, 0, 0, 0, 0, 5, 3}, VKIO_ERROR},        // length 0
        {5, {0, 1, 0, 0, 1, 4, 5, 3, 0, 0}, VKIO_ERROR},  // length 260
        {3, frame(1, Bytes(99, 0xEE)), VKIO_ERROR},       // 106 bytes do not fit 64
        {3, frame(2, Bytes(57, 1)), 64},                  // exactly the capacity
    };
    for (const auto& k : cases) {
        TcpPair c;
        handOver(k.dev, c.server, 10000);
        c.send(k.bytes);
        Bytes guarded(64 + 16, 0x55);
        EXPECT_EQ(recvFrame(k.dev, guarded.data(), 64), k.result) << k.dev;
        EXPECT_EQ(Bytes(guarded.begin() + 64, guarded.end()), Bytes(16, 0x55));
    }
}

TEST_F(SocketDevices, UdpExchangeAndPutRoutines) {
    PentEthPortIP[4] = kLoopback;
    ASSERT_EQ(run([] { return VKIO_devInit(4); }), VKIO_DONE);
    int peer = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in pa = loopback(0), dev = loopback(hostio::hostPort(5001));
    socklen_t plen = sizeof pa;
    ::bind(peer, reinterpret_cast<sockaddr*>(&pa), sizeof pa);
    ::getsockname(peer, reinterpret_cast<sockaddr*>(&pa), &plen);
    ASSERT_EQ(::sendto(peer, "ping", 4, 0, reinterpret_cast<sockaddr*>(&dev), sizeof dev), 4);
    ASSERT_TRUE(readable(hostio::sockHostFd(socketDvramOf(4)->socket)));
    char buf[512];
    int32_t n = 0, dt = 0;
    hk::runTask([&] {
        n = VKIO_devRead(4, buf, sizeof buf);  // the sender becomes the peer
        VKIO_devPut_dig(4, 1, 2);
        VKIO_devPut_int(4, -42, 2);
        VKIO_devPut_real(4, 5, 2, std::nanf(""));
        VKIO_devPut_strn(4, "hello", 3);
        dt = VKIO_devPut_dtimer(4, 0, 12);  // leaves its buffer unfilled
        VKIO_devPuts(4, "end");
        VKIO_devPut_strn(4, "hi", 300);  // a field is at most 256 characters
    });
    EXPECT_EQ(std::string(buf, static_cast<size_t>(std::max(n, 0))), "ping");
    EXPECT_EQ(dt, VKIO_ERROR);
    for (const std::string& want : {std::string(" O"), std::string("*2"), std::string("  NaN"), std::string("hel"),
                                   std::string("end"), std::string(254, ' ') + "hi"}) {
        ASSERT_TRUE(readable(peer));
        ssize_t got = ::recv(peer, buf, sizeof buf, 0);
        EXPECT_EQ(std::string(buf, static_cast<size_t>(std::max<ssize_t>(got, 0))), want);
    }
    // Until the application runs nothing goes out; the next datagram is the first one sent after.
    ApplicationRunning = 0;
    hk::runTask([&] {
        EXPECT_EQ(VKIO_devWrite(4, "early", 5), VKIO_ERROR);
        const VKSockAddr to = vkSockAddr(kLoopback, ntohs(pa.sin_port));
        EXPECT_EQ(VKIO_devSendto(4, "early", 5, 0, &to, sizeof to), VKIO_ERROR);
    });
    ApplicationRunning = 1;
    EXPECT_EQ(run([] { return VKIO_devWrite(4, "run", 3); }), VKIO_DONE);
    ASSERT_TRUE(readable(peer));
    ssize_t got = ::recv(peer, buf, sizeof buf, 0);
    EXPECT_EQ(std::string(buf, static_cast<size_t>(std::max<ssize_t>(got, 0))), "run");
    ::close(peer);
}

TEST_F(SocketDevices, DispatchResultCodes) {
    uint64_t t0 = hk::ticks();
    hk::runTask([&] {
        EXPECT_EQ(VKIO_devGetc(254), VKIO_ERROR);
        EXPECT_EQ(VKIO_devInit(8), VKIO_ERROR);
        EXPECT_EQ(VKIO_devRead(8, nullptr, 0), VKIO_DONE);
    });
    EXPECT_EQ(hk::ticks(), t0);  // at once
    EXPECT_EQ(run([] { return VKIO_devPutc(0, 'x'); }), VKIO_TIMEOUT);
    EXPECT_EQ(hk::ticks() - t0, 20u);  // after 100 ms
    // A row of another CPU slot: reads end after 1 s, writes at once.
    TcpPair c;
    handOver(2, c.server, 100);
    CpuSlot = 2;
    uint8_t buf[8];
    t0 = hk::ticks();
    EXPECT_EQ(recvFrame(2, buf, sizeof buf), VKIO_OTHER_CPU);
    EXPECT_EQ(hk::ticks() - t0, 200u);
    EXPECT_EQ(run([] { return VKIO_devWrite(2, "x", 1); }), VKIO_ERROR);
}

namespace {

// Host descriptors held open so that the next host socket gets a number
// above the target's descriptor range.
struct HighDescriptors {
    std::vector<int> held;
    HighDescriptors() {
        for (int fd = ::open("/dev/null", O_RDONLY); fd >= 0 && fd < 300; fd = ::open("/dev/null", O_RDONLY))
            held.push_back(fd);
        if (!held.empty() && held.back() < 299) held.clear();  // the host limit is lower: nothing to show
    }
    ~HighDescriptors() {
        for (int fd : held) ::close(fd);
    }
};

bool hostOpen(int h) { return ::fcntl(h, F_GETFD) != -1; }

}  // namespace

// Sockets whose host descriptor lies above 255 get a target descriptor in
// 3..255 and close through the OS service like any other: a UDP row's own
// socket when the row is released, a connection handed to a TCP row when
// the row closes it (the peer sees the end of the stream).
TEST_F(SocketDevices, SocketsWithHostDescriptorsAbove255StillClose) {
    HighDescriptors high;
    ASSERT_FALSE(high.held.empty()) << "the host allows too few open files";
    const int before = hostfs::openDescriptors();

    ASSERT_EQ(run([] { return VKIO_devInit(4); }), VKIO_DONE);
    const int udp = socketDvramOf(4)->socket;
    const int udpHost = hostio::sockHostFd(udp);
    EXPECT_GE(udp, 3);
    EXPECT_LE(udp, 255);
    EXPECT_GT(udpHost, 255);

    TcpPair c;
    ASSERT_GT(c.server, 255);
    handOver(2, c.server, 100);
    const int tcp = socketDvramOf(2)->socket;
    EXPECT_GE(tcp, 3);
    EXPECT_LE(tcp, 255);
    EXPECT_EQ(hostfs::openDescriptors(), before + 2);

    EXPECT_EQ(run([] { return VKIO_devClose(2); }), VKIO_DONE);
    EXPECT_FALSE(hostOpen(c.server));
    ASSERT_TRUE(readable(c.client));
    char b;
    EXPECT_LE(::recv(c.client, &b, 1, 0), 0);

    hk::runTask([] { DeleteDevs(); });
    EXPECT_FALSE(hostOpen(udpHost));
    EXPECT_EQ(hostfs::openDescriptors(), before);
}

namespace {

struct BindFailure {
    std::string protocol;
    uint16_t port = 0;
    int err = 0;
};
std::vector<BindFailure> g_bindFailures;

void recordBindFailure(const char* protocol, uint16_t port, int err) {
    g_bindFailures.push_back({protocol, port, err});
}

}  // namespace

// A UDP row whose port another program holds: the row reports its fault,
// and the host layer names the port (offset included) to whoever watches.
TEST_F(SocketDevices, UdpPortInUseIsAFaultAndIsReported) {
    int holder = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a = loopback(hostio::hostPort(5001));
    a.sin_addr.s_addr = htonl(INADDR_ANY);
    ASSERT_EQ(::bind(holder, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    g_bindFailures.clear();
    hostio::setBindFailureObserver(recordBindFailure);
    devtab[4].faultCell() = 0;
    EXPECT_EQ(run([] { return VKIO_devInit(4); }), VKIO_ERROR);
    hostio::setBindFailureObserver(nullptr);
    EXPECT_EQ(devtab[4].faultCell(), 1);
    ASSERT_EQ(g_bindFailures.size(), 1u);
    EXPECT_EQ(g_bindFailures[0].protocol, "UDP");
    EXPECT_EQ(g_bindFailures[0].port, hostio::hostPort(5001));
    EXPECT_EQ(g_bindFailures[0].err, EADDRINUSE);
    ::close(holder);
    // Free again, the port opens.
    hk::runTask([] { DeleteDevs(); });
    EXPECT_EQ(run([] { return VKIO_devInit(4); }), VKIO_DONE);
}

// The multicast helpers on a row's socket, and refusals of a bad group
// address and of a descriptor that is not open.
TEST_F(SocketDevices, MulticastHelpers) {
    ASSERT_EQ(run([] { return VKIO_devInit(4); }), VKIO_DONE);
    const int sock = socketDvramOf(4)->socket;
    constexpr int kNotOpen = 250;
    struct {
        const char* what;
        int32_t result, want;
    } cases[] = {
        {"join", vxMCastAddMembership(sock, "239.1.2.3", 0), VKIO_DONE},
        {"interface", vxMCastSetIF(sock, 0), VKIO_DONE},
        {"leave", vxMCastDropMembership(sock, "239.1.2.3", 0), VKIO_DONE},
        {"leave again", vxMCastDropMembership(sock, "239.1.2.3", 0), VKIO_ERROR},
        {"bad group", vxMCastAddMembership(sock, "239.1.2", 0), VKIO_ERROR},
        {"join on a closed descriptor", vxMCastAddMembership(kNotOpen, "239.1.2.3", 0), VKIO_ERROR},
        {"interface on a closed descriptor", vxMCastSetIF(kNotOpen, 0), VKIO_ERROR},
    };
    for (const auto& c : cases) EXPECT_EQ(c.result, c.want) << c.what;
}

TEST_F(SocketDevices, RowsNeverInitialisedRefuseEveryOperation) {
    for (int dev : {2, 3, 4, 5, 6, 7}) {
        SCOPED_TRACE(dev);
        ASSERT_EQ(socketDvramOf(dev), nullptr);
        uint8_t buf[8] = {};
        const VKSockAddr to = vkSockAddr(kLoopback, 9);
        const uint64_t t0 = hk::ticks();
        hk::runTask([&] {
            EXPECT_EQ(VKIO_devOpen(dev), VKIO_ERROR);
            EXPECT_EQ(VKIO_devClose(dev), VKIO_ERROR);
            EXPECT_EQ(VKIO_devRead(dev, buf, sizeof buf), VKIO_ERROR);
            EXPECT_EQ(VKIO_devWrite(dev, buf, sizeof buf), VKIO_ERROR);
            EXPECT_EQ(VKIO_devGetc(dev), VKIO_ERROR);
            EXPECT_EQ(VKIO_devPutc(dev, 'x'), VKIO_ERROR);
            EXPECT_EQ(VKIO_devRecvfrom(dev, buf, sizeof buf, 0, nullptr, nullptr), VKIO_ERROR);
            EXPECT_EQ(VKIO_devSendto(dev, buf, sizeof buf, 0, &to, sizeof to), VKIO_ERROR);
        });
        EXPECT_EQ(hk::ticks(), t0);
    }
}

TEST_F(SocketDevices, PlainStreamReceiveReportsThePeer) {
    TcpPair c;
    handOver(2, c.server, 0);  // no wait
    uint8_t buf[16];
    VKSockAddr from{};
    int fromLen = sizeof from;
    int32_t n = 0;
    hk::runTask([&] { n = QLMvxtcprecv_WSock(&devtab[2], buf, sizeof buf, 0, &from, &fromLen); });
    EXPECT_EQ(n, VKIO_TIMEOUT);  // nothing there
    c.send({1, 2, 3});
    hk::runTask([&] { n = QLMvxtcprecv_WSock(&devtab[2], buf, sizeof buf, 0, &from, &fromLen); });
    ASSERT_EQ(n, 3);
    EXPECT_EQ(Bytes(buf, buf + 3), (Bytes{1, 2, 3}));
    sockaddr_in local{};
    socklen_t len = sizeof local;
    ::getsockname(c.client, reinterpret_cast<sockaddr*>(&local), &len);
    EXPECT_EQ(vkSockAddrIp(from), kLoopback);
    EXPECT_EQ(vkSockAddrPort(from), ntohs(local.sin_port));
    // With a time-out of 100 ms a silent peer is waited for 20 ticks.
    socketDvramOf(2)->timeout = 100;
    const uint64_t t0 = hk::ticks();
    hk::runTask([&] { n = QLMvxtcprecv_WSock(&devtab[2], buf, sizeof buf, 0, &from, &fromLen); });
    EXPECT_EQ(n, VKIO_TIMEOUT);
    EXPECT_EQ(hk::ticks() - t0, 20u);
}

TEST_F(SocketDevices, GetcWaitsForTheNextByte) {
    TcpPair c;
    handOver(2, c.server, 100);
    std::atomic<int32_t> got{-100};
    hk::spawnFunction([&] { got = VKIO_devGetc(2); }, 50, "tGetc");
    hk::runTicks(3);
    EXPECT_EQ(got, -100);  // still waiting
    c.send({'x'}, false);
    ASSERT_TRUE(hk::runUntil([&] { return got.load() != -100; }, 2000));
    EXPECT_EQ(got, 'x');
}

namespace {

// Device control 16 makes a TCP row's socket non-blocking; a row whose
// descriptor names no socket is an error.
TEST_F(SocketDevices, ControlSixteenMakesTheSocketNonBlocking) {
    TcpPair c;
    handOver(2, c.server, 100);
    ASSERT_EQ(::fcntl(c.server, F_GETFL) & O_NONBLOCK, 0);
    EXPECT_EQ(run([] { return VKIO_devControl(2, 16, 0, 0); }), VKIO_DONE);
    EXPECT_NE(::fcntl(c.server, F_GETFL) & O_NONBLOCK, 0);
    const int mapped = socketDvramOf(2)->socket;
    socketDvramOf(2)->socket = 250;  // a target descriptor nothing is mapped to
    EXPECT_EQ(run([] { return VKIO_devControl(2, 16, 0, 0); }), VKIO_ERROR);
    socketDvramOf(2)->socket = mapped;
}

}  // namespace
