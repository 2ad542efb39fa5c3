// STAND-IN until the Ethernet and serial port configuration lands: the
// device-number cells of the Modbus links' ports, set at block
// initialisation. The real modules take these rows over and delete this
// file.
#pragma once

#include "runtime/catalogue.h"

#define CNFG_ETHER_CELLS(X)                      \
    X(NETADDR_1, TCP_P, I, R160, PLAIN)          \
    X(NETADDR_2, TCP_P, I, R160, PLAIN)          \
    X(PORT_5001, UDP_P, I, R160, PLAIN)          \
    X(PORT_5002, UDP_P, I, R160, PLAIN)
CAT_MODULE(CNFG_ETHER)

#define CNFG_SIO_CELLS(X) X(COMM1_PORT, SIO_PORT, I, R160, PLAIN)
CAT_MODULE(CNFG_SIO)
