// Model of the controller's eight 4-20 mA analog inputs behind the FPGA ADC:
// a source per channel (a current with optional noise, an open loop, a
// transmitter that draws its power from the controller's loop supply, or a
// raw ADC code), the conversion into the signed result registers while the
// ADC runs, and the ADC and backlight fault indications.
#pragma once

#include <cstdint>

#include "host/board.h"

namespace board {

// The current the source drives, in mA (starts at 4 mA, the live zero).
void setAnalogInputMa(int ch, double mA);
// Peak of a uniform noise added to every conversion, in mA (0: none). The
// sequence is the same every run.
void setAnalogInputNoise(int ch, double peakMa);
// An open loop carries no current, whatever the source drives.
void setAnalogInputOpen(int ch, bool open);
// A two-wire transmitter: it carries current only while the controller's
// loop supply of the channel is on.
void setAnalogInputLoopPowered(int ch, bool needsLoopSupply);
// Replaces the conversion by a fixed ADC code (tests of the conversion).
void setAnalogInputRaw(int ch, int16_t code);
// The ADC's result for a current (clamped to the code range).
int16_t analogInputCode(double mA);
// Loop supply of channel ch as the FPGA drives it.
bool analogLoopSupplyOn(int ch);
// The ADC converts continuously (control register at 3).
bool adcRunning();

// Fault indications of the status register.
void setAdcFault(bool faultA, bool faultB);
void setBacklightFault(bool fault);

// Back to the power-up state (called by board::reset()).
void resetAnalogInputs();
// The conversion behind the result registers (attached by the board).
Behaviour analogInputBehaviour();

}  // namespace board
