// The virtual CAN bus of the host. Every participant's frame is delivered to
// all other participants. Participants are in-process nodes (the MSCAN
// controller model, test nodes) and TCP clients of the bus server, which
// speaks one frame per line in candump's compact form: hex COB-id, '#', 0 to
// 8 data bytes in hex ("080#", "70A#05", "60A#4018100400000000").
//
// Delivery to in-process receivers happens on the sending thread, outside the
// bus lock; a receiver must not block (the controller model only queues the
// frame and posts an interrupt). The bus server's socket I/O runs on its own
// host thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace hostcan {

struct Frame {
    uint32_t id = 0;  // 11-bit identifier
    uint8_t len = 0;  // 0..8
    uint8_t data[8] = {};
    bool operator==(const Frame& o) const;
};

// "70A#05": upper-case hex, three id digits.
std::string formatFrame(const Frame& f);
// Parses one line (without its newline; a trailing '\r' is allowed). Rejects
// ids above 0x7FF, odd digit counts, more than 8 bytes and anything else.
bool parseFrame(std::string_view line, Frame* out);
Frame makeFrame(uint32_t id, std::initializer_list<uint8_t> bytes);

using Receiver = std::function<void(const Frame&)>;

// In-process participants.
int attach(const std::string& name, Receiver rx);
void detach(int participant);
// Sends a frame from a participant to all others (after the fault rules).
void send(int participant, const Frame& f);

// Faults. A drop rule discards the next `count` matching frames (-1: all);
// a delay rule holds matching frames until releaseDelayed().
void dropFrames(std::function<bool(const Frame&)> match, int count = -1);
void delayFrames(std::function<bool(const Frame&)> match);
void releaseDelayed();
void clearFaults();

// Every frame that crossed the bus (after the fault rules), in candump form,
// for tests; taking the log empties it.
void enableLog(bool on);
std::vector<std::string> takeLog();
// Frames carried so far (each counted once every receiver has it); waitFrames
// blocks (real time, on a condition) until at least `n` have been carried or
// `timeoutMs` passed; returns the count.
uint64_t framesCarried();
uint64_t waitFrames(uint64_t n, int timeoutMs);

// Bus server on 127.0.0.1: port 0 picks a free port. Returns the bound port,
// or -1. Clients connect and disconnect at any time.
int startBusServer(int port);
void stopBusServer();
// Number of TCP clients connected now.
int busClients();

// Detaches everything and clears the faults and the log (tests).
void reset();

}  // namespace hostcan
