// STAND-IN until condition monitoring (module COND_MON) lands: the cells the data-log
// control reads and writes.
#pragma once

#include "runtime/catalogue.h"

#define COND_MON_CELLS(X) \
    X(PWRUPOS, ONE_SHOT, B, R80, PLAIN, R160) \
    X(LOAD_LVL1, B_NAME, B, R160, PLAIN) \
    X(LOAD_LVL2, B_NAME, B, R160, PLAIN)
CAT_MODULE(COND_MON)
