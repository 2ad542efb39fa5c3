// A unit started, run and tripped on the whole program with the turbine
// model, driven only through its inputs: what follows the run command (the
// simulator's start bit, the remote setpoint's entry, the service screen's
// run flag, the critical band while the shaft crosses it) and what follows a
// trip (the simulator's trip bit, the speed sensing's shutdown inputs).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/control/SIM.cells.h"
#include "host/turbine_model.h"
#include "tests/support/ref_rig.h"

namespace sc_test {
namespace {

using namespace ref_test;

// The first critical band as the tests configure it.
constexpr double kBandLow = 2000.0, kBandHigh = 2500.0;

class RunningUnit : public RefRig {
protected:
    // What follows the run command, all in one: 1 while it runs.
    void expectRunning(uint32_t on) {
        EXPECT_EQ(boolean("START.RUN_CMD.LATCH_R"), on);
        EXPECT_EQ(boolean("SIM.SIM_START.B_NAME"), on);
        EXPECT_EQ(_BR_SIM_XFER_TO_SIM_11359[1], on);
        EXPECT_EQ(boolean("SERVICE.IH_ENTER.B_ACTION"), on);
        EXPECT_EQ(boolean("REMOTE.ENTR_ENBL.AND"), on) << "no remote selected, no cascade";
    }
    // What follows a shutdown, all in one.
    void expectTripped(uint32_t on) {
        EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), on);
        EXPECT_EQ(boolean("MPU_OVRD.OR_NOTSTRP.OR"), on);
        EXPECT_EQ(boolean("IFACE_IN_SPEED.ANY_SD.B_NAME"), on);
        EXPECT_EQ(boolean("SIM.TRIP_ACT.B_NAME"), on);
        EXPECT_EQ(_BR_SIM_XFER_TO_SIM_11359[0], on);
    }
};

// Started from standstill to rated through the first critical band: the
// band flag is set exactly while the shaft is inside the band (or the
// reference, which leads the shaft, is); the run command's followers rise
// with the start and fall with the trip.
TEST_F(RunningUnit, RunCommandAndTripReachTheirFollowersAndTheBandFlagFollowsTheShaft) {
    start(true, true,
          {{"CNFG_START.VLV_LIM_RATE.IN", 25.0},
           {"CNFG_SETPT.QT_CRIT_SPD_1_MIN.IN", kBandLow},
           {"CNFG_SETPT.QT_CRIT_SPD_1_MAX.IN", kBandHigh},
           {"CNFG_SETPT.CONFIG_B.IN_1", 1},
           {"CRIT_SPD.SET_HIGH1_SUB.IN_2", 0.0}});
    runPasses(R160, 2);
    expectRunning(0);
    expectTripped(0);
    EXPECT_EQ(boolean("CRIT_SPD.CRIT.OR"), 0u);

    startCommand();
    ASSERT_TRUE(runUntil([&] { return step("A02_STEP"); }, 500)) << "never at idle";
    expectRunning(1);
    EXPECT_EQ(boolean("CRIT_SPD.CRIT.OR"), 0u) << "idle lies below the band";
    // Rated selected: every 10 ms pass, the band flag against the speed the
    // program measures and the reference.
    pulse("IFACE_IN_START.IR_EN.IN", R160);
    // The reference's band reaches the flag from the 40 ms group: it counts
    // for the 80 ms after it was inside.
    int inside = 0, outside = 0, refSeen = 100;
    for (int k = 0; k < 20000 && !step("A08_STEP"); ++k) {
        runPasses(R10, 1);
        const double s = real("IFACE_IN_START.TURB_SPEED.A_NAME");
        const float r = real("IFACE_OUT_SPEED.Z_SETPOINT.A_NAME");
        refSeen = r >= kBandLow && r <= kBandHigh ? 0 : refSeen + 1;
        const bool refInside = refSeen <= 8;
        if (s >= kBandLow && s <= kBandHigh) {
            ++inside;
            EXPECT_EQ(boolean("CRIT_SPD.CRIT.OR"), 1u) << s;
            EXPECT_EQ(boolean("CRIT_SPD.CRIT_PROB1.AND"), 1u) << s;
            EXPECT_EQ(boolean("IFACE_OUT_START.IN_CRIT.B_NAME"), 1u) << s;
        } else if (!refInside) {
            ++outside;
            EXPECT_EQ(boolean("CRIT_SPD.CRIT.OR"), 0u) << s;
        }
        if (s < kBandLow || s > kBandHigh) {
            EXPECT_EQ(boolean("CRIT_SPD.CRIT_PROB1.AND"), 0u) << s;
        }
    }
    ASSERT_TRUE(step("A08_STEP")) << "never in control";
    EXPECT_GT(inside, 50);
    EXPECT_GT(outside, 50);
    expectRunning(1);
    expectTripped(0);

    // A trip from the trip contact: the run command drops with it.
    trip();
    ASSERT_TRUE(runUntil([&] { return boolean("SHUTDOWNS.ANY_SD.B_NAME") != 0; }, 10));
    runPasses(R160, 3);
    expectTripped(1);
    expectRunning(0);
}

}  // namespace
}  // namespace sc_test
