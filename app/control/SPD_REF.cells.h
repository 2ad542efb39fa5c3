// Module SPD_REF: the deviation of the reference above the speed (160 ms).
#pragma once

#include "runtime/catalogue.h"

#define SPD_REF_CELLS(X)                           \
    X(SUB_REF, SUBTRACT, A, R160, PLAIN)           \
    X(CP_DEV, A_COMPARE, B, R160, PLAIN)           \
    X(CP_DEV, A_EQUAL, B, R160, PLAIN)             \
    X(N_HIGH, NOT, B, R160, PLAIN, R80)
CAT_MODULE(SPD_REF)

namespace r160 {
void SPD_REF_deviation();   // _R160_TASK_37
void SPD_REF_not_high();    // _R160_TASK_49
}  // namespace r160
