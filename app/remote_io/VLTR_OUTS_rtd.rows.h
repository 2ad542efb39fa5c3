// Rows of module VLTR_OUTS that gather the remote RTD channels at 80 ms:
// display values, faults and function numbers of channels 1 .. 8, as
// service-visible lists (the custom trends read the first four values).
#pragma once

#define VLTR_OUTS_RTD_ROWS(X) \
    X(VL_RTDS, LIST_1, A, R80, PLAIN, R40) \
    X(VL_RTDS, LIST_2, A, R80, PLAIN, R40) \
    X(VL_RTDS, LIST_3, A, R80, PLAIN, R40) \
    X(VL_RTDS, LIST_4, A, R80, PLAIN, R40) \
    X(VL_RTDS, LIST_5, A, R80, PLAIN) \
    X(VL_RTDS, LIST_6, A, R80, PLAIN) \
    X(VL_RTDS, LIST_7, A, R80, PLAIN) \
    X(VL_RTDS, LIST_8, A, R80, PLAIN) \
    X(VL_RTD_FLTS, LIST_1, B, R80, PLAIN) \
    X(VL_RTD_FLTS, LIST_2, B, R80, PLAIN) \
    X(VL_RTD_FLTS, LIST_3, B, R80, PLAIN) \
    X(VL_RTD_FLTS, LIST_4, B, R80, PLAIN) \
    X(VL_RTD_FLTS, LIST_5, B, R80, PLAIN) \
    X(VL_RTD_FLTS, LIST_6, B, R80, PLAIN) \
    X(VL_RTD_FLTS, LIST_7, B, R80, PLAIN) \
    X(VL_RTD_FLTS, LIST_8, B, R80, PLAIN) \
    X(VL_RTD_FUNCT, LIST_1, I, R80, PLAIN) \
    X(VL_RTD_FUNCT, LIST_2, I, R80, PLAIN) \
    X(VL_RTD_FUNCT, LIST_3, I, R80, PLAIN) \
    X(VL_RTD_FUNCT, LIST_4, I, R80, PLAIN) \
    X(VL_RTD_FUNCT, LIST_5, I, R80, PLAIN) \
    X(VL_RTD_FUNCT, LIST_6, I, R80, PLAIN) \
    X(VL_RTD_FUNCT, LIST_7, I, R80, PLAIN) \
    X(VL_RTD_FUNCT, LIST_8, I, R80, PLAIN)

namespace r80 {
// The three RTD lists, channel by channel.
void VLTR_OUTS_rtd_lists();
}  // namespace r80
