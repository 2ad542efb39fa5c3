// Module SPD_CTRL: the output cells of the self-tuning speed PID block
// SPD_PID. The rest of the speed-control module's cells join these rows.
#pragma once

#include "runtime/catalogue.h"

// The gains in use are sampled by the 160 ms speed-dynamics settings; the
// tuner state is compared by the 40 ms speed control.
#define SPD_CTRL_CELLS(X)                                \
    X(ONLINE_DYN, B_NAME, B, R10, PLAIN, R80) \
    X(COMBO_SETPT, ZMINUS1, A, R10, PLAIN, R40) \
    X(SP_MOVE, OR, B, R40, PLAIN) \
    X(SPD_PID, PID_OPTI, A, R10, PLAIN)                  \
    X(SPD_PID, CALC_P, A, R10, PLAIN, R160)              \
    X(SPD_PID, CALC_I, A, R10, PLAIN, R160)              \
    X(SPD_PID, CALC_SDR, A, R10, PLAIN, R160)            \
    X(SPD_PID, OPTI_STATUS, I, R10, PLAIN, R40)          \
    X(SPD_PID, OPTI_ALARM, I, R10, PLAIN)                \
    X(SPD_PID, OPTI_FAULT, I, R10, PLAIN)                \
    X(SPD_PID, PROC_ERR, A, R10, PLAIN)                  \
    X(SPD_PID, OPTI_MON, A, R10, PLAIN) \
    X(PROC_OPTI, A_NAME, A, R10, PLAIN) \
    X(SPD_TO_PID, A_SW, A, R10, PLAIN) \
    X(SP_OPTI, A_NAME, A, R10, PLAIN) \
    X(DROOP_VAL, A_SW, A, R10, PLAIN) \
    X(SPD_SETPT, A_NAME, A, R40, PLAIN) \
    X(ENA_OPTI, B_ACTION, B, R40, PLAIN) \
    X(FAST_SLOW, A_NAME, A, R160, PLAIN)
CAT_MODULE(SPD_CTRL)
