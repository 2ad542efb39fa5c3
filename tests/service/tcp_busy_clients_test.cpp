// Clients that load the TCP transport (a burst of requests in one write, a
// client that never reads its replies) beside the running application: the
// master clock stays on time and another session is still answered at once.
#include <sys/ioctl.h>

#include <algorithm>

#include "host/board.h"
#include "host/hostfs.h"
#include "runtime/sched.h"
#include "tests/support/runtime_fixture.h"
#include "tw_server_fixture.h"

namespace {

const Bytes kPing = twFrame(1, {0x00});
const Bytes kPingReply = twFrame(1, {0x00});

// A batch read of 100 strings of 40 bytes (the scripted binding's H_STRING):
// a reply of about 4 KB.
Bytes batchOfStrings() {
    Bytes payload{0x28};
    for (int i = 0; i < 100; ++i)
        payload.insert(payload.end(), {uint8_t(H_STRING >> 24), uint8_t(H_STRING >> 16), uint8_t(H_STRING >> 8),
                                       uint8_t(H_STRING)});
    return twFrame(1, payload);
}

struct BusyClientCase {
    const char* name;
    Bytes request;
    int count;
    // A client that reads (and checks) its ping replies comes over TCP. One
    // that never reads is a local stream socket in a client slot: over the
    // loopback, TCP stops carrying its requests once its own receive buffer
    // is full, long before the server's send buffer (up to 4 MB) is, so the
    // server would never be left with a reply it cannot write.
    bool readsReplies;
};

class TwBusyClient : public tc_test::RuntimeFixture, public ::testing::WithParamInterface<BusyClientCase> {
protected:
    void SetUp() override {
        hk::setTickObserver([] { board::poll(); });  // the board's watchdog timer
        RuntimeFixture::SetUp();
    }
    void TearDown() override {
        RuntimeFixture::TearDown();
        hk::setTickObserver(nullptr);
    }
};

// Reads and counts whatever replies wait; false once a byte differs from a
// stream of ping replies.
bool drainPingReplies(int fd, size_t& bytes) {
    static uint8_t buf[65536];
    for (;;) {
        ssize_t n = recv(fd, buf, sizeof buf, MSG_DONTWAIT);
        if (n <= 0) return true;
        for (ssize_t i = 0; i < n; ++i, ++bytes)
            if (buf[i] != kPingReply[bytes % kPingReply.size()]) return false;
    }
}

int bytesWaiting(int fd) {
    int n = 0;
    return ioctl(fd, FIONREAD, &n) == 0 ? n : -1;
}

TEST_P(TwBusyClient, MasterClockStaysOnTimeAndAnotherSessionIsServedWhileTheBusyOneWaits) {
    const BusyClientCase& c = GetParam();
    ASSERT_EQ(start(), 0u);
    hk::runTask([] { installFakeBinding(); });  // replies of a known size
    hk::runTicks(250);  // the listener starts 1 s after the application
    const uint16_t port = hostio::hostPort(TW_TCP_PORT);

    // The busy client takes slot 0, the other session slot 1.
    std::unique_ptr<TwTcpClient> tcpBusy;
    int busyFd = -1, serverEnd = -1;
    if (c.readsReplies) {
        tcpBusy = std::make_unique<TwTcpClient>(port);
        ASSERT_EQ(tcpBusy->connectSession(), kConnectReply);
        busyFd = tcpBusy->fd;
    } else {
        busyFd = addLocalClient(SOCK_STREAM, &serverEnd);
        ASSERT_GE(busyFd, 0);
        Bytes connect = twFrame(0, {0x00});
        ASSERT_EQ(send(busyFd, connect.data(), connect.size(), 0), ssize_t(connect.size()));
    }
    TwTcpClient other(port);
    ASSERT_EQ(other.connectSession(), kConnectReply);
    const uint64_t handshakes = board::watchdogHandshakes();

    // The burst, written as fast as the server takes it. A client that does
    // not read goes on until the server has read none of the requests
    // waiting for it for 100 ms: it holds back a reply it cannot write.
    Bytes burst;
    for (int i = 0; i < c.count; ++i) burst.insert(burst.end(), c.request.begin(), c.request.end());
    const TwTcpPort& busySlot = TWTcpPorts[0];
    uint32_t lastActivity = busySlot.lastActivityMs;
    size_t sent = 0, received = 0;
    int still = 0;
    auto holding = [&] { return still >= 20 && bytesWaiting(serverEnd) > 0; };
    for (int i = 0; i < 4000 && (c.readsReplies ? sent < burst.size() : !holding()); ++i) {
        ssize_t n = send(busyFd, burst.data() + sent, burst.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) sent += size_t(n);
        if (c.readsReplies) {
            ASSERT_TRUE(drainPingReplies(busyFd, received));
        }
        hk::runTicks(1);
        still = busySlot.lastActivityMs == lastActivity ? still + 1 : 0;
        lastActivity = busySlot.lastActivityMs;
    }
    if (c.readsReplies) {
        ASSERT_EQ(sent, burst.size()) << "the burst did not reach the server";
    } else {
        ASSERT_TRUE(holding()) << "the server never held a reply back";
    }

    // Another session while the server still serves the burst, or holds a
    // reply the busy client does not read. Its request's way over the
    // loopback is the host's: the wait is counted in simulated time from when
    // the request lies at the server until the server has taken it.
    const int otherAtServer = hostfs::hostDescriptor(TWTcpPorts[1].socket);
    const int busyAtServer = c.readsReplies ? hostfs::hostDescriptor(TWTcpPorts[0].socket) : serverEnd;
    const uint32_t otherActivity = TWTcpPorts[1].lastActivityMs;
    other.sendRaw(kPing);
    pollfd arrived{otherAtServer, POLLIN, 0};
    ASSERT_EQ(poll(&arrived, 1, 60'000), 1) << "the request never reached the server";
    const uint64_t asked = hk::ticks();
    while (TWTcpPorts[1].lastActivityMs == otherActivity && hk::ticks() - asked < 1000) hk::runTicks(1);
    // Not held behind the busy client: taken while requests of the burst (or
    // the one behind the held reply) still wait at the server, and long
    // before the burst is through (about 3.5 s of passes here).
    EXPECT_GT(bytesWaiting(busyAtServer), 0) << "taken only once the busy client's requests were through";
    EXPECT_LE((hk::ticks() - asked) * 5, 1000u) << "ms before the server took the other session's request";
    EXPECT_EQ(other.readFrame(), kPingReply);

    if (c.readsReplies) {
        // Every request of the burst is answered, in later passes.
        for (int i = 0; i < 20'000 && received < burst.size(); ++i) {
            ASSERT_TRUE(drainPingReplies(busyFd, received));
            hk::runTicks(1);
        }
        EXPECT_EQ(received, burst.size());
    } else {
        // The client starts reading: every reply comes whole and in order,
        // the one held back included.
        Bytes stream;
        uint8_t buf[65536];
        for (int i = 0; i < 400 && stream.size() < 7 + 50 * 4063; ++i) {
            for (ssize_t n; (n = recv(busyFd, buf, sizeof buf, MSG_DONTWAIT)) > 0;) stream.insert(stream.end(), buf, buf + n);
            hk::runTicks(1);
        }
        ASSERT_GE(stream.size(), 50u * 4063u);
        ASSERT_EQ(Bytes(stream.begin(), stream.begin() + 7), kConnectReply);
        const Bytes first(stream.begin() + 7, stream.begin() + 7 + 4063);
        EXPECT_EQ(first[0], 1u);
        for (size_t at = 7; at + 4063 <= stream.size(); at += 4063)
            ASSERT_TRUE(std::equal(first.begin(), first.end(), stream.begin() + long(at))) << "reply at byte " << at;
        close(busyFd);
    }

    // The master clock kept the watchdog and every rate group on time.
    EXPECT_GT(board::watchdogHandshakes(), handshakes);
    EXPECT_EQ(board::cpuRequestStatus() & 1u, 0u) << "watchdog time-out";
    for (uint32_t slips : _RGSlipCounter) EXPECT_EQ(slips, 0u);
    // (A task holding the CPU is judged by the check after every test.)
}

INSTANTIATE_TEST_SUITE_P(Cases, TwBusyClient,
                         ::testing::Values(BusyClientCase{"BurstOf100000PingsInOneWrite", kPing, 100'000, true},
                                           BusyClientCase{"ClientThatNeverReadsItsReplies", batchOfStrings(),
                                                          4'000, false}),
                         [](const ::testing::TestParamInfo<BusyClientCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
