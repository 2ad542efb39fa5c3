// STAND-IN until the setpoint configuration (module CNFG_SETPT) lands: the cells the data-log
// control reads and writes.
#pragma once

#include "runtime/catalogue.h"

#define CNFG_SETPT_CELLS(X) \
    X(MIN_GOV, A_NAME, A, R160, PLAIN)     \
    X(MAX_GOV, A_NAME, A, R160, PLAIN, R10) \
    X(OST_LIMIT, A_NAME, A, R160, PLAIN, R40) \
    X(OSPD_TRIP, A_NAME, A, R160, PLAIN, R40)
CAT_MODULE(CNFG_SETPT)
