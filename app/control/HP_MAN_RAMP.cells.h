// Module HP_MAN_RAMP: the manual valve demand, its gate into the low-signal
// select and its ramp; with the manual-enable, manual-interface cells it
// reads and writes.
#pragma once

#include "runtime/catalogue.h"

#define HP_MAN_RAMP_CELLS(X)                                    \
    X(MAN_CTRL_NOT, NOT, B, R10, PLAIN)                         \
    X(DIS_AND, AND, B, R10, PLAIN)                              \
    X(MAN_DMD_SW, A_SW, A, R10, PLAIN)                          \
    X(MAN_DMD_Z, ZMINUS1, A, R10, PLAIN, R160)                  \
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
    X(P_LIM_4_Z, ZMINUS1_B, B, R10, PLAIN, R160)                \
    X(RSE_CMD, B_NAME, B, R160, PLAIN)                          \
    X(LWR_CMD, B_NAME, B, R160, PLAIN)                          \
    X(RSE_CMD_NOT, NOT, B, R160, PLAIN)                         \
    X(LWR_CMD_NOT, NOT, B, R160, PLAIN)                         \
    X(GOTO_OS, TRIGGER, B, R160, TUNE(false))                   \
    X(GOTO_OS, DLY_TIME, A, R160, TUNE(0.32, 0.0, 5.0))         \
    X(GOTO_OS, ONE_SHOT, B, R160, PLAIN)                        \
    X(GOTO_OS, R_TIME, I, R160, PLAIN)                          \
    X(GOTO_CMD, B_ACTION, B, R160, PLAIN, R10)                  \
    X(GOTO_CMD, ACT_OUT, I, R160, PLAIN)                        \
    X(GOTO_CMD, E_TIME, A, R160, PLAIN)                         \
    X(GOTO_CMD, R_TIME, A, R160, PLAIN)                         \
    X(GOTO_CMD, ACT_Q, I, R160, TUNE(2, 1, 8))                  \
    X(RAISE, B_ACTION, B, R160, PLAIN, R10)                     \
    X(RAISE, ACT_OUT, I, R160, PLAIN)                           \
    X(RAISE, E_TIME, A, R160, PLAIN)                            \
    X(RAISE, R_TIME, A, R160, PLAIN)                            \
    X(LOWER, B_ACTION, B, R160, PLAIN, R10)                     \
    X(LOWER, ACT_OUT, I, R160, PLAIN)                           \
    X(LOWER, E_TIME, A, R160, PLAIN)                            \
    X(LOWER, R_TIME, A, R160, PLAIN)                            \
    X(ENTR_SETPT, TUNE, A, R160, TUNE(0.0, 0.0, 100.0))         \
    X(ENTR_SETPT, SAMP_TUNE, A, R160, PLAIN)                    \
    X(ENTR_SETPT, LIMITED, B, R160, PLAIN)                      \
    X(ENTR_SETPT, EN_ENT_OUT, B, R160, PLAIN)                   \
    X(ENTR_SETPT, LO_LIM_OUT, A, R160, PLAIN)                   \
    X(ENTR_SETPT, HI_LIM_OUT, A, R160, PLAIN)                   \
    X(ENTR_SETPT, ENBL_ENTER, B, R160, TUNE(true))              \
    X(ENTR_SETPT_A_SW, A_SW, A, R160, PLAIN, R10)               \
    X(NOT_USED, NOT, B, R160, PLAIN, R10)                       \
    X(SOFT_DIS_RATE, MULTIPLY, A, R160, PLAIN, R10)
CAT_MODULE(HP_MAN_RAMP)

#define HP_MAN_ENBL_CELLS(X)                                    \
    X(DISABLED, NOT, B, R10, PLAIN, R160)                       \
    X(OR_ENABLE, OR, B, R160, PLAIN)                            \
    X(PLS_ON, B_ACTION, B, R160, PLAIN, R10)                    \
    X(PLS_ON, ACT_OUT, I, R160, PLAIN)                          \
    X(PLS_ON, E_TIME, A, R160, PLAIN)                           \
    X(PLS_ON, R_TIME, A, R160, PLAIN)                           \
    X(MV_REF, OR, B, R160, PLAIN)                               \
    X(NO_MV, NOT, B, R160, PLAIN)                               \
    X(DLY_NOMOV, DELAY, B, R160, PLAIN)                         \
    X(DLY_NOMOV, R_TIME, I, R160, PLAIN)                        \
    X(SH_OFF, ONE_SHOT, B, R160, PLAIN, R10)                    \
    X(SH_OFF, R_TIME, I, R160, PLAIN)                           \
    X(LT_MIN_GOV, A_COMPARE, B, R10, PLAIN)                     \
    X(LT_MIN_GOV, A_EQUAL, B, R10, PLAIN)                       \
    X(LT_MIN_GOV, HYSTER, A, R10, TUNE(10.0, -180.0, 180.0))    \
    X(GT_MAX_GOV, A_COMPARE, B, R10, PLAIN)                     \
    X(GT_MAX_GOV, A_EQUAL, B, R10, PLAIN)                       \
    X(GT_MAX_GOV, HYSTER, A, R10, TUNE(-1.0, -180.0, 180.0))    \
    X(OR_DISABLE, OR, B, R10, PLAIN)                            \
    X(OR_DISABLE, IN_7, B, R10, TUNE(false))                    \
    X(ENABLED, LATCH_R, B, R10, PLAIN, R160)                    \
    X(START_COMP_NOT, NOT, B, R80, PLAIN, R10)
CAT_MODULE(HP_MAN_ENBL)

#define IFACE_IN_HP_MAN_CELLS(X)                                \
    X(MAN_CTRL, B_NAME, B, R10, PLAIN)                          \
    X(LSS_OUT, A_NAME, A, R10, PLAIN)                           \
    X(ENABLE, B_NAME, B, R160, TUNE(false))                     \
    X(DISABLE, B_NAME, B, R160, TUNE(false), R10)               \
    X(USE_MAN_DMD, B_NAME, B, R160, TUNE(false))                \
    X(MAN_RATE, A_NAME, A, R160, TUNE(0.25, 0.1, 1.0), R10)     \
    X(NOMOV_DLY, A_NAME, A, R160, TUNE(120.0, 10.0, 300.0))     \
    X(MIN_GOV, A_NAME, A, R160, PLAIN, R10)                     \
    X(MAX_GOV, A_NAME, A, R160, PLAIN, R10)                     \
    X(RSE_LWR, IN_1, B, R160, SVC_IN)                         \
    X(RSE_LWR, IN_2, B, R160, SVC_IN)                         \
    X(RSE_LWR, OUT_1, B, R160, PLAIN)                           \
    X(RSE_LWR, OUT_2, B, R160, PLAIN)                           \
    X(START_COMP, B_NAME, B, R80, PLAIN)                        \
    X(ANY_SD, B_NAME, B, R10, PLAIN)                            \
    X(TURB_SPD, A_NAME, A, R10, PLAIN)
CAT_MODULE(IFACE_IN_HP_MAN)

#define IFACE_OUT_HP_MAN_CELLS(X) \
    X(MAN_OUT, A_NAME, A, R10, PLAIN) X(DIS_TIMEOUT, I_NAME, I, R160, PLAIN) X(ENABLED, B_NAME, B, R10, PLAIN, R40)
CAT_MODULE(IFACE_OUT_HP_MAN)

// Block initialisation of its service commands, and a service write of
// one of their inputs (a true value starts the command, a false one ends it).
void IFACE_IN_HP_MAN_init_blks();
void IFACE_IN_HP_MAN_command_written(const void* cell, uint32_t value);

namespace r10 {
// The manual demand gate into the select (piece of _R10_TASK_5).
void HP_MAN_RAMP_gate();
// The manual demand ramp (piece of _R10_TASK_8).
void HP_MAN_RAMP_ramp();
// The manual enable latch and its permissives (piece of _R10_TASK_4).
void HP_MAN_ENBL_latch();
}  // namespace r10
namespace r80 {
// The start complete that permits the manual demand (piece of _R80_TASK_18).
void HP_MAN_ENBL_start_complete();
}  // namespace r80
namespace r160 {
// The service raise and lower inputs (piece of _R160_TASK_37).
void IFACE_IN_HP_MAN_raise_lower();
// Commands, the entered value, the enable pulse and the no-movement timer
// (piece of _R160_TASK_38).
void HP_MAN_RAMP_commands();
}  // namespace r160
