// STAND-IN until module HP_DRIVER lands: the cells the data log's
// static items sample.
#pragma once

#include "runtime/catalogue.h"

#define HP_DRIVER_CELLS(X) \
    X(ACT_LSS, SEL_1, B, R10, PLAIN) \
    X(ACT_LSS, SEL_2, B, R10, PLAIN) \
    X(ACT_LSS, SEL_3, B, R10, PLAIN)
CAT_MODULE(HP_DRIVER)
