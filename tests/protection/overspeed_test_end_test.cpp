// The overspeed test on the whole program: a test demand ends by itself
// once the reference has stood still for the no-movement delay, counted
// from the demand, however long the reference had stood still before it;
// and while the test lasts the controller's own overspeed trip is held off.
#include <gtest/gtest.h>

#include <string>

#include "host/turbine_model.h"
#include "tests/support/ref_rig.h"

namespace ref_test {
namespace {

class OverspeedTestEnd : public RefRig {
protected:
    // An external test demanded from the service tool.
    void demand() {
        serviceWrite("IFACE_IN_SPEED.ENABLE_EXT_OST.IN", 1);
        ASSERT_TRUE(runUntil([&] { return testing(); }, 10)) << "no demand";
        serviceWrite("IFACE_IN_SPEED.ENABLE_EXT_OST.IN", 0);
    }
    bool testing() { return boolean("OSPD.OSPD_DMD_EXT.B_ACTION") != 0; }
    // 160 ms passes until the demand has ended; -1 when it never did.
    int passesUntilEnded(int max) {
        for (int k = 0; k <= max; ++k) {
            if (!testing()) return k;
            runPasses(R160, 1);
        }
        return -1;
    }
};

// The no-movement delay at 5 s, the reference at maximum governor: the
// first demand, given with the reference at rest for longer than that, and a second one 10 s after the first
// ended, each end 5 s after the demand (and the step's entry); both put the
// sequence in its test step and take it out again, and the own trip is
// armed again after each.
TEST_F(OverspeedTestEnd, EachDemandEndsAfterTheNoMovementDelayCountedFromTheDemand) {
    start(true, true, {{"OSPD.DLY_NOMOV.DLY_TIME", 5.0}});
    startToRated();
    // At rated, below maximum governor, a demand is refused.
    serviceWrite("IFACE_IN_SPEED.ENABLE_EXT_OST.IN", 1);
    runPasses(R160, 10);
    serviceWrite("IFACE_IN_SPEED.ENABLE_EXT_OST.IN", 0);
    EXPECT_FALSE(testing()) << "a test below maximum governor";
    EXPECT_FALSE(step("A09_STEP"));
    runPasses(R160, 10);
    // The reference raised to maximum governor, where a test may begin.
    contact(kRaiseContact, true);
    ASSERT_TRUE(runUntil([&] { return ref() >= kMaxGov - 0.5; }, 2000));
    contact(kRaiseContact, false);
    runPasses(R160, 100);  // the reference at rest for 16 s
    ASSERT_EQ(boolean("OSPD.DLY_NOMOV.DELAY"), 1u) << "the reference has stood still past the delay";
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        const uint32_t t0 = passes(R10);
        demand();
        ASSERT_TRUE(runUntil([&] { return step("A09_STEP"); }, 10)) << "never in the test step";
        runPasses(R80, 2);
        EXPECT_EQ(boolean("IFACE_OUT_SPEED.OSPD_TRIP_EN.B_NAME"), 0u) << "the own trip is held off";
        ASSERT_GE(passesUntilEnded(200), 0) << "the test never ended";
        // The delay, restarted by the demand and by entering the test step.
        const double seconds = (passes(R10) - t0) * 0.01;
        EXPECT_GE(seconds, 5.0);
        EXPECT_LE(seconds, 6.5);
        ASSERT_TRUE(runUntil([&] { return step("A08_STEP"); }, 10)) << "back in control";
        runPasses(R80, 2);
        EXPECT_EQ(boolean("IFACE_OUT_SPEED.OSPD_TRIP_EN.B_NAME"), 1u);
        runPasses(R160, 63);  // 10 s more at rest
    }
    // With the own trip armed, the shaft at the trip level trips the unit.
    EXPECT_EQ(boolean("SHUTDOWNS.ANY.SEL_3"), 0u);
    shaftAt(3990.0);
    ASSERT_TRUE(runUntil([&] { return boolean("SHUTDOWNS.ANY.SEL_3") != 0; }, 5)) << "trip 3";
}

// A test ended with the reference left above maximum governor: the
// sequence is in its test-ended step while the reference runs back to
// maximum governor, and a new demand then goes back into the test step
// directly (no new entry into the test). That demand, given when no raise
// or lower has moved the reference for longer than the delay, ends 5 s
// later as well.
TEST_F(OverspeedTestEnd, ADemandGivenAgainAfterATestEndedAboveMaximumGovernorEndsToo) {
    start(true, true, {{"OSPD.DLY_NOMOV.DLY_TIME", 5.0}, {"IFACE_IN_SPEED.OSPD_RATE.IN", 20.0}});
    startToRated();
    contact(kRaiseContact, true);
    ASSERT_TRUE(runUntil([&] { return ref() >= kMaxGov - 0.5; }, 2000));
    contact(kRaiseContact, false);
    runPasses(R160, 10);
    demand();
    ASSERT_TRUE(runUntil([&] { return step("A09_STEP"); }, 10)) << "never in the test step";
    contact(kRaiseContact, true);
    ASSERT_TRUE(runUntil([&] { return ref() >= kMaxGov + 140.0; }, 2000));
    contact(kRaiseContact, false);
    ASSERT_GE(passesUntilEnded(200), 0) << "the first test never ended";
    ASSERT_TRUE(runUntil([&] { return step("A10_STEP"); }, 10)) << "not in the test-ended step";
    runPasses(R160, 10);  // past the step's 1 s wait
    ASSERT_TRUE(step("A10_STEP"));
    ASSERT_EQ(boolean("OSPD.DLY_NOMOV.DELAY"), 1u) << "no raise or lower for longer than the delay";
    const uint32_t t0 = passes(R10);
    demand();
    ASSERT_TRUE(runUntil([&] { return step("A09_STEP"); }, 10)) << "not back in the test step";
    ASSERT_GE(passesUntilEnded(200), 0) << "the second test never ended";
    const double seconds = (passes(R10) - t0) * 0.01;
    EXPECT_GE(seconds, 5.0);
    EXPECT_LE(seconds, 6.5);
}

}  // namespace
}  // namespace ref_test
