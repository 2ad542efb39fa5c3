// STAND-IN until the controller's discrete-input channels (module CNFG_BI)
// land: the raw contact state of inputs 1 .. 8 that the 10 ms I/O gather
// stores, and the two edge-latch snapshots it takes after each input
// (hidden words of the channel blocks).
#pragma once

#include <cstdint>

#include "runtime/catalogue.h"

#define CNFG_BI_CELLS(X)                    \
    X(BI_01_ZARN, BI_ZARN, B, R10, PLAIN)   \
    X(BI_02_ZARN, BI_ZARN, B, R10, PLAIN)   \
    X(BI_03_ZARN, BI_ZARN, B, R10, PLAIN)   \
    X(BI_04_ZARN, BI_ZARN, B, R10, PLAIN)   \
    X(BI_05_ZARN, BI_ZARN, B, R10, PLAIN)   \
    X(BI_06_ZARN, BI_ZARN, B, R10, PLAIN)   \
    X(BI_07_ZARN, BI_ZARN, B, R10, PLAIN)   \
    X(BI_08_ZARN, BI_ZARN, B, R10, PLAIN)
CAT_MODULE(CNFG_BI)

// Low and high edge-latch snapshots of inputs 1 .. 8.
struct CnfgBiLatchSnapshot {
    uint32_t lo;
    uint32_t hi;
};
extern CnfgBiLatchSnapshot CNFG_BI_latch_snapshot[8];
