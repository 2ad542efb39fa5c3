// Analog outputs: PWM count and period registers.
#include "drivers/ZarnAnalogOuts.h"

#include <cmath>

#include "drivers/ZarnHwDepend.h"
#include "drivers/zarn_regs.h"
#include "platform/vkiobus.h"

namespace {
constexpr uint32_t kPwmPeriod = 14222;
constexpr double kCountLimit = 13937.561;

bool validOutput(uint32_t n) { return n >= 1 && n <= kZarnAnalogOuts; }
}  // namespace

void InitAnalogOut(uint32_t n) {
    if (!validOutput(n)) return;
    VKIO_fpgaWrUint16(zarnAoutCountReg(static_cast<int>(n)), 0);
    VKIO_fpgaWrUint16(zarnAoutPeriodReg(static_cast<int>(n)), kPwmPeriod);
}

void WriteAnalogOut(uint32_t n, double count) {
    if (!validOutput(n)) return;
    uint32_t value = 0;
    if (!std::isfinite(count) || count < 0.0 || IoLock != 0) value = 0;
    else if (count > kCountLimit) value = kZarnAoutMaxCount;
    else value = static_cast<uint32_t>(count);
    VKIO_fpgaWrUint16(zarnAoutCountReg(static_cast<int>(n)), value);
}
