// A catalogue of fixture modules for the tests (not part of the
// application): shaped like the cells the lookups must handle. Module names
// share one namespace with the application's modules (and one set of chunk
// bases per name), so a fixture module never takes an application name.
#pragma once

#include "runtime/catalogue.h"
#include "runtime/dbug.h"

namespace fx {
struct FxCat {};
}  // namespace fx

#define FX_CTRL_CELLS(X)                                       \
    X(ACT_LIM, A_SW, A, R10, PLAIN)                             \
    X(CASC_LAG, LAG_TAU, A, R10, SVC(0.1f, 0.0f, 10.0f))
CAT_MODULE_IN(fx::FxCat, FX_CTRL)

#define FX_ACCEL_CELLS(X)                                          \
    X(SS_DERIV_FILT, LAG_TAU, A, R10, TUNE(0.0f, 0.0f, 0.5f))
CAT_MODULE_IN(fx::FxCat, FX_ACCEL)

// Unit-delay cells of one group.
#define XR_CELLS(X)                                             \
    X(FAST, DLY_IN, B, R10, PLAIN)                              \
    X(FAST, DLY, B, R10, PLAIN)                                 \
    X(FAST, SEEN_DLY, B, R10, PLAIN)
CAT_MODULE_IN(fx::FxCat, XR)

#define _ub1_CELLS(X)                                           \
    X(ALARM_LVL1, B_NAME, B, R20, PLAIN)                        \
    X(USE_SP1, IN, B, R20, PLAIN)
#define _ub1_ALIASES(X) X("AI_EVENT.AI_01_EVENT.USE_SP1_IN _ub1.USE_SP1.IN")
CAT_USER_BLOCK_IN(fx::FxCat, _ub1, "AI_EVENT.AI_01_EVENT", _ub1_ALIASES)

// An instance whose name is a prefix of _ub1's.
#define _ub2_CELLS(X) X(SIGNAL, B_NAME, B, R20, PLAIN)
CAT_USER_BLOCK_IN(fx::FxCat, _ub2, "AI_EVENT.AI_01", CAT_NO_ALIASES)

namespace fx {
// The fixture catalogue's tables and areas.
DbugTables tables();
uint32_t num_records();
void clear_areas();
// The memory of a fixture cell reference (the fixture's own areas).
void* ptr(CellRef ref);
}  // namespace fx
