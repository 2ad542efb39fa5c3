// Rows of module BI_MUX at 160 ms (app/discrete/BI_MUX.cells.h lists them):
// which discrete-input functions and channels are in use, the named use
// flags, and the trip numbers of the external-trip functions. Filled by
// app/config/BI_MUX_routing.cpp.
#pragma once

#define BI_MUX_S20(X, BLK)                                                                              \
    X(BLK, OUT_1, B, R160, PLAIN) X(BLK, OUT_2, B, R160, PLAIN) X(BLK, OUT_3, B, R160, PLAIN)               \
    X(BLK, OUT_4, B, R160, PLAIN) X(BLK, OUT_5, B, R160, PLAIN) X(BLK, OUT_6, B, R160, PLAIN)               \
    X(BLK, OUT_7, B, R160, PLAIN) X(BLK, OUT_8, B, R160, PLAIN) X(BLK, OUT_9, B, R160, PLAIN)               \
    X(BLK, OUT_10, B, R160, PLAIN) X(BLK, OUT_11, B, R160, PLAIN) X(BLK, OUT_12, B, R160, PLAIN)            \
    X(BLK, OUT_13, B, R160, PLAIN) X(BLK, OUT_14, B, R160, PLAIN) X(BLK, OUT_15, B, R160, PLAIN)            \
    X(BLK, OUT_16, B, R160, PLAIN) X(BLK, OUT_17, B, R160, PLAIN) X(BLK, OUT_18, B, R160, PLAIN)            \
    X(BLK, OUT_19, B, R160, PLAIN) X(BLK, OUT_20, B, R160, PLAIN)
#define BI_MUX_S30(X, BLK)                                                                              \
    BI_MUX_S20(X, BLK)                                                                                \
    X(BLK, OUT_21, B, R160, PLAIN) X(BLK, OUT_22, B, R160, PLAIN) X(BLK, OUT_23, B, R160, PLAIN)            \
    X(BLK, OUT_24, B, R160, PLAIN) X(BLK, OUT_25, B, R160, PLAIN) X(BLK, OUT_26, B, R160, PLAIN)            \
    X(BLK, OUT_27, B, R160, PLAIN) X(BLK, OUT_28, B, R160, PLAIN) X(BLK, OUT_29, B, R160, PLAIN)            \
    X(BLK, OUT_30, B, R160, PLAIN)
#define BI_MUX_USED(X, N) X(BI_##N##_USED, B_NAME, B, R160, PLAIN)
#define BI_MUX_TRIP(X, N) \
    X(FUNC_TO_TRIP_##N, IN_2, I, R160, TUNE(13, -200, 200)) X(FUNC_TO_TRIP_##N, I_SUBTRACT, I, R160, PLAIN, R10)

#define BI_MUX_ROUTING_ROWS(X)                                                                        \
    BI_MUX_S30(X, BI_FUNC_USED)                                                                       \
    BI_MUX_S20(X, BI_CHAN_USED)                                                                       \
    X(BI_CHAN_USED, SEL_1, I, R160, TUNE(1, 1, 20)) X(BI_CHAN_USED, SEL_2, I, R160, TUNE(2, 1, 20))   \
    X(BI_CHAN_USED, SEL_3, I, R160, TUNE(3, 1, 20)) X(BI_CHAN_USED, SEL_4, I, R160, TUNE(4, 1, 20))   \
    X(BI_CHAN_USED, SEL_5, I, R160, TUNE(5, 1, 20)) X(BI_CHAN_USED, SEL_6, I, R160, TUNE(6, 1, 20))   \
    X(BI_CHAN_USED, SEL_7, I, R160, TUNE(7, 1, 20)) X(BI_CHAN_USED, SEL_8, I, R160, TUNE(8, 1, 20))   \
    BI_MUX_USED(X, 01) BI_MUX_USED(X, 02) BI_MUX_USED(X, 03) BI_MUX_USED(X, 04) BI_MUX_USED(X, 05)    \
    BI_MUX_USED(X, 06) BI_MUX_USED(X, 07) BI_MUX_USED(X, 08) BI_MUX_USED(X, 09) BI_MUX_USED(X, 10)    \
    BI_MUX_USED(X, 11) BI_MUX_USED(X, 12) BI_MUX_USED(X, 13) BI_MUX_USED(X, 14) BI_MUX_USED(X, 15)    \
    BI_MUX_USED(X, 16) BI_MUX_USED(X, 17) BI_MUX_USED(X, 18) BI_MUX_USED(X, 19) BI_MUX_USED(X, 20)    \
    X(SPD_LWR_USED, B_NAME, B, R160, PLAIN) X(SPD_RAISE_USED, B_NAME, B, R160, PLAIN)                 \
    X(EXT_TRIP_1_USED, B_NAME, B, R160, PLAIN) X(EXT_RUN_USED, B_NAME, B, R160, PLAIN)                \
    X(RESET_USED, B_NAME, B, R160, PLAIN) X(IDLE_RATED_USED, B_NAME, B, R160, PLAIN)                  \
    X(RMT_SPD_ENBL_USED, B_NAME, B, R160, PLAIN) X(ONLINE_DYN_USED, B_NAME, B, R160, PLAIN, R10)           \
    X(OVSPD_USED, B_NAME, B, R160, PLAIN) X(CASC_RAISE_USED, B_NAME, B, R160, PLAIN)                  \
    X(CASC_LWR_USED, B_NAME, B, R160, PLAIN) X(CASC_ENBL_USED, B_NAME, B, R160, PLAIN)                \
    X(RMT_CASC_ENBL_USED, B_NAME, B, R160, PLAIN) X(EXT_TRIP_2_USED, B_NAME, B, R160, PLAIN)          \
    X(EXT_TRIP_3_USED, B_NAME, B, R160, PLAIN) X(EXT_TRIP_4_USED, B_NAME, B, R160, PLAIN)             \
    X(EXT_TRIP_5_USED, B_NAME, B, R160, PLAIN) X(EXT_ALM_1_USED, B_NAME, B, R160, PLAIN)              \
    X(EXT_ALM_2_USED, B_NAME, B, R160, PLAIN) X(EXT_ALM_3_USED, B_NAME, B, R160, PLAIN)               \
    X(VLV_LMT_OPN_USED, B_NAME, B, R160, PLAIN) X(VLV_LMT_CLS_USED, B_NAME, B, R160, PLAIN)           \
    X(SPDCAS_R_USED, B_NAME, B, R160, PLAIN, R80) X(SPDCAS_L_USED, B_NAME, B, R160, PLAIN, R80)                 \
    X(TIME_SYNC_USED, B_NAME, B, R160, PLAIN) X(STARTPERM_USED, B_NAME, B, R160, PLAIN)               \
    BI_MUX_TRIP(X, 01) BI_MUX_TRIP(X, 02) BI_MUX_TRIP(X, 04) BI_MUX_TRIP(X, 05) BI_MUX_TRIP(X, 06)    \
    BI_MUX_TRIP(X, 07) BI_MUX_TRIP(X, 08)                                                             \
    X(BI01_TS_SEL, I_NAME, I, R160, PLAIN, R10)
