// STAND-IN rows of module MOD until the Modbus link flags (link in use,
// write enable) land: the real module computes them in the 160 ms group
// from the link and write-enable settings, and takes these rows over.
#pragma once

#define MOD_STANDIN_ROWS(X)                    \
    X(PORT1_USED, B_NAME, B, R160, PLAIN)      \
    X(PORT2_USED, B_NAME, B, R160, PLAIN)      \
    X(PORT3_USED, B_NAME, B, R160, PLAIN)      \
    X(PORT1_ENBL_WRT, AND, B, R160, PLAIN)     \
    X(PORT2_ENBL_WRT, AND, B, R160, PLAIN)     \
    X(PORT3_ENBL_WRT, AND, B, R160, PLAIN)
