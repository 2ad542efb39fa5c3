// STAND-IN until the cascade interface inputs (module IFACE_IN_CASC) land:
// whether the remote cascade setpoint is used, as the configuration checks
// read it.
#pragma once

#include "runtime/catalogue.h"

#define IFACE_IN_CASC_CELLS(X) X(CAS_RMT, B_NAME, B, R160, PLAIN) X(USE_CASC, B_NAME, B, R160, PLAIN, R40) \
    X(RMT_CASC_FLT, B_NAME, B, R80, PLAIN, R160) X(CASC_RMT_N, NOT, B, R80, PLAIN, R160)
CAT_MODULE(IFACE_IN_CASC)
