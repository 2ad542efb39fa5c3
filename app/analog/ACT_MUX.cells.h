// Module ACT_MUX at 10 ms: the routing of the actuator channel's fault to
// the fault flag of the valve its function drives (HP or HP2), with a
// second, tunable input routed by its own selection.
#pragma once

#include "runtime/catalogue.h"

#define ACT_MUX_CELLS(X)                                    \
    X(HP_FLT_ACT, IN_2, B, R10, TUNE(false))                \
    X(HP_FLT_ACT, SEL_2, I, R10, TUNE(1, 1, 20))            \
    X(HP_FLT_ACTOUT, B_NAME, B, R10, PLAIN, R40)            \
    X(HP2_FLT_ACTOUT, B_NAME, B, R10, PLAIN)
CAT_MODULE(ACT_MUX)

namespace r10 {
// After the actuator driver stage (fifth slice).
void ACT_MUX_fault_routing();
}
