// Module PWR_UP_MSG at 80 ms: the one-second display pulse after the
// power-up delay and the power-up-complete flag a second later; at 160 ms
// the delays that hold back the start and the Modbus map after power-up or
// while a configuration error stands, and the program-running pulse.
#pragma once

#include "app/remote_io/PWR_UP_MSG_pulses.rows.h"
#include "runtime/catalogue.h"

#define PWR_UP_MSG_CELLS(X)                                       \
    X(INI_DSPLY, ONE_SHOT, B, R80, PLAIN)                         \
    X(INI_DSPLY, R_TIME, I, R80, PLAIN)                           \
    X(PWR_UP_COMPLETE, DELAY, B, R80, PLAIN, R160)                \
    X(PWR_UP_COMPLETE, R_TIME, I, R80, PLAIN)                     \
    X(PWR_UP_COMPLETE, DLY_TIME, A, R80, TUNE(1.0, 0.1, 600.0))   \
    X(RUN_PRGM, ONE_SHOT, B, R160, PLAIN)                         \
    X(RUN_PRGM, R_TIME, I, R160, PLAIN)                           \
    PWR_UP_MSG_PULSE_ROWS(X)                                      \
    X(COMPLT_DLY, DELAY, B, R160, PLAIN)                          \
    X(COMPLT_DLY, R_TIME, I, R160, PLAIN)                         \
    X(CONFIG_ERR, AND, B, R160, PLAIN)                            \
    X(N_CONF_ERR, NOT, B, R160, PLAIN)                            \
    X(ENBL_STRT, AND, B, R160, PLAIN)                             \
    X(N_ERR_DLY, DELAY, B, R160, PLAIN)                           \
    X(N_ERR_DLY, R_TIME, I, R160, PLAIN)
CAT_MODULE(PWR_UP_MSG)

namespace r80 {
void PWR_UP_MSG_timing();  // piece of _R80_TASK_22
}
namespace r160 {
// The program-running pulse once the power-up error delay has passed
// (piece of _R160_TASK_47).
void PWR_UP_MSG_run_program();
}
