// The 160 ms operator pieces on the whole program (its own slice table),
// driven only through its inputs: the lamp test and alarm LED, the master
// commands' pulses, the function-key blink rhythm and the calibration
// permissive, with commands and settings from the service tool, contacts on
// the board and the shaft held on the turbine model. The cases no input
// reaches stay on the slices (at the end).
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tests/interface/operator_rig.h"
#include "tests/interface/program_cases_rig.h"

namespace op_test {
namespace {

class MasterCommands : public pc_test::ProgramCases {
protected:
    // The lower of the two low-speed setpoints entered for the calibration
    // scenario.
    static constexpr double kLowSetpoint = 200.0;
    // The shaft held at `rpm` and 160 ms passes until the speed the 160 ms
    // group reads has settled there; the speed it reads.
    float holdSpeed(double rpm) {
        holdShaftAt(rpm);
        float last = -1.0f;
        for (int k = 0; k < 40; ++k) {
            runPasses(R160, 1);
            const float now = real("MPU.TURB_SPD.A_NAME");
            if (now == last && k > 4) break;
            last = now;
        }
        runPasses(R160, 1);
        return real("MPU.TURB_SPD.A_NAME");
    }
};

TEST_F(MasterCommands, LampTestLightsTheAlarmLedForFiveSecondsAndASecondWriteRestartsIt) {
    startPastPowerUp();
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
    startPastPowerUp();
    serviceWrite("ALARMS.LED_TEST.IN_1", 1);
    int lit = 0;
    for (int p = 0; p < 40; ++p) {
        runPasses(R160, 1);
        lit += static_cast<int>(boolean("ALARMS.LED_TEST.OUT_1"));
    }
    EXPECT_NEAR(lit, 32, 1);
    EXPECT_EQ(boolean("ALARMS.LED_TEST.IN_1"), 0u);
}

// The alarm of an external alarm contact (the spare contact given that
// function), raised, then cleared and reset: every 40 ms pass in which the
// alarm blink has stood for the last 320 ms (two 160 ms frames, so that the
// 160 ms group has seen it), the alarm LED shows it.
TEST_F(MasterCommands, TheAlarmLedFollowsTheAlarmBlink) {
    startPastPowerUp({{"_ub19.FUNCT.IN", 19}});
    runPasses(R160, 2);
    EXPECT_EQ(boolean("ALARMS.ALARM_LED.B_NAME"), 0u);
    contact(ref_test::kSpareContact, true);
    std::vector<uint32_t> blink;
    int shown[2] = {0, 0};
    for (int k = 0; k < 400; ++k) {
        if (k == 200) contact(ref_test::kSpareContact, false);
        if (k == 250) contact(ref_test::kResetContact, true);
        if (k == 270) contact(ref_test::kResetContact, false);
        runPasses(R40, 1);
        blink.push_back(boolean("ALARMS.BLINK.B_SW"));
        EXPECT_EQ(boolean("ALARMS.ALARM_LED.B_NAME"), boolean("ALARMS.TO_LED.OR")) << k;
        if (blink.size() < 8) continue;
        if (std::count(blink.end() - 8, blink.end(), blink.back()) != 8) continue;
        EXPECT_EQ(boolean("ALARMS.ALARM_LED.B_NAME"), blink.back()) << k;
        ++shown[blink.back()];
    }
    EXPECT_GT(shown[0], 0);
    EXPECT_GT(shown[1], 0);
    EXPECT_EQ(blink.back(), 0u);
    EXPECT_EQ(boolean("ALARMS.ALARM_LED.B_NAME"), 0u);
}

// Each master command from the service tool gives a one-second pulse of its
// own output alone, and a written 0 ends it. The unit stands ready, so
// neither configure nor calibration mode is permitted.
TEST_F(MasterCommands, EachCommandGivesAOneSecondPulseAndAWrittenZeroEndsIt) {
    startPastPowerUp();
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
    EXPECT_EQ(boolean("MASTER.IO_LOCK_OR_PWR.B_NAME"), 0u);
    EXPECT_EQ(boolean("CALMODE.CALMODE.B_NAME"), 0u);
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
    startPastPowerUp();
    std::vector<uint32_t> seq;
    // The pulse's enable is the unit delay's value of the pass before.
    uint32_t delayed = boolean("F_KEY.Z1.ZMINUS1_B");
    for (int p = 0; p < 40; ++p) {
        runPasses(R160, 1);
        seq.push_back(boolean("F_KEY.BLINK_OFF.ONE_SHOT"));
        EXPECT_EQ(boolean("F_KEY.N_BLINK.NOT"), 1u - delayed) << p;
        delayed = boolean("F_KEY.Z1.ZMINUS1_B");
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
}

struct LowSpeedCase {
    const char* name;
    double rpm;       // the shaft, the lower low-speed setpoint being 1000
    uint32_t check;   // LO_CHECK once the speed is read
};

// The shaft held on the turbine model at speeds around the lower of the
// two low-speed setpoints (entered from the service tool while the
// controller powers up): the check holds up to 5 rpm above it, drops just
// over that and comes back only at the setpoint. The setpoints lie well
// above the sensors' measurable minimum, so that the speed reads the shaft
// (at standstill 0, at the setpoint exactly, elsewhere within a hundredth
// of an rpm: the exact edge 5 rpm above stays on the slices below).
// Whichever setpoint is the lower one is used.
TEST_F(MasterCommands, LowSpeedCheckHasFiveRpmHysteresisAboveTheLowerSetpoint) {
    startPastPowerUp({{"CNFG_SPEED.SPD1_LOW_SP.IN", 1250.0}, {"CNFG_SPEED.SPD2_LOW_SP.IN", 1000.0}});
    const LowSpeedCase steps[] = {
        {"standstill", 0, 1},       {"at_the_setpoint", 1000, 1}, {"three_above", 1003, 1},
        {"just_under_five_above", 1004.9, 1}, {"just_over_five", 1005.5, 0}, {"back_at_three", 1003, 0},
        {"at_the_setpoint_again", 1000, 1},
    };
    for (const auto& s : steps) {
        const float speed = holdSpeed(s.rpm);
        if (s.rpm == 0 || s.rpm == 1000) {
            EXPECT_EQ(speed, static_cast<float>(s.rpm)) << s.name;
        }
        EXPECT_NEAR(speed, s.rpm, 0.02) << s.name;
        EXPECT_EQ(real("CALMODE.MIN_SPEED.A_MIN"), 1000.0f);
        EXPECT_EQ(boolean("CALMODE.LO_CHECK.A_COMPARE"), s.check) << s.name;
        EXPECT_EQ(boolean("CALMODE.LO_CHECK.A_EQUAL"), s.rpm == 1000 ? 1u : 0u) << s.name;
    }
    holdSpeed(0.0);
    stopApp();
    // The first setpoint is used when it is the lower one.
    startPastPowerUp({{"CNFG_SPEED.SPD1_LOW_SP.IN", 150.0}, {"CNFG_SPEED.SPD2_LOW_SP.IN", 250.0}});
    runPasses(R160, 1);
    EXPECT_EQ(real("CALMODE.MIN_SPEED.A_MIN"), 150.0f);
}

// Calibration is permitted only with the unit off (its setting, the unit
// otherwise ready) and the speed low or its check overridden; enabled with
// the permission and the setting or the enter command. Between rows the
// calibration mode an enable entered (itself a trip) is left by the exit
// command and the trips reset.
TEST_F(MasterCommands, CalibrationIsPermittedOnlyWithTheUnitOffAndTheSpeedLowOrOverridden) {
    startPastPowerUp({{"CNFG_SPEED.SPD1_LOW_SP.IN", kLowSetpoint}, {"CNFG_SPEED.SPD2_LOW_SP.IN", 300.0}});
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
        // Calibration left, the trips reset.
        serviceWrite("CALMODE.CAL_ENABLE.IN_1", 0);
        pulse("MASTER.COMMANDS.IN_5", R160);
        runPasses(R160, 8);
        reset();
        ASSERT_EQ(boolean("CALMODE.CALMODE.B_NAME"), 0u);
        serviceWrite("CALMODE.UNIT_OFF.IN_1", r.unit_off);
        holdSpeed(r.speed);
        serviceWrite("CALMODE.LO_CHECK_TEST_OVRD.IN_2", r.override_check);
        serviceWrite("CALMODE.CAL_ENABLE.IN_1", r.enable);
        runPasses(R160, 2);
        EXPECT_EQ(boolean("CALMODE.UNIT_OFF.OR"), r.unit_off) << r.unit_off << " " << r.speed;
        EXPECT_EQ(boolean("CALMODE.CAL_PERM.AND"), r.perm) << r.unit_off << " " << r.speed << " " << r.override_check;
        EXPECT_EQ(boolean("CALMODE.ENABL.AND"), r.enabl) << r.unit_off << " " << r.speed << " " << r.enable;
    }
    // The enter command enables calibration without the setting.
    serviceWrite("CALMODE.CAL_ENABLE.IN_1", 0);
    serviceWrite("CALMODE.LO_CHECK_TEST_OVRD.IN_2", 0);
    serviceWrite("CALMODE.UNIT_OFF.IN_1", 1);
    holdSpeed(0.0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("CALMODE.ENABL.AND"), 0u);
    serviceWrite("MASTER.COMMANDS.IN_4", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("CALMODE.CAL_ENABLE.OR"), 1u);
    EXPECT_EQ(boolean("CALMODE.ENABL.AND"), 1u);
    EXPECT_EQ(boolean("CALMODE.CALMODE.B_NAME"), 1u);
}

// ---- on the slices --------------------------------------------------------------

// Kept on the slices: the service write path starts the lamp test's time
// with every write of its input, so no input of the program sets the input
// without its time; only the slices show that such an input is over at once.
class MasterCommandSlices : public OperatorRig {};

TEST_F(MasterCommandSlices, ALampTestInputNoServiceWriteStartedIsOver) {
    start();
    setCell("ALARMS.LED_TEST.IN_1", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("ALARMS.ALARM_LED.B_NAME"), 0u);
    EXPECT_EQ(boolean("ALARMS.LED_TEST.IN_1"), 0u);
}

// Kept on the slices: the measured speed is never a value that is not a
// number (which leaves the check as it was), nor exactly 5 rpm above the
// setpoint, where the check keeps its state.
TEST_F(MasterCommandSlices, TheLowSpeedCheckAtItsExactEdgeAndASpeedThatIsNoNumber) {
    start();
    setCell("CNFG_SPEED.SPD1_LOW_SP.A_NAME", 250);
    setCell("CNFG_SPEED.SPD2_LOW_SP.A_NAME", 200);
    const LowSpeedCase steps[] = {
        {"at_the_setpoint", 200, 1}, {"five_above", 205, 1}, {"just_over_five", 205.5, 0},
        {"five_above_again", 205, 0}, {"at_the_setpoint_again", 200, 1},
    };
    for (const auto& s : steps) {
        setCell("MPU.TURB_SPD.A_NAME", s.rpm);
        runPasses(R160, 1);
        EXPECT_EQ(boolean("CALMODE.LO_CHECK.A_COMPARE"), s.check) << s.name;
        EXPECT_EQ(boolean("CALMODE.LO_CHECK.A_EQUAL"), s.rpm == 200 ? 1u : 0u) << s.name;
    }
    setCell("MPU.TURB_SPD.A_NAME", std::nan(""));
    runPasses(R160, 1);
    EXPECT_EQ(boolean("CALMODE.LO_CHECK.A_COMPARE"), 1u);
    setCell("MPU.TURB_SPD.A_NAME", 500);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("CALMODE.LO_CHECK.A_COMPARE"), 0u);
    setCell("MPU.TURB_SPD.A_NAME", std::nan(""));
    runPasses(R160, 1);
    EXPECT_EQ(boolean("CALMODE.LO_CHECK.A_COMPARE"), 0u);
}

}  // namespace
}  // namespace op_test
