// Module CONF_CHECK: the remote cascade setpoint configured without its
// analog input (160 ms).
#pragma once

#include "runtime/catalogue.h"

#define CONF_CHECK_CELLS(X)                          \
    X(NO_RMT_CASC_AI, NOT, B, R160, PLAIN)           \
    X(RMT_CASC_NO_AI, AND, B, R160, PLAIN)
CAT_MODULE(CONF_CHECK)
