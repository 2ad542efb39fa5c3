// What the storage fuzz targets share: a temporary application directory and
// the host kernel in simulated time, made once per process, and the file
// under test written from the input.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/hostfs.h"
#include "host/hostkernel.h"

namespace storage_fuzz {

struct Rig {
    std::string root;
    Rig() {
        char tmpl[] = "/tmp/fuzz_storage-XXXXXX";
        if (::mkdtemp(tmpl) == nullptr) std::abort();
        root = tmpl;
        hostfs::setApplicationRoot(root);
        hk::start(hk::ClockMode::Simulated);
    }
    ~Rig() {
        hk::shutdown();
        std::filesystem::remove_all(root);
    }
    void put(const char* name, const std::string& data) const {
        std::ofstream(root + "/" + name, std::ios::binary | std::ios::trunc) << data;
    }
};

inline Rig& rig() {
    static Rig r;
    return r;
}

}  // namespace storage_fuzz
