// Module VL4_BI: the remote discrete-input node's wizard switch and wizard
// function numbers, the contacts of its sixteen inputs (BIN_nn.VL_BIN, from
// the node's input word at 20 ms) and the inputs' trip indexes.
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
    X(FUNC_TO_TRIP_01, IN_2, I, R160, TUNE(13, -200, 200)) \
    X(FUNC_TO_TRIP_01, I_SUBTRACT, I, R160, PLAIN, R10) \
    X(FUNC_TO_TRIP_02, IN_2, I, R160, TUNE(13, -200, 200)) \
    X(FUNC_TO_TRIP_02, I_SUBTRACT, I, R160, PLAIN, R10) \
    X(FUNC_TO_TRIP_03, IN_2, I, R160, TUNE(13, -200, 200)) \
    X(FUNC_TO_TRIP_03, I_SUBTRACT, I, R160, PLAIN, R10) \
    X(FUNC_TO_TRIP_04, IN_2, I, R160, TUNE(13, -200, 200)) \
    X(FUNC_TO_TRIP_04, I_SUBTRACT, I, R160, PLAIN, R10) \
    X(FUNC_TO_TRIP_05, IN_2, I, R160, TUNE(13, -200, 200)) \
    X(FUNC_TO_TRIP_05, I_SUBTRACT, I, R160, PLAIN, R10) \
    X(FUNC_TO_TRIP_06, IN_2, I, R160, TUNE(13, -200, 200)) \
    X(FUNC_TO_TRIP_06, I_SUBTRACT, I, R160, PLAIN, R10) \
    X(FUNC_TO_TRIP_07, IN_2, I, R160, TUNE(13, -200, 200)) \
    X(FUNC_TO_TRIP_07, I_SUBTRACT, I, R160, PLAIN, R10) \
    X(FUNC_TO_TRIP_08, IN_2, I, R160, TUNE(13, -200, 200)) \
    X(FUNC_TO_TRIP_08, I_SUBTRACT, I, R160, PLAIN, R10) \
    X(FUNC_TO_TRIP_09, IN_2, I, R160, TUNE(13, -200, 200)) \
    X(FUNC_TO_TRIP_09, I_SUBTRACT, I, R160, PLAIN, R10) \
    X(FUNC_TO_TRIP_10, IN_2, I, R160, TUNE(13, -200, 200)) \
    X(FUNC_TO_TRIP_10, I_SUBTRACT, I, R160, PLAIN, R10) \
    X(FUNC_TO_TRIP_11, IN_2, I, R160, TUNE(13, -200, 200)) \
    X(FUNC_TO_TRIP_11, I_SUBTRACT, I, R160, PLAIN, R10) \
    X(FUNC_TO_TRIP_12, IN_2, I, R160, TUNE(13, -200, 200)) \
    X(FUNC_TO_TRIP_12, I_SUBTRACT, I, R160, PLAIN, R10) \
    X(FUNC_TO_TRIP_13, IN_2, I, R160, TUNE(13, -200, 200)) \
    X(FUNC_TO_TRIP_13, I_SUBTRACT, I, R160, PLAIN, R10) \
    X(FUNC_TO_TRIP_14, IN_2, I, R160, TUNE(13, -200, 200)) \
    X(FUNC_TO_TRIP_14, I_SUBTRACT, I, R160, PLAIN, R10) \
    X(FUNC_TO_TRIP_15, IN_2, I, R160, TUNE(13, -200, 200)) \
    X(FUNC_TO_TRIP_15, I_SUBTRACT, I, R160, PLAIN, R10) \
    X(FUNC_TO_TRIP_16, IN_2, I, R160, TUNE(13, -200, 200)) \
    X(FUNC_TO_TRIP_16, I_SUBTRACT, I, R160, PLAIN, R10) \

CAT_MODULE(VL4_BI)

namespace r160 {
// The wizard switch of the node's channels (first of the node's pieces).
void VL4_BI_wizard();
// The wizard's function number of remote input n (1 .. 16), copied from its
// tunable; returns it.
int32_t VL4_BI_wizard_function(int n);
// Each input's trip index: its function number less its offset.
void VL4_BI_trip_numbers();
}  // namespace r160

namespace r20 {
// The contacts as received, each from its bit of the node's input word; all
// open while the node is not active.
void VL4_BI_contacts();
}  // namespace r20
