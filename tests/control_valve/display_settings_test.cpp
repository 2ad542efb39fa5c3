// The chassis display settings and the program-running pulse on the whole
// program: the local-time offset, the boot page, the backlight's limits, fade
// and re-sampling, the chassis alarm. The board gives the temperature, the
// backlight's PWM registers (where the operator's brightness is read back),
// the keys, the calibration flash and the platform's fault flag; settings are
// written as the service tool writes them.
#include "host/board.h"
#include "host/hostkernel.h"
#include "host/vkboard.h"
#include "runtime/sysinfo.h"
#include "tests/control_valve/valve_rig.h"

using namespace valve_test;

namespace {

constexpr uint32_t kBacklightCount = 0x8080F1F0;  // over the period of 6400
constexpr int kScrnDnKey[2] = {0, 9};             // a key with no function here

class DisplaySettings : public ProgramRig {
protected:
    void SetUp() override {
        ProgramRig::SetUp();
        board::setTemperature(30.0f);
    }
    void TearDown() override {
        _SYS_INFO_FAULT = 0;
        ProgramRig::TearDown();
        board::resetPlatform();
    }
    // Started, the unit temperature sampled every other 80 ms pass (while the
    // buffer start pulse lasts each sample fills the whole average) and read
    // without an offset, and the board's temperature in the estimate.
    void start() {
        startApp();
        serviceWrite("ORVEX12_IO.UNIT_TEMP.PERIOD", 1);
        serviceWrite("ORVEX12_IO.EST_OP_TEMP.IN_2", 0.0);
        ASSERT_TRUE(runUntil([&] { return real("ORVEX12_IO.EST_OP_TEMP.ADD") == 30.0f; }, 40))
            << "no temperature; " << real("ORVEX12_IO.EST_OP_TEMP.ADD");
    }
    // The board at `t` degrees until the estimate has it.
    void temperature(double t) {
        board::setTemperature(static_cast<float>(t));
        ASSERT_TRUE(runUntil([&] { return real("ORVEX12_IO.EST_OP_TEMP.ADD") == static_cast<float>(t); }, 20)) << t;
    }
    int32_t brightness() { return integer("ORVEX12_IO.BRITENESS.OUT_1"); }
    // The operator's brightness as the backlight's PWM reads it back.
    void backlight(double percent) {
        const auto count = static_cast<uint16_t>(percent * 64.0 + 0.5);
        hk::runTask([count] { board::poke16(kBacklightCount, count); });
    }
    void key(bool pressed) { hk::runTask([pressed] { board::setKey(kScrnDnKey[0], kScrnDnKey[1], pressed); }); }
    // Nobody at the keys for half a minute: the display dims. Ends in the
    // first 160 ms pass that sees it dimmed.
    void leaveAlone() {
        serviceWrite("ORVEX12_IO.DIM_MINS.A_NAME", 0.5);
        bool dim = false;
        for (int k = 0; k < 250 && !dim; ++k) {
            runPasses(R160, 1);
            dim = boolean("ORVEX12_IO.LIM_MAX.OR") != 0;
        }
        ASSERT_TRUE(dim) << "never dimmed";
        ASSERT_EQ(boolean("ORVEX12_IO.AUTO_DIM.AND"), 1u);
    }
};

TEST_F(DisplaySettings, TheLocalTimeOffsetIsTheZonePlusTheOptionalHalfHour) {
    start();
    struct Case {
        int zone;
        bool half;
        double fraction;
        float offset;
    } cases[] = {{0, false, 0.5, 0.0f}, {-5, false, 0.5, -5.0f}, {-5, true, 0.5, -4.5f},
                 {13, true, 0.75, 13.75f}, {-12, true, 0.01, -11.99f}};
    for (const Case& c : cases) {
        serviceWrite("ORVEX12_IO.TIMEZONE.IN_1", c.zone);
        serviceWrite("ORVEX12_IO.USE_HALF.CTRL", c.half);
        serviceWrite("ORVEX12_IO.USE_HALF.NO", c.fraction);
        runPasses(R160, 1);
        EXPECT_EQ(real("ORVEX12_IO.TIMEZONE.OUT_1"), static_cast<float>(c.zone));
        EXPECT_EQ(real("ORVEX12_IO.ADD_HALF.ADD"), c.offset) << c.zone << " " << c.half;
    }
    EXPECT_EQ(integer("ORVEX12_IO.BOOT_PAGE.I_NAME"), 1);
    EXPECT_EQ(boolean("ORVEX12_IO.SEL_BPAGE.B_NAME"), 0u);
    serviceWrite("ORVEX12_IO.BOOT_PAGE.IN", 4);
    serviceWrite("ORVEX12_IO.SEL_BPAGE.IN", 1);
    runPasses(R160, 1);
    EXPECT_EQ(integer("ORVEX12_IO.BOOT_PAGE.I_NAME"), 4);
    EXPECT_EQ(boolean("ORVEX12_IO.SEL_BPAGE.B_NAME"), 1u);
}

TEST_F(DisplaySettings, TooHotSetsAtOneDegreeAboveTheLimitAndClearsBelowIt) {
    start();
    struct Step {
        double temp;
        uint32_t hot;
    } steps[] = {{65.9, 0}, {66.0, 1}, {65.0, 1}, {64.99, 0}, {65.5, 0}};
    for (const Step& s : steps) {
        temperature(s.temp);
        runPasses(R160, 1);
        EXPECT_EQ(boolean("ORVEX12_IO.TOO_HOT.A_COMPARE"), s.hot) << s.temp;
        EXPECT_EQ(boolean("ORVEX12_IO.LIM_MAX.OR"), s.hot) << s.temp;
    }
    serviceWrite("ORVEX12_IO.TOO_HOT.IN_2", 50.0);
    temperature(51.0);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("ORVEX12_IO.TOO_HOT.A_COMPARE"), 1u);
    // The offset tunable adds to the board's temperature.
    serviceWrite("ORVEX12_IO.EST_OP_TEMP.IN_2", -2.0);
    runPasses(R160, 2);
    EXPECT_EQ(real("ORVEX12_IO.EST_OP_TEMP.ADD"), 49.0f);
    EXPECT_EQ(boolean("ORVEX12_IO.TOO_HOT.A_COMPARE"), 0u);
}

TEST_F(DisplaySettings, TheBacklightFadesDownToTheLimitAndComesBackAtOnce) {
    start();
    seconds(5.0);  // past the power-up window
    EXPECT_EQ(brightness(), 75);
    EXPECT_NEAR(real("ORVEX12_IO.KEYPAD.BRIGHTNESS_OUT"), 75.0f, 1e-3) << "the backlight driven";
    EXPECT_EQ(boolean("ORVEX12_IO.ENA_DB.AND"), 1u);
    leaveAlone();
    EXPECT_EQ(real("ORVEX12_IO.MAX_BRIGHT.A_SW"), 30.0f);
    EXPECT_EQ(boolean("ORVEX12_IO.ENA_DB.AND"), 0u);
    EXPECT_EQ(brightness(), 74) << "3 %/s: 0.48 in one pass, truncated";
    seconds(1.0);
    EXPECT_NEAR(real("ORVEX12_IO.FADE_RATE.RATE_LIMIT"), 75.0f - 3.0f * 0.16f * 7, 1e-3);
    serviceWrite("ORVEX12_IO.FADE_RATE.RATE_DN", 100.0);
    runPasses(R160, 1);
    EXPECT_NEAR(real("ORVEX12_IO.FADE_RATE.RATE_LIMIT"), 75.0f - 3.0f * 0.16f * 7 - 16.0f, 1e-3);
    seconds(1.0);
    EXPECT_EQ(brightness(), 30);
    runPasses(R80, 1);
    EXPECT_NEAR(real("ORVEX12_IO.KEYPAD.BRIGHTNESS_OUT"), 30.0f, 1e-3);
    // A key: back to the operator's brightness at once.
    key(true);
    ASSERT_TRUE(runUntil([&] { return boolean("ORVEX12_IO.AUTO_DIM.AND") == 0; }, 3));
    key(false);
    runPasses(R160, 1);
    EXPECT_EQ(brightness(), 75);
    // The limit itself is a setting.
    serviceWrite("ORVEX12_IO.MAX_BRIGHT.NO", 90.0);
    temperature(80.0);
    runPasses(R160, 1);
    EXPECT_EQ(brightness(), 90);
}

TEST_F(DisplaySettings, AChangedBrightnessIsSampledAPassLaterOnlyOutsideADimmedState) {
    start();
    seconds(5.0);  // past the power-up window
    ASSERT_EQ(real("ORVEX12_IO.USER_BRITE.SAMP_TUNE"), 75.0f);
    // The operator turns the backlight down: the change is seen in an 80 ms
    // pass, sampled in a 160 ms pass of the pulser, and taken in the next.
    // A pass with the pulser off samples nothing.
    auto sampled = [&](float before, const char* diff) {
        for (int k = 0; k < 4 && boolean("ORVEX12_IO.SAMP.AND") == 0; ++k) {
            EXPECT_EQ(real("ORVEX12_IO.USER_BRITE.SAMP_TUNE"), before) << "no change seen yet";
            runPasses(R160, 1);
            if (boolean("CALMODE.PULSER.NOT") == 0) {
                EXPECT_EQ(boolean("ORVEX12_IO.SAMP.AND"), 0u) << k;
            }
        }
        ASSERT_EQ(boolean("ORVEX12_IO.SAMP.AND"), 1u);
        EXPECT_EQ(boolean("CALMODE.PULSER.NOT"), 1u);
        EXPECT_EQ(boolean(diff), 1u);
        EXPECT_EQ(real("ORVEX12_IO.USER_BRITE.SAMP_TUNE"), before);
        runPasses(R160, 1);
    };
    backlight(55.0);
    sampled(75.0f, "ORVEX12_IO.BRITE_DIFF.LOWER_VAL");
    EXPECT_EQ(real("ORVEX12_IO.USER_BRITE.SAMP_TUNE"), 55.0f);
    EXPECT_EQ(real("ORVEX12_IO.USER_BRITE.TUNE"), 55.0f);
    runPasses(R160, 1);
    EXPECT_EQ(brightness(), 74) << "fading down to it";
    // The panel's change still stands in the difference the 160 ms group
    // reads a pass after the sample; it is not sampled again, so the fade
    // goes on to the operator's level.
    seconds(7.0);
    EXPECT_EQ(real("ORVEX12_IO.USER_BRITE.SAMP_TUNE"), 55.0f);
    EXPECT_EQ(brightness(), 55);
    // Turned up, the backlight follows at once and stays.
    backlight(90.0);
    sampled(real("ORVEX12_IO.USER_BRITE.SAMP_TUNE"), "ORVEX12_IO.BRITE_DIFF.RAISE_VAL");
    EXPECT_EQ(real("ORVEX12_IO.USER_BRITE.SAMP_TUNE"), 90.0f);
    seconds(7.0);
    EXPECT_EQ(brightness(), 90);
    EXPECT_EQ(real("ORVEX12_IO.USER_BRITE.SAMP_TUNE"), 90.0f);
    // Dimmed, a change is not taken (the backlight fades while the operator's
    // brightness stays).
    leaveAlone();
    backlight(20.0);
    for (int p = 0; p < 6; ++p) {
        runPasses(R160, 1);
        EXPECT_EQ(boolean("ORVEX12_IO.SAMP.AND"), 0u) << p;
        EXPECT_EQ(real("ORVEX12_IO.USER_BRITE.SAMP_TUNE"), 90.0f) << p;
    }
    // A level read back out of range is clamped.
    key(true);
    ASSERT_TRUE(runUntil([&] { return boolean("ORVEX12_IO.AUTO_DIM.AND") == 0; }, 3));
    key(false);
    runPasses(R160, 2);
    ASSERT_EQ(brightness(), 90);
    backlight(140.0);
    runUntil([&] { return real("ORVEX12_IO.USER_BRITE.SAMP_TUNE") != 90.0f; }, 8);
    EXPECT_EQ(real("ORVEX12_IO.USER_BRITE.SAMP_TUNE"), 100.0f);
}

TEST_F(DisplaySettings, ThePowerUpPulseHoldsTheBrightnessDeadbandOff) {
    startApp();
    runPasses(R160, 2);
    // The start and two passes have run; the window of 5.0 s from start-up
    // is on through pass 32 (its time then reaches 5.12 s), off from pass 33
    // and for good.
    struct Step {
        uint32_t passes, window;
    } steps[] = {{0, 1}, {29, 1}, {1, 0}, {40, 0}};
    for (const Step& s : steps) {
        runPasses(R160, s.passes);
        EXPECT_EQ(boolean("ORVEX12_IO.PWRUP_OS.ONE_SHOT"), s.window) << s.passes;
        EXPECT_EQ(boolean("ORVEX12_IO.PWRUP.NOT"), s.window ^ 1u) << s.passes;
        EXPECT_EQ(boolean("ORVEX12_IO.ENA_DB.AND"), s.window ^ 1u) << s.passes;
    }
}

TEST_F(DisplaySettings, TheChassisAlarmIsTheSystemFaultOrACalibrationFault) {
    // A calibration flash that cannot be read: the fault of start-up, shown
    // unless its tunable masks it.
    board::failCalibrationFlash(true);
    start();
    EXPECT_EQ(boolean("ORVEX12_IO.CHASS_STATUS.CAL_FLT"), 1u);
    for (int k = 0; k < 4; ++k) {
        _SYS_INFO_FAULT = static_cast<uint32_t>(k & 1);
        serviceWrite("ORVEX12_IO.CAL_FLT.IN_2", (k >> 1) & 1);
        runPasses(R160, 1);
        EXPECT_EQ(boolean("ORVEX12_IO.CAL_FLT.AND"), static_cast<uint32_t>((k >> 1) & 1)) << k;
        EXPECT_EQ(boolean("ORVEX12_IO.CHASS_ALMS.OR"), k != 0 ? 1u : 0u) << k;
    }
}

TEST_F(DisplaySettings, TheBufferStartPulseLastsItsTimeFromStartUp) {
    startApp();
    runPasses(R160, 2);
    EXPECT_EQ(boolean("ORVEX12_IO.BUFF_INIT.ONE_SHOT"), 1u);
    seconds(60.0);
    EXPECT_EQ(boolean("ORVEX12_IO.BUFF_INIT.ONE_SHOT"), 1u);
    seconds(1.5);
    EXPECT_EQ(boolean("ORVEX12_IO.BUFF_INIT.ONE_SHOT"), 0u);
}

// Once power-up has completed with no configuration error for its delay, the
// program-running pulse lasts 0.5 s.
TEST_F(DisplaySettings, TheProgramRunningPulseFollowsThePowerUpErrorDelay) {
    startApp();
    enterSettings();
    int before = 0, on = 0, p = 0;
    for (; p < 200 && boolean("PWR_UP_MSG.N_ERR_DLY.DELAY") == 0; ++p) {
        before += static_cast<int>(boolean("PWR_UP_MSG.RUN_PRGM.ONE_SHOT"));
        runPasses(R160, 1);
    }
    ASSERT_EQ(boolean("PWR_UP_MSG.N_ERR_DLY.DELAY"), 1u) << "power-up never completed";
    EXPECT_EQ(before, 0);
    for (int k = 0; k < 10; ++k) {
        on += static_cast<int>(boolean("PWR_UP_MSG.RUN_PRGM.ONE_SHOT"));
        runPasses(R160, 1);
    }
    EXPECT_GE(on, 3);
    EXPECT_LE(on, 4);  // 0.5 s of 160 ms passes
}

}  // namespace
