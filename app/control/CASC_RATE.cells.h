// Module CASC_RATE: the cascade setpoint's rates and the matching of the
// speed reference with the cascade demand (160 ms rates, 80 ms matching).
#pragma once

#include "app/control/CASC_CTRL.cells.h"
#include "runtime/catalogue.h"

#define CASC_RATE_CELLS(X)                                  \
    X(H_CASC_SET, B_SW, B, R160, PLAIN)                     \
    X(H_CASC_SET, CTRL, B, R160, TUNE(false))               \
    X(H_R_CAS_S, B_SW, B, R160, PLAIN)                      \
    X(H_R_CAS_S, CTRL, B, R160, TUNE(false))                \
    CASC_SAMP_ROWS(X, ENTRD_RATE, 0.1, 0.01, 1000.0, R80)   \
    CASC_SAMP_ROWS(X, RT_N_MTCH, 5.0, 0.01, 1000.0, R80)    \
    X(FAST_RATE, MULTIPLY, A, R160, PLAIN)                  \
    X(FAST_RATE, IN_2, A, R160, TUNE(3.0, 1.0, 5.0))        \
    CASC_SAMP_ROWS(X, FST_RATE, 10.0, 0.01, 5000.0, R80)    \
    CASC_SAMP_ROWS(X, N_MTCHD, 1.0, 0.01, 1000.0, R40)    \
    X(MATCHED, NOT, B, R160, PLAIN, R80)                     \
    X(N_CASC_EN, NOT, B, R80, PLAIN)                        \
    X(EN_TRACK, AND, B, R80, PLAIN, R160)                   \
    X(TRACK_RATE, MULTIPLY, A, R80, PLAIN)                  \
    X(CASC_PLS, ONE_SHOT, B, R80, PLAIN)                    \
    X(CASC_PLS, R_TIME, I, R80, PLAIN)                      \
    X(RST_RATE, OR, B, R80, PLAIN)                          \
    X(N_MATCHED, LATCH, B, R80, PLAIN, R40, R160)           \
    X(MATCHD_Z, ZMINUS1_B, B, R80, PLAIN)                   \
    X(WNDW_SIZE, MULTIPLY, A, R80, PLAIN)                   \
    X(WNDW_SIZE, IN_2, A, R80, TUNE(0.002, 0.0, 0.1))       \
    X(MATCHEDX, RAISE_VAL, B, R80, PLAIN)                   \
    X(MATCHEDX, LOWER_VAL, B, R80, PLAIN)                   \
    X(MATCHEDX, EXCD_DB_2, B, R80, PLAIN)                   \
    X(SP_CLOSE, NOT, B, R80, PLAIN)                         \
    X(ENTR_SETPT, AND, B, R80, PLAIN)
CAT_MODULE(CASC_RATE)

namespace r160 {
void CASC_RATE_rates();     // _R160_TASK_16: sampled rates
void CASC_RATE_matched();   // _R160_TASK_17
}
namespace r80 {
void CASC_RATE_tracking();  // _R80_TASK_13: tracking mode and its rate
void CASC_RATE_matching();  // _R80_TASK_17: the not-matched latch
}
