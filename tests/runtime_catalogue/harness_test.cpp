// Slices of fixture modules through real passes of the rate-group runtime:
// unit delays across slices.
#include <gtest/gtest.h>

#include <vector>

#include <gtest/gtest-spi.h>

#include "host/hostkernel.h"
#include "platform/vkiobus.h"
#include "runtime/sysinfo.h"
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

// The service tool's writes go through the program's own write by handle:
// while the control runs a real moves by at most about a tenth of its old
// value, and a refused write fails the test and leaves the cell; with the
// I/O lock taken (the control stopped) any value within the limits goes in;
// an integer outside its limits is refused at any time.
class ServiceWrites : public tc_test::AppHarness {
protected:
    static ServiceWrites* self;
    void SetUp() override {
        AppHarness::SetUp();
        self = this;
    }
    void TearDown() override {
        UnAssert_IOLOCK();
        AppHarness::TearDown();
    }
    static void write(const char* name, double v) { self->serviceWrite(name, v); }
};
ServiceWrites* ServiceWrites::self = nullptr;

TEST_F(ServiceWrites, AreCheckedAndRefusedByTheProgramsOwnWritePath) {
    const char* gov = "CNFG_SETPT.QT_MIN_GOV.IN";  // a real of 0 .. 65000
    setCell(gov, 3000.0);
    serviceWrite(gov, 3303.0);
    EXPECT_EQ(real(gov), 3303.0f);
    EXPECT_NONFATAL_FAILURE(write("CNFG_SETPT.QT_MIN_GOV.IN", 2900.0), "TW_CHANGE_TOO_LARGE");
    EXPECT_NONFATAL_FAILURE(write("CNFG_SETPT.QT_MIN_GOV.IN", 2900.0), "CNFG_SETPT.QT_MIN_GOV.IN");
    EXPECT_EQ(real(gov), 3303.0f);
    serviceWrite(gov, 2973.0);  // 330 down: within a tenth of 3303
    EXPECT_EQ(real(gov), 2973.0f);

    const char* mult = "_ub35.AI_MOD_X.IN";  // an integer of 1 .. 5
    serviceWrite(mult, 5);
    EXPECT_EQ(integer(mult), 5);
    EXPECT_NONFATAL_FAILURE(write("_ub35.AI_MOD_X.IN", 6), "TW_OUT_OF_RANGE");
    EXPECT_EQ(integer(mult), 5);

    // The control stopped: any step within the limits.
    _SYS_INFO_LOCK_PER = 1;
    Assert_IOLOCK();
    ASSERT_EQ(Query_IOLOCK(), 1u);
    serviceWrite(gov, 100.0);
    EXPECT_EQ(real(gov), 100.0f);
    EXPECT_NONFATAL_FAILURE(write("CNFG_SETPT.QT_MIN_GOV.IN", 70000.0), "TW_OUT_OF_RANGE");
    EXPECT_EQ(real(gov), 100.0f);
}
