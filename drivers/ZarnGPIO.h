// Board GPIO switches: the RS-485 transceiver and the USB port.
#pragma once

#include <cstdint>

int ZarnRS485Enable(uint32_t value);
int SetUSBEnable(uint32_t value);
int InitUSBEnable();
