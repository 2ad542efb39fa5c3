// STAND-IN until the start configuration (module CNFG_START) lands: the
// sampled start settings the configuration checks compare.
#pragma once

#include "runtime/catalogue.h"

#define CNFG_START_CELLS(X)                       \
    X(IDLE_1_SP, A_NAME, A, R160, PLAIN)          \
    X(IR_RATED_SP, A_NAME, A, R160, PLAIN)        \
    X(AUTO_START, B_NAME, B, R160, PLAIN)         \
    X(USE_RATED, B_NAME, B, R160, PLAIN)
CAT_MODULE(CNFG_START)
