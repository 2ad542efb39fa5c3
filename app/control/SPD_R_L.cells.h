// Module SPD_R_L: raise and lower of the speed reference from contacts and
// the other command sources, with their latches and the fast-rate delays
// (80 ms).
#pragma once

#include "runtime/catalogue.h"

#define SPD_R_L_CELLS(X)                                   \
    X(DI_LWR_DLY, DELAY, B, R80, PLAIN)                    \
    X(DI_LWR_DLY, R_TIME, I, R80, PLAIN)                   \
    X(DI_RSE_DLY, DELAY, B, R80, PLAIN)                    \
    X(DI_RSE_DLY, R_TIME, I, R80, PLAIN)                   \
    X(N_DI_LWR, NOT, B, R80, PLAIN)                        \
    X(N_DI_RSE, NOT, B, R80, PLAIN)                        \
    X(LWR_OS, ONE_SHOT, B, R80, PLAIN)                     \
    X(LWR_OS, R_TIME, I, R80, PLAIN)                       \
    X(RSE_OS, ONE_SHOT, B, R80, PLAIN)                     \
    X(RSE_OS, R_TIME, I, R80, PLAIN)                       \
    X(NONDI_RAZ, OR, B, R80, PLAIN)                        \
    X(NONDI_RAZ, IN_2, B, R80, TUNE(false))                \
    X(NONDI_LWR, OR, B, R80, PLAIN)                        \
    X(NONDI_LWR, IN_3, B, R80, TUNE(false))                \
    X(R_LTCH_DIS, OR, B, R80, PLAIN)                       \
    X(R_LTCH_DIS, IN_4, B, R80, TUNE(false))               \
    X(RSE_LTCH, LATCH, B, R80, PLAIN)                      \
    X(RAISE, OR, B, R80, PLAIN)                            \
    X(SPD_RSE, AND, B, R80, PLAIN)                         \
    X(L_LTCH_DIS, OR, B, R80, PLAIN)                       \
    X(L_LTCH_DIS, IN_4, B, R80, TUNE(false))               \
    X(LWR_LTCH, LATCH, B, R80, PLAIN)                      \
    X(LOWER_REF, OR, B, R80, PLAIN)                        \
    X(NO_REM, NOT, B, R80, PLAIN)                          \
    X(SPD_LWR, AND, B, R80, PLAIN)                         \
    X(RSE_LWR, OR, B, R80, PLAIN, R160, R40)               \
    X(LWR_DLY, DELAY, B, R80, PLAIN)                       \
    X(LWR_DLY, R_TIME, I, R80, PLAIN)                      \
    X(LWR_PLS, ONE_SHOT, B, R80, PLAIN)                    \
    X(LWR_PLS, R_TIME, I, R80, PLAIN)                      \
    X(FST_DLY_TM, A_NAME, A, R80, PLAIN)                   \
    X(PNL_MD_RDL, DELAY, B, R80, PLAIN)                    \
    X(PNL_MD_RDL, R_TIME, I, R80, PLAIN)                   \
    X(PNL_MD_LDL, DELAY, B, R80, PLAIN)                    \
    X(PNL_MD_LDL, R_TIME, I, R80, PLAIN)                   \
    X(USE_FASTRATE, OR, B, R80, PLAIN, R160)               \
    X(USE_FASTRATE, IN_2, B, R80, TUNE(false))
CAT_MODULE(SPD_R_L)

namespace r80 {
void SPD_R_L_lower();      // contact selection, the lower path and the raise contact
void SPD_R_L_raise();      // the raise path
void SPD_R_L_fast_rate();  // the fast-rate delays
}  // namespace r80
