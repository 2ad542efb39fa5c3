// Rows of module RMT_SETPT (160 ms): the limits of the remote speed
// setpoint, sampled from the governor range and the remote input's range.
// app/interface/RMT_SETPT.cells.h lists them.
#pragma once

#define RMT_SETPT_SAMP_ROWS(X, BLK)                          \
    X(BLK, TUNE, A, R160, TUNE(0.0, -1e38, 1e38))           \
    X(BLK, SAMP_TUNE, A, R160, PLAIN, R80)                   \
    X(BLK, LIMITED, B, R160, PLAIN)                          \
    X(BLK, EN_ENT_OUT, B, R160, PLAIN)                       \
    X(BLK, LO_LIM_OUT, A, R160, PLAIN)                       \
    X(BLK, HI_LIM_OUT, A, R160, PLAIN)
#define RMT_SETPT_LIMIT_ROWS(X)                                   \
    X(MAX_REMOTE, A_MIN, A, R160, PLAIN)                     \
    X(MIN_REMOTE, A_MAX, A, R160, PLAIN)                     \
    X(MIN_CAS_SP_HOLD, A_SW, A, R160, PLAIN)                 \
    X(MAX_GOV_HOLD, A_SW, A, R160, PLAIN)                    \
    RMT_SETPT_SAMP_ROWS(X, MAX_SPD)                          \
    RMT_SETPT_SAMP_ROWS(X, MIN_SPD)
