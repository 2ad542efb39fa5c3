#include "tests/modbus/modbus_rig.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "host/hostio.h"
#include "platform/vkiodev.h"
#include "platform/vkos.h"
#include "tests/support/ports.h"

namespace mbt {

Bytes rtu(Bytes pdu) {
    uint16_t crc = MOD_Crc(pdu.data(), static_cast<int>(pdu.size()));
    pdu.push_back(static_cast<uint8_t>(crc));
    pdu.push_back(static_cast<uint8_t>(crc >> 8));
    return pdu;
}

Bytes mbap(uint16_t tid, const Bytes& pdu) {
    Bytes b(6 + pdu.size());
    b[0] = uint8_t(tid >> 8);
    b[1] = uint8_t(tid);
    b[5] = uint8_t(pdu.size());  // never above 254
    std::copy(pdu.begin(), pdu.end(), b.begin() + 6);
    return b;
}

Rig::Rig(hk::ClockMode mode, bool serial) {
    hostio::setPortOffset(tc_test::pickPortOffset());
    if (serial) {
        pty = std::make_unique<testsupport::PtyPair>();
        hostio::setTtyPath("/tyCo/0", pty->path(0));
    }
    for (int i = 0; i < 4; ++i) {
        links[i].cells = area_ + 8 * i;
        links[i].slave() = 1;
        links[i].mode() = 2;
        links[i].lastErr() = -1;
    }
    hk::start(mode);
}

void Rig::start(int n) {
    for (int i = 0; i < n; ++i) routes_[i] = TcpModRoute{1, 8 * i, 8 * i + 1};
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
    until([&] {
        const SocketDvram* listen = socketDvramOf(3);
        bool up = listen != nullptr && listen->socket != -1;
        for (int i = 0; i < n; ++i) up = up && links[i].lastErr() == 0;
        return up;
    }, 10000);
}

Master::Master(Rig& rig, Kind kind, uint16_t port) : rig_(rig), kind_(kind) {
    if (kind == Serial) {
        fd_ = open(rig.pty->path(1).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (const SerialDvram* rec = serialDvramOf(1)) sent_ = hostio::ttyDelivered(rec->readFd);
        return;
    }
    fd_ = socket(AF_INET, kind == Tcp ? SOCK_STREAM : SOCK_DGRAM, 0);
    // Segments go out at once: simulated time runs ahead while bytes wait in the host's stack.
    int on = 1;
    setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(hostio::hostPort(port));
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connect(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    fcntl(fd_, F_SETFL, O_NONBLOCK);
}

Master::~Master() { close(fd_); }

void Master::send(const Bytes& b) {
    if (kind_ != Serial) ::send(fd_, b.data(), b.size(), MSG_NOSIGNAL);
    // Serial bytes pass through socat in real time: wait (in real time) until
    // the controller's port has taken all of them before simulated time goes on.
    if (kind_ == Serial && write(fd_, b.data(), b.size()) == ssize_t(b.size()))
        hostio::ttyWaitDelivered(serialDvramOf(1)->readFd, sent_ += b.size(), 2000);
}

void Master::pump() {
    uint8_t tmp[2048];
    ssize_t r;
    while ((r = read(fd_, tmp, sizeof tmp)) > 0) {
        in_.insert(in_.end(), tmp, tmp + r);
        if (kind_ == Udp) return;  // one datagram at a time
    }
    if (kind_ == Tcp && (r == 0 || (errno != EAGAIN && errno != EINTR))) eof_ = true;
}

size_t Master::complete() const {
    if (kind_ == Udp) return in_.size();
    if (kind_ == Tcp) {
        size_t len = in_.size() < 6 ? 0 : 6u + (size_t(in_[4]) << 8 | in_[5]);
        return len != 0 && in_.size() >= len ? len : 0;
    }
    bool line = !in_.empty() && in_[0] == ':' && in_.back() == '\n';
    bool frame = in_.size() >= 5 && MOD_Crc(in_.data(), int(in_.size())) == 0;
    return line || frame ? in_.size() : 0;
}

Bytes Master::reply(int ms) {
    if (kind_ != Serial) {
        rig_.until([&] { return pump(), eof_ || complete() != 0; }, ms);
    } else {
        // Simulated time goes on a tick at a time while the reply, which also
        // passes through socat in real time, is awaited.
        for (int t = 0; t <= ms && (pump(), complete() == 0); t += 5) {
            rig_.run(5);
            pollfd p{fd_, POLLIN, 0};
            poll(&p, 1, 2);
        }
    }
    size_t len = complete();
    Bytes frame(in_.begin(), in_.begin() + long(len));
    in_.erase(in_.begin(), in_.begin() + long(len));
    return frame;
}

bool Master::closedByPeer(int ms) {
    rig_.until([&] { return pump(), eof_; }, ms);
    return eof_;
}

}  // namespace mbt
