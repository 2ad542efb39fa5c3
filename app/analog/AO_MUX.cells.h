// Module AO_MUX: the signals the analog outputs and the trends select; the
// cascade input as the outputs show it (20 ms) and which analog output
// functions are in use (160 ms).
#pragma once

#include "app/analog/standin/AO_MUX_standin.rows.h"
#include "runtime/catalogue.h"

#define AO_MUX_CELLS(X)                         \
    AO_MUX_STANDIN_ROWS(X)                      \
    X(CASC_IN_NAME, A_NAME, A, R20, PLAIN, R40, R80) \
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

namespace r20 {
// The cascade input's copy for the outputs and trends.
void AO_MUX_cascade_input();
}  // namespace r20

namespace r160 {
// Which output functions are in use: cleared, then each output channel's
// flag at its function number (a later channel overwriting an earlier one).
void AO_MUX_functions_used();
}  // namespace r160
