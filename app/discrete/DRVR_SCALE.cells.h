// Module DRVR_SCALE at 10 ms: the condition under which the HP actuator
// driver is shut down.
#pragma once

#include "app/discrete/standin/discrete_rows_standin.h"
#include "runtime/catalogue.h"

#define DRVR_SCALE_CELLS(X) \
    X(NOT_ACTREV, NOT, B, R10, PLAIN)    \
    X(CAL_DRVRS, NOT, B, R10, PLAIN)     \
    X(SD_DRV, AND, B, R10, PLAIN)        \
    X(N_SD_DRVRS, AND, B, R10, PLAIN)    \
    X(SDDRV_ACT1, B_NAME, B, R10, PLAIN) \
    X(SELF_PWR, A_SW, A, R10, PLAIN) \
    X(TO_HP_DMD, A_SW, A, R10, PLAIN) \
    X(SD_DVR_BRK, ZMINUS1_B, B, R10, PLAIN) \
    X(TRIP_SWITC, B_SW, B, R10, PLAIN) \
    X(IDL_OR_RATED, A_SW, A, R160, PLAIN) \
    X(IN_PCT, MULTIPLY, A, R160, PLAIN) \
    X(I_TO_AN, OUT_1, A, R160, PLAIN) \
    DRVR_SCALE_STANDIN_ROWS(X)
CAT_MODULE(DRVR_SCALE)

namespace r10 {
void DRVR_SCALE_drive_shutdown();
// The HP demand from the stroke switch: the self-powered start ramp while
// the trip switch is on, unless stroking (piece of _R10_TASK_5).
void DRVR_SCALE_demand();
}

namespace r160 {
// The self-powered actuator's scaling: its share of idle or minimum governor
// and its time delay as a real (piece of _R160_TASK_35).
void DRVR_SCALE_self_powered();
}  // namespace r160
