// Module CONF_LATCH: the configuration-error list, a latched list of the
// configuration checks' findings (160 ms), and the power-up flag it shows.
#pragma once

#include "runtime/catalogue.h"

#define CONF_LATCH_ENTRY(X, n)                                      \
    X(ANY, SEL_##n, B, R160, PLAIN) X(ANY, ALM_NO_##n, I, R160, PLAIN) X(ANY, EV_TM_##n, T, R160, PLAIN)
#define CONF_LATCH_CELLS(X)                                         \
    X(ANY, OVRD, B, R160, TUNE(false))                              \
    X(ANY, FA_RST, B, R160, TUNE(false))                            \
    X(ANY, LATCH_AE, B, R160, PLAIN)                                \
    X(ANY, LOGICAL_OR, B, R160, PLAIN)                              \
    X(ANY, HORN, B, R160, PLAIN)                                    \
    X(ANY, FIRST_ALM, I, R160, PLAIN)                               \
    X(COMPLETE_N, NOT, B, R160, PLAIN)                              \
    X(SPARE_48, B_NAME, B, R160, PLAIN)                             \
    X(SPARE_49, B_NAME, B, R160, PLAIN)                             \
    CONF_LATCH_ENTRY(X, 1) \
    CONF_LATCH_ENTRY(X, 2) \
    CONF_LATCH_ENTRY(X, 3) \
    CONF_LATCH_ENTRY(X, 4) \
    CONF_LATCH_ENTRY(X, 5) \
    CONF_LATCH_ENTRY(X, 6) \
    CONF_LATCH_ENTRY(X, 7) \
    CONF_LATCH_ENTRY(X, 8) \
    CONF_LATCH_ENTRY(X, 9) \
    CONF_LATCH_ENTRY(X, 10) \
    CONF_LATCH_ENTRY(X, 11) \
    CONF_LATCH_ENTRY(X, 12) \
    CONF_LATCH_ENTRY(X, 13) \
    CONF_LATCH_ENTRY(X, 14) \
    CONF_LATCH_ENTRY(X, 15) \
    CONF_LATCH_ENTRY(X, 16) \
    CONF_LATCH_ENTRY(X, 17) \
    CONF_LATCH_ENTRY(X, 18) \
    CONF_LATCH_ENTRY(X, 19) \
    CONF_LATCH_ENTRY(X, 20) \
    CONF_LATCH_ENTRY(X, 21) \
    CONF_LATCH_ENTRY(X, 22) \
    CONF_LATCH_ENTRY(X, 23) \
    CONF_LATCH_ENTRY(X, 24) \
    CONF_LATCH_ENTRY(X, 25) \
    CONF_LATCH_ENTRY(X, 26) \
    CONF_LATCH_ENTRY(X, 27) \
    CONF_LATCH_ENTRY(X, 28) \
    CONF_LATCH_ENTRY(X, 29) \
    CONF_LATCH_ENTRY(X, 30) \
    CONF_LATCH_ENTRY(X, 31) \
    CONF_LATCH_ENTRY(X, 32) \
    CONF_LATCH_ENTRY(X, 33) \
    CONF_LATCH_ENTRY(X, 34) \
    CONF_LATCH_ENTRY(X, 35) \
    CONF_LATCH_ENTRY(X, 36) \
    CONF_LATCH_ENTRY(X, 37) \
    CONF_LATCH_ENTRY(X, 38) \
    CONF_LATCH_ENTRY(X, 39) \
    CONF_LATCH_ENTRY(X, 40) \
    CONF_LATCH_ENTRY(X, 41) \
    CONF_LATCH_ENTRY(X, 42) \
    CONF_LATCH_ENTRY(X, 43) \
    CONF_LATCH_ENTRY(X, 44) \
    CONF_LATCH_ENTRY(X, 45) \
    CONF_LATCH_ENTRY(X, 46) \
    CONF_LATCH_ENTRY(X, 47) \
    CONF_LATCH_ENTRY(X, 48) \
    CONF_LATCH_ENTRY(X, 49) \
    X(CFG_SAMPL_OK_OR, IN_3, B, R160, TUNE(false))                  \
    X(CFG_SAMPL_OK_OR, OR, B, R160, PLAIN)
CAT_MODULE(CONF_LATCH)

namespace r160 {
// One pass of the list (_R160_TASK_33, after the checks that feed it).
void CONF_LATCH_list();
}

// Block initialisation: the list's counters.
void CONF_LATCH_init_blks();
