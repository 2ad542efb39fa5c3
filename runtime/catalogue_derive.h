// Compile-time derivation of a catalogue's tables from its modules' rows:
// module order, area layout, directory, tunable tables, user-block tables,
// cross-rate copy lists and the checks of the declarations.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "runtime/catalogue.h"
#include "runtime/catalogue_tables.h"

namespace cat {

// ---- module descriptors ------------------------------------------------------------
struct ModDesc {
    const char* name;
    const Row* rows;
    uint32_t nrows;
    const uint32_t* idx;
    const uint32_t (*slot)[kGroups];
    const uint32_t* count;
    const char* instance;
    const char* const* aliases;
    uint32_t naliases;
};

template <class... Ms>
struct ModList {
    static constexpr size_t n = sizeof...(Ms);
    // One trailing empty descriptor keeps the array non-empty.
    static constexpr ModDesc desc[n + 1] = {
        {Ms::name, Ms::rows, Ms::nrows, Ms::layout.idx, Ms::layout.slot, Ms::layout.count,
         Ms::instance, Ms::aliases, Ms::naliases}...,
        {"", nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr, 0}};
};

// Collects the modules registered for Cat with counter values in [B, E).
namespace reg {
template <class L, class T>
struct Append;
template <class... Ms, class T>
struct Append<ModList<Ms...>, T> {
    using type = ModList<Ms..., T>;
};
template <class... Ms>
struct Append<ModList<Ms...>, void> {
    using type = ModList<Ms...>;
};
template <class Cat, int B, int E, class Acc = ModList<>>
struct Collect {
    using type = typename Collect<Cat, B + 1, E,
                                  typename Append<Acc, typename Slot<Cat, B>::tag>::type>::type;
};
template <class Cat, int E, class Acc>
struct Collect<Cat, E, E, Acc> {
    using type = Acc;
};
}  // namespace reg

// A record of a system module (runtime texts instead of cells).
struct FixedRec {
    const char* name;
    char type;
    CellRef ref;
};
struct FixedMod {
    const char* name;
    const FixedRec* recs;
    uint32_t n;
};

// A sampled-tunable block whose tunable is a cell of another module: the
// block (module and block name) and its tunable (module, block, field).
struct SampSource {
    const char* module;
    const char* block;
    const char* tuneModule;
    const char* tuneBlock;
    const char* tuneField;
};

constexpr int cstr_cmp(const char* a, const char* b) {
    while (*a && *a == *b) ++a, ++b;
    return static_cast<unsigned char>(*a) - static_cast<unsigned char>(*b);
}
constexpr bool cstr_eq(const char* a, const char* b) { return cstr_cmp(a, b) == 0; }
constexpr size_t cstr_len(const char* s) {
    size_t n = 0;
    while (s[n]) ++n;
    return n;
}
constexpr bool starts_with(const char* s, const char* prefix) {
    while (*prefix)
        if (*s++ != *prefix++) return false;
    return true;
}

// A problem found in a catalogue's declarations; what == nullptr when sound.
struct CatalogueError {
    const char* what;
    const char* module;
    const char* name;
};

// Checks each declaration of a set of modules on its own (duplicates are
// found once the rows are sorted, Derive::check). Linear in the rows, so
// that the whole catalogue stays within the compiler's evaluation limits.
constexpr CatalogueError check_rows(const ModDesc* d, size_t n) {
    for (size_t m = 0; m < n; ++m) {
        for (uint32_t k = 0; k < d[m].nrows; ++k) {
            const Row& r = d[m].rows[k];
            if (!valid_type(r.type)) return {"unknown type letter", d[m].name, r.name};
            if (r.group > G_RNone) return {"unknown rate group", d[m].name, r.name};
            if (r.readers & (1u << r.group))
                return {"a group reads its own cell through a copy", d[m].name, r.name};
            if (r.group == G_RNone && r.readers)
                return {"cells of no group are read directly", d[m].name, r.name};
            const char a = r.access.letter;
            const bool num = r.type == 'A' || r.type == 'I' || r.type == 'U';
            if (a == '*' && num && !r.access.has_limits)
                return {"a numeric tunable needs a default and limits", d[m].name, r.name};
            if (a == '*' && !num && r.access.has_limits)
                return {"limits on a tunable that is not a number", d[m].name, r.name};
            if (a == '*' && r.type == 'T') return {"time tunables are not supported", d[m].name, r.name};
            if (a == '*' && r.type == 'C' && r.access.text && cstr_len(r.access.text) >= kStrCellBytes)
                return {"string default longer than 39 characters", d[m].name, r.name};
            if (a == 'S' && r.type == 'A' && !r.access.has_limits)
                return {"a service real needs a default and limits", d[m].name, r.name};
            if (r.access.has_limits && r.access.lo > r.access.hi)
                return {"tunable minimum above its maximum", d[m].name, r.name};
        }
        if (d[m].instance && user_block_number(d[m].name) == 0)
            return {"a user-block instance module must be named _ubN", d[m].name, ""};
        for (uint32_t a = 0; a < d[m].naliases; ++a) {
            // "OUTER.FIELD _ubN.BLOCK.FIELD": the outer instance name, then the module.
            const char* t = d[m].aliases[a];
            if (!d[m].instance || !starts_with(t, d[m].instance) || t[cstr_len(d[m].instance)] != '.')
                return {"alias outside its instance name", d[m].name, t};
            const char* sp = t;
            while (*sp && *sp != ' ') ++sp;
            if (*sp != ' ' || !starts_with(sp + 1, d[m].name) || sp[1 + cstr_len(d[m].name)] != '.')
                return {"alias inner name outside its module", d[m].name, t};
        }
    }
    for (size_t m = 0; m < n; ++m)
        for (size_t j = m + 1; d[m].instance && j < n; ++j)
            if (d[j].instance && cstr_eq(d[m].instance, d[j].instance))
                return {"instance name used twice", d[m].name, d[m].instance};
    return {nullptr, nullptr, nullptr};
}

// Typed bases of the fifteen areas of a catalogue.
struct AreaSet {
    uint32_t* b[3];
    float* r[3];
    int32_t* i[3];
    TimeCell* t[3];
    StrCell* c[3];
};

struct Move {
    uint32_t src, dst;
};

// ---- the derivation ----------------------------------------------------------------
template <class L, size_t NFixed = 0>
struct Derive {
    static constexpr const ModDesc* d = L::desc;
    static constexpr size_t n = L::n;

    static constexpr size_t total_rows() {
        size_t t = 0;
        for (size_t m = 0; m < n; ++m) t += d[m].nrows;
        return t;
    }
    static constexpr size_t kRows = total_rows();

    // Modules in ascending byte order of their names.
    static constexpr std::array<uint32_t, n + 1> make_order() {
        std::array<uint32_t, n + 1> o{};
        for (size_t m = 0; m < n; ++m) o[m] = static_cast<uint32_t>(m);
        std::sort(o.begin(), o.begin() + n,
                  [](uint32_t a, uint32_t b) { return cstr_cmp(d[a].name, d[b].name) < 0; });
        return o;
    }
    static constexpr auto order = make_order();

    // Chunk offsets of every module (by declaration index) and area totals.
    struct Offsets {
        uint32_t off[n + 1][kChunks];
        uint32_t total[kChunks];
    };
    static constexpr Offsets make_offsets() {
        Offsets o{};
        for (size_t p = 0; p < n; ++p) {
            const uint32_t m = order[p];
            for (int c = 0; c < kChunks; ++c) {
                o.off[m][c] = o.total[c];
                o.total[c] += d[m].count[c];
            }
        }
        return o;
    }
    static constexpr Offsets offsets = make_offsets();
    static constexpr uint32_t area_size(int c) { return offsets.total[c] ? offsets.total[c] : 1; }

    // Rows of each module in directory order (by block, then field): module
    // m's rows are perm[first[m] .. first[m] + nrows - 1] (declaration index
    // in the module).
    struct Perm {
        uint32_t row[kRows + 1];
        uint32_t first[n + 1];
    };
    static constexpr Perm make_perm() {
        Perm p{};
        uint32_t at = 0;
        for (size_t q = 0; q < n; ++q) {
            const uint32_t m = order[q];
            p.first[m] = at;
            for (uint32_t k = 0; k < d[m].nrows; ++k) p.row[at + k] = k;
            const Row* rows = d[m].rows;
            std::sort(p.row + at, p.row + at + d[m].nrows, [rows](uint32_t a, uint32_t b) {
                const int c = cstr_cmp(rows[a].block, rows[b].block);
                return c != 0 ? c < 0 : cstr_cmp(rows[a].field, rows[b].field) < 0;
            });
            at += d[m].nrows;
        }
        return p;
    }
    static constexpr Perm perm = make_perm();

    // Every declaration sound, every module and every cell declared once.
    static constexpr CatalogueError check() {
        const CatalogueError e = check_rows(d, n);
        if (e.what) return e;
        for (size_t q = 1; q < n; ++q)
            if (cstr_eq(d[order[q - 1]].name, d[order[q]].name)) return {"module declared twice", d[order[q]].name, ""};
        for (size_t m = 0; m < n; ++m)
            for (uint32_t j = 1; j < d[m].nrows; ++j) {
                const Row& a = d[m].rows[perm.row[perm.first[m] + j - 1]];
                const Row& b = d[m].rows[perm.row[perm.first[m] + j]];
                if (cstr_eq(a.block, b.block) && cstr_eq(a.field, b.field)) return {"cell declared twice", d[m].name, b.name};
            }
        return {nullptr, nullptr, nullptr};
    }

    static constexpr CellRef mr_ref(uint32_t m, uint32_t k) {
        const Kind kd = kind_of(d[m].rows[k].type);
        const int c = chunk_of(Z_MR, kd);
        return cell_ref(kAreaOfChunk[c], (offsets.off[m][c] + d[m].idx[k]) * kElemBytes[kd]);
    }
    static constexpr bool is_an_tune(const Row& r) {
        return r.type == 'A' && (r.access.letter == '*' || r.access.letter == 'S');
    }
    static constexpr bool is_int_tune(const Row& r) {
        return (r.type == 'I' || r.type == 'U') && r.access.letter == '*';
    }
    static constexpr size_t count_rows(bool (*pred)(const Row&)) {
        size_t c = 0;
        for (size_t m = 0; m < n; ++m)
            for (uint32_t k = 0; k < d[m].nrows; ++k) c += pred(d[m].rows[k]) ? 1 : 0;
        return c;
    }
    static constexpr size_t kAn = count_rows(is_an_tune);
    static constexpr size_t kInt = count_rows(is_int_tune);
    static constexpr bool is_tunable(const Row& r) { return r.access.letter == '*'; }
    static constexpr size_t kTunables = count_rows(is_tunable);

    // Walks the application cells in directory order: f(module, row index).
    template <class F>
    static constexpr void walk(F f) {
        for (size_t q = 0; q < n; ++q) {
            const uint32_t m = order[q];
            for (uint32_t j = 0; j < d[m].nrows; ++j) f(m, perm.row[perm.first[m] + j]);
        }
    }

    // A tunable table: the rows of `pred` in directory order, with their limits.
    template <class Rec, size_t N, class V>
    static constexpr std::array<Rec, N + 1> make_tune_table(bool (*pred)(const Row&)) {
        std::array<Rec, N + 1> t{};
        size_t at = 0;
        walk([&](uint32_t m, uint32_t k) {
            const Row& r = d[m].rows[k];
            if (pred(r)) t[at++] = {mr_ref(m, k), static_cast<V>(r.access.lo), static_cast<V>(r.access.hi)};
        });
        return t;
    }
    static constexpr auto an_tune = make_tune_table<AnTune, kAn, float>(is_an_tune);
    static constexpr auto int_tune = make_tune_table<IntTune, kInt, int32_t>(is_int_tune);

    // Directory address of a row: the tunable record for '*' A/I/U and 'S' A.
    static constexpr CellRef dir_address(uint32_t m, uint32_t k) {
        const Row& r = d[m].rows[k];
        const CellRef cell = mr_ref(m, k);
        if (is_an_tune(r))
            for (size_t a = 0; a < kAn; ++a)
                if (an_tune[a].cell == cell) return cell_ref(AREA_an_tune, static_cast<uint32_t>(a) * kAnTuneBytes);
        if (is_int_tune(r))
            for (size_t a = 0; a < kInt; ++a)
                if (int_tune[a].cell == cell) return cell_ref(AREA_int_tune, static_cast<uint32_t>(a) * kIntTuneBytes);
        return cell;
    }

    static constexpr size_t kDir = kRows + 2;  // without system modules

    template <size_t NF>
    static constexpr size_t fixed_rows(const std::array<FixedMod, NF>& fx) {
        size_t t = 0;
        for (const auto& f : fx) t += f.n;
        return t;
    }

    // The directory: empty record, the application cells, the system
    // modules' records, empty record.
    template <size_t NDir, size_t NF>
    static constexpr std::array<DbugVar, NDir> make_directory(const std::array<FixedMod, NF>& fx) {
        std::array<DbugVar, NDir> v{};
        v[0] = {0, 0, 0, 0, 0, "", ""};
        size_t at = 1;
        // The tunable records are found in order, so track positions instead of searching.
        uint32_t an = 0, in = 0;
        walk([&](uint32_t m, uint32_t k) {
            const Row& r = d[m].rows[k];
            CellRef a = mr_ref(m, k);
            if (is_an_tune(r)) a = cell_ref(AREA_an_tune, an++ * kAnTuneBytes);
            else if (is_int_tune(r)) a = cell_ref(AREA_int_tune, in++ * kIntTuneBytes);
            v[at++] = {r.type, r.access.letter, 0, 0, a, r.name, kGroupName[r.group]};
        });
        for (const auto& f : fx)
            for (uint32_t j = 0; j < f.n; ++j) v[at++] = {f.recs[j].type, ' ', 0, 0, f.recs[j].ref, f.recs[j].name, kGroupName[G_RNone]};
        v[at] = {0, 0, 0, 0, 0, "", ""};
        return v;
    }

    template <size_t NHdr, size_t NF>
    static constexpr std::array<DbugHdr, NHdr> make_headers(const std::array<FixedMod, NF>& fx) {
        std::array<DbugHdr, NHdr> h{};
        const uint32_t nm = static_cast<uint32_t>(n + NF);
        h[0] = {0, nm, ""};
        uint32_t at = 1;
        for (size_t q = 0; q < n; ++q) {
            const uint32_t m = order[q];
            h[q + 1] = {at, at + d[m].nrows - 1, d[m].name};
            at += d[m].nrows;
        }
        for (size_t f = 0; f < NF; ++f) {
            h[n + 1 + f] = {at, at + fx[f].n - 1, fx[f].name};
            at += fx[f].n;
        }
        h[nm + 1] = {0, nm, ""};
        return h;
    }

    // ---- sampled tunables: a block with an EN_ENT_OUT cell (the _samp_tunes
    // records) or a SAMP_TUNE / SAMP_ITUNE output (the start-up presets),
    // sampling its own TUNE tunable or, where the application says so, a
    // tunable of another module.
    static constexpr int find_field(uint32_t m, const char* block, const char* field) {
        for (uint32_t k = 0; k < d[m].nrows; ++k)
            if (cstr_eq(d[m].rows[k].block, block) && cstr_eq(d[m].rows[k].field, field)) return static_cast<int>(k);
        return -1;
    }
    static constexpr int find_module(const char* name) {
        for (size_t m = 0; m < n; ++m)
            if (cstr_eq(d[m].name, name)) return static_cast<int>(m);
        return -1;
    }
    struct RowAt {
        int m = -1, k = -1;
    };
    template <size_t NS>
    static constexpr RowAt samp_tunable(uint32_t m, const char* block, const std::array<SampSource, NS>& foreign) {
        const int own = find_field(m, block, "TUNE");
        if (own >= 0 && d[m].rows[own].access.letter == '*') return {static_cast<int>(m), own};
        for (const SampSource& f : foreign) {
            if (!cstr_eq(f.module, d[m].name) || !cstr_eq(f.block, block)) continue;
            const int tm = find_module(f.tuneModule);
            if (tm < 0) return {};
            const int tk = find_field(static_cast<uint32_t>(tm), f.tuneBlock, f.tuneField);
            return tk >= 0 && d[tm].rows[tk].access.letter == '*' ? RowAt{tm, tk} : RowAt{};
        }
        return {};
    }
    // The tunable of the sampled real whose entry-enable is row k, or none.
    template <size_t NS>
    static constexpr RowAt samp_real(uint32_t m, uint32_t k, const std::array<SampSource, NS>& foreign) {
        if (!cstr_eq(d[m].rows[k].field, "EN_ENT_OUT")) return {};
        const RowAt t = samp_tunable(m, d[m].rows[k].block, foreign);
        return t.m >= 0 && d[t.m].rows[t.k].type == 'A' ? t : RowAt{};
    }
    template <size_t NS>
    static constexpr size_t count_samp(const std::array<SampSource, NS>& foreign) {
        size_t c = 0;
        walk([&](uint32_t m, uint32_t k) { c += samp_real(m, k, foreign).m >= 0 ? 1 : 0; });
        return c;
    }
    template <size_t N, size_t NS>
    static constexpr std::array<SampTune, N + 1> make_samp(const std::array<SampSource, NS>& foreign) {
        std::array<SampTune, N + 1> s{};
        size_t at = 1;
        walk([&](uint32_t m, uint32_t k) {
            const RowAt t = samp_real(m, k, foreign);
            if (t.m >= 0) s[at++] = {1, dir_address(static_cast<uint32_t>(t.m), static_cast<uint32_t>(t.k)), mr_ref(m, k)};
        });
        return s;
    }

    // ---- outputs of the real and integer sampled tunables with their tunable cells.
    template <size_t NS>
    static constexpr RowAt samp_output(uint32_t m, uint32_t k, const std::array<SampSource, NS>& foreign) {
        const Row& r = d[m].rows[k];
        const bool real = cstr_eq(r.field, "SAMP_TUNE");
        if (!real && !cstr_eq(r.field, "SAMP_ITUNE")) return {};
        const RowAt t = samp_tunable(m, r.block, foreign);
        return t.m >= 0 && d[t.m].rows[t.k].type == (real ? 'A' : 'I') ? t : RowAt{};
    }
    template <size_t NS>
    static constexpr size_t count_samp_presets(const std::array<SampSource, NS>& foreign) {
        size_t c = 0;
        walk([&](uint32_t m, uint32_t k) { c += samp_output(m, k, foreign).m >= 0 ? 1 : 0; });
        return c;
    }
    template <size_t N, size_t NS>
    static constexpr std::array<SampPreset, N + 1> make_samp_presets(const std::array<SampSource, NS>& foreign) {
        std::array<SampPreset, N + 1> s{};
        size_t at = 0;
        walk([&](uint32_t m, uint32_t k) {
            const RowAt t = samp_output(m, k, foreign);
            if (t.m >= 0) s[at++] = {mr_ref(static_cast<uint32_t>(t.m), static_cast<uint32_t>(t.k)), mr_ref(m, k)};
        });
        return s;
    }

    // ---- tunable defaults in directory order.
    static constexpr std::array<TuneDefault, kTunables + 1> make_defaults() {
        std::array<TuneDefault, kTunables + 1> t{};
        size_t at = 0;
        walk([&](uint32_t m, uint32_t k) {
            const Row& r = d[m].rows[k];
            if (r.access.letter == '*') t[at++] = {mr_ref(m, k), r.type, r.access.def, r.access.text ? r.access.text : ""};
        });
        return t;
    }

    // ---- user blocks.
    static constexpr size_t count_ub() {
        size_t mx = 0;
        for (size_t m = 0; m < n; ++m)
            if (d[m].instance) mx = std::max<size_t>(mx, static_cast<size_t>(user_block_number(d[m].name)));
        return mx;
    }
    static constexpr size_t kUb = count_ub();
    static constexpr size_t count_aliases() {
        size_t c = 0;
        for (size_t m = 0; m < n; ++m) c += d[m].naliases;
        return c;
    }
    static constexpr size_t kAliases = count_aliases();
    static constexpr std::array<const char*, kUb + 1> make_ub_names() {
        std::array<const char*, kUb + 1> u{};
        for (auto& s : u) s = "";
        for (size_t m = 0; m < n; ++m)
            if (d[m].instance) u[user_block_number(d[m].name) - 1] = d[m].instance;
        return u;
    }
    static constexpr std::array<const char*, kAliases + 1> make_aliases() {
        std::array<const char*, kAliases + 1> a{};
        size_t at = 0;
        for (size_t ub = 1; ub <= kUb; ++ub)
            for (size_t m = 0; m < n; ++m)
                if (d[m].instance && static_cast<size_t>(user_block_number(d[m].name)) == ub)
                    for (uint32_t j = 0; j < d[m].naliases; ++j) a[at++] = d[m].aliases[j];
        a[at] = "";
        return a;
    }

    // ---- cross-rate copies, in buckets of (pair, kind, zone): bucket
    // (p * kKinds + kind) * 2 + (zone == Z_UP) holds the moves of that pair's
    // routine for that kind and direction, in module order.
    static constexpr int kBuckets = 10 * kKinds * 2;
    static constexpr int bucket(int p, Kind kd, Zone z) { return (p * kKinds + kd) * 2 + (z == Z_UP ? 1 : 0); }
    struct MoveCounts {
        uint32_t first[kBuckets + 1];
    };
    // Calls f(bucket, src index, dst index) for every copy, in module order.
    template <class F>
    static constexpr void each_move(F f) {
        for (size_t q = 0; q < n; ++q) {
            const uint32_t m = order[q];
            for (uint32_t k = 0; k < d[m].nrows; ++k) {
                const Row& r = d[m].rows[k];
                if (!r.readers || r.group >= kGroups) continue;
                const Kind kd = kind_of(r.type);
                for (int g = 0; g < kGroups; ++g) {
                    if (!(r.readers & (1u << g))) continue;
                    const Zone z = g < r.group ? Z_UP : Z_DN;
                    const int p = z == Z_DN ? pair_index(r.group, g) : pair_index(g, r.group);
                    f(bucket(p, kd, z), offsets.off[m][chunk_of(Z_MR, kd)] + d[m].idx[k],
                      offsets.off[m][chunk_of(z, kd)] + d[m].slot[k][g]);
                }
            }
        }
    }
    static constexpr MoveCounts make_move_counts() {
        MoveCounts c{};
        uint32_t per[kBuckets + 1] = {};
        each_move([&](int b, uint32_t, uint32_t) { ++per[b]; });
        for (int b = 0; b < kBuckets; ++b) c.first[b + 1] = c.first[b] + per[b];
        return c;
    }
    static constexpr MoveCounts move_counts = make_move_counts();
    static constexpr std::array<Move, move_counts.first[kBuckets] + 1> make_all_moves() {
        std::array<Move, move_counts.first[kBuckets] + 1> mv{};
        uint32_t at[kBuckets] = {};
        for (int b = 0; b < kBuckets; ++b) at[b] = move_counts.first[b];
        each_move([&](int b, uint32_t src, uint32_t dst) { mv[at[b]++] = {src, dst}; });
        return mv;
    }
    static constexpr auto all_moves = make_all_moves();
    static constexpr uint32_t moves_first(int p, Kind kd, Zone z) { return move_counts.first[bucket(p, kd, z)]; }
    static constexpr uint32_t moves_count(int p, Kind kd, Zone z) {
        return move_counts.first[bucket(p, kd, z) + 1] - move_counts.first[bucket(p, kd, z)];
    }

    // Position of a module tag in the list.
    template <class M, class... Ms>
    static constexpr size_t index_in(ModList<Ms...>*) {
        size_t i = 0;
        // Counts the modules before M: the fold stops at the first match.
        static_cast<void>(((std::is_same_v<M, Ms> ? false : (++i, true)) && ...));
        return i;
    }
    template <class M>
    static constexpr Bases bases_of(const AreaSet& a) {
        const size_t m = index_in<M>(static_cast<L*>(nullptr));
        Bases b{};
        for (int z = 0; z < 3; ++z) {
            b.p[chunk_of(Zone(z), K_B)] = static_cast<void*>(a.b[z] + offsets.off[m][chunk_of(Zone(z), K_B)]);
            b.p[chunk_of(Zone(z), K_R)] = static_cast<void*>(a.r[z] + offsets.off[m][chunk_of(Zone(z), K_R)]);
            b.p[chunk_of(Zone(z), K_I)] = static_cast<void*>(a.i[z] + offsets.off[m][chunk_of(Zone(z), K_I)]);
            b.p[chunk_of(Zone(z), K_T)] = static_cast<void*>(a.t[z] + offsets.off[m][chunk_of(Zone(z), K_T)]);
            b.p[chunk_of(Zone(z), K_C)] = static_cast<void*>(a.c[z] + offsets.off[m][chunk_of(Zone(z), K_C)]);
        }
        return b;
    }
};

// Runs the copies List[First + I] as straight-line element moves.
template <class T, const auto& List, uint32_t First, size_t... I>
inline void run_moves([[maybe_unused]] const T* src, [[maybe_unused]] T* dst, std::index_sequence<I...>) {
    ((dst[List[First + I].dst] = src[List[First + I].src]), ...);
}
// A string cell is copied as its NUL-terminated text.
template <const auto& List, uint32_t First, size_t... I>
inline void run_text_moves([[maybe_unused]] const StrCell* src, [[maybe_unused]] StrCell* dst,
                           std::index_sequence<I...>) {
    (str_cell_copy(dst[List[First + I].dst], src[List[First + I].src]), ...);
}

// The copies of pair P of catalogue D (areas A) in one direction.
template <class D, const AreaSet& A, int P, Zone Z>
inline void run_zone() {
    constexpr int zi = Z;
    auto seq = [](Kind kd) { return D::moves_count(P, kd, Z); };
    run_moves<uint32_t, D::all_moves, D::moves_first(P, K_B, Z)>(A.b[0], A.b[zi], std::make_index_sequence<seq(K_B)>{});
    run_moves<float, D::all_moves, D::moves_first(P, K_R, Z)>(A.r[0], A.r[zi], std::make_index_sequence<seq(K_R)>{});
    run_moves<int32_t, D::all_moves, D::moves_first(P, K_I, Z)>(A.i[0], A.i[zi], std::make_index_sequence<seq(K_I)>{});
    run_moves<TimeCell, D::all_moves, D::moves_first(P, K_T, Z)>(A.t[0], A.t[zi], std::make_index_sequence<seq(K_T)>{});
    run_text_moves<D::all_moves, D::moves_first(P, K_C, Z)>(A.c[0], A.c[zi], std::make_index_sequence<seq(K_C)>{});
}
// One cross-rate copy routine: the faster group's cells into their dn_
// slots, then the slower group's cells into their up_ slots.
template <class D, const AreaSet& A, int P>
inline void run_pair() {
    run_zone<D, A, P, Z_DN>();
    run_zone<D, A, P, Z_UP>();
}

// The fifteen areas of a catalogue other than the application's (tests).
template <class D>
struct AreaStorage {
    uint32_t mr_b[D::area_size(chunk_of(Z_MR, K_B))], up_b[D::area_size(chunk_of(Z_UP, K_B))],
        dn_b[D::area_size(chunk_of(Z_DN, K_B))];
    float mr_r[D::area_size(chunk_of(Z_MR, K_R))], up_r[D::area_size(chunk_of(Z_UP, K_R))],
        dn_r[D::area_size(chunk_of(Z_DN, K_R))];
    int32_t mr_i[D::area_size(chunk_of(Z_MR, K_I))], up_i[D::area_size(chunk_of(Z_UP, K_I))],
        dn_i[D::area_size(chunk_of(Z_DN, K_I))];
    TimeCell mr_t[D::area_size(chunk_of(Z_MR, K_T))], up_t[D::area_size(chunk_of(Z_UP, K_T))],
        dn_t[D::area_size(chunk_of(Z_DN, K_T))];
    StrCell mr_c[D::area_size(chunk_of(Z_MR, K_C))], up_c[D::area_size(chunk_of(Z_UP, K_C))],
        dn_c[D::area_size(chunk_of(Z_DN, K_C))];
};
template <class D>
constexpr AreaSet area_set(AreaStorage<D>& s) {
    return {{s.mr_b, s.up_b, s.dn_b}, {s.mr_r, s.up_r, s.dn_r}, {s.mr_i, s.up_i, s.dn_i},
            {s.mr_t, s.up_t, s.dn_t}, {s.mr_c, s.up_c, s.dn_c}};
}

}  // namespace cat
