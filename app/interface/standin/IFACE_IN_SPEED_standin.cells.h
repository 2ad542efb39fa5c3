// STAND-IN until the speed interface inputs (module IFACE_IN_SPEED) lands: the cells the data-log
// control reads and writes.
#pragma once

#include "runtime/catalogue.h"

#define IFACE_IN_SPEED_CELLS(X) \
    X(IDLE_1, A_NAME, A, R160, PLAIN)
CAT_MODULE(IFACE_IN_SPEED)
