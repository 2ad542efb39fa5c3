// STAND-IN rows of module CNFG_START until the start configuration that
// computes them lands: the idle and rated settings. CNFG_START.cells.h lists
// them.
#pragma once

#define CNFG_START_STANDIN_ROWS(X)                       \
    X(IDLE_1_SP, A_NAME, A, R160, PLAIN)                 \
    X(IR_RATED_SP, A_NAME, A, R160, PLAIN)
