// The interface modes on the whole program: configure, calibration and
// service with the operate flag, the display trouble and boot window, the
// controller's heartbeat and the display languages. Configure mode follows
// the platform's I/O lock, taken and released as the service tool does;
// calibration mode is entered and left with the service commands; the
// settings are written as the service tool writes them.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/interface/IFACE_MODE.cells.h"
#include "platform/vkiobus.h"
#include "runtime/sysinfo.h"
#include "tests/interface/iface_rig.h"

namespace iface_test {
namespace {

class InterfaceModes : public IfaceProgram {
protected:
    struct Modes {
        uint32_t configure, calibration, service, noOther;
        bool operator==(const Modes&) const = default;
    };
    void TearDown() override {
        UnAssert_IOLOCK();
        IfaceProgram::TearDown();
    }
    Modes modes() {
        return {boolean("IFACE_MODE.CONFIGURE.B_NAME"), boolean("IFACE_MODE.CALIBRATION.B_NAME"),
                boolean("IFACE_MODE.SERVICE.B_NAME"), boolean("IFACE_MODE.NO_OTHER.NOR")};
    }
    // 160 ms passes until `cell` reads `value` (at most 100), then one more.
    void until(const char* cell, uint32_t value) {
        for (int k = 0; k < 100 && boolean(cell) != value; ++k) runPasses(R160, 1);
        ASSERT_EQ(boolean(cell), value) << cell;
        runPasses(R160, 1);
    }
    // The I/O lock as the service tool takes it: granted once the master
    // clock pass has published the permissive.
    void lockIo() {
        for (int p = 0; p < 100 && _SYS_INFO_LOCK_PER != 1; ++p) runPasses(R10, 1);
        Assert_IOLOCK();
        ASSERT_EQ(Query_IOLOCK(), 1u);
    }
    // Configure mode left with the service tool's exit command, then the
    // lock released.
    void unlockIo() {
        tune("MASTER.COMMANDS.IN_3", 1);
        for (int p = 0; p < 8 && boolean("MASTER.LOCK_IO.LATCH") != 0; ++p) runPasses(R160, 1);
        ASSERT_EQ(boolean("MASTER.LOCK_IO.LATCH"), 0u) << "configure mode not left";
        UnAssert_IOLOCK();
    }
};

// Rows: what is done, the cell it acts on and the value that cell takes,
// and the modes after it.
TEST_F(InterfaceModes, ServiceTogglesOnEdgesAndConfigureOrCalibrationHoldItOff) {
    startApp();
    runPasses(R160, 20);
    EXPECT_EQ(modes(), (Modes{0, 0, 0, 1}));
    auto set = [&](const char* setting, int v) { return [=, this] { tune(setting, v); }; };
    auto command = [&](int n) { return [=, this] { tune("MASTER.COMMANDS.IN_" + std::to_string(n), 1); }; };
    const struct {
        std::function<void()> act;
        const char* cell;
        uint32_t value;
        Modes expect;
        const char* what;
    } steps[] = {
        {set("IFACE_MODE.ENTER_SERVICE.IN", 1), nullptr, 0, {0, 0, 1, 0}, "rising edge: service on"},
        {set("IFACE_MODE.ENTER_SERVICE.IN", 0), nullptr, 0, {0, 0, 1, 0}, "falling edge: no change"},
        {set("IFACE_MODE.T_FLIPFLOP.IN_2", 1), nullptr, 0, {0, 0, 0, 1}, "the second input toggles it off"},
        {set("IFACE_MODE.T_FLIPFLOP.IN_2", 0), nullptr, 0, {0, 0, 0, 1}, "and its fall does nothing"},
        {set("IFACE_MODE.ENTER_SERVICE.IN", 1), nullptr, 0, {0, 0, 1, 0}, "on again"},
        {[this] { lockIo(); }, "MASTER.IO_LOCK.B_NAME", 1, {1, 0, 0, 0}, "configure mode drops service at once"},
        {command(4), "CALMODE.CALMODE.B_NAME", 1, {1, 0, 0, 0}, "calibration is not shown in configure mode"},
        {[this] { unlockIo(); }, "MASTER.IO_LOCK.B_NAME", 0, {0, 1, 0, 0}, "calibration once configure ends"},
        {command(5), "CALMODE.CALMODE.B_NAME", 0, {0, 0, 0, 1}, "no new edge: service stays off"},
        {set("IFACE_MODE.ENTER_SERVICE.IN", 0), nullptr, 0, {0, 0, 0, 1}, "falling edge"},
        {set("IFACE_MODE.OR.IN_3", 1), nullptr, 0, {0, 0, 0, 1}, "the third reset input"},
        {set("IFACE_MODE.ENTER_SERVICE.IN", 1), nullptr, 0, {0, 0, 0, 1}, "an edge while held off is taken over"},
        {set("IFACE_MODE.OR.IN_3", 0), nullptr, 0, {0, 0, 0, 1}, "releasing the reset does not toggle"},
        {set("IFACE_MODE.T_FLIPFLOP.IN_2", 1), nullptr, 0, {0, 0, 1, 0}, "a new edge does"},
    };
    for (const auto& s : steps) {
        s.act();
        if (s.cell) until(s.cell, s.value);
        else runPasses(R160, 2);
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
            tune("IFACE_MODE.T_FLIPFLOP.IN_2", 1);
            runPasses(R160, 1);
            tune("IFACE_MODE.T_FLIPFLOP.IN_2", 0);
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
    startApp();
    tune("IFACE_MODE.USER_STOP.DLY_TIME", 20.0);
    const int ended = passesUntil(R160, "IFACE_MODE.BOOT_CMPLT.NOT", 1, 400);
    EXPECT_GE(ended, 125);
    EXPECT_LE(ended, 128);
    // The one-shot needs its trigger to fall before it can start again.
    runPasses(R160, 20);
    EXPECT_EQ(boolean("IFACE_MODE.BOOT_CMPLT.NOT"), 1u);
    tune("IFACE_MODE.USER_STOP.TRIGGER", 0);
    runPasses(R160, 1);
    tune("IFACE_MODE.USER_STOP.TRIGGER", 1);
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
    tune("IFACE_MODE.HEART_CYCLE.IN_2", 0.5);
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
                {7, "Lang_7"},     {10, "Lang_10"}, {8, "Lang_8"}, {1, "English"}, {9, "Lang_9"}};
    for (const auto& r : rows) {
        tune("IFACE_MODE.LANGUAGE_SEL.SELECT", r.select);
        tune("IFACE_MODE.LANGUAGE_SEL_REMOTE.SELECT", 1);
        runPasses(R160, 1);
        EXPECT_EQ(text("IFACE_MODE.LANGUAGE_SEL.S_MUX_N_1"), r.text) << r.select;
        EXPECT_EQ(text("IFACE_MODE.LANGUAGE_SEL_REMOTE.S_MUX_N_1"), "English");
    }
    tune("IFACE_MODE.LANGUAGE_SEL_REMOTE.SELECT", 8);
    tune("IFACE_MODE.I_ENUM.IN", 2);
    tune("IFACE_MODE.A_PT.IN", 12.5);
    tune("IFACE_MODE.B_PT.IN", 1);
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

// The language selectors alone: the service path refuses a selection
// outside 1 .. 10, so no input gives one; the selector keeps its text then.
class InterfaceModesSlices : public IfaceRig {};

TEST_F(InterfaceModesSlices, ASelectionOutsideTheListKeepsTheText) {
    startApp();
    for (const auto& r : {std::pair{10, "Lang_10"}, {11, "Lang_10"}, {0, "Lang_10"}, {9, "Lang_9"}}) {
        setCell("IFACE_MODE.LANGUAGE_SEL.SELECT", r.first);
        runPasses(R160, 1);
        EXPECT_EQ(text("IFACE_MODE.LANGUAGE_SEL.S_MUX_N_1"), r.second) << r.first;
    }
}

}  // namespace
}  // namespace iface_test
