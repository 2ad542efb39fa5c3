// Cost of the data log's sampling inside the control passes, per 10 ms pass:
// the 84 static items plus a configuration file of 120 more (reals, integers
// and booleans spread over the five groups), sampled every 10 ms. A 160 ms
// frame is 16 passes of the 10 ms group, 8 of the 20 ms group and so on, so
// one "pass" below is the 10 ms sampling plus 1/2, 1/4, 1/8 and 1/16 of the
// slower groups' sampling, run in that proportion.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "app/interface/DATALOG.cells.h"
#include "host/hostfs.h"
#include "host/hostkernel.h"
#include "runtime/appmem.h"
#include "runtime/sched.h"
#include "storage/datalog.h"

namespace {

const char* const kCells[][2] = {
    {"ACCEL.SS1_DERIV_USED.A_SW", "A10"}, {"ACCEL.SS2_DERIV_USED.A_SW", "A10"},
    {"ACCEL.SS_DERIV_MAX.A_MAX", "A10"},  {"CASC_CTRL.CASC_PID.PID_2", "A80"},
    {"DATALOG.CNTATOI.OUT_1", "I160"},    {"ORVEX12_IO.INIT_BLINK.B_SW", "B80"},
    {"RESET.RESET.B_NAME", "B80"},        {"DATALOG.TREND_DLOG.ACTUAL_MEM", "I160"},
};

void setUp() {
    const std::string root =
        (std::filesystem::temp_directory_path() / ("tc_bench_dl_" + std::to_string(getpid()))).string();
    std::filesystem::create_directories(root);
    hostfs::setApplicationRoot(root);
    hk::start(hk::ClockMode::Simulated);
    init_blk_ram();
    std::ofstream cfg(root + "/TREND_DLOG.logConfig");
    cfg << "VARNEKAR DATA_LOG_M Configuration File\n";
    for (int k = 0; k < 120; ++k) cfg << kCells[k % 8][0] << " item" << k << "\n";
    cfg.close();
    hk::runTask([] {
        LoadStaticDATA_LOG_M_Configuration();
        cells::DATALOG.MININTVL_I_NAME = 10;
        configure_Log_Dataspace();
    });
    cells::DATALOG.TREND_DLOG_B_ENABLE = 1;
    TREND_DLOG_internal.RUN_STATE = TREND_DLOG_internal.RUN_REQ = 1;
}

void BM_DataLogSamplingPer10msPass(benchmark::State& state) {
    setUp();
    const int items = computeNumVariables();
    uint32_t pass = 0;
    for (auto _ : state) {
        _R160_frame_count = static_cast<int>(pass % 32 + 1);
        populate_R10Data_Log_Values();
        if (pass % 2 == 0) populate_R20Data_Log_Values();
        if (pass % 4 == 0) populate_R40Data_Log_Values();
        if (pass % 8 == 0) populate_R80Data_Log_Values();
        if (pass % 16 == 0) populate_R160Data_Log_Values();
        ++pass;
    }
    state.counters["items"] = items;
    hk::shutdown();
}
BENCHMARK(BM_DataLogSamplingPer10msPass);

}  // namespace

BENCHMARK_MAIN();
