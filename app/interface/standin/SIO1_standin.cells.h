// STAND-IN for module SIO1 until the serial-link logic that computes it
// lands: the delayed Modbus restart after the program starts running, one
// of the sources of the Modbus reset.
#pragma once

#include "runtime/catalogue.h"

#define SIO1_CELLS(X) X(DLY_RST_MD, DELAY, B, R160, PLAIN, R80)
CAT_MODULE(SIO1)
