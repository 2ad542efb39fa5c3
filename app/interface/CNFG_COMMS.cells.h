// Module CNFG_COMMS (160 ms): which Modbus links 2 and 3 are used, each
// link's write-enable setting and its used flag.
#pragma once

#include "runtime/catalogue.h"

#define CNFG_COMMS_CELLS(X)                             \
    X(MOD_LINK1_USED, AND, B, R160, PLAIN)              \
    X(MOD_LINK2_USED, AND, B, R160, PLAIN)              \
    X(MOD_LINK3_USED, AND, B, R160, PLAIN)              \
    X(LINK2_USED, IN, B, R160, TUNE(false))             \
    X(LINK2_USED, B_NAME, B, R160, PLAIN)               \
    X(LINK3_USED, IN, B, R160, TUNE(false))             \
    X(LINK3_USED, B_NAME, B, R160, PLAIN)               \
    X(PORT1_WRT_ENBL, IN, B, R160, TUNE(false))         \
    X(PORT1_WRT_ENBL, B_NAME, B, R160, PLAIN)           \
    X(PORT2_WRT_ENBL, IN, B, R160, TUNE(false))         \
    X(PORT2_WRT_ENBL, B_NAME, B, R160, PLAIN)           \
    X(PORT3_WRT_ENBL, IN, B, R160, TUNE(false))         \
    X(PORT3_WRT_ENBL, B_NAME, B, R160, PLAIN)
CAT_MODULE(CNFG_COMMS)
