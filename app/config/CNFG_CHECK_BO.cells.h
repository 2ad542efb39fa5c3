// Module CNFG_CHECK_BO at 160 ms: the function and level-switch checks of
// the controller's relays 2 to 4 and the relay error cells.
#pragma once

#include "runtime/catalogue.h"

#define CNFG_CHECK_BO_FN(X, N)                              \
    X(BO_##N##_FUNC_CHK, B_MUX_N_1, B, R160, PLAIN)         \
    X(BO_##N##_CNFG_ERR, NOT, B, R160, PLAIN)               \
    X(BO_##N##_CNFG_ERR_AND, AND, B, R160, PLAIN)
#define CNFG_CHECK_BO_LVL(X, N)                             \
    X(BO_##N##_LVL_FUNC_CHK, B_MUX_N_1, B, R160, PLAIN)     \
    X(BO_##N##_LVL_CNFG_ERR, NOT, B, R160, PLAIN)           \
    X(BO_##N##_LVL_SW, AND, B, R160, PLAIN)                 \
    X(BO_##N##_ERR, OR, B, R160, PLAIN)

#define CNFG_CHECK_BO_CELLS(X)                                                  \
    CNFG_CHECK_BO_FN(X, 02) CNFG_CHECK_BO_LVL(X, 02)                            \
    CNFG_CHECK_BO_FN(X, 03) CNFG_CHECK_BO_LVL(X, 03)                            \
    CNFG_CHECK_BO_FN(X, 04) CNFG_CHECK_BO_LVL(X, 04)                            \
    X(RLY1ER, IN, B, R160, TUNE(false))                                         \
    X(RLY1ER, B_NAME, B, R160, PLAIN)                                           \
    X(RLY2ER, B_NAME, B, R160, PLAIN)                                           \
    X(RLY3ER, B_NAME, B, R160, PLAIN)                                           \
    X(RLY4ER, B_NAME, B, R160, PLAIN)
CAT_MODULE(CNFG_CHECK_BO)

namespace r160 {
// The relay function and level-switch checks.
void CNFG_CHECK_BO_functions();
// Relay 4's level-switch check and the errors of relays 1 to 4.
void CNFG_CHECK_BO_relay_errors();
}  // namespace r160
