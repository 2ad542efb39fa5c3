// Rows of module RESET computed by the operator interface at 80 ms (listed
// in app/control/RESET.cells.h): the power-up inhibit of the operate flag
// and the reset pulses of the keypad, the Modbus and the OPC command lists.
#pragma once

#define RESET_IFACE_ROWS(X)                        \
    X(PWR_UP_N, NOT, B, R80, PLAIN)                \
    X(RST_KEYPAD, ACT_OUT, I, R80, PLAIN)          \
    X(RST_KEYPAD, B_ACTION, B, R80, PLAIN)         \
    X(RST_KEYPAD, E_TIME, A, R80, PLAIN)           \
    X(RST_KEYPAD, R_TIME, A, R80, PLAIN)           \
    X(RST_KEYPAD, RST_1, B, R80, TUNE(false))      \
    X(RST_M1, ACT_OUT, I, R80, PLAIN)              \
    X(RST_M1, B_ACTION, B, R80, PLAIN)             \
    X(RST_M1, E_TIME, A, R80, PLAIN)               \
    X(RST_M1, R_TIME, A, R80, PLAIN)               \
    X(RST_M1, RST_2, B, R80, TUNE(false))          \
    X(RST_OPC, ACT_OUT, I, R80, PLAIN)             \
    X(RST_OPC, B_ACTION, B, R80, PLAIN)            \
    X(RST_OPC, E_TIME, A, R80, PLAIN)              \
    X(RST_OPC, R_TIME, A, R80, PLAIN)              \
    X(RST_OPC, RST_2, B, R80, TUNE(false))
