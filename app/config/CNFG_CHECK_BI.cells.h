// Module CNFG_CHECK_BI at 160 ms: the function checks of the controller's
// eight discrete inputs, the wizard override of the input checks, and the
// duplicate-function finding of the discrete inputs.
#pragma once

#include "runtime/catalogue.h"

#define CNFG_CHECK_BI_CH(X, N, K)                       \
    X(BI_##N##_FUNC_CHK, B_MUX_N_1, B, R160, PLAIN)     \
    X(BI_##N##_CNFG_ERR, NOT, B, R160, PLAIN)           \
    X(CHK##K, AND, B, R160, PLAIN)                      \
    X(DI##N##CFG_ER, B_NAME, B, R160, PLAIN)

#define CNFG_CHECK_BI_CELLS(X)                                                                      \
    X(WIZ_OVRD, NOT, B, R160, PLAIN)                                                                \
    CNFG_CHECK_BI_CH(X, 01, 1) CNFG_CHECK_BI_CH(X, 02, 2) CNFG_CHECK_BI_CH(X, 03, 3)                \
    CNFG_CHECK_BI_CH(X, 04, 4) CNFG_CHECK_BI_CH(X, 05, 5) CNFG_CHECK_BI_CH(X, 06, 6)                \
    CNFG_CHECK_BI_CH(X, 07, 7) CNFG_CHECK_BI_CH(X, 08, 8)                                           \
    X(DUPLICATDI, B_NAME, B, R160, PLAIN)
CAT_MODULE(CNFG_CHECK_BI)

namespace r160 {
// The wizard override (first: the analog input checks read it too).
void CNFG_CHECK_BI_wizard();
// The function checks of discrete inputs 1 .. 8.
void CNFG_CHECK_BI_functions();
}  // namespace r160
