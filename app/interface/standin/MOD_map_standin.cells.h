// STAND-IN until the remote-node Modbus image lands: the cells of it that
// the Modbus map reads. The real modules take these rows over.
#pragma once

#include "runtime/catalogue.h"

#define MOD_VL_IO_B_ROWS(X, P, Q, R, S) \
    X(VL_B_STATES, LIST_##P, B, R160, PLAIN) X(VL_B_STATES, LIST_##Q, B, R160, PLAIN) \
    X(VL_B_STATES, LIST_##R, B, R160, PLAIN) X(VL_B_STATES, LIST_##S, B, R160, PLAIN)
#define MOD_VL_IO_A_ROWS(X, F, P, Q, R) \
    X(F, LIST_##P, A, R160, PLAIN) X(F, LIST_##Q, A, R160, PLAIN) X(F, LIST_##R, A, R160, PLAIN)
#define MOD_VL_IO_CELLS(X)                                                                        \
    MOD_VL_IO_B_ROWS(X, 1, 2, 3, 4) MOD_VL_IO_B_ROWS(X, 5, 6, 7, 8) MOD_VL_IO_B_ROWS(X, 9, 10, 11, 12) \
    MOD_VL_IO_B_ROWS(X, 13, 14, 15, 16) MOD_VL_IO_B_ROWS(X, 17, 18, 19, 20)                        \
    MOD_VL_IO_B_ROWS(X, 21, 22, 23, 24) MOD_VL_IO_B_ROWS(X, 25, 26, 27, 28)                        \
    MOD_VL_IO_B_ROWS(X, 29, 30, 31, 32)                                                           \
    MOD_VL_IO_A_ROWS(X, VL_A_VALUES, 1, 2, 3) MOD_VL_IO_A_ROWS(X, VL_A_VALUES, 4, 5, 6)           \
    MOD_VL_IO_A_ROWS(X, VL_A_VALUES, 7, 8, 9) MOD_VL_IO_A_ROWS(X, VL_A_VALUES, 10, 11, 12)        \
    MOD_VL_IO_A_ROWS(X, VL_A_VALUES, 13, 14, 15) MOD_VL_IO_A_ROWS(X, VL_A_VALUES, 16, 17, 18)     \
    MOD_VL_IO_A_ROWS(X, VL_A_MULT, 1, 2, 3) MOD_VL_IO_A_ROWS(X, VL_A_MULT, 4, 5, 6)               \
    MOD_VL_IO_A_ROWS(X, VL_A_MULT, 7, 8, 9) MOD_VL_IO_A_ROWS(X, VL_A_MULT, 10, 11, 12)            \
    MOD_VL_IO_A_ROWS(X, VL_A_MULT, 13, 14, 15) MOD_VL_IO_A_ROWS(X, VL_A_MULT, 16, 17, 18)
CAT_MODULE(MOD_VL_IO)
