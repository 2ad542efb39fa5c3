// Device table and device dispatch: every byte exchanged with the serial
// line, a TCP connection or a UDP port, and every text for a local display,
// goes through a device number. `devtab` maps the number to a row of ten
// operations; the VKIO_dev routines check the number and call the row.
//
// Result codes of the device operations: 0 done, VKIO_ERROR, VKIO_TIMEOUT
// (time-out or nothing received), VKIO_OTHER_CPU (device of another CPU slot,
// returned after a 1 s sleep). read, getc and recvfrom return a count or a
// byte (>= 0) instead of 0, so a negative result is always one of the codes.
#pragma once

#include <cstdint>

#include "host/vxworks.h"

constexpr int32_t VKIO_DONE = 0;
constexpr int32_t VKIO_ERROR = static_cast<int32_t>(0x80000000u);
constexpr int32_t VKIO_TIMEOUT = static_cast<int32_t>(0x80000001u);
constexpr int32_t VKIO_OTHER_CPU = static_cast<int32_t>(0x80000002u);

// Device kinds (the kind letter of a row). Kinds with bit 0x40 are network
// devices; (kind & 0x65) == 0x64 holds only for 'f'.
constexpr char DEV_KIND_NULL = 0;
constexpr char DEV_KIND_SERIAL = '1';
constexpr char DEV_KIND_SERIAL2 = '2';
constexpr char DEV_KIND_TCP = 'f';         // connection handed over by the Modbus/TCP acceptor
constexpr char DEV_KIND_TCP_LISTEN = 'q';  // the acceptor's listening port 502
constexpr char DEV_KIND_UDP = 'c';
constexpr char DEV_KIND_NETWORK_BIT = 0x40;

// Status-cell values of a TCP row of kind 'f'.
constexpr int32_t DEV_TCP_STATUS_FREE = 12;

// IPv4 socket address as the target's BSD stack lays it out: 16 bytes.
// port and addr hold network byte order (most significant byte first).
struct VKSockAddr {
    uint8_t len;      // 16
    uint8_t family;   // 2 (AF_INET)
    uint16_t port;    // network byte order
    uint32_t addr;    // network byte order
    uint8_t zero[8];
};
static_assert(sizeof(VKSockAddr) == 16);

// Builds an address from a host-order IPv4 address and port.
VKSockAddr vkSockAddr(uint32_t ipHostOrder, uint16_t portHostOrder);
uint32_t vkSockAddrIp(const VKSockAddr& a);      // host order
uint16_t vkSockAddrPort(const VKSockAddr& a);    // host order

struct DevTabEntry;

typedef int32_t (*DevInitFn)(const DevTabEntry* dev);
typedef int32_t (*DevOpenFn)(const DevTabEntry* dev);
typedef int32_t (*DevCloseFn)(const DevTabEntry* dev);
typedef int32_t (*DevReadFn)(const DevTabEntry* dev, void* buf, int len);
typedef int32_t (*DevWriteFn)(const DevTabEntry* dev, const void* buf, int len);
typedef int32_t (*DevGetcFn)(const DevTabEntry* dev);
typedef int32_t (*DevPutcFn)(const DevTabEntry* dev, int ch);
typedef int32_t (*DevRecvfromFn)(const DevTabEntry* dev, void* buf, int len, int flags, VKSockAddr* from,
                                 int* fromLen);
typedef int32_t (*DevSendtoFn)(const DevTabEntry* dev, const void* buf, int len, int flags,
                               const VKSockAddr* to, int toLen);
// Arguments a and b are words; some codes take a pointer in a (control 23).
typedef int32_t (*DevControlFn)(const DevTabEntry* dev, int code, long a, long b);

// One row of the device table (constant data).
struct DevTabEntry {
    uint8_t reserved;   // 0
    uint8_t devNum;     // equal to the row's index
    char kind;          // DEV_KIND_*
    uint8_t cpuSlot;    // the CPU slot that owns the device
    DevInitFn init;
    DevOpenFn open;
    DevCloseFn close;
    DevReadFn read;
    DevWriteFn write;
    DevGetcFn getc;
    DevPutcFn putc;
    DevRecvfromFn recvfrom;
    DevSendtoFn sendto;
    DevControlFn control;
    uint32_t spare;     // 0
    void** holder;      // where init stores the SerialDvram / SocketDvram record
    int32_t& (*statusCell)();   // the integer application cell, or nullptr
    uint32_t& (*faultCell)();   // the boolean application cell (0 or 1), or nullptr
    uint16_t spare2;    // 0
    uint16_t port;      // UDP port of a 'c' row, else 0 (before the host port offset)
};

constexpr int NDEVS = 8;
extern const int32_t ndevs;                 // 8
extern const DevTabEntry devtab[NDEVS];

// This controller's CPU slot (1); compared with the cpuSlot of each row.
extern uint32_t CpuSlot;

// Holders of the dynamic records: device 1, devices 2 to 7.
extern void* VXpram1;
extern void* Sockpram2;
extern void* Sockpram3;
extern void* Sockpram4;
extern void* Sockpram5;
extern void* Sockpram6;
extern void* Sockpram7;

// Dynamic record of a socket device (TCP 'f'/'q', UDP 'c'). The Modbus code
// reads and writes `socket` and writes `timeout` (milliseconds) of TCP rows.
struct SocketDvram {
    SEM_ID sem;         // "devMutex%d" of a UDP device; 0 for TCP devices
    int32_t socket;     // descriptor, -1 when none
    VKSockAddr peer;    // destination of write/putc; source of the last datagram
    VKSockAddr own;     // from the Ethernet port table
    uint32_t timeout;   // TCP: milliseconds (framed receive); UDP: units of 5 ms, 0 = for ever
};

// Typed access to a row's record (nullptr when the row has none yet).
SocketDvram* socketDvramOf(int dev);

// Dynamic record of the serial device.
struct SerialDvram {
    SEM_ID devMutex;    // "devMutex%d"
    SEM_ID wrMutex;     // "devWrMutex%d"
    SEM_ID rdMutex;     // "devRdMutex%d" (created and deleted, taken by no operation)
    int32_t readFd;     // host tty port handle
    int32_t writeFd;    // the same open port
    uint32_t spare;
    uint8_t baudIndex;  // index into BaudTable
    uint8_t dataBits;   // 1 = 8 data bits, 2 = 7 data bits
    uint8_t stopBits;   // 1 one, 2 two, 3 one and a half (two on the port)
    uint8_t parity;     // 1 none, 2 odd, 3..5 even
    uint8_t protocol;   // 1 line mode, 2 frame mode
    uint8_t readEnding; // 1 a line read returns at LF, 2 a read returns with any data
    uint8_t writeEnding;  // 1 none, 2 last char becomes CR, 3 CR and LF added
    uint8_t crHandling;   // 2 received CR dropped, otherwise it becomes LF
    uint32_t readTimeout;     // polls, 0 = for ever
    uint32_t lastRxTime;      // VKGetTimer() at the last received character
    uint32_t silentInterval;  // microseconds
    uint32_t minInterval;     // microseconds
    uint32_t abortFlag;       // a pending read returns 0 when it is 1
    uint32_t frameAddress;    // slave address frames must start with
    uint32_t bufCount;        // bytes waiting in lineBuf
    uint8_t lineBuf[256];
    uint32_t foreignFrame;    // set by the receive hook while a foreign frame arrives
};

SerialDvram* serialDvramOf(int dev);

extern const uint32_t BaudTable[13];
extern uint32_t ttyWriteError;   // short writes of the serial device

// Dispatch. A device number that is negative or not below ndevs is refused:
// VKIO_devRead with 0, every other routine with VKIO_ERROR. Writes and sends
// are also refused with VKIO_ERROR while ApplicationRunning is 0.
int32_t VKIO_devInit(int dev);
int32_t VKIO_devOpen(int dev);
int32_t VKIO_devClose(int dev);
int32_t VKIO_devRead(int dev, void* buf, int len);
int32_t VKIO_devWrite(int dev, const void* buf, int len);
int32_t VKIO_devGetc(int dev);
int32_t VKIO_devPutc(int dev, int ch);
int32_t VKIO_devRecvfrom(int dev, void* buf, int len, int flags, VKSockAddr* from, int* fromLen);
int32_t VKIO_devSendto(int dev, const void* buf, int len, int flags, const VKSockAddr* to, int toLen);
int32_t VKIO_devControl(int dev, int code, long a, long b);

// Initialises devices 0 .. ndevs-1 in order; returns 0.
int init_devs();
// Releases every row of this CPU slot; returns 0.
int DeleteDevs();

// Driver helper: a reading operation on a row of another CPU slot sleeps
// 1 s and returns VKIO_OTHER_CPU.
int32_t vkioOtherSlotRead();

// Null operations (ttyvxppc).
int32_t xionull_VxCpu(const DevTabEntry* dev);       // sleeps 100 ms, VKIO_TIMEOUT
int32_t xionullblock_VxCpu(const DevTabEntry* dev);  // suspends the caller until resumed, 0
int32_t ionull(const DevTabEntry* dev);              // 0
int32_t ttygetc(const DevTabEntry* dev);             // 0
int32_t ttyputc(const DevTabEntry* dev, int ch);     // 0
int32_t ioerr(const DevTabEntry* dev);               // sleeps 500 ms, VKIO_ERROR
int32_t vxionull_WSock(const DevTabEntry* dev);      // sleeps 1 s, 0
int32_t xionullblock_WSock(const DevTabEntry* dev);  // as xionullblock_VxCpu

// Control codes used by callers.
constexpr int DEVCTL_BAUD = 0;
constexpr int DEVCTL_DATA_BITS = 1;
constexpr int DEVCTL_STOP_BITS = 2;
constexpr int DEVCTL_PARITY = 3;
constexpr int DEVCTL_READ_ENDING = 4;
constexpr int DEVCTL_FLOW = 5;
constexpr int DEVCTL_ECHO = 6;
constexpr int DEVCTL_WRITE_ENDING = 7;
constexpr int DEVCTL_CR_HANDLING = 8;
constexpr int DEVCTL_GOTOXY = 11;
constexpr int DEVCTL_CLEAR_SCREEN = 12;
constexpr int DEVCTL_CLEAR_LINE = 13;
constexpr int DEVCTL_RS485 = 14;
constexpr int DEVCTL_PROTOCOL = 15;        // 1 line, 2 frame
constexpr int DEVCTL_FLUSH = 16;
constexpr int DEVCTL_NONBLOCK = 16;        // socket devices
constexpr int DEVCTL_CURSOR2 = 19;
constexpr int DEVCTL_TIMEOUT = 20;         // milliseconds
constexpr int DEVCTL_NREAD = 23;           // a = pointer to a 32-bit word
constexpr int DEVCTL_FW_ADD = 24;
constexpr int DEVCTL_FW_REMOVE = 25;
constexpr int DEVCTL_FRAME_ADDRESS = 26;
constexpr int DEVCTL_MIN_INTERVAL = 27;    // milliseconds
