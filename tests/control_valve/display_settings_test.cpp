// The chassis display settings and the program-running pulse through real
// passes of the 160 ms group: the local-time offset, the boot page, the
// backlight's limits, fade and re-sampling, the chassis alarm.
#include "app/control/ORVEX12_IO.cells.h"
#include "app/control/control_slices.h"
#include "runtime/sysinfo.h"
#include "tests/control_valve/valve_rig.h"

using namespace valve_test;

namespace {

class DisplaySettings : public ValveRig {
protected:
    void SetUp() override {
        ValveRig::SetUp();
        run({}, {}, {}, {_R160_TASK_47});
        setCell("ORVEX12_IO.EST_OP_TEMP.ADD", 30.0);
        setCell("ORVEX12_IO.KEYPAD.BRIGHTNESS_OUT", 75.0);
        runPasses(R160, 2);
    }
    int32_t brightness() { return integer("ORVEX12_IO.BRITENESS.OUT_1"); }
};

TEST_F(DisplaySettings, TheLocalTimeOffsetIsTheZonePlusTheOptionalHalfHour) {
    struct Case {
        int zone;
        bool half;
        double fraction;
        float offset;
    } cases[] = {{0, false, 0.5, 0.0f}, {-5, false, 0.5, -5.0f}, {-5, true, 0.5, -4.5f},
                 {13, true, 0.75, 13.75f}, {-12, true, 0.01, -11.99f}};
    for (const Case& c : cases) {
        setCell("ORVEX12_IO.TIMEZONE.IN_1", c.zone);
        setCell("ORVEX12_IO.USE_HALF.CTRL", c.half);
        setCell("ORVEX12_IO.USE_HALF.NO", c.fraction);
        runPasses(R160, 1);
        EXPECT_EQ(real("ORVEX12_IO.TIMEZONE.OUT_1"), static_cast<float>(c.zone));
        EXPECT_EQ(real("ORVEX12_IO.ADD_HALF.ADD"), c.offset) << c.zone << " " << c.half;
    }
    EXPECT_EQ(integer("ORVEX12_IO.BOOT_PAGE.I_NAME"), 1);
    EXPECT_EQ(boolean("ORVEX12_IO.SEL_BPAGE.B_NAME"), 0u);
    setCell("ORVEX12_IO.BOOT_PAGE.IN", 4);
    setCell("ORVEX12_IO.SEL_BPAGE.IN", 1);
    runPasses(R160, 1);
    EXPECT_EQ(integer("ORVEX12_IO.BOOT_PAGE.I_NAME"), 4);
    EXPECT_EQ(boolean("ORVEX12_IO.SEL_BPAGE.B_NAME"), 1u);
}

TEST_F(DisplaySettings, TooHotSetsAtOneDegreeAboveTheLimitAndClearsBelowIt) {
    struct Step {
        double temp;
        uint32_t hot;
    } steps[] = {{65.9, 0}, {66.0, 1}, {65.0, 1}, {64.99, 0}, {65.5, 0}};
    for (const Step& s : steps) {
        setCell("ORVEX12_IO.EST_OP_TEMP.ADD", s.temp);
        runPasses(R160, 1);
        EXPECT_EQ(boolean("ORVEX12_IO.TOO_HOT.A_COMPARE"), s.hot) << s.temp;
        EXPECT_EQ(boolean("ORVEX12_IO.LIM_MAX.OR"), s.hot) << s.temp;
    }
    setCell("ORVEX12_IO.TOO_HOT.IN_2", 50.0);
    setCell("ORVEX12_IO.EST_OP_TEMP.ADD", 51.0);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("ORVEX12_IO.TOO_HOT.A_COMPARE"), 1u);
}

TEST_F(DisplaySettings, TheBacklightFadesDownToTheLimitAndComesBackAtOnce) {
    seconds(5.0);  // past the power-up window
    EXPECT_EQ(brightness(), 75);
    EXPECT_EQ(boolean("ORVEX12_IO.ENA_DB.AND"), 1u);
    setCell("ORVEX12_IO.AUTO_DIM.AND", 1);
    runPasses(R160, 1);
    EXPECT_EQ(real("ORVEX12_IO.MAX_BRIGHT.A_SW"), 30.0f);
    EXPECT_EQ(boolean("ORVEX12_IO.ENA_DB.AND"), 0u);
    EXPECT_EQ(brightness(), 74) << "3 %/s: 0.48 in one pass, truncated";
    seconds(1.0);
    EXPECT_NEAR(real("ORVEX12_IO.FADE_RATE.RATE_LIMIT"), 75.0f - 3.0f * 0.16f * 7, 1e-3);
    setCell("ORVEX12_IO.FADE_RATE.RATE_DN", 100.0);
    runPasses(R160, 1);
    EXPECT_NEAR(real("ORVEX12_IO.FADE_RATE.RATE_LIMIT"), 75.0f - 3.0f * 0.16f * 7 - 16.0f, 1e-3);
    seconds(1.0);
    EXPECT_EQ(brightness(), 30);
    setCell("ORVEX12_IO.AUTO_DIM.AND", 0);
    runPasses(R160, 1);
    EXPECT_EQ(brightness(), 75);
    // The limit itself is a setting.
    setCell("ORVEX12_IO.MAX_BRIGHT.NO", 90.0);
    setCell("ORVEX12_IO.EST_OP_TEMP.ADD", 80.0);
    runPasses(R160, 1);
    EXPECT_EQ(brightness(), 90);
}

TEST_F(DisplaySettings, AChangedBrightnessIsSampledAPassLaterOnlyOutsideADimmedState) {
    setCell("CALMODE.PULSER.NOT", 1);
    setCell("ORVEX12_IO.KEYPAD.BRIGHTNESS_OUT", 55.0);
    runPasses(R160, 1);
    EXPECT_EQ(real("ORVEX12_IO.USER_BRITE.SAMP_TUNE"), 75.0f) << "no change seen yet";
    setCell("ORVEX12_IO.BRITE_DIFF.LOWER_VAL", 1);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("ORVEX12_IO.SAMP.AND"), 1u);
    EXPECT_EQ(real("ORVEX12_IO.USER_BRITE.SAMP_TUNE"), 75.0f);
    runPasses(R160, 1);
    EXPECT_EQ(real("ORVEX12_IO.USER_BRITE.SAMP_TUNE"), 55.0f);
    EXPECT_EQ(real("ORVEX12_IO.USER_BRITE.TUNE"), 55.0f);
    setCell("ORVEX12_IO.BRITE_DIFF.LOWER_VAL", 0);
    seconds(7.0);
    EXPECT_EQ(brightness(), 55);
    // Dimmed, or while the pulser is off, a change is not taken.
    struct Case {
        double dim, pulser;
    } blocked[] = {{1, 1}, {0, 0}};
    for (const Case& c : blocked) {
        setCell("ORVEX12_IO.AUTO_DIM.AND", c.dim);
        setCell("CALMODE.PULSER.NOT", c.pulser);
        setCell("ORVEX12_IO.KEYPAD.BRIGHTNESS_OUT", 20.0);
        setCell("ORVEX12_IO.BRITE_DIFF.RAISE_VAL", 1);
        runPasses(R160, 3);
        EXPECT_EQ(boolean("ORVEX12_IO.SAMP.AND"), 0u);
        EXPECT_EQ(real("ORVEX12_IO.USER_BRITE.SAMP_TUNE"), 55.0f) << c.dim;
        setCell("ORVEX12_IO.BRITE_DIFF.RAISE_VAL", 0);
    }
    // A keypad level out of range is clamped.
    setCell("ORVEX12_IO.AUTO_DIM.AND", 0);
    setCell("CALMODE.PULSER.NOT", 1);
    setCell("ORVEX12_IO.KEYPAD.BRIGHTNESS_OUT", 140.0);
    setCell("ORVEX12_IO.BRITE_DIFF.RAISE_VAL", 1);
    runPasses(R160, 2);
    EXPECT_EQ(real("ORVEX12_IO.USER_BRITE.SAMP_TUNE"), 100.0f);
}

TEST_F(DisplaySettings, ThePowerUpPulseHoldsTheBrightnessDeadbandOff) {
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
    for (int k = 0; k < 4; ++k) {
        _SYS_INFO_FAULT = static_cast<uint32_t>(k & 1);
        setCell("ORVEX12_IO.CAL_FLT.AND", (k >> 1) & 1);
        runPasses(R160, 1);
        EXPECT_EQ(boolean("ORVEX12_IO.CHASS_ALMS.OR"), k != 0 ? 1u : 0u) << k;
    }
    _SYS_INFO_FAULT = 0;
}

TEST_F(DisplaySettings, TheBufferStartPulseLastsItsTimeFromStartUp) {
    EXPECT_EQ(boolean("ORVEX12_IO.BUFF_INIT.ONE_SHOT"), 1u);
    seconds(60.0);
    EXPECT_EQ(boolean("ORVEX12_IO.BUFF_INIT.ONE_SHOT"), 1u);
    seconds(1.5);
    EXPECT_EQ(boolean("ORVEX12_IO.BUFF_INIT.ONE_SHOT"), 0u);
}

TEST_F(DisplaySettings, TheProgramRunningPulseFollowsThePowerUpErrorDelay) {
    EXPECT_EQ(boolean("PWR_UP_MSG.RUN_PRGM.ONE_SHOT"), 0u);
    setCell("PWR_UP_MSG.N_ERR_DLY.DELAY", 1);
    int on = 0;
    for (int p = 0; p < 10; ++p) {
        runPasses(R160, 1);
        on += static_cast<int>(boolean("PWR_UP_MSG.RUN_PRGM.ONE_SHOT"));
    }
    EXPECT_GE(on, 3);
    EXPECT_LE(on, 4);  // 0.5 s of 160 ms passes
}

}  // namespace
