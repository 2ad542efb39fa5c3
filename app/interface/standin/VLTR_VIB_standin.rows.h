// STAND-IN rows of module VLTR_VIB until the remote vibration channels land:
// which of the four remote vibration signals are in use (1 each), summed by
// the vibration count. VLTR_VIB.cells.h lists them; the real channel logic
// declares them there and deletes this file.
#pragma once

#define VLTR_VIB_STANDIN_ROWS(X)             \
    X(VIBS_USED, OUT_1, I, R160, PLAIN)      \
    X(VIBS_USED, OUT_2, I, R160, PLAIN)      \
    X(VIBS_USED, OUT_3, I, R160, PLAIN)      \
    X(VIBS_USED, OUT_4, I, R160, PLAIN)
