// Module IFACE_OUT_CASC: the cascade's interface outputs.
#pragma once

#include "app/control/standin/casc_rows_standin.h"
#include "runtime/catalogue.h"

#define IFACE_OUT_CASC_CELLS(X)                     \
    X(ENABLED, B_NAME, B, R80, PLAIN, R160)         \
    X(CASC_SP, A_NAME, A, R80, PLAIN)               \
    IFACE_OUT_CASC_STANDIN_ROWS(X)
CAT_MODULE(IFACE_OUT_CASC)
