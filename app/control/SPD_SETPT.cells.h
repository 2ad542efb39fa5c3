// Module SPD_SETPT: the speed-tracking target of the reference (80 ms).
#pragma once

#include "runtime/catalogue.h"

#define SPD_SETPT_CELLS(X)                                  \
    X(SPD_TRCK, ADD, A, R80, PLAIN)                         \
    X(SPD_TRK_LG, LAG_2, A, R80, PLAIN)                     \
    X(SPD_TRK_LG, LAG_TAU, A, R80, SVC(0.1, 0.0, 100.0))    \
    X(LIM_RSTTR, A_LIMITER, A, R80, PLAIN, R40)             \
    X(ADD_RPM, ADD, A, R80, PLAIN)                          \
    X(ADD_RPM, IN_2, A, R80, TUNE(0.0, -1e38, 1e38))
CAT_MODULE(SPD_SETPT)

// Block initialisation: the lag coefficient from the stored time constant;
// a service write of the time constant computes it again.
void SPD_SETPT_init_blks();
void SPD_SETPT_lag_time_written();

namespace r80 {
void SPD_SETPT_tracking();
}
