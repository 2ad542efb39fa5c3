// Cost of the common block kinds (nanoseconds per block) and of the
// cross-rate copy routines: the application's ten routines and a bench
// catalogue shaped like the largest routine (465 moves: 135 booleans and 49
// reals down to the 160 ms group, 180 booleans, 82 reals and 19 integers up).
#define CAT_CENTRAL 1
#include "runtime/catalogue_central.h"

namespace bench_reg {
inline constexpr int kBase = __COUNTER__;
}
struct BenchCat {};
// Rows in tens: X(block, field, type, group, access, readers).
#define CAT_TEN(X, BLK, TY, RG, RD)                                                                      \
    X(BLK, F0, TY, RG, PLAIN, RD) X(BLK, F1, TY, RG, PLAIN, RD) X(BLK, F2, TY, RG, PLAIN, RD)           \
    X(BLK, F3, TY, RG, PLAIN, RD) X(BLK, F4, TY, RG, PLAIN, RD) X(BLK, F5, TY, RG, PLAIN, RD)           \
    X(BLK, F6, TY, RG, PLAIN, RD) X(BLK, F7, TY, RG, PLAIN, RD) X(BLK, F8, TY, RG, PLAIN, RD)           \
    X(BLK, F9, TY, RG, PLAIN, RD)
#define CAT_FIVE(X, BLK, TY, RG, RD)                                                                     \
    X(BLK, F0, TY, RG, PLAIN, RD) X(BLK, F1, TY, RG, PLAIN, RD) X(BLK, F2, TY, RG, PLAIN, RD)           \
    X(BLK, F3, TY, RG, PLAIN, RD) X(BLK, F4, TY, RG, PLAIN, RD)
#define DOWN_CELLS(X)                                                                                    \
    CAT_TEN(X, B0, B, R80, R160) CAT_TEN(X, B1, B, R80, R160) CAT_TEN(X, B2, B, R80, R160)             \
    CAT_TEN(X, B3, B, R80, R160) CAT_TEN(X, B4, B, R80, R160) CAT_TEN(X, B5, B, R80, R160)             \
    CAT_TEN(X, B6, B, R80, R160) CAT_TEN(X, B7, B, R80, R160) CAT_TEN(X, B8, B, R80, R160)             \
    CAT_TEN(X, B9, B, R80, R160) CAT_TEN(X, BA, B, R80, R160) CAT_TEN(X, BB, B, R80, R160)             \
    CAT_TEN(X, BC, B, R80, R160) CAT_FIVE(X, BD, B, R80, R160)                                          \
    CAT_TEN(X, R0, A, R80, R160) CAT_TEN(X, R1, A, R80, R160) CAT_TEN(X, R2, A, R80, R160)             \
    CAT_TEN(X, R3, A, R80, R160) CAT_FIVE(X, R4, A, R80, R160) X(R5, F0, A, R80, PLAIN, R160)           \
    X(R5, F1, A, R80, PLAIN, R160) X(R5, F2, A, R80, PLAIN, R160) X(R5, F3, A, R80, PLAIN, R160)
CAT_MODULE_IN(BenchCat, DOWN)
#define UP_CELLS(X)                                                                                      \
    CAT_TEN(X, B0, B, R160, R80) CAT_TEN(X, B1, B, R160, R80) CAT_TEN(X, B2, B, R160, R80)             \
    CAT_TEN(X, B3, B, R160, R80) CAT_TEN(X, B4, B, R160, R80) CAT_TEN(X, B5, B, R160, R80)             \
    CAT_TEN(X, B6, B, R160, R80) CAT_TEN(X, B7, B, R160, R80) CAT_TEN(X, B8, B, R160, R80)             \
    CAT_TEN(X, B9, B, R160, R80) CAT_TEN(X, BA, B, R160, R80) CAT_TEN(X, BB, B, R160, R80)             \
    CAT_TEN(X, BC, B, R160, R80) CAT_TEN(X, BD, B, R160, R80) CAT_TEN(X, BE, B, R160, R80)             \
    CAT_TEN(X, BF, B, R160, R80) CAT_TEN(X, BG, B, R160, R80) CAT_TEN(X, BH, B, R160, R80)             \
    CAT_TEN(X, R0, A, R160, R80) CAT_TEN(X, R1, A, R160, R80) CAT_TEN(X, R2, A, R160, R80)             \
    CAT_TEN(X, R3, A, R160, R80) CAT_TEN(X, R4, A, R160, R80) CAT_TEN(X, R5, A, R160, R80)             \
    CAT_TEN(X, R6, A, R160, R80) CAT_TEN(X, R7, A, R160, R80) X(R8, F0, A, R160, PLAIN, R80)            \
    X(R8, F1, A, R160, PLAIN, R80) CAT_TEN(X, I0, I, R160, R80) CAT_FIVE(X, I1, I, R160, R80)           \
    X(I2, F0, I, R160, PLAIN, R80) X(I2, F1, I, R160, PLAIN, R80) X(I2, F2, I, R160, PLAIN, R80)        \
    X(I2, F3, I, R160, PLAIN, R80)
CAT_MODULE_IN(BenchCat, UP)
#define BLK_CELLS(X)                                                                                     \
    X(LAG, LAG_2, A, R10, PLAIN) X(LAG, LAG_TAU, A, R10, TUNE(0.1f, 0.0f, 1.0f))                        \
    X(LAG, DERIV, A, R10, PLAIN) X(IN, A_NAME, A, R10, PLAIN) X(DLY, DELAY, B, R10, PLAIN)
CAT_MODULE_IN(BenchCat, BLK)
namespace bench_reg {
inline constexpr int kEnd = __COUNTER__;
using Modules = cat::reg::Collect<BenchCat, kBase + 1, kEnd>::type;
using Tables = cat::Derive<Modules>;
cat::AreaStorage<Tables> storage;
}  // namespace bench_reg
template <>
struct cat::CatalogueOf<BenchCat> {
    using Tables = bench_reg::Tables;
    static constexpr AreaSet areas = area_set(bench_reg::storage);
};
extern const cat::Bases* const* const bench_bases;
const cat::Bases* const* const bench_bases = cat::ForceBases<bench_reg::Modules>::all;

#include <benchmark/benchmark.h>

#include "runtime/blockkinds.h"
#include "runtime/rgtask.h"

namespace {

constexpr int kBatch = 1000;  // blocks per iteration; the counters report per block

float input(int k) { return static_cast<float>(k % 97) * 0.37f; }

// Lets the outputs escape, so that their stores are kept.
template <class T>
void escape(T& arr) {
    benchmark::DoNotOptimize(&arr[0]);
}

void report(benchmark::State& st) {
    st.SetItemsProcessed(st.iterations() * kBatch);
    st.counters["ns_per_block"] =
        benchmark::Counter(static_cast<double>(st.iterations()) * kBatch,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Lag(benchmark::State& st) {
    bk::LagState s[kBatch] = {};
    static float y[kBatch], d[kBatch];
    escape(s);
    escape(y);
    escape(d);
    for (auto _ : st) {
        for (int k = 0; k < kBatch; ++k) bk::LAG(s[k], y[k], &d[k], input(k), 0.2f, bk::T10);
        benchmark::ClobberMemory();
    }
    report(st);
}
BENCHMARK(BM_Lag);

void BM_LagOnCells(benchmark::State& st) {
    bk::LagState s{};
    for (auto _ : st) {
        for (int k = 0; k < kBatch; ++k) {
            r10::BLK.IN_A_NAME = input(k);
            bk::LAG(s, r10::BLK.LAG_LAG_2, &r10::BLK.LAG_DERIV.ref(), r10::BLK.IN_A_NAME, r10::BLK.LAG_LAG_TAU,
                    bk::T10);
        }
        benchmark::ClobberMemory();
    }
    report(st);
}
BENCHMARK(BM_LagOnCells);

void BM_Delay(benchmark::State& st) {
    bk::DelayState s[kBatch] = {};
    static uint32_t out[kBatch];
    static int32_t rt[kBatch];
    uint32_t pass = 0;
    escape(s);
    escape(out);
    escape(rt);
    for (auto _ : st) {
        ++pass;
        for (int k = 0; k < kBatch; ++k) bk::DELAY(s[k], out[k], &rt[k], (pass >> 6) & 1, 2.0f, 0.5f, bk::T160);
        benchmark::ClobberMemory();
    }
    report(st);
}
BENCHMARK(BM_Delay);

void BM_OneShot(benchmark::State& st) {
    bk::OneShotState s[kBatch] = {};
    static uint32_t out[kBatch];
    uint32_t pass = 0;
    escape(s);
    escape(out);
    for (auto _ : st) {
        ++pass;
        for (int k = 0; k < kBatch; ++k) bk::ONE_SHOT(s[k], out[k], nullptr, (pass >> 5) & 1, 0.5f, bk::T10);
        benchmark::ClobberMemory();
    }
    report(st);
}
BENCHMARK(BM_OneShot);

void BM_Compare(benchmark::State& st) {
    static uint32_t cmp[kBatch], eq[kBatch];
    float threshold = 0.0f;
    escape(cmp);
    escape(eq);
    for (auto _ : st) {
        threshold = threshold > 30.0f ? 0.0f : threshold + 0.5f;
        benchmark::DoNotOptimize(threshold);
        for (int k = 0; k < kBatch; ++k) bk::A_COMPARE(cmp[k], eq[k], input(k), threshold);
        benchmark::ClobberMemory();
    }
    report(st);
}
BENCHMARK(BM_Compare);

void BM_LssBus4(benchmark::State& st) {
    static float out[kBatch];
    escape(out);
    for (auto _ : st) {
        for (int k = 0; k < kBatch; ++k) out[k] = bk::LSS_BUS({input(k), 50.0f, 101.0f, input(k + 1)}, 100.0f, 0.0f).out;
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
    report(st);
}
BENCHMARK(BM_LssBus4);

void BM_RateLimit(benchmark::State& st) {
    bk::RateLimitState s[kBatch] = {};
    static float out[kBatch];
    escape(s);
    escape(out);
    for (auto _ : st) {
        for (int k = 0; k < kBatch; ++k) out[k] = bk::RATE_LIMIT(s[k], input(k), 5.0f, 5.0f, bk::T20);
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
    report(st);
}
BENCHMARK(BM_RateLimit);

void BM_Action(benchmark::State& st) {
    bk::ActionState s[kBatch] = {};
    static uint32_t b[kBatch];
    static int32_t q[kBatch];
    static float e[kBatch], r[kBatch];
    uint32_t pass = 0;
    escape(s);
    escape(b);
    escape(q);
    escape(e);
    escape(r);
    for (auto _ : st) {
        ++pass;
        for (int k = 0; k < kBatch; ++k)
            bk::ACTION(s[k], b[k], q[k], e[k], r[k], (pass >> 4) & 1, 0, 1 + k % 8, 0.1f, bk::T10);
        benchmark::ClobberMemory();
    }
    report(st);
}
BENCHMARK(BM_Action);

void BM_SampTune(benchmark::State& st) {
    bk::SampState s[kBatch] = {};
    static float tune[kBatch];
    escape(s);
    escape(tune);
    for (auto _ : st) {
        for (int k = 0; k < kBatch; ++k)
            benchmark::DoNotOptimize(
                bk::SAMP_TUNE(s[k], tune[k], input(k), k & 1, -1e38f, 30.0f, 1, 0.0f, 100.0f, 1));
        benchmark::ClobberMemory();
    }
    report(st);
}
BENCHMARK(BM_SampTune);

void BM_SfcStep(benchmark::State& st) {
    bk::SfcState s[kBatch] = {};
    static float t[kBatch];
    static uint32_t t1[kBatch], t2[kBatch];
    escape(s);
    escape(t);
    escape(t1);
    escape(t2);
    for (auto _ : st) {
        for (int k = 0; k < kBatch; ++k) bk::SFC_STEP(s[k], 1, t[k], {static_cast<uint32_t>(k & 1), 1}, bk::T80, t1[k], t2[k]);
        benchmark::ClobberMemory();
    }
    report(st);
}
BENCHMARK(BM_SfcStep);

void BM_MsgSel(benchmark::State& st) {
    static StrCell out[kBatch];
    escape(out);
    for (auto _ : st) {
        for (int k = 0; k < kBatch; ++k)
            bk::MSG_SEL(out[k], {{0, 1, "Overspeed Trip"}, {static_cast<uint32_t>(k & 1), 2, "Speed Sensor Failed"}},
                        "None");
        benchmark::ClobberMemory();
    }
    report(st);
}
BENCHMARK(BM_MsgSel);

// ---- cross-rate copies --------------------------------------------------------------------
void BM_CopyLargestShape(benchmark::State& st) {
    constexpr int p = cat::pair_index(cat::G_R80, cat::G_R160);
    for (auto _ : st) {
        cat::run_pair<bench_reg::Tables, cat::CatalogueOf<BenchCat>::areas, p>();
        benchmark::ClobberMemory();
    }
    const uint32_t moves = bench_reg::Tables::move_counts.first[cat::Derive<bench_reg::Modules>::kBuckets];
    st.counters["moves"] = moves;
    st.counters["ns_per_move"] = benchmark::Counter(static_cast<double>(st.iterations()) * moves,
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_CopyLargestShape);

void BM_AppCopyRoutine(benchmark::State& st) {
    static void (*const routines[10])() = {
        _R10_R20_move_vals,  _R10_R40_move_vals, _R10_R80_move_vals,  _R10_R160_move_vals, _R20_R40_move_vals,
        _R20_R80_move_vals,  _R20_R160_move_vals, _R40_R80_move_vals, _R40_R160_move_vals, _R80_R160_move_vals,
    };
    void (*const routine)() = routines[st.range(0)];
    for (auto _ : st) {
        routine();
        benchmark::ClobberMemory();
    }
    st.SetLabel(std::string(cat::kGroupName[cat::kPairs[st.range(0)].fast]) +
                cat::kGroupName[cat::kPairs[st.range(0)].slow] + "_move_vals");
}
BENCHMARK(BM_AppCopyRoutine)->DenseRange(0, 9);

}  // namespace
