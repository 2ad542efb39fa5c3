// STAND-IN until module IFACE_IN_VLV lands: the cells the data log's
// static items sample.
#pragma once

#include "runtime/catalogue.h"

#define IFACE_IN_VLV_CELLS(X) \
    X(V1LMTR_VAL, A_NAME, A, R40, PLAIN)
CAT_MODULE(IFACE_IN_VLV)
