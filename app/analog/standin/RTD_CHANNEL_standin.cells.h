// STAND-IN until the remote RTD channel logic lands: the alarm setpoints in
// degrees Celsius of the first four RTD channels, which the custom trends
// use as the ranges of the bearing temperatures taken from the RTD node, and
// the channel faults of channels 2 .. 8, which the remote-node alarm summary
// latches. Nothing computes them yet, so they read 0.
#pragma once

#include "runtime/catalogue.h"

#define RTD_CHANNEL_STANDIN_ROWS(X) \
    X(HI_SP_IN_C, A_SW, A, R160, PLAIN) \
    X(LO_SP_IN_C, A_SW, A, R160, PLAIN) \
    X(CHNL_FLT, B_NAME, B, R80, PLAIN)
#define RTD_CHANNEL_STANDIN_FAULT_ROWS(X) X(CHNL_FLT, B_NAME, B, R80, PLAIN)
#define RTD_CHANNEL_STANDIN_NO_ALIASES(X)

#define _ub44_CELLS(X) RTD_CHANNEL_STANDIN_ROWS(X)
CAT_USER_BLOCK(_ub44, "VL3_RTD.RTD_2", RTD_CHANNEL_STANDIN_NO_ALIASES)
#define _ub45_CELLS(X) RTD_CHANNEL_STANDIN_ROWS(X)
CAT_USER_BLOCK(_ub45, "VL3_RTD.RTD_3", RTD_CHANNEL_STANDIN_NO_ALIASES)
#define _ub46_CELLS(X) RTD_CHANNEL_STANDIN_ROWS(X)
CAT_USER_BLOCK(_ub46, "VL3_RTD.RTD_4", RTD_CHANNEL_STANDIN_NO_ALIASES)
#define _ub47_CELLS(X) RTD_CHANNEL_STANDIN_FAULT_ROWS(X)
CAT_USER_BLOCK(_ub47, "VL3_RTD.RTD_5", RTD_CHANNEL_STANDIN_NO_ALIASES)
#define _ub48_CELLS(X) RTD_CHANNEL_STANDIN_FAULT_ROWS(X)
CAT_USER_BLOCK(_ub48, "VL3_RTD.RTD_6", RTD_CHANNEL_STANDIN_NO_ALIASES)
#define _ub49_CELLS(X) RTD_CHANNEL_STANDIN_FAULT_ROWS(X)
CAT_USER_BLOCK(_ub49, "VL3_RTD.RTD_7", RTD_CHANNEL_STANDIN_NO_ALIASES)
#define _ub50_CELLS(X) RTD_CHANNEL_STANDIN_FAULT_ROWS(X)
CAT_USER_BLOCK(_ub50, "VL3_RTD.RTD_8", RTD_CHANNEL_STANDIN_NO_ALIASES)
