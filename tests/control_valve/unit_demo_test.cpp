// The demonstration chart through its steps: start, start done, trip, reset
// and back to the first step once the controller is ready again; the keypad
// trip key returns it to the first step; the page it names.
#include "app/analog/UNIT_DEMO.cells.h"
#include "app/analog/output_slices.h"
#include "app/control/control_slices.h"
#include "app/discrete/discrete_slices.h"
#include "tests/control_valve/valve_rig.h"

using namespace valve_test;

namespace {

class UnitDemo : public ValveRig {
protected:
    void SetUp() override {
        ValveRig::SetUp();
        // The chart and its commit at 80 ms, the step timers at 160 ms. The
        // demo pulses, the curve delay, the keypad and the shutdown state are
        // inputs here.
        run({}, {}, {_R80_TASK_26, _R80_TASK_30}, {_R160_TASK_51});
        setCell("SHUTDOWNS.NOT_SD.NOT", 1);
        runPasses(R80, 2);
    }
    int step() {
        int active = 0, n = 0;
        for (int k = 1; k <= 5; ++k)
            if (boolean("UNIT_DEMO.DEMO_STEP" + std::to_string(k) + ".SFC_STEP") != 0) {
                active = k;
                ++n;
            }
        EXPECT_EQ(n, 1) << "exactly one step active";
        return active;
    }
    void expectPage(int index, const char* text) {
        EXPECT_EQ(integer("UNIT_DEMO.DEMO_PAGES.MSG_SEL"), index);
        EXPECT_EQ(integer("UNIT_DEMO.DEMO_PAGE.I_NAME"), index);
        EXPECT_EQ(this->text("UNIT_DEMO.DEMO_PAGES.B_TO_STR"), text);
    }
    // The start completed: the flag stays set, the chart sees its 1 s pulse.
    void startCompleted() {
        setCell("MESSAGE_START.START_COMP.B_NAME", 1);
        runPasses(R160, 1);
        runPasses(R80, 2);
    }
    // Walks the chart from the first step to step k.
    void walkTo(int k) {
        if (k >= 2) pulse("UNIT_DEMO.DEMO_START.ONE_SHOT", R80);
        if (k >= 3) startCompleted();
        if (k >= 4) pulse("UNIT_DEMO.DEMO_TRIP.ONE_SHOT", R80);
        if (k >= 5) pulse("UNIT_DEMO.DEMO_RESET.ONE_SHOT", R80);
        runPasses(R80, 1);
        ASSERT_EQ(step(), k);
    }
};

TEST_F(UnitDemo, TheChartWalksThroughStartTripAndResetAndNamesEachPage) {
    EXPECT_EQ(step(), 1);
    expectPage(1, "Overview_Page");
    pulse("UNIT_DEMO.DEMO_START.ONE_SHOT", R80);
    runPasses(R80, 1);
    EXPECT_EQ(step(), 2);
    // In the second step the page waits for the curve delay.
    expectPage(0, "Off");
    setCell("UNIT_DEMO.GO2_CURV.DELAY", 1);
    runPasses(R80, 1);
    expectPage(2, "Start_Curve_Page");
    setCell("UNIT_DEMO.GO2_CURV.DELAY", 0);
    // Pulses of later steps do nothing here.
    pulse("UNIT_DEMO.DEMO_TRIP.ONE_SHOT", R80);
    pulse("UNIT_DEMO.DEMO_RESET.ONE_SHOT", R80);
    runPasses(R80, 3);
    EXPECT_EQ(step(), 2);
    startCompleted();
    EXPECT_EQ(step(), 3);
    expectPage(3, "Speed_Control_Page");
    pulse("UNIT_DEMO.DEMO_TRIP.ONE_SHOT", R80);
    runPasses(R80, 1);
    EXPECT_EQ(step(), 4);
    expectPage(4, "TRIP_View_Page");
    pulse("UNIT_DEMO.DEMO_RESET.ONE_SHOT", R80);
    runPasses(R80, 1);
    EXPECT_EQ(step(), 5);
    expectPage(5, "TRIP_View_Page2");
    // Back to the first step once the step has lasted its time with no
    // shutdown active.
    setCell("SHUTDOWNS.NOT_SD.NOT", 0);
    runPasses(R160, static_cast<uint32_t>(12.0 / 0.16));
    EXPECT_EQ(boolean("UNIT_DEMO.DELAY5.DELAY"), 1u);
    EXPECT_EQ(boolean("UNIT_DEMO.GO2READY.AND"), 0u);
    EXPECT_EQ(step(), 5);
    setCell("SHUTDOWNS.NOT_SD.NOT", 1);
    runPasses(R80, 2);
    EXPECT_EQ(step(), 1);
    expectPage(1, "Overview_Page");
}

TEST_F(UnitDemo, TheStartDonePulseLastsOneSecondFromTheRisingEdge) {
    walkTo(2);
    setCell("MESSAGE_START.START_COMP.B_NAME", 1);
    int on = 0;
    for (int p = 0; p < 40; ++p) {
        runPasses(R80, 1);
        on += static_cast<int>(boolean("UNIT_DEMO.START_DONE.ONE_SHOT"));
    }
    EXPECT_NEAR(on, 13, 1);  // 1.0 s of 80 ms passes
    EXPECT_EQ(step(), 3);
    // Held on, the flag gives no further pulse.
    EXPECT_EQ(boolean("UNIT_DEMO.START_DONE.ONE_SHOT"), 0u);
}

TEST_F(UnitDemo, TheKeypadTripReturnsEveryLaterStepToTheFirst) {
    for (int k = 2; k <= 5; ++k) {
        walkTo(k);
        setCell("MESSAGE_START.START_COMP.B_NAME", 0);
        setCell("ORVEX12_IO.KEYPAD.TRIP", 1);
        runPasses(R80, 1);
        EXPECT_EQ(boolean("UNIT_DEMO.DEMO_STEP" + std::to_string(k) + ".TRAN_2"), 1u) << k;
        EXPECT_EQ(step(), 1) << k;
        // The page follows in the next pass.
        runPasses(R80, 1);
        expectPage(1, "Overview_Page");
        // In the first step the key does nothing.
        runPasses(R80, 2);
        EXPECT_EQ(step(), 1) << k;
        setCell("ORVEX12_IO.KEYPAD.TRIP", 0);
        runPasses(R160, 1);
    }
}

TEST_F(UnitDemo, EachStepTimesItsActivity) {
    runPasses(R80, 10);
    const float t1 = real("UNIT_DEMO.DEMO_STEP1.ACTIVETIME");
    runPasses(R80, 5);
    EXPECT_NEAR(real("UNIT_DEMO.DEMO_STEP1.ACTIVETIME") - t1, 5 * 0.08f, 1e-4);
    pulse("UNIT_DEMO.DEMO_START.ONE_SHOT", R80);
    runPasses(R80, 3);
    EXPECT_EQ(real("UNIT_DEMO.DEMO_STEP1.ACTIVETIME"), 0.0f);
    EXPECT_NEAR(real("UNIT_DEMO.DEMO_STEP2.ACTIVETIME"), 3 * 0.08f, 1e-4);
    EXPECT_EQ(real("UNIT_DEMO.DEMO_STEP3.ACTIVETIME"), 0.0f);
}

}  // namespace

namespace {

// The demonstration's command list alone: the chart's pulses and the idle
// flag are its inputs here.
class UnitDemoCommands : public ValveRig {
protected:
    void SetUp() override {
        ValveRig::SetUp();
        run({}, {}, {commands}, {});
    }
    static void commands() { r80::UNIT_DEMO_commands(); }
};

TEST_F(UnitDemoCommands, InDemoModeEachPulseReachesItsListEntryAndOutsideTheListKeepsIt) {
    const struct {
        const char* source;
        const char* entry;
    } rows[] = {{"UNIT_DEMO.DEMO_START.ONE_SHOT", "UNIT_DEMO.B_CMDS.LIST_1"},
                {"UNIT_DEMO.DEMO_TRIP.ONE_SHOT", "UNIT_DEMO.B_CMDS.LIST_2"},
                {"UNIT_DEMO.DEMO_RESET.ONE_SHOT", "UNIT_DEMO.B_CMDS.LIST_3"},
                {"UNIT_DEMO.DEMO_RAZ.AND", "UNIT_DEMO.B_CMDS.LIST_4"}};
    setCell("UNIT_DEMO.DEMO_MODE.B_NAME", 1);
    for (const auto& r : rows) {
        setCell(r.source, 1);
        runPasses(R80, 1);
        for (const auto& other : rows) EXPECT_EQ(boolean(other.entry), &other == &r ? 1u : 0u) << r.source;
        setCell(r.source, 0);
        runPasses(R80, 1);
        EXPECT_EQ(boolean(r.entry), 0u);
    }
    // Outside demo mode a set entry stays as it is.
    setCell("UNIT_DEMO.DEMO_MODE.B_NAME", 0);
    setCell("UNIT_DEMO.B_CMDS.LIST_2", 1);
    setCell("UNIT_DEMO.DEMO_START.ONE_SHOT", 1);
    runPasses(R80, 2);
    EXPECT_EQ(boolean("UNIT_DEMO.B_CMDS.LIST_2"), 1u);
    EXPECT_EQ(boolean("UNIT_DEMO.B_CMDS.LIST_1"), 0u);
}

TEST_F(UnitDemoCommands, AtIdleForItsDelayTheListAsksForTheMinimumGovernor) {
    setCell("UNIT_DEMO.DEMO_MODE.B_NAME", 1);
    setCell("UNIT_DEMO.GO_MINGOV.DLY_TIME", 2.0);
    setCell("UNIT_DEMO.AT_IDLE.AND", 1);
    int pass = 0;
    for (int k = 1; k <= 40 && pass == 0; ++k) {
        runPasses(R80, 1);
        if (boolean("UNIT_DEMO.B_CMDS.LIST_5") == 1) pass = k;
    }
    EXPECT_EQ(pass, 26);
    EXPECT_EQ(boolean("UNIT_DEMO.GO_MINGOV.DELAY"), 1u);
    setCell("UNIT_DEMO.AT_IDLE.AND", 0);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("UNIT_DEMO.B_CMDS.LIST_5"), 0u);
}

}  // namespace

namespace {

class UnitDemoProgram : public ProgramRig {};

// Demonstration mode is held off outside the speed simulation: its enable,
// given from the service tool on a unit that is not simulating, does not
// take, and it is off from power-up.
TEST_F(UnitDemoProgram, DemoModeStaysOffOutsideTheSimulation) {
    powerUpReady();
    EXPECT_EQ(boolean("UNIT_DEMO.DEMO_MODE.B_NAME"), 0u);
    EXPECT_EQ(integer("UNIT_DEMO.ENA_DEMO.ACT_OUT"), 2);
    serviceWrite("UNIT_DEMO.ENA_DEMO.IN_2", 1);
    for (int k = 0; k < 10; ++k) {
        runPasses(R80, 1);
        ASSERT_EQ(boolean("UNIT_DEMO.NOT_IN_SIM.NOT"), 1u) << k;
        ASSERT_EQ(boolean("UNIT_DEMO.ENA_DEMO.B_ACTION"), 0u) << k;
        ASSERT_EQ(boolean("UNIT_DEMO.DEMO_MODE.B_NAME"), 0u) << k;
    }
}

}  // namespace
