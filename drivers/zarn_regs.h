// FPGA register map of the controller's I/O, shared by the drivers and by the
// host's board model. Every register is 16 bits unless marked 32.
#pragma once

#include <cstdint>

// Hardware watchdog.
constexpr uint32_t ZARN_WDOG_ENABLE = 0x8080A000;   // bit 0: watchdog on
constexpr uint32_t ZARN_WDOG_KEY_A = 0x80805554;    // handshake: 0x5555 then 0xAAAA
constexpr uint32_t ZARN_WDOG_KEY_B = 0x8080AAAA;    // then 0x5555 and 0xAAAA here
constexpr uint16_t ZARN_WDOG_KEY_1 = 0x5555;
constexpr uint16_t ZARN_WDOG_KEY_2 = 0xAAAA;

constexpr uint32_t ZARN_DBUG_LEDS = 0x8080F00A;     // one debug LED per bit

// Master clock pass registers.
constexpr uint32_t ZARN_R160_STROBE = 0x8080F024;   // written 1 one pass before each 160 ms release
constexpr uint32_t ZARN_GATHER_TIME = 0x8080F028;

// CPU request interrupt.
constexpr uint32_t ZARN_INTR_ENABLE = 0x8080F030;   // bit 0: CPU request interrupt on
constexpr uint32_t ZARN_INTR_STATUS = 0x8080F032;   // pending sources (bits below)
constexpr uint32_t ZARN_INTR_SOURCES = 0x8080F034;  // bit 0: CPU request sources, bit 2: 1 ms interrupt
constexpr uint32_t ZARN_INTR_ACK = 0x8080F036;      // write a status bit to clear it
constexpr uint16_t ZARN_INTR_WDOG_TIMEOUT = 0x0001;
constexpr uint16_t ZARN_INTR_POWER_FAIL = 0x0002;
constexpr uint16_t ZARN_INTR_CALLBACK = 0x0004;
constexpr uint16_t ZARN_INTR_SRC_CPU_RQST = 0x0001;
constexpr uint16_t ZARN_INTR_SRC_ONE_MS = 0x0004;

// Control register, shared by the speed-sensor, actuator, E-stop and I/O-lock
// drivers. Change it only through VKIO_fpgaModifyUint16 (interrupt-locked).
constexpr uint32_t ZARN_CTRL = 0x8080F040;
constexpr uint16_t ZARN_CTRL_ACT6_ENABLE = 1u << 0;
constexpr uint16_t ZARN_CTRL_ACT6_HIGH = 1u << 1;
constexpr uint16_t ZARN_CTRL_ACT7_ENABLE = 1u << 2;
constexpr uint16_t ZARN_CTRL_ACT7_HIGH = 1u << 3;
constexpr uint16_t ZARN_CTRL_TSS_OPTION0 = 1u << 4;  // channel 1: << 1
constexpr uint16_t ZARN_CTRL_TSS_MODE0 = 1u << 6;    // channel 1: << 1
constexpr uint16_t ZARN_CTRL_TSS_OPENW0 = 1u << 8;   // channel 1: << 1
constexpr uint16_t ZARN_CTRL_ESTOP_RESET = 1u << 11;
constexpr uint16_t ZARN_CTRL_OUTPUTS_RELEASED = 1u << 15;

// Status inputs.
constexpr uint32_t ZARN_STATUS = 0x8080F042;
constexpr uint16_t ZARN_STATUS_ESTOP = 1u << 0;
constexpr uint16_t ZARN_STATUS_ADC_FAULT_A = 1u << 2;
constexpr uint16_t ZARN_STATUS_ADC_FAULT_B = 1u << 3;
constexpr uint16_t ZARN_STATUS_BACKLIGHT_FAULT = 1u << 4;

// ADC conversion control and the SPI engine of the analog-input ADC.
constexpr uint32_t ZARN_ADC_CONTROL = 0x8080F044;   // 0 stop, 3 run
constexpr uint32_t ZARN_SPI_CMD = 0x8080F080;       // command and status
constexpr uint16_t ZARN_SPI_START = 0x0001;         // a command with bit 0 starts a transfer
constexpr uint16_t ZARN_SPI_DONE = 0x0010;
constexpr uint32_t ZARN_SPI_SET1 = 0x8080F082;
constexpr uint32_t ZARN_SPI_SET2 = 0x8080F084;
constexpr uint32_t ZARN_SPI_SET3 = 0x8080F086;
constexpr uint32_t ZARN_SPI_SET4 = 0x8080F088;
constexpr uint32_t ZARN_SPI_DATA = 0x8080F08A;
constexpr uint32_t ZARN_READBACK_SETTING = 0x8080F0C2;

// Analog inputs: 0x8080F100 + 4 * ch, signed; loop power bit ch.
constexpr uint32_t ZARN_AIN_BASE = 0x8080F100;
constexpr int ZARN_AIN_COUNT = 8;
constexpr uint32_t ZARN_AIN_LOOP_POWER = 0x8080F120;

// Source and return readbacks 0x8080F130..0x8080F14E, value in bits 4..15.
constexpr uint32_t ZARN_READBACK_FIRST = 0x8080F130;
constexpr uint32_t ZARN_READBACK_LAST = 0x8080F14E;

// Relay outputs and the discrete-input sample history (current state last).
constexpr uint32_t ZARN_RELAYS = 0x8080F150;
constexpr uint16_t ZARN_RELAYS_ALWAYS = 1u << 14;
constexpr uint32_t ZARN_DIN_SAMPLES_FIRST = 0x8080F154;  // sampled 4 ms before, inputs 16..31
constexpr uint32_t ZARN_DIN_SAMPLES_LAST = 0x8080F166;   // current state, inputs 0..15
// Register of the word (0 inputs 0..15, 1 inputs 16..31) sampled k ms ago.
constexpr uint32_t zarnDinSampleReg(int k, int word) {
    return 0x8080F166u - 4u * static_cast<uint32_t>(k) - 2u * static_cast<uint32_t>(word);
}

// Analog outputs n = 1..6: PWM count and period.
constexpr uint32_t zarnAoutCountReg(int n) { return 0x8080F170u + 0x10u * static_cast<uint32_t>(n - 1); }
constexpr uint32_t zarnAoutPeriodReg(int n) { return zarnAoutCountReg(n) + 2u; }

// Actuator channels 6 and 7: PWM count and period.
constexpr uint32_t ZARN_ACT6_COUNT = 0x8080F1D0;
constexpr uint32_t ZARN_ACT6_PERIOD = 0x8080F1D2;
constexpr uint32_t ZARN_ACT7_COUNT = 0x8080F1E0;
constexpr uint32_t ZARN_ACT7_PERIOD = 0x8080F1E2;

// Display backlight PWM.
constexpr uint32_t ZARN_BACKLIGHT_COUNT = 0x8080F1F0;
constexpr uint32_t ZARN_BACKLIGHT_PERIOD = 0x8080F1F2;

// Speed sensors; channel 1 registers are channel 0's + 0x100 (thresholds + 0x10).
constexpr uint32_t ZARN_TSS_THRESH_VALUE0 = 0x8080F200;
constexpr uint32_t ZARN_TSS_THRESH_PERIOD0 = 0x8080F202;
constexpr uint32_t ZARN_TSS_THRESH_STRIDE = 0x10;
constexpr uint32_t ZARN_TSS_PHASE = 0x8080F240;          // 32
constexpr uint32_t ZARN_TSS_SAMPLES0 = 0x8080F300;       // 32, 50 registers 4 bytes apart
constexpr int ZARN_TSS_SAMPLE_COUNT = 50;
constexpr uint32_t ZARN_TSS_TEETH0 = 0x8080F3F0;
constexpr uint32_t ZARN_TSS_TOOTH_COUNT0 = 0x8080F3F4;
constexpr uint32_t ZARN_TSS_PERIOD_A0 = 0x8080F3F8;      // 32
constexpr uint32_t ZARN_TSS_PERIOD_B0 = 0x8080F3FC;      // 32
constexpr uint32_t ZARN_TSS_STRIDE = 0x100;

// Front-panel keypad: three words, keys in bits 0..11.
constexpr uint32_t ZARN_KEYPAD0 = 0x8080F2F0;
constexpr uint32_t ZARN_KEYPAD1 = 0x8080F2F2;
constexpr uint32_t ZARN_KEYPAD2 = 0x8080F2F4;
constexpr uint16_t ZARN_KEYPAD_MASK = 0x0FFF;
