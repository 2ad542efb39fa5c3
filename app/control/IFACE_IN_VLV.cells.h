// Module IFACE_IN_VLV: the valve-interface inputs; the speed PID's demand
// after its switch is written by the 10 ms speed control.
#pragma once

#include "app/control/standin/speed_rows_standin.h"
#include "runtime/catalogue.h"

#define IFACE_IN_VLV_CELLS(X)                                   \
    X(SPD_PID, A_NAME, A, R10, PLAIN)                           \
    IFACE_IN_VLV_STANDIN_ROWS(X)
CAT_MODULE(IFACE_IN_VLV)
