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
// With `on`, a serial device with no host tty opens as a line with nothing
// connected (the loader's case: the board has the port whether or not a
// cable is plugged in): its settings are taken and kept, nothing comes in
// and what is written goes nowhere. Off (the default), it does not open.
void setUnmappedTtysOpen(bool on);

// The host address the controller's TCP servers listen on, in host byte
// order; 127.0.0.1 unless set. UDP ports are bound on every address.
void setListenAddress(uint32_t ip);
uint32_t listenAddress();

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
// Descriptors are the target's (3..255, shared with files: see hostfs), each
// standing for a host socket whatever its number. They are non-blocking.
// Results: a count (>= 0), or one of:
constexpr int SOCK_ERR = -1;        // failed (errno kept)
constexpr int SOCK_WOULDBLOCK = -2; // nothing there now

// Enters a host socket among the target descriptors (its descriptor, or -1
// when all are taken: the host socket is then closed), and finds the host
// socket of a descriptor (-1 when it is not open).
int sockAdopt(int hostFd);
int sockHostFd(int fd);

// A listening TCP socket on hostPort(controllerPort), any address, address
// reuse and TCP_NODELAY on. Returns the descriptor or -1; *failedStep names
// the failed step ("socket", "option", "bind", "listen", "descriptor").
int tcpListen(uint16_t controllerPort, int backlog, const char** failedStep);
// Takes one waiting connection (non-blocking, TCP_NODELAY on): its
// descriptor, SOCK_WOULDBLOCK when none waits, or SOCK_ERR. peerIp (host
// order) is filled when not null.
int tcpAccept(int fd, uint32_t* peerIp);
// One send without waiting: the count taken, SOCK_WOULDBLOCK or SOCK_ERR.
int sockSendSome(int fd, const void* buf, int len);
// Bytes waiting to be received, or -1.
int sockBytesWaiting(int fd);
// True once the peer has closed its side or the connection failed.
bool sockPeerClosed(int fd);
// Closes at once: linger on with 0 s (the close resets the connection),
// shutdown of both directions, close. -1 does nothing.
void sockAbort(int fd);

// A controller port that cannot be bound (in use, no permission) is
// reported here with the host port, the protocol ("TCP", "UDP") and errno.
// The loader stops on it; without an observer the caller's retry goes on.
using BindFailureObserver = void (*)(const char* protocol, uint16_t hostPort, int err);
void setBindFailureObserver(BindFailureObserver observer);

// A datagram socket bound to hostPort(controllerPort) on any address, with
// the given buffer sizes and broadcast on. Returns the descriptor or -1;
// *failedStep names the failed step ("socket", "rcvbuf", "sndbuf",
// "broadcast", "bind", "descriptor").
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
// The requests as printed, with the host port: "add tcp 10502" for 502 under
// the port offset 10000, "remove udp 5001" without offset ...
std::vector<std::string> firewallTakeLog();

}  // namespace hostio
