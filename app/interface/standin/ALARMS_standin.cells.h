// STAND-IN until module ALARMS lands: the cells the data log's
// static items sample.
#pragma once

#include "runtime/catalogue.h"

#define ALARMS_CELLS(X) \
    X(FIRST_OUT, I_NAME, I, R40, PLAIN)
CAT_MODULE(ALARMS)
