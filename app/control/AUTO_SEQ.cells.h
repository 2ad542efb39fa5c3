// Module AUTO_SEQ: continue and halt of the automatic start sequence, and
// the start and stop indications (80 ms).
#pragma once

#include "runtime/catalogue.h"

#define AUTO_SEQ_CELLS(X)                             \
    X(START, B_ACTION, B, R80, PLAIN)                 \
    X(START, ACT_OUT, I, R80, PLAIN)                  \
    X(START, E_TIME, A, R80, PLAIN)                   \
    X(START, R_TIME, A, R80, PLAIN)                   \
    X(OR_ENABLE, OR, B, R80, PLAIN)                   \
    X(OR_ENABLE, IN_3, B, R80, TUNE(false))           \
    X(PLS_ON, B_ACTION, B, R80, PLAIN)                \
    X(PLS_ON, ACT_OUT, I, R80, PLAIN)                 \
    X(PLS_ON, E_TIME, A, R80, PLAIN)                  \
    X(PLS_ON, R_TIME, A, R80, PLAIN)                  \
    X(IDLE_STEPS, OR, B, R80, PLAIN)                  \
    X(IDLE_STEPS, IN_2, B, R80, TUNE(false))          \
    X(IH_AGAIN, DELAY, B, R80, PLAIN)                 \
    X(IH_AGAIN, R_TIME, I, R80, PLAIN)                \
    X(PLS_SEQ_OF, B_ACTION, B, R80, PLAIN)            \
    X(PLS_SEQ_OF, ACT_OUT, I, R80, PLAIN)             \
    X(PLS_SEQ_OF, E_TIME, A, R80, PLAIN)              \
    X(PLS_SEQ_OF, R_TIME, A, R80, PLAIN)              \
    X(HALT_IDLE, AND, B, R80, PLAIN)                  \
    X(OR_DISABLE, OR, B, R80, PLAIN)                  \
    X(OR_DISABLE, IN_4, B, R80, TUNE(false))          \
    X(CONTINUE, LATCH_R, B, R80, PLAIN, R160)               \
    X(HALT_LTCH, NOT, B, R80, PLAIN, R160)            \
    X(HALT, AND, B, R80, PLAIN)                       \
    X(CONTACT, IN, B, R80, TUNE(false))               \
    X(CONTACT, B_NAME, B, R80, PLAIN)                 \
    X(CI_NOT, NOT, B, R80, PLAIN)                     \
    X(BI_ON, B_ACTION, B, R80, PLAIN)                 \
    X(BI_ON, ACT_OUT, I, R80, PLAIN)                  \
    X(BI_ON, E_TIME, A, R80, PLAIN)                   \
    X(BI_ON, R_TIME, A, R80, PLAIN)                   \
    X(BI_OFF, B_ACTION, B, R80, PLAIN)                \
    X(BI_OFF, ACT_OUT, I, R80, PLAIN)                 \
    X(BI_OFF, E_TIME, A, R80, PLAIN)                  \
    X(BI_OFF, R_TIME, A, R80, PLAIN)                  \
    X(NOR_STEP, NOR, B, R160, PLAIN)                  \
    X(BLINK, AND, B, R160, PLAIN)
CAT_MODULE(AUTO_SEQ)

namespace r80 {
void AUTO_SEQ_sequence();   // continue/halt latch and the indications
void AUTO_SEQ_contact();    // _R80_TASK_14: the continue contact and its edge pulses
}
namespace r160 {
// The sequence's blink request: the run command is on, no step with its own
// indication is active and the sequence is not halted (piece of _R160_TASK_12).
void AUTO_SEQ_blink();
}
