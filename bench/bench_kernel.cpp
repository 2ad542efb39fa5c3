// Cost of the host kernel per 5 ms tick: a tick handler resumes a priority-8
// task, which resumes five rate-group-like tasks that each suspend themselves.
#include <benchmark/benchmark.h>

#include <chrono>

#include "host/hostkernel.h"

namespace {

TASK_ID g_master = 0;
TASK_ID g_groups[5];

void tickHook(long) { taskResume(g_master); }

void BM_KernelTick(benchmark::State& state) {
    hk::start(hk::ClockMode::Simulated);
    hk::runTask([] {
        for (int i = 0; i < 5; ++i)
            g_groups[i] = hk::spawnFunction([] {
                for (;;) taskSuspend(0);
            }, 11 + i, "rg");
        g_master = hk::spawnFunction([] {
            for (;;) {
                taskSuspend(0);
                for (TASK_ID t : g_groups) taskResume(t);
            }
        }, 8, "master");
        VKClkConnect(tickHook, 0);
    });
    const uint64_t ticksPerIter = 2000;
    uint64_t total = 0;
    auto t0 = std::chrono::steady_clock::now();
    for (auto _ : state) {
        hk::runTicks(ticksPerIter);
        total += ticksPerIter;
    }
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    hk::shutdown();
    state.counters["us_per_tick"] = wall * 1e6 / static_cast<double>(total);
    state.counters["sim_s_per_wall_s"] = static_cast<double>(total) * 0.005 / wall;
    state.SetItemsProcessed(static_cast<int64_t>(total));
}
BENCHMARK(BM_KernelTick)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
