// Board GPIO switches: the RS-485 transceiver and the USB port.
#include "drivers/ZarnGPIO.h"

#include "host/chips.h"

namespace {
constexpr uint32_t kGpioRs485 = 16;
constexpr uint32_t kGpioUsb = 14;
}  // namespace

int ZarnRS485Enable(uint32_t value) {
    sysGpioValSet(kGpioRs485, value);
    return 0;
}

int SetUSBEnable(uint32_t value) {
    sysGpioValSet(kGpioUsb, value);
    return 0;
}

int InitUSBEnable() { return 0; }
