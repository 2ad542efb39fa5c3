// Module REMOTE: selection of the remote speed setpoint once enabled, and
// its matching flags (80 ms).
#pragma once

#include "runtime/catalogue.h"

#define REMOTE_CELLS(X)                               \
    X(REM_SEL, AND, B, R80, PLAIN)                    \
    X(GO_ACTIV, DELAY, B, R80, PLAIN)                 \
    X(GO_ACTIV, R_TIME, I, R80, PLAIN)                \
    X(REM_SEL_SW, B_SW, B, R80, PLAIN, R40)           \
    X(REM_SEL_SW, CTRL, B, R80, TUNE(true))           \
    X(IN_CNTRL, AND, B, R80, PLAIN)                   \
    X(LATCH_RMT, ONE_SHOT, B, R80, PLAIN)             \
    X(LATCH_RMT, R_TIME, I, R80, PLAIN)               \
    X(N_MTCH_RTE, LATCH, B, R80, PLAIN, R40)          \
    X(NOT_ENTR, NOT, B, R80, PLAIN, R160)             \
    X(NOT_RMT, NOT, B, R80, PLAIN)                    \
    X(DISABLE, OR, B, R80, PLAIN)                     \
    X(ENTR_ENBL, AND, B, R80, PLAIN)                  \
    X(MATCH_WINDOW, MULTIPLY, A, R80, PLAIN)          \
    X(MATCH_WINDOW, IN_2, A, R80, TUNE(0.005, -0.01, 0.01)) \
    X(HI_MATCH, ADD, A, R80, PLAIN)                   \
    X(LO_MATCH, SUBTRACT, A, R80, PLAIN)              \
    X(MATCH_HI, A_COMPARE, B, R80, PLAIN)             \
    X(MATCH_HI, A_EQUAL, B, R80, PLAIN)               \
    X(MATCH_LO, A_COMPARE, B, R80, PLAIN)             \
    X(MATCH_LO, A_EQUAL, B, R80, PLAIN)               \
    X(ZSEL, ZMINUS1_B, B, R80, PLAIN)                 \
    X(RMT_RATE, A_NAME, A, R160, PLAIN, R40)
CAT_MODULE(REMOTE)

namespace r80 {
// The remote selection's disable and entry enable (piece of _R80_TASK_22).
void REMOTE_selection();
// The window of the remote setpoint in which the speed reference matches
// it (piece of _R80_TASK_22).
void REMOTE_match_window();
}  // namespace r80

namespace r160 {
// The remote setpoint's rate, the configured maximum (piece of _R160_TASK_48).
void REMOTE_rate();
}  // namespace r160
