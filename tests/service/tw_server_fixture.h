// The Tallwire server on the simulated kernel, listening on a free port of
// 127.0.0.1 with the scripted binding, and a TCP client written from the
// frame rules (type byte, u16 big-endian length, payload). Waiting for the
// server means running the simulated kernel, never sleeping.
#pragma once

#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "host/hostio.h"
#include "host/hostkernel.h"
#include "platform/vkos.h"
#include "runtime/appmain.h"
#include "runtime/rgtask.h"
#include "runtime/sched.h"
#include "service/TwTcp.h"
#include "tests/support/ports.h"
#include "tw_fake_binding.h"

using Bytes = std::vector<uint8_t>;

inline Bytes twFrame(uint8_t type, const Bytes& payload) {
    Bytes f(3 + payload.size());
    f[0] = type;
    f[1] = static_cast<uint8_t>(payload.size() >> 8);
    f[2] = static_cast<uint8_t>(payload.size());
    std::copy(payload.begin(), payload.end(), f.begin() + 3);
    return f;
}

// 00 00 04 | version 4, 0, buffer 0x1000
const Bytes kConnectReply{0x00, 0x00, 0x04, 0x04, 0x00, 0x10, 0x00};

struct TwTcpClient {
    bool connected = false;
    int fd;

    explicit TwTcpClient(uint16_t port) : fd(tc_test::loopbackSocket(SOCK_STREAM, port, &connected)) {}
    // A client whose receive buffer is fixed at `receiveBuffer` bytes, so
    // that replies it does not read soon back up to the server.
    TwTcpClient(uint16_t port, int receiveBuffer) : fd(socket(AF_INET, SOCK_STREAM, 0)) {
        setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_port = htons(port);
        sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected = connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0;
    }
    ~TwTcpClient() { close(fd); }

    void sendRaw(const Bytes& b) { ASSERT_EQ(send(fd, b.data(), b.size(), MSG_NOSIGNAL), ssize_t(b.size())); }
    ssize_t peek(size_t n) {
        static uint8_t buf[65536];
        return recv(fd, buf, n, MSG_PEEK | MSG_DONTWAIT);
    }
    size_t available() { return size_t(std::max<ssize_t>(peek(sizeof(uint8_t) << 16), 0)); }
    bool closedByPeer() {
        ssize_t r = peek(1);
        return r == 0 || (r < 0 && errno != EAGAIN);
    }

    // Runs the kernel a tick at a time until n bytes can be read, waiting
    // up to a millisecond of real time between ticks for loopback delivery.
    bool waitBytes(size_t n) {
        for (int i = 0; i < 1000 && available() < n && !closedByPeer(); ++i) {
            hk::runTicks(1);
            pollfd p{fd, POLLIN, 0};
            poll(&p, 1, 1);
        }
        return available() >= n;
    }

    // One whole frame, header included (empty when none came).
    Bytes readFrame() {
        uint8_t h[3];
        if (!waitBytes(3) || recv(fd, h, 3, MSG_PEEK) != 3) return {};
        Bytes f(3u + static_cast<size_t>((h[1] << 8) | h[2]));
        if (!waitBytes(f.size())) return {};
        recv(fd, f.data(), f.size(), 0);
        return f;
    }

    Bytes connectSession() {
        sendRaw(twFrame(0, {0x00}));
        return readFrame();
    }

    // One data request; the payload of its reply.
    Bytes ask(const Bytes& request) {
        sendRaw(twFrame(1, request));
        Bytes f = readFrame();
        EXPECT_TRUE(f.size() >= 3 && f[0] == 1) << "no data reply";
        return f.size() < 3 ? Bytes{} : Bytes(f.begin() + 3, f.end());
    }
};

// A local socket pair of `type` whose server end (non-blocking) the server
// takes into a client slot, as the listener would; the client end, or -1
// when no slot took it.
inline int addLocalClient(int type, int* serverEnd = nullptr) {
    int sv[2];
    if (socketpair(AF_UNIX, type, 0, sv) != 0) return -1;
    fcntl(sv[0], F_SETFL, O_NONBLOCK);
    int added = 0;
    hk::runTask([&] { added = AddSocketToPortList(hostio::sockAdopt(sv[0]), 0x7F000001); });
    if (added != 1) {
        close(sv[0]);
        close(sv[1]);
        return -1;
    }
    if (serverEnd != nullptr) *serverEnd = sv[0];
    return sv[1];
}

class TwServer : public ::testing::Test {
protected:
    uint16_t port = 0;

    void SetUp() override {
        hostio::setPortOffset(tc_test::pickPortOffset());
        port = hostio::hostPort(TW_TCP_PORT);
        hk::start(hk::ClockMode::Simulated);
        hk::runTask([] {
            app_inited = VKOS_CreateSemaphore("app_inited", 0, 500);
            AllRgExecutedwMMM = 1;
            InitializeTallwire(1, 0, 0, 0, 0);
            installFakeBinding();
            VKOS_FlushSemaphore(app_inited);
        });
        hk::runTicks(210);  // the listener starts 1 s after the start flush
    }

    void TearDown() override {
        hk::runTask([] { TallwireClose(); });
        hk::shutdown();
    }

    int slotsInUse() {
        int n = 0;
        for (const TwTcpPort& p : TWTcpPorts) n += p.inUse;
        return n;
    }
};
