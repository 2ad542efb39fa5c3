// STAND-INS until their subsystems land (see hostio_standins.h). Weak, so
// that the owners' definitions take their place.
#include "host/hostio_standins.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

__attribute__((weak)) uint32_t ApplicationRunning = 0;
__attribute__((weak)) uint32_t PentEthPortIP[8] = {};
__attribute__((weak)) uint32_t PentEthPortNum[8] = {};

__attribute__((weak)) int ZarnRS485Enable(int /*value*/) { return 0; }

__attribute__((weak)) int VKOS_CloseSocket(int fd) {
    if (fd < 3 || fd > 255) return -1;
    ::shutdown(fd, SHUT_RDWR);
    return ::close(fd);
}

__attribute__((weak)) int VKIPGet(int /*iface*/, char* buf) {
    std::strcpy(buf, "127.0.0.1");
    return 0;
}
