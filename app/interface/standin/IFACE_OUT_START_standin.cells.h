// STAND-IN until module IFACE_OUT_START lands: the cells the data log's
// static items sample.
#pragma once

#include "runtime/catalogue.h"

#define IFACE_OUT_START_CELLS(X) \
    X(MPU1_OVRD_ON, B_NAME, B, R10, PLAIN) \
    X(IN_CRIT, B_NAME, B, R10, PLAIN)
CAT_MODULE(IFACE_OUT_START)
