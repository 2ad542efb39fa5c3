// The ten cross-rate copy routines, derived from the reading groups that the
// cells declare: each is one straight sequence of element moves, faster
// group's cells into their dn_ slots and slower group's cells into their up_
// slots. A string cell is copied as a NUL-terminated text.
#define CAT_CENTRAL 1
#include "app/catalogue_app.h"
#include "runtime/rgtask.h"

namespace {

using cat::AppTables;
using cat::Kind;
using cat::Zone;

template <int P, Kind KD, Zone Z, class T>
inline void move_list(const T* src, T* dst) {
    cat::run_moves<T, AppTables::all_moves, AppTables::moves_first(P, KD, Z)>(
        src, dst, std::make_index_sequence<AppTables::moves_count(P, KD, Z)>{});
}

template <int P, Zone Z, StrCell* Dst, size_t... I>
inline void copy_texts(std::index_sequence<I...>) {
    // A full copy of the NUL-terminated text (both cells hold at most 39 characters).
    constexpr auto& list = AppTables::all_moves;
    constexpr uint32_t first = AppTables::moves_first(P, cat::K_C, Z);
    (str_cell_copy(Dst[list[first + I].dst], mr_c[list[first + I].src].s), ...);
}

// The copies of pair P into one zone: dn_ (faster group's cells) or up_
// (slower group's cells).
template <int P, Zone Z>
inline void move_zone(uint32_t* b, float* r, int32_t* i, TimeCell* t) {
    move_list<P, cat::K_B, Z>(mr_b, b);
    move_list<P, cat::K_R, Z>(mr_r, r);
    move_list<P, cat::K_I, Z>(mr_i, i);
    move_list<P, cat::K_T, Z>(mr_t, t);
}

template <int P>
inline void move_pair() {
    move_zone<P, cat::Z_DN>(dn_b, dn_r, dn_i, dn_t);
    copy_texts<P, cat::Z_DN, dn_c>(std::make_index_sequence<AppTables::moves_count(P, cat::K_C, cat::Z_DN)>{});
    move_zone<P, cat::Z_UP>(up_b, up_r, up_i, up_t);
    copy_texts<P, cat::Z_UP, up_c>(std::make_index_sequence<AppTables::moves_count(P, cat::K_C, cat::Z_UP)>{});
}

}  // namespace

void _R10_R20_move_vals() { move_pair<0>(); }
void _R10_R40_move_vals() { move_pair<1>(); }
void _R10_R80_move_vals() { move_pair<2>(); }
void _R10_R160_move_vals() { move_pair<3>(); }
void _R20_R40_move_vals() { move_pair<4>(); }
void _R20_R80_move_vals() { move_pair<5>(); }
void _R20_R160_move_vals() { move_pair<6>(); }
void _R40_R80_move_vals() { move_pair<7>(); }
void _R40_R160_move_vals() { move_pair<8>(); }
void _R80_R160_move_vals() { move_pair<9>(); }
