// Module RESET: the common reset commands and the trip-reset logic of the
// 80 ms group.
#pragma once

#include "app/interface/RESET_iface.rows.h"
#include "runtime/catalogue.h"

#define RESET_CELLS(X) \
    X(TS_RESET, B_NAME, B, R80, PLAIN, R10)        \
    X(RST, ONE_SHOT, B, R80, PLAIN, R10, R160)          \
    X(RESET, B_NAME, B, R80, PLAIN, R10, R20, R40, R160) \
    X(AUTO_RESET, AND, B, R80, PLAIN)              \
    X(RST_TRP_CI, ONE_SHOT, B, R80, PLAIN)         \
    X(RST_TRP_CI, R_TIME, I, R80, PLAIN)           \
    X(RST_NOT, NOT, B, R80, PLAIN, R40)            \
    X(TRP_HDR_DY, DELAY, B, R80, PLAIN)            \
    X(TRP_HDR_DY, R_TIME, I, R80, PLAIN)           \
    X(RUN_TRIP, OR, B, R80, PLAIN)                 \
    X(TRIP_HDR, AND, B, R80, PLAIN)  \
    RESET_IFACE_ROWS(X) \
    X(AT_RST, IN, B, R160, TUNE(false))            \
    X(AT_RST, B_NAME, B, R160, PLAIN, R80)         \
    X(RST, R_TIME, I, R80, PLAIN)                  \
    X(RST_DEMO, ACT_OUT, I, R80, PLAIN)            \
    X(RST_DEMO, B_ACTION, B, R80, PLAIN)           \
    X(RST_DEMO, E_TIME, A, R80, PLAIN)             \
    X(RST_DEMO, R_TIME, A, R80, PLAIN)             \
    X(RST_DEMO, RST_2, B, R80, TUNE(false))        \
    X(PWR_UP_DLY, DLY_TIME, A, R80, TUNE(0.0, 0.0, 10.0)) \
    X(PWR_UP_DLY, DELAY, B, R80, PLAIN)            \
    X(PWR_UP_DLY, R_TIME, I, R80, PLAIN)           \
    X(PWR_UP_RST, DLY_TIME, A, R80, TUNE(2.0, 0.0, 5.0)) \
    X(PWR_UP_RST, ONE_SHOT, B, R80, PLAIN, R160)   \
    X(PWR_UP_RST, R_TIME, I, R80, PLAIN)           \
    X(RST_OR, OR, B, R80, PLAIN)                   \
    X(RST_Z, ZMINUS1_B, B, R80, PLAIN)             \
    X(DEBUG_RST, TRIGGER, B, R80, TUNE(false))     \
    X(DEBUG_RST, ONE_SHOT, B, R80, PLAIN)          \
    X(DEBUG_RST, R_TIME, I, R80, PLAIN)            \
    X(RESET_DI, ONE_SHOT, B, R80, PLAIN)           \
    X(RESET_DI, R_TIME, I, R80, PLAIN)
CAT_MODULE(RESET)

namespace r80 {
void RESET_trip_reset();   // _R80_TASK_23
void RESET_pulses();       // _R80_TASK_1: the debug and reset-contact pulses
// The power-up reset and the common reset pulse RST (end of _R80_TASK_2,
// after the keypad, Modbus and OPC reset commands).
void RESET_reset_pulse();
}

namespace r160 {
// The automatic reset request, a setting (piece of _R160_TASK_48).
void RESET_auto_reset_setting();
}
