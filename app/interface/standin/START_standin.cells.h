// STAND-IN until the start sequence (module START) lands: the cells the data-log
// control reads and writes.
#pragma once

#include "runtime/catalogue.h"

#define START_CELLS(X) \
    X(STARTED, LATCH, B, R160, PLAIN) \
    X(RUN_CMD, LATCH_R, B, R80, PLAIN, R10)
CAT_MODULE(START)
