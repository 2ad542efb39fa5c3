// Module IFACE_IN_VLV: the valve-interface inputs; the speed PID's demand
// after its switch is written by the 10 ms speed control.
#pragma once

#include "app/control/standin/speed_rows_standin.h"
#include "runtime/catalogue.h"

#define IFACE_IN_VLV_CELLS(X)                                   \
    X(SPD_PID, A_NAME, A, R10, PLAIN)                           \
    X(V1LMTR_VAL, A_NAME, A, R40, PLAIN, R10)                   \
    X(VLV_LIM_MAX, IN, A, R160, TUNE(101.0, 0.0, 101.0))        \
    X(LIM_MAX_AT_START, IN, A, R160, TUNE(101.0, 0.0, 101.0))   \
    X(USE_STRT_MAX, IN, B, R160, TUNE(false))                   \
    IFACE_IN_VLV_STANDIN_ROWS(X)
CAT_MODULE(IFACE_IN_VLV)
