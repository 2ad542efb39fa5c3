// Module MOD_SPD_SP: the speed setpoint entered over Modbus, limited to the
// governor range, its reset and sample requests, and the selection among the
// entered speed setpoints (160 ms).
#pragma once

#include "app/control/standin/speedref_rows_standin.h"
#include "runtime/catalogue.h"

#define MOD_SPD_SP_CELLS(X)                            \
    X(ENTRD_MUX, INT_SEL, I, R160, PLAIN)              \
    X(ENTRD_MUX, A_MUX_HSS, A, R160, PLAIN, R40)       \
    X(ENTRD_MUX, SEL_4, B, R160, TUNE(false))          \
    X(MIN_SETPT, CTRL, B, R160, TUNE(false))           \
    X(MIN_SETPT, A_SW, A, R160, PLAIN)                 \
    X(M1_SP, A_LIMITER, A, R160, PLAIN)                \
    X(RST_M1, IN_3, B, R160, TUNE(false))              \
    X(RST_M1, OR, B, R160, PLAIN)                      \
    X(SMPL_M1, IN_3, B, R160, TUNE(false))             \
    X(SMPL_M1, OR, B, R160, PLAIN)                     \
    MOD_SPD_SP_STANDIN_ROWS(X)
CAT_MODULE(MOD_SPD_SP)

namespace r160 {
// The Modbus and OPC entered setpoints within their limits and the OPC
// go-to latch, ahead of the selection (piece of _R160_TASK_45).
void MOD_SPD_SP_entries();
void MOD_SPD_SP_select();
// The Modbus entry's reset and sample requests, after the selection.
void MOD_SPD_SP_requests();
}
