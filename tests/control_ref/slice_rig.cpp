#include "tests/control_ref/slice_rig.h"

#include <string>
#include <utility>

#include "app/analog/input_slices.h"
#include "app/analog/output_slices.h"
#include "app/config/config_slices.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/MPU.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/HPLM.cells.h"
#include "app/control/control_slices.h"
#include "app/discrete/discrete_slices.h"
#include "app/interface/interface_slices.h"
#include "app/protection/protection_slices.h"

namespace ref_test {

namespace {
bool g_started = false;
bool g_follow = true;

// What start-up does before the first frame: the tunable defaults, then the
// block initialisation of the charts.
void startUp() {
    if (g_started) return;
    g_started = true;
    tc_test::loadTunableDefaults();
    SPDC_init_blks();
    HPLM_init_blks();
}

// The plant at 10 ms: the shaft follows the reference.
void plant() {
    using namespace cells;
    if (!g_follow) return;
    const float r = IFACE_OUT_SPEED.SPEED_REF_A_NAME;
    IFACE_IN_SPEED.SPEED_A_NAME = r > 0.0f ? r : 0.0f;
    MPU.TURB_SPD_A_NAME = IFACE_IN_SPEED.SPEED_A_NAME;
}
}  // namespace

void SliceRig::setFollow(bool follow) { g_follow = follow; }
void SliceRig::startUpInFirstFrame() { startUp(); }

void SliceRig::SetUp() {
    AppHarness::SetUp();
    g_started = false;
    g_follow = true;
    useSlices(R10, {startUp, _R10_TASK_11, plant});
    useSlices(R20, {_R20_TASK_7});
    useSlices(R40, {_R40_TASK_3, _R40_TASK_4, _R40_TASK_5, _R40_TASK_8});
    useSlices(R80, {_R80_TASK_14, _R80_TASK_15, _R80_TASK_16, _R80_TASK_18, _R80_TASK_19, _R80_TASK_23,
                    _R80_TASK_24, _R80_TASK_25, _R80_TASK_26, _R80_TASK_30});
    useSlices(R160, {_R160_TASK_11, _R160_TASK_20, _R160_TASK_21, _R160_TASK_36, _R160_TASK_37, _R160_TASK_40,
                     _R160_TASK_44, _R160_TASK_45, _R160_TASK_47, _R160_TASK_48, _R160_TASK_49, _R160_TASK_50,
                     _R160_TASK_51, _R160_TASK_82});
}

void SliceRig::start(bool idle_rated, bool auto_start) {
    startApp();
    ASSERT_TRUE(g_started);
    setCell("CNFG_START.CONFIG_A.LIST_1", kIdle);
    setCell("IFACE_IN_SPEED.IDLE_1.A_NAME", kIdle);
    // The governor limits: their tunables, their configuration lists (which
    // this rig's 160 ms group copies on) and the settings.
    for (const char* name : {"CNFG_SETPT.QT_MIN_GOV.IN", "CNFG_SETPT.CONFIG_A.LIST_5", "CNFG_SETPT.MIN_GOV.A_NAME",
                             "IFACE_IN_SPEED.MIN_GOV.A_NAME"})
        setCell(name, kMinGov);
    for (const char* name : {"CNFG_SETPT.QT_MAX_GOV.IN", "CNFG_SETPT.CONFIG_A.LIST_3", "CNFG_SETPT.MAX_GOV.A_NAME",
                             "IFACE_IN_SPEED.MAX_GOV.A_NAME"})
        setCell(name, kMaxGov);
    setCell("CNFG_START.CONFIG_A.LIST_2", kRated);
    // The start settings: their tunables for a rig that runs the settings
    // slice, their copies for one that does not.
    for (const auto& [name, value] : {std::pair<std::string, double>{"CNFG_START.RATE_IDL_SPD", kRateIdle},
                                      {"CNFG_START.RATE_MIN_SPD", kRateMin},
                                      {"CNFG_START.HOT_START_MULT", 2.0}}) {
        setCell(name + ".IN", value);
        setCell(name + ".A_NAME", value);
    }
    // The start-mode list: idle/rated start with the rated setpoint.
    for (const char* n : {"2", "10"}) {
        setCell(std::string("CNFG_START.CONFIG_B.IN_") + n, auto_start ? 1 : 0);
        setCell(std::string("CNFG_START.CONFIG_B.LIST_") + n, auto_start ? 1 : 0);
    }
    setCell("IFACE_IN_START.AUTO_START.B_NAME", auto_start ? 1 : 0);
    setCell("IFACE_IN_START.MANUAL_START.B_NAME", auto_start ? 0 : 1);
    setCell("CONF_VAL_1.IDLE_RTD.B_NAME", idle_rated ? 1 : 0);
    for (const char* field : {".IN", ".A_NAME"}) {
        setCell(std::string("CNFG_SETPT.SLOW_RATE_ONLINE") + field, 4.0);
        setCell(std::string("CNFG_SETPT.SLOW_RATE_OFFLINE") + field, 5.0);
    }
    setCell("IFACE_IN_SPEED.SP_FRATE_OFF.A_NAME", 40.0);
    setCell("IFACE_IN_SPEED.SP_FRATE_ON.A_NAME", 30.0);
    setCell("IFACE_IN_SPEED.SP_FRATE_DLY.A_NAME", 3.0);
    setCell("IFACE_IN_SPEED.NS_RATE.A_NAME", 100.0);
    setCell("IFACE_IN_SPEED.SP_GOTO_RT.A_NAME", 20.0);
    setCell("MPU_OVRD.MIN_LVL_1.ADD", 250.0);
    setCell("REMOTE.ENTR_ENBL.AND", 1);
    // Nothing inhibits a start: a start mode configured (the start-mode
    // flags' slice is not in this rig) and the power-up completed without
    // configuration errors (its 80 ms sequence is not either).
    setCell("START.AUTO_START.AND", auto_start ? 1 : 0);
    setCell("START.MAN_START.B_NAME", auto_start ? 0 : 1);
    setCell("PWR_UP_MSG.PWR_UP_COMPLETE.DELAY", 1);
    setCell("PWR_UP_MSG.N_ERR_DLY.DELAY", 1);  // counted anew where the rig runs its slice
    runPasses(R160, 1);
    for (int k = 0; k < 20 && boolean("PWR_UP_MSG.N_ERR_DLY.DELAY") == 0; ++k) runPasses(R160, 1);
    runPasses(R160, 2);
}

void SliceRig::pulse(const std::string& cell, int group) {
    setCell(cell, 1);
    runPasses(group, 1);
    setCell(cell, 0);
}

void SliceRig::startToInControl() {
    startCommand();
    ASSERT_TRUE(runUntil([&] { return step("A08_STEP"); }, 5000)) << "never in control";
}

}  // namespace ref_test

namespace ref_test {
void SliceRig::startToRated() {
    startCommand();
    ASSERT_TRUE(runUntil([&] { return step("A02_STEP"); }, 500)) << "never at idle";
    pulse("IFACE_IN_START.IR_EN.B_NAME", R160);
    ASSERT_TRUE(runUntil([&] { return step("A08_STEP"); }, 2000)) << "never in control";
}
}  // namespace ref_test
