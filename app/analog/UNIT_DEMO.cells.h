// Module UNIT_DEMO: the step timers of the demonstration sequence (160 ms).
// The sequence's steps are computed by the demo chart of the 80 ms group
// (not built yet: their cells are declared here, as the timers read them;
// so are its commands, which the start and speed-reference logic read).
#pragma once

#include "app/protection/standin/protection_rows_standin.h"
#include "runtime/catalogue.h"

#define UNIT_DEMO_TIMER_ROWS(X, D)                                \
    X(D, DLY_TIME, A, R160, TUNE(10.0, 0.0, 3600.0))              \
    X(D, DELAY, B, R160, PLAIN)                                   \
    X(D, R_TIME, I, R160, PLAIN)
#define UNIT_DEMO_CELLS(X)                                        \
    UNIT_DEMO_PROT_STANDIN_ROWS(X) \
    X(DEMO_STEP1, SFC_STEP, B, R80, PLAIN, R160)                  \
    X(B_CMDS, LIST_1, B, R80, PLAIN)                              \
    X(B_CMDS, LIST_4, B, R80, PLAIN)                              \
    X(B_CMDS, LIST_5, B, R80, PLAIN)                              \
    X(DEMO_STEP3, SFC_STEP, B, R80, PLAIN, R160)                  \
    X(DEMO_STEP4, SFC_STEP, B, R80, PLAIN, R160)                  \
    X(DEMO_STEP5, SFC_STEP, B, R80, PLAIN, R160)                  \
    UNIT_DEMO_TIMER_ROWS(X, DELAY) UNIT_DEMO_TIMER_ROWS(X, DELAY3) \
    UNIT_DEMO_TIMER_ROWS(X, DELAY4) UNIT_DEMO_TIMER_ROWS(X, DELAY5)
CAT_MODULE(UNIT_DEMO)

namespace r160 {
void UNIT_DEMO_timers();
}
