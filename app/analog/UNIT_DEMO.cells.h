// Module UNIT_DEMO: the demonstration sequence. The five-step chart and the
// page it names (80 ms), the step timers (160 ms), demo mode and its start,
// trip and reset pulses (80 ms). Its command list is computed by the
// operator-interface logic (declared here, as the start and speed-reference
// logic read it).
#pragma once

#include "app/interface/MESSAGE.cells.h"
#include "runtime/catalogue.h"

#define UNIT_DEMO_STEP_ROWS(X, S)                                 \
    X(S, ACTIVETIME, A, R80, PLAIN)                               \
    X(S, TRAN_1, B, R80, PLAIN)                                   \
    X(S, TRAN_2, B, R80, PLAIN)

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
    X(ENA_DEMO, ACT_OUT, I, R80, PLAIN)                           \
    X(ENA_DEMO, E_TIME, A, R80, PLAIN)                            \
    X(ENA_DEMO, R_TIME, A, R80, PLAIN)                            \
    X(ENA_DEMO, IN_2, B, R80, TUNE(false))                        \
    X(ENA_DEMO, RST_2, B, R80, TUNE(false))                       \
    X(DEMO_MODE, B_NAME, B, R80, PLAIN)                           \
    X(READY, AND, B, R80, PLAIN)                                  \
    X(DEMO_START, ONE_SHOT, B, R80, PLAIN)                        \
    X(DEMO_START, R_TIME, I, R80, PLAIN)                          \
    X(ENA_TRIP, AND, B, R80, PLAIN)                               \
    X(AT_MAXGOV, DELAY, B, R80, PLAIN)                            \
    X(AT_MAXGOV, R_TIME, I, R80, PLAIN)                           \
    X(AT_MAXGOV, DLY_TIME, A, R80, TUNE(10.0, 1.0, 60.0))         \
    X(DEMO_TRIP, ONE_SHOT, B, R80, PLAIN)                         \
    X(DEMO_TRIP, R_TIME, I, R80, PLAIN)                           \
    X(DEMO_RESET, ONE_SHOT, B, R80, PLAIN)                        \
    X(DEMO_RESET, R_TIME, I, R80, PLAIN)                          \
    X(DEMO_RAZ, AND, B, R80, PLAIN)                               \
    X(GO2_CURV, DELAY, B, R80, PLAIN)                             \
    X(GO2_CURV, R_TIME, I, R80, PLAIN)                            \
    X(GO2_CURV, DLY_TIME, A, R80, TUNE(10.0, 2.0, 30.0))          \
    X(AT_IDLE, AND, B, R80, PLAIN)                                \
    UNIT_DEMO_STEP_ROWS(X, DEMO_STEP1) UNIT_DEMO_STEP_ROWS(X, DEMO_STEP2) \
    UNIT_DEMO_STEP_ROWS(X, DEMO_STEP3) UNIT_DEMO_STEP_ROWS(X, DEMO_STEP4) \
    UNIT_DEMO_STEP_ROWS(X, DEMO_STEP5)                            \
    X(START_DONE, ONE_SHOT, B, R80, PLAIN)                        \
    X(START_DONE, R_TIME, I, R80, PLAIN)                          \
    X(GO2READY, AND, B, R80, PLAIN)                               \
    X(DEMO_PAGES, MSG_SEL, I, R80, PLAIN)                         \
    X(DEMO_PAGES, B_TO_STR, C, R80, PLAIN)                        \
    X(DEMO_PAGE, I_NAME, I, R80, PLAIN)
CAT_MODULE(UNIT_DEMO)

// Block initialisation: the chart starts in its first step.
void UNIT_DEMO_init_blks();

namespace r80 {
// Demo mode (only in simulation) and its start, trip, reset and zeroing
// pulses (piece of _R80_TASK_2).
void UNIT_DEMO_enables();
// At idle once the second step has dwelt its time (piece of _R80_TASK_2).
void UNIT_DEMO_at_idle();
// The chart's transitions and the page to show (piece of _R80_TASK_26).
void UNIT_DEMO_chart();
// The chart's step activations (end of the 80 ms pass, _R80_TASK_30).
void UNIT_DEMO_commit();
// The go-to-minimum delay and the demonstration's command list (piece of
// _R80_TASK_2, after the idle flag).
void UNIT_DEMO_commands();
}  // namespace r80

namespace r160 {
void UNIT_DEMO_timers();
}
