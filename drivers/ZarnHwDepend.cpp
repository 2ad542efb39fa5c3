// Panel and safety hardware: I/O lock, hardware watchdog, E-stop, debug LEDs
// and the platform's run and fault LEDs.
#include "drivers/ZarnHwDepend.h"

#include "drivers/ZarnGPIOExp.h"
#include "drivers/zarn_regs.h"
#include "host/vkboard.h"
#include "platform/vkiobus.h"

uint8_t IoLock = 1;

namespace {

// Sets the bits of `mask` when `on`, else clears them, as one locked
// read-modify-write.
void driveBits(uint32_t address, uint32_t mask, bool on) {
    VKIO_fpgaModifyUint16(address, on ? 0 : mask, on ? mask : 0);
}

}  // namespace

int io_lock(uint32_t value) {
    // One test decides both the software state and the FPGA's output enable,
    // so they can never disagree: only 0x8000 releases. A locking value whose
    // low byte is 0 still stores a non-zero (locked) byte.
    const bool release = (value == 0x8000u);
    const uint8_t low = static_cast<uint8_t>(value & 0xFFu);
    IoLock = release ? 0 : (low != 0 ? low : 1);
    driveBits(ZARN_CTRL, ZARN_CTRL_OUTPUTS_RELEASED, release);
    return 0;
}

void WatchdogDisable() { driveBits(ZARN_WDOG_ENABLE, 1, false); }

void WatchdogEnable() {
    WatchdogDisable();
    driveBits(ZARN_WDOG_ENABLE, 1, true);
}

void ZarnWatchdogHandshake() {
    VKIO_fpgaWrUint16(ZARN_WDOG_KEY_A, ZARN_WDOG_KEY_1);
    VKIO_fpgaWrUint16(ZARN_WDOG_KEY_A, ZARN_WDOG_KEY_2);
    VKIO_fpgaWrUint16(ZARN_WDOG_KEY_B, ZARN_WDOG_KEY_1);
    VKIO_fpgaWrUint16(ZARN_WDOG_KEY_B, ZARN_WDOG_KEY_2);
}

uint32_t ReadZarnDBugLED(uint32_t bit) {
    if (bit > 15) return 0;
    return (VKIO_fpgaRdUint16(ZARN_DBUG_LEDS) >> bit) & 1u;
}

void DriveZarnDBugLED(uint32_t bit, int32_t on) {
    if (bit > 15) return;
    driveBits(ZARN_DBUG_LEDS, 1u << bit, on == 1);
}

void ToggleZarnDBugLED(uint32_t bit) {
    DriveZarnDBugLED(bit, static_cast<int32_t>(1 - ReadZarnDBugLED(bit)));
}

int32_t ReadZarnEstop() { return static_cast<int32_t>(VKIO_fpgaRdUint16(ZARN_STATUS) & ZARN_STATUS_ESTOP); }

void ResetZarnEstop(uint32_t on) { driveBits(ZARN_CTRL, ZARN_CTRL_ESTOP_RESET, on == 1); }

void DriveZarnGreenLED(uint32_t on) { VKRunLed(on); }

void DriveZarnRedLED(uint32_t on) { VKFaultLed(on); }

void Zarn_application_stop_tasks() { SetZarnGPIOExpLeds(8, 0); }
