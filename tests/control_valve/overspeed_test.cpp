// The overspeed test: its permission, the contact and command demands, the
// trip at the level in use (the reduced level included), the test limit and
// the time-out of a test whose reference does not move. On the whole
// program: the levels entered from the service tool while the controller
// powers up (trip 3960, limit 4000, maximum governor 3800), the test contact
// on the spare contact BI08, commands and entries as the service tool writes
// them, starts to rated with the turbine model, the shaft held at a speed.
#include <algorithm>
#include <cmath>

#include "host/board.h"
#include "host/hostkernel.h"
#include "tests/support/ref_rig.h"

using namespace ref_test;

namespace {

constexpr double kTrip = 3960.0, kLimit = 4000.0;
constexpr int kTestContact = kSpareContact + 1;  // BI08

class Overspeed : public RefRig {
protected:
    void TearDown() override {
        hk::runTask([] { board::releaseAllKeys(); });
        RefRig::TearDown();
    }
    static Settings withContact(Settings extra) {
        extra.insert(extra.begin(), {"_ub20.FUNCT.IN", 10});  // BI08: the overspeed test contact
        return extra;
    }
    // Ready at standstill.
    void ready(const Settings& extra = {}) { start(true, true, withContact(extra)); }
    // In control, the reference raised to maximum governor: the full test
    // is permitted only there.
    void inControl(const Settings& extra = {}) {
        ready(extra);
        startToRated();
        toMaxGov();
    }
    void toMaxGov() {
        serviceWrite("SPD_R_L.NONDI_RAZ.IN_2", 1);
        ASSERT_TRUE(runUntil([&] { return boolean("OSPD.REF_CHK.AND") == 0; }, 500)) << "never at maximum governor";
        serviceWrite("SPD_R_L.NONDI_RAZ.IN_2", 0);
        runPasses(R160, 2);
        ASSERT_EQ(boolean("OSPD.REF_CHK.AND"), 0u);
    }
    uint32_t tripping() { return boolean("OSPD.OSPD_SD.AND"); }
    bool testStep() { return step("A09_STEP"); }
    // In the test step, and its flag through to the 10 ms group.
    void untilTest() {
        ASSERT_TRUE(runUntil([&] { return testStep(); }, 10)) << "no test";
        runPasses(R160, 1);
    }
    void testContact(bool closed) { contact(kTestContact, closed); }
    // A service command for 0.32 s, then 0.5 s more.
    void command(const char* c) {
        serviceWrite(c, 1);
        runPasses(R160, 2);
        serviceWrite(c, 0);
        runPasses(R160, 3);
    }
    // The shaft held at `rpm` until the controller measures it.
    void speed(double rpm) {
        holdShaftAt(rpm);
        ASSERT_TRUE(runUntil([&] { return std::fabs(real("MPU.TURB_SPD.A_NAME") - rpm) < 0.1; }, 30)) << rpm;
        runPasses(R160, 4);  // settled
    }
};

TEST_F(Overspeed, TheOwnTripComesAtTheConfiguredLevel) {
    ready();
    EXPECT_EQ(real("OSPD.OSPD_SP.A_SW"), static_cast<float>(kTrip));
    const struct {
        double rpm;
        uint32_t trip;
    } cases[] = {{kTrip - 0.5, 0}, {kTrip, 1}, {kTrip + 10.0, 1}, {3000.0, 0}};
    for (const auto& c : cases) {
        speed(c.rpm);
        EXPECT_EQ(tripping(), c.trip) << c.rpm << " measured " << real("MPU.TURB_SPD.A_NAME");
        EXPECT_EQ(boolean("OSPD.OSPD_TRIP.B_NAME"), c.trip) << c.rpm;
        if (c.rpm == kTrip) {
            EXPECT_EQ(boolean("SHUTDOWNS.SD_03.B_ALARM"), 1u);
        }
    }
}

// Closing the contact in control (at maximum governor) demands an external
// test (the reference sequence enters its test step) that suppresses the own
// trip; opening it ends the test and the own trip is back.
TEST_F(Overspeed, AContactClosedWhilePermittedRunsAnExternalTestThatSuppressesTheOwnTrip) {
    inControl();
    EXPECT_EQ(boolean("IFACE_OUT_SPEED.OSPD_TEST_EN.B_NAME"), 0u);
    EXPECT_EQ(boolean("IFACE_OUT_SPEED.OSPD_TRIP_EN.B_NAME"), 1u) << "the own trip is armed";
    testContact(true);
    untilTest();
    EXPECT_EQ(boolean("IFACE_OUT_SPEED.OSPD_TEST_EN.B_NAME"), 1u);
    EXPECT_EQ(boolean("OSPD.AND_OK.AND"), 1u);
    EXPECT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 1u);
    EXPECT_EQ(boolean("OSPD.DISABLED.NOT"), 0u);
    EXPECT_EQ(boolean("IFACE_OUT_SPEED.OSPD_TRIP_EN.B_NAME"), 0u);
    // Above the trip level: no own trip, the external-test alarm instead.
    speed(kTrip + 20.0);
    EXPECT_EQ(tripping(), 0u);
    EXPECT_EQ(boolean("OSPD.OSPD_ALM.B_NAME"), 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u);
    // Opening the contact ends the test: the own trip is back.
    testContact(false);
    ASSERT_TRUE(runUntil([&] { return boolean("OSPD.OSPD_DMD_EXT.B_ACTION") == 0; }, 10));
    EXPECT_EQ(boolean("IFACE_OUT_SPEED.OSPD_TRIP_EN.B_NAME"), 1u);
    EXPECT_TRUE(runUntil([&] { return tripping() != 0; }, 3));
    EXPECT_EQ(boolean("SHUTDOWNS.SD_03.B_ALARM"), 1u);
}

// A contact still closed when the test could be given again demands
// nothing; reopened and closed it does. The permission ending (a controlled
// stop) ends the demand.
TEST_F(Overspeed, AContactStillClosedWhenTheTestIsPermittedAgainDemandsNothing) {
    inControl();
    testContact(true);
    ASSERT_TRUE(runUntil([&] { return boolean("OSPD.OSPD_DMD_EXT.B_ACTION") != 0; }, 10));
    // The operator's disable ends the test; the contact stays closed.
    command("IFACE_IN_SPEED.DISABLE_OST.IN");
    EXPECT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 0u);
    ASSERT_TRUE(runUntil([&] { return !testStep() && boolean("IFACE_OUT_SPEED.OSPD_TEST_EN.B_NAME") == 0; }, 20));
    for (int k = 0; k < 30; ++k) {
        runPasses(R80, 1);
        ASSERT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 0u) << k;
        ASSERT_EQ(boolean("OSPD.AND_OK.AND"), 0u) << k;
        ASSERT_FALSE(testStep()) << k;
    }
    // Reopened and closed: now it demands.
    testContact(false);
    runPasses(R160, 3);
    testContact(true);
    ASSERT_TRUE(runUntil([&] { return boolean("OSPD.OSPD_DMD_EXT.B_ACTION") != 0; }, 10));
    ASSERT_TRUE(runUntil([&] { return testStep(); }, 10));
    // The permission ending ends the demand.
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 1);
    ASSERT_TRUE(runUntil([&] { return step("Z01_STEP"); }, 10));
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 0);
    runPasses(R160, 3);
    EXPECT_EQ(boolean("OSPD.LATCH_DMD.LATCH_R"), 0u);
    EXPECT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 0u);
}

// An internal test runs only with the speed controller in charge (in control
// above minimum governor, cascade not enabled): the command latches the
// demand with one pulse for the reference, the own trip stays armed and
// trips at the level; the operator's disable ends it.
TEST_F(Overspeed, AnInternalTestRunsOnlyWithTheSpeedControllerInChargeAndTripsAtTheLevel) {
    startWithRemoteAndCascade(withContact({}));
    EXPECT_EQ(boolean("OSPD.SPDCNTRL_OK.NAND"), 1u) << "not started";
    command("IFACE_IN_SPEED.ENABLE_INT_OST.IN");
    EXPECT_EQ(boolean("OSPD.OSPD_DMD_INT.B_ACTION"), 0u);
    startToInControl();
    runPasses(R160, 10);
    serviceWrite("IFACE_IN_CASC.ENA_DIS.IN_1", 1);
    ASSERT_TRUE(runUntil([&] { return boolean("IFACE_OUT_SPEED.CASCADE_ENABLED.B_NAME") != 0; }, 20)) << "cascade";
    serviceWrite("IFACE_IN_CASC.ENA_DIS.IN_1", 0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("OSPD.SPDCNTRL_OK.NAND"), 1u) << "cascade enabled";
    serviceWrite("IFACE_IN_CASC.ENA_DIS.IN_2", 1);
    ASSERT_TRUE(runUntil([&] { return boolean("IFACE_OUT_SPEED.CASCADE_ENABLED.B_NAME") == 0; }, 20));
    serviceWrite("IFACE_IN_CASC.ENA_DIS.IN_2", 0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("OSPD.SPDCNTRL_OK.NAND"), 0u);
    toMaxGov();
    // Permitted: one pulse for the reference.
    auto demand = [&] {
        int pulses = 0;
        serviceWrite("IFACE_IN_SPEED.ENABLE_INT_OST.IN", 1);
        for (int k = 0; k < 8; ++k) {
            runPasses(R80, 1);
            pulses += boolean("OSPD.OSPD_PLS.B_ACTION") ? 1 : 0;
        }
        serviceWrite("IFACE_IN_SPEED.ENABLE_INT_OST.IN", 0);
        EXPECT_EQ(pulses, 1);
        EXPECT_EQ(boolean("OSPD.OSPD_DMD_INT.B_ACTION"), 1u);
        EXPECT_EQ(boolean("OSPD.NAND_TEST.NAND"), 1u) << "the own trip stays armed";
    };
    demand();
    // The operator's disable ends it.
    command("IFACE_IN_SPEED.DISABLE_OST.IN");
    EXPECT_EQ(boolean("OSPD.OSPD_DMD_INT.B_ACTION"), 0u);
    ASSERT_TRUE(runUntil([&] { return !testStep() && !step("A10_STEP"); }, 200));
    runPasses(R160, 10);
    toMaxGov();
    demand();
    speed(kTrip - 1.0);
    EXPECT_EQ(tripping(), 0u);
    speed(kTrip);
    EXPECT_EQ(tripping(), 1u);
}

// A test whose reference does not move ends after the no-movement delay
// (here 5 s), counted from the demand; raising the reference restarts it.
TEST_F(Overspeed, ATestWhoseReferenceDoesNotMoveEndsAfterTheDelay) {
    inControl({{"OSPD.DLY_NOMOV.DLY_TIME", 5.0}});
    command("IFACE_IN_SPEED.ENABLE_EXT_OST.IN");
    ASSERT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 1u);
    // The wait starts with the demand.
    runPasses(R160, static_cast<uint32_t>(3.0 / 0.16 + 0.5));
    EXPECT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 1u);
    EXPECT_EQ(boolean("OSPD.DLY_NOMOV.DELAY"), 0u);
    EXPECT_LE(integer("OSPD.DLY_NOMOV.R_TIME"), 2);
    runPasses(R160, static_cast<uint32_t>(2.5 / 0.16 + 0.5));
    EXPECT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 0u);
    EXPECT_EQ(boolean("OSPD.DISABLED.NOT"), 1u);
    // A demand given long after the reference stopped (the wait has run
    // out) waits its own delay and then ends as well, with the own trip
    // back in force.
    runPasses(R160, static_cast<uint32_t>(10.0 / 0.16));
    ASSERT_EQ(boolean("OSPD.DLY_NOMOV.DELAY"), 1u);
    command("IFACE_IN_SPEED.ENABLE_EXT_OST.IN");
    ASSERT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 1u);
    ASSERT_TRUE(runUntil([&] { return boolean("IFACE_OUT_SPEED.OSPD_TEST_EN.B_NAME") != 0; }, 5));
    EXPECT_EQ(boolean("IFACE_OUT_SPEED.OSPD_TRIP_EN.B_NAME"), 0u);
    runPasses(R160, static_cast<uint32_t>(6.0 / 0.16 + 0.5));
    EXPECT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 0u);
    EXPECT_EQ(boolean("IFACE_OUT_SPEED.OSPD_TRIP_EN.B_NAME"), 1u);
    runPasses(R160, static_cast<uint32_t>(1.0 / 0.16 + 0.5));  // the end pulse is over
    ASSERT_TRUE(runUntil([&] { return step("A08_STEP"); }, 200));
    // A moving reference restarts the delay: the service tool's raise.
    command("IFACE_IN_SPEED.ENABLE_EXT_OST.IN");
    ASSERT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 1u);
    for (int k = 0; k < 4; ++k) {
        runPasses(R160, static_cast<uint32_t>(3.0 / 0.16 + 0.5));
        const float before = ref();
        serviceWrite("SPD_R_L.NONDI_RAZ.IN_2", 1);
        runPasses(R160, 2);
        serviceWrite("SPD_R_L.NONDI_RAZ.IN_2", 0);
        EXPECT_GT(ref(), before) << k;
    }
    EXPECT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 1u);
    // Left standing, it ends.
    runPasses(R160, static_cast<uint32_t>(5.5 / 0.16 + 0.5));
    EXPECT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 0u);
}

// The reduced test's command from the service tool: its half-second pulse
// is shown, and it demands an internal test as the internal test's own
// command does.
TEST_F(Overspeed, TheReducedTestsCommandShowsItsPulseAndDemandsAnInternalTest) {
    inControl();
    EXPECT_EQ(boolean("OSPD.OSPD_DMD_INT.B_ACTION"), 0u);
    serviceWrite("IFACE_IN_SPEED.ENABLE_RED_OST.IN", 1);
    int shown = 0;
    for (int k = 0; k < 8; ++k) {
        runPasses(R160, 1);
        shown += boolean("OSPD.ENA_REDUCED_OST.B_NAME") != 0 ? 1 : 0;
        EXPECT_EQ(boolean("OSPD.ENA_REDUCED_OST.B_NAME"), boolean("OSPD.ENA_RED_INT.ONE_SHOT")) << k;
    }
    serviceWrite("IFACE_IN_SPEED.ENABLE_RED_OST.IN", 0);
    EXPECT_EQ(shown, 4) << "0.5 s of 160 ms passes";
    EXPECT_EQ(boolean("OSPD.OSPD_DMD_INT.B_ACTION"), 1u);
    EXPECT_EQ(boolean("OSPD.OSPD_DMD_EXT.B_ACTION"), 0u);
}

// While the test runs, the service tool's go-to is not taken: a lower
// entered setpoint leaves the reference at maximum governor. Once the test
// has ended the same go-to is latched and the reference goes down to it.
TEST_F(Overspeed, NoGoToIsTakenWhileTheTestRuns) {
    inControl();
    serviceWrite("ENTR_SETPT.ENTR_SETPT.TUNE", 3000.0);
    testContact(true);
    untilTest();
    const float top = ref();
    ASSERT_GT(top, 3500.0f);
    EXPECT_EQ(boolean("ENTR_SETPT.IN_OVRSPD.B_SW"), 0u);
    pulse("IFACE_IN_SPEED.GOTO_ENTR_SP.IN", R160);
    for (int k = 0; k < 20; ++k) {
        runPasses(R160, 1);
        EXPECT_EQ(boolean("ENTR_SETPT.H_SER_DIS.OR"), 1u) << k;
        EXPECT_EQ(boolean("ENTR_SETPT.H_SER_LAT.LATCH_R"), 0u) << k;
        EXPECT_GE(ref(), top) << k;
    }
    testContact(false);
    ASSERT_TRUE(runUntil([&] { return !testStep() && !step("A10_STEP"); }, 200)) << "the test never ended";
    runPasses(R160, 10);
    const float from = ref();
    pulse("IFACE_IN_SPEED.GOTO_ENTR_SP.IN", R160);
    runPasses(R160, 3);  // latched in the pulse's third pass
    EXPECT_EQ(boolean("ENTR_SETPT.H_SER_LAT.LATCH_R"), 1u) << "the go-to after the test";
    runPasses(R160, 10);
    EXPECT_LT(ref(), from - 10.0f) << "the reference goes down to the entered setpoint";
}

// During a test the speed or the reference at the test limit trips, even
// during an external test that suppresses the own trip; without a test the
// limit does not.
TEST_F(Overspeed, TheTestLimitTripsEvenDuringAnExternalTest) {
    inControl();
    testContact(true);
    untilTest();
    ASSERT_EQ(boolean("OSPD.NAND_TEST.NAND"), 0u);
    // The reference raised through the limit, the speed held below it: each
    // 10 ms pass compares the higher of the two with the limit.
    speed(3990.0);
    EXPECT_EQ(boolean("OSPD.MAX_SP_ENA.AND"), 0u);
    serviceWrite("SPD_R_L.NONDI_RAZ.IN_2", 1);
    bool reached = false;
    float higher = 0.0f;
    for (int k = 0; k < 20000 && higher < static_cast<float>(kLimit); ++k) {
        runPasses(R10, 1);
        higher = std::max(real("IFACE_IN_SPEED.SPEED.A_NAME"), ref());
        reached = boolean("OSPD.MAX_SP_ENA.AND") != 0;
        ASSERT_FALSE(reached) << "below the limit, at " << higher;
    }
    // The reference reaches the 10 ms group at the next 40 ms pass.
    for (int k = 0; k < 4 && !reached; ++k) {
        runPasses(R10, 1);
        reached = boolean("OSPD.MAX_SP_ENA.AND") != 0;
    }
    serviceWrite("SPD_R_L.NONDI_RAZ.IN_2", 0);
    ASSERT_TRUE(reached) << "the reference never reached the limit; at " << ref();
    EXPECT_EQ(boolean("OSPD.OSPD_MAXLIM.B_NAME"), 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_03.B_ALARM"), 0u) << "the own trip suppressed";
    runPasses(R160, 1);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_18.B_ALARM"), 1u);
    EXPECT_EQ(integer("SHUTDOWNS.ANY.FIRST_ALM"), 18) << "first out";
}

TEST_F(Overspeed, TheSpeedAtTheTestLimitTripsDuringATestAndOnlyThen) {
    for (bool test : {true, false}) {
        SCOPED_TRACE(test);
        if (!test) {
            stopApp();
            testContact(false);
            shaftAt(0.0);
        }
        inControl();
        if (test) {
            testContact(true);
            untilTest();
            speed(kLimit - 10.0);
            EXPECT_EQ(boolean("OSPD.MAX_SP_ENA.AND"), 0u);
        }
        // The shaft to the limit: each 10 ms pass until it is measured there.
        holdShaftAt(kLimit);
        bool limit = false, own = false;
        for (int k = 0; k < 300 && !limit && real("MPU.TURB_SPD.A_NAME") < static_cast<float>(kLimit); ++k) {
            runPasses(R10, 1);
            limit = boolean("OSPD.MAX_SP_ENA.AND") != 0;
            own = own || boolean("SHUTDOWNS.SD_03.B_ALARM") != 0;
        }
        for (int k = 0; k < 4 && !limit; ++k) {
            runPasses(R10, 1);
            limit = boolean("OSPD.MAX_SP_ENA.AND") != 0;
        }
        EXPECT_EQ(limit, test);
        EXPECT_EQ(own, !test) << "the own trip";
        runPasses(R160, 2);
        EXPECT_EQ(boolean("SHUTDOWNS.SD_18.B_ALARM"), test ? 1u : 0u);
        EXPECT_EQ(integer("SHUTDOWNS.ANY.FIRST_ALM"), test ? 18 : 3) << "first out";
    }
}

// The reduced level (from the service tool) is temporary and never above the
// configured one (here 3700): a shutdown ends it; switching the option off
// returns to the configured level and re-samples the reduced one from it.
TEST_F(Overspeed, TheReducedLevelIsTemporaryAndNeverAboveTheConfiguredOne) {
    ready({{"CNFG_SETPT.QT_OSPD_TRIP.IN", 3700.0}});
    serviceWrite("OSPD.REDUCE_SP.TUNE", 3000.0);
    serviceWrite("CNFG_SETPT.USE_REDUC_OSPD.TUNE", 1);
    runPasses(R160, 3);
    EXPECT_EQ(boolean("OSPD.REDUCE_OSPD_USE.B_ACTION"), 1u);
    EXPECT_EQ(real("OSPD.OSPD_SP.A_SW"), 3000.0f);
    speed(2999.0);
    EXPECT_EQ(tripping(), 0u);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u) << "first out " << integer("SHUTDOWNS.ANY.FIRST_ALM");
    EXPECT_EQ(boolean("OSPD.REDUCE_OSPD_USE.B_ACTION"), 1u);
    holdShaftAt(3000.0);
    int k = 0;
    for (; k < 300 && tripping() == 0; ++k) runPasses(R10, 1);
    EXPECT_EQ(tripping(), 1u);
    EXPECT_GE(real("MPU.TURB_SPD.A_NAME"), 3000.0f) << "at the reduced level";
    EXPECT_EQ(real("OSPD.OSPD_SP.A_SW"), 3000.0f);
    // The trip ends it.
    ASSERT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    runPasses(R160, 3);
    EXPECT_EQ(boolean("OSPD.REDUCE_OSPD_USE.B_ACTION"), 0u);
    EXPECT_EQ(real("OSPD.OSPD_SP.A_SW"), 3700.0f);
    // Above the configured level the configured level holds.
    holdShaftAt(0.0);
    runPasses(R160, 20);
    clearTrip();
    serviceWrite("CNFG_SETPT.USE_REDUC_OSPD.TUNE", 1);
    serviceWrite("OSPD.REDUCE_SP.TUNE", 3790.0);
    runPasses(R160, 3);
    ASSERT_EQ(boolean("OSPD.REDUCE_OSPD_USE.B_ACTION"), 1u);
    EXPECT_EQ(real("OSPD.REDUCE_SP.SAMP_TUNE"), 3790.0f);
    EXPECT_EQ(real("OSPD.OSPD_SP.A_SW"), 3700.0f);
    // Switching the option off returns to the configured level and
    // re-samples the reduced level from it.
    serviceWrite("CNFG_SETPT.USE_REDUC_OSPD.TUNE", 0);
    runPasses(R160, 3);
    EXPECT_EQ(boolean("OSPD.REDUCE_OSPD_USE.B_ACTION"), 0u);
    EXPECT_EQ(real("OSPD.OSPD_SP.A_SW"), 3700.0f);
    EXPECT_EQ(real("OSPD.REDUCE_SP.TUNE"), 3700.0f);
}

// The reduced level is limited to maximum governor and to at least 100;
// its entry needs the front panel's shift key.
TEST_F(Overspeed, TheReducedLevelIsLimitedToMaximumGovernorAndAtLeast100) {
    const struct {
        double max_gov, entry, expect;
    } cases[] = {{kMaxGov, 5000.0, kMaxGov}, {kMaxGov, 50.0, 100.0}, {80.0, 500.0, 100.0}};
    bool first = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.max_gov);
        if (first || c.max_gov != kMaxGov) {
            if (!first) stopApp();
            // A maximum governor below minimum governor is a configuration
            // error: its check overridden.
            start(true, true, {{"CNFG_SETPT.QT_MAX_GOV.IN", c.max_gov}, {"CONF_LATCH.ANY.OVRD", 1}});
            first = false;
        }
        // An entry below 100, which the service tool refuses, is written to
        // the cell to show the sample's own lower limit.
        if (c.entry >= 100.0) serviceWrite("OSPD.REDUCE_SP.TUNE", c.entry);
        else pokeTunable("OSPD.REDUCE_SP.TUNE", c.entry);
        runPasses(R160, 3);
        EXPECT_EQ(real("OSPD.REDUCE_SP.SAMP_TUNE"), static_cast<float>(c.expect)) << c.entry;
    }
    // Entry needs the front panel's shift key.
    EXPECT_EQ(boolean("OSPD.REDUCE_SP.EN_ENT_OUT"), 0u);
    hk::runTask([] { board::setKey(2, 0, true); });
    runPasses(R160, 3);
    EXPECT_EQ(boolean("OSPD.REDUCE_SP.EN_ENT_OUT"), 1u);
}

}  // namespace
