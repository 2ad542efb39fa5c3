// The whole application in simulated time: every slice of the program, its
// block tasks and servers, with the turbine model closing the loop. Reports
// host microseconds per 5 ms tick and simulated seconds per wall second
// (target: at least 1000 on one core), by the wall clock and by the CPU
// time of the whole process.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <ctime>
#include <filesystem>

#include "host/board.h"
#include "host/hostfs.h"
#include "host/hostio.h"
#include "host/hostkernel.h"
#include "host/turbine_model.h"
#include "host/vkplatform.h"
#include "runtime/appmain.h"
#include "runtime/sysinfo.h"
#include "tests/support/ports.h"

namespace {

double processCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

constexpr uint64_t kTicksPerSimSecond = 200;
// Simulated seconds per iteration: the hand-over between this thread and the
// CPU thread at the end of every run costs two thread wake-ups, which the
// free-running controller never pays; ten seconds keep it out of the figure.
constexpr uint64_t kSimSecondsPerIteration = 10;

void BM_WholeApplicationSimulatedSecond(benchmark::State& state) {
    auto root = std::filesystem::temp_directory_path() / ("tc_bench_app_" + std::to_string(getpid()));
    std::filesystem::create_directories(root);
    hostfs::setApplicationRoot(root.string());
    hostio::setPortOffset(tc_test::pickPortOffset());
    turbine::reset();
    turbine::enable();
    hk::setTickObserver([] { board::poll(); });
    hk::start(hk::ClockMode::Simulated);
    hostplatform::start(false);
    uint32_t r = 1;
    hk::runTask([&] { r = tRGStart(); });
    if (r != 0) state.SkipWithError("tRGStart failed");
    hk::runTicks(2000);  // past the start-up of the block tasks, servers and remote-node set-up
    uint64_t simSeconds = 0;
    auto t0 = std::chrono::steady_clock::now();
    double cpu0 = processCpuSeconds();
    for (auto _ : state) {
        hk::runTicks(kTicksPerSimSecond * kSimSecondsPerIteration);
        simSeconds += kSimSecondsPerIteration;
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double cpu = processCpuSeconds() - cpu0;
    const auto sim = static_cast<double>(simSeconds);
    const double ticks = sim * kTicksPerSimSecond;
    state.counters["us_per_tick_wall"] = wall * 1e6 / ticks;
    state.counters["us_per_tick_cpu"] = cpu * 1e6 / ticks;
    state.counters["sim_s_per_wall_s"] = sim / wall;
    state.counters["sim_s_per_cpu_s"] = sim / cpu;
    _SYS_INFO_STOP_PER = 1;
    hk::runTask([] { tRGEnd(); });
    hk::shutdown();
    hk::setTickObserver(nullptr);
    turbine::reset();
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_WholeApplicationSimulatedSecond)->Unit(benchmark::kMillisecond)->Iterations(100);  // 1000 simulated seconds

}  // namespace
