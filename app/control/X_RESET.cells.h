// Module X_RESET: the blink-reset pulse of the 160 ms group.
#pragma once

#include "runtime/catalogue.h"

#define X_RESET_CELLS(X) X(BLINK_RST2, ONE_SHOT, B, R160, PLAIN, R10)
CAT_MODULE(X_RESET)
