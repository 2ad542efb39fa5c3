// Model of the two speed-sensor pulse trains as the FPGA times them: a
// shaft speed, a gear ratio and a tooth count per channel make the tooth
// edges, and the speed-sensor registers show the 64 MHz counts of those
// edges at the kernel time of the read:
//   period A     count of the last completed measurement (the last
//                teethPerMeasure tooth intervals), 0xFFFFFFFF before one
//   period B     count since the last edge, up to 0xFFFFFFFF
//   per-sample   period A as it stood at 50 instants 0.1 ms apart, the last
//                at the latest 5 ms tick (lowest address oldest)
//   tooth count  edges seen, modulo 65536
//   phase        count from the last channel 0 edge to the next channel 1
//                edge
// The teeth-per-measurement register is what the CPU last wrote there (+1).
// A channel at zero speed (a standing shaft or a failed sensor) gives no
// edges: period A keeps its last measurement while period B grows.
//
// The model is installed at program start, and again by install() after a
// board::reset(); every channel starts standing still.
#pragma once

#include <cstdint>

namespace speedsensor {

// The highest tooth frequency the controller's speed input reads: its
// filter takes every faster measurement as this one.
constexpr double kHighestReadHz = 38500.0;

// Attaches the model to the speed-sensor registers and stops both shafts,
// forgetting every edge.
void install();

// From now on (kernel time), channel `ch` (0 or 1) turns at `rpm` of the
// turbine, seen by a wheel of `teeth` teeth geared `gear` to the turbine:
// tooth frequency = rpm * gear * teeth / 60.
void setShaftSpeed(int ch, double rpm, int teeth, double gear = 1.0);
// The same from kernel time `timeNs` (changes in time order per channel).
void setShaftSpeedAt(int ch, uint64_t timeNs, double rpm, int teeth, double gear = 1.0);
// Tooth frequency directly, Hz (0: no pulses).
void setToothFrequency(int ch, double hz);
void setToothFrequencyAt(int ch, uint64_t timeNs, double hz);
// The sensor stops giving pulses (same as a tooth frequency of 0).
void failSensor(int ch);

// From now on channel 1's edges lag channel 0's by this fraction of a
// tooth, in degrees (0 .. 360), while both turn at the same tooth frequency.
void setPhaseDegrees(double degrees);

// Tooth frequency now and edges seen so far.
double toothFrequency(int ch);
uint64_t edges(int ch);

}  // namespace speedsensor
