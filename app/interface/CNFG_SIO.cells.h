// Module CNFG_SIO: the serial port of Modbus link 1. Its device number
// (set at block initialisation), the stored settings that the start and the
// supervision apply to the port, and the status and fault cells its driver
// reports through (the device table's row points at them).
#pragma once

#include "runtime/catalogue.h"

#define CNFG_SIO_CELLS(X)                          \
    X(COMM1_PORT, SIO_PORT, I, R160, PLAIN)        \
    X(COMM1_PORT, P_STATUS, I, R160, PLAIN)        \
    X(COMM1_PORT, FAULT, B, R160, PLAIN)           \
    X(COMM1_PORT, BAUD, I, R160, TUNE(8, 1, 12))   \
    X(COMM1_PORT, BITS, I, R160, TUNE(1, 1, 2))    \
    X(COMM1_PORT, STOP, I, R160, TUNE(1, 1, 3))    \
    X(COMM1_PORT, PARITY, I, R160, TUNE(1, 1, 3))  \
    X(COMM1_PORT, MODE, I, R160, TUNE(1, 1, 2))    \
    X(COMM1_PORT, FLOW, I, R160, TUNE(1, 1, 3))    \
    X(COMM1_PORT, ECHO, I, R160, TUNE(1, 1, 2))    \
    X(COMM1_PORT, ENDLINE, I, R160, TUNE(1, 1, 3)) \
    X(COMM1_PORT, IGNCR, I, R160, TUNE(1, 1, 2))   \
    X(COMM1_PORT, DRIVER, I, R160, TUNE(1, 1, 3))  \
    X(COMM1_PORT, P_FLUSH, B, R160, TUNE(false))
CAT_MODULE(CNFG_SIO)

// Block initialisation: the port's device number, the port ready.
void CNFG_SIO_init_blks();
