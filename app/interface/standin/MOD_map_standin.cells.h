// STAND-IN until the remote-node Modbus image lands: the cells of it that
// the Modbus map reads. The real modules take these rows over; the
// multipliers are computed (app/remote_io/MOD_VL_IO.cells.h, which lists
// these rows in the module).
#pragma once

#include "runtime/catalogue.h"

#define MOD_VL_IO_B_ROWS(X, P, Q, R, S) \
    X(VL_B_STATES, LIST_##P, B, R160, PLAIN, R80) X(VL_B_STATES, LIST_##Q, B, R160, PLAIN, R80) \
    X(VL_B_STATES, LIST_##R, B, R160, PLAIN, R80) X(VL_B_STATES, LIST_##S, B, R160, PLAIN, R80)
#define MOD_VL_IO_A_ROWS(X, F, P, Q, R, ...) \
    X(F, LIST_##P, A, R160, PLAIN __VA_OPT__(, ) __VA_ARGS__) X(F, LIST_##Q, A, R160, PLAIN __VA_OPT__(, ) __VA_ARGS__) \
    X(F, LIST_##R, A, R160, PLAIN __VA_OPT__(, ) __VA_ARGS__)
#define MOD_VL_IO_STANDIN_ROWS(X)                                                                  \
    MOD_VL_IO_B_ROWS(X, 1, 2, 3, 4) MOD_VL_IO_B_ROWS(X, 5, 6, 7, 8) MOD_VL_IO_B_ROWS(X, 9, 10, 11, 12) \
    MOD_VL_IO_B_ROWS(X, 13, 14, 15, 16) MOD_VL_IO_B_ROWS(X, 17, 18, 19, 20)                        \
    MOD_VL_IO_B_ROWS(X, 21, 22, 23, 24) MOD_VL_IO_B_ROWS(X, 25, 26, 27, 28)                        \
    MOD_VL_IO_B_ROWS(X, 29, 30, 31, 32)                                                           \
    MOD_VL_IO_A_ROWS(X, VL_A_VALUES, 1, 2, 3, R80) MOD_VL_IO_A_ROWS(X, VL_A_VALUES, 4, 5, 6, R80)           \
    MOD_VL_IO_A_ROWS(X, VL_A_VALUES, 7, 8, 9, R80) MOD_VL_IO_A_ROWS(X, VL_A_VALUES, 10, 11, 12, R80)        \
    MOD_VL_IO_A_ROWS(X, VL_A_VALUES, 13, 14, 15, R80) MOD_VL_IO_A_ROWS(X, VL_A_VALUES, 16, 17, 18, R80)

#include "app/remote_io/MOD_VL_IO.cells.h"
