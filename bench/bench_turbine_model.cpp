// Cost of the turbine model per 5 ms tick on the host: the model's step
// alone, and a whole simulated tick of the host kernel with and without the
// model (the difference is what the model adds to a tick, the speed
// sensors' new segments included). The rotor is kept accelerating so that
// every step hands the sensors a new speed, the dearer case.
#include <benchmark/benchmark.h>

#include <cmath>

#include "drivers/zarn_regs.h"
#include "host/board.h"
#include "host/hostkernel.h"
#include "host/speed_sensor_model.h"
#include "host/turbine_model.h"

namespace {

// Actuator 6 driving 20 mA, the shaft at 3000 rpm, the model on or off.
void setUp(bool on) {
    turbine::reset();
    board::reset();
    speedsensor::install();
    hk::start(hk::ClockMode::Simulated);
    board::cpuWrite16(ZARN_CTRL, ZARN_CTRL_OUTPUTS_RELEASED | ZARN_CTRL_ACT6_ENABLE);
    board::cpuWrite16(ZARN_ACT6_COUNT, static_cast<uint16_t>(std::lround(20.0 * 517.86)));
    turbine::setSpeedRpm(3000.0);
    if (on) turbine::enable();
}

void tearDown() {
    turbine::reset();
    hk::shutdown();
}

// Back to 3000 rpm now and then, so that the shaft stays in its range.
void keepInRange(uint64_t& n) {
    if ((++n & 0x3FFF) == 0) turbine::setSpeedRpm(3000.0);
}

void BM_TurbineStep(benchmark::State& state) {
    setUp(true);
    uint64_t n = 0;
    for (auto _ : state) {
        turbine::tick();
        keepInRange(n);
    }
    tearDown();
}
BENCHMARK(BM_TurbineStep);

void BM_KernelTick(benchmark::State& state) {
    const bool on = state.range(0) != 0;
    setUp(on);
    uint64_t n = 0;
    for (auto _ : state) {
        hk::runTicks(1);
        keepInRange(n);
    }
    state.SetLabel(on ? "with the turbine model" : "without it");
    tearDown();
}
BENCHMARK(BM_KernelTick)->Arg(0)->Arg(1);

}  // namespace
