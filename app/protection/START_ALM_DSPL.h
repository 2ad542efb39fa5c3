// The start-inhibit display START.ALM_DSPL and its message (module SERVICE):
// the rows they add to their modules, and the 160 ms piece that computes
// them from the start logic's inhibits.
#pragma once

#define START_ALM_DSPL_ROWS(X) \
    X(ALM_DSPL, LATCH1, B, R160, PLAIN)     \
    X(ALM_DSPL, LOGICAL_OR, B, R160, PLAIN) \
    X(ALM_DSPL, HORN, B, R160, PLAIN)       \
    X(ALM_DSPL, FIRST_ALM, I, R160, PLAIN)  \
    X(ALM_DSPL, SEL_1, B, R160, PLAIN)      \
    X(ALM_DSPL, SEL_2, B, R160, PLAIN)      \
    X(ALM_DSPL, SEL_3, B, R160, PLAIN)      \
    X(ALM_DSPL, SEL_4, B, R160, PLAIN)      \
    X(ALM_DSPL, SEL_5, B, R160, PLAIN)      \
    X(ALM_DSPL, SEL_6, B, R160, PLAIN)      \
    X(ALM_DSPL, ALM_NO_1, I, R160, PLAIN)   \
    X(ALM_DSPL, ALM_NO_2, I, R160, PLAIN)   \
    X(ALM_DSPL, ALM_NO_3, I, R160, PLAIN)   \
    X(ALM_DSPL, ALM_NO_4, I, R160, PLAIN)   \
    X(ALM_DSPL, ALM_NO_5, I, R160, PLAIN)   \
    X(ALM_DSPL, ALM_NO_6, I, R160, PLAIN)

#define SERVICE_START_MSG_ROWS(X) \
    X(PERN_DSP1, OR, B, R160, PLAIN)        \
    X(SW_M_NSTR, B_TO_STR, C, R160, PLAIN)  \
    X(SW_M_NSTR, MSG_SEL, I, R160, PLAIN)

namespace r160 {
// Rebuilt in every pass: the active start inhibits while the unit is not
// started, numbered in order, the lowest first-out; then their message.
void START_start_inhibits();
}
