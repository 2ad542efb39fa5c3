// Rows of module PWR_UP_MSG that the 80 ms start-up pulses compute: the
// power-up delay and the power-up reset pulse.
#pragma once

#define PWR_UP_MSG_PULSE_ROWS(X)                               \
    X(PWR_UP_DLY, DLY_TIME, A, R80, TUNE(0.01f, 0.0f, 10.0f))  \
    X(PWR_UP_DLY, DELAY, B, R80, PLAIN)                        \
    X(PWR_UP_DLY, R_TIME, I, R80, PLAIN)                       \
    X(PWR_UP_RST, DLY_TIME, A, R80, TUNE(2.0f, 0.0f, 5.0f))    \
    X(PWR_UP_RST, ONE_SHOT, B, R80, PLAIN, R160)                  \
    X(PWR_UP_RST, R_TIME, I, R80, PLAIN)
