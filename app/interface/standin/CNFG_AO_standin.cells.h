// STAND-IN until module CNFG_AO lands: the cells the data log's
// static items sample.
#pragma once

#include "runtime/catalogue.h"

#define CNFG_AO_CELLS(X) \
    X(AO_01_ZARN, RDBK_RET, A, R20, PLAIN) \
    X(AO_02_ZARN, RDBK_RET, A, R20, PLAIN) \
    X(AO_03_ZARN, RDBK_RET, A, R20, PLAIN)
CAT_MODULE(CNFG_AO)
