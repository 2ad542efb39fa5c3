// A Tallwire TCP client written from the frame rules (type byte, u16
// big-endian length, payload), for tests on 127.0.0.1. Waiting for the
// server means running the simulated kernel, never sleeping.
#pragma once

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <vector>

#include "host/hostkernel.h"

using Bytes = std::vector<uint8_t>;

struct TwFrame {
    uint8_t type = 0xFF;
    Bytes payload;
};

class TwTcpClient {
public:
    explicit TwTcpClient(uint16_t port) {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        int one = 1;
        setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    }
    ~TwTcpClient() {
        if (fd_ >= 0) close(fd_);
    }
    TwTcpClient(const TwTcpClient&) = delete;
    TwTcpClient& operator=(const TwTcpClient&) = delete;

    bool tcpConnected() const { return connected_; }
    int fd() const { return fd_; }

    void sendRaw(const Bytes& b) {
        ASSERT_EQ(send(fd_, b.data(), b.size(), MSG_NOSIGNAL), static_cast<ssize_t>(b.size()));
    }
    static Bytes frame(uint8_t type, const Bytes& payload) {
        Bytes f{type, static_cast<uint8_t>(payload.size() >> 8), static_cast<uint8_t>(payload.size())};
        f.insert(f.end(), payload.begin(), payload.end());
        return f;
    }
    void sendFrame(uint8_t type, const Bytes& payload) { sendRaw(frame(type, payload)); }

    // Runs the kernel a tick at a time until n bytes can be read (or the
    // peer closed); between ticks it waits on the socket itself for at most
    // a millisecond, since loopback delivery takes a little real time.
    bool waitBytes(size_t n, int maxTicks = 1000) {
        for (int i = 0; i < maxTicks; ++i) {
            if (available() >= n) return true;
            if (closedByPeer()) return false;
            hk::runTicks(1);
            pollfd p{fd_, POLLIN, 0};
            poll(&p, 1, 1);
        }
        return available() >= n;
    }

    size_t available() {
        ssize_t r = recv(fd_, peekBuf_, sizeof peekBuf_, MSG_PEEK | MSG_DONTWAIT);
        return r > 0 ? static_cast<size_t>(r) : 0;
    }

    // True once the server has closed or reset the connection.
    bool closedByPeer() {
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, 0) <= 0) return false;
        if (p.revents & (POLLHUP | POLLERR)) return true;
        char c;
        ssize_t r = recv(fd_, &c, 1, MSG_PEEK | MSG_DONTWAIT);
        return r == 0 || (r < 0 && errno != EAGAIN && errno != EWOULDBLOCK);
    }

    // Reads one whole frame, running the kernel while it is incomplete.
    TwFrame readFrame() {
        TwFrame f;
        if (!waitBytes(3)) return f;
        uint8_t h[3];
        if (recv(fd_, h, 3, 0) != 3) return f;
        size_t len = static_cast<size_t>((h[1] << 8) | h[2]);
        f.payload.resize(len);
        size_t got = 0;
        while (got < len) {
            if (!waitBytes(1)) return TwFrame{};
            ssize_t r = recv(fd_, f.payload.data() + got, len - got, MSG_DONTWAIT);
            if (r <= 0) return TwFrame{};
            got += static_cast<size_t>(r);
        }
        f.type = h[0];
        return f;
    }

    // Connect request and its reply.
    TwFrame connectSession() {
        sendFrame(0, {0x00});
        return readFrame();
    }

    // One data request; the payload of its reply (empty frame type 0xFF on failure).
    Bytes ask(const Bytes& request) {
        sendFrame(1, request);
        TwFrame f = readFrame();
        EXPECT_EQ(f.type, 1) << "no data reply";
        return f.payload;
    }

private:
    int fd_ = -1;
    bool connected_ = false;
    uint8_t peekBuf_[65536];
};
