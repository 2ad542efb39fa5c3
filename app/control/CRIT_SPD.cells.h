// Module CRIT_SPD: the first critical speed band. The speed reference in the
// band (40 ms), the turbine speed in the band (10 ms) and the time it may
// dwell there (160 ms).
#pragma once

#include "runtime/catalogue.h"

#define CRIT_SPD_CELLS(X)                                       \
    X(SPD_MAX1, A_COMPARE, B, R10, PLAIN)                       \
    X(SPD_MAX1, A_EQUAL, B, R10, PLAIN)                         \
    X(SPD_MIN1, A_COMPARE, B, R10, PLAIN)                       \
    X(SPD_MIN1, A_EQUAL, B, R10, PLAIN)                         \
    X(CRIT_PROB1, AND, B, R10, PLAIN, R160)                     \
    X(CRIT, OR, B, R10, PLAIN)                                  \
    X(CRIT_PROB1, IN_4, B, R10, TUNE(true))                     \
    X(SET_HIGH1_SUB, IN_2, A, R160, TUNE(0.5, 0.0, 10.0))       \
    X(SET_HIGH1_SUB, SUBTRACT, A, R160, PLAIN, R10)             \
    /* the band of the reference (40 ms) */                     \
    X(HIGH_LIM_1, A_COMPARE, B, R40, PLAIN)                     \
    X(HIGH_LIM_1, A_EQUAL, B, R40, PLAIN)                       \
    X(LOW_LIM_1, A_COMPARE, B, R40, PLAIN)                      \
    X(LOW_LIM_1, A_EQUAL, B, R40, PLAIN)                        \
    X(CRIT_BAND1, AND, B, R40, PLAIN)                           \
    X(CRIT_BAND, OR, B, R40, PLAIN, R10, R80)                   \
    /* the allowed dwell (160 ms) */                            \
    X(AT_MIN_GOV, DELAY, B, R160, PLAIN)                        \
    X(AT_MIN_GOV, R_TIME, I, R160, PLAIN)                       \
    X(IDLE_STOP, OR, B, R160, PLAIN)                            \
    X(SWITCHTIME, DELAY, B, R160, PLAIN)                        \
    X(SWITCHTIME, R_TIME, I, R160, PLAIN)                       \
    X(MAX_TIMEX, NO, A, R160, TUNE(50.0, 1.0, 100.0))           \
    X(MAX_TIMEX, NC, A, R160, TUNE(5.0, 1.0, 20.0))             \
    X(MAX_TIMEX, A_SW, A, R160, PLAIN)                          \
    X(CRITRATEX3, DIVIDE, A, R160, PLAIN)                       \
    X(RST_STRT, AND, B, R160, PLAIN)                            \
    X(MAX_MIN_1, SUBTRACT, A, R160, PLAIN)                      \
    X(MAXTIME1, DIVIDE, A, R160, PLAIN)                         \
    X(MINTIME1, A_MAX, A, R160, PLAIN)                          \
    X(MAXTIME_1, NO, A, R160, TUNE(5.0, 0.0, 500.0))            \
    X(MAXTIME_1, A_SW, A, R160, PLAIN)                          \
    X(CRIT_DLY1, DELAY, B, R160, PLAIN)                         \
    X(CRIT_DLY1, R_TIME, I, R160, PLAIN)                        \
    X(IN_CRIT, OR, B, R160, PLAIN, R40, R80)                    \
    X(RTIME, OUT_1, A, R160, PLAIN)                             \
    X(MAXTIMEZ, ZMINUS1, A, R160, PLAIN)                        \
    X(SH_STUCK, ONE_SHOT, B, R160, PLAIN)                       \
    X(SH_STUCK, R_TIME, I, R160, PLAIN)                         \
    X(FRC_TOMIN, B_ACTION, B, R160, PLAIN, R80) \
    X(FRC_TOMIN, ACT_OUT, I, R160, PLAIN)       \
    X(FRC_TOMIN, E_TIME, A, R160, PLAIN)        \
    X(FRC_TOMIN, R_TIME, A, R160, PLAIN)
CAT_MODULE(CRIT_SPD)

namespace r10 {
// The critical band (first piece of the speed control in _R10_TASK_8).
void CRIT_SPD_band();
}
namespace r40 {
// The speed reference inside the first critical band, after the reference's
// selectors and Z_SETPOINT (_R40_TASK_3).
void CRIT_SPD_reference_band();
}
namespace r160 {
// The allowed dwell in the band, the stuck flag and the force to minimum
// (_R160_TASK_33).
void CRIT_SPD_dwell();
}
