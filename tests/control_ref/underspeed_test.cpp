// The underspeed alarm through real 160 ms passes: the level (the lower of
// the configured underspeed and the minimum governor speed less its
// margin), the speed at or below it while the speed controller is in
// control, the alarm after its delay, and the alarm and shutdown each only
// where enabled.
#include <gtest/gtest.h>

#include <string>

#include "app/control/control_slices.h"
#include "app/protection/protection_slices.h"
#include "tests/support/app_harness.h"

namespace {

constexpr int R160 = 4;

class Underspeed : public tc_test::AppHarness {
protected:
    void SetUp() override {
        AppHarness::SetUp();
        useSlices(R160, {_R160_TASK_48, _R160_TASK_49});
        startApp();
    }
    void set(double underspeed, double minGov, double margin, double speed, int inControl, int enaAlarm,
             int enaTrip) {
        setCell("IFACE_IN_SPEED.UNDERSPEED.A_NAME", underspeed);
        setCell("CNFG_SETPT.MIN_GOV.A_NAME", minGov);
        setCell("SPDC.UNDR_SPD_M.IN_2", margin);
        setCell("MPU.TURB_SPD.A_NAME", speed);
        setCell("SPDC.A08_STEP.SFC_STEP", inControl);
        setCell("IFACE_IN_SPEED.ENA_USPD_AL.B_NAME", enaAlarm);
        setCell("IFACE_IN_SPEED.ENA_USPD_SD.B_NAME", enaTrip);
    }
};

// The level and the switch, pass by pass.
TEST_F(Underspeed, SwitchAtOrBelowTheLowerLevelWhileInControl) {
    struct Case {
        const char* name;
        double underspeed, minGov, margin, speed;
        int inControl;
        float margin_level, level;
        uint32_t compare, equal, sw;
    };
    const Case cases[] = {
        {"below configured", 2800, 3000, 10, 2700, 1, 2990, 2800, 1, 0, 1},
        {"at configured", 2800, 3000, 10, 2800, 1, 2990, 2800, 1, 1, 1},
        {"above configured", 2800, 3000, 10, 2800.5, 1, 2990, 2800, 0, 0, 0},
        {"margin lower", 3000, 3000, 25, 2975, 1, 2975, 2975, 1, 1, 1},
        {"above margin", 3000, 3000, 25, 2976, 1, 2975, 2975, 0, 0, 0},
        {"not in control", 2800, 3000, 10, 2000, 0, 2990, 2800, 1, 0, 0},
    };
    for (const Case& c : cases) {
        set(c.underspeed, c.minGov, c.margin, c.speed, c.inControl, 1, 1);
        runPasses(R160, 2);
        EXPECT_EQ(real("SPDC.UNDR_SPD_M.SUBTRACT"), c.margin_level) << c.name;
        EXPECT_EQ(real("SPDC.A_MIN.A_MIN"), c.level) << c.name;
        EXPECT_EQ(boolean("SPDC.SPD_UDRSPD.A_COMPARE"), c.compare) << c.name;
        EXPECT_EQ(boolean("SPDC.SPD_UDRSPD.A_EQUAL"), c.equal) << c.name;
        EXPECT_EQ(boolean("SPDC.UNDER_SPD.B_SW"), c.sw) << c.name;
    }
}

// The alarm comes once the timer has reached the delay (2.0 s: in the 14th
// pass), stays while the condition holds and clears with it at once.
TEST_F(Underspeed, AlarmAfterItsDelayClearsWithTheCondition) {
    set(2800, 3000, 10, 3000, 1, 1, 1);
    runPasses(R160, 2);
    setCell("MPU.TURB_SPD.A_NAME", 2000);
    runPasses(R160, 1);
    ASSERT_EQ(boolean("SPDC.UNDER_SPD.B_SW"), 1u);
    runPasses(R160, 12);  // 13 passes with the switch on
    EXPECT_EQ(boolean("SPDC.UNDERSPD.B_ALARM"), 0u);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("SPDC.UNDERSPD.B_ALARM"), 1u);
    EXPECT_EQ(boolean("SPDC.UNDERSPD.LIGHT"), 1u);
    EXPECT_EQ(boolean("SPDC.UNDERSPD.HORN"), 1u);
    runPasses(R160, 5);
    EXPECT_EQ(boolean("SPDC.UNDERSPD.B_ALARM"), 1u);
    // Leaving control ends the condition: cleared at once, and the timer
    // starts again from nothing.
    setCell("SPDC.A08_STEP.SFC_STEP", 0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("SPDC.UNDERSPD.B_ALARM"), 0u);
    EXPECT_EQ(boolean("SPDC.UNDERSPD.LIGHT"), 0u);
    EXPECT_EQ(boolean("SPDC.UNDERSPD.HORN"), 0u);
    setCell("SPDC.A08_STEP.SFC_STEP", 1);
    runPasses(R160, 13);
    EXPECT_EQ(boolean("SPDC.UNDERSPD.B_ALARM"), 0u);
    // A speed back above the level clears it as well.
    runPasses(R160, 2);
    EXPECT_EQ(boolean("SPDC.UNDERSPD.B_ALARM"), 1u);
    setCell("MPU.TURB_SPD.A_NAME", 2900);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("SPDC.UNDERSPD.B_ALARM"), 0u);
}

// The alarm and the shutdown request each need their enable.
TEST_F(Underspeed, AlarmAndShutdownOnlyWhereEnabled) {
    const struct {
        int enaAlarm, enaTrip;
        uint32_t alarm, trip;
    } cases[] = {{0, 0, 0, 0}, {1, 0, 1, 0}, {0, 1, 0, 1}, {1, 1, 1, 1}};
    setCell("SPDC.UNDERSPD.DLY_TIME", 0.5);
    for (const auto& c : cases) {
        set(2800, 3000, 10, 2000, 1, c.enaAlarm, c.enaTrip);
        runPasses(R160, 8);
        EXPECT_EQ(boolean("SPDC.UNDERSPD.B_ALARM"), 1u);
        EXPECT_EQ(boolean("SPDC.UDRSPD_ALM.AND"), c.alarm) << c.enaAlarm << c.enaTrip;
        EXPECT_EQ(boolean("SPDC.UDRSPD_SD.AND"), c.trip) << c.enaAlarm << c.enaTrip;
    }
}

}  // namespace
