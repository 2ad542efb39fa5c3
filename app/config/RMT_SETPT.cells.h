// Module CNFG_CHECK_RMT at 160 ms: the check of the remote speed setpoint's
// limits (module RMT_SETPT) against the remote input's range.
#pragma once

#include "app/interface/RMT_SETPT.cells.h"
#include "runtime/catalogue.h"


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
