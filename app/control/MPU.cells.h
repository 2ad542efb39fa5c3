// Module MPU: the turbine speed against minimum governor, read by the
// remote-setpoint enable (80 ms), and the speed sensors' range checks
// (160 ms).
#pragma once

#include "app/control/standin/speedref_rows_standin.h"
#include "app/control/standin/control_status_standin.cells.h"
#include "runtime/catalogue.h"

#define MPU_CELLS(X)                                           \
    X(NEAR_MIN, SUBTRACT, A, R80, PLAIN)                       \
    X(SPD_GT_MIN, A_COMPARE, B, R80, PLAIN)                    \
    X(SPD_GT_MIN, A_EQUAL, B, R80, PLAIN)                      \
    X(SPD_GT_MIN, HYSTER, A, R80, TUNE(-100.0, -1e38, 1e38))   \
    X(SPD_GTEQ_MIN, OR, B, R80, PLAIN)                         \
    X(SP2_MN_CHK, A_COMPARE, B, R160, PLAIN)                   \
    X(SP2_MN_CHK, A_EQUAL, B, R160, PLAIN)                     \
    X(SP2_MINERR, AND, B, R160, PLAIN)                         \
    MPU_CHECK_STANDIN_ROWS(X)                                  \
    MPU_STANDIN_ROWS(X)
CAT_MODULE(MPU)

namespace r160 {
// The second speed sensor's failed level against its measurable range
// (_R160_TASK_33).
void MPU_min_speed_check();
}
