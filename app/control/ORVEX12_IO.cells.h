// Module ORVEX12_IO: controller I/O values; the 10 ms group takes the
// set-date command.
#pragma once

#include "runtime/catalogue.h"

#define ORVEX12_IO_CELLS(X)                      \
    X(SET_CLOCK, IN, B, R10, TUNE(false))        \
    X(SET_CLOCK, B_NAME, B, R10, PLAIN)
CAT_MODULE(ORVEX12_IO)

// The set-date command (piece of _R10_TASK_1).
namespace r10 {
void ORVEX12_IO_set_clock();
}
