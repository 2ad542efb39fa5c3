// Rows of module ALARMS computed by the Modbus link flags at 160 ms (listed
// in app/discrete/ALARMS.cells.h): per link the no-write and link-alarm
// flags, and the summary of all three.
#pragma once

#define ALARMS_LINK_ROWS(X)                        \
    X(PORT1_NO_WRITE, NOT, B, R160, PLAIN)         \
    X(LINK1_ALM_USED, OR, B, R160, PLAIN)          \
    X(PORT2_NO_WRITE, NOT, B, R160, PLAIN)         \
    X(LINK2_ALM_USED, OR, B, R160, PLAIN)          \
    X(PORT3_NO_WRITE, NOT, B, R160, PLAIN)         \
    X(LINK3_ALM_USED, OR, B, R160, PLAIN)          \
    X(ANY_MOD1_ALM, AND, B, R160, PLAIN)
