#include "host/hostclock.h"

#include <cerrno>
#include <mutex>

#include "host/hostkernel.h"

namespace {

constexpr int64_t kNsPerSec = 1'000'000'000;

struct Clocks {
    std::mutex m;
    bool osSet = false;
    int64_t osEpochNs = 0;       // realtime = osEpochNs + hk::nowNs()
    bool batterySet = false;
    int64_t batteryEpochNs = 0;  // battery = batteryEpochNs + hk::nowNs()
    std::timespec resolution{0, static_cast<long>(hk::kTickNs)};
    int batteryWrites = 0;
    int batteryFailures = 0;
};

Clocks& clocks() {
    static Clocks c;
    return c;
}

int64_t hostRealtimeNs() {
    std::timespec ts{};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    return int64_t{ts.tv_sec} * kNsPerSec + ts.tv_nsec;
}

int64_t kernelNs() { return static_cast<int64_t>(hk::nowNs()); }

// Offset of a clock that has never been set: the host's time of day.
int64_t epochOf(bool set, int64_t epoch) { return set ? epoch : hostRealtimeNs() - kernelNs(); }

int invalid() {
    errno = EINVAL;
    return -1;
}

bool validTime(const std::timespec* ts) {
    return ts != nullptr && ts->tv_sec >= 0 && ts->tv_nsec >= 0 && ts->tv_nsec < kNsPerSec;
}

}  // namespace

namespace hostclock {

int64_t realtimeNs() {
    Clocks& c = clocks();
    std::lock_guard<std::mutex> lock(c.m);
    if (!c.osSet) {
        c.osEpochNs = epochOf(false, 0);
        c.osSet = true;
    }
    return c.osEpochNs + kernelNs();
}

int clock_gettime(int clockId, std::timespec* ts) {
    if (clockId != kClockRealtime || ts == nullptr) return invalid();
    const int64_t ns = realtimeNs();
    ts->tv_sec = static_cast<std::time_t>(ns / kNsPerSec);
    ts->tv_nsec = static_cast<long>(ns % kNsPerSec);
    return 0;
}

int clock_settime(int clockId, const std::timespec* ts) {
    if (clockId != kClockRealtime || !validTime(ts)) return invalid();
    Clocks& c = clocks();
    std::lock_guard<std::mutex> lock(c.m);
    c.osEpochNs = int64_t{ts->tv_sec} * kNsPerSec + ts->tv_nsec - kernelNs();
    c.osSet = true;
    return 0;
}

int clock_getres(int clockId, std::timespec* res) {
    if (clockId != kClockRealtime || res == nullptr) return invalid();
    Clocks& c = clocks();
    std::lock_guard<std::mutex> lock(c.m);
    *res = c.resolution;
    return 0;
}

int clock_setres(int clockId, const std::timespec* res) {
    if (clockId != kClockRealtime || !validTime(res) || (res->tv_sec == 0 && res->tv_nsec == 0))
        return invalid();
    Clocks& c = clocks();
    std::lock_guard<std::mutex> lock(c.m);
    c.resolution = *res;
    return 0;
}

void localtime(uint32_t seconds, std::tm* out) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    ::gmtime_r(&t, out);
}

uint32_t batteryClockSeconds() {
    Clocks& c = clocks();
    std::lock_guard<std::mutex> lock(c.m);
    return static_cast<uint32_t>((epochOf(c.batterySet, c.batteryEpochNs) + kernelNs()) / kNsPerSec);
}

int batteryClockWrites() {
    Clocks& c = clocks();
    std::lock_guard<std::mutex> lock(c.m);
    return c.batteryWrites;
}

void failBatteryClockWrites(int n) {
    Clocks& c = clocks();
    std::lock_guard<std::mutex> lock(c.m);
    c.batteryFailures = n;
}

}  // namespace hostclock

int VKRTCSetTime(std::tm* t) {
    Clocks& c = clocks();
    std::lock_guard<std::mutex> lock(c.m);
    ++c.batteryWrites;
    if (c.batteryFailures > 0) {
        --c.batteryFailures;
        return -1;
    }
    if (t == nullptr || t->tm_year < 70 || t->tm_mon < 0 || t->tm_mon > 11 || t->tm_mday < 1 ||
        t->tm_mday > 31 || t->tm_hour < 0 || t->tm_hour > 23 || t->tm_min < 0 || t->tm_min > 59 ||
        t->tm_sec < 0 || t->tm_sec > 60)
        return -1;
    std::tm copy = *t;
    const int64_t seconds = ::timegm(&copy);
    c.batteryEpochNs = seconds * kNsPerSec - kernelNs();
    c.batterySet = true;
    return 0;
}
