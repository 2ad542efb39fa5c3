// The service value table HmiDataVals and the handles it is served under,
// derived at compile time from the cells the modules declare: one record per
// application cell, in directory order, then one per latched list's change
// counter (the lists' state values).
#define CAT_CENTRAL 1
#include "app/catalogue_app.h"
#include "runtime/value_handles.h"

using cat::AppTables;

namespace {

constexpr size_t kCellRecords = AppTables::kRows;
constexpr size_t kRecords = kCellRecords + kLatchStateCells;

constexpr bool is_change_token(uint32_t m, const cat::Row& r) {
    const char* name = kChangeTokenCell;
    const char* mod = AppTables::d[m].name;
    while (*mod && *mod == *name) ++mod, ++name;
    return *mod == '\0' && *name == '.' && cat::cstr_eq(r.name, name + 1);
}

struct Tables {
    HmiDataVal vals[kRecords + 1];
    uint32_t handles[kRecords + 1];
};

constexpr Tables make_tables() {
    Tables t{};
    uint32_t at = 0;
    AppTables::walk([&](uint32_t m, uint32_t k) {
        const cat::Row& r = AppTables::d[m].rows[k];
        t.vals[at] = {0, write_level_of(r.access.letter, r.type), AppTables::mr_ref(m, k)};
        t.handles[at] = value_handle(r.type, r.access.letter, is_change_token(m, r), at);
        ++at;
    });
    for (uint32_t l = 0; l < kLatchStateCells; ++l, ++at) {
        t.vals[at] = {0, 0, cell_ref(AREA_latch_state, l * 4)};
        t.handles[at] = value_handle('I', ' ', false, at);
    }
    t.vals[kRecords] = {-1, -1, 0xFFFFFFFFu};
    t.handles[kRecords] = 0;
    return t;
}

constexpr Tables kTables = make_tables();
static_assert(kRecords < 0x100000, "the record number must fit in the handle's 20 index bits");

}  // namespace

const HmiDataVal* const HmiDataVals = kTables.vals;
const uint32_t sizeofHMIValueArray = kRecords;
const uint32_t* const HmiValueHandles = kTables.handles;
const uint32_t firstLatchStateRecord = kCellRecords;
