// Module IDLE_RATE: the idle/rated selection latch, its commands and the
// idle and rated pulses the speed reference sequence reacts to.
#pragma once

#include "runtime/catalogue.h"

#define IDLE_RATE_CELLS(X)                                 \
    X(NOT_USED, NOT, B, R160, PLAIN, R80)                  \
    X(NOT_RBACK, NOT, B, R160, PLAIN)                      \
    X(NO_RBACK, B_NAME, B, R160, PLAIN, R80)               \
    X(NO_PRIOR, NOT, B, R160, PLAIN, R80)                  \
    X(CONTACT, B_NAME, B, R80, PLAIN)                      \
    X(BI_ON, ACT_OUT, I, R80, PLAIN)                       \
    X(BI_ON, B_ACTION, B, R80, PLAIN)                      \
    X(BI_ON, E_TIME, A, R80, PLAIN)                        \
    X(BI_ON, R_TIME, A, R80, PLAIN)                        \
    X(OR_ENABLE, OR, B, R80, PLAIN)                        \
    X(OR_ENABLE, IN_5, B, R80, TUNE(false))                \
    X(PLS_ON, ACT_OUT, I, R80, PLAIN)                      \
    X(PLS_ON, B_ACTION, B, R80, PLAIN)                     \
    X(PLS_ON, E_TIME, A, R80, PLAIN)                       \
    X(PLS_ON, R_TIME, A, R80, PLAIN)                       \
    X(CI_NOT, NOT, B, R80, PLAIN)                          \
    X(BI_OFF, B_ACTION, B, R80, PLAIN)                     \
    X(BI_OFF, ACT_OUT, I, R80, PLAIN)                      \
    X(BI_OFF, E_TIME, A, R80, PLAIN)                       \
    X(BI_OFF, R_TIME, A, R80, PLAIN)                       \
    X(CMD_OFF, B_ACTION, B, R80, PLAIN)                    \
    X(CMD_OFF, ACT_OUT, I, R80, PLAIN)                     \
    X(CMD_OFF, E_TIME, A, R80, PLAIN)                      \
    X(CMD_OFF, R_TIME, A, R80, PLAIN)                      \
    X(OR_DISABLE, OR, B, R80, PLAIN)                       \
    X(OR_DISABLE, IN_3, B, R80, TUNE(false))               \
    X(RATED, LATCH_R, B, R80, PLAIN, R160)                       \
    X(RATE_LACT, NOT, B, R80, PLAIN, R160)                       \
    X(IDLE, AND, B, R80, PLAIN, R160)                      \
    X(AND_TOILDE, AND, B, R80, PLAIN)                      \
    X(AND_TORATD, AND, B, R80, PLAIN)                      \
    X(IDLE_SH, B_ACTION, B, R80, PLAIN)                    \
    X(IDLE_SH, ACT_OUT, I, R80, PLAIN)                     \
    X(IDLE_SH, E_TIME, A, R80, PLAIN)                      \
    X(IDLE_SH, R_TIME, A, R80, PLAIN)                      \
    X(OR_PLS_RP, OR, B, R80, PLAIN)                        \
    X(OR_PLS_RP, IN_3, B, R80, TUNE(false))                \
    X(PLS_OFF, B_ACTION, B, R80, PLAIN)                    \
    X(PLS_OFF, ACT_OUT, I, R80, PLAIN)                     \
    X(PLS_OFF, E_TIME, A, R80, PLAIN)                      \
    X(PLS_OFF, R_TIME, A, R80, PLAIN)                      \
    X(REPEAT_OFF, AND, B, R80, PLAIN)                      \
    X(IDLE_PLS, OR, B, R80, PLAIN)                         \
    X(REPEAT_ON, AND, B, R80, PLAIN)                       \
    X(RATED_SH, B_ACTION, B, R80, PLAIN)                   \
    X(RATED_SH, ACT_OUT, I, R80, PLAIN)                    \
    X(RATED_SH, E_TIME, A, R80, PLAIN)                     \
    X(RATED_SH, R_TIME, A, R80, PLAIN)                     \
    X(RATED_PLS, OR, B, R80, PLAIN)                        \
    X(OR_ATMIN, OR, B, R80, PLAIN)                         \
    X(TOMIN_IR, AND, B, R80, PLAIN)
CAT_MODULE(IDLE_RATE)

namespace r160 {
void IDLE_RATE_config();    // _R160_TASK_37: idle/rated not used
void IDLE_RATE_interface_settings();  // _R160_TASK_38: ramp to idle, idle priority
}
namespace r80 {
void IDLE_RATE_enable();    // _R80_TASK_18: contact and enable pulse (after GOTO_MIN)
void IDLE_RATE_latch();     // _R80_TASK_19: disable, latch and pulses
}  // namespace r80
