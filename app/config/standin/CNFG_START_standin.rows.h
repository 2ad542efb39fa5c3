// STAND-IN rows of module CNFG_START until the start configuration that
// computes them lands: the idle and rated settings, the start-mode list and
// the start modes derived from it.
#pragma once

#define CNFG_START_STANDIN_ROWS(X)                       \
    X(IDLE_1_SP, A_NAME, A, R160, PLAIN)                 \
    X(IR_RATED_SP, A_NAME, A, R160, PLAIN)               \
    X(USE_RATED, B_NAME, B, R160, PLAIN)                 \
    X(CONFIG_B, LIST_1, B, R160, PLAIN)                  \
    X(CONFIG_B, LIST_3, B, R160, PLAIN)                  \
    X(CONFIG_B, LIST_6, B, R160, PLAIN)                  \
    X(CONFIG_B, LIST_7, B, R160, PLAIN)                  \
    X(CONFIG_B, LIST_10, B, R160, PLAIN)                 \
    X(AUTO_START, B_NAME, B, R160, PLAIN)                \
    X(IDLE_RATED_SEQ, B_NAME, B, R160, PLAIN)
