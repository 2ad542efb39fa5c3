// STAND-IN until module IFACE_MODE lands: the change-token cell that the
// service side writes, and the display fault the alarm logic reads.
#pragma once

#include "runtime/catalogue.h"

#define IFACE_MODE_CELLS(X) \
    X(TALLWIRE, LOCK_WRITE, B, R80, PLAIN) \
    X(DISPLAY_FLT, B_NAME, B, R160, PLAIN, R40) \
    X(TIQ_HEARTBEAT, B_NAME, B, R160, PLAIN)
CAT_MODULE(IFACE_MODE)
