// Module C_COMM (160 ms): the common Modbus enable and the use of link 1.
#pragma once

#include "runtime/catalogue.h"

#define C_COMM_CELLS(X)                   \
    X(C1, IN, B, R160, TUNE(false))       \
    X(C1, B_NAME, B, R160, PLAIN)         \
    X(C2, IN, B, R160, TUNE(false))       \
    X(C2, B_NAME, B, R160, PLAIN)
CAT_MODULE(C_COMM)
