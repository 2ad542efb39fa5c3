// STAND-IN until the remote analog node's output channels land: the
// readback fault of its two output channels (_ub41, _ub42), which the
// remote-node alarm summary latches, and their Modbus multiplier, which the
// remote-node multiplier list reads. Nothing computes them yet, so they
// read 0.
#pragma once

#include "runtime/catalogue.h"

#define AO_CHANNEL_REMOTE_STANDIN_ROWS(X)     \
    X(DBK_FLT, B_NAME, B, R20, PLAIN, R80)    \
    X(MOD_MULT, A_NAME, A, R160, PLAIN, R80)

#define _ub41_CELLS(X) AO_CHANNEL_REMOTE_STANDIN_ROWS(X)
CAT_USER_BLOCK(_ub41, "VL1_AIO.CNFG_AO_01", CAT_NO_ALIASES)
#define _ub42_CELLS(X) AO_CHANNEL_REMOTE_STANDIN_ROWS(X)
CAT_USER_BLOCK(_ub42, "VL1_AIO.CNFG_AO_02", CAT_NO_ALIASES)
