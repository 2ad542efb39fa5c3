// The device table of this application and the VKIO_dev dispatch.
#include "platform/vkiodev.h"

#include "host/hostnet.h"
#include "platform/ttyvxppc.h"
#include "platform/vkos.h"
#include "platform/vxwsock2.h"
#include "runtime/sysinfo.h"

uint32_t CpuSlot = 1;

void* VXpram1 = nullptr;
void* Sockpram2 = nullptr;
void* Sockpram3 = nullptr;
void* Sockpram4 = nullptr;
void* Sockpram5 = nullptr;
void* Sockpram6 = nullptr;
void* Sockpram7 = nullptr;

namespace {

// The null row's holder: a spare area no operation touches.
void* nullHolder = nullptr;

// Null device slots: every operation waits 100 ms and does nothing, except
// recvfrom, which blocks the caller until another task resumes it.
int32_t nullRead(const DevTabEntry* d, void*, int) { return xionull_VxCpu(d); }
int32_t nullWrite(const DevTabEntry* d, const void*, int) { return xionull_VxCpu(d); }
int32_t nullPutc(const DevTabEntry* d, int) { return xionull_VxCpu(d); }
int32_t nullRecvfrom(const DevTabEntry* d, void*, int, int, VKSockAddr*, int*) { return xionullblock_VxCpu(d); }
int32_t nullSendto(const DevTabEntry* d, const void*, int, int, const VKSockAddr*, int) {
    return xionull_VxCpu(d);
}
int32_t nullControl(const DevTabEntry* d, int, long, long) { return xionull_VxCpu(d); }

constexpr DevTabEntry nullRow(uint8_t n) {
    return {0, n, DEV_KIND_NULL, 0,
            xionull_VxCpu, xionull_VxCpu, xionull_VxCpu, nullRead, nullWrite,
            xionull_VxCpu, nullPutc, nullRecvfrom, nullSendto, nullControl,
            0, &nullHolder, nullptr, nullptr, 0, 0};
}

constexpr DevTabEntry serialRow(uint8_t n, void** holder, int32_t& (*status)(),
                            uint32_t& (*fault)()) {
    return {0, n, DEV_KIND_SERIAL, 1,
            xttyinit_VxCpu, xttyopen_VxCpu, xttyclose_VxCpu, xttyread_VxCpu, xttywrite_VxCpu,
            xttygetc_VxCpu, xttyputc_VxCpu, nullRecvfrom, nullSendto, xttycntl_VxCpu,
            0, holder, status, fault, 0, 0};
}

constexpr DevTabEntry tcpRow(uint8_t n, char kind, void** holder, int32_t& (*status)(),
                            uint32_t& (*fault)()) {
    return {0, n, kind, 1,
            vxtcpinit_WSock, vxtcpopen_WSock, vxtcpclose_WSock, vxtcpread_WSock, vxtcpwrite_WSock,
            vxtcpgetc_WSock, vxtcpputc_WSock, vxtcprecv_WSock, vxtcpsend_WSock, vxtcpcntl_WSock,
            0, holder, status, fault, 0, 0};
}

constexpr DevTabEntry udpRow(uint8_t n, void** holder, uint32_t& (*fault)(), uint16_t port) {
    return {0, n, DEV_KIND_UDP, 1,
            vxudpinit_WSock, vxudpopen_WSock, vxudpclose_WSock, vxudpread_WSock, vxudpwrite_WSock,
            vxudpgetc_WSock, vxudpputc_WSock, vxudprecvfrom_WSock, vxudpsendto_WSock, vxudpcntl_WSock,
            0, holder, nullptr, fault, 0, port};
}

bool validDev(int dev) { return dev >= 0 && dev < ndevs; }

}  // namespace

const int32_t ndevs = NDEVS;

const DevTabEntry devtab[NDEVS] = {
    nullRow(0),
    serialRow(1, &VXpram1, rtcells::CNFG_SIO_COMM1_PORT_P_STATUS, rtcells::CNFG_SIO_COMM1_PORT_FAULT),
    tcpRow(2, DEV_KIND_TCP, &Sockpram2, rtcells::CNFG_ETHER_NETADDR_1_P_STATUS,
           rtcells::CNFG_ETHER_NETADDR_1_FAULT),
    tcpRow(3, DEV_KIND_TCP_LISTEN, &Sockpram3, nullptr, nullptr),
    udpRow(4, &Sockpram4, rtcells::CNFG_ETHER_PORT_5001_FAULT, 5001),
    tcpRow(5, DEV_KIND_TCP, &Sockpram5, rtcells::CNFG_ETHER_NETADDR_2_P_STATUS,
           rtcells::CNFG_ETHER_NETADDR_2_FAULT),
    udpRow(6, &Sockpram6, rtcells::CNFG_ETHER_PORT_5002_FAULT, 5002),
    udpRow(7, &Sockpram7, rtcells::SIM_PORT5005_TO_SIM_FAULT, 5005),
};

VKSockAddr vkSockAddr(uint32_t ip, uint16_t port) {
    VKSockAddr a{};
    a.len = sizeof(VKSockAddr);
    a.family = 2;
    auto* p = reinterpret_cast<uint8_t*>(&a.port);
    p[0] = static_cast<uint8_t>(port >> 8);
    p[1] = static_cast<uint8_t>(port);
    auto* q = reinterpret_cast<uint8_t*>(&a.addr);
    q[0] = static_cast<uint8_t>(ip >> 24);
    q[1] = static_cast<uint8_t>(ip >> 16);
    q[2] = static_cast<uint8_t>(ip >> 8);
    q[3] = static_cast<uint8_t>(ip);
    return a;
}

uint32_t vkSockAddrIp(const VKSockAddr& a) {
    auto* q = reinterpret_cast<const uint8_t*>(&a.addr);
    return static_cast<uint32_t>(q[0]) << 24 | static_cast<uint32_t>(q[1]) << 16 |
           static_cast<uint32_t>(q[2]) << 8 | q[3];
}

uint16_t vkSockAddrPort(const VKSockAddr& a) {
    auto* p = reinterpret_cast<const uint8_t*>(&a.port);
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

SocketDvram* socketDvramOf(int dev) {
    if (!validDev(dev)) return nullptr;
    char k = devtab[dev].kind;
    if (k != DEV_KIND_TCP && k != DEV_KIND_TCP_LISTEN && k != DEV_KIND_UDP) return nullptr;
    return static_cast<SocketDvram*>(*devtab[dev].holder);
}

SerialDvram* serialDvramOf(int dev) {
    if (!validDev(dev)) return nullptr;
    char k = devtab[dev].kind;
    if (k != DEV_KIND_SERIAL && k != DEV_KIND_SERIAL2) return nullptr;
    return static_cast<SerialDvram*>(*devtab[dev].holder);
}

int32_t VKIO_devInit(int dev) { return validDev(dev) ? devtab[dev].init(&devtab[dev]) : VKIO_ERROR; }
int32_t VKIO_devOpen(int dev) { return validDev(dev) ? devtab[dev].open(&devtab[dev]) : VKIO_ERROR; }
int32_t VKIO_devClose(int dev) { return validDev(dev) ? devtab[dev].close(&devtab[dev]) : VKIO_ERROR; }

int32_t VKIO_devRead(int dev, void* buf, int len) {
    return validDev(dev) ? devtab[dev].read(&devtab[dev], buf, len) : 0;
}

int32_t VKIO_devWrite(int dev, const void* buf, int len) {
    if (!validDev(dev) || ApplicationRunning == 0) return VKIO_ERROR;
    return devtab[dev].write(&devtab[dev], buf, len);
}

int32_t VKIO_devGetc(int dev) { return validDev(dev) ? devtab[dev].getc(&devtab[dev]) : VKIO_ERROR; }
int32_t VKIO_devPutc(int dev, int ch) { return validDev(dev) ? devtab[dev].putc(&devtab[dev], ch) : VKIO_ERROR; }

int32_t VKIO_devRecvfrom(int dev, void* buf, int len, int flags, VKSockAddr* from, int* fromLen) {
    return validDev(dev) ? devtab[dev].recvfrom(&devtab[dev], buf, len, flags, from, fromLen) : VKIO_ERROR;
}

int32_t VKIO_devSendto(int dev, const void* buf, int len, int flags, const VKSockAddr* to, int toLen) {
    if (!validDev(dev) || ApplicationRunning == 0) return VKIO_ERROR;
    return devtab[dev].sendto(&devtab[dev], buf, len, flags, to, toLen);
}

int32_t VKIO_devControl(int dev, int code, long a, long b) {
    return validDev(dev) ? devtab[dev].control(&devtab[dev], code, a, b) : VKIO_ERROR;
}

int32_t vkioOtherSlotRead() {
    VKOS_SleepMillisec(1000);
    return VKIO_OTHER_CPU;
}

int init_devs() {
    for (int i = 0; i < ndevs; ++i) VKIO_devInit(i);
    return 0;
}
