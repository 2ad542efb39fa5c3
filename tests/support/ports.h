// A port offset for the controller's TCP/UDP ports (service 666, Modbus 502,
// 5001, 5002, 5005) that no other test process uses now: tests run in
// parallel, so each process picks its own, seeded by its process id.
#pragma once

namespace tc_test {
int pickPortOffset();
}
