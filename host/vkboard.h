// The board library's identity, LED, temperature, calibration-flash and CPU
// request interrupt calls, with the test API of the state behind them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/vxworks.h"

// Run (green) and fault (red) LEDs of the CPU: 1 on, 0 off.
STATUS VKRunLed(UINT32 on);
STATUS VKFaultLed(UINT32 on);
// CAN network status LEDs.
STATUS VKCanLed1Off();
STATUS VKCanLed2Red();
STATUS VKCanLed2Green();
STATUS VKCanLed2Off();

// Board temperature in degrees Celsius; 0, or non-zero when the sensor
// cannot be read (*celsius untouched).
int VKGetTemperature(float* celsius);

// Identity of the controller in `slot` (0, this controller; the second
// argument is reserved). Other slots give 0.
UINT32 VKGetIdentityPartNumber(UINT32 slot = 0, UINT32 reserved = 0);
UINT32 VKGetIdentitySerialNumber(UINT32 slot = 0, UINT32 reserved = 0);
UINT32 VKGetIdentityRevision(UINT32 slot = 0, UINT32 reserved = 0);
// Fill `buffer` (at least 40 bytes) with the model or target name,
// NUL-terminated, at most 39 characters; return 0.
int VKGetModel(char* buffer);
int VKGetTargetName(char* buffer);

// Calibration block in flash: copy `length` bytes (1..kCalFlashSize) between
// the flash and `buffer`; 0, or non-zero on a bad length or a flash fault.
int VKReadCalibrationData(void* buffer, int length);
int VKWriteCalibrationData(const void* buffer, int length);

// The display backlight's level in percent, read back from its PWM
// registers (on count over period, 0x8080F1F0 / 0x8080F1F2); 0.0 while no
// period is set.
float VNReadBacklightPercent();

// CPU request interrupt: connects `routine` (called with `arg` at interrupt
// level) and enables the interrupt.
STATUS VKCpuRqstConnect(VOIDFUNCPTR routine, long arg);
STATUS VKCpuRqstInit();

namespace board {

constexpr size_t kCalFlashSize = 512;

enum class CanLed { Off, Red, Green };

bool runLed();
bool faultLed();
CanLed canLed1();
CanLed canLed2();
uint64_t runLedWrites();
uint64_t faultLedWrites();

void setTemperature(float celsius);
void failTemperatureSensor(bool fail);

struct Identity {
    uint32_t partNumber;
    uint32_t serialNumber;
    uint32_t revision;
    std::string model;
    std::string targetName;
};
void setIdentity(const Identity& id);
Identity identity();

// The flash contents (kCalFlashSize bytes). It starts with a valid
// calibration: 44 pairs of gain 1.0 and offset 0.0 and their checksum word,
// in the processor's word layout.
std::vector<uint8_t> calibrationFlash();
void setCalibrationFlash(const std::vector<uint8_t>& bytes);
void failCalibrationFlash(bool fail);

// Back to the power-up state of the platform library.
void resetPlatform();

}  // namespace board
