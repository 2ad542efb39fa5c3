// The tunables-file table _eeinittab and the build identity, derived at
// compile time from the tunables the modules declare: the date entry first,
// then every tunable in directory order, each with its generated default,
// its saved copy and its live cell.
#define CAT_CENTRAL 1
#include "app/catalogue_app.h"
#include "storage/eefile.h"

using cat::AppTables;

const char uvAppName[] = "9902-4411_e";
const char _uvMOEDATE[] = "Mon Apr 20 07:44:46 2026";

namespace {

constexpr uint32_t ee_kind(char type) {
    switch (type) {
        case 'A': return EE_REAL;
        case 'I':
        case 'U': return EE_INTEGER;
        case 'B': return EE_VKBOOLEAN;
        case 'T': return EE_VKTIMER;
        default: return EE_STRNG;
    }
}

// The tunables and the service inputs with a side effect.
constexpr bool saved_in_file(const cat::Row& r) { return r.access.letter == '*' || r.access.letter == 'S'; }

constexpr uint32_t count_kind(uint32_t kind) {
    uint32_t c = 0;
    AppTables::walk([&](uint32_t m, uint32_t k) {
        const cat::Row& r = AppTables::d[m].rows[k];
        if (saved_in_file(r) && ee_kind(r.type) == kind) ++c;
    });
    return c;
}
constexpr uint32_t kReal = count_kind(EE_REAL);
constexpr uint32_t kInt = count_kind(EE_INTEGER);
constexpr uint32_t kBool = count_kind(EE_VKBOOLEAN);
constexpr uint32_t kTimer = count_kind(EE_VKTIMER);
constexpr uint32_t kStr = count_kind(EE_STRNG);
constexpr uint32_t kEntries = 1 + kReal + kInt + kBool + kTimer + kStr;

// One entry: its kind, its slot in the arrays of its kind, its live cell.
struct EeIndex {
    uint32_t kind;
    uint32_t slot;
    CellRef live;
    double def;
    const char* text;
};

constexpr std::array<EeIndex, kEntries> make_index() {
    std::array<EeIndex, kEntries> t{};
    t[0] = {EE_MOEDATE, 0, 0, 0.0, nullptr};
    uint32_t at = 1;
    uint32_t next[5] = {};
    AppTables::walk([&](uint32_t m, uint32_t k) {
        const cat::Row& r = AppTables::d[m].rows[k];
        if (!saved_in_file(r)) return;
        const uint32_t kind = ee_kind(r.type);
        t[at++] = {kind, next[kind]++, AppTables::mr_ref(m, k), r.access.def, r.access.text};
    });
    return t;
}
constexpr auto kIndex = make_index();

// FNV-1a over every entry's kind and cell name "MODULE.BLOCK.FIELD", in
// table order: the layout a file of this build has.
constexpr uint32_t table_fingerprint() {
    uint32_t h = 2166136261u;
    auto mix = [&h](uint32_t byte) { h = (h ^ (byte & 0xFFu)) * 16777619u; };
    auto text = [&mix](const char* t) {
        for (; *t != '\0'; ++t) mix(static_cast<unsigned char>(*t));
        mix(0);
    };
    mix(EE_MOEDATE);
    AppTables::walk([&](uint32_t m, uint32_t k) {
        const cat::Row& r = AppTables::d[m].rows[k];
        if (!saved_in_file(r)) return;
        mix(ee_kind(r.type));
        text(AppTables::d[m].name);
        text(r.name);
    });
    return h;
}

template <class T, uint32_t N>
constexpr std::array<T, N + 1> make_defaults(uint32_t kind) {
    std::array<T, N + 1> v{};
    for (const EeIndex& e : kIndex) {
        if (e.kind != kind) continue;
        if constexpr (std::is_same_v<T, StrCell>) {
            const char* s = e.text ? e.text : "";
            for (int c = 0; c < kStrCellBytes - 1 && s[c] != '\0'; ++c) v[e.slot].s[c] = s[c];
        } else if constexpr (std::is_same_v<T, uint32_t>) {
            v[e.slot] = e.def != 0.0 ? 1u : 0u;
        } else {
            v[e.slot] = static_cast<T>(e.def);
        }
    }
    return v;
}

constexpr auto _uvREAL = make_defaults<float, kReal>(EE_REAL);
constexpr auto _uvINTEGER = make_defaults<int32_t, kInt>(EE_INTEGER);
constexpr auto _uvVKBOOLEAN = make_defaults<uint32_t, kBool>(EE_VKBOOLEAN);
constexpr auto _uvVKTIMER = make_defaults<uint32_t, kTimer>(EE_VKTIMER);
constexpr auto _uvSTRNG = make_defaults<StrCell, kStr>(EE_STRNG);

void* live_cell(CellRef ref) {
    const uint32_t off = ref_offset(ref);
    switch (ref_area(ref)) {
        case AREA_mr_r: return reinterpret_cast<uint8_t*>(mr_r) + off;
        case AREA_mr_i: return reinterpret_cast<uint8_t*>(mr_i) + off;
        case AREA_mr_b: return reinterpret_cast<uint8_t*>(mr_b) + off;
        case AREA_mr_t: return reinterpret_cast<uint8_t*>(mr_t) + off;
        default: return reinterpret_cast<uint8_t*>(mr_c) + off;
    }
}

}  // namespace

float _eeREAL[kReal + 1];
int32_t _eeINTEGER[kInt + 1];
uint32_t _eeVKBOOLEAN[kBool + 1];
uint32_t _eeVKTIMER[kTimer + 1];
StrCell _eeSTRNG[kStr + 1];

const uint32_t _NumEEREAL = kReal, _NumEEINTEGER = kInt, _NumEEVKBOOLEAN = kBool, _NumEEVKTIMER = kTimer,
               _NumEESTRNG = kStr;

namespace {

EeInitEntry entry_of(const EeIndex& e) {
    const uint32_t s = e.slot;
    switch (e.kind) {
        case EE_REAL: return {e.kind, &_uvREAL[s], &_eeREAL[s], live_cell(e.live)};
        case EE_INTEGER: return {e.kind, &_uvINTEGER[s], &_eeINTEGER[s], live_cell(e.live)};
        case EE_VKBOOLEAN: return {e.kind, &_uvVKBOOLEAN[s], &_eeVKBOOLEAN[s], live_cell(e.live)};
        case EE_VKTIMER: return {e.kind, &_uvVKTIMER[s], &_eeVKTIMER[s], live_cell(e.live)};
        case EE_STRNG: return {e.kind, &_uvSTRNG[s], &_eeSTRNG[s], live_cell(e.live)};
        default: return {EE_MOEDATE, _uvMOEDATE, _eeMOEDATE, nullptr};
    }
}

const std::array<EeInitEntry, kEntries + 1> kTable = [] {
    std::array<EeInitEntry, kEntries + 1> t{};
    for (uint32_t k = 0; k < kEntries; ++k) t[k] = entry_of(kIndex[k]);
    t[kEntries] = {kEeTableEnd, nullptr, nullptr, nullptr};
    return t;
}();

}  // namespace

const EeInitEntry* const _eeinittab = kTable.data();
const uint32_t _eeTableFingerprint = table_fingerprint();
