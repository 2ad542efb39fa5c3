// Host platform services: the symbol table, the firewall rule functions and
// the realtime and battery clocks with their argument checks.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "host/hostclock.h"
#include "host/hostio.h"
#include "host/hostkernel.h"
#include "host/hostsym.h"

namespace {

int g_marker = 0, g_other = 0;

TEST(SymbolTable, RegisterFindReplaceAndRemove) {
    void* addr = &g_other;
    EXPECT_EQ(VKSymFindByName("hostTestSymbol", &addr), ERROR);
    EXPECT_EQ(addr, &g_other);  // untouched when not found
    hostsym::registerSymbol("hostTestSymbol", &g_marker);
    EXPECT_EQ(VKSymFindByName("hostTestSymbol", &addr), OK);
    EXPECT_EQ(addr, &g_marker);
    hostsym::registerSymbol("hostTestSymbol", &g_other);  // replaces
    EXPECT_EQ(VKSymFindByName("hostTestSymbol", &addr), OK);
    EXPECT_EQ(addr, &g_other);
    EXPECT_EQ(VKSymFindByName(nullptr, &addr), ERROR);
    EXPECT_EQ(VKSymFindByName("hostTestSymbol", nullptr), ERROR);
    hostsym::registerSymbol(nullptr, &g_marker);  // ignored
    hostsym::registerSymbol("hostTestSymbol", nullptr);  // removes
    addr = nullptr;
    EXPECT_EQ(VKSymFindByName("hostTestSymbol", &addr), ERROR);
    EXPECT_EQ(addr, nullptr);
}

TEST(Firewall, RulesAreFoundByNameLoggedAndAnswerTheSetResult) {
    hostio::registerFirewallFunctions();
    hostio::firewallTakeLog();
    EXPECT_EQ(hostio::VKFirewallAddTCPPortRule(1), 0);  // success until told otherwise
    hostio::firewallTakeLog();
    using Rule = int (*)(int);
    const struct {
        const char* symbol;
        int port;
        const char* line;
    } rules[] = {
        {"VKFirewallAddTCPPortRule", 502, "add tcp 502"},
        {"VKFirewallRemoveTCPPortRule", 503, "remove tcp 503"},
        {"VKFirewallAddUDPPortRule", 5001, "add udp 5001"},
        {"VKFirewallRemoveUDPPortRule", 5002, "remove udp 5002"},
    };
    for (int result : {0, -1, 0}) {
        hostio::firewallSetResult(result);
        std::vector<std::string> want;
        for (const auto& r : rules) {
            void* fn = nullptr;
            ASSERT_EQ(VKSymFindByName(r.symbol, &fn), OK) << r.symbol;
            EXPECT_EQ(reinterpret_cast<Rule>(fn)(r.port), result) << r.symbol;
            want.push_back(r.line);
        }
        EXPECT_EQ(hostio::firewallTakeLog(), want);
    }
    EXPECT_TRUE(hostio::firewallTakeLog().empty());
}

class Clocks : public ::testing::Test {
protected:
    void SetUp() override { hk::start(hk::ClockMode::Simulated); }
    void TearDown() override {
        const std::timespec tick{0, static_cast<long>(hk::kTickNs)};
        hostclock::clock_setres(hostclock::kClockRealtime, &tick);
        hk::shutdown();
    }
};

// First of the clock cases: nothing in this program has set the clock yet.
TEST_F(Clocks, UnsetClockStartsAtTheHostTimeAndRunsWithTheKernel) {
    std::timespec host{};
    ::clock_gettime(CLOCK_REALTIME, &host);
    const int64_t first = hostclock::realtimeNs();
    EXPECT_LT(std::llabs(first / 1'000'000'000 - host.tv_sec), 5);
    hk::runTicks(200);
    EXPECT_EQ(hostclock::realtimeNs() - first, 1'000'000'000);
}

TEST_F(Clocks, SetTimeRunsOnWithTheKernel) {
    const std::timespec set{1'700'000'000, 250'000'000};
    ASSERT_EQ(hostclock::clock_settime(hostclock::kClockRealtime, &set), 0);
    hk::runTicks(3);
    std::timespec now{};
    ASSERT_EQ(hostclock::clock_gettime(hostclock::kClockRealtime, &now), 0);
    EXPECT_EQ(now.tv_sec, 1'700'000'000);
    EXPECT_EQ(now.tv_nsec, 265'000'000);
    EXPECT_EQ(hostclock::realtimeNs(), 1'700'000'000'265'000'000);
    hk::runTicks(150);
    ASSERT_EQ(hostclock::clock_gettime(hostclock::kClockRealtime, &now), 0);
    EXPECT_EQ(now.tv_sec, 1'700'000'001);
    EXPECT_EQ(now.tv_nsec, 15'000'000);
}

TEST_F(Clocks, OutOfRangeArgumentsAreRefusedWithEinval) {
    const struct {
        const char* name;
        int clock;
        std::timespec ts;
        bool settime, setres;
    } cases[] = {
        {"plain", hostclock::kClockRealtime, {5, 0}, true, true},
        {"last nanosecond", hostclock::kClockRealtime, {5, 999'999'999}, true, true},
        {"one second of nanoseconds", hostclock::kClockRealtime, {5, 1'000'000'000}, false, false},
        {"negative nanoseconds", hostclock::kClockRealtime, {5, -1}, false, false},
        {"negative seconds", hostclock::kClockRealtime, {-1, 0}, false, false},
        {"zero", hostclock::kClockRealtime, {0, 0}, true, false},
        {"one nanosecond", hostclock::kClockRealtime, {0, 1}, true, true},
        {"another clock", 1, {5, 0}, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        errno = 0;
        EXPECT_EQ(hostclock::clock_settime(c.clock, &c.ts), c.settime ? 0 : -1);
        EXPECT_EQ(errno, c.settime ? 0 : EINVAL);
        errno = 0;
        EXPECT_EQ(hostclock::clock_setres(c.clock, &c.ts), c.setres ? 0 : -1);
        EXPECT_EQ(errno, c.setres ? 0 : EINVAL);
        std::timespec res{};
        EXPECT_EQ(hostclock::clock_getres(c.clock, &res), c.clock == hostclock::kClockRealtime ? 0 : -1);
        if (c.setres) {
            EXPECT_EQ(res.tv_nsec, c.ts.tv_nsec);
        }
    }
    std::timespec ts{};
    EXPECT_EQ(hostclock::clock_gettime(1, &ts), -1);
    EXPECT_EQ(hostclock::clock_gettime(hostclock::kClockRealtime, nullptr), -1);
    EXPECT_EQ(hostclock::clock_getres(hostclock::kClockRealtime, nullptr), -1);
    EXPECT_EQ(hostclock::clock_settime(hostclock::kClockRealtime, nullptr), -1);
}

std::tm record(int year, int mon, int mday, int hour, int min, int sec) {
    std::tm t{};
    t.tm_year = year, t.tm_mon = mon, t.tm_mday = mday, t.tm_hour = hour, t.tm_min = min, t.tm_sec = sec;
    return t;
}

TEST_F(Clocks, BatteryClockTakesOnlyRecordsInRange) {
    const struct {
        const char* name;
        std::tm t;
        bool ok;
    } cases[] = {
        {"first second of 1970", record(70, 0, 1, 0, 0, 0), true},
        {"1969", record(69, 11, 31, 23, 59, 59), false},
        {"last of every field", record(130, 11, 31, 23, 59, 60), true},
        {"month -1", record(100, -1, 1, 0, 0, 0), false},
        {"month 12", record(100, 12, 1, 0, 0, 0), false},
        {"day 0", record(100, 0, 0, 0, 0, 0), false},
        {"day 32", record(100, 0, 32, 0, 0, 0), false},
        {"hour -1", record(100, 0, 1, -1, 0, 0), false},
        {"hour 24", record(100, 0, 1, 24, 0, 0), false},
        {"minute -1", record(100, 0, 1, 0, -1, 0), false},
        {"minute 60", record(100, 0, 1, 0, 60, 0), false},
        {"second -1", record(100, 0, 1, 0, 0, -1), false},
        {"second 61", record(100, 0, 1, 0, 0, 61), false},
    };
    std::tm known = record(120, 5, 15, 12, 30, 0);  // 2020-06-15 12:30:00
    ASSERT_EQ(VKRTCSetTime(&known), 0);
    EXPECT_EQ(hostclock::batteryClockSeconds(), 1'592'224'200u);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(VKRTCSetTime(&known), 0);
        std::tm t = c.t;
        const int writes = hostclock::batteryClockWrites();
        EXPECT_EQ(VKRTCSetTime(&t) == 0, c.ok);
        EXPECT_EQ(hostclock::batteryClockWrites(), writes + 1);
        if (!c.ok) {
            EXPECT_EQ(hostclock::batteryClockSeconds(), 1'592'224'200u);
        }
    }
    EXPECT_NE(VKRTCSetTime(nullptr), 0);
    std::tm first = record(70, 0, 1, 0, 0, 0);
    ASSERT_EQ(VKRTCSetTime(&first), 0);
    EXPECT_EQ(hostclock::batteryClockSeconds(), 0u);
    hk::runTicks(400);
    EXPECT_EQ(hostclock::batteryClockSeconds(), 2u);  // runs on with the kernel
    // A failed write is counted and changes nothing.
    hostclock::failBatteryClockWrites(1);
    ASSERT_NE(VKRTCSetTime(&known), 0);
    EXPECT_EQ(hostclock::batteryClockSeconds(), 2u);
    EXPECT_EQ(VKRTCSetTime(&known), 0);
    EXPECT_EQ(hostclock::batteryClockSeconds(), 1'592'224'200u);
}

}  // namespace
