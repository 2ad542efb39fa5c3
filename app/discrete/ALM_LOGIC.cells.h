// Module ALM_LOGIC at 10 ms: the HP driver's high-limit and the second
// speed sensor's failure as alarm conditions.
#pragma once

#include "runtime/catalogue.h"

#define ALM_LOGIC_CELLS(X) \
    X(ACT_LSS_HI_LIM_NOT, NOT, B, R10, PLAIN) \
    X(SS2_FLT, AND, B, R10, PLAIN)
CAT_MODULE(ALM_LOGIC)

namespace r10 {
void ALM_LOGIC_conditions();
}
