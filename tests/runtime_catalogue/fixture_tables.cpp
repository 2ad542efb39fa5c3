// The fixture catalogue's areas and tables, derived like the application's.
#define CAT_CENTRAL 1
#include "runtime/catalogue_central.h"

namespace fx_reg {
inline constexpr int kBase = __COUNTER__;
}
#include "tests/runtime_catalogue/fixture_cells.h"
namespace fx_reg {
inline constexpr int kEnd = __COUNTER__;
}

#include <cstring>

namespace fx {
using Modules = cat::reg::Collect<FxCat, fx_reg::kBase + 1, fx_reg::kEnd>::type;
using Tables = cat::Derive<Modules>;
static_assert(Tables::check().what == nullptr);
cat::AreaStorage<Tables> storage;
}  // namespace fx

template <>
struct cat::CatalogueOf<fx::FxCat> {
    using Tables = fx::Tables;
    static constexpr AreaSet areas = area_set(fx::storage);
};

// Every fixture module's chunk bases are instantiated here.
extern const cat::Bases* const* const fx_bases;
const cat::Bases* const* const fx_bases = cat::ForceBases<fx::Modules>::all;

namespace fx {
namespace {
constexpr std::array<cat::FixedMod, 0> kNoSys{};
constexpr auto kDir = Tables::make_directory<Tables::kRows + 2>(kNoSys);
constexpr auto kHdr = Tables::make_headers<Tables::n + 2>(kNoSys);
constexpr auto kUb = Tables::make_ub_names();
constexpr auto kAliases = Tables::make_aliases();
}  // namespace

DbugTables tables() {
    return {kDir.data(),         kHdr.data(),           static_cast<uint32_t>(kHdr.size()),
            kUb.data(),          static_cast<uint32_t>(Tables::kUb),
            kAliases.data(),     static_cast<uint32_t>(Tables::kAliases),
            Tables::an_tune.data(), static_cast<uint32_t>(Tables::kAn),
            Tables::int_tune.data(), static_cast<uint32_t>(Tables::kInt)};
}
uint32_t num_records() { return static_cast<uint32_t>(kDir.size()); }
void clear_areas() { std::memset(&storage, 0, sizeof storage); }
void* ptr(CellRef ref) {
    const uint32_t off = ref_offset(ref);
    auto at = [off](auto& area) -> void* { return off < sizeof area ? reinterpret_cast<uint8_t*>(area) + off : nullptr; };
    // The fixture has boolean and real cells only.
    return ref_area(ref) == AREA_mr_b ? at(storage.mr_b) : ref_area(ref) == AREA_mr_r ? at(storage.mr_r) : nullptr;
}
}  // namespace fx
