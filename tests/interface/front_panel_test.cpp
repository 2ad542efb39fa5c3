// The front panel through real passes against the board model: keys read
// from the keypad registers and stretched to the hold time, the keypad reset
// pulse, the trip key reaching the shutdown logic, the E-stop reset line,
// the backlight command and read-back, dimming, the alarm-LED source and the
// unit-temperature estimate.
#include <algorithm>
#include <vector>

#include "app/control/SD_LOGIC.cells.h"
#include "host/analog_inputs.h"
#include "host/board.h"
#include "tests/interface/iface_rig.h"

namespace iface_test {
namespace {

class FrontPanel : public IfaceRig {
protected:
    // A cell of the 160 ms group, as the 80 ms group sees it after the copy.
    void set160(const char* name, double value) {
        setCell(name, value);
        runPasses(R160, 1);
    }
    void key(int word, int bit, bool pressed) {
        hk::runTask([=] { board::setKey(word, bit, pressed); });
    }
    // The key's output over `passes` 80 ms passes, pressed for the first `held`.
    std::vector<uint32_t> press(const char* cell, int word, int bit, int held, int passes) {
        std::vector<uint32_t> seen;
        for (int k = 0; k < passes; ++k) {
            key(word, bit, k < held);
            runPasses(R80, 1);
            seen.push_back(boolean(cell));
        }
        return seen;
    }
};

TEST_F(FrontPanel, EveryKeyIsReadFromItsRegisterBit) {
    startApp();
    const struct {
        const char* key;
        int word, bit;
    } keys[] = {{"ALARM_VIEW", 0, 0}, {"TRIP_VIEW", 1, 0},  {"MODE", 1, 6},       {"SOFT_KEY_1", 0, 6},
                {"SOFT_KEY_2", 0, 1}, {"SOFT_KEY_3", 1, 8}, {"SOFT_KEY_4", 1, 3}, {"SCRN_L", 1, 4},
                {"SCRN_UP", 1, 1},    {"SCRN_R", 1, 2},     {"SCRN_DN", 0, 9},    {"ENTER", 1, 5},
                {"TRIP", 0, 7},       {"ESC", 0, 8},        {"HOME", 0, 10},      {"START", 2, 11},
                {"ADJ_UP", 2, 10},    {"ADJ_DN", 2, 5},     {"RESET", 2, 4},      {"ZERO", 2, 2},
                {"ONE", 0, 3},        {"TWO", 0, 4},        {"THREE", 0, 5},      {"FOUR", 1, 9},
                {"FIVE", 1, 10},      {"SIX", 1, 11},       {"SEVEN", 2, 9},      {"EIGHT", 2, 8},
                {"NINE", 2, 7},       {"DECIMAL_PT", 2, 3}, {"PLUS_MINUS", 2, 1}, {"BACK_SPACE", 0, 2},
                {"SHIFT", 2, 0},      {"BRIGHTNESS", 1, 7}};
    for (const auto& k : keys) {
        key(k.word, k.bit, true);
        runPasses(R80, 1);
        for (const auto& other : keys) {
            const std::string name = std::string("ORVEX12_IO.KEYPAD.") + other.key;
            EXPECT_EQ(boolean(name), &other == &k ? 1u : 0u) << k.key << " pressed, " << other.key;
        }
        key(k.word, k.bit, false);
        runPasses(R80, 4);
    }
}

TEST_F(FrontPanel, KeysLastAtLeastTheHoldTimeAndAsLongAsTheyAreHeld) {
    startApp();
    using V = std::vector<uint32_t>;
    // 100 ms: a one-pass press shows on that pass and the next.
    EXPECT_EQ(press("ORVEX12_IO.KEYPAD.ENTER", 1, 5, 1, 5), (V{1, 1, 0, 0, 0}));
    // Held for four passes: released on the first pass after release.
    EXPECT_EQ(press("ORVEX12_IO.KEYPAD.ENTER", 1, 5, 4, 7), (V{1, 1, 1, 1, 0, 0, 0}));
    // A 400 ms hold: five passes for a one-pass press.
    setCell("ORVEX12_IO.KEYPAD.HOLD_TIME", 400.0);
    EXPECT_EQ(press("ORVEX12_IO.KEYPAD.ENTER", 1, 5, 1, 8), (V{1, 1, 1, 1, 1, 1, 0, 0}));
    // A second press while still on does not restart the time.
    setCell("ORVEX12_IO.KEYPAD.HOLD_TIME", 100.0);
    std::vector<uint32_t> seen;
    for (int pressed : {1, 0, 1, 0, 0, 0}) {
        key(1, 5, pressed != 0);
        runPasses(R80, 1);
        seen.push_back(boolean("ORVEX12_IO.KEYPAD.ENTER"));
    }
    EXPECT_EQ(seen, (V{1, 1, 1, 0, 0, 0}));
    // The trip key is stretched the same way.
    EXPECT_EQ(press("ORVEX12_IO.KEYPAD.TRIP", 0, 7, 1, 4), (V{1, 1, 0, 0}));
    // Holding for 5 s keeps the key on for 5 s and one pass.
    const V held = press("ORVEX12_IO.KEYPAD.START", 2, 11, 63, 70);
    EXPECT_EQ(std::count(held.begin(), held.end(), 1u), 63);
}

TEST_F(FrontPanel, TheResetKeyGivesOnePulseAndTheTripKeyReachesTheShutdownLogic) {
    useSlices(R10, {defaultsInFirstFrame, r10::SD_LOGIC_trip_key});
    startApp();
    std::vector<uint32_t> pulses;
    for (int k = 0; k < 6; ++k) {
        key(2, 4, true);
        runPasses(R80, 1);
        pulses.push_back(boolean("RESET.RST_KEYPAD.B_ACTION"));
    }
    EXPECT_EQ(pulses, (std::vector<uint32_t>{1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(integer("RESET.RST_KEYPAD.ACT_OUT"), 5);
    key(2, 4, false);
    runPasses(R80, 3);
    setCell("RESET.RST_KEYPAD.RST_1", 1);
    key(2, 4, true);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("RESET.RST_KEYPAD.B_ACTION"), 0u) << "held off by its reset input";
    key(2, 4, false);

    EXPECT_EQ(boolean("SD_LOGIC.STOP_BUTTON.B_SW"), 0u);
    key(0, 7, true);
    runPasses(R80, 1);
    runPasses(R10, 8);
    EXPECT_EQ(boolean("SD_LOGIC.STOP_BUTTON.B_SW"), 1u);
    EXPECT_EQ(boolean("SD_LOGIC.PUSHBUTTON.B_SW"), 1u);
}

TEST_F(FrontPanel, TheEstopResetLineFollowsItsSetting) {
    startApp();
    hk::runTask([] {
        board::setEstopButton(true);
        board::setEstopButton(false);
    });
    runPasses(R80, 2);
    EXPECT_TRUE(board::estopLatched()) << "the E-stop input stays latched after release";
    setCell("ORVEX12_IO.KEYPAD.ESTOP_RESET", 1);
    runPasses(R80, 1);
    EXPECT_FALSE(board::estopLatched()) << "the panel's reset releases it";
    EXPECT_NE(board::controlRegister() & 0x0800, 0);
    setCell("ORVEX12_IO.KEYPAD.ESTOP_RESET", 0);
    runPasses(R80, 1);
    EXPECT_EQ(board::controlRegister() & 0x0800, 0) << "the line follows the setting every pass";
    hk::runTask([] {
        board::setEstopButton(true);
        board::setEstopButton(false);
    });
    runPasses(R80, 2);
    EXPECT_TRUE(board::estopLatched());
}

TEST_F(FrontPanel, BrightnessIsSentOnlyWhenItChangesAndReadBack) {
    startApp();
    runPasses(R80, 2);
    auto writes = [] { return board::writeLog(0x8080F1F0, 0x8080F1F0); };
    hk::runTask([] { board::clearWriteLog(); });
    runPasses(R80, 3);
    EXPECT_TRUE(writes().empty()) << "0 % at start-up is not sent";
    set160("ORVEX12_IO.BRITENESS.OUT_1", 50);
    runPasses(R80, 3);
    ASSERT_EQ(writes().size(), 1u);
    EXPECT_EQ(writes()[0].value, 3200u);
    EXPECT_EQ(real("ORVEX12_IO.KEYPAD.BRIGHTNESS_OUT"), 50.0f);
    set160("ORVEX12_IO.BRITENESS.OUT_1", 0);
    runPasses(R80, 1);
    ASSERT_EQ(writes().size(), 2u);
    EXPECT_EQ(writes()[1].value, 0u);
    EXPECT_EQ(real("ORVEX12_IO.KEYPAD.BRIGHTNESS_OUT"), 0.0f);

    EXPECT_EQ(boolean("ORVEX12_IO.KEYPAD.DISP_BKLT_FLT"), 0u);
    hk::runTask([] { board::setBacklightFault(true); });
    runPasses(R80, 1);
    EXPECT_EQ(boolean("ORVEX12_IO.KEYPAD.DISP_BKLT_FLT"), 1u);
}

TEST_F(FrontPanel, BrightnessDifferenceAgainstTheUserLevel) {
    startApp();
    setCell("ORVEX12_IO.BRITENESS.OUT_1", 50);
    set160("ORVEX12_IO.ENA_DB.AND", 1);
    const struct {
        double user;
        uint32_t raise, lower, excd;
    } rows[] = {{50.0, 0, 0, 0}, {49.75, 0, 0, 0}, {49.7, 1, 0, 0}, {48.0, 1, 0, 0}, {47.9, 1, 0, 1},
                {50.25, 0, 0, 0}, {50.3, 0, 1, 0}, {52.0, 0, 1, 0}, {52.1, 0, 1, 1},
                {47.9, 1, 0, 1}};
    for (const auto& r : rows) {
        set160("ORVEX12_IO.USER_BRITE.SAMP_TUNE", r.user);
        EXPECT_EQ(boolean("ORVEX12_IO.BRITE_DIFF.RAISE_VAL"), r.raise) << r.user;
        EXPECT_EQ(boolean("ORVEX12_IO.BRITE_DIFF.LOWER_VAL"), r.lower) << r.user;
        EXPECT_EQ(boolean("ORVEX12_IO.BRITE_DIFF.EXCD_DB_2"), r.excd) << r.user;
    }
    set160("ORVEX12_IO.ENA_DB.AND", 0);
    EXPECT_EQ(boolean("ORVEX12_IO.BRITE_DIFF.LOWER_VAL"), 0u);
    EXPECT_EQ(boolean("ORVEX12_IO.BRITE_DIFF.EXCD_DB_2"), 0u);
}

// Half a minute without keys dims; the trip-view key is no activity, any
// other key or a reset is.
TEST_F(FrontPanel, NoKeysForTheDimmingTimeDimsAndTheTripViewKeyIsNoActivity) {
    startApp();
    // The reset pulse of the start is itself activity: the half minute runs
    // from its end.
    const int resetPasses = passesUntil(R80, "RESET.RST.ONE_SHOT", 0, 20);
    ASSERT_EQ(resetPasses, 13);
    setCell("ORVEX12_IO.DIM_MINS.A_NAME", 0.5);
    runPasses(R80, 1);
    EXPECT_EQ(real("ORVEX12_IO.DIM_TO_DIM.MULTIPLY"), 30.0f);
    for (int k = 0; k < 370; ++k) {
        key(1, 0, (k / 10) % 2 == 0);  // TRIP_VIEW pressed on and off
        runPasses(R80, 1);
    }
    EXPECT_EQ(boolean("ORVEX12_IO.ANY_KEY.OR"), 0u);
    EXPECT_EQ(boolean("ORVEX12_IO.NO_USER.NOT"), 1u);
    EXPECT_EQ(boolean("ORVEX12_IO.AUTO_DIM.AND"), 0u) << "30 s need 375 passes";
    key(1, 0, false);
    const int more = passesUntil(R80, "ORVEX12_IO.AUTO_DIM.AND", 1, 20);
    EXPECT_GE(more, 5);
    EXPECT_LE(more, 9);
    EXPECT_EQ(boolean("ORVEX12_IO.DLY_NOKEYS.DELAY"), 1u);
    key(2, 2, true);  // ZERO
    runPasses(R80, 1);
    EXPECT_EQ(boolean("ORVEX12_IO.ANY_KEY.OR"), 1u);
    EXPECT_EQ(boolean("ORVEX12_IO.AUTO_DIM.AND"), 0u);
    key(2, 2, false);
    runPasses(R80, 3);
    setCell("RESET.DEBUG_RST.TRIGGER", 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("ORVEX12_IO.ANY_KEY.OR"), 1u) << "a reset counts as activity";
    setCell("RESET.DEBUG_RST.TRIGGER", 0);
    ASSERT_EQ(passesUntil(R80, "RESET.RST.ONE_SHOT", 0, 20), 13) << "the pulse of 1.0 s lasts 13 passes";
    setCell("ORVEX12_IO.DIS_DIMMING.IN", 1);
    runPasses(R80, 380);
    EXPECT_EQ(boolean("ORVEX12_IO.DLY_NOKEYS.DELAY"), 1u);
    EXPECT_EQ(boolean("ORVEX12_IO.DIMMING_ENA.NOT"), 0u);
    EXPECT_EQ(boolean("ORVEX12_IO.AUTO_DIM.AND"), 0u) << "dimming disabled";
}

TEST_F(FrontPanel, TheAlarmLedFollowsTheAlarmsAfterTheBootPhaseAndTheDisplayTroubleBefore) {
    startApp();
    const struct {
        int bootDone, alarmLed, blink;
        uint32_t out;
    } rows[] = {{1, 1, 0, 1}, {1, 0, 1, 0}, {0, 1, 0, 0}, {0, 0, 1, 1}};
    for (const auto& r : rows) {
        setCell("IFACE_MODE.BOOT_CMPLT.NOT", r.bootDone);
        setCell("ALARMS.ALARM_LED.B_NAME", r.alarmLed);
        set160("IFACE_MODE.BLINK_ALMLED.AND", r.blink);
        EXPECT_EQ(boolean("ORVEX12_IO.INIT_BLINK.B_SW"), r.out) << r.bootDone << r.alarmLed << r.blink;
    }
}

TEST_F(FrontPanel, TheUnitTemperatureAveragesOneSampleAPeriodOverSixtySamples) {
    startApp();
    setCell("ORVEX12_IO.CHASS_STATUS.CELSIUS", 40.0);
    setCell("ORVEX12_IO.UNIT_TEMP.PERIOD", 2);
    runPasses(R80, 2);
    EXPECT_EQ(real("ORVEX12_IO.UNIT_TEMP.RUNNING_AVG"), 40.0f) << "refilled until all groups have run";
    EXPECT_EQ(real("ORVEX12_IO.EST_OP_TEMP.ADD"), 38.0f);
    runPasses(R160, 3);  // all groups have run: the buffer stays filled
    setCell("ORVEX12_IO.CHASS_STATUS.CELSIUS", 100.0);
    runPasses(R80, 2);
    const float from = real("ORVEX12_IO.UNIT_TEMP.RUNNING_AVG");
    // Each sample replaces one of the sixty: +1 degree a sample.
    std::vector<float> avg;
    for (int k = 0; k < 8; ++k) {
        runPasses(R80, 1);
        avg.push_back(real("ORVEX12_IO.UNIT_TEMP.RUNNING_AVG"));
    }
    // The counter samples on every second pass with a period of 2.
    int steps = 0;
    for (size_t k = 0; k < avg.size(); ++k) steps += avg[k] != (k == 0 ? from : avg[k - 1]);
    EXPECT_EQ(steps, 4);
    EXPECT_NEAR(avg.back(), from + 4.0f, 1e-4);
    EXPECT_NEAR(real("ORVEX12_IO.EST_OP_TEMP.ADD"), from + 2.0f, 1e-4);
    // Sixty samples later the buffer holds only the new temperature.
    runPasses(R80, 120);
    EXPECT_NEAR(real("ORVEX12_IO.UNIT_TEMP.RUNNING_AVG"), 100.0f, 1e-3);
    // The buffer-initialisation pulse refills it at the next sample.
    setCell("ORVEX12_IO.CHASS_STATUS.CELSIUS", 20.0);
    set160("ORVEX12_IO.BUFF_INIT.ONE_SHOT", 1);
    runPasses(R80, 1);
    EXPECT_EQ(real("ORVEX12_IO.UNIT_TEMP.RUNNING_AVG"), 20.0f);
}

// The temperature rising a degree every pass: after the initialisation the
// first sample comes one period later; with one sample a pass the average
// of the last sixty then rises a degree a pass, through the buffer's wrap.
TEST_F(FrontPanel, SamplesComeOnePeriodApartAndTheBufferWrapsAfterSixty) {
    startApp();
    setCell("ORVEX12_IO.UNIT_TEMP.PERIOD", 10);
    std::vector<float> avg;
    for (int k = 0; k < 40; ++k) {
        setCell("ORVEX12_IO.CHASS_STATUS.CELSIUS", 20.0 + k);
        runPasses(R80, 1);
        avg.push_back(real("ORVEX12_IO.UNIT_TEMP.RUNNING_AVG"));
    }
    // The initialisation follows the temperature; then the average holds
    // for the period and moves by a sixtieth of the rise at the sample.
    size_t k = 1;
    while (k < avg.size() && avg[k] - avg[k - 1] >= 0.99f) ++k;
    ASSERT_LT(k, avg.size());
    int held = 0;
    while (k < avg.size() && avg[k] == avg[k - 1]) {
        ++held;
        ++k;
    }
    EXPECT_EQ(held, 9) << "the first sample ten passes after the last initialisation";
    ASSERT_LT(k, avg.size());
    EXPECT_GT(avg[k] - avg[k - 1], 0.0f);
    EXPECT_LT(avg[k] - avg[k - 1], 0.99f);

    setCell("ORVEX12_IO.UNIT_TEMP.PERIOD", 1);
    std::vector<float> steps;
    for (int n = 40; n < 220; ++n) {
        setCell("ORVEX12_IO.CHASS_STATUS.CELSIUS", 20.0 + n);
        runPasses(R80, 1);
        const float now = real("ORVEX12_IO.UNIT_TEMP.RUNNING_AVG");
        if (n >= 110) steps.push_back(now - avg.back());
        avg.push_back(now);
    }
    for (size_t n = 0; n < steps.size(); ++n) EXPECT_NEAR(steps[n], 1.0f, 1e-3) << n;
}

}  // namespace
}  // namespace iface_test
