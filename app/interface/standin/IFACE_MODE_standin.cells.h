// STAND-IN until module IFACE_MODE lands: the change-token cell that the
// service side writes.
#pragma once

#include "runtime/catalogue.h"

#define IFACE_MODE_CELLS(X) \
    X(TALLWIRE, LOCK_WRITE, B, R80, PLAIN)
CAT_MODULE(IFACE_MODE)
