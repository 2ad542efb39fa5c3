// Module CNFG_CHECK_AI at 160 ms: the function checks of the controller's
// four analog inputs and the duplicate-function check of all analog inputs
// (the remote node's part in CNFG_CHECK_VL); per input its switch value and
// its function compared with 1 ("not used").
#pragma once

#include "runtime/catalogue.h"

#define CNFG_CHECK_AI_CH(X, N)                          \
    X(AI_##N##_FUNC_CHK, B_MUX_N_1, B, R160, PLAIN)     \
    X(AI_##N##_CNFG_ERR, NOT, B, R160, PLAIN)           \
    X(AI_##N##_CFG_ER, B_NAME, B, R160, PLAIN)          \
    X(AI_##N##_SW, I_SW, I, R160, PLAIN)                \
    X(AI_##N##_NOT_USED, GT, B, R160, PLAIN)            \
    X(AI_##N##_NOT_USED, EQ, B, R160, PLAIN)            \
    X(AI_##N##_NOT_USED, LT, B, R160, PLAIN)
#define CNFG_CHECK_AI_F(X, N) X(AI_FUNCT, OUT_##N, I, R160, PLAIN)

#define CNFG_CHECK_AI_CELLS(X)                                                                      \
    CNFG_CHECK_AI_CH(X, 01) CNFG_CHECK_AI_CH(X, 02) CNFG_CHECK_AI_CH(X, 03) CNFG_CHECK_AI_CH(X, 04)  \
    CNFG_CHECK_AI_F(X, 1) CNFG_CHECK_AI_F(X, 2) CNFG_CHECK_AI_F(X, 3) CNFG_CHECK_AI_F(X, 4)         \
    CNFG_CHECK_AI_F(X, 5) CNFG_CHECK_AI_F(X, 6) CNFG_CHECK_AI_F(X, 7) CNFG_CHECK_AI_F(X, 8)         \
    CNFG_CHECK_AI_F(X, 9) CNFG_CHECK_AI_F(X, 10) CNFG_CHECK_AI_F(X, 11) CNFG_CHECK_AI_F(X, 12)      \
    CNFG_CHECK_AI_F(X, 13) CNFG_CHECK_AI_F(X, 14) CNFG_CHECK_AI_F(X, 15) CNFG_CHECK_AI_F(X, 16)     \
    CNFG_CHECK_AI_F(X, 17) CNFG_CHECK_AI_F(X, 18) CNFG_CHECK_AI_F(X, 19) CNFG_CHECK_AI_F(X, 20)     \
    X(AI_ADD1, I_ADD, I, R160, PLAIN)                                                               \
    X(AI_ADD2, I_ADD, I, R160, PLAIN)                                                               \
    X(AI_FUNCT_EQ, EQ, B, R160, PLAIN)                                                              \
    X(AI_FUNCT_EQ, LT, B, R160, PLAIN)                                                              \
    X(AI_FUNCT_EQ, GT, B, R160, PLAIN)                                                              \
    X(DUP_AI, NOT, B, R160, PLAIN)                                                                  \
    X(DUPLICATE_AI, B_NAME, B, R160, PLAIN)
CAT_MODULE(CNFG_CHECK_AI)

namespace r160 {
// The function checks of analog inputs 1 .. 4 (after CNFG_CHECK's feature
// flags and CNFG_CHECK_BI's wizard override).
void CNFG_CHECK_AI_functions();
// The duplicate check (after CNFG_CHECK_VL's remote sum).
void CNFG_CHECK_AI_duplicates();
}  // namespace r160
