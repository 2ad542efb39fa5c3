// The device layer's socket calls at their edges, over real sockets on
// 127.0.0.1: multicast membership, ports already taken, peers that close,
// full send buffers and aborted connections.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "host/hostfs.h"
#include "host/hostio.h"
#include "host/hostkernel.h"
#include "tests/support/ports.h"

namespace {

constexpr uint32_t kLoopback = 0x7F000001;

class SocketEdges : public ::testing::Test {
protected:
    void SetUp() override {
        hostio::setPortOffset(tc_test::pickPortOffset());
        hk::start(hk::ClockMode::Simulated);
    }
    void TearDown() override {
        hostio::setBindFailureObserver(nullptr);
        hk::shutdown();
    }
};

// Host descriptors open in this process.
int hostDescriptorsOpen() {
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)e;
        ++n;
    }
    return n;
}

bool readable(int fd, int ms) {
    pollfd p{hostio::sockHostFd(fd), POLLIN, 0};
    return ::poll(&p, 1, ms) == 1;
}

// A member of a group receives what is sent to it; membership ends once,
// and only a multicast group on a known interface can be joined.
TEST_F(SocketEdges, MulticastGroupJoinedAndLeft) {
    const int rx = hostio::udpOpen(5001, 8192, 8192, nullptr);
    const int tx = hostio::udpOpen(5002, 8192, 8192, nullptr);
    ASSERT_GE(rx, 0);
    ASSERT_GE(tx, 0);
    const char* group = "239.255.77.11";
    ASSERT_EQ(hostio::sockMulticast(rx, true, group, "127.0.0.1"), 0);
    ASSERT_EQ(hostio::sockMulticastIf(tx, "127.0.0.1"), 0);
    EXPECT_EQ(hostio::sockSendTo(tx, "grp", 3, 0xEFFF4D0Bu, hostio::hostPort(5001)), 3);
    int ready = 0;
    hk::runTask([&] { ready = hostio::sockWaitReadable(rx, 200); });
    ASSERT_EQ(ready, 1);
    char buf[8];
    uint32_t ip = 0;
    EXPECT_EQ(hostio::sockRecv(rx, buf, sizeof buf, &ip, nullptr), 3);
    EXPECT_EQ(std::string(buf, 3), "grp");
    EXPECT_EQ(ip, kLoopback);
    EXPECT_EQ(hostio::sockMulticast(rx, false, group, "127.0.0.1"), 0);
    EXPECT_EQ(hostio::sockMulticast(rx, false, group, "127.0.0.1"), -1);  // left already
    const struct {
        int fd;
        const char* group;
        const char* iface;
    } refused[] = {
        {rx, "127.0.0.1", "127.0.0.1"},   // no multicast group
        {rx, "239.255.77", "127.0.0.1"},  // no address
        {rx, group, "127.0.0"},
        {-1, group, "127.0.0.1"},  // no socket
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(std::string(r.group) + " on " + r.iface);
        EXPECT_EQ(hostio::sockMulticast(r.fd, true, r.group, r.iface), -1);
    }
    EXPECT_EQ(hostio::sockMulticastIf(-1, "127.0.0.1"), -1);
    hostfs::socketClose(rx);
    hostfs::socketClose(tx);
}

const char* g_protocol = nullptr;
uint16_t g_port = 0;
int g_err = 0;

// A port already taken: the bind fails, the step is named and the observer
// hears the protocol, the host port and the reason; the caller finds the
// reason in errno whatever the observer did.
TEST_F(SocketEdges, ATakenPortIsReportedWithItsProtocol) {
    hostio::setBindFailureObserver([](const char* protocol, uint16_t port, int err) {
        g_protocol = protocol;
        g_port = port;
        g_err = err;
        errno = ENOENT;  // an observer may fail calls of its own
    });
    const int tcp = hostio::tcpListen(502, 4, nullptr);
    const int udp = hostio::udpOpen(5005, 1024, 1024, nullptr);
    ASSERT_GE(tcp, 0);
    ASSERT_GE(udp, 0);
    EXPECT_EQ(g_protocol, nullptr);  // no failure yet
    const struct {
        const char* protocol;
        uint16_t port;
        int (*open)(const char** step);
    } rows[] = {
        {"TCP", 502, [](const char** step) { return hostio::tcpListen(502, 4, step); }},
        {"UDP", 5005, [](const char** step) { return hostio::udpOpen(5005, 1024, 1024, step); }},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.protocol);
        g_protocol = nullptr;
        const int open = hostDescriptorsOpen();
        const char* step = "none";
        errno = 0;
        EXPECT_EQ(r.open(&step), -1);
        EXPECT_EQ(errno, EADDRINUSE);
        EXPECT_STREQ(step, "bind");
        ASSERT_NE(g_protocol, nullptr);
        EXPECT_STREQ(g_protocol, r.protocol);
        EXPECT_EQ(g_port, hostio::hostPort(r.port));
        EXPECT_EQ(g_err, EADDRINUSE);
        EXPECT_EQ(r.open(nullptr), -1);
        EXPECT_EQ(hostDescriptorsOpen(), open);  // the failed socket is closed
    }
    hostfs::socketClose(tcp);
    hostfs::socketClose(udp);
}

// With every descriptor taken, a socket is made and bound but cannot be
// entered: the open fails at that step and closes the host socket.
TEST_F(SocketEdges, ASocketWithoutAFreeDescriptorFailsAtThatStep) {
    std::vector<int> taken;
    for (int fd; (fd = hostfs::adoptSocket(::dup(2))) >= 0;) taken.push_back(fd);
    ASSERT_FALSE(taken.empty());
    const struct {
        const char* protocol;
        int (*open)(const char** step);
    } rows[] = {
        {"TCP", [](const char** step) { return hostio::tcpListen(502, 4, step); }},
        {"UDP", [](const char** step) { return hostio::udpOpen(5005, 1024, 1024, step); }},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.protocol);
        const int open = hostDescriptorsOpen();
        const char* step = "none";
        EXPECT_EQ(r.open(&step), -1);
        EXPECT_STREQ(step, "descriptor");
        EXPECT_EQ(r.open(nullptr), -1);
        EXPECT_EQ(hostDescriptorsOpen(), open);
    }
    for (int fd : taken) hostfs::close(fd);
}

// A peer that is there, one that sent something, one that closed; an
// abort ends the connection and frees the descriptor.
TEST_F(SocketEdges, PeerClosedAndAbort) {
    const int lis = hostio::tcpListen(666, 4, nullptr);
    ASSERT_GE(lis, 0);
    const int client = tc_test::loopbackSocket(SOCK_STREAM, hostio::hostPort(666));
    ASSERT_TRUE(readable(lis, 2000));
    const int server = hostio::tcpAccept(lis, nullptr);
    ASSERT_GE(server, 0);
    EXPECT_FALSE(hostio::sockPeerClosed(server));
    ASSERT_EQ(::send(client, "x", 1, 0), 1);
    ASSERT_TRUE(readable(server, 2000));
    EXPECT_FALSE(hostio::sockPeerClosed(server));  // data is no close
    EXPECT_EQ(hostio::sockBytesWaiting(server), 1);
    ::shutdown(client, SHUT_WR);
    for (int i = 0; i < 200 && !hostio::sockPeerClosed(server); ++i) ::usleep(5000);
    EXPECT_TRUE(hostio::sockPeerClosed(server));
    EXPECT_TRUE(hostio::sockPeerClosed(-1));
    EXPECT_EQ(hostio::sockBytesWaiting(-1), -1);

    hostio::sockAbort(server);
    EXPECT_EQ(hostio::sockHostFd(server), -1);  // the descriptor is free again
    pollfd p{client, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 2000), 1);
    char c;
    EXPECT_LE(::recv(client, &c, 1, 0), 0);
    hostio::sockAbort(-1);
    ::close(client);
    hostfs::socketClose(lis);
}

// Sends into a full buffer would block; to a peer that has gone they fail,
// without a signal. A receive on a socket that is no internet socket leaves
// the sender's address alone.
TEST_F(SocketEdges, FullBufferAndGonePeer) {
    int sp[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, sp), 0);
    const int fd = hostio::sockAdopt(sp[0]);
    const int peer = hostio::sockAdopt(sp[1]);
    ASSERT_GE(fd, 0);
    ASSERT_GE(peer, 0);
    const std::string block(4096, 'b');
    int sent = 0, n = 0;
    while ((n = hostio::sockSendSome(fd, block.data(), static_cast<int>(block.size()))) > 0) sent += n;
    EXPECT_EQ(n, hostio::SOCK_WOULDBLOCK);
    EXPECT_GT(sent, 0);
    EXPECT_EQ(hostio::sockBytesWaiting(peer), sent);
    char buf[16];
    uint32_t ip = 12345;
    uint16_t port = 678;
    EXPECT_EQ(hostio::sockRecv(peer, buf, 4, &ip, &port), 4);
    EXPECT_EQ(ip, 12345u);
    EXPECT_EQ(port, 678u);
    hostfs::socketClose(peer);
    EXPECT_EQ(hostio::sockSendSome(fd, "x", 1), hostio::SOCK_ERR);
    hk::runTask([&] { n = hostio::sockSend(fd, "x", 1); });
    EXPECT_EQ(n, hostio::SOCK_ERR);
    EXPECT_EQ(hostio::sockSendSome(-1, "x", 1), hostio::SOCK_ERR);
    hostfs::socketClose(fd);
}

// A datagram the host refuses outright (longer than any datagram can be)
// fails at once with the host's reason; nothing waits for room.
TEST_F(SocketEdges, ADatagramTooLongFails) {
    const int udp = hostio::udpOpen(5001, 8192, 8192, nullptr);
    ASSERT_GE(udp, 0);
    const std::string big(70000, 'd');
    errno = 0;
    EXPECT_EQ(hostio::sockSendTo(udp, big.data(), static_cast<int>(big.size()), kLoopback, hostio::hostPort(5001)),
              hostio::SOCK_ERR);
    EXPECT_EQ(errno, EMSGSIZE);
    int n = 0;
    hk::runTask([&] { n = hostio::sockSendTo(udp, big.data(), static_cast<int>(big.size()), kLoopback, 9); });
    EXPECT_EQ(n, hostio::SOCK_ERR);
    hostfs::socketClose(udp);
}

// With the process's standard input closed, the next socket is host
// descriptor 0: a descriptor like any other for every call.
TEST_F(SocketEdges, HostDescriptorZeroIsADescriptorLikeAnyOther) {
    const int savedStdin = ::dup(0);
    ASSERT_GE(savedStdin, 0);
    ::close(0);
    // A listener, and the connection it accepts.
    const int lis = hostio::tcpListen(666, 4, nullptr);
    ASSERT_GE(lis, 0);
    EXPECT_EQ(hostio::sockHostFd(lis), 0);
    const int client = tc_test::loopbackSocket(SOCK_STREAM, hostio::hostPort(666));
    ASSERT_TRUE(readable(lis, 2000));
    const int other = hostio::sockAdopt(::dup(client));  // the slot of descriptor 0 is not free
    EXPECT_NE(other, lis);
    const int server = hostio::tcpAccept(lis, nullptr);
    ASSERT_GE(server, 0);
    hostio::sockAbort(lis);
    EXPECT_EQ(hostio::sockHostFd(lis), -1);
    hostfs::socketClose(other);
    hostfs::socketClose(server);
    ::close(client);

    // A connected stream.
    int sp[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, sp), 0);
    ASSERT_EQ(sp[0], 0);
    const int fd = hostio::sockAdopt(sp[0]);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(hostio::sockSendSome(fd, "ab", 2), 2);
    int n = 0;
    hk::runTask([&] { n = hostio::sockSend(fd, "cd", 2); });
    EXPECT_EQ(n, 2);
    char buf[8];
    EXPECT_EQ(::recv(sp[1], buf, sizeof buf, 0), 4);
    // A wait that begins before the peer sends. A tick hook keeps the
    // simulated clock from leaping to the time-out: it runs tick by tick,
    // and ten million ticks take far longer than the peer's 20 ms.
    std::thread peer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_EQ(::send(sp[1], "xyz", 3, 0), 3);
    });
    int ready = 0;
    const int hook = hk::addTickHook([] {});
    hk::runTask([&] { ready = hostio::sockWaitReadable(fd, 10'000'000); });
    hk::removeTickHook(hook);
    peer.join();
    EXPECT_EQ(ready, 1);
    EXPECT_EQ(hostio::sockBytesWaiting(fd), 3);
    EXPECT_FALSE(hostio::sockPeerClosed(fd));
    EXPECT_EQ(hostio::sockRecv(fd, buf, sizeof buf, nullptr, nullptr), 3);
    EXPECT_EQ(hostio::sockSetNonBlocking(fd, true), 0);
    EXPECT_EQ(hostfs::socketShutdown(fd, 1), 0);
    EXPECT_EQ(::recv(sp[1], buf, sizeof buf, 0), 0);
    hostio::sockAbort(fd);
    EXPECT_EQ(hostio::sockHostFd(fd), -1);
    ::close(sp[1]);

    // A datagram socket.
    const int udp = hostio::udpOpen(5001, 8192, 8192, nullptr);
    ASSERT_GE(udp, 0);
    EXPECT_EQ(hostio::sockHostFd(udp), 0);
    EXPECT_EQ(hostio::sockSendTo(udp, "u", 1, kLoopback, hostio::hostPort(5001)), 1);
    hk::runTask([&] { ready = hostio::sockWaitReadable(udp, 200); });
    EXPECT_EQ(ready, 1);
    uint16_t port = 0;
    EXPECT_EQ(hostio::sockRecv(udp, buf, sizeof buf, nullptr, &port), 1);
    EXPECT_EQ(port, hostio::hostPort(5001));
    EXPECT_EQ(hostio::sockMulticastIf(udp, "127.0.0.1"), 0);
    EXPECT_EQ(hostio::sockMulticast(udp, true, "239.255.77.12", "127.0.0.1"), 0);
    EXPECT_EQ(hostio::sockMulticast(udp, false, "239.255.77.12", "127.0.0.1"), 0);
    hostfs::socketClose(udp);

    // A connection accepted onto descriptor 0.
    ASSERT_EQ(::dup2(savedStdin, 0), 0);
    const int lis2 = hostio::tcpListen(667, 4, nullptr);
    ASSERT_GE(lis2, 0);
    const int client2 = tc_test::loopbackSocket(SOCK_STREAM, hostio::hostPort(667));
    ASSERT_TRUE(readable(lis2, 2000));
    ::close(0);
    const int accepted = hostio::tcpAccept(lis2, nullptr);
    ASSERT_GE(accepted, 0);
    EXPECT_EQ(hostio::sockHostFd(accepted), 0);
    hostfs::socketClose(accepted);
    hostio::sockAbort(lis2);
    ::close(client2);

    ASSERT_EQ(::dup2(savedStdin, 0), 0);
    ::close(savedStdin);
}

}  // namespace
