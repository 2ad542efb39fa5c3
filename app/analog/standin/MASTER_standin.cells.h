// STAND-IN until the master-command module MASTER lands: the configuration
// enable of the controller's channels (I/O locked or power-up window).
#pragma once

#include "runtime/catalogue.h"

#define MASTER_CELLS(X) \
    X(IO_LOCK_OR_PWR, B_NAME, B, R160, PLAIN) \
    X(IO_LOCK, B_NAME, B, R160, PLAIN)
CAT_MODULE(MASTER)
