// The ten cross-rate copy routines, derived from the reading groups that the
// cells declare: each is one straight sequence of element moves, faster
// group's cells into their dn_ slots and slower group's cells into their up_
// slots. A string cell is copied as a NUL-terminated text.
#define CAT_CENTRAL 1
#include "app/catalogue_app.h"
#include "runtime/rgtask.h"

namespace {
template <int P>
inline void move_pair() {
    cat::run_pair<cat::AppTables, cat::CatalogueOf<cat::AppCat>::areas, P>();
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
