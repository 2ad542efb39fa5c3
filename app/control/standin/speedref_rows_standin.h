// STAND-IN rows of the speed-reference modules: cells of these modules that
// other logic computes (operator interface, configuration, protection,
// overspeed test, cascade), declared here until that logic lands and takes
// the rows over.
#pragma once

// START: start and stop contacts, keypad start, the permissive unit delays
// and the start-type configuration.
#define START_STANDIN_ROWS(X)                       \
    X(START_OS, ONE_SHOT, B, R80, PLAIN)            \
    X(KEYPAD_START, B_SW, B, R80, PLAIN)            \
    X(RST_OS, ONE_SHOT, B, R80, PLAIN)              \
    X(NOT_STRTD, NOT, B, R160, PLAIN, R80)          \
    X(DLY_OF, DELAY, B, R40, PLAIN, R80)

// ENTR_SETPT: the automatic-start and matched pulses.
#define ENTR_SETPT_STANDIN_ROWS(X)                  \
    X(AUTO_ST_OS, ONE_SHOT, B, R160, PLAIN)         \
    X(ENTR_MTCHD, AND, B, R40, PLAIN, R160)
