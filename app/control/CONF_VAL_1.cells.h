// Modules CONF_VAL_1 and CONF_VAL_2: configuration summary flags (160 ms).
#pragma once

#include "runtime/catalogue.h"

#define CONF_VAL_1_CELLS(X)                          \
    X(CASC_USED, I_NAME, I, R160, PLAIN)             \
    X(CAS_EN_TRK, AND, B, R160, PLAIN)               \
    X(CONTROLLERS_TOTAL, I_NAME, I, R160, PLAIN)     \
    X(CONTROLLERS_USED, I_NAME, I, R160, PLAIN)      \
    X(IDLE_RTD_N, NOT, B, R160, PLAIN)               \
    X(NO_CASC, NOT, B, R160, PLAIN, R80)             \
    X(CRIT_BAND1, B_NAME, B, R160, PLAIN, R10, R40)  \
    X(IDLE_RTD, B_NAME, B, R160, PLAIN)              \
    X(USE_MPU2, B_NAME, B, R160, PLAIN, R10)
CAT_MODULE(CONF_VAL_1)

namespace r160 {
// The summary flags of CONF_VAL_1 and CONF_VAL_2 (_R160_TASK_33).
void CONF_VAL_flags();
}
