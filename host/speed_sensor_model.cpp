// Speed-sensor pulse-train model behind the FPGA's speed-sensor registers.
#include "host/speed_sensor_model.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "drivers/zarn_regs.h"
#include "host/board.h"
#include "host/hostkernel.h"

namespace speedsensor {
namespace {

constexpr double kCountsPerNs = 0.064;  // 64 MHz
constexpr uint32_t kNoCount = 0xFFFFFFFFu;
constexpr int64_t kTickNs = 5'000'000;
constexpr int64_t kSampleNs = 100'000;
constexpr int64_t kKeepNs = 2 * kTickNs;  // history the sample registers may show

// From t0 on the wheel turns at f teeth per second; its position (in teeth)
// at t0 was p0.
struct Segment {
    int64_t t0;
    double f;
    double p0;
};

// The per-sample registers as they stand through one tick: the filter reads
// all of them every tick, so they are worked out once per tick and teeth per
// measurement.
struct SampleTable {
    int64_t tick = -1;  // none yet
    uint32_t k = 0;
    std::array<uint32_t, ZARN_TSS_SAMPLE_COUNT> counts{};
};

// Period A, period B and the edge count as they stand at one time. In
// simulated time the clock stands still while a task runs, so the reads of
// one pass (period A twice or three times, period B, the tooth count) all
// come at one time and share the work.
struct Registers {
    int64_t t = -1;  // none yet
    uint32_t k = 0;
    int64_t edges = 0;
    uint32_t periodA = 0;
    uint32_t periodB = 0;
};

struct Channel {
    std::vector<Segment> segs{Segment{0, 0.0, 0.0}};
    double offset = 0.0;  // edges lie at positions offset + k, k = 1, 2, ...
    SampleTable samples;  // forgotten on every change of the above
    Registers regs;       // likewise
};

Channel chans[2];  // guarded by the board's lock

int64_t now() { return static_cast<int64_t>(hk::nowNsIfRunning()); }

double position(const Channel& c, int64_t t) {
    for (size_t i = c.segs.size(); i-- > 0;) {
        const Segment& s = c.segs[i];
        if (s.t0 <= t) return s.p0 + s.f * static_cast<double>(t - s.t0) * 1e-9;
    }
    return c.segs.front().p0;
}

// Edges seen up to time t.
int64_t edgeCount(const Channel& c, int64_t t) {
    const double e = std::floor(position(c, t) - c.offset);
    return e > 0.0 ? static_cast<int64_t>(e) : 0;
}

// Time of edge k (from 1), in ns; may lie in the future; INFINITY when the
// wheel never reaches it at its present speed.
double edgeTime(const Channel& c, int64_t k) {
    const double q = c.offset + static_cast<double>(k);
    for (size_t i = c.segs.size(); i-- > 0;) {
        const Segment& s = c.segs[i];
        if (s.p0 < q) {
            if (s.f <= 0.0) return INFINITY;
            return static_cast<double>(s.t0) + (q - s.p0) / s.f * 1e9;
        }
    }
    return INFINITY;
}

uint32_t countOf(double ns) {
    if (!(ns >= 0.0)) return 0;
    const double counts = ns * kCountsPerNs;
    return counts >= 4294967295.0 ? kNoCount : static_cast<uint32_t>(counts);
}

uint32_t teethRegister(int ch) { return ZARN_TSS_TEETH0 + static_cast<uint32_t>(ch) * ZARN_TSS_STRIDE; }

uint32_t teethPerMeasure(int ch) { return static_cast<uint32_t>(board::peek16(teethRegister(ch))) + 1; }

// The same, with the board's lock held.
uint32_t teethPerMeasureHeld(int ch) { return static_cast<uint32_t>(board::peek16Held(teethRegister(ch))) + 1; }

// Period A once n edges have been seen.
uint32_t periodAAfter(const Channel& c, uint32_t k, int64_t n) {
    if (n - static_cast<int64_t>(k) < 1) return kNoCount;
    return countOf(edgeTime(c, n) - edgeTime(c, n - k));
}

uint32_t periodA(const Channel& c, uint32_t k, int64_t t) { return periodAAfter(c, k, edgeCount(c, t)); }

// The sample registers of the tick starting at `tick`: period A at each
// sample instant, worked out once for every run of instants that saw the
// same edges.
const SampleTable& samplesOf(Channel& c, uint32_t k, int64_t tick) {
    SampleTable& s = c.samples;
    if (s.tick == tick && s.k == k) return s;
    // The wheel never turns back: with no edge between the first instant
    // and the last, every sample shows the same count.
    const int64_t first = tick - (ZARN_TSS_SAMPLE_COUNT - 1) * kSampleNs;
    if (first >= 0 && edgeCount(c, first) == edgeCount(c, tick)) {
        s.counts.fill(periodA(c, k, tick));
        s.tick = tick;
        s.k = k;
        return s;
    }
    int64_t seen = -1;
    uint32_t count = kNoCount;
    for (int64_t i = 0; i < ZARN_TSS_SAMPLE_COUNT; ++i) {
        const int64_t at = tick - (ZARN_TSS_SAMPLE_COUNT - 1 - i) * kSampleNs;
        if (at < 0) {
            s.counts[static_cast<size_t>(i)] = kNoCount;
            continue;
        }
        const int64_t n = edgeCount(c, at);
        if (n != seen) {
            seen = n;
            count = periodAAfter(c, k, n);
        }
        s.counts[static_cast<size_t>(i)] = count;
    }
    s.tick = tick;
    s.k = k;
    return s;
}

// Period B: from the last edge seen to t.
uint32_t periodBAfter(const Channel& c, int64_t n, int64_t t) {
    if (n < 1) return kNoCount;
    return countOf(static_cast<double>(t) - edgeTime(c, n));
}

const Registers& registersAt(Channel& c, uint32_t k, int64_t t) {
    Registers& r = c.regs;
    if (r.t == t && r.k == k) return r;
    r.t = t;
    r.k = k;
    r.edges = edgeCount(c, t);
    r.periodA = periodAAfter(c, k, r.edges);
    r.periodB = periodBAfter(c, r.edges, t);
    return r;
}

// Count from the last channel 0 edge to the next channel 1 edge, both seen.
uint32_t phaseCount(int64_t t) {
    int64_t n0 = edgeCount(chans[0], t);
    for (int tries = 0; tries < 2 && n0 >= 1; ++tries, --n0) {
        const double e0 = edgeTime(chans[0], n0);
        const int64_t next1 = edgeCount(chans[1], static_cast<int64_t>(e0)) + 1;
        const double e1 = edgeTime(chans[1], next1);
        if (e1 <= static_cast<double>(t)) return countOf(e1 - e0);
    }
    return kNoCount;
}

// Drops segments no register can show any more; k is the channel's teeth
// per measurement.
void prune(Channel& c, uint32_t k, int64_t t) {
    const int64_t n = edgeCount(c, t);
    const int64_t oldestEdge = n - static_cast<int64_t>(k) - 2;
    double keepFrom = static_cast<double>(t - kKeepNs);
    if (oldestEdge >= 1) keepFrom = std::fmin(keepFrom, edgeTime(c, oldestEdge));
    else keepFrom = -INFINITY;
    size_t drop = 0;
    while (drop + 1 < c.segs.size() && static_cast<double>(c.segs[drop + 1].t0) <= keepFrom) ++drop;
    c.segs.erase(c.segs.begin(), c.segs.begin() + static_cast<std::ptrdiff_t>(drop));
}

void forgetSamples(Channel& c) {
    c.samples = SampleTable{};
    c.regs = Registers{};
}

// Called with the board's lock held, as every callback is.
uint32_t readChannel(int ch, uint32_t reg32, uint32_t stored16or32, int64_t t) {
    const uint32_t k = teethPerMeasureHeld(ch);
    Channel& c = chans[ch];
    const uint32_t base = static_cast<uint32_t>(ch) * ZARN_TSS_STRIDE;
    if (reg32 == ZARN_TSS_PERIOD_A0 + base || reg32 == ZARN_TSS_PERIOD_B0 + base) {
        const Registers& r = registersAt(c, k, t);
        // A pass reads period A twice and period B once: the board answers
        // the others of them at this same time without coming back here.
        const uint32_t pair[2] = {r.periodA, r.periodB};
        board::publishReads(2 + ch, ZARN_TSS_PERIOD_A0 + base, pair, 2, static_cast<uint64_t>(t),
                            static_cast<uint64_t>(t) + 1);
        return reg32 == ZARN_TSS_PERIOD_A0 + base ? r.periodA : r.periodB;
    }
    if (reg32 == ZARN_TSS_TOOTH_COUNT0 + base) return static_cast<uint32_t>(registersAt(c, k, t).edges & 0xFFFF);
    const uint32_t first = ZARN_TSS_SAMPLES0 + base;
    const uint32_t last = first + 4u * (ZARN_TSS_SAMPLE_COUNT - 1);
    if (reg32 >= first && reg32 <= last) {
        const int64_t tick = t / kTickNs * kTickNs;
        const SampleTable& samples = samplesOf(c, k, tick);
        // The filter reads them all, one after the other: let the board
        // answer the rest of them without coming back here.
        board::publishReads(ch, first, samples.counts.data(), samples.counts.size(), static_cast<uint64_t>(tick),
                            static_cast<uint64_t>(tick + kTickNs));
        return samples.counts[(reg32 - first) / 4];
    }
    return stored16or32;
}

// The CPU's view of a register of the model: 32-bit registers read whole,
// or by halves (high half at the register's address).
uint32_t onRead(uint32_t address, int width, uint32_t stored) {
    const int64_t t = now();
    uint32_t value;
    const uint32_t reg32 = address & ~3u;
    if (reg32 == ZARN_TSS_PHASE) {
        value = phaseCount(t);
    } else {
        const int ch = address >= ZARN_TSS_SAMPLES0 + ZARN_TSS_STRIDE ? 1 : 0;
        const bool sixteenBitReg = (reg32 == ZARN_TSS_TOOTH_COUNT0 + ch * ZARN_TSS_STRIDE) ||
                                   (reg32 == ZARN_TSS_TEETH0 + ch * ZARN_TSS_STRIDE);
        if (sixteenBitReg) return width == 16 ? readChannel(ch, address, stored, t) : stored;
        value = readChannel(ch, reg32, stored, t);
    }
    if (width == 32) return value;
    return (address & 2u) ? (value & 0xFFFFu) : (value >> 16);
}

void change(int ch, int64_t t, double hz) {
    if (ch != 0 && ch != 1) return;
    const uint32_t k = teethPerMeasure(ch);
    auto g = board::lock();
    Channel& c = chans[ch];
    if (t < c.segs.back().t0) {
        std::fprintf(stderr, "speedsensor: channel %d speed change scheduled before an earlier one\n", ch);
        std::abort();
    }
    const double f = std::fabs(hz);
    const double p = position(c, t);
    if (t == c.segs.back().t0) {
        c.segs.back().f = f;
    } else {
        c.segs.push_back(Segment{t, f, p});
    }
    prune(c, k, now());
    forgetSamples(c);
}

const bool installedAtStart = (install(), true);

}  // namespace

void install() {
    {
        auto g = board::lock();
        chans[0] = Channel{};
        chans[1] = Channel{};
    }
    const board::Behaviour b{onRead, nullptr};
    board::attach(ZARN_TSS_PHASE, ZARN_TSS_PHASE + 2, b);
    for (uint32_t ch = 0; ch < 2; ++ch) {
        const uint32_t base = ch * ZARN_TSS_STRIDE;
        board::attach(ZARN_TSS_SAMPLES0 + base, ZARN_TSS_PERIOD_B0 + base + 2, b);
    }
}

void setToothFrequencyAt(int ch, uint64_t timeNs, double hz) { change(ch, static_cast<int64_t>(timeNs), hz); }
void setToothFrequency(int ch, double hz) { change(ch, now(), hz); }

void setShaftSpeedAt(int ch, uint64_t timeNs, double rpm, int teeth, double gear) {
    setToothFrequencyAt(ch, timeNs, rpm * gear * teeth / 60.0);
}
void setShaftSpeed(int ch, double rpm, int teeth, double gear) {
    setToothFrequency(ch, rpm * gear * teeth / 60.0);
}

void failSensor(int ch) { setToothFrequency(ch, 0.0); }

void setPhaseDegrees(double degrees) {
    const int64_t t = now();
    auto g = board::lock();
    // Channel 1's edges fall where channel 0's position is an edge plus the
    // phase, counting from where both wheels stand now.
    const double shift = degrees / 360.0 + position(chans[1], t) - position(chans[0], t);
    chans[1].offset = shift - std::floor(shift);
    forgetSamples(chans[1]);
}

double toothFrequency(int ch) {
    if (ch != 0 && ch != 1) return 0.0;
    auto g = board::lock();
    // The segment in force now: a change scheduled for later is not yet.
    const int64_t t = now();
    const std::vector<Segment>& segs = chans[ch].segs;
    for (size_t i = segs.size(); i-- > 0;)
        if (segs[i].t0 <= t) return segs[i].f;
    return segs.front().f;
}

uint64_t edges(int ch) {
    if (ch != 0 && ch != 1) return 0;
    auto g = board::lock();
    return static_cast<uint64_t>(edgeCount(chans[ch], now()));
}

}  // namespace speedsensor
