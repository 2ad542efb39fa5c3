// Fuzz target of the NV log readers: any bytes as the file (the first input
// byte choosing the two heading lines in front of them), read by EEget and
// NVLogReadTable in a task of the host kernel; a count beyond the buffer
// must be refused, never stored past it.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/hostfs.h"
#include "host/hostkernel.h"
#include "storage/nvlog.h"

// Sentinels on both sides of the buffer would show a write past it under
// the sanitizers; the reader's results are checked here.
namespace {

struct Rig {
    std::string root;
    Rig() {
        char tmpl[] = "/tmp/fuzz_nv-XXXXXX";
        if (::mkdtemp(tmpl) == nullptr) std::abort();
        root = tmpl;
        hostfs::setApplicationRoot(root);
        hk::start(hk::ClockMode::Simulated);
    }
    ~Rig() {
        hk::shutdown();
        std::filesystem::remove_all(root);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Rig rig;
    if (size < 1) return 0;
    std::string file;
    if (data[0] & 1) file += "NVLog Variables Save File (Binary Format)\n";
    if (data[0] & 2) file += "Application \"9902-4411_e\" CODER-generated Mon Apr 20 07:44:46 2026\n";
    file.append(reinterpret_cast<const char*>(data + 1), size - 1);
    std::ofstream(rig.root + "/" + nv_file_name(), std::ios::binary | std::ios::trunc) << file;
    const int32_t index = static_cast<int32_t>(data[0] >> 2) - 1;
    float value = 0.0f;
    int32_t values = 0;
    hk::runTask([&] {
        value = EEget(index);
        values = NVLogReadTable();
    });
    if (values > kNVlogValues || values < -kNVlogValues) {
        // Only counts at or below the buffer's last index are taken; a
        // negative count in the file comes back as N + 1.
        if (values > 0) std::abort();
    }
    if (values > 0 && index >= values && value != 0.0f) std::abort();
    return 0;
}
