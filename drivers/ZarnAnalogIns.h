// The controller's eight 4-20 mA analog inputs (an ADC that converts
// continuously through the FPGA's SPI engine), their loop power, the ADC and
// backlight fault indications, the display backlight, and the board's
// supply-voltage monitor (AD7927).
#pragma once

#include <cstdint>

// The last 3.3 V supply reading, kept for the negative-rail computation.
extern float ps3_3Value;
// 1 once a transfer of the ADC set-up found no "done" within its wait.
extern uint32_t ZarnAdcSetupTimedOut;

// ADC set-up sequence; start-up passes 0. Returns 0, or 0x80000001 when a
// transfer of the set-up timed out (the sequence still runs to its end).
uint32_t InitZarnAnalogInsFpga(uint32_t setting);
// Input `ch` (0..7) in mA; *fault 0. Any other channel: *fault 1, 0.0.
double ReadZarnAnalogIn(uint32_t ch, uint32_t* fault);
// Mode 2 switches the loop supply of input `ch` on, any other mode off.
void SetZarnAnalogInsLoopPower(uint32_t ch, uint32_t mode);
uint32_t GetFpgaAdcFault();
uint32_t GetBacklightFault();
void InitZarnBackLight();
void SetZarnDisplayBrightness(int32_t percent);
int InitZarnPSMon();
// One supply reading of monitor channel `ch` (0..7) into *volts. Returns 0,
// or the chip driver's non-zero status (then *volts is left untouched).
int ReadZarnPSMon(uint32_t ch, float* volts);
int GetDataRate();
void ResetFpgaAdcSpi();
