// STAND-IN rows of module CNFG_CAN2 until the remote-node supervision and
// the CAN2 network block land: the node use flag (80 ms), the network's NMT
// state flags and reset, and the fault flags of the four node blocks
// (20 ms). CNFG_CAN2.cells.h lists them; the real modules declare them there
// and delete this file.
#pragma once

#define CNFG_CAN2_NODE_STANDIN_ROWS(X, NODE)       \
    X(NODE, COMM_FLT_1, B, R20, PLAIN, R80)        \
    X(NODE, NODE_FLT, B, R20, PLAIN, R80)

#define CNFG_CAN2_STANDIN_ROWS(X)                  \
    CNFG_CAN2_NODE_STANDIN_ROWS(X, VL_NODE1_AIO)   \
    CNFG_CAN2_NODE_STANDIN_ROWS(X, VL_NODE3_RTD_8C) \
    CNFG_CAN2_NODE_STANDIN_ROWS(X, VL_NODE4_BI)    \
    CNFG_CAN2_NODE_STANDIN_ROWS(X, VL_NODE5_BO)    \
    X(CAN2_RST, OR, B, R20, PLAIN, R80)            \
    X(USE_VL, B_NAME, B, R80, PLAIN, R160)         \
    X(NMT_STATUS_5, EQ, B, R20, PLAIN, R160)       \
    X(NOT_OPER, OR, B, R20, PLAIN, R160)       \
    X(CAN2_RST_OS, ONE_SHOT, B, R20, PLAIN)
