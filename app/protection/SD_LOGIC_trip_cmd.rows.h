// Rows of module SD_LOGIC (listed in app/control/SD_LOGIC.cells.h) for the
// trip commands computed at 80 ms with the reset logic: the delayed keypad
// trip, the remote trip with its local inhibit and delay, the trip command
// and trip 27.
#pragma once

#define SD_LOGIC_TRIP_CMD_ROWS(X)                        \
    X(DELAY, DLY_TIME, A, R80, TUNE(2.0, 0.0, 60.0))     \
    X(DELAY, DELAY, B, R80, PLAIN, R10)                  \
    X(DELAY, R_TIME, I, R80, PLAIN)                      \
    X(NOT_LOCAL, NOT, B, R80, PLAIN)                     \
    X(INHIB_RMT, DELAY, B, R80, PLAIN)                   \
    X(INHIB_RMT, R_TIME, I, R80, PLAIN)                  \
    X(RMT_TRIP, IN, B, R80, TUNE(false))                 \
    X(RMT_TRIP, B_NAME, B, R80, PLAIN)                   \
    X(ENA_RV_TRIP, AND, B, R80, PLAIN)                   \
    X(RV_DELAY, DLY_TIME, A, R80, TUNE(2.0, 0.0, 60.0))  \
    X(RV_DELAY, DELAY, B, R80, PLAIN)                    \
    X(RV_DELAY, R_TIME, I, R80, PLAIN)                   \
    X(RV_TRIP, B_SW, B, R80, PLAIN)                      \
    X(RMT_TRIP_OR, OR, B, R80, PLAIN)                    \
    X(TRIP_CMD, B_SW, B, R80, PLAIN, R160)

namespace r80 {
// The trip commands and trip 27 (piece of _R80_TASK_23, after the reset
// logic).
void SD_LOGIC_trip_commands();
}  // namespace r80
