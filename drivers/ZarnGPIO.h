// Board GPIO switches: the RS-485 transceiver and the USB port.
#pragma once

#include <cstdint>

int ZarnRS485Enable(int value);
int SetUSBEnable(int value);
int InitUSBEnable();
