// Slices of fixture modules through real passes of the rate-group runtime:
// unit delays across slices.
#include <gtest/gtest.h>

#include <vector>

#include "host/hostkernel.h"
#include "runtime/blockkinds.h"
#include "tests/runtime_catalogue/fixture_cells.h"
#include "tests/support/app_harness.h"

namespace {
uint32_t g_toggle;
}  // namespace

namespace r10 {
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
        useCatalogue({fx::tables(), fx::ptr, fx::clear_areas});
    }
};

TEST_F(Harness, UnitDelayBetweenSlicesShowsThePreviousPassInput) {
    useSlices(0, {r10::delay_reader, r10::delay_writer, r10::delay_commit});
    startApp();
    for (int k = 0; k < 6; ++k) {
        runPasses(0, 1);
        EXPECT_NE(boolean("XR.FAST.SEEN_DLY"), boolean("XR.FAST.DLY_IN"));
        EXPECT_EQ(boolean("XR.FAST.DLY"), boolean("XR.FAST.DLY_IN"));
    }
}
