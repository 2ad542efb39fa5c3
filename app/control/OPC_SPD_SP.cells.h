// Module OPC_SPD_SP: the speed setpoint entered over OPC, limited to the
// governor range, and its go-to latch (160 ms).
#pragma once

#include "app/control/standin/speedref_rows_standin.h"
#include "runtime/catalogue.h"

#define OPC_SPD_SP_CELLS(X)                              \
    X(MIN_SETPT, CTRL, B, R160, TUNE(false))             \
    X(MIN_SETPT, A_SW, A, R160, PLAIN)                   \
    X(AW1_SP, A_LIMITER, A, R160, PLAIN)                 \
    X(GOTO_OPC_SP, LATCH_R, B, R160, PLAIN)              \
    OPC_SPD_SP_STANDIN_ROWS(X)
CAT_MODULE(OPC_SPD_SP)
