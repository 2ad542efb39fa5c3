// Module IDLE_RTD: idle/rated options and the flag "idle or rated being
// approached".
#pragma once

#include "runtime/catalogue.h"

#define IDLE_RTD_CELLS(X)                                  \
    X(USE_IDLE, B_NAME, B, R160, PLAIN, R80)               \
    X(IDL_PRIOR, B_NAME, B, R160, PLAIN)                   \
    X(IDL_OR_RTD, OR, B, R80, PLAIN, R160)
CAT_MODULE(IDLE_RTD)
