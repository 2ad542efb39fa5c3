// Rows of module AI_MUX at 160 ms (app/analog/AI_MUX.cells.h lists them):
// the per-function slots of the analog inputs' limits, multipliers, alarm
// levels and flags, use flags, units, tags and display decimals, and their
// named per-function copies. Filled by app/config/AI_MUX_routing.cpp.
#pragma once

#define AI_MUX_S8(X, B, T)                                                                            \
    X(B, OUT_1, T, R160, PLAIN) X(B, OUT_2, T, R160, PLAIN) X(B, OUT_3, T, R160, PLAIN)               \
    X(B, OUT_4, T, R160, PLAIN) X(B, OUT_5, T, R160, PLAIN) X(B, OUT_6, T, R160, PLAIN)               \
    X(B, OUT_7, T, R160, PLAIN) X(B, OUT_8, T, R160, PLAIN)
#define AI_MUX_S20(X, B, T)                                                                           \
    AI_MUX_S8(X, B, T)                                                                                \
    X(B, OUT_9, T, R160, PLAIN) X(B, OUT_10, T, R160, PLAIN) X(B, OUT_11, T, R160, PLAIN)             \
    X(B, OUT_12, T, R160, PLAIN) X(B, OUT_13, T, R160, PLAIN) X(B, OUT_14, T, R160, PLAIN)            \
    X(B, OUT_15, T, R160, PLAIN) X(B, OUT_16, T, R160, PLAIN) X(B, OUT_17, T, R160, PLAIN)            \
    X(B, OUT_18, T, R160, PLAIN) X(B, OUT_19, T, R160, PLAIN) X(B, OUT_20, T, R160, PLAIN)
#define AI_MUX_S26(X, B, T)                                                                           \
    AI_MUX_S20(X, B, T)                                                                               \
    X(B, OUT_21, T, R160, PLAIN) X(B, OUT_22, T, R160, PLAIN) X(B, OUT_23, T, R160, PLAIN)            \
    X(B, OUT_24, T, R160, PLAIN) X(B, OUT_25, T, R160, PLAIN) X(B, OUT_26, T, R160, PLAIN)
#define AI_MUX_S30(X, B, T)                                                                           \
    AI_MUX_S26(X, B, T)                                                                               \
    X(B, OUT_27, T, R160, PLAIN) X(B, OUT_28, T, R160, PLAIN) X(B, OUT_29, T, R160, PLAIN)            \
    X(B, OUT_30, T, R160, PLAIN)

// The selector of a block's fixed first entry.
#define AI_MUX_SEL(X, B) X(B, SEL_1, I, R160, TUNE(1, 0, 100))

// Named cells of one function: limits, multiplier, alarm setpoints and use
// flag (read by the 40 ms alarm logic too); its alarm flags; its tag.
#define AI_MUX_FN(X, P, USED, ...)                                                                    \
    X(P##MAX, A_NAME, A, R160, PLAIN) X(P##MIN, A_NAME, A, R160, PLAIN)                               \
    X(P##MODX, A_NAME, A, R160, PLAIN) X(P##ALM1SP, A_NAME, A, R160, PLAIN)                           \
    X(P##ALM2SP, A_NAME, A, R160, PLAIN) X(USED, B_NAME, B, R160, PLAIN, ##__VA_ARGS__)
#define AI_MUX_FN_ALM(X, P)                                                                           \
    X(P##ALM1, B_NAME, B, R160, PLAIN) X(P##ALM2, B_NAME, B, R160, PLAIN) X(P##TRIP, B_NAME, B, R160, PLAIN)
#define AI_MUX_FN_TAG(X, P) X(P##TAG, S_NAME, C, R160, PLAIN)
// Functions 2 .. 12 (alarm flags and tag), 13 .. 16 (alarm flags), 17 .. 20.
#define AI_MUX_FN_FULL(X, P, USED, DEC) \
    AI_MUX_FN(X, P, USED, R40) AI_MUX_FN_ALM(X, P) AI_MUX_FN_TAG(X, P) X(DEC, I_NAME, I, R160, PLAIN)
#define AI_MUX_FN_NOTAG(X, P, USED, DEC) AI_MUX_FN(X, P, USED, R40) AI_MUX_FN_ALM(X, P) X(DEC, I_NAME, I, R160, PLAIN)
#define AI_MUX_FN_SPARE(X, P, USED, DEC) AI_MUX_FN(X, P, USED) X(DEC, I_NAME, I, R160, PLAIN)

#define AI_MUX_ROUTING_ROWS(X)                                                                        \
    AI_MUX_S20(X, AI_MAX, A) AI_MUX_SEL(X, AI_MAX)                                                    \
    AI_MUX_S20(X, AI_MIN, A) AI_MUX_SEL(X, AI_MIN)                                                    \
    AI_MUX_S20(X, AI_MULT, A) AI_MUX_SEL(X, AI_MULT)                                                  \
    AI_MUX_S20(X, AI_ALM1_SP, A) AI_MUX_SEL(X, AI_ALM1_SP)                                            \
    AI_MUX_S20(X, AI_ALM2_SP, A) AI_MUX_SEL(X, AI_ALM2_SP)                                            \
    AI_MUX_S20(X, AI_CHAN_ALM1, B) AI_MUX_SEL(X, AI_CHAN_ALM1)                                        \
    AI_MUX_S20(X, AI_CHAN_ALM2, B) AI_MUX_SEL(X, AI_CHAN_ALM2)                                        \
    AI_MUX_S20(X, AI_CHAN_TRIP, B) AI_MUX_SEL(X, AI_CHAN_TRIP)                                        \
    AI_MUX_S30(X, AI_FUNC_USED, B) AI_MUX_SEL(X, AI_FUNC_USED)                                        \
    X(AI_FUNC_USED, IN_1, B, R160, TUNE(true)) X(AI_FUNC_USED, IN_2, B, R160, TUNE(true))             \
    X(AI_FUNC_USED, IN_3, B, R160, TUNE(true)) X(AI_FUNC_USED, IN_4, B, R160, TUNE(true))             \
    X(AI_FUNC_USED, IN_5, B, R160, TUNE(true)) X(AI_FUNC_USED, IN_6, B, R160, TUNE(true))             \
    X(AI_FUNC_USED, IN_7, B, R160, TUNE(true)) X(AI_FUNC_USED, IN_8, B, R160, TUNE(true))             \
    X(AI_FUNC_USED, IN_9, B, R160, TUNE(true)) X(AI_FUNC_USED, IN_10, B, R160, TUNE(true))            \
    X(AI_FUNC_USED, IN_11, B, R160, TUNE(true)) X(AI_FUNC_USED, IN_12, B, R160, TUNE(true))           \
    X(AI_FUNC_USED, IN_13, B, R160, TUNE(true))                                                       \
    AI_MUX_S20(X, AI_ENG_UNITS, C)                                                                    \
    AI_MUX_S20(X, AI_TAGS, C) X(AI_TAGS, SEL_1, I, R160, TUNE(1, 1, 20))                              \
    AI_MUX_S26(X, QT_DECIMAL_DISP, I)                                                                 \
    AI_MUX_S8(X, AI_CHAN_USED, B)                                                                     \
    X(AI_CHAN_USED, SEL_1, I, R160, TUNE(1, 1, 8)) X(AI_CHAN_USED, SEL_2, I, R160, TUNE(2, 1, 8))     \
    X(AI_CHAN_USED, SEL_3, I, R160, TUNE(3, 1, 8)) X(AI_CHAN_USED, SEL_4, I, R160, TUNE(4, 1, 8))     \
    X(AI_01_USED, B_NAME, B, R160, PLAIN) X(AI_02_USED, B_NAME, B, R160, PLAIN)                       \
    X(AI_03_USED, B_NAME, B, R160, PLAIN) X(AI_04_USED, B_NAME, B, R160, PLAIN)                       \
    AI_MUX_FN_FULL(X, RMT_SPD_, RMT_SPD_USED, RMT_SPD_DECIMALS)                                       \
    AI_MUX_FN_FULL(X, CASC_IN_, CASC_USED, CASC_QT_DECIMALS)                                          \
    AI_MUX_FN_FULL(X, RMT_CASC_, RMT_CASC_USED, RMT_CASC_DECIMALS)                                    \
    AI_MUX_FN_FULL(X, VIB_IN1_, VIB_IN1_USED, VIB1_DECIMALS)                                          \
    AI_MUX_FN_FULL(X, VIB_IN2_, VIB_IN2_USED, VIB2_DECIMALS)                                          \
    AI_MUX_FN_FULL(X, VIB_IN3_, VIB_IN3_USED, VIB3_DECIMALS)                                          \
    AI_MUX_FN_FULL(X, VIB_IN4_, VIB_IN4_USED, VIB4_DECIMALS)                                          \
    AI_MUX_FN_FULL(X, BEARTEMP1_, BEARTEMP1_USED, BTEMP1_DECIMALS)                                    \
    AI_MUX_FN_FULL(X, BEARTEMP2_, BEARTEMP2_USED, BTEMP2_DECIMALS)                                    \
    AI_MUX_FN_FULL(X, BEARTEMP3_, BEARTEMP3_USED, BTEMP3_DECIMALS)                                    \
    AI_MUX_FN_FULL(X, BEARTEMP4_, BEARTEMP4_USED, BTEMP4_DECIMALS)                                    \
    AI_MUX_FN_NOTAG(X, SIG_MON_1_, SIG_MON_1_USED, SIG1_DECIMALS)                                     \
    AI_MUX_FN_NOTAG(X, SIG_MON_2_, SIG_MON_2_USED, SIG2_DECIMALS)                                     \
    AI_MUX_FN_NOTAG(X, SIG_MON_3_, SIG_MON_3_USED, SIG3_DECIMALS)                                     \
    AI_MUX_FN_NOTAG(X, HP_FDBK_, HP_FDBK_USED, HP_FDBK_DECIMALS)                                      \
    AI_MUX_FN_SPARE(X, SPARE17_, SPARE17_USED, SPAR17_DECIMALS)                                       \
    AI_MUX_FN_SPARE(X, SPARE18_, SPARE18_USED, SPAR18_DECIMALS)                                       \
    AI_MUX_FN_SPARE(X, SPARE19_, SPARE19_USED, SPAR19_DECIMALS)                                       \
    AI_MUX_FN_SPARE(X, SPARE20_, SPARE20_USED, SPAR20_DECIMALS)                                       \
    X(CASC_ENG_UNITS, S_NAME, C, R160, PLAIN) X(VIB_ENG_UNITS, S_NAME, C, R160, PLAIN)                \
    X(BTEMP_UNITS, S_NAME, C, R160, PLAIN) X(SIGMON1_UNITS, S_NAME, C, R160, PLAIN)                   \
    X(SIGMON2_UNITS, S_NAME, C, R160, PLAIN) X(SIGMON3_UNITS, S_NAME, C, R160, PLAIN)
