// OS services over the host kernel: results, conversions and edge cases.
#include <gtest/gtest.h>

#include "host/hostkernel.h"
#include "host/hostclock.h"
#include "platform/TimeSupport.h"
#include "platform/vkos.h"

namespace {

class Vkos : public ::testing::Test {
protected:
    void SetUp() override { hk::start(hk::ClockMode::Simulated); }
    void TearDown() override { hk::shutdown(); }
};

TEST_F(Vkos, SleepsTakeAtLeastOneTickAndRoundDown) {
    hk::runTask([] {
        ULONG t = tickGet();
        VKOS_SleepMillisec(0);
        EXPECT_EQ(tickGet(), t + 1);
        VKOS_SleepMillisec(1);
        EXPECT_EQ(tickGet(), t + 2);
        VKOS_SleepMillisec(9);  // 1.8 ticks -> 1
        EXPECT_EQ(tickGet(), t + 3);
        VKOS_SleepMillisec(200);
        EXPECT_EQ(tickGet(), t + 43);
        VKOS_SleepSeconds(2);
        EXPECT_EQ(tickGet(), t + 443);
    });
}

TEST_F(Vkos, MillisecondConversionsDoNotWrap) {
    // 4,294,967 ms * 200 wraps 32 bits; computed in 64 bits it is 858,993 ticks.
    EXPECT_EQ(VKOS_MsToSleepTicks(4'294'967u), 858'993);
    EXPECT_EQ(VKOS_MsToSleepTicks(0xffffffffu), 858'993'459);
    EXPECT_EQ(VKOS_MsToWaitTicks(-1), WAIT_FOREVER);
    EXPECT_EQ(VKOS_MsToWaitTicks(0), 0);
    EXPECT_EQ(VKOS_MsToWaitTicks(4), 0);  // shorter than a tick: a poll
    EXPECT_EQ(VKOS_MsToWaitTicks(5), 1);
    EXPECT_EQ(VKOS_MsToWaitTicks(0x7fffffff), 429'496'729);
}

TEST_F(Vkos, LongSleepIsCutIntoChunksOfTwoMillionSeconds) {
    // 2,000,001 s: one chunk of 2,000,000 s (400,000,000 ticks at 200 Hz), then 1 s.
    TASK_ID t = hk::spawnFunction([] { VKOS_SleepSeconds(2'000'001u); }, 100, "sleeper");
    hk::runTicks(400'000'000ull - 1);
    EXPECT_EQ(VKOS_GetProcessStatus(t), 1);
    char buf[16];
    taskStatusString(t, buf);
    EXPECT_STREQ(buf, "DELAY");
    hk::runTicks(200);
    EXPECT_EQ(VKOS_GetProcessStatus(t), 1);
    hk::runTicks(1);
    EXPECT_EQ(VKOS_GetProcessStatus(t), 0);
}

TEST_F(Vkos, WaitPollAndForever) {
    hk::runTask([] {
        SEM_ID s = VKOS_CreateSemaphore("s", 0, 10);
        ASSERT_NE(s, 0);
        ULONG t = tickGet();
        EXPECT_EQ(VKOS_WaitSemaphore(s, 0), -1);
        EXPECT_EQ(tickGet(), t);
        EXPECT_EQ(VKOS_WaitSemaphore(s, 50), -1);
        EXPECT_EQ(tickGet(), t + 10);
        hk::spawnFunction([s] {
            VKOS_SleepMillisec(100);
            VKOS_SignalSemaphore(s);
        }, 110, "giver");
        EXPECT_EQ(VKOS_WaitSemaphore(s, -1), 0);
        EXPECT_EQ(tickGet(), t + 30);
        // The maximum is not enforced.
        EXPECT_EQ(VKOS_SignalnSemaphore(s, 12), 1);
        EXPECT_EQ(VKOS_SemaphoreCount(s), 12);
        EXPECT_EQ(VKOS_SignalnSemaphore(s, 0), 1);
        EXPECT_EQ(VKOS_SemaphoreCount(s), 12);
        EXPECT_EQ(VKOS_CloseSemaphore(s), 1);
        SEM_ID one = VKOS_CreateSemaphore("one", 1, 1);
        EXPECT_EQ(VKOS_SemaphoreCount(one), 1);
        EXPECT_EQ(VKOS_CloseSemaphore(one), 1);
        EXPECT_EQ(VKOS_SignalSemaphore(s), 0);
        EXPECT_EQ(VKOS_WaitSemaphore(s, 0), -1);
        EXPECT_EQ(VKOS_OpenSemaphore("s"), 0);
        EXPECT_EQ(VKOS_OpenAndWaitSemaphore("s", 10), -1);
    });
}

TEST_F(Vkos, SemaphoreCountShowsWaiters) {
    SEM_ID s = 0;
    hk::runTask([&] {
        s = VKOS_CreateSemaphore("s", 0, 1);
        EXPECT_EQ(VKOS_SemaphoreCount(s), 0);
        hk::spawnFunction([s] { VKOS_WaitSemaphore(s, -1); }, 90, "w");
        EXPECT_EQ(VKOS_SemaphoreCount(s), -1);
        EXPECT_EQ(VKOS_FlushSemaphore(s), 1);
        EXPECT_EQ(VKOS_SemaphoreCount(s), 0);
    });
}

void selfSuspender(long counter) {
    for (;;) {
        ++*reinterpret_cast<int*>(counter);
        VKOS_SuspendProcess(VKOS_GetCurrentProcessid());
    }
}

TEST_F(Vkos, SuspendAndResumeReportWhetherTheyActed) {
    int passes = 0;
    hk::runTask([&] {
        TASK_ID t = VKOS_CreateProcess(selfSuspender, 4096, 50, "rg", reinterpret_cast<long>(&passes));
        ASSERT_NE(t, 0);
        EXPECT_EQ(passes, 1);                    // more urgent: ran inside the create
        EXPECT_EQ(VKOS_SuspendProcess(t), 0);    // already suspended
        EXPECT_EQ(VKOS_ResumeProcess(t), 1);     // it was waiting: frame finished
        EXPECT_EQ(passes, 2);
        TASK_ID me = VKOS_GetCurrentProcessid();
        EXPECT_EQ(VKOS_ResumeProcess(me), 0);    // running, not suspended
        EXPECT_EQ(VKOS_GetProcessPriority(t), 50);
        EXPECT_EQ(VKOS_SetProcessPriority(t, 60), 1);
        EXPECT_EQ(VKOS_GetProcessPriority(t), 60);
        EXPECT_EQ(VKOS_KillProcess(t), 1);
        EXPECT_EQ(VKOS_GetProcessStatus(t), 0);
        EXPECT_EQ(VKOS_KillProcess(t), 0);
        EXPECT_EQ(VKOS_GetProcessPriority(t), -1);
        EXPECT_EQ(VKOS_CreateProcess(selfSuspender, 4096, 999, "bad", 0), 0);

        // The interrupt-locked forms act alike.
        TASK_ID u = VKOS_CreateProcess(selfSuspender, 4096, 50, "rg1", reinterpret_cast<long>(&passes));
        EXPECT_EQ(passes, 3);
        EXPECT_EQ(VKOS_SuspendProcess1(u), 0);
        EXPECT_EQ(VKOS_ResumeProcess1(u), 1);
        EXPECT_EQ(passes, 4);
        EXPECT_EQ(VKOS_ResumeProcess1(me), 0);
        EXPECT_EQ(VKOS_KillProcess(u), 1);
        EXPECT_EQ(VKOS_TaskLock(), 1);
        EXPECT_EQ(VKOS_TaskUnlock(), 1);
    });
}

TEST_F(Vkos, SuspendOfARunnableTaskStopsIt) {
    int passes = 0;
    hk::runTask([&] {
        TASK_ID t = VKOS_CreateProcess([](long p) { for (;;) ++*reinterpret_cast<int*>(p), taskDelay(1); }, 4096,
                                       150, "loop", reinterpret_cast<long>(&passes));
        taskDelay(3);
        EXPECT_EQ(VKOS_SuspendProcess(t), 1);
        const int stopped = passes;
        taskDelay(5);
        EXPECT_EQ(passes, stopped);
        EXPECT_EQ(VKOS_ResumeProcess(t), 1);
        taskDelay(3);
        EXPECT_GT(passes, stopped);
        EXPECT_EQ(VKOS_SuspendProcess1(t), 1);
        EXPECT_EQ(VKOS_KillProcess(t), 1);
    });
}

TEST_F(Vkos, SleepsInMinutesAndHours) {
    const struct {
        const char* name;
        void (*sleep)();
        uint64_t ticks;
    } cases[] = {
        {"two minutes", [] { VKOS_SleepMinutes(2); }, 2 * 60 * 200},
        {"one hour", [] { VKOS_SleepHours(1); }, 3600 * 200},
        {"no minutes", [] { VKOS_SleepMinutes(0); }, 0},
        {"beyond one chunk of minutes", [] { VKOS_SleepMinutes(30'000'001u); }, 30'000'001ull * 60 * 200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TASK_ID t = hk::spawnFunction(c.sleep, 100, "sleeper");
        if (c.ticks > 0) {
            hk::runTicks(c.ticks - 1);
            EXPECT_EQ(VKOS_GetProcessStatus(t), 1);
        }
        hk::runTicks(1);
        EXPECT_EQ(VKOS_GetProcessStatus(t), 0);
    }
}

TEST_F(Vkos, MicrosecondCounterAddsTheSubSecondSteps) {
    // Each row: ticks of 5 ms run before the read, and the counter's growth.
    const struct {
        uint64_t ticks;
        uint32_t grows;
    } steps[] = {{0, 0}, {1, 5000}, {199, 995000}, {1, 5000}, {200, 0}, {201, 5000}};
    hk::runTask([] { VKOS_ReadClockTime(); });
    for (const auto& st : steps) {
        SCOPED_TRACE(st.ticks);
        hk::runTicks(st.ticks);
        uint32_t before = ClockMicrosecondCounter, now = 0;
        hk::runTask([&] { now = VKOS_ReadClockTime(); });
        EXPECT_EQ(now, ClockMicrosecondCounter);
        EXPECT_EQ(now - before, st.grows);
        EXPECT_EQ(LastClockMicroseconds, static_cast<uint32_t>(hostclock::realtimeNs() % 1'000'000'000 / 1000));
    }
    EXPECT_EQ(ClockResolutionNs, 5'000'000);
}

TEST_F(Vkos, FreeMemoryOfTheSystemPartition) {
    uint32_t avail = 0;
    EXPECT_EQ(VKOS_memAvail(&avail), 0);
    EXPECT_GT(avail, 0u);
}

}  // namespace
