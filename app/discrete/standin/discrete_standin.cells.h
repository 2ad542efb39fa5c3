// STAND-IN until the modules that compute these cells land: the inputs that
// the discrete channels, the relay states and the trip relay read from the
// speed simulation, the valve interface, the operating configuration, the
// speed and start interfaces, the speed reference and the HP driver. The
// real modules keep these rows.
#pragma once

#include "runtime/catalogue.h"

// The real modules that took rows over from here.
#include "app/control/HP_DRIVER.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/SPEED_SIM.cells.h"

#define CNFG_OPERATE_CELLS(X) \
    X(TRIP_ACTS, B_NAME, B, R160, PLAIN, R10)       \
    X(EXT_TRIPS_RELAY, B_NAME, B, R160, PLAIN, R10) \

CAT_MODULE(CNFG_OPERATE)

#define CONF_VAL_1_CELLS(X) \
    X(USE_MPU2, B_NAME, B, R160, PLAIN, R10) \
    X(CRIT_BAND1, B_NAME, B, R160, PLAIN, R10) \

CAT_MODULE(CONF_VAL_1)

#define SPDC_CELLS(X) \
    X(SPEED_REF, RAMP, A, R40, PLAIN, R10) \
    X(TRACK_RATE, A_MUX_HSS, A, R40, PLAIN) \
    X(ZRATETRACK, ZMINUS1, A, R40, PLAIN) \
    X(MN_REF, ZMINUS1, A, R10, PLAIN) \
    X(SPEED_REF, P_LIM_13, B, R40, PLAIN, R10) \
    X(UNDER_SPD, B_SW, B, R40, PLAIN, R10)     \

CAT_MODULE(SPDC)

#define IFACE_OUT_START_CELLS(X) \
    X(MPU1_OVRD_ON, B_NAME, B, R10, PLAIN) \
    X(IN_CRIT, B_NAME, B, R10, PLAIN) \
    X(SD_CLEAR, B_NAME, B, R80, PLAIN, R10) \

CAT_MODULE(IFACE_OUT_START)

