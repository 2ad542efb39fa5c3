// Module F_KEY at 160 ms: the blink rhythm of the function-key LEDs, a
// 0.5 s on-delay and a 0.4 s pulse that re-arms itself through a unit delay.
#pragma once

#include "runtime/catalogue.h"

#define F_KEY_CELLS(X)                                \
    X(Z1, ZMINUS1_B, B, R160, PLAIN)                  \
    X(N_BLINK, NOT, B, R160, PLAIN)                   \
    X(BLINK_ON, DELAY, B, R160, PLAIN)                \
    X(BLINK_ON, R_TIME, I, R160, PLAIN)               \
    X(BLINK_ON, DLY_TIME, A, R160, TUNE(0.5, 0.0, 10.0)) \
    X(BLINK_OFF, ONE_SHOT, B, R160, PLAIN)            \
    X(BLINK_OFF, R_TIME, I, R160, PLAIN)              \
    X(BLINK_OFF, DLY_TIME, A, R160, TUNE(0.4, 0.0, 10.0))
CAT_MODULE(F_KEY)

namespace r160 {
// The blink rhythm (_R160_TASK_10).
void F_KEY_blink();
}
