// Module SIO1 at 160 ms: the delayed Modbus restart one pass after the
// program starts running, one of the sources of the Modbus reset.
#pragma once

#include "runtime/catalogue.h"

#define SIO1_CELLS(X)                            \
    X(DLY_RST_MD, DELAY, B, R160, PLAIN, R80)    \
    X(DLY_RST_MD, R_TIME, I, R160, PLAIN)
CAT_MODULE(SIO1)

namespace r160 {
// The restart delay (piece of _R160_TASK_48).
void SIO1_modbus_restart();
}
