#include "platform/daylight_saving_time.h"

#include <tuple>

#include "platform/TIME.h"

namespace {

// The rule and year of the previous evaluation with the dates worked out for
// them; the year starts at -1 so that the first call computes.
struct DstCache {
    int startMonth, startWeek, startDay, startHour;
    int endMonth, endWeek, endDay, endHour;
    int yy = -1;
    int startDate = 0, endDate = 0;
    int order = 2;
};
DstCache cache;

// Day of month of the week-th weekday code `code` of month m (1..12), the
// month starting `monthBase` days after 2000-01-01.
int ruleDate(int monthBase, int length, int week, int code) {
    if (week > 0) {
        int first = code + 1 - (monthBase + 7) % 7;
        if (first < 1) first += 7;
        return first - 7 + 7 * week;
    }
    int x = (length + 6 + monthBase) % 7 - code;
    if (x < 0) x += 7;
    return length - x + 7 * (week + 1);
}

// (month, day, hour), compared in that order.
std::tuple<int, int, int> stamp(int month, int day, int hour) { return {month, day, hour}; }

}  // namespace

int dst_check(int startMonth, int startWeek, int startDay, int startHour, int endMonth, int endWeek,
              int endDay, int endHour, int yy, int month, int day, int hour, int mode) {
    if (mode == 0 || yy > 99 || yy < 0) return 0;
    // A month outside the calendar has no date; such a rule never applies.
    if (startMonth < 1 || startMonth > 12 || endMonth < 1 || endMonth > 12) return 0;

    const bool cached = cache.yy == yy && cache.startMonth == startMonth && cache.startWeek == startWeek &&
                        cache.startDay == startDay && cache.startHour == startHour &&
                        cache.endMonth == endMonth && cache.endWeek == endWeek && cache.endDay == endDay &&
                        cache.endHour == endHour;
    if (!cached) {
        const int leap = yy % 4 == 0 ? 1 : 0;
        const int yearBase = yy * 365 + (yy + 3) / 4;
        auto monthBase = [&](int m) {
            int base = yearBase;
            for (int i = 0; i < m - 1; ++i) base += DaysInMonth[leap][i];
            return base;
        };
        cache = DstCache{startMonth, startWeek, startDay, startHour, endMonth, endWeek, endDay, endHour, yy};
        cache.startDate = ruleDate(monthBase(startMonth), DaysInMonth[leap][startMonth - 1], startWeek, startDay);
        cache.endDate = ruleDate(monthBase(endMonth), DaysInMonth[leap][endMonth - 1], endWeek, endDay);
        const auto start = stamp(startMonth, cache.startDate, startHour);
        const auto end = stamp(endMonth, cache.endDate, endHour);
        cache.order = start > end ? 1 : start < end ? 0 : 2;
    }

    const auto now = stamp(month, day, hour);
    const auto start = stamp(startMonth, cache.startDate, startHour);
    const auto end = stamp(endMonth, cache.endDate, endHour);
    switch (cache.order) {
        case 0: return now >= start && now < end ? 1 : 0;
        case 1: return now >= start || now < end ? 1 : 0;
        default: return 0;
    }
}
