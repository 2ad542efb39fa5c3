// Cost of the speed control on the host: the speed-control slices of one
// 10 ms pass (gain set and switch, speed PID and valve demand chain with the
// actuator hand-off, droop lag, manual demand, noise measurement, optimizer
// status, unit delays), with the PID in control at rated speed, idle and
// during a tuning run.
#include <benchmark/benchmark.h>

#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/HP_DRIVER.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/SPD_CTRL.cells.h"
#include "app/control/control_slices.h"
#include "app/protection/protection_slices.h"
#include "app/discrete/discrete_slices.h"
#include "app/config/CNFG_SETPT.cells.h"
#include "blocks/pid_contexts.h"
#include "host/hostkernel.h"
#include "runtime/appmem.h"
#include "runtime/rgtask.h"
#include "tests/support/app_harness.h"

namespace {

// Application memory cleared, tunable defaults, the speed PID wired; the
// turbine at 3600 rpm on a 3600 rpm reference, valve limiter open, forward
// acting; the copies of the slower groups made once.
void setUp(bool tuning) {
    hk::start(hk::ClockMode::Simulated);
    init_blk_ram();
    tc_test::loadTunableDefaults();
    RTinit_pid_contexts();
    cells::CNFG_SPEED.TSS_01_MPU_ZARN = 3600.0f;
    cells::IFACE_IN_VLV.V1LMTR_VAL_A_NAME = 100.0f;
    cells::HP_DRIVER.REV_GAIN_A_SW = -1.0f;
    cells::HP_DRIVER.REV_SP_A_SW = 0.0f;
    cells::SPD_CTRL.SPD_SETPT_A_NAME = 3600.0f;
    cells::SPD_CTRL.INV_MX_SPD_DIVIDE = 100.0f / 4000.0f;
    cells::SPD_CTRL.PRC_MVLMT_A_NAME = 30.0f * 100.0f / 4000.0f;
    cells::SPD_CTRL.ENA_OPTI_B_ACTION = tuning ? 1u : 0u;
    cells::SPD_CTRL.ENA_OPTI_DELAY_DELAY = tuning ? 1u : 0u;
    _R10_R20_move_vals();
    _R10_R40_move_vals();
    _R10_R80_move_vals();
    _R10_R160_move_vals();
    AllRgExecuted = 1;
    AllRgExecutedwMMM = 1;
}

void pass() {
    _R10_TASK_4();
    _R10_TASK_5();
    _R10_TASK_6();
    _R10_TASK_8();
    _R10_TASK_10();
    _R10_TASK_11();
}

void BM_R10SpeedControlSlices(benchmark::State& state) {
    setUp(state.range(0) != 0);
    for (int i = 0; i < 100; ++i) pass();
    for (auto _ : state) {
        pass();
        benchmark::ClobberMemory();
    }
    hk::shutdown();
}
BENCHMARK(BM_R10SpeedControlSlices)->Arg(0)->ArgName("tuning");
BENCHMARK(BM_R10SpeedControlSlices)->Arg(1)->ArgName("tuning");

}  // namespace
