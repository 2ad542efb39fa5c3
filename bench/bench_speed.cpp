// Cost of speed sensing on the host: the 10 ms group's speed-sensing slice
// per pass, and the master clock pass's filter of both channels per tick,
// with both wheels turning (pulse-train model behind the registers).
#include <benchmark/benchmark.h>

#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/control_slices.h"
#include "drivers/ZarnTurbineSpeed.h"
#include "drivers/zarn_regs.h"
#include "host/board.h"
#include "host/hostkernel.h"
#include "host/speed_sensor_model.h"
#include "runtime/appmem.h"
#include "runtime/rgtask.h"

namespace {

// Application memory cleared, the speed settings of two 60-tooth wheels,
// both channels set up and turning at 3000 rpm, the start-up frames over.
void setUp() {
    hk::start(hk::ClockMode::Simulated);
    speedsensor::install();
    init_blk_ram();
    cells::CNFG_SPEED.SPD1_TEETH_IN = 60;
    cells::CNFG_SPEED.SPD2_TEETH_IN = 60;
    cells::CNFG_SPEED.SPD1_GEAR_IN = 1.0f;
    cells::CNFG_SPEED.SPD2_GEAR_IN = 1.0f;
    cells::CNFG_SPEED.SPD1_MAXSPD_IN = 6000.0f;
    cells::CNFG_SPEED.SPD2_MAXSPD_IN = 6000.0f;
    cells::CNFG_SPEED.SPD1_LOW_SP_IN = 250.0f;
    cells::CNFG_SPEED.SPD2_LOW_SP_IN = 250.0f;
    CNFG_SPEED_init_blks();
    speedsensor::setShaftSpeed(0, 3000.0, 60);
    speedsensor::setShaftSpeed(1, 3000.0, 60);
    AllRgExecutedwMMM = 0;
    _R10_TASK_1();
    hk::runTicks(20);
    AllRgExecuted = 1;
    AllRgExecutedwMMM = 1;
}

void BM_R10SpeedSensingSlice(benchmark::State& state) {
    setUp();
    for (auto _ : state) {
        _R10_TASK_1();
        benchmark::ClobberMemory();
    }
    hk::shutdown();
}
BENCHMARK(BM_R10SpeedSensingSlice);

void BM_MasterClockSpeedFilter(benchmark::State& state) {
    setUp();
    for (auto _ : state) {
        FilterZarnTss(0);
        FilterZarnTss(1);
        benchmark::ClobberMemory();
    }
    hk::shutdown();
}
BENCHMARK(BM_MasterClockSpeedFilter);

// The same without the pulse-train model: registers that only hold values,
// so that the driver's own share shows.
void BM_MasterClockSpeedFilterRawRegisters(benchmark::State& state) {
    setUp();
    board::reset();
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < ZARN_TSS_SAMPLE_COUNT; ++i)
            board::poke32(ZARN_TSS_SAMPLES0 + static_cast<uint32_t>(ch) * ZARN_TSS_STRIDE + 4u * static_cast<uint32_t>(i),
                          42667);
    for (auto _ : state) {
        FilterZarnTss(0);
        FilterZarnTss(1);
        benchmark::ClobberMemory();
    }
    hk::shutdown();
}
BENCHMARK(BM_MasterClockSpeedFilterRawRegisters);

}  // namespace
