// The application's cross-rate copy routines through real passes: values
// change for the reading group only at its frame boundary.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/control/MPU_OVRD.cells.h"
#include "app/control/MPU.cells.h"
#include "app/control/RESET.cells.h"
#include "app/control/SPD_CTRL.cells.h"
#include "host/hostkernel.h"
#include "runtime/appmem.h"
#include "runtime/catalogue.h"
#include "runtime/dbug.h"
#include "runtime/rgtask.h"
#include "tests/support/app_harness.h"
#include "tests/writers/xref.h"

namespace {
struct Seen {
    uint32_t slow_pass;  // 160 ms frames completed when the value was read
    float value;
};
// Two application cells that cross between the groups through the
// application's own copy routines: a 160 ms value read by the 10 ms group
// and a 10 ms value read by the 160 ms group.
std::vector<Seen> g_seen;  // the 160 ms value as each 10 ms pass read it
std::vector<float> g_slow_seen;  // the 10 ms value as the 160 ms group read it, twice a frame
uint32_t g_slow_pass, g_fast_pass;
}  // namespace

namespace r160 {
// Writes its frame number, then reads the 10 ms group's value around 25 ms
// of CPU time in which five 10 ms frames pre-empt it.
void slow_slice() {
    MPU_OVRD.MIN_SPD_1_A_NAME = static_cast<float>(++g_slow_pass);
    g_slow_seen.push_back(SPD_CTRL.SPD_PID_CALC_P);
    hk::consumeCpu(25'000'000);
    g_slow_seen.push_back(SPD_CTRL.SPD_PID_CALC_P);
}
}  // namespace r160

namespace r10 {
void fast_slice() {
    g_seen.push_back({g_slow_pass, MPU_OVRD.MIN_SPD_1_A_NAME});
    SPD_CTRL.SPD_PID_CALC_P = static_cast<float>(++g_fast_pass);
}
}  // namespace r10

using CrossRate = tc_test::AppHarness;

TEST_F(CrossRate, ValuesChangeOnlyAtTheReaderFrameBoundary) {
    useSlices(0, {r10::fast_slice});
    useSlices(4, {r160::slow_slice});
    startApp();
    runPasses(4, 6);
    // Every 10 ms pass of a 160 ms frame sees the value the 160 ms group wrote
    // in its previous frame, copied at this frame's release: runs of 16.
    size_t k = 0;
    while (k < g_seen.size() && g_seen[k].value == 0.0f) ++k;  // before the first copy
    int runs = 0;
    for (size_t n = 0; k < g_seen.size(); k += n, n = 0) {
        // The copy precedes the 160 ms group's pass in the release tick.
        EXPECT_EQ(g_seen[k].slow_pass, static_cast<uint32_t>(g_seen[k].value));
        while (k + n < g_seen.size() && g_seen[k + n].value == g_seen[k].value) ++n;
        if (k + n == g_seen.size()) break;
        EXPECT_EQ(n, 16u) << "value " << g_seen[k].value;
        EXPECT_EQ(g_seen[k + n].value, g_seen[k].value + 1.0f);
        ++runs;
    }
    EXPECT_GE(runs, 4);
    // The 10 ms group's values written during a 160 ms frame stay unseen until the next.
    ASSERT_GE(g_slow_seen.size(), 8u);
    for (size_t f = 0; f + 1 < g_slow_seen.size(); f += 2) {
        EXPECT_EQ(g_slow_seen[f], g_slow_seen[f + 1]) << "frame " << f / 2;
        EXPECT_TRUE(f == 0 || g_slow_seen[f] > g_slow_seen[f - 2]) << "frame " << f / 2;
    }
}


namespace {

// One crossing cell per pair of groups that the application's cells cross:
// the writing group writes its frame count into it, the reading group
// records what it sees in its own copy.
struct PairCase {
    const char* name;
    void (*write)(uint32_t);
    uint32_t (*read)();
    int writer;
    int reader;
};

uint32_t g_writes;
void (*g_write)(uint32_t);
uint32_t (*g_read)();
std::vector<uint32_t> g_reads;
std::vector<uint64_t> g_readTicks, g_writeTicks;

void write_slice() {
    g_writeTicks.push_back(hk::ticks());
    g_write(++g_writes);
}
void read_slice() {
    g_reads.push_back(g_read());
    g_readTicks.push_back(hk::ticks());
}

class CrossingPairs : public tc_test::AppHarness, public ::testing::WithParamInterface<PairCase> {};

// The reader sees the writer's values through its own copy: a slower writer's
// value holds for whole runs of the period ratio and then moves on by one,
// in the first reader frame after the writer's frame; a faster writer's
// value moves on by the period ratio from one reader frame to the next.
TEST_P(CrossingPairs, ReaderSeesTheWriterAtItsFrameBoundary) {
    const PairCase& c = GetParam();
    g_writes = 0;
    g_reads.clear();
    g_readTicks.clear();
    g_writeTicks.clear();
    g_write = c.write;
    g_read = c.read;
    useSlices(c.writer, {write_slice});
    useSlices(c.reader, {read_slice});
    startApp();
    runPasses(std::max(c.writer, c.reader), 8);
    const uint32_t ratio = 1u << std::abs(c.writer - c.reader);
    size_t k = 0;
    while (k < g_reads.size() && g_reads[k] == 0) ++k;
    ASSERT_LT(k + 4, g_reads.size()) << "the reader never saw the writer";
    if (c.writer > c.reader) {
        for (size_t j = k + 1; j < g_reads.size(); ++j) {
            if (g_reads[j] == g_reads[j - 1]) continue;
            auto w = std::upper_bound(g_writeTicks.begin(), g_writeTicks.end(), g_readTicks[j]);
            ASSERT_NE(w, g_writeTicks.begin());
            EXPECT_LE(g_readTicks[j] - *std::prev(w), 2u << c.reader) << "changed at tick " << g_readTicks[j];
        }
        size_t runs = 0;
        for (size_t n = 0; k < g_reads.size(); k += n, n = 0) {
            while (k + n < g_reads.size() && g_reads[k + n] == g_reads[k]) ++n;
            if (k + n == g_reads.size()) break;
            EXPECT_EQ(n, ratio) << "value " << g_reads[k];
            EXPECT_EQ(g_reads[k + n], g_reads[k] + 1);
            ++runs;
        }
        EXPECT_GE(runs, 4u);
    } else {
        for (++k; k < g_reads.size(); ++k) EXPECT_EQ(g_reads[k] - g_reads[k - 1], ratio) << k;
    }
}

const PairCase kPairCases[] = {
    {"R10ToR20", [](uint32_t v) { r10::MPU.TURB_SPD_A_NAME = float(v); }, [] { return uint32_t(r20::MPU.TURB_SPD_A_NAME); }, 0, 1},
    {"R10ToR40", [](uint32_t v) { r10::SPD_CTRL.SPD_PID_OPTI_STATUS = int32_t(v); },
     [] { return uint32_t(r40::SPD_CTRL.SPD_PID_OPTI_STATUS); }, 0, 2},
    {"R10ToR80", [](uint32_t v) { r10::MPU.TURB_SPD_A_NAME = float(v); }, [] { return uint32_t(r80::MPU.TURB_SPD_A_NAME); }, 0, 3},
    {"R10ToR160", [](uint32_t v) { r10::SPD_CTRL.SPD_PID_CALC_I = float(v); },
     [] { return uint32_t(r160::SPD_CTRL.SPD_PID_CALC_I); }, 0, 4},
    {"R80ToR10", [](uint32_t v) { r80::RESET.RESET_B_NAME = v; }, [] { return uint32_t(r10::RESET.RESET_B_NAME); }, 3, 0},
    {"R80ToR20", [](uint32_t v) { r80::RESET.RESET_B_NAME = v; }, [] { return uint32_t(r20::RESET.RESET_B_NAME); }, 3, 1},
    {"R160ToR10", [](uint32_t v) { r160::MPU_OVRD.MIN_SPD_2_A_NAME = float(v); },
     [] { return uint32_t(r10::MPU_OVRD.MIN_SPD_2_A_NAME); }, 4, 0},
};
INSTANTIATE_TEST_SUITE_P(Pairs, CrossingPairs, ::testing::ValuesIn(kPairCases),
                         [](const ::testing::TestParamInfo<PairCase>& i) { return std::string(i.param.name); });

// ---- the copies each routine makes ------------------------------------------------
// Every copy area is filled with a pattern and every cell cleared; a routine
// then overwrites exactly its own slots, so the slots that lose the pattern
// count its copies per area.
struct Area {
    void* base;
    uint32_t count, width;
};
const Area kDown[5] = {{dn_b, NUM_dn_b, 4}, {dn_r, NUM_dn_r, 4}, {dn_i, NUM_dn_i, 4}, {dn_t, NUM_dn_t, 8}, {dn_c, NUM_dn_c, 40}};
const Area kUp[5] = {{up_b, NUM_up_b, 4}, {up_r, NUM_up_r, 4}, {up_i, NUM_up_i, 4}, {up_t, NUM_up_t, 8}, {up_c, NUM_up_c, 40}};
constexpr unsigned char kPattern = 0xA5;

bool copied_slot(const Area& a, uint32_t k) {
    const auto* p = static_cast<const unsigned char*>(a.base) + size_t{k} * a.width;
    for (uint32_t b = 0; b < a.width; ++b)
        if (p[b] != kPattern) return true;
    return false;
}
uint32_t copied(const Area& a) {
    uint32_t n = 0;
    for (uint32_t k = 0; k < a.count; ++k) n += copied_slot(a, k);
    return n;
}

// Every copy slot filled with the pattern, then the routine run once.
void run_on_patterned_slots(void (*routine)()) {
    for (const Area& a : kDown) std::memset(a.base, kPattern, size_t{a.count} * a.width);
    for (const Area& a : kUp) std::memset(a.base, kPattern, size_t{a.count} * a.width);
    routine();
}

// Booleans, reals, integers, times, strings of each direction.
struct RoutineCopies {
    const char* name;
    void (*routine)();
    uint32_t down[5], up[5];
};
// The copies of each routine as the design counts them.
const RoutineCopies kRoutines[] = {
    {"_R10_R20_move_vals", _R10_R20_move_vals, {4, 21, 0, 0, 0}, {27, 6, 0, 0, 0}},
    {"_R10_R40_move_vals", _R10_R40_move_vals, {37, 8, 1, 1, 0}, {7, 5, 0, 0, 0}},
    {"_R10_R80_move_vals", _R10_R80_move_vals, {50, 11, 0, 1, 0}, {27, 16, 0, 0, 0}},
    {"_R10_R160_move_vals", _R10_R160_move_vals, {56, 26, 5, 1, 1}, {102, 45, 68, 0, 0}},
    {"_R20_R40_move_vals", _R20_R40_move_vals, {29, 13, 0, 0, 0}, {16, 0, 0, 0, 0}},
    {"_R20_R80_move_vals", _R20_R80_move_vals, {105, 34, 0, 0, 0}, {12, 8, 0, 0, 0}},
    {"_R20_R160_move_vals", _R20_R160_move_vals, {94, 52, 5, 0, 0}, {84, 108, 47, 0, 0}},
    {"_R40_R80_move_vals", _R40_R80_move_vals, {17, 7, 0, 0, 0}, {39, 28, 0, 0, 0}},
    {"_R40_R160_move_vals", _R40_R160_move_vals, {32, 8, 0, 0, 0}, {198, 144, 46, 0, 0}},
    {"_R80_R160_move_vals", _R80_R160_move_vals, {135, 49, 0, 0, 0}, {180, 82, 19, 0, 0}},
};

// Where the program's readers still differ from the design's: the
// program's count.
struct Deviation {
    const char* routine;
    bool up;
    int kind;  // 0 b, 1 r, 2 i, 3 t, 4 c
    uint32_t program;
};
// Every copy the program makes is read by its reading group (checked
// below). Where the design counts a copy more, the cell named is one whose
// copy no code of the reading group reads; the others are not traced yet.
const Deviation kDeviations[] = {
    {"_R10_R80_move_vals", false, 0, 51},    // one 10 ms boolean more (contact, relay and command states)
    {"_R10_R80_move_vals", true, 0, 26},     // SPDC.Z01_STEP.SFC_STEP: no 10 ms step reads it
    {"_R10_R160_move_vals", false, 0, 54},   // two 10 ms booleans fewer
    {"_R10_R160_move_vals", false, 2, 4},    // SHUTDOWNS.ANY.FIRST_ALM: no 160 ms step reads it
    {"_R20_R160_move_vals", true, 1, 109},   // one 160 ms real more (channel ranges, filters, gains)
    {"_R40_R160_move_vals", false, 1, 7},    // one 40 ms real fewer
    {"_R40_R160_move_vals", true, 0, 201},   // three 160 ms booleans more (alarm overrides, relay states)
    {"_R80_R160_move_vals", false, 0, 134},  // one 80 ms boolean fewer
    // CASC_ENBL.NO_BI_CF.NOT, RMT_CAS_EN.BI_ON.B_ACTION, MOD.MOD1.BW_V_20 and
    // SPDC.B01_STEP.SFC_STEP: no 80 ms step reads them.
    {"_R80_R160_move_vals", true, 0, 176},
    {"_R80_R160_move_vals", true, 1, 80},    // two 160 ms reals fewer
};

uint32_t expected(const RoutineCopies& r, bool up, int kind) {
    for (const Deviation& d : kDeviations)
        if (std::string(d.routine) == r.name && d.up == up && d.kind == kind) return d.program;
    return up ? r.up[kind] : r.down[kind];
}

TEST(CrossRateCopies, EachRoutineCopiesItsCountOfEachKindAndEverySlotOnce) {
    static const char* const kKind[] = {"booleans", "reals", "integers", "times", "strings"};
    uint32_t total_down[5] = {}, total_up[5] = {};
    for (const RoutineCopies& r : kRoutines) {
        init_blk_ram();
        run_on_patterned_slots(r.routine);
        for (int k = 0; k < 5; ++k) {
            EXPECT_EQ(copied(kDown[k]), expected(r, false, k)) << r.name << " down " << kKind[k];
            EXPECT_EQ(copied(kUp[k]), expected(r, true, k)) << r.name << " up " << kKind[k];
            total_down[k] += copied(kDown[k]);
            total_up[k] += copied(kUp[k]);
        }
    }
    // Each slot has one copy statement; the time and string up areas keep
    // their one cleared element, which no routine writes.
    const uint32_t down_areas[5] = {NUM_dn_b, NUM_dn_r, NUM_dn_i, NUM_dn_t, NUM_dn_c};
    const uint32_t up_areas[5] = {NUM_up_b, NUM_up_r, NUM_up_i, 0, 0};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(total_down[k], down_areas[k]) << kKind[k];
        EXPECT_EQ(total_up[k], up_areas[k]) << kKind[k];
    }
    EXPECT_EQ(NUM_up_t, 1u);
    EXPECT_EQ(NUM_up_c, 1u);
}

// ---- who reads each copy ------------------------------------------------------------
// Every cell is tagged with its own index; a routine's copies then carry the
// tags into the slots, so each copied slot names its cell.
struct CellName {
    std::string module, member, name;
};
std::map<CellRef, CellName> directory_cells() {
    const DbugTables t = app_dbug_tables();
    std::map<CellRef, CellName> out;
    for (uint32_t h = 1; h + 1 < t.num_hdr; ++h)
        for (uint32_t r = t.hdr[h].first; r <= t.hdr[h].last; ++r) {
            std::string member = t.var[r].name;
            for (char& c : member)
                if (c == '.') c = '_';
            out[dbug_cell_of(t, t.var[r])] = {t.hdr[h].name, member, std::string(t.hdr[h].name) + "." + t.var[r].name};
        }
    return out;
}

void tag_cells() {
    for (uint32_t k = 0; k < NUM_mr_b; ++k) mr_b[k] = k + 1;
    for (uint32_t k = 0; k < NUM_mr_r; ++k) mr_r[k] = static_cast<float>(k + 1);
    for (uint32_t k = 0; k < NUM_mr_i; ++k) mr_i[k] = static_cast<int32_t>(k + 1);
    for (uint32_t k = 0; k < NUM_mr_t; ++k) mr_t[k] = TimeCell{k + 1, 0};
    for (uint32_t k = 0; k < NUM_mr_c; ++k) std::snprintf(mr_c[k].s, sizeof mr_c[k].s, "%u", k + 1);
}

// The cell whose tag a copied slot k of area kind `kind` holds (a time's
// tag is its seconds word).
CellRef source_of(const Area& a, int kind, uint32_t k) {
    static const AreaCode kCellArea[5] = {AREA_mr_b, AREA_mr_r, AREA_mr_i, AREA_mr_t, AREA_mr_c};
    const auto* p = static_cast<const unsigned char*>(a.base) + size_t{k} * a.width;
    uint32_t tag = 0;
    if (kind == 1) {
        float f;
        std::memcpy(&f, p, 4);
        tag = static_cast<uint32_t>(f);
    } else if (kind == 4) {
        tag = static_cast<uint32_t>(std::strtoul(reinterpret_cast<const char*>(p), nullptr, 10));
    } else {
        std::memcpy(&tag, p, 4);
    }
    return cell_ref(kCellArea[kind], (tag - 1) * a.width);
}

// A copy that no code of its reading group reads is a stale duplicate: each
// copied cell must be read through the copy slot in the view of the group
// the copy is made for (from the build's cross-reference).
TEST(CrossRateCopies, EveryCopiedCellIsReadByTheGroupItIsCopiedFor) {
    const xref::Listing& l = xref::listing();
    if (!l.loaded) GTEST_SKIP() << l.error;
    ASSERT_GT(l.cells.size(), 10000u) << "the cross-reference is incomplete";
    const std::map<CellRef, CellName> cells = directory_cells();
    static const char* const kGroupName[5] = {"10 ms", "20 ms", "40 ms", "80 ms", "160 ms"};
    uint32_t copies = 0;
    for (size_t p = 0; p < std::size(kRoutines); ++p) {
        init_blk_ram();
        tag_cells();
        run_on_patterned_slots(kRoutines[p].routine);
        for (const bool up : {false, true}) {
            const int reader = up ? cat::kPairs[p].fast : cat::kPairs[p].slow;
            for (int kind = 0; kind < 5; ++kind) {
                const Area& a = up ? kUp[kind] : kDown[kind];
                for (uint32_t k = 0; k < a.count; ++k) {
                    if (!copied_slot(a, k)) continue;
                    ++copies;
                    const auto c = cells.find(source_of(a, kind, k));
                    ASSERT_NE(c, cells.end()) << kRoutines[p].name << ": a slot holds no cell's tag";
                    const auto u = l.cells.find(c->second.module + " " + c->second.member);
                    EXPECT_TRUE(u != l.cells.end() && u->second.slot_reads.count(reader))
                        << c->second.name << " is copied by " << kRoutines[p].name << " for the " << kGroupName[reader]
                        << " group, whose code never reads it: drop that group from the cell's readers";
                }
            }
        }
    }
    init_blk_ram();
    EXPECT_GT(copies, 2000u);
}

}  // namespace
