// Host settings of the device layer and the tty driver model.
#include "host/hostio.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "host/hostkernel.h"

namespace hostio {

namespace {

std::mutex g_settingsMutex;
int g_portOffset = 0;
std::map<std::string, std::string> g_ttyPaths;
bool g_unmappedTtysOpen = false;
uint32_t g_listenAddress = 0x7F000001u;  // 127.0.0.1

// Input buffer of the tty driver (characters that passed the hook).
constexpr size_t kRxBufSize = 4096;

struct TtyPort {
    int fd = -1;         // -1: a line with nothing connected
    int wakeRead = -1;   // closing writes here to stop the reader
    int wakeWrite = -1;
    std::thread reader;
    std::mutex mu;
    std::condition_variable delivered;
    std::vector<uint8_t> rx;  // kept characters, oldest first
    uint64_t deliveredCount = 0;
    int options = 0;          // line options (echo, tandem)
    int hwOptions = TTY_HW_CS8;  // character size, stop bits, parity as last set
    TtyRxHook hook = nullptr;
    void* hookArg = nullptr;
};

std::mutex g_portsMutex;
std::map<int, std::shared_ptr<TtyPort>> g_ports;
int g_nextHandle = 3;

// Ports still open at exit are closed so that their reader threads end.
struct PortsAtExit {
    ~PortsAtExit();
} g_portsAtExit;

std::shared_ptr<TtyPort> portOf(int h) {
    std::lock_guard<std::mutex> lk(g_portsMutex);
    auto it = g_ports.find(h);
    return it == g_ports.end() ? nullptr : it->second;
}

// Interrupt level: offers each character to the hook and keeps the rest.
void deliver(const std::shared_ptr<TtyPort>& p, const std::vector<uint8_t>& bytes) {
    TtyRxHook hook;
    void* arg;
    {
        std::lock_guard<std::mutex> lk(p->mu);
        hook = p->hook;
        arg = p->hookArg;
    }
    for (uint8_t c : bytes) {
        bool keep = hook == nullptr || hook(arg, c) == 0;
        std::lock_guard<std::mutex> lk(p->mu);
        if (keep && p->rx.size() < kRxBufSize) p->rx.push_back(c);
        ++p->deliveredCount;
    }
    p->delivered.notify_all();
}

// Host thread standing in for the UART: takes bytes off the tty as they come.
void readerLoop(std::shared_ptr<TtyPort> p) {
    for (;;) {
        pollfd fds[2] = {{p->fd, POLLIN, 0}, {p->wakeRead, POLLIN, 0}};
        int r = ::poll(fds, 2, -1);
        if (r < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents != 0) return;
        if (fds[0].revents & (POLLERR | POLLNVAL)) return;
        if (fds[0].revents & POLLHUP && !(fds[0].revents & POLLIN)) {
            // The other side of a pseudo-terminal is gone; wait for it or a close.
            pollfd w = {p->wakeRead, POLLIN, 0};
            if (::poll(&w, 1, 20) != 0) return;
            continue;
        }
        uint8_t buf[512];
        ssize_t n = ::read(p->fd, buf, sizeof buf);
        if (n > 0) {
            std::vector<uint8_t> bytes(buf, buf + n);
            hk::postInterrupt([p, bytes]() { deliver(p, bytes); });
        } else if (n < 0 && errno != EAGAIN && errno != EINTR && errno != EIO) {
            return;
        }
    }
}

speed_t speedOf(int baud) {
    switch (baud) {
    case 110: return B110;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 1800: return B1800;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B0;
    }
}

}  // namespace

void setPortOffset(int offset) {
    std::lock_guard<std::mutex> lk(g_settingsMutex);
    g_portOffset = offset;
}

int portOffset() {
    std::lock_guard<std::mutex> lk(g_settingsMutex);
    return g_portOffset;
}

uint16_t hostPort(uint16_t controllerPort) {
    return static_cast<uint16_t>(controllerPort + portOffset());
}

void setTtyPath(const std::string& deviceName, const std::string& hostPath) {
    std::lock_guard<std::mutex> lk(g_settingsMutex);
    g_ttyPaths[deviceName] = hostPath;
}

std::string ttyPath(const std::string& deviceName) {
    std::lock_guard<std::mutex> lk(g_settingsMutex);
    auto it = g_ttyPaths.find(deviceName);
    return it == g_ttyPaths.end() ? std::string() : it->second;
}

void setUnmappedTtysOpen(bool on) {
    std::lock_guard<std::mutex> lk(g_settingsMutex);
    g_unmappedTtysOpen = on;
}

void setListenAddress(uint32_t ip) {
    std::lock_guard<std::mutex> lk(g_settingsMutex);
    g_listenAddress = ip;
}

uint32_t listenAddress() {
    std::lock_guard<std::mutex> lk(g_settingsMutex);
    return g_listenAddress;
}

int ttyOpen(const std::string& deviceName) {
    std::string path = ttyPath(deviceName);
    auto p = std::make_shared<TtyPort>();
    if (!path.empty()) {
        int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) return -1;
        int wake[2];
        if (::pipe2(wake, O_CLOEXEC) != 0) {
            ::close(fd);
            return -1;
        }
        p->fd = fd;
        p->wakeRead = wake[0];
        p->wakeWrite = wake[1];
        p->reader = std::thread(readerLoop, p);
    } else {
        std::lock_guard<std::mutex> lk(g_settingsMutex);
        if (!g_unmappedTtysOpen) return -1;
    }
    std::lock_guard<std::mutex> lk(g_portsMutex);
    int h = g_nextHandle++;
    g_ports[h] = p;
    return h;
}

int ttyClose(int h) {
    std::shared_ptr<TtyPort> p;
    {
        std::lock_guard<std::mutex> lk(g_portsMutex);
        auto it = g_ports.find(h);
        if (it == g_ports.end()) return -1;
        p = it->second;
        g_ports.erase(it);
    }
    if (p->fd >= 0) {
        char c = 0;
        if (::write(p->wakeWrite, &c, 1) < 0) {
            // The reader also stops when its descriptors go away below.
        }
        if (p->reader.joinable()) p->reader.join();
        ::close(p->fd);
        hk::descriptorClosed();
        ::close(p->wakeRead);
        ::close(p->wakeWrite);
    }
    {
        std::lock_guard<std::mutex> lk(p->mu);
        p->hook = nullptr;
    }
    return 0;
}

namespace {
PortsAtExit::~PortsAtExit() {
    std::vector<int> open;
    {
        std::lock_guard<std::mutex> lk(g_portsMutex);
        for (const auto& kv : g_ports) open.push_back(kv.first);
    }
    for (int h : open) ttyClose(h);
}
}  // namespace

int ttySetBaud(int h, int baud) {
    auto p = portOf(h);
    speed_t sp = speedOf(baud);
    if (!p || sp == B0) return -1;
    if (p->fd < 0) return 0;
    termios t;
    if (::tcgetattr(p->fd, &t) != 0) return -1;
    ::cfsetispeed(&t, sp);
    ::cfsetospeed(&t, sp);
    return ::tcsetattr(p->fd, TCSANOW, &t) == 0 ? 0 : -1;
}

// The hardware options are the driver's own state, as a UART driver keeps
// them, and are also applied to the tty.
int ttyGetHwOptions(int h, int* opts) {
    auto p = portOf(h);
    if (!p) return -1;
    std::lock_guard<std::mutex> lk(p->mu);
    *opts = p->hwOptions;
    return 0;
}

int ttySetHwOptions(int h, int opts) {
    auto p = portOf(h);
    if (!p) return -1;
    {
        std::lock_guard<std::mutex> lk(p->mu);
        p->hwOptions = opts;
    }
    // A pseudo-terminal refuses character formats it cannot have; a real
    // serial line takes them.
    termios t;
    if (p->fd >= 0 && ::tcgetattr(p->fd, &t) == 0) {
        t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARENB | PARODD);
        t.c_cflag |= (opts & TTY_HW_CSIZE) == TTY_HW_CS7 ? CS7 : CS8;
        if (opts & TTY_HW_STOPB) t.c_cflag |= CSTOPB;
        if (opts & TTY_HW_PARENB) t.c_cflag |= PARENB;
        if (opts & TTY_HW_PARODD) t.c_cflag |= PARODD;
        ::tcsetattr(p->fd, TCSANOW, &t);
    }
    return 0;
}

int ttyGetOptions(int h, int* opts) {
    auto p = portOf(h);
    if (!p) return -1;
    std::lock_guard<std::mutex> lk(p->mu);
    *opts = p->options;
    return 0;
}

int ttySetOptions(int h, int opts) {
    auto p = portOf(h);
    if (!p) return -1;
    if (p->fd >= 0) {
        termios t;
        if (::tcgetattr(p->fd, &t) != 0) return -1;
        // Raw input and output always; echo and XON/XOFF as the options say.
        ::cfmakeraw(&t);
        if (opts & TTY_OPT_ECHO) t.c_lflag |= ECHO;
        if (opts & TTY_OPT_TANDEM) t.c_iflag |= IXON | IXOFF;
        if (::tcsetattr(p->fd, TCSANOW, &t) != 0) return -1;
    }
    std::lock_guard<std::mutex> lk(p->mu);
    p->options = opts;
    return 0;
}

int ttySetHook(int h, TtyRxHook hook, void* arg) {
    auto p = portOf(h);
    if (!p) return -1;
    std::lock_guard<std::mutex> lk(p->mu);
    p->hook = hook;
    p->hookArg = arg;
    return 0;
}

int ttyFlush(int h) {
    auto p = portOf(h);
    if (!p) return -1;
    if (p->fd >= 0) ::tcflush(p->fd, TCIOFLUSH);
    std::lock_guard<std::mutex> lk(p->mu);
    p->rx.clear();
    return 0;
}

int ttyNRead(int h) {
    auto p = portOf(h);
    if (!p) return -1;
    std::lock_guard<std::mutex> lk(p->mu);
    return static_cast<int>(p->rx.size());
}

int ttyRead(int h, void* buf, int len) {
    hk::checkpoint();  // a host call: a scheduling point for a reader's loop
    auto p = portOf(h);
    if (!p || len < 0) return -1;
    std::lock_guard<std::mutex> lk(p->mu);
    int n = std::min<int>(len, static_cast<int>(p->rx.size()));
    std::memcpy(buf, p->rx.data(), static_cast<size_t>(n));
    p->rx.erase(p->rx.begin(), p->rx.begin() + n);
    return n;
}

int ttyWrite(int h, const void* buf, int len) {
    hk::checkpoint();  // a host call: a scheduling point for a writer's loop
    auto p = portOf(h);
    if (!p || len < 0) return -1;
    if (p->fd < 0) return len;  // nothing connected: the bytes go nowhere
    const uint8_t* b = static_cast<const uint8_t*>(buf);
    int done = 0;
    while (done < len) {
        ssize_t n = ::write(p->fd, b + done, static_cast<size_t>(len - done));
        if (n > 0) {
            done += static_cast<int>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            if (hk::waitFd(p->fd, POLLOUT, -1) < 0) break;
        } else {
            break;
        }
    }
    return done;
}

bool ttyWaitDelivered(int h, uint64_t total, int timeoutMs) {
    auto p = portOf(h);
    if (!p) return false;
    std::unique_lock<std::mutex> lk(p->mu);
    return p->delivered.wait_for(lk, std::chrono::milliseconds(timeoutMs),
                                 [&] { return p->deliveredCount >= total; });
}

uint64_t ttyDelivered(int h) {
    auto p = portOf(h);
    if (!p) return 0;
    std::lock_guard<std::mutex> lk(p->mu);
    return p->deliveredCount;
}

}  // namespace hostio
