// Module CNTRL_STOP: enable and disable of the controlled (normal) stop
// (80 ms).
#pragma once

#include "app/control/standin/speedref_rows_standin.h"
#include "runtime/catalogue.h"

#define CNTRL_STOP_CELLS(X)                           \
    X(OR_ENABLE, OR, B, R80, PLAIN)                   \
    X(OR_ENABLE, IN_4, B, R80, TUNE(false))           \
    X(PLS_ON, B_ACTION, B, R80, PLAIN)                \
    X(CI_NOT, NOT, B, R80, PLAIN)                     \
    X(BI_OFF, B_ACTION, B, R80, PLAIN)                \
    X(OR_DISABLE, OR, B, R80, PLAIN)                  \
    X(OR_DISABLE, IN_4, B, R80, TUNE(false))          \
    X(NSD_ENABLED, LATCH_R, B, R80, PLAIN, R160)            \
    X(DISABLED, NOT, B, R80, PLAIN)                   \
    CNTRL_STOP_STANDIN_ROWS(X)
CAT_MODULE(CNTRL_STOP)

namespace r80 {
void CNTRL_STOP_enable();   // _R80_TASK_15: the enable pulse and the contact release
void CNTRL_STOP_disable();  // _R80_TASK_16: the latch
}  // namespace r80
