// The remote RTD node's channels on the whole program (its own slice table):
// a simulated RTD node on the virtual CAN bus is configured and commanded
// operational by the chassis task, the node sends its two process data
// PDOs with the words the test gives it, and the 80 ms channel logic turns the words into temperatures,
// faults, range latches, alarm levels, lists and texts.
#include <array>
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/config/CNFG_CAN2.cells.h"
#include "app/config/config_slices.h"
#include "app/interface/interface_slices.h"
#include "app/remote_io/rtd_slices.h"
#include "host/analog_inputs.h"
#include "tests/remote_io/program_rig.h"
#include "tests/remote_io/remote_rig.h"
#include "tests/support/event_log_reader.h"
#include "tests/support/sim_remote_node.h"

namespace rio_test {
namespace {

using Kind = SimRemoteNode::Kind;

// Settings applied once in the first 10 ms frame, after the defaults (so
// that they are in force when the node's configuration is prepared), as
// the tunables file gives them: only the RTD node configured, the own node
// going operational once the network is open, then the case's own.
std::vector<std::pair<std::string, double>> g_early;
const std::pair<const char*, double> kRtdNodeSettings[] = {{"CNFG_CAN2.VL_NODE1_AIO.INIT_PERM", 0},
                                                           {"CNFG_CAN2.VL_NODE4_BI.INIT_PERM", 0},
                                                           {"CNFG_CAN2.VL_NODE5_BO.INIT_PERM", 0},
                                                           {"CNFG_CAN2.GO_OPER.IN_1", 1}};

std::string ch(int k, const char* field) { return "VL3_RTD.RTD_" + std::to_string(k) + "." + field; }
std::string inst(int k, const char* cell) { return "_ub" + std::to_string(42 + k) + "." + cell; }
std::string event(int k, const char* cell) { return "_ub" + std::to_string(50 + k) + "." + cell; }
std::string display(int k) { return "VL3_RTD.RTD" + std::to_string(k) + ".A_SW"; }

class RtdChannels : public tc_test::AppHarness {
protected:
    void SetUp() override {
        AppHarness::SetUp();
        platformAtRest();
        // Its settings go in while the control runs, in larger steps than the
        // service tool accepts then: not yet entered in the tool's steps or in
        // configure mode.
        checkSteps(false);
        self_ = this;
        peer_ = hostcan::attach("test-peer", [](const hostcan::Frame&) {});
        // The whole program after the node settings of the first frame.
        const auto& program = tc_test::programSliceTable();
        r10tail_ = program[R10];
        for (int g : {R20, R40, R80, R160}) useSlices(g, program[g]);
    }
    void TearDown() override {
        node_.reset();
        g_early.clear();
        AppHarness::TearDown();
        hostcan::reset();
    }
    static void early() {
        static bool done = false;
        if (!g_started) done = false;
        startUpInFirstFrame();
        if (done) return;
        done = true;
        for (const auto& [name, v] : kRtdNodeSettings) self_->setCell(name, v);
        for (const auto& [name, v] : g_early) self_->setCell(name, v);
    }
    // Starts with the RTD node configurable and enabled; runs until it is
    // operational and its PDOs keep it active.
    void start() {
        g_early.emplace_back("CNFG_CAN2.VL3_ENA.IN", 1);
        std::vector<SliceFn> r10{early};
        r10.insert(r10.end(), r10tail_.begin(), r10tail_.end());
        useSlices(R10, r10);
        node_ = std::make_unique<SimRemoteNode>(Kind::Rtd, 3);
        startApp();
        for (int p = 0; p < 2000 && RemoteNodeBlocks[kNodeRtd].Operational == 0; ++p) runPasses(R20, 1);
        ASSERT_EQ(RemoteNodeBlocks[kNodeRtd].Operational, 1u) << "the RTD node never became operational";
        feed(4);
        ASSERT_EQ(boolean("CNFG_CAN2.VL_NODE3_RTD_8C.ACTIVE"), 1u);
    }
    // Until the node was active its channels showed the fault value and may
    // have latched; the words settle and a reset clears the latches.
    void settle(int n80 = 10) {
        feed(n80);
        reset();
    }
    // The service tool's reset: a pulse on the debug reset, then the 1 s
    // reset pulse of the 80 ms group; `eachPass` looks after every 80 ms pass.
    void reset(const std::function<void()>& eachPass = nullptr) {
        serviceWrite("RESET.DEBUG_RST.TRIGGER", 1);
        for (int p = 0; p < 22; ++p) {
            if (p == 2) serviceWrite("RESET.DEBUG_RST.TRIGGER", 0);
            feed(1);
            if (eachPass) eachPass();
        }
    }
    // The eight channel words the node sends from now on.
    void words(std::initializer_list<uint16_t> w) {
        int k = 0;
        for (uint16_t v : w) raw_[k++] = v;
    }
    // Runs n 80 ms passes, the node sending both PDOs every 160 ms.
    void feed(int n80) {
        for (int p = 0; p < 4 * n80; ++p) {
            if (sending_ && tick_ % 8 == 0) {
                send(0x283, 0);
                send(0x383, 4);
            }
            ++tick_;
            runPasses(R20, 1);
        }
    }
    void send(uint32_t cob, int first) {
        std::vector<uint8_t> b;
        for (int k = first; k < first + 4; ++k) {
            b.push_back(static_cast<uint8_t>(raw_[k] & 0xFF));
            b.push_back(static_cast<uint8_t>(raw_[k] >> 8));
        }
        hostcan::Frame f = hostcan::makeFrame(cob, {b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7]});
        if (node_) node_->transmit(f);
        else hostcan::send(peer_, f);
    }
    static inline RtdChannels* self_ = nullptr;
    std::vector<SliceFn> r10tail_;  // 10 ms slices after the node settings
    std::unique_ptr<SimRemoteNode> node_;
    int peer_ = -1;
    uint16_t raw_[8] = {};
    bool sending_ = true;
    int tick_ = 0;
};

struct DecodeCase {
    uint16_t raw;
    float celsius;
    uint32_t fault;
};

TEST_F(RtdChannels, RawWordsBecomeCalibratedTemperaturesInBothUnits) {
    // Channel 3 with gain 1.2 and offset 10, channel 5 with 0.8 and -100.
    g_early = {{"_ub45.GAIN.IN", 1.2}, {"_ub45.OFFSET.IN", 10.0}, {"_ub47.GAIN.IN", 0.8}, {"_ub47.OFFSET.IN", -100.0}};
    start();
    const DecodeCase cases[8] = {
        {0x0640, 100.0f, 0},                                   // 1600 counts of 1/16 degree
        {0x7FFF, -0.0625f, 0},                                 // the 15-bit count is signed
        {0x4000, std::fma(1.2f, -1024.0f, 10.0f), 0},          // the most negative count, calibrated
        {0x8000, 0.0f, 1},                                     // the node's channel fault bit
        {0x3E80, std::fma(0.8f, 1000.0f, -100.0f), 0},
        {0x0010, 1.0f, 0},
        {0xFFFF, -0.0625f, 1},
        {0x0001, 0.0625f, 0},
    };
    words({cases[0].raw, cases[1].raw, cases[2].raw, cases[3].raw, cases[4].raw, cases[5].raw, cases[6].raw,
           cases[7].raw});
    feed(30);
    for (int k = 1; k <= 8; ++k) {
        const DecodeCase& c = cases[k - 1];
        EXPECT_NEAR(real(ch(k, "VL_RTD")), c.celsius, 1e-3f) << k;
        EXPECT_EQ(boolean(ch(k, "FAULT")), c.fault) << k;
        EXPECT_NEAR(real(inst(k, "TEMP_C.A_NAME")), c.celsius, 1e-3f) << k;
        EXPECT_NEAR(real(inst(k, "TEMP_F.A_NAME")), c.celsius * 1.8f + 32.0f, 2e-3f) << k;
        // Degrees Fahrenheit by default.
        EXPECT_FLOAT_EQ(real(display(k)), real(inst(k, "TEMP_F.A_NAME"))) << k;
        EXPECT_EQ(text(inst(k, "ENG_UNIT.B_TO_STR")), "Deg F") << k;
    }
    // Below the low limit (0 F = -17.8 C) only channel 3.
    EXPECT_EQ(boolean(ch(3, "LO_LATCH")), 1u);
    EXPECT_EQ(boolean(ch(2, "LO_LATCH")), 0u);
    EXPECT_EQ(boolean(ch(5, "HI_LATCH")), 0u);  // 700 C is below 1500 F
    EXPECT_FLOAT_EQ(real(inst(1, "HI_SP_IN_C.A_SW")), (1500.0f - 32.0f) * 0.5555556f);

    serviceWrite("CNFG_CAN2.USE_DEG_F.IN", 0);
    feed(2);
    for (int k = 1; k <= 8; ++k) {
        EXPECT_FLOAT_EQ(real(display(k)), real(ch(k, "VL_RTD"))) << k;
        EXPECT_EQ(text(inst(k, "ENG_UNIT.B_TO_STR")), "Deg C") << k;
        EXPECT_FLOAT_EQ(real(inst(k, "HI_SP_IN_C.A_SW")), 1500.0f) << k;
        EXPECT_FLOAT_EQ(real(inst(k, "LO_SP_IN_C.A_SW")), 0.0f) << k;
    }
}

TEST_F(RtdChannels, TheFilterFollowsAStepWithItsTimeConstant) {
    start();
    settle(20);
    serviceWrite("_ub43.CH_FILTR.IN", 1.0);
    feed(1);
    const float before = real(ch(1, "VL_RTD"));
    ASSERT_NEAR(before, 0.0f, 1e-3f);
    words({0x0640, 0x0640});
    // Both channels step from 0 to 100 C in the same pass; channel 2 has no
    // filter constant (the shortest is used), channel 1 one of 1 s.
    int at = -1;
    std::vector<float> y1;
    for (int p = 0; p < 20; ++p) {
        feed(1);
        if (at < 0 && real(ch(2, "VL_RTD")) > 1.0f) at = p;
        if (at >= 0) y1.push_back(real(ch(1, "VL_RTD")));
    }
    ASSERT_GE(at, 0);
    ASSERT_GE(y1.size(), 3u);
    // Trapezoidal lag: y += (x + x_prev - 2 y) * 0.08 / (2 tau + 0.08).
    const float a = 0.08f / (2.0f * 1.0f + 0.08f);
    float y = before, xp = 0.0f;
    for (size_t n = 0; n < 3; ++n) {
        y = y + (100.0f + xp - 2.0f * y) * a;
        xp = 100.0f;
        EXPECT_NEAR(y1[n], y, 1e-4f) << n;
    }
    EXPECT_GT(real(ch(2, "VL_RTD")), 99.9f);  // the shortest constant settles within a few passes
}

// The filter's shortest time constant is 0.05095541 s: a setting of 0 or
// below, or one at that value, works with it; one just above works with
// its own. First steps of a 0 to 100 C step.
TEST_F(RtdChannels, AFilterConstantAtOrBelowTheShortestUsesTheShortest) {
    g_early = {{"_ub44.CH_FILTR.IN", 0.0},  {"_ub45.CH_FILTR.IN", -5.0}, {"_ub46.CH_FILTR.IN", 0.05095541},
               {"_ub47.CH_FILTR.IN", 0.06}, {"_ub48.CH_FILTR.IN", 0.5}};
    start();
    settle(20);
    words({0, 0x0640, 0x0640, 0x0640, 0x0640, 0x0640, 0, 0x8000});
    int first = -1;
    std::vector<std::array<float, 5>> y;
    for (int p = 0; p < 30 && y.size() < 2; ++p) {
        feed(1);
        if (first < 0 && boolean(ch(8, "FAULT")) != 0) first = p;
        if (first >= 0) y.push_back({real(ch(2, "VL_RTD")), real(ch(3, "VL_RTD")), real(ch(4, "VL_RTD")),
                                     real(ch(5, "VL_RTD")), real(ch(6, "VL_RTD"))});
    }
    ASSERT_EQ(y.size(), 2u);
    const float taus[5] = {0.05095541f, 0.05095541f, 0.05095541f, 0.06f, 0.5f};
    for (int c = 0; c < 5; ++c) {
        const float a = 0.08f / (2.0f * taus[c] + 0.08f);
        const float y1 = 100.0f * a;
        const float y2 = y1 + (200.0f - 2.0f * y1) * a;
        EXPECT_NEAR(y[0][c], y1, 1e-3f) << "channel " << c + 2;
        EXPECT_NEAR(y[1][c], y2, 1e-3f) << "channel " << c + 2;
    }
}

struct LatchCase {
    int channel;
    const char* setting;  // the delay setting, or nullptr for the default
    double value;
    int pass;  // the pass of the latch, counted from the first pass out of range
};

TEST_F(RtdChannels, OutOfRangeLatchesSetAfterTheirDelaysAndClearOnlyOnAResetInRange) {
    // Channels 2 to 8 keep their fault delays (1 s, 9.85 s on channel 7):
    // their latch delays hold.
    g_early = {{"_ub43.FLT_DLY.IN", 0.5},        {"VL3_RTD.RTD_3.LATCH_DLY", 400.0},
               {"VL3_RTD.RTD_4.LATCH_DLY", 0.0}, {"VL3_RTD.RTD_6.OVRD", 1.0},
               {"_ub49.FLT_DLY.IN", 9.85}};
    start();
    words({0x0640, 0x0640, 0x0640, 0x0640, 0x0640, 0x0640, 0x0640, 0x0640});
    settle();
    for (int k = 1; k <= 8; ++k) ASSERT_EQ(boolean(ch(k, "LATCH_OR")), 0u) << k;
    // Channels 1-4 above the high limit, 5 and 6 below the low one; the fault
    // bit of channel 8 marks the first pass of the new words.
    words({0x3E80, 0x3E80, 0x3E80, 0x3E80, 0x4000, 0x4000, 0x3E80, 0x8000});
    std::vector<int> hi(8, -1), lo(7, -1);
    int first = -1;
    for (int p = 0; p < 30; ++p) {
        feed(1);
        if (first < 0 && boolean(ch(8, "FAULT")) != 0) first = p;
        if (first < 0) continue;
        for (int k : {1, 2, 3, 4, 7})
            if (hi[k] < 0 && boolean(ch(k, "HI_LATCH")) != 0) hi[k] = p - first + 1;
        for (int k = 5; k <= 6; ++k)
            if (lo[k] < 0 && boolean(ch(k, "LO_LATCH")) != 0) lo[k] = p - first + 1;
    }
    // Channel 1: its fault delay 0.5 s as 500 ms, the timer gains 80 a pass;
    // channels 2, 5 and 7: 0.2 ms, so the second pass; channel 3: 400 ms;
    // channel 4: none.
    EXPECT_EQ(hi[1], 8);
    EXPECT_EQ(hi[7], 2);
    EXPECT_EQ(hi[2], 2);
    EXPECT_EQ(hi[3], 6);
    EXPECT_EQ(hi[4], 1);
    EXPECT_EQ(lo[5], 2);
    EXPECT_EQ(lo[6], -1);  // the override keeps the low latch off
    EXPECT_EQ(boolean(ch(1, "LATCH_OR")), 1u);
    EXPECT_EQ(boolean(ch(7, "LATCH_OR")), 1u);

    // A reset while out of range keeps them, in every pass of its pulse;
    // back in range they stay until the next reset.
    int pulsePasses = 0;
    reset([&] {
        pulsePasses += static_cast<int>(boolean("RESET.RST.ONE_SHOT"));
        EXPECT_EQ(boolean(ch(1, "HI_LATCH")), 1u) << "during the reset, pulse pass " << pulsePasses;
        EXPECT_EQ(boolean(ch(5, "LO_LATCH")), 1u) << "during the reset, pulse pass " << pulsePasses;
    });
    ASSERT_GT(pulsePasses, 0) << "no reset pulse came";
    EXPECT_EQ(boolean(ch(1, "HI_LATCH")), 1u);
    EXPECT_EQ(boolean(ch(5, "LO_LATCH")), 1u);
    words({0x0640, 0x0640, 0x0640, 0x0640, 0x0640, 0x0640, 0x0640, 0x0640});
    feed(6);
    EXPECT_EQ(boolean(ch(1, "HI_LATCH")), 1u);
    EXPECT_EQ(boolean(ch(5, "LO_LATCH")), 1u);
    reset();
    for (int k = 1; k <= 8; ++k) EXPECT_EQ(boolean(ch(k, "LATCH_OR")), 0u) << k;
}

// The latch delay counts one stretch out of range: a pass back in range
// starts it again.
TEST_F(RtdChannels, TheLatchDelayStartsAgainAfterEachStretchInRange) {
    g_early = {{"VL3_RTD.RTD_3.LATCH_DLY", 400.0}, {"_ub45.FLT_DLY.IN", 0.0}};
    start();
    const std::initializer_list<uint16_t> inRange = {0x0640, 0x0640, 0x0640, 0x0640, 0x0640, 0x0640, 0x0640, 0x0640};
    const std::initializer_list<uint16_t> high = {0x0640, 0x0640, 0x3E80, 0x0640, 0x0640, 0x0640, 0x0640, 0x0640};
    words(inRange);
    settle();
    // Three stretches of 320 ms out of range, 160 ms in range between them.
    for (int k = 0; k < 3; ++k) {
        words(high);
        feed(4);
        words(inRange);
        feed(2);
        EXPECT_EQ(boolean(ch(3, "HI_LATCH")), 0u) << k;
    }
    words(high);
    feed(8);
    EXPECT_EQ(boolean(ch(3, "HI_LATCH")), 1u);
}

TEST_F(RtdChannels, AValueAtTheHighLimitRunsItsTimerAndOneAtTheLowLimitDoesNot) {
    g_early = {{"CNFG_CAN2.USE_DEG_F.IN", 0},
               {"_ub44.RANGE_HI.IN", 100.0},
               {"_ub45.RANGE_LO.IN", 100.0},
               {"_ub46.RANGE_LO.IN", 101.0}};
    start();
    words({0x0640, 0x0640, 0x0640, 0x0640});  // exactly 100 C
    settle();
    feed(3);
    EXPECT_EQ(boolean(ch(2, "HI_LATCH")), 1u);
    EXPECT_EQ(boolean(ch(3, "LO_LATCH")), 0u);
    EXPECT_EQ(boolean(ch(4, "LO_LATCH")), 1u);  // under its own low limit
    EXPECT_EQ(boolean(ch(1, "LATCH_OR")), 0u);
}

TEST_F(RtdChannels, ASilentNodeShowsTheFaultValueOfEachSensorType) {
    // Channel 2 a 200-ohm curve-A sensor, channel 3 a 200-ohm other curve,
    // channel 4 a 100-ohm curve-A one; the rest 100 ohm, curve E.
    g_early = {{"_ub44.OHM_C.IN", 2}, {"_ub44.CURVE_C.IN", 2}, {"_ub45.OHM_C.IN", 2}, {"_ub46.CURVE_C.IN", 2}};
    start();
    // The sensor types went to the node with its configuration.
    const std::vector<SimRemoteNode::Write> w = node_->writes();
    const uint32_t types[4] = {0x01, 0x02, 0x03, 0x00};
    for (int k = 1; k <= 4; ++k) {
        const SimRemoteNode::Write want{0x2269, static_cast<uint8_t>(k), types[k - 1]};
        EXPECT_NE(std::find(w.begin(), w.end(), want), w.end()) << k;
    }
    // The node's silence at power-up latched the high range latch of the
    // 850 C sensors (over the 1500 F limit), not of the 550 C ones; the
    // latch outlasts the silence until a reset.
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(boolean(ch(k, "FAULT")), 0u) << k;
        EXPECT_EQ(boolean(ch(k, "HI_LATCH")), k == 1 || k == 4 ? 1u : 0u) << k;
    }
    words({0x0640, 0x0640, 0x0640, 0x0640});
    settle();
    EXPECT_EQ(boolean(ch(1, "FAULT")), 0u);
    EXPECT_EQ(boolean(ch(1, "LATCH_OR")), 0u);
    sending_ = false;
    for (int p = 0; p < 40 && boolean("CNFG_CAN2.VL_NODE3_RTD_8C.COMM_FLT_1") == 0; ++p) feed(1);
    ASSERT_EQ(boolean("CNFG_CAN2.VL_NODE3_RTD_8C.COMM_FLT_1"), 1u);
    feed(30);
    const float want[4] = {850.0f, 550.0f, 550.0f, 850.0f};
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(boolean(ch(k, "FAULT")), 1u) << k;
        EXPECT_NEAR(real(ch(k, "VL_RTD")), want[k - 1], 1e-2f) << k;
    }
    // The value put in latches as a reading does: 850 C is above the
    // 1500 F limit, 550 C is not.
    EXPECT_EQ(boolean(ch(1, "HI_LATCH")), 1u);
    EXPECT_EQ(boolean(ch(2, "HI_LATCH")), 0u);
    // The reset that ends the loss brings the node back within its pulse,
    // and the same pulse clears the latch once the reading is in range.
    sending_ = true;
    reset();
    ASSERT_EQ(boolean("CNFG_CAN2.VL_NODE3_RTD_8C.ACTIVE"), 1u);
    EXPECT_EQ(boolean(ch(1, "LATCH_OR")), 0u);
}

TEST_F(RtdChannels, FunctionNumbersAreTakenOverOnlyWhileConfigurationIsAllowed) {
    g_early = {{"_ub43.FUNCT.IN", 16}, {"_ub44.FUNCT.IN", 3}, {"_ub44.WIZ_ENA.IN", 1}, {"_ub44.WIZ_FUNCT.IN", 2},
               {"_ub45.FUNCT.IN", 8}};
    start();
    words({0x8000, 0x8000, 0x0640, 0x8000});  // channels 1, 2 and 4 report a fault
    settle(6);
    struct Want {
        int32_t function;
        const char* text;
        uint32_t used, unused, fault;
    } const want[4] = {
        {15, "Temperature Monitoring #6", 1, 0, 1},  // 16 is stored as 15
        {2, "Bearing Temperature 1", 1, 0, 1},      // the wizard's number
        {8, "Lube Oil Temperature", 1, 0, 0},
        {1, "--- Not Used ---", 0, 1, 0},           // an unused channel reports no fault
    };
    for (int k = 1; k <= 4; ++k) {
        const Want& x = want[k - 1];
        EXPECT_EQ(integer(inst(k, "FUN_NUM.SAMP_ITUNE")), x.function) << k;
        EXPECT_EQ(text(inst(k, "FUN_STRG.I_TO_STR")), x.text) << k;
        EXPECT_EQ(boolean(inst(k, "CH_ENBL.B_NAME")), x.used) << k;
        EXPECT_EQ(boolean(inst(k, "CH_DSBL.B_NAME")), x.unused) << k;
        EXPECT_EQ(boolean(inst(k, "CHNL_FLT.B_NAME")), x.fault) << k;
        EXPECT_EQ(boolean(ch(k, "LATCH_OR")), k == 3 ? 0u : 1u) << k;
        // The lists repeat the display value, the reported fault and the function.
        const std::string n = std::to_string(k);
        EXPECT_FLOAT_EQ(real("VLTR_OUTS.VL_RTDS.LIST_" + n), real(display(k))) << k;
        EXPECT_EQ(boolean("VLTR_OUTS.VL_RTD_FLTS.LIST_" + n), x.fault) << k;
        EXPECT_EQ(integer("VLTR_OUTS.VL_RTD_FUNCT.LIST_" + n), x.function) << k;
    }
    // The power-up window is over: a new number waits for configuration.
    feed(30);
    serviceWrite("_ub45.FUNCT.IN", 9);
    feed(6);
    EXPECT_EQ(integer(inst(3, "FUN_NUM.SAMP_ITUNE")), 8);
    serviceWrite("CNFG_CAN2.CNFG_LIVE.IN", 1);
    feed(10);  // the first rising sample pulse after the window opens
    EXPECT_EQ(integer(inst(3, "FUN_NUM.SAMP_ITUNE")), 9);
    EXPECT_EQ(text(inst(3, "FUN_STRG.I_TO_STR")), "Casing Temperature");
}

TEST_F(RtdChannels, TagsDelaysAndModbusMultipliers) {
    g_early = {{"_ub44.RTD_MOD_X.IN", 1}, {"_ub45.RTD_MOD_X.IN", 5}, {"_ub50.FLT_DLY.IN", 2.5}};
    // The analog node's ten channels (eight inputs, two outputs), each with
    // a multiplier selector of its own.
    const float scale[5] = {0.01f, 0.1f, 1.0f, 10.0f, 100.0f};
    const int select[10] = {5, 4, 2, 1, 4, 5, 1, 2, 1, 5};
    for (int k = 0; k < 10; ++k)
        g_early.emplace_back("_ub" + std::to_string(33 + k) + (k < 8 ? ".AI_MOD_X.IN" : ".AO_MOD_X.IN"), select[k]);
    start();
    feed(4);
    EXPECT_EQ(text(inst(1, "TAG.S_NAME")), "RTD_1");
    EXPECT_EQ(text(inst(8, "USAGE.S_NAME")), "RTD_8 Description");
    EXPECT_EQ(integer(inst(8, "QT_DECIMALS.I_NAME")), 1);
    EXPECT_FLOAT_EQ(real(inst(8, "SEC_TO_MS.MULTIPLY")), 2500.0f);
    const float mult[8] = {1.0f, 0.01f, 100.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    for (int k = 1; k <= 8; ++k)
        EXPECT_FLOAT_EQ(real("MOD_VL_IO.VL_A_MULT.LIST_" + std::to_string(10 + k)), mult[k - 1]) << k;
    for (int k = 0; k < 10; ++k)
        EXPECT_FLOAT_EQ(real("MOD_VL_IO.VL_A_MULT.LIST_" + std::to_string(1 + k)), scale[select[k] - 1]) << k;
    // A selector outside 1..5 keeps the multiplier (the service tool
    // refuses one, so it is written to the cell).
    pokeTunable("_ub45.RTD_MOD_X.IN", 6);
    feed(2);
    EXPECT_FLOAT_EQ(real("MOD_VL_IO.VL_A_MULT.LIST_13"), 100.0f);
    serviceWrite("_ub45.RTD_MOD_X.IN", 2);
    feed(2);
    EXPECT_FLOAT_EQ(real("MOD_VL_IO.VL_A_MULT.LIST_13"), 0.1f);
}

TEST_F(RtdChannels, AlarmLevelsWatchTheDisplayValueInItsUnitAndTheChannelFault) {
    // Channel 1 armed at standstill, level 1 at 150 without delay, level 2 a
    // trip at 200 after 0.16 s; a failed value trips.
    g_early = {{"_ub51.SPEED_ENA.IN", 0},  {"_ub51.USE_SP1.IN", 1},    {"_ub51.ALM_SP1.IN", 150.0},
               {"_ub51.ALM_DLY.IN", 0.0},  {"_ub51.TRIP_SP2.IN", 1},   {"_ub51.ALM_SP2.IN", 200.0},
               {"_ub51.SIGFLT_TRIP.IN", 1}, {"_ub51.USE_PERM.IN", 1}, {"_ub43.FUNCT.IN", 2}};
    start();
    words({0x0640});  // 100 C = 212 F
    settle();
    feed(15);  // the permissive's delay
    EXPECT_FLOAT_EQ(real(event(1, "PV_VAL.A_NAME")), real(display(1)));
    EXPECT_EQ(boolean(event(1, "ALARM_LVL1.B_NAME")), 1u);
    EXPECT_EQ(boolean(event(1, "TRIP_LVL2.B_NAME")), 1u);
    EXPECT_EQ(boolean(event(1, "ALARM_LVL2.B_NAME")), 0u);  // level 2 is a trip
    EXPECT_EQ(boolean(event(1, "AND.AND")), 0u);
    EXPECT_EQ(boolean(event(1, "PERM_NOT_MET.B_NAME")), 0u);
    // In degrees Celsius the value is below both levels; the reset clears them.
    serviceWrite("CNFG_CAN2.USE_DEG_F.IN", 0);
    feed(1);
    EXPECT_EQ(boolean(event(1, "ALARM_LVL1.B_NAME")), 1u);  // latched until a reset
    reset();
    EXPECT_EQ(boolean(event(1, "ALARM_LVL1.B_NAME")), 0u);
    EXPECT_EQ(boolean(event(1, "TRIP_LVL2.B_NAME")), 0u);
    // The node's fault bit on a used channel: the signal-failed trip.
    words({0x8640});
    feed(2);
    EXPECT_EQ(boolean(inst(1, "CHNL_FLT.B_NAME")), 1u);
    EXPECT_EQ(boolean(event(1, "PV_SIGFLT.B_NAME")), 1u);
    EXPECT_EQ(boolean(event(1, "AND.AND")), 1u);
    EXPECT_EQ(boolean(event(1, "PERM_NOT_MET.B_NAME")), 1u);  // a failed value withdraws the permissive
}

// The whole controller with the RTD node: a temperature over its alarm
// level latches the remote alarm list's entry, which the unit's alarm list
// takes as its remote-node alarm; over its trip level it latches the remote
// trip list's entry with its text, and the shutdown logic takes the
// remote-node trip and shuts the unit down.
class RtdTrip : public RtdChannels {};

TEST_F(RtdTrip, AnRtdOverItsTripLevelReachesTheTripListAndShutsTheUnitDown) {
    // Channel 1 used as bearing temperature, its level 1 an alarm at 150 F,
    // its level 2 a trip at 200 F, armed at standstill.
    g_early = {{"_ub51.SPEED_ENA.IN", 0}, {"_ub51.USE_SP1.IN", 1},  {"_ub51.ALM_SP1.IN", 150.0},
               {"_ub51.TRIP_SP2.IN", 1},  {"_ub51.ALM_SP2.IN", 200.0}, {"_ub51.ALM_DLY.IN", 0.0},
               {"_ub43.FUNCT.IN", 2},     {"CNFG_CAN2.USE_VL.IN", 1}};
    start();
    words({0x0190, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190});  // 25 C = 77 F everywhere
    feed(10);
    reset();
    ASSERT_EQ(boolean("VLTR_ALMS.SUMMARY.SEL_71"), 0u);
    ASSERT_EQ(boolean("ALARMS.ANY.SEL_55"), 0u);
    ASSERT_EQ(boolean("VLTR_ALMS.TRIP_SUM.SEL_18"), 0u);
    ASSERT_EQ(boolean("SD_LOGIC.VL_SUMMARY.B_NAME"), 0u);
    ASSERT_EQ(boolean("SHUTDOWNS.ANY.SEL_17"), 0u);
    // (The node's silence before it came up latched the alarm once.)
    const std::string alarm55 = "ALARMS.ANY.SEL_55|ALM_055 Alarm from Veltra Nodes|500";
    const int before = tc_test::countRows(tc_test::readEventLog(), alarm55);
    // 80 C = 176 F on channel 1: the alarm only.
    words({0x0500, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190});
    feed(4);
    EXPECT_EQ(boolean("_ub51.ALARM_LVL1.B_NAME"), 1u);
    EXPECT_EQ(boolean("VLTR_ALMS.SUMMARY.SEL_71"), 1u);
    EXPECT_EQ(boolean("ALM_LOGIC.VL_SUMMARY.B_NAME"), 1u);
    EXPECT_EQ(boolean("ALARMS.ANY.SEL_55"), 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY.SEL_17"), 0u);
    // 100 C = 212 F on channel 1.
    words({0x0640, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190});
    feed(4);
    EXPECT_EQ(boolean("_ub51.TRIP_LVL2.B_NAME"), 1u);
    EXPECT_EQ(boolean("VLTR_ALMS.TRIP_SUM.SEL_18"), 1u);
    EXPECT_EQ(boolean("SD_LOGIC.VL_SUMMARY.B_NAME"), 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY.SEL_17"), 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    EXPECT_EQ(boolean("DATALOG.TURB_TRIP.B_NAME"), 1u);
    const auto rows = tc_test::readEventLog();
    EXPECT_EQ(tc_test::countRows(rows, "VLTR_ALMS.SUMMARY.SEL_71|Node 3 RTD 1 Alarm Level 1|500"), 1);
    EXPECT_EQ(tc_test::countRows(rows, alarm55), before + 1);
    EXPECT_EQ(tc_test::countRows(rows, "VLTR_ALMS.TRIP_SUM.SEL_18|Node 3 RTD_1 Level 2 Trip|500"), 1);
    EXPECT_EQ(tc_test::countRows(rows, "SHUTDOWNS.ANY.SEL_17|TRIP_17 TRIP from Veltra Nodes|500"), 1);
    // Back below both levels, a reset clears the remote entries and the unit's.
    words({0x0190, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190});
    feed(4);
    reset();
    EXPECT_EQ(boolean("VLTR_ALMS.SUMMARY.SEL_71"), 0u);
    EXPECT_EQ(boolean("ALARMS.ANY.SEL_55"), 0u);
    EXPECT_EQ(boolean("VLTR_ALMS.TRIP_SUM.SEL_18"), 0u);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY.SEL_17"), 0u);
}

// Each of the eight channels, over its alarm level and its trip level,
// latches its own entries: level 1 in the remote alarm list (71, 73, ..,
// 85), level 2 as a trip in the remote trip list (18 .. 25), with the
// channel's own texts; no other channel's entry. Each channel has its own
// levels, 4 F and 2 F below its own hot value (50 + 10 k C = 122 + 18 k F)
// and above the hot values of the channels before it.
TEST_F(RtdTrip, EachChannelLatchesItsOwnAlarmAndTripEntries) {
    for (int k = 1; k <= 8; ++k) {
        const std::string f = "_ub" + std::to_string(42 + k), e = "_ub" + std::to_string(50 + k);
        for (const auto& [cell, v] : std::vector<std::pair<std::string, double>>{
                 {f + ".FUNCT.IN", 2},  {e + ".SPEED_ENA.IN", 0}, {e + ".USE_SP1.IN", 1},
                 {e + ".ALM_SP1.IN", 118.0 + 18 * k},          {e + ".TRIP_SP2.IN", 1},
                 {e + ".ALM_SP2.IN", 120.0 + 18 * k},          {e + ".ALM_DLY.IN", 0.0}})
            g_early.emplace_back(cell, v);
    }
    g_early.emplace_back("CNFG_CAN2.USE_VL.IN", 1);
    start();
    const auto latched = [&](const std::string& list, int from, int to, int step) {
        std::string s;
        for (int n = from; n <= to; n += step)
            if (boolean("VLTR_ALMS." + list + ".SEL_" + std::to_string(n)) != 0) s += std::to_string(n) + " ";
        return s;
    };
    for (int k = 1; k <= 8; ++k) {
        SCOPED_TRACE(k);
        raw_[0] = raw_[1] = raw_[2] = raw_[3] = raw_[4] = raw_[5] = raw_[6] = raw_[7] = 0x0190;  // 77 F
        feed(4);
        reset();
        ASSERT_EQ(latched("SUMMARY", 71, 86, 1), "");
        ASSERT_EQ(latched("TRIP_SUM", 18, 25, 1), "");
        const auto before = tc_test::readEventLog();
        raw_[k - 1] = static_cast<uint16_t>((50 + 10 * k) * 16);
        feed(4);
        EXPECT_EQ(latched("SUMMARY", 71, 86, 1), std::to_string(69 + 2 * k) + " ");
        EXPECT_EQ(latched("TRIP_SUM", 18, 25, 1), std::to_string(17 + k) + " ");
        const auto rows = tc_test::readEventLog();
        const std::string alarm = "VLTR_ALMS.SUMMARY.SEL_" + std::to_string(69 + 2 * k) + "|Node 3 RTD " +
                                  std::to_string(k) + " Alarm Level 1|500";
        const std::string trip = "VLTR_ALMS.TRIP_SUM.SEL_" + std::to_string(17 + k) + "|Node 3 RTD_" +
                                 std::to_string(k) + " Level 2 Trip|500";
        EXPECT_EQ(tc_test::countRows(rows, alarm) - tc_test::countRows(before, alarm), 1);
        EXPECT_EQ(tc_test::countRows(rows, trip) - tc_test::countRows(before, trip), 1);
    }
    // Level 2 an alarm instead of a trip: both levels in the alarm list.
    for (int k = 1; k <= 8; ++k) {
        const std::string e = "_ub" + std::to_string(50 + k);
        serviceWrite(e + ".TRIP_SP2.IN", 0);
        serviceWrite(e + ".USE_SP2.IN", 1);
    }
    for (int k = 1; k <= 8; ++k) {
        SCOPED_TRACE(k);
        raw_[0] = raw_[1] = raw_[2] = raw_[3] = raw_[4] = raw_[5] = raw_[6] = raw_[7] = 0x0190;  // 77 F
        feed(4);
        reset();
        ASSERT_EQ(latched("SUMMARY", 71, 86, 1), "");
        raw_[k - 1] = static_cast<uint16_t>((50 + 10 * k) * 16);
        feed(4);
        EXPECT_EQ(latched("SUMMARY", 71, 86, 1), std::to_string(69 + 2 * k) + " " + std::to_string(70 + 2 * k) + " ");
        EXPECT_EQ(latched("TRIP_SUM", 18, 25, 1), "");
    }
}

// The node's silence at start-up latches the channels' high range latch
// (850 C over the 1500 F limit): once the node is back a channel counts as
// failed, its levels held off, until a reset; then a channel over its trip
// level trips. A channel set to trip on signal failure trips when the node
// reports it failed.
TEST_F(RtdTrip, AResetAfterTheNodeComesUpReleasesItsLevelsAndASignalFailureTrips) {
    // Channel 1 trips at 70 F; channel 2 trips on a failed signal.
    g_early = {{"_ub51.SPEED_ENA.IN", 0}, {"_ub51.TRIP_SP2.IN", 1}, {"_ub51.ALM_SP2.IN", 70.0},
               {"_ub51.ALM_DLY.IN", 0.0}, {"_ub43.FUNCT.IN", 2}, {"_ub44.FUNCT.IN", 2},
               {"_ub52.SIGFLT_TRIP.IN", 1}, {"CNFG_CAN2.USE_VL.IN", 1}};
    start();
    words({0x0190, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190});  // 25 C = 77 F
    feed(10 / 0.08);  // 10 s
    EXPECT_EQ(boolean(ch(1, "HI_LATCH")), 1u);
    EXPECT_EQ(boolean("VLTR_ALMS.TRIP_SUM.SEL_18"), 0u) << "a failed channel's levels are held off";
    EXPECT_EQ(boolean("VLTR_ALMS.TRIP_SUM.SEL_19"), 1u) << "the silent node at start-up is a failed signal";
    reset();
    EXPECT_EQ(boolean(ch(1, "HI_LATCH")), 0u);
    EXPECT_EQ(boolean("VLTR_ALMS.TRIP_SUM.SEL_18"), 1u) << "77 F held over a 70 F trip level";
    // Channel 1 back under its level, a reset releases both.
    words({0x0100, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190});  // 16 C = 60.8 F
    feed(4);
    reset();
    ASSERT_EQ(boolean("VLTR_ALMS.TRIP_SUM.SEL_18"), 0u);
    ASSERT_EQ(boolean("VLTR_ALMS.TRIP_SUM.SEL_19"), 0u);
    ASSERT_EQ(boolean("VLTR_ALMS.TRIP_SUM.LATCH_AE"), 0u);
    // The node reports channel 2 failed.
    words({0x0100, 0x8000, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190});
    feed(4);
    EXPECT_EQ(boolean("_ub52.AND.AND"), 1u);
    EXPECT_EQ(boolean("VLTR_ALMS.TRIP_SUM.SEL_19"), 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY.SEL_17"), 1u);
    EXPECT_EQ(integer("VLTR_ALMS.TRIP_SUM.FIRST_ALM"), 19);
    ASSERT_NE(integer("VLTR_ALMS.SUMMARY.FIRST_ALM"), 0);
    // The first-out resets of both lists, as the service tool gives them:
    // the first-out is cleared and the next entry to latch takes it.
    serviceWrite("VLTR_ALMS.TRIP_SUM.FA_RST", 1);
    serviceWrite("VLTR_ALMS.SUMMARY.FA_RST", 1);
    feed(2);
    EXPECT_EQ(integer("VLTR_ALMS.TRIP_SUM.FIRST_ALM"), 0);
    EXPECT_EQ(integer("VLTR_ALMS.SUMMARY.FIRST_ALM"), 0);
    serviceWrite("VLTR_ALMS.TRIP_SUM.FA_RST", 0);
    serviceWrite("VLTR_ALMS.SUMMARY.FA_RST", 0);
    words({0x0190, 0x8000, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190});  // channel 1 at 77 F again
    feed(4);
    EXPECT_EQ(boolean("VLTR_ALMS.TRIP_SUM.SEL_18"), 1u);
    EXPECT_EQ(integer("VLTR_ALMS.TRIP_SUM.FIRST_ALM"), 18);
    EXPECT_EQ(integer("VLTR_ALMS.TRIP_SUM.ALM_NO_18"), 2);
}

// The value a silent node's channels show is no reading: the level compares
// keep what the last real reading gave them. Level 1 at the default 60 F
// with -3 F of hysteresis: 59 F after the node's silence (at start-up and
// after a loss) raises nothing, while 59 F after a real 61 F keeps the level
// in its band, as a hysteresis does.
TEST_F(RtdTrip, TheSilentNodesValueLeavesNoMemoryInTheLevelCompares) {
    g_early = {{"_ub51.SPEED_ENA.IN", 0}, {"_ub51.USE_SP1.IN", 1},  {"_ub51.ALM_DLY.IN", 0.0},
               {"_ub51.TRIP_SP2.IN", 1},  {"_ub51.ALM_SP2.IN", 60.0}, {"_ub51.USE_PERM.IN", 1},
               {"_ub51.PERM_SP.IN", 60.0}, {"_ub43.FUNCT.IN", 2},     {"CNFG_CAN2.USE_VL.IN", 1}};
    constexpr uint16_t k59F = 0x00F0, k61F = 0x0102, k56F = 0x00D2;  // 15, 16.125 and 13.125 C
    struct Expect {
        uint32_t compare, alarm, trip, permNotMet;
    };
    auto check = [&](const char* when, Expect e) {
        EXPECT_EQ(boolean(event(1, "ALM_LVL1.A_COMPARE")), e.compare) << when;
        EXPECT_EQ(boolean(event(1, "ALM_LVL2.A_COMPARE")), e.compare) << when;
        EXPECT_EQ(boolean(event(1, "ALARM_LVL1.B_NAME")), e.alarm) << when;
        EXPECT_EQ(boolean(event(1, "TRIP_LVL2.B_NAME")), e.trip) << when;
        EXPECT_EQ(boolean(event(1, "PERM_NOT_MET.B_NAME")), e.permNotMet) << when;
    };
    words({k59F, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190});
    start();
    feed(10 / 0.08);
    check("59 F after the silence at start-up", {0, 0, 0, 1});
    EXPECT_EQ(boolean("VLTR_ALMS.TRIP_SUM.SEL_18"), 0u);
    reset();  // the latch of the silence at start-up
    check("59 F after the reset", {0, 0, 0, 1});
    // A real 61 F raises both; back at 59 F they stay in their band.
    words({k61F, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190});
    feed(20);
    check("61 F", {1, 1, 1, 0});
    words({k59F, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190});
    feed(4);
    reset();
    check("59 F after 61 F", {1, 1, 1, 0});
    // Below the band, a reset clears them.
    words({k56F, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190});
    feed(4);
    reset();
    check("56 F", {0, 0, 0, 1});
    // The node falls silent and is lost: the fault value is shown.
    sending_ = false;
    for (int p = 0; p < 100 && boolean("CNFG_CAN2.VL_NODE3_RTD_8C.COMM_FLT_1") == 0; ++p) feed(1);
    ASSERT_EQ(boolean("CNFG_CAN2.VL_NODE3_RTD_8C.COMM_FLT_1"), 1u);
    feed(4);
    EXPECT_FLOAT_EQ(real(display(1)), 1562.0f);
    check("node lost", {0, 0, 0, 1});
    // Back at 59 F after the communication reset: nothing from the silence.
    sending_ = true;
    words({k59F, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190, 0x0190});
    reset();
    for (int p = 0; p < 100 && boolean("CNFG_CAN2.VL_NODE3_RTD_8C.ACTIVE") == 0; ++p) feed(1);
    ASSERT_EQ(boolean("CNFG_CAN2.VL_NODE3_RTD_8C.ACTIVE"), 1u);
    feed(10 / 0.08);
    EXPECT_NEAR(real(display(1)), 59.0f, 0.01f);
    check("59 F after the node was lost", {0, 0, 0, 1});
    EXPECT_EQ(boolean("VLTR_ALMS.TRIP_SUM.SEL_18"), 0u);
}

}  // namespace
}  // namespace rio_test

namespace rio_test {
namespace {

struct VibCase {
    int used;      // vibration signals in use
    int required;  // signals required
    int faulted;   // faulted vibration inputs (the first n)
    int good;
    uint32_t lost;
};

// The vibration signals on the whole program: the controller's four analog
// inputs carry vibration inputs 1 .. 4 (functions 5 .. 8), the first
// `used` of them marked in use by their function-use settings, the first
// `faulted` of them open loops on the board (carrying no current).
class VibrationCount : public ProgramWithNodes, public ::testing::WithParamInterface<VibCase> {};

TEST_P(VibrationCount, TooFewGoodSignalsRaiseTheTripInput) {
    const VibCase& c = GetParam();
    std::vector<std::pair<std::string, double>> settings;
    for (int k = 1; k <= 4; ++k) {
        settings.emplace_back("_ub" + std::to_string(5 + k) + ".FUNCT.IN", 4 + k);
        settings.emplace_back("AI_MUX.AI_FUNC_USED.IN_" + std::to_string(k + 1), k <= c.used ? 1 : 0);
        board::setAnalogInputMa(k - 1, 12.0);
        board::setAnalogInputOpen(k - 1, k <= c.faulted);
    }
    settings.emplace_back("VLTR_VIB.WIZ_RQRD.IN", c.required);
    settingsAtStart(settings);
    startPastPowerUp();
    runPasses(R160, 2);
    runPasses(R80, 1);
    for (int k = 1; k <= 4; ++k) {
        const std::string n = std::to_string(k);
        ASSERT_EQ(boolean("AI_MUX.VIB_IN" + n + "_USED.B_NAME"), k <= c.used ? 1u : 0u) << k;
        ASSERT_EQ(boolean("AI_MUX.VIB_IN" + n + "_FLT.B_NAME"), k <= c.faulted ? 1u : 0u) << k;
    }
    EXPECT_EQ(integer("VLTR_VIB.NUM_CHANFLTS.I_ADD"), c.faulted);
    EXPECT_EQ(integer("VLTR_VIB.NUM_GOOD.I_SUBTRACT"), c.good);
    EXPECT_EQ(boolean("VLTR_VIB.SIG_RQRD.LT"), c.good < c.required ? 1u : 0u);
    EXPECT_EQ(boolean("VLTR_VIB.SIG_RQRD.EQ"), c.good == c.required ? 1u : 0u);
    EXPECT_EQ(boolean("VLTR_VIB.SIG_RQRD.GT"), c.good > c.required ? 1u : 0u);
    EXPECT_EQ(boolean("VLTR_VIB.VIB_SIGS_LOST.B_NAME"), c.lost);
    EXPECT_EQ(boolean("VLTR_ALMS.VIB_SIGS_LOST.B_NAME"), c.lost);
}

INSTANTIATE_TEST_SUITE_P(Signals, VibrationCount,
                         ::testing::Values(VibCase{4, 2, 0, 4, 0}, VibCase{4, 2, 2, 2, 0}, VibCase{4, 2, 3, 1, 1},
                                           VibCase{4, 4, 1, 3, 1},
                                           // more faulted inputs than signals in use: fewer than none
                                           VibCase{1, 0, 3, -2, 1},
                                           // no signal in use: no monitoring, whatever the faults
                                           VibCase{0, 2, 4, -4, 0}),
                         [](const ::testing::TestParamInfo<VibCase>& i) {
                             const VibCase& c = i.param;
                             return "used_" + std::to_string(c.used) + "_required_" + std::to_string(c.required) +
                                    "_faulted_" + std::to_string(c.faulted);
                         });

}  // namespace
}  // namespace rio_test
