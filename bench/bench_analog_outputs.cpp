// Cost of the 10 ms output path on the host, per pass: the gather's
// readbacks and PWM count of the actuator, then the actuator channel's 10 ms
// piece and its driver stage (readback conversion and fault checks, demand
// current, dither, range, calibration). Also the 20 ms path of the three
// analog outputs (channel pieces, hardware stages, gather).
#include <benchmark/benchmark.h>

#include "app/analog/ACT_CHANNEL.cells.h"
#include "app/analog/AO_CHANNEL.cells.h"
#include "app/analog/CNFG_ACT.cells.h"
#include "app/analog/CNFG_AO.cells.h"
#include "app/analog/output_slices.h"
#include "app/analog/AO_MUX.cells.h"
#include "app/discrete/DRVR_SCALE.cells.h"
#include "app/config/MASTER.cells.h"
#include "drivers/ZarnActuator.h"
#include "drivers/ZarnCalibration.h"
#include "drivers/ZarnHwDepend.h"
#include "host/board.h"
#include "host/hostkernel.h"
#include "runtime/appmem.h"
#include "runtime/iogather.h"
#include "runtime/rgtask.h"
#include "tests/support/app_harness.h"

namespace {

// Application memory at the tunables' defaults, the actuator on the HP
// demand in the high range with dither, the outputs released, the
// calibration at its defaults, and the channels' configuration through the
// copies.
void setUp() {
    hk::start(hk::ClockMode::Simulated);
    board::reset();
    init_blk_ram();
    tc_test::loadTunableDefaults();
    ResetZarnActuator();
    SetCalDefaults();
    io_lock(0x8000);
    CNFG_AO_init_blks();
    CNFG_ACT_init_blks();
    InitZarnActOut(6);
    using namespace cells;
    _ub5.ACT_FUNCTION_TUNE = 2;
    _ub5.ACT_RANGE_SEL_TUNE = 1;
    _ub5.ACT_MIN_VAL_TUNE = 20.0f;
    _ub5.ACT_MAX_VAL_TUNE = 160.0f;
    _ub5.ACT_DITHER_IN = 2.0f;
    DRVR_SCALE.TO_HP_DMD_A_SW = 50.0f;
    MASTER.IO_LOCK_OR_PWR_B_NAME = 1;
    _ub10.FUNCTION_TUNE = 2;
    _ub11.FUNCTION_TUNE = 2;
    _ub12.FUNCTION_TUNE = 2;
    AO_MUX.SEL_OUTS_LIST_2 = 50.0f;
    r160::ACT_CHANNEL_config();
    for (int k = 0; k < 3; ++k) {
        r160::AO_CHANNEL_config(k);
        r160::CNFG_AO_settings(k);
    }
    _R10_R160_move_vals();
    _R20_R160_move_vals();
    _R10_R20_move_vals();
}

void r10Pass() {
    iogather_R10_actuator();
    r10::ACT_CHANNEL_demand();
    r10::ACT_CHANNEL_shutdown();
    r10::CNFG_ACT_driver();
}

void BM_R10ActuatorOutputPath(benchmark::State& state) {
    setUp();
    for (int i = 0; i < 50; ++i) r10Pass();
    for (auto _ : state) {
        r10Pass();
        benchmark::ClobberMemory();
    }
    if (stZarnActData[6].S_actout <= 0.0f) state.SkipWithError("the actuator path computed nothing");
    state.SetLabel("actuator channel + driver stage + gather, per 10 ms pass");
    hk::shutdown();
}
BENCHMARK(BM_R10ActuatorOutputPath);

void r20Pass() {
    iogather_R20_analog_outputs();
    for (int k = 0; k < 3; ++k) {
        r20::AO_CHANNEL_signal(k);
        r20::CNFG_AO_output(k);
        r20::AO_CHANNEL_alarm(k);
    }
}

void BM_R20AnalogOutputPath(benchmark::State& state) {
    setUp();
    for (int i = 0; i < 50; ++i) r20Pass();
    for (auto _ : state) {
        r20Pass();
        benchmark::ClobberMemory();
    }
    if (CNFG_AO_count(0) <= 0.0) state.SkipWithError("the analog output path computed nothing");
    state.SetLabel("3 channels + hardware stages + gather, per 20 ms pass");
    hk::shutdown();
}
BENCHMARK(BM_R20AnalogOutputPath);

}  // namespace
