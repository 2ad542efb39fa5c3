// Calendar arithmetic and daylight-saving rules, checked against the C
// library's UTC calendar as an independent reference.
#include <gtest/gtest.h>

#include <ctime>

#include "platform/TIME.h"
#include "platform/daylight_saving_time.h"

namespace {

// Day of month of the n-th (n > 0) or last (n = -1) Sunday of a month.
int nthSunday(int year, int month, int n) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = n > 0 ? month - 1 : month;  // for the last: the first of the next month
    tm.tm_mday = 1;
    std::time_t t = timegm(&tm) - (n > 0 ? 0 : 86400);
    gmtime_r(&t, &tm);
    return n > 0 ? 1 + (7 - tm.tm_wday) % 7 + 7 * (n - 1) : tm.tm_mday - tm.tm_wday;
}

}  // namespace

TEST(Calendar, RoundTripEveryDayAgainstReference) {
    // Every day from 1970 to 2099 at a time of day that moves through the day,
    // so that every month, year and leap-year boundary and 2038 are crossed.
    for (uint32_t day = 0; day <= 4102444799u / 86400; ++day) {
        const uint32_t t = day * 86400u + (day * 7919u) % 86400u;
        CalendarTime r{};
        tohms(t, &r);
        std::time_t tt = t;
        std::tm ref{};
        gmtime_r(&tt, &ref);
        ASSERT_EQ(r.year, ref.tm_year + 1900) << t;
        ASSERT_EQ(r.month, ref.tm_mon + 1) << t;
        ASSERT_EQ(r.day, ref.tm_mday) << t;
        ASSERT_EQ(r.hour * 3600 + r.minute * 60 + r.second, ref.tm_hour * 3600 + ref.tm_min * 60 + ref.tm_sec) << t;
        ASSERT_EQ(r.weekday, static_cast<uint32_t>(ref.tm_wday + 1)) << t;
        ASSERT_EQ(tontp(&r), t);
    }
}

TEST(Calendar, FieldsOutOfRangeCarryAndDatesAfter2038) {
    struct {
        CalendarTime in;
        uint32_t seconds;
    } cases[] = {
        {{2023, 12, 31, 24, 0, 0, 0, 0}, 1704067200u},  // hour 24 is the next day
        {{2024, 3, 0, 0, 0, 0, 0, 0}, 1709164800u},     // day 0 is the last day of February
        {{2023, 13, 1, 0, 0, 0, 0, 0}, 1704067200u},    // month 13 is January of the next year
        {{2024, 0, 31, 0, 0, 0, 0, 0}, 1703980800u},    // month 0 is December of the year before
        {{2022, 25, 1, 0, 0, 0, 0, 0}, 1704067200u},
        {{2038, 1, 19, 3, 14, 8, 0, 0}, 2147483648u},  // past the signed 32-bit second count
        {{2099, 12, 31, 23, 59, 59, 0, 0}, 4102444799u},
    };
    for (const auto& c : cases) EXPECT_EQ(tontp(&c.in), c.seconds) << c.in.year << "-" << c.in.month;
    CalendarTime r{};
    tohms(4294967295u, &r);  // the last representable second round-trips too
    EXPECT_EQ(tontp(&r), 4294967295u);
}

TEST(DaylightSaving, RuleBoundariesEveryYear) {
    // North-American rule (second Sunday of March to first Sunday of
    // November, 02:00), European rule (last Sunday of March to last Sunday of
    // October, 01:00) and a southern rule spanning the new year; years are
    // interleaved so that the rule cache is refreshed.
    for (int yy = 0; yy <= 99; ++yy) {
        const int y = 2000 + yy, usOn = nthSunday(y, 3, 2), usOff = nthSunday(y, 11, 1);
        const int euOn = nthSunday(y, 3, -1), euOff = nthSunday(y, 10, -1);
        const int soOn = nthSunday(y, 10, 1), soOff = nthSunday(y, 4, 1);
        auto us = [&](int m, int d, int h) { return dst_check(3, 2, 1, 2, 11, 1, 1, 2, yy, m, d, h, 1); };
        auto eu = [&](int m, int d, int h) { return dst_check(3, -1, 1, 1, 10, -1, 1, 1, yy, m, d, h, 1); };
        auto so = [&](int m, int d, int h) { return dst_check(10, 1, 1, 2, 4, 1, 1, 2, yy, m, d, h, 1); };
        EXPECT_EQ(us(3, usOn, 1) * 1000 + us(3, usOn, 2) * 100 + us(11, usOff, 1) * 10 + us(11, usOff, 2), 110) << y;
        EXPECT_EQ(eu(3, euOn, 0) * 1000 + eu(3, euOn, 1) * 100 + eu(10, euOff, 0) * 10 + eu(10, euOff, 1), 110) << y;
        EXPECT_EQ(so(4, soOff, 1) * 1000 + so(4, soOff, 2) * 100 + so(10, soOn, 1) * 10 + so(10, soOn, 2), 1001) << y;
        EXPECT_EQ(so(1, 15, 0) * 10 + so(7, 1, 0), 10) << y;
    }
    EXPECT_EQ(dst_check(3, 2, 1, 2, 11, 1, 1, 2, 24, 7, 1, 12, 0), 0);  // mode off
    EXPECT_EQ(dst_check(3, 2, 1, 2, 11, 1, 1, 2, 100, 7, 1, 12, 1), 0);  // beyond the century
    EXPECT_EQ(dst_check(4, 1, 1, 2, 4, 1, 1, 2, 24, 4, 7, 2, 1), 0);     // same start and end
}

TEST(DaylightSaving, RulesStartingOrEndingInTheOuterMonths) {
    // Start month, end month, the month asked about, and whether the rule applies then (year 2024).
    const struct {
        const char* name;
        int startMonth, endMonth, month;
        int active;
    } cases[] = {
        {"December to February, in January", 12, 2, 1, 1},
        {"January to December, in July", 1, 12, 7, 1},
        {"December to February, in July", 12, 2, 7, 0},
        {"start month 13", 13, 2, 1, 0},
        {"start month 0", 0, 2, 1, 0},
        {"end month 13", 1, 13, 7, 0},
        {"end month 0", 1, 0, 7, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dst_check(c.startMonth, 1, 1, 2, c.endMonth, 1, 1, 2, 24, c.month, 15, 12, 1), c.active) << c.name;
}

TEST(TimerArithmetic, SumsAndDifferencesWithCarryAndOverflow) {
    const struct {
        const char* name;
        TimerValue a, b, sum, difference;
    } cases[] = {
        {"plain", {5, 300}, {2, 200}, {7, 500}, {3, 100}},
        {"carry into the seconds", {5, 999999}, {2, 1}, {8, 0}, {3, 999998}},
        {"borrow from the seconds", {5, 1}, {2, 2}, {7, 3}, {2, 999999}},
        {"equal seconds, smaller fraction", {5, 1}, {5, 2}, {10, 3}, {0xFFFFFFFFu, 999999}},
        {"largest fractions", {1, 999999}, {1, 999999}, {3, 999998}, {0, 0}},
        {"fraction out of range", {1, 1000000}, {1, 999999}, {0, 0}, {0, 0}},
        {"seconds overflow", {0xFFFFFFFFu, 0}, {1, 0}, {0, 0}, {0xFFFFFFFEu, 0}},
        {"carry overflow", {0xFFFFFFFFu, 999999}, {0, 1}, {0, 0}, {0xFFFFFFFFu, 999998}},
        {"larger subtrahend", {1, 0}, {2, 0}, {3, 0}, {0, 0}},
    };
    for (const auto& c : cases) {
        const TimerValue s = timer_add(&c.a, &c.b), d = timer_sub(&c.a, &c.b);
        EXPECT_EQ(s.seconds, c.sum.seconds) << c.name;
        EXPECT_EQ(s.microsec, c.sum.microsec) << c.name;
        EXPECT_EQ(d.seconds, c.difference.seconds) << c.name;
        EXPECT_EQ(d.microsec, c.difference.microsec) << c.name;
    }
}
