// STAND-IN until the setpoint configuration (module CNFG_SETPT) lands: the cells the data-log
// control and the speed reference read.
#pragma once

#include "runtime/catalogue.h"

#define CNFG_SETPT_CELLS(X) \
    X(MIN_GOV, A_NAME, A, R160, PLAIN, R80)          \
    X(OST_LIMIT, A_NAME, A, R160, PLAIN, R80)        \
    X(OSPD_TRIP, A_NAME, A, R160, PLAIN, R80)        \
    X(CRIT_SPD_RATE, A_NAME, A, R160, PLAIN, R40)    \
    X(CRIT_SPD_1_MAX, A_NAME, A, R160, PLAIN)        \
    X(SLOW_RATE_ONLINE, A_NAME, A, R160, PLAIN)      \
    X(SLOW_RATE_OFFLINE, A_NAME, A, R160, PLAIN)
CAT_MODULE(CNFG_SETPT)
