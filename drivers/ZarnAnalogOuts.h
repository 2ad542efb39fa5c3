// The controller's six PWM current outputs (analog outputs 1..6).
#pragma once

#include <cstdint>

constexpr uint32_t kZarnAnalogOuts = 6;
constexpr uint16_t kZarnAoutMaxCount = 13937;

// Output n (1..6): PWM count 0, then period 14222; other n nothing.
void InitAnalogOut(uint32_t n);
// Output n (1..6): writes the count (0 below 0, not a finite number or while
// the I/O is locked; 13937 above 13937.561; else truncated toward zero).
void WriteAnalogOut(uint32_t n, double count);
