// Kernel calls at their edges: semaphores that do not exist or cannot be
// made, calls from outside any task, the error number of each side, and the
// memory figures of the system partition, lost-tick reports, and simulated
// time while a task waits for the outside.
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cmath>

#include <cerrno>
#include <cfenv>
#include <chrono>
#include <memory>
#include <numeric>
#include <regex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "host/hostkernel.h"

namespace {

class KernelEdges : public ::testing::Test {
protected:
    void SetUp() override { hk::start(hk::ClockMode::Simulated); }
    void TearDown() override {
        hk::clearMemoryFigures();
        hk::shutdown();
    }
};

// A semaphore id that names none is refused by every call; a negative
// initial count makes none.
TEST_F(KernelEdges, UnknownSemaphoresAreRefused) {
    EXPECT_EQ(semCCreate(SEM_Q_PRIORITY, -1), SEM_ID{0});
    const SEM_ID s = semCCreate(SEM_Q_PRIORITY, 0);
    ASSERT_NE(s, SEM_ID{0});
    ASSERT_EQ(semDelete(s), OK);
    EXPECT_EQ(semGive(s), ERROR);
    EXPECT_EQ(semFlush(s), ERROR);
    EXPECT_EQ(semDelete(s), ERROR);
    EXPECT_EQ(semCount(s), -1);
    EXPECT_EQ(semWaiters(s), 0);
    EXPECT_EQ(semTake(s, NO_WAIT), ERROR);
    STATUS taken = OK;
    int err = 0;
    hk::runTask([&] {
        taken = semTake(s, WAIT_FOREVER);
        err = errnoGet();
    });
    EXPECT_EQ(taken, ERROR);
    EXPECT_EQ(err, S_objLib_OBJ_ID_ERROR);
}

// Outside every task a take can only poll: it takes what is there and
// fails at once when nothing is, whatever time-out it names; a delay is
// refused.
TEST_F(KernelEdges, OutsideATaskATakeOnlyPolls) {
    const SEM_ID s = semCCreate(SEM_Q_PRIORITY, 2);
    const ULONG t0 = tickGet();
    EXPECT_EQ(semTake(s, WAIT_FOREVER), OK);
    EXPECT_EQ(semTake(s, 5), OK);
    EXPECT_EQ(semTake(s, WAIT_FOREVER), ERROR);
    EXPECT_EQ(semCount(s), 0);
    EXPECT_EQ(tickGet(), t0);
    EXPECT_EQ(taskDelay(1), ERROR);
    EXPECT_EQ(taskIdSelf(), TASK_ID{0});
    semDelete(s);
}

long g_clockHooks = 0;
void countClockHook(long) { ++g_clockHooks; }

// Outside every task the interrupt lock does nothing: an unlock there with
// any key leaves the clock interrupt running while the CPU idles.
TEST_F(KernelEdges, OutsideATaskTheInterruptLockDoesNothing) {
    EXPECT_EQ(intLock(), 0);
    intUnlock(3);
    g_clockHooks = 0;
    hk::runTask([] { VKClkConnect(countClockHook, 0); });
    hk::runTicks(10);
    EXPECT_GE(g_clockHooks, 10);
    hk::runTask([] { VKClkDisconnect(); });
}

// What a task's routine holds is let go once the task has ended and the CPU
// idled, not kept until the kernel stops.
TEST_F(KernelEdges, AnEndedTaskLetsGoOfWhatItsRoutineHolds) {
    auto held = std::make_shared<int>(7);
    hk::runTask([held] { hk::spawnFunction([held] { (void)*held; }, 50, "tShort"); });
    hk::runTicks(2);
    EXPECT_EQ(held.use_count(), 1);
}

// The loader's lateness figures from the histogram: p50 and p99 are the
// upper bounds of the buckets holding the middle and the 99th percentile
// rank, never above the maximum. Above the microsecond buckets a stall's
// ticks land in buckets a sixteenth of an octave wide, so a stall of 21 s
// in which a tick came every 5 ms has its middle near 10.5 s, not at the
// maximum; only the open last bucket gives the maximum itself.
TEST(TickLatenessSummary, RanksBucketBoundsAndTheMaximum) {
    struct Row {
        const char* name;
        std::vector<std::pair<size_t, uint64_t>> fine;    // bucket, ticks
        std::vector<std::pair<size_t, uint64_t>> coarse;  // bucket, ticks
        uint64_t maxNs, p50Ns, p99Ns, ticks;
    };
    // The 41 fine buckets end at 41 µs; coarse bucket k ends at 41 µs x 2^((k+1)/16).
    auto bound = [](size_t k) { return uint64_t(std::ceil(41000.0 * std::exp2(double(k + 1) / 16.0))); };
    const Row rows[] = {
        {"no ticks", {}, {}, 0, 0, 0, 0},
        {"one tick", {{3, 1}}, {}, 3'400, 3'400, 3'400, 1},
        {"two ticks: the lower is the middle", {{10, 1}, {20, 1}}, {}, 20'500, 11'000, 20'500, 2},
        {"three ticks: the second is the middle", {{10, 1}, {20, 1}, {30, 1}}, {}, 30'200, 21'000, 30'200, 3},
        {"four ticks", {{10, 2}, {20, 2}}, {}, 20'900, 11'000, 20'900, 4},
        {"100 ticks: the 99th of them", {{1, 98}, {2, 1}, {3, 1}}, {}, 3'700, 2'000, 3'000, 100},
        {"200 ticks: the 198th of them", {{1, 197}, {2, 1}, {3, 2}}, {}, 3'100, 2'000, 3'000, 200},
        {"the last fine bucket is closed", {{40, 3}}, {{5, 1}}, 60'000, 41'000, bound(5), 4},
        {"the middle in a coarse bucket", {{0, 1}}, {{0, 1}, {16, 1}}, 90'000, bound(0), bound(16), 3},
        {"the middle above an octave", {{0, 1}}, {{16, 2}}, 90'000, bound(16), bound(16), 3},
        {"capped by the maximum", {{0, 1}}, {{16, 2}}, 84'000, 84'000, 84'000, 3},
        {"the open last coarse bucket", {{0, 1}}, {{63, 2}}, 12'345'678, 12'345'678, 12'345'678, 3},
    };
    for (const Row& r : rows) {
        std::vector<uint64_t> fine(41, 0), coarse(64, 0);  // 0 .. 41 µs, then 4 octaves, the last one open
        for (const auto& [bucket, n] : r.fine) fine.at(bucket) += n;
        for (const auto& [bucket, n] : r.coarse) coarse.at(bucket) += n;
        const hk::TickLateness t = hk::summariseLateness(fine, coarse, r.maxNs, 7);
        EXPECT_EQ(t.ticks, r.ticks) << r.name;
        EXPECT_EQ(t.missed, 7u) << r.name;
        EXPECT_EQ(t.maxNs, r.maxNs) << r.name;
        EXPECT_EQ(t.p50Ns, r.p50Ns) << r.name;
        EXPECT_EQ(t.p99Ns, r.p99Ns) << r.name;
    }

    // A stall of 21 s seen as the kernel files it: every tick of it (one
    // each 5 ms, from 21 s late down to 10 ms) in its coarse bucket.
    std::vector<uint64_t> fine(10000, 0), coarse(hk::kLatenessOctaves * hk::kLatenessStepsPerOctave + 1, 0);
    fine[20] = 500;  // a quiet run before it
    for (uint64_t late = 21'000'000'000; late >= 10'000'000; late -= 5'000'000)
        ++coarse.at(hk::coarseLatenessBucket(late, 10'000'000, coarse.size()));
    const hk::TickLateness stall = hk::summariseLateness(fine, coarse, 21'000'000'000, 4198);
    EXPECT_EQ(stall.ticks, 500u + 4199u);
    const double middle = 10e6 + 1849 * 5e6;  // the 2350th tick: the stall's 1850th from the least late
    EXPECT_GE(double(stall.p50Ns), middle);
    EXPECT_LE(double(stall.p50Ns), middle * 1.045);
    EXPECT_GE(stall.p99Ns, 10'000'000u + 4152u * 5'000'000u);  // the 4653rd
    EXPECT_LE(stall.p99Ns, 21'000'000'000u);
    // The bucket edges: 10 ms and a hair less than an octave above it.
    EXPECT_EQ(hk::coarseLatenessBucket(10'000'000, 10'000'000, 100), 0u);
    EXPECT_EQ(hk::coarseLatenessBucket(19'999'999, 10'000'000, 100), 15u);
    EXPECT_EQ(hk::coarseLatenessBucket(20'000'000, 10'000'000, 100), 16u);
    EXPECT_EQ(hk::coarseLatenessBucket(1'000'000'000'000, 10'000'000, 100), 99u);
    EXPECT_EQ(hk::coarseLatenessBucket(9'999'999, 10'000'000, 100), 0u);
    EXPECT_EQ(hk::coarseLatenessBucket(1'000'000'000'000, 10'000'000, 0), 0u);  // no coarse buckets
}

// A task's error number is its own; outside a task it is the thread's.
TEST_F(KernelEdges, ErrorNumberOfATaskAndOfTheThread) {
    errnoSet(EINTR);
    EXPECT_EQ(errno, EINTR);
    EXPECT_EQ(errnoGet(), EINTR);
    int atStart = -1, inside = 0, afterDelay = 0;
    hk::runTask([&] {
        atStart = errnoGet();  // a new task starts with none, whatever the thread holds
        errnoSet(0x1234);
        errno = 0;
        inside = errnoGet();
        taskDelay(1);
        afterDelay = errnoGet();
    });
    EXPECT_EQ(atStart, 0);
    // An interrupt handler served while the CPU idles has the CPU thread's.
    int inHandler = 0;
    hk::postInterrupt([&] {
        errnoSet(77);
        inHandler = errnoGet();
    });
    hk::runTicks(1);
    EXPECT_EQ(inHandler, 77);
    EXPECT_EQ(inside, 0x1234);
    EXPECT_EQ(afterDelay, 0x1234);
    EXPECT_EQ(errnoGet(), errno);
}

// Each task keeps its own floating-point rounding mode (the SSE and the x87
// control words) while another task runs with another.
int otherTasksMode = -1;
long roundDownward(long, long, long, long, long, long, long, long, long, long) {
    otherTasksMode = std::fegetround();  // a new task starts with the default
    std::fesetround(FE_DOWNWARD);
    taskDelay(2);
    return 0;
}

TEST_F(KernelEdges, EachTaskKeepsItsOwnRoundingMode) {
    int before = -1, after = -1;
    volatile double third = 0.0;
    hk::runTask([&] {
        std::fesetround(FE_UPWARD);
        taskSpawn("tDown", 50, 0, 8192, roundDownward, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
        before = std::fegetround();
        taskDelay(1);  // the other task runs, and is still delayed when this one goes on
        after = std::fegetround();
        volatile double one = 1.0, three = 3.0;
        third = one / three;
        std::fesetround(FE_TONEAREST);
    });
    EXPECT_EQ(otherTasksMode, FE_TONEAREST);
    EXPECT_EQ(before, FE_UPWARD);
    EXPECT_EQ(after, FE_UPWARD);
    EXPECT_GT(third, 1.0 / 3.0);  // rounded up
    EXPECT_EQ(std::fegetround(), FE_TONEAREST);
}

// The system partition's figures as set, the largest block cut to what a
// signed 32-bit length holds; any other partition or no place for the
// figures is refused.
TEST_F(KernelEdges, MemoryFiguresOfTheSystemPartitionOnly) {
    const struct {
        unsigned long freeBytes, largest;
        long max;
    } rows[] = {{1000, 600, 600}, {0x90000000ul, 0x7FFFFFFFul, 0x7FFFFFFF}, {0x90000000ul, 0x80000000ul, 0x7FFFFFFF}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.largest);
        hk::setMemoryFigures(r.freeBytes, r.largest);
        MEM_PART_STATS st{};
        ASSERT_EQ(memPartInfoGet(memSysPartId, &st), OK);
        EXPECT_EQ(st.numBytesFree, r.freeBytes);
        EXPECT_EQ(st.maxBlockSizeFree, r.largest);
        EXPECT_EQ(memFindMax(), r.max);
    }
    MEM_PART_STATS st{};
    int other = 0;
    EXPECT_EQ(memPartInfoGet(reinterpret_cast<PART_ID>(&other), &st), ERROR);
    EXPECT_EQ(memPartInfoGet(memSysPartId, nullptr), ERROR);
    hk::clearMemoryFigures();
    ASSERT_EQ(memPartInfoGet(memSysPartId, &st), OK);
    EXPECT_GT(st.numBytesFree, 0u);
    EXPECT_NE(st.numBytesFree, rows[2].freeBytes) << "the host's own figures again";
    EXPECT_GT(memFindMax(), 0);
}

// Lost ticks are reported at most once a second: a second stall soon after
// a reported one waits for the next report, which then holds its ticks.
TEST(KernelEdgesRealTime, LostTicksReportedAtMostOnceASecond) {
    testing::internal::CaptureStderr();
    hk::start(hk::ClockMode::RealTime);
    hk::runTask([] { VKClkConnect([](long) {}, 0); });
    auto stall = [] { hk::runTask([] { std::this_thread::sleep_for(std::chrono::milliseconds(100)); }); };
    auto reports = [](const std::string& console) {
        static const std::regex line("host kernel: ([0-9]+) clock ticks? \\([0-9.]+ s\\) lost before");
        std::vector<uint64_t> n;
        for (std::sregex_iterator it(console.begin(), console.end(), line), end; it != end; ++it)
            n.push_back(std::stoull((*it)[1]));
        return n;
    };
    hk::runTicks(220);  // the gap counts from the last report, not from the start
    // A start reports no tick it did not lose (a loaded host may make it lose some).
    const auto atStart = reports(testing::internal::GetCapturedStderr());
    const uint64_t lostAtStart = hk::lostTicks();
    EXPECT_LE(std::accumulate(atStart.begin(), atStart.end(), uint64_t{0}), lostAtStart);
    testing::internal::CaptureStderr();
    stall();
    hk::runTicks(4);
    stall();
    hk::runTicks(4);
    const auto early = reports(testing::internal::GetCapturedStderr());
    testing::internal::CaptureStderr();
    hk::runTicks(220);  // more than a second after the first report
    const auto later = reports(testing::internal::GetCapturedStderr());
    hk::shutdown();
    EXPECT_LE(early.size(), 1u);  // both stalls within a second
    uint64_t reported = 0;
    for (uint64_t n : early) reported += n;
    for (uint64_t n : later) reported += n;
    EXPECT_GE(reported, 30u);  // at least 15 ticks of each stall, none left out
}

// A task that waits without a time-out for something outside the kernel:
// simulated time runs on tick by tick meanwhile, it does not leap ahead.
TEST_F(KernelEdges, TimeRunsOnTickByTickWhileATaskWaitsForTheOutside) {
    int sp[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, sp), 0);
    ULONG before = 0, after = 0;
    int woke = 0;
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        (void)::write(sp[1], "x", 1);
    });
    hk::runTask([&] {
        before = tickGet();
        woke = hk::waitFd(sp[0], POLLIN, WAIT_FOREVER);
        after = tickGet();
    });
    writer.join();
    EXPECT_NE(woke, 0);
    EXPECT_GE(after, before);
    EXPECT_LT(after - before, 100'000'000u);
    ::close(sp[0]);
    ::close(sp[1]);
}

}  // namespace
