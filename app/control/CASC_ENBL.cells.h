// Module CASC_ENBL: cascade enable, disable and the inhibit list (160 ms
// configuration, 80 ms latch and list).
#pragma once

#include "runtime/catalogue.h"

#define CASC_ENBL_LIST_ROWS(X, N) X(INHIBITED, SEL_##N, B, R80, PLAIN) X(INHIBITED, ALM_NO_##N, I, R80, PLAIN)
#define CASC_ENBL_CELLS(X)                                  \
    X(CASC_CF, B_NAME, B, R160, PLAIN, R80)                 \
    X(NO_BI_CF, NOT, B, R160, PLAIN)                        \
    X(CONTACT, B_NAME, B, R80, PLAIN)                       \
    X(BI_ON, B_ACTION, B, R80, PLAIN)                       \
    X(BI_ON, ACT_OUT, I, R80, PLAIN)                        \
    X(BI_ON, E_TIME, A, R80, PLAIN)                         \
    X(BI_ON, R_TIME, A, R80, PLAIN)                         \
    X(BI_OFF, B_ACTION, B, R80, PLAIN)                      \
    X(BI_OFF, ACT_OUT, I, R80, PLAIN)                       \
    X(BI_OFF, E_TIME, A, R80, PLAIN)                        \
    X(BI_OFF, R_TIME, A, R80, PLAIN)                        \
    X(DIS_RMTSPD, B_SW, B, R80, PLAIN)                      \
    X(OR_ENABLE, OR, B, R80, PLAIN)                         \
    X(OR_ENABLE, IN_4, B, R80, TUNE(false))                 \
    X(PLS_ON, B_ACTION, B, R80, PLAIN)                      \
    X(PLS_ON, ACT_OUT, I, R80, PLAIN)                       \
    X(PLS_ON, E_TIME, A, R80, PLAIN)                        \
    X(PLS_ON, R_TIME, A, R80, PLAIN)                        \
    X(OR_DISABLE, OR, B, R80, PLAIN)                        \
    X(OR_DISABLE, IN_2, B, R80, TUNE(false))                \
    X(ENABLED, LATCH_R, B, R80, PLAIN)                      \
    X(DISABLED, NOT, B, R80, PLAIN, R160)                   \
    X(ZENABLED, ZMINUS1_B, B, R80, PLAIN)                   \
    X(PLS_ENABL, B_ACTION, B, R80, PLAIN)                   \
    X(PLS_ENABL, ACT_OUT, I, R80, PLAIN)                    \
    X(PLS_ENABL, E_TIME, A, R80, PLAIN)                     \
    X(PLS_ENABL, R_TIME, A, R80, PLAIN)                     \
    X(ENABLEDMES, B_ACTION, B, R80, PLAIN, R160)            \
    X(ENABLEDMES, ACT_OUT, I, R80, PLAIN)                   \
    X(ENABLEDMES, E_TIME, A, R80, PLAIN)                    \
    X(ENABLEDMES, R_TIME, A, R80, PLAIN)                    \
    CASC_ENBL_LIST_ROWS(X, 1) CASC_ENBL_LIST_ROWS(X, 2) CASC_ENBL_LIST_ROWS(X, 3) \
    CASC_ENBL_LIST_ROWS(X, 4) CASC_ENBL_LIST_ROWS(X, 5) CASC_ENBL_LIST_ROWS(X, 6) \
    X(INHIBITED, LATCH1, B, R80, PLAIN, R160)               \
    X(INHIBITED, HORN, B, R80, PLAIN)                       \
    X(INHIBITED, FIRST_ALM, I, R80, PLAIN)                  \
    X(INHIBITED, LOGICAL_OR, B, R80, PLAIN)                 \
    X(INHIBITED, RST, B, R80, TUNE(true))                   \
    X(WHY_INHIBIT, I_TO_STR, C, R80, PLAIN)
CAT_MODULE(CASC_ENBL)

namespace r160 {
void CASC_ENBL_config();    // _R160_TASK_17: configured, contact used
}
namespace r80 {
void CASC_ENBL_latch();     // _R80_TASK_15: requests and the enable latch
void CASC_ENBL_inhibit();   // _R80_TASK_17: the inhibit list and its text
}
