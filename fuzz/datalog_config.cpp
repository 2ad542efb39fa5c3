// Fuzzes the data-log configuration file reader over a small RAM block: any
// file must load without writing outside the block, with the item lists
// below the request area, every text field terminated and every dynamic
// item of a group and kind that exists. The first input byte chooses whether
// the file starts with the right first line (so the line parser is reached).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "host/hostfs.h"
#include "host/hostkernel.h"
#include "host/hostlog.h"
#include "storage/datalog.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

bool terminated(const char* s, size_t cap) { return std::memchr(s, '\0', cap) != nullptr; }

struct Setup {
    std::string root;
    Setup() {
        root = (std::filesystem::temp_directory_path() / ("tc_fuzz_dl_" + std::to_string(getpid()))).string();
        std::filesystem::create_directories(root);
        hostfs::setApplicationRoot(root);
        hk::setMemoryFigures(0x500000 + 0x8000, 0x8000);  // a 32 KiB block
        LoadStaticDATA_LOG_M_Configuration();
        check(DATA_LOG_M_MEMORY_START != nullptr && pDynamicCfgStart != nullptr);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Setup setup;
    static long stamp = 0;
    std::string text;
    if (size > 0 && (data[0] & 1)) text = "VARNEKAR DATA_LOG_M Configuration File\n";
    if (size > 1) text.append(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string path = setup.root + "/TREND_DLOG.logConfig";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    // Every input is a new file to the reader: a date of its own.
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() - std::chrono::seconds(++stamp));
    std::filesystem::remove(hostlog::logFilePath());

    readDynamicConfiguration();

    auto* const block = static_cast<uint8_t*>(DATA_LOG_M_MEMORY_START);
    check(pDynamicCfgStart <= pDynamicCfgEnd && pDynamicCfgEnd <= pToAddCfgStart);
    check(pToAddCfgStart <= pToAddCfgEnd && pToAddCfgEnd <= block + DATA_LOG_M_MEMORY_SIZE);
    check(terminated(TREND_DLOG_internal.CFG_NAME.s, sizeof TREND_DLOG_internal.CFG_NAME.s));
    int items = 0;
    for (int g = 0; g < dlog::kGroups; ++g)
        for (int k = 0; k < dlog::kKinds; ++k) {
            const int32_t n = *dlog::kLists[g][k].dynamicCount;
            check(n >= 0);
            items += n;
            for (int32_t i = 0; i < n; ++i) {
                const DataLogItem& it = (*dlog::kLists[g][k].pDynamic)[i];
                check(terminated(it.path, sizeof it.path) && terminated(it.name, sizeof it.name));
            }
        }
    check(pDynamicCfgEnd - pDynamicCfgStart == static_cast<long>(items * sizeof(DataLogItem)));
    return 0;
}
