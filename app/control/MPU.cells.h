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
    MPU_STANDIN_ROWS(X)
CAT_MODULE(MPU)
