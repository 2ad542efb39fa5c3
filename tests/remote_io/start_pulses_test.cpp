// The 80 ms start-up pulses and the pieces of their slice through the whole
// program's slice table: the node initialisation pulses and the network
// reset act in the pass in which their requests rise, and the stop, valve
// and idle/rated pieces read what the earlier slices of the same pass
// computed. Only the program's inputs are set (tunables, service commands).
#include <string>

#include "tests/remote_io/program_rig.h"

namespace rio_test {
namespace {

class StartPulses : public ProgramWithNodes {
protected:
    void SetUp() override {
        ProgramWithNodes::SetUp();
        startPastPowerUp();
    }
    void pass80() { runPasses(R80, 1); }
};

TEST_F(StartPulses, InitAllHeldGivesEachNodeOnePulseOfThirteenPasses) {
    serviceWrite("CNFG_CAN2.INIT_ALL.IN", 1);
    int on[4] = {};
    for (int k = 0; k < 30; ++k) {
        pass80();
        if (k == 0) {
            // In the pass the request rises.
            EXPECT_EQ(boolean("CNFG_CAN2.VL1_INIT.OR"), 1u);
            EXPECT_EQ(boolean("CNFG_CAN2.VL1_INIT_OS.ONE_SHOT"), 1u);
        }
        on[0] += static_cast<int>(boolean("CNFG_CAN2.VL1_INIT_OS.ONE_SHOT"));
        on[1] += static_cast<int>(boolean("CNFG_CAN2.VL3_INIT_OS.ONE_SHOT"));
        on[2] += static_cast<int>(boolean("CNFG_CAN2.VL4_INIT_OS.ONE_SHOT"));
        on[3] += static_cast<int>(boolean("CNFG_CAN2.VL5_INIT_OS.ONE_SHOT"));
    }
    for (int n : on) EXPECT_EQ(n, 13);
    EXPECT_EQ(boolean("CNFG_CAN2.VL4_INIT.OR"), 1u);
    // Dropped for a pass, held again: a new pulse at once.
    serviceWrite("CNFG_CAN2.INIT_ALL.IN", 0);
    pass80();
    serviceWrite("CNFG_CAN2.INIT_ALL.IN", 1);
    pass80();
    EXPECT_EQ(boolean("CNFG_CAN2.VL3_INIT_OS.ONE_SHOT"), 1u);
    EXPECT_EQ(boolean("CNFG_CAN2.VL1_INIT_OS.ONE_SHOT"), 1u);
    EXPECT_EQ(integer("CNFG_CAN2.VL3_INIT_OS.R_TIME"), 0);
}

TEST_F(StartPulses, EachNodeHasItsOwnRequestAndTheNetworkResetWaitsForPowerUp) {
    serviceWrite("CNFG_CAN2.VL5_INIT.IN_3", 1);
    serviceWrite("CNFG_CAN2.VL1_INIT.IN_3", 1);
    serviceWrite("CNFG_CAN2.RST_CAN2.DLY_TIME", 60.0);
    serviceWrite("CNFG_CAN2.USE_VL.IN", 1);
    pass80();
    EXPECT_EQ(boolean("CNFG_CAN2.VL5_INIT_OS.ONE_SHOT"), 1u);
    EXPECT_EQ(boolean("CNFG_CAN2.VL1_INIT_OS.ONE_SHOT"), 1u);
    EXPECT_EQ(boolean("CNFG_CAN2.VL3_INIT_OS.ONE_SHOT"), 0u);
    EXPECT_EQ(boolean("CNFG_CAN2.VL4_INIT_OS.ONE_SHOT"), 0u);
    EXPECT_EQ(boolean("CNFG_CAN2.RST_CAN2.ONE_SHOT"), 0u);
    EXPECT_EQ(boolean("CNFG_CAN2.USE_VL.B_NAME"), 1u);
    // No node on the bus: every node's reset goes unanswered, so each ends
    // with its identity fault and none is active. With the nodes in use the
    // power-up flag then asks for the network reset, in the same pass.
    serviceWrite("CNFG_CAN2.VL_NODE1_AIO.INIT_PERM", 1);
    serviceWrite("CNFG_CAN2.VL_NODE3_RTD_8C.INIT_PERM", 1);
    serviceWrite("CNFG_CAN2.VL_NODE4_BI.INIT_PERM", 1);
    serviceWrite("CNFG_CAN2.VL_NODE5_BO.INIT_PERM", 1);
    serviceWrite("CNFG_CAN2.INIT_ALL.IN", 1);
    serviceWrite("CNFG_CAN2.ENA_VL.IN_2", 1);
    runPasses(R80, 60);
    for (const char* b : {"VL_NODE1_AIO", "VL_NODE3_RTD_8C", "VL_NODE4_BI", "VL_NODE5_BO"})
        ASSERT_EQ(boolean(std::string("CNFG_CAN2.") + b + ".ID_FAULT"), 1u) << b;
    EXPECT_EQ(boolean("CNFG_CAN2.RST_CAN2.ONE_SHOT"), 0u);
    serviceWrite("CNFG_CAN2.ALL_PWRUP.IN_7", 1);
    pass80();
    EXPECT_EQ(boolean("CNFG_CAN2.ALL_PWRUP.AND"), 1u);
    EXPECT_EQ(boolean("CNFG_CAN2.RST_CAN2.ONE_SHOT"), 1u);
    EXPECT_EQ(integer("CNFG_CAN2.RST_CAN2.R_TIME"), 59);
}

TEST_F(StartPulses, PowerUpDelayAndResetPulse) {
    EXPECT_EQ(boolean("PWR_UP_MSG.PWR_UP_DLY.DELAY"), 1u);
    EXPECT_EQ(boolean("PWR_UP_MSG.PWR_UP_RST.ONE_SHOT"), 0u);
    EXPECT_EQ(integer("PWR_UP_MSG.PWR_UP_RST.R_TIME"), 0);
    // The go-to-minimum and idle/rated edge blocks are one-pass pulses.
    for (const char* a : {"GOTO_MIN.BI_SET_LATCH.ACT_OUT", "IDLE_RATE.BI_ON.ACT_OUT", "IDLE_RATE.PLS_ON.ACT_OUT"})
        EXPECT_EQ(integer(a), 5) << a;
}

}  // namespace
}  // namespace rio_test
