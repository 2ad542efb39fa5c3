// Module ORVEX12_IO: controller I/O values; the 10 ms group takes the
// set-date command; the chassis status block's supplies, ADC fault and LED
// commands.
#pragma once

#include "runtime/catalogue.h"

#define ORVEX12_IO_CELLS(X)                      \
    X(SET_CLOCK, IN, B, R10, TUNE(false))        \
    X(SET_CLOCK, B_NAME, B, R10, PLAIN)          \
    X(CHASS_STATUS, PS_1_2V, A, R20, PLAIN)      \
    X(CHASS_STATUS, PS_1_4V, A, R20, PLAIN)      \
    X(CHASS_STATUS, PS_1_8V, A, R20, PLAIN)      \
    X(CHASS_STATUS, PS_3_3V, A, R20, PLAIN)      \
    X(CHASS_STATUS, PS_5V, A, R20, PLAIN)        \
    X(CHASS_STATUS, PS_15V, A, R20, PLAIN)       \
    X(CHASS_STATUS, PS_N15V, A, R20, PLAIN)      \
    X(CHASS_STATUS, PS_24V, A, R20, PLAIN)       \
    X(CHASS_STATUS, FPGA_ADC_FLT, B, R20, PLAIN) \
    X(CHASS_STATUS, CAL_FLT, B, R20, PLAIN)      \
    X(CHASS_STATUS, CPU_RED_LED, B, R20, PLAIN)  \
    X(CHASS_STATUS, CPU_GREEN_LED, B, R20, PLAIN) \
    X(CHASS_STATUS, PRODUCT_MODEL, C, R20, PLAIN) \
    X(INIT_BLINK, B_SW, B, R80, PLAIN)
CAT_MODULE(ORVEX12_IO)

// The set-date command (piece of _R10_TASK_1).
namespace r10 {
void ORVEX12_IO_set_clock();
}
