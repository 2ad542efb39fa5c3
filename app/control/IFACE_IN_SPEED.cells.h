// Module IFACE_IN_SPEED: the speed-control interface inputs; the 10 ms
// speed control writes the shutdown copy and the not-in-control flag.
#pragma once

#include "app/control/standin/speed_rows_standin.h"
#include "runtime/catalogue.h"

#define IFACE_IN_SPEED_CELLS(X)                                 \
    X(ANY_SD, B_NAME, B, R10, PLAIN)                            \
    X(NOT_SPDCTRL, NOT, B, R10, PLAIN)                          \
    IFACE_IN_SPEED_STANDIN_ROWS(X)
CAT_MODULE(IFACE_IN_SPEED)
