// STAND-IN until the HP driver logic lands: its stroke latch, which enables
// forcing (stroking) of the actuator.
#pragma once

#include "runtime/catalogue.h"

#define HP_DRIVER_CELLS(X) X(STRK_LTCH, B_NAME, B, R160, PLAIN)
CAT_MODULE(HP_DRIVER)
