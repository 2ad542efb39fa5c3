// The far end of the simulator link for tests of the whole program in
// simulated time: a Modbus master in RTU framing over UDP on a real socket
// to the controller's port 5005 on 127.0.0.1. Each request is sent as one
// datagram; the program's time runs on a tick at a time until the answer
// comes back.
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

namespace sc_test {

class SimMaster {
public:
    using Bytes = std::vector<uint8_t>;
    // Made once the host's port offset is set.
    explicit SimMaster(uint8_t slave = 1) : slave_(slave) {
        fd_ = tc_test::loopbackSocket(SOCK_DGRAM, hostio::hostPort(5005));
        fcntl(fd_, F_SETFL, O_NONBLOCK);
    }
    ~SimMaster() { close(fd_); }
    SimMaster(const SimMaster&) = delete;
    SimMaster& operator=(const SimMaster&) = delete;

    void slave(uint8_t a) { slave_ = a; }

    // The request (slave address, PDU, CRC) and its answer with the CRC
    // taken off, or empty when none came within `ms` of simulated time.
    Bytes request(const Bytes& pdu, int ms = 300) {
        Bytes frame{slave_};
        frame.insert(frame.end(), pdu.begin(), pdu.end());
        const uint16_t crc = MOD_Crc(frame.data(), static_cast<int>(frame.size()));
        frame.push_back(static_cast<uint8_t>(crc));
        frame.push_back(static_cast<uint8_t>(crc >> 8));
        uint8_t drain[512];
        while (recv(fd_, drain, sizeof drain, 0) > 0) {
        }
        send(fd_, frame.data(), frame.size(), 0);
        Bytes reply;
        hk::runUntil(
            [&] {
                uint8_t in[512];
                const ssize_t n = recv(fd_, in, sizeof in, 0);
                if (n < 4 || MOD_Crc(in, static_cast<int>(n)) != 0) return false;
                reply.assign(in, in + n - 2);
                return true;
            },
            static_cast<uint64_t>(ms / 5 + 1));
        return reply;
    }

    // Function codes the link serves; each true when answered without an
    // exception.
    bool writeCoils(bool c0, bool c1) {
        const Bytes r = request({15, 0, 0, 0, 2, 1, static_cast<uint8_t>((c0 ? 1 : 0) | (c1 ? 2 : 0))});
        return r.size() >= 2 && r[1] == 15;
    }
    bool writeRegister(int16_t v) {
        const uint16_t u = static_cast<uint16_t>(v);
        const Bytes r = request({6, 0, 0, static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u)});
        return r.size() >= 2 && r[1] == 6;
    }
    // The first `n` input registers (the words the simulator reads); empty
    // when no answer came.
    std::vector<int16_t> inputRegisters(int n) {
        const Bytes r = request({4, 0, 0, 0, static_cast<uint8_t>(n)});
        std::vector<int16_t> w;
        if (r.size() < 3 || r[1] != 4) return w;
        for (int k = 0; k < n && 4 + 2 * k < static_cast<int>(r.size()); ++k)
            w.push_back(static_cast<int16_t>(r[3 + 2 * k] << 8 | r[4 + 2 * k]));
        return w;
    }
    // A request of a function the link does not serve: answered with the
    // exception code, or -1 when no answer came.
    int unservedFunction() {
        const Bytes r = request({7, 0});
        return r.size() >= 3 && r[1] == (0x80 | 7) ? r[2] : -1;
    }

private:
    int fd_ = -1;
    uint8_t slave_;
};

}  // namespace sc_test
