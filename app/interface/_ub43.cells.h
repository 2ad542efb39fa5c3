// RTD channel 1 of the remote RTD node, an instance _ub43 of the RTD
// channel template: its configuration stage at 80 ms (curve and resistance
// texts, offset, gain, fault delay, and the range limits in degrees
// Celsius when the node works in Fahrenheit).
#pragma once

#include "runtime/catalogue.h"

#define _ub43_CELLS(X)                                           \
    X(CURVE_C, IN, I, R80, TUNE(1, 1, 2))                        \
    X(CURVE_C, I_NAME, I, R80, PLAIN)                            \
    X(OHM_C, IN, I, R80, TUNE(1, 1, 2))                          \
    X(OHM_C, I_NAME, I, R80, PLAIN)                              \
    X(CURVE_TYPE, S_MUX_N_1, C, R80, PLAIN)                      \
    X(OHM_VAL, S_MUX_N_1, C, R80, PLAIN)                         \
    X(OFFSET, IN, A, R80, TUNE(0.0, -100.0, 100.0))              \
    X(OFFSET, A_NAME, A, R80, PLAIN)                             \
    X(GAIN, IN, A, R80, TUNE(1.0, 0.8, 1.2))                     \
    X(GAIN, A_NAME, A, R80, PLAIN)                               \
    X(FLT_DLY, IN, A, R80, TUNE(1.0, 0.0, 10.0))                 \
    X(FLT_DLY, A_NAME, A, R80, PLAIN)                            \
    X(SEC_TO_MS, MULTIPLY, A, R80, PLAIN)                        \
    X(SEL_DEG_F, B_NAME, B, R80, PLAIN)                          \
    X(RANGE_LO, IN, A, R80, TUNE(0.0, -10000.0, 10000.0))        \
    X(RANGE_LO, A_NAME, A, R80, PLAIN)                           \
    X(RANGE_HI, IN, A, R80, TUNE(1500.0, -10000.0, 10000.0))     \
    X(RANGE_HI, A_NAME, A, R80, PLAIN)                           \
    X(F_TO_C, OUT_1, A, R80, PLAIN)                              \
    X(F_TO_C, OUT_2, A, R80, PLAIN)                              \
    X(LO_SP_IN_C, A_SW, A, R80, PLAIN, R160)                     \
    X(HI_SP_IN_C, A_SW, A, R80, PLAIN, R160)                     \
    X(CHNL_FLT, B_NAME, B, R80, PLAIN) /* STAND-IN: the channel's fault, until the channel logic lands */
CAT_USER_BLOCK(_ub43, "VL3_RTD.RTD_1", CAT_NO_ALIASES)

namespace r80 {
void _ub43_config();  // piece of _R80_TASK_1
}
