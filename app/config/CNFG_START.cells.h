// Module CNFG_START: the start settings that the speed reference, the
// sequences and the valve limiter read, taken from the start-mode list and
// the start tunables every 160 ms pass.
#pragma once

#include "app/config/standin/CNFG_START_standin.rows.h"
#include "runtime/catalogue.h"

#define CNFG_START_CELLS(X)                                     \
    X(MAN_START, B_NAME, B, R160, PLAIN, R80)                   \
    X(SEMIAUTO_START, B_NAME, B, R160, PLAIN)                   \
    X(AUTO_SEQ, B_NAME, B, R160, PLAIN)                         \
    X(KEYPAD_CNFRM, B_NAME, B, R160, PLAIN)                     \
    X(HOT_START_MULT, IN, A, R160, TUNE(1.1, 1.0, 10.0))        \
    X(HOT_START_MULT, A_NAME, A, R160, PLAIN)                   \
    X(RATE_IDL_SPD, IN, A, R160, TUNE(50.0, 0.0099, 2000.0))    \
    X(RATE_IDL_SPD, A_NAME, A, R160, PLAIN)                     \
    X(RATE_MIN_SPD, IN, A, R160, TUNE(10.0, 0.0099, 2000.0))    \
    X(RATE_MIN_SPD, A_NAME, A, R160, PLAIN)                     \
    X(VLV_LIM_RATE, IN, A, R160, TUNE(2.0, 0.099, 25.0))        \
    X(VLV_LIM_RATE, A_NAME, A, R160, PLAIN, R80)                \
    CNFG_START_STANDIN_ROWS(X)
CAT_MODULE(CNFG_START)

namespace r160 {
// The start modes from the start-mode list and the start rates and hot-start
// multiplier from their settings (piece of _R160_TASK_29).
void CNFG_START_settings();
}  // namespace r160
