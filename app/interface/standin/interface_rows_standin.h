// STAND-IN rows of operator-interface modules: cells of these modules that
// other logic computes (the remote setpoint limiter,
// the remote-cascade enable latch, the cascade enable), declared here until that logic lands and
// takes the rows over.
#pragma once


// RMT_CAS_EN: the remote-cascade enable latch and its unit delay.
#define RMT_CAS_EN_STANDIN_ROWS(X) X(ENABLED, LATCH_R, B, R80, PLAIN) X(N_MTCH_RTE, LATCH, B, R80, PLAIN) \
    X(BI_ON, B_ACTION, B, R80, PLAIN) X(CAS_DIS, OR, B, R80, PLAIN)

