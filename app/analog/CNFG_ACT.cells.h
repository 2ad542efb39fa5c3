// Module CNFG_ACT: the actuator channel's scaling (160 ms) and its driver
// stage ACT_1 (10 ms): demand current from the percent demand, hand-off to
// the actuator driver, readbacks and fault flags; and the parts the discrete
// logic computes at 10 ms (app/discrete/CNFG_ACT.cpp): the shutdown request
// and the display copies of the output and readbacks.
#pragma once

#include "runtime/catalogue.h"

#define CNFG_ACT_CELLS(X)                                     \
    X(ACT_01_GAIN, IN, A, R160, TUNE(1.0, 0.0, 2.0))          \
    X(ACT_01_GAIN, A_NAME, A, R160, PLAIN, R10)               \
    X(ACT_01_OFFSET, IN, A, R160, TUNE(0.0, -200.0, 200.0))   \
    X(ACT_01_OFFSET, A_NAME, A, R160, PLAIN)                  \
    X(ACT1_SCALE_CHECK, A_COMPARE, B, R160, PLAIN)            \
    X(ACT1_SCALE_CHECK, A_EQUAL, B, R160, PLAIN)              \
    X(ACT1_SCALE_ERR_SD, B_MUX_N_1, B, R160, PLAIN)           \
    X(ACT1_SCALE_SD, AND, B, R160, PLAIN)                     \
    X(RANGE1, SUBTRACT, A, R160, PLAIN)                       \
    X(MA_TO_DEC, DIVIDE, A, R160, PLAIN)                      \
    X(MA_TO_PCT, MULTIPLY, A, R160, PLAIN, R10)               \
    X(SIM_MODE1, A_SW, A, R10, PLAIN)                         \
    X(ACT_1, ACT_ZARN, A, R10, PLAIN)                         \
    X(ACT_1, RDBK_SRC, A, R10, PLAIN)                         \
    X(ACT_1, RDBK_RET, A, R10, PLAIN)                         \
    X(ACT_1, RB_SRC_FLT, B, R10, PLAIN)                       \
    X(ACT_1, RB_RET_FLT, B, R10, PLAIN)                       \
    X(ACT_01_SRC_FLT, B_NAME, B, R10, PLAIN)                  \
    X(ACT_01_RDBK_FLT, B_NAME, B, R10, PLAIN)                 \
    X(ACT_01_FLT_ANY, IN_3, B, R10, TUNE(false))              \
    X(ACT_01_FLT_ANY, OR, B, R10, PLAIN)                      \
    X(ACT_FRC_RATE, IN, A, R160, TUNE(1.0, 0.1, 20.0))        \
    X(ACT_FRC_RATE, A_NAME, A, R160, PLAIN)                   \
    X(WIZFUN_ACT1, I_NAME, I, R160, PLAIN)                    \
    X(RO_WIZFUN_ACT1, I_NAME, I, R160, PLAIN)                 \
    X(SELFPWR_SW, NO, B, R10, TUNE(false))                    \
    X(SELFPWR_SW, B_SW, B, R10, PLAIN)                        \
    X(ACT_01_DISPLAY, A_NAME, A, R10, PLAIN)                  \
    X(ACT_01_RDBK, A_NAME, A, R10, PLAIN)                     \
    X(ACT_01_SRC, A_NAME, A, R10, PLAIN, R160)
CAT_MODULE(CNFG_ACT)

// Block initialisation: the driver record of actuator channel 6.
void CNFG_ACT_init_blks();

namespace r10 {
// The simulation's switch on the channel's demand (after the demand, fifth
// slice).
void CNFG_ACT_sim_mode();
// Driver stage: readbacks and faults, then the demand current and the count.
void CNFG_ACT_driver();
// The shutdown request (before the actuator hand-off, sixth slice).
void CNFG_ACT_shutdown_request();
// The display copies (seventh slice).
void CNFG_ACT_displays();
}
namespace r160 {
// Gain, offset in percent of the current span, and the scale check.
void CNFG_ACT_scaling();
}
