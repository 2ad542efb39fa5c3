// Modbus slave support: system-message hooks, the redundant-CPU check, the
// device-table views, and Modbus/TCP: the port-502 acceptor "scan_tcp" and
// the server reader and writer with their MBAP handling.
#include "modbus/ModbusSupport.h"

#include <cstring>

#include "host/hostio.h"
#include "modbus/MODBUS.h"
#include "platform/send_evt.h"
#include "platform/vkos.h"
#include "runtime/appmem.h"

// ---------------------------------------------------------------- hooks

int MOD_SendSysMessage_S_T_CMD(int wordIndex) { return SendSysMessage(0x2201, wordIndex, 0, 0) == 1; }

int MOD_SendSysMessage_S6_CMD(int instance, int valueCode, int address) {
    return SendSysMessage(0x2208, instance, valueCode, address) == 1;
}

int MOD_SendSysMessage_M_T_CMD(int a, int b, int c) { return SendSysMessage(0x2211, a, b, c) == 1; }

int MOD_SendSysMessage_M_M_CMD(int a, int b, int c) { return SendSysMessage(0x2221, a, b, c) == 1; }

int Fetch_tCntIValAddress(const int32_t* cell) {
    intptr_t bytes = reinterpret_cast<intptr_t>(cell) - reinterpret_cast<intptr_t>(MOD_IntArea(1));
    return static_cast<int>(bytes / 4);
}

void VKIO_SendAppSysError(const char* text) { SendAppEvent(6, text); }

void ModTaskEnable() {}

int RedundantCpusExpected = 0;
int BackupCpuStatus = -1;

void CheckRedundantCpusModbusSlave(int* last, int* force, int* countdown, int mode) {
    if (RedundantCpusExpected != 1) return;
    if (BackupCpuStatus != *last) {
        if (BackupCpuStatus == 0) {
            *force = 1;
            *countdown = 10;
        }
        *last = BackupCpuStatus;
    }
    if (mode == 1 && *countdown <= 0) *force = 0;
}

// ---------------------------------------------------------------- areas

int32_t* MOD_AreaBase[5] = {nullptr, mr_i, dn_i, up_i, mw_i};

int32_t* MOD_IntArea(int kind) { return (kind >= 1 && kind <= 4) ? MOD_AreaBase[kind] : nullptr; }

// ---------------------------------------------------------------- devices

int MOD_DevKind(int dev) { return (dev < 0 || dev >= ndevs) ? 0 : static_cast<uint8_t>(devtab[dev].kind); }

uint32_t* MOD_DevFaultCell(int dev) {
    if (dev < 0 || dev >= ndevs || devtab[dev].faultCell == nullptr) return nullptr;
    return &devtab[dev].faultCell();
}

int32_t* MOD_DevStatusCell(int dev) {
    if (dev < 0 || dev >= ndevs || devtab[dev].statusCell == nullptr) return nullptr;
    return &devtab[dev].statusCell();
}

void MOD_ShutdownTCPSocket(int dev, int wait) {
    if (MOD_DevKind(dev) != DEV_KIND_TCP) return;
    if (SocketDvram* rec = socketDvramOf(dev)) {
        if (rec->socket != -1) ShutdownSocket(rec->socket);
        rec->socket = -1;
    }
    if (int32_t* st = MOD_DevStatusCell(dev)) *st = MOD_TCP_FREE;
    if (wait == 1) VKOS_SleepMillisec(200);
}

// ---------------------------------------------------------------- TCP server side

uint8_t Tcp502Buf[NDEVS][kModMbapMax + 2];
int32_t Tcp502ct[NDEVS];

namespace {

// A row of another CPU slot loses its connection; status 14.
bool otherCpu(int dev, SocketDvram* rec, ModbusMsgBuf* buf) {
    if (devtab[dev].cpuSlot == CpuSlot) return false;
    if (rec != nullptr) {
        if (rec->socket != -1) ShutdownSocket(rec->socket);
        rec->socket = -1;
    }
    VKOS_SleepMillisec(200);
    buf->status = MOD_ST_OTHER_CPU;
    return true;
}

// Waits up to 200 ms while the row is free, looking at its status cell
// every tick, so that a connection handed over is taken at once.
void awaitHandOver(const int32_t* st) {
    for (int waited = 0; waited < 200 && *st == MOD_TCP_FREE; waited += 5) VKOS_SleepMillisec(5);
}

}  // namespace

void VKtcp_server_modread(int dev, ModbusMsgBuf* buf) {
    SocketDvram* rec = socketDvramOf(dev);
    int32_t* st = MOD_DevStatusCell(dev);
    if (MOD_DevKind(dev) != DEV_KIND_TCP || rec == nullptr || st == nullptr) {
        VKOS_SleepMillisec(200);
        buf->status = MOD_ST_DEVICE;
        return;
    }
    if (otherCpu(dev, rec, buf)) return;
    // Wait for the acceptor to hand over a connection.
    for (int pass = 0;; ++pass) {
        if (pass == 201) {
            buf->status = MOD_ST_TIMEOUT;
            return;
        }
        int32_t v = *st;
        if (v == MOD_TCP_IN_USE) break;
        if (v == MOD_TCP_HANDED) {
            MOD_MbapTake(Tcp502Buf[dev], Tcp502ct[dev], buf);
            *st = MOD_TCP_IN_USE;
            return;
        }
        if (v == MOD_TCP_FREE) awaitHandOver(st);
        else MOD_ShutdownTCPSocket(dev, 0);
        VKOS_SleepMillisec(5);
        if (otherCpu(dev, rec, buf)) return;
    }
    // Receive the next frame into a buffer that holds the longest legal frame;
    // a frame with a bad header closes the connection.
    uint8_t frame[kModMbapMax + 2];
    int addrLen = 16;
    int n = VKIO_devRecvfrom(dev, frame, static_cast<int>(sizeof frame), 0, &buf->peer, &addrLen);
    if (VKSetModStatusValue(n, buf) < 0) {
        MOD_ShutdownTCPSocket(dev, 0);
        return;
    }
    if (MOD_MbapFrameLength(frame, n) < 0) {
        MOD_ShutdownTCPSocket(dev, 0);
        buf->status = MOD_ST_SHORT;
        return;
    }
    MOD_MbapTake(frame, n, buf);
}

void VKtcp_server_modwrite(int dev, ModbusMsgBuf* buf) {
    uint8_t frame[kModMbapMax + 2];
    int n = MOD_MbapFrame(buf, frame);
    VKIO_devSendto(dev, frame, n, 0, &buf->peer, 16);
}

const ModbusDescriptor ModbusClassicDescriptor = {VKtcp_server_modread, nullptr, VKtcp_server_modwrite, nullptr};
const ModbusDescriptor* ModbusDescriptorPtr = &ModbusClassicDescriptor;

// ---------------------------------------------------------------- acceptor

namespace {

const TcpModRoute kNoRoutes[] = {{-1, -1, -1}};

// A connection whose first request is still arriving.
struct PendingConn {
    int fd;
    ULONG start;   // tick of the accept
    int n;         // bytes received
    uint8_t frame[kModMbapMax + 2];
};

constexpr int kMaxPending = 16;
// The host's queue of connections not yet accepted. The host drops the
// connection request of a client that finds it full, and the client asks
// again only a second later: a burst of silent clients must not fill it
// between two passes of the acceptor, or a good master is kept waiting.
constexpr int kListenBacklog = 64;
PendingConn pendingConns[kMaxPending];
int pendingCount = 0;
int listenFd = -1;

int listenDevice() {
    if (CpuSlot == 1) return TCPModPort;
    if (CpuSlot == 7 || CpuSlot == 14) return TCPModPortB;
    return TCPModPortC;
}

void setListenRecord(int fd) {
    int dev = listenDevice();
    if (dev < 0 || dev >= ndevs) return;
    if (SocketDvram* rec = socketDvramOf(dev)) rec->socket = fd;
}

// The socket in the listening device's record: the listener of the present
// application life, or -1. Every life starts its devices with fresh records.
int listenRecord() {
    int dev = listenDevice();
    if (dev < 0 || dev >= ndevs) return -1;
    const SocketDvram* rec = socketDvramOf(dev);
    return rec != nullptr ? rec->socket : -1;
}

// Opens the listening socket once the application runs; retries every second.
void openListener() {
    for (;;) {
        while (ApplicationRunning == 0) VKOS_SleepMillisec(100);
        int fd = hostio::tcpListen(502, kListenBacklog, nullptr);
        if (fd >= 0) {
            listenFd = fd;
            setListenRecord(fd);
            return;
        }
        VKOS_SleepMillisec(1000);
    }
}

void dropPending(int k, bool closeIt) {
    if (closeIt) ShutdownSocket(pendingConns[k].fd);
    pendingConns[k] = pendingConns[--pendingCount];
}

// Closes the listener and every connection still waiting for its first
// request: none of them was handed to an instance, so nobody else holds them.
void closeAll() {
    while (pendingCount > 0) dropPending(pendingCount - 1, true);
    if (listenFd != -1) {
        setListenRecord(-1);
        ShutdownSocket(listenFd);
        listenFd = -1;
    }
}

// Hands a connection with its complete first frame to the first free TCP row
// of an instance whose slave address matches the unit identifier.
bool routeConnection(const PendingConn& p) {
    uint8_t unit = p.frame[6];
    const int32_t* mri = MOD_IntArea(1);
    for (const TcpModRoute* r = TCPMods != nullptr ? TCPMods : kNoRoutes; r->portIndex >= 0; ++r) {
        const int32_t* area = MOD_IntArea(r->area);
        if (area == nullptr || mri == nullptr) continue;
        if ((mri[r->addrIndex] & 0xFF) != unit) continue;
        int dev = area[r->portIndex];
        if (dev < 0 || dev >= ndevs || devtab[dev].kind != DEV_KIND_TCP) continue;
        int32_t* st = MOD_DevStatusCell(dev);
        SocketDvram* rec = socketDvramOf(dev);
        if (st == nullptr || rec == nullptr || *st != MOD_TCP_FREE) continue;
        if (rec->socket != -1) ShutdownSocket(rec->socket);
        std::memcpy(Tcp502Buf[dev], p.frame, static_cast<size_t>(p.n));
        Tcp502ct[dev] = p.n;
        rec->socket = p.fd;
        *st = MOD_TCP_HANDED;  // last: the instance takes the row only in this state
        return true;
    }
    return false;
}

// The pending connection accepted first.
int oldestPending() {
    int oldest = 0;
    for (int k = 1; k < pendingCount; ++k)
        if (pendingConns[k].start < pendingConns[oldest].start) oldest = k;
    return oldest;
}

// Takes the connections waiting to be accepted, at most a full list of them
// per pass. When the list is full the oldest pending connection, which has
// still not completed its first request, is closed to make room: a silent
// client never keeps a good one waiting.
void acceptNew() {
    for (int taken = 0; taken < kMaxPending; ++taken) {
        int fd = hostio::tcpAccept(listenFd, nullptr);
        if (fd == hostio::SOCK_WOULDBLOCK) return;
        if (fd < 0) continue;
        if (pendingCount == kMaxPending) dropPending(oldestPending(), true);
        PendingConn& p = pendingConns[pendingCount++];
        p.fd = fd;
        p.start = tickGet();
        p.n = 0;
    }
}

// Reads what has arrived of each pending first frame without blocking.
void servePending() {
    const ULONG limit = static_cast<ULONG>(TCP_scan_timeout) * static_cast<ULONG>(sysClkRateGet()) / 1000u;
    for (int k = 0; k < pendingCount;) {
        PendingConn& p = pendingConns[k];
        int want = MOD_MbapWanted(p.frame, p.n);
        bool closed = false;
        while (want > 0) {
            int r = hostio::sockRecv(p.fd, p.frame + p.n, want, nullptr, nullptr);
            if (r == 0 || r == hostio::SOCK_ERR) {
                closed = true;
                break;
            }
            if (r < 0) break;
            p.n += r;
            want = MOD_MbapWanted(p.frame, p.n);
        }
        if (closed || want < 0) {
            dropPending(k, true);
        } else if (want == 0) {
            bool routed = routeConnection(p);
            dropPending(k, !routed);
        } else if (tickGet() - p.start >= limit) {
            dropPending(k, true);
        } else {
            ++k;
        }
    }
}

}  // namespace

const TcpModRoute* TCPMods = kNoRoutes;
int TCPModPort = 3;
int TCPModPortB = 0;
int TCPModPortC = 0;

void scan_tcp(long) {
    // A task of the same application life killed while it ran left its
    // listener in the device record: that one and its pending connections
    // are still this life's own. Whatever an earlier life left was closed
    // with that life (its numbers may now belong to other files), so it is
    // forgotten, never closed.
    if (listenFd != -1 && listenRecord() == listenFd) {
        closeAll();
    } else {
        listenFd = -1;
        pendingCount = 0;
    }
    setListenRecord(-1);
    for (;;) {
        openListener();
        while (ApplicationRunning == 1) {
            acceptNew();
            servePending();
            VKOS_SleepMillisec(10);
        }
        // The application stopped: the acceptor closes what it opened
        // before the task is killed, and listens again at the next start.
        closeAll();
        VKOS_SleepMillisec(5);
    }
}
