// Module CNFG_START: the start settings that the speed reference, the
// sequences and the valve limiter read: the start-mode list and the idle and
// rated setpoints (list A: idle 1, rated, a third entry), taken from their
// settings only while the I/O is locked or the controller powers up, and the
// start modes and rates derived from it every 160 ms pass.
#pragma once

#include "runtime/catalogue.h"

#define CNFG_START_LIST_ROW(X, N) X(CONFIG_B, IN_##N, B, R160, TUNE(false)) X(CONFIG_B, LIST_##N, B, R160, PLAIN)
#define CNFG_START_CELLS(X)                                     \
    CNFG_START_LIST_ROW(X, 1) CNFG_START_LIST_ROW(X, 2) CNFG_START_LIST_ROW(X, 3)   \
    CNFG_START_LIST_ROW(X, 4) CNFG_START_LIST_ROW(X, 5) CNFG_START_LIST_ROW(X, 6)   \
    CNFG_START_LIST_ROW(X, 7) CNFG_START_LIST_ROW(X, 8) CNFG_START_LIST_ROW(X, 9)   \
    CNFG_START_LIST_ROW(X, 10)                                  \
    X(AUTO_HALT_AT_IDLE, B_NAME, B, R160, PLAIN)                \
    X(AUTO_START, B_NAME, B, R160, PLAIN)                       \
    X(IDLE_RATED_SEQ, B_NAME, B, R160, PLAIN)                   \
    X(USE_RATED, B_NAME, B, R160, PLAIN)                        \
    X(MAN_START, B_NAME, B, R160, PLAIN, R80)                   \
    X(SEMIAUTO_START, B_NAME, B, R160, PLAIN)                   \
    X(AUTO_SEQ, B_NAME, B, R160, PLAIN)                         \
    X(KEYPAD_CNFRM, B_NAME, B, R160, PLAIN)                     \
    X(HOT_START_MULT, IN, A, R160, TUNE(1.1, 1.0, 10.0))        \
    X(HOT_START_MULT, A_NAME, A, R160, PLAIN)                   \
    X(RATE_IDL_SPD, IN, A, R160, TUNE(50.0, 0.0099, 2000.0))    \
    X(RATE_IDL_SPD, A_NAME, A, R160, PLAIN)                     \
    X(RATE_MIN_SPD, IN, A, R160, TUNE(10.0, 0.0099, 2000.0))    \
    X(RATE_MIN_SPD, A_NAME, A, R160, PLAIN)                     \
    X(VLV_LIM_RATE, IN, A, R160, TUNE(2.0, 0.099, 25.0))        \
    X(VLV_LIM_RATE, A_NAME, A, R160, PLAIN, R80)                \
    X(CONFIG_A, IN_1, A, R160, TUNE(1000.0, 0.0, 65000.0))      \
    X(CONFIG_A, LIST_1, A, R160, PLAIN)                         \
    X(CONFIG_A, IN_2, A, R160, TUNE(3600.0, 0.0, 65000.0))      \
    X(CONFIG_A, LIST_2, A, R160, PLAIN)                         \
    X(CONFIG_A, IN_3, A, R160, TUNE(0.0, 0.0, 65000.0))         \
    X(CONFIG_A, LIST_3, A, R160, PLAIN)                         \
    X(IDLE_1_SP, A_NAME, A, R160, PLAIN)                        \
    X(IR_RATED_SP, A_NAME, A, R160, PLAIN)
CAT_MODULE(CNFG_START)

namespace r160 {
// The start-mode list from its settings while the I/O is locked or the
// controller powers up (else it keeps its values), and the modes read
// from it by the speed reference and the checks (last piece of
// _R160_TASK_11).
void CNFG_START_list();
// The start modes from the start-mode list and the start rates and hot-start
// multiplier from their settings (piece of _R160_TASK_29).
void CNFG_START_settings();
}  // namespace r160
