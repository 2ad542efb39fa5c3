// Stand-ins for interfaces of other subsystems that have not landed yet:
// the runtime's 5 ms clock count and the loader's port offset. Each is
// replaced by its owner's definition when that subsystem lands.
#pragma once

#include <cstdint>

// Runtime: count of 5 ms clock ticks since start (weak stand-in definition).
extern uint32_t sysclock_ticks;

namespace tw_standin {
// Loader: offset added to every TCP/UDP port (stand-in for hostio).
void setPortOffset(int offset);
int portOffset();
}  // namespace tw_standin
