// STAND-IN rows of operator-interface modules: cells of these modules that
// other logic computes (the remote setpoint limiter, the power-up delays,
// the remote-cascade enable latch, the cascade enable), declared here until that logic lands and
// takes the rows over.
#pragma once

// PWR_UP_MSG: the power-up delay and the error-message delay.
#define PWR_UP_MSG_STANDIN_ROWS(X) X(N_ERR_DLY, DELAY, B, R160, PLAIN)

// RMT_CAS_EN: the remote-cascade enable latch and its unit delay.
#define RMT_CAS_EN_STANDIN_ROWS(X) X(ENABLED, LATCH_R, B, R80, PLAIN) X(Z_LOOP, ZMINUS1_B, B, R80, PLAIN) \
    X(BI_ON, B_ACTION, B, R80, PLAIN) X(CAS_DIS, OR, B, R80, PLAIN)

