// Module _GENERIC: the outputs of a user code block with an empty body.
#pragma once

#include "runtime/catalogue.h"

#define _GENERIC_CELLS(X)                        \
    X(C1, A_OUT_1, A, R160, PLAIN)               \
    X(C1, I_OUT_1, I, R160, PLAIN)               \
    X(C1, B_OUT_1, B, R160, PLAIN)
CAT_MODULE(_GENERIC)

namespace r160 {
void _GENERIC_block();
}
