// Module IFACE_OUT_SPEED: the speed-control interface outputs.
#pragma once

#include "app/control/standin/speed_rows_standin.h"
#include "runtime/catalogue.h"

#define IFACE_OUT_SPEED_CELLS(X)                                \
    X(SPD_PID_LSS, A_NAME, A, R10, PLAIN)                       \
    X(SPD_PID, A_NAME, A, R10, PLAIN)                           \
    X(SPD_CTRL_DISABLED, B_NAME, B, R10, PLAIN)                 \
    IFACE_OUT_SPEED_STANDIN_ROWS(X)
CAT_MODULE(IFACE_OUT_SPEED)

namespace r10 {
// The interface copies of the speed control (piece of _R10_TASK_8).
void IFACE_OUT_SPEED_copies();
}
