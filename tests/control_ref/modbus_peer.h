// A Modbus master on a real socket to one of the controller's ports on
// 127.0.0.1, for tests of the whole program in simulated time: RTU framing
// in UDP datagrams (the simulator link, port 5005) or MBAP frames over TCP
// (the Modbus map, port 502). A request is sent at once; the program's time
// runs on a tick at a time until the answer has come back.
#pragma once

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
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
        Bytes reply;
        hk::runUntil([&] { return answer(reply); }, static_cast<uint64_t>(ms / 5 + 1));
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
