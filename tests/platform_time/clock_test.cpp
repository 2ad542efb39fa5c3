// Time of day on the host kernel's simulated clock: zone, daylight saving
// and field-by-field setting.
#include <gtest/gtest.h>

#include <ctime>
#include <vector>

#include "host/hostclock.h"
#include "host/hostkernel.h"
#include "host/hostsym.h"
#include "platform/CLOCK.h"
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
