// STAND-IN until the modules that compute these cells land: the trip and
// alarm conditions and settings the protection logic reads from the
// overspeed test, the Modbus and OPC command maps, the controlled stop, the
// configuration-error list, the driver configuration, the interface modes,
// the manual valve and cascade interfaces and the alarm screens; and the
// interface cell the shutdown signal is copied into. The real modules keep
// these rows.
#pragma once

#include "app/protection/START_ALM_DSPL.h"
#include "runtime/catalogue.h"

// The real modules that took rows over from here.
#include "app/control/CONF_LATCH.cells.h"

// The service screen's start message; the real module keeps its rows.
#define SERVICE_CELLS(X) SERVICE_START_MSG_ROWS(X)
CAT_MODULE(SERVICE)
