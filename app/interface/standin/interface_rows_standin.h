// STAND-IN rows of operator-interface modules: cells of these modules that
// other logic computes (the remote setpoint limiter,
// the remote-cascade enable latch, the cascade enable), declared here until that logic lands and
// takes the rows over.
#pragma once


// RMT_CAS_EN: the remote-cascade configuration copy, the enable list and
// the contact's release pulse (160 ms), the not-matched latch of the unit
// delay.
#define RMT_CAS_EN_STANDIN_ROWS(X) X(N_MTCH_RTE, LATCH, B, R80, PLAIN) \
    X(BI_ON, B_ACTION, B, R80, PLAIN) X(CAS_DIS, OR, B, R80, PLAIN) \
    X(RCASC_CF, B_NAME, B, R160, PLAIN, R80) X(OR_ENABLE, OR, B, R160, PLAIN, R80) \
    X(BI_OFF, B_ACTION, B, R160, PLAIN, R80)

