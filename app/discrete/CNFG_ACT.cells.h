// Module CNFG_ACT, the parts the discrete logic computes at 10 ms: the
// shutdown request handed to the actuator channel and the display copies of
// the actuator channel's output and readbacks.
#pragma once

#include "app/discrete/standin/discrete_rows_standin.h"
#include "runtime/catalogue.h"

#define CNFG_ACT_CELLS(X) \
    X(SELFPWR_SW, B_SW, B, R10, PLAIN)       \
    X(SELFPWR_SW, NO, B, R10, TUNE(false))   \
    X(ACT_01_DISPLAY, A_NAME, A, R10, PLAIN) \
    X(ACT_01_RDBK, A_NAME, A, R10, PLAIN)    \
    X(ACT_01_SRC, A_NAME, A, R10, PLAIN)     \
    CNFG_ACT_STANDIN_ROWS(X)
CAT_MODULE(CNFG_ACT)

namespace r10 {
// The shutdown request (before the actuator hand-off, sixth slice).
void CNFG_ACT_shutdown_request();
// The display copies (seventh slice).
void CNFG_ACT_displays();
}  // namespace r10
