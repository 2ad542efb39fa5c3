// Analog alarm levels through real passes, on values that come through the
// analog input channels: each level's direction, deadband, delay, latching
// and reset; the level-2 trip; speed arming; the signal-failed trip and the
// start permissive.
#include <cmath>

#include "app/analog/AI_ALARM_LEVELS.cells.h"
#include "tests/analog_inputs/analog_rig.h"

namespace ai_test {
namespace {

class AlarmLevels : public AnalogRig {
protected:
    // Channel k at function 3 on 0 .. 100, its levels out of use.
    void prepare(int k) {
        start();
        configure(k, 3, 0.0, 100.0);
    }
    void settle(int k, double value) {
        setValue(k, value);
        runPasses(R20, 10);
    }
};

struct LevelCase {
    const char* name;
    int channel;
    const char* use;     // tunable that puts the level in use
    const char* invert;  // tunable that makes it a low alarm
    bool inverted;
    double hyster;
    double on, deadband, off;  // values: condition true, inside the deadband, condition false
    const char* output;
};

// Level 1 at 60, level 2 at 70 (defaults). For a hysteresis h < 0 a high
// level sets at the setpoint and clears below setpoint + h; for h >= 0 it
// sets at setpoint + h and clears below the setpoint; a low level mirrors.
const LevelCase kLevels[] = {
    {"level 1 high", 0, "USE_SP1", "INVERT_LVL1", false, -3.0, 60.5, 57.5, 56.5, "ALARM_LVL1.B_NAME"},
    {"level 1 high, positive deadband", 1, "USE_SP1", "INVERT_LVL1", false, 2.0, 62.5, 61.0, 59.5,
     "ALARM_LVL1.B_NAME"},
    {"level 1 low", 2, "USE_SP1", "INVERT_LVL1", true, -3.0, 59.5, 62.5, 63.5, "ALARM_LVL1.B_NAME"},
    {"level 2 high", 3, "USE_SP2", "INVERT_LVL2", false, -3.0, 70.5, 67.5, 66.5, "ALARM_LVL2.B_NAME"},
    {"level 2 low", 4, "USE_SP2", "INVERT_LVL2", true, -3.0, 69.5, 72.5, 73.5, "ALARM_LVL2.B_NAME"},
    {"level 2 low, positive deadband", 5, "USE_SP2", "INVERT_LVL2", true, 4.0, 65.5, 68.0, 70.5,
     "ALARM_LVL2.B_NAME"},
    {"level 2 as a trip", 6, "TRIP_SP2", "INVERT_LVL2", false, -3.0, 70.5, 67.5, 66.5, "TRIP_LVL2.B_NAME"},
};

TEST_F(AlarmLevels, EachLevelSetsAfterItsDelayHoldsInItsDeadbandAndClearsOnReset) {
    start();
    setCell("MPU.TURB_SPD.A_NAME", 1000.0);  // above every default arming speed
    for (const LevelCase& c : kLevels) {
        SCOPED_TRACE(c.name);
        configure(c.channel, 3, 0.0, 100.0);
        const std::string a = alarms(c.channel) + ".";
        setCell(a + c.invert + ".IN", c.inverted ? 1 : 0);
        setCell(a + "HYSTER.IN", c.hyster);
        settle(c.channel, c.on);
        // The condition stands already; putting the level in use starts its
        // delay (2 s): the timer gains 0.02 after each compare, so the alarm
        // sets in the 102nd pass.
        setCell(a + c.use + ".IN", 1);
        runPasses(R20, 101);
        EXPECT_EQ(boolean(a + c.output), 0u);
        runPasses(R20, 1);
        EXPECT_EQ(boolean(a + c.output), 1u);
        // Inside the deadband the condition holds: the reset is ignored.
        settle(c.channel, c.deadband);
        reset();
        EXPECT_EQ(boolean(a + c.output), 1u);
        // Beyond it the alarm stays latched until the reset.
        settle(c.channel, c.off);
        EXPECT_EQ(boolean(a + c.output), 1u);
        reset();
        EXPECT_EQ(boolean(a + c.output), 0u);
        // A value inside the deadband coming from the clear side sets nothing.
        settle(c.channel, c.deadband);
        runPasses(R20, 120);
        EXPECT_EQ(boolean(a + c.output), 0u);
        setCell(a + c.use + ".IN", 0);
    }
    // With no delay a level sets in the very pass its condition first
    // stands with the level in use.
    const std::string a = alarms(0) + ".";
    setCell(a + "ALM_DLY.IN", 0.0);
    setCell(a + "INVERT_LVL1.IN", 0);
    settle(0, 60.5);
    EXPECT_EQ(boolean(a + "ALARM_LVL1.B_NAME"), 0u);
    setCell(a + "USE_SP1.IN", 1);
    runPasses(R20, 1);
    EXPECT_EQ(boolean(a + "ALARM_LVL1.B_NAME"), 1u);
}

// Both levels of every channel run on that channel's own value, in the
// slice that holds it: each channel alone above both setpoints.
TEST_F(AlarmLevels, EveryChannelRunsBothLevels) {
    start();
    setCell("MPU.TURB_SPD.A_NAME", 1000.0);
    for (int k = 0; k < 12; ++k) {
        configure(k, 3, 0.0, 100.0);
        const std::string a = alarms(k) + ".";
        setCell(a + "ALM_DLY.IN", 0.0);
        setCell(a + "USE_SP1.IN", 1);
        setCell(a + "USE_SP2.IN", 1);
        setValue(k, 20.0);
    }
    runPasses(R20, 10);
    for (int k = 0; k < 12; ++k) {
        settle(k, 80.0);
        for (int j = 0; j < 12; ++j) {
            const std::string a = alarms(j) + ".";
            EXPECT_EQ(boolean(a + "ALARM_LVL1.B_NAME"), j == k ? 1u : 0u) << "channel " << k << " at 80, " << j;
            EXPECT_EQ(boolean(a + "ALARM_LVL2.B_NAME"), j == k ? 1u : 0u) << "channel " << k << " at 80, " << j;
        }
        settle(k, 20.0);
        reset();
    }
}

TEST_F(AlarmLevels, TripSelectionRoutesLevelTwoToTheTripOnly) {
    prepare(0);
    setCell("_ub1.ALM_DLY.IN", 0.0);
    setCell("_ub1.USE_SP2.IN", 1);
    settle(0, 80.0);
    EXPECT_EQ(boolean("_ub1.ALARM_LVL2.B_NAME"), 1u);
    EXPECT_EQ(boolean("_ub1.TRIP_LVL2.B_NAME"), 0u);
    EXPECT_EQ(boolean("_ub1.LVL2_ALM.HORN"), 1u);
    setCell("_ub1.TRIP_SP2.IN", 1);
    runPasses(R20, 1);
    EXPECT_EQ(boolean("_ub1.ALARM_LVL2.B_NAME"), 0u);
    EXPECT_EQ(boolean("_ub1.TRIP_LVL2.B_NAME"), 1u);
    // Level 1 is not in use: nothing there.
    EXPECT_EQ(boolean("_ub1.ALARM_LVL1.B_NAME"), 0u);
}

TEST_F(AlarmLevels, BelowTheArmingSpeedBothLevelsAreOverriddenAndResettable) {
    prepare(1);
    setCell("_ub2.ALM_DLY.IN", 0.0);
    setCell("_ub2.USE_SP1.IN", 1);
    setCell("_ub2.SPEED_ENA.IN", 3000);
    settle(1, 90.0);
    EXPECT_EQ(boolean("_ub2.ALARM_LVL1.B_NAME"), 0u);
    // Inside the arming deadband the arming stays off.
    setCell("MPU.TURB_SPD.A_NAME", 2995.0);
    runPasses(R20, 4);
    EXPECT_EQ(boolean("_ub2.ALARM_LVL1.B_NAME"), 0u);
    setCell("MPU.TURB_SPD.A_NAME", 3000.0);
    runPasses(R20, 2);
    EXPECT_EQ(boolean("_ub2.ALARM_LVL1.B_NAME"), 1u);
    // Armed until the speed falls more than 10 below the arming speed.
    setCell("MPU.TURB_SPD.A_NAME", 2991.0);
    reset();
    EXPECT_EQ(boolean("_ub2.ALARM_LVL1.B_NAME"), 1u);
    setCell("MPU.TURB_SPD.A_NAME", 2989.0);
    reset();
    EXPECT_EQ(boolean("_ub2.ALARM_LVL1.B_NAME"), 0u);
    EXPECT_EQ(boolean("_ub2.SPDENA.A_COMPARE"), 0u);
}

TEST_F(AlarmLevels, SignalFailureDisarmsTheLevelsAndGivesItsTripAtOnce) {
    prepare(2);
    setCell("_ub3.ALM_DLY.IN", 0.0);
    setCell("_ub3.USE_SP1.IN", 1);
    setCell("_ub3.SIGFLT_TRIP.IN", 1);
    setCell("CNFG_AI.AI_03_LATDLY.IN", 0.0);
    settle(2, 65.0);
    ASSERT_EQ(boolean("_ub3.ALARM_LVL1.B_NAME"), 1u);
    EXPECT_EQ(boolean("_ub3.AND.AND"), 0u);
    board::setAnalogInputOpen(2, true);
    runPasses(R20, 1);
    EXPECT_EQ(boolean("_ub3.AND.AND"), 1u);
    EXPECT_EQ(boolean("_ub3.OVRD1.NAND"), 1u);
    // Disarmed: the latched level clears on the reset though the value is
    // still beyond the setpoint as far as the alarm last saw it.
    reset();
    EXPECT_EQ(boolean("_ub3.ALARM_LVL1.B_NAME"), 0u);
    board::setAnalogInputOpen(2, false);
    settle(2, 65.0);
    reset();
    EXPECT_EQ(boolean("_ub3.AND.AND"), 0u);
    EXPECT_EQ(boolean("_ub3.ALARM_LVL1.B_NAME"), 1u);
}

TEST_F(AlarmLevels, PermissiveIsMetAfterItsDelayAndHeldOffByAFailedSignal) {
    prepare(3);
    // Not in use: met one delay (1 s) after start, long since.
    EXPECT_EQ(boolean("_ub4.PERM_NOT_MET.B_NAME"), 0u);
    setCell("_ub4.USE_PERM.IN", 1);
    setCell("_ub4.PERM_SP.IN", 50.0);
    settle(3, 40.0);
    EXPECT_EQ(boolean("_ub4.PERM_NOT_MET.B_NAME"), 1u);
    EXPECT_EQ(integer("_ub4.PERM_MET_DELAY.R_TIME"), 0);
    setCell("_ub4.PERM_MET_DELAY.DLY_TIME", 3.0);
    runPasses(R20, 1);
    EXPECT_EQ(integer("_ub4.PERM_MET_DELAY.R_TIME"), 0);
    setCell("_ub4.PERM_MET_DELAY.DLY_TIME", 1.0);
    setValue(3, 60.0);
    runPasses(R20, 2);  // the filter crosses the setpoint in its second pass
    // 0.98 s left shows 0: whole seconds, truncated.
    EXPECT_EQ(integer("_ub4.PERM_MET_DELAY.R_TIME"), 0);
    // Met in the 52nd pass with the condition.
    runPasses(R20, 50);
    EXPECT_EQ(boolean("_ub4.PERM_NOT_MET.B_NAME"), 1u);
    runPasses(R20, 1);
    EXPECT_EQ(boolean("_ub4.PERM_NOT_MET.B_NAME"), 0u);
    EXPECT_EQ(integer("_ub4.PERM_MET_DELAY.R_TIME"), 0);
    // A failed signal holds it not met.
    setCell("CNFG_AI.AI_04_LATDLY.IN", 0.0);
    board::setAnalogInputOpen(3, true);
    runPasses(R20, 1);
    EXPECT_EQ(boolean("_ub4.PERM_NOT_MET.B_NAME"), 1u);
    // Inverted: met while the value is low.
    board::setAnalogInputOpen(3, false);
    reset();
    setCell("_ub4.INVERT_PERM.IN", 1);
    setCell("_ub4.PERM_MET_DELAY.DLY_TIME", 3.0);
    settle(3, 40.0);
    EXPECT_EQ(boolean("_ub4.PERM_NOT_MET.B_NAME"), 1u);
    EXPECT_EQ(integer("_ub4.PERM_MET_DELAY.R_TIME"), 2);
    runPasses(R20, 150);
    EXPECT_EQ(boolean("_ub4.PERM_NOT_MET.B_NAME"), 0u);
}

TEST_F(AlarmLevels, ValueThatIsNotANumberLeavesEveryCompareAsItWas) {
    prepare(4);
    setCell("MPU.TURB_SPD.A_NAME", 1000.0);
    setCell("_ub25.ALM_DLY.IN", 0.0);
    setCell("_ub25.USE_SP1.IN", 1);
    settle(4, 65.0);
    ASSERT_EQ(boolean("_ub25.ALM_LVL1.A_COMPARE"), 1u);
    setCell("_ub25.ALM_SP1.IN", std::nan(""));
    runPasses(R20, 3);
    EXPECT_EQ(boolean("_ub25.ALM_LVL1.A_COMPARE"), 1u);
    EXPECT_EQ(boolean("_ub25.ALM_LVL1.A_EQUAL"), 0u);
    settle(4, 10.0);
    EXPECT_EQ(boolean("_ub25.ALM_LVL1.A_COMPARE"), 1u);
    EXPECT_EQ(boolean("_ub25.ALARM_LVL1.B_NAME"), 1u);
}

// The RTD node's event blocks: the same template in the 80 ms group, each
// instance on the value and fault its RTD channel passes in.
void rtdPass() {
    for (int k = 0; k < kRtdAlarmInstances; ++k) {
        const float value = 40.0f + 10.0f * static_cast<float>(k);
        r80::AI_ALARM_LEVELS_rtd(k, value, k == 7 ? 1u : 0u, false);
    }
}

TEST_F(AlarmLevels, RtdEventBlocksRunInTheEightyMillisecondGroup) {
    useSlices(R80, {rtdPass});
    start();
    setCell("MPU.TURB_SPD.A_NAME", 1000.0);
    for (int k = 0; k < kRtdAlarmInstances; ++k) {
        const std::string m = "_ub" + std::to_string(51 + k) + ".";
        setCell(m + "USE_SP1.IN", 1);
        setCell(m + "SIGFLT_TRIP.IN", 1);
    }
    // Arming takes the speed from the 10 ms group at the next 80 ms frame;
    // the delay is 2 s at 0.08 s a pass.
    runPasses(R80, 2);
    for (int k = 0; k < kRtdAlarmInstances; ++k) {
        const std::string m = "_ub" + std::to_string(51 + k) + ".";
        EXPECT_EQ(real(m + "PV_VAL.A_NAME"), 40.0f + 10.0f * static_cast<float>(k)) << k;
        EXPECT_EQ(text(m + "MSG.LIST_1"), "VL3_RTD_" + std::to_string(k + 1) + " Event1 Message") << k;
        EXPECT_EQ(boolean(m + "ALARM_LVL1.B_NAME"), 0u) << k;
    }
    runPasses(R80, 26);
    for (int k = 0; k < kRtdAlarmInstances; ++k) {
        const std::string m = "_ub" + std::to_string(51 + k) + ".";
        // Above the 60 setpoint from instance 2 on; instance 7 has a failed signal.
        EXPECT_EQ(boolean(m + "ALARM_LVL1.B_NAME"), k >= 2 && k != 7 ? 1u : 0u) << k;
        EXPECT_EQ(boolean(m + "AND.AND"), k == 7 ? 1u : 0u) << k;
    }
}

TEST_F(AlarmLevels, RemoteInstancesArmAtTheirDefaultSpeedAndCarryTheirTexts) {
    prepare(11);
    EXPECT_EQ(integer("_ub32.SPEED_ENA.I_NAME"), 100);
    EXPECT_EQ(text("_ub32.MSG.LIST_1"), "VL1_AI_8 Event1 Message");
    EXPECT_EQ(text("_ub1.MSG.LIST_2"), "AI 1 ALM2");
    EXPECT_EQ(real("_ub32.ALM_SP2.A_NAME"), 70.0f);
    setCell("_ub32.ALM_DLY.IN", 0.0);
    setCell("_ub32.USE_SP1.IN", 1);
    settle(11, 95.0);
    EXPECT_EQ(boolean("_ub32.ALARM_LVL1.B_NAME"), 0u);
    setCell("MPU.TURB_SPD.A_NAME", 100.0);
    runPasses(R20, 2);
    EXPECT_EQ(boolean("_ub32.ALARM_LVL1.B_NAME"), 1u);
}

}  // namespace
}  // namespace ai_test
