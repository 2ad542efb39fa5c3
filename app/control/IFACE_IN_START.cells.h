// Module IFACE_IN_START: start-interface values; the probe speeds are set
// by the 10 ms speed sensing, the start-sequence options by the start and
// idle/rated logic (160 ms).
#pragma once

#include "app/control/standin/speed_rows_standin.h"
#include "runtime/catalogue.h"

#define IFACE_IN_START_CELLS(X) \
    X(MPU_A, A_NAME, A, R10, PLAIN)              \
    X(MPU_B, A_NAME, A, R10, PLAIN)              \
    X(ANY_SD, B_NAME, B, R10, PLAIN, R80, R160)  \
    X(MANUAL_START, B_NAME, B, R160, PLAIN, R80) \
    X(AUTO_START, B_NAME, B, R160, PLAIN, R80)   \
    X(AUTO_SEQ, B_NAME, B, R160, PLAIN)          \
    X(AUTO_SEQ_NOT, NOT, B, R160, PLAIN, R80)    \
    X(SEMI_AUTO_START, B_NAME, B, R160, PLAIN)   \
    X(USE_RAMP_TO_IDLE, B_NAME, B, R160, PLAIN)  \
    X(USE_RAMP_TO_IDLE, IN, B, R160, TUNE(true)) \
    X(IDLE_PRIORITY, B_NAME, B, R160, PLAIN)     \
    X(IDLE_PRIORITY, IN, B, R160, TUNE(false))  \
    IFACE_IN_START_STANDIN_ROWS(X)
CAT_MODULE(IFACE_IN_START)

// The probe speeds (pieces of _R10_TASK_1).
namespace r10 {
void IFACE_IN_START_mpu_a();
void IFACE_IN_START_mpu_b();
}
// This application has no automatic start sequence (_R160_TASK_37).
namespace r160 {
void IFACE_IN_START_auto_seq();
}
