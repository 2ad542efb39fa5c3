// STAND-IN until the remote setpoint, the alarm routing of the actuator and
// the overspeed hold land: the cells of those modules the speed control
// reads, and the overspeed hold's unit delay the 40 ms group commits.
#pragma once

#include "runtime/catalogue.h"

#define ACT_MUX_CELLS(X) X(HP_FLT_ACTOUT, B_NAME, B, R10, PLAIN)
CAT_MODULE(ACT_MUX)
