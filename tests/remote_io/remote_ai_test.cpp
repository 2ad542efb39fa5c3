// The remote analog node's input stages through real passes of the whole
// start-up: a simulated node is configured and commanded operational, the
// test sends its input PDOs as raw frames, and the 20 ms stages turn the
// words into milliamp values, faults and band latches.
#include <algorithm>
#include <memory>

#include "app/analog/VL1_AIO.cells.h"
#include "app/analog/input_slices.h"
#include "app/config/CNFG_CAN2.cells.h"
#include "host/hostkernel.h"
#include "tests/remote_io/remote_rig.h"
#include "tests/support/sim_remote_node.h"

namespace rio_test {
namespace {

// While set, the inputs' low limits are held at 0 so that the start-up,
// before the node reports, latches nothing (the common reset that would
// clear such latches also restarts the network).
bool g_holdLowLimits = true;
void analogNodeOnly() {
    if (g_holdLowLimits) {
        auto& a = cells::VL1_AIO;
        for (auto* lo : {&a.AI_1_LO_SP, &a.AI_2_LO_SP, &a.AI_3_LO_SP, &a.AI_4_LO_SP, &a.AI_5_LO_SP, &a.AI_6_LO_SP,
                         &a.AI_7_LO_SP, &a.AI_8_LO_SP})
            lo->ref() = 0.0f;
    }
    auto& c = cells::CNFG_CAN2;
    c.VL_NODE1_AIO_INIT_PERM.ref() = 1;
    c.VL1_ENABLE_AND.ref() = 1;
    c.GO_OPER_AND = 1;
}

constexpr uint16_t ma(double v) { return static_cast<uint16_t>(v * 1024.0); }

class RemoteAnalogInputs : public RemoteRig {
protected:
    void SetUp() override {
        RemoteRig::SetUp();
        g_holdLowLimits = true;
        hostcan::enableLog(true);
        peer_ = hostcan::attach("test-peer", [](const hostcan::Frame&) {});
        useSlices(R20, {_R20_TASK_1, _R20_TASK_19});
        useSlices(R160, {_R160_TASK_1, _R160_TASK_28, _R160_TASK_29, _R160_TASK_34});
        useSlices(R10, {startUpInFirstFrame, analogNodeOnly});
        node_ = std::make_unique<SimRemoteNode>(SimRemoteNode::Kind::AnalogIO, 1);
        startApp();
        for (int pass = 0; pass < 2000 && RemoteNodeBlocks[kNodeAio].Operational == 0; ++pass) runPasses(R20, 1);
        ASSERT_EQ(RemoteNodeBlocks[kNodeAio].Operational, 1u);
        // The node reporting 12 mA everywhere, then the default low limits.
        std::fill(w_, w_ + 8, ma(12));
        run(20);
        g_holdLowLimits = false;
        for (int n = 1; n <= 8; ++n) setCell(ch(n, "LO_SP"), 2.0);
        run(1);
        for (int n = 1; n <= 8; ++n) ASSERT_EQ(boolean(ch(n, "LATCH_OR")), 0u) << n;
    }
    void TearDown() override {
        node_.reset();
        RemoteRig::TearDown();
    }
    // The node's three input PDOs: inputs 1-4, inputs 5-8, the outputs' readbacks.
    void words(const uint16_t (&w)[8]) { std::copy(w, w + 8, w_); }
    void sendInputs() {
        auto frame = [&](uint32_t cob, int first) {
            hostcan::Frame fr = hostcan::makeFrame(cob, {});
            fr.len = 8;
            for (int i = 0; i < 4; ++i) {
                fr.data[2 * i] = static_cast<uint8_t>(w_[first + i] & 0xFF);
                fr.data[2 * i + 1] = static_cast<uint8_t>(w_[first + i] >> 8);
            }
            hostcan::send(peer_, fr);
        };
        hostcan::send(peer_, [] {
            hostcan::Frame fr = hostcan::makeFrame(0x481, {});
            fr.len = 8;
            return fr;
        }());
        frame(0x281, 0);
        frame(0x381, 4);
    }
    // Runs passes with the node reporting every 100 ms.
    void run(int passes) {
        for (int p = 0; p < passes; ++p) {
            if (tick_++ % 5 == 0) sendInputs();
            runPasses(R20, 1);
        }
    }
    std::string ch(int n, const char* field) { return "VL1_AIO.AI_" + std::to_string(n) + "." + field; }

    std::unique_ptr<SimRemoteNode> node_;
    int peer_ = -1;
    uint16_t w_[8] = {};
    int tick_ = 0;
};

TEST_F(RemoteAnalogInputs, EachWordReachesItsChannelAndTheFaultFlagFaultsItAtOnce) {
    words({ma(4), ma(12), ma(20), ma(7.5), ma(21.9), 0x8000, ma(2), ma(1.999)});
    run(20);
    ASSERT_EQ(boolean("CNFG_CAN2.VL_NODE1_AIO.ACTIVE"), 1u);
    const struct {
        int n;
        float value;
        uint32_t fault, lo, hi;
    } expect[] = {
        {1, 4.0f, 0, 0, 0},    {2, 12.0f, 0, 0, 0}, {3, 20.0f, 0, 0, 0},
        {4, 7.5f, 0, 0, 0},    {5, 21.899414f, 0, 0, 0},
        {6, 0.0f, 1, 1, 0},    // the node's fault flag; 0 mA also latches low
        {7, 2.0f, 0, 0, 0},    {8, 1.998047f, 0, 1, 0},
    };
    for (const auto& e : expect) {
        SCOPED_TRACE(e.n);
        EXPECT_NEAR(real(ch(e.n, "VL_AI")), e.value, 1e-5);
        EXPECT_EQ(boolean(ch(e.n, "FAULT")), e.fault);
        EXPECT_EQ(boolean(ch(e.n, "LO_LATCH")), e.lo);
        EXPECT_EQ(boolean(ch(e.n, "HI_LATCH")), e.hi);
        EXPECT_EQ(boolean(ch(e.n, "LATCH_OR")), (e.fault | e.lo | e.hi));
    }
    // The flag with a current in band: a fault without a latch, gone with the flag.
    words({ma(12), ma(12), ma(12), ma(12), ma(12), 0x8000, static_cast<uint16_t>(0x8000 | ma(12)), ma(12)});
    run(5);
    EXPECT_EQ(boolean(ch(7, "FAULT")), 1u);
    EXPECT_EQ(boolean(ch(7, "LO_LATCH")), 0u);
    EXPECT_EQ(boolean(ch(7, "LATCH_OR")), 1u);
    EXPECT_NEAR(real(ch(7, "VL_AI")), 12.0f, 1e-5);
    words({ma(12), ma(12), ma(12), ma(12), ma(12), 0x8000, ma(12), ma(12)});
    run(5);
    EXPECT_EQ(boolean(ch(7, "FAULT")), 0u);
    EXPECT_EQ(boolean(ch(7, "LATCH_OR")), 0u);
    // Latches hold once their condition is gone, until the common reset.
    EXPECT_EQ(boolean(ch(8, "LO_LATCH")), 1u);
    EXPECT_EQ(boolean(ch(8, "LATCH_OR")), 1u);
}

TEST_F(RemoteAnalogInputs, LineGainAndOffsetScaleTheCurrentAndTheBandWatchesTheScaledValue) {
    setCell(ch(2, "VAL_MIN"), 0.0);
    setCell(ch(2, "VAL_MAX"), 25.0);
    setCell("VL1_AIO.AI_2_GAIN.IN", 2.0);
    setCell("VL1_AIO.AI_2_OFFSET.IN", 1.0);
    words({ma(12), ma(12), ma(4), ma(12), ma(12), ma(12), ma(12), ma(12)});
    run(20);
    // 12 mA on the 0..25 line is 12.5; x2 + 1 is 26, above the 22 limit.
    EXPECT_NEAR(real(ch(2, "VL_AI")), 26.0f, 1e-4);
    EXPECT_EQ(boolean(ch(2, "HI_LATCH")), 1u);
    EXPECT_NEAR(real(ch(1, "VL_AI")), 12.0f, 1e-5);
    EXPECT_EQ(boolean(ch(1, "HI_LATCH")), 0u);
    // A new line takes effect on the next pass; 4 mA maps to its low end.
    setCell(ch(3, "VAL_MIN"), 10.0);
    setCell(ch(3, "VAL_MAX"), 10.0);
    run(1);
    EXPECT_NEAR(real(ch(3, "VL_AI")), 10.0f, 1e-5);
    setCell(ch(3, "VAL_MIN"), 6.0);
    setCell(ch(3, "VAL_MAX"), 22.0);
    run(1);
    EXPECT_NEAR(real(ch(3, "VL_AI")), 6.0f, 1e-5);
    setCell(ch(3, "VAL_MIN"), 5.0);
    run(1);
    EXPECT_NEAR(real(ch(3, "VL_AI")), 5.0f, 1e-5);
    // Scaled to 1.5 (below the 2.0 low limit) the milliamps are still 12.
    setCell(ch(3, "VAL_MIN"), 1.5);
    setCell(ch(3, "VAL_MAX"), 1.5);
    run(1);
    EXPECT_EQ(boolean(ch(3, "LO_LATCH")), 1u);
    // The value back in band: the latch holds.
    setCell(ch(2, "VAL_MAX"), 20.0);
    setCell("VL1_AIO.AI_2_GAIN.IN", 1.0);
    setCell("VL1_AIO.AI_2_OFFSET.IN", 0.0);
    run(20);
    EXPECT_NEAR(real(ch(2, "VL_AI")), 10.0f, 1e-4);  // 0..20 line: 1.25 x 12 - 5
    EXPECT_EQ(boolean(ch(2, "HI_LATCH")), 1u);
}

TEST_F(RemoteAnalogInputs, TheLatchDelayCountsTwentyMillisecondsAPassBeforeItLatches) {
    setCell("VL1_AIO.AI_4_LATDLY.IN", 100.0);
    setCell("VL1_AIO.AI_5_LATDLY.IN", 100.0);
    run(20);
    words({ma(12), ma(12), ma(12), ma(23), ma(1), ma(12), ma(12), ma(12)});
    // Count the passes that see the new words until each latches.
    int seenHi = 0, seenLo = 0;
    for (int p = 0; p < 20 && (boolean(ch(4, "HI_LATCH")) == 0 || boolean(ch(5, "LO_LATCH")) == 0); ++p) {
        run(1);
        if (real(ch(4, "VL_AI")) > 22.5f && boolean(ch(4, "HI_LATCH")) == 0) ++seenHi;
        if (real(ch(5, "VL_AI")) < 1.5f && boolean(ch(5, "LO_LATCH")) == 0) ++seenLo;
    }
    // The timer reaches 100 ms after five passes; the sixth latches.
    EXPECT_EQ(seenHi, 5);
    EXPECT_EQ(seenLo, 5);
    EXPECT_EQ(boolean(ch(4, "HI_LATCH")), 1u);
    EXPECT_EQ(boolean(ch(5, "LO_LATCH")), 1u);
}

TEST_F(RemoteAnalogInputs, AnUnusedChannelSkipsTheLowCheckButKeepsASetLatch) {
    words({ma(1), ma(12), ma(12), ma(12), ma(12), ma(12), ma(12), ma(12)});
    run(10);
    ASSERT_EQ(boolean(ch(1, "LO_LATCH")), 1u);
    setCell("_ub33.CH_DISAB.B_NAME", 1);
    setCell("_ub34.CH_DISAB.B_NAME", 1);
    words({ma(1), ma(1), ma(12), ma(12), ma(12), ma(12), ma(12), ma(12)});
    run(10);
    EXPECT_EQ(boolean(ch(1, "LO_LATCH")), 1u);
    EXPECT_EQ(boolean(ch(2, "LO_LATCH")), 0u);
    EXPECT_EQ(boolean(ch(2, "LATCH_OR")), 0u);
    // The high check stays on.
    words({ma(1), ma(24), ma(12), ma(12), ma(12), ma(12), ma(12), ma(12)});
    run(10);
    EXPECT_EQ(boolean(ch(2, "HI_LATCH")), 1u);
}

TEST_F(RemoteAnalogInputs, ALostNodeFaultsEveryChannelAndForcesZeroBeforeTheBandChecks) {
    words({ma(12), ma(12), ma(12), ma(12), ma(12), ma(12), ma(12), ma(12)});
    run(20);
    ASSERT_EQ(boolean(ch(5, "FAULT")), 0u);
    runPasses(R20, 60);  // the node falls silent
    ASSERT_EQ(boolean("CNFG_CAN2.VL_NODE1_AIO.ACTIVE"), 0u);
    for (int n = 1; n <= 8; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(real(ch(n, "VL_AI")), 0.0f);
        EXPECT_EQ(boolean(ch(n, "FAULT")), 1u);
        EXPECT_EQ(boolean(ch(n, "LO_LATCH")), 1u);
        EXPECT_EQ(boolean(ch(n, "LATCH_OR")), 1u);
    }
}

}  // namespace
}  // namespace rio_test
