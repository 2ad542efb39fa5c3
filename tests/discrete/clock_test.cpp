// The controller clock block on the whole program (its own slice table),
// driven only through its inputs: the time of day read from the time
// service in the zone the service tool sets (with the time service's
// daylight-saving rule), the settings from the service tool (all at once,
// the date, the time of day on the synchronisation contact), and the
// advance check of a clock the host stalls.
#include <ctime>
#include <vector>

#include "host/hostclock.h"
#include "tests/discrete/discrete_rig.h"

namespace di_test {
namespace {

class ControllerClock : public DiscreteProgram {
protected:
    void setInputs(int yy, int month, int day, int hour, int minute, int second) {
        serviceWrite("ORVEX12_IO.RTC.YEAR_IN", yy);
        serviceWrite("ORVEX12_IO.RTC.MONTH_IN", month);
        serviceWrite("ORVEX12_IO.RTC.DAY_IN", day);
        serviceWrite("ORVEX12_IO.RTC.HOUR_IN", hour);
        serviceWrite("ORVEX12_IO.RTC.MIN_IN", minute);
        serviceWrite("ORVEX12_IO.RTC.SEC_IN", second);
    }
    // A command switched off for a pass, then on, from the service tool.
    void rise(const std::string& name) {
        serviceWrite(name, 0);
        runPasses(R10, 2);
        serviceWrite(name, 1);
        runPasses(R10, 2);
    }
    std::vector<int> reading() {
        return {integer("ORVEX12_IO.RTC.YEARS"), integer("ORVEX12_IO.RTC.MONTHS"), integer("ORVEX12_IO.RTC.DAYS"),
                integer("ORVEX12_IO.RTC.HOURS"), integer("ORVEX12_IO.RTC.MINUTES"), integer("ORVEX12_IO.RTC.SECONDS")};
    }
    static int64_t utcSeconds() {
        std::timespec ts{};
        hostclock::clock_gettime(hostclock::kClockRealtime, &ts);
        return ts.tv_sec;
    }
    const TimeCell& tod() { return *static_cast<const TimeCell*>(cell("ORVEX12_IO.RTC.TOD")); }
    // The whole calendar shown, day of week included (1 Sunday .. 7
    // Saturday), against the host's own calendar of the local time shown.
    void expectTheHostsCalendar() {
        const std::time_t t = tod().sec;
        std::tm c{};
        ASSERT_NE(gmtime_r(&t, &c), nullptr);
        EXPECT_EQ(reading(), (std::vector<int>{c.tm_year + 1900, c.tm_mon + 1, c.tm_mday, c.tm_hour, c.tm_min, c.tm_sec}));
        EXPECT_EQ(integer("ORVEX12_IO.RTC.DAYOFWEEK"), c.tm_wday + 1);
    }
};

using V = std::vector<int>;

struct SetAllCase {
    const char* name;
    float zone;
    bool dst;
    int yy, month, day, hour, minute, second;
    int year;
    int64_t utc_minus_local;
};
class SetAll : public ControllerClock, public ::testing::WithParamInterface<SetAllCase> {};

TEST_P(SetAll, RisingResetSetsTheWholeDateAndTimeAndReadsItBack) {
    const SetAllCase& c = GetParam();
    startWith();
    if (c.dst) {
        // Second Sunday of March 02:00 to first Sunday of November 02:00, one hour.
        dst_mode = 1;
        dst_hours = 1;
        dst_start_month = 3, dst_start_week = 2, dst_start_day = 1, dst_start_hour = 2;
        dst_end_month = 11, dst_end_week = 1, dst_end_day = 1, dst_end_hour = 2;
    }
    // The zone in whole hours, and the half hour on top.
    const int hours = static_cast<int>(c.zone);
    serviceWrite("ORVEX12_IO.TIMEZONE.IN_1", hours);
    serviceWrite("ORVEX12_IO.USE_HALF.CTRL", c.zone != static_cast<float>(hours) ? 1 : 0);
    runPasses(R160, 2);  // computed at 160 ms, it reaches the clock at the next frame
    setInputs(c.yy, c.month, c.day, c.hour, c.minute, c.second);
    rise("ORVEX12_IO.RTC.RST");
    EXPECT_EQ(reading(), (V{c.year, c.month, c.day, c.hour, c.minute, c.second}));
    EXPECT_EQ(Global_Time_Zone, c.zone);
    EXPECT_EQ(dst_is_active, 0);
    CalendarTime local{static_cast<int16_t>(c.year), static_cast<int16_t>(c.month), static_cast<int16_t>(c.day),
                       static_cast<int16_t>(c.hour), static_cast<int16_t>(c.minute), static_cast<int16_t>(c.second),
                       0, 0};
    EXPECT_EQ(utcSeconds() - static_cast<int64_t>(tontp(&local)), c.utc_minus_local);
    EXPECT_EQ(tod().sec, tontp(&local));
    EXPECT_EQ(integer("ORVEX12_IO.RTC.F_SECS"), static_cast<int32_t>(tod().usec / 1000));
    expectTheHostsCalendar();
    // Held on, it sets nothing more.
    serviceWrite("ORVEX12_IO.RTC.HOUR_IN", (c.hour + 5) % 24);
    runPasses(R10, 3);
    EXPECT_EQ(integer("ORVEX12_IO.RTC.HOURS"), c.hour);
}
const SetAllCase kSetAllCases[] = {
    {"UtcWithoutDaylightSaving", 0.0f, false, 24, 7, 15, 13, 45, 30, 2024, 0},
    {"TwoHoursEast", 2.0f, false, 24, 7, 15, 13, 45, 30, 2024, -7200},
    {"FiveAndAHalfHoursEast", 5.5f, false, 23, 12, 31, 23, 0, 10, 2023, -19800},
    // This controller's time service never evaluates a daylight-saving rule
    // when the clock is set: a configured rule moves nothing, in summer or
    // in winter.
    {"FiveHoursWestWithADaylightSavingRuleInSummer", -5.0f, true, 24, 7, 6, 12, 0, 0, 2024, 18000},
    {"FiveHoursWestWithADaylightSavingRuleInWinter", -5.0f, true, 24, 12, 1, 12, 0, 0, 2024, 18000},
    {"LastTwoDigitYearOfThe20thCentury", 0.0f, false, 80, 1, 1, 0, 0, 0, 1980, 0},
};
INSTANTIATE_TEST_SUITE_P(Zones, SetAll, ::testing::ValuesIn(kSetAllCases),
                         [](const ::testing::TestParamInfo<SetAllCase>& i) { return std::string(i.param.name); });

struct YearCase {
    const char* name;
    int yy, year;
};
class SetDate : public ControllerClock, public ::testing::WithParamInterface<YearCase> {};

// The set-date command is also a set-time command, so one rising edge sets
// the date field by field and then the time of day.
TEST_P(SetDate, SetDateCommandSetsDateAndTimeFieldByFieldOnceWhileHeld) {
    const YearCase& c = GetParam();
    startWith();
    setInputs(c.yy, 3, 9, 22, 30, 15);
    rise("ORVEX12_IO.SET_CLOCK.IN");
    EXPECT_EQ(reading(), (V{c.year, 3, 9, 22, 30, 15}));
    expectTheHostsCalendar();
    serviceWrite("ORVEX12_IO.RTC.DAY_IN", 20);
    serviceWrite("ORVEX12_IO.RTC.MIN_IN", 0);
    runPasses(R10, 3);
    EXPECT_EQ(integer("ORVEX12_IO.RTC.DAYS"), 9);
    EXPECT_EQ(integer("ORVEX12_IO.RTC.MINUTES"), 30);
}
const YearCase kYearCases[] = {
    {"Zero", 0, 2000},
    {"SeventyNineIsThisCentury", 79, 2079},
    {"EightyIsTheLastCentury", 80, 1980},
    {"NinetyNine", 99, 1999},
};
INSTANTIATE_TEST_SUITE_P(Years, SetDate, ::testing::ValuesIn(kYearCases),
                         [](const ::testing::TestParamInfo<YearCase>& i) { return std::string(i.param.name); });

TEST_F(ControllerClock, SyncContactSetsTheTimeOfDayOnEachClosing) {
    startWith({{"_ub19.FUNCT.IN", 26}});  // input 7: "Clock SYNC Pulse Contact"
    setInputs(24, 5, 5, 6, 30, 0);
    rise("ORVEX12_IO.RTC.RST");
    serviceWrite("ORVEX12_IO.RTC.HOUR_IN", 8);
    serviceWrite("ORVEX12_IO.RTC.MIN_IN", 0);
    serviceWrite("ORVEX12_IO.RTC.SEC_IN", 0);
    contact(6, true);
    runPasses(R10, 2);
    EXPECT_EQ(reading(), (V{2024, 5, 5, 8, 0, 0}));
    contact(6, false);
    runPasses(R10, 2);
    serviceWrite("ORVEX12_IO.RTC.HOUR_IN", 9);
    contact(6, true);
    runPasses(R10, 2);
    EXPECT_EQ(integer("ORVEX12_IO.RTC.HOURS"), 9);
    EXPECT_EQ(integer("ORVEX12_IO.RTC.DAYS"), 5) << "the contact does not set the date";
}

TEST_F(ControllerClock, StalledClockIsExtrapolatedAndFaultsAfter401StalledPasses) {
    startWith();
    runPasses(R10, 1);
    // Before each pass the clock is put 10 ms behind a fixed second, so that
    // every pass reads the same millisecond.
    const std::timespec behind{1'700'000'000 - 1, 990'000'000};
    auto stalledPass = [&] {
        hostclock::clock_settime(hostclock::kClockRealtime, &behind);
        runPasses(R10, 1);
    };
    stalledPass();
    EXPECT_EQ(tod().sec, 1'700'000'000u);
    EXPECT_EQ(tod().usec, 0u);
    stalledPass();
    EXPECT_EQ(tod().sec, 1'700'000'000u);
    EXPECT_EQ(tod().usec, 10'000u) << "one pass ahead of the stalled reading";
    EXPECT_EQ(boolean("ORVEX12_IO.RTC.FAULT"), 0u);
    int stalled = 1;
    while (stalled < 500 && boolean("ORVEX12_IO.RTC.FAULT") == 0) {
        stalledPass();
        ++stalled;
    }
    EXPECT_EQ(stalled, 402);
    EXPECT_EQ(tod().usec, 0u) << "a faulted clock is not extrapolated";
    runPasses(R10, 1);
    EXPECT_EQ(boolean("ORVEX12_IO.RTC.FAULT"), 0u) << "the clock advances again";
    // Stalled 10 ms before a whole second: extrapolated into that second.
    const std::timespec early{1'700'000'100 - 1, 980'000'000};
    for (int k = 0; k < 2; ++k) {
        hostclock::clock_settime(hostclock::kClockRealtime, &early);
        runPasses(R10, 1);
    }
    EXPECT_EQ(tod().sec, 1'700'000'100u);
    EXPECT_EQ(tod().usec, 0u);
}

}  // namespace
}  // namespace di_test
