// Value conversions for operator and service front ends: console key codes
// to the service key map, decimal text to a real, clock-style durations to
// timer ticks, and reals to and from signed 16.16 fixed-point words.
#pragma once

#include <cstdint>

// The service key code of a console key code (unchanged when not mapped).
int32_t ConvertConsoleToServiceMap(uint32_t key);
// Parses a decimal number (sign, digits, up to five counted decimals,
// exponent) at *text and moves *text past it.
float ASC_TO_REAL(const char** text);
// Parses "s", "m:s" or "h:m:s" at *text into ticks of `tickMs` milliseconds
// (-1: the negated milliseconds) and moves *text past it. A tick of 0 is
// refused: 0, and *text is left where it was.
uint32_t ASC_TO_TIMER(const char** text, int32_t tickMs);
int32_t CONVERTTO1616(float x);
float CONVERTFROM1616(int32_t n);
