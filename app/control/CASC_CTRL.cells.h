// Module CASC_CTRL: the cascade controller: scaling of the process value and
// setpoint, droop, the PID (its record is CASC_CTRL_CASC_PID_9137_vars) and
// the conversion of its output into a speed-setpoint demand.
#pragma once

#include "runtime/catalogue.h"

// The cells of a sampled tunable of the cascade modules (160 ms): the
// tunable, its output (read by the groups listed) and its limit outputs.
#define CASC_SAMP_ROWS(X, BLK, DEF, LO, HI, ...)              \
    X(BLK, TUNE, A, R160, TUNE(DEF, LO, HI))                  \
    X(BLK, SAMP_TUNE, A, R160, PLAIN, __VA_ARGS__)            \
    X(BLK, LIMITED, B, R160, PLAIN)                           \
    X(BLK, EN_ENT_OUT, B, R160, PLAIN)                        \
    X(BLK, LO_LIM_OUT, A, R160, PLAIN)                        \
    X(BLK, HI_LIM_OUT, A, R160, PLAIN)                        \
    X(BLK, ENBL_ENTER, B, R160, TUNE(true))
#define CASC_CTRL_CELLS(X)                                  \
    X(CASC_PID, PID_2, A, R80, PLAIN)                       \
    X(CASC_PID, THRESH, A, R80, TUNE(100.0, 0.0, 110.0))    \
    X(PROC_MULT, MULTIPLY, A, R80, PLAIN)                   \
    X(SP_MULT, MULTIPLY, A, R80, PLAIN)                     \
    X(CAS_TO_SPD, ADD, A, R80, PLAIN, R40)                  \
    X(INVERT, B_NAME, B, R160, PLAIN, R80)                     \
    X(MIN_CAS_SP_HOLD, A_SW, A, R160, PLAIN)                \
    X(MAX_GOV_HOLD, A_SW, A, R160, PLAIN)                   \
    X(MIN_SETPT_HOLD, A_SW, A, R160, PLAIN)                 \
    X(MAX_SETPT_HOLD, A_SW, A, R160, PLAIN)                 \
    CASC_SAMP_ROWS(X, SPD_SP_MAX, 0.0, 0.0, 65000.0)      \
    CASC_SAMP_ROWS(X, SPD_SP_MIN, 0.0, 0.0, 65000.0, R80) \
    CASC_SAMP_ROWS(X, RTD_SETPT, 0.0, -20000.0, 20000.0, R80) \
    X(SUB_1, SUBTRACT, A, R160, PLAIN)                      \
    X(F_BCK_S2, SUBTRACT, A, R160, PLAIN, R80)              \
    X(DIV_1, DIVIDE, A, R160, PLAIN, R80)                   \
    X(FD_BCK_AN, A_NAME, A, R160, PLAIN, R80)               \
    X(MAXSP_DIV2, MULTIPLY, A, R160, PLAIN)                 \
    X(MINSP_DIV2, DIVIDE, A, R160, PLAIN)                   \
    X(MAX_CASC, SUBTRACT, A, R160, PLAIN)                   \
    X(INV_MX_CAS, DIVIDE, A, R160, PLAIN, R80)              \
    X(INV_SW, A_SW, A, R160, PLAIN, R80)                    \
    X(NORMAL_DB, A_NAME, A, R160, PLAIN)                    \
    X(CASC_DB_CALC, A_NAME, A, R160, PLAIN, R80)            \
    X(NOT_SPDCTL, OR, B, R80, PLAIN)                        \
    X(NOT_SPDCTL, IN_3, B, R80, TUNE(false))                \
    X(Z1, ZMINUS1, A, R80, PLAIN)                           \
    X(CASC_LAG, LAG_TAU, A, R80, SVC(0.5, 0.0, 1000.0))     \
    X(CASC_LAG, LAG, A, R80, PLAIN)                         \
    X(DROOP, MULTIPLY, A, R80, PLAIN)                       \
    X(SET_DROOP, SUBTRACT, A, R80, PLAIN)                   \
    X(PROC_SP, NC, A, R80, PLAIN)                           \
    X(PROC_SP, NO, A, R80, PLAIN)                           \
    X(LOWER_ONLY, A_COMPARE, B, R80, PLAIN)                 \
    X(LOWER_ONLY, A_EQUAL, B, R80, PLAIN)                   \
    X(EN_LMTR, AND, B, R80, PLAIN)                          \
    X(STOP_SW, A_SW, A, R80, PLAIN)                         \
    X(CASC_DB, A_LIMITER, A, R80, PLAIN)                    \
    X(CASC_DROOP, ADD, A, R80, PLAIN, R160)                 \
    X(GAIN_1, MULTIPLY, A, R80, PLAIN)                      \
    X(FD_BCK_S, SUBTRACT, A, R80, PLAIN)                    \
    X(FD_BCK_D, DIVIDE, A, R80, PLAIN)                      \
    X(FD_BCK_M, MULTIPLY, A, R80, PLAIN)                    \
    X(FDBK_LMT, A_MIN, A, R80, PLAIN)                       \
    X(PID_PCT, MULTIPLY, A, R80, PLAIN)
CAT_MODULE(CASC_CTRL)

// Block initialisation: the lag coefficient from the stored time constant;
// a service write of the time constant computes it again.
void CASC_CTRL_init_blks();
void CASC_CTRL_lag_time_written();

namespace r160 {
void CASC_CTRL_scaling();   // _R160_TASK_16: sampled limits, spans and scaling
}
namespace r80 {
void CASC_CTRL_pid();       // _R80_TASK_17: droop, error, PID and demand
}
