// STAND-IN until analog output channel AO_02 (user block CNFG_AO.AO_02) lands: the cells the data log's
// static items sample.
#pragma once

#include "runtime/catalogue.h"

#define _ub11_CELLS(X) \
    X(MA_SIGNAL, A_NAME, A, R20, PLAIN)
CAT_MODULE(_ub11)
