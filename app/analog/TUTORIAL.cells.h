// Module TUTORIAL: the tutorial page, used to learn the service tool (160 ms).
// The page (_R160_TASK_50): sample tunables of every type, momentary
// commands, an entered setpoint checked against 0 .. 100 with its go-to
// command, and the go-to and lower action blocks. The setpoint (analog-output
// slice, later in the pass): raise command block, its release one-shot, the
// three-target ramp and the unit delays its limits feed back.
#pragma once

#include "runtime/catalogue.h"

#define TUTORIAL_PAGE_ROWS(X)                                    \
    X(A_TUNABLE, IN, A, R160, TUNE(100.0, -1e38, 1e38))          \
    X(A_TUNABLE, A_NAME, A, R160, PLAIN)                         \
    X(B_TUNABLE, IN, B, R160, TUNE(false))                       \
    X(B_TUNABLE, B_NAME, B, R160, PLAIN)                         \
    X(B_TUNABLE1, IN, B, R160, TUNE(false))                      \
    X(B_TUNABLE1, B_NAME, B, R160, PLAIN)                        \
    X(B_TUNABLE2, IN, B, R160, TUNE(false))                      \
    X(B_TUNABLE2, B_NAME, B, R160, PLAIN)                        \
    X(B_TUNABLE3, IN, B, R160, TUNE(false))                      \
    X(B_TUNABLE3, B_NAME, B, R160, PLAIN)                        \
    X(I_DROPDOWN, IN, I, R160, TUNE(1, 1, 10))                   \
    X(I_DROPDOWN, I_NAME, I, R160, PLAIN)                        \
    X(I_TUNABLE, IN, I, R160, TUNE(100, -2147483647, 2147483647)) \
    X(I_TUNABLE, I_NAME, I, R160, PLAIN)                         \
    X(SP_TUT_COMMANDS, IN_1, B, R160, SVC_IN)                    \
    X(SP_TUT_COMMANDS, IN_2, B, R160, SVC_IN)                    \
    X(SP_TUT_COMMANDS, IN_3, B, R160, SVC_IN)                    \
    X(SP_TUT_COMMANDS, OUT_1, B, R160, PLAIN)                    \
    X(ENTR_TUT_SETPT, TUNE, A, R160, TUNE(0.0, -1e38, 1e38))     \
    X(ENTR_TUT_SETPT, ENBL_ENTER, B, R160, TUNE(true))           \
    X(ENTR_TUT_SETPT, SAMP_TUNE, A, R160, PLAIN)                 \
    X(ENTR_TUT_SETPT, LIMITED, B, R160, PLAIN)                   \
    X(ENTR_TUT_SETPT, EN_ENT_OUT, B, R160, PLAIN)                \
    X(ENTR_TUT_SETPT, LO_LIM_OUT, A, R160, PLAIN)                \
    X(ENTR_TUT_SETPT, HI_LIM_OUT, A, R160, PLAIN)                \
    X(SAMPLE_Z, ZMINUS1_B, B, R160, PLAIN)                       \
    X(ENTR_SETPT_HOLD_Z, ZMINUS1, A, R160, PLAIN)                \
    X(SP_MIN, A_COMPARE, B, R160, PLAIN)                         \
    X(SP_MIN, A_EQUAL, B, R160, PLAIN)                           \
    X(SP_BLW_MIN, AND, B, R160, PLAIN)                           \
    X(SP_MAX, A_COMPARE, B, R160, PLAIN)                         \
    X(SP_MAX, A_EQUAL, B, R160, PLAIN)                           \
    X(SP_ABV_MAX, AND, B, R160, PLAIN)                           \
    X(INVALID_SP, OR, B, R160, PLAIN)                            \
    X(INVALID_SETPOINT, B_NAME, B, R160, PLAIN)                  \
    X(NOT_LIMITED, NOT, B, R160, PLAIN)                          \
    X(LIMITED, DLY_TIME, A, R160, TUNE(3.0, 0.0, 60.0))          \
    X(LIMITED, DELAY, B, R160, PLAIN)                            \
    X(LIMITED, R_TIME, I, R160, PLAIN)                           \
    X(GOTO_CMD, AND, B, R160, PLAIN)                             \
    X(GOTO_VAL_SAMP, DLY_TIME, A, R160, TUNE(0.32, 0.0, 10.0))   \
    X(GOTO_VAL_SAMP, ONE_SHOT, B, R160, PLAIN)                   \
    X(GOTO_VAL_SAMP, R_TIME, I, R160, PLAIN)                     \
    X(GOTO_TUT_SP, ACT_Q, I, R160, TUNE(2, 1, 8))                \
    X(GOTO_TUT_SP, ACT_OUT, I, R160, PLAIN)                      \
    X(GOTO_TUT_SP, E_TIME, A, R160, PLAIN)                       \
    X(GOTO_TUT_SP, R_TIME, A, R160, PLAIN)                       \
    X(NO_MOM_LWR, NOT, B, R160, PLAIN)                           \
    X(NO_MOM_LWR_RST, DLY_TIME, A, R160, TUNE(0.1, 0.0, 5.0))    \
    X(NO_MOM_LWR_RST, ONE_SHOT, B, R160, PLAIN)                  \
    X(NO_MOM_LWR_RST, R_TIME, I, R160, PLAIN)                    \
    X(LWR, ACT_Q, I, R160, TUNE(2, 1, 8))                        \
    X(LWR, ACT_OUT, I, R160, PLAIN)                              \
    X(LWR, E_TIME, A, R160, PLAIN)                               \
    X(LWR, R_TIME, A, R160, PLAIN)
#define TUTORIAL_CELLS(X)                                        \
    TUTORIAL_PAGE_ROWS(X)                                        \
    X(SP_TUT_COMMANDS, OUT_2, B, R160, PLAIN)                    \
    X(SP_TUT_COMMANDS, OUT_3, B, R160, PLAIN)                    \
    X(LWR, B_ACTION, B, R160, PLAIN)                             \
    X(GOTO_TUT_SP, B_ACTION, B, R160, PLAIN)                     \
    X(ENTR_SETPT_HOLD, A_SW, A, R160, PLAIN)                     \
    X(RSE, ACT_Q, I, R160, TUNE(2, 1, 8))                        \
    X(RSE, B_ACTION, B, R160, PLAIN)                             \
    X(RSE, ACT_OUT, I, R160, PLAIN)                              \
    X(RSE, E_TIME, A, R160, PLAIN)                               \
    X(RSE, R_TIME, A, R160, PLAIN)                               \
    X(NO_MOM_RSE, NOT, B, R160, PLAIN)                           \
    X(NO_MOM_RST, DLY_TIME, A, R160, TUNE(0.1, 0.0, 5.0))        \
    X(NO_MOM_RST, ONE_SHOT, B, R160, PLAIN)                      \
    X(NO_MOM_RST, R_TIME, I, R160, PLAIN)                        \
    X(SP_TUTORIAL_RAMP, R_SEL_1, B, R160, TUNE(false))           \
    X(SP_TUTORIAL_RAMP, R_SP_1, A, R160, TUNE(10.0, 0.0, 1e6))   \
    X(SP_TUTORIAL_RAMP, RAMP, A, R160, PLAIN)                    \
    X(SP_TUTORIAL_RAMP, REV_RAMP, A, R160, PLAIN)                \
    X(SP_TUTORIAL_RAMP, MOVING_UP, B, R160, PLAIN)               \
    X(SP_TUTORIAL_RAMP, MOVING_DN, B, R160, PLAIN)               \
    X(SP_TUTORIAL_RAMP, POS_SEL, I, R160, PLAIN)                 \
    X(SP_TUTORIAL_RAMP, P_LIM_1, B, R160, PLAIN)                 \
    X(SP_TUTORIAL_RAMP, P_LIM_2, B, R160, PLAIN)                 \
    X(SP_TUTORIAL_RAMP, P_LIM_3, B, R160, PLAIN)                 \
    X(P_LIM_1, ZMINUS1_B, B, R160, PLAIN)                        \
    X(P_LIM_2, ZMINUS1_B, B, R160, PLAIN)                        \
    X(P_LIM_3, ZMINUS1_B, B, R160, PLAIN)                        \
    X(GOTO_CMD_Z, ZMINUS1_B, B, R160, PLAIN)                     \
    X(S_TUNABLE, IN, C, R160, TUNE(""))                          \
    X(S_TUNABLE, S_NAME, C, R160, PLAIN)
CAT_MODULE(TUTORIAL)

namespace r160 {
// The tutorial setpoint: raise block, ramp, and its unit delays.
void TUTORIAL_setpoint();
// The tutorial page (piece of _R160_TASK_50).
void TUTORIAL_page();
// The page's unit delays (end of the 160 ms pass, _R160_TASK_82).
void TUTORIAL_commit();
}

// Block initialisation: the momentary commands start timed out.
void TUTORIAL_init_blks();
// A service write of momentary command n (1 .. 3).
void TUTORIAL_command_written(int n, uint32_t value);
