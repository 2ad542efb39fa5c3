// Calendar arithmetic and daylight-saving rules, checked against the C
// library's UTC calendar as an independent reference.
#include <gtest/gtest.h>

#include <ctime>

#include "platform/TIME.h"
#include "platform/daylight_saving_time.h"

namespace {

CalendarTime record(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    CalendarTime r{};
    r.year = static_cast<int16_t>(year);
    r.month = static_cast<int16_t>(month);
    r.day = static_cast<int16_t>(day);
    r.hour = static_cast<int16_t>(hour);
    r.minute = static_cast<int16_t>(minute);
    r.second = static_cast<int16_t>(second);
    return r;
}

void expectDate(uint32_t t, int year, int month, int day, int hour, int minute, int second) {
    CalendarTime r{};
    tohms(t, &r);
    EXPECT_EQ(r.year, year) << t;
    EXPECT_EQ(r.month, month) << t;
    EXPECT_EQ(r.day, day) << t;
    EXPECT_EQ(r.hour, hour) << t;
    EXPECT_EQ(r.minute, minute) << t;
    EXPECT_EQ(r.second, second) << t;
}

// Weekday code of the rules: 0 = Saturday, 1 = Sunday, ... 6 = Friday.
constexpr int kSunday = 1;

// Day of month of the n-th (n > 0) or last (n = -1) weekday `wday` (0 =
// Sunday, as in struct tm) of a month, from the C library's calendar.
int nthWeekday(int year, int month, int n, int wday) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = 1;
    const std::time_t first = timegm(&tm);
    std::tm f{};
    gmtime_r(&first, &f);
    const int firstDay = 1 + (wday - f.tm_wday + 7) % 7;
    if (n > 0) return firstDay + 7 * (n - 1);
    tm.tm_mon = month;  // the first day of the next month, minus one day
    const std::time_t next = timegm(&tm) - 86400;
    std::tm l{};
    gmtime_r(&next, &l);
    return l.tm_mday - (l.tm_wday - wday + 7) % 7;
}

}  // namespace

TEST(Calendar, KnownDates) {
    CalendarTime r{};
    r.microsec = 777;
    tohms(0, &r);
    EXPECT_EQ(r.year, 1970);
    EXPECT_EQ(r.month, 1);
    EXPECT_EQ(r.day, 1);
    EXPECT_EQ(r.weekday, 5u);
    EXPECT_EQ(r.microsec, 777u) << "microseconds are left as they were";
    expectDate(951782400, 2000, 2, 29, 0, 0, 0);
    expectDate(978307199, 2000, 12, 31, 23, 59, 59);
    const CalendarTime march = record(2000, 3, 1);
    EXPECT_EQ(tontp(&march), 951868800u);
    const CalendarTime epoch = record(1970, 1, 1);
    EXPECT_EQ(tontp(&epoch), 0u);
}

TEST(Calendar, RoundTripEveryDayAgainstReference) {
    // Every day from 1970 to 2099 at a time of day that moves through the
    // day, so that every month, year and leap-year boundary is crossed.
    const uint32_t lastDay = 4102444799u / 86400;
    for (uint32_t day = 0; day <= lastDay; ++day) {
        const uint32_t t = day * 86400u + (day * 7919u) % 86400u;
        CalendarTime r{};
        tohms(t, &r);
        std::time_t tt = t;
        std::tm ref{};
        gmtime_r(&tt, &ref);
        ASSERT_EQ(r.year, ref.tm_year + 1900) << t;
        ASSERT_EQ(r.month, ref.tm_mon + 1) << t;
        ASSERT_EQ(r.day, ref.tm_mday) << t;
        ASSERT_EQ(r.hour, ref.tm_hour) << t;
        ASSERT_EQ(r.minute, ref.tm_min) << t;
        ASSERT_EQ(r.second, ref.tm_sec) << t;
        ASSERT_EQ(r.weekday, static_cast<uint32_t>(ref.tm_wday + 1)) << t;
        ASSERT_EQ(tontp(&r), t);
    }
}

TEST(Calendar, Boundaries) {
    // Last second of a month, of a year, of February in leap and other years.
    expectDate(1709251199, 2024, 2, 29, 23, 59, 59);
    expectDate(1709251200, 2024, 3, 1, 0, 0, 0);
    expectDate(1677628799, 2023, 2, 28, 23, 59, 59);
    expectDate(1677628800, 2023, 3, 1, 0, 0, 0);
    expectDate(1704067199, 2023, 12, 31, 23, 59, 59);
    expectDate(1704067200, 2024, 1, 1, 0, 0, 0);
    expectDate(31535999, 1970, 12, 31, 23, 59, 59);
    expectDate(31536000, 1971, 1, 1, 0, 0, 0);
    // Time fields beyond their range carry into the date.
    const CalendarTime lateHour = record(2023, 12, 31, 24, 0, 0);
    EXPECT_EQ(tontp(&lateHour), 1704067200u);
    const CalendarTime dayZero = record(2024, 3, 0);
    EXPECT_EQ(tontp(&dayZero), 1709164800u) << "day 0 is the last day of February";
    // A month outside 1..12 is carried into the year instead of reading
    // outside the month table.
    const CalendarTime month13 = record(2023, 13, 1);
    EXPECT_EQ(tontp(&month13), 1704067200u);
    const CalendarTime month0 = record(2024, 0, 31);
    EXPECT_EQ(tontp(&month0), 1703980800u) << "month 0 is December of the year before";
    const CalendarTime month25 = record(2022, 25, 1);
    EXPECT_EQ(tontp(&month25), 1704067200u);
}

TEST(Calendar, DatesFrom2038On) {
    // The signed 32-bit second count ends at 2038-01-19 03:14:07.
    expectDate(2147483647u, 2038, 1, 19, 3, 14, 7);
    expectDate(2147483648u, 2038, 1, 19, 3, 14, 8);
    const CalendarTime after = record(2038, 1, 19, 3, 14, 8);
    EXPECT_EQ(tontp(&after), 2147483648u);
    const CalendarTime leapDay = record(2040, 2, 29, 12, 0, 0);
    EXPECT_EQ(tontp(&leapDay), 2214129600u);
    expectDate(2214129600u, 2040, 2, 29, 12, 0, 0);
    const CalendarTime end2099 = record(2099, 12, 31, 23, 59, 59);
    EXPECT_EQ(tontp(&end2099), 4102444799u);
    // The last representable second round-trips too (the calendar counts
    // 2100 as a leap year, so the date itself is a day off from then on).
    CalendarTime r{};
    tohms(4294967295u, &r);
    EXPECT_EQ(tontp(&r), 4294967295u);
}

TEST(TimerArithmetic, SumsAndDifferences) {
    TimerValue a{1, 600000}, b{2, 500000};
    TimerValue s = timer_add(&a, &b);
    EXPECT_EQ(s.seconds, 4u);
    EXPECT_EQ(s.microsec, 100000u);

    TimerValue c{5, 100000}, d{2, 200000};
    TimerValue diff = timer_sub(&c, &d);
    EXPECT_EQ(diff.seconds, 2u);
    EXPECT_EQ(diff.microsec, 900000u);

    TimerValue e{2, 0}, f{3, 0};
    diff = timer_sub(&e, &f);
    EXPECT_EQ(diff.seconds, 0u);
    EXPECT_EQ(diff.microsec, 0u);

    // Equal seconds with a smaller first microsecond field: -1 seconds.
    TimerValue g{7, 100}, h{7, 200};
    diff = timer_sub(&g, &h);
    EXPECT_EQ(static_cast<int32_t>(diff.seconds), -1);
    EXPECT_EQ(diff.microsec, 999900u);

    // Invalid microseconds and overflowing sums give {0, 0}.
    TimerValue bad{1, 1000000};
    diff = timer_sub(&bad, &a);
    EXPECT_EQ(diff.seconds, 0u);
    TimerValue big{1, 999999}, big2{1, 1000000};
    s = timer_add(&big, &big2);
    EXPECT_EQ(s.seconds, 0u);
    EXPECT_EQ(s.microsec, 0u);
    TimerValue maxS{UINT32_MAX, 0}, one{1, 0};
    s = timer_add(&maxS, &one);
    EXPECT_EQ(s.seconds, 0u);
    TimerValue maxCarry{UINT32_MAX, 600000}, half{0, 500000};
    s = timer_add(&maxCarry, &half);
    EXPECT_EQ(s.seconds, 0u) << "the microsecond carry must not wrap the seconds";
}

TEST(TimerArithmetic, TimesFrom2038On) {
    // A time of day after 2038-01-19 plus a duration is a later time, not an
    // overflow.
    TimerValue t{2147483648u + 5, 900000}, dt{10, 200000};
    TimerValue s = timer_add(&t, &dt);
    EXPECT_EQ(s.seconds, 2147483648u + 16);
    EXPECT_EQ(s.microsec, 100000u);
    // The difference of two times on either side of 2038-01-19.
    TimerValue later{2147483648u + 10, 0}, earlier{2147483647u - 9, 0};
    TimerValue diff = timer_sub(&later, &earlier);
    EXPECT_EQ(diff.seconds, 20u);
    diff = timer_sub(&earlier, &later);
    EXPECT_EQ(diff.seconds, 0u);
    EXPECT_EQ(diff.microsec, 0u);
}

TEST(DaylightSaving, OffWithoutModeOrBeyondTheCentury) {
    for (int hour = 0; hour < 24; ++hour) {
        EXPECT_EQ(dst_check(3, 2, kSunday, 2, 11, 1, kSunday, 2, 24, 7, 1, hour, 0), 0);
    }
    EXPECT_EQ(dst_check(3, 2, kSunday, 2, 11, 1, kSunday, 2, 100, 7, 1, 12, 1), 0);
    // Same start and end: never active.
    EXPECT_EQ(dst_check(4, 1, kSunday, 2, 4, 1, kSunday, 2, 24, 4, 7, 2, 1), 0);
    EXPECT_EQ(dst_check(4, 1, kSunday, 2, 4, 1, kSunday, 2, 24, 8, 1, 2, 1), 0);
}

TEST(DaylightSaving, RuleBoundariesEveryYear) {
    // North-American rule (second Sunday of March 02:00 to first Sunday of
    // November 02:00), European rule (last Sunday of March to last Sunday of
    // October, 01:00) and a southern rule spanning the new year (first
    // Sunday of October to first Sunday of April, 02:00), for every year the
    // rules cover; years are interleaved so that the rule cache is refreshed.
    for (int yy = 0; yy <= 99; ++yy) {
        const int year = 2000 + yy;
        const int usStart = nthWeekday(year, 3, 2, 0), usEnd = nthWeekday(year, 11, 1, 0);
        auto us = [&](int m, int d, int h) { return dst_check(3, 2, kSunday, 2, 11, 1, kSunday, 2, yy, m, d, h, 1); };
        EXPECT_EQ(us(3, usStart, 1), 0) << year;
        EXPECT_EQ(us(3, usStart, 2), 1) << year;
        EXPECT_EQ(us(7, 4, 12), 1) << year;
        EXPECT_EQ(us(11, usEnd, 1), 1) << year;
        EXPECT_EQ(us(11, usEnd, 2), 0) << year;
        EXPECT_EQ(us(12, 25, 12), 0) << year;

        const int euStart = nthWeekday(year, 3, -1, 0), euEnd = nthWeekday(year, 10, -1, 0);
        auto eu = [&](int m, int d, int h) { return dst_check(3, -1, kSunday, 1, 10, -1, kSunday, 1, yy, m, d, h, 1); };
        EXPECT_EQ(eu(3, euStart, 0), 0) << year;
        EXPECT_EQ(eu(3, euStart, 1), 1) << year;
        EXPECT_EQ(eu(10, euEnd, 0), 1) << year;
        EXPECT_EQ(eu(10, euEnd, 1), 0) << year;

        const int soStart = nthWeekday(year, 10, 1, 0), soEnd = nthWeekday(year, 4, 1, 0);
        auto so = [&](int m, int d, int h) { return dst_check(10, 1, kSunday, 2, 4, 1, kSunday, 2, yy, m, d, h, 1); };
        EXPECT_EQ(so(1, 15, 0), 1) << year;
        EXPECT_EQ(so(4, soEnd, 1), 1) << year;
        EXPECT_EQ(so(4, soEnd, 2), 0) << year;
        EXPECT_EQ(so(7, 1, 0), 0) << year;
        EXPECT_EQ(so(10, soStart, 1), 0) << year;
        EXPECT_EQ(so(10, soStart, 2), 1) << year;
        EXPECT_EQ(so(12, 31, 23), 1) << year;
    }
    // The one before the last: the second-to-last Sunday of October 2024 is
    // the 20th.
    EXPECT_EQ(dst_check(3, -1, kSunday, 1, 10, -2, kSunday, 1, 24, 10, 20, 0, 1), 1);
    EXPECT_EQ(dst_check(3, -1, kSunday, 1, 10, -2, kSunday, 1, 24, 10, 20, 1, 1), 0);
}
