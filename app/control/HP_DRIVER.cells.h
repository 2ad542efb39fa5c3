// Module HP_DRIVER: the low-signal select of the speed PID, valve limiter,
// manual and trip demands, the forward/reverse scaling and the stroke switch.
#pragma once

#include "runtime/catalogue.h"

#define HP_DRIVER_CELLS(X)                                      \
    X(YES_PLS, ONE_SHOT, B, R80, PLAIN, R160)                   \
    X(YES_PLS, R_TIME, I, R80, PLAIN)                           \
    X(TRIP, A_SW, A, R10, PLAIN)                                \
    X(ACT_LSS, LSS_BUS, A, R10, PLAIN)                          \
    X(ACT_LSS, SEL_1, B, R10, PLAIN)                            \
    X(ACT_LSS, SEL_2, B, R10, PLAIN)                            \
    X(ACT_LSS, SEL_3, B, R10, PLAIN)                            \
    X(ACT_LSS, SEL_4, B, R10, PLAIN)                            \
    X(ACT_LSS, HI_LIM_I, B, R10, PLAIN)                         \
    X(ACT_LSS, LO_LIM_I, B, R10, PLAIN)                         \
    X(HP_MAX, A_MIN, A, R10, PLAIN, R160)                       \
    X(FORWRD_REV, PROP, A, R10, PLAIN)                          \
    X(STRK_SW, A_SW, A, R10, PLAIN)                             \
    X(HP_ACT, A_NAME, A, R10, PLAIN)                            \
    X(LSS_SEL_3_Z, ZMINUS1_B, B, R10, PLAIN)                    \
    X(ENBL_STRK, AND, B, R160, PLAIN)                           \
    X(RST_STRK, OR, B, R160, PLAIN)                             \
    X(STRK_LTCH, LATCH_R, B, R160, PLAIN, R10)                  \
    X(REV_GAIN, A_SW, A, R160, PLAIN, R10)                      \
    X(REV_SP, A_SW, A, R160, PLAIN, R10)
CAT_MODULE(HP_DRIVER)

namespace r80 {
// The stroke pulse of the HP driver (piece of _R80_TASK_18).
void HP_DRIVER_stroke();
}
namespace r160 {
// The forward/reverse scaling's gain and offset and the HP stroke latch
// (piece of _R160_TASK_35).
void HP_DRIVER_forward_reverse();
void HP_DRIVER_stroke_latch();
}
namespace r10 {
// Trip demand, low-signal select, scaling and stroke switch (pieces of
// _R10_TASK_5).
void HP_DRIVER_trip();
void HP_DRIVER_select();
void HP_DRIVER_scaling();
}  // namespace r10
