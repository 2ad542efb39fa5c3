// Module MASTER at 160 ms: the configuration window. Channel configuration
// is taken over only while the I/O is locked, for 2.0 s after it is
// unlocked, and during the first 2.0 s after start.
#pragma once

#include "runtime/catalogue.h"

#define MASTER_CELLS(X)                                  \
    X(DLY_OFFDSP, DELAY, B, R160, PLAIN)                 \
    X(DLY_OFFDSP, R_TIME, I, R160, PLAIN)                \
    X(IO_LOCK, B_NAME, B, R160, PLAIN)                   \
    X(PWR_UP_RST_ONE_SHOT, ONE_SHOT, B, R160, PLAIN)     \
    X(PWR_UP_RST_ONE_SHOT, R_TIME, I, R160, PLAIN)       \
    X(IO_LOCK_PWR_UP, OR, B, R160, PLAIN)                \
    X(IO_LOCK_OR_PWR, B_NAME, B, R160, PLAIN)
CAT_MODULE(MASTER)

namespace r160 {
// The I/O-lock off-delay, the power-up one-shot and the window they open.
void MASTER_config_window();
}  // namespace r160
