// Module OPC_SPD_SP: the speed setpoint entered over OPC, limited to the
// governor range, and its go-to latch (160 ms).
#pragma once

#include "app/control/MOD_SPD_SP.cells.h"
#include "runtime/catalogue.h"

#define OPC_SPD_SP_CELLS(X)                              \
    X(MIN_SETPT, CTRL, B, R160, TUNE(false))             \
    X(MIN_SETPT, A_SW, A, R160, PLAIN)                   \
    X(AW1_SP, A_LIMITER, A, R160, PLAIN)                 \
    X(GOTO_OPC_SP, LATCH_R, B, R160, PLAIN)              \
    SPD_SP_ENTRY_ROWS(X, AW1_CHANGED, AW1_DELAY)         \
    X(OPC_GO_TO, OR, B, R160, PLAIN)                     \
    X(OPC_PLS, ONE_SHOT, B, R160, PLAIN, R40)            \
    X(OPC_PLS, R_TIME, I, R160, PLAIN)                   \
    X(RST_M1, IN_3, B, R160, TUNE(false))                \
    X(RST_M1, OR, B, R160, PLAIN)                        \
    X(SMPL_M1, IN_3, B, R160, TUNE(false))               \
    X(SMPL_M1, OR, B, R160, PLAIN)
CAT_MODULE(OPC_SPD_SP)
