// Module CNFG_SPEED: the speed-sensor settings and the two speed-sensor
// channel blocks TSS_01 (driver channel 0) and TSS_02 (driver channel 1).
#pragma once

#include "runtime/catalogue.h"

// The speed-sensor list (sensor 2 used), the speed-sensor difference alarm
// and the lowest measurable speeds.
#define CNFG_SPEED_DIFF_ROWS(X)                               \
    X(CONFIG_B, IN_1, B, R160, TUNE(false))                   \
    X(CONFIG_B, LIST_1, B, R160, PLAIN)                       \
    X(SPD2_USED, B_NAME, B, R160, PLAIN)                      \
    X(MPU_DIFF, SUBTRACT, A, R160, PLAIN)                     \
    X(ABS_ERR, ABSOLUTE, A, R160, PLAIN)                      \
    X(BOTH_GOOD, NOR, B, R160, PLAIN)                         \
    X(OVRD_OFF, NOT, B, R160, PLAIN)                          \
    X(MPU_DIFF_SP, IN, A, R160, TUNE(50.0, 1.0, 1000.0))      \
    X(MPU_DIFF_SP, A_NAME, A, R160, PLAIN)                    \
    X(SPD_DIFF, A_COMPARE, B, R160, PLAIN)                    \
    X(SPD_DIFF, A_EQUAL, B, R160, PLAIN)                      \
    X(SPDSIG_DIFF, AND, B, R160, PLAIN)                       \
    X(DIFF_DELAY, DELAY, B, R160, PLAIN)                      \
    X(DIFF_DELAY, R_TIME, I, R160, PLAIN)                     \
    X(DIFF_DELAY, DLY_TIME, A, R160, TUNE(3.0, 1.0, 20.0))    \
    X(DIFF_ALM, B_NAME, B, R160, PLAIN, R40)                  \
    X(SPD1_MINSPD, DIVIDE, A, R160, PLAIN)                    \
    X(SPD2_MINSPD, DIVIDE, A, R160, PLAIN)

#define CNFG_SPEED_CELLS(X)                                   \
    X(OPNCHK1_DIS, IN_2, A, R80, TUNE(1.0, 1.0, 50.0))        \
    X(OPNCHK1_DIS, A_COMPARE, B, R80, PLAIN)                  \
    X(OPNCHK1_DIS, A_EQUAL, B, R80, PLAIN)                    \
    X(AUTOOWF1_R, NOT, B, R80, PLAIN)                         \
    X(OPNCHK2_DIS, IN_2, A, R80, TUNE(1.0, 1.0, 50.0))        \
    X(OPNCHK2_DIS, A_COMPARE, B, R80, PLAIN)                  \
    X(OPNCHK2_DIS, A_EQUAL, B, R80, PLAIN)                    \
    X(AUTOOWF2_R, NOT, B, R80, PLAIN)                         \
    CNFG_SPEED_DIFF_ROWS(X) \
    X(SPD1_TEETH, IN, I, R10, TUNE(60, 1, 300))               \
    X(SPD1_TEETH, I_NAME, I, R10, PLAIN, R160)                 \
    X(SPD1_GEAR, IN, A, R10, TUNE(1.0, 0.1, 20.0))            \
    X(SPD1_GEAR, A_NAME, A, R10, PLAIN, R160)                  \
    X(SPD1_MAXSPD, IN, A, R10, TUNE(6000.0, 10.0, 65000.0))   \
    X(SPD1_MAXSPD, A_NAME, A, R10, PLAIN, R40, R160)                \
    X(SPD1_LOW_SP, IN, A, R10, TUNE(250.0, 10.0, 25000.0))    \
    X(SPD1_LOW_SP, A_NAME, A, R10, PLAIN, R160)                  \
    X(SPD2_TEETH, IN, I, R10, TUNE(60, 1, 300))               \
    X(SPD2_TEETH, I_NAME, I, R10, PLAIN, R160)                 \
    X(SPD2_GEAR, IN, A, R10, TUNE(1.0, 0.1, 10.0))            \
    X(SPD2_GEAR, A_NAME, A, R10, PLAIN, R160)                  \
    X(SPD2_MAXSPD, IN, A, R10, TUNE(6000.0, 10.0, 65000.0))   \
    X(SPD2_MAXSPD, A_NAME, A, R10, PLAIN, R160)                \
    X(SPD2_LOW_SP, IN, A, R10, TUNE(250.0, 10.0, 25000.0))    \
    X(SPD2_LOW_SP, A_NAME, A, R10, PLAIN, R160)                  \
    X(TSS_01, LATCH_DLY, A, R10, TUNE(20.0, 0.0, 100.0))      \
    X(TSS_01, DERIV, A, R10, PLAIN)                           \
    X(TSS_01, MIN_SPEED, B, R10, PLAIN)                       \
    X(TSS_01, MPU_ZARN, A, R10, PLAIN, R160)                  \
    X(TSS_01, MONITOR, A, R10, PLAIN, R80, R160)                  \
    X(TSS_01, HI_LATCH, B, R10, PLAIN)                        \
    X(TSS_01, LO_LATCH, B, R10, PLAIN)                        \
    X(TSS_01, LATCH_OR, B, R10, PLAIN)                        \
    X(TSS_01, PHASE_DIFF, A, R10, PLAIN)                      \
    X(TSS_01, TOOTH_DET, B, R10, PLAIN)                       \
    X(TSS_02, LATCH_DLY, A, R10, TUNE(20.0, 0.0, 100.0))      \
    X(TSS_02, DERIV, A, R10, PLAIN)                           \
    X(TSS_02, MIN_SPEED, B, R10, PLAIN)                       \
    X(TSS_02, MPU_ZARN, A, R10, PLAIN, R160)                  \
    X(TSS_02, MONITOR, A, R10, PLAIN, R80, R160)                  \
    X(TSS_02, HI_LATCH, B, R10, PLAIN)                        \
    X(TSS_02, LO_LATCH, B, R10, PLAIN)                        \
    X(TSS_02, LATCH_OR, B, R10, PLAIN)                        \
    X(TSS_02, PHASE_DIFF, A, R10, PLAIN)                      \
    X(TSS_02, TOOTH_DET, B, R10, PLAIN)                       \
    X(RATED_MULT1, IN_2, A, R10, TUNE(1.27, 1.02, 1.35))      \
    X(RATED_MULT1, MULTIPLY, A, R10, PLAIN)
CAT_MODULE(CNFG_SPEED)

// Block initialisation of both channel blocks (Hz per rpm 1.0) and of the
// driver's channels 0 and 1; runs in init_blks after the rate-group tasks
// have been created.
void CNFG_SPEED_init_blks();

// Sensor 1 (TSS_01, driver channel 0) and sensor 2 (TSS_02, channel 1):
// settings, evaluation, latches, phase and teeth (pieces of _R10_TASK_1).
namespace r80 {
// The open-wire check of both sensors (piece of _R80_TASK_18).
void CNFG_SPEED_open_wire();
}
namespace r10 {
void CNFG_SPEED_config_1();
void CNFG_SPEED_evaluate_1();
void CNFG_SPEED_latches_1();
void CNFG_SPEED_phase_teeth_1();
void CNFG_SPEED_config_2();
void CNFG_SPEED_evaluate_2();
void CNFG_SPEED_latches_2();
void CNFG_SPEED_phase_teeth_2();
// The rated speed (piece of _R10_TASK_8).
void CNFG_SPEED_rated();
}  // namespace r10

namespace r160 {
// The speed-sensor list from its setting while the I/O is locked or the
// controller powers up (else it keeps its value), and sensor 2's use read
// from it (piece of _R160_TASK_11).
void CNFG_SPEED_list();
// The speed-sensor difference alarm and the lowest measurable speeds.
void CNFG_SPEED_difference();
}  // namespace r160
