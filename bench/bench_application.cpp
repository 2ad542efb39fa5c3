// The whole application in simulated time: every slice of the program, its
// block tasks and servers, with the turbine model closing the loop. Reports
// host microseconds per 5 ms tick and simulated seconds per wall second
// (target: at least 1000 on one core), by the wall clock and by the CPU
// time of the whole process.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "host/board.h"
#include "host/hostfs.h"
#include "host/hostio.h"
#include "host/hostkernel.h"
#include "host/turbine_model.h"
#include "host/vkplatform.h"
#include "drivers/ZarnTurbineSpeed.h"
#include "runtime/appmain.h"
#include "runtime/appmem.h"
#include "runtime/catalogue_tables.h"
#include "runtime/sysinfo.h"
#include "tests/support/ports.h"

namespace {

double processCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// FNV-1a over the bytes of the cell areas and the speed filters' state: a
// speed-up of the host or of the application must leave it unchanged.
uint32_t resultFingerprint() {
    uint32_t h = 2166136261u;
    auto add = [&h](const void* p, size_t n) {
        const auto* b = static_cast<const unsigned char*>(p);
        for (size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 16777619u;
    };
    add(mr_b, NUM_mr_b * sizeof mr_b[0]);
    add(mr_r, NUM_mr_r * sizeof mr_r[0]);
    add(mr_i, NUM_mr_i * sizeof mr_i[0]);
    add(mr_t, NUM_mr_t * sizeof mr_t[0]);
    add(mr_c, NUM_mr_c * sizeof mr_c[0]);
    for (int ch = 0; ch < 2; ++ch) {
        const ZarnTssFilterState f = ZarnTssFilter(ch);
        const double v[] = {f.lastX1, f.lastY1, f.lastX3, f.lastY2, f.lastY3};
        add(v, sizeof v);
    }
    if (const char* dump = std::getenv("TC_DUMP")) {
        FILE* out = std::fopen(dump, "w");
        for (uint32_t i = 1; i + 1 < num_dbug_var; ++i) {
            const DbugVar& v = _dbug_var[i];
            if (v.access != ' ') continue;
            const void* p = cell_ptr(v.address);
            if (!p) continue;
            std::fprintf(out, "%s %c ", v.name, v.type);
            if (v.type == 'A') std::fprintf(out, "%a\n", (double)*(const float*)p);
            else if (v.type == 'C') std::fprintf(out, "%s\n", (const char*)p);
            else if (v.type == 'T') std::fprintf(out, "%u %u\n", ((const uint32_t*)p)[0], ((const uint32_t*)p)[1]);
            else std::fprintf(out, "%d\n", *(const int32_t*)p);
        }
        std::fclose(out);
    }
    return h;
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
    uint32_t fingerprint = 0;
    hk::runTask([&] { fingerprint = resultFingerprint(); });
    char label[32];
    std::snprintf(label, sizeof label, "fingerprint %08x", fingerprint);
    state.SetLabel(label);
    _SYS_INFO_STOP_PER = 1;
    hk::runTask([] { tRGEnd(); });
    hk::shutdown();
    hk::setTickObserver(nullptr);
    turbine::reset();
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_WholeApplicationSimulatedSecond)->Unit(benchmark::kMillisecond)->Iterations(100);  // 1000 simulated seconds

}  // namespace
