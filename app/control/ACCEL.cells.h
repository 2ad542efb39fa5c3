// Module ACCEL: the acceleration of the turbine from the two speed sensors,
// filtered, with its held maximum rate and peak. The hold reset comes from
// the 160 ms group.
#pragma once

#include "runtime/catalogue.h"

#define ACCEL_CELLS(X)                                       \
    X(SS1_FLD, B_NAME, B, R10, PLAIN)                        \
    X(SS1_DERIV, A_NAME, A, R10, PLAIN)                      \
    X(SS1_DERIV_USED, A_SW, A, R10, PLAIN)                   \
    X(MPU2_SD_L, B_NAME, B, R10, PLAIN)                      \
    X(SS2_DERIV, A_NAME, A, R10, PLAIN)                      \
    X(SS2_DERIV_USED, A_SW, A, R10, PLAIN)                   \
    X(SS_DERIV_MAX, A_MAX, A, R10, PLAIN)                    \
    X(SS_DERIV_FILT, LAG_TAU, A, R10, TUNE(0.0, 0.0, 0.5))   \
    X(SS_DERIV_FILT, LAG_2, A, R10, PLAIN)                   \
    X(SS_DERIV_FILT, DERIV, A, R10, PLAIN)                   \
    X(ACCEL_PV, A_NAME, A, R10, PLAIN)                       \
    X(ACCEL_HOLD, HSS_BUS, A, R10, PLAIN)                    \
    X(ACCEL_HOLD, SEL_1, B, R10, PLAIN)                      \
    X(ACCEL_HOLD, SEL_2, B, R10, PLAIN)                      \
    X(ACCEL_HOLD, HI_LIM_I, B, R10, PLAIN)                   \
    X(ACCEL_HOLD, LO_LIM_I, B, R10, PLAIN)                   \
    X(HOLD_RST, A_SW, A, R10, PLAIN)                         \
    X(LP_BRKR, ZMINUS1, A, R10, PLAIN)                       \
    X(MAX_RATE, A_NAME, A, R10, PLAIN, R160)                   \
    X(A_MAX, A_MAX, A, R10, PLAIN)                           \
    X(RESET, A_SW, A, R10, PLAIN)                            \
    X(MEM, ZMINUS1, A, R10, PLAIN)                           \
    X(PEAK, A_NAME, A, R10, PLAIN)                           \
    X(RST_HOLD, IN_3, B, R160, TUNE(false))                  \
    X(RST_HOLD, OR, B, R160, PLAIN, R10)
CAT_MODULE(ACCEL)

namespace r10 {
// The acceleration each sensor contributes (pieces of _R10_TASK_1).
void ACCEL_deriv_1();
void ACCEL_deriv_2();
// Filtered acceleration, held maximum rate and peak (piece of _R10_TASK_1).
void ACCEL_accel();
}  // namespace r10

namespace r160 {
// The held maximum rate's reset: the operator's hold reset or the power-up
// reset (piece of _R160_TASK_7).
void ACCEL_reset_hold();
}  // namespace r160
