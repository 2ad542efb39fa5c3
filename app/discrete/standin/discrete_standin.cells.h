// STAND-IN until the modules that compute these cells land: the inputs that
// the discrete channels, the relay states and the trip relay read from the
// speed simulation, the valve interface, the operating configuration, the
// speed and start interfaces, the speed reference and the HP driver. The
// real modules keep these rows.
#pragma once

#include "runtime/catalogue.h"

// The real modules that took rows over from here.
#include "app/control/CONF_VAL_1.cells.h"
#include "app/control/HP_DRIVER.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/SPEED_SIM.cells.h"

#define CNFG_OPERATE_CELLS(X) \
    X(TRIP_ACTS, B_NAME, B, R160, PLAIN, R10)       \
    X(EXT_TRIPS_RELAY, B_NAME, B, R160, PLAIN, R10) \
    X(RST_CLRS_TRIP, B_NAME, B, R160, PLAIN) \

CAT_MODULE(CNFG_OPERATE)


