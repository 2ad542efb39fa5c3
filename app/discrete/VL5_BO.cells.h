// Module VL5_BO: the remote relay-output node's wizard switch and function
// numbers, and the output blocks BOUT_01 .. BOUT_16 (node output and readback
// display at 40 ms).
#pragma once

#include <cstdint>

#include "runtime/appmem.h"
#include "runtime/catalogue.h"

#define VL5_BO_CELLS(X) \
    X(WIZ_4RELAYS, IN, B, R160, TUNE(false))        \
    X(WIZ_4RELAYS, B_NAME, B, R160, PLAIN)          \
    X(WIZFUN_RLY_CH1, IN, I, R160, TUNE(1, 1, 25))  \
    X(WIZFUN_RLY_CH1, I_NAME, I, R160, PLAIN)       \
    X(WIZFUN_RLY_CH2, IN, I, R160, TUNE(1, 1, 25))  \
    X(WIZFUN_RLY_CH2, I_NAME, I, R160, PLAIN)       \
    X(WIZFUN_RLY_CH3, IN, I, R160, TUNE(1, 1, 25))  \
    X(WIZFUN_RLY_CH3, I_NAME, I, R160, PLAIN)       \
    X(WIZFUN_RLY_CH4, IN, I, R160, TUNE(1, 1, 25))  \
    X(WIZFUN_RLY_CH4, I_NAME, I, R160, PLAIN)       \
    X(WIZFUN_RLY_CH5, IN, I, R160, TUNE(1, 1, 25))  \
    X(WIZFUN_RLY_CH5, I_NAME, I, R160, PLAIN)       \
    X(WIZFUN_RLY_CH6, IN, I, R160, TUNE(1, 1, 25))  \
    X(WIZFUN_RLY_CH6, I_NAME, I, R160, PLAIN)       \
    X(WIZFUN_RLY_CH7, IN, I, R160, TUNE(1, 1, 25))  \
    X(WIZFUN_RLY_CH7, I_NAME, I, R160, PLAIN)       \
    X(WIZFUN_RLY_CH8, IN, I, R160, TUNE(1, 1, 25))  \
    X(WIZFUN_RLY_CH8, I_NAME, I, R160, PLAIN)       \
    X(WIZFUN_RLY_CH9, IN, I, R160, TUNE(1, 1, 25))  \
    X(WIZFUN_RLY_CH9, I_NAME, I, R160, PLAIN)       \
    X(WIZFUN_RLY_CH10, IN, I, R160, TUNE(1, 1, 25)) \
    X(WIZFUN_RLY_CH10, I_NAME, I, R160, PLAIN)      \
    X(WIZFUN_RLY_CH11, IN, I, R160, TUNE(1, 1, 25)) \
    X(WIZFUN_RLY_CH11, I_NAME, I, R160, PLAIN)      \
    X(WIZFUN_RLY_CH12, IN, I, R160, TUNE(1, 1, 25)) \
    X(WIZFUN_RLY_CH12, I_NAME, I, R160, PLAIN)      \
    X(WIZFUN_RLY_CH13, IN, I, R160, TUNE(1, 1, 25)) \
    X(WIZFUN_RLY_CH13, I_NAME, I, R160, PLAIN)      \
    X(WIZFUN_RLY_CH14, IN, I, R160, TUNE(1, 1, 25)) \
    X(WIZFUN_RLY_CH14, I_NAME, I, R160, PLAIN)      \
    X(WIZFUN_RLY_CH15, IN, I, R160, TUNE(1, 1, 25)) \
    X(WIZFUN_RLY_CH15, I_NAME, I, R160, PLAIN)      \
    X(WIZFUN_RLY_CH16, IN, I, R160, TUNE(1, 1, 25)) \
    X(WIZFUN_RLY_CH16, I_NAME, I, R160, PLAIN)      \
    X(BOUT_01, DISPLAY, B, R40, PLAIN, R20)         \
    X(BOUT_01, RDBK, B, R40, PLAIN)                 \
    X(BOUT_02, DISPLAY, B, R40, PLAIN, R20)         \
    X(BOUT_02, RDBK, B, R40, PLAIN)                 \
    X(BOUT_03, DISPLAY, B, R40, PLAIN, R20)         \
    X(BOUT_03, RDBK, B, R40, PLAIN)                 \
    X(BOUT_04, DISPLAY, B, R40, PLAIN, R20)         \
    X(BOUT_04, RDBK, B, R40, PLAIN)                 \
    X(BOUT_05, DISPLAY, B, R40, PLAIN, R20)         \
    X(BOUT_05, RDBK, B, R40, PLAIN)                 \
    X(BOUT_06, DISPLAY, B, R40, PLAIN, R20)         \
    X(BOUT_06, RDBK, B, R40, PLAIN)                 \
    X(BOUT_07, DISPLAY, B, R40, PLAIN, R20)         \
    X(BOUT_07, RDBK, B, R40, PLAIN)                 \
    X(BOUT_08, DISPLAY, B, R40, PLAIN, R20)         \
    X(BOUT_08, RDBK, B, R40, PLAIN)                 \
    X(BOUT_09, DISPLAY, B, R40, PLAIN, R20)         \
    X(BOUT_09, RDBK, B, R40, PLAIN)                 \
    X(BOUT_10, DISPLAY, B, R40, PLAIN, R20)         \
    X(BOUT_10, RDBK, B, R40, PLAIN)                 \
    X(BOUT_11, DISPLAY, B, R40, PLAIN, R20)         \
    X(BOUT_11, RDBK, B, R40, PLAIN)                 \
    X(BOUT_12, DISPLAY, B, R40, PLAIN, R20)         \
    X(BOUT_12, RDBK, B, R40, PLAIN)                 \
    X(BOUT_13, DISPLAY, B, R40, PLAIN, R20)         \
    X(BOUT_13, RDBK, B, R40, PLAIN)                 \
    X(BOUT_14, DISPLAY, B, R40, PLAIN, R20)         \
    X(BOUT_14, RDBK, B, R40, PLAIN)                 \
    X(BOUT_15, DISPLAY, B, R40, PLAIN, R20)         \
    X(BOUT_15, RDBK, B, R40, PLAIN)                 \
    X(BOUT_16, DISPLAY, B, R40, PLAIN, R20)         \
    X(BOUT_16, RDBK, B, R40, PLAIN)
CAT_MODULE(VL5_BO)

namespace r40 {
// Output block of remote relay k (1 .. 16): the node output (0 under the I/O
// lock) and the readback display.
void VL5_BO_output(int k, uint32_t command);
}  // namespace r40

namespace r160 {
// The wizard switch of the node's relays (first of the node's pieces).
void VL5_BO_wizard();
// The wizard's function number of remote relay k (1 .. 16), copied from its
// tunable.
int32_t VL5_BO_wizard_function(int k);
}  // namespace r160
