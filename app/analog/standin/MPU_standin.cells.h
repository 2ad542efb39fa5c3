// STAND-IN until the speed-sensing module MPU lands: the turbine speed the
// analog alarm levels arm on.
#pragma once

#include "runtime/catalogue.h"

#define MPU_CELLS(X) X(TURB_SPD, A_NAME, A, R10, PLAIN, R20, R80)
CAT_MODULE(MPU)
