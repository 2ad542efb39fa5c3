// Fuzz target of the tunables-file loader: any bytes as the file (with the
// first input byte choosing a heading of this build in front of them, so
// that the values are reached), read by ReadEETable in a task of the host
// kernel; every text it loads must end within its field.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz/storage_fuzz.h"
#include "storage/eefile.h"

namespace {

bool ends(const char* field, size_t size) { return std::memchr(field, '\0', size) != nullptr; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    std::string file;
    if (data[0] & 1) file += "EE Tunables Save File (Binary Format)\n";
    if (data[0] & 2) file += "Application \"9902-4411_e\" CODER-generated Mon Apr 20 07:44:46 2026\n";
    if (data[0] & 4) file += std::string("Mon Apr 20 07:44:46 2026", 25) + std::string(3, '\0');
    file.append(reinterpret_cast<const char*>(data + 1), size - 1);
    storage_fuzz::rig().put(ee_file_name(), file);
    int loaded = -1;
    hk::runTask([&] { loaded = ReadEETable(); });
    if (loaded != 0 && loaded != 1) std::abort();
    if (!ends(_eeMOEDATE, sizeof _eeMOEDATE)) std::abort();
    for (const EeInitEntry* e = _eeinittab; e->kind != kEeTableEnd; ++e)
        if ((e->kind & 0xFFFF) == EE_STRNG && !ends(static_cast<const char*>(e->saved), kStrCellBytes)) std::abort();
    for (const char* id : {ee_ConfigID, ee_ControlID, ee_Custom1, ee_Custom2, ee_Custom3, ee_Custom4})
        if (!ends(id, kEeIdBytes)) std::abort();
    return 0;
}
