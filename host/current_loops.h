// Model of the controller's current outputs as wired loops: each PWM output
// (analog outputs 1..6, actuator outputs 6 and 7) drives its current through
// a load, and the FPGA's readback ADC measures the current leaving (source)
// and coming back (return) on readback channel 0..7. Faults of the wiring are
// injected per loop; the readbacks then show what such a fault shows.
#pragma once

#include <cstdint>

#include "host/board.h"

namespace board {

constexpr int kCurrentLoops = 8;

enum class LoopFault {
    None,
    OpenWire,       // no current flows: source and return read 0
    ShortToGround,  // the current leaves but returns through ground: return reads 0
};

// Load of loop ch in ohms (default 250 for the analog outputs, 40 for the
// actuator coils). The driver's compliance is 24 V: a load that needs more
// limits the current to 24 V / load.
void setLoopLoad(int ch, double ohms);
void setLoopFault(int ch, LoopFault fault);
// Readback drift: both readbacks show the current times (1 + fraction).
void setLoopDrift(int ch, double fraction);

// The current that flows in loop ch now, mA (from the PWM count the FPGA
// drives, the range bit of an actuator output and the load).
double loopCurrentMa(int ch);
// The raw 12-bit readings of the loop's readback ADC.
uint16_t loopSourceCode(int ch);
uint16_t loopReturnCode(int ch);

// Back to the power-up state (called by board::reset()).
void resetCurrentLoops();
// The readback registers' behaviour (attached by the board).
Behaviour currentLoopBehaviour();

}  // namespace board
