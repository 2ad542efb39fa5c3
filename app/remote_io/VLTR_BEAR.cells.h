// Module VLTR_BEAR: whether any analog input is assigned a bearing
// temperature, which enables the bearing-temperature monitoring (160 ms).
#pragma once

#include "runtime/catalogue.h"

#define VLTR_BEAR_CELLS(X)                   \
    X(BEARTEMP_ON, OR, B, R160, PLAIN)       \
    X(ENA_BEAR_MON, B_NAME, B, R160, PLAIN)
CAT_MODULE(VLTR_BEAR)

namespace r160 {
void VLTR_BEAR_monitor();
}  // namespace r160
