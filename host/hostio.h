// Host settings and drivers of the device layer: the loader's port offset
// (so that a non-root user and parallel tests can bind the controller's
// ports), the map from the controller's serial device names to host tty
// paths, the tty driver model and the socket calls of the device layer.
//
// Everything here that may block takes the calling task off the emulated
// CPU through hk::waitFd (non-blocking descriptors throughout).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace hostio {

// ---- Settings ------------------------------------------------------------

// Added to every port the controller binds (502, 666, 5001 ...).
void setPortOffset(int offset);
int portOffset();
// The host port of a controller port.
uint16_t hostPort(uint16_t controllerPort);

// Maps a controller device name ("/tyCo/0") to a host tty path ("/dev/pts/5").
void setTtyPath(const std::string& deviceName, const std::string& hostPath);
// The mapped host path; empty when the name is not mapped.
std::string ttyPath(const std::string& deviceName);

// ---- Tty driver model ------------------------------------------------------
// A port opened on a mapped tty path. A host reader thread takes bytes from
// the tty as a UART would and delivers them at interrupt level
// (hk::postInterrupt): each character is offered to the receive hook, which
// may discard it, and kept characters go into the driver's input buffer.

// Receive hook: called at interrupt level per character; non-zero discards it.
typedef int (*TtyRxHook)(void* arg, int ch);

// Hardware option bits of the port (character size, stop bits, parity).
constexpr int TTY_HW_CSIZE = 0x0C;   // 0x0C eight bits, 0x08 seven bits
constexpr int TTY_HW_CS8 = 0x0C;
constexpr int TTY_HW_CS7 = 0x08;
constexpr int TTY_HW_STOPB = 0x20;   // two stop bits
constexpr int TTY_HW_PARENB = 0x40;  // parity on
constexpr int TTY_HW_PARODD = 0x80;  // odd parity
// Line option bits (0 = raw).
constexpr int TTY_OPT_ECHO = 0x01;
constexpr int TTY_OPT_TANDEM = 0x04;  // XON/XOFF flow control

// Opens the tty mapped to deviceName; returns a handle (>= 3) or -1.
int ttyOpen(const std::string& deviceName);
int ttyClose(int h);
// Each returns 0, or -1 for a bad handle or a failed tty call.
int ttySetBaud(int h, int baud);
int ttyGetHwOptions(int h, int* opts);
int ttySetHwOptions(int h, int opts);
int ttyGetOptions(int h, int* opts);
int ttySetOptions(int h, int opts);
int ttySetHook(int h, TtyRxHook hook, void* arg);  // hook nullptr removes it
int ttyFlush(int h);                               // discards buffered input and output
// Bytes waiting in the input buffer, or -1.
int ttyNRead(int h);
// Takes up to len bytes from the input buffer (never blocks); count or -1.
int ttyRead(int h, void* buf, int len);
// Writes all bytes to the tty (the task gives up the CPU while the tty is
// full); the count written, or -1.
int ttyWrite(int h, const void* buf, int len);
// For tests: waits in real time until the port has delivered `total`
// characters (kept and discarded) since it was opened; false on time-out.
bool ttyWaitDelivered(int h, uint64_t total, int timeoutMs);
uint64_t ttyDelivered(int h);

// ---- Sockets ---------------------------------------------------------------
// Descriptors are non-blocking. Results: a count (>= 0), or one of:
constexpr int SOCK_ERR = -1;        // failed (errno kept)
constexpr int SOCK_WOULDBLOCK = -2; // nothing there now

// A datagram socket bound to hostPort(controllerPort) on any address, with
// the given buffer sizes and broadcast on. Returns the descriptor or -1;
// *failedStep names the failed step ("socket", "rcvbuf", "sndbuf",
// "broadcast", "bind").
int udpOpen(uint16_t controllerPort, int rcvBuf, int sndBuf, const char** failedStep);
// One receive without waiting. 0 means the peer closed (stream) or an empty
// datagram. fromIp/fromPort (host order) are filled when not null.
int sockRecv(int fd, void* buf, int len, uint32_t* fromIp, uint16_t* fromPort);
// Waits until fd is readable: 1 readable, 0 time-out, -1 task deleted.
int sockWaitReadable(int fd, int timeoutTicks);
// Sends all bytes on a stream socket (waiting for room); count or SOCK_ERR.
// Never raises SIGPIPE.
int sockSend(int fd, const void* buf, int len);
// One datagram to ip:port (host order); count or SOCK_ERR.
int sockSendTo(int fd, const void* buf, int len, uint32_t ip, uint16_t port);
// The connected peer of a stream socket; 0 on success, -1 otherwise.
int sockPeer(int fd, uint32_t* ip, uint16_t* port);
int sockSetNonBlocking(int fd, bool on);
int sockSetOption(int fd, int level, int option, int value);
// Multicast membership / interface (IPv4 text addresses); 0 or -1.
int sockMulticast(int fd, bool add, const char* group, const char* iface);
int sockMulticastIf(int fd, const char* iface);

// ---- Platform firewall functions -------------------------------------------
// The platform's optional firewall rule functions, entered in the platform
// symbol table under their names ("VKFirewallAddTCPPortRule" ...). On the
// host they log the request and succeed.
int VKFirewallAddTCPPortRule(int port);
int VKFirewallRemoveTCPPortRule(int port);
int VKFirewallAddUDPPortRule(int port);
int VKFirewallRemoveUDPPortRule(int port);
// Enters the four functions in the symbol table (done at start-up whenever
// the socket devices are linked; tests may call it again after removing one).
void registerFirewallFunctions();
void firewallSetResult(int result);         // for tests: what the functions return
std::vector<std::string> firewallTakeLog(); // "add tcp 502", "remove udp 5001" ...

}  // namespace hostio
