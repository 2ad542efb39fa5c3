// Board GPIO switches: the RS-485 transceiver and the USB port.
#include "drivers/ZarnGPIO.h"

#include "host/chips.h"

namespace {
constexpr uint32_t kGpioRs485 = 16;
constexpr uint32_t kGpioUsb = 14;
}  // namespace

int ZarnRS485Enable(int value) {
    sysGpioValSet(kGpioRs485, static_cast<uint32_t>(value));
    return 0;
}

int SetUSBEnable(int value) {
    sysGpioValSet(kGpioUsb, static_cast<uint32_t>(value));
    return 0;
}

int InitUSBEnable() { return 0; }
