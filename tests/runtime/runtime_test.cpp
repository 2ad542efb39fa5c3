// The rate-group runtime through real passes in simulated time.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/config/MASTER.cells.h"
#include "app/control/ORVEX12_IO.cells.h"
#include "app/system/_MASTER.cells.h"
#include "host/board.h"
#include "host/hostkernel.h"
#include "host/vkplatform.h"
#include "platform/vkiobus.h"
#include "runtime/appmain.h"
#include "runtime/mscloads.h"
#include "runtime/rgtask.h"
#include "runtime/sched.h"
#include "runtime/sysinfo.h"
#include "tests/support/runtime_fixture.h"

namespace {

struct FrameStart {
    uint64_t tick;
    int group;
};
std::vector<FrameStart> g_frames;
uint64_t g_consumeNs[kNumRateGroups];
std::vector<uint32_t> g_flagsSeenByR20;
// The time-stamp seconds each 10 ms frame saw, and the clock-of-day seconds
// each 160 ms frame wrote (its frame number in both halves).
std::vector<std::pair<uint64_t, uint32_t>> g_stampSeen;
std::vector<std::pair<uint64_t, uint32_t>> g_todWritten;
// The start-up flags as each 160 ms frame found them.
std::vector<std::pair<int, int>> g_startUpSeen;

template <int G>
void recordSlice() {
    g_frames.push_back({hk::ticks(), G});
    if (G == 1) g_flagsSeenByR20.push_back(sched_move_R10_R20);
    if (G == 0) g_stampSeen.push_back({hk::ticks(), (uint32_t{_SYS_INFO_TS_SEC_HI} << 16) | _SYS_INFO_TS_SEC_LO});
    if (G == 4) g_startUpSeen.push_back({AllRgExecuted, AllRgExecutedwMMM});
    if (G == 4) {
        const uint32_t n = static_cast<uint32_t>(g_todWritten.size()) + 1;
        cells::ORVEX12_IO.RTC_TOD = TimeCell{n << 16 | n, 0};
        g_todWritten.push_back({hk::ticks(), n << 16 | n});
    }
    if (g_consumeNs[G]) hk::consumeCpu(g_consumeNs[G]);
}

class Runtime : public tc_test::RuntimeFixture {
protected:
    void SetUp() override {
        RuntimeFixture::SetUp();
        g_frames.clear();
        g_flagsSeenByR20.clear();
        g_stampSeen.clear();
        g_todWritten.clear();
        g_startUpSeen.clear();
        for (auto& c : g_consumeNs) c = 0;
        rg_slices[0] = {recordSlice<0>};
        rg_slices[1] = {recordSlice<1>};
        rg_slices[2] = {recordSlice<2>};
        rg_slices[3] = {recordSlice<3>};
        rg_slices[4] = {recordSlice<4>};
    }

    // The start clears the application's areas; these slices compute no
    // calibration permissive, so the cases give it as the unit at rest has it.
    uint32_t start() {
        const uint32_t r = RuntimeFixture::start();
        rtcells::CALMODE_CALPERM_B_NAME() = 1;
        return r;
    }

    std::vector<uint64_t> startsOf(int group) {
        std::vector<uint64_t> v;
        for (auto& f : g_frames)
            if (f.group == group) v.push_back(f.tick);
        return v;
    }
};

TEST_F(Runtime, StartRunsEveryGroupAtItsPeriodAndStops) {
    board::clearWriteLog();
    const std::vector<uint32_t> stats(std::begin(_RGSlipCounter), std::end(_RGSlipCounter));
    ASSERT_EQ(start(), 0u);
    hk::runTicks(200);
    // Each group's first frame runs at the flush, then one frame per release.
    const uint64_t periods[] = {2, 4, 8, 16, 32};
    const uint64_t firstRelease[] = {3, 5, 9, 17, 33};  // ticks after the run hook
    std::vector<uint64_t> s0 = startsOf(0);
    ASSERT_GT(s0.size(), 3u);
    uint64_t hookTick = s0[0];  // the flush happens in the tick the run hook was connected
    for (int g = 0; g < kNumRateGroups; ++g) {
        auto s = startsOf(g);
        ASSERT_GE(s.size(), 3u) << g;
        EXPECT_EQ(s[0], hookTick) << g;
        EXPECT_EQ(s[1], hookTick + firstRelease[g]) << g;
        for (size_t i = 2; i < s.size(); ++i) EXPECT_EQ(s[i] - s[i - 1], periods[g]) << g;
    }
    // On a tick releasing every group the order is R10, R20, R40, R80, R160.
    uint64_t all = startsOf(4)[1];
    std::vector<int> order;
    for (auto& f : g_frames)
        if (f.tick == all) order.push_back(f.group);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
    // The pass before each R160 release writes 1 to FPGA register 0x8080F024.
    std::vector<uint64_t> marked;
    for (const board::RegWrite& w : board::writeLog(0x8080F024, 0x8080F024)) {
        EXPECT_EQ(w.value, 1u);
        if (w.timeNs / hk::kTickNs + 1 <= hk::ticks()) marked.push_back(w.timeNs / hk::kTickNs + 1);
    }
    const std::vector<uint64_t> r160 = startsOf(4);
    EXPECT_EQ(marked, std::vector<uint64_t>(r160.begin() + 1, r160.end()));
    // The copy flag for R20 is raised at its release and cleared by R10 before R20 runs.
    for (uint32_t f : g_flagsSeenByR20) EXPECT_EQ(f, 0u);
    EXPECT_GT(vl_R20_watchdog, 0);
    EXPECT_EQ(std::vector<uint32_t>(std::begin(_RGSlipCounter), std::end(_RGSlipCounter)), stats);  // no slip
    EXPECT_EQ(AllRgExecuted, 1);
    EXPECT_EQ(AllRgExecutedwMMM, 1);
    // Start-up lasts two 160 ms frames: the first marks every group run, the
    // second every group run with its copies.
    ASSERT_GE(g_startUpSeen.size(), 3u);
    EXPECT_EQ(g_startUpSeen[0], std::make_pair(0, 0));
    EXPECT_EQ(g_startUpSeen[1], std::make_pair(1, 0));
    EXPECT_EQ(g_startUpSeen[2], std::make_pair(1, 1));
    EXPECT_EQ(ApplicationIsRunning, 0x12345678u);

    const uint64_t t0 = hk::nowNs();
    ASSERT_EQ(stop(), 0u);
    // The stop waits for the message ring to drain, not for its 40 s bound.
    const uint64_t stopMs = (hk::nowNs() - t0) / 1'000'000;
    EXPECT_LT(stopMs, 5000u);
    EXPECT_EQ(ApplicationIsRunning, 0x98765432u);
    EXPECT_EQ(app_inited, SEM_ID(0));
    size_t frames = g_frames.size();
    hk::runTicks(100);
    EXPECT_EQ(g_frames.size(), frames);
    auto lines = messageLines();
    std::vector<std::string> want = {"state 8: Application is initializing",
                                     "state 3: CPU Footprint 61930458.105 (6.9)",
                                     "event 3: TIQ Coder 1.00-0",
                                     "event 12: ",
                                     "state 9: Application is running",
                                     "state 17: Application is stopping",
                                     "state 10: Application is stopped"};
    // The two messages of init_application come in the order sent.
    std::vector<std::string> got;
    for (auto& l : lines)
        if (std::find(want.begin(), want.end(), l) != want.end()) got.push_back(l);
    EXPECT_EQ(got, (std::vector<std::string>{want[0], want[3], want[1], want[2], want[4], want[5], want[6]}));
}

// Every word the master clock pass exchanges between the runtime's system
// words and the application's cells, each set alone and seen on the other
// side by the next pass; the other words keep their values.
TEST_F(Runtime, MasterClockPassExchangesEverySystemWord) {
    ASSERT_EQ(start(), 0u);
    hk::runTicks(250);  // past the slip monitor's first second
    auto& M = cells::_MASTER;
    struct Word {
        const char* name;
        std::function<void(uint32_t)> set;
        std::function<uint32_t()> seen;
        uint32_t rest;
    };
    const Word words[] = {
        {"fault", [](uint32_t v) { _SYS_INFO_FAULT = v; }, [&] { return uint32_t(M._SYS_INFO_SYS_FLT); }, 0},
        {"alarm", [](uint32_t v) { _SYS_INFO_ALARM = v; }, [&] { return uint32_t(M._SYS_INFO_SYS_ALM); }, 0},
        {"service password", [](uint32_t v) { _SYS_INFO_S_PWD = v; }, [&] { return uint32_t(M._SYS_INFO_S_PWD); }, 0},
        {"config password", [](uint32_t v) { _SYS_INFO_C_PWD = v; }, [&] { return uint32_t(M._SYS_INFO_C_PWD); }, 0},
        {"EE busy", [](uint32_t v) { _SYS_INFO_EE_BUSY = v; }, [&] { return uint32_t(M._SYS_INFO_EE_BUSY); }, 0},
        {"slip", [](uint32_t v) { _SYS_INFO_RG_SLIP = v; }, [&] { return uint32_t(M._SYS_INFO_RG_SLIP); }, 0},
        {"alarm reset", [&](uint32_t v) { M._SYS_INFO_ALM_RST = v; }, [] { return _SYS_INFO_ALM_RST; }, 0},
        {"stop permissive", [](uint32_t v) { rtcells::CALMODE_CALPERM_B_NAME() = v; },
         [] { return _SYS_INFO_STOP_PER; }, 1},
        {"lock permissive", [](uint32_t v) { rtcells::CALMODE_CALPERM_B_NAME() = v; },
         [] { return _SYS_INFO_LOCK_PER; }, 1},
        {"EE update", [](uint32_t v) { cells::MASTER.EE_UPDATE_B_NAME = v; },
         [] { return _SYS_INFO_UPDATE_EE; }, 0},
        {"I/O lock", [](uint32_t v) { cells::MASTER.IOLOCK_CMD_B_NAME = v; },
         [] { return _SYS_INFO_LOCK_IO; }, 0},
    };
    for (const Word& w : words) {
        w.set(w.rest);
        hk::runTicks(1);
        ASSERT_EQ(w.seen(), w.rest) << w.name;
    }
    // The two permissives share their source.
    auto sameSource = [](size_t a, size_t b) { return a == b || (a >= 7 && a <= 8 && b >= 7 && b <= 8); };
    for (size_t i = 0; i < std::size(words); ++i) {
        const Word& w = words[i];
        const uint32_t v = w.rest ? 0u : 1u;
        const TimeCell tod = cells::ORVEX12_IO.RTC_TOD;
        w.set(v);
        EXPECT_EQ(static_cast<const TimeCell&>(cells::ORVEX12_IO.RTC_TOD).sec, tod.sec) << w.name;  // a word of its own
        hk::runTicks(1);
        EXPECT_EQ(w.seen(), v) << w.name;
        for (size_t j = 0; j < std::size(words); ++j) {
            if (!sameSource(i, j)) {
                EXPECT_EQ(words[j].seen(), words[j].rest) << w.name << " moved " << words[j].name;
            }
        }
        w.set(w.rest);
        hk::runTicks(1);
    }
}

// The supervision task, every 400 ms once 4 s have passed: the stop
// permissive published to the platform as it changes; the I/O locked on the
// rising edge of the lock command only, and only with the lock permissive.
TEST_F(Runtime, SupervisionTaskPublishesThePermissiveAndLocksTheIoOnItsEdge) {
    ASSERT_EQ(start(), 0u);
    hk::runTicks(1000);  // 5 s
    EXPECT_EQ(hostplatform::shutdownPermissive(), 1u);
    rtcells::CALMODE_CALPERM_B_NAME() = 0;
    hk::runTicks(100);
    EXPECT_EQ(hostplatform::shutdownPermissive(), 0u);

    cells::MASTER.IOLOCK_CMD_B_NAME = 1;  // without the lock permissive: nothing
    hk::runTicks(100);
    EXPECT_EQ(Query_IOLOCK(), 0u);
    cells::MASTER.IOLOCK_CMD_B_NAME = 0;
    rtcells::CALMODE_CALPERM_B_NAME() = 1;
    hk::runTicks(100);
    EXPECT_EQ(hostplatform::shutdownPermissive(), 1u);
    cells::MASTER.IOLOCK_CMD_B_NAME = 1;
    hk::runTicks(100);
    EXPECT_EQ(Query_IOLOCK(), 1u);
    _SYS_INFO_C_PWD = 0;  // released elsewhere: the held command does not lock again
    hk::runTicks(100);
    EXPECT_EQ(Query_IOLOCK(), 0u);
    cells::MASTER.IOLOCK_CMD_B_NAME = 0;
    hk::runTicks(100);
    cells::MASTER.IOLOCK_CMD_B_NAME = 1;
    hk::runTicks(100);
    EXPECT_EQ(Query_IOLOCK(), 1u);
    cells::MASTER.IOLOCK_CMD_B_NAME = 0;
    _SYS_INFO_C_PWD = 0;
}

TEST_F(Runtime, TasksCarryTheirNamesAndPriorities) {
    hostplatform::setAccountManagement(1);
    ASSERT_EQ(start(), 0u);
    hk::runTicks(100);
    std::map<std::string, int> prio;
    for (const auto& t : hk::listTasks()) prio[t.name] = t.priority;
    const std::map<std::string, int> want = {{"MasterClockProcess", 8}, {"_R10", 11}, {"_R20", 12},
                                             {"_R40", 13},  {"_R80", 14}, {"_R160", 15}, {"SlipMonitor", 40},
                                             {"AppEventMonitor", 40}, {"ttytask", 40}, {"FRTimeTask", 251}};
    for (const auto& [name, p] : want) {
        ASSERT_TRUE(prio.count(name)) << name;
        EXPECT_EQ(prio[name], p) << name;
    }
    // Account management switched on in the platform is announced.
    auto lines = messageLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "event 3: Cyber Security Enabled"), lines.end());
}

TEST_F(Runtime, NoSecurityEventWithoutAccountManagement) {
    ASSERT_EQ(start(), 0u);
    hk::runTicks(100);
    ASSERT_FALSE(messageLines().empty());
    auto lines = messageLines();
    EXPECT_EQ(std::find(lines.begin(), lines.end(), "event 3: Cyber Security Enabled"), lines.end());
}

TEST_F(Runtime, TimeStampSecondsFollowTheClockOfDayAtEach160msRelease) {
    ASSERT_EQ(start(), 0u);
    hk::runTicks(32 * 6);
    ASSERT_GE(g_todWritten.size(), 5u);
    // The 10 ms frames see a new value only in the tick of a 160 ms release,
    // and then the value written by the previous 160 ms frame.
    uint32_t last = g_stampSeen.front().second;
    int changes = 0;
    for (const auto& [tick, v] : g_stampSeen) {
        if (v == last) continue;
        ++changes;
        auto at = std::find_if(g_todWritten.begin(), g_todWritten.end(), [&](const auto& w) { return w.first == tick; });
        ASSERT_NE(at, g_todWritten.end()) << "changed at tick " << tick;
        ASSERT_NE(at, g_todWritten.begin());
        EXPECT_EQ(v, std::prev(at)->second);
        last = v;
    }
    EXPECT_GE(changes, 4);
    EXPECT_EQ(RtcSeconds, (uint32_t{_SYS_INFO_TS_SEC_HI} << 16) | _SYS_INFO_TS_SEC_LO);
}

// The staged copies of the time stamp follow it 2, 4, 8 and 16 passes after
// each 160 ms release.
TEST_F(Runtime, StagedTimeStampCopiesFollowAtTheirPasses) {
    ASSERT_EQ(start(), 0u);
    hk::runTicks(40);
    struct Row {
        uint64_t tick;
        uint32_t ts, c[4];
    };
    std::vector<Row> rows;
    for (int i = 0; i < 32 * 4; ++i) {
        hk::runTicks(1);
        rows.push_back({hk::ticks(), _SYS_INFO_TS_CLOCK.sec,
                        {_SYS_INFO_TS_CLOCK_7.sec, _SYS_INFO_TS_CLOCK_6.sec, _SYS_INFO_TS_CLOCK_5.sec,
                         _SYS_INFO_TS_CLOCK_4.sec}});
    }
    const uint64_t delay[4] = {2, 4, 8, 16};
    int checked = 0;
    for (size_t i = 1; i + 16 < rows.size(); ++i) {
        if (rows[i].ts == rows[i - 1].ts) continue;
        for (int k = 0; k < 4; ++k) {
            size_t j = i;
            while (j < rows.size() && rows[j].c[k] != rows[i].ts) ++j;
            ASSERT_LT(j, rows.size()) << k;
            EXPECT_EQ(rows[j].tick - rows[i].tick, delay[k]) << "copy " << 7 - k;
        }
        ++checked;
    }
    EXPECT_GE(checked, 2);
}

TEST_F(Runtime, FirstFramesSeeNoReleaseAndKeyMarksDueGroups) {
    ASSERT_EQ(start(), 0u);
    // Count passes until one where R10, R20 and R40 are due on the next pass.
    bool seen0705 = false, seen070A = false;
    for (int i = 0; i < 40; ++i) {
        hk::runTicks(1);
        if (key == 0x0705) seen0705 = true;
        if (key == 0x070A) seen070A = true;
    }
    EXPECT_TRUE(seen0705);
    EXPECT_TRUE(seen070A);
}

// After each master clock pass the key names the slowest group released on
// the next pass (R10 0x0707 .. R160 0x0703), or 0x070A when none is.
TEST_F(Runtime, KeyNamesTheSlowestGroupDueOnTheNextPass) {
    ASSERT_EQ(start(), 0u);
    hk::runTicks(40);
    std::vector<std::pair<uint64_t, uint16_t>> keys;
    for (int i = 0; i < 70; ++i) {
        hk::runTicks(1);
        keys.push_back({hk::ticks(), key});
    }
    int seen[kNumRateGroups] = {};
    for (size_t i = 0; i + 1 < keys.size(); ++i) {
        int slowest = -1;
        for (const auto& f : g_frames)
            if (f.tick == keys[i + 1].first) slowest = std::max(slowest, f.group);
        const uint16_t want = slowest < 0 ? 0x070A : static_cast<uint16_t>(0x0707 - slowest);
        EXPECT_EQ(keys[i].second, want) << "tick " << keys[i].first;
        if (slowest >= 0) ++seen[slowest];
    }
    for (int g = 0; g < kNumRateGroups; ++g) EXPECT_GT(seen[g], 0) << g;
}

TEST_F(Runtime, SlipPointsStopTheApplicationAbove128) {
    ASSERT_EQ(start(), 0u);
    hk::runTicks(50);
    // One overrun of the 80 ms group: 64 points, one less per on-time frame;
    // every frame that ends with points counts in the slip statistics.
    const uint32_t statsBefore = _RGSlipCounter[4];
    g_consumeNs[3] = 85'000'000;
    hk::runTicks(16);
    g_consumeNs[3] = 0;
    int peak = 0;
    for (int k = 0; k < 16 * 70; ++k) {
        hk::runTicks(1);
        peak = std::max(peak, int(_R80_slip_count));
    }
    EXPECT_EQ(peak, 64);
    EXPECT_EQ(_R80_slip_count, 0);
    EXPECT_EQ(_RGSlipCounter[4] - statsBefore, 64u);
    EXPECT_EQ(ApplicationRunning, 1u);

    // One 40 ms frame of 85 ms misses two releases: 128 points, still running.
    const size_t r40Frames = startsOf(2).size();
    g_consumeNs[2] = 85'000'000;
    hk::runUntil([&] { return startsOf(2).size() > r40Frames; }, 20);
    g_consumeNs[2] = 0;
    peak = 0;
    for (int k = 0; k < 40; ++k) {
        hk::runTicks(1);
        peak = std::max(peak, int(_R40_slip_count));
    }
    EXPECT_EQ(peak, 128);
    EXPECT_EQ(ApplicationRunning, 1u);
    // Down to one point, then the same long frame: 65, then 129 stops. (The
    // frame released with two points left, already run, takes the next one.)
    ASSERT_TRUE(hk::runUntil([] { return _R40_slip_count == 2; }, 32 * 200));
    const size_t r40Again = startsOf(2).size();
    g_consumeNs[2] = 85'000'000;
    hk::runUntil([&] { return startsOf(2).size() > r40Again; }, 20);
    g_consumeNs[2] = 0;
    hk::runTicks(40);
    EXPECT_EQ(_R40_slip_count, 129);
    EXPECT_EQ(ApplicationRunning, 0u);
}

TEST_F(Runtime, ContinuousOverrunsStopTheApplication) {
    ASSERT_EQ(start(), 0u);
    hk::runTicks(250);  // past the slip monitor's first second

    // A 40 ms group that keeps overrunning goes above 128 and stops everything.
    g_consumeNs[2] = 45'000'000;
    hk::runTicks(80);
    EXPECT_GT(_R40_slip_count, 128);
    EXPECT_EQ(ApplicationRunning, 0u);
    size_t frames = g_frames.size();
    hk::runTicks(60);  // SlipMonitor reports within 100 ms
    EXPECT_EQ(_SYS_INFO_RG_SLIP, 1u);
    EXPECT_EQ(AllRgExecutedwMMM, 0);
    hk::runTicks(100);
    // After the stop no group is released again (the overrunning frame may end).
    EXPECT_LE(g_frames.size(), frames + 1);
    auto lines = messageLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "event 6: RateGroup40 Slip detected, all I/O is disabled"),
              lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "state 18: Application is NOT running"), lines.end());
    // A slipped application stops without the permissive.
    rtcells::CALMODE_CALPERM_B_NAME() = 0;
    _SYS_INFO_STOP_PER = 0;
    EXPECT_EQ(stop(), 0u);
}

// A group that keeps overrunning stops the application with a message
// naming its own period.
struct SlipCase {
    const char* name;
    int group;
    uint32_t code;  // its slot in the slip statistics
    const char* text;
};

class RuntimeSlip : public Runtime, public ::testing::WithParamInterface<SlipCase> {};

TEST_P(RuntimeSlip, MessageNamesTheSlippingGroup) {
    const SlipCase& c = GetParam();
    ASSERT_EQ(start(), 0u);
    hk::runTicks(250);
    const std::vector<uint32_t> stats(std::begin(_RGSlipCounter), std::end(_RGSlipCounter));
    g_consumeNs[c.group] = (10'000'000ull << c.group) + 5'000'000;
    hk::runTicks(16 * 32);
    g_consumeNs[c.group] = 0;
    hk::runTicks(60);
    EXPECT_EQ(ApplicationRunning, 0u);
    auto lines = messageLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), c.text), lines.end()) << c.text;
    // The statistics count in the group's own slot; the faster groups ran on time.
    EXPECT_GT(_RGSlipCounter[c.code], stats[c.code]);
    for (uint32_t code = c.code + 1; code < 9; ++code) EXPECT_EQ(_RGSlipCounter[code], stats[code]) << code;
    rtcells::CALMODE_CALPERM_B_NAME() = 0;
    _SYS_INFO_STOP_PER = 0;
    EXPECT_EQ(stop(), 0u);
}

const SlipCase kSlipCases[] = {
    {"R10", 0, 7, "event 6: RateGroup10 Slip detected, all I/O is disabled"},
    {"R20", 1, 6, "event 6: RateGroup20 Slip detected, all I/O is disabled"},
    {"R80", 3, 4, "event 6: RateGroup80 Slip detected, all I/O is disabled"},
    {"R160", 4, 3, "event 6: RateGroup160 Slip detected, all I/O is disabled"},
};
INSTANTIATE_TEST_SUITE_P(Groups, RuntimeSlip, ::testing::ValuesIn(kSlipCases),
                         [](const ::testing::TestParamInfo<SlipCase>& i) { return std::string(i.param.name); });

// The board's watchdog once the master clock passes end: a stop asked for
// leaves no time-out behind; passes that stop on a slip still time out.
struct WatchdogCase {
    const char* name;
    bool slip;
    bool timeout;
};

class RuntimeWatchdog : public Runtime, public ::testing::WithParamInterface<WatchdogCase> {
protected:
    void TearDown() override {
        hk::setTickObserver({});
        Runtime::TearDown();
    }
};

TEST_P(RuntimeWatchdog, TimesOutOnlyWhenThePassesStopUnasked) {
    hk::setTickObserver([] { board::poll(); });
    ASSERT_EQ(start(), 0u);
    hk::runTicks(250);
    ASSERT_TRUE(board::watchdogEnabled());
    if (GetParam().slip) {
        g_consumeNs[2] = 45'000'000;
        hk::runTicks(80);
        g_consumeNs[2] = 0;
        ASSERT_EQ(ApplicationRunning, 0u);
        hk::runTicks(100);
    }
    ASSERT_EQ(stop(), 0u);
    hk::runTicks(100);
    const auto lines = messageLines();
    const bool reported =
        std::find(lines.begin(), lines.end(), "event 3: External Watchdog Timeout!") != lines.end();
    EXPECT_EQ(reported, GetParam().timeout);
}

INSTANTIATE_TEST_SUITE_P(Stops, RuntimeWatchdog,
                         ::testing::Values(WatchdogCase{"AskedFor", false, false},
                                           WatchdogCase{"AfterASlip", true, true}),
                         [](const ::testing::TestParamInfo<WatchdogCase>& i) { return std::string(i.param.name); });

TEST_F(Runtime, EntryPointGuards) {
    EXPECT_EQ(stop(), 0u);  // before any start: console line only
    EXPECT_TRUE(messageLines().empty());
    ASSERT_EQ(start(), 0u);
    size_t n = messageLines().size();
    EXPECT_EQ(start(), 0x80000000u);
    hk::runTicks(10);
    EXPECT_EQ(messageLines().size(), n);

    rtcells::CALMODE_CALPERM_B_NAME() = 0;
    hk::runTicks(2);
    EXPECT_EQ(stop(), 0x80000000u);
    hk::runTicks(10);
    EXPECT_EQ(messageLines().back(), "state 3: Can not stop. SYS_INFO->STOP_PER field is FALSE.");
    EXPECT_EQ(ApplicationRunning, 1u);
    size_t frames = g_frames.size();
    hk::runTicks(10);
    EXPECT_GT(g_frames.size(), frames);

    rtcells::CALMODE_CALPERM_B_NAME() = 1;
    hk::runTicks(2);
    EXPECT_EQ(stop(), 0u);
    EXPECT_EQ(messageLines().back(), "state 10: Application is stopped");
    // Started again after a stop: the frame counts carried over from the
    // first run give no slip, and start-up begins anew.
    std::vector<uint32_t> before(std::begin(_RGSlipCounter), std::end(_RGSlipCounter));
    g_startUpSeen.clear();
    EXPECT_EQ(start(), 0u);
    hk::runTicks(100);
    ASSERT_GE(g_startUpSeen.size(), 2u);
    EXPECT_EQ(g_startUpSeen[0], std::make_pair(0, 0));
    EXPECT_EQ(g_startUpSeen[1], std::make_pair(1, 0));
    EXPECT_EQ(std::vector<uint32_t>(std::begin(_RGSlipCounter), std::end(_RGSlipCounter)), before);
    EXPECT_EQ(stop(), 0u);
    // Every state message carries the state the application was in.
    for (const auto& m : hostplatform::messages()) {
        if (m.code == 2 && (m.state == 17 || m.state == 10 || m.state == 9)) {
            EXPECT_EQ(m.appState, m.state) << m.text;
        }
    }
}

TEST_F(Runtime, VersionMismatchFailsTheStartAfterFourSeconds) {
    hostplatform::versions().os[3] = 4;
    uint64_t t0 = hk::nowNs();
    EXPECT_EQ(start(), 0x80000000u);
    uint64_t ms = (hk::nowNs() - t0) / 1'000'000;
    EXPECT_GE(ms, 4200u);
    EXPECT_LT(ms, 6000u);  // device start-up, the files read at start and the service server's close add their own waits
    hk::runTicks(40);
    auto lines = messageLines();
    EXPECT_EQ(lines.back(), "state 18: Application is NOT running");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "event 6: ERROR: VxWorks version does not match."), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "event 3:   Actual 6.9.3.4, Expected 6.9.3.3"), lines.end());
    // The other checks still report.
    EXPECT_NE(std::find(lines.begin(), lines.end(), "event 3: TIQ Coder 1.00-0"), lines.end());
    EXPECT_TRUE(g_frames.empty());  // tasks stay blocked on app_inited
    EXPECT_EQ(start(), 0x80000000u);  // still marked as started
    rtcells::CALMODE_CALPERM_B_NAME() = 0;
    _SYS_INFO_STOP_PER = 0;
    EXPECT_EQ(stop(), 0u);  // stops without the permissive
}

}  // namespace

// Clock-of-day values from hours, minutes, seconds and milliseconds.
TEST(TimeOfDay, FromHoursMinutesSecondsAndMilliseconds) {
    const struct { uint32_t h, m, s, ms, sec, usec; } rows[] = {
        {0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 3600, 0}, {0, 1, 0, 0, 60, 0},
        {0, 0, 1, 999, 1, 999000}, {23, 59, 59, 1, 86399, 1000},
    };
    for (const auto& r : rows) {
        const TcTime t = TC(r.h, r.m, r.s, r.ms);
        EXPECT_EQ(t.sec, r.sec) << r.h << ":" << r.m << ":" << r.s;
        EXPECT_EQ(t.usec, r.usec) << r.h << ":" << r.m << ":" << r.s;
    }
}
