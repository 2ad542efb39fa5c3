// The self-powered actuator's start-up ramp of the 20 ms group through real
// passes: the shutdown delay, the ready-to-start position, the ramp's rates
// and ends, and the stroke condition of the 160 ms group.
#include <cmath>
#include <limits>
#include <string>

#include "tests/remote_io/remote_rig.h"

namespace rio_test {
namespace {

class DriveRamp : public RemoteRig {
protected:
    void SetUp() override {
        RemoteRig::SetUp();
        useSlices(R160, {_R160_TASK_35});
        startApp();
        runPasses(R160, 1);  // the tunables at their defaults first
        setCell("IFACE_IN_VLV.SELFPWR_TDLY.IN", 5);       // s
        setCell("IFACE_IN_START.SELFPWRACT.IN", 20.0);    // % of minimum governor
        setCell("CNFG_START.IDLE_RATED_SEQ.B_NAME", 0);
        setCell("IFACE_IN_SPEED.MIN_GOV.A_NAME", 3000.0);  // ready to start at or below 600 rpm
        setCell("DRVR_SCALE.SELF_PWR_R.R_SP_1", 50.0);    // 1 % a pass
        setCell("DRVR_SCALE.SELF_PWR_R.R_SP_2", 250.0);   // 5 % a pass
        speed(3000.0);
        shutdown(false);
        runPasses(R160, 2);
    }
    void speed(double rpm) { setCell("MPU.TURB_SPD.A_NAME", rpm); }
    void shutdown(bool sd) {
        setCell("IFACE_IN_VLV.ANY_SD.B_NAME", sd ? 1 : 0);
        setCell("SHUTDOWNS.NOT_SD.NOT", sd ? 0 : 1);
    }
    float ramp() { return real("DRVR_SCALE.SELF_PWR_R.RAMP"); }
    // 20 ms passes until the condition holds, at most `limit`.
    template <class F>
    int passesUntil(F done, int limit) {
        for (int n = 0; n < limit; ++n) {
            if (done()) return n;
            runPasses(R20, 1);
        }
        return done() ? limit : -1;
    }
};

TEST_F(DriveRamp, AShutdownOpensTheActuatorAfterTheDelayAtRateOneUpToFullStroke) {
    EXPECT_EQ(real("DRVR_SCALE.I_TO_AN.OUT_1"), 5.0f);
    EXPECT_EQ(real("DRVR_SCALE.IN_PCT.MULTIPLY"), 600.0f);
    ASSERT_EQ(ramp(), 0.0f);
    shutdown(true);
    runPasses(R20, 2);  // the shutdown reaches the 20 ms group
    EXPECT_EQ(integer("DRVR_SCALE.SELF_PWR_R.POS_SEL"), 2);
    EXPECT_EQ(boolean("DRVR_SCALE.SELF_PWR_R.P_LIM_2"), 1u);
    EXPECT_EQ(boolean("DRVR_SCALE.DELAY.DELAY"), 0u);
    EXPECT_EQ(integer("DRVR_SCALE.DELAY.R_TIME"), 4);
    // 5 s of 0.02 s passes: 250 passes from the shutdown.
    const int n = passesUntil([this] { return boolean("DRVR_SCALE.DELAY.DELAY") == 1u; }, 300);
    EXPECT_NEAR(n, 248, 2);
    EXPECT_EQ(integer("DRVR_SCALE.DELAY.R_TIME"), 0);
    EXPECT_EQ(boolean("DRVR_SCALE.MPU_TIME.OR"), 1u);
    EXPECT_EQ(boolean("DRVR_SCALE.RDYSTRT_POS.AND"), 0u);
    // Up 1 % a pass, with the moving flag, to 100 and no further.
    float last = ramp();
    runPasses(R20, 1);
    EXPECT_EQ(integer("DRVR_SCALE.SELF_PWR_R.POS_SEL"), 1);
    EXPECT_NEAR(ramp() - last, 1.0f, 1e-4f);
    EXPECT_EQ(boolean("DRVR_SCALE.SELF_PWR_R.MOVING_UP"), 1u);
    EXPECT_EQ(boolean("DRVR_SCALE.SELF_PWR_R.P_LIM_2"), 0u);
    const int up = passesUntil([this] { return boolean("DRVR_SCALE.SELF_PWR_R.P_LIM_1") == 1u; }, 200);
    EXPECT_NEAR(up, 98, 2);
    EXPECT_EQ(ramp(), 100.0f);
    EXPECT_EQ(boolean("DRVR_SCALE.SELF_PWR_R.MOVING_UP"), 0u);
    runPasses(R20, 5);
    EXPECT_EQ(ramp(), 100.0f);
    EXPECT_EQ(real("DRVR_SCALE.SELF_PWR_R.REV_RAMP"), 0.0f);
    // The shutdown ends: the delay drops at once and the ramp holds.
    shutdown(false);
    runPasses(R20, 2);
    EXPECT_EQ(boolean("DRVR_SCALE.DELAY.DELAY"), 0u);
    EXPECT_EQ(integer("DRVR_SCALE.SELF_PWR_R.POS_SEL"), 0);
    EXPECT_EQ(ramp(), 100.0f);
}

TEST_F(DriveRamp, ANewShutdownClosesAtRateTwoAndTheDelayStartsAgain) {
    shutdown(true);
    passesUntil([this] { return boolean("DRVR_SCALE.SELF_PWR_R.P_LIM_1") == 1u; }, 500);
    ASSERT_EQ(ramp(), 100.0f);
    shutdown(false);
    runPasses(R20, 2);
    shutdown(true);
    runPasses(R20, 2);
    EXPECT_EQ(boolean("DRVR_SCALE.DELAY.DELAY"), 0u);
    EXPECT_EQ(integer("DRVR_SCALE.SELF_PWR_R.POS_SEL"), 2);
    EXPECT_EQ(boolean("DRVR_SCALE.SELF_PWR_R.MOVING_DN"), 1u);
    float last = ramp();
    runPasses(R20, 1);
    EXPECT_NEAR(last - ramp(), 5.0f, 1e-4f);
    const int down = passesUntil([this] { return boolean("DRVR_SCALE.SELF_PWR_R.P_LIM_2") == 1u; }, 50);
    EXPECT_NEAR(down, 17, 2);
    EXPECT_EQ(ramp(), 0.0f);
    EXPECT_EQ(boolean("DRVR_SCALE.SELF_PWR_R.MOVING_DN"), 0u);
}

TEST_F(DriveRamp, WithoutAShutdownTheRampOpensOnceTheSpeedIsDownToItsShare) {
    struct Row {
        double speed;
        bool sd;
        uint32_t compare, ready;
        int pos;
    };
    const Row rows[] = {
        {601.0, false, 0, 0, 0},  // above the share: nothing selected
        {600.0, false, 1, 1, 1},  // at it: ready to start
        {100.0, false, 1, 1, 1},
        {100.0, true, 1, 0, 2},   // a shutdown is not ready, and closes
    };
    for (const Row& r : rows) {
        const std::string what = "speed " + std::to_string(r.speed) + " sd " + std::to_string(r.sd);
        speed(r.speed);
        shutdown(r.sd);
        runPasses(R20, 2);
        EXPECT_EQ(boolean("DRVR_SCALE.MPU_COMP.A_COMPARE"), r.compare) << what;
        EXPECT_EQ(boolean("DRVR_SCALE.MPU_COMP.A_EQUAL"), r.speed == 600.0 ? 1u : 0u) << what;
        EXPECT_EQ(boolean("DRVR_SCALE.RDYSTRT_POS.AND"), r.ready) << what;
        EXPECT_EQ(boolean("DRVR_SCALE.MPU_TIME.OR"), r.ready) << what;
        EXPECT_EQ(integer("DRVR_SCALE.SELF_PWR_R.POS_SEL"), r.pos) << what;
    }
    // An unmeasurable speed leaves the comparison as it was.
    speed(100.0);
    shutdown(false);
    runPasses(R20, 2);
    speed(std::numeric_limits<double>::quiet_NaN());
    runPasses(R20, 2);
    EXPECT_EQ(boolean("DRVR_SCALE.MPU_COMP.A_COMPARE"), 1u);
}

TEST_F(DriveRamp, TheStrokeConditionNeedsTheLatchTheSelfPoweredActuatorAndItsSwitch) {
    struct Row {
        int latch, selfPowered, sw;
    };
    const Row rows[] = {{1, 1, 1}, {0, 1, 1}, {1, 0, 1}, {1, 1, 0}};
    for (const Row& r : rows) {
        // The stroke latch: set by a stroke request while shut down in
        // calibration mode, cleared outside calibration mode.
        setCell("IFACE_IN_VLV.HP_STRK_ENBL.IN", 0);
        runPasses(R160, 1);
        shutdown(true);
        setCell("CALMODE.NOTCALMODE.B_NAME", r.latch ^ 1);
        setCell("IFACE_IN_VLV.HP_STRK_ENBL.IN", r.latch);
        setCell("IFACE_IN_VLV.SELF_PWACT.IN", r.selfPowered);
        setCell("DRVR_SCALE.SELFP_STROK.IN_3", r.sw);
        runPasses(R160, 2);
        ASSERT_EQ(boolean("HP_DRIVER.STRK_LTCH.LATCH_R"), static_cast<uint32_t>(r.latch));
        EXPECT_EQ(boolean("DRVR_SCALE.SELFP_STROK.AND"), r.latch && r.selfPowered && r.sw ? 1u : 0u)
            << r.latch << r.selfPowered << r.sw;
    }
}

}  // namespace
}  // namespace rio_test
