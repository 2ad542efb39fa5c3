// Module SPEED_SIM: the configuration numbers the turbine simulator receives
// (160 ms) and the valve-percent unit delay of the speed simulation.
#pragma once

#include "runtime/catalogue.h"

// The actuator while the speed simulation drives it (80 ms): milliamp
// output and actuator faults disabled, unless its setting says otherwise.
#define SPEED_SIM_ACTUATOR_ROWS(X)                              \
    X(DIS_ACT_MA, IN_2, B, R80, TUNE(true))                     \
    X(DIS_ACT_MA, AND, B, R80, PLAIN)                           \
    X(SIM_MODE_ACTS, B_NAME, B, R80, PLAIN, R10)                \
    X(ACTFLTS_DIS, NOT, B, R80, PLAIN)

// The simulated speed (10 ms): the lagged valve percent through the
// breakpoint curve of the valve-to-speed characteristic.
#define SPEED_SIM_CURVE_X(X, K, D) X(CURVES_2, X_##K, A, R10, TUNE(D, 0.0, 200.0))
#define SPEED_SIM_SPEED_ROWS(X)                                 \
    X(LAG_2, LAG_TAU, A, R10, TUNE(5.0, 0.0, 100.0))            \
    X(LAG_2, LAG_2, A, R10, PLAIN)                              \
    X(LAG_2, DERIV, A, R10, PLAIN)                              \
    X(MULT_PT25, MULTIPLY, A, R10, PLAIN)                       \
    X(MULT_PT5, MULTIPLY, A, R10, PLAIN)                        \
    X(MULT_PT6, MULTIPLY, A, R10, PLAIN)                        \
    X(MULT_PT75, MULTIPLY, A, R10, PLAIN)                       \
    SPEED_SIM_CURVE_X(X, 2, 10.0)                               \
    X(CURVES_2, Y_2, A, R10, TUNE(0.0, 0.0, 100000.0))          \
    SPEED_SIM_CURVE_X(X, 3, 20.0)                               \
    SPEED_SIM_CURVE_X(X, 4, 35.0)                               \
    SPEED_SIM_CURVE_X(X, 5, 45.0)                               \
    SPEED_SIM_CURVE_X(X, 6, 60.0)                               \
    SPEED_SIM_CURVE_X(X, 7, 80.0)                               \
    SPEED_SIM_CURVE_X(X, 8, 100.0)                              \
    X(CURVES_2, LIMIT_ALM, B, R10, PLAIN)                       \
    X(CURVES_2, FIRST_X_A, A, R10, PLAIN)                       \
    X(CURVES_2, REV_OUT, C, R10, PLAIN)                         \
    X(TURB_SPD, A_NAME, A, R10, PLAIN)                          \
    X(TURB_SPD_A_SW, A_SW, A, R10, PLAIN)                       \
    X(ENA_SIMSPD, A_SW, A, R10, PLAIN)

#define SPEED_SIM_INTERNAL_ROWS(X, N)                           \
    X(INTERNAL_SIM, IN_##N, B, R80, SVC_IN)                     \
    X(INTERNAL_SIM, OUT_##N, B, R80, PLAIN)

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
    SPEED_SIM_INTERNAL_ROWS(X, 1) SPEED_SIM_INTERNAL_ROWS(X, 2) \
    SPEED_SIM_INTERNAL_ROWS(X, 3) SPEED_SIM_INTERNAL_ROWS(X, 4) \
    X(ENA_SW_SIM, AND, B, R80, PLAIN)                           \
    X(REAL_SPD, A_MAX, A, R80, PLAIN)                           \
    X(SPD_GT_1, A_COMPARE, B, R80, PLAIN)                       \
    X(SPD_GT_1, A_EQUAL, B, R80, PLAIN)                         \
    X(ENA_SIM, B_ACTION, B, R80, PLAIN)                         \
    X(ENA_SIM, ACT_OUT, I, R80, PLAIN)                          \
    X(ENA_SIM, E_TIME, A, R80, PLAIN)                           \
    X(ENA_SIM, R_TIME, A, R80, PLAIN)                           \
    X(ENA_SIM, RST_2, B, R80, TUNE(false))                      \
    X(ENA__SIM, B_NAME, B, R80, PLAIN, R10, R40)          \
    SPEED_SIM_ACTUATOR_ROWS(X)                                  \
    SPEED_SIM_SPEED_ROWS(X)
CAT_MODULE(SPEED_SIM)

// The four simulator commands of the service tool (on, off, demo on, demo
// off): block initialisation and the service write of IN_n.
void SPEED_SIM_init_blks();
// The speed curve starts with an empty revision text.
void SPEED_SIM_curve_init_blks();
void SPEED_SIM_internal_sim_written(int n, uint32_t value);

namespace r80 {
// The commands' one-second pulses (piece of _R80_TASK_2, after the OPC latch).
void SPEED_SIM_internal_sim();
// When the internal simulation is switched on and off (piece of
// _R80_TASK_2, after the local access level).
void SPEED_SIM_enable();
// The actuator mode of the speed simulation (piece of _R80_TASK_26).
void SPEED_SIM_actuator_mode();
}  // namespace r80

namespace r10 {
// The simulated speed, one of the inputs of the turbine speed's high select
// (piece of _R10_TASK_3).
void SPEED_SIM_speed();
}

namespace r160 {
// Configuration copies for the simulator (piece of _R160_TASK_49).
void SPEED_SIM_config();
}
