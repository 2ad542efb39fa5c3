// Time of day on the host kernel's simulated clock: zone, daylight saving,
// field-by-field setting, the battery clock and the POSIX-clock helpers.
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <string>

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

    static void setUtc(uint32_t seconds, long ns = 0) {
        const std::timespec ts{static_cast<std::time_t>(seconds), ns};
        ASSERT_EQ(hostclock::clock_settime(hostclock::kClockRealtime, &ts), 0);
    }
    static uint32_t utcNow() {
        std::timespec ts{};
        hostclock::clock_gettime(hostclock::kClockRealtime, &ts);
        return static_cast<uint32_t>(ts.tv_sec);
    }
    static CalendarTime now() {
        CalendarTime r{};
        get_time(&r);
        return r;
    }
    static void expectFields(const CalendarTime& r, int y, int mo, int d, int h, int mi, int s) {
        EXPECT_EQ(r.year, y);
        EXPECT_EQ(r.month, mo);
        EXPECT_EQ(r.day, d);
        EXPECT_EQ(r.hour, h);
        EXPECT_EQ(r.minute, mi);
        EXPECT_EQ(r.second, s);
    }
};

int syncStateCalls = 0;
int syncStateArg = 0;
void recordSyncState(int on) {
    ++syncStateCalls;
    syncStateArg = on;
}

// North-American rule: second Sunday of March 02:00 to first Sunday of
// November 02:00, one hour.
void useNorthAmericanRule() {
    dst_mode = 1;
    dst_hours = 1;
    dst_start_month = 3;
    dst_start_week = 2;
    dst_start_day = 1;
    dst_start_hour = 2;
    dst_end_month = 11;
    dst_end_week = 1;
    dst_end_day = 1;
    dst_end_hour = 2;
}

}  // namespace

TEST_F(TimeOfDay, ZoneOffsetBothWays) {
    setUtc(1700000000, 250'000'000);
    set_zone(-5.5f);
    EXPECT_EQ(zone_seconds(), -19800);
    CalendarTime r = now();
    // 2023-11-14 22:13:20 UTC is 16:43:20 at UTC - 5:30.
    expectFields(r, 2023, 11, 14, 16, 43, 20);
    EXPECT_EQ(r.microsec, 250000u);
    EXPECT_EQ(r.weekday, 3u) << "Tuesday";
    EXPECT_EQ(current_year, 23);
    EXPECT_EQ(current_month, 11);
    EXPECT_EQ(current_day, 14);
    EXPECT_EQ(current_hour, 16);
    uint32_t local = 0;
    EXPECT_EQ(get_time_posix(&local), 0);
    EXPECT_EQ(local, 1700000000u - 19800u);

    const uint32_t before = I2C_ClockNeedsUpdated;
    EXPECT_EQ(setTTime(1000000000u), 0);
    EXPECT_EQ(utcNow(), 1000000000u + 19800u);
    EXPECT_EQ(I2C_ClockNeedsUpdated, before + 1);
    EXPECT_GT(std::time(nullptr), 1600000000) << "the host's own clock is never set";

    // A zone that is not a number gives no offset instead of undefined
    // behaviour.
    set_zone(std::nanf(""));
    EXPECT_EQ(zone_seconds(), 0);
    set_zone(1e30f);
    EXPECT_EQ(zone_seconds(), INT32_MAX);
}

TEST_F(TimeOfDay, ClockRunsOnKernelTime) {
    setUtc(1704067199, 0);  // 2023-12-31 23:59:59
    hk::runTicks(200);      // one second of 5 ms ticks
    expectFields(now(), 2024, 1, 1, 0, 0, 0);
    EXPECT_EQ(now().microsec, 0u);
    hk::runTicks(1);
    EXPECT_EQ(now().microsec, 5000u);
}

TEST_F(TimeOfDay, SettingFieldsAcrossBoundaries) {
    set_zone(2.0f);
    EXPECT_EQ(set_all(24, 2, 28, 23, 59, 59), 0);
    expectFields(now(), 2024, 2, 28, 23, 59, 59);
    EXPECT_EQ(utcNow(), 1709164799u - 7200u);
    hk::runTicks(200);
    expectFields(now(), 2024, 2, 29, 0, 0, 0);

    EXPECT_EQ(set_years(80), 0);
    expectFields(now(), 1980, 2, 29, 0, 0, 0);
    EXPECT_EQ(set_years(79), 0);
    EXPECT_EQ(now().year, 2079);
    EXPECT_EQ(set_years(23), 0);
    expectFields(now(), 2023, 3, 1, 0, 0, 0);  // 29 February of a normal year is 1 March

    EXPECT_EQ(set_months(12), 0);
    EXPECT_EQ(set_days(31), 0);
    EXPECT_EQ(set_hours(23), 0);
    EXPECT_EQ(set_minutes(59), 0);
    EXPECT_EQ(set_seconds(59), 0);
    EXPECT_EQ(set_dow(3), 0);
    expectFields(now(), 2023, 12, 31, 23, 59, 59);
    hk::runTicks(200);
    expectFields(now(), 2024, 1, 1, 0, 0, 0);
    EXPECT_EQ(set_months(13), 0);
    expectFields(now(), 2025, 1, 1, 0, 0, 0);  // month 13 is January of the next year
}

TEST_F(TimeOfDay, DatesFrom2038On) {
    EXPECT_EQ(set_all(38, 1, 19, 3, 14, 7), 0);
    uint32_t local = 0;
    get_time_posix(&local);
    EXPECT_EQ(local, 2147483647u);
    hk::runTicks(200);
    expectFields(now(), 2038, 1, 19, 3, 14, 8);
    get_time_posix(&local);
    EXPECT_EQ(local, 2147483648u);
    EXPECT_EQ(set_all(79, 12, 31, 23, 59, 59), 0);
    get_time_posix(&local);
    EXPECT_EQ(local, 3471292799u);
    // With a zone west of UTC the clock holds local + offset past 2038.
    set_zone(-8.0f);
    EXPECT_EQ(set_all(40, 2, 29, 12, 0, 0), 0);
    EXPECT_EQ(utcNow(), 2214129600u + 28800u);
    expectFields(now(), 2040, 2, 29, 12, 0, 0);
}

TEST_F(TimeOfDay, DaylightSavingRoundTrips) {
    hostsym::registerSymbol("VKsetTimeSyncState", reinterpret_cast<void*>(&recordSyncState));
    useNorthAmericanRule();
    set_zone(-5.0f);
    struct Case {
        int month, day, hour, minute;
        int active;
    };
    // 2024: daylight saving from 10 March 02:00 to 3 November 02:00 local.
    const Case cases[] = {
        {3, 10, 1, 59, 0}, {3, 10, 2, 0, 1}, {7, 1, 12, 0, 1}, {11, 3, 1, 59, 1}, {11, 3, 2, 0, 0}, {12, 31, 23, 0, 0},
    };
    for (const Case& c : cases) {
        CalendarTime want{2024, static_cast<int16_t>(c.month), static_cast<int16_t>(c.day),
                          static_cast<int16_t>(c.hour), static_cast<int16_t>(c.minute), 30, 0, 0};
        const uint32_t local = tontp(&want);
        setTTimeOnPlatform(10, local);
        EXPECT_EQ(dst_is_active, c.active) << c.month << "/" << c.day << " " << c.hour;
        EXPECT_EQ(utcNow(), local + 18000u - (c.active ? 3600u : 0u));
        expectFields(now(), 2024, c.month, c.day, c.hour, c.minute, 30);
    }
    EXPECT_EQ(syncStateCalls, 6);
    EXPECT_EQ(syncStateArg, 1);

    // On this controller's platform the rule is not evaluated when the clock
    // is set: the last result stays and no sync state is reported.
    dst_is_active = 0;
    CalendarTime summer{2024, 7, 1, 12, 0, 0, 0, 0};
    setTTime(tontp(&summer));
    EXPECT_EQ(dst_is_active, 0);
    EXPECT_EQ(syncStateCalls, 6);
    dst_is_active = 1;
    const CalendarTime shown = now();
    expectFields(shown, 2024, 7, 1, 13, 0, 0);
    EXPECT_EQ(current_hour, 12) << "the hour before the daylight-saving shift";

    // A platform type that sets no clock.
    const uint32_t before = I2C_ClockNeedsUpdated;
    const uint32_t utc = utcNow();
    EXPECT_EQ(setTTimeOnPlatform(7, 1), 0);
    EXPECT_EQ(I2C_ClockNeedsUpdated, before);
    EXPECT_EQ(utcNow(), utc);
}

TEST_F(TimeOfDay, BatteryClock) {
    setUtc(2214129600u);  // 2040-02-29 12:00:00
    EXPECT_EQ(SetI2C_Clock(), 0);
    EXPECT_EQ(hostclock::batteryClockSeconds(), 2214129600u);
    EXPECT_EQ(hostclock::batteryClockWrites(), 1);
    hk::runTicks(400);
    EXPECT_EQ(hostclock::batteryClockSeconds(), 2214129602u) << "the battery clock keeps running";

    setUtc(1000000000u);
    hostclock::failBatteryClockWrites(1);
    EXPECT_EQ(SetI2C_Clock(), 0) << "one failure is retried";
    EXPECT_EQ(hostclock::batteryClockWrites(), 3);
    EXPECT_EQ(hostclock::batteryClockSeconds(), 1000000000u);
    hostclock::failBatteryClockWrites(2);
    EXPECT_NE(SetI2C_Clock(), 0);
    EXPECT_EQ(hostclock::batteryClockWrites(), 5);
}

TEST_F(TimeOfDay, ResolutionAndMicrosecondCounter) {
    testing::internal::CaptureStdout();
    setClockResolution(0, 10'000'000);
    setClockResolution(0, 0);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "The new resolution is 0, 10000000, 0, 0\nThe new resolution is 0, 10000000, -1, 0\n");

    setUtc(1700000000, 990'000'000);
    const uint32_t start = VKOS_ReadClockTime();
    EXPECT_EQ(ClockResolutionNs, 10'000'000);
    hk::runTicks(1);
    EXPECT_EQ(VKOS_ReadClockTime() - start, 5000u);
    hk::runTicks(2);  // the sub-second part wraps at the whole second
    EXPECT_EQ(VKOS_ReadClockTime() - start, 15000u);
}
