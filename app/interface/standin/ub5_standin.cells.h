// STAND-IN until the actuator channel ACT_01 (user block CNFG_ACT.ACT_01) lands: the cells the data log's
// static items sample.
#pragma once

#include "runtime/catalogue.h"

#define _ub5_CELLS(X) \
    X(DEMAND, A_NAME, A, R10, PLAIN)
CAT_MODULE(_ub5)
