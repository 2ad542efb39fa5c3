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

// The serial port's settings (runtime/appinit.cpp applies them) are no
// stand-in: they stay with the module when its real declaration lands.
#define CNFG_SIO_CELLS(X)                          \
    X(COMM1_PORT, SIO_PORT, I, R160, PLAIN)        \
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
