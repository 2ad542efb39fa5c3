// The speed step test as the service tool drives it, on the whole program:
// arm, enter the step, apply it, disarm; the commands' one-second life and
// the step's limits.
#include <string>

#include "tests/support/ref_rig.h"

using namespace ref_test;

namespace {

// On the whole program, the service tool's writes through its real path.
class SpeedStepTest : public RefRig {
protected:
    void command(int k) { serviceWrite("IFACE_IN_SPEED.GO_STEP_SP.IN_" + std::to_string(k), 1); }
    uint32_t armed() { return boolean("IFACE_IN_SPEED.ENA_STEPTEST.B_ACTION"); }
};

TEST_F(SpeedStepTest, ArmedInControlTheEnteredStepMovesTheReferenceOnce) {
    start(false, false);
    startToInControl();
    ASSERT_FLOAT_EQ(ref(), static_cast<float>(kMinGov));

    // A step left from an earlier test is cleared on arming; entry opens.
    serviceWrite("IFACE_IN_SPEED.QT_STEP_AMOUNT.I_NAME", 40);
    runPasses(R40, 1);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.SP_STEP.EN_ENT_OUT"), 0u);
    command(2);
    runPasses(R40, 1);
    EXPECT_EQ(armed(), 1u);
    EXPECT_EQ(integer("IFACE_IN_SPEED.SP_STEP.SAMP_ITUNE"), 0);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.SP_STEP.EN_ENT_OUT"), 1u);

    serviceWrite("IFACE_IN_SPEED.QT_STEP_AMOUNT.I_NAME", 50);
    runPasses(R40, 1);
    EXPECT_EQ(integer("IFACE_IN_SPEED.SP_STEP.SAMP_ITUNE"), 50);
    command(1);
    runPasses(R80, 3);
    EXPECT_FLOAT_EQ(ref(), static_cast<float>(kMinGov + 50.0));
    // The command lasts 1.0 s (25 passes of 40 ms), then both clear; the
    // reference stays where the step put it.
    runPasses(R40, 25);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.GO_STEP_SP.IN_1"), 0u);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.GO_STEP_SP.OUT_1"), 0u);
    EXPECT_FLOAT_EQ(ref(), static_cast<float>(kMinGov + 50.0));

    // Command 3 disarms; the step then applies no more.
    command(3);
    runPasses(R40, 1);
    EXPECT_EQ(armed(), 0u);
    command(1);
    runPasses(R80, 3);
    EXPECT_FLOAT_EQ(ref(), static_cast<float>(kMinGov + 50.0));

    // A raise of the setpoint disarms it as well.
    runPasses(R40, 30);
    command(2);
    runPasses(R40, 1);
    ASSERT_EQ(armed(), 1u);
    contact(kRaiseContact, true);
    runPasses(R80, 3);
    EXPECT_EQ(armed(), 0u);
    contact(kRaiseContact, false);
}

TEST_F(SpeedStepTest, AWrittenZeroEndsACommandAndARewriteRestartsIt) {
    start(false, false);
    runPasses(R40, 2);
    command(2);
    runPasses(R40, 20);
    command(2);  // 0.8 s in: a full second again
    runPasses(R40, 24);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.GO_STEP_SP.OUT_2"), 1u);
    runPasses(R40, 2);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.GO_STEP_SP.OUT_2"), 0u);
    command(3);
    runPasses(R40, 2);
    serviceWrite("IFACE_IN_SPEED.GO_STEP_SP.IN_3", 0);
    runPasses(R40, 1);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.GO_STEP_SP.OUT_3"), 0u);
}

TEST_F(SpeedStepTest, TheStepIsHeldToPlusMinusOneHundredPercent) {
    struct Row { int entered, kept; uint32_t limited; };
    const Row rows[] = {{99, 99, 0}, {100, 100, 1}, {-99, -99, 0}, {-100, -100, 1}};
    start(false, false);
    runPasses(R40, 2);
    for (const Row& r : rows) {
        serviceWrite("IFACE_IN_SPEED.QT_STEP_AMOUNT.I_NAME", r.entered);
        runPasses(R40, 1);
        EXPECT_EQ(integer("IFACE_IN_SPEED.SP_STEP.SAMP_ITUNE"), r.kept) << r.entered;
        EXPECT_EQ(boolean("IFACE_IN_SPEED.SP_STEP.LIMITED"), r.limited) << r.entered;
    }
    EXPECT_EQ(integer("IFACE_IN_SPEED.SP_STEP.LO_LIM_OUT"), -100);
    EXPECT_EQ(integer("IFACE_IN_SPEED.SP_STEP.HI_LIM_OUT"), 100);
}

}  // namespace
