// STAND-IN until the valve interface inputs land: whether the actuator is
// self-powered.
#pragma once

#include "runtime/catalogue.h"

#define IFACE_IN_VLV_CELLS(X) X(SELF_PWACT, B_NAME, B, R10, PLAIN)
CAT_MODULE(IFACE_IN_VLV)
