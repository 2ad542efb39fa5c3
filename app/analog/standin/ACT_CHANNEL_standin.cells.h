// STAND-IN until the actuator channel template lands: what the channel
// (_ub5) hands to the driver stage of CNFG_ACT: the demand in percent, the
// shutdown, and the configured range, 0 % and 100 % currents and dither.
#pragma once

#include "runtime/catalogue.h"

#define _ub5_CELLS(X)                                 \
    X(DEMAND, A_NAME, A, R10, PLAIN)                  \
    X(SD, B_NAME, B, R10, PLAIN)                      \
    X(ACT_RANGE_SEL, SAMP_ITUNE, I, R160, PLAIN, R10) \
    X(MA_0, A_NAME, A, R160, PLAIN, R10)              \
    X(MA_100, A_NAME, A, R160, PLAIN, R10)            \
    X(ACT_DITHER, A_NAME, A, R160, PLAIN, R10)        \
    X(FUNCT_INT, I_NAME, I, R160, PLAIN)
CAT_USER_BLOCK(_ub5, "CNFG_ACT.ACT_01", CAT_NO_ALIASES)
