// STAND-IN until module CNFG_BO lands: the cells the data log's
// static items sample.
#pragma once

#include "runtime/catalogue.h"

#define CNFG_BO_CELLS(X) \
    X(RELAY_1, DISPLAY, B, R10, PLAIN) \
    X(RELAY_2, DISPLAY, B, R10, PLAIN) \
    X(RELAY_3, DISPLAY, B, R10, PLAIN) \
    X(RELAY_4, DISPLAY, B, R10, PLAIN)
CAT_MODULE(CNFG_BO)
