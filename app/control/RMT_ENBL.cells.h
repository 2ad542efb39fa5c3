// Module RMT_ENBL: enable of the remote speed setpoint, its latch and the
// remote-setpoint inhibit list (80 ms).
#pragma once

#include "runtime/catalogue.h"

#define RMT_ENBL_LIST_ROWS(X, N) X(RMT_SP_INH, SEL_##N, B, R80, PLAIN) X(RMT_SP_INH, ALM_NO_##N, I, R80, PLAIN)
#define RMT_ENBL_CELLS(X)                                    \
    X(CONTACT, B_NAME, B, R80, PLAIN)                        \
    X(NO_AI_FLT, NOT, B, R80, PLAIN)                         \
    X(ENA_OK, AND, B, R80, PLAIN)                            \
    X(BI_ON, B_ACTION, B, R80, PLAIN)                        \
    X(BI_ON, ACT_OUT, I, R80, PLAIN)                         \
    X(BI_ON, E_TIME, A, R80, PLAIN)                          \
    X(BI_ON, R_TIME, A, R80, PLAIN)                          \
    X(PLS_ON, B_ACTION, B, R80, PLAIN)                       \
    X(PLS_ON, ACT_OUT, I, R80, PLAIN)                        \
    X(PLS_ON, E_TIME, A, R80, PLAIN)                         \
    X(PLS_ON, R_TIME, A, R80, PLAIN)                         \
    X(PLS_ON, ACT_Q, I, R80, TUNE(3, 1, 8))                  \
    X(PLS_ON, IN_5, B, R80, TUNE(false))                     \
    X(BI_ENA, B_SW, B, R80, PLAIN)                           \
    X(OR_ENABLE, OR, B, R80, PLAIN)                          \
    X(DISFROMCASC, AND, B, R80, PLAIN, R40)                  \
    X(OR, OR, B, R80, PLAIN)                                 \
    X(DIS_REM, NOT, B, R80, PLAIN)                           \
    X(BI_OFF, B_ACTION, B, R80, PLAIN)                       \
    X(BI_OFF, ACT_OUT, I, R80, PLAIN)                        \
    X(BI_OFF, E_TIME, A, R80, PLAIN)                         \
    X(BI_OFF, R_TIME, A, R80, PLAIN)                         \
    X(BI_DIS, B_SW, B, R80, PLAIN, R40)                      \
    X(SPD_LOW, NOT, B, R80, PLAIN)                           \
    X(INHIBITED, OR, B, R80, PLAIN, R160)                      \
    X(OR_DISABLE, OR, B, R80, PLAIN, R160)                     \
    X(OR_DISABLE, IN_4, B, R80, TUNE(false))                 \
    X(ENABLED, LATCH_R, B, R80, PLAIN, R160)                 \
    X(ZENABLED, ZMINUS1_B, B, R80, PLAIN)                    \
    X(DISABLED, NOT, B, R80, PLAIN, R160)                    \
    X(ENBL_AUTO, AND, B, R80, PLAIN, R160)                   \
    RMT_ENBL_LIST_ROWS(X, 1) RMT_ENBL_LIST_ROWS(X, 2) RMT_ENBL_LIST_ROWS(X, 3) \
    RMT_ENBL_LIST_ROWS(X, 4) RMT_ENBL_LIST_ROWS(X, 5)        \
    X(RMT_SP_INH, LATCH1, B, R80, PLAIN, R160)               \
    X(RMT_SP_INH, HORN, B, R80, PLAIN)                       \
    X(RMT_SP_INH, FIRST_ALM, I, R80, PLAIN)                  \
    X(RMT_SP_INH, LOGICAL_OR, B, R80, PLAIN)                 \
    X(RMT_SP_INH, RST, B, R80, TUNE(true)) \
    X(RMT_SPD_INH, AND, B, R160, PLAIN, R80)                 \
    X(PLS_ENABL, ACT_OUT, I, R80, PLAIN)                     \
    X(PLS_ENABL, B_ACTION, B, R80, PLAIN) \
    X(PLS_ENABL, E_TIME, A, R80, PLAIN)   \
    X(PLS_ENABL, R_TIME, A, R80, PLAIN)
CAT_MODULE(RMT_ENBL)

namespace r80 {
void RMT_ENBL_enable();     // the enable latch and the selection of the remote setpoint
void RMT_ENBL_disabled();   // DISABLED, the inhibit list and ENBL_AUTO
void RMT_ENBL_enable_pulse();  // _R80_TASK_12: PLS_ENABL, the rise of the last pass's enable
}  // namespace r80
