// STAND-IN until the serial/network port settings, the Modbus link flags and
// the power-up sequence land: the port and link settings the Modbus map
// reads, their copies, the Ethernet device-number cells, the least of the
// link flags (link in use, write enable) computed from their settings, and
// the power-up-complete flag (set from the 160 ms group's second pass on). The real modules take
// these rows over and delete this file with MOD_links_standin.cpp.
#pragma once

#include "runtime/catalogue.h"

#define C_COMM_CELLS(X)                          \
    X(C1, IN, B, R160, TUNE(false))              \
    X(C1, B_NAME, B, R160, PLAIN)                \
    X(C2, IN, B, R160, TUNE(false))              \
    X(C2, B_NAME, B, R160, PLAIN)                \
    X(C3, IN, I, R160, TUNE(1, 1, 2))            \
    X(C3, I_NAME, I, R160, PLAIN)                \
    X(C4, IN, I, R160, TUNE(1, 1, 247))          \
    X(C4, I_NAME, I, R160, PLAIN)
CAT_MODULE(C_COMM)

#define CNFG_COMMS_PORT_ROWS(X, N, ADDR)                     \
    X(LINK##N##_USED, IN, B, R160, TUNE(false))              \
    X(LINK##N##_USED, B_NAME, B, R160, PLAIN)                \
    X(PORT##N##_COMM_TYP, IN, I, R160, TUNE(2, 1, 3))        \
    X(PORT##N##_COMM_TYP, I_NAME, I, R160, PLAIN)            \
    X(PORT##N##_NET_ADDR, IN, I, R160, TUNE(ADDR, 1, 247))   \
    X(PORT##N##_NET_ADDR, I_NAME, I, R160, PLAIN)            \
    X(PORT##N##_PROTO, IN, I, R160, TUNE(1, 1, 2))           \
    X(PORT##N##_PROTO, I_NAME, I, R160, PLAIN)               \
    X(MOD_LINK##N##_USED, AND, B, R160, PLAIN)
#define CNFG_COMMS_CELLS(X)                                  \
    CNFG_COMMS_PORT_ROWS(X, 2, 2) CNFG_COMMS_PORT_ROWS(X, 3, 3) \
    X(MOD_LINK1_USED, AND, B, R160, PLAIN)                   \
    X(PORT1_WRT_ENBL, IN, B, R160, TUNE(false))              \
    X(PORT2_WRT_ENBL, IN, B, R160, TUNE(false))              \
    X(PORT3_WRT_ENBL, IN, B, R160, TUNE(false))
CAT_MODULE(CNFG_COMMS)

#define CNFG_ETHER_CELLS(X)                      \
    X(NETADDR_1, TCP_P, I, R160, PLAIN)          \
    X(NETADDR_2, TCP_P, I, R160, PLAIN)          \
    X(PORT_5001, UDP_P, I, R160, PLAIN)          \
    X(PORT_5002, UDP_P, I, R160, PLAIN)
CAT_MODULE(CNFG_ETHER)

#define CNFG_SIO_CELLS(X) X(COMM1_PORT, SIO_PORT, I, R160, PLAIN)
CAT_MODULE(CNFG_SIO)

namespace r160 {
// The port settings' copies and the link flags, ahead of the Modbus map.
void MOD_links_standin();
}
