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


