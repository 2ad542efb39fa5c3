// Module X_RESET: the reset blink. Its 80 ms input is the negation of the
// blink pulse; the 160 ms on-delay restarts the 0.2 s pulse.
#pragma once

#include "runtime/catalogue.h"

#define X_RESET_CELLS(X)                                     \
    X(N_BLINK2, NOT, B, R80, PLAIN, R160)                    \
    X(BLNK_RST, DELAY, B, R160, PLAIN)                       \
    X(BLNK_RST, DLY_TIME, A, R160, TUNE(1.0, 0.0, 60.0))     \
    X(BLNK_RST, R_TIME, I, R160, PLAIN)                      \
    X(BLINK_RST2, ONE_SHOT, B, R160, PLAIN, R10, R80)        \
    X(BLINK_RST2, R_TIME, I, R160, PLAIN)
CAT_MODULE(X_RESET)

namespace r80 {
void X_RESET_not_blink();   // _R80_TASK_26: N_BLINK2
}
namespace r160 {
void X_RESET_blink();       // the on-delay and the pulse (with the tutorial pieces)
}
