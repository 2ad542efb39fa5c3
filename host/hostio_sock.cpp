// Socket calls of the device layer over the host's BSD sockets. Descriptors
// are non-blocking; waits go through the host kernel so that the calling
// task gives up the emulated CPU.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "host/hostio.h"
#include "host/hostkernel.h"

namespace hostio {

namespace {

// The socket devices use the firewall functions: enter them at start-up.
const bool g_firewallRegistered = (registerFirewallFunctions(), true);

sockaddr_in inetAddr(uint32_t ip, uint16_t port) {
    sockaddr_in a;
    std::memset(&a, 0, sizeof a);
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(ip);
    return a;
}

}  // namespace

int udpOpen(uint16_t controllerPort, int rcvBuf, int sndBuf, const char** failedStep) {
    const char* step = "socket";
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd >= 0) {
        int one = 1;
        sockaddr_in a = inetAddr(INADDR_ANY, hostPort(controllerPort));
        if ((step = "rcvbuf", ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &rcvBuf, sizeof rcvBuf) == 0) &&
            (step = "sndbuf", ::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &sndBuf, sizeof sndBuf) == 0) &&
            (step = "broadcast", ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &one, sizeof one) == 0) &&
            (step = "bind", ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0)) {
            return fd;
        }
        ::close(fd);
    }
    if (failedStep != nullptr) *failedStep = step;
    return -1;
}

// Receives and sends are host calls and so kernel calls: a server that
// finds requests waiting reaches a scheduling point at each one.
int sockRecv(int fd, void* buf, int len, uint32_t* fromIp, uint16_t* fromPort) {
    hk::checkpoint();
    sockaddr_in from;
    socklen_t flen = sizeof from;
    std::memset(&from, 0, sizeof from);
    ssize_t n = ::recvfrom(fd, buf, static_cast<size_t>(len < 0 ? 0 : len), MSG_DONTWAIT,
                           reinterpret_cast<sockaddr*>(&from), &flen);
    if (n < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? SOCK_WOULDBLOCK : SOCK_ERR;
    if (fromIp != nullptr && from.sin_family == AF_INET) *fromIp = ntohl(from.sin_addr.s_addr);
    if (fromPort != nullptr && from.sin_family == AF_INET) *fromPort = ntohs(from.sin_port);
    return static_cast<int>(n);
}

int sockWaitReadable(int fd, int timeoutTicks) {
    int r = hk::waitFd(fd, POLLIN, timeoutTicks);
    if (r < 0) return -1;
    return r != 0 ? 1 : 0;
}

int sockSend(int fd, const void* buf, int len) {
    hk::checkpoint();
    const char* b = static_cast<const char*>(buf);
    int done = 0;
    while (done < len) {
        ssize_t n = ::send(fd, b + done, static_cast<size_t>(len - done), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n >= 0) {
            done += static_cast<int>(n);
        } else if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
            if (hk::waitFd(fd, POLLOUT, -1) < 0) return SOCK_ERR;
        } else {
            return SOCK_ERR;
        }
    }
    return done;
}

int sockSendTo(int fd, const void* buf, int len, uint32_t ip, uint16_t port) {
    hk::checkpoint();
    sockaddr_in to = inetAddr(ip, port);
    for (;;) {
        ssize_t n = ::sendto(fd, buf, static_cast<size_t>(len < 0 ? 0 : len), MSG_NOSIGNAL | MSG_DONTWAIT,
                             reinterpret_cast<sockaddr*>(&to), sizeof to);
        if (n >= 0) return static_cast<int>(n);
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return SOCK_ERR;
        if (hk::waitFd(fd, POLLOUT, -1) < 0) return SOCK_ERR;
    }
}

int sockPeer(int fd, uint32_t* ip, uint16_t* port) {
    sockaddr_in a;
    socklen_t len = sizeof a;
    if (::getpeername(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0 || a.sin_family != AF_INET) return -1;
    *ip = ntohl(a.sin_addr.s_addr);
    *port = ntohs(a.sin_port);
    return 0;
}

int sockSetNonBlocking(int fd, bool on) {
    int fl = ::fcntl(fd, F_GETFL);
    if (fl < 0) return -1;
    fl = on ? (fl | O_NONBLOCK) : (fl & ~O_NONBLOCK);
    return ::fcntl(fd, F_SETFL, fl) == 0 ? 0 : -1;
}

int sockSetOption(int fd, int level, int option, int value) {
    return ::setsockopt(fd, level, option, &value, sizeof value) == 0 ? 0 : -1;
}

int sockMulticast(int fd, bool add, const char* group, const char* iface) {
    ip_mreq m;
    std::memset(&m, 0, sizeof m);
    if (::inet_pton(AF_INET, group, &m.imr_multiaddr) != 1) return -1;
    if (::inet_pton(AF_INET, iface, &m.imr_interface) != 1) return -1;
    int opt = add ? IP_ADD_MEMBERSHIP : IP_DROP_MEMBERSHIP;
    return ::setsockopt(fd, IPPROTO_IP, opt, &m, sizeof m) == 0 ? 0 : -1;
}

int sockMulticastIf(int fd, const char* iface) {
    in_addr a;
    if (::inet_pton(AF_INET, iface, &a) != 1) return -1;
    return ::setsockopt(fd, IPPROTO_IP, IP_MULTICAST_IF, &a, sizeof a) == 0 ? 0 : -1;
}

}  // namespace hostio
