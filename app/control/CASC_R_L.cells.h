// Module CASC_R_L: raise and lower commands of the cascade setpoint and the
// fast-rate delays (80 ms).
#pragma once

#include "runtime/catalogue.h"

#define CASC_R_L_CELLS(X)                                   \
    X(DI_LWR_DLY, DELAY, B, R80, PLAIN)                     \
    X(DI_RSE_DLY, DELAY, B, R80, PLAIN)                     \
    X(PLS_L, B_ACTION, B, R80, PLAIN)                       \
    X(PLS_R, B_ACTION, B, R80, PLAIN)                       \
    X(RAZ_CMD, AND, B, R80, PLAIN)                          \
    X(RST_2, B_NAME, B, R80, TUNE(false))                   \
    X(ENAB_LOWER, LATCH_R, B, R80, PLAIN)                   \
    X(ENAB_RAISE, LATCH_R, B, R80, PLAIN)                   \
    X(RMT_LCL_L, AND, B, R80, PLAIN)                        \
    X(RMT_LCL_R, AND, B, R80, PLAIN)                        \
    X(LOWER, OR, B, R80, PLAIN)                             \
    X(LOWER, IN_2, B, R80, TUNE(false))                     \
    X(RAISE, OR, B, R80, PLAIN)                             \
    X(RAISE, IN_2, B, R80, TUNE(false))                     \
    X(NOR_REM, NOT, B, R80, PLAIN)                          \
    X(PERM_LOWER, AND, B, R80, PLAIN)                       \
    X(PERM_RAISE, AND, B, R80, PLAIN)                       \
    X(RSE_OR_LWR, OR, B, R80, PLAIN)                        \
    X(CAS_FST_DL, A_NAME, A, R80, PLAIN)                    \
    X(DI_CAS_LDL, DELAY, B, R80, PLAIN, R160)               \
    X(DI_CAS_RDL, DELAY, B, R80, PLAIN, R160)
CAT_MODULE(CASC_R_L)

namespace r80 {
void CASC_R_L_commands();   // _R80_TASK_13
}
