// The underspeed alarm on the whole program: the level (the lower of the
// configured underspeed and the minimum governor speed less its margin),
// the speed at or below it while the speed controller is in control, the
// alarm after its delay, and the alarm and shutdown each only where
// enabled. The settings are entered from the service tool while the
// controller powers up; a manual start puts the speed controller in
// control at minimum governor (3000 rpm), and the shaft is then held where
// a case needs it.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/ref_rig.h"

namespace {

using namespace ref_test;

struct Config {
    const char* name;
    double underspeed, margin;
    int enaAlarm, enaTrip;
};

class Underspeed : public RefRig {
protected:
    void startInControl(const Config& c, const Settings& extra = {}) {
        Settings s = {{"IFACE_IN_SPEED.UNDERSPEED.IN", c.underspeed},
                      {"SPDC.UNDR_SPD_M.IN_2", c.margin},
                      {"IFACE_IN_SPEED.ENA_USPD_AL.IN", c.enaAlarm},
                      {"IFACE_IN_SPEED.ENA_USPD_SD.IN", c.enaTrip}};
        s.insert(s.end(), extra.begin(), extra.end());
        start(false, false, s);
        startToInControl();
        runPasses(R160, 10);
    }
    uint32_t under() { return boolean("SPDC.UNDER_SPD.B_SW"); }
};

// The level and the switch: the shaft held clear of the sensors' resolution
// on either side of the level, and below it out of control.
TEST_F(Underspeed, SwitchAtOrBelowTheLowerLevelWhileInControl) {
    struct Case {
        Config config;
        float marginLevel, level;
    };
    const Case cases[] = {
        {{"configured lower", 2800, 10, 1, 0}, 2990, 2800},
        {{"margin lower", 3000, 25, 1, 0}, 2975, 2975},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.config.name);
        startInControl(c.config);
        EXPECT_EQ(real("SPDC.UNDR_SPD_M.SUBTRACT"), c.marginLevel);
        EXPECT_EQ(real("SPDC.A_MIN.A_MIN"), c.level);
        EXPECT_EQ(under(), 0u);
        const struct {
            double below;
            uint32_t sw;
        } speeds[] = {{-100.0, 1}, {1.0, 0}, {-1.0, 1}, {50.0, 0}};
        for (const auto& s : speeds) {
            SCOPED_TRACE(s.below);
            holdShaftAt(c.level + s.below);
            runPasses(R160, 3);
            EXPECT_EQ(boolean("SPDC.SPD_UDRSPD.A_COMPARE"), s.sw);
            EXPECT_EQ(boolean("SPDC.SPD_UDRSPD.A_EQUAL"), 0u);
            EXPECT_EQ(under(), s.sw);
        }
        // Out of control (tripped) the switch stays off.
        holdShaftAt(c.level - 100.0);
        trip();
        runPasses(R160, 3);
        EXPECT_EQ(boolean("SPDC.SPD_UDRSPD.A_COMPARE"), 1u);
        EXPECT_EQ(under(), 0u);
        TearDown();
        SetUp();
    }
}

// The alarm comes once the timer has reached the delay (2.0 s: in the 14th
// pass with the switch on), stays while the condition holds and clears with
// it at once; the timer then starts again from nothing.
TEST_F(Underspeed, AlarmAfterItsDelayClearsWithTheCondition) {
    startInControl({"", 2800, 10, 1, 0});
    holdShaftAt(2700.0);
    ASSERT_TRUE(runUntil([&] { return under() != 0; }, 10));
    // Counted in 160 ms passes from the one in which the switch came on.
    int on = 0;
    while (boolean("SPDC.UNDERSPD.B_ALARM") == 0 && on < 30) {
        runPasses(R160, 1);
        ++on;
    }
    EXPECT_EQ(on, 13) << "the 14th pass with the switch on";
    EXPECT_EQ(boolean("SPDC.UNDERSPD.LIGHT"), 1u);
    EXPECT_EQ(boolean("SPDC.UNDERSPD.HORN"), 1u);
    runPasses(R160, 5);
    EXPECT_EQ(boolean("SPDC.UNDERSPD.B_ALARM"), 1u);
    // A speed back above the level clears it at once.
    holdShaftAt(2900.0);
    runPasses(R160, 3);
    EXPECT_EQ(under(), 0u);
    EXPECT_EQ(boolean("SPDC.UNDERSPD.B_ALARM"), 0u);
    EXPECT_EQ(boolean("SPDC.UNDERSPD.LIGHT"), 0u);
    EXPECT_EQ(boolean("SPDC.UNDERSPD.HORN"), 0u);
    // Below again: the full delay once more.
    holdShaftAt(2700.0);
    ASSERT_TRUE(runUntil([&] { return under() != 0; }, 10));
    runPasses(R160, 10);
    EXPECT_EQ(boolean("SPDC.UNDERSPD.B_ALARM"), 0u);
    runPasses(R160, 5);
    EXPECT_EQ(boolean("SPDC.UNDERSPD.B_ALARM"), 1u);
}

// The alarm and the shutdown request each need their enable; the shutdown
// trips the unit.
TEST_F(Underspeed, AlarmAndShutdownOnlyWhereEnabled) {
    const Config configs[] = {
        {"neither", 2800, 10, 0, 0}, {"alarm", 2800, 10, 1, 0}, {"shutdown", 2800, 10, 0, 1}, {"both", 2800, 10, 1, 1}};
    for (const Config& c : configs) {
        SCOPED_TRACE(c.name);
        startInControl(c, {{"SPDC.UNDERSPD.DLY_TIME", 0.5}});
        holdShaftAt(2700.0);
        ASSERT_TRUE(runUntil([&] { return boolean("SPDC.UNDERSPD.B_ALARM") != 0; }, 20));
        runPasses(R160, 1);
        EXPECT_EQ(boolean("SPDC.UDRSPD_ALM.AND"), static_cast<uint32_t>(c.enaAlarm));
        EXPECT_EQ(boolean("SPDC.UDRSPD_SD.AND"), static_cast<uint32_t>(c.enaTrip));
        runPasses(R160, 5);
        EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), static_cast<uint32_t>(c.enaTrip));
        TearDown();
        SetUp();
    }
}

}  // namespace
