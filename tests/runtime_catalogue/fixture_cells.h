// A catalogue of fixture modules for the tests (not part of the
// application): named after cells the lookups and copies must handle.
#pragma once

#include "runtime/catalogue.h"
#include "runtime/dbug.h"

namespace fx {
struct FxCat {};
}  // namespace fx

#define SPD_CTRL_CELLS(X)                                       \
    X(ACT_LIM, A_SW, A, R10, PLAIN)                             \
    X(ACT_LIM, NC, A, R10, TUNE(5.0f, 0.25f, 100.0f))           \
    X(ACT_LIM, NO, A, R10, TUNE(10.0f, 0.5f, 100.0f))           \
    X(CASC_LAG, LAG_TAU, A, R10, SVC(0.1f, 0.0f, 10.0f))        \
    X(SPD_PID, LSS_HSS, I, R10, TUNE(1, 0, 2))                  \
    X(SPD_PID, CLR_STATE, B, R10, TUNE(false))                  \
    X(MSG, S_NAME, C, R160, TUNE("Dflt text"))
CAT_MODULE_IN(fx::FxCat, SPD_CTRL)

#define ACCEL_CELLS(X)                                          \
    X(SS_DERIV_FILT, LAG_TAU, A, R10, TUNE(0.0f, 0.0f, 0.5f))   \
    X(SS_DERIV_FILT, LAG_2, A, R10, PLAIN, R160)                \
    X(SS_DERIV_FILT, DERIV, A, R10, PLAIN)                      \
    X(SS1_FLD, B_NAME, B, R10, PLAIN)                           \
    X(A_MAX, A_MAX, A, R10, PLAIN)
CAT_MODULE_IN(fx::FxCat, ACCEL)

#define MASTER_CELLS(X)                                         \
    X(COMMANDS, IN_1, B, R160, SVC_IN)                          \
    X(COMMANDS, OUT_1, B, R160, PLAIN)                          \
    X(IDLE_10S_AVG, OUT, A, R160, PLAIN)
CAT_MODULE_IN(fx::FxCat, MASTER)

#define IFACE_MODE_CELLS(X)                                     \
    X(TALLWIRE, IP_ADDR_1, U, RNone, PLAIN)                     \
    X(TALLWIRE, PORT, I, RNone, TUNE(666, 1, 65535))
CAT_MODULE_IN(fx::FxCat, IFACE_MODE)

// Cross-rate cells: a value of the 160 ms group read by the 10 ms group and
// values of the 10 ms group read by the 160 ms group.
#define XR_CELLS(X)                                             \
    X(SLOW, VAL, A, R160, PLAIN, R10)                           \
    X(SLOW, FLAG, B, R160, PLAIN, R10, R40)                     \
    X(SLOW, SEEN, A, R160, PLAIN)                               \
    X(FAST, VAL, A, R10, PLAIN, R160)                           \
    X(FAST, CNT, I, R10, PLAIN, R160)                           \
    X(FAST, TXT, C, R10, PLAIN, R160)                           \
    X(FAST, TM, T, R10, PLAIN, R160)                            \
    X(FAST, SEEN, A, R10, PLAIN)                                \
    X(FAST, DLY_IN, B, R10, PLAIN)                              \
    X(FAST, DLY, B, R10, PLAIN)                                 \
    X(FAST, SEEN_DLY, B, R10, PLAIN)
CAT_MODULE_IN(fx::FxCat, XR)

#define SAMP_CELLS(X)                                           \
    X(HOLD_FLT, TUNE, I, R160, TUNE(0, 0, 30))                  \
    X(HOLD_FLT, SAMP_ITUNE, I, R160, PLAIN)                     \
    X(HOLD_FLT, EN_ENT_OUT, B, R160, PLAIN)                     \
    X(HOLD_FLT, LIMITED, B, R160, PLAIN)                        \
    X(HOLD_FLT, HI_LIM_OUT, I, R160, PLAIN)                     \
    X(TRIP_DLY, DELAY, B, R160, PLAIN)                          \
    X(TRIP_DLY, R_TIME, I, R160, PLAIN)                         \
    X(TRIP_DLY, IN, B, R160, PLAIN)
CAT_MODULE_IN(fx::FxCat, SAMP)

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
void run_copies(int pair);
void clear_areas();
// Counts and tables of the derivation that the tests check.
struct Derived {
    size_t num_an, num_int, num_samp, num_defaults;
    const SampTune* samp;
    const TuneDefault* defaults;
};
Derived derived();
// The memory of a fixture cell reference (the fixture's own areas).
void* ptr(CellRef ref);
}  // namespace fx
