#include "tests/support/ports.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>

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
}  // namespace

int pickPortOffset() {
    for (unsigned attempt = 0; attempt < 50; ++attempt) {
        int off = 10000 + static_cast<int>((static_cast<unsigned>(getpid()) * 7u + 1013u * attempt) % 50000u);
        if (portFree(SOCK_STREAM, static_cast<uint16_t>(502 + off)) &&
            portFree(SOCK_STREAM, static_cast<uint16_t>(666 + off)) &&
            portFree(SOCK_DGRAM, static_cast<uint16_t>(5001 + off)) &&
            portFree(SOCK_DGRAM, static_cast<uint16_t>(5002 + off)) &&
            portFree(SOCK_DGRAM, static_cast<uint16_t>(5005 + off)))
            return off;
    }
    return 10000;
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
}  // namespace tc_test
