// Module ENTR_SETPT: the speed setpoint entered through the service tool,
// its validity, go-to command, latch and the revert of a refused entry
// (160 ms).
#pragma once

#include "runtime/catalogue.h"

#define ENTR_SETPT_CELLS(X)                                     \
    X(ENTR_SETPT, TUNE, A, R160, TUNE(0.0, 0.0, 1e38))          \
    X(ENTR_SETPT, SAMP_TUNE, A, R160, PLAIN)                    \
    X(ENTR_SETPT, LIMITED, B, R160, PLAIN)                      \
    X(ENTR_SETPT, EN_ENT_OUT, B, R160, PLAIN)                   \
    X(ENTR_SETPT, LO_LIM_OUT, A, R160, PLAIN)                   \
    X(ENTR_SETPT, HI_LIM_OUT, A, R160, PLAIN)                   \
    X(ENTR_SETPT, ENBL_ENTER, B, R160, TUNE(true))              \
    X(SAMPLE_Z, ZMINUS1_B, B, R160, PLAIN)                      \
    X(ENTR_SETPT_Z, ZMINUS1, A, R160, PLAIN)                    \
    X(SP_MIN, A_COMPARE, B, R160, PLAIN)                        \
    X(SP_MIN, A_EQUAL, B, R160, PLAIN)                          \
    X(SP_BLW_MIN, AND, B, R160, PLAIN)                          \
    X(SP_MAX, A_COMPARE, B, R160, PLAIN)                        \
    X(SP_MAX, A_EQUAL, B, R160, PLAIN)                          \
    X(SP_ABV_MAX, AND, B, R160, PLAIN)                          \
    X(CRIT_BND_1, AND, B, R160, PLAIN)                          \
    X(CRIT_BND_Z, ZMINUS1_B, B, R160, PLAIN)                    \
    X(INVALID_SP, OR, B, R160, PLAIN)                           \
    X(NOT_LIMITED, NOT, B, R160, PLAIN)                         \
    X(LIMITED, DELAY, B, R160, PLAIN)                           \
    X(LIMITED, R_TIME, I, R160, PLAIN)                          \
    X(LIMITED, DLY_TIME, A, R160, TUNE(3.0, 0.0, 60.0))         \
    X(GOTO_CMD, AND, B, R160, PLAIN)                            \
    X(H_SER_OK, ONE_SHOT, B, R160, PLAIN, R40)                  \
    X(H_SER_OK, R_TIME, I, R160, PLAIN)                         \
    X(ENTR_SETPT_A_SW, A_SW, A, R160, PLAIN)                    \
    X(CRITPLS, ONE_SHOT, B, R160, PLAIN)                        \
    X(CRITPLS, R_TIME, I, R160, PLAIN)                          \
    X(CRITPLS, DLY_TIME, A, R160, TUNE(3.0, 0.0, 60.0))         \
    X(CRIT_ENTRD, DELAY, B, R160, PLAIN)                        \
    X(CRIT_ENTRD, R_TIME, I, R160, PLAIN)                       \
    X(CRIT_ENTRD, DLY_TIME, A, R160, TUNE(1.5, 0.0, 60.0))      \
    X(RST_SRVLAT, OR, B, R160, PLAIN)                           \
    X(RST_SRVLAT, IN_1, B, R160, TUNE(false))                   \
    X(SER_DIS_Z, ZMINUS1_B, B, R160, PLAIN)                     \
    X(H_SER_LAT, LATCH_R, B, R160, PLAIN)                       \
    X(DIRECT_ENT, B_ACTION, B, R160, PLAIN, R80)                \
    X(DIRECT_ENT, ACT_OUT, I, R160, PLAIN)                      \
    X(DIRECT_ENT, E_TIME, A, R160, PLAIN)                       \
    X(DIRECT_ENT, R_TIME, A, R160, PLAIN)                       \
    X(ENBL_ENTR, OR, B, R160, PLAIN)                            \
    X(IDL_RTD_OS, ONE_SHOT, B, R160, PLAIN)                     \
    X(IDL_RTD_OS, R_TIME, I, R160, PLAIN)                       \
    X(H_SER_DIS, OR, B, R160, PLAIN)                            \
    X(H_SER_DIS, IN_9, B, R160, TUNE(false))                    \
    X(IN_OVRSPD, B_SW, B, R160, PLAIN, R40, R80)                \
    X(MOD_DIS, OR, B, R160, PLAIN)                              \
    X(AUTO_ST_OS, ONE_SHOT, B, R160, PLAIN)                     \
    X(AUTO_ST_OS, R_TIME, I, R160, PLAIN)                       \
    X(ENTR_MTCHD, AND, B, R40, PLAIN, R160)                     \
    X(B_H_SER_OK_NOT, NOT, B, R40, PLAIN)
CAT_MODULE(ENTR_SETPT)

namespace r160 {
void ENTR_SETPT_entry();          // revert, validity, go-to, latches, disable and selection
void ENTR_SETPT_store_delays();   // the unit-delay stores (last slice)
void ENTR_SETPT_commit_delays();  // and their commit
void ENTR_SETPT_auto_start();     // the go-to pulse of an automatic start
}  // namespace r160
namespace r40 {
void ENTR_SETPT_matched();        // the reference at the entered setpoint
}  // namespace r40
