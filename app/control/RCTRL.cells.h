// Module RCTRL: the conditions of the remote-control mode chart (160 ms).
#pragma once

#include "runtime/catalogue.h"

#define RCTRL_COND(X, C)                                                                               \
    X(C, B_ACTION, B, R160, PLAIN) X(C, ACT_OUT, I, R160, PLAIN) X(C, E_TIME, A, R160, PLAIN)           \
    X(C, R_TIME, A, R160, PLAIN)
#define RCTRL_SW(X, C, F) X(C, F, B, R160, TUNE(false))
#define RCTRL_CELLS(X)                                                                                   \
    X(CTRL_INHIB, NAND, B, R160, PLAIN)                                                                  \
    X(CTRL_INHIB, IN_2, B, R160, TUNE(true))                                                             \
    RCTRL_COND(X, B00_C1) RCTRL_COND(X, B00_C2) RCTRL_COND(X, B01_C1) RCTRL_COND(X, B01_C3)              \
    RCTRL_COND(X, B01_C4) RCTRL_COND(X, B02_C1) RCTRL_COND(X, B02_C2) RCTRL_COND(X, B02_C4)              \
    RCTRL_COND(X, B02_C5) RCTRL_COND(X, B03_C1) RCTRL_COND(X, B03_C2) RCTRL_COND(X, B03_C4)              \
    RCTRL_COND(X, B03_C5)                                                                                \
    RCTRL_SW(X, B00_C1, IN_2) RCTRL_SW(X, B00_C1, RST_1) RCTRL_SW(X, B00_C2, IN_2)                       \
    RCTRL_SW(X, B01_C1, RST_1) RCTRL_SW(X, B01_C3, IN_2) RCTRL_SW(X, B01_C3, RST_1)                      \
    RCTRL_SW(X, B01_C4, RST_1) RCTRL_SW(X, B02_C1, RST_1) RCTRL_SW(X, B02_C2, IN_2)                      \
    RCTRL_SW(X, B02_C2, RST_1) RCTRL_SW(X, B02_C4, IN_2) RCTRL_SW(X, B02_C4, RST_1)                      \
    RCTRL_SW(X, B02_C4, RST_2) RCTRL_SW(X, B03_C1, RST_1) RCTRL_SW(X, B03_C2, IN_2)                      \
    RCTRL_SW(X, B03_C2, RST_1)
CAT_MODULE(RCTRL)

namespace r160 {
void RCTRL_local_conditions();  // CTRL_INHIB, B00_C1, B00_C2
void RCTRL_conditions();        // the conditions of B01, B02 and B03
}  // namespace r160
