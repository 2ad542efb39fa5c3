// The front panel on the whole program, driven through the board model:
// keys read from the keypad registers and stretched to the hold time, the
// keypad reset pulse, the trip key reaching the shutdown logic, the E-stop
// reset line, the backlight command and read-back, dimming, the alarm-LED
// source and the unit-temperature estimate; the settings written as the
// service tool writes them.
#include <algorithm>
#include <set>
#include <vector>

#include "app/control/SD_LOGIC.cells.h"
#include "host/analog_inputs.h"
#include "host/board.h"
#include "host/vkboard.h"
#include "tests/interface/iface_rig.h"

namespace iface_test {
namespace {

class FrontPanel : public IfaceProgram {
protected:
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
    tune("ORVEX12_IO.KEYPAD.HOLD_TIME", 400.0);
    EXPECT_EQ(press("ORVEX12_IO.KEYPAD.ENTER", 1, 5, 1, 8), (V{1, 1, 1, 1, 1, 1, 0, 0}));
    // A second press while still on does not restart the time.
    tune("ORVEX12_IO.KEYPAD.HOLD_TIME", 100.0);
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

// On a unit ready to start, nothing latched: the trip key reaches the
// shutdown logic (which takes it only while no shutdown is latched).
TEST_F(FrontPanel, TheResetKeyGivesOnePulseAndTheTripKeyReachesTheShutdownLogic) {
    start(false, false);
    runPasses(R160, 10);
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
    tune("RESET.RST_KEYPAD.RST_1", 1);
    key(2, 4, true);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("RESET.RST_KEYPAD.B_ACTION"), 0u) << "held off by its reset input";
    key(2, 4, false);

    // The reset over (a trip given while it lasts is wiped by it).
    ASSERT_TRUE(runUntil(
        [&] { return boolean("RESET.RESET.B_NAME") == 0 && boolean("SHUTDOWNS.DLY_SDREAC.B_ACTION") == 0; }, 100));
    runPasses(R160, 2);
    EXPECT_EQ(boolean("SD_LOGIC.STOP_BUTTON.B_SW"), 0u);
    key(0, 7, true);
    runPasses(R80, 1);
    runPasses(R10, 8);
    EXPECT_EQ(boolean("SD_LOGIC.STOP_BUTTON.B_SW"), 1u);
    EXPECT_EQ(boolean("SD_LOGIC.PUSHBUTTON.B_SW"), 1u);
    key(0, 7, false);
    EXPECT_GT(passesUntil(R80, "SHUTDOWNS.ANY_SD.B_NAME", 1, 20), 0) << "tripped from the key";
}

TEST_F(FrontPanel, TheEstopResetLineFollowsItsSetting) {
    startApp();
    hk::runTask([] {
        board::setEstopButton(true);
        board::setEstopButton(false);
    });
    runPasses(R80, 2);
    EXPECT_TRUE(board::estopLatched()) << "the E-stop input stays latched after release";
    tune("ORVEX12_IO.KEYPAD.ESTOP_RESET", 1);
    runPasses(R80, 1);
    EXPECT_FALSE(board::estopLatched()) << "the panel's reset releases it";
    EXPECT_NE(board::controlRegister() & 0x0800, 0);
    tune("ORVEX12_IO.KEYPAD.ESTOP_RESET", 0);
    runPasses(R80, 1);
    EXPECT_EQ(board::controlRegister() & 0x0800, 0) << "the line follows the setting every pass";
    hk::runTask([] {
        board::setEstopButton(true);
        board::setEstopButton(false);
    });
    runPasses(R80, 2);
    EXPECT_TRUE(board::estopLatched());
}

// The operator's brightness reaches the backlight through the fade: every
// change of the command is sent once, an unchanged command is not sent, and
// the level is read back from the backlight's registers. A command of 0 %
// at start-up (saved with the tunables, read back at the next start) is not
// sent.
TEST_F(FrontPanel, BrightnessIsSentOnlyWhenItChangesAndReadBack) {
    startApp();
    auto writes = [] { return board::writeLog(0x8080F1F0, 0x8080F1F0); };
    // The command's values as the 80 ms group's passes see them.
    auto follow = [&](int passes) {
        hk::runTask([] { board::clearWriteLog(); });
        std::vector<int32_t> seen;
        for (int k = 0; k < passes; ++k) {
            runPasses(R80, 1);
            seen.push_back(integer("ORVEX12_IO.BRITENESS.OUT_1"));
        }
        return seen;
    };
    tune("ORVEX12_IO.FADE_RATE.RATE_DN", 100.0);
    follow(30);
    // Settled: nothing is sent while the command stands.
    follow(10);
    EXPECT_TRUE(writes().empty()) << "an unchanged level is not sent";
    tune("ORVEX12_IO.USER_BRITE.TUNE", 100);
    follow(6);
    ASSERT_EQ(writes().size(), 1u) << "up at once";
    EXPECT_EQ(writes()[0].value, 6400u);
    EXPECT_EQ(real("ORVEX12_IO.KEYPAD.BRIGHTNESS_OUT"), 100.0f);
    // Down through the fade: one write for each step of the command.
    tune("ORVEX12_IO.USER_BRITE.TUNE", 20);
    const auto down = follow(20);
    int changes = 0;
    for (size_t k = 1; k < down.size(); ++k) changes += down[k] != down[k - 1];
    const auto w = writes();
    ASSERT_GE(w.size(), 2u);
    EXPECT_GE(w.size(), static_cast<size_t>(changes));
    EXPECT_LE(w.size(), static_cast<size_t>(changes + 1));
    for (size_t k = 1; k < w.size(); ++k) EXPECT_LT(w[k].value, w[k - 1].value) << k;
    for (const auto& x : w) EXPECT_EQ(x.value % 64, 0u) << x.value;
    EXPECT_EQ(w.back().value, static_cast<uint32_t>(down.back() * 64));
    EXPECT_EQ(real("ORVEX12_IO.KEYPAD.BRIGHTNESS_OUT"), static_cast<float>(down.back()));

    EXPECT_EQ(boolean("ORVEX12_IO.KEYPAD.DISP_BKLT_FLT"), 0u);
    hk::runTask([] { board::setBacklightFault(true); });
    runPasses(R80, 1);
    EXPECT_EQ(boolean("ORVEX12_IO.KEYPAD.DISP_BKLT_FLT"), 1u);

    // 0 % saved, and the next start commands it from its first pass.
    tune("ORVEX12_IO.USER_BRITE.TUNE", 0);
    tune("MASTER.SAVETUNES.IN_1", 1);
    runPasses(R160, 20);
    stopApp();
    hk::runTask([] { board::reset(); });
    startApp();
    hk::runTask([] { board::clearWriteLog(); });
    std::vector<int32_t> at_start;
    for (int k = 0; k < 20; ++k) {
        runPasses(R80, 1);
        at_start.push_back(integer("ORVEX12_IO.BRITENESS.OUT_1"));
    }
    EXPECT_EQ(at_start.back(), 0);
    EXPECT_TRUE(writes().empty()) << "0 % at start-up is not sent";
}

// The operator's brightness lowered from the service tool at the default
// fade rate (3 %/s) ends at the level set: the backlight's read-back, on its
// way down through the fade, is not taken for a change made on the panel.
TEST_F(FrontPanel, ALoweredBrightnessIsNotTakenBackByTheFade) {
    startApp();
    tune("ORVEX12_IO.USER_BRITE.TUNE", 100);
    runPasses(R160, 20);
    tune("ORVEX12_IO.USER_BRITE.TUNE", 50);
    runPasses(R160, 150);  // 24 s: the fade of 50 % at 3 %/s is over
    EXPECT_EQ(real("ORVEX12_IO.USER_BRITE.SAMP_TUNE"), 50.0f);
    EXPECT_EQ(integer("ORVEX12_IO.BRITENESS.OUT_1"), 50);
}

// The backlight's level (its registers, as the panel's own brightness key
// sets them) against the operator's level of 75 %: outside 0.25 % it asks
// to raise or lower, outside 2 % it exceeds the wider band; nothing while
// the power-up window lasts. The level is put back before the program
// samples it as the operator's.
TEST_F(FrontPanel, BrightnessDifferenceAgainstTheUserLevel) {
    startApp();
    auto backlight = [&](uint16_t count) { hk::runTask([=] { board::poke16(0x8080F1F0, count); }); };
    runPasses(R80, 2);
    EXPECT_EQ(boolean("ORVEX12_IO.ENA_DB.AND"), 0u) << "power-up window";
    backlight(4930);
    runPasses(R80, 1);
    EXPECT_EQ(real("ORVEX12_IO.KEYPAD.BRIGHTNESS_OUT"), 77.03125f);
    EXPECT_EQ(boolean("ORVEX12_IO.BRITE_DIFF.LOWER_VAL"), 0u);
    EXPECT_EQ(boolean("ORVEX12_IO.BRITE_DIFF.RAISE_VAL"), 0u);
    EXPECT_EQ(boolean("ORVEX12_IO.BRITE_DIFF.EXCD_DB_2"), 0u);
    backlight(4800);
    runPasses(R160, 40);
    ASSERT_EQ(boolean("ORVEX12_IO.ENA_DB.AND"), 1u);
    ASSERT_EQ(real("ORVEX12_IO.USER_BRITE.SAMP_TUNE"), 75.0f);
    // Backlight counts of 1/64 %.
    const struct {
        uint16_t count;
        uint32_t raise, lower, excd;
    } rows[] = {{4800, 0, 0, 0}, {4816, 0, 0, 0}, {4820, 1, 0, 0}, {4928, 1, 0, 0}, {4930, 1, 0, 1},
                {4784, 0, 0, 0}, {4780, 0, 1, 0}, {4672, 0, 1, 0}, {4670, 0, 1, 1}, {4930, 1, 0, 1}};
    for (const auto& r : rows) {
        backlight(r.count);
        runPasses(R80, 1);
        EXPECT_EQ(boolean("ORVEX12_IO.BRITE_DIFF.RAISE_VAL"), r.raise) << r.count;
        EXPECT_EQ(boolean("ORVEX12_IO.BRITE_DIFF.LOWER_VAL"), r.lower) << r.count;
        EXPECT_EQ(boolean("ORVEX12_IO.BRITE_DIFF.EXCD_DB_2"), r.excd) << r.count;
        backlight(4800);
        runPasses(R160, 3);
        ASSERT_EQ(real("ORVEX12_IO.USER_BRITE.SAMP_TUNE"), 75.0f) << r.count;
    }
}

// Half a minute without keys dims; the trip-view key is no activity, any
// other key or a reset is.
TEST_F(FrontPanel, NoKeysForTheDimmingTimeDimsAndTheTripViewKeyIsNoActivity) {
    startApp();
    // The reset pulse of the start is itself activity: the half minute runs
    // from its end.
    ASSERT_EQ(boolean("RESET.RST.ONE_SHOT"), 1u);
    ASSERT_GT(passesUntil(R80, "RESET.RST.ONE_SHOT", 0, 20), 0);
    tune("ORVEX12_IO.DIM_MINS.A_NAME", 0.5);
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
    tune("RESET.DEBUG_RST.TRIGGER", 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("ORVEX12_IO.ANY_KEY.OR"), 1u) << "a reset counts as activity";
    tune("RESET.DEBUG_RST.TRIGGER", 0);
    ASSERT_EQ(passesUntil(R80, "RESET.RST.ONE_SHOT", 0, 20), 13) << "the pulse of 1.0 s lasts 13 passes";
    tune("ORVEX12_IO.DIS_DIMMING.IN", 1);
    runPasses(R80, 380);
    EXPECT_EQ(boolean("ORVEX12_IO.DLY_NOKEYS.DELAY"), 1u);
    EXPECT_EQ(boolean("ORVEX12_IO.DIMMING_ENA.NOT"), 0u);
    EXPECT_EQ(boolean("ORVEX12_IO.AUTO_DIM.AND"), 0u) << "dimming disabled";
}

// The alarm LED's source every pass: the display-trouble blink
// while the boot window is open, the alarm LED once it has closed. A
// display that never beats is in trouble after 30 s and blinks; the lamp
// test from the service tool lights the alarm LED before and after.
TEST_F(FrontPanel, TheAlarmLedFollowsTheAlarmsAfterTheBootPhaseAndTheDisplayTroubleBefore) {
    startApp();
    // Seen: boot done, alarm LED, blink, output. The 80 ms group sees the
    // 160 ms results of a frame from the next frame on (at a change, in the
    // frame's later 80 ms pass).
    std::set<std::vector<uint32_t>> seen;
    auto source = [&] {
        return boolean("IFACE_MODE.BOOT_CMPLT.NOT") != 0 ? boolean("ALARMS.ALARM_LED.B_NAME")
                                                         : boolean("IFACE_MODE.BLINK_ALMLED.AND");
    };
    uint32_t before = source();
    auto watch = [&](int passes) {
        for (int k = 0; k < passes; ++k) {
            runPasses(R160, 1);
            const uint32_t out = boolean("ORVEX12_IO.INIT_BLINK.B_SW"), now = source();
            EXPECT_TRUE(out == before || out == now) << out << " pass " << this->passes(R160);
            if (before == now) {
                EXPECT_EQ(out, now) << " pass " << this->passes(R160);
                seen.insert({boolean("IFACE_MODE.BOOT_CMPLT.NOT"), boolean("ALARMS.ALARM_LED.B_NAME"),
                             boolean("IFACE_MODE.BLINK_ALMLED.AND"), out});
            }
            before = now;
        }
    };
    tune("ALARMS.LED_TEST.IN_1", 1);  // lit for 5 s, in the boot window
    watch(50);
    watch(200);  // the display trouble: the blink starts
    tune("ALARMS.LED_TEST.IN_1", 1);
    watch(50);
    // The display beats from now on (its heartbeat written every second):
    // no trouble, and no display fault when the boot window closes.
    for (int k = 0; k < 1300 && boolean("IFACE_MODE.BOOT_CMPLT.NOT") == 0; ++k) {
        if (k % 6 == 0) tune("IFACE_MODE.QT_OI_LOCAL.IN_1", 1);
        runPasses(R160, 1);
    }
    reset();  // the alarms of the start-up cleared from the reset contact
    for (int k = 0; k < 60; ++k) {
        if (k % 6 == 0) tune("IFACE_MODE.QT_OI_LOCAL.IN_1", 1);
        watch(1);
    }
    tune("ALARMS.LED_TEST.IN_1", 1);  // after the boot window
    for (int k = 0; k < 60; ++k) {
        if (k % 6 == 0) tune("IFACE_MODE.QT_OI_LOCAL.IN_1", 1);
        watch(1);
    }
    EXPECT_EQ(seen.count({0, 1, 0, 0}), 1u) << "alarm LED lit, no blink, in the boot window";
    EXPECT_EQ(seen.count({0, 0, 1, 1}), 1u) << "blink without the alarm LED in the boot window";
    EXPECT_EQ(seen.count({0, 1, 1, 1}), 1u);
    EXPECT_EQ(seen.count({1, 1, 0, 1}), 1u) << "the alarm LED after the boot window";
    EXPECT_EQ(seen.count({1, 0, 0, 0}), 1u);
}

// The board's temperature, through the chassis task, sampled once a period
// of 80 ms passes into the average of the last sixty samples; the
// buffer-initialisation pulse (at start-up, and when its trigger rises
// again) refills the buffer at a sample.
TEST_F(FrontPanel, TheUnitTemperatureAveragesOneSampleAPeriodOverSixtySamples) {
    hk::runTask([] { board::setTemperature(40.0f); });
    startApp();
    tune("ORVEX12_IO.UNIT_TEMP.PERIOD", 2);
    for (int k = 0; k < 40 && real("ORVEX12_IO.CHASS_STATUS.CELSIUS") != 40.0f; ++k) runPasses(R80, 1);
    runPasses(R80, 3);
    EXPECT_EQ(real("ORVEX12_IO.UNIT_TEMP.RUNNING_AVG"), 40.0f);
    EXPECT_EQ(real("ORVEX12_IO.EST_OP_TEMP.ADD"), 38.0f);
    // The initialisation pulse of the start refills at every sample while
    // it lasts (61 s).
    hk::runTask([] { board::setTemperature(50.0f); });
    runPasses(R80, 12);
    EXPECT_EQ(real("ORVEX12_IO.UNIT_TEMP.RUNNING_AVG"), 50.0f) << "refilled";
    for (int k = 0; k < 900 && boolean("ORVEX12_IO.BUFF_INIT.ONE_SHOT") != 0; ++k) runPasses(R80, 1);
    ASSERT_EQ(boolean("ORVEX12_IO.BUFF_INIT.ONE_SHOT"), 0u);
    runPasses(R80, 4);
    hk::runTask([] { board::setTemperature(100.0f); });
    for (int k = 0; k < 40 && real("ORVEX12_IO.CHASS_STATUS.CELSIUS") != 100.0f; ++k) runPasses(R80, 1);
    ASSERT_EQ(real("ORVEX12_IO.CHASS_STATUS.CELSIUS"), 100.0f);
    runPasses(R80, 2);
    const float from = real("ORVEX12_IO.UNIT_TEMP.RUNNING_AVG");
    EXPECT_LT(from, 60.0f) << "one sample of sixty";
    // Each sample replaces one of the sixty: +5/6 degree a sample.
    std::vector<float> avg;
    for (int k = 0; k < 8; ++k) {
        runPasses(R80, 1);
        avg.push_back(real("ORVEX12_IO.UNIT_TEMP.RUNNING_AVG"));
    }
    // The counter samples on every second pass with a period of 2.
    int steps = 0;
    for (size_t k = 0; k < avg.size(); ++k) steps += avg[k] != (k == 0 ? from : avg[k - 1]);
    EXPECT_EQ(steps, 4);
    EXPECT_NEAR(avg.back(), from + 4.0f * 50.0f / 60.0f, 1e-3);
    EXPECT_NEAR(real("ORVEX12_IO.EST_OP_TEMP.ADD"), avg.back() - 2.0f, 1e-3);
    // Sixty samples later the buffer holds only the new temperature.
    runPasses(R80, 120);
    EXPECT_NEAR(real("ORVEX12_IO.UNIT_TEMP.RUNNING_AVG"), 100.0f, 1e-3);
    // The buffer-initialisation pulse refills it at the next sample.
    hk::runTask([] { board::setTemperature(20.0f); });
    for (int k = 0; k < 40 && real("ORVEX12_IO.CHASS_STATUS.CELSIUS") != 20.0f; ++k) runPasses(R80, 1);
    tune("ORVEX12_IO.BUFF_INIT.TRIGGER", 0);
    runPasses(R160, 2);
    tune("ORVEX12_IO.BUFF_INIT.TRIGGER", 1);
    runPasses(R160, 1);
    ASSERT_EQ(boolean("ORVEX12_IO.BUFF_INIT.ONE_SHOT"), 1u);
    runPasses(R160, 1);  // seen by the 80 ms group
    runPasses(R80, 2);   // the next sample
    EXPECT_EQ(real("ORVEX12_IO.UNIT_TEMP.RUNNING_AVG"), 20.0f);
}

// The board's temperature raised a degree after every sample: samples come
// one period apart (the average holds between them), and each moves the
// average by a sixtieth of the new sample less the one it replaces: n/60
// for the n-th sample over a buffer of 20 degree samples, one degree once
// the buffer has wrapped after sixty.
TEST_F(FrontPanel, SamplesComeOnePeriodApartAndTheBufferWrapsAfterSixty) {
    hk::runTask([] { board::setTemperature(20.0f); });
    startApp();
    tune("ORVEX12_IO.UNIT_TEMP.PERIOD", 10);
    tune("ORVEX12_IO.BUFF_INIT.DLY_TIME", 2.0);  // the start's refill pulse
    for (int k = 0; k < 900 && boolean("ORVEX12_IO.BUFF_INIT.ONE_SHOT") != 0; ++k) runPasses(R80, 1);
    ASSERT_EQ(boolean("ORVEX12_IO.BUFF_INIT.ONE_SHOT"), 0u);
    runPasses(R80, 30);
    ASSERT_EQ(real("ORVEX12_IO.UNIT_TEMP.RUNNING_AVG"), 20.0f);
    float temperature = 20.0f, before = 20.0f;
    std::vector<int> gaps;
    std::vector<float> steps;
    int last = -1;
    auto warmer = [&] {
        temperature += 1.0f;
        const float t = temperature;
        hk::runTask([t] { board::setTemperature(t); });
    };
    warmer();
    for (int k = 0; k < 800 && steps.size() < 75; ++k) {
        runPasses(R80, 1);
        const float now = real("ORVEX12_IO.UNIT_TEMP.RUNNING_AVG");
        if (now != before) {
            if (last >= 0) gaps.push_back(k - last);
            last = k;
            steps.push_back(now - before);
            warmer();
        }
        before = now;
    }
    ASSERT_EQ(steps.size(), 75u);
    for (size_t n = 0; n < gaps.size(); ++n) EXPECT_EQ(gaps[n], 10) << "sample " << n + 2;
    for (size_t n = 0; n < steps.size(); ++n)
        EXPECT_NEAR(steps[n], std::min(n + 1, size_t{60}) / 60.0f, 1e-3) << "sample " << n + 1;
}

}  // namespace
}  // namespace iface_test
