#include "host/canbus.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace hostcan {

bool Frame::operator==(const Frame& o) const {
    if (id != o.id || len != o.len) return false;
    for (int i = 0; i < len && i < 8; ++i)
        if (data[i] != o.data[i]) return false;
    return true;
}

std::string formatFrame(const Frame& f) {
    static const char hex[] = "0123456789ABCDEF";
    std::string s;
    s.reserve(4 + 2 * 8);
    s += hex[(f.id >> 8) & 0x7];
    s += hex[(f.id >> 4) & 0xF];
    s += hex[f.id & 0xF];
    s += '#';
    for (int i = 0; i < f.len && i < 8; ++i) {
        s += hex[f.data[i] >> 4];
        s += hex[f.data[i] & 0xF];
    }
    return s;
}

static int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool parseFrame(std::string_view line, Frame* out) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const size_t hash = line.find('#');
    if (hash == std::string_view::npos || hash == 0 || hash > 3) return false;
    uint32_t id = 0;
    for (size_t i = 0; i < hash; ++i) {
        const int d = hexDigit(line[i]);
        if (d < 0) return false;
        id = id * 16 + static_cast<uint32_t>(d);
    }
    if (id > 0x7FF) return false;
    const std::string_view data = line.substr(hash + 1);
    if (data.size() % 2 != 0 || data.size() > 16) return false;
    Frame f;
    f.id = id;
    f.len = static_cast<uint8_t>(data.size() / 2);
    for (size_t i = 0; i < f.len; ++i) {
        const int hi = hexDigit(data[2 * i]);
        const int lo = hexDigit(data[2 * i + 1]);
        if (hi < 0 || lo < 0) return false;
        f.data[i] = static_cast<uint8_t>(hi * 16 + lo);
    }
    *out = f;
    return true;
}

Frame makeFrame(uint32_t id, std::initializer_list<uint8_t> bytes) {
    Frame f;
    f.id = id;
    for (uint8_t b : bytes)
        if (f.len < 8) f.data[f.len++] = b;
    return f;
}

// ---- The bus ----

namespace {

struct Participant {
    int id;
    std::string name;
    std::shared_ptr<Receiver> rx;
};
struct DropRule {
    std::function<bool(const Frame&)> match;
    int count;
};

std::mutex busMu;
std::condition_variable busCv;
std::vector<Participant> participants;
int nextParticipant = 1;
std::vector<DropRule> dropRules;
std::vector<std::function<bool(const Frame&)>> delayRules;
std::vector<std::pair<int, Frame>> held;
bool logOn = false;
std::vector<std::string> busLog;
uint64_t carried = 0;

// Under busMu: logs the frame and collects the receivers of every other participant.
std::vector<std::shared_ptr<Receiver>> carryLocked(int from, const Frame& f) {
    std::vector<std::shared_ptr<Receiver>> targets;
    for (const Participant& p : participants)
        if (p.id != from) targets.push_back(p.rx);
    if (logOn) busLog.push_back(formatFrame(f));
    return targets;
}

// Hands the frame to the receivers, then counts it: a frame counts as carried
// once every receiver has it.
void deliver(const std::vector<std::shared_ptr<Receiver>>& targets, const Frame& f) {
    for (const auto& t : targets) (*t)(f);
    {
        std::lock_guard<std::mutex> lk(busMu);
        ++carried;
    }
    busCv.notify_all();
}

}  // namespace

int attach(const std::string& name, Receiver rx) {
    std::lock_guard<std::mutex> lk(busMu);
    const int id = nextParticipant++;
    participants.push_back({id, name, std::make_shared<Receiver>(std::move(rx))});
    return id;
}

void detach(int participant) {
    std::lock_guard<std::mutex> lk(busMu);
    std::erase_if(participants, [&](const Participant& p) { return p.id == participant; });
}

void send(int participant, const Frame& f) {
    std::vector<std::shared_ptr<Receiver>> targets;
    {
        std::lock_guard<std::mutex> lk(busMu);
        for (DropRule& r : dropRules) {
            if (r.count != 0 && r.match(f)) {
                if (r.count > 0) --r.count;
                return;
            }
        }
        for (const auto& d : delayRules) {
            if (d(f)) {
                held.emplace_back(participant, f);
                return;
            }
        }
        targets = carryLocked(participant, f);
    }
    deliver(targets, f);
}

void dropFrames(std::function<bool(const Frame&)> match, int count) {
    std::lock_guard<std::mutex> lk(busMu);
    dropRules.push_back({std::move(match), count});
}

void delayFrames(std::function<bool(const Frame&)> match) {
    std::lock_guard<std::mutex> lk(busMu);
    delayRules.push_back(std::move(match));
}

void releaseDelayed() {
    std::vector<std::pair<int, Frame>> frames;
    {
        std::lock_guard<std::mutex> lk(busMu);
        frames.swap(held);
        delayRules.clear();
    }
    for (const auto& [from, f] : frames) {
        std::vector<std::shared_ptr<Receiver>> targets;
        {
            std::lock_guard<std::mutex> lk(busMu);
            targets = carryLocked(from, f);
        }
        deliver(targets, f);
    }
}

void clearFaults() {
    std::lock_guard<std::mutex> lk(busMu);
    dropRules.clear();
    delayRules.clear();
    held.clear();
}

void enableLog(bool on) {
    std::lock_guard<std::mutex> lk(busMu);
    logOn = on;
}

std::vector<std::string> takeLog() {
    std::lock_guard<std::mutex> lk(busMu);
    std::vector<std::string> out;
    out.swap(busLog);
    return out;
}

uint64_t framesCarried() {
    std::lock_guard<std::mutex> lk(busMu);
    return carried;
}

uint64_t waitFrames(uint64_t n, int timeoutMs) {
    std::unique_lock<std::mutex> lk(busMu);
    busCv.wait_for(lk, std::chrono::milliseconds(timeoutMs), [&] { return carried >= n; });
    return carried;
}

// ---- The bus server ----

namespace {

constexpr size_t kMaxLine = 64;              // longer input without a newline is discarded
constexpr size_t kMaxPendingOut = 1 << 20;   // a client that stops reading loses frames beyond this

struct Client {
    int participant = 0;
    std::string in;
    bool overlong = false;
    std::string out;
};

class BusServer {
public:
    ~BusServer() { stop(); }

    int start(int port) {
        stop();
        int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) return -1;
        int one = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<uint16_t>(port));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd, 16) != 0) {
            ::close(fd);
            return -1;
        }
        socklen_t len = sizeof a;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
        if (::pipe2(wake_, O_NONBLOCK | O_CLOEXEC) != 0) {
            ::close(fd);
            return -1;
        }
        listenFd_ = fd;
        stopping_ = false;
        thread_ = std::thread([this] { run(); });
        return ntohs(a.sin_port);
    }

    void stop() {
        if (!thread_.joinable()) return;
        stopping_ = true;
        wakeUp();
        thread_.join();
        std::map<int, Client> clients;
        {
            std::lock_guard<std::mutex> lk(mu_);
            clients.swap(clients_);
        }
        for (auto& [fd, c] : clients) {
            detach(c.participant);
            ::close(fd);
        }
        ::close(listenFd_);
        ::close(wake_[0]);
        ::close(wake_[1]);
        listenFd_ = -1;
    }

    int clients() {
        std::lock_guard<std::mutex> lk(mu_);
        return static_cast<int>(clients_.size());
    }

private:
    void wakeUp() {
        const char b = 1;
        [[maybe_unused]] ssize_t r = ::write(wake_[1], &b, 1);  // a full pipe already means "wake"
    }

    void queueOut(int fd, const Frame& f) {
        {
            std::lock_guard<std::mutex> lk(mu_);
            auto it = clients_.find(fd);
            if (it == clients_.end() || it->second.out.size() > kMaxPendingOut) return;
            it->second.out += formatFrame(f);
            it->second.out += '\n';
        }
        wakeUp();
    }

    void acceptClients() {
        for (;;) {
            int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (fd < 0) return;
            int one = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            {
                std::lock_guard<std::mutex> lk(mu_);
                clients_[fd] = Client{};
            }
            const int p = attach("tcp", [this, fd](const Frame& f) { queueOut(fd, f); });
            std::lock_guard<std::mutex> lk(mu_);
            clients_[fd].participant = p;
        }
    }

    void dropClient(int fd) {
        int participant = 0;
        {
            std::lock_guard<std::mutex> lk(mu_);
            auto it = clients_.find(fd);
            if (it == clients_.end()) return;
            participant = it->second.participant;
            clients_.erase(it);
        }
        detach(participant);
        ::close(fd);
    }

    // Reads what the client sent and puts each complete line on the bus.
    void readClient(int fd) {
        char buf[4096];
        for (;;) {
            const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
            if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
                dropClient(fd);
                return;
            }
            if (n < 0) return;
            std::vector<Frame> frames;
            int participant = 0;
            {
                std::lock_guard<std::mutex> lk(mu_);
                auto it = clients_.find(fd);
                if (it == clients_.end()) return;
                Client& c = it->second;
                participant = c.participant;
                for (ssize_t i = 0; i < n; ++i) {
                    if (buf[i] == '\n') {
                        Frame f;
                        if (!c.overlong && parseFrame(c.in, &f)) frames.push_back(f);
                        c.in.clear();
                        c.overlong = false;
                    } else if (c.in.size() < kMaxLine) {
                        c.in += buf[i];
                    } else {
                        c.overlong = true;  // discarded up to its newline
                    }
                }
            }
            for (const Frame& f : frames) send(participant, f);
        }
    }

    void writeClient(int fd) {
        std::lock_guard<std::mutex> lk(mu_);
        auto it = clients_.find(fd);
        if (it == clients_.end() || it->second.out.empty()) return;
        const ssize_t n = ::send(fd, it->second.out.data(), it->second.out.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) it->second.out.erase(0, static_cast<size_t>(n));
    }

    void run() {
        while (!stopping_) {
            std::vector<pollfd> fds;
            fds.push_back({listenFd_, POLLIN, 0});
            fds.push_back({wake_[0], POLLIN, 0});
            {
                std::lock_guard<std::mutex> lk(mu_);
                for (const auto& [fd, c] : clients_)
                    fds.push_back({fd, static_cast<short>(POLLIN | (c.out.empty() ? 0 : POLLOUT)), 0});
            }
            if (::poll(fds.data(), fds.size(), -1) < 0) continue;
            if (fds[1].revents & POLLIN) {
                char b[256];
                while (::read(wake_[0], b, sizeof b) > 0) {
                }
            }
            if (fds[0].revents & POLLIN) acceptClients();
            for (size_t i = 2; i < fds.size(); ++i) {
                if (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) readClient(fds[i].fd);
                if (fds[i].revents & POLLOUT) writeClient(fds[i].fd);
            }
        }
    }

    std::mutex mu_;
    std::map<int, Client> clients_;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    int listenFd_ = -1;
    int wake_[2] = {-1, -1};
};

BusServer server;

}  // namespace

int startBusServer(int port) { return server.start(port); }
void stopBusServer() { server.stop(); }
int busClients() { return server.clients(); }

void reset() {
    server.stop();
    std::lock_guard<std::mutex> lk(busMu);
    participants.clear();
    dropRules.clear();
    delayRules.clear();
    held.clear();
    busLog.clear();
    logOn = false;
    carried = 0;
}

}  // namespace hostcan
