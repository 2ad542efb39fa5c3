// The interface modes through real passes: configure, calibration and
// service with the operate flag, the display trouble and boot window, the
// controller's heartbeat and the display languages.
#include <vector>

#include "app/interface/IFACE_MODE.cells.h"
#include "tests/interface/iface_rig.h"

namespace iface_test {
namespace {

class InterfaceModes : public IfaceRig {
protected:
    struct Modes {
        uint32_t configure, calibration, service, noOther;
        bool operator==(const Modes&) const = default;
    };
    Modes modes() {
        return {boolean("IFACE_MODE.CONFIGURE.B_NAME"), boolean("IFACE_MODE.CALIBRATION.B_NAME"),
                boolean("IFACE_MODE.SERVICE.B_NAME"), boolean("IFACE_MODE.NO_OTHER.NOR")};
    }
    void step(const char* cell, int value) {
        setCell(cell, value);
        runPasses(R160, 1);
    }
};

TEST_F(InterfaceModes, ServiceTogglesOnEdgesAndConfigureOrCalibrationHoldItOff) {
    startApp();
    runPasses(R160, 2);
    EXPECT_EQ(modes(), (Modes{0, 0, 0, 1}));
    const struct {
        const char* cell;
        int value;
        Modes expect;
        const char* what;
    } steps[] = {
        {"IFACE_MODE.ENTER_SERVICE.IN", 1, {0, 0, 1, 0}, "rising edge: service on"},
        {"IFACE_MODE.ENTER_SERVICE.IN", 0, {0, 0, 1, 0}, "falling edge: no change"},
        {"IFACE_MODE.T_FLIPFLOP.IN_2", 1, {0, 0, 0, 1}, "the second input toggles it off"},
        {"IFACE_MODE.T_FLIPFLOP.IN_2", 0, {0, 0, 0, 1}, "and its fall does nothing"},
        {"IFACE_MODE.ENTER_SERVICE.IN", 1, {0, 0, 1, 0}, "on again"},
        {"MASTER.IO_LOCK.B_NAME", 1, {1, 0, 0, 0}, "configure mode drops service at once"},
        {"CALMODE.CALMODE.B_NAME", 1, {1, 0, 0, 0}, "calibration is not shown in configure mode"},
        {"MASTER.IO_LOCK.B_NAME", 0, {0, 1, 0, 0}, "calibration once configure ends"},
        {"CALMODE.CALMODE.B_NAME", 0, {0, 0, 0, 1}, "no new edge: service stays off"},
        {"IFACE_MODE.ENTER_SERVICE.IN", 0, {0, 0, 0, 1}, "falling edge"},
        {"IFACE_MODE.OR.IN_3", 1, {0, 0, 0, 1}, "the third reset input"},
        {"IFACE_MODE.ENTER_SERVICE.IN", 1, {0, 0, 0, 1}, "an edge while held off is taken over"},
        {"IFACE_MODE.OR.IN_3", 0, {0, 0, 0, 1}, "releasing the reset does not toggle"},
        {"IFACE_MODE.T_FLIPFLOP.IN_2", 1, {0, 0, 1, 0}, "a new edge does"},
    };
    for (const auto& s : steps) {
        step(s.cell, s.value);
        EXPECT_EQ(modes(), s.expect) << s.what;
        EXPECT_EQ(boolean("IFACE_MODE.NO_CNFG.NOT"), 1u - s.expect.configure) << s.what;
    }
}

TEST_F(InterfaceModes, OperateNeedsNoOtherModeAndNoPowerUpPulse) {
    startApp();
    const struct {
        int pwrUp, service;
        uint32_t operate;
    } rows[] = {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}};
    // The power-up reset pulse of the start lasts 2.0 s; the rows with it
    // come first.
    for (const auto& r : rows) {
        if (r.pwrUp == 0) passesUntil(R160, "RESET.PWR_UP_RST.ONE_SHOT", 0, 20);
        if (boolean("IFACE_MODE.SERVICE.B_NAME") != uint32_t(r.service)) {
            setCell("IFACE_MODE.T_FLIPFLOP.IN_2", 1);
            runPasses(R160, 1);
            setCell("IFACE_MODE.T_FLIPFLOP.IN_2", 0);
            runPasses(R160, 1);
        }
        runPasses(R160, 1);
        ASSERT_EQ(boolean("RESET.PWR_UP_RST.ONE_SHOT"), uint32_t(r.pwrUp));
        EXPECT_EQ(boolean("RESET.PWR_UP_N.NOT"), 1u - r.pwrUp);
        EXPECT_EQ(boolean("IFACE_MODE.OPERATE.B_NAME"), r.operate) << r.pwrUp << r.service;
        EXPECT_EQ(boolean("IFACE_MODE.OP_ONLY.AND"), r.operate);
    }
}

// No heartbeat from the display: trouble after 30 s, the alarm LED blinks
// (with the function-key rhythm) while the boot window is open, and the
// display fault comes only once the window has closed.
TEST_F(InterfaceModes, DisplayTroubleBlinksDuringTheBootWindowAndFaultsAfterIt) {
    // The blink rhythm re-arms itself through the unit delays of the pass's end.
    useSlices(R160, {_R160_TASK_10, _R160_TASK_40, _R160_TASK_81, _R160_TASK_82});
    startApp();
    const int trouble = passesUntil(R160, "IFACE_MODE.QT_TROUBLE.DELAY", 1, 400);
    // 30 s at 0.16 s a pass: on in the pass whose timer has reached 30 s.
    EXPECT_GE(trouble, 187);
    EXPECT_LE(trouble, 190);
    EXPECT_EQ(boolean("IFACE_MODE.DISPLAY_FLT.B_NAME"), 0u) << "boot window still open";
    EXPECT_EQ(boolean("IFACE_MODE.NO_DISP_FLT.NOT"), 1u);
    // The alarm LED blinks with the function-key rhythm.
    int on = 0, off = 0;
    for (int k = 0; k < 16; ++k) {
        runPasses(R160, 1);
        const uint32_t blink = boolean("F_KEY.BLINK_OFF.ONE_SHOT");
        EXPECT_EQ(boolean("IFACE_MODE.BLINK_ALMLED.AND"), blink) << k;
        (blink != 0 ? on : off)++;
    }
    EXPECT_GT(on, 0);
    EXPECT_GT(off, 0);
    // The boot window is 200 s from power-up.
    const int fault = passesUntil(R160, "IFACE_MODE.DISPLAY_FLT.B_NAME", 1, 1200);
    ASSERT_GT(fault, 0);
    const int total = trouble + 17 + fault;
    EXPECT_GE(total, 1250);
    EXPECT_LE(total, 1253);
    EXPECT_EQ(boolean("IFACE_MODE.BOOT_CMPLT.NOT"), 1u);
    EXPECT_EQ(boolean("IFACE_MODE.ENA_ALM.AND"), 1u);
    EXPECT_EQ(boolean("IFACE_MODE.BLINK_ALMLED.AND"), 0u);
    EXPECT_EQ(boolean("IFACE_MODE.NO_DISP_FLT.NOT"), 0u);
}

TEST_F(InterfaceModes, AShorterBootWindowEndsTheBootPhaseAndAnOffTriggerNeverOpensIt) {
    useSlices(R10, {[] {
        if (g_defaultsLoaded) return;
        defaultsInFirstFrame();
        cells::IFACE_MODE.USER_STOP_DLY_TIME = 20.0f;
    }});
    startApp();
    const int ended = passesUntil(R160, "IFACE_MODE.BOOT_CMPLT.NOT", 1, 400);
    EXPECT_GE(ended, 125);
    EXPECT_LE(ended, 128);
    // The one-shot needs its trigger to fall before it can start again.
    runPasses(R160, 20);
    EXPECT_EQ(boolean("IFACE_MODE.BOOT_CMPLT.NOT"), 1u);
    setCell("IFACE_MODE.USER_STOP.TRIGGER", 0);
    runPasses(R160, 1);
    setCell("IFACE_MODE.USER_STOP.TRIGGER", 1);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("IFACE_MODE.BOOT_CMPLT.NOT"), 0u) << "a new trigger edge opens the window again";
}

TEST_F(InterfaceModes, TheControllerHeartbeatBeatsEveryCycleAndAPass) {
    startApp();
    runPasses(R160, 1);
    int last = -1;
    std::vector<int> periods;
    uint32_t beat = boolean("IFACE_MODE.TIQ_HEARTBEAT.B_NAME");
    for (int k = 0; k < 60; ++k) {
        runPasses(R160, 1);
        const uint32_t now = boolean("IFACE_MODE.TIQ_HEARTBEAT.B_NAME");
        EXPECT_EQ(now, boolean("IFACE_MODE.BEAT.T_FLIPFLOP"));
        if (now != beat) {
            if (last >= 0) periods.push_back(k - last);
            last = k;
            beat = now;
            EXPECT_EQ(real("IFACE_MODE.TIMER.OUT_1"), 0.0f) << "the timer restarts with the beat";
            EXPECT_EQ(static_cast<TimeCell*>(cell("IFACE_MODE.TIMER.ELAP_TIME"))->sec, 0u);
        }
        if (boolean("IFACE_MODE.HEART_CYCLE.A_COMPARE") == 1) {
            EXPECT_GE(real("IFACE_MODE.TIMER.OUT_1"), 2.0f);
            EXPECT_EQ(static_cast<TimeCell*>(cell("IFACE_MODE.TIMER.ELAP_TIME"))->sec, 2u);
        }
    }
    EXPECT_EQ(periods, (std::vector<int>{14, 14, 14}));
    // A shorter cycle beats faster.
    setCell("IFACE_MODE.HEART_CYCLE.IN_2", 0.5);
    runPasses(R160, 20);
    const uint32_t from = boolean("IFACE_MODE.TIQ_HEARTBEAT.B_NAME");
    runPasses(R160, 5);
    EXPECT_EQ(boolean("IFACE_MODE.TIQ_HEARTBEAT.B_NAME"), 1u - from);
}

TEST_F(InterfaceModes, LanguagesConstantsAndTestPoints) {
    startApp();
    runPasses(R160, 2);
    EXPECT_EQ(text("IFACE_MODE.LANGUAGE_SEL.S_MUX_N_1"), "English");
    EXPECT_EQ(text("IFACE_MODE.LANGUAGE_SEL_REMOTE.S_MUX_N_1"), "English");
    const struct {
        int select;
        const char* text;
    } rows[] = {{2, "Portuguese"}, {3, "Spanish"}, {4, "Russian"}, {5, "Chinese"}, {6, "Japanese"},
                {7, "Lang_7"},     {10, "Lang_10"}, {11, "Lang_10"}, {0, "Lang_10"}, {9, "Lang_9"}};
    for (const auto& r : rows) {
        setCell("IFACE_MODE.LANGUAGE_SEL.SELECT", r.select);
        setCell("IFACE_MODE.LANGUAGE_SEL_REMOTE.SELECT", 1);
        runPasses(R160, 1);
        EXPECT_EQ(text("IFACE_MODE.LANGUAGE_SEL.S_MUX_N_1"), r.text) << r.select;
        EXPECT_EQ(text("IFACE_MODE.LANGUAGE_SEL_REMOTE.S_MUX_N_1"), "English");
    }
    setCell("IFACE_MODE.LANGUAGE_SEL_REMOTE.SELECT", 8);
    setCell("IFACE_MODE.I_ENUM.IN", 2);
    setCell("IFACE_MODE.A_PT.IN", 12.5);
    setCell("IFACE_MODE.B_PT.IN", 1);
    runPasses(R160, 1);
    EXPECT_EQ(text("IFACE_MODE.LANGUAGE_SEL_REMOTE.S_MUX_N_1"), "Lang_8");
    EXPECT_EQ(integer("IFACE_MODE.I_ENUM.I_NAME"), 2);
    EXPECT_EQ(real("IFACE_MODE.A_PT.A_NAME"), 12.5f);
    EXPECT_EQ(boolean("IFACE_MODE.B_PT.B_NAME"), 1u);
    EXPECT_EQ(boolean("IFACE_MODE.TRUE.B_NAME"), 1u);
    EXPECT_EQ(boolean("IFACE_MODE.FALSE.B_NAME"), 0u);
    EXPECT_EQ(real("IFACE_MODE.ZERO.A_NAME"), 0.0f);
    EXPECT_EQ(boolean("IFACE_MODE.LOCAL_DISP_WRITE.B_NAME"), 0u);
}

}  // namespace
}  // namespace iface_test
