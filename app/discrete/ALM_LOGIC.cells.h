// Module ALM_LOGIC: derived alarm conditions. At 10 ms the HP driver's
// high limit and the second speed sensor's failure; at 40 ms the signal
// failures of the used analog functions; at 160 ms the HP valve position
// difference alarm and the valve limiter in control.
#pragma once

#include "runtime/catalogue.h"

#define ALM_LOGIC_CELLS(X) \
    X(DELAY, DELAY, B, R160, PLAIN) \
    X(DELAY, R_TIME, I, R160, PLAIN) \
    X(VLV_LIM_ALM, AND, B, R160, PLAIN) \
    X(ON_LIMITER, B_NAME, B, R160, PLAIN, R40) \
    X(VL_SUMMARY, B_NAME, B, R80, PLAIN, R40) \
    X(ACT_LSS_HI_LIM_NOT, NOT, B, R10, PLAIN, R160) \
    X(SS2_FLT, AND, B, R10, PLAIN, R40, R160) \
    X(REMSPDSP_FLT, IN_2, B, R40, TUNE(true)) \
    X(REMSPDSP_FLT, AND, B, R40, PLAIN) \
    X(REMCASCSP_FLT, IN_2, B, R40, TUNE(true)) \
    X(REMCASCSP_FLT, AND, B, R40, PLAIN) \
    X(VIB1_FLT, IN_2, B, R40, TUNE(true)) \
    X(VIB1_FLT, AND, B, R40, PLAIN) \
    X(VIB2_FLT, IN_2, B, R40, TUNE(true)) \
    X(VIB2_FLT, AND, B, R40, PLAIN) \
    X(VIB3_FLT, IN_2, B, R40, TUNE(true)) \
    X(VIB3_FLT, AND, B, R40, PLAIN) \
    X(VIB4_FLT, IN_2, B, R40, TUNE(true)) \
    X(VIB4_FLT, AND, B, R40, PLAIN) \
    X(BTEMP1_FLT, IN_2, B, R40, TUNE(true)) \
    X(BTEMP1_FLT, AND, B, R40, PLAIN) \
    X(BTEMP2_FLT, IN_2, B, R40, TUNE(true)) \
    X(BTEMP2_FLT, AND, B, R40, PLAIN) \
    X(BTEMP3_FLT, IN_2, B, R40, TUNE(true)) \
    X(BTEMP3_FLT, AND, B, R40, PLAIN) \
    X(BTEMP4_FLT, IN_2, B, R40, TUNE(true)) \
    X(BTEMP4_FLT, AND, B, R40, PLAIN) \
    X(SIG_MON_1_FLT, IN_2, B, R40, TUNE(true)) \
    X(SIG_MON_1_FLT, AND, B, R40, PLAIN) \
    X(SIG_MON_2_FLT, IN_2, B, R40, TUNE(true)) \
    X(SIG_MON_2_FLT, AND, B, R40, PLAIN) \
    X(SIG_MON_3_FLT, IN_2, B, R40, TUNE(true)) \
    X(SIG_MON_3_FLT, AND, B, R40, PLAIN) \
    X(HP_FDBK_FLT, IN_2, B, R40, TUNE(true)) \
    X(HP_FDBK_FLT, AND, B, R40, PLAIN) \
    X(CASC_FLT, AND, B, R40, PLAIN) \
    X(DIFF_DLY, A_NAME, A, R160, PLAIN) \
    X(QT_DIFF_DLY, IN, A, R160, TUNE(5.0, 0.0, 600.0)) \
    X(ENA_HP_DIFF, IN, B, R160, TUNE(false)) \
    X(ENA_HP_DIFF, B_NAME, B, R160, PLAIN) \
    X(HPDIFF_AMT, A_NAME, A, R160, PLAIN) \
    X(QT_HPDIFF_AMT, IN, A, R160, TUNE(10.0, 0.0, 100.0)) \
    X(HP_CHK, RAISE_VAL, B, R160, PLAIN) \
    X(HP_CHK, LOWER_VAL, B, R160, PLAIN) \
    X(HP_CHK, EXCD_DB_2, B, R160, PLAIN) \
    X(HP_DIFF, OR, B, R160, PLAIN) \
    X(HP_POS_ERR, B_ALARM, B, R160, PLAIN, R40) \
    X(HP_POS_ERR, LIGHT, B, R160, PLAIN) \
    X(HP_POS_ERR, HORN, B, R160, PLAIN) \
    X(TRIP_ALM, AND, B, R80, PLAIN, R40)
CAT_MODULE(ALM_LOGIC)

namespace r10 {
void ALM_LOGIC_conditions();
}
namespace r40 {
void ALM_LOGIC_signal_failures();
}
namespace r160 {
void ALM_LOGIC_hp_difference();
// The valve limiter in control: selected, not at its high limit, the unit
// not shut down and the speed reference above minimum governor for a while,
// outside the zero-demand step (after the minimum-governor comparator of
// _R160_TASK_11).
void ALM_LOGIC_limiter();
}
namespace r80 {
// A shutdown with the first alarm (piece of _R80_TASK_12).
void ALM_LOGIC_trip_alarm();
}
