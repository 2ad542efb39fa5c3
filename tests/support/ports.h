// A port offset for the controller's TCP/UDP ports (service 666, Modbus 502,
// 5001, 5002, 5005) that no other test process uses: tests run in parallel,
// so each offset is claimed for the process that picked it (see ports.cpp).
#pragma once

#include <cstdint>
#include <vector>

namespace tc_test {
int pickPortOffset();
// A TCP (segments sent at once) or UDP socket connected to 127.0.0.1:port;
// connected reports whether the connect succeeded.
int loopbackSocket(int type, uint16_t port, bool* connected = nullptr);
// The sockets of this process (the controller's, in simulated time) of the
// type bound to host port `port`: for SOCK_STREAM the listener and every
// connection it accepted.
std::vector<int> socketsOnPort(int type, uint16_t port);
}
