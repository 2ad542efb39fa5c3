// Module AO_MUX: the signals the analog outputs and the trends select: the
// twenty-entry output selection list with its sources (10 ms), the cascade
// input as the outputs show it (20 ms), the setpoints as the slower groups
// compute them, and which analog output functions are in use (160 ms).
#pragma once

#include "runtime/catalogue.h"

#define AO_MUX_SEL_ROW(X, N) X(SEL_OUTS, LIST_##N, A, R10, PLAIN, R20)

#define AO_MUX_CELLS(X)                         \
    AO_MUX_SEL_ROW(X, 1) AO_MUX_SEL_ROW(X, 2) AO_MUX_SEL_ROW(X, 3) AO_MUX_SEL_ROW(X, 4)         \
    AO_MUX_SEL_ROW(X, 5) AO_MUX_SEL_ROW(X, 6) AO_MUX_SEL_ROW(X, 7) AO_MUX_SEL_ROW(X, 8)         \
    AO_MUX_SEL_ROW(X, 9) AO_MUX_SEL_ROW(X, 10) AO_MUX_SEL_ROW(X, 11) AO_MUX_SEL_ROW(X, 12)      \
    AO_MUX_SEL_ROW(X, 13) AO_MUX_SEL_ROW(X, 14) AO_MUX_SEL_ROW(X, 15) AO_MUX_SEL_ROW(X, 16)     \
    AO_MUX_SEL_ROW(X, 17) AO_MUX_SEL_ROW(X, 18) AO_MUX_SEL_ROW(X, 19) AO_MUX_SEL_ROW(X, 20)     \
    X(SEL_OUTS, IN_15, A, R10, TUNE(0.0, -1e38, 1e38))  \
    X(SEL_OUTS, IN_16, A, R10, TUNE(0.0, -1e38, 1e38))  \
    X(SEL_OUTS, IN_17, A, R10, TUNE(0.0, -1e38, 1e38))  \
    X(SPEED, A_NAME, A, R10, PLAIN, R40, R80)        \
    X(HP_DMD, CTRL, B, R10, TUNE(false))             \
    X(HP_LSS_DMD, A_NAME, A, R10, PLAIN)             \
    X(HP_DMD, A_SW, A, R10, PLAIN, R40, R80)         \
    X(LSS_VALUE, A_NAME, A, R10, PLAIN, R40)         \
    X(SPD_SETPT, A_NAME, A, R40, PLAIN, R10, R80)    \
    X(RMT_SPD_SP, A_NAME, A, R80, PLAIN, R10, R40)   \
    X(CASC_SETPT, A_NAME, A, R80, PLAIN, R10, R40)   \
    X(RMT_CASC, A_NAME, A, R80, PLAIN, R10, R40)     \
    X(VALVE_LMT_NAME, A_NAME, A, R80, PLAIN, R10, R40) \
    X(CASC_IN_NAME, A_NAME, A, R20, PLAIN, R10, R40, R80) \
    X(AO_FUNC_USED, SEL_1, I, R160, TUNE(1, 0, 100)) \
    X(AO_FUNC_USED, IN_1, B, R160, TUNE(true)) \
    X(AO_FUNC_USED, IN_2, B, R160, TUNE(true)) \
    X(AO_FUNC_USED, IN_3, B, R160, TUNE(true)) \
    X(AO_FUNC_USED, IN_4, B, R160, TUNE(true)) \
    X(AO_FUNC_USED, IN_5, B, R160, TUNE(true)) \
    AO_MUX_FUNC_USED_OUTS(X)
#define AO_MUX_FUNC_USED_OUTS(X)                                                                             \
    X(AO_FUNC_USED, OUT_1, B, R160, PLAIN) X(AO_FUNC_USED, OUT_2, B, R160, PLAIN)                             \
    X(AO_FUNC_USED, OUT_3, B, R160, PLAIN) X(AO_FUNC_USED, OUT_4, B, R160, PLAIN)                             \
    X(AO_FUNC_USED, OUT_5, B, R160, PLAIN) X(AO_FUNC_USED, OUT_6, B, R160, PLAIN)                             \
    X(AO_FUNC_USED, OUT_7, B, R160, PLAIN) X(AO_FUNC_USED, OUT_8, B, R160, PLAIN)                             \
    X(AO_FUNC_USED, OUT_9, B, R160, PLAIN) X(AO_FUNC_USED, OUT_10, B, R160, PLAIN)                            \
    X(AO_FUNC_USED, OUT_11, B, R160, PLAIN) X(AO_FUNC_USED, OUT_12, B, R160, PLAIN)                           \
    X(AO_FUNC_USED, OUT_13, B, R160, PLAIN) X(AO_FUNC_USED, OUT_14, B, R160, PLAIN)                           \
    X(AO_FUNC_USED, OUT_15, B, R160, PLAIN) X(AO_FUNC_USED, OUT_16, B, R160, PLAIN)                           \
    X(AO_FUNC_USED, OUT_17, B, R160, PLAIN) X(AO_FUNC_USED, OUT_18, B, R160, PLAIN)                           \
    X(AO_FUNC_USED, OUT_19, B, R160, PLAIN) X(AO_FUNC_USED, OUT_20, B, R160, PLAIN)
CAT_MODULE(AO_MUX)

namespace r10 {
// The output selection list from its sources: the HP demand of this pass,
// the LSS value and the signals of the slower groups (piece of the
// actuator channel in _R10_TASK_5).
void AO_MUX_signals();
}  // namespace r10

namespace r20 {
// The cascade input's copy for the outputs and trends.
void AO_MUX_cascade_input();
}  // namespace r20

namespace r160 {
// Which output functions are in use: cleared, then each output channel's
// flag at its function number (a later channel overwriting an earlier one).
void AO_MUX_functions_used();
}  // namespace r160
