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
    // The valve demand select's choice: 1 the speed PID, 2 the valve
    // limiter, 3 the manual demand, 4 the trip's zero.
    void expectSelected(int selected) {
        for (int k = 1; k <= 4; ++k)
            EXPECT_EQ(boolean("HP_DRIVER.ACT_LSS.SEL_" + std::to_string(k)), k == selected ? 1u : 0u) << k;
        EXPECT_EQ(boolean("IFACE_OUT_VLV.ACT_LSS_SEL_1.B_NAME"), selected == 1 ? 1u : 0u);
        EXPECT_EQ(boolean("IFACE_IN_SPEED.NOT_SPDCTRL.NOT"), selected == 1 ? 0u : 1u);
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
    // In control, once the end of the ramp has coasted off: the speed PID's
    // demand is the lowest of the four (the limiter stands open above it)
    // and goes to the valve.
    runPasses(R160, 400);
    expectSelected(1);
    EXPECT_EQ(boolean("HP_DRIVER.ACT_LSS.LO_LIM_I"), 0u);
    EXPECT_EQ(real("HP_DRIVER.ACT_LSS.LSS_BUS"), real("SPD_CTRL.SPD_PID.PID_OPTI"));
    EXPECT_EQ(real("IFACE_OUT_VLV.LSS_OUT.A_NAME"), real("HP_DRIVER.ACT_LSS.LSS_BUS"));
    EXPECT_EQ(boolean("IFACE_OUT_SPEED.SPD_CTRL_DISABLED.B_NAME"), 0u);

    // A trip from the trip contact: the run command drops with it.
    // The trip's zero takes the select in the first pass, from the PID's
    // demand that holds the unloaded shaft.
    const float holding = real("SPD_CTRL.SPD_PID_SW.A_SW");
    EXPECT_GT(holding, 0.0f);
    trip();
    for (int k = 0; k < 100 && real("HP_DRIVER.ACT_LSS.LSS_BUS") != 0.0f; ++k) runPasses(R10, 1);
    EXPECT_EQ(real("HP_DRIVER.ACT_LSS.LSS_BUS"), 0.0f);
    EXPECT_GT(real("SPD_CTRL.SPD_PID_SW.A_SW"), 0.0f);
    expectSelected(4);
    ASSERT_TRUE(runUntil([&] { return boolean("SHUTDOWNS.ANY_SD.B_NAME") != 0; }, 10));
    runPasses(R160, 3);
    expectTripped(1);
    expectRunning(0);
    // The demand is 0, at the select's low limit: the speed PID, whose speed
    // stands far above the reference now, asks for 0 as well and, the
    // earlier input of the tie, keeps the select.
    EXPECT_EQ(real("SPD_CTRL.SPD_PID_SW.A_SW"), 0.0f);
    expectSelected(1);
    EXPECT_EQ(real("HP_DRIVER.ACT_LSS.LSS_BUS"), 0.0f);
    EXPECT_EQ(real("IFACE_OUT_VLV.LSS_OUT.A_NAME"), 0.0f);
    EXPECT_EQ(boolean("HP_DRIVER.ACT_LSS.LO_LIM_I"), 1u);
}

struct GainCase {
    const char* name;
    bool contactUsed, contact;
    double goOnline;
    uint32_t online;
};
class GainSets : public RunningUnit, public ::testing::WithParamInterface<GainCase> {};

// On line (the speed at or above the go-on-line speed, or the on-line
// dynamics contact when one carries it) the online set and the larger
// movement limit are in use. The shaft stands at rated.
TEST_P(GainSets, OnlineOrOfflineSet) {
    const GainCase& c = GetParam();
    start(false, false,
          {{"SPD_DYN.P_ONLINE.TUNE", 7.0},
           {"SPD_DYN.I_ONLINE.TUNE", 0.7},
           {"SPD_DYN.D_ONLINE.TUNE", 0.07},
           {"SPD_DYN.P_OFFLINE.TUNE", 3.0},
           {"SPD_DYN.I_OFFLINE.TUNE", 0.3},
           {"SPD_DYN.D_OFFLINE.TUNE", 0.03},
           {"IFACE_IN_SPEED.GO_ONLINE.IN", c.goOnline},
           // The spare contact carries the on-line dynamics when used.
           {"_ub19.FUNCT.IN", c.contactUsed ? 9 : 28}});
    contact(kSpareContact, c.contact);
    holdShaftAt(kRated);
    runPasses(R160, 13);
    EXPECT_EQ(boolean("BI_MUX.ONLINE_DYN_USED.B_NAME"), c.contactUsed ? 1u : 0u);
    EXPECT_EQ(boolean("SPD_CTRL.ONLINE_DYN.B_NAME"), c.online);
    EXPECT_FLOAT_EQ(real("SPD_CTRL.P_GAIN.A_SW"), c.online ? 7.0f : 3.0f);
    EXPECT_FLOAT_EQ(real("SPD_CTRL.I_GAIN.A_SW"), c.online ? 0.7f : 0.3f);
    EXPECT_FLOAT_EQ(real("SPD_CTRL.D_GAIN.A_SW"), c.online ? 0.07f : 0.03f);
    EXPECT_FLOAT_EQ(real("SPD_CTRL.ACT_LIM.A_SW"), c.online ? 10.0f : 5.0f);
}

INSTANTIATE_TEST_SUITE_P(Cases, GainSets,
                         ::testing::Values(GainCase{"BelowGoOnline", false, false, 3700.0, 0},
                                           GainCase{"AtGoOnline", false, false, kRated, 1},
                                           GainCase{"ContactUsedOpen", true, false, 3000.0, 0},
                                           GainCase{"ContactUsedClosed", true, true, 3700.0, 1}),
                         [](const ::testing::TestParamInfo<GainCase>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace sc_test
