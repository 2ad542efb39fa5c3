// Module IFACE_IN_START: start-interface values; the probe speeds are set
// by the 10 ms speed sensing.
#pragma once

#include "app/control/standin/speed_rows_standin.h"
#include "runtime/catalogue.h"

#define IFACE_IN_START_CELLS(X)                \
    X(MPU_A, A_NAME, A, R10, PLAIN)            \
    X(MPU_B, A_NAME, A, R10, PLAIN)            \
    X(ANY_SD, B_NAME, B, R10, PLAIN)           \
    IFACE_IN_START_STANDIN_ROWS(X)
CAT_MODULE(IFACE_IN_START)

// The probe speeds (pieces of _R10_TASK_1).
namespace r10 {
void IFACE_IN_START_mpu_a();
void IFACE_IN_START_mpu_b();
}
