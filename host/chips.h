// Board chip drivers: the supply-monitor ADC (AD7927), the sensor-supply and
// proximity-probe voltage monitor (ADT1018), the LED port expander (MAX7317)
// and the processor's GPIO pins; with the test API of their inputs and outputs.
#pragma once

#include <cstdint>

#include "host/vxworks.h"

// One conversion: the command word in, the result in the same word. Bits
// 12..10 of the command select the input VIN0..VIN7; the result holds the
// input number in bits 14..12 and the 12-bit code (2.5 V full scale) in bits
// 11..0. Returns 0, or non-zero on a transfer error (word untouched).
int AD7927_Read(UINT16* word);
// One reading of monitor `device` (0 or 1): bits 13..12 of the command word
// select input 0..3; the result holds the 11-bit code in bits 14..4. Returns
// 0, or non-zero on a transfer error or an unknown device (word untouched).
int ADT1018_Read(UINT32 device, UINT16* word);
// Writes the command word *word (port in the high byte, output level in bit
// 0) to the expander; `value` is the same word as the callers pass it.
// Returns 0, or non-zero on a transfer error or a port above 9.
int MAX7317_Write(UINT16* word, UINT16 value);
// Sets processor GPIO pin `gpio` (0..31) to `value`; OK or ERROR.
STATUS sysGpioValSet(UINT32 gpio, UINT32 value);

namespace board {

enum class Chip { AD7927, ADT1018, MAX7317 };
// Makes every transfer of the chip fail (true) or work again.
void failChip(Chip chip, bool fail);

// Supply-monitor input VIN0..VIN7 in volts at the pin (0..2.5 V). The board
// starts with the nominal supply rails on their dividers.
void setSupplyMonitorInput(int vin, double volts);
// Sensor monitor `device` 0..1, input 0..3: the 11-bit code it returns.
void setSensorMonitorCode(int device, int input, uint16_t code);

// Expander port levels, bit p = port p (1 high: its LED is off).
uint16_t expanderPorts();
bool expanderLedOn(int port);
uint64_t expanderWrites();

uint32_t gpioValue(int gpio);

// Back to the power-up state of every chip.
void resetChips();

}  // namespace board
