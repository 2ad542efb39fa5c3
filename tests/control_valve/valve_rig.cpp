#include "tests/control_valve/valve_rig.h"

#include "app/control/HPLM.cells.h"
#include "app/control/SPDC.cells.h"

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

}  // namespace valve_test
