// Module HP_MAN_RAMP: the manual valve demand, its gate into the low-signal
// select and its ramp; with the manual-enable, manual-interface cells it
// reads and writes.
#pragma once

#include "app/control/standin/speed_rows_standin.h"
#include "runtime/catalogue.h"

#define HP_MAN_RAMP_CELLS(X)                                    \
    X(MAN_CTRL_NOT, NOT, B, R10, PLAIN)                         \
    X(DIS_AND, AND, B, R10, PLAIN)                              \
    X(MAN_DMD_SW, A_SW, A, R10, PLAIN)                          \
    X(MAN_DMD_Z, ZMINUS1, A, R10, PLAIN)                        \
    X(SOFT_DIS_AND, AND, B, R10, PLAIN)                         \
    X(SOFT_DIS, B_NAME, B, R10, PLAIN)                          \
    X(TRACK, B_NAME, B, R10, PLAIN)                             \
    X(MAN_DMD, RAMP, A, R10, PLAIN)                             \
    X(MAN_DMD, REV_RAMP, A, R10, PLAIN)                         \
    X(MAN_DMD, MOVING_UP, B, R10, PLAIN)                        \
    X(MAN_DMD, MOVING_DN, B, R10, PLAIN)                        \
    X(MAN_DMD, POS_SEL, I, R10, PLAIN)                          \
    X(MAN_DMD, P_LIM_1, B, R10, PLAIN)                          \
    X(MAN_DMD, P_LIM_2, B, R10, PLAIN)                          \
    X(MAN_DMD, P_LIM_3, B, R10, PLAIN)                          \
    X(MAN_DMD, P_LIM_4, B, R10, PLAIN)                          \
    X(MAN_DMD, P_LIM_5, B, R10, PLAIN)                          \
    X(P_LIM_4_Z, ZMINUS1_B, B, R10, PLAIN)                      \
    HP_MAN_RAMP_STANDIN_ROWS(X)
CAT_MODULE(HP_MAN_RAMP)

#define HP_MAN_ENBL_CELLS(X)                                    \
    X(DISABLED, NOT, B, R10, PLAIN)                             \
    HP_MAN_ENBL_STANDIN_ROWS(X)
CAT_MODULE(HP_MAN_ENBL)

#define IFACE_IN_HP_MAN_CELLS(X)                                \
    X(MAN_CTRL, B_NAME, B, R10, PLAIN)                          \
    X(LSS_OUT, A_NAME, A, R10, PLAIN)                           \
    IFACE_IN_HP_MAN_STANDIN_ROWS(X)
CAT_MODULE(IFACE_IN_HP_MAN)

#define IFACE_OUT_HP_MAN_CELLS(X) \
    X(MAN_OUT, A_NAME, A, R10, PLAIN) X(DIS_TIMEOUT, I_NAME, I, R160, PLAIN) IFACE_OUT_HP_MAN_STANDIN_ROWS(X)
CAT_MODULE(IFACE_OUT_HP_MAN)

namespace r10 {
// The manual demand gate into the select (piece of _R10_TASK_5).
void HP_MAN_RAMP_gate();
// The manual demand ramp (piece of _R10_TASK_8).
void HP_MAN_RAMP_ramp();
}  // namespace r10
