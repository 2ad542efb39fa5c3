// Module CRIT_SPD: the 10 ms critical-band detection of the turbine speed.
#pragma once

#include "app/control/standin/speed_rows_standin.h"
#include "runtime/catalogue.h"

#define CRIT_SPD_CELLS(X)                                       \
    X(SPD_MAX1, A_COMPARE, B, R10, PLAIN)                       \
    X(SPD_MAX1, A_EQUAL, B, R10, PLAIN)                         \
    X(SPD_MIN1, A_COMPARE, B, R10, PLAIN)                       \
    X(SPD_MIN1, A_EQUAL, B, R10, PLAIN)                         \
    X(CRIT_PROB1, AND, B, R10, PLAIN)                           \
    X(CRIT, OR, B, R10, PLAIN)                                  \
    CRIT_SPD_STANDIN_ROWS(X)
CAT_MODULE(CRIT_SPD)

namespace r10 {
// The critical band (first piece of the speed control in _R10_TASK_8).
void CRIT_SPD_band();
}
