// The controller's clocks on the host.
//
// The OS realtime clock (UTC) runs on the host kernel's time base: it reads
// an offset kept here plus hk::nowNs(), so it advances with simulated time
// in tests and with real time in the running controller. At first use the
// offset is chosen so that the clock reads the host's time of day. Setting
// the clock changes only that offset, never the host's clock.
//
// The battery-backed clock is kept the same way, with its own offset.
#pragma once

#include <cstdint>
#include <ctime>

namespace hostclock {

// The target kernel's realtime clock id, the only clock the system uses.
constexpr int kClockRealtime = 0;

// Nanoseconds since 1970-01-01 UTC on the controller's realtime clock.
int64_t realtimeNs();

// The target kernel's POSIX clock calls, on the realtime clock. They live in
// this namespace so that they do not collide with the C library's functions
// of the same names; callers write hostclock::clock_gettime(...). Each
// returns 0, or -1 with errno EINVAL for another clock id or a value out of
// range (nanoseconds outside 0..999,999,999, negative seconds, a resolution
// of 0).
int clock_gettime(int clockId, std::timespec* ts);
int clock_settime(int clockId, const std::timespec* ts);
int clock_getres(int clockId, std::timespec* res);
int clock_setres(int clockId, const std::timespec* res);

// The target kernel's localtime(): no time zone is configured on the
// controller, so this is the broken-down UTC time of `seconds`.
void localtime(uint32_t seconds, std::tm* out);

// Battery clock: seconds since 1970 it reads now (the host's time until
// VKRTCSetTime sets it).
uint32_t batteryClockSeconds();
// Number of VKRTCSetTime calls so far, failed ones included.
int batteryClockWrites();
// Makes the next `n` VKRTCSetTime calls fail (tests of the retry).
void failBatteryClockWrites(int n);

}  // namespace hostclock

// Platform library: sets the battery-backed clock from a broken-down UTC
// time. 0 on success; non-zero for a record out of range or a failed write.
int VKRTCSetTime(std::tm* t);
