// Module CASC_SETPT: the cascade setpoint ramp, its limits and targets
// (160 ms derived values, 80 ms ramp).
#pragma once

#include "runtime/catalogue.h"

#define CASC_SETPT_P_LIM(X, N) X(SETPT, P_LIM_##N, B, R80, PLAIN)
#define CASC_SETPT_CELLS(X)                                 \
    X(MIN_SETPT, A_NAME, A, R160, PLAIN, R80)               \
    X(MAX_SETPT, A_NAME, A, R160, PLAIN, R80)               \
    X(NEG_MIN, A_COMPARE, B, R160, PLAIN)                   \
    X(NEG_MIN, A_EQUAL, B, R160, PLAIN)                     \
    X(NEG_OFFSET, A_SW, A, R160, PLAIN)                     \
    X(USE_MIN_SW, B_SW, B, R160, PLAIN)                     \
    X(CASC_MIN_S, A_SW, A, R160, PLAIN, R80)                \
    X(DROOP_LMT, A_LIMITER, A, R160, PLAIN, R80)            \
    X(TRACK_MODE, B_NAME, B, R160, PLAIN, R80)              \
    X(FAST, OR, B, R160, PLAIN, R80)                        \
    X(INST_RATE, OR, B, R80, PLAIN)                         \
    X(ENA_STEP, AND, B, R80, PLAIN)                         \
    X(ENA_STEP, ONE_SHOT, B, R80, PLAIN)                    \
    X(ENA_STEP, R_TIME, I, R80, PLAIN)                      \
    X(ENTRD_SP, OR, B, R160, PLAIN, R80)                    \
    X(ENTRD_SP, IN_3, B, R160, TUNE(false))                 \
    X(SETPT, RAMP, A, R80, PLAIN, R160)                     \
    X(SETPT, REV_RAMP, A, R80, PLAIN)                       \
    X(SETPT, MOVING_UP, B, R80, PLAIN)                      \
    X(SETPT, MOVING_DN, B, R80, PLAIN)                      \
    X(SETPT, POS_SEL, I, R80, PLAIN)                        \
    CASC_SETPT_P_LIM(X, 1) CASC_SETPT_P_LIM(X, 2) CASC_SETPT_P_LIM(X, 3) \
    CASC_SETPT_P_LIM(X, 4) CASC_SETPT_P_LIM(X, 5) CASC_SETPT_P_LIM(X, 6) \
    X(SETPT_Z, ZMINUS1, A, R160, PLAIN)
CAT_MODULE(CASC_SETPT)

namespace r160 {
void CASC_SETPT_limits();   // _R160_TASK_16: range, offset and minimum target
void CASC_SETPT_targets();  // _R160_TASK_17: droop target, tracking, fast rate
}
namespace r80 {
void CASC_SETPT_ramp();     // _R80_TASK_13
}
