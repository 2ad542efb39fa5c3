// Calendar arithmetic on the controller's time of day: seconds since
// 1970-01-01 broken down into a calendar record and back, and sums and
// differences of {seconds, microseconds} time values.
//
// Seconds since 1970 are held unsigned (valid up to 2106-02-07), so dates
// from 2038-01-19 on are represented and ordered correctly. The leap-year
// rule is "every fourth year", exact for 1970 to 2099.
#pragma once

#include <cstdint>

// Broken-down time. Field order and widths are those of the shared record
// the generated clock block reads and writes.
struct CalendarTime {
    int16_t year;      // four digits, 1970 and later
    int16_t month;     // 1..12
    int16_t day;       // 1..31
    int16_t hour;      // 0..23
    int16_t minute;    // 0..59
    int16_t second;    // 0..59
    uint32_t microsec;
    uint32_t weekday;  // 1 = Sunday .. 7 = Saturday (1970-01-01 = 5)
};

// A time cell: seconds since 1970 (or a duration) and microseconds 0..999,999.
struct TimerValue {
    uint32_t seconds;
    uint32_t microsec;
};

// Days per month, normal and leap year, and days before each month.
extern const uint8_t DaysInMonth[2][12];
extern const uint16_t DaysBeforeMonth[12];

// Fills year .. second and the weekday from seconds since 1970; the
// microseconds field is left as it was.
void tohms(uint32_t t, CalendarTime* rec);

// Seconds since 1970 of the record's date and time (microseconds and weekday
// are ignored). A month outside 1..12 is carried into the year; other fields
// out of range simply add their value (day 0 is the last day of the month
// before, hour 24 the next day ...).
uint32_t tontp(const CalendarTime* rec);

// a + b; {0, 0} when the seconds overflow or the microseconds are invalid.
TimerValue timer_add(const TimerValue* a, const TimerValue* b);
// a - b; {0, 0} when b is later than a by whole seconds or a microseconds
// field is outside 0..999,999. With equal seconds and a.microsec below
// b.microsec the seconds word is -1 (0xFFFFFFFF).
TimerValue timer_sub(const TimerValue* a, const TimerValue* b);
