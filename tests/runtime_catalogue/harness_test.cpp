// Slices of fixture modules through real passes of the rate-group runtime:
// the cross-rate copies at frame boundaries and unit delays across slices.
#include <gtest/gtest.h>

#include <vector>

#include "host/hostkernel.h"
#include "runtime/blockkinds.h"
#include "tests/runtime_catalogue/fixture_cells.h"
#include "tests/support/app_harness.h"

namespace {
struct Seen {
    uint32_t slow_pass;  // 160 ms frames completed when the value was read
    float value;
};
std::vector<Seen> g_seen;  // SLOW.VAL as each 10 ms pass read it
std::vector<float> g_slow_seen;  // FAST.VAL as the 160 ms group read it, twice a frame
uint32_t g_slow_pass, g_fast_pass, g_toggle;
}  // namespace

namespace r160 {
// Writes its frame number, then reads the 10 ms group's value around 25 ms
// of CPU time in which five 10 ms frames pre-empt it.
void slow_slice() {
    XR.SLOW_VAL = static_cast<float>(++g_slow_pass);
    g_slow_seen.push_back(XR.FAST_VAL);
    hk::consumeCpu(25'000'000);
    g_slow_seen.push_back(XR.FAST_VAL);
}
}  // namespace r160

namespace r10 {
void fast_slice() {
    g_seen.push_back({g_slow_pass, XR.SLOW_VAL});
    XR.FAST_VAL = static_cast<float>(++g_fast_pass);
}
// A unit delay between slices: the reader runs before the writer stores the
// input; the commit at the end of the pass.
void delay_reader() { XR.FAST_SEEN_DLY = XR.FAST_DLY; }
void delay_writer() {
    XR.FAST_DLY_IN = g_toggle = g_toggle ? 0u : 1u;
    bk::ZSTORE_B(4, XR.FAST_DLY_IN);
}
void delay_commit() { XR.FAST_DLY = bk::ZCOMMIT_B(4); }
}  // namespace r10

class Harness : public tc_test::AppHarness {
protected:
    void SetUp() override {
        AppHarness::SetUp();
        useCatalogue({fx::tables(), fx::ptr, fx::clear_areas, fx::run_copies});
    }
};

TEST_F(Harness, CrossRateValuesChangeOnlyAtTheReaderFrameBoundary) {
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

TEST_F(Harness, UnitDelayBetweenSlicesShowsThePreviousPassInput) {
    useSlices(0, {r10::delay_reader, r10::delay_writer, r10::delay_commit});
    startApp();
    for (int k = 0; k < 6; ++k) {
        runPasses(0, 1);
        EXPECT_NE(boolean("XR.FAST.SEEN_DLY"), boolean("XR.FAST.DLY_IN"));
        EXPECT_EQ(boolean("XR.FAST.DLY"), boolean("XR.FAST.DLY_IN"));
    }
}
