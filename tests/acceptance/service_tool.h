// A service tool on the controller's service port, as a user's PC tool
// speaks to it: handles looked up by name over the wire, log-in, reads and
// writes by handle, the save request and the latched lists. The controller
// drops a session that stays silent for 22 s of its clock, which in
// simulated time may pass between two requests: the tool then connects
// again (and logs in again) and repeats the request.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "tests/support/ports.h"
#include "tests/support/paths.h"

namespace acc_test {

using Bytes = std::vector<uint8_t>;

// Type codes of values on the wire.
constexpr uint8_t kBool = 1, kReal = 32;

inline void put32(Bytes& b, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) b.push_back(uint8_t(v >> s));
}
inline uint32_t get32(const Bytes& b, size_t at) {
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

// One latched-list item: its identifier and the time it latched.
struct ListItem {
    uint16_t id;
    uint32_t seconds;
};

class ServiceTool {
public:
    explicit ServiceTool(int port) : port_(port) { connect(); }
    ~ServiceTool() { drop(); }
    ServiceTool(const ServiceTool&) = delete;
    ServiceTool& operator=(const ServiceTool&) = delete;

    bool ready() const { return fd_ >= 0; }
    int reconnects() const { return reconnects_; }

    // The account log-in (request 0x61): its status byte, and the session's
    // level after it (request 0x62).
    int login(const std::string& user, const std::string& password) {
        user_ = user;
        password_ = password;
        const Bytes r = ask(loginRequest());
        return r.empty() ? -1 : r[0];
    }
    int level() {
        const Bytes r = ask({0x62});
        return r.size() == 2 ? r[1] : -1;
    }

    // Learns every value's handle from the service interface definition:
    // its handle (request 0x20 with "__SID"), its bytes a reply at a time
    // (request 0x2B), decompressed and listed by tests/acceptance/sid_names.py.
    // The number of names learnt.
    size_t learnHandles(const std::string& scratchFile) {
        Bytes req{0x20};
        for (char c : std::string("__SID")) req.push_back(uint8_t(c));
        req.push_back(0);
        const Bytes h = ask(req);
        if (h.size() < 5 || h[0] != 0) return 0;
        const uint32_t sid = get32(h, 1);
        auto readBytes = [&](uint32_t offset, uint32_t mode) {
            Bytes r{0x2B};
            put32(r, sid);
            put32(r, offset);
            put32(r, mode);
            return ask(r);
        };
        const Bytes head = readBytes(0, 0);  // mode 0: the size
        if (head.size() < 5 || head[0] != 0) return 0;
        const uint32_t size = get32(head, 1);
        Bytes bytes;
        while (bytes.size() < size) {
            const Bytes part = readBytes(uint32_t(bytes.size()), 1);
            if (part.size() < 2 || part[0] != 0) return 0;
            bytes.insert(bytes.end(), part.begin() + 1, part.end());
        }
        if (FILE* f = std::fopen(scratchFile.c_str(), "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        const std::string cmd = "/usr/bin/python3 " + tc_test::sourceDir() +
                                "/tests/acceptance/sid_names.py " + scratchFile;
        if (FILE* p = ::popen(cmd.c_str(), "r")) {
            char name[256];
            unsigned long handle = 0;
            while (std::fscanf(p, "%255s %lu", name, &handle) == 2) handles_[name] = uint32_t(handle);
            ::pclose(p);
        }
        return handles_.size();
    }

    // The handle of a named value, 0 when the definition has none.
    uint32_t handle(const std::string& name) const {
        auto it = handles_.find(name);
        return it == handles_.end() ? 0 : it->second;
    }

    // Reads by name: status 0 and the value, or nothing.
    bool readReal(const std::string& name, float& out) {
        const Bytes r = read(name);
        if (r.size() != 5 || r[0] != 0) return false;
        const uint32_t u = get32(r, 1);
        std::memcpy(&out, &u, 4);
        return true;
    }
    float real(const std::string& name) {
        float f = -1e30f;
        readReal(name, f);
        return f;
    }
    int boolean(const std::string& name) {
        const Bytes r = read(name);
        return r.size() == 2 && r[0] == 0 ? r[1] : -1;
    }
    // The state value of latched list `list`: its change counter, read by
    // the state handle the definition gives the list; -1 when the read fails.
    int64_t listState(int list) {
        static const char* const kLists[] = {"", "SHUTDOWNS.ANY", "ALARMS.ANY", "VLTR_ALMS.SUMMARY",
                                             "VLTR_ALMS.TRIP_SUM", "CONF_LATCH.ANY"};
        if (list < 1 || list > 5) return -1;
        Bytes req{0x23};
        put32(req, handle(std::string(kLists[list]) + ":state"));
        const Bytes r = ask(req);
        return r.size() == 5 && r[0] == 0 ? int64_t(get32(r, 1)) : -1;
    }

    Bytes read(const std::string& name) {
        Bytes req{0x23};
        put32(req, handle(name));
        return ask(req);
    }

    // Writes by name; the reply's status byte.
    int writeReal(const std::string& name, float v) {
        uint32_t u;
        std::memcpy(&u, &v, 4);
        Bytes req{0x25};
        put32(req, handle(name));
        req.push_back(kReal);
        put32(req, u);
        return status(ask(req));
    }
    int writeBool(const std::string& name, bool v) {
        Bytes req{0x25};
        put32(req, handle(name));
        req.push_back(kBool);
        req.push_back(v ? 1 : 0);
        return status(ask(req));
    }

    // The save-values request: the tunables file written.
    int save() { return status(ask({0x26})); }

    // Every item of latched list `list` (1 shutdowns, 2 alarms): the size
    // and the items in one array read (request 0x24 with count 0).
    bool latchedList(int list, std::vector<ListItem>& items) {
        Bytes req{0x24};
        put32(req, 0xC0C08000u + uint32_t(list));
        req.insert(req.end(), {0, 0, 0, 0});
        const Bytes r = ask(req);
        items.clear();
        if (r.empty()) return false;
        if (r[0] == 2) return true;  // an empty list has no item to read
        if (r[0] != 0 || (r.size() - 1) % 10 != 0) return false;
        for (size_t at = 1; at < r.size(); at += 10)
            items.push_back({uint16_t(r[at] << 8 | r[at + 1]), get32(r, at + 2)});
        return true;
    }

    // One data request and the payload of its reply; on a lost session the
    // tool connects again (logged in again) and repeats it, up to 3 tries.
    Bytes ask(const Bytes& payload) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            Bytes reply;
            if (fd_ >= 0 && exchange(1, payload, reply)) return reply;
            ++reconnects_;
            drop();
            if (!connect()) continue;
            if (!user_.empty()) {
                Bytes r;
                if (!exchange(1, loginRequest(), r)) continue;
            }
        }
        return {};
    }

private:
    int port_;
    int fd_ = -1;
    int reconnects_ = 0;
    std::string user_, password_;
    std::map<std::string, uint32_t> handles_;

    static int status(const Bytes& r) { return r.empty() ? -1 : r[0]; }

    Bytes loginRequest() const {
        // Built as a string first: GCC 12 at -O3 misreads a vector grown
        // from one element by insert() as an out-of-bounds copy.
        std::string s(1, '\x61');
        s += user_;
        s += '\0';
        s += password_;
        s += '\0';
        return Bytes(s.begin(), s.end());
    }

    // A TCP connection and the session's connect request (type 0), retried
    // for up to 10 s while the listener comes up.
    bool connect() {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < end) {
            bool ok = false;
            fd_ = tc_test::loopbackSocket(SOCK_STREAM, static_cast<uint16_t>(port_), &ok);
            Bytes r;
            if (ok && exchange(0, {0x00}, r)) return true;
            drop();
            ::usleep(20000);
        }
        return false;
    }
    void drop() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

    // A frame of a type byte, a big-endian 16-bit length and the payload;
    // the reply's payload.
    bool exchange(uint8_t type, const Bytes& payload, Bytes& reply) {
        Bytes f{type, uint8_t(payload.size() >> 8), uint8_t(payload.size())};
        f.insert(f.end(), payload.begin(), payload.end());
        if (::send(fd_, f.data(), f.size(), MSG_NOSIGNAL) != ssize_t(f.size())) return false;
        Bytes in;
        while (in.size() < 3 || in.size() < 3u + ((in[1] << 8) | in[2])) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 5000) != 1) return false;
            uint8_t b[4096];
            const ssize_t n = ::recv(fd_, b, sizeof b, 0);
            if (n <= 0) return false;
            in.insert(in.end(), b, b + n);
        }
        reply.assign(in.begin() + 3, in.end());
        return true;
    }
};

}  // namespace acc_test
