// Fuzz target of the NV log readers: any bytes as the file (the first input
// byte choosing the two heading lines in front of them), read by EEget and
// NVLogReadTable in a task of the host kernel; a count beyond the buffer
// must be refused, never stored past it.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz/storage_fuzz.h"
#include "storage/nvlog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    std::string file;
    if (data[0] & 1) file += "NVLog Variables Save File (Binary Format)\n";
    if (data[0] & 2) file += "Application \"9902-4411_e\" CODER-generated Mon Apr 20 07:44:46 2026\n";
    file.append(reinterpret_cast<const char*>(data + 1), size - 1);
    storage_fuzz::rig().put(nv_file_name(), file);
    const int32_t index = static_cast<int32_t>(data[0] >> 2) - 1;
    float value = 0.0f;
    int32_t values = 0;
    hk::runTask([&] {
        value = EEget(index);
        values = NVLogReadTable();
    });
    // A count beyond the buffer is refused; a value beyond the file's last is 0.0.
    if (values > kNVlogValues) std::abort();
    if (values >= 0 && index >= values && value != 0.0f) std::abort();
    return 0;
}
