// STAND-IN until the modules that compute these cells land: the
// configuration summary inputs, as far as the control status and the
// configuration-error list read them. The real modules take the rows over.
#pragma once

#include "runtime/catalogue.h"

#define CONF_VAL_1_STANDIN_ROWS(X)                   \
    X(USE_MPU2, B_NAME, B, R160, PLAIN, R10)         \
    X(CRIT_BAND1, B_NAME, B, R160, PLAIN, R10, R40)  \
    X(IDLE_RTD, B_NAME, B, R160, PLAIN)

