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

#define CONF_VAL_1_CELLS(X) \
    X(USE_MPU2, B_NAME, B, R160, PLAIN, R10) \
    X(NO_CASC, NOT, B, R160, PLAIN) \
    X(CRIT_BAND1, B_NAME, B, R160, PLAIN, R10) \

CAT_MODULE(CONF_VAL_1)

