// Module DROOP: the droop reference switch of the speed deadband and the
// droop lag of the selected valve demand.
#pragma once

#include "runtime/catalogue.h"

#define DROOP_CELLS(X)                                          \
    X(RPM_DB, A_NAME, A, R160, PLAIN)                           \
    X(SW_REF, A_SW, A, R10, PLAIN)                              \
    X(SET_LAG, DIVIDE, A, R10, PLAIN)                           \
    X(SPD_DP_LAG, LAG_2, A, R10, PLAIN)                         \
    X(SPD_DP_LAG, DERIV, A, R10, PLAIN)                         \
    X(DROOP_RPM, MULTIPLY, A, R10, PLAIN, R80)                    \
    X(ACTR_Z, ZMINUS1, A, R10, PLAIN)                           \
    X(Z_SPD, ZMINUS1, A, R10, PLAIN)                            \
    X(ADD_OFSET, ADD, A, R160, PLAIN, R10)                      \
    X(SPD_DB2, CTRL, B, R160, TUNE(false))                      \
    X(SPD_DB2, A_SW, A, R160, PLAIN, R10)                       \
    X(SUB_RPM2, SUBTRACT, A, R160, PLAIN, R10)                  \
    X(LIM_FDBK, A_LIMITER, A, R10, PLAIN)                       \
    /* Nothing in the application writes the switch's control: it stays */ \
    /* false, so the deadband takes the limited speed feedback.          */ \
    X(SW_REF, CTRL, B, R10, PLAIN)
CAT_MODULE(DROOP)

namespace r10 {
// Reference switch of the deadband (piece of _R10_TASK_5).
void DROOP_reference();
// Droop lag of the selected demand (piece of _R10_TASK_8).
void DROOP_lag();
// The delayed speed held between the on-line deadband's offsets from
// minimum and maximum governor (piece of _R10_TASK_4).
void DROOP_feedback_limit();
}  // namespace r10
namespace r160 {
// The on-line deadband's offsets from minimum and maximum governor (piece of
// _R160_TASK_35).
void DROOP_values();
}  // namespace r160
