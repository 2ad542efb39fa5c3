// Module ALARMS, the part computed at 10 ms: the timed override of alarms
// after a latched shutdown clears.
#pragma once

#include "app/discrete/standin/discrete_rows_standin.h"
#include "runtime/catalogue.h"

#define ALARMS_CELLS(X) \
    X(FIRST_OUT, I_NAME, I, R40, PLAIN) \
    X(RST_SD_OVRD, ONE_SHOT, B, R10, PLAIN)               \
    X(RST_SD_OVRD, R_TIME, I, R10, PLAIN)                 \
    X(RST_SD_OVRD, DLY_TIME, A, R10, TUNE(0.2, 0.0, 1.0)) \
    X(OVRD_17, OR, B, R10, PLAIN)                         \
    ALARMS_STANDIN_ROWS(X)
CAT_MODULE(ALARMS)

namespace r10 {
void ALARMS_shutdown_override();
}
