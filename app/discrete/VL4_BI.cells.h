// Module VL4_BI: the remote discrete-input node's wizard switch and wizard
// function numbers, and the contacts of its sixteen inputs (BIN_nn.VL_BIN,
// written at 20 ms by the remote node logic).
#pragma once

#include <cstdint>

#include "runtime/catalogue.h"

#define VL4_BI_CELLS(X) \
    X(WIZ_4BINS, IN, B, R160, TUNE(false))         \
    X(WIZ_4BINS, B_NAME, B, R160, PLAIN)           \
    X(WIZFUN_BI_CH1, IN, I, R160, TUNE(1, 1, 31))  \
    X(WIZFUN_BI_CH1, I_NAME, I, R160, PLAIN)       \
    X(WIZFUN_BI_CH2, IN, I, R160, TUNE(1, 1, 31))  \
    X(WIZFUN_BI_CH2, I_NAME, I, R160, PLAIN)       \
    X(WIZFUN_BI_CH3, IN, I, R160, TUNE(1, 1, 31))  \
    X(WIZFUN_BI_CH3, I_NAME, I, R160, PLAIN)       \
    X(WIZFUN_BI_CH4, IN, I, R160, TUNE(1, 1, 31))  \
    X(WIZFUN_BI_CH4, I_NAME, I, R160, PLAIN)       \
    X(WIZFUN_BI_CH5, IN, I, R160, TUNE(1, 1, 31))  \
    X(WIZFUN_BI_CH5, I_NAME, I, R160, PLAIN)       \
    X(WIZFUN_BI_CH6, IN, I, R160, TUNE(1, 1, 31))  \
    X(WIZFUN_BI_CH6, I_NAME, I, R160, PLAIN)       \
    X(WIZFUN_BI_CH7, IN, I, R160, TUNE(1, 1, 31))  \
    X(WIZFUN_BI_CH7, I_NAME, I, R160, PLAIN)       \
    X(WIZFUN_BI_CH8, IN, I, R160, TUNE(1, 1, 31))  \
    X(WIZFUN_BI_CH8, I_NAME, I, R160, PLAIN)       \
    X(WIZFUN_BI_CH9, IN, I, R160, TUNE(1, 1, 31))  \
    X(WIZFUN_BI_CH9, I_NAME, I, R160, PLAIN)       \
    X(WIZFUN_BI_CH10, IN, I, R160, TUNE(1, 1, 31)) \
    X(WIZFUN_BI_CH10, I_NAME, I, R160, PLAIN)      \
    X(WIZFUN_BI_CH11, IN, I, R160, TUNE(1, 1, 31)) \
    X(WIZFUN_BI_CH11, I_NAME, I, R160, PLAIN)      \
    X(WIZFUN_BI_CH12, IN, I, R160, TUNE(1, 1, 31)) \
    X(WIZFUN_BI_CH12, I_NAME, I, R160, PLAIN)      \
    X(WIZFUN_BI_CH13, IN, I, R160, TUNE(1, 1, 31)) \
    X(WIZFUN_BI_CH13, I_NAME, I, R160, PLAIN)      \
    X(WIZFUN_BI_CH14, IN, I, R160, TUNE(1, 1, 31)) \
    X(WIZFUN_BI_CH14, I_NAME, I, R160, PLAIN)      \
    X(WIZFUN_BI_CH15, IN, I, R160, TUNE(1, 1, 31)) \
    X(WIZFUN_BI_CH15, I_NAME, I, R160, PLAIN)      \
    X(WIZFUN_BI_CH16, IN, I, R160, TUNE(1, 1, 31)) \
    X(WIZFUN_BI_CH16, I_NAME, I, R160, PLAIN)      \
    X(BIN_01, VL_BIN, B, R20, PLAIN)               \
    X(BIN_02, VL_BIN, B, R20, PLAIN)               \
    X(BIN_03, VL_BIN, B, R20, PLAIN)               \
    X(BIN_04, VL_BIN, B, R20, PLAIN)               \
    X(BIN_05, VL_BIN, B, R20, PLAIN)               \
    X(BIN_06, VL_BIN, B, R20, PLAIN)               \
    X(BIN_07, VL_BIN, B, R20, PLAIN)               \
    X(BIN_08, VL_BIN, B, R20, PLAIN)               \
    X(BIN_09, VL_BIN, B, R20, PLAIN)               \
    X(BIN_10, VL_BIN, B, R20, PLAIN)               \
    X(BIN_11, VL_BIN, B, R20, PLAIN)               \
    X(BIN_12, VL_BIN, B, R20, PLAIN)               \
    X(BIN_13, VL_BIN, B, R20, PLAIN)               \
    X(BIN_14, VL_BIN, B, R20, PLAIN)               \
    X(BIN_15, VL_BIN, B, R20, PLAIN)               \
    X(BIN_16, VL_BIN, B, R20, PLAIN)               \

CAT_MODULE(VL4_BI)

namespace r160 {
// The wizard switch of the node's channels (first of the node's pieces).
void VL4_BI_wizard();
// The wizard's function number of remote input n (1 .. 16), copied from its
// tunable; returns it.
int32_t VL4_BI_wizard_function(int n);
}  // namespace r160
