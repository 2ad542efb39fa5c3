// Module CNFG_BI: the controller's eight discrete inputs at 10 ms (input
// blocks BI_01_ZARN .. BI_08_ZARN with their edge time-stamp capture), the
// wizard's function numbers of the inputs and the copy of input 3's signal.
#pragma once

#include <cstdint>

#include "runtime/appmem.h"
#include "runtime/catalogue.h"

#define CNFG_BI_CELLS(X) \
    X(BI_01_ZARN, BI_ZARN, B, R10, PLAIN, R160, R80)          \
    X(BI_01_ZARN, BI_NOT, B, R10, PLAIN)           \
    X(BI_01_ZARN, LO_TSEVENT, B, R10, PLAIN)       \
    X(BI_01_ZARN, HI_TSEVENT, B, R10, PLAIN)       \
    X(BI_01_ZARN, LO_TIME, T, R10, PLAIN)          \
    X(BI_01_ZARN, HI_TIME, T, R10, PLAIN)          \
    X(BI_02_ZARN, BI_ZARN, B, R10, PLAIN, R160, R80)          \
    X(BI_02_ZARN, BI_NOT, B, R10, PLAIN)           \
    X(BI_02_ZARN, LO_TSEVENT, B, R10, PLAIN)       \
    X(BI_02_ZARN, HI_TSEVENT, B, R10, PLAIN)       \
    X(BI_02_ZARN, LO_TIME, T, R10, PLAIN)          \
    X(BI_02_ZARN, HI_TIME, T, R10, PLAIN)          \
    X(BI_03_ZARN, BI_ZARN, B, R10, PLAIN, R80, R160)     \
    X(BI_03_ZARN, BI_NOT, B, R10, PLAIN)           \
    X(BI_03_ZARN, LO_TSEVENT, B, R10, PLAIN)       \
    X(BI_03_ZARN, HI_TSEVENT, B, R10, PLAIN)       \
    X(BI_03_ZARN, LO_TIME, T, R10, PLAIN)          \
    X(BI_03_ZARN, HI_TIME, T, R10, PLAIN)          \
    X(BI_04_ZARN, BI_ZARN, B, R10, PLAIN, R160, R80)          \
    X(BI_04_ZARN, BI_NOT, B, R10, PLAIN)           \
    X(BI_04_ZARN, LO_TSEVENT, B, R10, PLAIN)       \
    X(BI_04_ZARN, HI_TSEVENT, B, R10, PLAIN)       \
    X(BI_04_ZARN, LO_TIME, T, R10, PLAIN)          \
    X(BI_04_ZARN, HI_TIME, T, R10, PLAIN)          \
    X(BI_05_ZARN, BI_ZARN, B, R10, PLAIN, R160, R80)          \
    X(BI_05_ZARN, BI_NOT, B, R10, PLAIN)           \
    X(BI_05_ZARN, LO_TSEVENT, B, R10, PLAIN)       \
    X(BI_05_ZARN, HI_TSEVENT, B, R10, PLAIN)       \
    X(BI_05_ZARN, LO_TIME, T, R10, PLAIN)          \
    X(BI_05_ZARN, HI_TIME, T, R10, PLAIN)          \
    X(BI_06_ZARN, BI_ZARN, B, R10, PLAIN, R160, R80)          \
    X(BI_06_ZARN, BI_NOT, B, R10, PLAIN)           \
    X(BI_06_ZARN, LO_TSEVENT, B, R10, PLAIN)       \
    X(BI_06_ZARN, HI_TSEVENT, B, R10, PLAIN)       \
    X(BI_06_ZARN, LO_TIME, T, R10, PLAIN)          \
    X(BI_06_ZARN, HI_TIME, T, R10, PLAIN)          \
    X(BI_07_ZARN, BI_ZARN, B, R10, PLAIN, R160, R80)          \
    X(BI_07_ZARN, BI_NOT, B, R10, PLAIN)           \
    X(BI_07_ZARN, LO_TSEVENT, B, R10, PLAIN)       \
    X(BI_07_ZARN, HI_TSEVENT, B, R10, PLAIN)       \
    X(BI_07_ZARN, LO_TIME, T, R10, PLAIN)          \
    X(BI_07_ZARN, HI_TIME, T, R10, PLAIN)          \
    X(BI_08_ZARN, BI_ZARN, B, R10, PLAIN, R160, R80)          \
    X(BI_08_ZARN, BI_NOT, B, R10, PLAIN)           \
    X(BI_08_ZARN, LO_TSEVENT, B, R10, PLAIN)       \
    X(BI_08_ZARN, HI_TSEVENT, B, R10, PLAIN)       \
    X(BI_08_ZARN, LO_TIME, T, R10, PLAIN)          \
    X(BI_08_ZARN, HI_TIME, T, R10, PLAIN)          \
    X(WIZFUN_BI_CH01, IN, I, R160, TUNE(2, 1, 31)) \
    X(WIZFUN_BI_CH01, I_NAME, I, R160, PLAIN)      \
    X(WIZFUN_BI_CH02, IN, I, R160, TUNE(3, 1, 31)) \
    X(WIZFUN_BI_CH02, I_NAME, I, R160, PLAIN)      \
    X(WIZFUN_BI_CH03, IN, I, R160, TUNE(4, 1, 31)) \
    X(WIZFUN_BI_CH03, I_NAME, I, R160, PLAIN)      \
    X(WIZFUN_BI_CH04, IN, I, R160, TUNE(5, 1, 31)) \
    X(WIZFUN_BI_CH04, I_NAME, I, R160, PLAIN)      \
    X(WIZFUN_BI_CH05, IN, I, R160, TUNE(6, 1, 31)) \
    X(WIZFUN_BI_CH05, I_NAME, I, R160, PLAIN)      \
    X(WIZFUN_BI_CH06, IN, I, R160, TUNE(7, 1, 31)) \
    X(WIZFUN_BI_CH06, I_NAME, I, R160, PLAIN)      \
    X(WIZFUN_BI_CH07, IN, I, R160, TUNE(1, 1, 31)) \
    X(WIZFUN_BI_CH07, I_NAME, I, R160, PLAIN)      \
    X(WIZFUN_BI_CH08, IN, I, R160, TUNE(1, 1, 31)) \
    X(WIZFUN_BI_CH08, I_NAME, I, R160, PLAIN)      \
    X(ESD_BI03, B_NAME, B, R10, PLAIN)             \

CAT_MODULE(CNFG_BI)

// Unnamed words of input block n (0 .. 7): the contact as the 10 ms I/O
// gather read it, the low and high edge-latch words the gather copied right
// after reading it, and the capture state (bit 0: a low event may still be
// captured, bit 1: a high event).
struct CnfgBiInput {
    uint32_t raw;
    uint32_t lo_snapshot;
    uint32_t hi_snapshot;
    uint32_t capture;
};
struct CNFG_BI_blocks {
    CnfgBiInput in[8];
};
inline BlockRam<CNFG_BI_blocks> CNFG_BI_st;

// Controller input n (0 .. 7) is hardware input 12 + n.
constexpr int kCnfgBiFirstHardwareInput = 12;

// Block initialisation: every input's edge capture armed for both edges.
void CNFG_BI_init_blks();

namespace r10 {
// Input block of controller input n (0 .. 7): contact, disarm or re-arm of
// the edge capture, capture of the first low and high event.
void CNFG_BI_input(int n);
// The copy of input 3's signal (sixth slice).
void CNFG_BI_esd_copy();
}  // namespace r10

namespace r160 {
// The wizard's function number of controller input n (0 .. 7), copied from
// its tunable; returns it.
int32_t CNFG_BI_wizard_function(int n);
}  // namespace r160
