// Test rig of the Modbus slave: the host kernel, the device table, the
// acceptor "scan_tcp" and up to four instances on the tests' own tables, and
// a master that talks to them over TCP, UDP or a pseudo-terminal.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/hostkernel.h"
#include "modbus/MODBUS.h"
#include "modbus/ModbusSupport.h"
#include "tests/support/pty_pair.h"

namespace mbt {

using Bytes = std::vector<uint8_t>;

Bytes rtu(Bytes pdu);                        // appends the CRC, low byte first
Bytes mbap(uint16_t tid, const Bytes& pdu);  // MBAP header + unit id + PDU

// One instance's cells and tables; its integer cells lie in the rig's
// integer area, where the counters' word indexes and the TCP routing find them.
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
    explicit Rig(hk::ClockMode mode = hk::ClockMode::Simulated, bool serial = false);
    ~Rig() { hk::shutdown(); }
    // Set the links' port, slave and mode cells, then start the first n.
    Link links[4];
    void start(int n);
    void run(int ms) { hk::runTicks(static_cast<uint64_t>(ms / 5)); }
    bool until(const std::function<bool()>& pred, int ms) { return hk::runUntil(pred, uint64_t(ms / 5 + 1)); }
    std::unique_ptr<testsupport::PtyPair> pty;

private:
    int32_t area_[64] = {};
    TcpModRoute routes_[5] = {};
};

// A master on a TCP or UDP socket to a controller port, or on the far end
// of the serial line.
class Master {
public:
    enum Kind { Tcp, Udp, Serial };
    Master(Rig& rig, Kind kind, uint16_t port = 0);
    ~Master();
    void send(const Bytes& b);
    void send(const std::string& s) { send(Bytes(s.begin(), s.end())); }
    // The next whole frame (MBAP frame, datagram, RTU frame whose CRC checks
    // or ASCII line), or empty when none came within ms.
    Bytes reply(int ms = 2000);
    std::string line(int ms = 2000) {
        Bytes b = reply(ms);
        return std::string(b.begin(), b.end());
    }
    bool closedByPeer(int ms = 2000);  // true when the slave closed within ms

private:
    Rig& rig_;
    Kind kind_;
    int fd_ = -1;
    uint64_t sent_ = 0;  // serial: bytes the controller's port has to deliver
    Bytes in_;
    bool eof_ = false;
    size_t complete() const;
    void pump();
};

}  // namespace mbt
