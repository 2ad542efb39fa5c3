// Modules CNFG_DRIVER and CNFG_OPERATE at 160 ms: the HP driver and
// operating options, taken over from their tunables only while the I/O is
// locked or at power-up, so that they cannot change under a running turbine.
#pragma once

#include "runtime/catalogue.h"

#define CNFG_DRIVER_CELLS(X)                             \
    X(ACT1_HP2, GT, B, R160, PLAIN)                      \
    X(ACT1_HP2, EQ, B, R160, PLAIN)                      \
    X(ACT1_HP2, LT, B, R160, PLAIN)                      \
    X(CONFIG_A, IN_1, A, R160, TUNE(0.0, 0.0, 100.0))    \
    X(CONFIG_A, LIST_1, A, R160, PLAIN)                  \
    X(CONFIG_B, IN_1, B, R160, TUNE(false))              \
    X(CONFIG_B, IN_2, B, R160, TUNE(true))               \
    X(CONFIG_B, LIST_1, B, R160, PLAIN)                  \
    X(CONFIG_B, LIST_2, B, R160, PLAIN)                  \
    X(CONFIG_B, LIST_3, B, R160, PLAIN)                  \
    X(INVERT, B_NAME, B, R160, PLAIN)                    \
    X(USE_HP1_FLT_SD, B_NAME, B, R160, PLAIN, R10)
CAT_MODULE(CNFG_DRIVER)

#define CNFG_OPERATE_CELLS(X)                            \
    X(CONFIG_B, IN_2, B, R160, TUNE(true))               \
    X(CONFIG_B, IN_3, B, R160, TUNE(false))              \
    X(CONFIG_B, IN_4, B, R160, TUNE(true))               \
    X(CONFIG_B, IN_5, B, R160, TUNE(true))               \
    X(CONFIG_B, LIST_1, B, R160, PLAIN)                  \
    X(CONFIG_B, LIST_2, B, R160, PLAIN)                  \
    X(CONFIG_B, LIST_3, B, R160, PLAIN)                  \
    X(CONFIG_B, LIST_4, B, R160, PLAIN)                  \
    X(CONFIG_B, LIST_5, B, R160, PLAIN)                  \
    X(CSD_TRIP, B_NAME, B, R160, PLAIN)                  \
    X(TRIP_ACTS, B_NAME, B, R160, PLAIN, R10)            \
    X(EXT_TRIPS_RELAY, B_NAME, B, R160, PLAIN, R10)      \
    X(RST_CLRS_TRIP, B_NAME, B, R160, PLAIN)
CAT_MODULE(CNFG_OPERATE)

namespace r160 {
// The HP driver options.
void CNFG_DRIVER_options();
// The operating options and the controlled stop's trip setting.
void CNFG_OPERATE_options();
}  // namespace r160
