// STAND-IN until module SPDC lands: the cells the data log's
// static items sample.
#pragma once

#include "runtime/catalogue.h"

#define SPDC_CELLS(X) \
    X(SPEED_REF, RAMP, A, R40, PLAIN)
CAT_MODULE(SPDC)
