// A Modbus master on a real socket to one of the controller's ports on
// 127.0.0.1, for tests of the whole program in simulated time: RTU framing
// in UDP datagrams (the simulator link, port 5005) or MBAP frames over TCP
// (the Modbus map, port 502). A request is sent at once; the program's time
// runs on a tick at a time until the answer has come back. The way of the
// request and of the answer over the loopback is the host's: simulated time
// stands while either is under way, so that the pass that takes the request
// and the ticks an answer takes do not depend on how busy the host is.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <linux/sockios.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "host/hostio.h"
#include "host/hostkernel.h"
#include "modbus/MODUTIL.h"
#include "tests/support/ports.h"

namespace tc_test {

class ModbusPeer {
public:
    using Bytes = std::vector<uint8_t>;
    enum Kind { UdpRtu, Tcp };
    // Made once the host's port offset is set.
    ModbusPeer(Kind kind, uint16_t controllerPort, uint8_t slave) : kind_(kind), slave_(slave) {
        fd_ = loopbackSocket(kind == Tcp ? SOCK_STREAM : SOCK_DGRAM, hostio::hostPort(controllerPort));
        fcntl(fd_, F_SETFL, O_NONBLOCK);
    }
    ~ModbusPeer() { close(fd_); }
    ModbusPeer(const ModbusPeer&) = delete;
    ModbusPeer& operator=(const ModbusPeer&) = delete;

    void slave(uint8_t a) { slave_ = a; }

    // The request's answer as slave address and PDU, or empty when none
    // came within `ms` of simulated time.
    Bytes request(const Bytes& pdu, int ms = 300) {
        Bytes frame;
        if (kind_ == Tcp) {
            ++tid_;
            const size_t len = pdu.size() + 1;
            frame = {static_cast<uint8_t>(tid_ >> 8), static_cast<uint8_t>(tid_), 0, 0,
                     static_cast<uint8_t>(len >> 8), static_cast<uint8_t>(len), slave_};
            frame.insert(frame.end(), pdu.begin(), pdu.end());
        } else {
            frame = {slave_};
            frame.insert(frame.end(), pdu.begin(), pdu.end());
            const uint16_t crc = MOD_Crc(frame.data(), static_cast<int>(frame.size()));
            frame.push_back(static_cast<uint8_t>(crc));
            frame.push_back(static_cast<uint8_t>(crc >> 8));
        }
        in_.clear();
        uint8_t drain[512];
        while (recv(fd_, drain, sizeof drain, 0) > 0) {
        }
        send(fd_, frame.data(), frame.size(), MSG_NOSIGNAL);
        hk::runUntilIdle();
        // The request on its way: until it lies at the controller's end (or
        // is answered already). A datagram a task of the controller waits
        // for is taken at once, and one it does not answer leaves no trace:
        // that wait ends after two seconds.
        const size_t size = frame.size();
        until(
            [&] {
                const int end = controllerEnd();
                return (kind_ == Tcp && queued(fd_, SIOCOUTQ) == 0) ||
                       (end >= 0 && queued(end, FIONREAD) >= size) || queued(fd_, FIONREAD) > 0;
            },
            kind_ == Tcp ? 60'000 : 2'000);
        Bytes reply;
        bool waiting = true;  // the request not yet taken (datagrams)
        for (uint64_t t = 0;; ++t) {
            const int end = controllerEnd();
            if (kind_ == Tcp) {
                // An answer on its way: until it has come.
                until([&] { return end < 0 || queued(end, SIOCOUTQ) == 0 || queued(fd_, FIONREAD) > 0; });
            } else if (waiting && (end < 0 || queued(end, FIONREAD) == 0)) {
                // Taken: the pass that took it answers at once, if at all.
                waiting = false;
                pollfd p{fd_, POLLIN, 0};
                poll(&p, 1, 1000);
            }
            if (answer(reply) || t >= static_cast<uint64_t>(ms / 5 + 1)) break;
            hk::runTicks(1);
        }
        return reply;
    }

    // Each true when answered without an exception.
    bool writeCoils(bool c0, bool c1) {
        const Bytes r = request({15, 0, 0, 0, 2, 1, static_cast<uint8_t>((c0 ? 1 : 0) | (c1 ? 2 : 0))});
        return r.size() >= 2 && r[1] == 15;
    }
    bool writeCoil(int address, bool on) {
        const Bytes r = request({5, static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address),
                                 static_cast<uint8_t>(on ? 0xFF : 0), 0});
        return r.size() >= 2 && r[1] == 5;
    }
    bool writeRegister(int address, int16_t v) {
        const uint16_t u = static_cast<uint16_t>(v);
        const Bytes r = request({6, static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address),
                                 static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u)});
        return r.size() >= 2 && r[1] == 6;
    }
    // The first `n` input registers; empty when no answer came.
    std::vector<int16_t> inputRegisters(int n) {
        const Bytes r = request({4, 0, 0, 0, static_cast<uint8_t>(n)});
        std::vector<int16_t> w;
        if (r.size() < 3 || r[1] != 4) return w;
        for (int k = 0; k < n && 4 + 2 * k < static_cast<int>(r.size()); ++k)
            w.push_back(static_cast<int16_t>(r[3 + 2 * k] << 8 | r[4 + 2 * k]));
        return w;
    }
    // A request of a function the slave does not serve: answered with the
    // exception code, or -1 when no answer came.
    int unservedFunction() {
        const Bytes r = request({7, 0});
        return r.size() >= 3 && r[1] == (0x80 | 7) ? r[2] : -1;
    }

private:
    // Bytes waiting to be read (FIONREAD) or not yet taken by the peer
    // (SIOCOUTQ) on a socket.
    static size_t queued(int fd, unsigned long which) {
        int n = 0;
        return ioctl(fd, which, &n) == 0 && n > 0 ? static_cast<size_t>(n) : 0;
    }
    // Waits, in real time, until `done`; by default at most a minute, which
    // no host load reaches.
    template <class F>
    static void until(F done, int ms = 60'000) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (!done() && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    // The controller's socket at the other end, a descriptor of this
    // process: the connection whose peer this socket is, or the datagram
    // socket bound to the controller's port. -1 while there is none (a
    // connection not yet accepted).
    int controllerEnd() const {
        sockaddr_in mine{}, theirs{};
        socklen_t len = sizeof mine;
        if (getsockname(fd_, reinterpret_cast<sockaddr*>(&mine), &len) != 0) return -1;
        len = sizeof theirs;
        if (getpeername(fd_, reinterpret_cast<sockaddr*>(&theirs), &len) != 0) return -1;
        for (int fd : socketsOnPort(kind_ == Tcp ? SOCK_STREAM : SOCK_DGRAM, ntohs(theirs.sin_port))) {
            if (fd == fd_) continue;
            if (kind_ == UdpRtu) return fd;
            sockaddr_in peer{};
            socklen_t pl = sizeof peer;
            if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &pl) == 0 && peer.sin_port == mine.sin_port)
                return fd;
        }
        return -1;
    }
    // A whole answer taken from the socket into `reply`.
    bool answer(Bytes& reply) {
        uint8_t buf[512];
        const ssize_t n = recv(fd_, buf, sizeof buf, 0);
        if (n <= 0) return false;
        if (kind_ == UdpRtu) {
            if (n < 4 || MOD_Crc(buf, static_cast<int>(n)) != 0) return false;
            reply.assign(buf, buf + n - 2);
            return true;
        }
        in_.insert(in_.end(), buf, buf + n);
        if (in_.size() < 7) return false;
        const size_t len = 6u + (static_cast<size_t>(in_[4]) << 8 | in_[5]);
        if (in_.size() < len) return false;
        reply.assign(in_.begin() + 6, in_.begin() + static_cast<long>(len));
        return true;
    }

    Kind kind_;
    int fd_ = -1;
    uint8_t slave_;
    uint16_t tid_ = 0;
    Bytes in_;
};

}  // namespace tc_test
