// STAND-IN rows of module CNFG_CAN2 for what no module computes yet: the
// go-operational command (10 ms). CNFG_CAN2.cells.h lists them; the real modules declare them
// there and delete this file.
#pragma once

#define CNFG_CAN2_STANDIN_ROWS(X)                  \
    X(GO_OPER, AND, B, R10, PLAIN, R20)
