// STAND-IN rows of module CNFG_CAN2 until the remote-node enables, the node
// fault summaries and the go-operational command land: the node enables (80
// ms), the requests that (re)initialise the nodes and reset their
// communication (80 ms), and the go-operational command (10 ms).
// CNFG_CAN2.cells.h lists them; the real modules declare them there and
// delete this file.
#pragma once

#define CNFG_CAN2_STANDIN_ROWS(X)                  \
    X(VL1_ENA, B_NAME, B, R80, PLAIN, R160)        \
    X(VL4_ENA, B_NAME, B, R80, PLAIN, R160)        \
    X(VL1_ENABLE, AND, B, R80, PLAIN, R20)         \
    X(VL3_ENABLE, AND, B, R80, PLAIN, R20)         \
    X(VL4_ENABLE, AND, B, R80, PLAIN, R20)         \
    X(VL5_ENABLE, AND, B, R80, PLAIN, R20)         \
    X(VL1_INIT, OR, B, R80, PLAIN)                 \
    X(INIT_NODES, OUT_3, B, R80, PLAIN)            \
    X(INIT_NODES, OUT_4, B, R80, PLAIN)            \
    X(INIT_NODES, OUT_5, B, R80, PLAIN)            \
    X(INIT_ALL, B_NAME, B, R80, PLAIN)             \
    X(ALL_PWRUP, AND, B, R80, PLAIN)               \
    X(VL_RST, OR, B, R80, PLAIN, R20)              \
    X(NONE_ACTIV, NOR, B, R80, PLAIN, R20)         \
    X(GO_OPER, AND, B, R10, PLAIN, R20)
