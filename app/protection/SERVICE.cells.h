// Module SERVICE: the service screen's start message, built from the
// start-inhibit display.
#pragma once

#include "app/protection/START_ALM_DSPL.h"
#include "runtime/catalogue.h"

#define SERVICE_CELLS(X) SERVICE_START_MSG_ROWS(X)
CAT_MODULE(SERVICE)
