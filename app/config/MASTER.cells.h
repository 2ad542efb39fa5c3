// Module MASTER at 160 ms: the configuration window. Channel configuration
// is taken over only while the I/O is locked, for 2.0 s after it is
// unlocked, and during the first 2.0 s after start.
#pragma once

#include "runtime/catalogue.h"

#define MASTER_COMMAND_ROWS(X, N)             \
    X(COMMANDS, IN_##N, B, R160, SVC_IN)        \
    X(COMMANDS, OUT_##N, B, R160, PLAIN)

#define MASTER_CELLS(X)                                  \
    X(DLY_OFFDSP, DELAY, B, R160, PLAIN)                 \
    X(DLY_OFFDSP, R_TIME, I, R160, PLAIN)                \
    X(IO_LOCK, B_NAME, B, R160, PLAIN, R80)              \
    X(PWR_UP_RST_ONE_SHOT, ONE_SHOT, B, R160, PLAIN)     \
    X(PWR_UP_RST_ONE_SHOT, R_TIME, I, R160, PLAIN)       \
    X(IO_LOCK_PWR_UP, OR, B, R160, PLAIN)                \
    X(IO_LOCK_OR_PWR, B_NAME, B, R160, PLAIN)           \
    MASTER_COMMAND_ROWS(X, 1) MASTER_COMMAND_ROWS(X, 2) \
    MASTER_COMMAND_ROWS(X, 3) MASTER_COMMAND_ROWS(X, 4) \
    MASTER_COMMAND_ROWS(X, 5) MASTER_COMMAND_ROWS(X, 6)
CAT_MODULE(MASTER)

// The master commands: one-second pulses of the service tool's momentary
// inputs (block initialisation, the service write of IN_n, the pulses).
void MASTER_commands_init_blks();
void MASTER_command_written(int n, uint32_t value);
namespace r160 {
void MASTER_commands();  // piece of _R160_TASK_10
}

namespace r160 {
// The I/O-lock off-delay, the power-up one-shot and the window they open.
void MASTER_config_window();
}  // namespace r160
