// STAND-IN rows of MESSAGE, MESSAGE_START and PWR_UP_MSG: cells of these
// modules that other logic computes (speed control status, remote and
// cascade status delays, idle/rated command pulses, the power-up sequence),
// declared here until that logic lands and takes the rows over.
#pragma once

#define MESSAGE_STANDIN_ROWS(X)                  \
    X(SPD_ACTIVE, AND, B, R160, PLAIN)           \
    X(SPD_IN_CTRL_DLY, DELAY, B, R160, PLAIN)    \
    X(RMT_IN_CTL, AND, B, R160, PLAIN)           \
    X(CASC_CTL_DELAY, DELAY, B, R160, PLAIN)     \
    X(CASC_RMT_DELAY, DELAY, B, R160, PLAIN)

#define MESSAGE_START_STANDIN_ROWS(X)            \
    X(TOIDLE, OR, B, R160, PLAIN)                \
    X(SH_OFFCMD, ONE_SHOT, B, R160, PLAIN)       \
    X(SH_ONCMD, ONE_SHOT, B, R160, PLAIN)

#define PWR_UP_MSG_STANDIN_ROWS(X) X(PWR_UP_COMPLETE, DELAY, B, R160, PLAIN)
