// Module IFACE_IN_START: start-interface values; the probe speeds are set
// by the 10 ms speed sensing, the start-sequence options by the start and
// idle/rated logic (160 ms).
#pragma once

#include "runtime/catalogue.h"

// The settings of the operator interface and their copies, the timed
// commands and the derived inputs.
#define IFACE_IN_ROWS_IFACE_IN_START(X) \
    X(AT_IDL_DISP_MRGN, IN, A, R160, TUNE(5.0, 0.0, 50.0))   \
    X(AT_IDL_DISP_MRGN, A_NAME, A, R160, PLAIN)              \
    X(MPU_OVRD_TIME, IN, A, R160, TUNE(10.0, 0.0, 3000.0))   \
    X(MPU_OVRD_TIME, A_NAME, A, R160, PLAIN)                 \
    X(ROLLDWN_DLY, IN, A, R160, TUNE(5.0, 0.0, 100.0))       \
    X(ROLLDWN_DLY, A_NAME, A, R160, PLAIN)                   \
    X(ROLLDWN_SPD, IN, A, R160, TUNE(450.0, 10.0, 5000.0))   \
    X(ROLLDWN_SPD, A_NAME, A, R160, PLAIN)                   \
    X(SELFPWRACT, IN, A, R160, TUNE(20.0, 1.0, 100.0))       \
    X(SELFPWRACT, A_NAME, A, R160, PLAIN)                    \
    X(AUTO_DIS, IN, B, R160, TUNE(false))                    \
    X(AUTO_DIS, B_NAME, B, R160, PLAIN, R80)                 \
    X(AUTO_EN, IN, B, R160, TUNE(false))                     \
    X(AUTO_EN, B_NAME, B, R160, PLAIN, R80)                  \
    X(BI_RESET_GOTO_MIN, IN, B, R160, TUNE(true))            \
    X(BI_RESET_GOTO_MIN, B_NAME, B, R160, PLAIN, R80)        \
    X(CNTRL_ST, IN, B, R160, TUNE(false))                    \
    X(CNTRL_ST, B_NAME, B, R160, PLAIN, R80)                 \
    X(CSD_ABORT, IN, B, R160, TUNE(false))                   \
    X(CSD_ABORT, B_NAME, B, R160, PLAIN, R80)                \
    X(IR_DIS, IN, B, R160, TUNE(false))                      \
    X(IR_DIS, B_NAME, B, R160, PLAIN, R80)                   \
    X(IR_EN, IN, B, R160, TUNE(false))                       \
    X(IR_EN, B_NAME, B, R160, PLAIN, R80)                    \
    X(START_KEY, IN, B, R160, TUNE(false))                   \
    X(START_KEY, B_NAME, B, R160, PLAIN, R80)                \
    X(START_KEY_C, IN, B, R160, TUNE(false))                 \
    X(START_KEY_C, B_NAME, B, R160, PLAIN)                   \
    X(USE_MPU_OVRD_TIME, IN, B, R160, TUNE(false))           \
    X(USE_MPU_OVRD_TIME, B_NAME, B, R160, PLAIN)             \
    X(USE_RDWN_OVRD, IN, B, R160, TUNE(false))               \
    X(USE_RDWN_OVRD, B_NAME, B, R160, PLAIN)                 \
    X(USE_STOP_CMD, IN, B, R160, TUNE(true))                 \
    X(USE_STOP_CMD, B_NAME, B, R160, PLAIN)                  \
    X(Z_SETPOINT, A_NAME, A, R40, PLAIN)

#define IFACE_IN_START_CELLS(X) \
    X(MPU_A, A_NAME, A, R10, PLAIN)              \
    X(MPU_B, A_NAME, A, R10, PLAIN)              \
    X(TURB_SPEED, A_NAME, A, R10, PLAIN)         \
    X(STARTCMD, B_NAME, B, R10, PLAIN, R80)      \
    X(IDLERATECMD, B_NAME, B, R10, PLAIN, R80)   \
    X(START_PERM_CMD, B_NAME, B, R10, PLAIN, R160) \
    X(ANY_SD, B_NAME, B, R10, PLAIN, R80, R160)  \
    X(MANUAL_START, B_NAME, B, R160, PLAIN, R80) \
    X(AUTO_START, B_NAME, B, R160, PLAIN, R80)   \
    X(AUTO_SEQ, B_NAME, B, R160, PLAIN)          \
    X(AUTO_SEQ_NOT, NOT, B, R160, PLAIN, R80)    \
    X(SEMI_AUTO_START, B_NAME, B, R160, PLAIN)   \
    X(USE_RAMP_TO_IDLE, B_NAME, B, R160, PLAIN)  \
    X(USE_RAMP_TO_IDLE, IN, B, R160, TUNE(true)) \
    X(IDLE_PRIORITY, B_NAME, B, R160, PLAIN)     \
    X(IDLE_PRIORITY, IN, B, R160, TUNE(false))  \
    X(SET_LOW1, A_NAME, A, R160, PLAIN, R10, R40, R80) \
    X(SET_HIGH1, A_NAME, A, R160, PLAIN, R40)    \
    X(NOT_SD, B_NAME, B, R10, PLAIN)             \
    X(USE_IDLE_RATED, B_NAME, B, R160, PLAIN, R80) \
    IFACE_IN_ROWS_IFACE_IN_START(X)
CAT_MODULE(IFACE_IN_START)

// The probe speeds (pieces of _R10_TASK_1).
namespace r10 {
void IFACE_IN_START_mpu_a();
void IFACE_IN_START_mpu_b();
}
// This application has no automatic start sequence (_R160_TASK_37).
namespace r160 {
void IFACE_IN_START_auto_seq();
// The idle/rated start in use: the configured idle/rated flag (piece of the
// valve limiter's maximum, _R160_TASK_37).
void IFACE_IN_START_idle_rated();
}
