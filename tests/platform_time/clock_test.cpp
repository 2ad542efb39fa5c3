// Time of day on the host kernel's simulated clock: zone, daylight saving
// and field-by-field setting.
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <vector>

#include "host/hostclock.h"
#include "host/hostkernel.h"
#include "host/hostsym.h"
#include "platform/CLOCK.h"
#include "platform/TIME.h"
#include "platform/TimeSupport.h"

namespace {

class TimeOfDay : public ::testing::Test {
protected:
    void SetUp() override {
        hk::start(hk::ClockMode::Simulated);
        set_zone(0.0f);
        dst_mode = 0;
        dst_is_active = 0;
    }
    void TearDown() override { hk::shutdown(); }

    static uint32_t utcNow() {
        std::timespec ts{};
        hostclock::clock_gettime(hostclock::kClockRealtime, &ts);
        return static_cast<uint32_t>(ts.tv_sec);
    }
    static std::vector<int> now() {
        CalendarTime r{};
        get_time(&r);
        return {r.year, r.month, r.day, r.hour, r.minute, r.second};
    }
};

using V = std::vector<int>;

}  // namespace

// Before anything is configured: no zone, no daylight saving, nothing for
// the battery clock. (First in this file: later cases change these words.)
TEST(ClockSettings, StartWithoutZoneDaylightSavingOrPendingUpdate) {
    EXPECT_EQ(Global_Time_Zone, 0.0f);
    const uint8_t* words[] = {&dst_mode, &dst_is_active, &dst_hours, &current_year, &current_month,
                              &current_day, &current_hour, &dst_start_month, &dst_start_day, &dst_start_hour,
                              &dst_end_month, &dst_end_day, &dst_end_hour};
    for (const uint8_t* w : words) EXPECT_EQ(*w, 0) << (w - words[0]);
    EXPECT_EQ(dst_start_week, 0);
    EXPECT_EQ(dst_end_week, 0);
    EXPECT_EQ(I2C_ClockNeedsUpdated, 0u);
}

TEST_F(TimeOfDay, ReadingTheTimeRefreshesTheDateWordsBeforeDaylightSaving) {
    dst_mode = 1, dst_hours = 1;
    dst_start_month = 3, dst_start_week = 2, dst_start_day = 1, dst_start_hour = 2;
    dst_end_month = 11, dst_end_week = 1, dst_end_day = 1, dst_end_hour = 2;
    set_zone(1.0f);
    const struct {
        const char* name;
        V local;  // year, month, day, hour as set and read
        V words;  // current_year, _month, _day, _hour
    } cases[] = {
        {"summer: the words an hour back", {2024, 8, 1, 0}, {24, 7, 31, 23}},
        {"winter", {1999, 12, 31, 23}, {99, 12, 31, 23}},
        {"2079", {2079, 1, 2, 3}, {79, 1, 2, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CalendarTime want{static_cast<int16_t>(c.local[0]), static_cast<int16_t>(c.local[1]),
                          static_cast<int16_t>(c.local[2]), static_cast<int16_t>(c.local[3]), 10, 20, 0, 0};
        setTTimeOnPlatform(10, tontp(&want));
        hk::runTicks(1);
        CalendarTime r{};
        get_time(&r);
        EXPECT_EQ((V{r.year, r.month, r.day, r.hour, r.minute, r.second}),
                  (V{c.local[0], c.local[1], c.local[2], c.local[3], 10, 20}));
        EXPECT_EQ(r.microsec, 5000u);
        EXPECT_EQ((V{current_year, current_month, current_day, current_hour}), c.words);
    }
    // Two-digit years: 80 and above are the 1900s.
    dst_mode = 0;
    const std::pair<int, int> years[] = {{80, 1980}, {79, 2079}, {0, 2000}, {99, 1999}};
    for (auto [yy, year] : years) {
        EXPECT_EQ(set_all(yy, 1, 2, 3, 4, 5), 0);
        EXPECT_EQ(now(), (V{year, 1, 2, 3, 4, 5})) << yy;
    }
}

TEST_F(TimeOfDay, EachFieldSetterChangesItsFieldOnly) {
    const struct {
        const char* name;
        int (*set)(int);
        int value;
        V after;
    } cases[] = {
        {"seconds", set_seconds, 45, {2021, 6, 15, 10, 20, 45}}, {"minutes", set_minutes, 59, {2021, 6, 15, 10, 59, 30}},
        {"hours", set_hours, 0, {2021, 6, 15, 0, 20, 30}},      {"days", set_days, 1, {2021, 6, 1, 10, 20, 30}},
        {"months", set_months, 12, {2021, 12, 15, 10, 20, 30}}, {"years", set_years, 85, {1985, 6, 15, 10, 20, 30}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(set_all(21, 6, 15, 10, 20, 30), 0);
        EXPECT_EQ(c.set(c.value), 0);
        EXPECT_EQ(now(), c.after);
    }
    EXPECT_EQ(set_dow(3), 0);
    EXPECT_EQ(init_rtc(), 0);
}

TEST(ClockZone, OffsetInWholeSecondsClampedToThe32BitRange) {
    const struct {
        float hours;
        int32_t seconds;
    } cases[] = {
        {0.0f, 0},           {-8.0f, -28800},       {5.5f, 19800},        {std::nanf(""), 0},
        {596523.25f, INT32_MAX},  // exactly 2^31 seconds in single precision
        {1.0e6f, INT32_MAX}, {-1.0e6f, INT32_MIN}, {-596523.25f, INT32_MIN},
    };
    for (const auto& c : cases) {
        set_zone(c.hours);
        EXPECT_EQ(zone_seconds(), c.seconds) << c.hours;
    }
    set_zone(0.0f);
}

TEST_F(TimeOfDay, SettingFieldsAcrossBoundariesAndZones) {
    set_zone(2.0f);
    EXPECT_EQ(set_all(24, 2, 28, 23, 59, 59), 0);
    EXPECT_EQ(utcNow(), 1709164799u - 7200u);
    hk::runTicks(200);  // one second of 5 ms ticks
    EXPECT_EQ(now(), (V{2024, 2, 29, 0, 0, 0}));
    EXPECT_EQ(set_years(23), 0);
    EXPECT_EQ(now(), (V{2023, 3, 1, 0, 0, 0}));  // 29 February of a normal year is 1 March
    EXPECT_EQ(set_years(79), 0);
    EXPECT_EQ(now()[0], 2079);
    EXPECT_EQ(set_all(23, 12, 31, 23, 59, 59), 0);
    hk::runTicks(200);
    EXPECT_EQ(now(), (V{2024, 1, 1, 0, 0, 0}));
    EXPECT_EQ(set_months(13), 0);
    EXPECT_EQ(now(), (V{2025, 1, 1, 0, 0, 0}));  // month 13 is January of the next year

    set_zone(-8.0f);  // past 2038 west of UTC the clock holds local + offset
    EXPECT_EQ(set_all(38, 1, 19, 3, 14, 7), 0);
    uint32_t local = 0;
    hk::runTicks(200);
    EXPECT_EQ(get_time_posix(&local), 0);
    EXPECT_EQ(local, 2147483648u);
    EXPECT_EQ(utcNow(), 2147483648u + 28800u);
    EXPECT_EQ(now(), (V{2038, 1, 19, 3, 14, 8}));
}

TEST_F(TimeOfDay, DaylightSavingRoundTrips) {
    dst_mode = 1;  // second Sunday of March 02:00 to first Sunday of November 02:00, one hour
    dst_hours = 1;
    dst_start_month = 3, dst_start_week = 2, dst_start_day = 1, dst_start_hour = 2;
    dst_end_month = 11, dst_end_week = 1, dst_end_day = 1, dst_end_hour = 2;
    set_zone(-5.0f);
    // 2024: daylight saving from 10 March 02:00 to 3 November 02:00 local.
    const V cases[] = {{3, 10, 1, 59, 0}, {3, 10, 2, 0, 1},   {7, 1, 12, 0, 1},
                       {11, 3, 1, 59, 1}, {11, 3, 2, 0, 0}, {12, 31, 23, 0, 0}};
    for (const V& c : cases) {
        CalendarTime want{2024, static_cast<int16_t>(c[0]), static_cast<int16_t>(c[1]), static_cast<int16_t>(c[2]),
                          static_cast<int16_t>(c[3]), 30, 0, 0};
        const uint32_t local = tontp(&want);
        setTTimeOnPlatform(10, local);
        EXPECT_EQ(dst_is_active, c[4]) << c[0] << "/" << c[1] << " " << c[2];
        EXPECT_EQ(utcNow(), local + 18000u - (c[4] ? 3600u : 0u));
        EXPECT_EQ(now(), (V{2024, c[0], c[1], c[2], c[3], 30}));
    }
}

namespace {

int g_syncStates = 0;
void countSyncState(int state) { g_syncStates += state; }

}  // namespace

TEST_F(TimeOfDay, SettingTheTimeMarksTheBatteryClockForUpdateOnKnownPlatforms) {
    const struct {
        uint32_t platform;
        bool sets;
        bool syncs;
    } cases[] = {
        {10, true, true},  {11, true, true},  {2, true, false},  {3, true, false},   {4, true, false},
        {5, true, false},  {8, true, false},  {9, true, false},  {12, true, false},  {14, true, false},
        {0, false, false}, {1, false, false}, {6, false, false}, {7, false, false},  {13, false, false},
        {15, false, false},
    };
    hostsym::registerSymbol("VKsetTimeSyncState", reinterpret_cast<void*>(countSyncState));
    uint32_t local = 1700000000u;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.platform);
        const uint32_t before = I2C_ClockNeedsUpdated, utcBefore = utcNow();
        g_syncStates = 0;
        local += 1000;
        EXPECT_EQ(setTTimeOnPlatform(c.platform, local), 0);
        EXPECT_EQ(I2C_ClockNeedsUpdated, before + (c.sets ? 1u : 0u));
        EXPECT_EQ(utcNow(), c.sets ? local : utcBefore);
        EXPECT_EQ(g_syncStates, c.syncs ? 1 : 0);
    }
    hostsym::registerSymbol("VKsetTimeSyncState", nullptr);
    // This controller's own platform type, through the plain setter.
    const uint32_t before = I2C_ClockNeedsUpdated;
    EXPECT_EQ(set_time_posix(1800000000u), 0);
    EXPECT_EQ(I2C_ClockNeedsUpdated, before + 1);
    EXPECT_EQ(utcNow(), 1800000000u);
}

TEST_F(TimeOfDay, BatteryClockWriteIsTriedTwice) {
    const struct {
        int failures;
        int writes;
        bool ok;
    } cases[] = {{0, 1, true}, {1, 2, true}, {2, 2, false}};
    EXPECT_EQ(set_time_posix(1800000000u), 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failures);
        hostclock::failBatteryClockWrites(c.failures);
        const int before = hostclock::batteryClockWrites();
        EXPECT_EQ(SetI2C_Clock() == 0, c.ok);
        EXPECT_EQ(hostclock::batteryClockWrites() - before, c.writes);
        hostclock::failBatteryClockWrites(0);
    }
    EXPECT_EQ(hostclock::batteryClockSeconds(), 1800000000u);
}
