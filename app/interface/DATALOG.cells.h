// Module DATALOG: the data-log block TREND_DLOG (its enable, status and
// display cells) and the request cells its writer task reads.
#pragma once

#include "runtime/catalogue.h"

#define DATALOG_CELLS(X)                              \
    X(TREND_DLOG, B_ENABLE, B, RNone, TUNE(true))     \
    X(TREND_DLOG, COLLECTING, B, RNone, PLAIN)        \
    X(TREND_DLOG, BUF_FULL, B, RNone, PLAIN)          \
    X(TREND_DLOG, PRINTING, B, RNone, PLAIN)          \
    X(TREND_DLOG, P_ERROR, B, RNone, PLAIN)           \
    X(TREND_DLOG, CFG_ERROR, B, RNone, PLAIN)         \
    X(TREND_DLOG, ACTUAL_MEM, I, RNone, PLAIN)        \
    X(TREND_DLOG, MAX_SEC, I, RNone, PLAIN)           \
    X(TREND_DLOG, BOOL_CNT, I, RNone, PLAIN)          \
    X(TREND_DLOG, ANALOG_CNT, I, RNone, PLAIN)        \
    X(TREND_DLOG, INT_CNT, I, RNone, PLAIN)           \
    X(TREND_DLOG, CFG_ID, C, RNone, PLAIN)            \
    X(TREND_DLOG, CONTINUING, B, RNone, PLAIN)        \
    X(SPEED, A_NAME, A, R10, PLAIN)                   \
    X(TURB_TRIP, B_NAME, B, R10, PLAIN)               \
    X(TURB_START, B_NAME, B, R160, PLAIN)             \
    X(EVENT_STRT, OR, B, R40, PLAIN)                  \
    X(EVENT_STP, OR, B, R160, PLAIN)                  \
    X(PRINT, OR, B, R160, PLAIN)                      \
    X(STOP_PRT, OR, B, R160, PLAIN)                   \
    X(CNTATOI, OUT_1, I, R160, PLAIN)                 \
    X(MININTVL, I_NAME, I, R160, PLAIN)               \
    X(CONTIN, B_SW, B, R160, PLAIN)
CAT_MODULE(DATALOG)
