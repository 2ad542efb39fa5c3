// Module UNIT_DEMO: the step timers of the demonstration sequence (160 ms).
// The sequence's steps are computed by the demo chart of the 80 ms group
// (not built yet: their cells are declared here, as the timers read them;
// so are its commands, which the start and speed-reference logic read).
#pragma once

#include "app/protection/standin/protection_rows_standin.h"
#include "runtime/catalogue.h"

#define UNIT_DEMO_TIMER_ROWS(X, D)                                \
    X(D, DLY_TIME, A, R160, TUNE(10.0, 0.0, 3600.0))              \
    X(D, DELAY, B, R160, PLAIN, R80)                              \
    X(D, R_TIME, I, R160, PLAIN)
#define UNIT_DEMO_CELLS(X)                                        \
    X(DEMO_STEP1, SFC_STEP, B, R80, PLAIN, R160)                  \
    X(B_CMDS, LIST_1, B, R80, PLAIN)                              \
    X(B_CMDS, LIST_2, B, R80, PLAIN, R160)                        \
    X(B_CMDS, LIST_3, B, R80, PLAIN)                              \
    X(GO_MINGOV, DELAY, B, R80, PLAIN)                            \
    X(GO_MINGOV, DLY_TIME, A, R80, TUNE(10.0, 2.0, 120.0))        \
    X(GO_MINGOV, R_TIME, I, R80, PLAIN)                           \
    X(B_CMDS, LIST_4, B, R80, PLAIN)                              \
    X(B_CMDS, LIST_5, B, R80, PLAIN)                              \
    X(DEMO_STEP3, SFC_STEP, B, R80, PLAIN, R160)                  \
    X(DEMO_STEP4, SFC_STEP, B, R80, PLAIN, R160)                  \
    X(DEMO_STEP5, SFC_STEP, B, R80, PLAIN, R160)                  \
    UNIT_DEMO_TIMER_ROWS(X, DELAY) UNIT_DEMO_TIMER_ROWS(X, DELAY3) \
    UNIT_DEMO_TIMER_ROWS(X, DELAY4) UNIT_DEMO_TIMER_ROWS(X, DELAY5) \
    X(DEMO_STEP2, SFC_STEP, B, R80, PLAIN)                        \
    X(NOT_IN_SIM, NOT, B, R80, PLAIN)                             \
    X(ENA_DEMO, B_ACTION, B, R80, PLAIN)                          \
    X(ENA_DEMO, IN_2, B, R80, TUNE(false))                        \
    X(ENA_DEMO, RST_2, B, R80, TUNE(false))                       \
    X(DEMO_MODE, B_NAME, B, R80, PLAIN)                           \
    X(READY, AND, B, R80, PLAIN)                                  \
    X(DEMO_START, ONE_SHOT, B, R80, PLAIN)                        \
    X(DEMO_START, R_TIME, I, R80, PLAIN)                          \
    X(ENA_TRIP, AND, B, R80, PLAIN)                               \
    X(AT_MAXGOV, DELAY, B, R80, PLAIN)                            \
    X(AT_MAXGOV, DLY_TIME, A, R80, TUNE(10.0, 1.0, 60.0))         \
    X(DEMO_TRIP, ONE_SHOT, B, R80, PLAIN)                         \
    X(DEMO_TRIP, R_TIME, I, R80, PLAIN)                           \
    X(DEMO_RESET, ONE_SHOT, B, R80, PLAIN)                        \
    X(DEMO_RESET, R_TIME, I, R80, PLAIN)                          \
    X(DEMO_RAZ, AND, B, R80, PLAIN)                               \
    X(GO2_CURV, DELAY, B, R80, PLAIN)                             \
    X(GO2_CURV, DLY_TIME, A, R80, TUNE(10.0, 2.0, 30.0))          \
    X(AT_IDLE, AND, B, R80, PLAIN)
CAT_MODULE(UNIT_DEMO)

namespace r80 {
// Demo mode (only in simulation) and its start, trip, reset and zeroing
// pulses (piece of _R80_TASK_2).
void UNIT_DEMO_enables();
// At idle once the second step has dwelt its time (piece of _R80_TASK_2).
void UNIT_DEMO_at_idle();
// The go-to-minimum delay and the demonstration's command list (piece of
// _R80_TASK_2, after the idle flag).
void UNIT_DEMO_commands();
}  // namespace r80

namespace r160 {
void UNIT_DEMO_timers();
}
