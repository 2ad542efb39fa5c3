// The 160 ms operator pieces through real passes: the lamp test and alarm
// LED, the master commands' pulses, the function-key blink rhythm and the
// calibration permissive.
#include <cmath>
#include <string>
#include <vector>

#include "tests/interface/operator_rig.h"

namespace op_test {
namespace {

class MasterCommands : public OperatorRig {};

TEST_F(MasterCommands, LampTestLightsTheAlarmLedForFiveSecondsAndASecondWriteRestartsIt) {
    start();
    runPasses(R160, 2);
    EXPECT_EQ(boolean("ALARMS.ALARM_LED.B_NAME"), 0u);
    serviceWrite("ALARMS.LED_TEST.IN_1", 1);
    std::vector<uint32_t> led;
    for (int p = 0; p < 40; ++p) {
        runPasses(R160, 1);
        led.push_back(boolean("ALARMS.ALARM_LED.B_NAME"));
        EXPECT_EQ(boolean("ALARMS.LED_TST.B_SW"), led.back());
        if (p == 19) serviceWrite("ALARMS.LED_TEST.IN_1", 1);  // 3.2 s into the test
    }
    // 5.0 s are 32 passes of 0.16 s (the single-precision sum reaches 5.0
    // one pass late); restarted after 20 passes: 20 + 32 passes lit.
    int lit = 0;
    for (uint32_t v : led) lit += static_cast<int>(v);
    EXPECT_EQ(lit, 40);
    EXPECT_EQ(led.front(), 1u);
    runPasses(R160, 14);
    EXPECT_EQ(boolean("ALARMS.ALARM_LED.B_NAME"), 0u);
    EXPECT_EQ(boolean("ALARMS.LED_TEST.IN_1"), 0u);
    EXPECT_EQ(boolean("ALARMS.LED_TEST.OUT_1"), 0u);
}

TEST_F(MasterCommands, TheLampTestLastsItsTimeExactly) {
    start();
    serviceWrite("ALARMS.LED_TEST.IN_1", 1);
    int lit = 0;
    for (int p = 0; p < 40; ++p) {
        runPasses(R160, 1);
        lit += static_cast<int>(boolean("ALARMS.LED_TEST.OUT_1"));
    }
    EXPECT_NEAR(lit, 32, 1);
    EXPECT_EQ(boolean("ALARMS.LED_TEST.IN_1"), 0u);
}

TEST_F(MasterCommands, TheAlarmLedFollowsTheAlarmBlinkAndAnInputNoServiceWriteStartedIsOver) {
    start();
    setCell("ALARMS.BLINK.B_SW", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("ALARMS.TO_LED.OR"), 1u);
    EXPECT_EQ(boolean("ALARMS.ALARM_LED.B_NAME"), 1u);
    setCell("ALARMS.BLINK.B_SW", 0);
    // Set without the service hook: the input's time is over from the start.
    setCell("ALARMS.LED_TEST.IN_1", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("ALARMS.ALARM_LED.B_NAME"), 0u);
    EXPECT_EQ(boolean("ALARMS.LED_TEST.IN_1"), 0u);
}

TEST_F(MasterCommands, EachCommandGivesAOneSecondPulseAndAWrittenZeroEndsIt) {
    start();
    for (int n = 1; n <= 6; ++n) {
        const std::string in = "MASTER.COMMANDS.IN_" + std::to_string(n);
        const std::string out = "MASTER.COMMANDS.OUT_" + std::to_string(n);
        serviceWrite(in, 1);
        int pulse = 0;
        for (int p = 0; p < 12; ++p) {
            runPasses(R160, 1);
            pulse += static_cast<int>(boolean(out));
            for (int other = 1; other <= 6; ++other) {
                if (other != n) {
                    EXPECT_EQ(boolean("MASTER.COMMANDS.OUT_" + std::to_string(other)), 0u) << n;
                }
            }
        }
        EXPECT_EQ(pulse, 7) << out;  // 1.0 s: 7 passes of 0.16 s
        EXPECT_EQ(boolean(in), 0u) << in;
    }
    serviceWrite("MASTER.COMMANDS.IN_4", 1);
    runPasses(R160, 2);
    ASSERT_EQ(boolean("MASTER.COMMANDS.OUT_4"), 1u);
    EXPECT_EQ(boolean("CALMODE.ENTER_CAL_PLS.B_NAME"), 1u);
    serviceWrite("MASTER.COMMANDS.IN_4", 0);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("MASTER.COMMANDS.OUT_4"), 0u);
    EXPECT_EQ(boolean("CALMODE.ENTER_CAL_PLS.B_NAME"), 0u);
    serviceWrite("MASTER.COMMANDS.IN_5", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("CALMODE.EXIT_CAL_PLS.B_NAME"), 1u);
}

TEST_F(MasterCommands, BlinkRhythmIsThreePassesOnAndFiveOff) {
    start();
    std::vector<uint32_t> seq;
    for (int p = 0; p < 40; ++p) {
        runPasses(R160, 1);
        seq.push_back(boolean("F_KEY.BLINK_OFF.ONE_SHOT"));
    }
    // Find a rising edge and measure the following on and off phases.
    size_t k = 1;
    while (k < seq.size() && !(seq[k] == 1 && seq[k - 1] == 0)) ++k;
    ASSERT_LT(k + 16, seq.size());
    size_t on = 0, off = 0;
    while (seq[k + on] == 1) ++on;
    while (seq[k + on + off] == 0) ++off;
    // 0.4 s pulse: 3 passes to reach it, plus the pass that sees it reached
    // only after the unit delay; 0.5 s on-delay: 4 passes, then the delay.
    EXPECT_EQ(on, 3u);
    EXPECT_EQ(off, 5u);
    EXPECT_EQ(boolean("F_KEY.N_BLINK.NOT"), boolean("F_KEY.Z1.ZMINUS1_B") ? 0u : 1u);
}

struct LowSpeedCase {
    const char* name;
    double speed;     // rpm, the lower low-speed setpoint being 200
    uint32_t check;   // LO_CHECK after the step
};

TEST_F(MasterCommands, LowSpeedCheckHasFiveRpmHysteresisAboveTheLowerSetpoint) {
    start();
    setCell("CNFG_SPEED.SPD1_LOW_SP.A_NAME", 250);
    setCell("CNFG_SPEED.SPD2_LOW_SP.A_NAME", 200);
    const LowSpeedCase steps[] = {
        {"standstill", 0, 1},      {"at_the_setpoint", 200, 1}, {"three_above", 203, 1},
        {"five_above", 205, 1},    {"just_over_five", 205.5, 0}, {"back_at_three", 203, 0},
        {"at_the_setpoint_again", 200, 1},
    };
    for (const auto& s : steps) {
        setCell("MPU.TURB_SPD.A_NAME", s.speed);
        runPasses(R160, 1);
        EXPECT_EQ(real("CALMODE.MIN_SPEED.A_MIN"), 200.0f);
        EXPECT_EQ(boolean("CALMODE.LO_CHECK.A_COMPARE"), s.check) << s.name;
        EXPECT_EQ(boolean("CALMODE.LO_CHECK.A_EQUAL"), s.speed == 200 ? 1u : 0u) << s.name;
    }
    // A speed that is no number leaves the check as it was.
    setCell("MPU.TURB_SPD.A_NAME", std::nan(""));
    runPasses(R160, 1);
    EXPECT_EQ(boolean("CALMODE.LO_CHECK.A_COMPARE"), 1u);
    // The first setpoint is used when it is the lower one.
    setCell("CNFG_SPEED.SPD1_LOW_SP.A_NAME", 150);
    runPasses(R160, 1);
    EXPECT_EQ(real("CALMODE.MIN_SPEED.A_MIN"), 150.0f);
}

TEST_F(MasterCommands, CalibrationIsPermittedOnlyWithTheUnitOffAndTheSpeedLowOrOverridden) {
    start();
    setCell("CNFG_SPEED.SPD1_LOW_SP.A_NAME", 200);
    setCell("CNFG_SPEED.SPD2_LOW_SP.A_NAME", 300);
    struct {
        uint32_t unit_off;
        double speed;
        uint32_t override_check, enable;
        uint32_t perm, enabl;
    } rows[] = {
        {1, 100, 0, 0, 1, 0}, {1, 100, 0, 1, 1, 1}, {0, 100, 0, 1, 0, 0},
        {1, 500, 0, 1, 0, 0}, {1, 500, 1, 1, 1, 1}, {0, 500, 1, 1, 0, 0},
    };
    for (const auto& r : rows) {
        setCell("CALMODE.UNIT_OFF.OR", r.unit_off);
        setCell("MPU.TURB_SPD.A_NAME", r.speed);
        setCell("CALMODE.LO_CHECK_TEST_OVRD.IN_2", r.override_check);
        setCell("CALMODE.CAL_ENABLE.IN_1", r.enable);
        runPasses(R160, 2);
        EXPECT_EQ(boolean("CALMODE.CAL_PERM.AND"), r.perm) << r.unit_off << " " << r.speed << " " << r.override_check;
        EXPECT_EQ(boolean("CALMODE.ENABL.AND"), r.enabl) << r.unit_off << " " << r.speed << " " << r.enable;
    }
    // The enter command enables calibration without the setting.
    setCell("CALMODE.UNIT_OFF.OR", 1);
    setCell("MPU.TURB_SPD.A_NAME", 0);
    setCell("CALMODE.CAL_ENABLE.IN_1", 0);
    serviceWrite("MASTER.COMMANDS.IN_4", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("CALMODE.CAL_ENABLE.OR"), 1u);
    EXPECT_EQ(boolean("CALMODE.ENABL.AND"), 1u);
}

}  // namespace
}  // namespace op_test
