// Module MOD_VL_IO at 80 ms: the Modbus multipliers of the remote-node
// analog values, position by position: the analog node's inputs 1 .. 8 and
// outputs 1 .. 2, then the RTD channels 1 .. 8.
#pragma once

#include "app/interface/standin/MOD_map_standin.cells.h"
#include "runtime/catalogue.h"

#define MOD_VL_IO_CELLS(X) \
    MOD_VL_IO_STANDIN_ROWS(X) \
    X(VL_A_MULT, LIST_1, A, R80, PLAIN, R160) \
    X(VL_A_MULT, LIST_2, A, R80, PLAIN, R160) \
    X(VL_A_MULT, LIST_3, A, R80, PLAIN, R160) \
    X(VL_A_MULT, LIST_4, A, R80, PLAIN, R160) \
    X(VL_A_MULT, LIST_5, A, R80, PLAIN, R160) \
    X(VL_A_MULT, LIST_6, A, R80, PLAIN, R160) \
    X(VL_A_MULT, LIST_7, A, R80, PLAIN, R160) \
    X(VL_A_MULT, LIST_8, A, R80, PLAIN, R160) \
    X(VL_A_MULT, LIST_9, A, R80, PLAIN, R160) \
    X(VL_A_MULT, LIST_10, A, R80, PLAIN, R160) \
    X(VL_A_MULT, LIST_11, A, R80, PLAIN, R160) \
    X(VL_A_MULT, LIST_12, A, R80, PLAIN, R160) \
    X(VL_A_MULT, LIST_13, A, R80, PLAIN, R160) \
    X(VL_A_MULT, LIST_14, A, R80, PLAIN, R160) \
    X(VL_A_MULT, LIST_15, A, R80, PLAIN, R160) \
    X(VL_A_MULT, LIST_16, A, R80, PLAIN, R160) \
    X(VL_A_MULT, LIST_17, A, R80, PLAIN, R160) \
    X(VL_A_MULT, LIST_18, A, R80, PLAIN, R160)
CAT_MODULE(MOD_VL_IO)

namespace r80 {
// The multiplier list (after the RTD channels' texts of the same slice).
void MOD_VL_IO_multipliers();
}  // namespace r80
