// Module CONT_MESS: the control-status message (160 ms), the one text that
// says what is in control of the turbine.
#pragma once

#include "runtime/catalogue.h"

#define CONT_MESS_CELLS(X)                           \
    X(PRMT_13, AND, B, R160, PLAIN)                  \
    X(PRMT_14, AND, B, R160, PLAIN)                  \
    X(PRMT_25, AND, B, R160, PLAIN)                  \
    X(CNTRL_MESS, B_TO_STR, C, R160, PLAIN)          \
    X(CNTRL_MESS, MSG_SEL, I, R160, PLAIN)           \
    X(CONT_PARA_INT, I_NAME, I, R160, PLAIN)         \
    X(CNTRL_PARAMTR, A_NAME, A, R160, PLAIN)         \
    X(CONT_PARA, S_NAME, C, R160, PLAIN)             \
    X(A00_STEP_NOT, NOT, B, R160, PLAIN)             \
    X(VLV_LIM_MESS, AND, B, R160, PLAIN)
CAT_MODULE(CONT_MESS)

namespace r160 {
void CONT_MESS_message();  // _R160_TASK_33, after the start-mode flags
}
