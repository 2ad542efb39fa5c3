// Module RMT_CAS_EN at 80 ms: the first-out list of the reasons that inhibit
// remote cascade (a shutdown, cascade inhibited, a failed remote cascade
// signal, remote cascade not configured).
#pragma once

#include "runtime/catalogue.h"

#define RMT_CAS_EN_INHIBIT_ROWS(X, N)               \
    X(RCASC_IH, SEL_##N, B, R80, PLAIN)             \
    X(RCASC_IH, ALM_NO_##N, I, R80, PLAIN)

#define RMT_CAS_EN_CELLS(X)                         \
    X(RCASC_IH, RST, B, R80, TUNE(true))            \
    X(RCASC_IH, LATCH1, B, R80, PLAIN, R160)        \
    X(RCASC_IH, LOGICAL_OR, B, R80, PLAIN)          \
    X(RCASC_IH, HORN, B, R80, PLAIN)                \
    X(RCASC_IH, FIRST_ALM, I, R80, PLAIN)           \
    X(INHIBITED, OR, B, R160, PLAIN)                \
    RMT_CAS_EN_INHIBIT_ROWS(X, 1) RMT_CAS_EN_INHIBIT_ROWS(X, 2) \
    RMT_CAS_EN_INHIBIT_ROWS(X, 3) RMT_CAS_EN_INHIBIT_ROWS(X, 4) \
    X(Z_LOOP, ZMINUS1_B, B, R80, PLAIN)             \
    X(MATCH_WINDOW, IN_2, A, R80, TUNE(0.0005, 0.0, 1.0)) \
    X(MATCH_WINDOW, MULTIPLY, A, R80, PLAIN)        \
    X(HI_MATCH, ADD, A, R80, PLAIN)                 \
    X(LO_MATCH, SUBTRACT, A, R80, PLAIN)            \
    X(MATCH_HI, A_COMPARE, B, R80, PLAIN)           \
    X(MATCH_HI, A_EQUAL, B, R80, PLAIN)             \
    X(MATCH_LO, A_COMPARE, B, R80, PLAIN)           \
    X(MATCH_LO, A_EQUAL, B, R80, PLAIN)             \
    X(IN_RMTCNTRL, AND, B, R80, PLAIN)              \
    X(NOT_RMT, NOT, B, R80, PLAIN)                  \
    X(DISABLE, OR, B, R80, PLAIN)                   \
    X(LATCH_RMT, ONE_SHOT, B, R80, PLAIN)           \
    X(LATCH_RMT, R_TIME, I, R80, PLAIN)             \
    X(N_MTCH_RTE, LATCH, B, R80, PLAIN)             \
    X(RCASC_CF, B_NAME, B, R160, PLAIN, R80)        \
    X(CONTACT, B_NAME, B, R160, PLAIN)              \
    X(BI_ON, B_ACTION, B, R160, PLAIN)              \
    X(BI_ON, ACT_OUT, I, R160, PLAIN)               \
    X(BI_ON, E_TIME, A, R160, PLAIN)                \
    X(BI_ON, R_TIME, A, R160, PLAIN)                \
    X(CI_NOT, NOT, B, R160, PLAIN)                  \
    X(BI_OFF, ACT_OUT, I, R160, PLAIN)              \
    X(BI_OFF, B_ACTION, B, R160, PLAIN, R80)        \
    X(BI_OFF, E_TIME, A, R160, PLAIN)               \
    X(BI_OFF, R_TIME, A, R160, PLAIN)               \
    X(CAS_DIS, AND, B, R160, PLAIN, R80)            \
    X(CAS_EN, AND, B, R160, PLAIN, R80)             \
    X(OR_ENABLE, IN_4, B, R160, TUNE(false))        \
    X(OR_ENABLE, OR, B, R160, PLAIN, R80)           \
    X(PLS_ON, ACT_OUT, I, R80, PLAIN)               \
    X(PLS_ON, B_ACTION, B, R80, PLAIN)              \
    X(PLS_ON, E_TIME, A, R80, PLAIN)                \
    X(PLS_ON, R_TIME, A, R80, PLAIN)                \
    X(OR_DISABLE, IN_8, B, R80, TUNE(false))        \
    X(OR_DISABLE, OR, B, R80, PLAIN)                \
    X(ENABLED, LATCH_R, B, R80, PLAIN)              \
    X(REM_SEL, AND, B, R80, PLAIN)
CAT_MODULE(RMT_CAS_EN)

namespace r80 {
void RMT_CAS_EN_inhibit_list();  // piece of _R80_TASK_22
}
// The remote-cascade configuration copy, the enable and release contact
// pulses, the cascade disable and the enable list (piece of _R160_TASK_48).
namespace r160 {
void RMT_CAS_EN_commands();
}
namespace r80 {
// The remote cascade setpoint's match window and not-matched latch (piece
// of _R80_TASK_23, after the remote speed setpoint's).
void RMT_CAS_EN_match();
// The remote-cascade enable latch and the selection (piece of _R80_TASK_12,
// after the remote speed setpoint's enable pulse).
void RMT_CAS_EN_enable();
}
