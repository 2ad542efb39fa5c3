// Module C_COMM (160 ms): the common Modbus enable and the use of link 1,
// and the serial mode and Modbus slave address pair, copied every pass.
#pragma once

#include "runtime/catalogue.h"

#define C_COMM_CELLS(X)                                      \
    X(C1, IN, B, R160, TUNE(false))                          \
    X(C1, B_NAME, B, R160, PLAIN)                            \
    X(C2, IN, B, R160, TUNE(false))                          \
    X(C2, B_NAME, B, R160, PLAIN)                            \
    X(C3, IN, I, R160, TUNE(1, 1, 2))                        \
    X(C3, I_NAME, I, R160, PLAIN)                            \
    X(C4, IN, I, R160, TUNE(1, 1, 247))                      \
    X(C4, I_NAME, I, R160, PLAIN)
CAT_MODULE(C_COMM)

namespace r160 {
void C_COMM_copy();  // slice 34
}
