// STAND-IN until analog output channel AO_01 (user block CNFG_AO.AO_01) lands: the cells the data log's
// static items sample.
#pragma once

#include "runtime/catalogue.h"

#define _ub10_CELLS(X) \
    X(MA_SIGNAL, A_NAME, A, R20, PLAIN)
CAT_MODULE(_ub10)
