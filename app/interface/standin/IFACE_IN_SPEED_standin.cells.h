// STAND-IN until the speed interface inputs (module IFACE_IN_SPEED) lands: the cells the data-log
// control reads and writes, and the minimum governor speed the configuration
// checks compare.
#pragma once

#include "runtime/catalogue.h"

#define IFACE_IN_SPEED_CELLS(X) \
    X(IDLE_1, A_NAME, A, R160, PLAIN) \
    X(MIN_GOV, A_NAME, A, R160, PLAIN)
CAT_MODULE(IFACE_IN_SPEED)
