// STAND-IN until the valve interface outputs (module IFACE_OUT_VLV) lands: the cells the data-log
// control reads and writes.
#pragma once

#include "runtime/catalogue.h"

#define IFACE_OUT_VLV_CELLS(X) \
    X(LSS_OUT, A_NAME, A, R10, PLAIN, R160)
CAT_MODULE(IFACE_OUT_VLV)
