// STAND-IN until module RMT_ENBL lands: the cells the data log's
// static items sample.
#pragma once

#include "runtime/catalogue.h"

#define RMT_ENBL_CELLS(X) \
    X(ENABLED, LATCH_R, B, R80, PLAIN) \
    X(DISFROMCASC, AND, B, R80, PLAIN, R40) \
    X(BI_DIS, B_SW, B, R80, PLAIN, R40)
CAT_MODULE(RMT_ENBL)
