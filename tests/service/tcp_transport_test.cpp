// The TCP transport as a client on 127.0.0.1 sees it.
#include <fcntl.h>
#include <sys/ioctl.h>

#include <memory>

#include "tw_server_fixture.h"

namespace {

TEST_F(TwServer, ConnectReplyAndEveryChannelError) {
    // In order on one connection: what the client sends, what comes back.
    struct Row { Bytes sent, reply; };
    const Row rows[] = {
        {{0x02, 0x00, 0x01}, {0xF2, 0, 0}},        // type above 1 before a connect: that error alone
        {{0x01, 0x00, 0x00}, {0xD1, 0, 0}},        // data length 0 before a connect: that error alone
        {{0x01, 0x00, 0x01, 0x00}, {0xE1, 0, 0}},  // data before a connect request
        {{0x00, 0x00, 0x00}, {0xD0, 0, 0}},        // connect without payload
        {{0x00, 0x00, 0x01, 0x00}, kConnectReply},
        {{0x00, 0x00, 0x01, 0x00}, {0xE0, 0, 0}},  // second connect
        {{0x02, 0x00, 0x01}, {0xF2, 0, 0}},        // type above 1; the rest is read as the next header:
        {{0x00, 0x00, 0x01, 0x77}, {0xE0, 0, 0}},  // ... a connect of one byte
        {{0x01, 0x00, 0x00}, {0xD1, 0, 0}},        // data length 0
        {{0x01, 0x04, 0x01}, {0xD1, 0, 0}},        // data length 1025
    };
    TwTcpClient c(port);
    for (const Row& r : rows) {
        c.sendRaw(r.sent);
        EXPECT_EQ(c.readFrame(), r.reply);
    }
    EXPECT_EQ(fake.connects, 1);
    // The session still works, and a 1024-byte payload is accepted.
    EXPECT_EQ(c.ask(Bytes(1024, 0x00)), (Bytes{0x00}));

    // A payload still short after two reads: a packet socket in a client
    // slot, where one read takes one packet.
    int client = addLocalClient(SOCK_SEQPACKET);
    ASSERT_GE(client, 0);
    for (Bytes p : {Bytes{0, 0, 1}, Bytes{0}, Bytes{1, 0, 4}, Bytes{0}, Bytes{0}, Bytes{0, 0}})
        send(client, p.data(), p.size(), 0);
    Bytes got(32);
    ssize_t n = 0;
    for (int i = 0; i < 100 && n < 10; ++i) {
        hk::runTicks(1);
        ssize_t r = recv(client, got.data() + n, got.size() - size_t(n), MSG_DONTWAIT);
        n += r > 0 ? r : 0;
    }
    got.resize(size_t(n));
    Bytes expect = kConnectReply;
    expect.insert(expect.end(), {0xC1, 0, 0});
    EXPECT_EQ(got, expect);
    EXPECT_EQ(slotsInUse(), 2);
    // The short frame is dropped whole: the next header starts a new frame
    // (here a 13-byte request for a 2-byte blob).
    fake.blob = {0xAA, 0xBB};
    for (Bytes p : {Bytes{1, 0, 13}, Bytes{0x2B, 0xD0, 0x10, 0x00, 0x01, 0, 0, 0, 0, 0, 0, 0, 1}})
        send(client, p.data(), p.size(), 0);
    Bytes next(32);
    n = 0;
    for (int i = 0; i < 100 && n < 6; ++i) {
        hk::runTicks(1);
        ssize_t r = recv(client, next.data() + n, next.size() - size_t(n), MSG_DONTWAIT);
        n += r > 0 ? r : 0;
    }
    next.resize(size_t(n));
    EXPECT_EQ(next, (Bytes{1, 0, 3, 0x00, 0xAA, 0xBB}));
    close(client);
}

TEST_F(TwServer, RepliesEndAtTheReplyBuffer) {
    // 4,096 bytes hold the header and 4,093 payload bytes: the status and 4,092 more.
    fake.blob.assign(5000, 0x5B);
    struct Row { Bytes request; uint8_t fill; };
    const Row rows[] = {
        {{0x23, 0x85, 0x00, 0x00, 0x0E}, 'L'},                          // a 5,000-character text
        {{0x2B, 0xD0, 0x10, 0x00, 0x01, 0, 0, 0, 0, 0, 0, 0, 1}, 0x5B},  // 5,000 bytes
    };
    TwTcpClient c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    for (const Row& r : rows) {
        Bytes want(4093, r.fill);
        want[0] = 0x00;
        EXPECT_EQ(c.ask(r.request), want) << int(r.request[0]);
    }
    EXPECT_EQ(c.ask({0x00}), (Bytes{0x00}));
}

TEST_F(TwServer, FramesSplitAcrossSegmentsAndQueuedRequests) {
    TwTcpClient c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    // The header split in two, then the payload: nothing is answered before all of it is there.
    Bytes req = twFrame(1, {0x00, 0x01, 0x02});
    c.sendRaw({req[0]});
    hk::runTicks(4);
    c.sendRaw({req[1], req[2], req[3]});
    hk::runTicks(6);
    EXPECT_EQ(c.available(), 0u);
    c.sendRaw({req[4], req[5]});
    EXPECT_EQ(c.readFrame(), twFrame(1, {0x00}));
    // Two requests in one segment are both answered, in order.
    Bytes two = twFrame(1, {0x00}), q = twFrame(1, {0x12});
    two.insert(two.end(), q.begin(), q.end());
    c.sendRaw(two);
    EXPECT_EQ(c.readFrame(), twFrame(1, {0x00}));
    EXPECT_EQ(c.readFrame(), twFrame(1, {0x00, 0x01}));
}

TEST_F(TwServer, HeaderAloneIsHeldUntilItsPayloadWaits) {
    TwTcpClient c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    Bytes req = twFrame(1, {0x00});
    c.sendRaw({req[0], req[1], req[2]});
    hk::runTicks(6);
    EXPECT_EQ(c.available(), 0u);
    EXPECT_EQ(slotsInUse(), 1);
    c.sendRaw({req[3]});
    EXPECT_EQ(c.readFrame(), twFrame(1, {0x00}));
}

TEST_F(TwServer, PortReferenceIsInUseOnlyForAnOpenSlot) {
    TwTcpClient c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    ASSERT_EQ(slotsInUse(), 1);
    const uint16_t ref = static_cast<uint16_t>(TWTcpPorts[0].socket + 4096);
    EXPECT_TRUE(tcpPortRefInUse(ref));
    EXPECT_FALSE(tcpPortRefInUse(static_cast<uint16_t>(ref + 1)));
    EXPECT_FALSE(tcpPortRefInUse(0));
    // The reference of the slot being served, and none while no slot is.
    hk::runTask([] { pCurTWTcpPort = &TWTcpPorts[0]; });
    EXPECT_EQ(tcpCurrentPortRef(), ref);
    hk::runTask([] { pCurTWTcpPort = nullptr; });
    EXPECT_EQ(tcpCurrentPortRef(), 0);
}

TEST_F(TwServer, IdleLimitIs22000MsOnTheWrappingClock) {
    // Just below the wrap of the millisecond count, so the limit is crossed across it.
    const uint32_t base = 0xFFFFFFFFu / 5u - 1000u;
    sysclock_ticks = base;
    TwTcpClient c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    EXPECT_EQ(c.ask({0x00}), (Bytes{0x00}));
    sysclock_ticks = base + 4400;  // 22,000 ms idle
    hk::runTicks(4);
    EXPECT_EQ(slotsInUse(), 1);
    EXPECT_FALSE(c.closedByPeer());
    sysclock_ticks = base + 4401;  // 22,005 ms idle
    hk::runTicks(4);
    EXPECT_EQ(slotsInUse(), 0);
    EXPECT_TRUE(c.closedByPeer());
}

TEST_F(TwServer, NinthConnectionIsRefusedAndClosedPeersFreeTheirSlots) {
    std::vector<std::unique_ptr<TwTcpClient>> clients;
    for (int i = 0; i < 8; ++i) {
        clients.push_back(std::make_unique<TwTcpClient>(port));
        ASSERT_EQ(clients.back()->connectSession(), kConnectReply);
    }
    TwTcpClient ninth(port);
    ASSERT_TRUE(ninth.connected);
    EXPECT_TRUE(hk::runUntil([&] { return ninth.closedByPeer(); }, 100));
    EXPECT_EQ(slotsInUse(), 8);
    for (auto& cl : clients) EXPECT_EQ(cl->ask({0x00}), (Bytes{0x00}));

    // Eight that go away (one with half a frame sent) leave every slot free.
    clients.back()->sendRaw({0x01, 0x00, 0x08, 0x00});
    clients.clear();
    hk::runTicks(4);
    EXPECT_EQ(slotsInUse(), 0);
    TwTcpClient last(port);
    EXPECT_EQ(last.connectSession(), kConnectReply);
}

// Token states of the slots in order: a session that starts while another
// holds the change token is excluded; when the holder goes, changes are
// allowed for every session.
TEST_F(TwServer, ChangeTokenStatesOfNewAndRemainingSessions) {
    auto states = [&] {
        std::vector<int> out;
        for (const TwTcpPort& p : TWTcpPorts) out.push_back(p.inUse ? p.tokenState : 0);
        return out;
    };
    auto holder = std::make_unique<TwTcpClient>(port);
    ASSERT_EQ(holder->connectSession(), kConnectReply);
    EXPECT_EQ(states(), (std::vector<int>{TOKEN_ALLOWED, 0, 0, 0, 0, 0, 0, 0}));
    // Sessions open without a holder: changes stay allowed for the next one.
    auto second = std::make_unique<TwTcpClient>(port);
    ASSERT_EQ(second->connectSession(), kConnectReply);
    EXPECT_EQ(states(), (std::vector<int>{TOKEN_ALLOWED, TOKEN_ALLOWED, 0, 0, 0, 0, 0, 0}));
    hk::runTask([] { TWTcpPorts[0].tokenState = TOKEN_HOLDER; });
    TwTcpClient other(port);
    ASSERT_EQ(other.connectSession(), kConnectReply);
    EXPECT_EQ(states(), (std::vector<int>{TOKEN_HOLDER, TOKEN_ALLOWED, TOKEN_EXCLUDED, 0, 0, 0, 0, 0}));
    holder.reset();
    hk::runTicks(4);
    EXPECT_EQ(states(), (std::vector<int>{0, TOKEN_ALLOWED, TOKEN_ALLOWED, 0, 0, 0, 0, 0}));
}

// A requested programming mode starts at the next connect, once.
TEST_F(TwServer, ProgrammingStartsAtTheNextConnectOnce) {
    TwTcpClient c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    EXPECT_EQ(c.ask({0x44, 0, 0, 0x10, 0, 0, 0, 0x20, 0}), (Bytes{0x00}));
    for (int starts : {1, 1}) {
        TwTcpClient next(port);
        ASSERT_EQ(next.connectSession(), kConnectReply);
        EXPECT_EQ(fake.programmingStarts, starts);
    }
}

// A session that ends frees its slot; the next session on that slot starts
// without the security level a login gave the one before.
TEST_F(TwServer, TheNextSessionOnAFreedSlotStartsWithoutTheLevelOfTheLast) {
    auto first = std::make_unique<TwTcpClient>(port);
    ASSERT_EQ(first->connectSession(), kConnectReply);
    hk::runTask([] {
        TWTcpPorts[0].securityLevel = 7;  // as a login grants it
        TWTcpPorts[0].pendingLength = 5;  // as a header whose payload is still awaited
    });
    first.reset();
    ASSERT_TRUE(hk::runUntil([&] { return slotsInUse() == 0; }, 200));
    TwTcpClient next(port);
    ASSERT_EQ(next.connectSession(), kConnectReply);
    ASSERT_TRUE(TWTcpPorts[0].inUse);
    EXPECT_EQ(TWTcpPorts[0].securityLevel, 0);
    EXPECT_EQ(TWTcpPorts[0].pendingLength, 0);
}

TEST_F(TwServer, ServesAgainAfterACloseAndARestart) {
    TwTcpClient c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    hk::runTask([] { TWTcpPorts[0].securityLevel = 7; });  // as a login grants it
    hk::runTask([] { TallwireClose(); });
    EXPECT_EQ(slotsInUse(), 0);
    EXPECT_EQ(TWTcpPorts[0].securityLevel, 0);  // the next session on the slot starts without it
    EXPECT_EQ(std::pair(_TW_SLAVEpid, _TCP_LISTENERpid), std::pair(TASK_ID{0}, TASK_ID{0}));  // both tasks gone
    hk::runTask([] {
        InitializeTallwire(1, 0, 0, 0, 0);
        installFakeBinding();
        VKOS_FlushSemaphore(app_inited);
    });
    hk::runTicks(210);
    TwTcpClient again(port);
    EXPECT_EQ(again.connectSession(), kConnectReply);
}

}  // namespace

namespace {

// A 5,000-byte blob whose bytes differ from their neighbours, so that a
// reply written twice in part, or with a part left out, cannot pass.
std::vector<uint8_t> patternBlob() {
    std::vector<uint8_t> b(5000);
    for (size_t i = 0; i < b.size(); ++i) b[i] = static_cast<uint8_t>(i * 7 + i / 251);
    return b;
}

const Bytes kBlobRequest = twFrame(1, {0x2B, 0xD0, 0x10, 0x00, 0x01, 0, 0, 0, 0, 0, 0, 0, 1});

// A client slot on a local stream socket whose server end has the smallest
// send buffer the host allows: a reply of 4 KB then fills it.
struct NarrowClient {
    int serverEnd = -1;
    int fd = addLocalClient(SOCK_STREAM, &serverEnd);
    NarrowClient() {
        int one = 1;
        if (serverEnd >= 0) setsockopt(serverEnd, SOL_SOCKET, SO_SNDBUF, &one, sizeof one);
    }
    ~NarrowClient() {
        if (fd >= 0) close(fd);
    }
    void send(const Bytes& b) { ASSERT_EQ(::send(fd, b.data(), b.size(), MSG_NOSIGNAL), ssize_t(b.size())); }
    // Request bytes the server has not read yet.
    int unread() {
        int n = -1;
        ioctl(serverEnd, FIONREAD, &n);
        return n;
    }
    // Reads at most `chunk` bytes per tick until `want` bytes came.
    Bytes readSlowly(size_t want, size_t chunk) {
        Bytes got;
        uint8_t buf[4096];
        for (int i = 0; i < 4000 && got.size() < want; ++i) {
            hk::runTicks(1);
            ssize_t r = recv(fd, buf, std::min(chunk, want - got.size()), MSG_DONTWAIT);
            if (r > 0) got.insert(got.end(), buf, buf + r);
        }
        return got;
    }
    Bytes connectSession() {
        send(twFrame(0, {0x00}));
        return readSlowly(kConnectReply.size(), 64);
    }
};

Bytes repeated(const Bytes& b, int times) {
    Bytes out;
    for (int i = 0; i < times; ++i) out.insert(out.end(), b.begin(), b.end());
    return out;
}

}  // namespace

// A client that takes a few hundred bytes per tick gets every reply whole
// and in order, however many writes each one takes.
TEST_F(TwServer, RepliesTakenAFewBytesAtATimeArriveWhole) {
    fake.blob = patternBlob();
    TwTcpClient quick(port);
    ASSERT_EQ(quick.connectSession(), kConnectReply);
    quick.sendRaw(kBlobRequest);
    const Bytes reply = quick.readFrame();
    ASSERT_EQ(reply.size(), 4096u);

    NarrowClient slow;
    ASSERT_GE(slow.fd, 0);
    ASSERT_EQ(slow.connectSession(), kConnectReply);
    const Bytes four = repeated(kBlobRequest, 4), want = repeated(reply, 4);
    slow.send(four);
    for (size_t chunk : {size_t(300), size_t(1000)}) {
        const Bytes got = slow.readSlowly(want.size(), chunk);
        ASSERT_EQ(got.size(), want.size()) << chunk;
        EXPECT_TRUE(got == want) << "reply bytes differ, reading " << chunk << " bytes per tick";
        slow.send(four);
    }
}

// A reply the client does not take is written once per pass, 200 writes in
// all, then dropped: only then does the slot read the next request, and the
// session goes on.
TEST_F(TwServer, AHeldReplyIsDroppedAfter200Writes) {
    fake.blob = patternBlob();
    NarrowClient c;
    ASSERT_GE(c.fd, 0);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    c.send(repeated(kBlobRequest, 3));
    const int one = int(kBlobRequest.size());
    // The first reply fills the socket; the second is held; the third request waits.
    ASSERT_TRUE(hk::runUntil([&] { return c.unread() == one; }, 100));
    const uint64_t held = hk::ticks();
    ASSERT_TRUE(hk::runUntil([&] { return c.unread() == 0; }, 1000));
    // 199 more writes, one per pass of 10 ms (2 ticks).
    EXPECT_EQ(hk::ticks() - held, 398u);
    EXPECT_EQ(slotsInUse(), 1);
}

namespace {

// How many bytes of a long write the smallest send buffer of a local stream
// socket takes while `queued` bytes wait unread in it: the host takes a
// write in whole pieces while its buffer has room.
int bytesTakenBehind(size_t queued) {
    int sv[2];
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, sv) != 0) return -1;
    int one = 1;
    setsockopt(sv[0], SOL_SOCKET, SO_SNDBUF, &one, sizeof one);
    const Bytes ahead(queued, 0), lots(65536, 0);
    ssize_t taken = -1;
    if (::send(sv[0], ahead.data(), ahead.size(), MSG_DONTWAIT) == ssize_t(queued))
        taken = ::send(sv[0], lots.data(), lots.size(), MSG_DONTWAIT);
    close(sv[0]);
    close(sv[1]);
    return int(taken);
}

// Makes the blob's reply (the header, the status byte and the blob) one byte
// longer than the socket takes behind the unread connect reply, `taken`, and
// reads it once over `quick`.
void readBlobOneByteLongerThanTaken(TwTcpClient& quick, int& taken, Bytes& reply) {
    taken = bytesTakenBehind(kConnectReply.size());
    ASSERT_GE(taken, 8) << "the host took no part of a long write";
    ASSERT_LE(taken + 1, 4096) << "the host takes more than the longest reply";
    fake.blob = patternBlob();
    fake.blob.resize(size_t(taken + 1 - 4));
    ASSERT_EQ(quick.connectSession(), kConnectReply);
    quick.sendRaw(kBlobRequest);
    reply = quick.readFrame();
    ASSERT_EQ(reply.size(), size_t(taken + 1));
}

}  // namespace

// A reply the socket takes all but its last byte of: that byte is written
// once, when the client reads, and before the reply to the request that
// waited behind it.
TEST_F(TwServer, AReplyHeldToItsLastByteGoesOnceAndInOrder) {
    int taken = 0;
    Bytes reply;
    TwTcpClient quick(port);
    ASSERT_NO_FATAL_FAILURE(readBlobOneByteLongerThanTaken(quick, taken, reply));

    NarrowClient c;
    ASSERT_GE(c.fd, 0);
    c.send(twFrame(0, {0x00}));
    auto waiting = [&] {
        int n = -1;
        ioctl(c.fd, FIONREAD, &n);
        return n;
    };
    ASSERT_TRUE(hk::runUntil([&] { return waiting() == int(kConnectReply.size()); }, 100));
    c.send(repeated(kBlobRequest, 2));
    const int one = int(kBlobRequest.size());
    ASSERT_TRUE(hk::runUntil([&] { return waiting() == int(kConnectReply.size()) + taken; }, 100));
    // While the last byte is held, the second request is not read.
    hk::runTicks(20);
    EXPECT_EQ(c.unread(), one);
    EXPECT_EQ(waiting(), int(kConnectReply.size()) + taken);

    Bytes want = kConnectReply;
    want.insert(want.end(), reply.begin(), reply.end());
    want.insert(want.end(), reply.begin(), reply.end());
    const Bytes got = c.readSlowly(want.size(), 4096);
    EXPECT_TRUE(got == want) << "got " << got.size() << " bytes of " << want.size();
    // Nothing more comes.
    hk::runTicks(20);
    EXPECT_EQ(waiting(), 0);
    EXPECT_EQ(c.unread(), 0);
}

// The largest data packet of a handle comes from the installed binding; with
// no binding, or one without that routine, it is 0.
TEST(TwTcpPacketBytes, ComeFromTheBindingOrAreZero) {
    const TwapiDescriptor* const saved = TwapiDescriptorPtr;
    TwapiDescriptor without{};
    TwapiDescriptor with{};
    with.GetDataPacketBytes = [](uint32_t handle) -> uint32_t { return handle + 6; };
    const struct { const TwapiDescriptor* binding; uint16_t bytes; } rows[] = {
        {nullptr, 0},
        {&without, 0},
        {&with, 10},
    };
    for (const auto& r : rows) {
        TwapiDescriptorPtr = r.binding;
        EXPECT_EQ(tcpMaxDataPacketBytes(4), r.bytes);
    }
    TwapiDescriptorPtr = saved;
}

// Two slots each hold the last byte of a reply at once: what one slot holds
// stays its own, and each client gets its reply whole.
TEST_F(TwServer, RepliesHeldInTwoSlotsAtOnceStayApart) {
    int taken = 0;
    Bytes reply;
    TwTcpClient quick(port);
    ASSERT_NO_FATAL_FAILURE(readBlobOneByteLongerThanTaken(quick, taken, reply));

    NarrowClient lower, upper;  // the upper one in the next slot
    ASSERT_GE(lower.fd, 0);
    ASSERT_GE(upper.fd, 0);
    auto waiting = [](int fd) {
        int n = -1;
        ioctl(fd, FIONREAD, &n);
        return n;
    };
    const int connectBytes = int(kConnectReply.size());
    for (NarrowClient* c : {&lower, &upper}) {
        c->send(twFrame(0, {0x00}));
        ASSERT_TRUE(hk::runUntil([&] { return waiting(c->fd) == connectBytes; }, 100));
    }
    // The upper slot holds its last byte first, then the lower one.
    for (NarrowClient* c : {&upper, &lower}) {
        c->send(kBlobRequest);
        ASSERT_TRUE(hk::runUntil([&] { return waiting(c->fd) == connectBytes + taken; }, 100));
    }
    Bytes want = kConnectReply;
    want.insert(want.end(), reply.begin(), reply.end());
    for (NarrowClient* c : {&lower, &upper}) {
        const Bytes got = c->readSlowly(want.size(), 4096);
        EXPECT_TRUE(got == want) << (c == &lower ? "lower" : "upper") << " slot: " << got.size() << " bytes";
    }
}

// A request whose payload comes in two passes is read from its own start,
// though another session's request was served in between.
TEST_F(TwServer, APayloadCompletedAfterAnotherSessionsRequestIsReadFromItsStart) {
    fake.blob = {0xAA, 0xBB};
    const Bytes want{1, 0, 3, 0x00, 0xAA, 0xBB};
    TwTcpClient first(port), second(port);
    ASSERT_EQ(first.connectSession(), kConnectReply);
    ASSERT_EQ(second.connectSession(), kConnectReply);
    first.sendRaw(Bytes(kBlobRequest.begin(), kBlobRequest.begin() + 8));
    hk::runTicks(10);
    second.sendRaw(kBlobRequest);
    EXPECT_EQ(second.readFrame(), want);
    first.sendRaw(Bytes(kBlobRequest.begin() + 8, kBlobRequest.end()));
    EXPECT_EQ(first.readFrame(), want);
}

// A reply the peer can no longer take is dropped at once, not held: the
// slot reads on in the same pass, finds the peer gone and is freed.
TEST_F(TwServer, AReplyToAPeerThatHasGoneIsDroppedAndItsSlotFreedInTheSamePass) {
    hk::runTask([] { AllRgExecutedwMMM = 0; });  // only the passes below serve
    const int peer = addLocalClient(SOCK_STREAM);
    ASSERT_GE(peer, 0);
    auto sendFrame = [peer](const Bytes& f) {
        ASSERT_EQ(::send(peer, f.data(), f.size(), MSG_NOSIGNAL), ssize_t(f.size()));
    };
    sendFrame(twFrame(0, {0x00}));
    hk::runTask([] { tcpTwSlave(); });  // a connect request ends the slot's turn
    ASSERT_EQ(TWTcpPorts[0].connected, 1);
    sendFrame(twFrame(1, {0x00}));
    close(peer);
    hk::runTask([] { tcpTwSlave(); });
    EXPECT_EQ(slotsInUse(), 0);
}

// Once the server is closing (its slave task no longer recorded), a pass
// serves no slot: a waiting request stays unread.
TEST_F(TwServer, APassOfAClosingServerServesNoSlot) {
    hk::runTask([] { AllRgExecutedwMMM = 0; });  // only the passes below serve
    const int peer = addLocalClient(SOCK_STREAM);
    ASSERT_GE(peer, 0);
    const Bytes connect = twFrame(0, {0x00});
    ASSERT_EQ(::send(peer, connect.data(), connect.size(), MSG_NOSIGNAL), ssize_t(connect.size()));
    const TASK_ID slave = _TW_SLAVEpid;
    hk::runTask([] {
        _TW_SLAVEpid = 0;
        tcpTwSlave();
    });
    _TW_SLAVEpid = slave;
    EXPECT_EQ(TWTcpPorts[0].connected, 0);
    hk::runTask([] { tcpTwSlave(); });
    EXPECT_EQ(TWTcpPorts[0].connected, 1);
    close(peer);
}
