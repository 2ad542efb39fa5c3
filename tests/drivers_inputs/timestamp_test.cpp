// Discrete-input edge time stamps in the running application: the 5 ms clock
// hook walks the FPGA's 1 ms samples, latches the first rising and falling
// edge of each input with its millisecond, and the 10 ms gather reads the
// states and the latch words into the input blocks' unnamed words.
#include <gtest/gtest.h>

#include <vector>

#include "app/control/ORVEX12_IO.cells.h"
#include "app/discrete/CNFG_BI.cells.h"
#include "drivers/ZarnDiscreteIns.h"
#include "host/board.h"
#include "host/hostkernel.h"
#include "runtime/sysinfo.h"
#include "tests/support/app_harness.h"

namespace {

constexpr int R10 = 0, R160 = 4;
constexpr uint64_t kMs = 1'000'000;

class DiscreteTimeStamps : public tc_test::AppHarness {
protected:
    void SetUp() override {
        AppHarness::SetUp();
        board::reset();
        // The driver's words live for the whole program, as on the target
        // between loads: every case starts from the loaded state.
        HiEventLatch = LoEventLatch = LastInputs = 0;
        LastCaptureTime = {0, 0};
        for (int n = 0; n < kZarnTimeStampedInputs; ++n) DinTimeStampHi[n] = DinTimeStampLo[n] = {0, 0};
    }

    // Starts the application with the time-of-day base `tod` and returns at
    // the tick of a 160 ms release, where the stamp base was just captured.
    void startAtCapture(SysTimeValue tod) {
        startApp();
        cells::ORVEX12_IO.RTC_TOD = TimeCell{tod.sec, tod.usec};
        runPasses(R160, 1);
        t0_ = hk::nowNs();
        ASSERT_EQ(t0_ % (5 * kMs), 0u);
        ASSERT_EQ(TimeStampMsCntrZarn, 0u);
        ASSERT_EQ(TimeStampClockZarn.sec, tod.sec);
        ASSERT_EQ(TimeStampClockZarn.usec, tod.usec);
        base_ = tod;
    }

    // Input n changes to `level` at `ms` after the capture (changes in time order).
    void change(double ms, int n, bool level) {
        levels_ = level ? (levels_ | (1u << n)) : (levels_ & ~(1u << n));
        board::setDiscreteInputsAt(t0_ + static_cast<uint64_t>(ms * kMs), levels_);
    }

    // The stamp `ms` milliseconds after the base.
    SysTimeValue at(uint32_t ms) const {
        const uint64_t us = base_.usec + ms * 1000ull;
        return {base_.sec + static_cast<uint32_t>(us / 1000000), static_cast<uint32_t>(us % 1000000)};
    }

    // Runs until `ms` after the capture.
    void runTo(uint32_t ms) { runPasses(R10, (ms - static_cast<uint32_t>((hk::nowNs() - t0_) / kMs)) / 10); }

    uint64_t t0_ = 0;
    SysTimeValue base_{};
    uint32_t levels_ = 0;
};

void expectStamp(const SysTimeValue& got, const SysTimeValue& want, const char* what) {
    EXPECT_EQ(got.sec, want.sec) << what;
    EXPECT_EQ(got.usec, want.usec) << what;
}

TEST_F(DiscreteTimeStamps, EdgesAreStampedWithTheMillisecondOfTheFirstSampleThatShowsThem) {
    startAtCapture({1000, 999500});  // the stamps cross a second
    struct Edge {
        double ms;
        int input;
        bool level;
    };
    // A 2 ms pulse inside one tick on input 12 (controller input 1), an
    // edge half a millisecond after the capture on input 15, and a rising
    // edge on input 19 (controller input 8) that stays.
    const std::vector<Edge> edges = {{0.5, 15, true}, {12.3, 12, true}, {14.3, 12, false}, {37.6, 19, true}};
    for (const Edge& e : edges) change(e.ms, e.input, e.level);
    runTo(40);
    EXPECT_EQ(HiEventLatch & 0xFFFFF, (1u << 12) | (1u << 15) | (1u << 19));
    EXPECT_EQ(LoEventLatch & 0xFFFFF, 1u << 12);
    expectStamp(DinTimeStampHi[15], at(1), "input 15 rising, first tick after the capture");
    expectStamp(DinTimeStampHi[12], at(13), "input 12 rising");
    expectStamp(DinTimeStampLo[12], at(15), "input 12 falling");
    expectStamp(DinTimeStampHi[19], at(38), "input 19 rising");
    // The 10 ms gather: states now, and the latch words after each input.
    EXPECT_EQ(CNFG_BI_st.in[0].raw, 0u);
    EXPECT_EQ(CNFG_BI_st.in[7].raw, 1u);
    EXPECT_EQ(CNFG_BI_st.in[0].hi_snapshot & (1u << 12), 1u << 12);
    EXPECT_EQ(CNFG_BI_st.in[7].lo_snapshot & (1u << 12), 1u << 12);
}

TEST_F(DiscreteTimeStamps, LatchedEdgeKeepsItsStampUntilTheConsumerReArmsIt) {
    startAtCapture({5, 0});
    change(3.2, 13, true);
    change(6.4, 13, false);
    change(21.7, 13, true);  // second rising edge, latch still set
    runTo(30);
    expectStamp(DinTimeStampHi[13], at(4), "first rising edge kept");
    expectStamp(DinTimeStampLo[13], at(7), "falling edge");
    // The consumer takes the edges and re-arms the input.
    HiEventLatch &= ~(1u << 13);
    LoEventLatch &= ~(1u << 13);
    change(44.1, 13, false);
    change(52.9, 13, true);
    runTo(60);
    expectStamp(DinTimeStampLo[13], at(45), "falling edge after re-arming");
    expectStamp(DinTimeStampHi[13], at(53), "rising edge after re-arming");
}

TEST_F(DiscreteTimeStamps, ContactBounceBetweenTwoSamplesIsNotSeenAndBounceWithinATickKeepsTheFirstEdge) {
    startAtCapture({77, 250000});
    // Shorter than the 1 ms sampling, between two samples: never seen.
    change(20.2, 14, true);
    change(20.7, 14, false);
    // A bouncing contact that settles high: first rising edge stamped, its
    // fall once, and the state read at the next 10 ms release is high.
    change(30.1, 16, true);
    change(31.4, 16, false);
    change(32.2, 16, true);
    runTo(40);
    EXPECT_EQ(HiEventLatch & (1u << 14), 0u);
    EXPECT_EQ(LoEventLatch & (1u << 14), 0u);
    EXPECT_EQ(CNFG_BI_st.in[2].raw, 0u);
    expectStamp(DinTimeStampHi[16], at(31), "first rising edge of the bounce");
    expectStamp(DinTimeStampLo[16], at(32), "the bounce's fall");
    EXPECT_EQ(CNFG_BI_st.in[4].raw, 1u);
}

TEST_F(DiscreteTimeStamps, StampsLateInThe160MsFrameCountFromTheCapture) {
    startAtCapture({9, 0});
    change(97.5, 17, true);
    runTo(110);
    // 100 ms after the capture the samples are 96 .. 100 ms.
    expectStamp(DinTimeStampHi[17], at(98), "rising edge at 97.5 ms");
    // Inputs above the twenty stamped ones are read but never stamped.
    change(120.0, 20, true);
    runTo(140);
    EXPECT_EQ(HiEventLatch & ~0xFFFFFu, 0u);
}

// The time base stays put while the clock cell does not move: after the next
// capture the stamps would fall behind the last one, and within the same
// second the stamp holds at the last one instead.
TEST_F(DiscreteTimeStamps, StampsNeverRunBackwardsWithinOneSecond) {
    startAtCapture({9, 0});
    change(100.5, 18, true);
    runTo(110);
    expectStamp(DinTimeStampHi[18], at(101), "before the next capture");
    // The next capture is at 160 ms, with the same base.
    change(180.2, 18, false);
    runTo(200);
    expectStamp(DinTimeStampLo[18], at(101), "held at the last stamp");
    expectStamp(LastCaptureTime, at(101), "the last stamp");
}

TEST_F(DiscreteTimeStamps, NothingIsStampedWhileStampingIsOff) {
    startAtCapture({1, 0});
    ZarnTimeStampEn = 0;
    change(5.5, 12, true);
    runTo(20);
    EXPECT_EQ(HiEventLatch, 0u);
    // The millisecond counter still runs.
    EXPECT_EQ(TimeStampMsCntrZarn, 20u);
    ZarnTimeStampEn = 1;
    runTo(30);
    // The change is seen once stamping resumes, at the sample that shows it then.
    EXPECT_EQ(HiEventLatch, 1u << 12);
    expectStamp(DinTimeStampHi[12], at(21), "first sample walked after resuming");
}

}  // namespace
