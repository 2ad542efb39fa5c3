// STAND-IN until module IFACE_OUT_CASC lands: the cells the data log's
// static items sample.
#pragma once

#include "runtime/catalogue.h"

#define IFACE_OUT_CASC_CELLS(X) \
    X(CASC_PID, A_NAME, A, R80, PLAIN, R160) \
    X(ENABLED, B_NAME, B, R80, PLAIN, R160) \
    X(RMT_CAS_EN, B_NAME, B, R80, PLAIN, R160) \
    X(REM_CAS_SEL, B_NAME, B, R160, PLAIN) \
    X(CASC_SP, A_NAME, A, R160, PLAIN) \
    X(REMOTE_CAS_SP, A_NAME, A, R160, PLAIN)
CAT_MODULE(IFACE_OUT_CASC)
