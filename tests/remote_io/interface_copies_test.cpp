// The speed and cascade interface inputs of the 20 ms group through the
// whole program: the remote speed setpoint and the faults of the inputs
// that carry the remote speed, cascade and remote cascade signals (here the
// remote analog node's inputs 1 .. 3), and the 5 s average of the speed.
#include <cmath>
#include <string>

#include "tests/remote_io/program_rig.h"
#include "tests/remote_io/remote_rig.h"

namespace rio_test {
namespace {


class InterfaceCopies : public ProgramWithNodes {
protected:
    void SetUp() override {
        ProgramWithNodes::SetUp();
        addNode(Kind::AnalogIO, 1);
        pdo(0x281, words({nodeMa(12), nodeMa(8), nodeMa(16), nodeMa(12)}));
        pdo(0x381, words({nodeMa(12), nodeMa(12), nodeMa(12), nodeMa(12)}));
        pdo(0x481, words({0, 0}));
        startWithNodes({"CNFG_CAN2.VL1_ENA.IN"}, {"CNFG_CAN2.VL_NODE1_AIO.ACTIVE"});
    }
};

TEST_F(InterfaceCopies, TheRemoteSpeedSetpointAndTheInputFaultsReachTheInterface) {
    // Inputs 1, 2, 3 carry the remote speed setpoint, the cascade input and
    // the remote cascade setpoint (functions 2, 3, 4).
    setCell("CNFG_CAN2.CNFG_LIVE.IN", 1);
    setCell("_ub33.FUNCT.IN", 2);
    setCell("_ub34.FUNCT.IN", 3);
    setCell("_ub35.FUNCT.IN", 4);
    run(8 * 4);
    setCell("CNFG_CAN2.CNFG_LIVE.IN", 0);
    setCell("RESET.RESET.B_NAME", 1);  // the start-up latches of the three inputs
    run(1);
    setCell("RESET.RESET.B_NAME", 0);
    run(8 * 3);
    ASSERT_EQ(boolean("AI_MUX.RMT_SPD_FLT.B_NAME"), 0u);
    const float setpoint = real("AI_MUX.RMT_SPD_SP.A_NAME");
    EXPECT_EQ(real("_ub33.VALUE.A_NAME"), setpoint);
    EXPECT_EQ(real("IFACE_IN_SPEED.REM_SPD_SP.A_NAME"), setpoint);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.REMSP_PV_FLT.B_NAME"), 0u);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.CASC_PV_FLT.B_NAME"), 0u);
    EXPECT_EQ(boolean("IFACE_IN_CASC.CASC_PV_FLT.B_NAME"), 0u);
    EXPECT_EQ(boolean("IFACE_IN_CASC.RMT_CASC_FLT.B_NAME"), 0u);

    // Input 2 (cascade) out of its band, then input 3 (remote cascade) and
    // input 1 (remote speed): each fault to its own copies.
    pdo(0x281, words({nodeMa(12), nodeMa(0), nodeMa(16), nodeMa(12)}));
    run(10);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.CASC_PV_FLT.B_NAME"), 1u);
    EXPECT_EQ(boolean("IFACE_IN_CASC.CASC_PV_FLT.B_NAME"), 1u);
    EXPECT_EQ(boolean("IFACE_IN_CASC.RMT_CASC_FLT.B_NAME"), 0u);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.REMSP_PV_FLT.B_NAME"), 0u);
    pdo(0x281, words({nodeMa(12), nodeMa(0), nodeMa(0), nodeMa(12)}));
    run(10);
    EXPECT_EQ(boolean("IFACE_IN_CASC.RMT_CASC_FLT.B_NAME"), 1u);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.REMSP_PV_FLT.B_NAME"), 0u);
    pdo(0x281, words({nodeMa(0), nodeMa(0), nodeMa(0), nodeMa(12)}));
    run(10);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.REMSP_PV_FLT.B_NAME"), 1u);
}

// The average alone: the 20 ms slice that computes it, the speed written
// as the 10 ms group hands it over.
class AverageSpeed : public RemoteRig {
protected:
    const std::string avg = "IFACE_IN_SPEED.AVG_SPEED.RUNNING_AVG";
    void speed(double rpm) { setCell("MPU.TURB_SPD.A_NAME", rpm); }
};

TEST_F(AverageSpeed, UntilEveryGroupHasRunTheRingFollowsThePresentSpeed) {
    startApp();
    speed(1000.0);
    runPasses(R20, 1);
    EXPECT_EQ(real(avg), 1000.0f);
}

TEST_F(AverageSpeed, ItRunsOverTheLast250PassesAndAResetRefillsIt) {
    startApp();
    speed(1000.0);
    runPasses(R20, 260);
    EXPECT_EQ(real(avg), 1000.0f);
    speed(2000.0);
    runPasses(R20, 1);
    EXPECT_EQ(real(avg), 1004.0f);  // (249 x 1000 + 2000) / 250
    runPasses(R20, 124);
    EXPECT_NEAR(real(avg), 1500.0f, 1e-2f);
    runPasses(R20, 124);
    EXPECT_NEAR(real(avg), 1996.0f, 1e-2f);
    runPasses(R20, 1);
    EXPECT_EQ(real(avg), 2000.0f);
    runPasses(R20, 300);  // the ring wraps and keeps the last 250
    EXPECT_EQ(real(avg), 2000.0f);
    speed(1000.0);
    runPasses(R20, 50);
    EXPECT_NEAR(real(avg), 1800.0f, 1e-2f);

    // A reset fills the ring with the present speed at once.
    speed(3000.0);
    setCell("IFACE_IN_SPEED.AVG_SPEED.RST", 1);
    runPasses(R20, 1);
    EXPECT_EQ(real(avg), 3000.0f);
    setCell("IFACE_IN_SPEED.AVG_SPEED.RST", 0);
    speed(500.0);
    runPasses(R20, 2);
    EXPECT_NEAR(real(avg), 2980.0f, 1e-2f);  // two of 500, 248 of 3000
}

}  // namespace
}  // namespace rio_test
