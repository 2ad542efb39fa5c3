// Socket devices over BSD sockets (through the host socket calls, so that a
// waiting task gives up the CPU).
#include "platform/vxwsock2.h"

#include <cstdio>
#include <cstring>

#include "host/hostio.h"
#include "host/hostnet.h"
#include "platform/send_evt.h"
#include "platform/vkos.h"
#include "platform/vkosfile.h"

namespace {

constexpr uint16_t kModbusTcpPort = 502;
constexpr int kRetryTicks = 2;  // one retry round of 10 ms

SocketDvram* recOf(const DevTabEntry* dev) {
    return dev->holder != nullptr ? static_cast<SocketDvram*>(*dev->holder) : nullptr;
}

bool mySlot(const DevTabEntry* dev) { return dev->cpuSlot == CpuSlot; }

// The row's record with a socket, or nullptr.
SocketDvram* withSocket(const DevTabEntry* dev) {
    SocketDvram* r = recOf(dev);
    return r != nullptr && r->socket != -1 ? r : nullptr;
}

void setStatus(const DevTabEntry* dev, int32_t v) {
    if (dev->statusCell != nullptr) dev->statusCell() = v;
}

void setFault(const DevTabEntry* dev) {
    if (dev->faultCell != nullptr) dev->faultCell() = 1;
}

void fillFromPortTable(const DevTabEntry* dev, SocketDvram* r) {
    int d = dev->devNum < NDEVS ? dev->devNum : 0;
    r->own = vkSockAddr(PentEthPortIP[d], static_cast<uint16_t>(PentEthPortNum[d]));
    r->peer = r->own;
}

void toCaller(VKSockAddr* to, int* toLen, uint32_t ip, uint16_t port) {
    if (to != nullptr && (toLen == nullptr || *toLen >= static_cast<int>(sizeof(VKSockAddr))))
        *to = vkSockAddr(ip, port);
    if (toLen != nullptr) *toLen = sizeof(VKSockAddr);
}

// Firewall rule through the platform function of that name, looked up each
// time: missing 0, -1 from the function VKIO_ERROR, else 0.
int32_t firewall(const char* name, long port) {
    auto fn = reinterpret_cast<int (*)(int)>(VKOS_FindSymbol(name));
    if (fn == nullptr) return VKIO_DONE;
    return fn(static_cast<int>(port)) == -1 ? VKIO_ERROR : VKIO_DONE;
}

// Waits for one byte (as read does) and returns it; the peer closing gives
// VKIO_TIMEOUT instead of retrying for ever.
int32_t getcOn(const DevTabEntry* dev) {
    if (!mySlot(dev)) return vkioOtherSlotRead();
    for (;;) {
        SocketDvram* r = withSocket(dev);
        if (r == nullptr) return VKIO_ERROR;
        uint8_t c;
        int n = hostio::sockRecv(r->socket, &c, 1, nullptr, nullptr);
        if (n == 1) return c;
        if (n == 0) return VKIO_TIMEOUT;
        if (n == hostio::SOCK_ERR) return VKIO_ERROR;
        if (hostio::sockWaitReadable(r->socket, -1) < 0) return VKIO_ERROR;
    }
}

// What the control codes differ in between the TCP and the UDP family.
struct Family {
    DevPutcFn putc;
    const char* fwAdd;
    const char* fwRemove;
    uint32_t (*timeoutWord)(long ms);
};

int32_t socketControl(const DevTabEntry* dev, int code, long a, long b, const Family& fam) {
    if (!mySlot(dev)) return VKIO_ERROR;
    switch (code) {
    case 11:
        return fam.putc(dev, static_cast<int>(a + 128 + 64 * b));
    case 12:
        return fam.putc(dev, 1);
    case 13:
        return fam.putc(dev, static_cast<int>(a + 11));
    case 16: {
        SocketDvram* r = withSocket(dev);
        if (r == nullptr) return VKIO_ERROR;
        return hostio::sockSetNonBlocking(r->socket, true) == 0 ? VKIO_DONE : VKIO_ERROR;
    }
    case 19:
        if (b < 50) {
            fam.putc(dev, static_cast<int>(b + 128));
            return fam.putc(dev, static_cast<int>(a + 128));
        }
        fam.putc(dev, static_cast<int>(b + 142));
        return fam.putc(dev, static_cast<int>(a + 192));
    case 20: {
        SocketDvram* r = recOf(dev);
        if (r == nullptr) return VKIO_ERROR;
        r->timeout = fam.timeoutWord(a);
        return VKIO_DONE;
    }
    case 24:
        return firewall(fam.fwAdd, a);
    case 25:
        return firewall(fam.fwRemove, a);
    default:
        return VKIO_DONE;  // codes outside 11..25 and codes not listed
    }
}

void releaseRecord(const DevTabEntry* dev, SocketDvram* r) {
    if (r->socket != -1) VKOS_CloseSocket(r->socket);
    r->socket = -1;
    if (r->sem != 0) VKOS_CloseSemaphore(r->sem);
    r->sem = 0;
    VKOS_FreeMem(r, sizeof(SocketDvram));
    *dev->holder = nullptr;
}

// Framing over a device's socket: receives without waiting, and waits one
// retry round through the host kernel.
struct SockCtx {
    int fd;
};
int sockFrameRecv(void* ctx, uint8_t* p, int n) {
    int r = hostio::sockRecv(static_cast<SockCtx*>(ctx)->fd, p, n, nullptr, nullptr);
    return r >= 0 ? r : -1;
}
bool sockFrameWait(void* ctx) { return hostio::sockWaitReadable(static_cast<SockCtx*>(ctx)->fd, kRetryTicks) >= 0; }

}  // namespace

int32_t mbapFrameReceive(const FrameSource& src, uint8_t* buf, int cap, uint32_t rounds) {
    constexpr int kHeader = 6;
    if (cap < kHeader + 1) return VKIO_ERROR;  // no frame fits
    int got = 0;
    int frameLen = 0;  // known once the header is in
    uint32_t failed = 0;
    for (;;) {
        int want = (frameLen == 0 ? kHeader : frameLen) - got;
        int n = src.recv(src.ctx, buf + got, want);
        if (n == 0) return VKIO_TIMEOUT;  // the peer closed
        if (n < 0) {
            if (failed >= rounds) return VKIO_TIMEOUT;
            ++failed;
            if (!src.wait(src.ctx)) return VKIO_ERROR;
            continue;
        }
        if (n > want) return VKIO_ERROR;  // a source that ignores the bound
        got += n;
        if (frameLen == 0 && got == kHeader) {
            int lenHi = buf[4];
            int lenLo = buf[5];
            if (lenHi != 0 || lenLo == 0 || kHeader + lenLo > cap) return VKIO_ERROR;
            frameLen = kHeader + lenLo;
        }
        if (frameLen != 0 && got == frameLen) return frameLen;
    }
}

// ---- TCP family ---------------------------------------------------------------

int32_t vxtcpinit_WSock(const DevTabEntry* dev) {
    if (!mySlot(dev)) return VKIO_ERROR;
    auto* r = static_cast<SocketDvram*>(VKOS_GetMem(sizeof(SocketDvram)));
    if (r == nullptr) return VKIO_ERROR;
    std::memset(r, 0, sizeof *r);
    r->timeout = 0;
    r->socket = -1;
    r->sem = 0;
    fillFromPortTable(dev, r);
    *dev->holder = r;
    if (dev->kind == DEV_KIND_TCP_LISTEN) vxtcpcntl_WSock(dev, DEVCTL_FW_ADD, kModbusTcpPort, 0);
    if (dev->kind == DEV_KIND_TCP) setStatus(dev, DEV_TCP_STATUS_FREE);
    return VKIO_DONE;
}

int32_t vxtcpopen_WSock(const DevTabEntry* dev) {
    SocketDvram* r = recOf(dev);
    if (!mySlot(dev) || r == nullptr) return VKIO_ERROR;
    if (r->sem != 0) VKOS_WaitSemaphore(r->sem, -1);
    return VKIO_DONE;
}

int32_t vxtcpclose_WSock(const DevTabEntry* dev) {
    SocketDvram* r = recOf(dev);
    if (!mySlot(dev) || r == nullptr) return VKIO_ERROR;
    VKOS_CloseSocket(r->socket);
    r->socket = -1;
    setStatus(dev, DEV_TCP_STATUS_FREE);
    if (r->sem != 0) VKOS_SignalSemaphore(r->sem);
    return VKIO_DONE;
}

int32_t vxtcpread_WSock(const DevTabEntry* dev, void* buf, int len) {
    if (!mySlot(dev)) return vkioOtherSlotRead();
    for (;;) {
        SocketDvram* r = withSocket(dev);
        if (r == nullptr) return VKIO_ERROR;
        int n = hostio::sockRecv(r->socket, buf, len, nullptr, nullptr);
        if (n > 0) return n;
        if (n == 0) return len == 0 ? 0 : VKIO_TIMEOUT;  // end of stream
        if (n == hostio::SOCK_ERR) return VKIO_ERROR;
        if (hostio::sockWaitReadable(r->socket, -1) < 0) return VKIO_ERROR;
    }
}

int32_t vxtcpwrite_WSock(const DevTabEntry* dev, const void* buf, int len) {
    if (!mySlot(dev)) return VKIO_ERROR;
    SocketDvram* r = withSocket(dev);
    if (r == nullptr) return VKIO_ERROR;
    hostio::sockSend(r->socket, buf, len);  // errors are not reported
    return VKIO_DONE;
}

int32_t vxtcpsend_WSock(const DevTabEntry* dev, const void* buf, int len, int /*flags*/, const VKSockAddr* /*to*/,
                        int /*toLen*/) {
    return vxtcpwrite_WSock(dev, buf, len);
}

int32_t vxtcpgetc_WSock(const DevTabEntry* dev) { return getcOn(dev); }

int32_t vxtcpputc_WSock(const DevTabEntry* dev, int ch) {
    uint8_t c = static_cast<uint8_t>(ch);
    return vxtcpwrite_WSock(dev, &c, 1);
}

int32_t vxtcprecv_WSock(const DevTabEntry* dev, void* buf, int len, int /*flags*/, VKSockAddr* from,
                        int* fromLen) {
    if (!mySlot(dev)) return vkioOtherSlotRead();
    SocketDvram* r = withSocket(dev);
    if (r == nullptr) return VKIO_ERROR;
    SockCtx ctx{r->socket};
    FrameSource src{sockFrameRecv, sockFrameWait, &ctx};
    int32_t n = mbapFrameReceive(src, static_cast<uint8_t*>(buf), len, r->timeout / 10);
    uint32_t ip = 0;
    uint16_t port = 0;
    if (n > 0 && from != nullptr && hostio::sockPeer(ctx.fd, &ip, &port) == 0) toCaller(from, fromLen, ip, port);
    return n;
}

int32_t QLMvxtcprecv_WSock(const DevTabEntry* dev, void* buf, int len, int /*flags*/, VKSockAddr* from,
                           int* fromLen) {
    if (!mySlot(dev)) return vkioOtherSlotRead();
    SocketDvram* r = withSocket(dev);
    if (r == nullptr) return VKIO_ERROR;
    // The time-out word in milliseconds, 0 meaning no wait.
    int ticks = r->timeout == 0 ? 0 : static_cast<int>((r->timeout + 4) / 5);
    if (hostio::sockWaitReadable(r->socket, ticks) <= 0) return VKIO_TIMEOUT;
    uint32_t ip = 0;
    uint16_t port = 0;
    int n = hostio::sockRecv(r->socket, buf, len, &ip, &port);
    if (n < 0) return VKIO_TIMEOUT;
    if (n > 0 && hostio::sockPeer(r->socket, &ip, &port) == 0) toCaller(from, fromLen, ip, port);
    return n;
}

// TCP: the framed receive's time-out in milliseconds.
const Family kTcpFamily = {vxtcpputc_WSock, "VKFirewallAddTCPPortRule", "VKFirewallRemoveTCPPortRule",
                           [](long ms) { return static_cast<uint32_t>(ms); }};

int32_t vxtcpcntl_WSock(const DevTabEntry* dev, int code, long a, long b) {
    return socketControl(dev, code, a, b, kTcpFamily);
}

int32_t vxtcpKill_WSock(const DevTabEntry* dev) {
    SocketDvram* r = recOf(dev);
    if (r == nullptr) return VKIO_ERROR;
    if (r->socket != -1) VKOS_CloseSocket(r->socket);
    r->socket = -1;
    setStatus(dev, DEV_TCP_STATUS_FREE);
    if (dev->kind == DEV_KIND_TCP_LISTEN) vxtcpcntl_WSock(dev, DEVCTL_FW_REMOVE, kModbusTcpPort, 0);
    releaseRecord(dev, r);
    return VKIO_DONE;
}

int32_t vxtcpupdate_WSock(const DevTabEntry* dev) {
    SocketDvram* r = recOf(dev);
    if (r == nullptr || dev->kind != DEV_KIND_TCP) return VKIO_ERROR;
    if (r->socket != -1) VKOS_CloseSocket(r->socket);
    r->socket = -1;
    setStatus(dev, DEV_TCP_STATUS_FREE);
    return VKIO_DONE;
}

// ---- UDP family ---------------------------------------------------------------

int32_t vxudpinit_WSock(const DevTabEntry* dev) {
    if (!mySlot(dev)) return VKIO_ERROR;
    auto* r = static_cast<SocketDvram*>(VKOS_GetMem(sizeof(SocketDvram)));
    if (r == nullptr) {
        setFault(dev);
        SendAppState(3, "vxudpinit_WSock: devptr->dvram not valid");
        return VKIO_ERROR;
    }
    std::memset(r, 0, sizeof *r);
    r->socket = -1;
    r->timeout = 0;
    *dev->holder = r;
    char name[32];
    std::snprintf(name, sizeof name, "devMutex%d", dev->devNum);
    r->sem = VKOS_CreateSemaphore(name, 1, 1);
    if (r->sem == 0) {
        setFault(dev);
        return VKIO_ERROR;
    }
    VKOS_WaitSemaphore(r->sem, -1);
    const char* failed = nullptr;
    r->socket = hostio::udpOpen(dev->port, 20000, 1600, &failed);
    fillFromPortTable(dev, r);
    if (r->socket < 0) {
        if (failed != nullptr && std::strcmp(failed, "broadcast") == 0) std::printf("setsockopt failed \n");
        r->socket = -1;
        VKOS_SignalSemaphore(r->sem);
        setFault(dev);
        return VKIO_ERROR;
    }
    VKOS_SignalSemaphore(r->sem);
    vxudpcntl_WSock(dev, DEVCTL_FW_ADD, dev->port, 0);
    return VKIO_DONE;
}

int32_t vxudpopen_WSock(const DevTabEntry* dev) {
    SocketDvram* r = recOf(dev);
    if (!mySlot(dev) || r == nullptr || r->sem == 0) return VKIO_ERROR;
    VKOS_WaitSemaphore(r->sem, -1);
    return VKIO_DONE;
}

int32_t vxudpclose_WSock(const DevTabEntry* dev) {
    SocketDvram* r = recOf(dev);
    if (!mySlot(dev) || r == nullptr || r->sem == 0) return VKIO_ERROR;
    VKOS_SignalSemaphore(r->sem);
    return VKIO_DONE;
}

int32_t vxudprecvfrom_WSock(const DevTabEntry* dev, void* buf, int len, int /*flags*/, VKSockAddr* from,
                            int* fromLen) {
    if (!mySlot(dev)) return vkioOtherSlotRead();
    SocketDvram* r = withSocket(dev);
    if (r == nullptr) return VKIO_ERROR;
    int ticks = r->timeout == 0 ? -1 : static_cast<int>(r->timeout);
    int w = hostio::sockWaitReadable(r->socket, ticks);
    if (w < 0) return VKIO_ERROR;
    if (w == 0) return VKIO_TIMEOUT;
    uint32_t ip = 0;
    uint16_t port = 0;
    int n = hostio::sockRecv(r->socket, buf, len, &ip, &port);
    if (n < 0) return VKIO_TIMEOUT;
    toCaller(from, fromLen, ip, port);
    return n;
}

int32_t vxudpread_WSock(const DevTabEntry* dev, void* buf, int len) {
    SocketDvram* r = recOf(dev);
    VKSockAddr from{};
    int fromLen = sizeof from;
    int32_t n = vxudprecvfrom_WSock(dev, buf, len, 0, &from, &fromLen);
    if (n >= 0 && r != nullptr) r->peer = from;  // the sender becomes the peer
    return n;
}

int32_t vxudpsendto_WSock(const DevTabEntry* dev, const void* buf, int len, int /*flags*/, const VKSockAddr* to,
                          int /*toLen*/) {
    if (!mySlot(dev)) return VKIO_ERROR;
    SocketDvram* r = withSocket(dev);
    if (r == nullptr || to == nullptr) return VKIO_ERROR;
    int n = hostio::sockSendTo(r->socket, buf, len, vkSockAddrIp(*to), vkSockAddrPort(*to));
    return n < 0 ? VKIO_ERROR : VKIO_DONE;
}

int32_t vxudpwrite_WSock(const DevTabEntry* dev, const void* buf, int len) {
    if (!mySlot(dev)) return VKIO_ERROR;
    SocketDvram* r = withSocket(dev);
    if (r == nullptr) return VKIO_ERROR;
    // Send errors are not reported.
    hostio::sockSendTo(r->socket, buf, len, vkSockAddrIp(r->peer), vkSockAddrPort(r->peer));
    return VKIO_DONE;
}

int32_t vxudpgetc_WSock(const DevTabEntry* dev) { return getcOn(dev); }

int32_t vxudpputc_WSock(const DevTabEntry* dev, int ch) {
    uint8_t c = static_cast<uint8_t>(ch);
    return vxudpwrite_WSock(dev, &c, 1);
}

// UDP: the receive waits through the host kernel, so the word is all that
// is needed: units of 5 ms, 0 for ever.
const Family kUdpFamily = {vxudpputc_WSock, "VKFirewallAddUDPPortRule", "VKFirewallRemoveUDPPortRule",
                           [](long ms) { return ms == 0 ? 0u : ms > 10 ? static_cast<uint32_t>(ms / 5) : 1u; }};

int32_t vxudpcntl_WSock(const DevTabEntry* dev, int code, long a, long b) {
    return socketControl(dev, code, a, b, kUdpFamily);
}

int32_t vxudpKill_WSock(const DevTabEntry* dev) {
    if (!mySlot(dev)) {
        SendAppState(3, "vxudpKill_WSock: devptr->dvram not valid");
        return VKIO_ERROR;
    }
    SocketDvram* r = recOf(dev);
    if (r == nullptr) return VKIO_ERROR;
    vxudpcntl_WSock(dev, DEVCTL_FW_REMOVE, dev->port, 0);
    releaseRecord(dev, r);
    return VKIO_DONE;
}

int32_t xudpupdate_WSock(const DevTabEntry* dev) {
    SocketDvram* r = recOf(dev);
    if (r == nullptr) return VKIO_ERROR;
    fillFromPortTable(dev, r);
    r->timeout = 0;
    return VKIO_DONE;
}

// ---- Multicast helpers ------------------------------------------------------------

namespace {
int32_t membership(int sock, const char* group, int iface, bool add) {
    char ifAddr[32] = {0};
    VKIPGet(iface, ifAddr);
    return hostio::sockMulticast(sock, add, group, ifAddr) == 0 ? VKIO_DONE : VKIO_ERROR;
}
}  // namespace

int32_t vxMCastAddMembership(int sock, const char* group, int iface) { return membership(sock, group, iface, true); }

int32_t vxMCastDropMembership(int sock, const char* group, int iface) {
    return membership(sock, group, iface, false);
}

int32_t vxMCastSetIF(int sock, int iface) {
    char ifAddr[32] = {0};
    VKIPGet(iface, ifAddr);
    if (hostio::sockMulticastIf(sock, ifAddr) != 0) {
        std::perror("setsockopt IP_MULTICAST_IF error");
        return VKIO_ERROR;
    }
    return VKIO_DONE;
}
