// Module RESET: the common reset commands of the 80 ms group.
#pragma once

#include "app/protection/standin/protection_rows_standin.h"
#include "runtime/catalogue.h"

#define RESET_CELLS(X) \
    RESET_STANDIN_ROWS(X) \
    X(TS_RESET, B_NAME, B, R80, PLAIN, R10) \
    X(RST, ONE_SHOT, B, R80, PLAIN, R10, R160) \
    X(RESET, B_NAME, B, R80, PLAIN, R10, R20, R40, R160)
CAT_MODULE(RESET)
