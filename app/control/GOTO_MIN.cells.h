// Module GOTO_MIN: a second start command, or the idle/rated contact at
// standstill, selects rated (80 ms).
#pragma once

#include "runtime/catalogue.h"

#define GOTO_MIN_CELLS(X)                                  \
    X(STRT_CHECK_GO_RATED, AND, B, R80, PLAIN)             \
    X(BI_SET_LATCH, ACT_OUT, I, R80, PLAIN)                \
    X(BI_SET_LATCH, B_ACTION, B, R80, PLAIN)               \
    X(BI_SET_LATCH, E_TIME, A, R80, PLAIN)                 \
    X(BI_SET_LATCH, R_TIME, A, R80, PLAIN)                 \
    X(BI_SET_LATCH, RST_1, B, R80, TUNE(false))            \
    X(SECOND_START_CMD, OR, B, R80, PLAIN)                 \
    X(SECND_START, AND, B, R80, PLAIN)                     \
    X(SECND_START, IN_5, B, R80, TUNE(true))
CAT_MODULE(GOTO_MIN)

namespace r80 {
void GOTO_MIN_second_start();
}
