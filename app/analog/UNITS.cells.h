// Module UNITS: the engineering-units text of the cascade loop.
#pragma once

#include "runtime/catalogue.h"

#define UNITS_CELLS(X)                           \
    X(UNIT_CASC, IN, I, R160, TUNE(1, 1, 13))    \
    X(UNIT_CASC, I_NAME, I, R160, PLAIN)         \
    X(CASC_UNITS, I_TO_STR, C, R160, PLAIN)
CAT_MODULE(UNITS)

namespace r160 {
void UNITS_text();
}
