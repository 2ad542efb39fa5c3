#include "tests/support/ports.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

namespace tc_test {
namespace {
bool portFree(int type, uint16_t port) {
    int fd = socket(AF_INET, type, 0);
    if (fd < 0) return false;
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    sa.sin_addr.s_addr = htonl(INADDR_ANY);
    bool ok = bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0;
    close(fd);
    return ok;
}

// The controller's ports, before the offset.
constexpr uint16_t kTcpPorts[] = {502, 666};
constexpr uint16_t kUdpPorts[] = {5001, 5002, 5005};

// Offsets lie on a grid of 7 from 10000: no two of the five ports differ by
// a multiple of 7, so two offsets of the grid never share a port. The last
// offset keeps every port below the host's range of ephemeral ports, which
// the outgoing connections of all processes draw from.
constexpr int kFirstOffset = 10000, kGrid = 7;

int ephemeralLow() {
    int low = 32768, high = 60999;
    if (FILE* f = std::fopen("/proc/sys/net/ipv4/ip_local_port_range", "r")) {
        if (std::fscanf(f, "%d %d", &low, &high) != 2) low = 32768;
        std::fclose(f);
    }
    return low;
}

// A claim is an exclusive lock on the offset's file in a directory all
// test processes share; the host drops it when the process ends, however it
// ends. A process keeps its last few claims, so that controllers it runs side
// by side get offsets of their own, and gives the oldest up beyond that.
constexpr size_t kClaimsKept = 8;
std::mutex g_claimsMutex;
std::deque<int> g_claims;  // lock descriptors, oldest first

int claim(int offset) {
    static const std::string dir = [] {
        std::string d = std::filesystem::temp_directory_path() / "tc_test_ports";
        ::mkdir(d.c_str(), 01777);
        ::chmod(d.c_str(), 01777);
        return d;
    }();
    const std::string file = dir + "/" + std::to_string(offset);
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool portsFree(int offset) {
    for (uint16_t p : kTcpPorts)
        if (!portFree(SOCK_STREAM, static_cast<uint16_t>(p + offset))) return false;
    for (uint16_t p : kUdpPorts)
        if (!portFree(SOCK_DGRAM, static_cast<uint16_t>(p + offset))) return false;
    return true;
}
}  // namespace

int pickPortOffset() {
    const int slots = (ephemeralLow() - 1 - 5005 - kFirstOffset) / kGrid + 1;
    std::lock_guard<std::mutex> lock(g_claimsMutex);
    // Processes start their search at different places of the grid.
    const int from = static_cast<int>((static_cast<unsigned>(getpid()) * 2654435761u) % static_cast<unsigned>(slots));
    for (int k = 0; k < slots; ++k) {
        const int offset = kFirstOffset + kGrid * ((from + k) % slots);
        const int fd = claim(offset);
        if (fd < 0) continue;
        if (!portsFree(offset)) {
            ::close(fd);
            continue;
        }
        g_claims.push_back(fd);
        if (g_claims.size() > kClaimsKept) {
            ::close(g_claims.front());
            g_claims.pop_front();
        }
        return offset;
    }
    ADD_FAILURE() << "no port offset is free";
    return kFirstOffset;
}

int loopbackSocket(int type, uint16_t port, bool* connected) {
    int fd = socket(AF_INET, type, 0);
    int on = 1;
    if (type == SOCK_STREAM) setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool ok = connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0;
    if (connected != nullptr) *connected = ok;
    return fd;
}
std::vector<int> socketsOnPort(int type, uint16_t port) {
    std::vector<int> found;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator("/proc/self/fd", ec)) {
        const int fd = std::atoi(e.path().filename().c_str());
        int t = 0;
        socklen_t tl = sizeof t;
        sockaddr_in a{};
        socklen_t al = sizeof a;
        if (getsockopt(fd, SOL_SOCKET, SO_TYPE, &t, &tl) != 0 || t != type) continue;
        if (getsockname(fd, reinterpret_cast<sockaddr*>(&a), &al) != 0 || a.sin_family != AF_INET) continue;
        if (ntohs(a.sin_port) == port) found.push_back(fd);
    }
    return found;
}
}  // namespace tc_test
