// STAND-INS until their subsystems land (see hostio_standins.h). Weak, so
// that the owners' definitions take their place.
#include "host/hostio_standins.h"

#include "platform/send_evt.h"

#include <cstdio>
#include <cstring>

__attribute__((weak)) uint32_t ApplicationRunning = 0;
__attribute__((weak)) uint32_t PentEthPortIP[8] = {};
__attribute__((weak)) uint32_t PentEthPortNum[8] = {};

__attribute__((weak)) int ZarnRS485Enable(int /*value*/) { return 0; }

__attribute__((weak)) int VKIPGet(int /*iface*/, char* buf) {
    std::strcpy(buf, "127.0.0.1");
    return 0;
}

// Application state and event messages: the platform table is not there yet,
// so the texts go to the console.
__attribute__((weak)) int SendAppState(uint32_t state, const char* text) {
    std::printf("app state %u: %s\n", state, text);
    return 1;
}

__attribute__((weak)) int SendAppEvent(uint32_t code, const char* text) {
    std::printf("app event %u: %s\n", code, text);
    return 1;
}
