// STAND-IN rows of module CNFG_SETPT until the setpoint configuration that
// computes them lands: the cells the data-log control reads and writes, the
// sampled speed settings the configuration checks compare and those the
// speed reference reads.
#pragma once

#define CNFG_SETPT_STANDIN_ROWS(X) \
    X(MIN_GOV, A_NAME, A, R160, PLAIN, R80)        \
    X(MAX_GOV, A_NAME, A, R160, PLAIN, R10)        \
    X(CRIT_SPD_1_MIN, A_NAME, A, R160, PLAIN)      \
    X(CRIT_SPD_1_MAX, A_NAME, A, R160, PLAIN)      \
    X(CRIT_SPD_RATE, A_NAME, A, R160, PLAIN, R40)  \
    X(SLOW_RATE_OFFLINE, A_NAME, A, R160, PLAIN)   \
    X(USE_CRIT_SPD, B_NAME, B, R160, PLAIN)        \
    X(USE_RMTSPD, B_NAME, B, R160, PLAIN)          \
    X(OST_LIMIT, A_NAME, A, R160, PLAIN, R10, R40, R80) \
    X(OSPD_TRIP, A_NAME, A, R160, PLAIN, R40, R80) \
    X(SLOW_RATE_ONLINE, A_NAME, A, R160, PLAIN)
