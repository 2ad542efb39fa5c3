// Module VLTR_VIB: the count of remote vibration signals in use and whether
// to monitor them (160 ms), and at 80 ms the count of faulted vibration
// inputs, which raises the remote-node trip when fewer good signals are left
// than are required.
#pragma once

#include "runtime/catalogue.h"

#define VLTR_VIB_CELLS(X)                                \
    X(VIBS_USED, OUT_1, I, R160, PLAIN)                  \
    X(VIBS_USED, OUT_2, I, R160, PLAIN)                  \
    X(VIBS_USED, OUT_3, I, R160, PLAIN)                  \
    X(VIBS_USED, OUT_4, I, R160, PLAIN)                  \
    X(NUM_VIBSIGS, I_ADD, I, R160, PLAIN, R80)           \
    X(VIBUSED, GT, B, R160, PLAIN)                       \
    X(VIBUSED, LT, B, R160, PLAIN)                       \
    X(VIBUSED, EQ, B, R160, PLAIN)                       \
    X(ENA_VIB_MON, B_NAME, B, R160, PLAIN, R80)          \
    X(WIZ_RQRD, IN, I, R160, TUNE(0, 0, 4))              \
    X(WIZ_RQRD, I_NAME, I, R160, PLAIN, R80)             \
    X(FLT_COUNT, OUT_1, I, R80, PLAIN)                   \
    X(FLT_COUNT, OUT_2, I, R80, PLAIN)                   \
    X(FLT_COUNT, OUT_3, I, R80, PLAIN)                   \
    X(FLT_COUNT, OUT_4, I, R80, PLAIN)                   \
    X(NUM_CHANFLTS, I_ADD, I, R80, PLAIN)                \
    X(NUM_GOOD, I_SUBTRACT, I, R80, PLAIN)               \
    X(SIG_RQRD, GT, B, R80, PLAIN)                       \
    X(SIG_RQRD, LT, B, R80, PLAIN)                       \
    X(SIG_RQRD, EQ, B, R80, PLAIN)                       \
    X(SIG_RQRD_LT_AND, AND, B, R80, PLAIN)               \
    X(VIB_SIGS_LOST, B_NAME, B, R80, PLAIN)
CAT_MODULE(VLTR_VIB)

namespace r160 {
// Which of the four vibration functions an analog input is assigned to.
void VLTR_VIB_used();
// The number of vibration signals in use and whether to monitor them.
void VLTR_VIB_count();
}  // namespace r160

namespace r80 {
// The faulted vibration inputs against the signals required; sets the
// trip-list input of the lost signals.
void VLTR_VIB_signals();
}  // namespace r80
