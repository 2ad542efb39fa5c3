// Model of the controller board's FPGA register space.
#include "host/board.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>

#include "drivers/zarn_regs.h"
#include "host/analog_inputs.h"
#include "host/current_loops.h"
#include "host/chips.h"
#include "host/hostkernel.h"
#include "host/vkboard.h"

namespace board {
namespace {

constexpr size_t kHalfwords = (kFpgaEnd - kFpgaBase) / 2;
constexpr uint64_t kMsNs = 1'000'000;

struct DinChange {
    uint64_t timeNs;
    uint32_t levels;
};

struct State {
    std::vector<uint16_t> regs = std::vector<uint16_t>(kHalfwords, 0);
    // Readback contact of relays 0 .. 3 (inputs 24 .. 27): -1 follows the
    // driven relay, 0 or 1 is stuck at that level.
    int relayReadback[4] = {-1, -1, -1, -1};
    bool relayReadbacksWired = false;
    // Index into `behaviours` per register; 0 = none.
    std::vector<uint16_t> behaviourOf = std::vector<uint16_t>(kHalfwords, 0);
    std::vector<Behaviour> behaviours{Behaviour{}};

    // The write log: a ring of at most logCapacity writes, the oldest at
    // logHead once the ring is full (at 0 before).
    std::vector<RegWrite> log;
    size_t logHead = 0;
    size_t logCapacity = 65536;

    // Watchdog: handshake progress 0..3 (writes of the sequence seen so far).
    int wdogStep = 0;
    uint64_t wdogHandshakes = 0;
    uint64_t wdogBadKeys = 0;
    uint64_t wdogLastKickNs = 0;
    uint64_t wdogTimeoutNs = 100 * kMsNs;
    bool wdogExpired = false;

    bool estopButton = false;
    bool estopLatched = false;

    uint16_t intrStatus = 0;
    VOIDFUNCPTR cpuRqstRoutine = nullptr;
    long cpuRqstArg = 0;
    bool cpuRqstInited = false;
    bool cpuRqstQueued = false;
    uint64_t cpuRqstDelivered = 0;

    bool spiStuck = false;
    uint32_t spiMissedDone = 0;
    uint64_t spiTransfers = 0;

    // Discrete input changes in time order; the first entry holds the levels
    // before every later change.
    std::deque<DinChange> din{DinChange{0, 0}};
};

Mutex& mutex() {
    static Mutex m;
    return m;
}

// The CPU thread gives up the lock word it keeps whenever the kernel lets
// other host threads in.
const bool pauseHookSet = (hk::setCpuPauseHook([] { mutex().release(); }), true);

// A copy of some registers' reads, valid while the board's lock count is
// `holds` (what it becomes when the publishing hold ends). Written under the
// lock, read without it: every field is atomic, and a reader trusts what it
// read only when the count did not move meanwhile. V is the width of the
// reads it answers: 32-bit registers 4 bytes apart, or 16-bit ones 2 apart.
template <typename V>
struct Published {
    std::atomic<uint64_t> holds{1};  // odd: never matches
    std::atomic<uint32_t> first{0};
    std::atomic<uint32_t> count{0};
    // Valid from fromNs up to untilNs, or up to the watchdog's deadline when
    // that comes first: after it, the slow path's poll must expire the
    // watchdog.
    std::atomic<uint64_t> fromNs{0};
    std::atomic<uint64_t> untilNs{0};
    std::atomic<V> values[kPublishedMax]{};
};

Published<uint32_t> published[kPublishedSlots];
constexpr uint64_t kDinSamples = 5;  // the current state and the four before it
constexpr size_t kDinSampleWords = (ZARN_DIN_SAMPLES_LAST - ZARN_DIN_SAMPLES_FIRST) / 2 + 1;
static_assert(kDinSampleWords == 2 * kDinSamples);
// The discrete-input sample registers, published by their own behaviour.
Published<uint16_t> publishedDin[1];

State* state = nullptr;  // guarded by mutex(); built on first use

size_t indexOf(uint32_t address) { return (address - kFpgaBase) / 2; }

// Fills `p` (lock held) with what the registers first, first + sizeof(V),
// ... read as while the kernel time stays in [fromNs, untilNs).
template <typename V>
void publish(const State& s, Published<V>& p, uint32_t first, const V* values, size_t count, uint64_t fromNs,
             uint64_t untilNs) {
    // The poll expires an armed watchdog once now - lastKick > timeout.
    if ((s.regs[indexOf(ZARN_WDOG_ENABLE)] & 1u) && !s.wdogExpired) {
        const uint64_t deadline = s.wdogLastKickNs + s.wdogTimeoutNs;
        if (deadline >= s.wdogLastKickNs && deadline < untilNs) untilNs = deadline + 1;
    }
    p.first.store(first, std::memory_order_relaxed);
    p.count.store(static_cast<uint32_t>(count), std::memory_order_relaxed);
    p.fromNs.store(fromNs, std::memory_order_relaxed);
    p.untilNs.store(untilNs, std::memory_order_relaxed);
    for (size_t i = 0; i < count; ++i) p.values[i].store(values[i], std::memory_order_relaxed);
    // Valid from the end of the present hold of the lock.
    p.holds.store(mutex().holds() + 1, std::memory_order_relaxed);
}

void checkAddress(uint32_t address, int width) {
    const uint32_t bytes = width == 32 ? 4u : 2u;  // the widths are 16 and 32
    if (address < kFpgaBase || address > kFpgaEnd - bytes || (address & (bytes - 1)) != 0) {
        std::fprintf(stderr, "board: bad %d-bit FPGA access at 0x%08X\n", width, address);
        std::abort();
    }
}

uint64_t now() { return hk::nowNsIfRunning(); }

uint32_t stored(State& s, uint32_t address, int width) {
    const size_t i = indexOf(address);
    if (width == 16) return s.regs[i];
    return (static_cast<uint32_t>(s.regs[i]) << 16) | s.regs[i + 1];
}

void store(State& s, uint32_t address, int width, uint32_t value) {
    const size_t i = indexOf(address);
    if (width == 16) {
        s.regs[i] = static_cast<uint16_t>(value);
    } else {
        s.regs[i] = static_cast<uint16_t>(value >> 16);
        s.regs[i + 1] = static_cast<uint16_t>(value);
    }
}

void attachLocked(State& s, uint32_t first, uint32_t last, Behaviour b) {
    checkAddress(first, 16);
    checkAddress(last, 16);
    uint16_t index = 0;
    if (b.read || b.write) {
        s.behaviours.push_back(std::move(b));
        index = static_cast<uint16_t>(s.behaviours.size() - 1);
    }
    for (size_t i = indexOf(first); i <= indexOf(last); ++i) s.behaviourOf[i] = index;
}

// ---- CPU request interrupt ----------------------------------------------

bool cpuRqstDeliverable(State& s) {
    return s.cpuRqstRoutine != nullptr && s.cpuRqstInited && (s.regs[indexOf(ZARN_INTR_ENABLE)] & 1u) &&
           (s.regs[indexOf(ZARN_INTR_SOURCES)] & ZARN_INTR_SRC_CPU_RQST);
}

void deliverCpuRqst() {
    VOIDFUNCPTR routine = nullptr;
    long arg = 0;
    {
        std::lock_guard<Mutex> g(mutex());
        state->cpuRqstQueued = false;
        routine = state->cpuRqstRoutine;
        arg = state->cpuRqstArg;
        if (routine != nullptr) ++state->cpuRqstDelivered;
    }
    if (routine != nullptr) routine(arg);
}

// Queues one delivery of the interrupt while a source is pending and the line
// is enabled; further raises before the handler runs are served by it.
void updateCpuRqstLine(State& s) {
    if (s.intrStatus != 0 && !s.cpuRqstQueued && cpuRqstDeliverable(s)) {
        s.cpuRqstQueued = true;
        hk::postInterrupt(deliverCpuRqst);
    }
}

void raiseLocked(State& s, uint16_t bits) {
    s.intrStatus = static_cast<uint16_t>(s.intrStatus | (bits & 0x7u));
    s.regs[indexOf(ZARN_INTR_STATUS)] = s.intrStatus;
    updateCpuRqstLine(s);
}

// ---- Watchdog -----------------------------------------------------------

bool pollLocked(State& s) {
    const bool enabled = s.regs[indexOf(ZARN_WDOG_ENABLE)] & 1u;
    if (!enabled || s.wdogExpired) return false;
    if (now() - s.wdogLastKickNs <= s.wdogTimeoutNs) return false;
    s.wdogExpired = true;
    raiseLocked(s, ZARN_INTR_WDOG_TIMEOUT);
    return true;
}

void wdogKey(State& s, uint32_t address, uint32_t value) {
    static constexpr uint32_t kAddr[4] = {ZARN_WDOG_KEY_A, ZARN_WDOG_KEY_A, ZARN_WDOG_KEY_B, ZARN_WDOG_KEY_B};
    static constexpr uint16_t kKey[4] = {ZARN_WDOG_KEY_1, ZARN_WDOG_KEY_2, ZARN_WDOG_KEY_1, ZARN_WDOG_KEY_2};
    if (address == kAddr[s.wdogStep] && value == kKey[s.wdogStep]) {
        if (++s.wdogStep == 4) {
            s.wdogStep = 0;
            ++s.wdogHandshakes;
            s.wdogLastKickNs = now();
            s.wdogExpired = false;
        }
        return;
    }
    ++s.wdogBadKeys;
    // A wrong write may itself be the first key of a new sequence.
    s.wdogStep = (address == ZARN_WDOG_KEY_A && value == ZARN_WDOG_KEY_1) ? 1 : 0;
}

// ---- Discrete inputs ------------------------------------------------------

uint32_t dinLevelsAt(const State& s, uint64_t t) {
    uint32_t levels = s.din.front().levels;
    for (const DinChange& c : s.din) {
        if (c.timeNs > t) break;
        levels = c.levels;
    }
    return levels;
}

// The inputs with the relay readback contacts: a contact closes with its
// relay while the FPGA drives it, unless it is stuck.
constexpr int kFirstRelayReadback = 24;
uint32_t withRelayReadbacks(const State& s, uint32_t levels) {
    if (!s.relayReadbacksWired) return levels;
    const bool released = (s.regs[indexOf(ZARN_CTRL)] & ZARN_CTRL_OUTPUTS_RELEASED) != 0;
    const uint32_t driven = released ? s.regs[indexOf(ZARN_RELAYS)] : 0u;
    for (int r = 0; r < 4; ++r) {
        const int stuck = s.relayReadback[r];
        const bool closed = stuck < 0 ? ((driven >> r) & 1u) != 0 : stuck != 0;
        const uint32_t bit = 1u << (kFirstRelayReadback + r);
        levels = closed ? (levels | bit) : (levels & ~bit);
    }
    return levels;
}

// Forgets changes that no sample register can show any more.
void pruneDin(State& s, uint64_t t) {
    const uint64_t oldest = t > 10 * kMsNs ? t - 10 * kMsNs : 0;
    while (s.din.size() > 1 && s.din[1].timeNs <= oldest) s.din.pop_front();
}

void addDinChange(State& s, uint64_t t, uint32_t levels) {
    pruneDin(s, now());
    if (!s.din.empty() && s.din.back().timeNs > t) {
        std::fprintf(stderr, "board: discrete input change scheduled before an earlier one\n");
        std::abort();
    }
    s.din.push_back(DinChange{t, levels});
}

// ---- Built-in behaviour --------------------------------------------------

void attachBuiltins(State& s) {
    attachLocked(s, ZARN_WDOG_ENABLE, ZARN_WDOG_ENABLE, Behaviour{nullptr, [](uint32_t, int, uint32_t) {
        State& st = *state;
        // Switching on starts the time-out from now.
        st.wdogLastKickNs = now();
        st.wdogExpired = false;
    }});
    auto key = Behaviour{nullptr, [](uint32_t a, int, uint32_t v) { wdogKey(*state, a, v); }};
    attachLocked(s, ZARN_WDOG_KEY_A, ZARN_WDOG_KEY_A, key);
    attachLocked(s, ZARN_WDOG_KEY_B, ZARN_WDOG_KEY_B, key);

    auto line = Behaviour{nullptr, [](uint32_t, int, uint32_t) { updateCpuRqstLine(*state); }};
    attachLocked(s, ZARN_INTR_ENABLE, ZARN_INTR_ENABLE, line);
    attachLocked(s, ZARN_INTR_SOURCES, ZARN_INTR_SOURCES, line);
    // The status register is read-only to the CPU.
    attachLocked(s, ZARN_INTR_STATUS, ZARN_INTR_STATUS, Behaviour{nullptr, [](uint32_t, int, uint32_t) {
        state->regs[indexOf(ZARN_INTR_STATUS)] = state->intrStatus;
    }});
    attachLocked(s, ZARN_INTR_ACK, ZARN_INTR_ACK, Behaviour{nullptr, [](uint32_t, int, uint32_t v) {
        State& st = *state;
        st.intrStatus = static_cast<uint16_t>(st.intrStatus & ~v);
        st.regs[indexOf(ZARN_INTR_STATUS)] = st.intrStatus;
        st.regs[indexOf(ZARN_INTR_ACK)] = 0;
    }});

    attachLocked(s, ZARN_CTRL, ZARN_CTRL, Behaviour{nullptr, [](uint32_t, int, uint32_t v) {
        State& st = *state;
        if ((v & ZARN_CTRL_ESTOP_RESET) && !st.estopButton) st.estopLatched = false;
    }});
    attachLocked(s, ZARN_STATUS, ZARN_STATUS,
                 Behaviour{[](uint32_t, int, uint32_t stored) {
                               return (stored & ~uint32_t{ZARN_STATUS_ESTOP}) |
                                      (state->estopLatched ? ZARN_STATUS_ESTOP : 0u);
                           },
                           nullptr});

    attachLocked(s, ZARN_SPI_CMD, ZARN_SPI_CMD, Behaviour{nullptr, [](uint32_t a, int, uint32_t v) {
        State& st = *state;
        uint16_t reg = static_cast<uint16_t>(v & ~uint32_t{ZARN_SPI_DONE});
        if ((v & ZARN_SPI_START) != 0) {
            ++st.spiTransfers;
            const bool missed = st.spiTransfers <= 32 && ((st.spiMissedDone >> (st.spiTransfers - 1)) & 1u) != 0;
            if (!st.spiStuck && !missed) reg |= ZARN_SPI_DONE;
        }
        st.regs[indexOf(a)] = reg;
    }});

    attachLocked(s, ZARN_DIN_SAMPLES_FIRST, ZARN_DIN_SAMPLES_LAST,
                 Behaviour{[](uint32_t a, int, uint32_t) -> uint32_t {
                               // The drivers read the samples one after the other:
                               // all of them are published, as they stand through
                               // this millisecond.
                               State& st = *state;
                               const uint64_t sampleMs = now() / kMsNs;
                               uint16_t words[kDinSampleWords];
                               for (uint64_t k = 0; k < kDinSamples; ++k) {
                                   const uint32_t levels =
                                       sampleMs < k ? 0u
                                                    : withRelayReadbacks(st, dinLevelsAt(st, (sampleMs - k) * kMsNs));
                                   // Sample k, word w lies at LAST - 4 * k - 2 * w.
                                   const size_t i = kDinSampleWords - 1 - 2 * k;
                                   words[i] = static_cast<uint16_t>(levels & 0xFFFFu);
                                   words[i - 1] = static_cast<uint16_t>(levels >> 16);
                               }
                               publish(st, publishedDin[0], ZARN_DIN_SAMPLES_FIRST, words, kDinSampleWords,
                                       sampleMs * kMsNs, (sampleMs + 1) * kMsNs);
                               return words[(a - ZARN_DIN_SAMPLES_FIRST) / 2];
                           },
                           nullptr});
    attachLocked(s, ZARN_AIN_BASE, ZARN_AIN_BASE + 4u * (ZARN_AIN_COUNT - 1), analogInputBehaviour());
    attachLocked(s, ZARN_READBACK_FIRST, ZARN_READBACK_LAST, currentLoopBehaviour());
}

void resetLocked(State& s) {
    s = State{};
    // Analog inputs at their live zero (4 mA).
    for (int ch = 0; ch < ZARN_AIN_COUNT; ++ch) {
        s.regs[indexOf(ZARN_AIN_BASE + 4u * static_cast<uint32_t>(ch))] = static_cast<uint16_t>(int16_t{-20416});
    }
    // Speed sensors at standstill: no edge for the longest count.
    for (uint32_t ch = 0; ch < 2; ++ch) {
        const uint32_t base = ch * ZARN_TSS_STRIDE;
        for (int i = 0; i < ZARN_TSS_SAMPLE_COUNT; ++i) {
            store(s, ZARN_TSS_SAMPLES0 + base + 4u * static_cast<uint32_t>(i), 32, 0xFFFFFFFFu);
        }
        store(s, ZARN_TSS_PERIOD_A0 + base, 32, 0xFFFFFFFFu);
        store(s, ZARN_TSS_PERIOD_B0 + base, 32, 0xFFFFFFFFu);
    }
    attachBuiltins(s);
}

State& locked();

// One field of the board state, read under the lock.
template <typename T>
T get(T State::*field) {
    std::lock_guard<Mutex> g(mutex());
    return locked().*field;
}

template <typename T>
void set(T State::*field, T value) {
    std::lock_guard<Mutex> g(mutex());
    locked().*field = value;
}

State& locked() {
    if (state == nullptr) {
        state = new State;  // lives for the whole process
        resetLocked(*state);
    }
    return *state;
}

void logWrite(State& s, uint32_t address, int width, uint32_t value) {
    if (s.logCapacity == 0) return;
    const RegWrite w{now(), address, width, value};
    if (s.log.size() < s.logCapacity) {
        // The ring's room is taken at once: grown by doubling, it would be
        // copied to fresh memory inside a pass, milliseconds of host CPU
        // (page faults) that the passes on the target never spend.
        if (s.log.capacity() < s.logCapacity) s.log.reserve(s.logCapacity);
        s.log.push_back(w);
        return;
    }
    s.log[s.logHead] = w;
    if (++s.logHead == s.log.size()) s.logHead = 0;
}

// The logged writes oldest first, and the head back at 0.
void straightenLog(State& s) {
    std::rotate(s.log.begin(), s.log.begin() + static_cast<std::ptrdiff_t>(s.logHead), s.log.end());
    s.logHead = 0;
}

// A read answered from a published copy of its width; false when none
// holds it as it stands now.
template <typename V, size_t N>
[[gnu::always_inline]] inline bool readPublished(const Published<V> (&slots)[N], uint32_t address, uint32_t& value) {
    const uint64_t holds = mutex().holds();
    if (holds & 1u) return false;
    for (const Published<V>& p : slots) {
        if (p.holds.load(std::memory_order_relaxed) != holds) continue;
        const uint32_t offset = address - p.first.load(std::memory_order_relaxed);
        if (offset % sizeof(V) != 0 || offset / sizeof(V) >= p.count.load(std::memory_order_relaxed)) continue;
        const uint64_t t = now();
        if (t < p.fromNs.load(std::memory_order_relaxed) || t >= p.untilNs.load(std::memory_order_relaxed)) return false;
        value = p.values[offset / sizeof(V)].load(std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_acquire);
        return mutex().holds() == holds;
    }
    return false;
}


// A read no published copy answers: under the lock, with the watchdog's
// poll and the register's behaviour. Kept out of line so that the published
// path stays a few instructions.
[[gnu::noinline]] uint32_t cpuReadLocked(uint32_t address, int width) {
    checkAddress(address, width);
    std::lock_guard<Mutex> g(mutex());
    State& s = locked();
    pollLocked(s);
    const uint32_t value = stored(s, address, width);
    const Behaviour& b = s.behaviours[s.behaviourOf[indexOf(address)]];
    return b.read ? b.read(address, width, value) : value;
}

inline uint32_t cpuRead(uint32_t address, int width) {
    uint32_t value;
    if (width == 32 ? readPublished(published, address, value) : readPublished(publishedDin, address, value))
        return value;
    return cpuReadLocked(address, width);
}

void cpuWrite(uint32_t address, int width, uint32_t value) {
    checkAddress(address, width);
    std::lock_guard<Mutex> g(mutex());
    State& s = locked();
    pollLocked(s);
    store(s, address, width, value);
    logWrite(s, address, width, value);
    const Behaviour& b = s.behaviours[s.behaviourOf[indexOf(address)]];
    if (b.write) b.write(address, width, value);
}

}  // namespace

void reset() {
    {
        std::lock_guard<Mutex> g(mutex());
        resetLocked(locked());
    }
    resetChips();
    resetAnalogInputs();
    resetCurrentLoops();
    resetPlatform();
}

uint16_t cpuRead16(uint32_t address) { return static_cast<uint16_t>(cpuRead(address, 16)); }
void cpuWrite16(uint32_t address, uint16_t value) { cpuWrite(address, 16, value); }
uint32_t cpuRead32(uint32_t address) { return cpuRead(address, 32); }
void cpuWrite32(uint32_t address, uint32_t value) { cpuWrite(address, 32, value); }

namespace {
// The calling thread's marker for the owner field, and whether it is the
// kernel's CPU thread, which keeps the lock word between its holds.
const void* selfMarker() {
    static thread_local const char marker = 0;
    return &marker;
}
bool keepsWord() {
    static thread_local const bool keeps = hk::onCpuThread();
    return keeps;
}
}  // namespace

void Mutex::lock() {
    const void* me = selfMarker();
    if (owner_.load(std::memory_order_relaxed) != me) [[unlikely]]
        takeWord(me);
    if (depth_++ == 0) {
        count_.store(count_.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_release);
    }
}

void Mutex::unlock() {
    if (--depth_ > 0) return;
    count_.store(count_.load(std::memory_order_relaxed) + 1, std::memory_order_release);
    // The CPU thread keeps the word unless somebody sleeps on it.
    if (word_.load(std::memory_order_relaxed) == kWaited || !keepsWord()) letGo();
}

void Mutex::release() {
    if (owner_.load(std::memory_order_relaxed) == selfMarker() && depth_ == 0) letGo();
}

void Mutex::takeWord(const void* me) {
    // A thread that sleeps on the word gets it before the CPU thread takes it
    // again: the CPU thread, which takes it at every register access, would
    // otherwise keep it from a thread that shares its core for good. The CPU
    // thread sleeps meanwhile: spinning would charge the time the host takes
    // to wake the other thread to the task that happens to run.
    if (keepsWord())
        for (int n = sleepers_.load(std::memory_order_acquire); n > 0; n = sleepers_.load(std::memory_order_acquire))
            sleepers_.wait(n, std::memory_order_acquire);
    uint32_t c = kFree;
    if (!word_.compare_exchange_strong(c, kHeld, std::memory_order_acquire, std::memory_order_relaxed))
        lockContended(c);
    owner_.store(me, std::memory_order_relaxed);
}

void Mutex::letGo() {
    owner_.store(nullptr, std::memory_order_relaxed);
    if (word_.exchange(kFree, std::memory_order_release) == kWaited) word_.notify_one();
}

void Mutex::lockContended(uint32_t seen) {
    // Mark the word as waited for, and sleep while anybody has it.
    if (seen != kWaited) seen = word_.exchange(kWaited, std::memory_order_acquire);
    if (seen == kFree) return;
    sleepers_.fetch_add(1, std::memory_order_relaxed);
    while (seen != kFree) {
        word_.wait(kWaited, std::memory_order_relaxed);
        seen = word_.exchange(kWaited, std::memory_order_acquire);
    }
    sleepers_.fetch_sub(1, std::memory_order_release);
    sleepers_.notify_all();
}

std::unique_lock<Mutex> lock() { return std::unique_lock<Mutex>(mutex()); }

void publishReads(int slot, uint32_t first, const uint32_t* values, size_t count, uint64_t fromNs,
                  uint64_t untilNs) {
    if (slot < 0 || slot >= kPublishedSlots || count > kPublishedMax) return;
    publish(locked(), published[slot], first, values, count, fromNs, untilNs);
}

uint16_t peek16(uint32_t address) {
    checkAddress(address, 16);
    std::lock_guard<Mutex> g(mutex());
    return static_cast<uint16_t>(stored(locked(), address, 16));
}

uint16_t peek16Held(uint32_t address) {
    checkAddress(address, 16);
    return static_cast<uint16_t>(stored(locked(), address, 16));
}

uint32_t peek32(uint32_t address) {
    checkAddress(address, 32);
    std::lock_guard<Mutex> g(mutex());
    return stored(locked(), address, 32);
}

void poke16(uint32_t address, uint16_t value) {
    checkAddress(address, 16);
    std::lock_guard<Mutex> g(mutex());
    store(locked(), address, 16, value);
}

void poke32(uint32_t address, uint32_t value) {
    checkAddress(address, 32);
    std::lock_guard<Mutex> g(mutex());
    store(locked(), address, 32, value);
}

void pokeBits16(uint32_t address, uint16_t mask, uint16_t value) {
    checkAddress(address, 16);
    std::lock_guard<Mutex> g(mutex());
    State& s = locked();
    const uint32_t old = stored(s, address, 16);
    store(s, address, 16, (old & ~uint32_t{mask}) | (value & mask));
}

void attach(uint32_t first, uint32_t last, Behaviour behaviour) {
    std::lock_guard<Mutex> g(mutex());
    attachLocked(locked(), first, last, std::move(behaviour));
}

void setWriteLogCapacity(size_t capacity) {
    std::lock_guard<Mutex> g(mutex());
    State& s = locked();
    straightenLog(s);
    s.logCapacity = capacity;
    if (s.log.size() > capacity) s.log.erase(s.log.begin(), s.log.end() - static_cast<std::ptrdiff_t>(capacity));
}

std::vector<RegWrite> writeLog() { return writeLog(kFpgaBase, kFpgaEnd - 2); }

std::vector<RegWrite> writeLog(uint32_t first, uint32_t last) {
    std::lock_guard<Mutex> g(mutex());
    State& s = locked();
    std::vector<RegWrite> out;
    for (size_t k = 0; k < s.log.size(); ++k) {
        const RegWrite& w = s.log[(s.logHead + k) % s.log.size()];
        if (w.address >= first && w.address <= last) out.push_back(w);
    }
    return out;
}

void clearWriteLog() {
    std::lock_guard<Mutex> g(mutex());
    State& s = locked();
    s.log.clear();
    s.logHead = 0;
}

uint16_t controlRegister() { return peek16(ZARN_CTRL); }
bool outputsReleased() { return (controlRegister() & ZARN_CTRL_OUTPUTS_RELEASED) != 0; }
uint16_t debugLeds() { return peek16(ZARN_DBUG_LEDS); }

void setEstopButton(bool pressed) {
    std::lock_guard<Mutex> g(mutex());
    State& s = locked();
    s.estopButton = pressed;
    if (pressed) {
        s.estopLatched = true;
    } else if (s.regs[indexOf(ZARN_CTRL)] & ZARN_CTRL_ESTOP_RESET) {
        s.estopLatched = false;  // a reset held on clears the latch at release
    }
}

bool estopLatched() { return get(&State::estopLatched); }

void setKey(int word, int bit, bool pressed) {
    if (word < 0 || word > 2 || bit < 0 || bit > 11) {
        std::fprintf(stderr, "board: no key at word %d bit %d\n", word, bit);
        std::abort();
    }
    pokeBits16(ZARN_KEYPAD0 + 2u * static_cast<uint32_t>(word), static_cast<uint16_t>(1u << bit),
               pressed ? 0xFFFF : 0);
}

void releaseAllKeys() {
    for (uint32_t r : {ZARN_KEYPAD0, ZARN_KEYPAD1, ZARN_KEYPAD2}) poke16(r, 0);
}

bool watchdogEnabled() { return (peek16(ZARN_WDOG_ENABLE) & 1u) != 0; }

uint64_t watchdogHandshakes() { return get(&State::wdogHandshakes); }

uint64_t watchdogBadKeys() { return get(&State::wdogBadKeys); }

void setWatchdogTimeoutNs(uint64_t ns) { set(&State::wdogTimeoutNs, ns); }

bool poll() {
    std::lock_guard<Mutex> g(mutex());
    return pollLocked(locked());
}

void raiseCpuRequest(uint16_t statusBits) {
    std::lock_guard<Mutex> g(mutex());
    raiseLocked(locked(), statusBits);
}

void powerFail() { raiseCpuRequest(ZARN_INTR_POWER_FAIL); }

uint16_t cpuRequestStatus() { return get(&State::intrStatus); }

uint64_t cpuRequestsDelivered() { return get(&State::cpuRqstDelivered); }

void connectCpuRequest(VOIDFUNCPTR routine, long arg) {
    std::lock_guard<Mutex> g(mutex());
    State& s = locked();
    s.cpuRqstRoutine = routine;
    s.cpuRqstArg = arg;
    updateCpuRqstLine(s);
}

void initCpuRequest() {
    std::lock_guard<Mutex> g(mutex());
    State& s = locked();
    s.cpuRqstInited = true;
    // The platform's initialisation also switches the FPGA's request line on.
    s.regs[indexOf(ZARN_INTR_SOURCES)] |= ZARN_INTR_SRC_CPU_RQST;
    s.regs[indexOf(ZARN_INTR_ENABLE)] |= 1u;
    updateCpuRqstLine(s);
}

void setSpiStuck(bool stuck) { set(&State::spiStuck, stuck); }

void setSpiMissedDone(uint32_t mask) { set(&State::spiMissedDone, mask); }

uint64_t spiTransfers() { return get(&State::spiTransfers); }

void setDiscreteInputs(uint32_t levels) {
    std::lock_guard<Mutex> g(mutex());
    addDinChange(locked(), now(), levels);
}

void setDiscreteInput(int n, bool level) {
    if (n < 0 || n > 31) return;
    std::lock_guard<Mutex> g(mutex());
    State& s = locked();
    const uint32_t bit = 1u << n;
    const uint32_t levels = s.din.back().levels;
    addDinChange(s, now(), level ? (levels | bit) : (levels & ~bit));
}

void setDiscreteInputsAt(uint64_t timeNs, uint32_t levels) {
    std::lock_guard<Mutex> g(mutex());
    addDinChange(locked(), timeNs, levels);
}

void wireRelayReadbacks(bool wired) {
    std::lock_guard<Mutex> g(mutex());
    locked().relayReadbacksWired = wired;
}

void setRelayReadbackStuck(int relay, int level) {
    if (relay < 0 || relay > 3) return;
    std::lock_guard<Mutex> g(mutex());
    locked().relayReadback[relay] = level < 0 ? -1 : (level != 0 ? 1 : 0);
}

uint32_t discreteInputs() {
    std::lock_guard<Mutex> g(mutex());
    return dinLevelsAt(locked(), now());
}

uint16_t relayOutputs() { return peek16(ZARN_RELAYS); }

uint16_t relaysEnergised() {
    return outputsReleased() ? static_cast<uint16_t>(relayOutputs() & ~ZARN_RELAYS_ALWAYS & 0x3FFFu) : 0;
}

uint16_t pwmOutput(uint32_t countRegister) { return outputsReleased() ? peek16(countRegister) : 0; }

}  // namespace board
