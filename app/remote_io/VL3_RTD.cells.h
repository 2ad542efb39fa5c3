// Module VL3_RTD at 80 ms: the channel blocks of the remote RTD node, which
// turn each channel's raw word into a calibrated, filtered temperature in
// degrees Celsius with its fault and out-of-range latches, and the display
// values in the selected unit. The settings, function numbers and texts are
// those of the channel instances (RTD_CHANNEL.cells.h); the alarm levels
// those of the event instances _ub51 .. _ub58.
#pragma once

#include "runtime/catalogue.h"

#define VL3_RTD_CHANNEL_ROWS(X, N)                   \
    X(RTD_##N, VL_RTD, A, R80, PLAIN)                \
    X(RTD_##N, FAULT, B, R80, PLAIN)                 \
    X(RTD_##N, HI_LATCH, B, R80, PLAIN)              \
    X(RTD_##N, LO_LATCH, B, R80, PLAIN)              \
    X(RTD_##N, LATCH_OR, B, R80, PLAIN)              \
    X(RTD_##N, OVRD, B, R80, TUNE(false))            \
    X(RTD##N, A_SW, A, R80, PLAIN, R20)
// Channels 2 .. 8 have an out-of-range delay of their own, in milliseconds.
#define VL3_RTD_DELAY_ROW(X, N) X(RTD_##N, LATCH_DLY, A, R80, TUNE(0.2, 0.0, 10000.0))

#define VL3_RTD_CELLS(X)                                                                    \
    VL3_RTD_CHANNEL_ROWS(X, 1)                                                              \
    VL3_RTD_CHANNEL_ROWS(X, 2) VL3_RTD_DELAY_ROW(X, 2)                                      \
    VL3_RTD_CHANNEL_ROWS(X, 3) VL3_RTD_DELAY_ROW(X, 3)                                      \
    VL3_RTD_CHANNEL_ROWS(X, 4) VL3_RTD_DELAY_ROW(X, 4)                                      \
    VL3_RTD_CHANNEL_ROWS(X, 5) VL3_RTD_DELAY_ROW(X, 5)                                      \
    VL3_RTD_CHANNEL_ROWS(X, 6) VL3_RTD_DELAY_ROW(X, 6)                                      \
    VL3_RTD_CHANNEL_ROWS(X, 7) VL3_RTD_DELAY_ROW(X, 7)                                      \
    VL3_RTD_CHANNEL_ROWS(X, 8) VL3_RTD_DELAY_ROW(X, 8)
CAT_MODULE(VL3_RTD)

namespace r80 {
// Channel k (0 .. 7): its settings, raw word, node state, calibration,
// filter, out-of-range latches and function number.
void VL3_RTD_channel(int k);
// Channel k's display value, then its alarm and trip levels.
void VL3_RTD_display(int k);
// Channel k's display value, fault and function number (for the lists).
float VL3_RTD_display_value(int k);
}  // namespace r80
