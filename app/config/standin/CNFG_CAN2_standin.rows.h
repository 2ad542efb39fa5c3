// STAND-IN rows of module CNFG_CAN2 for what no module computes yet: the
// requests that (re)initialise the nodes (80 ms) and the go-operational
// command (10 ms). CNFG_CAN2.cells.h lists them; the real modules declare them
// there and delete this file.
#pragma once

#define CNFG_CAN2_STANDIN_ROWS(X)                  \
    X(ALL_PWRUP, AND, B, R80, PLAIN)               \
    X(NONE_ACTIV, NOR, B, R80, PLAIN, R20)         \
    X(GO_OPER, AND, B, R10, PLAIN, R20)
