// Module VLTR_OUTS: the remote nodes' summary as the rest of the controller
// sees it. The node alarm and trip summaries with their first-out numbers
// (80 ms, from the node alarm lists); the lists through which the remote
// analog node's channels reach the analog function mux (values and faults at
// 20 ms, function numbers at 160 ms) and the remote discrete inputs reach the
// contact mux (signals at 20 ms, functions at 160 ms), filled by the channel
// logic; the permissive summary and the remote RTD lists.
#pragma once

#include "app/remote_io/VLTR_OUTS_ai.rows.h"
#include "app/remote_io/VLTR_OUTS_perms.rows.h"
#include "app/remote_io/VLTR_OUTS_rtd.rows.h"
#include "runtime/catalogue.h"

#define VLTR_OUTS_CELLS(X) \
    X(VLTR_ALM_SUM, B_NAME, B, R80, PLAIN) \
    X(VLTR_TRIP_SUM, B_NAME, B, R80, PLAIN) \
    X(VL_BINS, LIST_1, B, R20, PLAIN, R10) \
    X(VL_BINS, LIST_2, B, R20, PLAIN, R10) \
    X(VL_BINS, LIST_3, B, R20, PLAIN, R10) \
    X(VL_BINS, LIST_4, B, R20, PLAIN, R10) \
    X(VL_BINS, LIST_5, B, R20, PLAIN, R10) \
    X(VL_BINS, LIST_6, B, R20, PLAIN, R10) \
    X(VL_BINS, LIST_7, B, R20, PLAIN, R10) \
    X(VL_BINS, LIST_8, B, R20, PLAIN, R10) \
    X(VL_BINS, LIST_9, B, R20, PLAIN, R10) \
    X(VL_BINS, LIST_10, B, R20, PLAIN, R10) \
    X(VL_BINS, LIST_11, B, R20, PLAIN, R10) \
    X(VL_BINS, LIST_12, B, R20, PLAIN, R10) \
    X(VL_BINS, LIST_13, B, R20, PLAIN, R10) \
    X(VL_BINS, LIST_14, B, R20, PLAIN, R10) \
    X(VL_BINS, LIST_15, B, R20, PLAIN, R10) \
    X(VL_BINS, LIST_16, B, R20, PLAIN, R10) \
    X(VL_BINS_FUN, LIST_1, I, R160, PLAIN, R10) \
    X(VL_BINS_FUN, LIST_2, I, R160, PLAIN, R10) \
    X(VL_BINS_FUN, LIST_3, I, R160, PLAIN, R10) \
    X(VL_BINS_FUN, LIST_4, I, R160, PLAIN, R10) \
    X(VL_BINS_FUN, LIST_5, I, R160, PLAIN, R10) \
    X(VL_BINS_FUN, LIST_6, I, R160, PLAIN, R10) \
    X(VL_BINS_FUN, LIST_7, I, R160, PLAIN, R10) \
    X(VL_BINS_FUN, LIST_8, I, R160, PLAIN, R10) \
    X(VL_BINS_FUN, LIST_9, I, R160, PLAIN, R10) \
    X(VL_BINS_FUN, LIST_10, I, R160, PLAIN, R10) \
    X(VL_BINS_FUN, LIST_11, I, R160, PLAIN, R10) \
    X(VL_BINS_FUN, LIST_12, I, R160, PLAIN, R10) \
    X(VL_BINS_FUN, LIST_13, I, R160, PLAIN, R10) \
    X(VL_BINS_FUN, LIST_14, I, R160, PLAIN, R10) \
    X(VL_BINS_FUN, LIST_15, I, R160, PLAIN, R10) \
    X(VL_BINS_FUN, LIST_16, I, R160, PLAIN, R10) \
    X(VL_AINS, LIST_1, A, R20, PLAIN) \
    X(VL_AINS, LIST_2, A, R20, PLAIN) \
    X(VL_AINS, LIST_3, A, R20, PLAIN) \
    X(VL_AINS, LIST_4, A, R20, PLAIN) \
    X(VL_AINS, LIST_5, A, R20, PLAIN) \
    X(VL_AINS, LIST_6, A, R20, PLAIN) \
    X(VL_AINS, LIST_7, A, R20, PLAIN) \
    X(VL_AINS, LIST_8, A, R20, PLAIN) \
    X(VL_AINS, LIST_9, A, R20, PLAIN) \
    X(VL_AINS, LIST_10, A, R20, PLAIN) \
    X(VL_AINS, LIST_11, A, R20, PLAIN) \
    X(VL_AINS, LIST_12, A, R20, PLAIN) \
    X(VL_AINS, LIST_13, A, R20, PLAIN) \
    X(VL_AINS, LIST_14, A, R20, PLAIN) \
    X(VL_AINS, LIST_15, A, R20, PLAIN) \
    X(VL_AINS, LIST_16, A, R20, PLAIN) \
    X(VL_AI_FUNCT, LIST_1, I, R160, PLAIN, R20) \
    X(VL_AI_FUNCT, LIST_2, I, R160, PLAIN, R20) \
    X(VL_AI_FUNCT, LIST_3, I, R160, PLAIN, R20) \
    X(VL_AI_FUNCT, LIST_4, I, R160, PLAIN, R20) \
    X(VL_AI_FUNCT, LIST_5, I, R160, PLAIN, R20) \
    X(VL_AI_FUNCT, LIST_6, I, R160, PLAIN, R20) \
    X(VL_AI_FUNCT, LIST_7, I, R160, PLAIN, R20) \
    X(VL_AI_FUNCT, LIST_8, I, R160, PLAIN, R20) \
    X(VL_AI_FLTS, LIST_1, B, R20, PLAIN) \
    X(VL_AI_FLTS, LIST_2, B, R20, PLAIN) \
    X(VL_AI_FLTS, LIST_3, B, R20, PLAIN) \
    X(VL_AI_FLTS, LIST_4, B, R20, PLAIN) \
    X(VL_AI_FLTS, LIST_5, B, R20, PLAIN) \
    X(VL_AI_FLTS, LIST_6, B, R20, PLAIN) \
    X(VL_AI_FLTS, LIST_7, B, R20, PLAIN) \
    X(VL_AI_FLTS, LIST_8, B, R20, PLAIN) \
    X(VL_AI_FLTS, LIST_9, B, R20, PLAIN) \
    X(VL_AI_FLTS, LIST_10, B, R20, PLAIN) \
    X(VL_AI_FLTS, LIST_11, B, R20, PLAIN) \
    X(VL_AI_FLTS, LIST_12, B, R20, PLAIN) \
    X(VL_AI_FLTS, LIST_13, B, R20, PLAIN) \
    X(VL_AI_FLTS, LIST_14, B, R20, PLAIN) \
    X(VL_AI_FLTS, LIST_15, B, R20, PLAIN) \
    X(VL_AI_FLTS, LIST_16, B, R20, PLAIN) \
    X(VLTR_ALM_FO, I_NAME, I, R80, PLAIN) \
    X(VLTR_TRIP_FO, I_NAME, I, R80, PLAIN) \
    VLTR_OUTS_AI_ROWS(X) \
    VLTR_OUTS_PERMS_ROWS(X) \
    VLTR_OUTS_RTD_ROWS(X)
CAT_MODULE(VLTR_OUTS)

namespace r160 {
// The remote analog node's function numbers (_R160_TASK_2) and its other
// channel settings (_R160_TASK_6) into the lists.
void VLTR_OUTS_ai_functions();
void VLTR_OUTS_ai_settings();
}  // namespace r160
