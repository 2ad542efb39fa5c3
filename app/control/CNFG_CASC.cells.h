// Module CNFG_CASC: the cascade configuration, latched from its tunable lists
// while the I/O is locked or at power-up (160 ms).
#pragma once

#include "app/control/standin/casc_rows_standin.h"
#include "runtime/catalogue.h"

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
    CNFG_CASC_STANDIN_ROWS(X)
CAT_MODULE(CNFG_CASC)

// Block initialisation of its service commands, and a service write of
// one of their inputs (a true value starts the command, a false one ends it).
void IFACE_IN_CASC_init_blks();
void IFACE_IN_CASC_command_written(const void* cell, uint32_t value);

namespace r160 {
void CNFG_CASC_config();   // _R160_TASK_15: the configuration latch
}
