// Module CNFG_WIZ: the configuration wizard's enable. While it is on, the
// controller channels take their function numbers from the wizard cells.
#pragma once

#include "runtime/catalogue.h"

#define CNFG_WIZ_CELLS(X)                  \
    X(WIZARD, IN, B, R160, TUNE(false))    \
    X(WIZARD, B_NAME, B, R160, PLAIN)
CAT_MODULE(CNFG_WIZ)

namespace r160 {
// The wizard enable from its setting, before the channels' function
// numbers read it (first piece of _R160_TASK_1).
void CNFG_WIZ_enable();
}  // namespace r160
