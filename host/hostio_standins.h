// STAND-INS until their subsystems land: declarations the device layer uses
// of words and routines owned elsewhere. The definitions in
// hostio_standins.cpp are weak, so the owners' definitions replace them at
// link time; once those land this header gives way to the owners' headers.
#pragma once

#include <cstdint>

// Runtime start and stop: 1 while the scheduler runs.
extern uint32_t ApplicationRunning;
// Ethernet port table built by the application initialisation: peer IPv4
// address (host order) and port of each device number.
extern uint32_t PentEthPortIP[8];
extern uint32_t PentEthPortNum[8];
// FPGA register layer: the RS-485 transceiver of the serial port.
int ZarnRS485Enable(int value);
// File services: shutdown and close of a socket descriptor.
int VKOS_CloseSocket(int fd);
// Board library: the dotted IPv4 address of an interface into buf.
int VKIPGet(int iface, char* buf);
