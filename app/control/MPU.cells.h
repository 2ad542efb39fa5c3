// Module MPU: the turbine speed of the speed probes (10 ms), the speed
// against idle and minimum governor, read by the remote-setpoint enable
// (80 ms), and the speed-sensor configuration checks (160 ms).
#pragma once

#include "runtime/catalogue.h"

// The frequency of speed sensor N at its maximum speed.
#define MPU_SENSOR_ROWS(X, N)                                  \
    X(RATIO##N, A_NAME, A, R160, PLAIN)                        \
    X(TEETH##N, A_NAME, A, R160, PLAIN)                        \
    X(HZ_TO_RPM##N, MULTIPLY, A, R160, PLAIN)                  \
    X(HZ_RPM_RAT##N, DIVIDE, A, R160, PLAIN)                   \
    X(MAX_SPD_HZ##N, MULTIPLY, A, R160, PLAIN)
#define MPU_CELLS(X)                                           \
    X(NEAR_MIN, SUBTRACT, A, R80, PLAIN)                       \
    X(SPD_GT_MIN, A_COMPARE, B, R80, PLAIN)                    \
    X(SPD_GT_MIN, A_EQUAL, B, R80, PLAIN)                      \
    X(SPD_GT_MIN, HYSTER, A, R80, TUNE(-100.0, -1e38, 1e38))   \
    X(SPD_GTEQ_MIN, OR, B, R80, PLAIN, R160)                   \
    X(NEAR_IDL, SUBTRACT, A, R80, PLAIN)                       \
    X(SPD_GT_IDL, A_COMPARE, B, R80, PLAIN)                    \
    X(SPD_GT_IDL, A_EQUAL, B, R80, PLAIN)                      \
    X(SPD_GT_IDL, HYSTER, A, R80, TUNE(-5.0, -10.0, 10.0))     \
    X(SPD_GTEQ_IDL, OR, B, R80, PLAIN, R160)                   \
    X(SETPT_MIN, A_COMPARE, B, R80, PLAIN, R160)               \
    X(SETPT_MIN, A_EQUAL, B, R80, PLAIN)                       \
    X(SPD_LT_IDL, NOT, B, R80, PLAIN)                          \
    X(SPD_LT_MIN, A_COMPARE, B, R80, PLAIN, R160)              \
    X(SPD_LT_MIN, A_EQUAL, B, R80, PLAIN)                      \
    MPU_SENSOR_ROWS(X, 1) MPU_SENSOR_ROWS(X, 2)               \
    X(OST_LIM_GT_MAX_SPD1, A_COMPARE, B, R160, PLAIN)          \
    X(OST_LIM_GT_MAX_SPD1, A_EQUAL, B, R160, PLAIN)            \
    X(OST_LIM_GT_MAX_SPD2, A_COMPARE, B, R160, PLAIN)          \
    X(OST_LIM_GT_MAX_SPD2, A_EQUAL, B, R160, PLAIN)            \
    X(MAX_SPD2_USED, AND, B, R160, PLAIN)                      \
    X(OST_LIM_GT_MAX_SPD, OR, B, R160, PLAIN)                  \
    X(SPD1_GT_MAX, A_COMPARE, B, R160, PLAIN)                  \
    X(SPD1_GT_MAX, A_EQUAL, B, R160, PLAIN)                    \
    X(SPD2_GT, A_COMPARE, B, R160, PLAIN)                      \
    X(SPD2_GT, A_EQUAL, B, R160, PLAIN)                        \
    X(SPD2_GT_MAX, AND, B, R160, PLAIN)                        \
    X(BUFFER, IN, A, R160, TUNE(1.02, 1.0, 1.5))               \
    X(BUFFER, A_NAME, A, R160, PLAIN)                          \
    X(MIN_SPD_CK1, MULTIPLY, A, R160, PLAIN)                   \
    X(MIN_SPD_CK2, MULTIPLY, A, R160, PLAIN)                   \
    X(SP1_MN_CHK, A_COMPARE, B, R160, PLAIN)                   \
    X(SP1_MN_CHK, A_EQUAL, B, R160, PLAIN)                     \
    X(SP2_MN_CHK, A_COMPARE, B, R160, PLAIN)                   \
    X(SP2_MN_CHK, A_EQUAL, B, R160, PLAIN)                     \
    X(SP2_MINERR, AND, B, R160, PLAIN)                         \
    X(MON01_OK, AND, B, R10, PLAIN)                            \
    X(MON02_OK, AND, B, R10, PLAIN)                            \
    X(TSS_01, A_SW, A, R10, PLAIN, R80)                        \
    X(TSS_02, A_SW, A, R10, PLAIN)                             \
    X(SPEED_SW, A_SW, A, R10, PLAIN, R80)                      \
    X(PWR_UP_DLY, DLY_TIME, A, R10, TUNE(0.01, 0.0, 10.0))     \
    X(PWR_UP_DLY, DELAY, B, R10, PLAIN)                        \
    X(PWR_UP_DLY, R_TIME, I, R10, PLAIN)                       \
    X(MAXSPD_DLY, A_SW, A, R10, PLAIN)                         \
    X(TURB_SPEED, HSS_BUS, A, R10, PLAIN)                      \
    X(TURB_SPEED, HI_LIM_I, B, R10, PLAIN)                     \
    X(TURB_SPEED, LO_LIM_I, B, R10, PLAIN)                     \
    X(TURB_SPEED, SEL_1, B, R10, PLAIN)                        \
    X(TURB_SPEED, SEL_2, B, R10, PLAIN)                        \
    X(TURB_SPEED, SEL_3, B, R10, PLAIN)                        \
    X(TURB_SPD, A_NAME, A, R10, PLAIN, R20, R80, R160)         \
    X(SPEED, MULTIPLY, A, R160, PLAIN)                         \
    X(IDLE_MIN, AND, B, R160, PLAIN)                           \
    X(MIN_ENTR, SEL_2, B, R160, TUNE(false))                   \
    X(MIN_ENTR, INT_SEL, I, R160, PLAIN)                       \
    X(MIN_ENTR, A_MUX_HSS, A, R160, PLAIN)                     \
    X(SPDDIV2, MULTIPLY, A, R160, PLAIN)                       \
    X(SPD_MONTOR, LAG_TAU, A, R160, SVC(0.0, 0.0, 100.0))      \
    X(SPD_MONTOR, LAG, A, R160, PLAIN)                         \
    X(SPD_MONTOR, DERIV, A, R160, PLAIN)                       \
    X(SPD_DRV, MULTIPLY, A, R160, PLAIN)
CAT_MODULE(MPU)

namespace r10 {
// The turbine speed of the two probes and the simulated speed (start of
// _R10_TASK_4).
void MPU_turbine_speed();
}  // namespace r10

namespace r80 {
// The turbine speed against idle (piece of _R80_TASK_2).
void MPU_idle_compare();
// Minimum governor against the setpoint and the speed (piece of _R80_TASK_22).
void MPU_min_gov_compare();
}  // namespace r80

namespace r160 {
// The second speed sensor's failed level against its measurable range
// (_R160_TASK_33).
void MPU_min_speed_check();
// The speed shown for monitoring (piece of _R160_TASK_46).
void MPU_speed_monitor();
// The minimum a speed entry may take, and the lag of half the speed with
// its rate of change (piece of _R160_TASK_45).
void MPU_min_entry();
void MPU_monitor_lag();
}  // namespace r160

// The monitor lag's coefficient, kept from its lag time: at start and after
// each service write of the time.
void MPU_init_blks();
void MPU_lag_time_written();
