// Test rig of the Modbus slave: the host kernel, the device table, the
// acceptor "scan_tcp" and up to four instances on the tests' own tables, with
// masters that talk to them over TCP, UDP and a pseudo-terminal.
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

Bytes rtu(Bytes pdu);                     // appends the CRC, low byte first
std::string ascii(const Bytes& pdu);      // ':' hex pairs, LRC, CR LF
Bytes mbap(uint16_t tid, const Bytes& pdu);  // MBAP header + unit id + PDU

// One instance's cells and tables. Its integer cells lie in the rig's
// integer area (the counters' word indexes and the TCP routing use it).
struct Link {
    int base = 0;                 // first word of the link's cells in the area
    int32_t* area = nullptr;
    float timeout = 10.0f;
    uint32_t coils[22] = {};
    uint32_t inputs[90] = {};
    uint32_t coilWe = 1;        // write enables (boolean cells)
    uint32_t regWe = 1;
    int16_t inRegs[50] = {};
    int16_t holdRegs[5] = {};
    int32_t& port() { return area[base + 0]; }
    int32_t& slave() { return area[base + 1]; }
    int32_t& mode() { return area[base + 2]; }
    int32_t& errCount() { return area[base + 3]; }
    int32_t& msgCount() { return area[base + 4]; }
    int32_t& lastErr() { return area[base + 5]; }
};

class Rig {
public:
    explicit Rig(hk::ClockMode mode = hk::ClockMode::Simulated, bool serial = false);
    ~Rig();
    Rig(const Rig&) = delete;
    Rig& operator=(const Rig&) = delete;

    // Links to start: set their port, slave and mode cells first, then start().
    Link links[4];
    // Starts the devices, "scan_tcp" and the first n instances; runs until they are up.
    void start(int n);
    // Runs simulated time for ms milliseconds.
    void run(int ms);
    // Runs until pred holds (simulated) or waits in real time; false on time-out.
    bool until(const std::function<bool()>& pred, int ms);

    uint16_t hostPort(uint16_t controllerPort) const;
    std::string serialPath() const { return pty_ ? pty_->path(1) : std::string(); }
    bool serialReady() const { return serialOk_; }

private:
    int32_t area_[64] = {};
    TcpModRoute routes_[5] = {};
    std::unique_ptr<testsupport::PtyPair> pty_;
    bool serialOk_ = false;
};

// A Modbus/TCP master on a plain socket.
class TcpMaster {
public:
    TcpMaster(Rig& rig, uint16_t port);
    ~TcpMaster();
    bool connected() const { return fd_ >= 0; }
    void send(const Bytes& b);
    // The next complete MBAP frame, or empty when none came within ms.
    Bytes reply(int ms = 2000);
    // True when the slave closed the connection within ms.
    bool closedByPeer(int ms = 2000);

private:
    Rig& rig_;
    int fd_ = -1;
    Bytes in_;
    bool eof_ = false;
    void pump();
};

// A master sending RTU frames in UDP datagrams.
class UdpMaster {
public:
    UdpMaster(Rig& rig, uint16_t port);
    ~UdpMaster();
    void send(const Bytes& b);
    Bytes reply(int ms = 2000);   // one datagram, or empty

private:
    Rig& rig_;
    int fd_ = -1;
    uint16_t port_;
};

// The master's end of the serial line.
class SerialMaster {
public:
    explicit SerialMaster(Rig& rig);
    ~SerialMaster();
    void send(const Bytes& b);
    void send(const std::string& s);
    // Bytes that arrived until `complete` says the reply is whole (or ms passed).
    Bytes reply(const std::function<bool(const Bytes&)>& complete, int ms = 2000);
    Bytes rtuReply(int ms = 2000);          // an RTU frame whose CRC checks
    std::string asciiReply(int ms = 2000);  // up to and including LF

private:
    Rig& rig_;
    int fd_ = -1;
    uint64_t sent_ = 0;  // bytes the controller's port has to deliver
    Bytes in_;
};

}  // namespace mbt
