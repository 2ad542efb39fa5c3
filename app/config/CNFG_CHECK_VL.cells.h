// Module CNFG_CHECK_VL at 160 ms: the remote nodes' part of the duplicate
// checks. Per remote analog input and remote discrete input the switch value
// (0 for function 1, else the function number) and the function compared
// with 1 ("not used"), their sums, and the sums while the node is enabled.
#pragma once

#include <cstdint>

#include "app/config/function_check.h"
#include "runtime/catalogue.h"

#define CNFG_CHECK_VL_AI(X, N)                  \
    X(VL_AI_##N##_NOT_USED, GT, B, R160, PLAIN) \
    X(VL_AI_##N##_NOT_USED, EQ, B, R160, PLAIN) \
    X(VL_AI_##N##_NOT_USED, LT, B, R160, PLAIN) \
    X(VL_AI_##N##_SW, I_SW, I, R160, PLAIN)
#define CNFG_CHECK_VL_BI(X, N)                  \
    X(BI_##N##_NOT_USED, GT, B, R160, PLAIN)    \
    X(BI_##N##_NOT_USED, EQ, B, R160, PLAIN)    \
    X(BI_##N##_NOT_USED, LT, B, R160, PLAIN)    \
    X(BI_##N##_SW, I_SW, I, R160, PLAIN)

#define CNFG_CHECK_VL_CELLS(X)                                                                      \
    CNFG_CHECK_VL_AI(X, 1) CNFG_CHECK_VL_AI(X, 2) CNFG_CHECK_VL_AI(X, 3) CNFG_CHECK_VL_AI(X, 4)     \
    CNFG_CHECK_VL_AI(X, 5) CNFG_CHECK_VL_AI(X, 6) CNFG_CHECK_VL_AI(X, 7) CNFG_CHECK_VL_AI(X, 8)     \
    X(VL_FUNCT, I_ADD, I, R160, PLAIN)                                                              \
    X(VL_FUNCTS, I_SW, I, R160, PLAIN)                                                              \
    CNFG_CHECK_VL_BI(X, 01) CNFG_CHECK_VL_BI(X, 02) CNFG_CHECK_VL_BI(X, 03) CNFG_CHECK_VL_BI(X, 04) \
    CNFG_CHECK_VL_BI(X, 05) CNFG_CHECK_VL_BI(X, 06) CNFG_CHECK_VL_BI(X, 07) CNFG_CHECK_VL_BI(X, 08) \
    CNFG_CHECK_VL_BI(X, 09) CNFG_CHECK_VL_BI(X, 10) CNFG_CHECK_VL_BI(X, 11) CNFG_CHECK_VL_BI(X, 12) \
    CNFG_CHECK_VL_BI(X, 13) CNFG_CHECK_VL_BI(X, 14) CNFG_CHECK_VL_BI(X, 15) CNFG_CHECK_VL_BI(X, 16) \
    X(BI_FUNCT, I_ADD, I, R160, PLAIN)                                                              \
    X(BI_FUNCTS, I_SW, I, R160, PLAIN)
CAT_MODULE(CNFG_CHECK_VL)

namespace r160 {
// The remote analog inputs' switch values and sums (node 1).
void CNFG_CHECK_VL_analog();
// Remote discrete input n's (1 .. 16) switch value and not-used compare,
// from its function in force (in the input's own configuration piece).
void CNFG_CHECK_VL_discrete_input(int n);
// The remote discrete inputs' sums (node 4).
void CNFG_CHECK_VL_discrete();
// The remote analog inputs' function numbers into the analog duplicate
// check's block, the remote discrete inputs' switch values into the
// discrete one's.
void CNFG_CHECK_VL_collect_analog(const fnchk::Collector<20>& block);
void CNFG_CHECK_VL_collect_discrete(const fnchk::Collector<50>& block);
}  // namespace r160
