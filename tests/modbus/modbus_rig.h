// Test rig of the Modbus slave: the host kernel, the device table, the
// acceptor "scan_tcp" and up to four instances on the tests' own tables, and
// a master that talks to them over TCP, UDP or a pseudo-terminal.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/hostio.h"
#include "host/hostkernel.h"
#include "modbus/MODBUS.h"
#include "modbus/ModbusSupport.h"
#include "platform/vkiodev.h"
#include "platform/vkos.h"
#include "tests/support/ports.h"
#include "tests/support/pty_pair.h"

namespace mbt {

using Bytes = std::vector<uint8_t>;

// Appends the CRC, low byte first.
inline Bytes rtu(Bytes pdu) {
    uint16_t crc = MOD_Crc(pdu.data(), static_cast<int>(pdu.size()));
    pdu.push_back(static_cast<uint8_t>(crc));
    pdu.push_back(static_cast<uint8_t>(crc >> 8));
    return pdu;
}

// MBAP header + unit id + PDU.
inline Bytes mbap(uint16_t tid, const Bytes& pdu) {
    Bytes b(6 + pdu.size());
    b[0] = uint8_t(tid >> 8);
    b[1] = uint8_t(tid);
    b[5] = uint8_t(pdu.size());  // never above 254
    std::copy(pdu.begin(), pdu.end(), b.begin() + 6);
    return b;
}

// One instance's cells and tables; its integer cells lie in an integer area,
// where the counters' word indexes and the TCP routing find them.
struct Link {
    int32_t* cells = nullptr;
    float timeout = 10.0f;
    uint32_t coils[22] = {};
    uint32_t inputs[90] = {};
    uint32_t coilWe = 1, regWe = 1;  // write enables
    int16_t inRegs[50] = {};
    int16_t holdRegs[5] = {};
    int32_t& port() { return cells[0]; }
    int32_t& slave() { return cells[1]; }
    int32_t& mode() { return cells[2]; }
    int32_t& errCount() { return cells[3]; }
    int32_t& msgCount() { return cells[4]; }
    int32_t& lastErr() { return cells[5]; }
};

class Rig {
public:
    Link links[4];
    std::unique_ptr<testsupport::PtyPair> pty;

    explicit Rig(hk::ClockMode mode = hk::ClockMode::Simulated, bool serial = false) {
        hostio::setPortOffset(tc_test::pickPortOffset());
        if (serial) {
            pty = std::make_unique<testsupport::PtyPair>();
            hostio::setTtyPath("/tyCo/0", pty->path(0));
        }
        for (int i = 0; i < 4; ++i) {
            links[i].cells = area_ + 8 * i;
            links[i].slave() = 1;
            links[i].mode() = 2;
            links[i].lastErr() = -1;
        }
        hk::start(mode);
    }
    ~Rig() { hk::shutdown(); }

    // Starts the devices, "scan_tcp" and the first n links (set their port,
    // slave and mode cells first); runs until the acceptor listens and every
    // instance has cleared its last error.
    void start(int n) {
        for (int i = 0; i < n; ++i) routes_[i] = TcpModRoute{1, 8 * i, 8 * i + 1};
        routes_[n] = TcpModRoute{-1, -1, -1};
        TCPMods = routes_;
        MOD_AreaBase[1] = area_;
        ApplicationRunning = 1;
        hk::runTask([&] {
            init_devs();
            _scan_tcpPid = VKOS_CreateProcess(scan_tcp, 8192, 40, "scan_tcp", 0);
            for (int i = 0; i < n; ++i) {
                Link& l = links[i];
                modbus(&l.port(), &l.slave(), &l.mode(), 0, l.coils, 0, 22, l.inputs, 0, 90, l.inRegs, 0, 50,
                       l.holdRegs, 0, 5, &l.errCount(), &l.msgCount(), &l.lastErr(), i, 0, &l.timeout, &l.coilWe,
                       &l.regWe);
            }
        });
        until([&] {
            const SocketDvram* listen = socketDvramOf(3);
            bool up = listen != nullptr && listen->socket != -1;
            for (int i = 0; i < n; ++i) up = up && links[i].lastErr() == 0;
            return up;
        }, 10000);
    }
    void run(int ms) { hk::runTicks(static_cast<uint64_t>(ms / 5)); }
    bool until(const std::function<bool()>& pred, int ms) { return hk::runUntil(pred, uint64_t(ms / 5 + 1)); }

private:
    int32_t area_[64] = {};
    TcpModRoute routes_[5] = {};
};

// A master on a TCP or UDP socket to a controller port, or on the far end
// of the serial line.
class Master {
public:
    enum Kind { Tcp, Udp, Serial };

    Master(Rig& rig, Kind kind, uint16_t port = 0) : rig_(rig), kind_(kind) {
        if (kind == Serial) {
            fd_ = open(rig.pty->path(1).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
            sent_ = hostio::ttyDelivered(serialDvramOf(1)->readFd);
            return;
        }
        fd_ = tc_test::loopbackSocket(kind == Tcp ? SOCK_STREAM : SOCK_DGRAM, hostio::hostPort(port));
        fcntl(fd_, F_SETFL, O_NONBLOCK);
    }
    ~Master() { close(fd_); }

    void send(const std::string& s) { send(Bytes(s.begin(), s.end())); }
    void send(const Bytes& b) {
        if (kind_ != Serial) ::send(fd_, b.data(), b.size(), MSG_NOSIGNAL);
        // Serial bytes pass through socat in real time: wait (in real time) until
        // the controller's port has taken all of them before simulated time goes on.
        if (kind_ == Serial && write(fd_, b.data(), b.size()) == ssize_t(b.size()))
            hostio::ttyWaitDelivered(serialDvramOf(1)->readFd, sent_ += b.size(), 2000);
    }

    // The next whole frame (MBAP frame, datagram, RTU frame whose CRC checks
    // or ASCII line), or empty when none came within ms.
    Bytes reply(int ms = 2000) {
        if (kind_ != Serial) {
            rig_.until([&] { return pump(), eof_ || complete() != 0; }, ms);
        } else {
            // Simulated time goes on a tick at a time while the reply, which
            // also passes through socat in real time, is awaited.
            for (int t = 0; t <= ms && (pump(), complete() == 0); t += 5) {
                rig_.run(5);
                pollfd p{fd_, POLLIN, 0};
                poll(&p, 1, 2);
            }
        }
        size_t len = complete();
        Bytes frame(in_.begin(), in_.begin() + long(len));
        in_.erase(in_.begin(), in_.begin() + long(len));
        return frame;
    }
    std::string line(int ms = 2000) {
        Bytes b = reply(ms);
        return std::string(b.begin(), b.end());
    }

    // True when the slave closed the connection within ms.
    bool closedByPeer(int ms = 2000) {
        rig_.until([&] { return pump(), eof_; }, ms);
        return eof_;
    }

private:
    Rig& rig_;
    Kind kind_;
    int fd_ = -1;
    uint64_t sent_ = 0;  // serial: bytes the controller's port has to deliver
    Bytes in_;
    bool eof_ = false;

    void pump() {
        uint8_t tmp[2048];
        ssize_t r;
        while ((r = read(fd_, tmp, sizeof tmp)) > 0) {
            in_.insert(in_.end(), tmp, tmp + r);
            if (kind_ == Udp) return;  // one datagram at a time
        }
        if (kind_ == Tcp && (r == 0 || (errno != EAGAIN && errno != EINTR))) eof_ = true;
    }

    size_t complete() const {
        if (kind_ == Udp) return in_.size();
        if (kind_ == Tcp) {
            size_t len = in_.size() < 6 ? 0 : 6u + (size_t(in_[4]) << 8 | in_[5]);
            return len != 0 && in_.size() >= len ? len : 0;
        }
        bool line = !in_.empty() && in_[0] == ':' && in_.back() == '\n';
        bool frame = in_.size() >= 5 && MOD_Crc(in_.data(), int(in_.size())) == 0;
        return line || frame ? in_.size() : 0;
    }
};

}  // namespace mbt
