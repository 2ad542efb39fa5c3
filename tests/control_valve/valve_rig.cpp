#include "tests/control_valve/valve_rig.h"

#include "app/control/HPLM.cells.h"
#include "app/control/SPDC.cells.h"
#include "host/board.h"
#include "host/speed_sensor_model.h"
#include "host/turbine_model.h"

namespace valve_test {

namespace {
bool g_started = false;
void startUp() {
    if (g_started) return;
    g_started = true;
    tc_test::loadTunableDefaults();
    SPDC_init_blks();
    HPLM_init_blks();
}
}  // namespace

void ValveRig::SetUp() {
    AppHarness::SetUp();
    // Its settings go in while the control runs, in larger steps than the
    // service tool accepts then: not yet entered in the tool's steps or in
    // configure mode.
    checkSteps(false);
    g_started = false;
}

void ValveRig::run(std::vector<SliceFn> r10, std::vector<SliceFn> r40, std::vector<SliceFn> r80,
                   std::vector<SliceFn> r160) {
    r10.insert(r10.begin(), startUp);
    useSlices(R10, r10);
    useSlices(R40, r40);
    useSlices(R80, r80);
    useSlices(R160, r160);
    startApp();
    ASSERT_TRUE(g_started);
}

void ValveRig::pulse(const std::string& cell, int group) {
    setCell(cell, 1);
    runPasses(group, 1);
    setCell(cell, 0);
}

void ProgramRig::SetUp() {
    AppHarness::SetUp();
    // Its settings go in while the control runs, in larger steps than the
    // service tool accepts then: not yet entered in the tool's steps or in
    // configure mode.
    checkSteps(false);
    useProgram();
    board::reset();
    turbine::reset();
    speedsensor::install();
}

void ProgramRig::TearDown() {
    AppHarness::TearDown();
    turbine::reset();
}

void ProgramRig::powerUp(Settings extra) {
    startApp();
    enterSettings(extra);
    runPasses(R160, 20);
    ASSERT_EQ(boolean("MASTER.IO_LOCK_OR_PWR.B_NAME"), 0u) << "still powering up";
}

void ProgramRig::enterSettings(Settings extra) {
    const std::pair<const char*, double> manualStart[] = {
        {"CNFG_START.CONFIG_A.IN_1", 1000.0},  {"CNFG_START.CONFIG_A.IN_2", 3600.0},
        {"CNFG_SETPT.QT_MIN_GOV.IN", 3000.0},  {"CNFG_SETPT.QT_MAX_GOV.IN", 3800.0},
        {"CNFG_START.RATE_IDL_SPD.IN", 50.0},  {"CNFG_START.RATE_MIN_SPD.IN", 100.0},
        {"CNFG_START.CONFIG_B.IN_1", 1.0},
    };
    for (const auto& [name, value] : manualStart) serviceWrite(name, value);
    for (const auto& [name, value] : extra) serviceWrite(name, value);
}

void ProgramRig::powerUpReady(Settings extra) {
    powerUp(extra);
    clearTrips();
}

void ProgramRig::clearTrips() {
    contact(kTripContact, true);
    runPasses(R160, 8);
    resetTrips();
    ASSERT_TRUE(runUntil([&] { return !tripped(); }, 20))
        << "still tripped; first out " << integer("SHUTDOWNS.ANY.FIRST_ALM");
    // Ready to start: at rest in the chart's first step since an earlier pass
    // (a start given in the pass it enters it is held) and nothing holding a
    // start back.
    ASSERT_TRUE(runUntil(
        [&] {
            return boolean("SPDC.A00_STEP.SFC_STEP") != 0 && real("SPDC.A00_STEP.ACTIVETIME") > 0.1f &&
                   boolean("START.OR_SD.OR") == 0;
        },
        50))
        << "not ready to start";
}

void ProgramRig::contact(int input, bool closed) { board::setDiscreteInput(input, closed); }

void ProgramRig::resetTrips() {
    contact(kResetContact, true);
    runPasses(R160, 3);
    contact(kResetContact, false);
    runPasses(R160, 1);
}

void ProgramRig::command(const std::string& cell, int group) {
    serviceWrite(cell, 1);
    runPasses(group, 1);
    serviceWrite(cell, 0);
}

void ProgramRig::sensorsAt(double rpm) {
    speedsensor::setShaftSpeed(0, rpm, 60);
    speedsensor::setShaftSpeed(1, rpm, 60);
}

bool ProgramRig::runUntil(const std::function<bool()>& done, int max) {
    for (int k = 0; k < max; ++k) {
        if (done()) return true;
        runPasses(R80, 1);
    }
    return done();
}

}  // namespace valve_test
