#include "platform/TimeSupport.h"

#include <cstdio>
#include <ctime>

#include "host/hostclock.h"

uint32_t LastClockMicroseconds = 0;
uint32_t ClockMicrosecondCounter = 0;
int32_t ClockResolutionNs = 0;

void setClockResolution(int seconds, int nanoseconds) {
    const std::timespec wanted{seconds, nanoseconds};
    const int setResult = hostclock::clock_setres(hostclock::kClockRealtime, &wanted);
    std::timespec now{};
    const int getResult = hostclock::clock_getres(hostclock::kClockRealtime, &now);
    std::printf("The new resolution is %d, %d, %d, %d\n", static_cast<int>(now.tv_sec),
                static_cast<int>(now.tv_nsec), setResult, getResult);
}

uint32_t VKOS_ReadClockTime() {
    std::timespec res{};
    if (hostclock::clock_getres(hostclock::kClockRealtime, &res) == 0)
        ClockResolutionNs = static_cast<int32_t>(res.tv_nsec);
    std::timespec ts{};
    hostclock::clock_gettime(hostclock::kClockRealtime, &ts);
    const uint32_t micro = static_cast<uint32_t>(ts.tv_nsec / 1000);
    int32_t delta = static_cast<int32_t>(micro) - static_cast<int32_t>(LastClockMicroseconds);
    if (delta < 0) delta += 1000000;  // the sub-second part wrapped at a whole second
    ClockMicrosecondCounter += static_cast<uint32_t>(delta) & 0xFFFFF;
    LastClockMicroseconds = micro;
    return ClockMicrosecondCounter;
}
