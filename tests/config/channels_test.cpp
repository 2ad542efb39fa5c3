// The analog channels of every instance through the program's own slice
// table: each controller output scales its own selected signal over its own
// range into its own current loop and reports its own readback fault; each
// remote analog input reads its own node input with the function sampled
// under the I/O lock.
#include <string>

#include "host/current_loops.h"
#include "tests/config/analog_node_peer.h"
#include "tests/config/config_rig.h"

namespace cfg_test {
namespace {

class Channels : public ConfigRig {};

// Output k (module _ub10 + k) on the actual shaft speed over 0 .. kTop[k]:
// at 1000 rpm each drives 4 + 16 x 1000 / kTop[k] mA in its own loop
// (hardware loop 3 + k).
constexpr double kTop[3] = {4000.0, 8000.0, 2000.0};

TEST_F(Channels, EachAnalogOutputScalesItsSignalOverItsOwnRangeIntoItsOwnLoop) {
    start();
    lock();
    for (int k = 0; k < 3; ++k) {
        const std::string m = "_ub" + std::to_string(10 + k);
        serviceWrite(m + ".FUNCT.IN", 2);
        serviceWrite(m + ".RANGE_LO.IN", 0.0);
        serviceWrite(m + ".RANGE_HI.IN", kTop[k]);
    }
    settle();
    unlock();
    turn(1000.0);
    runPasses(R160, 20);
    ASSERT_NEAR(real("MPU.TURB_SPD.A_NAME"), 1000.0f, 1.0f);
    for (int k = 0; k < 3; ++k) {
        const std::string m = "_ub" + std::to_string(10 + k);
        SCOPED_TRACE(m);
        EXPECT_EQ(integer(m + ".FUNCT_INT.I_NAME"), 2);
        EXPECT_EQ(text(m + ".FDBK.I_TO_STR"), "Actual Shaft Speed");
        EXPECT_NEAR(board::loopCurrentMa(3 + k), 4.0 + 16.0 * 1000.0 / kTop[k], 0.1);
        EXPECT_EQ(boolean(m + ".DBK_FLT.B_NAME"), 0u);
    }
    // An open loop on output 3 raises its readback alarm and no other.
    board::setLoopFault(5, board::LoopFault::OpenWire);
    runPasses(R20, 10);
    EXPECT_EQ(boolean("_ub12.DBK_FLT.B_NAME"), 1u);
    EXPECT_EQ(boolean("CNFG_AO.AO_03_RDBK_FLTALM.B_NAME"), 1u);
    EXPECT_EQ(boolean("CNFG_AO.AO_01_RDBK_FLTALM.B_NAME"), 0u);
    EXPECT_EQ(boolean("CNFG_AO.AO_02_RDBK_FLTALM.B_NAME"), 0u);
    board::setLoopFault(5, board::LoopFault::None);
    runPasses(R20, 10);
    EXPECT_EQ(boolean("CNFG_AO.AO_03_RDBK_FLTALM.B_NAME"), 0u);
}

// The remote analog node on the bus, configured and started by the program.
class RemoteChannels : public ConfigRig {
protected:
    void SetUp() override {
        node_.attach();
        ConfigRig::SetUp();
    }
    void TearDown() override {
        node_.detach();
        ConfigRig::TearDown();
        hostcan::reset();
    }
    AnalogNodePeer node_;
};

// Remote input n (module _ub32 + n) on function 4 + n (vibration 1 .. 4,
// bearing temperature 1 .. 4) over its default range 0 .. 100, fed 10 x n %.
TEST_F(RemoteChannels, EachRemoteInputReadsItsOwnNodeInputWithItsOwnFunction) {
    const auto current = [](int n) { return 4.0 + 0.16 * 10.0 * n; };
    startPastPowerUp();
    lock();
    // Modbus scale selections 1 .. 5, 1 .. 3 in channel order.
    static const float kMultiplier[5] = {0.01f, 0.1f, 1.0f, 10.0f, 100.0f};
    const auto selection = [](int n) { return 1 + (n - 1) % 5; };
    for (int n = 1; n <= 8; ++n) {
        const std::string m = "_ub" + std::to_string(32 + n);
        serviceWrite(m + ".FUNCT.IN", 4 + n);
        serviceWrite(m + ".AI_MOD_X.IN", selection(n));
    }
    settle();
    for (int n = 1; n <= 8; ++n) {
        const std::string m = "_ub" + std::to_string(32 + n), entry = std::to_string(n);
        SCOPED_TRACE(m);
        EXPECT_EQ(integer(m + ".FUN_NUM.SAMP_ITUNE"), 4 + n);
        EXPECT_EQ(boolean(m + ".CH_ENABL.B_NAME"), 1u);
        EXPECT_EQ(integer("VLTR_OUTS.VL_AI_FUNCT.LIST_" + entry), 4 + n);
        EXPECT_EQ(real("VLTR_OUTS.VL_AI_MODMULT.LIST_" + entry), kMultiplier[selection(n) - 1]);
        EXPECT_EQ(real("VLTR_OUTS.VL_AI_MAXS.LIST_" + entry), 100.0f);
    }
    unlock();
    for (const char* on : {"CNFG_CAN2.USE_VL.IN", "CNFG_CAN2.VL1_ENA.IN", "CNFG_CAN2.GO_OPER.IN_1"}) serviceWrite(on, 1);
    for (int pass = 0; pass < 3000 && boolean("CNFG_CAN2.VL_NODE1_AIO.ACTIVE") == 0; ++pass) {
        if (pass % 5 == 0) node_.sendInputs(current);
        runPasses(R20, 1);
    }
    ASSERT_EQ(boolean("CNFG_CAN2.VL_NODE1_AIO.ACTIVE"), 1u);
    for (int pass = 0; pass < 40; ++pass) {
        if (pass % 5 == 0) node_.sendInputs(current);
        runPasses(R20, 1);
    }
    static const char* const kRouted[8] = {"VIB_IN1", "VIB_IN2", "VIB_IN3", "VIB_IN4",
                                           "BEARTEMP1", "BEARTEMP2", "BEARTEMP3", "BEARTEMP4"};
    for (int n = 1; n <= 8; ++n) {
        const std::string m = "_ub" + std::to_string(32 + n);
        SCOPED_TRACE(m);
        EXPECT_NEAR(real(m + ".MA.A_NAME"), current(n), 0.01);
        EXPECT_NEAR(real(m + ".VALUE.A_NAME"), 10.0 * n, 0.05);
        EXPECT_NEAR(real(m + ".PCT.A_NAME"), 10.0 * n, 0.05);
        EXPECT_NEAR(real(std::string("AI_MUX.") + kRouted[n - 1] + ".A_NAME"), 10.0 * n, 0.05);
    }
    EXPECT_EQ(boolean("CNFG_CHECK_AI.DUPLICATE_AI.B_NAME"), 0u);
}

// While the configuration wizard is on, every channel takes the function
// the wizard proposes for it (its own entry) instead of its entered one,
// under the I/O lock; the actuator is proposed the HP demand and the speed
// readout.
TEST_F(Channels, TheWizardGivesEachChannelItsOwnProposedFunction) {
    start();
    lock();
    const int proposedAi[4] = {2, 5, 9, 13}, proposedAo[3] = {3, 9, 10};
    for (int k = 0; k < 4; ++k) {
        serviceWrite("_ub" + std::to_string(6 + k) + ".FUNCT.IN", 1);
        serviceWrite("CNFG_AI.WIZFUN_AI_CH" + std::to_string(k + 1) + ".IN", proposedAi[k]);
    }
    for (int k = 0; k < 3; ++k) {
        serviceWrite("_ub" + std::to_string(10 + k) + ".FUNCT.IN", 1);
        serviceWrite("CNFG_AO.WIZFUN_AO_CH" + std::to_string(k + 1) + ".IN", proposedAo[k]);
    }
    serviceWrite("_ub5.FUNCT.IN", 4);
    serviceWrite("_ub5.RO_FUNCT.IN", 19);
    settle();
    EXPECT_EQ(integer("_ub6.FUN_NUM.SAMP_ITUNE"), 1);
    EXPECT_EQ(integer("_ub5.ACT_FUNCTION.SAMP_ITUNE"), 4);
    serviceWrite("CNFG_WIZ.WIZARD.IN", 1);
    settle();
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(integer("CNFG_AI.WIZFUN_AI_CH" + std::to_string(k + 1) + ".I_NAME"), proposedAi[k]);
        EXPECT_EQ(integer("_ub" + std::to_string(6 + k) + ".FUN_NUM.SAMP_ITUNE"), proposedAi[k]) << k;
    }
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(integer("CNFG_AO.WIZFUN_AO_CH" + std::to_string(k + 1) + ".I_NAME"), proposedAo[k]);
        EXPECT_EQ(integer("_ub" + std::to_string(10 + k) + ".FUNCT_INT.I_NAME"), proposedAo[k]) << k;
    }
    EXPECT_EQ(integer("CNFG_ACT.WIZFUN_ACT1.I_NAME"), 2);
    EXPECT_EQ(integer("CNFG_ACT.RO_WIZFUN_ACT1.I_NAME"), 2);
    EXPECT_EQ(integer("_ub5.ACT_FUNCTION.SAMP_ITUNE"), 2);
    EXPECT_EQ(integer("_ub5.RO_FUNCTION.SAMP_ITUNE"), 2);
    EXPECT_EQ(text("_ub5.FUNCT_STRG.S_NAME"), "HP Demand");
    // Off again: the entered functions come back at the next samples.
    serviceWrite("CNFG_WIZ.WIZARD.IN", 0);
    settle();
    EXPECT_EQ(integer("_ub7.FUN_NUM.SAMP_ITUNE"), 1);
    EXPECT_EQ(integer("_ub11.FUNCT_INT.I_NAME"), 1);
    EXPECT_EQ(integer("_ub5.ACT_FUNCTION.SAMP_ITUNE"), 4);
}

}  // namespace
}  // namespace cfg_test
