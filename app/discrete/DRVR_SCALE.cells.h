// Module DRVR_SCALE: the condition under which the HP actuator driver is
// shut down (10 ms), the self-powered actuator's start-up ramp (20 ms) and
// its scaling and stroke condition (160 ms).
#pragma once

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
    X(IN_PCT, MULTIPLY, A, R160, PLAIN, R20) \
    X(I_TO_AN, OUT_1, A, R160, PLAIN, R20) \
    X(SELFP_STROK, AND, B, R160, PLAIN, R10) \
    X(SELFP_STROK, IN_3, B, R160, TUNE(true)) \
    X(DELAY, DELAY, B, R20, PLAIN) \
    X(DELAY, R_TIME, I, R20, PLAIN) \
    X(MPU_COMP, A_COMPARE, B, R20, PLAIN) \
    X(MPU_COMP, A_EQUAL, B, R20, PLAIN) \
    X(RDYSTRT_POS, AND, B, R20, PLAIN) \
    X(MPU_TIME, OR, B, R20, PLAIN) \
    X(SELF_PWR_R, RAMP, A, R20, PLAIN, R10) \
    X(SELF_PWR_R, REV_RAMP, A, R20, PLAIN) \
    X(SELF_PWR_R, MOVING_UP, B, R20, PLAIN) \
    X(SELF_PWR_R, MOVING_DN, B, R20, PLAIN) \
    X(SELF_PWR_R, POS_SEL, I, R20, PLAIN) \
    X(SELF_PWR_R, P_LIM_1, B, R20, PLAIN) \
    X(SELF_PWR_R, P_LIM_2, B, R20, PLAIN) \
    X(SELF_PWR_R, R_SP_1, A, R20, TUNE(10.0, 0.0, 32500.0)) \
    X(SELF_PWR_R, R_SP_2, A, R20, TUNE(100.0, 0.0, 32500.0))
CAT_MODULE(DRVR_SCALE)

namespace r10 {
void DRVR_SCALE_drive_shutdown();
// The HP demand from the stroke switch: the self-powered start ramp while
// the trip switch is on, unless stroking (piece of _R10_TASK_5).
void DRVR_SCALE_demand();
}

namespace r20 {
// The self-powered actuator's start-up ramp: open after the shutdown has
// lasted the delay or once the speed is down to its share of idle or
// minimum governor, closed on a shutdown (piece of _R20_TASK_19).
void DRVR_SCALE_ramp();
}

namespace r160 {
// The self-powered actuator's scaling: its share of idle or minimum governor
// and its time delay as a real, and the stroke condition (piece of
// _R160_TASK_35).
void DRVR_SCALE_self_powered();
}  // namespace r160
