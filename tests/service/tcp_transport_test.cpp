// The TCP transport as a client on 127.0.0.1 sees it: connect reply,
// channel errors, frames split across segments, idle expiry, slot limits.
#include <fcntl.h>

#include <memory>

#include "tw_server_fixture.h"

namespace {

const Bytes kConnectReply{0x00, 0x00, 0x04, 0x04, 0x00, 0x10, 0x00};

Bytes rawFrame(const TwFrame& f) {
    Bytes b{f.type, static_cast<uint8_t>(f.payload.size() >> 8), static_cast<uint8_t>(f.payload.size())};
    b.insert(b.end(), f.payload.begin(), f.payload.end());
    return b;
}

TEST_F(TwServer, ConnectReplyAndEveryChannelError) {
    TwTcpClient c(port);
    ASSERT_TRUE(c.tcpConnected());

    // Data before a connect request.
    c.sendFrame(1, {0x00});
    EXPECT_EQ(rawFrame(c.readFrame()), (Bytes{0xE1, 0, 0}));
    // A connect frame without payload is a bad length.
    c.sendRaw({0x00, 0x00, 0x00});
    EXPECT_EQ(rawFrame(c.readFrame()), (Bytes{0xD0, 0, 0}));

    EXPECT_EQ(rawFrame(c.connectSession()), kConnectReply);
    EXPECT_EQ(fake.connects, 1);

    // A second connect request on a connected session.
    EXPECT_EQ(rawFrame(c.connectSession()), (Bytes{0xE0, 0, 0}));
    // Frame type above 1.
    c.sendRaw({0x02, 0x00, 0x01});
    EXPECT_EQ(rawFrame(c.readFrame()), (Bytes{0xF2, 0, 0}));
    // The rest of a refused frame is read as the next header: 00 00 01 is a
    // connect request of one byte whose payload has not arrived yet.
    c.sendRaw({0x00, 0x00, 0x01});
    c.sendRaw({0x77});
    EXPECT_EQ(rawFrame(c.readFrame()), (Bytes{0xE0, 0, 0}));
    // Length 0 and 1025 on data frames.
    c.sendRaw({0x01, 0x00, 0x00});
    EXPECT_EQ(rawFrame(c.readFrame()), (Bytes{0xD1, 0, 0}));
    c.sendRaw({0x01, 0x04, 0x01});
    EXPECT_EQ(rawFrame(c.readFrame()), (Bytes{0xD1, 0, 0}));
    EXPECT_EQ(TWTcpPorts[0].lastChannelError, TW_CHERR_BAD_LENGTH);
    // The session still works, and a 1024-byte payload is accepted.
    Bytes big(1024, 0x00);
    big[0] = 0x00;  // Ping; the rest is ignored
    EXPECT_EQ(c.ask(big), (Bytes{0x00}));
    EXPECT_EQ(slotsInUse(), 1);
}

TEST_F(TwServer, PayloadShortAfterTwoReadsIsAChannelError) {
    // A packet socket in a client slot: the byte count covers every queued
    // packet, but one read takes one packet, so a payload in three packets
    // is still short after the two reads.
    int sv[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET, 0, sv), 0);
    fcntl(sv[0], F_SETFL, O_NONBLOCK);
    int added = 0;
    hk::runTask([&] { added = AddSocketToPortList(sv[0], 0x7F000001); });
    ASSERT_EQ(added, 1);
    auto packet = [&](const Bytes& b) { ASSERT_EQ(send(sv[1], b.data(), b.size(), 0), ssize_t(b.size())); };
    auto receive = [&] {
        Bytes b(16);
        for (int i = 0; i < 100; ++i) {
            hk::runTicks(1);
            ssize_t n = recv(sv[1], b.data(), b.size(), MSG_DONTWAIT);
            if (n > 0) return Bytes(b.begin(), b.begin() + n);
        }
        return Bytes{};
    };
    packet({0x00, 0x00, 0x01});
    packet({0x00});
    EXPECT_EQ(receive(), kConnectReply);
    packet({0x01, 0x00, 0x04});
    packet({0x00});
    packet({0x00});
    packet({0x00, 0x00});
    EXPECT_EQ(receive(), (Bytes{0xC1, 0, 0}));
    EXPECT_EQ(TWTcpPorts[0].lastChannelError, TW_CHERR_SHORT);
    // The slot stays open: the rest is read as the next header.
    EXPECT_EQ(slotsInUse(), 1);
    close(sv[1]);
}

TEST_F(TwServer, FramesSplitAcrossSegmentsAndQueuedRequests) {
    TwTcpClient c(port);
    ASSERT_EQ(rawFrame(c.connectSession()), kConnectReply);
    // Header alone, then the payload byte by byte over several passes.
    Bytes req = TwTcpClient::frame(1, {0x50});
    c.sendRaw({req[0]});
    hk::runTicks(4);
    c.sendRaw({req[1], req[2]});
    hk::runTicks(4);
    EXPECT_EQ(c.available(), 0u);
    c.sendRaw({req[3]});
    TwFrame f = c.readFrame();
    ASSERT_EQ(f.type, 1);
    EXPECT_EQ(f.payload[0], 0x00);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(f.payload.data() + 1)), "Tallwire Classic v2.05");

    // A payload that arrives in pieces is taken once all of it waits.
    Bytes ping2 = TwTcpClient::frame(1, {0x00, 0x01, 0x02, 0x03});
    c.sendRaw(Bytes(ping2.begin(), ping2.begin() + 5));
    hk::runTicks(6);
    EXPECT_EQ(c.available(), 0u);
    c.sendRaw(Bytes(ping2.begin() + 5, ping2.end()));
    EXPECT_EQ(c.readFrame().payload, (Bytes{0x00}));

    // Two requests queued in one slot are both answered in one pass, in order.
    Bytes two = TwTcpClient::frame(1, {0x00});
    Bytes q = TwTcpClient::frame(1, {0x12});
    two.insert(two.end(), q.begin(), q.end());
    c.sendRaw(two);
    ASSERT_TRUE(c.waitBytes(1));
    EXPECT_EQ(c.available(), 4u + 5u);
    EXPECT_EQ(c.readFrame().payload, (Bytes{0x00}));
    EXPECT_EQ(c.readFrame().payload, (Bytes{0x00, 0x00}));
}

TEST_F(TwServer, IdleLimitIs22000MsOnTheWrappingClock) {
    // Clock set just below the wrap of the millisecond count, so that the
    // limit is crossed across it.
    const uint32_t base = 0xFFFFFFFFu / 5u - 1000u;
    sysclock_ticks = base;
    TwTcpClient c(port);
    ASSERT_EQ(rawFrame(c.connectSession()), kConnectReply);
    EXPECT_EQ(c.ask({0x00}), (Bytes{0x00}));
    ASSERT_EQ(slotsInUse(), 1);
    // Connect requests do not count as activity; data requests do.
    EXPECT_EQ(TWTcpPorts[0].lastActivityMs, 5u * base);

    sysclock_ticks = base + 4400;  // 22,000 ms idle
    hk::runTicks(4);
    EXPECT_EQ(slotsInUse(), 1);
    EXPECT_FALSE(c.closedByPeer());

    sysclock_ticks = base + 4401;  // 22,005 ms idle
    hk::runTicks(4);
    EXPECT_EQ(slotsInUse(), 0);
    EXPECT_TRUE(c.closedByPeer());

    // A new client in the same slot starts from its accept time.
    TwTcpClient d(port);
    ASSERT_EQ(rawFrame(d.connectSession()), kConnectReply);
    sysclock_ticks = base + 4401 + 4400;
    hk::runTicks(4);
    EXPECT_EQ(slotsInUse(), 1);
}

TEST_F(TwServer, NinthConnectionIsRefusedAndEightKeepWorking) {
    std::vector<std::unique_ptr<TwTcpClient>> clients;
    for (int i = 0; i < 8; ++i) {
        clients.push_back(std::make_unique<TwTcpClient>(port));
        ASSERT_EQ(rawFrame(clients.back()->connectSession()), kConnectReply);
    }
    EXPECT_EQ(slotsInUse(), 8);
    TwTcpClient ninth(port);
    ASSERT_TRUE(ninth.tcpConnected());
    ASSERT_TRUE(hk::runUntil([&] { return ninth.closedByPeer(); }, 100));
    // Closed at once: end of stream, then the reset of the zero linger.
    char c;
    EXPECT_LE(recv(ninth.fd(), &c, 1, MSG_DONTWAIT), 0);
    EXPECT_EQ(slotsInUse(), 8);
    for (auto& cl : clients) EXPECT_EQ(cl->ask({0x00}), (Bytes{0x00}));
    EXPECT_EQ(TWTcpPorts[3].peerAddress, 0x7F000001u);
}

TEST_F(TwServer, ClosedPeerFreesItsSlotAtOnce) {
    // Eight clients that connect and go away must not lock out a ninth.
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 8; ++i) {
            auto c = std::make_unique<TwTcpClient>(port);
            ASSERT_EQ(rawFrame(c->connectSession()), kConnectReply);
        }  // closed here
        hk::runTicks(4);
        EXPECT_EQ(slotsInUse(), 0);
    }
    TwTcpClient last(port);
    EXPECT_EQ(rawFrame(last.connectSession()), kConnectReply);

    // A client that sends a request and closes its side is answered first.
    TwTcpClient half(port);
    ASSERT_EQ(rawFrame(half.connectSession()), kConnectReply);
    half.sendFrame(1, {0x00});
    shutdown(half.fd(), SHUT_WR);
    EXPECT_EQ(half.readFrame().payload, (Bytes{0x00}));
    hk::runTicks(4);
    EXPECT_EQ(slotsInUse(), 1);

    // A closing client with half a frame in the socket frees its slot too.
    {
        TwTcpClient partial(port);
        ASSERT_EQ(rawFrame(partial.connectSession()), kConnectReply);
        partial.sendRaw({0x01, 0x00, 0x08, 0x00});
        hk::runTicks(4);
        EXPECT_EQ(slotsInUse(), 2);
    }
    hk::runTicks(4);
    EXPECT_EQ(slotsInUse(), 1);
}

TEST_F(TwServer, ChangeTokenFollowsItsHolder) {
    auto first = std::make_unique<TwTcpClient>(port);
    ASSERT_EQ(rawFrame(first->connectSession()), kConnectReply);
    EXPECT_EQ(TWTcpPorts[0].tokenState, TOKEN_ALLOWED);
    // The first session takes the change token, as the binding does.
    hk::runTask([] {
        AllowChangeForAll(0);
        TWTcpPorts[0].tokenState = TOKEN_HOLDER;
    });
    EXPECT_EQ(ChangeExcluded(), 1);
    // A new session starts excluded.
    TwTcpClient second(port);
    ASSERT_EQ(rawFrame(second.connectSession()), kConnectReply);
    EXPECT_EQ(TWTcpPorts[1].tokenState, TOKEN_EXCLUDED);
    // The holder goes away: every session may change values again.
    first.reset();
    hk::runTicks(4);
    EXPECT_EQ(TWTcpPorts[0].inUse, 0);
    EXPECT_EQ(TWTcpPorts[1].tokenState, TOKEN_ALLOWED);
    EXPECT_EQ(ChangeExcluded(), 0);
}

TEST_F(TwServer, NothingIsServedBeforeTheRateGroupsHaveRun) {
    AllRgExecutedwMMM = 0;
    TwTcpClient c(port);
    c.sendFrame(0, {0x00});
    hk::runTicks(100);
    EXPECT_EQ(c.available(), 0u);
    AllRgExecutedwMMM = 1;
    EXPECT_EQ(rawFrame(c.readFrame()), kConnectReply);
}

TEST_F(TwServer, CloseStopsEverythingAndCanBeRepeated) {
    TwTcpClient c(port);
    ASSERT_EQ(rawFrame(c.connectSession()), kConnectReply);
    testing::internal::CaptureStdout();
    hk::runTask([] { TallwireClose(); });
    hk::runTask([] { TallwireClose(); });
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "Closing Tallwire ...\n Closed.\nClosing Tallwire ...\n Closed.\n");
    EXPECT_TRUE(hk::runUntil([&] { return c.closedByPeer(); }, 10));
    EXPECT_EQ(slotsInUse(), 0);
    EXPECT_EQ(_TW_SLAVEpid, 0);
    EXPECT_EQ(_TCP_LISTENERpid, 0);
    EXPECT_EQ(listenerSocket, -1);

    // Started again in the same process (a restart of the application), the
    // server listens and serves again.
    hk::runTask([] {
        InitializeTallwire(1, 0, 0, 0, 0);
        installFakeBinding();
        VKOS_FlushSemaphore(app_inited);
    });
    hk::runTicks(210);
    TwTcpClient again(port);
    EXPECT_EQ(rawFrame(again.connectSession()), kConnectReply);
    EXPECT_EQ(again.ask({0x00}), (Bytes{0x00}));
}

}  // namespace
