// Module RESET: the common reset commands of the 80 ms group.
#pragma once

#include "runtime/catalogue.h"

#define RESET_CELLS(X) \
    X(TS_RESET, B_NAME, B, R80, PLAIN, R10) \
    X(RST, ONE_SHOT, B, R80, PLAIN, R10) \
    X(RESET, B_NAME, B, R80, PLAIN, R10, R20, R40)
CAT_MODULE(RESET)
