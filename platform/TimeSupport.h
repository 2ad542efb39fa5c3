// POSIX-clock helpers of the time-of-day services.
#pragma once

#include <cstdint>

// Sets the realtime clock's resolution and prints the resolution read back
// with the results of the two calls.
void setClockResolution(int seconds, int nanoseconds);

// Free-running microsecond counter built from the sub-second part of the
// realtime clock: each call adds the microseconds that passed since the
// previous call. A wrap of the sub-second part at a whole second is taken
// as one second passing (calls are expected less than a second apart).
uint32_t VKOS_ReadClockTime();

// State of VKOS_ReadClockTime and the last resolution it read.
extern uint32_t LastClockMicroseconds;
extern uint32_t ClockMicrosecondCounter;
extern int32_t ClockResolutionNs;
