// The application's cross-rate copy routines through real passes: values
// change for the reading group only at its frame boundary.
#include <gtest/gtest.h>

#include <vector>

#include "app/control/MPU_OVRD.cells.h"
#include "app/control/SPD_CTRL.cells.h"
#include "host/hostkernel.h"
#include "tests/support/app_harness.h"

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

