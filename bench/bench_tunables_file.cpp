// Time to save and to load the application's whole tunables file (every
// tunable of the catalogue, passwords and identifiers) on the host drive,
// and to write and read the NV log file, each in a task of the host kernel.
// The save's 10 ms pauses and closing 200 ms sleep run in simulated time and
// cost no wall time here. A save with the platform's sync routine puts the
// new file's data and then the directory on the drive (as the controller
// does); one without it leaves them in the host's page cache.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "host/hostfs.h"
#include "host/hostsym.h"
#include "host/hostkernel.h"
#include "runtime/appmem.h"
#include "storage/eefile.h"
#include "storage/nvlog.h"

namespace {

struct Rig {
    std::string root;
    Rig() {
        char tmpl[] = "/tmp/bench_ee-XXXXXX";
        if (::mkdtemp(tmpl) == nullptr) std::abort();
        root = tmpl;
        hostfs::setApplicationRoot(root);
        hk::start(hk::ClockMode::Simulated);
        hk::runTask([] {
            init_blk_ram();
            eefile_reset();
            init_eeram();
        });
    }
    ~Rig() {
        hk::shutdown();
        std::filesystem::remove_all(root);
    }
};

void BM_TunablesSave(benchmark::State& state) {
    Rig rig;
    for (auto _ : state) {
        int r = 0;
        hk::runTask([&] { r = WriteEETable(2, 0); });
        if (r != 1) state.SkipWithError("save failed");
    }
    state.counters["entries"] = static_cast<double>(_NumEEREAL + _NumEEINTEGER + _NumEEVKBOOLEAN + _NumEESTRNG + 1);
}
BENCHMARK(BM_TunablesSave)->Unit(benchmark::kMicrosecond);

void BM_TunablesSaveSynced(benchmark::State& state) {
    Rig rig;
    hostsym::registerSymbol("is_directory_sync_ee_file_active",
                            reinterpret_cast<void*>(&is_directory_sync_ee_file_active));
    for (auto _ : state) {
        int r = 0;
        hk::runTask([&] { r = WriteEETable(2, 0); });
        if (r != 1) state.SkipWithError("save failed");
    }
    hostsym::registerSymbol("is_directory_sync_ee_file_active", nullptr);
}
BENCHMARK(BM_TunablesSaveSynced)->Unit(benchmark::kMicrosecond);

void BM_TunablesLoad(benchmark::State& state) {
    Rig rig;
    for (auto _ : state) {
        int r = 0;
        hk::runTask([&] {
            init_blk_ram();
            r = init_eeram();
        });
        if (r != 1) state.SkipWithError("load failed");
    }
}
BENCHMARK(BM_TunablesLoad)->Unit(benchmark::kMicrosecond);

void BM_NvLogWriteAndRead(benchmark::State& state) {
    Rig rig;
    for (auto _ : state) {
        float v = 0.0f;
        hk::runTask([&] {
            for (int k = 0; k < 10; ++k) EElog(k, 0, static_cast<float>(k));
            EElog(10, 1, 10.0f);
            v = EEget(10);
        });
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(BM_NvLogWriteAndRead)->Unit(benchmark::kMicrosecond);

}  // namespace
