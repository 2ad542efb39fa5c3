// Module HPLM: the valve limiter's sequence chart (160 ms). A00 closed and
// waiting for a start, A01 held by the operator or the start sequence, A02
// opening toward the maximum, A03 closing slowly in a normal shutdown.
#pragma once

#include "runtime/catalogue.h"

#define HPLM_STEP_ROWS(X, S)                       \
    X(S, SFC_STEP, B, R160, PLAIN, R80)            \
    X(S, ACTIVETIME, A, R160, PLAIN)
#define HPLM_CELLS(X)                              \
    HPLM_STEP_ROWS(X, A00_STEP)                    \
    X(A00_STEP, TRAN_1, B, R160, PLAIN)            \
    X(A00_STEP, TRAN_2, B, R160, PLAIN)            \
    HPLM_STEP_ROWS(X, A01_STEP)                    \
    X(A01_STEP, TRAN_1, B, R160, PLAIN)            \
    X(A01_STEP, TRAN_2, B, R160, PLAIN)            \
    X(A01_STEP, TRAN_3, B, R160, PLAIN)            \
    X(A01_STEP, TRAN_4, B, R160, PLAIN)            \
    HPLM_STEP_ROWS(X, A02_STEP)                    \
    X(A02_STEP, TRAN_1, B, R160, PLAIN)            \
    X(A02_STEP, TRAN_2, B, R160, PLAIN)            \
    X(A02_STEP, TRAN_3, B, R160, PLAIN)            \
    X(A02_STEP, TRAN_4, B, R160, PLAIN)            \
    HPLM_STEP_ROWS(X, A03_STEP)                    \
    X(A03_STEP, TRAN_1, B, R160, PLAIN)            \
    X(A03_STEP, TRAN_2, B, R160, PLAIN)            \
    X(A03_STEP, TRAN_3, B, R160, PLAIN)            \
    X(A00_C2, B_ACTION, B, R160, PLAIN)            \
    X(A00_C2, ACT_OUT, I, R160, PLAIN)             \
    X(A00_C2, E_TIME, A, R160, PLAIN)              \
    X(A00_C2, R_TIME, A, R160, PLAIN)              \
    X(A00_C3, B_ACTION, B, R160, PLAIN)            \
    X(A00_C3, ACT_OUT, I, R160, PLAIN)             \
    X(A00_C3, E_TIME, A, R160, PLAIN)              \
    X(A00_C3, R_TIME, A, R160, PLAIN)              \
    X(A01_C4, B_ACTION, B, R160, PLAIN)            \
    X(A01_C4, ACT_OUT, I, R160, PLAIN)             \
    X(A01_C4, E_TIME, A, R160, PLAIN)              \
    X(A01_C4, R_TIME, A, R160, PLAIN)              \
    X(A01_C5, B_ACTION, B, R160, PLAIN)            \
    X(A01_C5, ACT_OUT, I, R160, PLAIN)             \
    X(A01_C5, E_TIME, A, R160, PLAIN)              \
    X(A01_C5, R_TIME, A, R160, PLAIN)              \
    X(A02_C4, B_ACTION, B, R160, PLAIN)            \
    X(A02_C4, ACT_OUT, I, R160, PLAIN)             \
    X(A02_C4, E_TIME, A, R160, PLAIN)              \
    X(A02_C4, R_TIME, A, R160, PLAIN)              \
    X(A02_C5, B_ACTION, B, R160, PLAIN)            \
    X(A02_C5, ACT_OUT, I, R160, PLAIN)             \
    X(A02_C5, E_TIME, A, R160, PLAIN)              \
    X(A02_C5, R_TIME, A, R160, PLAIN)              \
    X(A02_C5, RST_1, B, R160, TUNE(false))         \
    X(A03_C3, B_ACTION, B, R160, PLAIN)            \
    X(A03_C3, ACT_OUT, I, R160, PLAIN)             \
    X(A03_C3, E_TIME, A, R160, PLAIN)              \
    X(A03_C3, R_TIME, A, R160, PLAIN)              \
    X(A03_C4, B_ACTION, B, R160, PLAIN)            \
    X(A03_C4, ACT_OUT, I, R160, PLAIN)             \
    X(A03_C4, E_TIME, A, R160, PLAIN)              \
    X(A03_C4, R_TIME, A, R160, PLAIN)              \
    X(DLY, DELAY, B, R160, PLAIN)                  \
    X(DLY, R_TIME, I, R160, PLAIN)                 \
    X(R_L, OR, B, R160, PLAIN, R80)                \
    X(ZATMAX, ZMINUS1_B, B, R160, PLAIN)           \
    X(NOT_NSD, NOT, B, R160, PLAIN)                \
    X(DLY_OFF, DELAY, B, R160, PLAIN) \
    X(DLY_OFF, R_TIME, I, R160, PLAIN)
CAT_MODULE(HPLM)

namespace r160 {
void HPLM_chart();   // the steps' transitions and the chart's signals
void HPLM_commit();  // activations and the AT_MAX unit delay, at the end of the pass
}  // namespace r160

// Block initialisation: A00 active.
void HPLM_init_blks();
