// Slices of fixture modules through real passes of the rate-group runtime:
// the cross-rate copies at frame boundaries, unit delays across slices,
// timers and sampled tunables against the start-up flags.
#include <gtest/gtest.h>

#include <vector>

#include "host/hostkernel.h"
#include "app/system/_MASTER.cells.h"
#include "runtime/blockkinds.h"
#include "tests/runtime_catalogue/fixture_cells.h"
#include "tests/support/app_harness.h"

namespace {

tc_test::CatalogueAccess fixture() { return {fx::tables(), fx::ptr, fx::clear_areas, fx::run_copies}; }

struct Seen {
    uint32_t slow_pass;  // R160 frames completed when the value was read
    float value;
};
std::vector<Seen> g_seen;
std::vector<float> g_slow_seen;
uint32_t g_slow_pass;

struct Blocks {
    bk::DelayState trip;
    bk::SampState samp;
    uint32_t toggle;
};
BlockRam<Blocks> g_blk;

}  // namespace

namespace r160 {
// The 160 ms group writes its frame number, then reads the 10 ms group's
// value twice, around a stretch of CPU time in which the 10 ms group runs.
void slow_slice() {
    ++g_slow_pass;
    XR.SLOW_VAL = static_cast<float>(g_slow_pass);
    g_slow_seen.push_back(XR.FAST_VAL);
    hk::consumeCpu(25'000'000);  // 25 ms: five 10 ms frames pre-empt it
    g_slow_seen.push_back(XR.FAST_VAL);
}
void trip_slice() {
    int32_t rt = 0;
    bk::DELAY(g_blk.trip, SAMP.TRIP_DLY_DELAY, &rt, SAMP.TRIP_DLY_IN, 2.0f, 0.0f, bk::T160);
    SAMP.TRIP_DLY_R_TIME = rt;
}
}  // namespace r160

namespace r10 {
uint32_t g_fast_pass;
void fast_slice() {
    ++g_fast_pass;
    g_seen.push_back({g_slow_pass, XR.SLOW_VAL});
    XR.FAST_VAL = static_cast<float>(g_fast_pass);
}
// Unit delay between two slices: the first reads the delayed value, the
// second computes the input and stores it; the last commits.
void delay_reader() { XR.FAST_SEEN_DLY = XR.FAST_DLY; }
void delay_writer() {
    g_blk.toggle = g_blk.toggle ? 0u : 1u;
    XR.FAST_DLY_IN = g_blk.toggle;
    bk::ZSTORE_B(4, XR.FAST_DLY_IN);
}
void delay_commit() { XR.FAST_DLY = bk::ZCOMMIT_B(4); }
}  // namespace r10

class Harness : public tc_test::AppHarness {
protected:
    void SetUp() override {
        AppHarness::SetUp();
        useCatalogue(fixture());
        g_seen.clear();
        g_slow_seen.clear();
        g_slow_pass = 0;
        r10::g_fast_pass = 0;
    }
};

TEST_F(Harness, SlowValueReachesTheFastGroupOnlyAtTheNextSlowRelease) {
    useSlices(0, {r10::fast_slice});
    useSlices(4, {r160::slow_slice});
    startApp();
    runPasses(4, 6);
    // Every 10 ms pass of a 160 ms frame sees one value: the one the 160 ms
    // group wrote in its previous frame, copied at this frame's release.
    ASSERT_GT(g_seen.size(), 60u);
    size_t k = 0;
    while (k < g_seen.size() && g_seen[k].value == 0.0f) ++k;  // before the first copy
    ASSERT_LT(k, g_seen.size());
    int runs = 0;
    while (k < g_seen.size()) {
        const float v = g_seen[k].value;
        size_t n = 0;
        while (k + n < g_seen.size() && g_seen[k + n].value == v) ++n;
        if (k + n < g_seen.size()) {
            EXPECT_EQ(n, 16u) << "value " << v;  // a whole 160 ms frame
            EXPECT_EQ(g_seen[k + n].value, v + 1.0f);
            ++runs;
        }
        // The copy precedes the slow group's pass in the release tick.
        EXPECT_EQ(g_seen[k].slow_pass, static_cast<uint32_t>(v));
        k += n;
    }
    EXPECT_GE(runs, 4);
}

TEST_F(Harness, FastChangesAreInvisibleToTheSlowGroupUntilItsNextFrame) {
    useSlices(0, {r10::fast_slice});
    useSlices(4, {r160::slow_slice});
    startApp();
    runPasses(4, 4);
    ASSERT_GE(g_slow_seen.size(), 8u);
    for (size_t f = 0; f + 1 < g_slow_seen.size(); f += 2) {
        // The 10 ms group ran five times during the stretch, unseen.
        EXPECT_EQ(g_slow_seen[f], g_slow_seen[f + 1]) << "frame " << f / 2;
        if (f >= 2) {
            EXPECT_GT(g_slow_seen[f], g_slow_seen[f - 2]) << "a new frame sees the new value";
        }
    }
    EXPECT_GT(r10::g_fast_pass, 5 * g_slow_pass);
}

TEST_F(Harness, UnitDelayBetweenSlicesShowsThePreviousPassInput) {
    useSlices(0, {r10::delay_reader, r10::delay_writer, r10::delay_commit});
    startApp();
    for (int k = 0; k < 6; ++k) {
        runPasses(0, 1);
        // The reader, before the writer in the same pass, sees the input of
        // the previous pass, not the one just computed.
        EXPECT_NE(boolean("XR.FAST.SEEN_DLY"), boolean("XR.FAST.DLY_IN"));
        EXPECT_EQ(boolean("XR.FAST.DLY"), boolean("XR.FAST.DLY_IN"));
    }
}

namespace r160 {
void samp_slice() {
    const auto o = bk::SAMP_ITUNE(g_blk.samp, SAMP.HOLD_FLT_TUNE, 0, 0, bk::kIntLoLim, 20, 1, 0, 30,
                                  static_cast<uint32_t>(AllRgExecutedwMMM));
    SAMP.HOLD_FLT_SAMP_ITUNE = o.out;
    SAMP.HOLD_FLT_LIMITED = o.limited;
    SAMP.HOLD_FLT_HI_LIM_OUT = o.hi_lim_out;
    SAMP.HOLD_FLT_EN_ENT_OUT = o.en_ent_out;
}
}  // namespace r160

TEST_F(Harness, SampledTunableIsClampedOnlyOnceEveryGroupHasRunTwice) {
    useSlices(4, {r160::samp_slice});
    startApp();
    // The first 160 ms frame has run (AllRgExecuted); a value "loaded" above
    // the dynamic limit of 20 stays through the second frame.
    EXPECT_EQ(AllRgExecuted, 1);
    EXPECT_EQ(AllRgExecutedwMMM, 0);
    setCell("SAMP.HOLD_FLT.TUNE", 25);
    runPasses(4, 1);
    EXPECT_EQ(AllRgExecutedwMMM, 1);
    EXPECT_EQ(integer("SAMP.HOLD_FLT.TUNE"), 25);
    EXPECT_EQ(boolean("SAMP.HOLD_FLT.LIMITED"), 0u);
    runPasses(4, 1);
    EXPECT_EQ(integer("SAMP.HOLD_FLT.TUNE"), 20);  // the tunable cell itself
    EXPECT_EQ(integer("SAMP.HOLD_FLT.SAMP_ITUNE"), 20);
    EXPECT_EQ(boolean("SAMP.HOLD_FLT.LIMITED"), 1u);
}

TEST_F(Harness, OnDelayOfTwoSecondsInThe160msGroupTurnsOnInThe14thPass) {
    useSlices(4, {r160::trip_slice});
    startApp();
    runPasses(4, 1);
    EXPECT_EQ(integer("SAMP.TRIP_DLY.R_TIME"), 0);  // input false
    setCell("SAMP.TRIP_DLY.IN", 1);
    for (int pass = 1; pass <= 13; ++pass) {
        runPasses(4, 1);
        EXPECT_EQ(boolean("SAMP.TRIP_DLY.DELAY"), 0u) << pass;
        EXPECT_EQ(integer("SAMP.TRIP_DLY.R_TIME"), pass * 0.16f < 1.0f ? 1 : 0) << pass;
    }
    runPasses(4, 1);
    EXPECT_EQ(boolean("SAMP.TRIP_DLY.DELAY"), 1u);
}

TEST_F(Harness, ApplicationCellsByNameAfterTheStartClearedThem) {
    cells::_MASTER._SYS_INFO_RG10_LOAD = 77;
    startApp();  // init_blk_ram clears the areas during the start
    EXPECT_EQ(integer("_MASTER._SYS_INFO.RG10_LOAD"), 0);
    setCell("_MASTER._SYS_INFO.RG10_LOAD", 12);
    EXPECT_EQ(static_cast<int32_t>(cells::_MASTER._SYS_INFO_RG10_LOAD), 12);
    setCell("_MASTER._SYS_INFO.ALM_RST", 1);  // a boolean tunable
    EXPECT_EQ(static_cast<uint32_t>(r40::_MASTER._SYS_INFO_ALM_RST), 1u);
    EXPECT_EQ(text("_APP_VARS.App Name"), "9902-4411_e");
    EXPECT_EQ(text("_SYS_VARS.OsVersion"), "1.00-0");  // set by the application start-up
    EXPECT_EQ(cell("_MASTER._SYS_INFO.NOPE"), nullptr);
}
