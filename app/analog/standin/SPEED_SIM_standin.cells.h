// STAND-IN until the speed simulation module lands: while its actuator
// simulation is on, the actuator is driven with 0 %.
#pragma once

#include "runtime/catalogue.h"

#define SPEED_SIM_CELLS(X) X(SIM_MODE_ACTS, B_NAME, B, R160, PLAIN, R10)
CAT_MODULE(SPEED_SIM)
