// The self-powered actuator's start-up ramp of the 20 ms group on the whole
// program: the shutdown delay, the ready-to-start position, the ramp's
// rates and ends, and the stroke condition of the 160 ms group. The
// shutdowns come from the external trip contact and the reset contact on
// the board, the speed from the turbine model held at a speed, the
// settings from the service tool while the controller powers up.
#include <cmath>
#include <limits>
#include <string>

#include "app/control/IFACE_IN_VLV.cells.h"
#include "app/interface/interface_slices.h"
#include "tests/remote_io/remote_rig.h"
#include "tests/support/ref_rig.h"

namespace rio_test {
namespace {

class DriveRamp : public ref_test::RefRig {
protected:
    static constexpr int kR20 = ref_test::R20, kR160 = ref_test::R160;

    void SetUp() override {
        RefRig::SetUp();
        // A manual start (the ramp's share is taken of the minimum governor
        // speed, 3000 rpm): ready to start at or below 600 rpm.
        start(false, false,
              {{"IFACE_IN_VLV.SELFPWR_TDLY.IN", 5},           // s
               {"IFACE_IN_START.SELFPWRACT.IN", 20.0},        // % of minimum governor
               {"DRVR_SCALE.SELF_PWR_R.R_SP_1", 50.0},        // 1 % a pass
               {"DRVR_SCALE.SELF_PWR_R.R_SP_2", 250.0}});     // 5 % a pass
        if (HasFatalFailure()) return;
        ASSERT_EQ(boolean("CNFG_START.IDLE_RATED_SEQ.B_NAME"), 0u);
        ASSERT_EQ(real("IFACE_IN_SPEED.MIN_GOV.A_NAME"), 3000.0f);
        // The shaft at 3000 rpm; a short shutdown closes the ramp (it opens
        // again only after the delay, or ready to start).
        speed(3000.0);
        runPasses(kR160, 4);
        shutdown(true);
        for (int p = 0; p < 100 && ramp() != 0.0f; ++p) runPasses(kR20, 1);
        shutdown(false);
        runPasses(kR160, 2);
        ASSERT_EQ(ramp(), 0.0f);
    }
    // The shaft held at `rpm`, run until the measured speed has settled
    // (the same in five passes running).
    void speed(double rpm) {
        holdShaftAt(rpm);
        float last = -1.0f;
        int same = 0;
        for (int p = 0; p < 1000 && same < 5; ++p) {
            runPasses(kR20, 1);
            const float now = real("MPU.TURB_SPD.A_NAME");
            same = now == last ? same + 1 : 0;
            last = now;
        }
        ASSERT_EQ(same, 5) << "the measured speed never settled at " << rpm;
    }
    // A shutdown from the trip contact, run until the 20 ms group has seen
    // it in two passes; or the trip contact closed and the trips reset.
    void shutdown(bool sd) {
        if (sd) {
            trip();
            for (int p = 0; p < 100 && r20::IFACE_IN_VLV.ANY_SD_B_NAME == 0; ++p) runPasses(kR20, 1);
            ASSERT_EQ(r20::IFACE_IN_VLV.ANY_SD_B_NAME, 1u);
            runPasses(kR20, 1);
        } else {
            clearTrip();
            for (int p = 0; p < 100 && r20::IFACE_IN_VLV.ANY_SD_B_NAME != 0; ++p) runPasses(kR20, 1);
            ASSERT_EQ(r20::IFACE_IN_VLV.ANY_SD_B_NAME, 0u);
            runPasses(kR20, 1);
        }
    }
    float ramp() { return real("DRVR_SCALE.SELF_PWR_R.RAMP"); }
    // 20 ms passes until the condition holds, at most `limit`.
    template <class F>
    int passesUntil(F done, int limit) {
        for (int n = 0; n < limit; ++n) {
            if (done()) return n;
            runPasses(kR20, 1);
        }
        return done() ? limit : -1;
    }
    // Calibration mode entered or left by the service tool's commands.
    void calibration(bool on) {
        const char* command = on ? "MASTER.COMMANDS.IN_4" : "MASTER.COMMANDS.IN_5";
        serviceWrite(command, 1);
        runPasses(kR160, 3);
        serviceWrite(command, 0);
        ASSERT_TRUE(runUntil([&] { return boolean("CALMODE.CALMODE.B_NAME") == (on ? 1u : 0u); }, 20));
        runPasses(kR160, 2);
    }
};

TEST_F(DriveRamp, AShutdownOpensTheActuatorAfterTheDelayAtRateOneUpToFullStroke) {
    EXPECT_EQ(real("DRVR_SCALE.I_TO_AN.OUT_1"), 5.0f);
    EXPECT_EQ(real("DRVR_SCALE.IN_PCT.MULTIPLY"), 600.0f);
    ASSERT_EQ(ramp(), 0.0f);
    shutdown(true);  // the shutdown reaches the 20 ms group
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
    runPasses(kR20, 1);
    EXPECT_EQ(integer("DRVR_SCALE.SELF_PWR_R.POS_SEL"), 1);
    EXPECT_NEAR(ramp() - last, 1.0f, 1e-4f);
    EXPECT_EQ(boolean("DRVR_SCALE.SELF_PWR_R.MOVING_UP"), 1u);
    EXPECT_EQ(boolean("DRVR_SCALE.SELF_PWR_R.P_LIM_2"), 0u);
    const int up = passesUntil([this] { return boolean("DRVR_SCALE.SELF_PWR_R.P_LIM_1") == 1u; }, 200);
    EXPECT_NEAR(up, 98, 2);
    EXPECT_EQ(ramp(), 100.0f);
    EXPECT_EQ(boolean("DRVR_SCALE.SELF_PWR_R.MOVING_UP"), 0u);
    runPasses(kR20, 5);
    EXPECT_EQ(ramp(), 100.0f);
    EXPECT_EQ(real("DRVR_SCALE.SELF_PWR_R.REV_RAMP"), 0.0f);
    // The shutdown ends: the delay drops at once and the ramp holds.
    shutdown(false);
    EXPECT_EQ(boolean("DRVR_SCALE.DELAY.DELAY"), 0u);
    EXPECT_EQ(integer("DRVR_SCALE.SELF_PWR_R.POS_SEL"), 0);
    EXPECT_EQ(ramp(), 100.0f);
}

TEST_F(DriveRamp, ANewShutdownClosesAtRateTwoAndTheDelayStartsAgain) {
    shutdown(true);
    passesUntil([this] { return boolean("DRVR_SCALE.SELF_PWR_R.P_LIM_1") == 1u; }, 500);
    ASSERT_EQ(ramp(), 100.0f);
    shutdown(false);
    shutdown(true);
    EXPECT_EQ(boolean("DRVR_SCALE.DELAY.DELAY"), 0u);
    EXPECT_EQ(integer("DRVR_SCALE.SELF_PWR_R.POS_SEL"), 2);
    EXPECT_EQ(boolean("DRVR_SCALE.SELF_PWR_R.MOVING_DN"), 1u);
    float last = ramp();
    runPasses(kR20, 1);
    EXPECT_NEAR(last - ramp(), 5.0f, 1e-4f);
    const int down = passesUntil([this] { return boolean("DRVR_SCALE.SELF_PWR_R.P_LIM_2") == 1u; }, 50);
    EXPECT_NEAR(down, 17, 2);
    EXPECT_EQ(ramp(), 0.0f);
    EXPECT_EQ(boolean("DRVR_SCALE.SELF_PWR_R.MOVING_DN"), 0u);
}

// The share is 20 % of the minimum governor speed (600 rpm); at 10/3 % it
// is 100 rpm, exactly the speed measured at 100 rpm (the speed reads the
// shaft at such a low speed, and 100 rpm is a whole count of the time
// base), which puts the speed right at the share.
TEST_F(DriveRamp, WithoutAShutdownTheRampOpensOnceTheSpeedIsDownToItsShare) {
    struct Row {
        double rpm, pct;
        bool sd;
        float speed, share;  // as measured, and the share
        uint32_t compare, equal, ready;
        int pos;
    };
    const Row rows[] = {
        {601.0, 20.0, false, 601.0f, 600.0f, 0, 0, 0, 0},  // above the share: nothing selected
        {100.0, 10.0 / 3, false, 100.0f, 100.0f, 1, 1, 1, 1},  // at it: ready to start
        {100.0, 20.0, false, 100.0f, 600.0f, 1, 0, 1, 1},  // below it
        {100.0, 20.0, true, 100.0f, 600.0f, 1, 0, 0, 2},   // a shutdown is not ready, and closes
    };
    for (const Row& r : rows) {
        const std::string what = std::to_string(r.rpm) + " rpm, share " + std::to_string(r.pct) + " %, sd " +
                                 std::to_string(r.sd);
        serviceWrite("IFACE_IN_START.SELFPWRACT.IN", r.pct);
        speed(r.rpm);
        runPasses(kR160, 2);
        if (r.sd) shutdown(true);
        else runPasses(kR20, 2);
        ASSERT_NEAR(real("MPU.TURB_SPD.A_NAME"), r.speed, 0.01f) << what;
        ASSERT_EQ(real("DRVR_SCALE.IN_PCT.MULTIPLY"), r.share) << what;
        if (r.equal != 0) {
            ASSERT_EQ(real("MPU.TURB_SPD.A_NAME"), r.share) << what;
        }
        EXPECT_EQ(boolean("DRVR_SCALE.MPU_COMP.A_COMPARE"), r.compare) << what;
        EXPECT_EQ(boolean("DRVR_SCALE.MPU_COMP.A_EQUAL"), r.equal) << what;
        EXPECT_EQ(boolean("DRVR_SCALE.RDYSTRT_POS.AND"), r.ready) << what;
        EXPECT_EQ(boolean("DRVR_SCALE.MPU_TIME.OR"), r.ready) << what;
        EXPECT_EQ(integer("DRVR_SCALE.SELF_PWR_R.POS_SEL"), r.pos) << what;
    }
}

TEST_F(DriveRamp, TheStrokeConditionNeedsTheLatchTheSelfPoweredActuatorAndItsSwitch) {
    // The stroke latch: set by a stroke request while shut down in
    // calibration mode (at standstill), cleared when calibration mode is left.
    shutdown(true);
    speed(0.0);
    struct Row {
        int latch, selfPowered, sw;
    };
    const Row rows[] = {{1, 1, 1}, {0, 1, 1}, {1, 0, 1}, {1, 1, 0}};
    bool inCalibration = false;
    for (const Row& r : rows) {
        serviceWrite("IFACE_IN_VLV.HP_STRK_ENBL.IN", 0);
        runPasses(kR160, 1);
        if (r.latch != 0) {
            if (!inCalibration) calibration(true);
            serviceWrite("IFACE_IN_VLV.HP_STRK_ENBL.IN", 1);
        } else if (inCalibration) {
            calibration(false);
        }
        inCalibration = r.latch != 0;
        serviceWrite("IFACE_IN_VLV.SELF_PWACT.IN", r.selfPowered);
        serviceWrite("DRVR_SCALE.SELFP_STROK.IN_3", r.sw);
        runPasses(kR160, 2);
        ASSERT_EQ(boolean("HP_DRIVER.STRK_LTCH.LATCH_R"), static_cast<uint32_t>(r.latch));
        EXPECT_EQ(boolean("DRVR_SCALE.SELFP_STROK.AND"), r.latch && r.selfPowered && r.sw ? 1u : 0u)
            << r.latch << r.selfPowered << r.sw;
    }
}

// ---- a state no input of the program reaches --------------------------------------------

// An unmeasurable (not-a-number) turbine speed: no input of the program
// gives one (the probes' readings and the simulated speed are numbers, and
// the speed select holds its result between 0 and the maximum speed), so
// the 20 ms slice alone, the speed and the shutdown written as the 10 ms
// group hands them over.
class DriveRampSlices : public RemoteRig {
protected:
    void SetUp() override {
        RemoteRig::SetUp();
        useSlices(R160, {_R160_TASK_35});
        startApp();
        runPasses(R160, 1);  // the tunables at their defaults first
        setCell("IFACE_IN_START.SELFPWRACT.IN", 20.0);
        setCell("CNFG_START.IDLE_RATED_SEQ.B_NAME", 0);
        setCell("IFACE_IN_SPEED.MIN_GOV.A_NAME", 3000.0);  // ready to start at or below 600 rpm
        setCell("IFACE_IN_VLV.ANY_SD.B_NAME", 0);
        setCell("SHUTDOWNS.NOT_SD.NOT", 1);
        runPasses(R160, 2);
    }
    void speed(double rpm) { setCell("MPU.TURB_SPD.A_NAME", rpm); }
};

TEST_F(DriveRampSlices, AnUnmeasurableSpeedLeavesTheComparisonAsItWas) {
    speed(100.0);
    runPasses(R20, 2);
    ASSERT_EQ(boolean("DRVR_SCALE.MPU_COMP.A_COMPARE"), 1u);
    speed(std::numeric_limits<double>::quiet_NaN());
    runPasses(R20, 2);
    EXPECT_EQ(boolean("DRVR_SCALE.MPU_COMP.A_COMPARE"), 1u);
}

}  // namespace
}  // namespace rio_test
