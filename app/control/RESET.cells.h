// Module RESET: the common reset commands and the trip-reset logic of the
// 80 ms group.
#pragma once

#include "app/control/standin/speed_rows_standin.h"
#include "app/protection/standin/protection_rows_standin.h"
#include "app/discrete/standin/discrete_rows_standin.h"
#include "app/interface/RESET_iface.rows.h"
#include "app/interface/standin/RESET_iface_standin.rows.h"
#include "runtime/catalogue.h"

#define RESET_CELLS(X) \
    X(TS_RESET, B_NAME, B, R80, PLAIN, R10)        \
    X(RST, ONE_SHOT, B, R80, PLAIN, R10, R160)          \
    X(RESET, B_NAME, B, R80, PLAIN, R10, R20, R40, R160) \
    X(AUTO_RESET, AND, B, R80, PLAIN)              \
    X(RST_TRP_CI, ONE_SHOT, B, R80, PLAIN)         \
    X(RST_NOT, NOT, B, R80, PLAIN, R40)            \
    X(TRP_HDR_DY, DELAY, B, R80, PLAIN)            \
    X(RUN_TRIP, OR, B, R80, PLAIN)                 \
    X(TRIP_HDR, AND, B, R80, PLAIN)  \
    RESET_IFACE_ROWS(X) \
    RESET_IFACE_STANDIN_ROWS(X) \
    X(DEBUG_RST, TRIGGER, B, R80, TUNE(false))     \
    X(DEBUG_RST, ONE_SHOT, B, R80, PLAIN)          \
    X(DEBUG_RST, R_TIME, I, R80, PLAIN)            \
    X(RESET_DI, ONE_SHOT, B, R80, PLAIN)           \
    X(RESET_DI, R_TIME, I, R80, PLAIN)            \
    RESET_RST_OR_STANDIN_ROWS(X)
CAT_MODULE(RESET)

namespace r80 {
void RESET_trip_reset();   // _R80_TASK_23
void RESET_pulses();       // _R80_TASK_1: the debug and reset-contact pulses
}
