// Module IFACE_OUT_START: the start and stop interface outputs.
#pragma once

#include "runtime/catalogue.h"

#define IFACE_OUT_START_CELLS(X)                        \
    X(IN_CRIT, B_NAME, B, R10, PLAIN, R160)             \
    X(SD_CLEAR, B_NAME, B, R80, PLAIN, R10, R160)       \
    X(CSD_SEQ_ENABLED, B_NAME, B, R80, PLAIN, R160)     \
    X(STRT_INH, B_NAME, B, R80, PLAIN, R160)                \
    X(CSD_LATCH_ENABLED, B_NAME, B, R80, PLAIN)         \
    X(CSD_DISABLED, B_NAME, B, R80, PLAIN)              \
    X(CSD_ENABLED, B_NAME, B, R80, PLAIN)               \
    X(STARTED, B_NAME, B, R80, PLAIN)                   \
    X(MPU2_OVRD_ON, B_NAME, B, R160, PLAIN)             \
    X(MPU_OVRD_TIME_REM, I_NAME, I, R160, PLAIN)        \
    X(STARTING, B_NAME, B, R160, PLAIN)                 \
    /* Data-log item only: nothing in the application writes it. */ \
    X(MPU1_OVRD_ON, B_NAME, B, R10, PLAIN)
CAT_MODULE(IFACE_OUT_START)

namespace r80 {
// The controlled-stop sequence and shutdown-clear copies (piece of
// _R80_TASK_20).
void IFACE_OUT_START_copies();
}
namespace r160 {
// The speed-sensor override shown to the operator, with the override time
// left (piece of _R160_TASK_41).
void IFACE_OUT_START_overrides();
// The start latch shown (piece of _R160_TASK_29).
void IFACE_OUT_START_starting();
}  // namespace r160
