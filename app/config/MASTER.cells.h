// Module MASTER at 160 ms: the configuration window. Channel configuration
// is taken over only while the I/O is locked, for 2.0 s after it is
// unlocked, and during the first 2.0 s after start. Configure mode, entered
// and left by command under the calibration permissive, requests the I/O
// lock and, on leaving, a save of the tunables file.
#pragma once

#include "runtime/catalogue.h"

#define MASTER_COMMAND_ROWS(X, N)             \
    X(COMMANDS, IN_##N, B, R160, SVC_IN)        \
    X(COMMANDS, OUT_##N, B, R160, PLAIN)
// Configure mode, the save request and the identification texts.
#define MASTER_CONFIG_MODE_ROWS(X)                              \
    X(DLY_IN_SEC, OUT_1, I, R160, PLAIN)                        \
    X(DISABL_SS, IN, B, R160, TUNE(false))                      \
    X(DISABL_SS, B_NAME, B, R160, PLAIN)                        \
    X(APP_OVRD, NO, I, R160, TUNE(31536000, 10, 31536000))      \
    X(APP_OVRD, I_SW, I, R160, PLAIN)                           \
    X(IO_LOCL_OS, ONE_SHOT, B, R160, PLAIN)                     \
    X(IO_LOCL_OS, R_TIME, I, R160, PLAIN)                       \
    X(IO_LOCL_OS, DLY_TIME, A, R160, TUNE(0.5, 0.1, 5.0))       \
    X(ENTER_CONFIG, B_NAME, B, R160, PLAIN)                     \
    X(LOCK_CMD, IN_1, B, R160, TUNE(false))                     \
    X(LOCK_CMD, OR, B, R160, PLAIN)                             \
    X(LOCK_CMD_OR, OR, B, R160, PLAIN)                          \
    X(LOCK_PERM, AND, B, R160, PLAIN)                           \
    X(EXIT_CONFIG, B_NAME, B, R160, PLAIN)                      \
    X(EXIT_CONFIG_AND, AND, B, R160, PLAIN)                     \
    X(LOCK_IO, LATCH, B, R160, PLAIN)                           \
    X(CNFG_EXIT, NOT, B, R160, PLAIN)                           \
    X(IH_SAVE_PB, ACT_OUT, I, R160, PLAIN)                      \
    X(IH_SAVE_PB, B_ACTION, B, R160, PLAIN)                     \
    X(IH_SAVE_PB, E_TIME, A, R160, PLAIN)                       \
    X(IH_SAVE_PB, R_TIME, A, R160, PLAIN)                       \
    X(IH_SAVE_PB, IN_2, B, R160, TUNE(false))                   \
    X(IH_SAVE_PB, RST_1, B, R160, TUNE(false))                  \
    X(OS_ON_EXIT, ONE_SHOT, B, R160, PLAIN)                     \
    X(OS_ON_EXIT, R_TIME, I, R160, PLAIN)                       \
    X(SAVETUNES, IN_1, B, R160, TUNE(false))                    \
    X(SAVETUNES, OR, B, R160, PLAIN)                            \
    X(EE_UPDATE, B_NAME, B, R160, PLAIN)                        \
    X(FULL_CNFG, DELAY, B, R160, PLAIN)                         \
    X(FULL_CNFG, R_TIME, I, R160, PLAIN)                        \
    X(FULL_CNFG, DLY_TIME, A, R160, TUNE(2.0, 1.0, 20.0))       \
    X(FULL_CNFG, NEG_DTIME, A, R160, TUNE(7.0, 1.0, 20.0))      \
    X(IOLOCK_CMD, B_NAME, B, R160, PLAIN)                       \
    X(TIQ_PN, S_NAME, C, R160, PLAIN)                           \
    X(TIQ_REV, IN, C, R160, TUNE("4.02"))                       \
    X(TIQ_REV, S_NAME, C, R160, PLAIN)                          \
    X(LOGOUT_TO_OPERATOR, IN, B, R160, TUNE(true))              \
    X(LOGOUT_TO_OPERATOR, B_NAME, B, R160, PLAIN)               \
    X(OPERATOR_PASSWORD, IN, C, R160, TUNE("op2468"))           \
    X(OPERATOR_PASSWORD, S_NAME, C, R160, PLAIN)                \
    X(PART_NUMBER, A_NAME, A, R160, PLAIN)                      \
    X(QT_PN, S_NAME, C, R160, PLAIN)                            \
    X(REV, A_NAME, A, R160, PLAIN)

// The storage-busy indication and the average idle time (40 ms).
#define MASTER_LOAD_ROWS(X)                                  \
    X(EE_BUSY_OS, ONE_SHOT, B, R40, PLAIN)                   \
    X(EE_BUSY_OS, R_TIME, I, R40, PLAIN)                     \
    X(EE_BUSY_OS, DLY_TIME, A, R40, TUNE(2.0, 0.04, 60.0))   \
    X(EE_BUSY, B_NAME, B, R40, PLAIN)                        \
    X(I_TO_AN, OUT_1, A, R40, PLAIN)                         \
    X(IDLE_10S_AVG, LOG_RATE, I, R40, TUNE(1, 1, 250))       \
    X(IDLE_10S_AVG, RUNNING_AVG, A, R40, PLAIN)              \
    X(IDLE_TIME_AVG, A_NAME, A, R40, PLAIN)

#define MASTER_CELLS(X)                                  \
    X(DLY_OFFDSP, DELAY, B, R160, PLAIN)                 \
    X(DLY_OFFDSP, R_TIME, I, R160, PLAIN)                \
    X(IO_LOCK, B_NAME, B, R160, PLAIN, R80)              \
    X(PWR_UP_RST_ONE_SHOT, ONE_SHOT, B, R160, PLAIN)     \
    X(PWR_UP_RST_ONE_SHOT, R_TIME, I, R160, PLAIN)       \
    X(IO_LOCK_PWR_UP, OR, B, R160, PLAIN)                \
    X(IO_LOCK_OR_PWR, B_NAME, B, R160, PLAIN)           \
    MASTER_COMMAND_ROWS(X, 1) MASTER_COMMAND_ROWS(X, 2) \
    MASTER_COMMAND_ROWS(X, 3) MASTER_COMMAND_ROWS(X, 4) \
    MASTER_COMMAND_ROWS(X, 5) MASTER_COMMAND_ROWS(X, 6) \
    MASTER_CONFIG_MODE_ROWS(X)                          \
    MASTER_LOAD_ROWS(X)
CAT_MODULE(MASTER)

// The master commands: one-second pulses of the service tool's momentary
// inputs (block initialisation, the service write of IN_n, the pulses).
void MASTER_commands_init_blks();
void MASTER_command_written(int n, uint32_t value);
namespace r160 {
void MASTER_commands();  // piece of _R160_TASK_10
}

namespace r40 {
// A pulse when the tunables file is being saved, and the idle time averaged
// over a ring of 250 samples (piece of _R40_TASK_8).
void MASTER_load();
}

namespace r160 {
// The I/O-lock off-delay, the power-up one-shot and the window they open.
void MASTER_config_window();
// The delay value, configure mode and the I/O lock, the save request and the
// identification texts.
void MASTER_configure_mode();
}  // namespace r160
