// Module IFACE_OUT_START: the start and stop interface outputs.
#pragma once

#include "app/control/standin/speedref_rows_standin.h"
#include "runtime/catalogue.h"

#define IFACE_OUT_START_CELLS(X)                        \
    X(SD_CLEAR, B_NAME, B, R80, PLAIN, R10, R160)       \
    X(CSD_SEQ_ENABLED, B_NAME, B, R80, PLAIN, R160)     \
    X(STRT_INH, B_NAME, B, R80, PLAIN, R160)                \
    X(CSD_LATCH_ENABLED, B_NAME, B, R80, PLAIN)         \
    X(CSD_DISABLED, B_NAME, B, R80, PLAIN)              \
    X(CSD_ENABLED, B_NAME, B, R80, PLAIN)               \
    X(STARTED, B_NAME, B, R80, PLAIN)                   \
    IFACE_OUT_START_STANDIN_ROWS(X)
CAT_MODULE(IFACE_OUT_START)

namespace r80 {
// The controlled-stop sequence and shutdown-clear copies (piece of
// _R80_TASK_20).
void IFACE_OUT_START_copies();
}
