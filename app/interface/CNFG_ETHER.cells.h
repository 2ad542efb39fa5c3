// Module CNFG_ETHER: the Ethernet ports of the Modbus links. Each block
// holds the device number of its port (set at block initialisation); the
// drivers of those devices report through the status and fault cells
// (the device table's rows point at them).
#pragma once

#include "runtime/catalogue.h"

#define CNFG_ETHER_CELLS(X)                      \
    X(NETADDR_1, TCP_P, I, R160, PLAIN)          \
    X(NETADDR_1, P_STATUS, I, R160, PLAIN)       \
    X(NETADDR_1, FAULT, B, R160, PLAIN)          \
    X(NETADDR_2, TCP_P, I, R160, PLAIN)          \
    X(NETADDR_2, P_STATUS, I, R160, PLAIN)       \
    X(NETADDR_2, FAULT, B, R160, PLAIN)          \
    X(PORT_5001, UDP_P, I, R160, PLAIN)          \
    X(PORT_5001, P_STATUS, I, R160, PLAIN)       \
    X(PORT_5001, FAULT, B, R160, PLAIN)          \
    X(PORT_5002, UDP_P, I, R160, PLAIN)          \
    X(PORT_5002, P_STATUS, I, R160, PLAIN)       \
    X(PORT_5002, FAULT, B, R160, PLAIN)
CAT_MODULE(CNFG_ETHER)

// Block initialisation: the device numbers of the TCP and UDP ports, the
// UDP ports ready.
void CNFG_ETHER_init_blks();
