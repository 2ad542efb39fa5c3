// The host kernel: one emulated CPU on one host thread. Tasks are fibers
// switched only at kernel calls, scheduled by strict priority
// (lower number first, FIFO among equals by the time they became ready).
// Interrupt handlers (the 5 ms clock hook, posted handlers) run on the CPU
// between tasks, never while the current context holds intLock.
#include "host/hostkernel.h"

#include <poll.h>
#include <pthread.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <limits>
#include <malloc.h>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <utility>

#if defined(TC_SANITIZE)
#include <sanitizer/asan_interface.h>
#include <sanitizer/common_interface_defs.h>
#endif

// Context switch without a system call: saves the callee-saved registers
// and the floating-point control words on the old stack, then restores the
// new stack's.
extern "C" void hk_ctx_switch(void** saveSp, void* newSp);
extern "C" void hk_ctx_start();
asm(R"(
    .text
    .globl hk_ctx_switch
    .type hk_ctx_switch,@function
hk_ctx_switch:
    pushq %rbp
    pushq %rbx
    pushq %r12
    pushq %r13
    pushq %r14
    pushq %r15
    subq $8, %rsp
    stmxcsr (%rsp)
    fnstcw 4(%rsp)
    movq %rsp, (%rdi)
    movq %rsi, %rsp
    ldmxcsr (%rsp)
    fldcw 4(%rsp)
    addq $8, %rsp
    popq %r15
    popq %r14
    popq %r13
    popq %r12
    popq %rbx
    popq %rbp
    ret
    .size hk_ctx_switch,.-hk_ctx_switch
    .globl hk_ctx_start
    .type hk_ctx_start,@function
hk_ctx_start:
    callq *%r13
    ud2
    .size hk_ctx_start,.-hk_ctx_start
    .section .note.GNU-stack,"",@progbits
    .text
)");

namespace hk {
namespace {

enum class Block { None, Pend, Delay, Io };

struct Sem;

struct Task {
    TASK_ID id = 0;
    std::string name;
    int priority = 0;
    bool suspended = false;
    bool dead = false;
    Block block = Block::None;
    uint64_t readySeq = 0;
    bool inReadied = false;  // entered in K.readied
    uint64_t wakeTick = 0;  // 0: no time-out
    Sem* pendSem = nullptr;
    int pendResult = OK;
    int ioFd = -1;
    short ioEvents = 0;
    uint64_t ioWait = 0;  // number of its latest wait for a descriptor
    short ioRevents = 0;
    int intLockDepth = 0;
    int taskLockDepth = 0;
    int errnoValue = 0;
    void* sp = nullptr;         // saved stack pointer while switched out
    void* stackBase = nullptr;  // mmap base, guard page first
    size_t mapSize = 0;
    void* stackLow = nullptr;   // usable stack
    size_t stackSize = 0;
    size_t requestedStack = 0;  // the stack size the creator asked for
    FUNCPTR entry = nullptr;
    long args[10]{};
    std::function<void()> fn;
    bool* doneFlag = nullptr;
};

struct Sem {
    SEM_ID id = 0;
    int count = 0;
    std::deque<Task*> waiters;  // priority order, FIFO within a priority
};

// The lock other host threads take: it announces itself so that a CPU that
// runs without idling (free-running simulated time) hands the lock over.
struct ExtMutex {
    std::mutex* m;
    std::atomic<int>* waiting;
    void lock() {
        waiting->fetch_add(1);
        m->lock();
        waiting->fetch_sub(1);
    }
    void unlock() { m->unlock(); }
};

constexpr size_t kLateFine = 10000;    // 0 .. 10 ms in microseconds
constexpr size_t kLateCoarse = hk::kLatenessOctaves * hk::kLatenessStepsPerOctave + 1;  // then 1/16 octaves
constexpr uint64_t kLateFineEndNs = kLateFine * 1000;

struct Kernel {
    std::mutex big;                     // held by the CPU thread while it runs
    std::atomic<int> extWaiting{0};
    ExtMutex ext{&big, &extWaiting};
    std::condition_variable_any idleCv; // signalled when the CPU goes idle
    bool* untilDone = nullptr;          // simulated time passes until *untilDone
    // A condition the CPU checks itself at each tick's end while idle
    // (runUntilQuiet): the caller waits once, not at every tick.
    struct Until {
        const std::function<bool()>* pred = nullptr;
        uint64_t ticksLeft = 0;
        bool* done = nullptr;
        bool* met = nullptr;
    } until;
    std::thread cpu;
    bool started = false;
    bool stopping = false;
    ClockMode mode = ClockMode::Simulated;

    // Every task until it is reaped: a dead task's record goes with its
    // stack, when the CPU next idles (a program that starts and ends tasks
    // all the time keeps no record of each).
    std::unordered_map<TASK_ID, Task*> tasks;
    // Tasks found lately, by the low bits of their id: a task is looked up
    // at almost every kernel call that names one.
    std::array<Task*, 64> recentTasks{};
    std::vector<Task*> live;  // tasks not dead, in creation order
    // Every ready task, and some that were ready since the last choice: a
    // task becomes ready only through makeReady, which enters it; the
    // choice drops those no longer ready.
    std::vector<Task*> readied;
    std::vector<Task*> zombies;  // dead tasks, reaped when the CPU next idles
    // Stacks of deleted tasks, kept for the next task with a stack of the
    // same size and unmapped at shutdown: an unmap makes the host stop every
    // processor the program's threads ran on to drop the mapping, and on a
    // virtual machine whose processors the host has preempted that holds
    // the CPU thread for milliseconds (a task deleting others held it up to
    // 7 ms on a loaded host).
    struct SpareStack {
        void* base;
        size_t size;
    };
    std::vector<SpareStack> spareStacks;
    std::unordered_map<SEM_ID, Sem*> sems;
    TASK_ID nextTaskId = 0x10000;
    SEM_ID nextSemId = 0x20000;
    uint64_t seq = 0;

    Task* current = nullptr;  // nullptr: the CPU runs its own (idle) context
    // Set when a task may have become a better choice than the running one
    // (readied, its priority or turn changed) since pickNext last chose:
    // while clear, a kernel call of a runnable task keeps the CPU.
    bool choiceStale = true;
    // The last choice found no task ready: while choiceStale stays clear,
    // none is (a task becomes ready only through makeReady).
    bool noneReady = false;
    int irqDepth = 0;         // >0 while an interrupt handler runs
    uint64_t ticksDue = 0;    // ticks to deliver at the next interrupt delivery
    int idleIntLock = 0;
    // The interrupt lock depth of the running context: the current task's,
    // or idleIntLock while none runs.
    int* intLockHere = &idleIntLock;
    void* schedSp = nullptr;
    void* schedStackLow = nullptr;
    size_t schedStackSize = 0;

    uint64_t simNow = 0;      // ns, simulated mode
    uint64_t limitNs = 0;     // simulated time does not pass this while idle
    // A paced simulated clock: simulated time passes no faster than this
    // many simulated seconds per wall second, counted from paceWallNs (host
    // time) and paceSimNs (simulated time) on; 0: as fast as the CPU allows.
    double pacePerWall = 0.0;
    uint64_t paceWallNs = 0, paceSimNs = 0;
    uint64_t tickCount = 0;
    std::chrono::steady_clock::time_point realStart;
    uint64_t nextDeadlineNs = kTickNs;
    // Real time: ticks whose deadlines passed while an earlier tick was
    // still undelivered (the process was stopped or not run in time). They
    // are delivered together, so the master clock runs one pass for them.
    std::atomic<uint64_t> lostTicks{0};
    uint64_t lostUnreported = 0;
    uint64_t lostReportNs = 0;  // host time of the last report
    bool lostReported = false;
    uint64_t lateMaxNs = 0;

    VOIDFUNCPTR clockHook = nullptr;
    long clockArg = 0;
    std::function<void()> tickObserver;
    std::vector<std::pair<int, std::function<void()>>> tickHooks;  // in the order added
    int nextTickHookId = 1;

    std::mutex irqMutex;
    std::deque<std::function<void()>> posted;
    std::atomic<bool> postedFlag{false};
    int wakeFd = -1;
    // The idle loop's poll set, kept between polls (CPU thread only), and
    // built again only when a task began or ended a wait for a descriptor
    // (ioGen grows then) or the kernel started anew.
    std::vector<pollfd> pollFds;
    std::vector<Task*> pollOwners;
    uint64_t ioGen = 0;
    uint64_t pollFdsGen = 0;
    bool pollFdsBuilt = false;
    // The idle loop's look at whether any descriptor may be ready (CPU
    // thread only): an epoll set with the wake-up descriptor and the
    // descriptors the waiters wait on, as they stood when last entered.
    int epollFd = -1;
    // By descriptor: the events of all its waiters and the latest of their
    // waits (ioWait).
    struct IoEntry {
        int fd;
        short events;
        uint64_t wait;
        bool operator<(const IoEntry& o) const { return fd < o.fd; }
    };
    std::vector<IoEntry> entered;
    std::vector<IoEntry> wanted;
    uint64_t enteredIoGen = 0;
    uint64_t ioWaits = 0;
    // Set when a descriptor was closed: the epoll set may have lost it.
    std::atomic<bool> epollStale{false};
    // Listening sockets that an acceptor looks at every pass, kept in the
    // epoll set as well (CPU thread only): in simulated time the idle look,
    // made every tick anyway, tells when no connection waits on one of
    // them, and the acceptor needs no system call of its own then. Quiet
    // holds as of the last idle look. All are dropped when a descriptor
    // was closed (watchStale), and watched again by their acceptors.
    struct Watched {
        int fd;
        bool quiet;
    };
    std::vector<Watched> watched;
    std::atomic<bool> watchStale{false};

    uint64_t idleGen = 0;
    bool idleAtLimit = false;

    bool traceOn = false;
    std::vector<std::string> trace;

    // Overrun watch. The CPU thread counts the runs of tasks (a run ends at
    // a kernel call); a watcher thread samples the count every millisecond
    // of host time and notes the CPU thread's CPU time when it first finds a
    // run going on. A run so noted reads the CPU clock at its end: more
    // than a tick since the note is an overrun. Other kernel calls read no
    // clock.
    std::atomic<uint64_t> runCount{0};
    std::atomic<bool> taskRunning{false};
    std::atomic<uint64_t> seenRun{0};     // the last run a sample found going on
    std::atomic<uint64_t> seenCpuNs{0};   // the CPU thread's CPU time then
    std::atomic<uint64_t> seenWallNs{0};  // and host time
    std::atomic<uint64_t> watchedNs{0};   // host time of the watcher's last sample
    std::thread watcher;
    std::mutex watchMutex;
    std::condition_variable watchCv;
    bool watchStop = false;  // guarded by watchMutex
    std::mutex overrunMutex;
    std::vector<std::string> overruns;  // guarded by overrunMutex

    // Real time: how late each tick came against its deadline, in
    // microsecond buckets up to 10 ms, then in buckets a sixteenth of an
    // octave wide (the last one holds everything later). Last: they are
    // large, and the fields above are used at every kernel call.
    std::array<uint64_t, kLateCoarse> lateCoarse{};
    std::array<uint64_t, kLateFine> lateHist{};
};

Kernel K;
thread_local bool tOnCpu = false;
using PauseHook = void (*)();
constinit PauseHook g_pauseHook = nullptr;

// The CPU thread is about to let other host threads at the kernel.
void pauseCpu() {
    if (g_pauseHook) g_pauseHook();
}

size_t fiberStackSize(size_t requested) {
#if defined(TC_SANITIZE)
    size_t minimum = 2u << 20;
#else
    size_t minimum = 512u << 10;
#endif
    size_t s = std::max(requested, minimum);
    size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    return (s + page - 1) / page * page;
}

uint64_t monoNs() {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                     std::chrono::steady_clock::now() - K.realStart)
                                     .count());
}

uint64_t now() { return K.mode == ClockMode::Simulated ? K.simNow : monoNs(); }

uint64_t clockNs(clockid_t id) {
    timespec ts{};
    clock_gettime(id, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1'000'000'000u + static_cast<uint64_t>(ts.tv_nsec);
}

void wake() {
    if (K.wakeFd >= 0) {
        uint64_t one = 1;
        ssize_t r = write(K.wakeFd, &one, sizeof one);
        (void)r;  // the counter only saturates; a failed write still leaves it readable
    }
}

void traceLine(std::string s) {
    if (K.traceOn) K.trace.push_back(std::move(s));
}

bool runnable(const Task* t) { return t && !t->dead && !t->suspended && t->block == Block::None; }

void makeReady(Task* t) {
    if (runnable(t)) {
        t->readySeq = ++K.seq;
        if (!t->inReadied) {
            t->inReadied = true;
            K.readied.push_back(t);
        }
    }
    K.choiceStale = true;
}

Task* findTask(TASK_ID id) {
    if (id == 0) return K.current;
    Task*& recent = K.recentTasks[static_cast<size_t>(id) % K.recentTasks.size()];
    Task* t = recent;
    if (!t || t->id != id) {
        auto it = K.tasks.find(id);
        if (it == K.tasks.end()) return nullptr;
        t = recent = it->second;
    }
    return t->dead ? nullptr : t;
}

void statusText(const Task* t, char* buf) {
    const char* s = "READY";
    switch (t->block) {
        case Block::None: s = t->suspended ? "SUSPEND" : "READY"; break;
        case Block::Pend: s = t->suspended ? (t->wakeTick ? "PEND+S+T" : "PEND+S") : (t->wakeTick ? "PEND+T" : "PEND"); break;
        case Block::Delay: s = t->suspended ? "DELAY+S" : "DELAY"; break;
        case Block::Io: s = t->suspended ? "PEND+S" : "PEND"; break;
    }
    std::strcpy(buf, s);
}

// The most urgent ready task, the earliest ready among equals.
Task* pickNext() {
    K.choiceStale = false;
    Task* best = nullptr;
    size_t kept = 0;
    for (Task* t : K.readied) {
        if (!runnable(t)) {
            t->inReadied = false;
            continue;
        }
        K.readied[kept++] = t;
        if (!best || t->priority < best->priority || (t->priority == best->priority && t->readySeq < best->readySeq))
            best = t;
    }
    K.readied.resize(kept);
    K.noneReady = best == nullptr;
    return best;
}

void removeFromSem(Task* t) {
    if (t->pendSem) {
        auto& w = t->pendSem->waiters;
        w.erase(std::remove(w.begin(), w.end(), t), w.end());
        t->pendSem = nullptr;
    }
}

// Ends a wait: the task becomes ready unless it is also suspended.
void unblock(Task* t, int result) {
    if (t->block == Block::Io) ++K.ioGen;
    removeFromSem(t);
    t->block = Block::None;
    t->wakeTick = 0;
    t->ioFd = -1;
    t->pendResult = result;
    makeReady(t);
}

void switchContext(void** from, void* to, void* toLow, size_t toSize, bool fromDying) {
#if defined(TC_SANITIZE)
    void* fake = nullptr;
    __sanitizer_start_switch_fiber(fromDying ? nullptr : &fake, toLow, toSize);
    hk_ctx_switch(from, to);
    __sanitizer_finish_switch_fiber(fake, nullptr, nullptr);
#else
    (void)toLow;
    (void)toSize;
    (void)fromDying;
    hk_ctx_switch(from, to);
#endif
}

// Switches from the running context (task `me`, or the idle context when
// nullptr) to `next` (or the idle context when nullptr).
void switchTo(Task* me, Task* next, bool dying = false) {
    static void* discard;
    void** from = me ? (dying ? &discard : &me->sp) : &K.schedSp;
    K.current = next;
    K.intLockHere = next ? &next->intLockDepth : &K.idleIntLock;
    K.taskRunning.store(next != nullptr, std::memory_order_relaxed);
    if (next) {
        if (K.traceOn) traceLine("switch " + next->name + " @" + std::to_string(K.tickCount));
        switchContext(from, next->sp, next->stackLow, next->stackSize, dying);
    } else {
        switchContext(from, K.schedSp, K.schedStackLow, K.schedStackSize, dying);
    }
}

void freeStack(Task* t) {
    if (t->stackBase) {
        K.spareStacks.push_back({t->stackBase, t->mapSize});
        t->stackBase = nullptr;
    }
}

// A stack of `mapSize` bytes, a spare one if there is one, its first page
// the guard page; nullptr when the host has no memory for it.
void* takeStack(size_t mapSize, size_t page) {
    for (size_t i = K.spareStacks.size(); i-- > 0;) {
        if (K.spareStacks[i].size != mapSize) continue;
        void* m = K.spareStacks[i].base;
        K.spareStacks[i] = K.spareStacks.back();
        K.spareStacks.pop_back();
        return m;
    }
    void* m = mmap(nullptr, mapSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (m == MAP_FAILED) return nullptr;
    mprotect(m, page, PROT_NONE);  // guard page below the stack
    return m;
}

// Frees the stacks and records of the dead tasks. Only the idle context
// reaps: no task runs on such a stack then, and no kernel call holds such a
// record (a wait for descriptors looks at its tasks again after the poll).
void reapZombies() {
    for (Task* t : K.zombies) {
        freeStack(t);
        K.tasks.erase(t->id);
        Task*& recent = K.recentTasks[static_cast<size_t>(t->id) % K.recentTasks.size()];
        if (recent == t) recent = nullptr;
        if (t->inReadied) K.readied.erase(std::remove(K.readied.begin(), K.readied.end(), t), K.readied.end());
        delete t;
    }
    K.zombies.clear();
}

void markDead(Task* t) {
    if (t->block == Block::Io) ++K.ioGen;
    removeFromSem(t);
    t->dead = true;
    t->block = Block::None;
    t->ioFd = -1;
    K.live.erase(std::remove(K.live.begin(), K.live.end(), t), K.live.end());
    if (t->doneFlag) {
        *t->doneFlag = true;
        K.idleCv.notify_all();
    }
}

void processTick() {
    ++K.tickCount;
    if (K.traceOn) traceLine("tick " + std::to_string(K.tickCount));
    for (Task* t : K.live) {
        if (t->wakeTick != 0 && t->wakeTick <= K.tickCount && t->block != Block::None) {
            if (t->block == Block::Pend) {
                t->errnoValue = S_objLib_OBJ_TIMEOUT;
                unblock(t, ERROR);
            } else {
                t->ioRevents = 0;
                unblock(t, OK);
            }
        }
    }
    if (K.clockHook) K.clockHook(K.clockArg);
    if (K.tickObserver) K.tickObserver();
    // By index and by copy: a hook may remove itself or another one.
    for (size_t i = 0; i < K.tickHooks.size(); ++i) {
        std::function<void()> hook = K.tickHooks[i].second;
        hook();
    }
    // Only real-time waiters count ticks; in simulated time a waiter wakes
    // when the CPU idles at its limit, and a wake-up per tick would hand the
    // big lock to another host thread and back at every tick.
    if (K.mode == ClockMode::RealTime) K.idleCv.notify_all();
}

void deliverDue();

// Runs due ticks and posted handlers at interrupt level. The caller has
// checked that the current context does not hold intLock. In simulated time
// nothing is due at most kernel calls: that case stays inline.
inline void deliverInterrupts() {
    if (K.irqDepth > 0) return;
    if (K.mode == ClockMode::Simulated && K.ticksDue == 0 && !K.postedFlag.load(std::memory_order_acquire)) return;
    deliverDue();
}

constexpr uint64_t kLostReportGapNs = 1'000'000'000;
// How far (wall time) a paced simulated clock may fall behind its pace and
// still catch up at full speed: beyond it the lost time is dropped.
constexpr uint64_t kPaceCatchUpNs = 20'000'000;

// Counts the ticks of one delivery beyond the first as lost (the clock
// hook runs for each, but the task it readies runs once) and reports them
// on the console, at most once a second (the rest then in the next
// report), with how many and when.
void noteLostTicks(uint64_t due) {
    // Without a clock hook no pass depends on the ticks.
    if (due > 1 && K.clockHook != nullptr) {
        K.lostTicks.fetch_add(due - 1, std::memory_order_relaxed);
        K.lostUnreported += due - 1;
    }
    if (K.lostUnreported == 0) return;
    const uint64_t n = monoNs();
    if (K.lostReported && n - K.lostReportNs < kLostReportGapNs) return;
    const std::time_t wall = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&wall, &utc);
    char when[32];
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &utc);
    std::fprintf(stderr,
                 "host kernel: %llu clock tick%s (%.3f s) lost before %s UTC: the process did not run in time\n",
                 static_cast<unsigned long long>(K.lostUnreported), K.lostUnreported == 1 ? "" : "s",
                 static_cast<double>(K.lostUnreported * kTickNs) / 1e9, when);
    K.lostUnreported = 0;
    K.lostReportNs = n;
    K.lostReported = true;
}

void noteLateness(uint64_t lateNs) {
    const uint64_t us = lateNs / 1000;
    if (us < kLateFine) ++K.lateHist[us];
    else ++K.lateCoarse[coarseLatenessBucket(lateNs, kLateFineEndNs, kLateCoarse)];
    K.lateMaxNs = std::max(K.lateMaxNs, lateNs);
}

void deliverDue() {
    if (K.mode == ClockMode::RealTime) {
        uint64_t n = monoNs();
        while (n >= K.nextDeadlineNs) {
            noteLateness(n - K.nextDeadlineNs);
            ++K.ticksDue;
            K.nextDeadlineNs += kTickNs;
        }
        noteLostTicks(K.ticksDue);
    }
    if (K.ticksDue == 0 && !K.postedFlag.load(std::memory_order_acquire)) return;
    ++K.irqDepth;
    while (K.ticksDue > 0) {
        --K.ticksDue;
        processTick();
    }
    for (;;) {
        std::function<void()> h;
        {
            std::lock_guard<std::mutex> l(K.irqMutex);
            if (K.posted.empty()) {
                K.postedFlag.store(false, std::memory_order_release);
                break;
            }
            h = std::move(K.posted.front());
            K.posted.pop_front();
        }
        h();
    }
    --K.irqDepth;
}


constexpr uint64_t kWatchPeriodNs = 1'000'000;
// A sample later than this past its period means the host did not run the
// watcher. The host may then have stopped the whole machine, and a virtual
// machine's stop is charged to the thread it interrupted as CPU time (on
// the hosts this runs on, stops of 5 to 40 ms, charged in full, come several
// times a minute). A host that merely kept the watcher waiting charges the
// CPU thread only the time it ran, which on a loaded host falls short of
// the gap.
constexpr uint64_t kWatchLateNs = 2'000'000;
// How long a run's end waits for a watcher behind its samples (longer than
// the longest stops seen).
constexpr uint64_t kWatchWaitNs = 100'000'000;
// A run longer than this without a kernel call is an overrun: a tick, or in
// a build instrumented by the address sanitizer, which runs the same code
// several times slower, four ticks, so that the report keeps meaning a run
// that would hold an ordinary build's CPU past a tick.
#if defined(__SANITIZE_ADDRESS__)
constexpr uint64_t kOverrunNs = 4 * kTickNs;
#else
constexpr uint64_t kOverrunNs = kTickNs;
#endif
constexpr size_t kMaxOverrunReports = 64;

// The running task (got) the CPU now: a new run begins.
void markRunStart() { K.runCount.store(K.runCount.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed); }

// The watcher: samples the run count every millisecond of host time and
// notes each run of a task it finds going on. The CPU time the CPU thread
// uses from the note to the run's end leaves out time the host gave to
// other threads and bounds the run's CPU time from below. A sample that
// comes later than kWatchLateNs past its period, with the CPU thread charged
// for nearly all the time since the last sample, is taken for a stop of the
// machine: what the CPU thread was charged since the last sample is taken
// off a run noted before it.
void watchRuns(clockid_t cpuClock) {
    std::unique_lock<std::mutex> l(K.watchMutex);
    uint64_t last = monoNs();
    uint64_t lastUsed = clockNs(cpuClock);
    K.watchedNs.store(last, std::memory_order_release);
    while (!K.watchCv.wait_for(l, std::chrono::nanoseconds(kWatchPeriodNs), [] { return K.watchStop; })) {
        const uint64_t now = monoNs();
        const uint64_t used = clockNs(cpuClock);
        const uint64_t gap = now - last, charged = used - lastUsed;
        last = now;
        lastUsed = used;
        const uint64_t run = K.runCount.load(std::memory_order_relaxed);
        if (K.taskRunning.load(std::memory_order_relaxed)) {
            if (run != K.seenRun.load(std::memory_order_relaxed)) {
                K.seenCpuNs.store(used, std::memory_order_relaxed);
                K.seenWallNs.store(now, std::memory_order_relaxed);
                K.seenRun.store(run, std::memory_order_release);
            } else if (gap > kWatchPeriodNs + kWatchLateNs && charged + kWatchLateNs >= gap) {
                K.seenCpuNs.store(std::min(K.seenCpuNs.load(std::memory_order_relaxed) + charged, used),
                                  std::memory_order_relaxed);
            }
        }
        K.watchedNs.store(now, std::memory_order_release);
    }
}

// The most urgent task more urgent than `me` that is due: ready, or (in
// simulated time, where the clock stands still while a task runs) one that
// the next tick would ready on the target: waiting with a time-out, or
// suspended while a clock hook can resume it.
Task* dueTask(const Task* me) {
    Task* due = nullptr;
    for (Task* t : K.live) {
        if (t == me || t->priority >= me->priority || (due && t->priority >= due->priority)) continue;
        bool isDue = runnable(t);
        if (!isDue && K.mode == ClockMode::Simulated)
            isDue = t->block != Block::None ? t->wakeTick != 0 : (t->suspended && K.clockHook != nullptr);
        if (isDue) due = t;
    }
    return due;
}

// True when the run that ends at this kernel call was noted by the watcher.
bool runNoted() { return K.seenRun.load(std::memory_order_acquire) == K.runCount.load(std::memory_order_relaxed); }

// True when the run used more than a tick of CPU, `used` at its end,
// since its note.
bool overran(uint64_t used) {
    const uint64_t seen = K.seenCpuNs.load(std::memory_order_relaxed);
    return used > seen && used - seen > kOverrunNs;
}

// At the end of a noted run of `me`: reports it when it used more than a
// tick of CPU since the note while a more urgent task is due. A watcher
// behind its samples may not have taken a stop of the machine off the run
// yet: the CPU thread waits for its next sample (it is due at once after
// such a stop) and judges the run after it, or not at all when none comes.
void checkOverrun(const Task* me) {
    const uint64_t used = clockNs(CLOCK_THREAD_CPUTIME_ID);
    if (!overran(used)) return;
    const Task* due = dueTask(me);
    if (!due) return;
    uint64_t now = monoNs();
    for (const uint64_t until = now + kWatchWaitNs;
         now - K.watchedNs.load(std::memory_order_acquire) > kWatchPeriodNs + kWatchLateNs; now = monoNs()) {
        if (now >= until) return;
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    if (!overran(used)) return;
    uint64_t heldNs = now - K.seenWallNs.load(std::memory_order_relaxed);
    char text[256];
    std::snprintf(text, sizeof text,
                  "host kernel: task \"%s\" held the CPU for over %.1f ms (%.1f ms of CPU time) without a kernel "
                  "call while \"%s\" was due",
                  me->name.c_str(), static_cast<double>(heldNs) / 1e6,
                  static_cast<double>(used - K.seenCpuNs.load(std::memory_order_relaxed)) / 1e6, due->name.c_str());
    std::fprintf(stderr, "%s\n", text);
    std::lock_guard<std::mutex> l(K.overrunMutex);
    if (K.overruns.size() < kMaxOverrunReports) K.overruns.emplace_back(text);
}

// A scheduling point inside a task's kernel call.
[[gnu::noinline]] void schedPointFull(Task* me) {
    if (!me || K.irqDepth > 0) return;
    if (me->intLockDepth == 0) deliverInterrupts();
    if (runNoted()) checkOverrun(me);
    if (!runnable(me) || (me->taskLockDepth == 0 && K.choiceStale)) {
        Task* next = pickNext();
        if (next != me) switchTo(me, next);
    }
    markRunStart();
}

// Most scheduling points (every register access is one) find nothing to
// do: no interrupt due, no task readied and no run noted; they only begin a
// new run, without a call.
inline void schedPoint() {
    Task* me = K.current;
    // One test of the conditions that the running context and the kernel
    // keep, then the two that other host threads may set at any time.
    if (me != nullptr &&
        !(((K.irqDepth | me->intLockDepth) != 0) | (K.mode != ClockMode::Simulated) | (K.ticksDue != 0) |
          K.choiceStale | me->dead | me->suspended | (me->block != Block::None)) &&
        !K.postedFlag.load(std::memory_order_acquire) && !runNoted()) {
        markRunStart();
        return;
    }
    schedPointFull(me);
}

// Runs `f` as a kernel call: on the CPU directly (followed by a scheduling
// point), from any other host thread under the big lock while the CPU idles.
template <class F>
auto kcall(F f) {
    if (tOnCpu) {
        auto r = f();
        schedPoint();
        return r;
    }
    std::unique_lock<ExtMutex> l(K.ext);
    auto r = f();
    wake();
    return r;
}

// Runs `f` as a kernel call without a scheduling point (queries, and calls
// that never ready a task): directly on the CPU, from any other host thread
// under the big lock.
template <class F>
auto kquick(F f) {
    if (tOnCpu) return f();
    std::lock_guard<ExtMutex> l(K.ext);
    return f();
}

void fiberMain() {
#if defined(TC_SANITIZE)
    __sanitizer_finish_switch_fiber(nullptr, nullptr, nullptr);
#endif
    Task* me = K.current;
    markRunStart();
    if (me->fn) {
        me->fn();
    } else {
        me->entry(me->args[0], me->args[1], me->args[2], me->args[3], me->args[4], me->args[5],
                  me->args[6], me->args[7], me->args[8], me->args[9]);
    }
    // A task whose entry returns is deleted: its last kernel call.
    if (runNoted()) {
        if (me->intLockDepth == 0) deliverInterrupts();
        checkOverrun(me);
    }
    markDead(me);
    K.zombies.push_back(me);
    switchTo(me, pickNext(), true);
    std::abort();  // never resumed
}

TASK_ID spawnTask(const char* name, int priority, size_t stackSize, FUNCPTR entry, const long* args,
                  std::function<void()> fn, bool* doneFlag) {
    if (!K.started || priority < 0 || priority > 255) return ERROR;
    auto* t = new Task;
    t->id = K.nextTaskId++;
    t->name = name ? name : "";
    t->priority = priority;
    t->entry = entry;
    if (args) std::copy(args, args + 10, t->args);
    t->fn = std::move(fn);
    t->doneFlag = doneFlag;
    t->requestedStack = stackSize;
    size_t size = fiberStackSize(stackSize);
    size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    t->mapSize = size + page;
    void* m = takeStack(t->mapSize, page);
    if (m == nullptr) {
        delete t;
        return ERROR;
    }
    t->stackBase = m;
    t->stackLow = static_cast<char*>(m) + page;
    t->stackSize = size;
#if defined(TC_SANITIZE)
    // The range may have held the stack of a deleted task whose frames were
    // never unwound: clear their red zones.
    __asan_unpoison_memory_region(t->stackLow, size);
#endif
    // Initial frame as hk_ctx_switch leaves it: control words, r15..r12 (r13
    // holds the entry), rbx, rbp, and hk_ctx_start as the return address.
    auto top = reinterpret_cast<uintptr_t>(t->stackLow) + size;
    top &= ~static_cast<uintptr_t>(15);
    auto* frame = reinterpret_cast<uint64_t*>(top - 80);
    uint32_t control[2] = {0x1F80u, 0x037Fu};  // default MXCSR and x87 control word
    std::memcpy(&frame[0], control, sizeof control);
    frame[1] = 0;                                              // r15
    frame[2] = 0;                                              // r14
    frame[3] = reinterpret_cast<uint64_t>(&fiberMain);         // r13
    frame[4] = 0;                                              // r12
    frame[5] = 0;                                              // rbx
    frame[6] = 0;                                              // rbp
    frame[7] = reinterpret_cast<uint64_t>(&hk_ctx_start);      // return address
    t->sp = frame;
    K.tasks[t->id] = t;
    K.live.push_back(t);
    if (K.traceOn)
        traceLine("spawn " + t->name + " stack " + std::to_string(stackSize) + " priority " + std::to_string(priority));
    makeReady(t);
    return t->id;
}

// The epoll set of a start: the wake-up descriptor only. Made once at the
// start and kept, so that it never takes the number of a descriptor that a
// waiter's task closed meanwhile.
void openEpoll() {
    K.entered.clear();
    K.watched.clear();
    K.watchStale = false;
    K.epollStale = true;
    K.epollFd = epoll_create1(EPOLL_CLOEXEC);
    if (K.epollFd < 0) return;
    epoll_event ev{};
    ev.events = EPOLLIN;
    ev.data.fd = K.wakeFd;
    if (epoll_ctl(K.epollFd, EPOLL_CTL_ADD, K.wakeFd, &ev) != 0) {
        close(K.epollFd);
        K.epollFd = -1;
    }
}

Kernel::Watched* findWatched(int fd) {
    for (auto& w : K.watched)
        if (w.fd == fd) return &w;
    return nullptr;
}

std::vector<Kernel::IoEntry>::iterator findEntry(std::vector<Kernel::IoEntry>& v, int fd) {
    auto it = std::lower_bound(v.begin(), v.end(), Kernel::IoEntry{fd, 0, 0});
    return it != v.end() && it->fd == fd ? it : v.end();
}

bool isEntered(int fd) { return findEntry(K.entered, fd) != K.entered.end(); }

// After a close: a watched number may now stand for another socket.
void dropWatched() {
    for (const auto& w : K.watched)
        if (!isEntered(w.fd)) epoll_ctl(K.epollFd, EPOLL_CTL_DEL, w.fd, nullptr);
    K.watched.clear();
}

void setWatchedQuiet(bool quiet) {
    for (auto& w : K.watched) w.quiet = quiet;
}

bool isWanted(int fd) { return findEntry(K.wanted, fd) != K.wanted.end(); }

// Enters the waiters' descriptors (K.wanted) in the epoll set. Anew (after
// a close) every one is entered again and those no longer waited on leave
// the set. Otherwise a descriptor is entered again only for a wait that
// began since it was last entered, so that one closed and opened anew under
// the same number is found; a descriptor whose waits ended stays in the set
// until the next close, and a wait that ends costs no system call. False
// when the set cannot stand for them (then the next idle check polls as
// well).
bool enterWanted(bool anew) {
    if (anew) {
        for (const auto& e : K.entered)
            if (!isWanted(e.fd) && !findWatched(e.fd)) epoll_ctl(K.epollFd, EPOLL_CTL_DEL, e.fd, nullptr);
        K.entered.clear();
    }
    bool all = true;
    for (const auto& w : K.wanted) {
        const short events = static_cast<short>(w.events | (findWatched(w.fd) ? POLLIN : 0));
        auto it = std::lower_bound(K.entered.begin(), K.entered.end(), w);
        const bool known = it != K.entered.end() && it->fd == w.fd;
        if (known && it->events == events && it->wait == w.wait) continue;
        epoll_event ev{};
        ev.events = static_cast<uint32_t>(static_cast<unsigned short>(events));
        ev.data.fd = w.fd;
        if (epoll_ctl(K.epollFd, EPOLL_CTL_MOD, w.fd, &ev) == 0 ||
            (errno == ENOENT && epoll_ctl(K.epollFd, EPOLL_CTL_ADD, w.fd, &ev) == 0)) {
            if (known) *it = {w.fd, events, w.wait};
            else K.entered.insert(it, {w.fd, events, w.wait});
        } else {
            if (known) K.entered.erase(it);
            all = false;  // closed, or a descriptor epoll cannot watch
        }
    }
    return all;
}

// The idle check without a system call per descriptor: false only when no
// descriptor of `fds` (the wake-up descriptor first, then the waiters') can
// be ready. Whenever a wait began or ended since the last look, the
// waiters' descriptors are entered; after a close, entered anew, and the
// caller polls them all.
bool ioMayBeReady(const std::vector<pollfd>& fds, const std::vector<Task*>& owners) {
    if (K.watchStale.load(std::memory_order_acquire) && K.watchStale.exchange(false, std::memory_order_acq_rel))
        dropWatched();
    const bool closed = K.epollStale.load(std::memory_order_acquire) &&
                        K.epollStale.exchange(false, std::memory_order_acq_rel);
    if (closed || K.epollFd < 0 || K.enteredIoGen != K.ioGen) {
        setWatchedQuiet(false);
        K.wanted.clear();
        for (size_t i = 1; i < fds.size(); ++i) K.wanted.push_back({fds[i].fd, fds[i].events, owners[i]->ioWait});
        std::sort(K.wanted.begin(), K.wanted.end());
        // Several waiters on one descriptor: one entry with all their events
        // and the latest of their waits.
        size_t n = 0;
        for (size_t i = 0; i < K.wanted.size(); ++i) {
            if (n > 0 && K.wanted[n - 1].fd == K.wanted[i].fd) {
                K.wanted[n - 1].events = static_cast<short>(K.wanted[n - 1].events | K.wanted[i].events);
                K.wanted[n - 1].wait = std::max(K.wanted[n - 1].wait, K.wanted[i].wait);
            } else {
                K.wanted[n++] = K.wanted[i];
            }
        }
        K.wanted.resize(n);
        K.enteredIoGen = K.ioGen;
        if (K.epollFd < 0 || !enterWanted(closed)) {
            K.epollStale.store(true, std::memory_order_relaxed);
            return true;
        }
        if (closed) return true;
    }
    epoll_event ev[8];
    const int n = epoll_wait(K.epollFd, ev, 8, 0);
    if (n == 0 && K.watched.empty()) return false;
    // Watched sockets are quiet unless reported (in simulated time only: in
    // real time the idle wait that follows does not look at them). A full
    // list may have left some out.
    setWatchedQuiet(n >= 0 && n < 8 && K.mode == ClockMode::Simulated);
    if (n < 0 || n == 8) return true;
    bool waiter = false;
    for (int i = 0; i < n; ++i) {
        const int fd = ev[i].data.fd;
        if (Kernel::Watched* w = findWatched(fd)) w->quiet = false;
        // A descriptor still entered from an ended wait concerns nobody.
        if (fd == K.wakeFd || isWanted(fd)) waiter = true;
    }
    return waiter;
}

bool pollIo(int timeoutMs, const timespec* ts) {
    std::vector<pollfd>& fds = K.pollFds;
    std::vector<Task*>& owners = K.pollOwners;
    if (!K.pollFdsBuilt || K.pollFdsGen != K.ioGen) {
        fds.clear();
        owners.clear();
        fds.push_back({K.wakeFd, POLLIN, 0});
        owners.push_back(nullptr);
        for (Task* t : K.live) {
            if (t->block == Block::Io && t->ioFd >= 0) {
                fds.push_back({t->ioFd, t->ioEvents, 0});
                owners.push_back(t);
            }
        }
        K.pollFdsBuilt = true;
        K.pollFdsGen = K.ioGen;
    } else {
        for (pollfd& p : fds) p.revents = 0;
    }
    if (fds.size() == 1 && K.watched.empty() && timeoutMs == 0 && !ts) return false;
    if (timeoutMs == 0 && !ts && !ioMayBeReady(fds, owners)) return false;
    int r;
    if (ts) {
        pauseCpu();
        K.big.unlock();
        r = ppoll(fds.data(), fds.size(), ts, nullptr);
        K.big.lock();
    } else if (timeoutMs != 0) {
        pauseCpu();
        K.big.unlock();
        r = poll(fds.data(), fds.size(), timeoutMs);
        K.big.lock();
    } else {
        r = poll(fds.data(), fds.size(), 0);
    }
    if (r <= 0) return false;
    bool any = false;
    if (fds[0].revents) {
        uint64_t v;
        ssize_t n = read(K.wakeFd, &v, sizeof v);
        (void)n;
        any = true;
    }
    for (size_t i = 1; i < fds.size(); ++i) {
        Task* t = owners[i];
        if (fds[i].revents && !t->dead && t->block == Block::Io && t->ioFd == fds[i].fd) {
            t->ioRevents = fds[i].revents;
            unblock(t, OK);
            any = true;
        }
    }
    return any;
}

// Idle at the time limit with a condition of runUntilQuiet set: checks it
// as the caller would after each tick. True when one more tick is to run
// (the limit is raised by one); false when it holds or the ticks are spent.
bool untilGoesOn() {
    Kernel::Until& u = K.until;
    const bool met = (*u.pred)();
    if (!met && u.ticksLeft > 0) {
        --u.ticksLeft;
        K.limitNs = std::max(K.simNow, K.limitNs) / kTickNs * kTickNs + kTickNs;
        return true;
    }
    *u.met = met;
    *u.done = true;
    u = {};
    return false;
}

void cpuMain() {
    tOnCpu = true;
    std::unique_lock<std::mutex> lock(K.big);
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) == 0) {
        pthread_attr_getstack(&attr, &K.schedStackLow, &K.schedStackSize);
        pthread_attr_destroy(&attr);
    }
    while (!K.stopping) {
        if (K.extWaiting.load(std::memory_order_relaxed) > 0) {
            pauseCpu();
            lock.unlock();
            while (K.extWaiting.load() > 0) std::this_thread::yield();
            lock.lock();
        }
        if (K.idleIntLock == 0) deliverInterrupts();
        Task* next = K.choiceStale || !K.noneReady ? pickNext() : nullptr;
        if (next) {
            K.idleAtLimit = false;
            switchTo(nullptr, next);
            continue;
        }
        reapZombies();
        // Idle: nothing is ready at the current time.
        if (pollIo(0, nullptr)) continue;
        if (K.mode == ClockMode::Simulated) {
            uint64_t nextTick = (K.tickCount + 1) * kTickNs;
            bool open = K.untilDone && !*K.untilDone;
            if (nextTick <= K.limitNs || open) {
                if (K.pacePerWall > 0.0) {
                    // Not before its wall time: wait for it, or for a wake-up.
                    const uint64_t due = K.paceWallNs + static_cast<uint64_t>(
                        static_cast<double>(nextTick - K.paceSimNs) / K.pacePerWall);
                    const uint64_t n = monoNs();
                    if (n < due) {
                        ++K.idleGen;
                        K.idleCv.notify_all();
                        const uint64_t d = due - n;
                        timespec ts{static_cast<time_t>(d / 1'000'000'000), static_cast<long>(d % 1'000'000'000)};
                        pollIo(0, &ts);
                        continue;
                    }
                    // Far behind its wall time (the host stalled the
                    // process): the time lost is not made up in a burst
                    // that tools attached would see; the pace goes on
                    // from here.
                    if (n - due > kPaceCatchUpNs) {
                        K.paceWallNs = n;
                        K.paceSimNs = K.simNow;
                    }
                } else if (!K.clockHook && !K.tickObserver && K.tickHooks.empty()) {
                    // With no clock hook, ticks only end time-outs: skip to the next one.
                    uint64_t target = open ? std::numeric_limits<uint64_t>::max() : K.limitNs / kTickNs;
                    for (Task* t : K.live)
                        if (t->wakeTick != 0) target = std::min(target, t->wakeTick);
                    if (target != std::numeric_limits<uint64_t>::max() && target > K.tickCount + 1)
                        K.tickCount = target - 1;
                    nextTick = (K.tickCount + 1) * kTickNs;
                }
                K.simNow = nextTick;
                ++K.ticksDue;
                continue;
            }
            if (K.until.pred && untilGoesOn()) continue;
            K.idleAtLimit = true;
            ++K.idleGen;
            K.idleCv.notify_all();
            pollIo(-1, nullptr);
        } else {
            ++K.idleGen;
            K.idleCv.notify_all();
            uint64_t n = monoNs();
            if (n < K.nextDeadlineNs) {
                uint64_t d = K.nextDeadlineNs - n;
                timespec ts{static_cast<time_t>(d / 1'000'000'000), static_cast<long>(d % 1'000'000'000)};
                pollIo(0, &ts);
            }
        }
    }
    pauseCpu();
}

}  // namespace

// ---- control -------------------------------------------------------------

void start(ClockMode mode) {
    if (K.started) shutdown();
    K.mode = mode;
    K.stopping = false;
    K.simNow = 0;
    K.limitNs = 0;
    K.pacePerWall = 0.0;
    K.tickCount = 0;
    K.ticksDue = 0;
    K.nextDeadlineNs = kTickNs;
    K.lostTicks = 0;
    K.lostUnreported = 0;
    K.lostReported = false;
    K.lateHist.fill(0);
    K.lateCoarse.fill(0);
    K.lateMaxNs = 0;
    K.realStart = std::chrono::steady_clock::now();
    K.clockHook = nullptr;
    K.current = nullptr;
    K.intLockHere = &K.idleIntLock;
    K.choiceStale = true;
    K.noneReady = false;
    K.pollFdsBuilt = false;
    K.idleGen = 0;
    K.seenRun = 0;
    K.watchedNs = 0;
    K.taskRunning = false;
    K.wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    openEpoll();
    K.started = true;
    K.cpu = std::thread(cpuMain);
    clockid_t cpuClock;
    if (pthread_getcpuclockid(K.cpu.native_handle(), &cpuClock) == 0) {
        K.watchStop = false;
        K.watcher = std::thread(watchRuns, cpuClock);
        pthread_setname_np(K.watcher.native_handle(), "hk-watcher");
    }
}

void shutdown() {
    if (!K.started) return;
    {
        std::lock_guard<ExtMutex> l(K.ext);
        K.stopping = true;
        wake();
    }
    if (K.watcher.joinable()) {
        {
            std::lock_guard<std::mutex> l(K.watchMutex);
            K.watchStop = true;
        }
        K.watchCv.notify_all();
        K.watcher.join();
    }
    K.cpu.join();
    for (auto& [id, t] : K.tasks) {
        freeStack(t);
        delete t;
    }
    for (const auto& spare : K.spareStacks) munmap(spare.base, spare.size);
    K.spareStacks.clear();
    K.tasks.clear();
    K.recentTasks.fill(nullptr);
    K.live.clear();
    K.readied.clear();
    K.zombies.clear();
    for (auto& [id, s] : K.sems) delete s;
    K.sems.clear();
    {
        std::lock_guard<std::mutex> l(K.irqMutex);
        K.posted.clear();
        K.postedFlag = false;
    }
    close(K.wakeFd);
    K.wakeFd = -1;
    if (K.epollFd >= 0) close(K.epollFd);
    K.epollFd = -1;
    K.entered.clear();
    K.watched.clear();
    K.started = false;
    K.trace.clear();
}

bool running() { return K.started; }
bool onCpuThread() { return tOnCpu; }
void setCpuPauseHook(void (*hook)()) { g_pauseHook = hook; }
ClockMode mode() { return K.mode; }

namespace {
// Waits (outside the CPU) until the CPU is idle at its time limit with an
// idle pass begun after this call.
void waitIdleAtLimit(std::unique_lock<ExtMutex>& l) {
    uint64_t gen = K.idleGen;
    wake();
    K.idleCv.wait(l, [&] { return K.idleGen > gen && K.idleAtLimit && K.simNow >= K.limitNs; });
}
}  // namespace

void runTicks(uint64_t n) {
    if (tOnCpu) return;
    std::unique_lock<ExtMutex> l(K.ext);
    if (K.mode == ClockMode::RealTime) {
        uint64_t target = K.tickCount + n;
        K.idleCv.wait(l, [&] { return K.tickCount >= target; });
        return;
    }
    uint64_t base = std::max(K.simNow, K.limitNs);
    base = base / kTickNs * kTickNs;
    K.limitNs = base + n * kTickNs;
    waitIdleAtLimit(l);
}

void runUntilIdle() {
    if (tOnCpu) return;
    std::unique_lock<ExtMutex> l(K.ext);
    if (K.mode == ClockMode::RealTime) {
        uint64_t gen = K.idleGen;
        wake();
        K.idleCv.wait(l, [&] { return K.idleGen > gen; });
        return;
    }
    if (K.limitNs < K.simNow) K.limitNs = K.simNow;
    waitIdleAtLimit(l);
}

bool runUntilQuiet(const std::function<bool()>& pred, uint64_t maxTicks) {
    if (tOnCpu) return pred();
    std::unique_lock<ExtMutex> l(K.ext);
    if (K.mode != ClockMode::Simulated || K.limitNs == std::numeric_limits<uint64_t>::max()) {
        l.unlock();
        return runUntil(pred, maxTicks);
    }
    if (K.limitNs < K.simNow) K.limitNs = K.simNow;
    bool done = false, met = false;
    K.until = {&pred, maxTicks, &done, &met};
    const uint64_t gen = K.idleGen;
    wake();
    K.idleCv.wait(l, [&] { return done && K.idleGen > gen && K.idleAtLimit && K.simNow >= K.limitNs; });
    return met;
}

bool runUntil(const std::function<bool()>& pred, uint64_t maxTicks) {
    runUntilIdle();
    for (uint64_t i = 0; i < maxTicks; ++i) {
        if (pred()) return true;
        runTicks(1);
    }
    return pred();
}

void setFreeRunning(double simPerWall) {
    std::lock_guard<ExtMutex> l(K.ext);
    K.limitNs = std::numeric_limits<uint64_t>::max();
    K.pacePerWall = simPerWall > 0.0 ? simPerWall : 0.0;
    K.paceWallNs = monoNs();
    K.paceSimNs = K.simNow;
    wake();
}

TASK_ID spawnFunction(const std::function<void()>& fn, int priority, const char* name) {
    return kcall([&] { return spawnTask(name, priority, 0, nullptr, nullptr, fn, nullptr); });
}

void runTask(const std::function<void()>& fn, int priority, const char* name) {
    if (tOnCpu) {
        fn();
        return;
    }
    std::unique_lock<ExtMutex> l(K.ext);
    bool done = false;
    if (spawnTask(name, priority, 0, nullptr, nullptr, fn, &done) == ERROR) return;
    if (K.mode == ClockMode::Simulated) {
        K.untilDone = &done;
        wake();
        K.idleCv.wait(l, [&] { return done; });
        K.untilDone = nullptr;
        if (K.limitNs == std::numeric_limits<uint64_t>::max()) return;  // free-running clock
        K.limitNs = std::max(K.limitNs, K.simNow);
        waitIdleAtLimit(l);
    } else {
        wake();
        K.idleCv.wait(l, [&] { return done; });
    }
}

uint64_t nowNs() { return now(); }
uint64_t nowNsIfRunning() { return K.started ? now() : 0; }
uint64_t lostTicks() { return K.lostTicks.load(std::memory_order_relaxed); }

size_t coarseLatenessBucket(uint64_t lateNs, uint64_t fineEndNs, size_t buckets) {
    if (buckets == 0 || lateNs < fineEndNs) return 0;
    const double steps = std::floor(std::log2(static_cast<double>(lateNs) / static_cast<double>(fineEndNs)) *
                                    kLatenessStepsPerOctave);
    return static_cast<size_t>(std::min(steps, static_cast<double>(buckets - 1)));
}

TickLateness summariseLateness(std::span<const uint64_t> fine, std::span<const uint64_t> coarse, uint64_t maxNs,
                               uint64_t missed) {
    TickLateness t{};
    for (uint64_t n : fine) t.ticks += n;
    for (uint64_t n : coarse) t.ticks += n;
    t.missed = missed;
    t.maxNs = maxNs;
    if (t.ticks == 0) return t;
    const double fineEndNs = static_cast<double>(fine.size()) * 1000.0;
    // The upper bound of the bucket that holds the rank-th lateness (from
    // 1); the last coarse bucket is open-ended, so its bound is the maximum.
    auto quantile = [&](uint64_t rank) -> uint64_t {
        uint64_t seen = 0;
        for (size_t b = 0; b < fine.size(); ++b) {
            seen += fine[b];
            if (seen >= rank) return (b + 1) * 1000;
        }
        for (size_t k = 0; k + 1 < coarse.size(); ++k) {
            seen += coarse[k];
            if (seen >= rank)
                return static_cast<uint64_t>(
                    std::ceil(fineEndNs * std::exp2(static_cast<double>(k + 1) / kLatenessStepsPerOctave)));
        }
        return maxNs;
    };
    t.p50Ns = std::min(quantile((t.ticks + 1) / 2), maxNs);
    t.p99Ns = std::min(quantile(t.ticks - t.ticks / 100), maxNs);
    return t;
}

TickLateness tickLateness() {
    auto build = [] {
        return summariseLateness(K.lateHist, K.lateCoarse, K.lateMaxNs, K.lostTicks.load(std::memory_order_relaxed));
    };
    if (!K.started) return build();
    return kquick(build);
}
uint64_t ticks() { return K.tickCount; }

void consumeCpu(uint64_t ns) {
    if (!tOnCpu || !K.current) return;
    Task* me = K.current;
    if (K.mode == ClockMode::RealTime) {
        uint64_t end = monoNs() + ns;
        while (monoNs() < end) schedPoint();
        return;
    }
    uint64_t remaining = ns;
    while (remaining > 0) {
        uint64_t nextTick = (K.tickCount + K.ticksDue + 1) * kTickNs;
        uint64_t step = std::min(remaining, nextTick - K.simNow);
        K.simNow += step;
        remaining -= step;
        if (K.simNow == nextTick) {
            ++K.ticksDue;
            if (me->intLockDepth == 0) schedPoint();
        }
    }
}

uint64_t hostNowNs() { return monoNs(); }

void checkpoint() {
    if (tOnCpu) schedPoint();
}

void setTickObserver(std::function<void()> fn) {
    std::lock_guard<ExtMutex> l(K.ext);
    K.tickObserver = std::move(fn);
}

int addTickHook(std::function<void()> fn) {
    return kquick([&] {
        const int id = K.nextTickHookId++;
        K.tickHooks.emplace_back(id, std::move(fn));
        return id;
    });
}

void removeTickHook(int id) {
    kquick([&] {
        std::erase_if(K.tickHooks, [id](const auto& h) { return h.first == id; });
        return 0;
    });
}

void postInterrupt(std::function<void()> handler) {
    {
        std::lock_guard<std::mutex> l(K.irqMutex);
        K.posted.push_back(std::move(handler));
        K.postedFlag.store(true, std::memory_order_release);
    }
    if (!tOnCpu) wake();
}

int waitFd(int fd, short events, int timeoutTicks) {
    if (!tOnCpu || !K.current || K.irqDepth > 0) {
        pollfd p{fd, events, 0};
        int ms = timeoutTicks < 0 ? -1 : timeoutTicks * static_cast<int>(kTickNs / 1'000'000);
        int r = poll(&p, 1, ms);
        return r > 0 ? p.revents : (r == 0 ? 0 : -1);
    }
    pollfd p{fd, events, 0};
    if (poll(&p, 1, 0) > 0) {
        schedPoint();
        return p.revents;
    }
    if (timeoutTicks == 0) {
        schedPoint();
        return 0;
    }
    Task* me = K.current;
    me->block = Block::Io;
    ++K.ioGen;
    me->ioFd = fd;
    me->ioEvents = events;
    me->ioWait = ++K.ioWaits;
    me->ioRevents = 0;
    me->wakeTick = timeoutTicks > 0 ? K.tickCount + static_cast<uint64_t>(timeoutTicks) : 0;
    schedPoint();
    return me->ioRevents;
}

void descriptorClosed() {
    K.watchStale.store(true, std::memory_order_release);
    K.epollStale.store(true, std::memory_order_release);
}

void watchListening(int fd) {
    if (!tOnCpu || K.epollFd < 0 || K.mode != ClockMode::Simulated || findWatched(fd) ||
        K.watchStale.load(std::memory_order_acquire))
        return;
    epoll_event ev{};
    ev.data.fd = fd;
    ev.events = EPOLLIN;
    auto it = findEntry(K.entered, fd);
    if (it != K.entered.end()) {
        ev.events |= static_cast<uint32_t>(static_cast<unsigned short>(it->events));
        if (epoll_ctl(K.epollFd, EPOLL_CTL_MOD, fd, &ev) != 0) return;
    } else if (epoll_ctl(K.epollFd, EPOLL_CTL_ADD, fd, &ev) != 0) {
        return;
    }
    K.watched.push_back({fd, false});
}

bool listeningQuiet(int fd) {
    if (!tOnCpu || K.watchStale.load(std::memory_order_acquire)) return false;
    const Kernel::Watched* w = findWatched(fd);
    return w != nullptr && w->quiet;
}

std::vector<TaskInfo> listTasks() {
    auto build = [] {
        std::vector<TaskInfo> v;
        for (Task* t : K.live) {
            char buf[16];
            statusText(t, buf);
            v.push_back({t->id, t->name, t->priority, buf, t->requestedStack});
        }
        return v;
    };
    return kquick(build);
}

std::vector<std::string> takeOverruns() {
    std::lock_guard<std::mutex> l(K.overrunMutex);
    return std::exchange(K.overruns, {});
}

void enableTrace(bool on) {
    std::lock_guard<ExtMutex> l(K.ext);
    K.traceOn = on;
}

std::vector<std::string> takeTrace() {
    std::lock_guard<ExtMutex> l(K.ext);
    auto v = std::move(K.trace);
    K.trace.clear();
    return v;
}

void traceNote(const std::string& text) {
    kquick([&] {
        traceLine(text);
        return 0;
    });
}

}  // namespace hk

// ---- kernel calls -----------------------------------------------------------

using namespace hk;

TASK_ID taskSpawn(const char* name, int priority, int /*options*/, size_t stackSize, FUNCPTR entry, long a1,
                  long a2, long a3, long a4, long a5, long a6, long a7, long a8, long a9, long a10) {
    long args[10] = {a1, a2, a3, a4, a5, a6, a7, a8, a9, a10};
    if (!entry) return ERROR;
    return kcall([&] { return spawnTask(name, priority, stackSize, entry, args, nullptr, nullptr); });
}

STATUS taskDelete(TASK_ID tid) {
    if (tOnCpu && (tid == 0 || (K.current && tid == K.current->id)) && K.current && K.irqDepth == 0) {
        Task* me = K.current;
        markDead(me);
        K.zombies.push_back(me);
        switchTo(me, pickNext(), true);
        std::abort();
    }
    return kcall([&]() -> STATUS {
        Task* t = tid == 0 ? nullptr : findTask(tid);
        if (!t || t == K.current) return ERROR;
        markDead(t);
        freeStack(t);
        K.zombies.push_back(t);
        return OK;
    });
}

STATUS taskSuspend(TASK_ID tid) {
    return kcall([&]() -> STATUS {
        Task* t = findTask(tid);
        if (!t) return ERROR;
        t->suspended = true;
        return OK;
    });
}

STATUS taskResume(TASK_ID tid) {
    return kcall([&]() -> STATUS {
        Task* t = findTask(tid);
        if (!t || tid == 0) return ERROR;
        if (t->suspended) {
            t->suspended = false;
            makeReady(t);
        }
        return OK;
    });
}

bool taskIsSuspended(TASK_ID tid) {
    auto f = [&] {
        Task* t = tid == 0 ? nullptr : findTask(tid);
        return t && t->suspended;
    };
    return kquick(f);
}

bool taskIsReady(TASK_ID tid) {
    auto f = [&] { return runnable(findTask(tid)); };
    return kquick(f);
}

STATUS taskStatusString(TASK_ID tid, char* buf) {
    auto f = [&]() -> STATUS {
        Task* t = findTask(tid);
        if (!t || !buf) return ERROR;
        statusText(t, buf);
        return OK;
    };
    return kquick(f);
}

TASK_ID taskIdSelf() { return (tOnCpu && K.current) ? K.current->id : 0; }

STATUS taskIdVerify(TASK_ID tid) {
    auto f = [&] { return (tid != 0 && findTask(tid)) ? OK : ERROR; };
    return kquick(f);
}

STATUS taskPriorityGet(TASK_ID tid, int* priority) {
    auto f = [&]() -> STATUS {
        Task* t = findTask(tid);
        if (!t || !priority) return ERROR;
        *priority = t->priority;
        return OK;
    };
    return kquick(f);
}

STATUS taskPrioritySet(TASK_ID tid, int priority) {
    return kcall([&]() -> STATUS {
        Task* t = findTask(tid);
        if (!t || priority < 0 || priority > 255) return ERROR;
        t->priority = priority;
        K.choiceStale = true;
        return OK;
    });
}

const char* taskName(TASK_ID tid) {
    Task* t = findTask(tid);
    return t ? t->name.c_str() : nullptr;
}

TASK_ID taskNameToId(const char* name) {
    auto f = [&]() -> TASK_ID {
        for (Task* t : K.live)
            if (name && t->name == name) return t->id;
        return ERROR;
    };
    return kquick(f);
}

STATUS taskLock() {
    if (!tOnCpu || !K.current) return OK;
    ++K.current->taskLockDepth;
    return OK;
}

STATUS taskUnlock() {
    if (!tOnCpu || !K.current) return OK;
    if (K.current->taskLockDepth > 0 && --K.current->taskLockDepth == 0) schedPoint();
    return OK;
}

STATUS taskDelay(int ticks) {
    if (!tOnCpu || !K.current || K.irqDepth > 0) return ERROR;
    Task* me = K.current;
    if (ticks <= 0) {
        me->readySeq = ++K.seq;  // yield to tasks of equal priority
        K.choiceStale = true;
    } else {
        me->block = Block::Delay;
        me->wakeTick = K.tickCount + static_cast<uint64_t>(ticks);
    }
    schedPoint();
    return OK;
}

int intLock() {
    if (!tOnCpu || K.irqDepth > 0) return 0;
    return (*K.intLockHere)++;
}

void intUnlock(int key) {
    if (!tOnCpu || K.irqDepth > 0) return;
    const int depth = key < 0 ? 0 : key;
    *K.intLockHere = depth;
    if (depth == 0) schedPoint();
}

bool intContext() { return tOnCpu && K.irqDepth > 0; }

SEM_ID semCCreate(int /*options*/, int initialCount) {
    return kcall([&]() -> SEM_ID {
        if (initialCount < 0) return 0;
        auto* s = new Sem;
        s->id = K.nextSemId++;
        s->count = initialCount;
        K.sems[s->id] = s;
        return s->id;
    });
}

namespace {
Sem* findSem(SEM_ID id) {
    auto it = K.sems.find(id);
    return it == K.sems.end() ? nullptr : it->second;
}
}  // namespace

STATUS semTake(SEM_ID id, int timeoutTicks) {
    if (!tOnCpu || !K.current || K.irqDepth > 0) {
        // Outside a task only a poll is possible.
        auto f = [&]() -> STATUS {
            Sem* s = findSem(id);
            if (!s || s->count == 0) return ERROR;
            --s->count;
            return OK;
        };
        return kquick(f);
    }
    Task* me = K.current;
    Sem* s = findSem(id);
    if (!s) {
        me->errnoValue = S_objLib_OBJ_ID_ERROR;
        return ERROR;
    }
    if (s->count > 0) {
        --s->count;
        schedPoint();
        return OK;
    }
    if (timeoutTicks == 0) {
        me->errnoValue = S_objLib_OBJ_UNAVAILABLE;
        schedPoint();
        return ERROR;
    }
    me->block = Block::Pend;
    me->pendSem = s;
    me->pendResult = OK;
    me->wakeTick = timeoutTicks > 0 ? K.tickCount + static_cast<uint64_t>(timeoutTicks) : 0;
    auto pos = std::find_if(s->waiters.begin(), s->waiters.end(),
                            [&](Task* w) { return w->priority > me->priority; });
    s->waiters.insert(pos, me);
    schedPoint();
    return me->pendResult;
}

STATUS semGive(SEM_ID id) {
    return kcall([&]() -> STATUS {
        Sem* s = findSem(id);
        if (!s) return ERROR;
        if (!s->waiters.empty()) {
            Task* t = s->waiters.front();
            unblock(t, OK);
        } else {
            ++s->count;
        }
        return OK;
    });
}

STATUS semFlush(SEM_ID id) {
    return kcall([&]() -> STATUS {
        Sem* s = findSem(id);
        if (!s) return ERROR;
        auto waiters = s->waiters;
        for (Task* t : waiters) unblock(t, OK);
        return OK;
    });
}

STATUS semDelete(SEM_ID id) {
    return kcall([&]() -> STATUS {
        Sem* s = findSem(id);
        if (!s) return ERROR;
        auto waiters = s->waiters;
        for (Task* t : waiters) {
            t->errnoValue = S_objLib_OBJ_DELETED;
            unblock(t, ERROR);
        }
        K.sems.erase(id);
        delete s;
        return OK;
    });
}

int semCount(SEM_ID id) {
    auto f = [&] {
        Sem* s = findSem(id);
        return s ? s->count : -1;
    };
    return kquick(f);
}

int semWaiters(SEM_ID id) {
    auto f = [&] {
        Sem* s = findSem(id);
        return s ? static_cast<int>(s->waiters.size()) : 0;
    };
    return kquick(f);
}

ULONG tickGet() { return static_cast<ULONG>(K.tickCount); }
int sysClkRateGet() { return 200; }

namespace {
// Figures a test has set for the system partition (free bytes, largest block).
std::atomic<bool> memFiguresSet{false};
std::atomic<unsigned long> memFreeFigure{0}, memMaxFigure{0};

int hostMemStats(MEM_PART_STATS* st) {
    if (memFiguresSet.load()) {
        *st = MEM_PART_STATS{};
        st->numBytesFree = memFreeFigure.load();
        st->maxBlockSizeFree = memMaxFigure.load();
        return OK;
    }
    long pages = sysconf(_SC_AVPHYS_PAGES);
    long page = sysconf(_SC_PAGESIZE);
    if (pages < 0 || page < 0) return ERROR;
    struct mallinfo2 mi = mallinfo2();
    unsigned long avail = static_cast<unsigned long>(pages) * static_cast<unsigned long>(page);
    st->numBytesFree = avail + mi.fordblks;
    st->numBlocksFree = mi.ordblks;
    st->maxBlockSizeFree = avail;
    st->numBytesAlloc = mi.uordblks;
    st->numBlocksAlloc = 0;
    return OK;
}
int sysPartAnchor;
}  // namespace

PART_ID memSysPartId = &sysPartAnchor;

namespace hk {
void setMemoryFigures(unsigned long freeBytes, unsigned long largestBlock) {
    memFreeFigure = freeBytes;
    memMaxFigure = largestBlock;
    memFiguresSet = true;
}
void clearMemoryFigures() { memFiguresSet = false; }
}  // namespace hk

STATUS memPartInfoGet(PART_ID part, MEM_PART_STATS* stats) {
    if (part != memSysPartId || !stats) return ERROR;
    return hostMemStats(stats);
}

long memFindMax() {
    MEM_PART_STATS st{};
    if (hostMemStats(&st) != OK) return 0;
    return static_cast<long>(std::min<unsigned long>(st.maxBlockSizeFree, 0x7fffffffUL));
}

int errnoGet() { return (tOnCpu && K.current) ? K.current->errnoValue : errno; }
void errnoSet(int value) {
    if (tOnCpu && K.current) K.current->errnoValue = value;
    else errno = value;
}

STATUS VKClkConnect(VOIDFUNCPTR routine, long arg) {
    auto f = [&]() -> STATUS {
        K.clockHook = routine;
        K.clockArg = arg;
        return OK;
    };
    return kquick(f);
}

STATUS VKClkDisconnect() { return VKClkConnect(nullptr, 0); }

UINT32 VKGetTimer() { return static_cast<UINT32>(now() / 1000); }
