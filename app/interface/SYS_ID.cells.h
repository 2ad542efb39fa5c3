// Module VLTR_VIB at 160 ms: the count of remote vibration signals in use;
// and the delay value in hours of module SYS_ID.
#pragma once

#include "app/control/SYS_ID.cells.h"
#include "app/interface/standin/VLTR_VIB_standin.rows.h"
#include "runtime/catalogue.h"


#define VLTR_VIB_CELLS(X)                                \
    VLTR_VIB_STANDIN_ROWS(X)                             \
    X(NUM_VIBSIGS, I_ADD, I, R160, PLAIN, R80)           \
    X(VIBUSED, GT, B, R160, PLAIN)                       \
    X(VIBUSED, LT, B, R160, PLAIN)                       \
    X(VIBUSED, EQ, B, R160, PLAIN)                       \
    X(ENA_VIB_MON, B_NAME, B, R160, PLAIN, R80)          \
    X(WIZ_RQRD, IN, I, R160, TUNE(0, 0, 4))              \
    X(WIZ_RQRD, I_NAME, I, R160, PLAIN, R80)
CAT_MODULE(VLTR_VIB)

namespace r160 {
// The number of vibration signals in use and whether to monitor them.
void VLTR_VIB_count();
// The delay value in seconds.
void SYS_ID_delay();
}  // namespace r160
