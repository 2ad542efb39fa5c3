// Module SPD_DYN, the speed step test target computed with the reference
// ramp (40 ms).
#pragma once

#include "runtime/catalogue.h"

#define SPD_DYN_CELLS(X)                            \
    X(I_TO_AN, OUT_1, A, R40, PLAIN)                \
    X(ADD_STEP, ADD, A, R40, PLAIN)                 \
    X(STEP_SP_LMT, A_LIMITER, A, R40, PLAIN)
CAT_MODULE(SPD_DYN)
