// The remote analog node's input stages through the whole program: a
// simulated node is configured and commanded operational, it sends its
// input PDOs with the words the test gives it, and the 20 ms stages turn the words into
// milliamp values, faults and band latches.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/analog/AI_CHANNEL.cells.h"
#include "tests/remote_io/program_rig.h"

namespace rio_test {
namespace {

constexpr uint16_t ma(double v) { return static_cast<uint16_t>(v * 1024.0); }

// The function each of the node's eight inputs carries: each one in use
// (a channel not in use skips its low check), none of them feeding the
// speed or cascade roads.
constexpr int kFunction[8] = {13, 14, 15, 17, 18, 19, 20, 12};

class RemoteAnalogInputs : public ProgramWithNodes {
protected:
    void SetUp() override {
        ProgramWithNodes::SetUp();
        addNode(Kind::AnalogIO, 1);
        std::fill(w_, w_ + 8, ma(12));
        sendWords();
        pdo(0x481, words({0, 0}));
        // From the tunables file: the inputs in use, and their low limits at
        // 0 so that the start-up, before the node reports, latches nothing.
        std::vector<std::pair<std::string, double>> settings;
        for (int n = 1; n <= 8; ++n) {
            settings.emplace_back(ch(n, "LO_SP"), 0.0);
            settings.emplace_back("_ub" + std::to_string(32 + n) + ".FUNCT.IN", kFunction[n - 1]);
        }
        settingsAtStart(settings);
        startWithNodes({"CNFG_CAN2.VL1_ENA.IN"}, {"CNFG_CAN2.VL_NODE1_AIO.ACTIVE"});
        for (int n = 1; n <= 8; ++n) ASSERT_EQ(integer(ai(n, "FUN_NUM.SAMP_ITUNE")), kFunction[n - 1]) << n;
        // The node reporting 12 mA everywhere, then the default low limits.
        run(20);
        for (int n = 1; n <= 8; ++n) serviceWrite(ch(n, "LO_SP"), 2.0);
        run(1);
        for (int n = 1; n <= 8; ++n) ASSERT_EQ(boolean(ch(n, "LATCH_OR")), 0u) << n;
    }
    // The eight input words the node sends from now on (its first two
    // input PDOs: inputs 1-4, inputs 5-8; the third, the outputs'
    // readbacks, stays at zero).
    void inputs(const uint16_t (&w)[8]) {
        std::copy(w, w + 8, w_);
        sendWords();
    }
    void sendWords() {
        pdo(0x281, words({w_[0], w_[1], w_[2], w_[3]}));
        pdo(0x381, words({w_[4], w_[5], w_[6], w_[7]}));
    }
    std::string ch(int n, const char* field) { return "VL1_AIO.AI_" + std::to_string(n) + "." + field; }
    std::string ai(int n, const char* cell) { return "_ub" + std::to_string(32 + n) + "." + cell; }

    uint16_t w_[8] = {};
};

TEST_F(RemoteAnalogInputs, EachWordReachesItsChannelAndTheFaultFlagFaultsItAtOnce) {
    inputs({ma(4), ma(12), ma(20), ma(7.5), ma(21.9), 0x8000, ma(2), ma(1.999)});
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
    inputs({ma(12), ma(12), ma(12), ma(12), ma(12), 0x8000, static_cast<uint16_t>(0x8000 | ma(12)), ma(12)});
    run(5);
    EXPECT_EQ(boolean(ch(7, "FAULT")), 1u);
    EXPECT_EQ(boolean(ch(7, "LO_LATCH")), 0u);
    EXPECT_EQ(boolean(ch(7, "LATCH_OR")), 1u);
    EXPECT_NEAR(real(ch(7, "VL_AI")), 12.0f, 1e-5);
    inputs({ma(12), ma(12), ma(12), ma(12), ma(12), 0x8000, ma(12), ma(12)});
    run(5);
    EXPECT_EQ(boolean(ch(7, "FAULT")), 0u);
    EXPECT_EQ(boolean(ch(7, "LATCH_OR")), 0u);
    // Latches hold once their condition is gone, until the common reset.
    EXPECT_EQ(boolean(ch(8, "LO_LATCH")), 1u);
    EXPECT_EQ(boolean(ch(8, "LATCH_OR")), 1u);
}

TEST_F(RemoteAnalogInputs, LineGainAndOffsetScaleTheCurrentAndTheBandWatchesTheScaledValue) {
    serviceWrite(ch(2, "VAL_MIN"), 0.0);
    serviceWrite(ch(2, "VAL_MAX"), 25.0);
    serviceWrite("VL1_AIO.AI_2_GAIN.IN", 2.0);
    serviceWrite("VL1_AIO.AI_2_OFFSET.IN", 1.0);
    inputs({ma(12), ma(12), ma(4), ma(12), ma(12), ma(12), ma(12), ma(12)});
    run(20);
    // 12 mA on the 0..25 line is 12.5; x2 + 1 is 26, above the 22 limit.
    EXPECT_NEAR(real(ch(2, "VL_AI")), 26.0f, 1e-4);
    EXPECT_EQ(boolean(ch(2, "HI_LATCH")), 1u);
    EXPECT_NEAR(real(ch(1, "VL_AI")), 12.0f, 1e-5);
    EXPECT_EQ(boolean(ch(1, "HI_LATCH")), 0u);
    // A new line takes effect on the next pass; 4 mA maps to its low end.
    serviceWrite(ch(3, "VAL_MIN"), 10.0);
    serviceWrite(ch(3, "VAL_MAX"), 10.0);
    run(1);
    EXPECT_NEAR(real(ch(3, "VL_AI")), 10.0f, 1e-5);
    serviceWrite(ch(3, "VAL_MIN"), 6.0);
    serviceWrite(ch(3, "VAL_MAX"), 22.0);
    run(1);
    EXPECT_NEAR(real(ch(3, "VL_AI")), 6.0f, 1e-5);
    serviceWrite(ch(3, "VAL_MIN"), 5.0);
    run(1);
    EXPECT_NEAR(real(ch(3, "VL_AI")), 5.0f, 1e-5);
    // Scaled to 1.5 (below the 2.0 low limit) the milliamps are still 12.
    serviceWrite(ch(3, "VAL_MIN"), 1.5);
    serviceWrite(ch(3, "VAL_MAX"), 1.5);
    run(1);
    EXPECT_EQ(boolean(ch(3, "LO_LATCH")), 1u);
    // The value back in band: the latch holds.
    serviceWrite(ch(2, "VAL_MAX"), 20.0);
    serviceWrite("VL1_AIO.AI_2_GAIN.IN", 1.0);
    serviceWrite("VL1_AIO.AI_2_OFFSET.IN", 0.0);
    run(20);
    EXPECT_NEAR(real(ch(2, "VL_AI")), 10.0f, 1e-4);  // 0..20 line: 1.25 x 12 - 5
    EXPECT_EQ(boolean(ch(2, "HI_LATCH")), 1u);
}

TEST_F(RemoteAnalogInputs, TheLatchDelayCountsTwentyMillisecondsAPassBeforeItLatches) {
    serviceWrite("VL1_AIO.AI_4_LATDLY.IN", 100.0);
    serviceWrite("VL1_AIO.AI_5_LATDLY.IN", 100.0);
    run(20);
    inputs({ma(12), ma(12), ma(12), ma(23), ma(1), ma(12), ma(12), ma(12)});
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
    inputs({ma(1), ma(12), ma(12), ma(12), ma(12), ma(12), ma(12), ma(12)});
    run(10);
    ASSERT_EQ(boolean(ch(1, "LO_LATCH")), 1u);
    // Inputs 1 and 2 taken out of use, entered while the configuration is
    // live (the window in which the function numbers are taken over).
    serviceWrite("CNFG_CAN2.CNFG_LIVE.IN", 1);
    serviceWrite(ai(1, "FUNCT.IN"), 1);
    serviceWrite(ai(2, "FUNCT.IN"), 1);
    // (The input stages read the copy the 20 ms group takes once the 160 ms
    // frame that computed it has ended.)
    const auto unused = [] { return r20::_ub33.CH_DISAB_B_NAME != 0 && r20::_ub34.CH_DISAB_B_NAME != 0; };
    for (int p = 0; p < 100 && !unused(); ++p) run(1);
    serviceWrite("CNFG_CAN2.CNFG_LIVE.IN", 0);
    ASSERT_TRUE(unused());
    ASSERT_EQ(boolean(ai(1, "CH_DISAB.B_NAME")), 1u);
    ASSERT_EQ(boolean(ai(2, "CH_DISAB.B_NAME")), 1u);
    inputs({ma(1), ma(1), ma(12), ma(12), ma(12), ma(12), ma(12), ma(12)});
    run(10);
    EXPECT_EQ(boolean(ch(1, "LO_LATCH")), 1u);
    EXPECT_EQ(boolean(ch(2, "LO_LATCH")), 0u);
    EXPECT_EQ(boolean(ch(2, "LATCH_OR")), 0u);
    // The high check stays on.
    inputs({ma(1), ma(24), ma(12), ma(12), ma(12), ma(12), ma(12), ma(12)});
    run(10);
    EXPECT_EQ(boolean(ch(2, "HI_LATCH")), 1u);
}

TEST_F(RemoteAnalogInputs, ALostNodeFaultsEveryChannelAndForcesZeroBeforeTheBandChecks) {
    inputs({ma(12), ma(12), ma(12), ma(12), ma(12), ma(12), ma(12), ma(12)});
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
