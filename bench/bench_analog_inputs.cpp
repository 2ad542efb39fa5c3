// Cost of the 20 ms analog-input path on the host, per pass: the I/O
// gather's reads of the controller inputs and the ADC fault, then every
// 20 ms piece of the twelve analog input channels (input stages, scaling,
// filters, fault and value muxes, alarm levels); and the 160 ms
// configuration part of the twelve channels.
#include <benchmark/benchmark.h>

#include "app/analog/AI_ALARM_LEVELS.cells.h"
#include "app/analog/AI_CHANNEL.cells.h"
#include "app/analog/AI_MUX.cells.h"
#include "app/analog/input_slices.h"
#include "app/control/MPU.cells.h"
#include "drivers/ZarnAnalogIns.h"
#include "host/analog_inputs.h"
#include "host/board.h"
#include "host/hostkernel.h"
#include "runtime/appmem.h"
#include "runtime/catalogue_tables.h"
#include "runtime/iogather.h"
#include "runtime/rgtask.h"

namespace {

void (*const kR20Path[])() = {_R20_TASK_1,  _R20_TASK_2,  _R20_TASK_3,  _R20_TASK_4,  _R20_TASK_7,  _R20_TASK_8,
                             _R20_TASK_9,  _R20_TASK_10, _R20_TASK_11, _R20_TASK_12, _R20_TASK_13, _R20_TASK_14,
                             _R20_TASK_15, _R20_TASK_16, _R20_TASK_17, _R20_TASK_18};
void (*const kR160Config[])() = {_R160_TASK_1,  _R160_TASK_2,  _R160_TASK_3,  _R160_TASK_4,
                                _R160_TASK_5,  _R160_TASK_6,  _R160_TASK_58, _R160_TASK_59,
                                _R160_TASK_62, _R160_TASK_65, _R160_TASK_71, _R160_TASK_80};

// Application memory cleared and at the tunables' defaults, every channel in
// use with both alarm levels and the permissive, the ADC running with noisy
// sources on the controller inputs.
void setUp() {
    hk::start(hk::ClockMode::Simulated);
    board::reset();
    init_blk_ram();
    for (uint32_t k = 0; k < num_tune_defaults; ++k) {
        const TuneDefault& d = _tune_defaults[k];
        void* p = cell_ptr(d.cell);
        if (d.type == 'A') *static_cast<float*>(p) = static_cast<float>(d.value);
        else if (d.type == 'I') *static_cast<int32_t*>(p) = static_cast<int32_t>(d.value);
        else if (d.type == 'B' || d.type == 'U') *static_cast<uint32_t*>(p) = static_cast<uint32_t>(d.value);
    }
    using namespace cells;
    _ub6.FUN_NUM_TUNE = 2;
    _ub7.FUN_NUM_TUNE = 3;
    _ub8.FUN_NUM_TUNE = 4;
    _ub9.FUN_NUM_TUNE = 5;
    _ub33.FUN_NUM_TUNE = 9;
    _ub34.FUN_NUM_TUNE = 10;
    _ub35.FUN_NUM_TUNE = 11;
    _ub36.FUN_NUM_TUNE = 12;
    _ub37.FUN_NUM_TUNE = 13;
    _ub38.FUN_NUM_TUNE = 14;
    _ub39.FUN_NUM_TUNE = 15;
    _ub40.FUN_NUM_TUNE = 16;
    AI_CHANNEL_init_blks();
    MPU.TURB_SPD_A_NAME = 3000.0f;
    InitZarnAnalogInsFpga(0);
    for (int ch = 0; ch < 4; ++ch) {
        board::setAnalogInputMa(ch, 8.0 + 3.0 * ch);
        board::setAnalogInputNoise(ch, 0.05);
    }
    for (auto slice : kR160Config) slice();
    // The 20 ms group reads the configuration through its copies.
    _R20_R160_move_vals();
    _R20_R80_move_vals();
    _R10_R20_move_vals();
}

void r20Pass() {
    iogather_R20_analog_inputs();
    iogather_R20_fpga_adc_fault();
    for (auto slice : kR20Path) slice();
}

void BM_R20AnalogInputPath(benchmark::State& state) {
    setUp();
    // Filters settled.
    for (int i = 0; i < 50; ++i) r20Pass();
    for (auto _ : state) {
        r20Pass();
        benchmark::ClobberMemory();
    }
    // The path did its work: input 1 (8 mA on 0 .. 100) reads 25 at the
    // remote speed setpoint.
    if (cells::AI_MUX.RMT_SPD_SP_A_NAME < 24.0f || cells::AI_MUX.RMT_SPD_SP_A_NAME > 26.0f)
        state.SkipWithError("the analog input path computed nothing");
    state.SetLabel("12 channels, gather + 20 ms pieces, per pass");
    hk::shutdown();
}
BENCHMARK(BM_R20AnalogInputPath);

void BM_R160AnalogInputConfiguration(benchmark::State& state) {
    setUp();
    for (auto _ : state) {
        for (auto slice : kR160Config) slice();
        benchmark::ClobberMemory();
    }
    state.SetLabel("12 channels, per 160 ms pass");
    hk::shutdown();
}
BENCHMARK(BM_R160AnalogInputConfiguration);

}  // namespace
