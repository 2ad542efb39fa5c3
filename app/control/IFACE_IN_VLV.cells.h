// Module IFACE_IN_VLV: the valve-interface inputs; the speed PID's demand
// after its switch is written by the 10 ms speed control.
#pragma once

#include "app/control/standin/speed_rows_standin.h"
#include "runtime/catalogue.h"

#define IFACE_IN_VLV_CELLS(X)                                   \
    X(SPD_PID, A_NAME, A, R10, PLAIN)                           \
    X(CSD_ENABLED, B_NAME, B, R80, PLAIN)                       \
    X(SD_SEQ_SD, B_NAME, B, R80, PLAIN, R160)                         \
    X(STRT_SEQ_AT_IDL1, B_NAME, B, R80, PLAIN, R160)                  \
    X(STRT_SEQ_CMPL, B_NAME, B, R80, PLAIN, R160)                     \
    X(STRT_SEQ_OVSPD, B_NAME, B, R80, PLAIN, R160)                    \
    X(STRT_SEQ_OVSPD_RST, B_NAME, B, R80, PLAIN, R160)                \
    X(STRT_SEQ_RST, B_NAME, B, R80, PLAIN, R160)                      \
    X(STRT_SEQ_RUN_BK, B_NAME, B, R80, PLAIN, R160)                   \
    X(STRT_SEQ_TO_IDL1, B_NAME, B, R80, PLAIN, R160)                  \
    X(V1LMTR_VAL, A_NAME, A, R40, PLAIN, R10)                   \
    X(VLV_LIM_MAX, IN, A, R160, TUNE(101.0, 0.0, 101.0))        \
    X(LIM_MAX_AT_START, IN, A, R160, TUNE(101.0, 0.0, 101.0))   \
    X(USE_STRT_MAX, IN, B, R160, TUNE(false))                   \
    IFACE_IN_VLV_STANDIN_ROWS(X) \
    X(SD_SEQ_NORM_SD, B_NAME, B, R80, PLAIN, R160) \
    X(HP_STRK_ENBL, IN, B, R80, TUNE(false)) \
    X(HP_STRK_ENBL, B_NAME, B, R80, PLAIN)
CAT_MODULE(IFACE_IN_VLV)

namespace r80 {
// The controlled-stop enable and the start sequence's steps for the
// interface maps (piece of _R80_TASK_19).
void IFACE_IN_VLV_sequence_status();
}
