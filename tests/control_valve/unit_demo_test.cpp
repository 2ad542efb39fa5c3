// The demonstration on the whole program, with the speed simulation on: its
// chart walks through start, start done, trip, reset and back to the first
// step once the controller is ready again, naming each page; its command
// list starts, raises, trips and resets the unit; the keypad's trip key
// returns the chart to its first step. Driven only through the service
// tool's settings and commands, the reset contact and the front-panel keys.
#include <functional>

#include "app/analog/UNIT_DEMO.cells.h"
#include "app/control/control_slices.h"
#include "host/board.h"
#include "host/hostkernel.h"
#include "tests/control_valve/valve_rig.h"
#include "tests/support/ref_rig.h"

namespace {

class UnitDemoSimulated : public ref_test::RefRig {
protected:
    static constexpr int P80 = ref_test::R80;
    void TearDown() override {
        hk::runTask([] { board::releaseAllKeys(); });
        RefRig::TearDown();
    }
    // Powered up for the simulation (an automatic start to idle, then rated;
    // a configure-level user; the configuration checks overridden), the
    // simulation switched on, the trips reset and demo mode enabled.
    void startDemo(const Settings& extra = {}) {
        startApp();
        serviceWrite("CONF_LATCH.ANY.OVRD", 1);
        serviceWrite("IFACE_MODE.CNFG_OR_ABOV.IN_3", 1);
        enterSettings(true, true, {{"CNFG_START.VLV_LIM_RATE.IN", 25.0}});
        for (const auto& [name, v] : extra) serviceWrite(name, v);
        runPasses(ref_test::R160, 20);
        pulse("SPEED_SIM.INTERNAL_SIM.IN_1", ref_test::R160);
        runPasses(ref_test::R160, 2);
        ASSERT_EQ(boolean("SPEED_SIM.ENA__SIM.B_NAME"), 1u);
        reset();
        pulse("UNIT_DEMO.ENA_DEMO.IN_2", P80);
        runPasses(P80, 1);
        ASSERT_EQ(boolean("UNIT_DEMO.DEMO_MODE.B_NAME"), 1u);
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
    // While demo mode is on, each command of the list carries its source.
    void expectList() {
        EXPECT_EQ(boolean("UNIT_DEMO.B_CMDS.LIST_1"), boolean("UNIT_DEMO.DEMO_START.ONE_SHOT"));
        EXPECT_EQ(boolean("UNIT_DEMO.B_CMDS.LIST_2"), boolean("UNIT_DEMO.DEMO_TRIP.ONE_SHOT"));
        EXPECT_EQ(boolean("UNIT_DEMO.B_CMDS.LIST_3"), boolean("UNIT_DEMO.DEMO_RESET.ONE_SHOT"));
        EXPECT_EQ(boolean("UNIT_DEMO.B_CMDS.LIST_4"), boolean("UNIT_DEMO.DEMO_RAZ.AND"));
        EXPECT_EQ(boolean("UNIT_DEMO.B_CMDS.LIST_5"), boolean("UNIT_DEMO.GO_MINGOV.DELAY"));
    }
    // 80 ms passes until `done` (checked before each), at most `max`, with
    // `each` after every pass; the passes run, or -1 when it never came.
    int passesUntil(const std::function<bool()>& done, int max, const std::function<void()>& each = {}) {
        for (int k = 0; k <= max; ++k) {
            if (done()) return k;
            runPasses(P80, 1);
            if (each) each();
        }
        return -1;
    }
    int untilStep(int k, int max = 3000) {
        return passesUntil([&] { return step() == k; }, max, [&] { expectList(); });
    }
    void tripKey(bool pressed) { hk::runTask([pressed] { board::setKey(0, 7, pressed); }); }
};

// One cycle of the demonstration, step by step, with its pages, its step
// times and the commands it gives the unit.
TEST_F(UnitDemoSimulated, TheChartWalksThroughStartTripAndResetAndNamesEachPage) {
    startDemo({{"UNIT_DEMO.GO_MINGOV.DLY_TIME", 2.0}});
    EXPECT_EQ(step(), 1);
    expectPage(1, "Overview_Page");
    // Each step times its activity.
    runPasses(P80, 10);
    const float t1 = real("UNIT_DEMO.DEMO_STEP1.ACTIVETIME");
    runPasses(P80, 5);
    EXPECT_NEAR(real("UNIT_DEMO.DEMO_STEP1.ACTIVETIME") - t1, 5 * 0.08f, 1e-4);
    // Ready in the first step for its delay: the start pulse, which starts
    // the unit, takes the chart to the second step.
    ASSERT_GE(untilStep(2, 400), 0) << "never started";
    EXPECT_EQ(boolean("UNIT_DEMO.READY.AND"), 1u);
    EXPECT_EQ(boolean("UNIT_DEMO.DEMO_START.ONE_SHOT"), 1u);
    EXPECT_EQ(boolean("UNIT_DEMO.B_CMDS.LIST_1"), 1u);
    runPasses(P80, 3);
    EXPECT_EQ(real("UNIT_DEMO.DEMO_STEP1.ACTIVETIME"), 0.0f);
    EXPECT_NEAR(real("UNIT_DEMO.DEMO_STEP2.ACTIVETIME"), 3 * 0.08f, 1e-4);
    EXPECT_EQ(real("UNIT_DEMO.DEMO_STEP3.ACTIVETIME"), 0.0f);
    EXPECT_EQ(boolean("SPDC.A00_STEP.SFC_STEP"), 0u) << "the unit started";
    // In the second step the page waits for the curve delay.
    expectPage(0, "Off");
    ASSERT_GE(passesUntil([&] { return boolean("UNIT_DEMO.GO2_CURV.DELAY") != 0; }, 200,
                          [&] {
                              if (boolean("UNIT_DEMO.GO2_CURV.DELAY") == 0) expectPage(0, "Off");
                          }),
              0);
    expectPage(2, "Start_Curve_Page");
    // At idle for its delay the list asks for the minimum governor.
    ASSERT_GE(passesUntil([&] { return boolean("UNIT_DEMO.AT_IDLE.AND") != 0; }, 500), 0) << "never at idle";
    const int toMinGov = passesUntil([&] { return boolean("UNIT_DEMO.B_CMDS.LIST_5") != 0; }, 40);
    EXPECT_EQ(toMinGov + 1, 26) << "2.0 s of 80 ms passes from the pass idle was reached";
    EXPECT_EQ(boolean("UNIT_DEMO.GO_MINGOV.DELAY"), 1u);
    // The start completed: its one-second pulse takes the chart to the third
    // step; the flag held on gives no further pulse.
    ASSERT_GE(passesUntil([&] { return boolean("MESSAGE_START.START_COMP.B_NAME") != 0; }, 1500), 0)
        << "the start never completed";
    int done = 0;
    for (int p = 0; p < 40; ++p) {
        runPasses(P80, 1);
        done += static_cast<int>(boolean("UNIT_DEMO.START_DONE.ONE_SHOT"));
        // Leaving the second step ends the idle flag and with it the request.
        if (boolean("UNIT_DEMO.AT_IDLE.AND") == 0) {
            EXPECT_EQ(boolean("UNIT_DEMO.B_CMDS.LIST_5"), 0u) << p;
        }
        expectList();
    }
    EXPECT_NEAR(done, 13, 1);  // 1.0 s of 80 ms passes
    EXPECT_EQ(boolean("MESSAGE_START.START_COMP.B_NAME"), 1u);
    EXPECT_EQ(step(), 3);
    expectPage(3, "Speed_Control_Page");
    // The raise to maximum governor, the trip there.
    ASSERT_GE(untilStep(4, 1000), 0) << "never tripped";
    EXPECT_EQ(boolean("UNIT_DEMO.DEMO_TRIP.ONE_SHOT"), 1u);
    runPasses(P80, 1);
    expectPage(4, "TRIP_View_Page");
    ASSERT_GE(passesUntil([&] { return boolean("SHUTDOWNS.ANY_SD.B_NAME") != 0; }, 5), 0) << "the unit did not trip";
    // The reset.
    ASSERT_GE(untilStep(5, 1000), 0) << "never reset";
    EXPECT_EQ(boolean("UNIT_DEMO.DEMO_RESET.ONE_SHOT"), 1u);
    runPasses(P80, 1);
    expectPage(5, "TRIP_View_Page2");
    ASSERT_GE(passesUntil([&] { return boolean("SHUTDOWNS.ANY_SD.B_NAME") == 0; }, 5), 0) << "not reset";
    // Back to the first step only once the step has lasted its time with no
    // shutdown active: a trip from the service tool holds it.
    serviceWrite("SHUTDOWNS.TUNABLE_TRIP.IN", 1);
    runPasses(ref_test::R160, static_cast<uint32_t>(12.0 / 0.16));
    ASSERT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    EXPECT_EQ(boolean("UNIT_DEMO.DELAY5.DELAY"), 1u);
    EXPECT_EQ(boolean("UNIT_DEMO.GO2READY.AND"), 0u);
    EXPECT_EQ(step(), 5);
    serviceWrite("SHUTDOWNS.TUNABLE_TRIP.IN", 0);
    reset();
    ASSERT_GE(untilStep(1, 20), 0);
    runPasses(P80, 1);
    expectPage(1, "Overview_Page");
}

// The keypad's trip key returns every later step to the first (and trips
// the unit, which is reset before the next cycle); in the first step the
// key does nothing.
TEST_F(UnitDemoSimulated, TheKeypadTripReturnsEveryLaterStepToTheFirst) {
    // The first step waits long enough for the unit to roll down and be
    // reset: a start pulse given as the unit comes ready is lost (the entry
    // into the ready step holds the start off), and the chart would wait in
    // its second step.
    startDemo({{"UNIT_DEMO.DELAY.DLY_TIME", 40.0}});
    for (int k = 2; k <= 5; ++k) {
        SCOPED_TRACE(k);
        ASSERT_GE(untilStep(k), 0) << "step " << step() << " demo " << boolean("UNIT_DEMO.DEMO_MODE.B_NAME") << " sd "
                                   << boolean("SHUTDOWNS.ANY_SD.B_NAME") << " sim " << boolean("SPEED_SIM.ENA__SIM.B_NAME")
                                   << " A00 " << boolean("SPDC.A00_STEP.SFC_STEP") << " first out "
                                   << integer("SHUTDOWNS.ANY.FIRST_ALM");
        // Past the one-second pulse that entered the step (the start pulse
        // would take the chart on again).
        runPasses(P80, 15);
        tripKey(true);
        ASSERT_GE(passesUntil([&] { return step() == 1; }, 2), 0);
        EXPECT_EQ(boolean("UNIT_DEMO.DEMO_STEP" + std::to_string(k) + ".TRAN_2"), 1u);
        // The page follows in the next pass.
        runPasses(P80, 1);
        expectPage(1, "Overview_Page");
        // In the first step the key does nothing.
        runPasses(P80, 2);
        EXPECT_EQ(step(), 1);
        tripKey(false);
        // Rolled down, the trip reset.
        runPasses(ref_test::R160, 100);
        reset();
        ASSERT_TRUE(runUntil([&] { return boolean("SHUTDOWNS.ANY_SD.B_NAME") == 0; }, 20))
            << "first out " << integer("SHUTDOWNS.ANY.FIRST_ALM");
    }
}

// Out of demo mode (switched off from the service tool while the list
// raises the speed) the list keeps its entries.
TEST_F(UnitDemoSimulated, OutsideDemoModeTheListKeepsItsEntries) {
    startDemo();
    ASSERT_GE(untilStep(3), 0);
    ASSERT_GE(passesUntil([&] { return boolean("UNIT_DEMO.DEMO_RAZ.AND") != 0; }, 500, [&] { expectList(); }), 0);
    EXPECT_EQ(boolean("UNIT_DEMO.B_CMDS.LIST_4"), 1u);
    serviceWrite("UNIT_DEMO.ENA_DEMO.RST_2", 1);
    runPasses(P80, 2);
    EXPECT_EQ(boolean("UNIT_DEMO.DEMO_MODE.B_NAME"), 0u);
    EXPECT_EQ(boolean("UNIT_DEMO.DEMO_RAZ.AND"), 0u);
    EXPECT_EQ(boolean("UNIT_DEMO.B_CMDS.LIST_4"), 1u);
    EXPECT_EQ(boolean("UNIT_DEMO.B_CMDS.LIST_1"), 0u);
}

}  // namespace

namespace {

using namespace valve_test;

// No input gives the demonstration's trip or reset pulse while its chart is
// in its second step (the trip pulse needs the reference at maximum
// governor, which comes only after the start has completed, the reset pulse
// the fourth step): the chart alone, with its pulses given by hand.
class UnitDemo : public ValveRig {
protected:
    void SetUp() override {
        ValveRig::SetUp();
        run({}, {}, {_R80_TASK_26, _R80_TASK_30}, {});
        setCell("SHUTDOWNS.NOT_SD.NOT", 1);
        runPasses(R80, 2);
    }
    int step() {
        int active = 0;
        for (int k = 1; k <= 5; ++k)
            if (boolean("UNIT_DEMO.DEMO_STEP" + std::to_string(k) + ".SFC_STEP") != 0) active = k;
        return active;
    }
};

TEST_F(UnitDemo, PulsesOfLaterStepsDoNothingInTheSecondStep) {
    pulse("UNIT_DEMO.DEMO_START.ONE_SHOT", R80);
    runPasses(R80, 1);
    ASSERT_EQ(step(), 2);
    pulse("UNIT_DEMO.DEMO_TRIP.ONE_SHOT", R80);
    pulse("UNIT_DEMO.DEMO_RESET.ONE_SHOT", R80);
    runPasses(R80, 3);
    EXPECT_EQ(step(), 2);
}

}  // namespace

namespace {

using namespace valve_test;

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
