// The calibration-mode pulses and copies, the remote network's timers, and
// the parts of the analog routing the other cases leave out (alarm flags,
// use tunables, fixed entries).
#include <memory>
#include <string>
#include <vector>

#include "host/analog_inputs.h"
#include "host/canbus.h"
#include "runtime/tune_side_effects.h"
#include "tests/config/analog_node_peer.h"
#include "tests/config/config_rig.h"

namespace cfg_test {
namespace {

class Pulses : public ConfigRig {
protected:
    void SetUp() override {
        ConfigRig::SetUp();
        startPastPowerUp();
    }
    // How many of the next n 160 ms passes show `cell` set.
    int count(const char* cell, int n) {
        int ones = 0;
        for (int k = 0; k < n; ++k) {
            runPasses(R160, 1);
            ones += boolean(cell) != 0;
        }
        return ones;
    }
};

struct CalCase {
    uint32_t calmode, adjust_in, permissive, sample_in;
    uint32_t adjust_ok, calperm, nocalperm;
    int cal_pulses;  // of six passes
};

TEST_F(Pulses, CalibrationModeCopiesAndPulses) {
    const CalCase cases[] = {
        {0, 0, 0, 0, 0, 0, 1, 0},
        {1, 0, 1, 0, 1, 1, 0, 3},
        {0, 1, 1, 0, 1, 1, 0, 0},
        {0, 0, 1, 1, 0, 1, 0, 6},
    };
    // The unit is tripped (off); the turbine turns above the low-speed
    // check, so calibration is permitted only with the check overridden.
    turn(500.0);
    set({{"CNFG_SPEED.SPD1_LOW_SP.IN", 10.0}, {"CNFG_SPEED.SPD2_LOW_SP.IN", 10.0}});
    for (const CalCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.calmode << c.adjust_in << c.permissive << c.sample_in);
        // Out of calibration mode first: the failed speed check ends it.
        set({{"CALMODE.LO_CHECK_TEST_OVRD.IN_2", 0}, {"CALMODE.CAL_ENABLE.IN_1", 0}});
        runPasses(R160, 1);
        ASSERT_EQ(boolean("CALMODE.CALMODE.B_NAME"), 0u);
        set({{"CALMODE.CAL_ENABLE.IN_1", double(c.calmode)},
             {"CALMODE.ADJUSTOK.IN_2", double(c.adjust_in)},
             {"CALMODE.LO_CHECK_TEST_OVRD.IN_2", double(c.permissive)},
             {"CALMODE.CAL_SAMPLOK.IN_2", double(c.sample_in)}});
        runPasses(R160, 2);  // the permissive, then the latch
        EXPECT_EQ(count("CALMODE.CAL_SAMPL_OK.B_NAME", 6), c.cal_pulses);
        EXPECT_EQ(boolean("CALMODE.CALMODE.B_NAME"), c.calmode);
        EXPECT_EQ(boolean("CALMODE.NOTCALMODE.B_NAME"), 1u - c.calmode);
        EXPECT_EQ(boolean("CALMODE.ADJUSTOK.OR"), c.adjust_ok);
        EXPECT_EQ(boolean("CALMODE.ADJUST_OK.B_NAME"), c.adjust_ok);
        EXPECT_EQ(boolean("CALMODE.CALPERM.B_NAME"), c.calperm);
        EXPECT_EQ(boolean("CALMODE.NOCALPERM.NOT"), c.nocalperm);
        EXPECT_EQ(boolean("CALMODE.CFG_SAMPL_OK.B_NAME"), 0u);
    }
}

TEST_F(Pulses, RemoteNetworkTimers) {
    EXPECT_EQ(boolean("CNFG_CAN2.ENA_VL.OR"), 0u);
    setCell("CNFG_CAN2.USE_VL.IN", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("CNFG_CAN2.ENA_VL.OR"), 1u);
    set({{"CNFG_CAN2.USE_VL.IN", 0}, {"CNFG_CAN2.ENA_VL.IN_2", 1}});
    runPasses(R160, 2);
    EXPECT_EQ(boolean("CNFG_CAN2.ENA_VL.OR"), 1u);
    // The network is open but the own node not operational: the
    // not-operational delay stands.
    EXPECT_EQ(count("CNFG_CAN2.NO_OPERDLY.DELAY", 1), 1);
    // The own node started: a 1.0 s pulse in 0.16 s steps on the NMT state 5
    // flag, and the delay gone at once.
    setCell("CNFG_CAN2.GO_OPER.IN_1", 1);
    EXPECT_EQ(count("CNFG_CAN2.GO_OPER_RST.ONE_SHOT", 12), 7);
    EXPECT_EQ(count("CNFG_CAN2.NO_OPERDLY.DELAY", 1), 0);
}

// The remote analog node on the bus: configured and commanded operational by
// the program itself, its input PDOs sent by the test as raw frames.
class PulsesWithAnalogNode : public Pulses {
protected:
    void SetUp() override {
        node_.attach();
        Pulses::SetUp();
    }
    void TearDown() override {
        node_.detach();
        Pulses::TearDown();
        hostcan::reset();
    }
    // Input 1 of the node in milliamps; the others at 12 mA.
    void sendInput1(double mA) {
        node_.sendInputs([mA](int n) { return n == 1 ? mA : 12.0; });
    }
    // 160 ms passes with the node reporting every 100 ms.
    void report(double mA, int passes160) {
        for (int p = 0; p < passes160 * 8; ++p) {
            if (p % 5 == 0) sendInput1(mA);
            runPasses(R20, 1);
        }
    }
    AnalogNodePeer node_;
};

TEST_F(PulsesWithAnalogNode, AlarmFlagsUseTunablesAndFixedEntriesReachTheirFunctions) {
    // No low limit on the node's input 1: it reads 0 mA until the node
    // reports. The low latch of the first passes (the function not yet
    // sampled) goes with a common reset.
    serviceWrite("VL1_AIO.AI_1.LO_SP", 0.0);
    // The service tool's reset: the debug reset's pulse, then the 80 ms
    // group's 1 s reset pulse.
    serviceWrite("RESET.DEBUG_RST.TRIGGER", 1);
    runPasses(R160, 1);
    serviceWrite("RESET.DEBUG_RST.TRIGGER", 0);
    for (int p = 0; p < 20 && boolean("RESET.RESET.B_NAME") != 0; ++p) runPasses(R160, 1);
    ASSERT_EQ(boolean("RESET.RESET.B_NAME"), 0u) << "the reset pulse never ended";
    ASSERT_EQ(boolean("VL1_AIO.AI_1.LO_LATCH"), 0u);
    lock();
    set({{"_ub33.FUNCT.IN", 5}, {"_ub7.FUNCT.IN", 3}, {"_ub25.USE_SP1.IN", 1},
         {"_ub25.USE_SP2.IN", 1}, {"_ub25.SPEED_ENA.IN", -1}, {"_ub25.ALM_DLY.IN", 0.0}, {"_ub25.ALM_SP1.IN", 40.0},
         {"_ub25.ALM_SP2.IN", 70.0}, {"_ub6.FUNCT.IN", 12},
         {"AI_MUX.AI_FUNC_USED.IN_3", 0}, {"AI_MUX.AI_FUNC_USED.IN_6", 1}, {"AI_MUX.AI_MAX.SEL_1", 16}, {"AI_MUX.AI_MIN.SEL_1", 16},
         {"AI_MUX.AI_MULT.SEL_1", 16}, {"AI_MUX.AI_FUNC_USED.SEL_1", 16}, {"AI_MUX.AI_TAGS.SEL_1", 17}, {"AI_MUX.AI_ALM1_SP.SEL_1", 16}, {"AI_MUX.AI_ALM2_SP.SEL_1", 16},
         {"AI_MUX.AI_CHAN_ALM1.SEL_1", 16}, {"AI_MUX.AI_CHAN_ALM2.SEL_1", 16}, {"AI_MUX.AI_CHAN_TRIP.SEL_1", 16},
         {"AI_MUX.AI_CHAN_USED.SEL_1", 5}});
    settle();
    // The node is enabled only while the I/O is unlocked; the own node goes
    // operational once the network is open.
    unlock();
    set({{"CNFG_CAN2.USE_VL.IN", 1}, {"CNFG_CAN2.VL1_ENA.IN", 1}, {"CNFG_CAN2.GO_OPER.IN_1", 1}});
    for (int pass = 0; pass < 3000 && boolean("CNFG_CAN2.VL_NODE1_AIO.ACTIVE") == 0; ++pass) {
        if (pass % 5 == 0) sendInput1(12.0);
        runPasses(R20, 1);
    }
    ASSERT_EQ(boolean("CNFG_CAN2.VL_NODE1_AIO.ACTIVE"), 1u);
    report(4.0 + 0.16 * 50.0, 3);
    ASSERT_EQ(boolean("VL1_AIO.AI_1.LATCH_OR"), 0u);
    ASSERT_NEAR(real("_ub25.PV_VAL.A_NAME"), 50.0f, 0.01f);
    EXPECT_EQ(boolean("AI_MUX.VIB_IN1_ALM1.B_NAME"), 1u);
    EXPECT_EQ(boolean("AI_MUX.VIB_IN1_ALM2.B_NAME"), 0u);
    EXPECT_EQ(boolean("AI_MUX.VIB_IN1_TRIP.B_NAME"), 0u);
    EXPECT_EQ(real("AI_MUX.VIB_IN1_ALM1SP.A_NAME"), 40.0f);
    EXPECT_EQ(real("AI_MUX.VIB_IN1_ALM2SP.A_NAME"), 70.0f);
    report(4.0 + 0.16 * 90.0, 3);
    EXPECT_EQ(boolean("AI_MUX.VIB_IN1_ALM1.B_NAME"), 1u);
    EXPECT_EQ(boolean("AI_MUX.VIB_IN1_ALM2.B_NAME"), 1u);
    EXPECT_EQ(boolean("AI_MUX.AI_CHAN_TRIP.OUT_5"), 0u);
    // A function's trip flag follows its level-2 alarm slot, not the trip
    // slot: with level 2 made a trip the alarm slot clears and so does it.
    EXPECT_EQ(boolean("AI_MUX.VIB_IN1_TRIP.B_NAME"), 1u);
    setCell("_ub25.TRIP_SP2.IN", 1);
    report(4.0 + 0.16 * 90.0, 5);
    EXPECT_EQ(boolean("AI_MUX.AI_CHAN_TRIP.OUT_5"), 1u);
    EXPECT_EQ(boolean("AI_MUX.VIB_IN1_ALM2.B_NAME"), 0u);
    EXPECT_EQ(boolean("AI_MUX.VIB_IN1_TRIP.B_NAME"), 0u);
    EXPECT_EQ(boolean("AI_MUX.VIB_IN2_ALM1.B_NAME"), 0u);
    // Input 2's use tunable is off: the cascade function counts as unused.
    EXPECT_EQ(boolean("AI_MUX.CASC_USED.B_NAME"), 0u);
    EXPECT_EQ(boolean("AI_MUX.VIB_IN1_USED.B_NAME"), 1u);
    EXPECT_EQ(text("AI_MUX.VIB_ENG_UNITS.S_NAME"), "ENG Units");
    // The fixed entries, moved to function 16 and (tag) 17.
    EXPECT_EQ(real("AI_MUX.HP_FDBK_MAX.A_NAME"), 20.0f);
    EXPECT_EQ(real("AI_MUX.HP_FDBK_MIN.A_NAME"), 4.0f);
    EXPECT_EQ(real("AI_MUX.HP_FDBK_MODX.A_NAME"), 20.0f);
    EXPECT_EQ(boolean("AI_MUX.HP_FDBK_USED.B_NAME"), 1u);
    EXPECT_EQ(real("AI_MUX.HP_FDBK_ALM1SP.A_NAME"), 4.0f);
    EXPECT_EQ(real("AI_MUX.HP_FDBK_ALM2SP.A_NAME"), 4.0f);
    EXPECT_EQ(boolean("AI_MUX.HP_FDBK_ALM1.B_NAME"), 0u);
    EXPECT_EQ(boolean("AI_MUX.HP_FDBK_ALM2.B_NAME"), 0u);
    EXPECT_EQ(boolean("AI_MUX.AI_CHAN_TRIP.OUT_16"), 0u);
    EXPECT_EQ(text("AI_MUX.AI_TAGS.OUT_17"), "NOT USED");
    // Input 1 (bearing temperature 4) has its use flag moved to channel slot 5.
    EXPECT_EQ(boolean("AI_MUX.AI_01_USED.B_NAME"), 0u);
    EXPECT_EQ(boolean("AI_MUX.AI_CHAN_USED.OUT_5"), 1u);
}

}  // namespace
}  // namespace cfg_test

namespace cfg_test {
namespace {

// Each node initialisation command written by the service side passes on
// for 1 s and is then dropped; only node 1's reaches its re-initialise
// request.
TEST_F(Pulses, NodeInitialisationCommandsAreDroppedAfterOneSecond) {
    for (int n = 1; n <= 5; ++n) {
        SCOPED_TRACE(n);
        const std::string in = "CNFG_CAN2.INIT_NODES.IN_" + std::to_string(n);
        const std::string out = "CNFG_CAN2.INIT_NODES.OUT_" + std::to_string(n);
        setCell(in, 1);
        special_case_tune(cell(in));
        int on = 0;
        for (int k = 0; k < 20; ++k) {
            runPasses(R80, 1);
            on += boolean(out) != 0;
            EXPECT_EQ(boolean("CNFG_CAN2.VL1_INIT.OR"), n == 1 ? boolean(out) : 0u);
        }
        EXPECT_EQ(on, 13);  // on while under 1 s had passed before the pass
        EXPECT_EQ(boolean(in), 0u);
        EXPECT_EQ(boolean(out), 0u);
    }
    // The all-nodes command and the node's own input hold the request as long as they are set.
    const char* const holds[] = {"CNFG_CAN2.INIT_ALL.IN", "CNFG_CAN2.VL1_INIT.IN_3"};
    for (const char* h : holds) {
        SCOPED_TRACE(h);
        setCell(h, 1);
        runPasses(R80, 30);
        EXPECT_EQ(boolean("CNFG_CAN2.VL1_INIT.OR"), 1u);
        EXPECT_EQ(boolean(h), 1u);
        setCell(h, 0);
        runPasses(R80, 1);
        EXPECT_EQ(boolean("CNFG_CAN2.VL1_INIT.OR"), 0u);
    }
    EXPECT_EQ(boolean("CNFG_CAN2.INIT_ALL.B_NAME"), 0u);
}

}  // namespace
}  // namespace cfg_test
