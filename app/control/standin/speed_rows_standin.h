// STAND-IN rows of modules that the speed control shares with subsystems not
// built yet (speed reference and start logic): the cells those subsystems
// compute, declared in the shared modules until their own logic lands and
// takes the rows over.
#pragma once

// IFACE_IN_SPEED: the idle and governor limits the configuration sampling
// copies in, and the held speed's reset command.
#define IFACE_IN_SPEED_STANDIN_ROWS(X) \
    X(IDLE_1, A_NAME, A, R160, PLAIN, R40, R80)       \
    X(MIN_GOV, A_NAME, A, R160, PLAIN, R10, R40, R80) \
    X(MAX_GOV, A_NAME, A, R160, PLAIN, R40, R80)      \
    X(RESET_HOLD, B_NAME, B, R160, PLAIN)

// IFACE_IN_START: the critical band's limits, the no-shutdown flag of the
// start logic and the idle/rated configuration.
#define IFACE_IN_START_STANDIN_ROWS(X) \
    X(SET_LOW1, A_NAME, A, R160, PLAIN, R10, R40, R80)    \
    X(SET_HIGH1, A_NAME, A, R160, PLAIN, R40)             \
    X(NOT_SD, B_NAME, B, R10, PLAIN)                  \
    X(USE_IDLE_RATED, B_NAME, B, R160, PLAIN, R80)
