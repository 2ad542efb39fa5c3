// Module SERVICE: the service screen's start message, built from the
// start-inhibit display, and the run command as the service screen's
// start-entered flag (80 ms).
#pragma once

#include "app/protection/START_ALM_DSPL.h"
#include "runtime/catalogue.h"

#define SERVICE_CELLS(X)                    \
    SERVICE_START_MSG_ROWS(X)               \
    X(IH_ENTER, B_ACTION, B, R80, PLAIN)    \
    X(IH_ENTER, ACT_OUT, I, R80, PLAIN) \
    X(IH_ENTER, E_TIME, A, R80, PLAIN)  \
    X(IH_ENTER, R_TIME, A, R80, PLAIN)
CAT_MODULE(SERVICE)

namespace r80 {
// The run command shown as entered (piece of _R80_TASK_23, with the trip
// commands).
void SERVICE_start_entered();
}  // namespace r80
