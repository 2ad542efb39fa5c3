// STAND-IN rows of module AO_MUX until the analog output selection lands:
// the twenty signals an output channel can select by function number, and
// the signals the custom trends show that the selection names. AO_MUX.cells.h
// lists them; the real selection declares them there and deletes this file.
#pragma once

#define AO_MUX_STANDIN_ROWS(X) \
    X(SEL_OUTS, LIST_1, A, R10, PLAIN, R20)   \
    X(SEL_OUTS, LIST_2, A, R10, PLAIN, R20)   \
    X(SEL_OUTS, LIST_3, A, R10, PLAIN, R20)   \
    X(SEL_OUTS, LIST_4, A, R10, PLAIN, R20)   \
    X(SEL_OUTS, LIST_5, A, R10, PLAIN, R20)   \
    X(SEL_OUTS, LIST_6, A, R10, PLAIN, R20)   \
    X(SEL_OUTS, LIST_7, A, R10, PLAIN, R20)   \
    X(SEL_OUTS, LIST_8, A, R10, PLAIN, R20)   \
    X(SEL_OUTS, LIST_9, A, R10, PLAIN, R20)   \
    X(SEL_OUTS, LIST_10, A, R10, PLAIN, R20)  \
    X(SEL_OUTS, LIST_11, A, R10, PLAIN, R20)  \
    X(SEL_OUTS, LIST_12, A, R10, PLAIN, R20)  \
    X(SEL_OUTS, LIST_13, A, R10, PLAIN, R20)  \
    X(SEL_OUTS, LIST_14, A, R10, PLAIN, R20)  \
    X(SEL_OUTS, LIST_15, A, R10, PLAIN, R20)  \
    X(SEL_OUTS, LIST_16, A, R10, PLAIN, R20)  \
    X(SEL_OUTS, LIST_17, A, R10, PLAIN, R20)  \
    X(SEL_OUTS, LIST_18, A, R10, PLAIN, R20)  \
    X(SEL_OUTS, LIST_19, A, R10, PLAIN, R20)  \
    X(SEL_OUTS, LIST_20, A, R10, PLAIN, R20)  \
    X(SPD_SETPT, A_NAME, A, R40, PLAIN, R80)       \
    X(SPEED, A_NAME, A, R10, PLAIN, R40, R80)      \
    X(RMT_SPD_SP, A_NAME, A, R80, PLAIN, R40) \
    X(CASC_SETPT, A_NAME, A, R80, PLAIN, R40) \
    X(RMT_CASC, A_NAME, A, R80, PLAIN, R40)   \
    X(VALVE_LMT_NAME, A_NAME, A, R80, PLAIN, R40) \
    X(HP_DMD, A_SW, A, R10, PLAIN, R40, R80)       \
    X(LSS_VALUE, A_NAME, A, R10, PLAIN, R40)
