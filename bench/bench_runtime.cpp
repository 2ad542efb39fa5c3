// Host CPU per simulated second of the bare runtime: the master clock pass
// and five rate groups with empty slices, in simulated time.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "host/hostfs.h"
#include "host/hostkernel.h"
#include "host/vkplatform.h"
#include "runtime/appmain.h"
#include "runtime/rgtask.h"

namespace {

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
    for (auto _ : state) {
        hk::runTicks(200);  // one simulated second
        ++simSeconds;
    }
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    state.counters["host_ms_per_sim_s"] = wall * 1e3 / static_cast<double>(simSeconds);
    state.counters["x_real_time"] = static_cast<double>(simSeconds) / wall;
    hk::runTask([] { tRGEnd(); });
    hk::shutdown();
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_BareRuntimeSimulatedSecond)->Unit(benchmark::kMillisecond)->Iterations(30);

}  // namespace
