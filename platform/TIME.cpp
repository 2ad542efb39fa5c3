#include "platform/TIME.h"

const uint8_t DaysInMonth[2][12] = {
    {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
};

const uint16_t DaysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

namespace {
constexpr uint32_t kSecondsPerDay = 86400;
constexpr uint32_t kDaysPerCycle = 1461;  // four years, the last a leap year
}  // namespace

void tohms(uint32_t t, CalendarTime* rec) {
    const uint32_t days = t / kSecondsPerDay;
    const uint32_t rest = t % kSecondsPerDay;
    rec->weekday = (days + 4) % 7 + 1;

    uint32_t year;
    uint32_t dayOfYear;  // 0-based
    int leap = 0;
    if (days < 365) {
        year = 1970;
        dayOfYear = days;
    } else {
        // Cycles start on 1969-01-01; the fourth year of each is the leap year.
        const uint32_t d = days + 365;
        const uint32_t cycle = d / kDaysPerCycle;
        const uint32_t c = d % kDaysPerCycle;
        if (c > 1095) {
            year = 1969 + 4 * cycle + (c - 1) / 365;
            dayOfYear = c - 1095;
            leap = 1;
        } else {
            year = 1969 + 4 * cycle + c / 365;
            dayOfYear = c % 365;
        }
    }
    uint32_t day = dayOfYear + 1;
    int month = 0;
    while (month < 11 && day > DaysInMonth[leap][month]) {
        day -= DaysInMonth[leap][month];
        ++month;
    }
    rec->year = static_cast<int16_t>(year);
    rec->month = static_cast<int16_t>(month + 1);
    rec->day = static_cast<int16_t>(day);
    rec->hour = static_cast<int16_t>(rest / 3600);
    rec->minute = static_cast<int16_t>(rest % 3600 / 60);
    rec->second = static_cast<int16_t>(rest % 60);
}

uint32_t tontp(const CalendarTime* rec) {
    int64_t year = rec->year;
    int64_t month = rec->month;
    // Carry a month outside 1..12 into the year so that the table look-up
    // stays in bounds (month 13 is January of the next year, 0 December of
    // the year before).
    if (month < 1 || month > 12) {
        int64_t m0 = month - 1;
        int64_t carry = m0 >= 0 ? m0 / 12 : -((11 - m0) / 12);
        year += carry;
        month = m0 - carry * 12 + 1;
    }
    int64_t days = year * 365 - 719051 + rec->day + (year - 1968) / 4 + DaysBeforeMonth[month - 1];
    if (year % 4 == 0 && month <= 2) days -= 1;
    // 64-bit sum: the seconds of dates from 2038-01-19 on exceed a signed
    // 32-bit word but fit the unsigned result.
    const int64_t seconds =
        days * 86400 + int64_t{rec->hour} * 3600 + int64_t{rec->minute} * 60 + rec->second;
    return static_cast<uint32_t>(seconds);
}

TimerValue timer_add(const TimerValue* a, const TimerValue* b) {
    const uint32_t seconds = a->seconds + b->seconds;
    if (seconds < a->seconds || seconds < b->seconds) return {0, 0};
    uint64_t micro = uint64_t{a->microsec} + b->microsec;
    if (micro > 1999998) return {0, 0};
    TimerValue r{seconds, static_cast<uint32_t>(micro)};
    if (micro > 999999) {
        if (r.seconds == UINT32_MAX) return {0, 0};  // the carry would overflow
        r.microsec = static_cast<uint32_t>(micro - 1000000);
        r.seconds += 1;
    }
    return r;
}

TimerValue timer_sub(const TimerValue* a, const TimerValue* b) {
    if (b->seconds > a->seconds || a->microsec > 999999 || b->microsec > 999999) return {0, 0};
    TimerValue r{a->seconds - b->seconds, 0};
    int32_t micro = static_cast<int32_t>(a->microsec) - static_cast<int32_t>(b->microsec);
    if (micro < 0) {
        micro += 1000000;
        r.seconds -= 1;  // equal seconds give 0xFFFFFFFF (-1)
    }
    r.microsec = static_cast<uint32_t>(micro);
    return r;
}
