// Host time per simulated second of the bare runtime: the master clock pass
// and five rate groups with empty slices, in simulated time. Reports the
// speed against real time twice: by the wall clock and by the CPU time the
// whole process used. Simulated time bound by CPU alone makes the two equal
// on an idle host; a wall figure far below the CPU figure means something
// waits in wall time.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <ctime>
#include <filesystem>

#include "host/hostfs.h"
#include "host/hostkernel.h"
#include "host/vkplatform.h"
#include "runtime/appmain.h"
#include "runtime/rgtask.h"

namespace {

double processCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

void BM_BareRuntimeSimulatedSecond(benchmark::State& state) {
    auto root = std::filesystem::temp_directory_path() / ("tc_bench_rt_" + std::to_string(getpid()));
    std::filesystem::create_directories(root);
    hostfs::setApplicationRoot(root.string());
    for (auto& s : rg_slices) s.clear();
    hk::start(hk::ClockMode::Simulated);
    hostplatform::start(false);
    uint32_t r = 1;
    hk::runTask([&] { r = tRGStart(); });
    if (r != 0) state.SkipWithError("tRGStart failed");
    hk::runTicks(400);  // past the start-up sleeps of the service tasks
    uint64_t simSeconds = 0;
    auto t0 = std::chrono::steady_clock::now();
    double cpu0 = processCpuSeconds();
    for (auto _ : state) {
        hk::runTicks(200);  // one simulated second
        ++simSeconds;
    }
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    double cpu = processCpuSeconds() - cpu0;
    auto sim = static_cast<double>(simSeconds);
    state.counters["wall_ms_per_sim_s"] = wall * 1e3 / sim;
    state.counters["cpu_ms_per_sim_s"] = cpu * 1e3 / sim;
    state.counters["x_real_time_wall"] = sim / wall;
    state.counters["x_real_time_cpu"] = sim / cpu;
    hk::runTask([] { tRGEnd(); });
    hk::shutdown();
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_BareRuntimeSimulatedSecond)->Unit(benchmark::kMillisecond)->Iterations(30);

}  // namespace
