// Module IFACE_IN_SPEED: the speed-control interface inputs: the raise/lower
// contacts and the remote-setpoint enable commands (80 ms); the 10 ms speed
// control writes the shutdown copy and the not-in-control flag.
#pragma once

#include "app/control/standin/speed_rows_standin.h"
#include "runtime/catalogue.h"

#define IFACE_IN_SPEED_CELLS(X) \
    X(ANY_SD, B_NAME, B, R10, PLAIN)         \
    X(NOT_SPDCTRL, NOT, B, R10, PLAIN)       \
    X(LWR_SPD, B_NAME, B, R80, PLAIN)        \
    X(RAZ_SPD, B_NAME, B, R80, PLAIN)        \
    X(SPD_LWR_CMD, B_SW, B, R80, PLAIN)      \
    X(SPD_RAZ_CMD, B_SW, B, R80, PLAIN)      \
    X(RMT_SPD_SP_EN, B_NAME, B, R80, PLAIN)  \
    X(RMT_SPD_SP_DIS, B_NAME, B, R80, PLAIN)  \
    X(QT_SPD_LOW, A_NAME, A, R160, PLAIN)    \
    IFACE_IN_SPEED_STANDIN_ROWS(X)
CAT_MODULE(IFACE_IN_SPEED)
