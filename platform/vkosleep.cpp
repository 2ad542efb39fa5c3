// Sleeps in milliseconds, seconds, minutes and hours, turned into clock ticks.
#include <algorithm>
#include <climits>

#include "platform/vkos.h"

namespace {
// Ticks for a tick count computed in 64 bits, clamped to the largest delay.
int clampTicks(uint64_t ticks) { return static_cast<int>(std::min<uint64_t>(ticks, INT_MAX)); }
}  // namespace

int VKOS_MsToSleepTicks(uint32_t ms) {
    uint64_t ticks = static_cast<uint64_t>(ms) * static_cast<uint64_t>(sysClkRateGet()) / 1000;
    return ticks == 0 ? 1 : clampTicks(ticks);
}

int VKOS_MsToWaitTicks(int ms) {
    if (ms == -1) return WAIT_FOREVER;
    if (ms < 0) return 0;
    return clampTicks(static_cast<uint64_t>(sysClkRateGet()) * static_cast<uint64_t>(ms) / 1000);
}

int VKOS_SleepMillisec(uint32_t ms) { return taskDelay(VKOS_MsToSleepTicks(ms)); }

int VKOS_SleepSeconds(uint32_t s) {
    constexpr uint32_t kChunk = 2'000'000;  // seconds per chunk
    const uint64_t rate = static_cast<uint64_t>(sysClkRateGet());
    while (s > kChunk) {
        taskDelay(clampTicks(kChunk * rate));
        s -= kChunk;
    }
    return taskDelay(clampTicks(s * rate));
}

int VKOS_SleepMinutes(uint32_t m) {
    constexpr uint32_t kChunk = 30'000'000;
    int r = OK;
    while (m > kChunk) {
        r = VKOS_SleepSeconds(1'800'000'000u);
        m -= kChunk;
    }
    // m * 60 fits in 32 bits for m <= 30,000,000.
    r = VKOS_SleepSeconds(m * 60u);
    return r;
}

int VKOS_SleepHours(uint32_t h) {
    constexpr uint32_t kChunk = 30'000'000;
    int r = OK;
    while (h > kChunk) {
        r = VKOS_SleepMinutes(1'800'000'000u);
        h -= kChunk;
    }
    r = VKOS_SleepMinutes(h * 60u);
    return r;
}
