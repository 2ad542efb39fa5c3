// Control of the host kernel: start and stop, clock modes, interrupts from
// host threads, blocking host I/O that gives up the emulated CPU, and the
// hooks tests use to drive simulated time.
//
// One emulated CPU runs all tasks as fibers on one host thread (the CPU
// thread). Exactly one task runs at a time; it gives up the CPU only at a
// kernel call. Other host threads (tests, the loader, device models) reach
// the kernel through the functions below, which are thread-safe; kernel
// calls of vxworks.h made from such a thread run while the CPU is idle.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "host/vxworks.h"

namespace hk {

enum class ClockMode {
    RealTime,   // ticks from absolute monotonic deadlines every 5 ms
    Simulated,  // time jumps to the next tick whenever no task is ready
};

constexpr uint64_t kTickNs = 5'000'000;  // one tick = 5 ms

// Starts the CPU thread. In Simulated mode time advances only up to a limit
// that runFor/runTicks/runTask raise; setFreeRunning() removes the limit.
void start(ClockMode mode);
// Deletes every task, stops the CPU thread and forgets all kernel objects.
void shutdown();
bool running();
ClockMode mode();

// Simulated time: run until `ticks` more ticks have passed and the CPU is idle.
void runTicks(uint64_t ticks);
// Run until no task is ready at the current time (time does not advance).
void runUntilIdle();
// Run (advancing simulated time freely) until pred() holds, checked whenever
// the CPU is idle; gives up after maxTicks. Returns pred().
bool runUntil(const std::function<bool()>& pred, uint64_t maxTicks);
// The same, with pred() checked by the CPU thread itself at each tick's end
// while idle, so that the ticks run without a hand-over between threads
// (many times faster). pred() must only look (read cells, counters): it runs
// inside the kernel, where a kernel call that waits, or I/O with a task of
// the program, would never return. In real time, or with the clock free
// running, it is runUntil.
bool runUntilQuiet(const std::function<bool()>& pred, uint64_t maxTicks);
// Removes the time limit (the loader's free-running simulated clock). With
// simPerWall above 0 simulated time then passes at most that many simulated
// seconds per wall second (1: at wall speed), each tick waiting for its wall
// time; the order of events stays that of simulated time.
void setFreeRunning(double simPerWall = 0.0);

// Spawns `fn` as a task of the given priority and runs the kernel until it
// returns (advancing simulated time as needed); the platform task that calls
// tRGStart/tRGEnd is priority 100. In RealTime mode this blocks in real time.
void runTask(const std::function<void()>& fn, int priority = 100, const char* name = "tPlatform");
// Spawns `fn` as a task without waiting for it.
TASK_ID spawnFunction(const std::function<void()>& fn, int priority, const char* name);

// Current time.
uint64_t nowNs();
// The same while the kernel runs, else 0 (device models that also serve
// tests before the start).
uint64_t nowNsIfRunning();
// Real time: ticks lost since start, those whose deadlines passed while an
// earlier tick was still undelivered (the process was stopped, or the host
// did not run it in time) while a clock hook was connected. Each loss is reported on the console (stderr),
// how many and when, at most once a second.
uint64_t lostTicks();
// Real time: how late the ticks came against their absolute deadlines since
// start (p50 and p99 are upper bounds of their bucket, to the microsecond up
// to 10 ms and to 4.4 % above, never above the maximum), and how many were missed
// (lostTicks). All zero in simulated time.
struct TickLateness {
    uint64_t ticks;
    uint64_t missed;
    uint64_t p50Ns, p99Ns, maxNs;
};
TickLateness tickLateness();
// The same summary of a lateness histogram: fine[b] ticks came b to b+1 µs
// late; above that, coarse[k] ticks came from F x 2^(k/16) to F x 2^((k+1)/16)
// late (F the fine part's end, fine.size() µs), the last coarse bucket
// holding all later ones; maxNs is the latest of all. A quantile is the
// upper bound of its bucket (within a sixteenth of an octave, 4.4 %, above
// the fine part), never above the maximum.
constexpr int kLatenessStepsPerOctave = 16;
constexpr int kLatenessOctaves = 24;  // 10 ms .. 46 h
TickLateness summariseLateness(std::span<const uint64_t> fine, std::span<const uint64_t> coarse, uint64_t maxNs,
                               uint64_t missed);
// The coarse bucket of a lateness at or above fineEndNs, of `buckets`.
size_t coarseLatenessBucket(uint64_t lateNs, uint64_t fineEndNs, size_t buckets);
uint64_t ticks();

// From inside a task: spend `ns` of simulated CPU time (frames that overrun,
// loads that can be measured). Ticks falling inside are delivered on time and
// may preempt the caller. In RealTime mode it busy-waits.
void consumeCpu(uint64_t ns);
// Host monotonic time in ns: the time source of a task's budget of CPU use
// (simulated time stands still while a task runs). Like a target's
// microsecond timer it also counts while more urgent tasks run.
uint64_t hostNowNs();
// Kernel call without effect: delivers pending interrupts and lets a more
// urgent ready task run. Placed between slices and in long loops.
void checkpoint();

// Queues `handler` to run at interrupt level on the CPU (thread-safe, from
// any host thread or from inside the kernel).
void postInterrupt(std::function<void()> handler);

// Board hardware that lives on the tick (a watchdog timer, ...): called at
// interrupt level at every tick, after the clock hook. Set before start.
void setTickObserver(std::function<void()> fn);
// Models of the plant that live on the tick like the board's hardware:
// each runs at interrupt level at every tick, after the tick observer, in
// the order added; they stay across start and shutdown until removed.
// Callable from any host thread and from the CPU. Returns the hook's id.
int addTickHook(std::function<void()> fn);
void removeTickHook(int id);

// Blocks the calling task until `fd` is ready for `events` (poll flags) or
// `timeoutTicks` ticks pass (-1 forever, 0 poll). Returns the revents seen,
// 0 on time-out, -1 when the task was deleted or called outside a task.
// Outside a task it polls the fd directly with the given timeout in real time.
int waitFd(int fd, short events, int timeoutTicks);
// To be called after closing a descriptor that a task may wait for (any
// host thread): the idle loop then looks at the waiters' descriptors anew,
// so that a waiter on a closed descriptor wakes as before.
void descriptorClosed();
// A listening socket that an acceptor looks at every pass (CPU thread, in
// simulated time; otherwise nothing is done): the idle look of every tick
// then looks at it too. listeningQuiet is true while that look found no
// connection waiting on it; the acceptor may then skip its own look. A
// connection that arrives after the look is found by the next one. Any
// close drops every watched socket until watched again.
void watchListening(int fd);
bool listeningQuiet(int fd);

// Overruns: a task that holds the CPU for longer than one tick of host time
// (CPU time of the host, not time it spent preempted; sampled every
// millisecond, so a run is seen from at most a millisecond after its start)
// without a kernel call,
// while a more urgent task is due, is reported on stderr by name and kept
// here; a more urgent task is due when it is ready, or in simulated time
// when the next tick could ready it (a time-out or delay, or suspension
// while a clock hook is connected). Takes the reports kept so far (at most
// 64); start and shutdown leave them for the test that caused them.
std::vector<std::string> takeOverruns();

// True on the host thread that runs the emulated CPU.
bool onCpuThread();
// Called on the CPU thread whenever it is about to let other host threads
// at the kernel (it gives up the kernel's lock, waits for I/O or for time,
// or ends): a model of the board that keeps a lock of its own across its
// accesses gives it up here. Set once, before start.
void setCpuPauseHook(void (*hook)());

// Task inspection for tests.
struct TaskInfo {
    TASK_ID id;
    std::string name;
    int priority;
    std::string status;
    size_t stackSize;  // as requested at creation
};
std::vector<TaskInfo> listTasks();

// A trace of scheduling events ("switch <name>", "tick <n>", "spawn <name>
// stack <bytes> priority <p>", ...) for tests of determinism; off unless
// enabled.
void enableTrace(bool on);
std::vector<std::string> takeTrace();
// Appends a line to the trace (from tasks, for tests).
void traceNote(const std::string& text);

// The system memory partition's figures (free bytes, largest free block) as
// the memory queries report them; by default those of the host.
void setMemoryFigures(unsigned long freeBytes, unsigned long largestBlock);
void clearMemoryFigures();

}  // namespace hk
