// Module MOD_VL_IO: the remote nodes' values gathered into two flat lists at
// 20 ms (the analog node's inputs 1 .. 8 and outputs 1 .. 2 and the RTD
// channels 1 .. 8; the sixteen contacts as received and the sixteen relay
// states), and at 80 ms the Modbus multipliers of the analog values,
// position by position.
#pragma once

#include "runtime/catalogue.h"

#define MOD_VL_IO_B_ROWS(X, P, Q, R, S) \
    X(VL_B_STATES, LIST_##P, B, R20, PLAIN, R160, R80) X(VL_B_STATES, LIST_##Q, B, R20, PLAIN, R160, R80) \
    X(VL_B_STATES, LIST_##R, B, R20, PLAIN, R160, R80) X(VL_B_STATES, LIST_##S, B, R20, PLAIN, R160, R80)
#define MOD_VL_IO_A_ROWS(X, P, Q, R) \
    X(VL_A_VALUES, LIST_##P, A, R20, PLAIN, R160, R80) X(VL_A_VALUES, LIST_##Q, A, R20, PLAIN, R160, R80) \
    X(VL_A_VALUES, LIST_##R, A, R20, PLAIN, R160, R80)

#define MOD_VL_IO_CELLS(X) \
    MOD_VL_IO_B_ROWS(X, 1, 2, 3, 4) MOD_VL_IO_B_ROWS(X, 5, 6, 7, 8) MOD_VL_IO_B_ROWS(X, 9, 10, 11, 12) \
    MOD_VL_IO_B_ROWS(X, 13, 14, 15, 16) MOD_VL_IO_B_ROWS(X, 17, 18, 19, 20)                        \
    MOD_VL_IO_B_ROWS(X, 21, 22, 23, 24) MOD_VL_IO_B_ROWS(X, 25, 26, 27, 28)                        \
    MOD_VL_IO_B_ROWS(X, 29, 30, 31, 32)                                                           \
    MOD_VL_IO_A_ROWS(X, 1, 2, 3) MOD_VL_IO_A_ROWS(X, 4, 5, 6) MOD_VL_IO_A_ROWS(X, 7, 8, 9)             \
    MOD_VL_IO_A_ROWS(X, 10, 11, 12) MOD_VL_IO_A_ROWS(X, 13, 14, 15) MOD_VL_IO_A_ROWS(X, 16, 17, 18)    \
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

namespace r20 {
// The two lists, row by row (after the remote contacts of the same pass).
void MOD_VL_IO_image();
}  // namespace r20

namespace r80 {
// The multiplier list (after the RTD channels' texts of the same slice).
void MOD_VL_IO_multipliers();
}  // namespace r80
