// The device layer's socket calls over host sockets on 127.0.0.1.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "host/hostfs.h"
#include "host/hostio.h"
#include "host/hostkernel.h"
#include "tests/support/ports.h"

namespace {

constexpr uint32_t kLoopback = 0x7F000001;

class HostSockets : public ::testing::Test {
protected:
    void SetUp() override {
        hostio::setPortOffset(tc_test::pickPortOffset());
        hk::start(hk::ClockMode::Simulated);
    }
    void TearDown() override { hk::shutdown(); }
};

uint16_t boundPort(int fd) {
    sockaddr_in a{};
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    return ntohs(a.sin_port);
}

TEST_F(HostSockets, DatagramsBothWaysWithTheSender) {
    EXPECT_EQ(hostio::hostPort(5001), static_cast<uint16_t>(5001 + hostio::portOffset()));
    const char* step = "none";
    const int a = hostio::udpOpen(5001, 8192, 8192, &step);
    ASSERT_GE(a, 0);
    EXPECT_STREQ(step, "none");
    EXPECT_EQ(boundPort(hostio::sockHostFd(a)), hostio::hostPort(5001));
    EXPECT_EQ(::fcntl(hostio::sockHostFd(a), F_GETFL) & O_NONBLOCK, O_NONBLOCK);
    // The same port again cannot be bound: the step that failed is named.
    EXPECT_EQ(hostio::udpOpen(5001, 8192, 8192, &step), -1);
    EXPECT_STREQ(step, "bind");
    const int b = hostio::udpOpen(5002, 8192, 8192, nullptr);
    ASSERT_GE(b, 0);
    char buf[16];
    uint32_t ip = 0;
    uint16_t port = 0;
    EXPECT_EQ(hostio::sockRecv(a, buf, sizeof buf, &ip, &port), hostio::SOCK_WOULDBLOCK);
    EXPECT_EQ(hostio::sockSendTo(b, "ping", 4, kLoopback, hostio::hostPort(5001)), 4);
    int ready = 0;
    hk::runTask([&] { ready = hostio::sockWaitReadable(a, 200); });
    ASSERT_EQ(ready, 1);
    EXPECT_EQ(hostio::sockRecv(a, buf, sizeof buf, &ip, &port), 4);
    EXPECT_EQ(std::string(buf, 4), "ping");
    EXPECT_EQ(ip, kLoopback);
    EXPECT_EQ(port, hostio::hostPort(5002));
    // An empty datagram is one too.
    EXPECT_EQ(hostio::sockSendTo(b, "", 0, kLoopback, hostio::hostPort(5001)), 0);
    hk::runTask([&] { ready = hostio::sockWaitReadable(a, 200); });
    ASSERT_EQ(ready, 1);
    EXPECT_EQ(hostio::sockRecv(a, buf, sizeof buf, &ip, &port), 0);
    EXPECT_EQ(port, hostio::hostPort(5002));
    // Nothing more: a wait ends by its time-out, in simulated ticks.
    const uint64_t t0 = hk::ticks();
    hk::runTask([&] { ready = hostio::sockWaitReadable(a, 3); });
    EXPECT_EQ(ready, 0);
    EXPECT_EQ(hk::ticks() - t0, 3u);
    EXPECT_EQ(hostio::sockRecv(-1, buf, sizeof buf, nullptr, nullptr), hostio::SOCK_ERR);
    EXPECT_EQ(hostio::sockSendTo(-1, "x", 1, kLoopback, 9), hostio::SOCK_ERR);
    EXPECT_EQ(hostio::sockMulticast(a, true, "not an address", "127.0.0.1"), -1);
    EXPECT_EQ(hostio::sockMulticast(a, true, "239.1.2.3", "nowhere"), -1);
    EXPECT_EQ(hostio::sockMulticastIf(a, "nowhere"), -1);
    EXPECT_EQ(hostio::sockMulticast(a, false, "239.1.2.3", "127.0.0.1"), -1);  // never joined: the host refuses
    EXPECT_EQ(hostio::sockMulticastIf(a, "127.0.0.1"), 0);
    hostfs::socketClose(a);
    hostfs::socketClose(b);
}

TEST_F(HostSockets, StreamPeerSendAndBlockingMode) {
    int lis = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in la{};
    la.sin_family = AF_INET;
    la.sin_addr.s_addr = htonl(kLoopback);
    socklen_t len = sizeof la;
    ASSERT_EQ(::bind(lis, reinterpret_cast<sockaddr*>(&la), sizeof la), 0);
    ::listen(lis, 1);
    ::getsockname(lis, reinterpret_cast<sockaddr*>(&la), &len);
    int client = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_EQ(::connect(client, reinterpret_cast<sockaddr*>(&la), sizeof la), 0);
    const int serverHost = ::accept(lis, nullptr, nullptr);
    const int server = hostio::sockAdopt(serverHost);  // the host layer takes target descriptors
    const int lisT = hostio::sockAdopt(lis);
    uint32_t ip = 0;
    uint16_t port = 0;
    ASSERT_EQ(hostio::sockPeer(server, &ip, &port), 0);
    EXPECT_EQ(ip, kLoopback);
    EXPECT_EQ(port, boundPort(client));
    EXPECT_EQ(hostio::sockPeer(lisT, &ip, &port), -1);  // not connected
    EXPECT_EQ(hostio::sockSetNonBlocking(server, true), 0);
    EXPECT_EQ(::fcntl(serverHost, F_GETFL) & O_NONBLOCK, O_NONBLOCK);
    EXPECT_EQ(hostio::sockSetNonBlocking(server, false), 0);
    EXPECT_EQ(::fcntl(serverHost, F_GETFL) & O_NONBLOCK, 0);
    EXPECT_EQ(hostio::sockSetNonBlocking(-1, true), -1);
    int n = 0;
    hk::runTask([&] { n = hostio::sockSend(server, "hello", 5); });
    EXPECT_EQ(n, 5);
    // Nothing to send (an empty or negative length) sends nothing, no fault.
    EXPECT_EQ(hostio::sockSendSome(server, "", 0), 0);
    EXPECT_EQ(hostio::sockSendSome(server, "x", -1), 0);
    EXPECT_EQ(::send(client, "abc", 3, 0), 3);
    pollfd q{serverHost, POLLIN, 0};
    ASSERT_EQ(::poll(&q, 1, 5000), 1);
    EXPECT_EQ(hostio::sockBytesWaiting(server), 3);  // what the peer sent, not yet read
    char buf[8] = {};
    EXPECT_EQ(::recv(serverHost, buf, sizeof buf, 0), 3);
    EXPECT_EQ(hostio::sockBytesWaiting(server), 0);
    EXPECT_EQ(::recv(client, buf, sizeof buf, 0), 5);
    EXPECT_EQ(std::string(buf, 5), "hello");
    ::close(client);
    char c;
    pollfd p{serverHost, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 5000), 1);
    EXPECT_EQ(hostio::sockRecv(server, &c, 1, nullptr, nullptr), 0);  // the peer closed
    hk::runTask([&] { n = hostio::sockSend(-1, "x", 1); });
    EXPECT_EQ(n, hostio::SOCK_ERR);
    hostfs::socketClose(server);
    hostfs::socketClose(lisT);
}

// An acceptor asks without waiting: nobody there, a waiting client, and
// sockets that cannot accept at all.
TEST_F(HostSockets, AcceptTakesAWaitingClientAndTellsNobodyFromAFault) {
    const int lis = hostio::tcpListen(666, 4, nullptr);
    ASSERT_GE(lis, 0);
    uint32_t ip = 0;
    EXPECT_EQ(hostio::tcpAccept(lis, &ip), hostio::SOCK_WOULDBLOCK);
    int client = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(kLoopback);
    a.sin_port = htons(hostio::hostPort(666));
    ASSERT_EQ(::connect(client, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    const int server = hostio::tcpAccept(lis, &ip);
    ASSERT_GE(server, 0);
    EXPECT_EQ(ip, kLoopback);
    EXPECT_EQ(hostio::tcpAccept(lis, &ip), hostio::SOCK_WOULDBLOCK);  // only the one
    // A stream socket that never listened, a datagram socket and no socket:
    // faults, never "nobody waiting".
    const int idle = hostio::sockAdopt(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0));
    const int udp = hostio::udpOpen(5005, 1024, 1024, nullptr);
    ASSERT_GE(udp, 0);
    for (int fd : {idle, udp, -1}) {
        SCOPED_TRACE(fd);
        EXPECT_EQ(hostio::tcpAccept(fd, &ip), hostio::SOCK_ERR);
    }
    ::close(client);
    for (int fd : {server, idle, udp, lis}) hostfs::socketClose(fd);
}

// A send larger than the socket's buffer goes out in parts, waiting for
// room between them; the peer gets every byte once, in order.
TEST_F(HostSockets, ALongSendArrivesWholeAndInOrder) {
    int sp[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, sp), 0);
    int small = 4096;
    ::setsockopt(sp[0], SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
    const int fd = hostio::sockAdopt(sp[0]);
    ASSERT_GE(fd, 0);
    std::vector<char> out(256 * 1024);
    for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<char>(i * 7 + i / 251);
    std::vector<char> in;
    std::thread reader([&] {
        char buf[1024];
        while (in.size() < out.size()) {
            pollfd p{sp[1], POLLIN, 0};
            if (::poll(&p, 1, 5000) != 1) break;
            const ssize_t n = ::read(sp[1], buf, sizeof buf);
            if (n <= 0) break;
            in.insert(in.end(), buf, buf + n);
        }
    });
    int n = 0;
    hk::runTask([&] { n = hostio::sockSend(fd, out.data(), static_cast<int>(out.size())); });
    reader.join();
    EXPECT_EQ(n, static_cast<int>(out.size()));
    EXPECT_TRUE(in == out);
    hostfs::socketClose(fd);
    ::close(sp[1]);
}

int connectTo(uint16_t controllerPort) {
    int c = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(kLoopback);
    a.sin_port = htons(hostio::hostPort(controllerPort));
    EXPECT_EQ(::connect(c, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    return c;
}

// Once a socket was seen listening it is not asked again: a listener shut
// down for reading, and a descriptor closed and taken again by a connected
// socket with nothing to read, are faults all the same.
TEST_F(HostSockets, AcceptTellsAListenerThatStoppedOrWasReplaced) {
    uint32_t ip = 0;
    const int stopped = hostio::tcpListen(667, 4, nullptr);
    ASSERT_GE(stopped, 0);
    EXPECT_EQ(hostio::tcpAccept(stopped, &ip), hostio::SOCK_WOULDBLOCK);
    EXPECT_EQ(hostio::tcpAccept(stopped, &ip), hostio::SOCK_WOULDBLOCK);  // seen listening by now
    ASSERT_EQ(hostfs::socketShutdown(stopped, 0), 0);
    EXPECT_EQ(hostio::tcpAccept(stopped, &ip), hostio::SOCK_ERR);

    const int replaced = hostio::tcpListen(668, 4, nullptr);
    const int other = hostio::tcpListen(669, 4, nullptr);
    ASSERT_GE(replaced, 0);
    ASSERT_GE(other, 0);
    EXPECT_EQ(hostio::tcpAccept(replaced, &ip), hostio::SOCK_WOULDBLOCK);
    const int client = connectTo(669);
    ASSERT_EQ(hostfs::socketClose(replaced), 0);
    pollfd p{hostio::sockHostFd(other), POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 2000), 1);
    const int server = hostio::tcpAccept(other, &ip);
    ASSERT_EQ(server, replaced);  // the lowest free descriptor
    EXPECT_EQ(hostio::tcpAccept(server, &ip), hostio::SOCK_ERR);
    ::close(client);
    for (int fd : {server, other, stopped}) hostfs::socketClose(fd);
}

}  // namespace
