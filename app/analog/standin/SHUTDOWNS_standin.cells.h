// STAND-IN until the shutdown logic (module SHUTDOWNS) lands: the tripped LED
// command the chassis status task drives.
#pragma once

#include "runtime/catalogue.h"

#define SHUTDOWNS_CELLS(X) X(TRIPPED_LED, B_NAME, B, R160, PLAIN) \
    X(FIRST_OUT, I_NAME, I, R10, PLAIN)
CAT_MODULE(SHUTDOWNS)
