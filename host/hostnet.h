// Words and routines the device layer uses from the runtime, the drivers
// and the board library's network calls.
#pragma once

#include <cstdint>

#include "drivers/ZarnGPIO.h"
#include "runtime/appmain.h"

// Ethernet port table built by the application initialisation: peer IPv4
// address (host order) and port of each device number.
extern uint32_t PentEthPortIP[8];
extern uint32_t PentEthPortNum[8];
// Board library: the dotted IPv4 address of an interface into buf.
int VKIPGet(int iface, char* buf);
