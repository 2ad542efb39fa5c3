// Module MPU: the turbine speed against minimum governor, read by the
// remote-setpoint enable (80 ms).
#pragma once

#include "app/control/standin/speedref_rows_standin.h"
#include "runtime/catalogue.h"

#define MPU_CELLS(X)                                           \
    X(NEAR_MIN, SUBTRACT, A, R80, PLAIN)                       \
    X(SPD_GT_MIN, A_COMPARE, B, R80, PLAIN)                    \
    X(SPD_GT_MIN, A_EQUAL, B, R80, PLAIN)                      \
    X(SPD_GT_MIN, HYSTER, A, R80, TUNE(-100.0, -1e38, 1e38))   \
    X(SPD_GTEQ_MIN, OR, B, R80, PLAIN)                         \
    X(NEAR_IDL, SUBTRACT, A, R80, PLAIN)                       \
    X(SPD_GT_IDL, A_COMPARE, B, R80, PLAIN)                    \
    X(SPD_GT_IDL, A_EQUAL, B, R80, PLAIN)                      \
    X(SPD_GT_IDL, HYSTER, A, R80, TUNE(-5.0, -10.0, 10.0))     \
    X(SPD_GTEQ_IDL, OR, B, R80, PLAIN)                         \
    X(SETPT_MIN, A_COMPARE, B, R80, PLAIN)                     \
    X(SETPT_MIN, A_EQUAL, B, R80, PLAIN)                       \
    X(SPD_LT_IDL, NOT, B, R80, PLAIN)                          \
    X(SPD_LT_MIN, A_COMPARE, B, R80, PLAIN)                    \
    X(SPD_LT_MIN, A_EQUAL, B, R80, PLAIN)                      \
    MPU_STANDIN_ROWS(X)
CAT_MODULE(MPU)

namespace r80 {
// The turbine speed against idle (piece of _R80_TASK_2).
void MPU_idle_compare();
// Minimum governor against the setpoint and the speed (piece of _R80_TASK_22).
void MPU_min_gov_compare();
}  // namespace r80
