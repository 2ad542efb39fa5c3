// Semantics of the host kernel that the runtime relies on.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <malloc.h>
#include <unistd.h>

#include <gtest/gtest.h>
#if defined(TC_SANITIZE)
// The sanitizer runtime's count of the heap in use (g++ ships no header
// that declares it).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ctime>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "host/hostkernel.h"

namespace {

std::vector<std::string> g_log;
void note(const std::string& s) { g_log.push_back(s); }

class Kernel : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        hk::start(hk::ClockMode::Simulated);
    }
    void TearDown() override { hk::shutdown(); }
};

// A step of a table-driven test: what it does, and what it should leave.
struct Step {
    const char* step;
    std::function<void()> act;
    bool expect;
};

// The trace of scheduling events is kept only while enabled: a program that
// never enables it (the controller) keeps no line of it.
TEST_F(Kernel, TheTraceIsKeptOnlyWhileEnabled) {
    const Step steps[] = {
        {"never enabled", [] {}, false},
        {"enabled", [] { hk::enableTrace(true); }, true},
        {"disabled", [] { hk::enableTrace(false); }, false},
    };
    for (const auto& s : steps) {
        s.act();
        hk::runTask([] { taskDelay(1); });
        EXPECT_EQ(!hk::takeTrace().empty(), s.expect) << s.step;
    }
}

TEST_F(Kernel, GiveOrResumeOfMoreUrgentTaskSwitchesBeforeReturning) {
    hk::runTask([] {
        SEM_ID s = semCCreate(SEM_Q_PRIORITY, 0);
        TASK_ID hi = hk::spawnFunction([s] {
            note("hi waits");
            semTake(s, WAIT_FOREVER);
            note("hi got sem");
            taskSuspend(0);
            note("hi resumed");
        }, 50, "hi");
        // The more urgent new task ran inside spawn.
        note("after spawn");
        semGive(s);
        note("after give");
        EXPECT_EQ(taskResume(0), ERROR);  // a task never resumes itself
        taskResume(hi);
        note("after resume");
        // A less urgent task readied does not run before us.
        hk::spawnFunction([] { note("lo runs"); }, 150, "lo");
        note("after lo spawn");
    });
    hk::runUntilIdle();
    std::vector<std::string> want = {"hi waits", "after spawn", "hi got sem", "after give",
                                     "hi resumed", "after resume", "after lo spawn", "lo runs"};
    EXPECT_EQ(g_log, want);
}

TEST_F(Kernel, PriorityRaisedAboveTheCallerRunsThatTaskAtOnce) {
    hk::runTask([] {
        TASK_ID lo = hk::spawnFunction([] { note("lo runs"); }, 150, "lo");
        note("before raise");
        taskPrioritySet(lo, 50);
        note("after raise");
    }, 100);
    hk::runUntilIdle();
    std::vector<std::string> want = {"before raise", "lo runs", "after raise"};
    EXPECT_EQ(g_log, want);
}

// Priorities 0..255 of a live task are taken; anything else is refused and
// changes nothing.
TEST_F(Kernel, PriorityOfALiveTaskWithinZeroTo255) {
    struct Row { const char* name; bool liveTask; int priority; STATUS result; int after; };
    const Row rows[] = {
        {"lowest number", true, 0, OK, 0},          {"highest number", true, 255, OK, 255},
        {"below the range", true, -1, ERROR, 150},  {"above the range", true, 256, ERROR, 150},
        {"task that is gone", false, 50, ERROR, 150},
    };
    for (const Row& r : rows) {
        STATUS result = OK;
        int after = -1;
        hk::runTask([&] {
            TASK_ID t = hk::spawnFunction([] { taskSuspend(0); }, 150, "waiter");
            TASK_ID target = t;
            if (!r.liveTask) {
                target = hk::spawnFunction([] {}, 50, "gone");
                t = taskNameToId("waiter");
            }
            result = taskPrioritySet(target, r.priority);
            taskPriorityGet(t, &after);
            taskDelete(t);
        }, 100);
        EXPECT_EQ(result, r.result) << r.name;
        EXPECT_EQ(after, r.after) << r.name;
    }
}

// A task is found by its own name only.
TEST_F(Kernel, TaskNameToIdFindsOnlyThatName) {
    hk::runTask([] {
        TASK_ID a = hk::spawnFunction([] { taskSuspend(0); }, 150, "alpha");
        TASK_ID b = hk::spawnFunction([] { taskSuspend(0); }, 150, "beta");
        EXPECT_EQ(taskNameToId("alpha"), a);
        EXPECT_EQ(taskNameToId("beta"), b);
        EXPECT_EQ(taskNameToId("gamma"), TASK_ID(ERROR));
        EXPECT_EQ(taskNameToId(nullptr), TASK_ID(ERROR));
        taskDelete(a);
        taskDelete(b);
    }, 100);
}

// A spawned entry gets its ten arguments in order.
long g_entryArgs[10];
long recordArgs(long a1, long a2, long a3, long a4, long a5, long a6, long a7, long a8, long a9, long a10) {
    const long got[10] = {a1, a2, a3, a4, a5, a6, a7, a8, a9, a10};
    std::copy(got, got + 10, g_entryArgs);
    return 0;
}

TEST_F(Kernel, SpawnedEntryGetsItsArgumentsInOrder) {
    std::fill(g_entryArgs, g_entryArgs + 10, 0L);
    hk::runTask([] {
        EXPECT_NE(taskSpawn("tArgs", 50, 0, 8192, recordArgs, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20), ERROR);
    });
    hk::runUntilIdle();
    const std::vector<long> got(g_entryArgs, g_entryArgs + 10);
    EXPECT_EQ(got, (std::vector<long>{11, 12, 13, 14, 15, 16, 17, 18, 19, 20}));
    // Priorities 0 .. 255 only.
    hk::runTask([] {
        for (int prio : {-1, 256}) EXPECT_EQ(taskSpawn("tBad", prio, 0, 8192, recordArgs, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0), ERROR);
        for (int prio : {0, 255}) EXPECT_NE(taskSpawn("tEdge", prio, 0, 8192, recordArgs, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0), ERROR);
    });
}

// Many tasks, ids far apart and close together: each id names its own task
// until it is deleted, whatever was looked up in between.
TEST_F(Kernel, EveryIdNamesItsTaskAmongMany) {
    std::vector<TASK_ID> ids;
    hk::runTask([&] {
        for (int i = 0; i < 140; ++i) {
            const std::string name = "t" + std::to_string(i);
            ids.push_back(hk::spawnFunction([] { taskSuspend(0); }, 60, name.c_str()));
        }
    });
    hk::runUntilIdle();
    ASSERT_EQ(ids.size(), 140u);
    auto check = [&](size_t i, bool alive) {
        SCOPED_TRACE(i);
        EXPECT_EQ(taskIdVerify(ids[i]), alive ? OK : ERROR);
        const char* name = taskName(ids[i]);
        if (alive) {
            ASSERT_NE(name, nullptr);
            EXPECT_EQ(std::string(name), "t" + std::to_string(i));
        } else {
            EXPECT_EQ(name, nullptr);
        }
    };
    for (int pass = 0; pass < 2; ++pass)
        for (size_t i = 0; i < ids.size(); ++i) check(i, true);
    EXPECT_EQ(taskDelete(ids[3]), OK);
    for (size_t i : {3u, 67u, 131u, 3u}) check(i, i != 3);
    EXPECT_EQ(taskIdVerify(ids.back() + 64), ERROR);  // never made
}

// Id 0 names the caller for most calls, but never verifies as a task id.
TEST_F(Kernel, IdZeroIsNoTaskIdEvenInsideATask) {
    STATUS r = OK;
    hk::runTask([&] { r = taskIdVerify(0); });
    EXPECT_EQ(r, ERROR);
}

TEST_F(Kernel, EqualPrioritiesRoundRobinOnlyAtBlockingCalls) {
    hk::runTask([] {
        hk::spawnFunction([] { note("a1"); taskDelay(0); note("a2"); }, 120, "a");
        hk::spawnFunction([] { note("b1"); taskDelay(0); note("b2"); }, 120, "b");
        note("spawner done");
    }, 100);
    hk::runUntilIdle();
    std::vector<std::string> want = {"spawner done", "a1", "b1", "a2", "b2"};
    EXPECT_EQ(g_log, want);
}

// The choice of the next task among many: most urgent first, then the one
// readied first, whatever the order of creation; a task that stopped being
// ready (suspended, or waiting again) while others ran is chosen again once
// readied anew, also after a change of its priority.
// A task readied after another task of its priority yielded waits for it: a
// give to a task of equal priority does not take the CPU from the giver,
// whether or not the giver yielded before.
TEST_F(Kernel, AGiveToATaskOfEqualPriorityLeavesTheGiverRunningAlsoAfterAYield) {
    for (const bool yield : {false, true}) {
        SCOPED_TRACE(yield ? "after a yield" : "without a yield");
        g_log.clear();
        static SEM_ID sem;
        static bool yieldFirst;
        yieldFirst = yield;
        hk::runTask([] {
            sem = semCCreate(SEM_Q_PRIORITY, 0);
            const TASK_ID y = hk::spawnFunction([] {
                semTake(sem, WAIT_FOREVER);
                note("y");
            }, 100, "y");
            const TASK_ID x = hk::spawnFunction([] {
                if (yieldFirst) taskDelay(0);
                note("x1");
                semGive(sem);
                note("x2");
            }, 100, "x");
            taskDelay(2);
            taskDelete(y);
            taskDelete(x);
            semDelete(sem);
        }, 50, "controller");
        EXPECT_EQ(g_log, (std::vector<std::string>{"x1", "x2", "y"}));
    }
}

TEST_F(Kernel, TheMostUrgentReadyTaskRunsThenTheOneReadiedFirst) {
    struct Step {
        char op;     // 'g' give the worker's semaphore, 's' suspend it, 'r' resume it, 'p' set its priority
        int worker;  // 0 .. 3
        int priority = 0;
    };
    struct Case {
        const char* name;
        std::vector<Step> before;  // while the controller holds the CPU
        std::vector<Step> after;   // after one tick, in which the readied ones ran
        std::vector<std::string> want;
    };
    const Case cases[] = {
        {"readied order among equals", {{'g', 2}, {'g', 0}, {'g', 1}}, {}, {"w2", "w0", "w1"}},
        {"the more urgent first, readied last", {{'g', 1}, {'g', 2}, {'g', 3}}, {}, {"w3", "w1", "w2"}},
        {"suspended while ready, resumed later",
         {{'g', 0}, {'g', 1}, {'s', 0}},
         {{'r', 0}},
         {"w1", "w0"}},
        {"resumed in the same pass keeps its turn", {{'g', 0}, {'s', 0}, {'g', 1}, {'r', 0}}, {}, {"w1", "w0"}},
        {"priority raised while ready", {{'g', 0}, {'g', 1}, {'p', 1, 80}}, {}, {"w1", "w0"}},
        {"priority lowered while ready", {{'g', 3}, {'g', 0}, {'p', 3, 120}}, {}, {"w0", "w3"}},
        {"waiting again, then readied again", {{'g', 1}}, {{'g', 0}, {'g', 1}}, {"w1", "w0", "w1"}},
        {"suspended and readied while suspended", {{'s', 2}, {'g', 2}, {'g', 0}}, {{'r', 2}}, {"w0", "w2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_log.clear();
        static SEM_ID sems[4];
        static TASK_ID workers[4];
        hk::runTask([&c] {
            const int priorities[4] = {100, 100, 100, 90};
            for (int w = 0; w < 4; ++w) {
                sems[w] = semCCreate(SEM_Q_PRIORITY, 0);
                workers[w] = hk::spawnFunction([w] {
                    for (;;) {
                        semTake(sems[w], WAIT_FOREVER);
                        note("w" + std::to_string(w));
                    }
                }, priorities[w], "worker");
            }
            taskDelay(1);  // every worker waits now
            auto apply = [](const std::vector<Step>& steps) {
                for (const Step& s : steps) {
                    if (s.op == 'g') semGive(sems[s.worker]);
                    if (s.op == 's') taskSuspend(workers[s.worker]);
                    if (s.op == 'r') taskResume(workers[s.worker]);
                    if (s.op == 'p') taskPrioritySet(workers[s.worker], s.priority);
                }
            };
            apply(c.before);
            taskDelay(1);
            apply(c.after);
            taskDelay(1);
            for (TASK_ID w : workers) taskDelete(w);
            for (SEM_ID s : sems) semDelete(s);
        }, 50, "controller");
        EXPECT_EQ(g_log, c.want);
    }
}

long g_hookCount = 0;
TASK_ID g_target = 0;
void resumeHook(long) {
    ++g_hookCount;
    if (g_target) taskResume(g_target);
}

TEST_F(Kernel, HandlerReadiedTaskRunsBeforeInterruptedTask) {
    hk::runTask([] {
        g_target = hk::spawnFunction([] {
            for (;;) {
                taskSuspend(0);
                note("urgent @" + std::to_string(tickGet()));
            }
        }, 8, "urgent");
        VKClkConnect(resumeHook, 0);
        hk::spawnFunction([] {
            note("busy start @" + std::to_string(tickGet()));
            hk::consumeCpu(12'000'000);  // 12 ms: ticks 1 and 2 arrive meanwhile
            note("busy end @" + std::to_string(tickGet()));
        }, 120, "busy");
    });
    hk::runTicks(1);
    VKClkDisconnect();
    hk::runTicks(1);
    ASSERT_GE(g_log.size(), 4u);
    EXPECT_EQ(g_log[0], "busy start @0");
    EXPECT_EQ(g_log[1], "urgent @1");
    EXPECT_EQ(g_log[2], "urgent @2");
    EXPECT_EQ(g_log[3], "busy end @2");
}

TEST_F(Kernel, TaskLockHoldsOffTasksButNotInterrupts) {
    hk::runTask([] {
        g_target = hk::spawnFunction([] {
            for (;;) {
                taskSuspend(0);
                note("urgent");
            }
        }, 8, "urgent");
        VKClkConnect(resumeHook, 0);
        long before = g_hookCount;
        taskLock();
        hk::consumeCpu(6'000'000);
        note("locked work done");
        EXPECT_GT(g_hookCount, before);  // the clock interrupt was delivered
        taskUnlock();                    // the readied task runs here
        note("unlocked");
        VKClkDisconnect();
    });
    ASSERT_GE(g_log.size(), 3u);
    EXPECT_EQ(g_log[0], "locked work done");
    EXPECT_EQ(g_log[1], "urgent");
    EXPECT_EQ(g_log[2], "unlocked");
}

TEST_F(Kernel, IntLockDefersInterruptsUntilUnlock) {
    hk::runTask([] {
        VKClkConnect(resumeHook, 0);
        g_target = 0;
        long before = g_hookCount;
        int key = intLock();
        hk::consumeCpu(11'000'000);
        EXPECT_EQ(g_hookCount, before);
        intUnlock(key);
        EXPECT_GT(g_hookCount, before);
        VKClkDisconnect();
    });
}

TEST_F(Kernel, FlushReleasesOnlyPendingTasksAndDeleteFailsWaiters) {
    std::vector<int> results;
    hk::runTask([&] {
        SEM_ID s = semCCreate(SEM_Q_PRIORITY, 0);
        for (int i = 0; i < 2; ++i)
            hk::spawnFunction([&, s] { results.push_back(semTake(s, WAIT_FOREVER)); }, 90, "w");
        EXPECT_EQ(semWaiters(s), 2);
        semFlush(s);
        EXPECT_EQ(semCount(s), 0);
        EXPECT_EQ(results, (std::vector<int>{OK, OK}));
        // A later taker is not released by the earlier flush.
        EXPECT_EQ(semTake(s, NO_WAIT), ERROR);
        hk::spawnFunction([&, s] { results.push_back(semTake(s, WAIT_FOREVER)); }, 90, "w3");
        semDelete(s);
        EXPECT_EQ(results.back(), ERROR);
        EXPECT_EQ(semGive(s), ERROR);
    });
}

TEST_F(Kernel, PollWaitsAndTimeouts) {
    hk::runTask([] {
        SEM_ID s = semCCreate(SEM_Q_PRIORITY, 0);
        ULONG t0 = tickGet();
        EXPECT_EQ(semTake(s, NO_WAIT), ERROR);
        EXPECT_EQ(errnoGet(), S_objLib_OBJ_UNAVAILABLE);
        EXPECT_EQ(tickGet(), t0);
        EXPECT_EQ(semTake(s, 3), ERROR);
        EXPECT_EQ(errnoGet(), S_objLib_OBJ_TIMEOUT);
        EXPECT_EQ(tickGet(), t0 + 3);
        // The shortest time-out, one tick, ends too.
        EXPECT_EQ(semTake(s, 1), ERROR);
        EXPECT_EQ(errnoGet(), S_objLib_OBJ_TIMEOUT);
        EXPECT_EQ(tickGet(), t0 + 4);
        t0 += 1;
        semGive(s);
        semGive(s);
        EXPECT_EQ(semCount(s), 2);
        EXPECT_EQ(semTake(s, NO_WAIT), OK);
        EXPECT_EQ(semTake(s, 5), OK);
        EXPECT_EQ(tickGet(), t0 + 3);
        taskDelay(7);
        EXPECT_EQ(tickGet(), t0 + 10);
    });
}

TEST_F(Kernel, DeletionInEveryState) {
    hk::runTask([] {
        SEM_ID s = semCCreate(SEM_Q_PRIORITY, 0);
        TASK_ID pend = hk::spawnFunction([s] { semTake(s, WAIT_FOREVER); note("pend ran on"); }, 90, "pend");
        TASK_ID delayed = hk::spawnFunction([] { taskDelay(2); note("delay ran on"); }, 90, "delay");
        TASK_ID susp = hk::spawnFunction([] { taskSuspend(0); note("susp ran on"); }, 90, "susp");
        TASK_ID ready = hk::spawnFunction([] { note("ready ran"); }, 110, "ready");
        TASK_ID pendSusp = hk::spawnFunction([s] { semTake(s, 10); note("ps ran on"); }, 90, "ps");
        taskSuspend(pendSusp);
        char buf[16];
        taskStatusString(susp, buf);
        EXPECT_STREQ(buf, "SUSPEND");
        taskStatusString(pend, buf);
        EXPECT_STREQ(buf, "PEND");
        taskStatusString(delayed, buf);
        EXPECT_STREQ(buf, "DELAY");
        taskStatusString(ready, buf);
        EXPECT_STREQ(buf, "READY");
        for (TASK_ID t : {pend, delayed, susp, ready, pendSusp}) {
            EXPECT_EQ(taskDelete(t), OK);
            EXPECT_EQ(taskIdVerify(t), ERROR);
            EXPECT_EQ(taskDelete(t), ERROR);
        }
        EXPECT_EQ(semWaiters(s), 0);
        semGive(s);
        EXPECT_EQ(semCount(s), 1);  // nobody was left waiting
        taskDelay(20);
        TASK_ID self = hk::spawnFunction([] { note("self before"); taskDelete(0); note("never"); }, 80, "self");
        EXPECT_EQ(taskIdVerify(self), ERROR);
    });
    EXPECT_EQ(g_log, (std::vector<std::string>{"self before"}));
}

TEST_F(Kernel, ResumeIsNotCountedAndSuspendedPendKeepsSuspension) {
    hk::runTask([] {
        SEM_ID s = semCCreate(SEM_Q_PRIORITY, 0);
        TASK_ID t = hk::spawnFunction([s] {
            semTake(s, WAIT_FOREVER);
            note("got");
            taskSuspend(0);
            note("resumed");
        }, 90, "t");
        taskResume(t);  // not suspended: nothing remembered
        taskSuspend(t);
        semGive(s);  // the pend ends, but the task stays suspended
        EXPECT_TRUE(g_log.empty());
        EXPECT_TRUE(taskIsSuspended(t));
        taskResume(t);
        EXPECT_EQ(g_log, (std::vector<std::string>{"got"}));
        taskResume(t);
        EXPECT_EQ(g_log.back(), "resumed");
    });
}

TEST_F(Kernel, PostedInterruptRunsAtInterruptLevelFromAnotherThread) {
    bool inIrq = false;
    TASK_ID waiter = 0;
    SEM_ID s = 0;
    hk::runTask([&] {
        s = semCCreate(SEM_Q_PRIORITY, 0);
        waiter = hk::spawnFunction([&] { semTake(s, WAIT_FOREVER); note("woken"); }, 60, "waiter");
    });
    std::thread other([&] {
        hk::postInterrupt([&] {
            inIrq = intContext();
            semGive(s);
        });
    });
    other.join();
    hk::runUntilIdle();
    EXPECT_TRUE(inIrq);
    EXPECT_EQ(g_log, (std::vector<std::string>{"woken"}));
}

// An interrupt taken at a task's kernel call that readies a more urgent task
// runs to its end before that task gets the CPU. There a take only polls:
// the task it interrupted never waits for it.
TEST_F(Kernel, InterruptTakenInATaskRunsToItsEndBeforeTheTaskItReadies) {
    hk::runTask([] {
        SEM_ID s = semCCreate(SEM_Q_PRIORITY, 0);
        SEM_ID empty = semCCreate(SEM_Q_PRIORITY, 0);
        hk::spawnFunction([s] { semTake(s, WAIT_FOREVER), note("urgent runs"); }, 50, "urgent");
        hk::postInterrupt([s, empty] {
            note(semTake(empty, WAIT_FOREVER) == ERROR ? "take refused" : "took");
            semGive(s);
            note("handler ends");
        });
        hk::checkpoint();
        note("task goes on");
    }, 150);
    EXPECT_EQ(g_log, (std::vector<std::string>{"take refused", "handler ends", "urgent runs", "task goes on"}));
}

TEST_F(Kernel, NamesPrioritiesAndStatusTexts) {
    hk::runTask([] {
        SEM_ID s = semCCreate(SEM_Q_PRIORITY, 0);
        TASK_ID pend = hk::spawnFunction([s] { semTake(s, WAIT_FOREVER); }, 90, "tPend");
        TASK_ID pendT = hk::spawnFunction([s] { semTake(s, 50); }, 90, "tPendT");
        TASK_ID delay = hk::spawnFunction([] { taskDelay(50); }, 90, "tDelay");
        TASK_ID ready = hk::spawnFunction([] { note("ready ran"); }, 200, "tReady");
        const struct {
            TASK_ID task;
            const char* plain;
            const char* suspended;
        } rows[] = {{pend, "PEND", "PEND+S"}, {pendT, "PEND+T", "PEND+S+T"}, {delay, "DELAY", "DELAY+S"},
                    {ready, "READY", "SUSPEND"}};
        for (const auto& r : rows) {
            char buf[16];
            ASSERT_EQ(taskStatusString(r.task, buf), OK);
            EXPECT_STREQ(buf, r.plain);
            EXPECT_EQ(taskIsReady(r.task), std::string(r.plain) == "READY") << r.plain;
            taskSuspend(r.task);
            taskStatusString(r.task, buf);
            EXPECT_STREQ(buf, r.suspended);
            EXPECT_TRUE(taskIsSuspended(r.task));
            EXPECT_FALSE(taskIsReady(r.task));
            taskResume(r.task);
        }
        EXPECT_EQ(taskNameToId("tDelay"), delay);
        EXPECT_EQ(taskNameToId("nobody"), ERROR);
        EXPECT_EQ(taskNameToId(nullptr), ERROR);
        EXPECT_STREQ(taskName(pend), "tPend");
        EXPECT_EQ(taskName(999999), nullptr);
        for (int prio : {0, 255}) {
            EXPECT_EQ(taskPrioritySet(pend, prio), OK);
            int got = -1;
            EXPECT_EQ(taskPriorityGet(pend, &got), OK);
            EXPECT_EQ(got, prio);
        }
        EXPECT_TRUE(g_log.empty());
        EXPECT_EQ(taskPrioritySet(ready, 10), OK);  // more urgent than this task now: it runs at once
        EXPECT_EQ(g_log, std::vector<std::string>{"ready ran"});
        EXPECT_EQ(taskPrioritySet(pend, -1), ERROR);
        EXPECT_EQ(taskPrioritySet(pend, 256), ERROR);
        EXPECT_EQ(taskPriorityGet(pend, nullptr), ERROR);
        EXPECT_EQ(taskSpawn("bad", 256, 0, 4096, nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0), ERROR);
        EXPECT_EQ(taskSpawn("bad", -1, 0, 4096, nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0), ERROR);
        for (TASK_ID t : {pend, pendT, delay}) taskDelete(t);
        // Ids that name no semaphore.
        EXPECT_EQ(semCount(12345), -1);
        EXPECT_EQ(semGive(12345), ERROR);
        EXPECT_EQ(semFlush(12345), ERROR);
        EXPECT_EQ(semDelete(12345), ERROR);
        EXPECT_EQ(semTake(12345, 0), ERROR);
        EXPECT_EQ(errnoGet(), S_objLib_OBJ_ID_ERROR);
        EXPECT_EQ(semCCreate(SEM_Q_PRIORITY, -1), 0);
    });
}

TEST_F(Kernel, WaitersAreServedMostUrgentFirstThenInArrivalOrder) {
    hk::runTask([] {
        SEM_ID s = semCCreate(SEM_Q_PRIORITY, 0);
        const std::pair<const char*, int> waiters[] = {{"b60", 60}, {"a80", 80}, {"c60", 60}, {"d40", 40}};
        for (auto [name, prio] : waiters) {
            std::string n = name;
            hk::spawnFunction([s, n] { semTake(s, WAIT_FOREVER), note(n); }, prio, name);
        }
        EXPECT_EQ(semWaiters(s), 4);
        for (int i = 0; i < 4; ++i) semGive(s);
    }, 100);
    EXPECT_EQ(g_log, (std::vector<std::string>{"d40", "b60", "c60", "a80"}));
}

TEST_F(Kernel, RunUntilGivesUpAfterItsTicks) {
    // The condition checked by the caller, and by the CPU itself: the same
    // ticks run, and it stops at the first tick the condition holds.
    using Until = bool (*)(const std::function<bool()>&, uint64_t);
    for (Until until : {Until{hk::runUntil}, Until{hk::runUntilQuiet}}) {
        const uint64_t t0 = hk::ticks();
        bool flag = false;
        hk::spawnFunction([&] { taskDelay(7), flag = true; }, 100, "setter");
        EXPECT_FALSE(until([&] { return flag; }, 5));
        EXPECT_EQ(hk::ticks() - t0, 5u);
        EXPECT_TRUE(until([&] { return flag; }, 5));
        EXPECT_EQ(hk::ticks() - t0, 7u);
        EXPECT_TRUE(until([&] { return flag; }, 5));
        EXPECT_EQ(hk::ticks() - t0, 7u);
    }
}

TEST_F(Kernel, WaitOnADescriptorEndsWhenReadableOrAtItsTicks) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    int r = -9;
    uint64_t t0 = hk::ticks();
    hk::runTask([&] { r = hk::waitFd(fds[0], POLLIN, 4); });
    EXPECT_EQ(r, 0);
    EXPECT_EQ(hk::ticks() - t0, 4u);
    hk::runTask([&] { r = hk::waitFd(fds[0], POLLIN, 0); });
    EXPECT_EQ(r, 0);
    ASSERT_EQ(::write(fds[1], "x", 1), 1);
    t0 = hk::ticks();
    hk::runTask([&] { r = hk::waitFd(fds[0], POLLIN, -1); });
    EXPECT_EQ(r & POLLIN, POLLIN);
    EXPECT_EQ(hk::ticks(), t0);
    // From outside a task the descriptor is polled directly.
    EXPECT_EQ(hk::waitFd(fds[0], POLLIN, 1), POLLIN);
    char c;
    ASSERT_EQ(::read(fds[0], &c, 1), 1);
    EXPECT_EQ(hk::waitFd(fds[0], POLLIN, 0), 0);
    ::close(fds[0]);
    ::close(fds[1]);
}

// A waiter wakes in the tick in which its descriptor becomes ready, not
// later: time passes tick by tick while another task makes it ready.
struct Wake {
    uint64_t tick = 0;
    int revents = -9;
};

TEST_F(Kernel, WaitersWakeInTheTickTheirDescriptorBecomesReady) {
    // Two waiters on one end of a stream pair, for reading and for room to
    // write (its buffer filled first), each woken by what the peer does:
    // either may be the first, while the other still waits.
    for (const bool dataFirst : {false, true}) {
        SCOPED_TRACE(dataFirst ? "data first" : "room first");
        int sp[2];
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, sp), 0);
        int small = 4096;
        ::setsockopt(sp[0], SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
        char block[4096] = {};
        while (::write(sp[0], block, sizeof block) > 0) {
        }
        Wake reader, writer;
        const uint64_t t0 = hk::ticks();
        hk::spawnFunction([&] { reader.revents = hk::waitFd(sp[0], POLLIN, -1), reader.tick = hk::ticks() - t0; }, 60,
                          "reader");
        hk::spawnFunction([&] { writer.revents = hk::waitFd(sp[0], POLLOUT, -1), writer.tick = hk::ticks() - t0; }, 60,
                          "writer");
        hk::spawnFunction([&] {
            auto drain = [&] {
                while (::read(sp[1], block, sizeof block) > 0) {
                }
            };
            auto data = [&] { ASSERT_EQ(::write(sp[1], "x", 1), 1); };
            taskDelay(4);
            dataFirst ? data() : drain();
            taskDelay(5);
            dataFirst ? drain() : data();
        }, 50, "peer");
        hk::runTicks(40);
        EXPECT_EQ(writer.tick, dataFirst ? 9u : 4u);
        EXPECT_EQ(writer.revents & POLLOUT, POLLOUT);
        EXPECT_EQ(reader.tick, dataFirst ? 4u : 9u);
        EXPECT_EQ(reader.revents & POLLIN, POLLIN);
        ::close(sp[0]);
        ::close(sp[1]);
    }
}

// More descriptors ready at once than one look takes in (watched listening
// sockets with connections waiting): a waiter whose descriptor becomes ready
// among them still wakes in that tick.
TEST_F(Kernel, AWaiterWakesInItsTickAmongManyReadyDescriptors) {
    std::vector<int> fds;
    for (int i = 0; i < 8; ++i) {
        const int l = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        ASSERT_EQ(::bind(l, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        ASSERT_EQ(::listen(l, 4), 0);
        ASSERT_EQ(::getsockname(l, reinterpret_cast<sockaddr*>(&a), &len), 0);
        fds.push_back(l);
        fds.push_back(::socket(AF_INET, SOCK_STREAM, 0));
        ASSERT_EQ(::connect(fds.back(), reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        hk::runTask([l] { hk::watchListening(l); });
    }
    int p[2];
    ASSERT_EQ(::pipe(p), 0);
    Wake w;
    const uint64_t t0 = hk::ticks();
    hk::spawnFunction([&] { w.revents = hk::waitFd(p[0], POLLIN, -1), w.tick = hk::ticks() - t0; }, 60, "waiter");
    hk::spawnFunction([&] { taskDelay(4), (void)!::write(p[1], "x", 1); }, 50, "peer");
    hk::runTicks(10);
    EXPECT_EQ(w.tick, 4u);
    EXPECT_EQ(w.revents & POLLIN, POLLIN);
    for (int fd : fds) ::close(fd);
    ::close(p[0]), ::close(p[1]);
}

// A descriptor closed and opened again under the same number, and one closed
// while a task waits for it.
TEST_F(Kernel, WaitsSeeADescriptorReplacedOrClosed) {
    int p1[2];
    ASSERT_EQ(::pipe(p1), 0);
    int p2[2] = {-1, -1};
    Wake first, second;
    hk::spawnFunction([&] {
        first.revents = hk::waitFd(p1[0], POLLIN, 3);
        first.tick = hk::ticks();
        ::close(p1[0]);
        ::close(p1[1]);
        if (::pipe(p2) != 0) return;
        second.revents = hk::waitFd(p2[0], POLLIN, -1);
        second.tick = hk::ticks();
    }, 60, "waiter");
    hk::spawnFunction([&] {
        taskDelay(8);
        if (::write(p2[1], "x", 1) != 1) note("write failed");
    }, 50, "peer");
    hk::runTicks(40);
    EXPECT_EQ(first.tick, 3u);
    EXPECT_EQ(first.revents, 0);
    EXPECT_EQ(p2[0], p1[0]);  // the same number again
    EXPECT_EQ(second.tick, 8u);
    EXPECT_EQ(second.revents & POLLIN, POLLIN);
    EXPECT_TRUE(g_log.empty());
    ::close(p2[0]);
    ::close(p2[1]);

    int p3[2];
    ASSERT_EQ(::pipe(p3), 0);
    Wake closed;
    hk::spawnFunction([&] { closed.revents = hk::waitFd(p3[0], POLLIN, -1), closed.tick = hk::ticks(); }, 60,
                      "waiter");
    hk::spawnFunction([&] {
        taskDelay(6);
        ::close(p3[0]);
        hk::descriptorClosed();
    }, 50, "closer");
    const uint64_t t0 = hk::ticks();
    hk::runTicks(40);
    EXPECT_EQ(closed.tick - t0, 6u);
    EXPECT_EQ(closed.revents & POLLNVAL, POLLNVAL);
    ::close(p3[1]);
}

// A watched listening socket is quiet while the idle look of a tick finds
// no connection waiting on it, in simulated time only; any close drops the
// watch until the acceptor watches it again.
TEST_F(Kernel, AWatchedListeningSocketIsQuietOnlyWhileNoConnectionWaits) {
    const int l = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(l, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ASSERT_EQ(::listen(l, 4), 0);
    socklen_t len = sizeof a;
    ASSERT_EQ(::getsockname(l, reinterpret_cast<sockaddr*>(&a), &len), 0);
    // A task waits on a descriptor numbered above the socket meanwhile.
    int p[2];
    ASSERT_EQ(::pipe(p), 0);
    ASSERT_GT(p[0], l);
    hk::spawnFunction([&p] { hk::waitFd(p[0], POLLIN, -1); }, 60, "waiter");
    auto quietAfterALook = [l] {
        hk::runTicks(1);
        bool quiet = false;
        hk::runTask([&] { quiet = hk::listeningQuiet(l); });
        return quiet;
    };
    auto watch = [l] { hk::runTask([l] { hk::watchListening(l); }); };
    std::vector<int> clients;
    auto connectOne = [&] {
        clients.push_back(::socket(AF_INET, SOCK_STREAM, 0));
        ASSERT_EQ(::connect(clients.back(), reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    };
    auto acceptOne = [l] { ::close(::accept(l, nullptr, nullptr)); };
    const Step steps[] = {
        {"not watched", [] {}, false},
        {"watched, nobody waits", watch, true},
        {"a connection waits", connectOne, false},
        {"still waits", [] {}, false},
        {"accepted", acceptOne, true},
        {"a descriptor closed",
         [l] {
             bool quiet = true;
             hk::runTask([&] { hk::descriptorClosed(), quiet = hk::listeningQuiet(l); });
             EXPECT_FALSE(quiet) << "asked before the next look";
         },
         false},
        {"not watched again yet", [] {}, false},
        {"watched again", watch, true},
    };
    for (const auto& s : steps) {
        s.act();
        EXPECT_EQ(quietAfterALook(), s.expect) << s.step;
    }
    hk::shutdown();
    hk::start(hk::ClockMode::RealTime);
    watch();
    EXPECT_FALSE(quietAfterALook()) << "in real time";
    for (int c : clients) ::close(c);
    ::close(l);
    ::close(p[0]);
    ::close(p[1]);
}

TEST_F(Kernel, NestedTaskLocksReleaseAtTheOutermostUnlock) {
    hk::runTask([] {
        g_target = hk::spawnFunction([] {
            for (;;) {
                taskSuspend(0);
                note("urgent");
            }
        }, 8, "urgent");
        taskLock();
        taskLock();
        taskResume(g_target);
        taskUnlock();
        note("inner unlock");
        taskUnlock();
        note("outer unlock");
    });
    EXPECT_EQ(g_log, (std::vector<std::string>{"inner unlock", "urgent", "outer unlock"}));
}

TEST_F(Kernel, TaskListShowsNamePriorityAndState) {
    TASK_ID t = hk::spawnFunction([] { taskDelay(100); }, 77, "tSleepy");
    hk::runTicks(1);
    bool found = false;
    for (const hk::TaskInfo& i : hk::listTasks()) {
        if (i.id != t) continue;
        found = true;
        EXPECT_EQ(i.name, "tSleepy");
        EXPECT_EQ(i.priority, 77);
        EXPECT_EQ(i.status, "DELAY");
    }
    EXPECT_TRUE(found);
}

std::vector<std::string> scenario() {
    hk::start(hk::ClockMode::Simulated);
    hk::enableTrace(true);
    hk::runTask([] {
        g_target = hk::spawnFunction([] {
            for (;;) {
                taskSuspend(0);
                hk::consumeCpu(300'000);
            }
        }, 8, "mc");
        VKClkConnect(resumeHook, 0);
        for (int i = 0; i < 3; ++i)
            hk::spawnFunction([i] {
                for (int k = 0; k < 5; ++k) {
                    hk::consumeCpu(1'000'000 * (i + 1));
                    taskDelay(i + 1);
                }
            }, 20 + i, "w");
    });
    hk::runTicks(40);
    auto t = hk::takeTrace();
    hk::shutdown();
    return t;
}

TEST(KernelDeterminism, SameScenarioSameTrace) {
    auto a = scenario();
    auto b = scenario();
    EXPECT_GT(a.size(), 50u);
    EXPECT_EQ(a, b);
}

// While a task waits without a time-out and only another host thread will
// end the wait, simulated time goes on tick by tick: there is no time-out to
// skip to.
TEST_F(Kernel, WithNoTimeOutToSkipToTimeGoesOnTickByTick) {
    int p[2];
    ASSERT_EQ(pipe(p), 0);
    std::thread writer([&] {
        // Once time has gone on a few ticks (the count only grows; a word
        // read as the CPU thread writes it), give the reader a byte.
        while (hk::ticks() < 3) std::this_thread::yield();
        const char c = 'x';
        EXPECT_EQ(write(p[1], &c, 1), 1);
    });
    int revents = 0;
    hk::runTask([&] { revents = hk::waitFd(p[0], POLLIN, -1); }, 100, "reader");
    writer.join();
    EXPECT_EQ(revents & POLLIN, POLLIN);
    EXPECT_GE(hk::ticks(), 3u);
    EXPECT_LT(hk::ticks(), uint64_t{1} << 40);
    close(p[0]);
    close(p[1]);
}

// A stop while the clock runs freely leaves no tick over for the next
// start: that one begins at tick 0, time 0, again and again.
TEST(KernelRestart, AStartAfterAFreeRunningStopBeginsAtTickZero) {
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        hk::start(hk::ClockMode::Simulated);
        hk::runUntilIdle();
        EXPECT_EQ(hk::ticks(), 0u);
        EXPECT_EQ(hk::nowNs(), 0u);
        hk::runTicks(2);
        EXPECT_EQ(hk::ticks(), 2u);
        hk::setFreeRunning();
        hk::runTask([] { taskDelay(50); });  // returns with the clock still running
        // Free running, time goes on with nobody raising a limit (the count
        // only grows; a word read as the CPU thread writes it).
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (hk::ticks() < 1000 && std::chrono::steady_clock::now() < giveUp) std::this_thread::yield();
        EXPECT_GE(hk::ticks(), 1000u);
        hk::shutdown();
    }
}

TEST_F(Kernel, RunTicksAdvancesSimulatedTimeExactly) {
    EXPECT_EQ(hk::ticks(), 0u);
    hk::runTicks(10);
    EXPECT_EQ(hk::ticks(), 10u);
    EXPECT_EQ(hk::nowNs(), 10 * hk::kTickNs);
    EXPECT_EQ(VKGetTimer(), 50'000u);
    EXPECT_EQ(sysClkRateGet(), 200);
}

TEST(KernelRealTime, TicksFollowTheWallClock) {
    hk::start(hk::ClockMode::RealTime);
    auto t0 = std::chrono::steady_clock::now();
    hk::runTicks(20);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_GE(ms, 90);
    EXPECT_GE(hk::ticks(), 20u);
    EXPECT_GT(hk::tickLateness().maxNs, 0u);
    // Waiting for a condition follows the wall clock as well.
    bool flag = false;
    hk::spawnFunction([&] { taskDelay(4), flag = true; }, 100, "setter");
    const uint64_t t1 = hk::ticks();
    EXPECT_TRUE(hk::runUntilQuiet([&] { return flag; }, 400));
    EXPECT_GE(hk::ticks() - t1, 4u);
    hk::shutdown();
    // A new start forgets the last run's lateness (unless a tick of its own
    // came before the look).
    hk::start(hk::ClockMode::RealTime);
    const hk::TickLateness fresh = hk::tickLateness();
    if (fresh.ticks == 0) {
        EXPECT_EQ(fresh.maxNs, 0u);
    }
    hk::shutdown();
}

// A CPU thread that the host does not run for 100 ms (here: a task that
// sleeps on the host without a kernel call) finds 20 ticks due at once; the
// master clock would run one pass for them: the others are lost, counted and
// reported on the console with how many and when.
TEST(KernelRealTime, TicksLostWhileTheProcessDidNotRunAreReported) {
    hk::start(hk::ClockMode::RealTime);
    hk::runTask([] { VKClkConnect([](long) {}, 0); });
    testing::internal::CaptureStderr();
    hk::runTask([] { std::this_thread::sleep_for(std::chrono::milliseconds(100)); });
    // Reports come at most once a second: one more second brings out the
    // rest of what a report before the stall held back.
    hk::runTicks(220);
    const std::string console = testing::internal::GetCapturedStderr();
    const uint64_t lost = hk::lostTicks();
    hk::shutdown();
    hk::start(hk::ClockMode::Simulated);
    EXPECT_EQ(hk::lostTicks(), 0u) << "a new start counts afresh";
    hk::shutdown();
    EXPECT_LE(lost, 1000u);
    uint64_t reported = 0;
    const std::regex line("host kernel: ([0-9]+) clock ticks? \\(([0-9.]+) s\\) lost before "
                          "[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2} UTC: the process did not run in time");
    for (std::sregex_iterator it(console.begin(), console.end(), line), end; it != end; ++it) {
        const uint64_t n = std::stoull((*it)[1]);
        EXPECT_DOUBLE_EQ(std::stod((*it)[2]), static_cast<double>(n) * 0.005) << it->str();
        reported += n;
    }
    EXPECT_GE(reported, 15u) << console;  // the stall: 20 ticks due at once
    EXPECT_LE(reported, lost) << console;
}

// ---- overrun reports ---------------------------------------------------------

uint64_t threadCpuNs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1'000'000'000u + static_cast<uint64_t>(ts.tv_nsec);
}

// Busy runs last 40 ms of CPU: the kernel samples runs every millisecond of
// host time, and on a loaded host a sample may come late. Runs that must not
// be reported stay well below a tick, since a loaded host can add a few
// milliseconds between two readings of the CPU clock.
// Spends `ns` of the CPU thread's own CPU time, with a kernel call every
// `checkpointNs` (0: none).
void spinCpu(uint64_t ns, uint64_t checkpointNs) {
    const uint64_t start = threadCpuNs();
    uint64_t last = start;
    for (uint64_t now = start; now - start < ns; now = threadCpuNs()) {
        if (checkpointNs != 0 && now - last >= checkpointNs) {
            hk::checkpoint();
            last = now;
        }
    }
}

// Given: readied by the busy task itself under a task lock before it spins.
enum class Waits { Delay, Forever, Suspended, Given };

struct OverrunCase {
    const char* name;
    hk::ClockMode mode;
    int otherPriority;  // the busy task runs at 120
    Waits waits;
    bool clockHook;
    uint64_t busyNs;
    uint64_t checkpointNs;
    bool reported;
};

void noHook(long) {}

class KernelOverrun : public ::testing::TestWithParam<OverrunCase> {
protected:
    void TearDown() override { hk::shutdown(); }
};

TEST_P(KernelOverrun, BusyTaskIsReportedOnlyWhileMoreUrgentTaskIsDue) {
    const OverrunCase& c = GetParam();
    // Started twice (a start shuts a running kernel down first): the
    // watcher of the second start watches as the first one did.
    hk::start(c.mode);
    hk::start(c.mode);
    hk::takeOverruns();
    hk::runTask([&c] {
        // CPU time the CPU thread used before the run (not reported: a
        // kernel call every millisecond) must not count in the run's report.
        spinCpu(60 * 1'000'000, 1'000'000);
        if (c.clockHook) VKClkConnect(noHook, 0);
        SEM_ID never = semCCreate(SEM_Q_PRIORITY, 0);
        hk::spawnFunction([&c, never] {
            if (c.waits == Waits::Delay) taskDelay(1);
            else if (c.waits == Waits::Forever || c.waits == Waits::Given) semTake(never, WAIT_FOREVER);
            else taskSuspend(0);
        }, c.otherPriority, "other");
        if (c.waits == Waits::Given) taskLock(), semGive(never);
        spinCpu(c.busyNs, c.checkpointNs);
        if (c.waits == Waits::Given) taskUnlock();
    }, 120, "busy");
    std::vector<std::string> reports = hk::takeOverruns();
    if (!c.reported) {
        EXPECT_TRUE(reports.empty()) << reports.front();
        return;
    }
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("task \"busy\" held the CPU"), std::string::npos) << reports[0];
    EXPECT_NE(reports[0].find("while \"other\" was due"), std::string::npos) << reports[0];
    // The run's CPU time: over a tick, and within the host time it held the CPU.
    std::smatch m;
    ASSERT_TRUE(std::regex_search(reports[0], m, std::regex(R"(over ([0-9.]+) ms \(([0-9.]+) ms of CPU time\))")))
        << reports[0];
    const double heldMs = std::stod(m[1]), cpuMs = std::stod(m[2]);
    EXPECT_GT(cpuMs, 5.0) << reports[0];
    EXPECT_LE(cpuMs, heldMs + 0.1) << reports[0];
}

constexpr uint64_t kMs = 1'000'000;
constexpr auto kSim = hk::ClockMode::Simulated;

INSTANTIATE_TEST_SUITE_P(
    Cases, KernelOverrun,
    ::testing::Values(
        OverrunCase{"DelayedUrgentTask", kSim, 50, Waits::Delay, false, 40 * kMs, 0, true},
        OverrunCase{"BelowATickOfCpu", kSim, 50, Waits::Delay, false, 2 * kMs, 0, false},
        OverrunCase{"KernelCallEveryFifthOfATick", kSim, 50, Waits::Delay, false, 40 * kMs, kMs, false},
        OverrunCase{"DelayedTaskLessUrgent", kSim, 150, Waits::Delay, false, 40 * kMs, 0, false},
        OverrunCase{"DelayedTaskOfEqualPriority", kSim, 120, Waits::Delay, false, 40 * kMs, 0, false},
        OverrunCase{"UrgentTaskWaitsWithoutTimeOut", kSim, 50, Waits::Forever, false, 40 * kMs, 0, false},
        OverrunCase{"UrgentTaskReadyUnderTaskLock", kSim, 50, Waits::Given, false, 40 * kMs, 0, true},
        OverrunCase{"SuspendedUrgentTaskWithClockHook", kSim, 50, Waits::Suspended, true, 40 * kMs, 0, true},
        OverrunCase{"SuspendedUrgentTaskWithoutClockHook", kSim, 50, Waits::Suspended, false, 40 * kMs, 0, false},
        // In real time the watcher must itself get the host's CPU to judge:
        // a longer spin leaves it room on a loaded machine.
        OverrunCase{"RealTimeDelayedUrgentTask", hk::ClockMode::RealTime, 50, Waits::Delay, false, 200 * kMs, 0,
                    true}),
    [](const ::testing::TestParamInfo<OverrunCase>& info) { return std::string(info.param.name); });

// A deleted task's stack serves the next task with a stack of the same
// size, whether the task ended or another deleted it; a task with a stack
// of another size gets one of its own.
uintptr_t g_stackAt[4];

long noteStack(long slot, long, long, long, long, long, long, long, long, long) {
    volatile char here = 0;
    g_stackAt[slot] = reinterpret_cast<uintptr_t>(&here);
    return 0;
}

long noteStackAndWait(long slot, long, long, long, long, long, long, long, long, long) {
    noteStack(slot, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    taskSuspend(0);
    return 0;
}

TEST_F(Kernel, ADeletedTasksStackServesOnlyATaskOfTheSameStackSize) {
    hk::runTask([] {
        taskSpawn("ends", 50, 0, 16384, noteStack, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
        taskDelay(1);  // the ended task is gone once the CPU idles
        const TASK_ID waits = taskSpawn("waits", 50, 0, 16384, noteStackAndWait, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
        taskDelete(waits);
        taskSpawn("same", 50, 0, 16384, noteStack, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0);
        taskSpawn("larger", 50, 0, 65536, noteStack, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    }, 100, "main");
    // Locals of two tasks on one stack lie less than a stack apart.
    const auto apart = [](uintptr_t a, uintptr_t b) { return a > b ? a - b : b - a; };
    EXPECT_LT(apart(g_stackAt[1], g_stackAt[0]), 16384u);
    EXPECT_LT(apart(g_stackAt[2], g_stackAt[0]), 16384u);
    EXPECT_GE(apart(g_stackAt[3], g_stackAt[0]), 16384u);
}

// Tasks started and ended over and over (a fuzz target starts one per input,
// the controller restarts its own): once the first few have set up the
// kernel's tables and spare stacks, each ends without leaving memory behind,
// whether it returns, another deletes it or it deletes itself.
size_t heapInUse() {
#if defined(TC_SANITIZE)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

long deleteSelf(long, long, long, long, long, long, long, long, long, long) {
    taskDelete(0);
    return 0;
}

TEST_F(Kernel, TasksStartedAndEndedLeaveNoMemoryBehind) {
    const struct {
        const char* how;
        std::function<void()> round;
    } ways[] = {
        {"returns", [] { hk::runTask([] {}, 100, "returns"); }},
        {"deleted by another", [] {
             hk::runTask([] {
                 const TASK_ID t = taskSpawn("deleted", 120, 0, 8192, noteStackAndWait, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
                 taskDelay(1);
                 EXPECT_EQ(taskDelete(t), OK);
             });
         }},
        {"deletes itself", [] {
             hk::runTask([] {
                 taskSpawn("self", 120, 0, 8192, deleteSelf, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
                 taskDelay(1);
             });
         }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        for (int i = 0; i < 200; ++i) way.round();
        const size_t before = heapInUse();
        for (int i = 0; i < 4000; ++i) way.round();
        const size_t after = heapInUse();
        // A record kept per task would be about 1.5 MB here.
        EXPECT_LT(after, before + 64 * 1024) << "grew by " << static_cast<long>(after) - static_cast<long>(before) << " bytes";
    }
}

// A virtual machine's stop is charged to the thread it interrupts as CPU
// time. The kernel's watcher, stopped with it, takes what the CPU thread was
// charged meanwhile off the run, but only when that is nearly all the time
// it stood. Here the watcher alone is stopped (a signal whose handler sleeps
// 30 ms): a task that spins on through that stop is charged as if stopped
// with the machine, one that ends its run while the watcher stands is not.
std::atomic<bool> g_watcherBack{false};

std::atomic<int64_t> g_watcherBackNs{0};  // steady-clock time the watcher was back

int64_t steadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void holdWatcher(int) {
    timespec d{0, 30'000'000};
    nanosleep(&d, nullptr);
    g_watcherBackNs.store(steadyNs());
    g_watcherBack.store(true);
}

pid_t watcherTid() {
    for (const auto& e : std::filesystem::directory_iterator("/proc/self/task")) {
        std::string comm;
        std::getline(std::ifstream(e.path() / "comm"), comm);
        if (comm == "hk-watcher") return static_cast<pid_t>(std::stol(e.path().filename().string()));
    }
    return 0;
}

// How often the host has put thread `tid` on a CPU so far (the third field
// of its schedstat): a count that grows means the thread ran since.
uint64_t timesRun(pid_t tid) {
    std::ifstream f("/proc/self/task/" + std::to_string(tid) + "/schedstat");
    uint64_t runNs = 0, waitNs = 0, slices = 0;
    f >> runNs >> waitNs >> slices;
    return slices;
}

struct StoppedWatcherCase {
    const char* name;
    uint64_t firstNs;    // spun before the watcher is stopped: the watcher notes the run meanwhile
    bool spinUntilBack;  // the task spins until the watcher is back
    uint64_t thenNs;     // then spins this long (the watcher samples meanwhile) before its next kernel call
    bool reported;
};

class KernelStoppedWatcher : public ::testing::TestWithParam<StoppedWatcherCase> {
protected:
    void TearDown() override { hk::shutdown(); }
};

TEST_P(KernelStoppedWatcher, OnlyTimeSpunWhileTheWatcherRunsIsJudged) {
    const StoppedWatcherCase& c = GetParam();
    hk::start(hk::ClockMode::Simulated);
    const pid_t watcher = watcherTid();
    ASSERT_NE(watcher, 0);
    struct sigaction hold {}, old{};
    hold.sa_handler = holdWatcher;
    sigaction(SIGUSR2, &hold, &old);
    g_watcherBack = false;
    hk::takeOverruns();
    uint64_t stoodNs = 0, spunNs = 0;  // while the watcher stood: host time, and the task's CPU time
    bool noted = true;                 // the host ran the watcher in the run before its stop
    int64_t runEndNs = 0;              // steady-clock time the run's last spin ended
    hk::runTask([&] {
        // More CPU time behind the CPU thread than the watcher's stop lasts,
        // with kernel calls that end each run.
        spinCpu(40 * kMs, kMs);
        hk::spawnFunction([] { taskDelay(1); }, 50, "other");
        // A run to be reported is noted before the watcher stops: on a
        // loaded host the watcher may not get a CPU in the first part of
        // the run, which then goes on until it has (for at most a second).
        const uint64_t runsBefore = timesRun(watcher);
        const auto noteBy = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        spinCpu(c.firstNs, 0);
        while (c.reported && timesRun(watcher) == runsBefore && std::chrono::steady_clock::now() < noteBy) {
        }
        noted = !c.reported || timesRun(watcher) != runsBefore;
        const auto wall0 = std::chrono::steady_clock::now();
        const uint64_t cpu0 = threadCpuNs();
        syscall(SYS_tgkill, getpid(), watcher, SIGUSR2);
        while (c.spinUntilBack && !g_watcherBack.load()) {
        }
        stoodNs = static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                            std::chrono::steady_clock::now() - wall0)
                                            .count());
        spunNs = threadCpuNs() - cpu0;
        spinCpu(c.thenNs, 0);
        runEndNs = steadyNs();
    }, 120, "busy");
    std::vector<std::string> reports = hk::takeOverruns();
    while (!g_watcherBack.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    sigaction(SIGUSR2, &old, nullptr);
    // A task that the host did not run through the watcher's stop was not
    // charged as if stopped with the machine.
    if (!c.reported && c.spinUntilBack && spunNs + kMs < stoodNs)
        GTEST_SKIP() << "the host ran the task for " << spunNs / 1000 << " us of the " << stoodNs / 1000
                     << " us the watcher stood";
    // Nor is a run judged that the watcher never saw before its stop.
    if (!noted) GTEST_SKIP() << "the host did not run the kernel's watcher in the first second of the run";
    if (!c.reported) {
        EXPECT_TRUE(reports.empty()) << reports.front();
        return;
    }
    // The kernel waits 100 ms for the watcher after a run ends and leaves
    // the run unjudged when none comes: a host that kept the watcher off
    // its CPU that long after its stop is not judged either (it is back
    // about 8 ms after the run's end otherwise).
    const int64_t backAfterEndNs = g_watcherBackNs.load() - runEndNs;
    if (reports.empty() && backAfterEndNs > 50 * static_cast<int64_t>(kMs))
        GTEST_SKIP() << "the host ran the kernel's watcher " << backAfterEndNs / 1000
                     << " us after the run ended";
    ASSERT_EQ(reports.size(), 1u) << "the watcher was back " << (g_watcherBackNs.load() - runEndNs) / 1000
                                  << " us after the run ended; the task spun " << spunNs / 1000
                                  << " us while the watcher was being stopped";
    EXPECT_NE(reports[0].find("task \"busy\" held the CPU"), std::string::npos) << reports[0];
}

// Runs that must be reported use more CPU than a hold takes in the
// sanitizer build (four ticks) and, where they end while the watcher stands,
// less than its 30 ms stop.
INSTANTIATE_TEST_SUITE_P(
    Cases, KernelStoppedWatcher,
    ::testing::Values(StoppedWatcherCase{"EndingWhileTheWatcherStands", 4 * kMs, false, 22 * kMs, true},
                      StoppedWatcherCase{"OnlyWhileTheWatcherStood", 3 * kMs / 2, true, 3 * kMs / 2, false},
                      StoppedWatcherCase{"OnAfterTheWatcherIsBack", 3 * kMs / 2, true, 40 * kMs, true}),
    [](const ::testing::TestParamInfo<StoppedWatcherCase>& info) { return std::string(info.param.name); });

// Tick hooks run at interrupt level at every tick in the order added, even
// with nothing else on the tick; one removed (also by a hook, from the CPU)
// runs no more.
TEST(KernelTickHooks, EveryTickInOrderUntilRemoved) {
    g_log.clear();
    hk::start(hk::ClockMode::Simulated);
    int second = 0;
    const int first = hk::addTickHook([] { note(intContext() ? "first" : "first outside"); });
    second = hk::addTickHook([&] {
        note("second " + std::to_string(hk::ticks()));
        if (hk::ticks() == 2) hk::removeTickHook(second);
    });
    hk::runTicks(3);
    hk::removeTickHook(first);
    hk::runTicks(2);
    hk::shutdown();
    EXPECT_EQ(g_log, (std::vector<std::string>{"first", "second 1", "first", "second 2", "first"}));
}

}  // namespace
