// Analog alarm levels on the whole program (its own slice table), driven
// only through its inputs: the controller's analog inputs on the board's
// current loops, the remote analog node's and the RTD node's channels as
// simulated nodes on the host CAN bus send them, the shaft speed on the
// turbine model, settings as the tunables file gives them at start and as
// the service tool writes them afterwards, and the service tool's reset.
// Each level's direction, deadband, delay, latching and reset; the level-2
// trip; speed arming; the signal-failed trip and the start permissive; the
// RTD node's event blocks in the 80 ms group. A setpoint that is not a
// number stays on the channel slices alone.
#include <cmath>
#include <string>

#include "app/analog/AI_ALARM_LEVELS.cells.h"
#include "host/analog_inputs.h"
#include "host/board.h"
#include "host/speed_sensor_model.h"
#include "host/turbine_model.h"
#include "tests/analog_inputs/analog_rig.h"
#include "tests/remote_alarms/node_rig.h"

namespace ai_test {
namespace {

// ---- on the whole program ---------------------------------------------------------------

class AlarmLevelsProgram : public ra_node::NodeRig {
protected:
    void SetUp() override {
        NodeRig::SetUp();
        turbine::reset();
        speedsensor::install();
    }
    void TearDown() override {
        NodeRig::TearDown();
        turbine::reset();
    }
    // Every channel (the four controller inputs and the remote analog
    // node's eight) carrying signal monitoring (function 13, nothing else
    // reads it) on 0 .. 100, the analog node on the bus, the shaft held at
    // `rpm`, every input at 50; `extra` settings as the tunables file gives
    // them. Started, the nodes up, the latches of the start reset.
    void startAll(double rpm = 1000.0, const std::vector<std::pair<std::string, double>>& extra = {}) {
        withAnalogNode();
        for (int k = 0; k < 12; ++k) setting(channel(k) + ".FUNCT.IN", 13);
        for (const auto& [name, v] : extra) setting(name, v);
        for (int k = 0; k < 12; ++k) setValue(k, 50.0);
        speed(rpm);
        start();
        feed20(10);
        reset();
    }
    // The shaft held at `rpm` on the turbine model.
    static void speed(double rpm) {
        turbine::setSpeedRpm(rpm);
        turbine::enable();
        turbine::disable();
    }
    // The shaft held at `rpm` and 20 ms passes until alarm instance k's
    // speed reads it.
    void speedRead(int k, double rpm) {
        speed(rpm);
        const std::string tspeed = alarms(k) + ".TSPEED.A_NAME";
        for (int p = 0; p < 3000 && real(tspeed) != static_cast<float>(rpm); ++p) feed20(1);
        ASSERT_EQ(real(tspeed), static_cast<float>(rpm));
    }
    void tune(const std::string& name, double v) { serviceWrite(name, v); }
    // The current of channel k: the board's loop for a controller input,
    // the analog node's word for a remote one.
    void setMa(int k, double mA) {
        if (k < 4) board::setAnalogInputMa(k, mA);
        else analogWord(k - 3, ra_node::nodeMa(mA));
    }
    // The current that gives `value` on a range 0 .. 100.
    void setValue(int k, double value) { setMa(k, 4.0 + 0.16 * value); }
    void settle(int k, double value) {
        setValue(k, value);
        feed20(10);
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

TEST_F(AlarmLevelsProgram, EachLevelSetsAfterItsDelayHoldsInItsDeadbandAndClearsOnReset) {
    startAll();  // 1000 rpm: above every default arming speed
    for (const LevelCase& c : kLevels) {
        SCOPED_TRACE(c.name);
        const std::string a = alarms(c.channel) + ".";
        tune(a + c.invert + ".IN", c.inverted ? 1 : 0);
        tune(a + "HYSTER.IN", c.hyster);
        settle(c.channel, c.on);
        // The condition stands already; putting the level in use starts its
        // delay (2 s): the timer gains 0.02 after each compare, so the alarm
        // sets in the 102nd pass.
        tune(a + c.use + ".IN", 1);
        feed20(101);
        EXPECT_EQ(boolean(a + c.output), 0u);
        feed20(1);
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
        feed20(120);
        EXPECT_EQ(boolean(a + c.output), 0u);
        tune(a + c.use + ".IN", 0);
    }
    // With no delay a level sets in the very pass its condition first
    // stands with the level in use.
    const std::string a = alarms(0) + ".";
    tune(a + "ALM_DLY.IN", 0.0);
    tune(a + "INVERT_LVL1.IN", 0);
    settle(0, 60.5);
    EXPECT_EQ(boolean(a + "ALARM_LVL1.B_NAME"), 0u);
    tune(a + "USE_SP1.IN", 1);
    feed20(1);
    EXPECT_EQ(boolean(a + "ALARM_LVL1.B_NAME"), 1u);
}

// Both levels of every channel run on that channel's own value, in the
// slice that holds it: each channel alone above both setpoints.
TEST_F(AlarmLevelsProgram, EveryChannelRunsBothLevels) {
    std::vector<std::pair<std::string, double>> levels;
    for (int k = 0; k < 12; ++k) {
        const std::string a = alarms(k) + ".";
        levels.push_back({a + "ALM_DLY.IN", 0.0});
        levels.push_back({a + "USE_SP1.IN", 1});
        levels.push_back({a + "USE_SP2.IN", 1});
    }
    startAll(1000.0, levels);
    for (int k = 0; k < 12; ++k) setValue(k, 20.0);
    feed20(10);
    reset();
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

TEST_F(AlarmLevelsProgram, TripSelectionRoutesLevelTwoToTheTripOnly) {
    startAll(1000.0, {{"_ub1.ALM_DLY.IN", 0.0}, {"_ub1.USE_SP2.IN", 1}});
    settle(0, 80.0);
    EXPECT_EQ(boolean("_ub1.ALARM_LVL2.B_NAME"), 1u);
    EXPECT_EQ(boolean("_ub1.TRIP_LVL2.B_NAME"), 0u);
    EXPECT_EQ(boolean("_ub1.LVL2_ALM.HORN"), 1u);
    tune("_ub1.TRIP_SP2.IN", 1);
    feed20(1);
    EXPECT_EQ(boolean("_ub1.ALARM_LVL2.B_NAME"), 0u);
    EXPECT_EQ(boolean("_ub1.TRIP_LVL2.B_NAME"), 1u);
    // Level 1 is not in use: nothing there.
    EXPECT_EQ(boolean("_ub1.ALARM_LVL1.B_NAME"), 0u);
}

// The arming: on at or above the arming speed, off again more than 10 below
// it. The shaft held on the turbine model (at 1000 rpm the probes read it
// exactly), the arming speed entered from the service tool around it.
TEST_F(AlarmLevelsProgram, BelowTheArmingSpeedBothLevelsAreOverriddenAndResettable) {
    startAll(0.0, {{"_ub2.ALM_DLY.IN", 0.0}, {"_ub2.USE_SP1.IN", 1}, {"_ub2.SPEED_ENA.IN", 3000}});
    settle(1, 90.0);
    EXPECT_EQ(boolean("_ub2.ALARM_LVL1.B_NAME"), 0u);
    speedRead(1, 1000.0);
    EXPECT_EQ(boolean("_ub2.ALARM_LVL1.B_NAME"), 0u) << "far below the arming speed";
    // Inside the arming deadband the arming stays off.
    tune("_ub2.SPEED_ENA.IN", 1005);
    feed20(4);
    EXPECT_EQ(boolean("_ub2.ALARM_LVL1.B_NAME"), 0u);
    tune("_ub2.SPEED_ENA.IN", 1000);
    feed20(2);
    EXPECT_EQ(boolean("_ub2.ALARM_LVL1.B_NAME"), 1u);
    // Armed until the speed falls more than 10 below the arming speed.
    tune("_ub2.SPEED_ENA.IN", 1009);
    reset();
    EXPECT_EQ(boolean("_ub2.ALARM_LVL1.B_NAME"), 1u);
    tune("_ub2.SPEED_ENA.IN", 1011);
    reset();
    EXPECT_EQ(boolean("_ub2.ALARM_LVL1.B_NAME"), 0u);
    EXPECT_EQ(boolean("_ub2.SPDENA.A_COMPARE"), 0u);
}

TEST_F(AlarmLevelsProgram, SignalFailureDisarmsTheLevelsAndGivesItsTripAtOnce) {
    startAll(1000.0, {{"_ub3.ALM_DLY.IN", 0.0},
                      {"_ub3.USE_SP1.IN", 1},
                      {"_ub3.SIGFLT_TRIP.IN", 1},
                      {"CNFG_AI.AI_03_LATDLY.IN", 0.0}});
    settle(2, 65.0);
    ASSERT_EQ(boolean("_ub3.ALARM_LVL1.B_NAME"), 1u);
    EXPECT_EQ(boolean("_ub3.AND.AND"), 0u);
    board::setAnalogInputOpen(2, true);
    feed20(1);
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

TEST_F(AlarmLevelsProgram, PermissiveIsMetAfterItsDelayAndHeldOffByAFailedSignal) {
    startAll();
    // Not in use: met one delay (1 s) after start, long since.
    EXPECT_EQ(boolean("_ub4.PERM_NOT_MET.B_NAME"), 0u);
    tune("_ub4.USE_PERM.IN", 1);
    tune("_ub4.PERM_SP.IN", 50.0);
    settle(3, 40.0);
    EXPECT_EQ(boolean("_ub4.PERM_NOT_MET.B_NAME"), 1u);
    EXPECT_EQ(integer("_ub4.PERM_MET_DELAY.R_TIME"), 0);
    tune("_ub4.PERM_MET_DELAY.DLY_TIME", 3.0);
    feed20(1);
    EXPECT_EQ(integer("_ub4.PERM_MET_DELAY.R_TIME"), 0);
    tune("_ub4.PERM_MET_DELAY.DLY_TIME", 1.0);
    setValue(3, 60.0);
    feed20(2);  // the filter crosses the setpoint in its second pass
    // 0.98 s left shows 0: whole seconds, truncated.
    EXPECT_EQ(integer("_ub4.PERM_MET_DELAY.R_TIME"), 0);
    // Met in the 52nd pass with the condition.
    feed20(50);
    EXPECT_EQ(boolean("_ub4.PERM_NOT_MET.B_NAME"), 1u);
    feed20(1);
    EXPECT_EQ(boolean("_ub4.PERM_NOT_MET.B_NAME"), 0u);
    EXPECT_EQ(integer("_ub4.PERM_MET_DELAY.R_TIME"), 0);
    // A failed signal holds it not met.
    tune("CNFG_AI.AI_04_LATDLY.IN", 0.0);
    board::setAnalogInputOpen(3, true);
    feed20(1);
    EXPECT_EQ(boolean("_ub4.PERM_NOT_MET.B_NAME"), 1u);
    // Inverted: met while the value is low (the value at 60 while the
    // failure is reset).
    board::setAnalogInputOpen(3, false);
    tune("_ub4.INVERT_PERM.IN", 1);
    tune("_ub4.PERM_MET_DELAY.DLY_TIME", 3.0);
    reset();
    EXPECT_EQ(boolean("_ub4.PERM_NOT_MET.B_NAME"), 1u);
    settle(3, 40.0);
    EXPECT_EQ(boolean("_ub4.PERM_NOT_MET.B_NAME"), 1u);
    EXPECT_EQ(integer("_ub4.PERM_MET_DELAY.R_TIME"), 2);
    feed20(150);
    EXPECT_EQ(boolean("_ub4.PERM_NOT_MET.B_NAME"), 0u);
}

TEST_F(AlarmLevelsProgram, RemoteInstancesArmAtTheirDefaultSpeedAndCarryTheirTexts) {
    startAll(0.0, {{"_ub32.ALM_DLY.IN", 0.0}, {"_ub32.USE_SP1.IN", 1}});
    EXPECT_EQ(integer("_ub32.SPEED_ENA.I_NAME"), 100);
    EXPECT_EQ(text("_ub32.MSG.LIST_1"), "VL1_AI_8 Event1 Message");
    EXPECT_EQ(text("_ub1.MSG.LIST_2"), "AI 1 ALM2");
    EXPECT_EQ(real("_ub32.ALM_SP2.A_NAME"), 70.0f);
    settle(11, 95.0);
    EXPECT_EQ(boolean("_ub32.ALARM_LVL1.B_NAME"), 0u);
    speedRead(11, 1000.0);
    EXPECT_EQ(boolean("_ub32.ALARM_LVL1.B_NAME"), 1u);
}

// The RTD node's event blocks: the same template in the 80 ms group, each
// instance on the value and fault of its RTD channel (in degrees Celsius,
// 40 + 10 k for instance k), channel 8 with the node's fault bit.
TEST_F(AlarmLevelsProgram, RtdEventBlocksRunInTheEightyMillisecondGroup) {
    setting("CNFG_CAN2.USE_DEG_F.IN", 0);
    for (int k = 0; k < 8; ++k) {
        const std::string m = "_ub" + std::to_string(51 + k) + ".";
        setting("_ub" + std::to_string(43 + k) + ".FUNCT.IN", 2);
        setting(m + "SIGFLT_TRIP.IN", 1);
        word(k + 1, static_cast<uint16_t>((40 + 10 * k) * 16 | (k == 7 ? 0x8000 : 0)));
    }
    speed(1000.0);
    start();
    // Level 1 put in use from the service tool: its delay (2 s) runs from
    // here.
    for (int k = 0; k < 8; ++k) tune("_ub" + std::to_string(51 + k) + ".USE_SP1.IN", 1);
    feed(2);
    for (int k = 0; k < 8; ++k) {
        const std::string m = "_ub" + std::to_string(51 + k) + ".";
        if (k != 7) {
            EXPECT_EQ(real(m + "PV_VAL.A_NAME"), 40.0f + 10.0f * static_cast<float>(k)) << k;
        }
        EXPECT_EQ(text(m + "MSG.LIST_1"), "VL3_RTD_" + std::to_string(k + 1) + " Event1 Message") << k;
        EXPECT_EQ(boolean(m + "ALARM_LVL1.B_NAME"), 0u) << k;
    }
    // The delay is 2 s at 0.08 s a pass.
    feed(26);
    for (int k = 0; k < 8; ++k) {
        const std::string m = "_ub" + std::to_string(51 + k) + ".";
        // Above the 60 setpoint from instance 2 on; instance 7 has a failed signal.
        EXPECT_EQ(boolean(m + "ALARM_LVL1.B_NAME"), k >= 2 && k != 7 ? 1u : 0u) << k;
        EXPECT_EQ(boolean(m + "AND.AND"), k == 7 ? 1u : 0u) << k;
    }
}

// ---- on the channel slices alone ----------------------------------------------------------

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

// A setpoint that is not a number is outside every setpoint's range, which
// the service tool does not write: no input gives one.
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

}  // namespace
}  // namespace ai_test
