// The speed and cascade interface inputs of the 20 ms group through the
// whole program: the remote speed setpoint and the faults of the inputs
// that carry the remote speed, cascade and remote cascade signals (here the
// remote analog node's inputs 1 .. 3), and the 5 s average of the speed
// measured from the speed-sensor model.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/control/MPU.cells.h"
#include "runtime/rgtask.h"

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
    serviceWrite("CNFG_CAN2.CNFG_LIVE.IN", 1);
    serviceWrite("_ub33.FUNCT.IN", 2);
    serviceWrite("_ub34.FUNCT.IN", 3);
    serviceWrite("_ub35.FUNCT.IN", 4);
    run(8 * 4);
    serviceWrite("CNFG_CAN2.CNFG_LIVE.IN", 0);
    // The service tool's reset, for the start-up latches of the three inputs.
    serviceWrite("RESET.DEBUG_RST.TRIGGER", 1);
    run(8);
    serviceWrite("RESET.DEBUG_RST.TRIGGER", 0);
    run(8 * 10);
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

// The average on the whole program: the turbine turning on both speed
// sensors (the speed-sensor model), its speed the program measures as the
// 20 ms group takes it over. The average is the mean of the last 250 speeds
// the group took, and follows the present speed until every group has run.
class AverageSpeed : public cfg_test::ConfigRig {
protected:
    const std::string avg = "IFACE_IN_SPEED.AVG_SPEED.RUNNING_AVG";
    // The speed the 20 ms group read in its last pass.
    static float seen() { return r20::MPU.TURB_SPD_A_NAME; }
    // One 20 ms pass; the speed it read goes into the reference ring.
    void pass() {
        runPasses(R20, 1);
        ring_[next_] = seen();
        next_ = (next_ + 1) % ring_.size();
    }
    // The mean of the reference ring.
    double mean() const {
        double sum = 0.0;
        for (const float v : ring_) sum += v;
        return sum / static_cast<double>(ring_.size());
    }
    std::vector<float> ring_ = std::vector<float>(250, 0.0f);
    size_t next_ = 0;
};

TEST_F(AverageSpeed, ItFollowsThePresentSpeedUntilEveryGroupHasRunThenAveragesTheLast250Passes) {
    turn(1000.0);
    startApp();
    // Until every group has run: the present speed (the measured speed still
    // rising from the start), the ring refilled with it in each pass.
    int following = 0;
    float first = 0.0f;
    do {
        runPasses(R20, 1);
        EXPECT_EQ(real(avg), seen()) << following;
        if (following++ == 0) first = seen();
        std::fill(ring_.begin(), ring_.end(), seen());
    } while (AllRgExecutedwMMM == 0 && following < 100);
    ASSERT_GE(following, 5);
    ASSERT_GT(seen(), first + 100.0f) << "the speed did not move while the average followed it";
    // Then the mean of the last 250 passes: the speed settling at 1000,
    // stepped to 2000, held while the ring wraps, and back to 1000.
    const struct {
        double rpm;
        int passes;
        double settled;  // the average at the end (negative: not settled)
    } steps[] = {{1000.0, 260, 1000.0}, {2000.0, 1, -1}, {2000.0, 124, -1}, {2000.0, 125, -1},
                 {2000.0, 300, 2000.0}, {1000.0, 50, -1}};
    for (const auto& st : steps) {
        turn(st.rpm);
        for (int p = 0; p < st.passes; ++p) {
            pass();
            ASSERT_NEAR(real(avg), mean(), 0.05) << st.rpm << " rpm, pass " << p;
        }
        if (st.settled > 0) {
            EXPECT_NEAR(real(avg), st.settled, 0.05) << st.rpm;
        }
    }
    // Back at 1000 for 50 passes: about a fifth of the ring at the new speed.
    EXPECT_NEAR(real(avg), 1800.0f, 30.0f);
}

// ---- a state no input of the program reaches ------------------------------------------

// The average's reset: the program has no writer of it (the writers check
// lists it among the inputs with no source), so no input raises it; the
// 20 ms slice alone, the speed written as the 10 ms group hands it over.
class AverageSpeedReset : public RemoteRig {
protected:
    const std::string avg = "IFACE_IN_SPEED.AVG_SPEED.RUNNING_AVG";
    void speed(double rpm) { setCell("MPU.TURB_SPD.A_NAME", rpm); }
};

TEST_F(AverageSpeedReset, AResetRefillsTheRingWithThePresentSpeed) {
    startApp();
    speed(1000.0);
    runPasses(R20, 260);
    EXPECT_EQ(real(avg), 1000.0f);
    speed(2000.0);
    runPasses(R20, 1);
    EXPECT_EQ(real(avg), 1004.0f);  // (249 x 1000 + 2000) / 250
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
