// STAND-IN until the driver scaling of the speed-control chain lands: the
// HP demand it hands to the actuator channel and its drivers-shutdown
// condition.
#pragma once

#include "runtime/catalogue.h"

#define DRVR_SCALE_CELLS(X)                 \
    X(TO_HP_DMD, A_NAME, A, R10, PLAIN)     \
    X(DRVRS_SD, B_NAME, B, R10, PLAIN)
CAT_MODULE(DRVR_SCALE)
