// Module PWR_UP_MSG at 80 ms: the one-second display pulse after the
// power-up delay and the power-up-complete flag a second later.
#pragma once

#include "app/interface/standin/interface_rows_standin.h"
#include "app/remote_io/PWR_UP_MSG_pulses.rows.h"
#include "runtime/catalogue.h"

#define PWR_UP_MSG_CELLS(X)                                       \
    X(INI_DSPLY, ONE_SHOT, B, R80, PLAIN)                         \
    X(INI_DSPLY, R_TIME, I, R80, PLAIN)                           \
    X(PWR_UP_COMPLETE, DELAY, B, R80, PLAIN, R160)                \
    X(PWR_UP_COMPLETE, DLY_TIME, A, R80, TUNE(1.0, 0.1, 600.0))   \
    PWR_UP_MSG_PULSE_ROWS(X)                                      \
    PWR_UP_MSG_STANDIN_ROWS(X)
CAT_MODULE(PWR_UP_MSG)

namespace r80 {
void PWR_UP_MSG_timing();  // piece of _R80_TASK_22
}
