#include "tests/support/ref_rig.h"

#include <string>
#include <utility>

#include "host/analog_inputs.h"
#include "host/board.h"
#include "host/speed_sensor_model.h"
#include "host/turbine_model.h"

namespace ref_test {

void RefRig::SetUp() {
    const auto& program = tc_test::programSliceTable();
    AppHarness::SetUp();
    // Its settings go in while the control runs, in larger steps than the
    // service tool accepts then: not yet entered in the tool's steps or in
    // configure mode.
    checkSteps(false);
    board::reset();
    turbine::reset();
    speedsensor::install();
    for (int g = 0; g < kNumRateGroups; ++g) useSlices(g, program[g]);
}

void RefRig::TearDown() {
    AppHarness::TearDown();
    turbine::reset();
}

double RefRig::shaft() { return turbine::speedRpm(); }

void RefRig::shaftAt(double rpm) { turbine::setSpeedRpm(rpm); }

void RefRig::holdShaftAt(double rpm) {
    turbine::setSpeedRpm(rpm);
    turbine::enable();
    turbine::disable();
}

void RefRig::start(bool idle_rated, bool auto_start, const Settings& extra) {
    turbine::enable();
    startApp();
    enterSettings(idle_rated, auto_start, extra);
    runPasses(R160, 20);
    ASSERT_EQ(boolean("MASTER.IO_LOCK_OR_PWR.B_NAME"), 0u) << "still powering up";
    // The trip contact closed, then the trips reset: ready to start.
    clearTrip();
    ASSERT_TRUE(runUntil([&] { return startable_ ? ready() : step("A00_STEP"); }, 50))
        << "not ready; first out " << integer("SHUTDOWNS.ANY.FIRST_ALM");
}

void RefRig::enterSettings(bool idle_rated, bool auto_start, const Settings& extra) {
    // The settings, entered while the controller powers up (the window in
    // which the configuration lists take them).
    const std::pair<const char*, double> settings[] = {
        {"CNFG_START.CONFIG_A.IN_1", kIdle},
        {"CNFG_START.CONFIG_A.IN_2", kRated},
        {"CNFG_SETPT.QT_MIN_GOV.IN", kMinGov},
        {"CNFG_SETPT.QT_MAX_GOV.IN", kMaxGov},
        {"CNFG_START.RATE_IDL_SPD.IN", kRateIdle},
        {"CNFG_START.RATE_MIN_SPD.IN", kRateMin},
        {"CNFG_START.HOT_START_MULT.IN", 2.0},
        // Start modes: manual (1), or the idle/rated start (2) with rated
        // as its second target (10).
        {"CNFG_START.CONFIG_B.IN_1", auto_start ? 0 : 1},
        {"CNFG_START.CONFIG_B.IN_2", idle_rated ? 1 : 0},
        {"CNFG_START.CONFIG_B.IN_10", auto_start ? 1 : 0},
        {"CNFG_SETPT.SLOW_RATE_ONLINE.IN", 4.0},
        {"CNFG_SETPT.SLOW_RATE_OFFLINE.IN", 5.0},
        {"IFACE_IN_SPEED.SP_FRATE_OFF.IN", 40.0},
        {"IFACE_IN_SPEED.SP_FRATE_ON.IN", 30.0},
        {"IFACE_IN_SPEED.SP_FRATE_DLY.IN", 3.0},
        {"IFACE_IN_SPEED.NS_RATE.IN", 100.0},
        {"IFACE_IN_SPEED.SP_GOTO_RT.IN", 20.0},
        // The spare contact BI07 carries the controlled-stop function.
        {"_ub19.FUNCT.IN", 28},
    };
    for (const auto& [name, value] : settings) serviceWrite(name, value);
    for (const auto& [name, value] : extra) serviceWrite(name, value);
}

void RefRig::startWithRemoteAndCascade(const Settings& extra) {
    board::setAnalogInputMa(0, 12.0);
    board::setAnalogInputMa(1, 12.0);
    Settings all = {{"CNFG_SETPT.CONFIG_B.IN_2", 1},
                    {"_ub6.FUNCT.IN", 2},
                    {"_ub6.RANGE_LO.IN", kMinGov},
                    {"_ub6.RANGE_HI.IN", kMaxGov},
                    {"CNFG_CASC.CONFIG_B.IN_1", 1},
                    {"_ub7.FUNCT.IN", 3},
                    {"CNFG_CASC.CONFIG_A.IN_2", 100.0},
                    {"CNFG_CASC.CONFIG_A.IN_3", 50.0},
                    {"CNFG_CASC.CONFIG_A.IN_4", kMinGov + 100.0},
                    {"CNFG_CASC.CONFIG_A.IN_5", kMaxGov - 100.0}};
    all.insert(all.end(), extra.begin(), extra.end());
    start(false, false, all);
}

void RefRig::pulse(const std::string& cell, int group) {
    serviceWrite(cell, 1);
    runPasses(group, 1);
    serviceWrite(cell, 0);
}

void RefRig::contact(int input, bool closed) { board::setDiscreteInput(input, closed); }

void RefRig::contactPulse(int input) {
    contact(input, true);
    runPasses(R160, 1);
    contact(input, false);
}

void RefRig::startCommand() { pulse("START.START.IN_3", R80); }

void RefRig::reset() {
    contact(kResetContact, true);
    runPasses(R160, 3);
    contact(kResetContact, false);
    runPasses(R160, 1);
}

void RefRig::clearTrip() {
    contact(kTripContact, true);
    runPasses(R160, 8);
    reset();
    ASSERT_TRUE(runUntil([&] { return boolean("SHUTDOWNS.ANY_SD.B_NAME") == 0; }, 20))
        << "trips still latched; first out " << integer("SHUTDOWNS.ANY.FIRST_ALM");
}

bool RefBase::runUntil(const std::function<bool()>& done, int max) {
    for (int k = 0; k < max; ++k) {
        if (done()) return true;
        runPasses(R80, 1);
    }
    return done();
}

double RefBase::slopeOverOneSecond() {
    const double a = ref();
    runPasses(R40, 25);
    return ref() - a;
}

void RefRig::startToInControl() {
    startCommand();
    ASSERT_TRUE(runUntil([&] { return step("A08_STEP"); }, 5000)) << "never in control";
}

void RefRig::startToRated() {
    startCommand();
    ASSERT_TRUE(runUntil([&] { return step("A02_STEP"); }, 500)) << "never at idle";
    pulse("IFACE_IN_START.IR_EN.IN", R160);
    ASSERT_TRUE(runUntil([&] { return step("A08_STEP"); }, 2000)) << "never in control";
}

}  // namespace ref_test
