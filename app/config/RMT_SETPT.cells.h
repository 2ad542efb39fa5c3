// Modules RMT_SETPT and CNFG_CHECK_RMT at 160 ms: the limits of the remote
// speed setpoint, sampled from the governor range and the remote input's
// range, and the check of those limits against the remote input's range.
#pragma once

#include "app/config/standin/RMT_SETPT_standin.rows.h"
#include "runtime/catalogue.h"

#define RMT_SETPT_SAMP_ROWS(X, BLK)                          \
    X(BLK, TUNE, A, R160, TUNE(0.0, -1e38, 1e38))           \
    X(BLK, SAMP_TUNE, A, R160, PLAIN)                        \
    X(BLK, LIMITED, B, R160, PLAIN)                          \
    X(BLK, EN_ENT_OUT, B, R160, PLAIN)                       \
    X(BLK, LO_LIM_OUT, A, R160, PLAIN)                       \
    X(BLK, HI_LIM_OUT, A, R160, PLAIN)
#define RMT_SETPT_CELLS(X)                                   \
    RMT_SETPT_STANDIN_ROWS(X)                                \
    X(MAX_REMOTE, A_MIN, A, R160, PLAIN)                     \
    X(MIN_REMOTE, A_MAX, A, R160, PLAIN)                     \
    X(MIN_CAS_SP_HOLD, A_SW, A, R160, PLAIN)                 \
    X(MAX_GOV_HOLD, A_SW, A, R160, PLAIN)                    \
    RMT_SETPT_SAMP_ROWS(X, MAX_SPD)                          \
    RMT_SETPT_SAMP_ROWS(X, MIN_SPD)
CAT_MODULE(RMT_SETPT)

#define CNFG_CHECK_RMT_CELLS(X)                              \
    X(MAX_CHK, ADD, A, R160, PLAIN)                          \
    X(MAX_2HI, A_COMPARE, B, R160, PLAIN)                    \
    X(MAX_2HI, A_EQUAL, B, R160, PLAIN)                      \
    X(MIN_CHK, ADD, A, R160, PLAIN)                          \
    X(MIN_2LO, A_COMPARE, B, R160, PLAIN)                    \
    X(MIN_2LO, A_EQUAL, B, R160, PLAIN)                      \
    X(RANG_WRNG, OR, B, R160, PLAIN)                         \
    X(RANG_ERR, AND, B, R160, PLAIN)                         \
    X(RMT_AI_NOT, NOT, B, R160, PLAIN)                       \
    X(RMT_SP_CNFG_ERR, B_SW, B, R160, PLAIN)                 \
    X(REMSPD_CFG, B_NAME, B, R160, PLAIN)
CAT_MODULE(CNFG_CHECK_RMT)

namespace r160 {
// The remote setpoint's limits and their sampled tunables.
void RMT_SETPT_limits();
// The range check of the remote speed setpoint.
void CNFG_CHECK_RMT_range();
}  // namespace r160
