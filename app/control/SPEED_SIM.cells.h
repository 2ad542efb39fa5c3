// Module SPEED_SIM: the configuration numbers the turbine simulator receives
// (160 ms) and the valve-percent unit delay of the speed simulation.
#pragma once

#include "runtime/catalogue.h"

// STAND-IN rows until the speed simulation lands: its actuator mode and
// enable.
#define SPEED_SIM_STANDIN_ROWS(X)                               \
    X(SIM_MODE_ACTS, B_NAME, B, R160, PLAIN, R10)               \
    X(ENA__SIM, B_NAME, B, R80, PLAIN, R10, R40)

#define SPEED_SIM_CELLS(X)                                      \
    X(VLV_PERCENT, ZMINUS1, A, R10, PLAIN)                      \
    X(AI_KW_TO_MW, DIVIDE, A, R160, PLAIN, R40)                 \
    X(ANIN_CNFIG, OUT_1, A, R160, PLAIN, R40)                   \
    X(ANIN_CNFIG, OUT_2, A, R160, PLAIN, R40)                   \
    X(ANIN_CNFIG, OUT_3, A, R160, PLAIN, R40)                   \
    X(ANIN_CNFIG, OUT_4, A, R160, PLAIN, R40)                   \
    X(RO_CONFIG, OUT_1, A, R160, PLAIN, R40)                    \
    X(RO_CONFIG, OUT_2, A, R160, PLAIN, R40)                    \
    X(RO_CONFIG, OUT_3, A, R160, PLAIN, R40)                    \
    X(LOAD_MW, NO, A, R160, TUNE(10.0, 0.0, 10000.0))           \
    X(LOAD_MW, NC, A, R160, TUNE(10.0, 0.0, 10000.0))           \
    X(LOAD_MW, A_SW, A, R160, PLAIN)                            \
    SPEED_SIM_STANDIN_ROWS(X)
CAT_MODULE(SPEED_SIM)

namespace r160 {
// Configuration copies for the simulator (piece of _R160_TASK_49).
void SPEED_SIM_config();
}
