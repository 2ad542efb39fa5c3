// Module SD_LOGIC: the power-up shutdown window of the 10 ms group.
#pragma once

#include "app/control/standin/speed_rows_standin.h"
#include "runtime/catalogue.h"

#define SD_LOGIC_CELLS(X)                                  \
    X(PWR_UP_SD, DLY_TIME, A, R10, TUNE(1.0, 0.0, 2.0))    \
    X(PWR_UP_SD, ONE_SHOT, B, R10, PLAIN)                  \
    X(PWR_UP_SD, R_TIME, I, R10, PLAIN)                    \
    X(PSHBTN_Z, ZMINUS1_B, B, R10, PLAIN)                  \
    X(HP_FLT_Z, ZMINUS1_B, B, R10, PLAIN)                  \
    SD_LOGIC_STANDIN_ROWS(X)
CAT_MODULE(SD_LOGIC)

// The power-up shutdown one-shot (first piece of _R10_TASK_1).
namespace r10 {
void SD_LOGIC_power_up();
}
