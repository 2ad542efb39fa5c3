// STAND-IN until module IFACE_OUT_HP_MAN lands: the cells the data log's
// static items sample.
#pragma once

#include "runtime/catalogue.h"

#define IFACE_OUT_HP_MAN_CELLS(X) \
    X(MAN_OUT, A_NAME, A, R10, PLAIN) \
    X(ENABLED, B_NAME, B, R10, PLAIN, R40)
CAT_MODULE(IFACE_OUT_HP_MAN)
