// STAND-IN rows of module CNFG_CAN2 until the remote-node enables and the
// CAN2 network block land: the node enables of the analog node (1) and of
// the discrete-input node (4) and the node use flag (80 ms), and the
// network's NMT state flags and reset pulse (20 ms). CNFG_CAN2.cells.h lists them; the real
// modules declare them there and delete this file.
#pragma once

#define CNFG_CAN2_STANDIN_ROWS(X)                  \
    X(VL1_ENA, B_NAME, B, R80, PLAIN, R160)        \
    X(VL4_ENA, B_NAME, B, R80, PLAIN, R160)        \
    X(USE_VL, B_NAME, B, R80, PLAIN, R160)         \
    X(NMT_STATUS_5, EQ, B, R20, PLAIN, R160)       \
    X(NOT_OPER, OR, B, R20, PLAIN, R160)       \
    X(CAN2_RST_OS, ONE_SHOT, B, R20, PLAIN)
