// Module AUTO_ENBL: the automatic sequence's halt at idle, as configured
// (160 ms).
#pragma once

#include "runtime/catalogue.h"

#define AUTO_ENBL_CELLS(X) X(AUTO_HALT, B_NAME, B, R160, PLAIN, R80)
CAT_MODULE(AUTO_ENBL)

namespace r160 {
// The configured halt at idle (piece of _R160_TASK_12).
void AUTO_ENBL_halt();
}  // namespace r160
