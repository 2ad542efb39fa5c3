// Socket calls of the device layer over the host's BSD sockets. Descriptors
// are the target's, mapped to host sockets like file descriptors; host
// sockets are non-blocking and waits go through the host kernel so that the
// calling task gives up the emulated CPU.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "host/hostfs.h"
#include "host/hostio.h"
#include "host/hostkernel.h"

namespace hostio {

namespace {

// The socket devices use the firewall functions: enter them at start-up.
const bool g_firewallRegistered = (registerFirewallFunctions(), true);

std::atomic<BindFailureObserver> g_bindObserver{nullptr};

sockaddr_in inetAddr(uint32_t ip, uint16_t port) {
    sockaddr_in a;
    std::memset(&a, 0, sizeof a);
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(ip);
    return a;
}

// Binds a host socket to hostPort(controllerPort): a TCP listener on the
// listen address, a UDP port on any address (its multicast groups reach
// it only so); a failure goes to the observer.
bool bindPort(int h, const char* protocol, uint16_t controllerPort) {
    const uint16_t port = hostPort(controllerPort);
    const bool tcp = std::strcmp(protocol, "TCP") == 0;
    sockaddr_in a = inetAddr(tcp ? listenAddress() : INADDR_ANY, port);
    if (::bind(h, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) return true;
    const int err = errno;
    if (BindFailureObserver observer = g_bindObserver.load()) observer(protocol, port, err);
    errno = err;
    return false;
}

// Enters a host socket set up as wanted among the target descriptors.
int adoptOrFail(int h, const char** step) {
    const int fd = hostfs::adoptSocket(h);
    if (fd < 0) *step = "descriptor";
    return fd;
}

}  // namespace

void setBindFailureObserver(BindFailureObserver observer) { g_bindObserver.store(observer); }

int sockAdopt(int hostFd) { return hostfs::adoptSocket(hostFd); }

int sockHostFd(int fd) { return hostfs::hostDescriptor(fd); }

int tcpListen(uint16_t controllerPort, int backlog, const char** failedStep) {
    const char* step = "socket";
    const int h = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (h >= 0) {
        int one = 1;
        if ((step = "option", ::setsockopt(h, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one) == 0 &&
                                  ::setsockopt(h, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one) == 0) &&
            (step = "bind", bindPort(h, "TCP", controllerPort)) && (step = "listen", ::listen(h, backlog) == 0))
            return adoptOrFail(h, failedStep != nullptr ? failedStep : &step);
        ::close(h);
    }
    if (failedStep != nullptr) *failedStep = step;
    return -1;
}

int tcpAccept(int fd, uint32_t* peerIp) {
    bool knownListening = false;
    const int lh = hostfs::hostDescriptor(fd, &knownListening);
    if (lh < 0) return SOCK_ERR;
    // Acceptors ask every few passes and mostly find nobody: a look at the
    // socket costs far less than a refused accept, which builds and drops a
    // whole socket in the host. Only a listening socket with nothing to
    // report is answered here; anything else goes on to the accept. Once
    // seen listening, a socket is not asked again: one that stops listening
    // (shut down) reports a hang-up to the look and so reaches the accept.
    // In simulated time the kernel's idle look of every tick looks at a
    // known listening socket as well, and mostly spares even that look.
    if (knownListening && hk::listeningQuiet(lh)) return SOCK_WOULDBLOCK;
    pollfd p{lh, POLLIN, 0};
    if (::poll(&p, 1, 0) == 0) {
        if (knownListening) {
            hk::watchListening(lh);
            return SOCK_WOULDBLOCK;
        }
        int listening = 0;
        socklen_t optLen = sizeof listening;
        if (::getsockopt(lh, SOL_SOCKET, SO_ACCEPTCONN, &listening, &optLen) == 0 && listening != 0) {
            hostfs::noteListening(fd, lh);
            hk::watchListening(lh);
            return SOCK_WOULDBLOCK;
        }
    }
    sockaddr_in peer;
    socklen_t len = sizeof peer;
    std::memset(&peer, 0, sizeof peer);
    const int h = ::accept4(lh, reinterpret_cast<sockaddr*>(&peer), &len, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (h < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? SOCK_WOULDBLOCK : SOCK_ERR;
    // Every reply is a whole frame written at once: send it without delay.
    int one = 1;
    if (::setsockopt(h, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one) != 0) {
        ::close(h);
        return SOCK_ERR;
    }
    if (peerIp != nullptr) *peerIp = ntohl(peer.sin_addr.s_addr);
    const int t = hostfs::adoptSocket(h);
    return t < 0 ? SOCK_ERR : t;
}

int sockSendSome(int fd, const void* buf, int len) {
    const int h = sockHostFd(fd);
    if (h < 0) return SOCK_ERR;
    ssize_t n = ::send(h, buf, static_cast<size_t>(len < 0 ? 0 : len), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n >= 0) return static_cast<int>(n);
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? SOCK_WOULDBLOCK : SOCK_ERR;
}

int sockBytesWaiting(int fd) {
    const int h = sockHostFd(fd);
    int n = 0;
    if (h < 0 || ::ioctl(h, FIONREAD, &n) < 0) return -1;
    return n;
}

bool sockPeerClosed(int fd) {
    const int h = sockHostFd(fd);
    if (h < 0) return true;
    pollfd p{h, static_cast<short>(POLLIN | POLLRDHUP), 0};
    if (::poll(&p, 1, 0) <= 0) return false;
    return (p.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL)) != 0;
}

void sockAbort(int fd) {
    const int h = sockHostFd(fd);
    if (h < 0) return;
    linger l{1, 0};
    ::setsockopt(h, SOL_SOCKET, SO_LINGER, &l, sizeof l);
    ::shutdown(h, SHUT_RDWR);
    hostfs::socketClose(fd);
}

int udpOpen(uint16_t controllerPort, int rcvBuf, int sndBuf, const char** failedStep) {
    const char* step = "socket";
    const int h = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (h >= 0) {
        int one = 1;
        if ((step = "rcvbuf", ::setsockopt(h, SOL_SOCKET, SO_RCVBUF, &rcvBuf, sizeof rcvBuf) == 0) &&
            (step = "sndbuf", ::setsockopt(h, SOL_SOCKET, SO_SNDBUF, &sndBuf, sizeof sndBuf) == 0) &&
            (step = "broadcast", ::setsockopt(h, SOL_SOCKET, SO_BROADCAST, &one, sizeof one) == 0) &&
            (step = "bind", bindPort(h, "UDP", controllerPort)))
            return adoptOrFail(h, failedStep != nullptr ? failedStep : &step);
        ::close(h);
    }
    if (failedStep != nullptr) *failedStep = step;
    return -1;
}

// Receives and sends are host calls and so kernel calls: a server that
// finds requests waiting reaches a scheduling point at each one.
int sockRecv(int fd, void* buf, int len, uint32_t* fromIp, uint16_t* fromPort) {
    hk::checkpoint();
    const int h = sockHostFd(fd);
    if (h < 0) return SOCK_ERR;
    sockaddr_in from;
    socklen_t flen = sizeof from;
    std::memset(&from, 0, sizeof from);
    ssize_t n = ::recvfrom(h, buf, static_cast<size_t>(len < 0 ? 0 : len), MSG_DONTWAIT,
                           reinterpret_cast<sockaddr*>(&from), &flen);
    if (n < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? SOCK_WOULDBLOCK : SOCK_ERR;
    if (fromIp != nullptr && from.sin_family == AF_INET) *fromIp = ntohl(from.sin_addr.s_addr);
    if (fromPort != nullptr && from.sin_family == AF_INET) *fromPort = ntohs(from.sin_port);
    return static_cast<int>(n);
}

int sockWaitReadable(int fd, int timeoutTicks) {
    const int h = sockHostFd(fd);
    if (h < 0) return -1;
    int r = hk::waitFd(h, POLLIN, timeoutTicks);
    if (r < 0) return -1;
    return r != 0 ? 1 : 0;
}

int sockSend(int fd, const void* buf, int len) {
    hk::checkpoint();
    const int h = sockHostFd(fd);
    if (h < 0) return SOCK_ERR;
    const char* b = static_cast<const char*>(buf);
    int done = 0;
    while (done < len) {
        const int n = sockSendSome(fd, b + done, len - done);
        if (n >= 0) {
            done += n;
        } else if (n == SOCK_WOULDBLOCK) {
            if (hk::waitFd(h, POLLOUT, -1) < 0) return SOCK_ERR;
        } else {
            return SOCK_ERR;
        }
    }
    return done;
}

int sockSendTo(int fd, const void* buf, int len, uint32_t ip, uint16_t port) {
    hk::checkpoint();
    const int h = sockHostFd(fd);
    if (h < 0) return SOCK_ERR;
    sockaddr_in to = inetAddr(ip, port);
    for (;;) {
        ssize_t n = ::sendto(h, buf, static_cast<size_t>(len < 0 ? 0 : len), MSG_NOSIGNAL | MSG_DONTWAIT,
                             reinterpret_cast<sockaddr*>(&to), sizeof to);
        if (n >= 0) return static_cast<int>(n);
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return SOCK_ERR;
        if (hk::waitFd(h, POLLOUT, -1) < 0) return SOCK_ERR;
    }
}

int sockPeer(int fd, uint32_t* ip, uint16_t* port) {
    sockaddr_in a;
    socklen_t len = sizeof a;
    const int h = sockHostFd(fd);
    if (h < 0 || ::getpeername(h, reinterpret_cast<sockaddr*>(&a), &len) != 0 || a.sin_family != AF_INET) return -1;
    *ip = ntohl(a.sin_addr.s_addr);
    *port = ntohs(a.sin_port);
    return 0;
}

int sockSetNonBlocking(int fd, bool on) {
    const int h = sockHostFd(fd);
    if (h < 0) return -1;
    int fl = ::fcntl(h, F_GETFL);
    if (fl < 0) return -1;
    fl = on ? (fl | O_NONBLOCK) : (fl & ~O_NONBLOCK);
    return ::fcntl(h, F_SETFL, fl) == 0 ? 0 : -1;
}

int sockMulticast(int fd, bool add, const char* group, const char* iface) {
    ip_mreq m;
    std::memset(&m, 0, sizeof m);
    if (::inet_pton(AF_INET, group, &m.imr_multiaddr) != 1) return -1;
    if (::inet_pton(AF_INET, iface, &m.imr_interface) != 1) return -1;
    int opt = add ? IP_ADD_MEMBERSHIP : IP_DROP_MEMBERSHIP;
    const int h = sockHostFd(fd);
    return h >= 0 && ::setsockopt(h, IPPROTO_IP, opt, &m, sizeof m) == 0 ? 0 : -1;
}

int sockMulticastIf(int fd, const char* iface) {
    in_addr a;
    if (::inet_pton(AF_INET, iface, &a) != 1) return -1;
    const int h = sockHostFd(fd);
    return h >= 0 && ::setsockopt(h, IPPROTO_IP, IP_MULTICAST_IF, &a, sizeof a) == 0 ? 0 : -1;
}

}  // namespace hostio
