// The HP manual demand on the whole program, driven from the service
// interface on a unit started to rated on the turbine model: bumpless
// enable, raise, lower and go-to at the manual rate, the entered value's
// limits, and every condition that disables it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "host/turbine_model.h"
#include "tests/support/ref_rig.h"

namespace sc_test {
namespace {

using namespace ref_test;

class HpManual : public RefRig {
protected:
    // Started to rated on the turbine model with half load on the shaft, the
    // manual demand configured; the speed PID in control.
    void configure() {
        start(true, true, {{"CNFG_START.VLV_LIM_RATE.IN", 25.0}, {"IFACE_IN_HP_MAN.USE_MAN_DMD.B_NAME", 1}});
        startToRated();
        turbine::setLoad(0.5);
        runSeconds(30.0);
        ASSERT_TRUE(step("A08_STEP"));
        ASSERT_EQ(boolean("HP_DRIVER.ACT_LSS.SEL_1"), 1u) << "the speed PID in control";
    }
    void runSeconds(double s) { runPasses(R10, static_cast<uint32_t>(s * 100.0 + 0.5)); }
    float demand() { return real("HP_MAN_RAMP.MAN_DMD.RAMP"); }
    bool enabled() { return boolean("IFACE_OUT_HP_MAN.ENABLED.B_NAME") != 0; }
    // The enable as the service tool gives it: its setting from 0 to 1.
    void requestEnable() {
        serviceWrite("IFACE_IN_HP_MAN.ENABLE.B_NAME", 0);
        runPasses(R160, 1);
        serviceWrite("IFACE_IN_HP_MAN.ENABLE.B_NAME", 1);
        runPasses(R160, 3);
    }
    void enable() {
        requestEnable();
        ASSERT_TRUE(enabled());
        // The speed control knows another controller is in charge.
        EXPECT_EQ(boolean("SPD_CTRL.OTHER_EN_CTL.OR"), 1u);
    }
    // 160 ms passes until `cell` reads `value`, at most `max`.
    bool waitFor(const char* cell, uint32_t value, int max) {
        for (int k = 0; k < max; ++k) {
            if (boolean(cell) == value) return true;
            runPasses(R160, 1);
        }
        return boolean(cell) == value;
    }
    // Disabled by a condition: out of control, and an enable request while
    // it holds is refused.
    void expectDisabledAndRefused(const std::string& what, bool request = true) {
        EXPECT_FALSE(enabled()) << what;
        EXPECT_EQ(boolean("SPD_CTRL.OTHER_EN_CTL.OR"), 0u) << what;
        EXPECT_EQ(boolean("HP_MAN_ENBL.DISABLED.NOT"), 1u) << what;
        if (!request) return;
        requestEnable();
        EXPECT_FALSE(enabled()) << what;
    }
    // 10 ms passes until the manual demand drops, at most `max`; the flag
    // of the condition that dropped it, read in that pass.
    uint32_t passesUntilDropped(const char* flag, int max) {
        for (int k = 0; k < max && enabled(); ++k) runPasses(R10, 1);
        return enabled() ? 0u : boolean(flag);
    }
};

TEST_F(HpManual, EnableIsBumplessAndServiceCommandsMoveAtTheManualRate) {
    configure();
    // Tracking the selected demand while disabled.
    for (int k = 0; k < 20; ++k) {
        runPasses(R10, 1);
        EXPECT_EQ(demand(), real("HP_DRIVER.ACT_LSS.LSS_BUS")) << k;
    }
    EXPECT_EQ(boolean("HP_MAN_RAMP.TRACK.B_NAME"), 1u);
    EXPECT_EQ(boolean("HP_MAN_RAMP.MAN_DMD.P_LIM_2"), 1u);
    EXPECT_EQ(integer("HP_MAN_RAMP.MAN_DMD.POS_SEL"), 2);
    EXPECT_EQ(real("HP_MAN_RAMP.MAN_DMD_SW.A_SW"), 101.0f) << "not offered while disabled";
    EXPECT_EQ(real("IFACE_OUT_HP_MAN.MAN_OUT.A_NAME"), 101.0f);
    enable();
    // The entered value starts at the demand of the enable, and the demand
    // holds there: the valve is in manual.
    const float atEnable = real("HP_MAN_RAMP.ENTR_SETPT.SAMP_TUNE");
    EXPECT_GT(atEnable, 1.0f);
    EXPECT_EQ(demand(), atEnable);
    runPasses(R160, 5);
    EXPECT_EQ(demand(), atEnable);
    EXPECT_EQ(boolean("HP_MAN_ENBL.DISABLED.NOT"), 0u);
    EXPECT_EQ(boolean("HP_DRIVER.ACT_LSS.SEL_3"), 1u);
    EXPECT_EQ(real("HP_DRIVER.ACT_LSS.LSS_BUS"), demand());
    // Raise at 0.25 %/s.
    serviceWrite("IFACE_IN_HP_MAN.RSE_LWR.IN_1", 1);
    ASSERT_TRUE(waitFor("HP_MAN_RAMP.RAISE.B_ACTION", 1, 4));
    runPasses(R160, 2);
    float a = demand();
    runPasses(R10, 100);
    EXPECT_NEAR(demand() - a, 0.25, 1e-3);
    EXPECT_EQ(boolean("HP_MAN_RAMP.MAN_DMD.MOVING_UP"), 1u);
    // Lower as well: lower wins.
    serviceWrite("IFACE_IN_HP_MAN.RSE_LWR.IN_2", 1);
    ASSERT_TRUE(waitFor("HP_MAN_RAMP.LOWER.B_ACTION", 1, 4));
    EXPECT_EQ(boolean("HP_MAN_RAMP.RAISE.B_ACTION"), 0u);
    runPasses(R160, 2);
    a = demand();
    runPasses(R10, 100);
    EXPECT_NEAR(a - demand(), 0.25, 1e-3);
    EXPECT_EQ(boolean("HP_MAN_RAMP.MAN_DMD.MOVING_DN"), 1u);
    serviceWrite("IFACE_IN_HP_MAN.RSE_LWR.IN_1", 0);
    serviceWrite("IFACE_IN_HP_MAN.RSE_LWR.IN_2", 0);
    ASSERT_TRUE(waitFor("HP_MAN_RAMP.LOWER.B_ACTION", 0, 4));
    runPasses(R160, 2);
    a = demand();
    runPasses(R160, 5);
    EXPECT_FLOAT_EQ(demand(), a);
    // A raise cancels a go-to on its way: the demand turns and rises.
    serviceWrite("HP_MAN_RAMP.ENTR_SETPT.TUNE", std::round((a - 1.0) * 10.0) / 10.0);
    serviceWrite("HP_MAN_RAMP.GOTO_OS.TRIGGER", 1);
    ASSERT_TRUE(waitFor("HP_MAN_RAMP.GOTO_CMD.B_ACTION", 1, 4));
    serviceWrite("HP_MAN_RAMP.GOTO_OS.TRIGGER", 0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("HP_MAN_RAMP.MAN_DMD.MOVING_DN"), 1u);
    serviceWrite("IFACE_IN_HP_MAN.RSE_LWR.IN_1", 1);
    ASSERT_TRUE(waitFor("HP_MAN_RAMP.GOTO_CMD.B_ACTION", 0, 4));
    ASSERT_TRUE(waitFor("HP_MAN_RAMP.RAISE.B_ACTION", 1, 4));
    runPasses(R160, 2);
    EXPECT_EQ(boolean("HP_MAN_RAMP.MAN_DMD.MOVING_UP"), 1u);
    serviceWrite("IFACE_IN_HP_MAN.RSE_LWR.IN_1", 0);
    ASSERT_TRUE(waitFor("HP_MAN_RAMP.RAISE.B_ACTION", 0, 4));
    runPasses(R160, 2);
    EXPECT_EQ(boolean("HP_MAN_RAMP.GOTO_CMD.B_ACTION"), 0u);
    a = demand();
    // Go to an entered value; the command ends when the demand is there.
    const double target = std::round((a + 0.2) * 10.0) / 10.0;
    serviceWrite("HP_MAN_RAMP.ENTR_SETPT.TUNE", target);
    serviceWrite("HP_MAN_RAMP.GOTO_OS.TRIGGER", 1);
    ASSERT_TRUE(waitFor("HP_MAN_RAMP.GOTO_CMD.B_ACTION", 1, 4));
    serviceWrite("HP_MAN_RAMP.GOTO_OS.TRIGGER", 0);
    EXPECT_FLOAT_EQ(real("HP_MAN_RAMP.ENTR_SETPT_A_SW.A_SW"), static_cast<float>(target));
    ASSERT_TRUE(waitFor("HP_MAN_RAMP.GOTO_CMD.B_ACTION", 0, 20));
    EXPECT_FLOAT_EQ(demand(), static_cast<float>(target));
    EXPECT_TRUE(enabled());
    // Go-tos given while the demand stands at the value entered before: to
    // another value, and to that same value (set, and reset once there).
    for (const double next : {target + 0.2, target + 0.2}) {
        serviceWrite("HP_MAN_RAMP.ENTR_SETPT.TUNE", next);
        serviceWrite("HP_MAN_RAMP.GOTO_OS.TRIGGER", 1);
        EXPECT_TRUE(waitFor("HP_MAN_RAMP.GOTO_CMD.B_ACTION", 1, 4)) << next;
        serviceWrite("HP_MAN_RAMP.GOTO_OS.TRIGGER", 0);
        ASSERT_TRUE(waitFor("HP_MAN_RAMP.GOTO_CMD.B_ACTION", 0, 20)) << next;
        EXPECT_FLOAT_EQ(demand(), static_cast<float>(next));
    }

    // The speed PID, which goes on acting on the speed error, takes the
    // valve when its demand is the lower: a raised manual demand gives the
    // valve back to it as the speed rises.
    EXPECT_EQ(real("HP_DRIVER.ACT_LSS.LSS_BUS"),
              std::min(real("IFACE_IN_VLV.SPD_PID.A_NAME"), real("IFACE_OUT_HP_MAN.MAN_OUT.A_NAME")));

    // Lowered below the speed PID's demand the manual demand has the valve;
    // disabled then, it soft-disables toward 101 at half the manual rate
    // (the fastest rate, 1 %/s, set for it) until the speed PID's demand is
    // the lower again.
    serviceWrite("IFACE_IN_HP_MAN.MAN_RATE.A_NAME", 1.0);
    serviceWrite("IFACE_IN_HP_MAN.RSE_LWR.IN_2", 1);
    ASSERT_TRUE(waitFor("HP_MAN_RAMP.LOWER.B_ACTION", 1, 4));
    runPasses(R10, 50);
    serviceWrite("IFACE_IN_HP_MAN.RSE_LWR.IN_2", 0);
    ASSERT_TRUE(waitFor("HP_MAN_RAMP.LOWER.B_ACTION", 0, 4));
    runPasses(R160, 2);
    ASSERT_EQ(boolean("HP_DRIVER.ACT_LSS.SEL_3"), 1u);
    ASSERT_EQ(boolean("IFACE_OUT_VLV.ACT_LSS_SEL_3.B_NAME"), 1u);
    EXPECT_EQ(boolean("IFACE_IN_HP_MAN.MAN_CTRL.B_NAME"), 1u);
    serviceWrite("IFACE_IN_HP_MAN.DISABLE.B_NAME", 1);
    for (int k = 0; k < 40 && enabled(); ++k) runPasses(R10, 1);
    ASSERT_FALSE(enabled());
    runPasses(R10, 2);
    EXPECT_EQ(boolean("HP_MAN_RAMP.SOFT_DIS.B_NAME"), 1u);
    EXPECT_FLOAT_EQ(real("HP_MAN_RAMP.SOFT_DIS_RATE.MULTIPLY"), 0.5f);
    EXPECT_EQ(integer("HP_MAN_RAMP.MAN_DMD.POS_SEL"), 1);
    EXPECT_EQ(boolean("HP_MAN_RAMP.MAN_DMD.MOVING_UP"), 1u);
    a = demand();
    runPasses(R10, 20);
    EXPECT_NEAR(demand() - a, 0.1, 1e-3);
    ASSERT_TRUE(waitFor("HP_DRIVER.ACT_LSS.SEL_1", 1, 200)) << "the speed PID never took the valve back";
    runPasses(R160, 2);
    EXPECT_EQ(boolean("HP_MAN_RAMP.TRACK.B_NAME"), 1u);
    EXPECT_EQ(boolean("HP_MAN_RAMP.SOFT_DIS.B_NAME"), 0u);
    EXPECT_EQ(integer("HP_MAN_RAMP.MAN_DMD.POS_SEL"), 2);
    EXPECT_EQ(demand(), real("HP_DRIVER.ACT_LSS.LSS_BUS"));
}

TEST_F(HpManual, TheEnteredValueIsHeldToZeroToHundredPercent) {
    configure();
    enable();
    for (const auto& [in, out] : {std::pair{150.0, 100.0f}, {-5.0, 0.0f}, {55.5, 55.5f}}) {
        SCOPED_TRACE(in);
        // The service tool refuses an entry outside 0 .. 100 %: such a one is
        // written to the cell, to show the sample's own limits.
        if (in >= 0.0 && in <= 100.0) serviceWrite("HP_MAN_RAMP.ENTR_SETPT.TUNE", in);
        else pokeTunable("HP_MAN_RAMP.ENTR_SETPT.TUNE", in);
        runPasses(R160, 1);
        EXPECT_FLOAT_EQ(real("HP_MAN_RAMP.ENTR_SETPT.SAMP_TUNE"), out);
    }
    EXPECT_FLOAT_EQ(real("HP_MAN_RAMP.SOFT_DIS_RATE.MULTIPLY"), 0.125f);
}

TEST_F(HpManual, ServiceRaiseIsDroppedAfterSixtySeconds) {
    configure();
    serviceWrite("IFACE_IN_HP_MAN.RSE_LWR.IN_1", 1);
    runPasses(R160, 370);
    EXPECT_EQ(boolean("HP_MAN_RAMP.RSE_CMD.B_NAME"), 1u);
    runPasses(R160, 8);  // on while less than 60 s had run before the pass
    EXPECT_EQ(boolean("HP_MAN_RAMP.RSE_CMD.B_NAME"), 0u);
}

TEST_F(HpManual, UntouchedForTwoMinutesItDisablesItself) {
    configure();
    enable();
    runPasses(R160, 740);  // 118.4 s
    EXPECT_TRUE(enabled());
    runPasses(R160, 16);
    EXPECT_FALSE(enabled());
    EXPECT_EQ(boolean("HP_MAN_ENBL.DLY_NOMOV.DELAY"), 1u);
}

// Each condition that disables it, brought about through an input and then
// taken back: the service settings, the shaft below minimum and above
// maximum governor through the load on the turbine model (the speed PID
// brings the shaft back to rated afterwards), and a controlled stop.
struct Disabler {
    const char* setting;
    double on, off;
};

TEST_F(HpManual, EachDisableConditionDropsItAndBlocksTheEnable) {
    const Disabler rows[] = {
        {"IFACE_IN_HP_MAN.DISABLE.B_NAME", 1, 0},
        {"IFACE_IN_HP_MAN.USE_MAN_DMD.B_NAME", 0, 1},
        {"HP_MAN_ENBL.OR_DISABLE.IN_7", 1, 0},
    };
    configure();
    for (const Disabler& d : rows) {
        SCOPED_TRACE(d.setting);
        enable();
        serviceWrite(d.setting, d.on);
        runPasses(R160, 2);
        expectDisabledAndRefused(d.setting);
        serviceWrite(d.setting, d.off);
        runPasses(R160, 2);
    }

    // The shaft below minimum governor: more load than the manual valve
    // carries. Once dropped, the speed PID brings the shaft back, so the
    // condition does not stand long enough for a refused request.
    enable();
    turbine::setLoad(1.2);
    EXPECT_EQ(passesUntilDropped("HP_MAN_ENBL.LT_MIN_GOV.A_COMPARE", 6000), 1u);
    EXPECT_LT(turbine::speedRpm(), kMinGov);
    expectDisabledAndRefused("speed below minimum governor", false);
    turbine::setLoad(0.5);
    ASSERT_TRUE(runUntil([&] { return std::fabs(turbine::speedRpm() - kRated) < 2.0; }, 2000));
    runSeconds(20.0);

    // Above maximum governor: the reference raised near maximum governor from
    // the service tool, then less load than the manual valve carries (the
    // speed PID keeps the speed below a reference under the limit).
    serviceWrite("IFACE_IN_SPEED.RSE_LWR.IN_1", 1);
    ASSERT_TRUE(runUntil([&] { return ref() >= static_cast<float>(kMaxGov - 20.0); }, 1000)) << ref();
    serviceWrite("IFACE_IN_SPEED.RSE_LWR.IN_1", 0);
    runPasses(R160, 2);
    ASSERT_LT(ref(), static_cast<float>(kMaxGov - 2.0));
    runSeconds(30.0);
    enable();
    turbine::setLoad(0.35);
    EXPECT_EQ(passesUntilDropped("HP_MAN_ENBL.GT_MAX_GOV.A_COMPARE", 6000), 1u);
    EXPECT_GT(turbine::speedRpm(), kMaxGov - 1.0);
    expectDisabledAndRefused("speed above maximum governor", false);
    turbine::setLoad(0.5);
    ASSERT_TRUE(runUntil([&] { return std::fabs(turbine::speedRpm() - ref()) < 2.0; }, 2000));
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u);
    runSeconds(20.0);

    // The start no longer complete: a controlled stop from its contact,
    // held closed, leaves the in-control step.
    enable();
    contact(kSpareContact, true);
    ASSERT_TRUE(runUntil([&] { return !step("A08_STEP"); }, 100));
    runPasses(R160, 2);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u);
    EXPECT_EQ(boolean("IFACE_IN_HP_MAN.START_COMP.B_NAME"), 0u);
    expectDisabledAndRefused("start not complete");
    EXPECT_FALSE(step("A08_STEP"));
}

// A shutdown drops it and blocks the enable.
TEST_F(HpManual, AShutdownDropsItAndBlocksTheEnable) {
    configure();
    enable();
    trip();
    ASSERT_TRUE(runUntil([&] { return boolean("SHUTDOWNS.ANY_SD.B_NAME") != 0; }, 10));
    runPasses(R160, 1);
    EXPECT_EQ(boolean("IFACE_IN_HP_MAN.ANY_SD.B_NAME"), 1u);
    expectDisabledAndRefused("any shutdown");
    // Disabled, it tracks the closed valve: at its zero target as well.
    EXPECT_EQ(real("HP_MAN_RAMP.MAN_DMD.RAMP"), 0.0f);
    EXPECT_EQ(boolean("HP_MAN_RAMP.MAN_DMD.P_LIM_3"), 1u);
}

}  // namespace
}  // namespace sc_test
