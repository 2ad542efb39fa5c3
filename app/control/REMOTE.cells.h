// Module REMOTE: selection of the remote speed setpoint once enabled, and
// its matching flags (80 ms).
#pragma once

#include "app/control/standin/speedref_rows_standin.h"
#include "runtime/catalogue.h"

#define REMOTE_CELLS(X)                               \
    X(REM_SEL, AND, B, R80, PLAIN)                    \
    X(GO_ACTIV, DELAY, B, R80, PLAIN)                 \
    X(REM_SEL_SW, B_SW, B, R80, PLAIN, R40)           \
    X(REM_SEL_SW, CTRL, B, R80, TUNE(true))           \
    X(IN_CNTRL, AND, B, R80, PLAIN)                   \
    X(LATCH_RMT, ONE_SHOT, B, R80, PLAIN)             \
    X(N_MTCH_RTE, LATCH, B, R80, PLAIN, R40)          \
    X(NOT_ENTR, NOT, B, R80, PLAIN, R160)             \
    REMOTE_STANDIN_ROWS(X)
CAT_MODULE(REMOTE)
