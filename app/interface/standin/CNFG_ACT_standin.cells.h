// STAND-IN until module CNFG_ACT lands: the cells the data log's
// static items sample.
#pragma once

#include "runtime/catalogue.h"

#define CNFG_ACT_CELLS(X) \
    X(ACT_1, RDBK_SRC, A, R10, PLAIN) \
    X(ACT_1, RDBK_RET, A, R10, PLAIN)
CAT_MODULE(CNFG_ACT)
