// Module RMT_CAS: the remote cascade setpoint. At 160 ms its limits, the
// overlap of the cascade setpoint range and the remote input's range,
// sampled at power-up; at 80 ms the limited, filtered setpoint and its
// deadband, which the cascade setpoint ramp follows while remote cascade
// is selected.
#pragma once

#include "runtime/catalogue.h"

// A limit sampled over a tunable of IFACE_IN_CASC: its outputs.
#define RMT_CAS_SAMP_ROWS(X, BLK)                        \
    X(BLK, SAMP_TUNE, A, R160, PLAIN, R80)               \
    X(BLK, LIMITED, B, R160, PLAIN)                      \
    X(BLK, EN_ENT_OUT, B, R160, PLAIN)                   \
    X(BLK, LO_LIM_OUT, A, R160, PLAIN)                   \
    X(BLK, HI_LIM_OUT, A, R160, PLAIN)
#define RMT_CAS_CELLS(X)                                 \
    X(MAX_REMOTE, A_MIN, A, R160, PLAIN)                 \
    X(MIN_REMOTE, A_MAX, A, R160, PLAIN)                 \
    X(MAX_SETPT_HOLD, A_SW, A, R160, PLAIN)              \
    X(MIN_SETPT_HOLD, A_SW, A, R160, PLAIN)              \
    RMT_CAS_SAMP_ROWS(X, RMT_CAS_MN)                     \
    RMT_CAS_SAMP_ROWS(X, RMT_CAS_MX)                     \
    X(REMOTE, A_LIMITER, A, R80, PLAIN)                  \
    X(RMT_CASC_L, LAG, A, R80, PLAIN)                    \
    X(RMT_CASC_L, LAG_TAU, A, R80, SVC(0.5, 0.0, 1000.0))  \
    X(RMT_CASC_D, A_DEADBAND, A, R80, PLAIN)
CAT_MODULE(RMT_CAS)

// Block initialisation: the lag coefficient from the stored time constant;
// a service write of the time constant computes it again.
void RMT_CAS_init_blks();
void RMT_CAS_lag_time_written();

namespace r160 {
void RMT_CAS_limits();    // piece of _R160_TASK_48
}
namespace r80 {
void RMT_CAS_setpoint();  // _R80_TASK_13, before the setpoint ramp
}
