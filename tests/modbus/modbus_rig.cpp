#include "tests/modbus/modbus_rig.h"
#include "tests/support/ports.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "host/hostio.h"
#include "platform/vkiodev.h"
#include "platform/vkos.h"

namespace mbt {

Bytes rtu(Bytes pdu) {
    uint16_t crc = MOD_Crc(pdu.data(), static_cast<int>(pdu.size()));
    pdu.push_back(static_cast<uint8_t>(crc));
    pdu.push_back(static_cast<uint8_t>(crc >> 8));
    return pdu;
}

std::string ascii(const Bytes& pdu) {
    static const char hex[] = "0123456789ABCDEF";
    std::string s = ":";
    uint8_t sum = 0;
    for (uint8_t b : pdu) {
        s += hex[b >> 4];
        s += hex[b & 15];
        sum = static_cast<uint8_t>(sum + b);
    }
    uint8_t lrc = static_cast<uint8_t>(-sum);
    s += hex[lrc >> 4];
    s += hex[lrc & 15];
    return s + "\r\n";
}

Bytes mbap(uint16_t tid, const Bytes& pdu) {
    Bytes b(6 + pdu.size());
    b[0] = static_cast<uint8_t>(tid >> 8);
    b[1] = static_cast<uint8_t>(tid);
    b[4] = static_cast<uint8_t>(pdu.size() >> 8);
    b[5] = static_cast<uint8_t>(pdu.size());
    std::copy(pdu.begin(), pdu.end(), b.begin() + 6);
    return b;
}

Rig::Rig(hk::ClockMode mode, bool serial) {
    hostio::setPortOffset(tc_test::pickPortOffset());
    if (serial) {
        pty_ = std::make_unique<testsupport::PtyPair>();
        serialOk_ = pty_->ok();
        if (serialOk_) hostio::setTtyPath("/tyCo/0", pty_->path(0));
    }
    for (int i = 0; i < 4; ++i) {
        Link& l = links[i];
        l.base = 8 * i;
        l.area = area_;
        l.slave() = 1;
        l.mode() = 2;
        l.lastErr() = -1;
    }
    hk::start(mode);
}

Rig::~Rig() { hk::shutdown(); }

uint16_t Rig::hostPort(uint16_t controllerPort) const { return hostio::hostPort(controllerPort); }

void Rig::run(int ms) { hk::runTicks(static_cast<uint64_t>(ms / 5)); }

bool Rig::until(const std::function<bool()>& pred, int ms) {
    return hk::runUntil(pred, static_cast<uint64_t>(ms / 5 + 1));
}

void Rig::start(int n) {
    for (int i = 0; i < n; ++i) routes_[i] = TcpModRoute{1, links[i].base + 0, links[i].base + 1};
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
    // Up when the acceptor listens and every instance has cleared its last error.
    until(
        [&] {
            const SocketDvram* listen = socketDvramOf(3);
            if (listen == nullptr || listen->socket == -1) return false;
            for (int i = 0; i < n; ++i)
                if (links[i].lastErr() != 0) return false;
            return true;
        },
        10000);
}

TcpMaster::TcpMaster(Rig& rig, uint16_t port) : rig_(rig) {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    // Segments go out at once: simulated time runs ahead while a master's
    // bytes wait in the host's TCP stack.
    int on = 1;
    setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(rig.hostPort(port));
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
        close(fd_);
        fd_ = -1;
    }
}

TcpMaster::~TcpMaster() {
    if (fd_ >= 0) close(fd_);
}

void TcpMaster::send(const Bytes& b) {
    if (fd_ >= 0) ::send(fd_, b.data(), b.size(), MSG_NOSIGNAL);
}

void TcpMaster::pump() {
    uint8_t tmp[1024];
    for (;;) {
        ssize_t r = recv(fd_, tmp, sizeof tmp, MSG_DONTWAIT);
        if (r > 0) {
            in_.insert(in_.end(), tmp, tmp + r);
            continue;
        }
        if (r == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) eof_ = true;
        return;
    }
}

namespace {
size_t mbapComplete(const Bytes& in) {
    if (in.size() < 6) return 0;
    size_t len = 6u + (static_cast<size_t>(in[4]) << 8 | in[5]);
    return in.size() >= len ? len : 0;
}
}  // namespace

Bytes TcpMaster::reply(int ms) {
    if (fd_ < 0) return {};
    rig_.until([&] {
        pump();
        return eof_ || mbapComplete(in_) != 0;
    }, ms);
    size_t len = mbapComplete(in_);
    if (len == 0) return {};
    Bytes frame(in_.begin(), in_.begin() + static_cast<long>(len));
    in_.erase(in_.begin(), in_.begin() + static_cast<long>(len));
    return frame;
}

bool TcpMaster::closedByPeer(int ms) {
    if (fd_ < 0) return true;
    rig_.until([&] {
        pump();
        return eof_;
    }, ms);
    return eof_;
}

UdpMaster::UdpMaster(Rig& rig, uint16_t port) : rig_(rig), port_(port) {
    fd_ = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
}

UdpMaster::~UdpMaster() {
    if (fd_ >= 0) close(fd_);
}

void UdpMaster::send(const Bytes& b) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(rig_.hostPort(port_));
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sendto(fd_, b.data(), b.size(), 0, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
}

Bytes UdpMaster::reply(int ms) {
    Bytes got;
    rig_.until([&] {
        uint8_t tmp[2048];
        ssize_t r = recv(fd_, tmp, sizeof tmp, MSG_DONTWAIT);
        if (r < 0) return false;
        got.assign(tmp, tmp + r);
        return true;
    }, ms);
    return got;
}

SerialMaster::SerialMaster(Rig& rig) : rig_(rig) {
    fd_ = open(rig.serialPath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (const SerialDvram* rec = serialDvramOf(1)) sent_ = hostio::ttyDelivered(rec->readFd);
}

SerialMaster::~SerialMaster() {
    if (fd_ >= 0) close(fd_);
}

// The bytes pass through socat in real time: wait (in real time) until the
// controller's port has taken all of them before simulated time goes on.
void SerialMaster::send(const Bytes& b) {
    if (fd_ < 0 || write(fd_, b.data(), b.size()) != static_cast<ssize_t>(b.size())) return;
    const SerialDvram* rec = serialDvramOf(1);
    if (rec == nullptr) return;
    sent_ += b.size();
    hostio::ttyWaitDelivered(rec->readFd, sent_, 2000);
}

void SerialMaster::send(const std::string& s) { send(Bytes(s.begin(), s.end())); }

// Simulated time goes on one tick at a time while the reply, which also
// passes through socat in real time, is awaited on the master's end.
Bytes SerialMaster::reply(const std::function<bool(const Bytes&)>& complete, int ms) {
    for (int t = 0; t <= ms; t += 5) {
        uint8_t tmp[1024];
        ssize_t r;
        while ((r = read(fd_, tmp, sizeof tmp)) > 0) in_.insert(in_.end(), tmp, tmp + r);
        if (complete(in_)) break;
        rig_.run(5);
        pollfd p{fd_, POLLIN, 0};
        poll(&p, 1, 2);
    }
    Bytes out;
    out.swap(in_);
    return out;
}

Bytes SerialMaster::rtuReply(int ms) {
    return reply([](const Bytes& b) { return b.size() >= 5 && MOD_Crc(b.data(), static_cast<int>(b.size())) == 0; },
                 ms);
}

std::string SerialMaster::asciiReply(int ms) {
    Bytes b = reply([](const Bytes& in) { return !in.empty() && in.back() == '\n'; }, ms);
    return std::string(b.begin(), b.end());
}

}  // namespace mbt
