// Module CONF_VAL_2: configuration summary flags of the 160 ms group.
#pragma once

#include "runtime/catalogue.h"

#define CONF_VAL_2_CELLS(X) X(NO_MPU2, NOT, B, R160, PLAIN, R10)
CAT_MODULE(CONF_VAL_2)
