// Module RMT_SETPT at 80 ms: the remote speed setpoint's first-order filter
// and the deadband the speed reference follows.
#pragma once

#include "app/config/RMT_SETPT_limits.rows.h"
#include "runtime/catalogue.h"

#define RMT_SETPT_CELLS(X)                          \
    X(LAG, LAG_2, A, R80, PLAIN)                    \
    X(LAG, DERIV, A, R80, PLAIN)                    \
    X(RMT_DEAD, A_DEADBAND, A, R80, PLAIN, R40)     \
    X(A_LIMITER, A_LIMITER, A, R80, PLAIN)          \
    RMT_SETPT_LIMIT_ROWS(X)
CAT_MODULE(RMT_SETPT)

namespace r80 {
// The filter and deadband, while the remote setpoint is in use, and the
// switch that zeroes it (pieces of _R80_TASK_22).
void RMT_SETPT_filter();
void RMT_SETPT_switch();
// The remote speed setpoint held to its limits (piece of _R80_TASK_13).
void RMT_SETPT_limiter();
}  // namespace r80
