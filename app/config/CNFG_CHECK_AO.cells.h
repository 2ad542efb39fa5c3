// Module CNFG_CHECK_AO at 160 ms: the function checks of the controller's
// three analog outputs.
#pragma once

#include "runtime/catalogue.h"

#define CNFG_CHECK_AO_CH(X, N) \
    X(AO_##N##_FUNC_CHK, B_MUX_N_1, B, R160, PLAIN) X(AO##N##CFG_ER, B_NAME, B, R160, PLAIN)

#define CNFG_CHECK_AO_CELLS(X) CNFG_CHECK_AO_CH(X, 01) CNFG_CHECK_AO_CH(X, 02) CNFG_CHECK_AO_CH(X, 03)
CAT_MODULE(CNFG_CHECK_AO)

namespace r160 {
// The function checks of analog outputs 1 .. 3 (no wizard override).
void CNFG_CHECK_AO_functions();
}  // namespace r160
