// Module TUTORIAL: the tutorial setpoint of the 160 ms analog-output slice
// (raise command block, its release one-shot, the three-target ramp and the
// unit delays its limits feed back). The momentary commands, the lower and
// go-to command blocks and the hold value are computed by the tutorial page
// logic earlier in the same 160 ms pass (not built yet: their cells are
// declared here, as the ramp reads them).
#pragma once

#include "runtime/catalogue.h"

#define TUTORIAL_CELLS(X)                                        \
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
}
