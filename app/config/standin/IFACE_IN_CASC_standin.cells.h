// STAND-IN until the cascade interface inputs (module IFACE_IN_CASC) land:
// whether the remote cascade setpoint is used, as the configuration checks
// read it.
#pragma once

#include "runtime/catalogue.h"

#define IFACE_IN_CASC_CELLS(X) X(CAS_RMT, B_NAME, B, R160, PLAIN) X(USE_CASC, B_NAME, B, R160, PLAIN, R40) \
    X(CASC_IN_NAME, A_NAME, A, R160, PLAIN)
CAT_MODULE(IFACE_IN_CASC)
