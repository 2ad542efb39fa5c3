// Module AI_MUX at 20 ms: the analog function mux. Every analog function
// (remote speed setpoint, cascade input, vibration, bearing temperature ...)
// has one value, percentage and fault slot, filled from whichever analog
// input channel is configured for it, and named copies of the slots that the
// control logic and the operator interface read.
#pragma once

#include "app/config/AI_MUX_routing.rows.h"
#include "runtime/catalogue.h"

#define AI_MUX_CELLS(X) \
    AI_MUX_ROUTING_ROWS(X) \
    X(AI_MUX, OUT_1, A, R20, PLAIN) \
    X(AI_MUX, OUT_2, A, R20, PLAIN) \
    X(AI_MUX, OUT_3, A, R20, PLAIN) \
    X(AI_MUX, OUT_4, A, R20, PLAIN) \
    X(AI_MUX, OUT_5, A, R20, PLAIN) \
    X(AI_MUX, OUT_6, A, R20, PLAIN) \
    X(AI_MUX, OUT_7, A, R20, PLAIN) \
    X(AI_MUX, OUT_8, A, R20, PLAIN) \
    X(AI_MUX, OUT_9, A, R20, PLAIN) \
    X(AI_MUX, OUT_10, A, R20, PLAIN) \
    X(AI_MUX, OUT_11, A, R20, PLAIN) \
    X(AI_MUX, OUT_12, A, R20, PLAIN) \
    X(AI_MUX, OUT_13, A, R20, PLAIN) \
    X(AI_MUX, OUT_14, A, R20, PLAIN) \
    X(AI_MUX, OUT_15, A, R20, PLAIN) \
    X(AI_MUX, OUT_16, A, R20, PLAIN) \
    X(AI_MUX, OUT_17, A, R20, PLAIN) \
    X(AI_MUX, OUT_18, A, R20, PLAIN) \
    X(AI_MUX, OUT_19, A, R20, PLAIN) \
    X(AI_MUX, OUT_20, A, R20, PLAIN) \
    X(AI_MUX, SEL_1, I, R20, TUNE(1, 0, 100)) \
    X(AI_PERCENT, OUT_1, A, R20, PLAIN) \
    X(AI_PERCENT, OUT_2, A, R20, PLAIN) \
    X(AI_PERCENT, OUT_3, A, R20, PLAIN) \
    X(AI_PERCENT, OUT_4, A, R20, PLAIN) \
    X(AI_PERCENT, OUT_5, A, R20, PLAIN) \
    X(AI_PERCENT, OUT_6, A, R20, PLAIN) \
    X(AI_PERCENT, OUT_7, A, R20, PLAIN) \
    X(AI_PERCENT, OUT_8, A, R20, PLAIN) \
    X(AI_PERCENT, OUT_9, A, R20, PLAIN) \
    X(AI_PERCENT, OUT_10, A, R20, PLAIN) \
    X(AI_PERCENT, OUT_11, A, R20, PLAIN) \
    X(AI_PERCENT, OUT_12, A, R20, PLAIN) \
    X(AI_PERCENT, OUT_13, A, R20, PLAIN) \
    X(AI_PERCENT, OUT_14, A, R20, PLAIN) \
    X(AI_PERCENT, OUT_15, A, R20, PLAIN) \
    X(AI_PERCENT, OUT_16, A, R20, PLAIN) \
    X(AI_PERCENT, OUT_17, A, R20, PLAIN) \
    X(AI_PERCENT, OUT_18, A, R20, PLAIN) \
    X(AI_PERCENT, OUT_19, A, R20, PLAIN) \
    X(AI_PERCENT, OUT_20, A, R20, PLAIN) \
    X(AI_FLTS, OUT_1, B, R20, PLAIN) \
    X(AI_FLTS, OUT_2, B, R20, PLAIN) \
    X(AI_FLTS, OUT_3, B, R20, PLAIN) \
    X(AI_FLTS, OUT_4, B, R20, PLAIN) \
    X(AI_FLTS, OUT_5, B, R20, PLAIN) \
    X(AI_FLTS, OUT_6, B, R20, PLAIN) \
    X(AI_FLTS, OUT_7, B, R20, PLAIN) \
    X(AI_FLTS, OUT_8, B, R20, PLAIN) \
    X(AI_FLTS, OUT_9, B, R20, PLAIN) \
    X(AI_FLTS, OUT_10, B, R20, PLAIN) \
    X(AI_FLTS, OUT_11, B, R20, PLAIN) \
    X(AI_FLTS, OUT_12, B, R20, PLAIN) \
    X(AI_FLTS, OUT_13, B, R20, PLAIN) \
    X(AI_FLTS, OUT_14, B, R20, PLAIN) \
    X(AI_FLTS, OUT_15, B, R20, PLAIN) \
    X(AI_FLTS, OUT_16, B, R20, PLAIN) \
    X(AI_FLTS, OUT_17, B, R20, PLAIN) \
    X(AI_FLTS, OUT_18, B, R20, PLAIN) \
    X(AI_FLTS, OUT_19, B, R20, PLAIN) \
    X(AI_FLTS, OUT_20, B, R20, PLAIN) \
    X(AI_FLTS, SEL_1, I, R20, TUNE(1, 0, 100)) \
    X(RMT_SPD_SP, A_NAME, A, R20, PLAIN, R160, R80) \
    X(RMT_SPD_PCT, A_NAME, A, R20, PLAIN) \
    X(RMT_SPD_FLT, B_NAME, B, R20, PLAIN, R40, R80) \
    X(CASC_IN, A_NAME, A, R20, PLAIN) \
    X(CASC_IN_PCT, A_NAME, A, R20, PLAIN) \
    X(CASC_IN_FLT, B_NAME, B, R20, PLAIN, R40) \
    X(RMT_CASC_SP, A_NAME, A, R20, PLAIN, R80) \
    X(RMT_CASC_PCT, A_NAME, A, R20, PLAIN) \
    X(RMT_CASC_FLT, B_NAME, B, R20, PLAIN, R40) \
    X(VIB_IN1, A_NAME, A, R20, PLAIN, R40) \
    X(VIB_IN1_PCT, A_NAME, A, R20, PLAIN) \
    X(VIB_IN1_FLT, B_NAME, B, R20, PLAIN, R40, R80) \
    X(VIB_IN2, A_NAME, A, R20, PLAIN, R40) \
    X(VIB_IN2_PCT, A_NAME, A, R20, PLAIN) \
    X(VIB_IN2_FLT, B_NAME, B, R20, PLAIN, R40, R80) \
    X(VIB_IN3, A_NAME, A, R20, PLAIN, R40) \
    X(VIB_IN3_PCT, A_NAME, A, R20, PLAIN) \
    X(VIB_IN3_FLT, B_NAME, B, R20, PLAIN, R40, R80) \
    X(VIB_IN4, A_NAME, A, R20, PLAIN, R40) \
    X(VIB_IN4_PCT, A_NAME, A, R20, PLAIN) \
    X(VIB_IN4_FLT, B_NAME, B, R20, PLAIN, R40, R80) \
    X(BEARTEMP1, A_NAME, A, R20, PLAIN, R40) \
    X(BTEMP1_PCT, A_NAME, A, R20, PLAIN) \
    X(BTEMP1_FLT, B_NAME, B, R20, PLAIN, R40) \
    X(BEARTEMP2, A_NAME, A, R20, PLAIN, R40) \
    X(BTEMP2_PCT, A_NAME, A, R20, PLAIN) \
    X(BTEMP2_FLT, B_NAME, B, R20, PLAIN, R40) \
    X(BEARTEMP3, A_NAME, A, R20, PLAIN, R40) \
    X(BTEMP3_PCT, A_NAME, A, R20, PLAIN) \
    X(BTEMP3_FLT, B_NAME, B, R20, PLAIN, R40) \
    X(BEARTEMP4, A_NAME, A, R20, PLAIN, R40) \
    X(BTEMP4_PCT, A_NAME, A, R20, PLAIN) \
    X(BTEMP4_FLT, B_NAME, B, R20, PLAIN, R40) \
    X(SIG_MON_1, A_NAME, A, R20, PLAIN, R10, R40, R80) \
    X(SIG_MON_1_PCT, A_NAME, A, R20, PLAIN) \
    X(SIG_MON_1_FLT, B_NAME, B, R20, PLAIN, R40) \
    X(SIG_MON_2, A_NAME, A, R20, PLAIN, R10, R40, R80) \
    X(SIG_MON_2_PCT, A_NAME, A, R20, PLAIN) \
    X(SIG_MON_2_FLT, B_NAME, B, R20, PLAIN, R40) \
    X(SIG_MON_3, A_NAME, A, R20, PLAIN, R10, R40, R80) \
    X(SIG_MON_3_PCT, A_NAME, A, R20, PLAIN) \
    X(SIG_MON_3_FLT, B_NAME, B, R20, PLAIN, R40) \
    X(HP_FDBK, A_NAME, A, R20, PLAIN, R10, R40, R160) \
    X(HP_FDBK_PCT, A_NAME, A, R20, PLAIN) \
    X(HP_RDBK_FLT, B_NAME, B, R20, PLAIN, R40, R160) \
    X(SPARE17, A_NAME, A, R20, PLAIN) \
    X(SPARE17_PCT, A_NAME, A, R20, PLAIN) \
    X(AI17_FLT, B_NAME, B, R20, PLAIN) \
    X(SPARE18, A_NAME, A, R20, PLAIN) \
    X(SPARE18_PCT, A_NAME, A, R20, PLAIN) \
    X(AI18_FLT, B_NAME, B, R20, PLAIN) \
    X(SPARE19, A_NAME, A, R20, PLAIN) \
    X(SPARE19_PCT, A_NAME, A, R20, PLAIN) \
    X(AI19_FLT, B_NAME, B, R20, PLAIN) \
    X(SPARE20, A_NAME, A, R20, PLAIN) \
    X(SPARE20_PCT, A_NAME, A, R20, PLAIN) \
    X(AI20_FLT, B_NAME, B, R20, PLAIN)
CAT_MODULE(AI_MUX)

namespace r20 {
// The fault slots from the channels' faults (first slice).
void AI_MUX_faults();
// Fault copies of slots 17 .. 20 (start of the second slice).
void AI_MUX_spare_faults();
// The remote node's value list from its channels.
void AI_MUX_node_values();
// The value slots.
void AI_MUX_values();
// The percentage slots (controller channels only).
void AI_MUX_percents();
// Named copies of slots 2, 3, 4 and 9 .. 18 (end of the third slice).
void AI_MUX_copies_a();
// Named copies of slots 5 .. 8, 19 and 20 (start of the fourth slice).
void AI_MUX_copies_b();
}  // namespace r20

namespace r160 {
// The 160 ms routing of limits, multipliers, alarm levels and flags, use
// flags, units, tags and decimals (app/config/AI_MUX_routing.cpp), then the
// named per-function copies.
void AI_MUX_routing();
void AI_MUX_named_copies();
}  // namespace r160
