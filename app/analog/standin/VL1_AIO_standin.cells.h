// STAND-IN until the remote analog node's input stages (module VL1_AIO) land:
// each remote input's milliamperes and raw fault as the stage delivers them.
#pragma once

#include "runtime/catalogue.h"

#define VL1_AIO_CELLS(X)                     \
    X(AI_1, VL_AI, A, R20, PLAIN)            \
    X(AI_1, LATCH_OR, B, R20, PLAIN)         \
    X(AI_2, VL_AI, A, R20, PLAIN)            \
    X(AI_2, LATCH_OR, B, R20, PLAIN)         \
    X(AI_3, VL_AI, A, R20, PLAIN)            \
    X(AI_3, LATCH_OR, B, R20, PLAIN)         \
    X(AI_4, VL_AI, A, R20, PLAIN)            \
    X(AI_4, LATCH_OR, B, R20, PLAIN)         \
    X(AI_5, VL_AI, A, R20, PLAIN)            \
    X(AI_5, LATCH_OR, B, R20, PLAIN)         \
    X(AI_6, VL_AI, A, R20, PLAIN)            \
    X(AI_6, LATCH_OR, B, R20, PLAIN)         \
    X(AI_7, VL_AI, A, R20, PLAIN)            \
    X(AI_7, LATCH_OR, B, R20, PLAIN)         \
    X(AI_8, VL_AI, A, R20, PLAIN)            \
    X(AI_8, LATCH_OR, B, R20, PLAIN)
CAT_MODULE(VL1_AIO)
