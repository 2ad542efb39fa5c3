// Module IFACE_IN_CASC: the cascade's interface inputs: configuration copies,
// the process value, the service tool's commands and settings.
#pragma once

#include "runtime/catalogue.h"

#define IFACE_IN_CASC_CELLS(X)                                   \
    X(USE_CASC, B_NAME, B, R160, PLAIN, R40, R80)                \
    X(CASC_RMT, B_NAME, B, R160, PLAIN)                          \
    X(CAS_RMT, B_NAME, B, R160, PLAIN, R80)                         \
    X(CASC_RMT_N, NOT, B, R160, PLAIN, R80)                      \
    X(CASC_IN_NAME, A_NAME, A, R20, PLAIN, R80, R160)            \
    X(CASC_RATE, A_NAME, A, R160, PLAIN, R80)                    \
    X(CASC_DB, A_NAME, A, R160, TUNE(0.1, 0.0, 50.0))            \
    X(FAST_RATE_DLY, A_NAME, A, R160, TUNE(3.0, 0.0, 100.0), R80) \
    X(RMT_DB, A_NAME, A, R160, TUNE(0.0, 0.0, 500.0), R80)         \
    X(RMT_RATE, A_NAME, A, R160, PLAIN, R80)                    \
    X(ENBL_CONT_USED, B_NAME, B, R160, PLAIN)                    \
    X(ENA_DIS, IN_1, B, R160, SVC_IN)                          \
    X(ENA_DIS, IN_2, B, R160, SVC_IN)                          \
    X(ENA_DIS, IN_3, B, R160, SVC_IN)                          \
    X(ENA_DIS, IN_4, B, R160, SVC_IN)                          \
    X(ENA_DIS, OUT_1, B, R160, PLAIN)                            \
    X(ENA_DIS, OUT_2, B, R160, PLAIN)                            \
    X(ENA_DIS, OUT_3, B, R160, PLAIN)                            \
    X(ENA_DIS, OUT_4, B, R160, PLAIN)                            \
    X(CASC_ENBL, B_NAME, B, R160, PLAIN, R80)                    \
    X(CASC_DIS, B_NAME, B, R160, PLAIN, R80)                     \
    X(RMT_CAS_ENBL, B_NAME, B, R160, PLAIN)                      \
    X(RMT_CAS_DIS, B_NAME, B, R160, PLAIN, R80)                  \
    X(RSE_LWR, IN_1, B, R160, SVC_IN)                          \
    X(RSE_LWR, IN_2, B, R160, SVC_IN)                          \
    X(RSE_LWR, OUT_1, B, R160, PLAIN)                            \
    X(RSE_LWR, OUT_2, B, R160, PLAIN)                            \
    X(CASC_RSE, B_NAME, B, R160, PLAIN, R80)                     \
    X(CASC_LWR, B_NAME, B, R160, PLAIN, R80)                     \
    X(CASC_LWR_CMD, B_NAME, B, R80, PLAIN)                       \
    X(CASC_RAZ_CMD, B_NAME, B, R80, PLAIN)                       \
    X(CASC_INPUT_INT, I_NAME, I, R160, PLAIN)                    \
    X(CASC_AI_MAX, A_NAME, A, R160, PLAIN)                       \
    X(CASC_AI_MIN, A_NAME, A, R160, PLAIN)                       \
    X(GAUGE_TICK_CONFIG, I_NAME, I, R160, TUNE(3, 1, 6))         \
    X(TICK_CONFIG, A_NAME, A, R160, PLAIN)                       \
    X(TREND1_Y_MAX, I_NAME, I, R160, TUNE(100, -20000, 20000))   \
    X(TREND1_Y_MIN, I_NAME, I, R160, TUNE(0, -20000, 20000))     \
    X(QT_RMT_SP_MIN, A_NAME, A, R160, TUNE(0.0, -20000.0, 20000.0)) \
    X(QT_RMT_SP_MAX, A_NAME, A, R160, TUNE(0.0, -20000.0, 20000.0)) \
    X(CAS_TUN_OK, B_NAME, B, R160, TUNE(false))                  \
    X(MOD_LINK_ALARM, B_NAME, B, R160, PLAIN)                    \
    X(CASC_PV_FLT, B_NAME, B, R20, PLAIN, R80)                   \
    X(RMT_CASC_FLT, B_NAME, B, R20, PLAIN, R80, R160)
CAT_MODULE(IFACE_IN_CASC)

namespace r20 {
// The copies of the cascade and remote cascade input faults.
void IFACE_IN_CASC_faults();
// The copy of the cascade input's value (start of _R20_TASK_4).
void IFACE_IN_CASC_process_value();
}
namespace r160 {
// The service tool's cascade commands and settings and the cascade
// configuration's interface copies (_R160_TASK_38).
void IFACE_IN_CASC_service();
}
