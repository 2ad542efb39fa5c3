// The cell catalogue: how a module of the generated application declares its
// named cells "MODULE.BLOCK.FIELD", and how slices read and write them.
//
// A module declares every cell once, in a cells header beside its logic:
//
//   // app/control/ACCEL.cells.h
//   #pragma once
//   #include "runtime/catalogue.h"
//   #define ACCEL_CELLS(X)  (each line ends with a backslash)
//     X(SS_DERIV_FILT, LAG_TAU, A, R10, TUNE(0.0f, 0.0f, 0.5f))
//     X(SS_DERIV_FILT, LAG_2,   A, R10, PLAIN, R80)
//     X(SS1_FLD,       B_NAME,  B, R10, PLAIN)
//   CAT_MODULE(ACCEL)
//
// Row:  X(BLOCK, FIELD, type, group, access [, reading groups...])
//   type    A real, B boolean, I integer, U unsigned integer, T time, C string
//   group   R10, R20, R40, R80, R160 or RNone (cells no group computes)
//   access  PLAIN (' '), TUNE(default, min, max) / TUNE(bool) / TUNE("text")
//           ('*', a tunable), SVC(default, min, max) / SVC_IN ('S', a
//           service-side input with a side effect)
//   reading groups: the other rate groups whose slices read this cell; each
//           one gets a copy slot (up_ for a faster reader, dn_ for a slower
//           one) and a copy statement in the routine of that pair of groups.
//
// and registers it with one line in app/modules.inc. From these rows the
// application's tables derive, at compile time: the areas and their sizes,
// the directory _dbug_var / _dbug_hdr, the tunable tables, the user-block
// tables and the cross-rate copy routines (runtime/catalogue_central.h).
//
// Slices see the cells through one view per rate group, in the namespaces
// r10, r20, r40, r80, r160 (and `cells` for code outside the rate groups,
// e.g. the master clock pass and tests):
//
//   namespace r10 {
//   void ACCEL_deriv() {
//       ACCEL.SS_DERIV_MAX_A_MAX = std::max<float>(ACCEL.SS1_DERIV_USED_A_SW, ...);
//   }
//   }
//
// In the view of group G a cell of G (or RNone) reads and writes its cell; a
// cell of another group that declares G among its readers reads (only) its
// copy slot; any other cell of another group is a compile error naming the
// missing read declaration. Member names are BLOCK_FIELD. A member converts
// to a reference of its element (float&, uint32_t&, int32_t&, TimeCell&,
// StrCell&), so it is passed straight to the block kinds of
// runtime/blockkinds.h; a string member takes a text constant (copied, at
// most 39 characters).
//
// Hidden block state lives in one block object per module, cleared with the
// areas by init_blk_ram:
//
//   struct ACCEL_blocks { bk::LagState SS_DERIV_FILT; };
//   inline BlockRam<ACCEL_blocks> ACCEL_st;
//   ...  bk::LAG(ACCEL_st.SS_DERIV_FILT, ACCEL.SS_DERIV_FILT_LAG_2, ...);
//
// Cost of a central table unit at 14,500 cells in 230 modules (g++ 12, -O2):
// about 9 s and 0.6 GB for app/app_tables.cpp, 7 s for app/cross_rate.cpp;
// a module's own unit that includes 20 cells headers compiles in 0.6 s.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <type_traits>

#include "runtime/appmem.h"

namespace cat {

// ---- rate groups ----------------------------------------------------------------
enum Group : uint8_t { G_R10 = 0, G_R20, G_R40, G_R80, G_R160, G_RNone };
constexpr int kGroups = 5;
inline constexpr float kPeriod[kGroups] = {0.01f, 0.02f, 0.04f, 0.08f, 0.16f};
inline constexpr const char* kGroupName[6] = {"_R10", "_R20", "_R40", "_R80", "_R160", "_RNone"};

// The ten pairs of a faster and a slower group, in routine order.
struct GroupPair {
    Group fast, slow;
};
inline constexpr GroupPair kPairs[10] = {
    {G_R10, G_R20}, {G_R10, G_R40}, {G_R10, G_R80}, {G_R10, G_R160}, {G_R20, G_R40},
    {G_R20, G_R80}, {G_R20, G_R160}, {G_R40, G_R80}, {G_R40, G_R160}, {G_R80, G_R160},
};
constexpr int pair_index(int fast, int slow) {
    for (int p = 0; p < 10; ++p)
        if (kPairs[p].fast == fast && kPairs[p].slow == slow) return p;
    return -1;
}

// ---- element kinds and module chunks -----------------------------------------------
// A module owns one contiguous chunk of each of the fifteen cell and copy
// areas: zone (mr_, up_, dn_) x kind (b, r, i, t, c).
enum Kind : uint8_t { K_B = 0, K_R, K_I, K_T, K_C };
constexpr int kKinds = 5;
enum Zone : uint8_t { Z_MR = 0, Z_UP, Z_DN };
constexpr int kChunks = 15;
constexpr int chunk_of(Zone z, Kind k) { return z * kKinds + k; }

constexpr Kind kind_of(char type) {
    switch (type) {
        case 'A': return K_R;
        case 'B': return K_B;
        case 'I':
        case 'U': return K_I;
        case 'T': return K_T;
        default: return K_C;
    }
}
constexpr bool valid_type(char t) {
    return t == 'A' || t == 'B' || t == 'I' || t == 'U' || t == 'T' || t == 'C';
}
inline constexpr uint32_t kElemBytes[kKinds] = {4, 4, 4, 8, 40};
inline constexpr AreaCode kAreaOfChunk[kChunks] = {
    AREA_mr_b, AREA_mr_r, AREA_mr_i, AREA_mr_t, AREA_mr_c, AREA_up_b, AREA_up_r, AREA_up_i,
    AREA_up_t, AREA_up_c, AREA_dn_b, AREA_dn_r, AREA_dn_i, AREA_dn_t, AREA_dn_c,
};

// ---- declaration rows -------------------------------------------------------------
struct Access {
    char letter;      // ' ', '*' or 'S'
    bool has_limits;  // reals and integers of '*' / 'S'
    double def, lo, hi;
    const char* text;  // default of a string tunable
};

struct Row {
    const char* block;
    const char* field;
    const char* name;  // "BLOCK.FIELD"
    char type;
    Group group;
    Access access;
    uint8_t readers;  // bit g: group g reads this cell through a copy slot
};

constexpr uint8_t readers_mask(std::initializer_list<Group> gs) {
    uint8_t m = 0;
    for (Group g : gs) m = static_cast<uint8_t>(m | (1u << g));
    return m;
}

// Tokens of the declaration rows, visible only where rows are expanded.
namespace tok {
inline constexpr char A = 'A', B = 'B', I = 'I', U = 'U', T = 'T', C = 'C';
inline constexpr Group R10 = G_R10, R20 = G_R20, R40 = G_R40, R80 = G_R80, R160 = G_R160,
                       RNone = G_RNone;
inline constexpr Access PLAIN{' ', false, 0, 0, 0, nullptr};
constexpr Access TUNE(double def, double lo, double hi) { return {'*', true, def, lo, hi, nullptr}; }
constexpr Access TUNE(bool def) { return {'*', false, def ? 1.0 : 0.0, 0, 0, nullptr}; }
constexpr Access TUNE(const char* text) { return {'*', false, 0, 0, 0, text}; }
constexpr Access SVC(double def, double lo, double hi) { return {'S', true, def, lo, hi, nullptr}; }
inline constexpr Access SVC_IN{'S', false, 0, 0, 0, nullptr};
}  // namespace tok

// ---- per-module layout -----------------------------------------------------------
template <size_t N>
struct Layout {
    uint32_t idx[N];              // index of the cell in the module's mr_ chunk
    uint32_t slot[N][kGroups];    // index of the copy slot read by group g
    uint32_t count[kChunks];      // elements of each chunk
};

template <size_t N>
constexpr Layout<N> make_layout(const Row (&rows)[N]) {
    Layout<N> l{};
    for (size_t k = 0; k < N; ++k) {
        const Kind kd = kind_of(rows[k].type);
        l.idx[k] = l.count[chunk_of(Z_MR, kd)]++;
        for (int g = 0; g < kGroups; ++g) {
            l.slot[k][g] = 0;
            if (!(rows[k].readers & (1u << g)) || rows[k].group >= kGroups || g == rows[k].group)
                continue;
            const Zone z = g < rows[k].group ? Z_UP : Z_DN;
            l.slot[k][g] = l.count[chunk_of(z, kd)]++;
        }
    }
    return l;
}

// Element type of a cell of a type letter.
template <char Ty>
using elem_t = std::conditional_t<
    Ty == 'A', float,
    std::conditional_t<Ty == 'B' || Ty == 'U', uint32_t,
                       std::conditional_t<Ty == 'I', int32_t,
                                          std::conditional_t<Ty == 'T', TimeCell, StrCell>>>>;

// Chunk base pointers of one module: p[chunk] = first element of its chunk.
struct Bases {
    void* p[kChunks];
};
// Defined by the catalogue that holds module M (runtime/catalogue_central.h).
template <class M>
struct ModuleBases {
    static const Bases v;
};

// Where a view member points: a chunk base and an index in it.
template <class T>
struct Loc {
    void* const* chunk;
    uint32_t idx;
};

// ---- cell proxies -----------------------------------------------------------------
// A cell the view's group computes: read and write.
template <class T>
struct Cell {
    void* const* chunk;
    uint32_t idx;
    constexpr Cell(Loc<T> l) : chunk(l.chunk), idx(l.idx) {}
    T& ref() const { return static_cast<T*>(*chunk)[idx]; }
    operator T&() const { return ref(); }
    const Cell& operator=(const T& v) const {
        ref() = v;
        return *this;
    }
    const Cell& operator=(const Cell& o) const {
        ref() = o.ref();
        return *this;
    }
    template <class O>
    const Cell& operator+=(const O& v) const { ref() += v; return *this; }
    template <class O>
    const Cell& operator-=(const O& v) const { ref() -= v; return *this; }
    template <class O>
    const Cell& operator*=(const O& v) const { ref() *= v; return *this; }
};

template <>
struct Cell<StrCell> {
    void* const* chunk;
    uint32_t idx;
    constexpr Cell(Loc<StrCell> l) : chunk(l.chunk), idx(l.idx) {}
    StrCell& ref() const { return static_cast<StrCell*>(*chunk)[idx]; }
    operator StrCell&() const { return ref(); }
    const char* c_str() const { return ref().s; }
    // A text constant or another cell's text (at most 39 characters).
    const Cell& operator=(const char* text) const {
        ::str_cell_copy(ref(), text);
        return *this;
    }
    const Cell& operator=(const StrCell& v) const {
        ::str_cell_copy(ref(), v);
        return *this;
    }
    const Cell& operator=(const Cell& o) const { return *this = o.ref(); }
};

// The copy slot of a cell of another group: read only.
template <class T>
struct Slot {
    void* const* chunk;
    uint32_t idx;
    constexpr Slot(Loc<T> l) : chunk(l.chunk), idx(l.idx) {}
    const T& ref() const { return static_cast<const T*>(*chunk)[idx]; }
    operator const T&() const { return ref(); }
};
template <>
struct Slot<StrCell> {
    void* const* chunk;
    uint32_t idx;
    constexpr Slot(Loc<StrCell> l) : chunk(l.chunk), idx(l.idx) {}
    const StrCell& ref() const { return static_cast<const StrCell*>(*chunk)[idx]; }
    operator const StrCell&() const { return ref(); }
    const char* c_str() const { return ref().s; }
};

template <class>
inline constexpr bool kAlwaysFalse = false;

// A cell of another group without a read declaration for the view's group.
template <class T>
struct Absent {
    constexpr Absent(Loc<T>) {}
    template <class U>
    operator U() const {
        static_assert(kAlwaysFalse<U>,
                      "cell of another rate group: add this group to the cell's readers in its "
                      "module's cells header and read the copy slot");
        return U{};
    }
    template <class U>
    const Absent& operator=(const U&) const {
        static_assert(kAlwaysFalse<U>,
                      "cell of another rate group: only its own group writes it");
        return *this;
    }
};

// Member type of a cell in the view of group G (G = -1: the unrestricted view).
template <int G, char Ty, Group RG, uint8_t RD>
using view_t = std::conditional_t<
    G < 0 || RG == G_RNone || RG == G, Cell<elem_t<Ty>>,
    std::conditional_t<(RD & (1u << (G < 0 ? 0 : G))) != 0, Slot<elem_t<Ty>>, Absent<elem_t<Ty>>>>;

// Position of row k of module M (type TY, group RG, readers RD) in the view
// of group G.
template <int G, class M, char TY, Group RG, uint8_t RD>
constexpr Loc<elem_t<TY>> locate(uint32_t k) {
    constexpr Kind kd = kind_of(TY);
    const Bases& b = ModuleBases<M>::v;
    if constexpr (G < 0 || RG == G_RNone || RG == G) {
        return {&b.p[chunk_of(Z_MR, kd)], M::layout.idx[k]};
    } else if constexpr ((RD & (1u << G)) != 0) {
        constexpr Zone z = G < RG ? Z_UP : Z_DN;
        return {&b.p[chunk_of(z, kd)], M::layout.slot[k][G]};
    } else {
        return {&b.p[chunk_of(Z_MR, kd)], M::layout.idx[k]};
    }
}

// ---- user blocks -----------------------------------------------------------------
// Instance N of a user-block template is the module "_ubN"; 0 for other names.
constexpr int user_block_number(const char* m) {
    if (m[0] != '_' || m[1] != 'u' || m[2] != 'b' || m[3] == '\0') return 0;
    int n = 0;
    for (const char* p = m + 3; *p; ++p) {
        if (*p < '0' || *p > '9') return 0;
        n = n * 10 + (*p - '0');
    }
    return n;
}

// ---- catalogues and registration ---------------------------------------------------
// The application's catalogue. Tests may declare modules into catalogues of
// their own (CAT_MODULE_IN) and build separate tables from them.
struct AppCat {};

namespace reg {
template <class Cat, int N>
struct Slot {
    using tag = void;
};
}  // namespace reg

}  // namespace cat

// ---- declaration macros -------------------------------------------------------------
#define CAT_ROW_ENUM(BLK, FLD, ...) BLK##_##FLD,
#define CAT_ROW_DESC(BLK, FLD, TY, RG, ACC, ...) \
    ::cat::Row{#BLK, #FLD, #BLK "." #FLD, TY, RG, ACC, ::cat::readers_mask({__VA_ARGS__})},
// The view member of one row. The row's own macro arguments (not the rows
// array) give the member's type: compile time stays linear in the rows.
#define CAT_VIEW_MEMBER(BLK, FLD, TY, RG, ACC, ...)                                              \
    static constexpr ::cat::view_t<G, TY, RG, ::cat::readers_mask({__VA_ARGS__})> BLK##_##FLD{ \
        ::cat::locate<G, mod::tag, TY, RG, ::cat::readers_mask({__VA_ARGS__})>(                  \
            mod::Idx::BLK##_##FLD)};
#define CAT_ALIAS_TEXT(TEXT) TEXT,
#define CAT_NO_ALIASES(X)

#ifdef CAT_CENTRAL
#define CAT_REGISTER_(CAT, M) \
    template <>               \
    struct cat::reg::Slot<CAT, __COUNTER__> { using tag = ::cat_mod::M::tag; };
#else
#define CAT_REGISTER_(CAT, M)
#endif

// The object through which slices name a module's cells in one group
// (r20::SPDC.X). Only declared: a view is a class of static members, so a
// unit instantiates only the views it uses (each module has six, and a unit
// that included them all instantiated every one: most of a unit's compile
// time under clang). The catalogue's table unit defines them.
#ifdef CAT_DEFINE_VIEWS
#define CAT_VIEW_OBJECT_(NS, G, M) \
    namespace NS { extern const ::cat_mod::M::view<G> M; const ::cat_mod::M::view<G> M{}; }
#else
#define CAT_VIEW_OBJECT_(NS, G, M) \
    namespace NS { extern const ::cat_mod::M::view<G> M; }
#endif

// The module body: rows, layout, tag and the five group views.
#define CAT_MODULE_BODY_(CAT, M, INSTANCE, ALIAS_TEXTS)                                        \
    namespace cat_mod::M {                                                                     \
    using namespace ::cat::tok;                                                                \
    enum Idx : uint32_t { M##_CELLS(CAT_ROW_ENUM) kRows };                                     \
    inline constexpr ::cat::Row rows[] = {M##_CELLS(CAT_ROW_DESC)};                            \
    inline constexpr auto layout = ::cat::make_layout(rows);                                   \
    inline constexpr const char* aliases[] = {ALIAS_TEXTS nullptr};                            \
    struct tag {                                                                               \
        using catalogue = CAT;                                                                 \
        static constexpr const char* name = #M;                                                \
        static constexpr const ::cat::Row* rows = ::cat_mod::M::rows;                          \
        static constexpr uint32_t nrows = kRows;                                               \
        static constexpr const auto& layout = ::cat_mod::M::layout;                            \
        static constexpr const char* instance = INSTANCE;                                      \
        static constexpr const char* const* aliases = ::cat_mod::M::aliases;                   \
        static constexpr uint32_t naliases = sizeof(::cat_mod::M::aliases) / sizeof(const char*) - 1; \
    };                                                                                         \
    namespace mod = ::cat_mod::M;                                                              \
    template <int G>                                                                           \
    struct view {                                                                              \
        M##_CELLS(CAT_VIEW_MEMBER)                                                             \
    };                                                                                         \
    }                                                                                          \
    CAT_VIEW_OBJECT_(r10, 0, M)                                                                \
    CAT_VIEW_OBJECT_(r20, 1, M)                                                                \
    CAT_VIEW_OBJECT_(r40, 2, M)                                                                \
    CAT_VIEW_OBJECT_(r80, 3, M)                                                                \
    CAT_VIEW_OBJECT_(r160, 4, M)                                                               \
    CAT_VIEW_OBJECT_(cells, -1, M)                                                             \
    CAT_REGISTER_(CAT, M)

// A module of the application's catalogue.
#define CAT_MODULE(M) CAT_MODULE_BODY_(::cat::AppCat, M, nullptr, )
// A module of another catalogue (test fixtures).
#define CAT_MODULE_IN(CAT, M) CAT_MODULE_BODY_(CAT, M, nullptr, )
// A user-block instance "_ubN" with the designer's name OUTER ("MODULE.BLOCK")
// and the output aliases listed by ALIASES(X), one row per alias text
// X("OUTER.FIELD _ubN.INNER_BLOCK.INNER_FIELD") (CAT_NO_ALIASES for none).
#define CAT_USER_BLOCK_IN(CAT, M, OUTER, ALIASES)                                              \
    CAT_MODULE_BODY_(CAT, M, OUTER, ALIASES(CAT_ALIAS_TEXT))
#define CAT_USER_BLOCK(M, OUTER, ALIASES) CAT_USER_BLOCK_IN(::cat::AppCat, M, OUTER, ALIASES)
