// STAND-IN until analog output channel AO_03 (user block CNFG_AO.AO_03) lands: the cells the data log's
// static items sample.
#pragma once

#include "runtime/catalogue.h"

#define _ub12_CELLS(X) \
    X(MA_SIGNAL, A_NAME, A, R20, PLAIN)
CAT_MODULE(_ub12)
