#include "platform/CLOCK.h"

#include <cmath>
#include <ctime>

#include "host/hostclock.h"
#include "platform/daylight_saving_time.h"
#include "platform/vkosfile.h"

float Global_Time_Zone = 0.0f;
uint8_t dst_mode = 0;
uint8_t dst_is_active = 0;
uint8_t dst_hours = 0;
uint8_t current_year = 0;
uint8_t current_month = 0;
uint8_t current_day = 0;
uint8_t current_hour = 0;
uint8_t dst_start_month = 0;
int8_t dst_start_week = 0;
uint8_t dst_start_day = 0;
uint8_t dst_start_hour = 0;
uint8_t dst_end_month = 0;
int8_t dst_end_week = 0;
uint8_t dst_end_day = 0;
uint8_t dst_end_hour = 0;
uint32_t I2C_ClockNeedsUpdated = 0;

namespace {

// Reads the OS realtime clock: UTC seconds and nanoseconds.
int readClock(uint32_t* seconds, long* nanoseconds) {
    std::timespec ts{};
    const int r = hostclock::clock_gettime(hostclock::kClockRealtime, &ts);
    *seconds = static_cast<uint32_t>(ts.tv_sec);
    *nanoseconds = ts.tv_nsec;
    return r;
}

uint32_t dstSeconds() { return uint32_t{dst_hours} * 3600u; }

bool dstApplies() { return dst_mode != 0 && dst_is_active != 0; }

// Current local time with one field replaced, then set.
template <typename Edit>
int editTime(Edit edit) {
    CalendarTime rec{};
    get_time(&rec);
    edit(rec);
    return set_time(&rec);
}

int16_t fourDigitYear(int yy) { return static_cast<int16_t>(yy > 79 ? 1900 + yy : 2000 + yy); }

}  // namespace

int32_t zone_seconds() {
    const float s = Global_Time_Zone * 3600.0f;
    // A zone that is not a number, or beyond any meaningful offset, cannot be
    // converted to an integer; it is taken as no offset and clamped.
    if (std::isnan(s)) return 0;
    if (s >= 2147483648.0f) return INT32_MAX;
    if (s < -2147483648.0f) return INT32_MIN;
    return static_cast<int32_t>(s);
}

void get_time(CalendarTime* rec) {
    uint32_t utc = 0;
    long ns = 0;
    readClock(&utc, &ns);
    uint32_t local = utc + static_cast<uint32_t>(zone_seconds());
    tohms(local, rec);
    rec->microsec = static_cast<uint32_t>(ns / 1000);
    current_year = static_cast<uint8_t>(rec->year % 100);
    current_month = static_cast<uint8_t>(rec->month);
    current_day = static_cast<uint8_t>(rec->day);
    current_hour = static_cast<uint8_t>(rec->hour);
    if (dstApplies()) {
        local += dstSeconds();
        tohms(local, rec);
    }
}

int get_time_posix(uint32_t* seconds) {
    uint32_t utc = 0;
    long ns = 0;
    const int r = readClock(&utc, &ns);
    uint32_t local = utc + static_cast<uint32_t>(zone_seconds());
    if (dstApplies()) local += dstSeconds();
    *seconds = local;
    return r;
}

int set_time(CalendarTime* rec) { return setTimeOfDay(tontp(rec)); }

int set_seconds(int value) { return editTime([&](CalendarTime& r) { r.second = static_cast<int16_t>(value); }); }
int set_minutes(int value) { return editTime([&](CalendarTime& r) { r.minute = static_cast<int16_t>(value); }); }
int set_hours(int value) { return editTime([&](CalendarTime& r) { r.hour = static_cast<int16_t>(value); }); }
int set_days(int value) { return editTime([&](CalendarTime& r) { r.day = static_cast<int16_t>(value); }); }
int set_months(int value) { return editTime([&](CalendarTime& r) { r.month = static_cast<int16_t>(value); }); }
int set_years(int yy) { return editTime([&](CalendarTime& r) { r.year = fourDigitYear(yy); }); }

int set_all(int yy, int month, int day, int hour, int minute, int second) {
    return editTime([&](CalendarTime& r) {
        r.year = fourDigitYear(yy);
        r.month = static_cast<int16_t>(month);
        r.day = static_cast<int16_t>(day);
        r.hour = static_cast<int16_t>(hour);
        r.minute = static_cast<int16_t>(minute);
        r.second = static_cast<int16_t>(second);
        r.microsec = 0;
    });
}

int set_dow(int) { return 0; }
int init_rtc() { return 0; }

void set_zone(float hours) { Global_Time_Zone = hours; }

int setTimeOfDay(uint32_t localSeconds) {
    setTTime(localSeconds);
    return 0;
}

int set_time_posix(uint32_t localSeconds) { return setTTime(localSeconds); }

int setTTime(uint32_t localSeconds) { return setTTimeOnPlatform(platform_type, localSeconds); }

int setTTimeOnPlatform(uint32_t platformType, uint32_t localSeconds) {
    bool syncState = false;
    switch (platformType) {
        case 10:
        case 11:
            if (dst_mode != 0) {
                CalendarTime rec{};
                tohms(localSeconds, &rec);
                dst_is_active = static_cast<uint8_t>(
                    dst_check(dst_start_month, dst_start_week, dst_start_day, dst_start_hour, dst_end_month,
                              dst_end_week, dst_end_day, dst_end_hour, rec.year % 100, rec.month, rec.day,
                              rec.hour, dst_mode));
                if (dst_is_active == 1) localSeconds -= dstSeconds();
            }
            syncState = true;
            break;
        case 2: case 3: case 4: case 5: case 8: case 9: case 12: case 14:
            break;
        default:
            return 0;
    }
    ++I2C_ClockNeedsUpdated;
    const std::timespec ts{static_cast<std::time_t>(localSeconds - static_cast<uint32_t>(zone_seconds())), 0};
    const int r = hostclock::clock_settime(hostclock::kClockRealtime, &ts);
    if (syncState) {
        using SyncFn = void (*)(int);
        if (void* sym = VKOS_FindSymbol("VKsetTimeSyncState")) reinterpret_cast<SyncFn>(sym)(1);
    }
    return r;
}

int SetI2C_Clock() {
    std::timespec ts{};
    hostclock::clock_gettime(hostclock::kClockRealtime, &ts);
    std::tm broken{};
    hostclock::localtime(static_cast<uint32_t>(ts.tv_sec), &broken);
    int r = VKRTCSetTime(&broken);
    if (r != 0) r = VKRTCSetTime(&broken);
    return r;
}
