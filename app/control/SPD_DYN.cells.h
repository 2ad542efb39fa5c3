// Module SPD_DYN: the offline and online gain sets of the speed PID as
// sampled tunables (160 ms), the acceptance of tuned gains and the speed
// step test target computed with the reference ramp (40 ms).
#pragma once

#include "runtime/catalogue.h"

#define SPD_DYN_SET(X, S, DEF, LO, HI)                          \
    X(S, TUNE, A, R160, TUNE(DEF, LO, HI))                      \
    X(S, SAMP_TUNE, A, R160, PLAIN, R10)                        \
    X(S, LIMITED, B, R160, PLAIN)                               \
    X(S, EN_ENT_OUT, B, R160, PLAIN)                            \
    X(S, LO_LIM_OUT, A, R160, PLAIN)                            \
    X(S, HI_LIM_OUT, A, R160, PLAIN)

#define SPD_DYN_CELLS(X)                                        \
    SPD_DYN_SET(X, P_OFFLINE, 5.0, 0.0, 100.0)                  \
    SPD_DYN_SET(X, I_OFFLINE, 0.5, 0.0099, 50.0)                \
    SPD_DYN_SET(X, D_OFFLINE, 5.0, 0.0099, 100.0)               \
    SPD_DYN_SET(X, P_ONLINE, 5.0, 0.0, 100.0)                   \
    SPD_DYN_SET(X, I_ONLINE, 0.5, 0.0099, 50.0)                 \
    SPD_DYN_SET(X, D_ONLINE, 5.0, 0.0099, 100.0)                \
    X(OPTI_CMPLT, IN_2, I, R40, TUNE(16, 7, 20))                \
    X(OPTI_CMPLT, EQ, B, R40, PLAIN)                            \
    X(OPTI_CMPLT, LT, B, R40, PLAIN)                            \
    X(OPTI_CMPLT, GT, B, R40, PLAIN)                            \
    X(ACPT_OFFLINE, AND, B, R40, PLAIN, R160)                   \
    X(USE_ONLINE, AND, B, R40, PLAIN, R160)                     \
    X(RST_OPTI, OR, B, R40, PLAIN)                              \
    X(OPTI_OFF, DELAY, B, R40, PLAIN, R80)                      \
    X(OPTI_OFF, R_TIME, I, R40, PLAIN)                          \
    X(I_TO_AN, OUT_1, A, R40, PLAIN)                            \
    X(ADD_STEP, ADD, A, R40, PLAIN)                             \
    X(STEP_SP_LMT, A_LIMITER, A, R40, PLAIN)
CAT_MODULE(SPD_DYN)

namespace r40 {
// Acceptance of the tuned gains (piece of _R40_TASK_8).
void SPD_DYN_accept();
}
namespace r160 {
// The six sampled gain settings (piece of _R160_TASK_49).
void SPD_DYN_settings();
}
