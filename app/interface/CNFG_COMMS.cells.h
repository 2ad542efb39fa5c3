// Module CNFG_COMMS (160 ms): which Modbus links 2 and 3 are used, each
// link's write-enable setting and its used flag, and the Modbus settings of
// serial ports 2 and 3, plain copies of their tunables every pass.
#pragma once

#include "runtime/catalogue.h"

#define CNFG_COMMS_CELLS(X)                                  \
    X(MOD_LINK1_USED, AND, B, R160, PLAIN)                   \
    X(MOD_LINK2_USED, AND, B, R160, PLAIN)                   \
    X(MOD_LINK3_USED, AND, B, R160, PLAIN)                   \
    X(LINK2_USED, IN, B, R160, TUNE(false))                  \
    X(LINK2_USED, B_NAME, B, R160, PLAIN)                    \
    X(LINK3_USED, IN, B, R160, TUNE(false))                  \
    X(LINK3_USED, B_NAME, B, R160, PLAIN)                    \
    X(PORT1_WRT_ENBL, IN, B, R160, TUNE(false))              \
    X(PORT1_WRT_ENBL, B_NAME, B, R160, PLAIN)                \
    X(PORT2_WRT_ENBL, IN, B, R160, TUNE(false))              \
    X(PORT2_WRT_ENBL, B_NAME, B, R160, PLAIN)                \
    X(PORT3_WRT_ENBL, IN, B, R160, TUNE(false))              \
    X(PORT3_WRT_ENBL, B_NAME, B, R160, PLAIN)                \
    X(PORT2_COMM_TYP, IN, I, R160, TUNE(2, 1, 3))            \
    X(PORT2_COMM_TYP, I_NAME, I, R160, PLAIN)                \
    X(PORT3_COMM_TYP, IN, I, R160, TUNE(2, 1, 3))            \
    X(PORT3_COMM_TYP, I_NAME, I, R160, PLAIN)                \
    X(PORT2_NET_ADDR, IN, I, R160, TUNE(2, 1, 247))          \
    X(PORT2_NET_ADDR, I_NAME, I, R160, PLAIN)                \
    X(PORT3_NET_ADDR, IN, I, R160, TUNE(3, 1, 247))          \
    X(PORT3_NET_ADDR, I_NAME, I, R160, PLAIN)                \
    X(PORT2_PROTO, IN, I, R160, TUNE(1, 1, 2))               \
    X(PORT2_PROTO, I_NAME, I, R160, PLAIN)                   \
    X(PORT3_PROTO, IN, I, R160, TUNE(1, 1, 2))               \
    X(PORT3_PROTO, I_NAME, I, R160, PLAIN)
CAT_MODULE(CNFG_COMMS)

namespace r160 {
void CNFG_COMMS_ports();  // slice 28
}  // namespace r160
