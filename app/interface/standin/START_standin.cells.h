// STAND-IN until the start sequence (module START) lands: the cells the data-log
// control reads and writes, and whether the start sequence has not started
// (the configuration checks read it).
#pragma once

#include "runtime/catalogue.h"

#define START_CELLS(X) \
    X(STARTED, LATCH, B, R160, PLAIN) \
    X(RUN_CMD, LATCH_R, B, R80, PLAIN, R10) \
    X(NOT_STRTD, NOT, B, R160, PLAIN)
CAT_MODULE(START)
