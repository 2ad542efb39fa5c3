// Module CNTRL_STOP: enable and disable of the controlled (normal) stop
// (80 ms).
#pragma once

#include "runtime/catalogue.h"

#define CNTRL_STOP_CELLS(X)                           \
    X(OR_ENABLE, OR, B, R80, PLAIN)                   \
    X(OR_ENABLE, IN_4, B, R80, TUNE(false))           \
    X(PLS_ON, B_ACTION, B, R80, PLAIN)                \
    X(PLS_ON, ACT_OUT, I, R80, PLAIN)                 \
    X(PLS_ON, E_TIME, A, R80, PLAIN)                  \
    X(PLS_ON, R_TIME, A, R80, PLAIN)                  \
    X(CI_NOT, NOT, B, R80, PLAIN)                     \
    X(BI_OFF, B_ACTION, B, R80, PLAIN)                \
    X(BI_OFF, ACT_OUT, I, R80, PLAIN)                 \
    X(BI_OFF, E_TIME, A, R80, PLAIN)                  \
    X(BI_OFF, R_TIME, A, R80, PLAIN)                  \
    X(OR_DISABLE, OR, B, R80, PLAIN)                  \
    X(OR_DISABLE, IN_4, B, R80, TUNE(false))          \
    X(NSD_ENABLED, LATCH_R, B, R80, PLAIN, R160)            \
    X(DISABLED, NOT, B, R80, PLAIN)                   \
    X(CSD_SEQ, B_NAME, B, R80, PLAIN)                 \
    X(USE_STOP, IN, B, R160, TUNE(true))              \
    X(USE_STOP, B_NAME, B, R160, PLAIN)               \
    X(NOT_USED, NOT, B, R160, PLAIN, R80)             \
    X(RST_LTCH, DELAY, B, R160, PLAIN, R80)           \
    X(RST_LTCH, R_TIME, I, R160, PLAIN)               \
    X(CSD_TRIP, B_NAME, B, R160, PLAIN, R80)          \
    X(Z_HPRPLIM, ZMINUS1_B, B, R80, PLAIN, R160)    \
    X(STP_SPD_LT_IDLE, AND, B, R80, PLAIN)            \
    X(STP_SPD_EQ_IDLE, OR, B, R80, PLAIN)             \
    X(STP_CMD, AND, B, R80, PLAIN)                    \
    X(STP_CPLT, OR, B, R80, PLAIN)                    \
    X(STP_COMPLETE, AND, B, R80, PLAIN, R10)          \
    X(STP_CPLT_DLY, DELAY, B, R80, PLAIN)             \
    X(STP_CPLT_DLY, R_TIME, I, R80, PLAIN)            \
    X(STP_CPLT_DLY, DLY_TIME, A, R80, TUNE(10.0, 2.0, 60.0)) \
    X(BI_ON, B_ACTION, B, R80, PLAIN)                 \
    X(BI_ON, ACT_OUT, I, R80, PLAIN)                  \
    X(BI_ON, E_TIME, A, R80, PLAIN)                   \
    X(BI_ON, R_TIME, A, R80, PLAIN)                   \
    X(CONTACT, B_NAME, B, R80, PLAIN)
CAT_MODULE(CNTRL_STOP)

namespace r80 {
void CNTRL_STOP_enable();   // _R80_TASK_15: the contact, the enable pulse and the contact release
void CNTRL_STOP_disable();  // _R80_TASK_16: the latch
// The stop at idle: below idle (_R80_TASK_13) and at idle or minimum
// (_R80_TASK_14), each while the normal-shutdown step is active.
void CNTRL_STOP_below_idle();
void CNTRL_STOP_stop_flags();
// The sequence flag, the stop complete (once the valve limiter has come
// down) and its delay (piece of _R80_TASK_18).
void CNTRL_STOP_complete();
}  // namespace r80

namespace r160 {
// Whether the controlled stop is used, the latch reset delay.
void CNTRL_STOP_settings();
}  // namespace r160
