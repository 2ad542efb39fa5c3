// Module CNFG_CASC: the cascade configuration, latched from its tunable lists
// while the I/O is locked or at power-up (160 ms).
#pragma once

#include "runtime/catalogue.h"

// The cascade PID's gains, speed-derivative ratio and droop percent, the
// entered and remote setpoint rates, the speed reference's rate while
// cascade is enabled, the cascade input's function and whether raise and
// lower act on the speed: settings entered as tunables.
#define CNFG_CASC_SETTING_ROWS(X)                                  \
    X(SPD_MAX_RATE, A_NAME, A, R160, TUNE(10.0, 0.01, 1000.0), R40) \
    X(P, A_NAME, A, R160, TUNE(1.0, 0.0, 100.0), R80)              \
    X(I, A_NAME, A, R160, TUNE(0.3, 0.0099, 50.0), R80)            \
    X(SDR, A_NAME, A, R160, TUNE(100.0, 0.0099, 100.0), R80)       \
    X(DROOP, A_NAME, A, R160, TUNE(0.0, 0.0, 100.0), R80)          \
    X(SP_RATE, A_NAME, A, R160, TUNE(5.0, 0.01, 1000.0))           \
    X(RMT_MAX_RATE, A_NAME, A, R160, TUNE(5.0, 0.01, 1000.0))      \
    X(INPUT, I_NAME, I, R160, TUNE(1, 0, 100))                     \
    X(USE_R_L_4SPD, B_NAME, B, R160, TUNE(false))

#define CNFG_CASC_CELLS(X)                                \
    X(CONFIG_B, IN_1, B, R160, TUNE(false))               \
    X(CONFIG_B, IN_2, B, R160, TUNE(false))               \
    X(CONFIG_B, IN_3, B, R160, TUNE(true))                \
    X(CONFIG_B, IN_4, B, R160, TUNE(false))               \
    X(CONFIG_B, IN_5, B, R160, TUNE(false))               \
    X(CONFIG_B, LIST_1, B, R160, PLAIN)                   \
    X(CONFIG_B, LIST_2, B, R160, PLAIN)                   \
    X(CONFIG_B, LIST_3, B, R160, PLAIN)                   \
    X(CONFIG_B, LIST_4, B, R160, PLAIN)                   \
    X(CONFIG_B, LIST_5, B, R160, PLAIN)                   \
    X(CONFIG_A, IN_1, A, R160, TUNE(0.0, -1e38, 1e38))    \
    X(CONFIG_A, IN_2, A, R160, TUNE(0.0, -1e38, 1e38))    \
    X(CONFIG_A, IN_3, A, R160, TUNE(0.0, -1e38, 1e38))    \
    X(CONFIG_A, IN_4, A, R160, TUNE(0.0, 0.0, 65000.0))   \
    X(CONFIG_A, IN_5, A, R160, TUNE(0.0, 0.0, 65000.0))   \
    X(CONFIG_A, LIST_1, A, R160, PLAIN)                   \
    X(CONFIG_A, LIST_2, A, R160, PLAIN)                   \
    X(CONFIG_A, LIST_3, A, R160, PLAIN)                   \
    X(CONFIG_A, LIST_4, A, R160, PLAIN)                   \
    X(CONFIG_A, LIST_5, A, R160, PLAIN)                   \
    X(USE_CASC, B_NAME, B, R160, PLAIN)                   \
    X(INV, B_NAME, B, R160, PLAIN)                        \
    X(USE_SP_TRACK, B_NAME, B, R160, PLAIN, R80)          \
    X(USE_RMT_SP, B_NAME, B, R160, PLAIN)                 \
    X(MIN_SP, A_NAME, A, R160, PLAIN)                     \
    X(MAX_SP, A_NAME, A, R160, PLAIN)                     \
    X(SP_INI, A_NAME, A, R160, PLAIN)                     \
    X(SPD_SP_MIN, A_NAME, A, R160, PLAIN)                 \
    X(SPD_SP_MAX, A_NAME, A, R160, PLAIN)                 \
    X(CONFIG_I, LIST_1, I, R160, PLAIN)                   \
    X(NO_DROOP, B_NAME, B, R160, PLAIN)                   \
    CNFG_CASC_SETTING_ROWS(X)
CAT_MODULE(CNFG_CASC)

// Block initialisation of its service commands, and a service write of
// one of their inputs (a true value starts the command, a false one ends it).
void IFACE_IN_CASC_init_blks();
void IFACE_IN_CASC_command_written(const void* cell, uint32_t value);

namespace r160 {
void CNFG_CASC_config();   // _R160_TASK_15: the configuration latch
}
