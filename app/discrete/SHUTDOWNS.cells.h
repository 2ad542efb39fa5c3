// Module SHUTDOWNS: the thirty trips with their overrides, the latched
// shutdown list SHUTDOWNS.ANY with first-out and acknowledge, the shutdown
// signal and its copies, the history of the last five shutdowns, the
// first-out text and the tripped LED; and the trip relay the discrete logic
// computes (shutdown pulse, relay latch, first-out test of the external
// trips).
#pragma once

#include "app/protection/LATCH_AE.h"
#include "runtime/catalogue.h"

#define SHUTDOWNS_CELLS(X) \
    X(SIM_SW, B_SW, B, R10, PLAIN) \
    X(PWR_UP_OVRD, ONE_SHOT, B, R10, PLAIN, R160) \
    X(PWR_UP_OVRD, R_TIME, I, R10, PLAIN) \
    X(PWR_UP_OVRD, DLY_TIME, A, R10, TUNE(0.5, 0.01, 5.0)) \
    X(SD_01, B_ALARM, B, R10, PLAIN) \
    X(SD_01, LIGHT, B, R10, PLAIN) \
    X(SD_01, HORN, B, R10, PLAIN) \
    X(NOT_SD, NOT, B, R10, PLAIN, R20, R160, R80) \
    X(DLY_SDREAC, ACT_OUT, I, R20, PLAIN) \
    X(DLY_SDREAC, B_ACTION, B, R20, PLAIN, R10) \
    X(DLY_SDREAC, E_TIME, A, R20, PLAIN)        \
    X(DLY_SDREAC, R_TIME, A, R20, PLAIN)        \
    X(SD_PLS, ONE_SHOT, B, R10, PLAIN, R80) \
    X(SD_PLS, R_TIME, I, R10, PLAIN) \
    X(REL_LATCH, LATCH, B, R10, PLAIN) \
    X(SD_REL_SW, B_SW, B, R10, PLAIN) \
    X(TRIP1_EQ, EQ, B, R10, PLAIN) \
    X(TRIP1_EQ, LT, B, R10, PLAIN) \
    X(TRIP1_EQ, GT, B, R10, PLAIN) \
    X(TRIP2_EQ, EQ, B, R10, PLAIN) \
    X(TRIP2_EQ, LT, B, R10, PLAIN) \
    X(TRIP2_EQ, GT, B, R10, PLAIN) \
    X(TRIP2_GT_EQ, OR, B, R10, PLAIN) \
    X(TRIP5_EQ, EQ, B, R10, PLAIN) \
    X(TRIP5_EQ, LT, B, R10, PLAIN) \
    X(TRIP5_EQ, GT, B, R10, PLAIN) \
    X(TRIP5_LT_EQ, OR, B, R10, PLAIN) \
    X(TRIPS2_5, AND, B, R10, PLAIN) \
    X(N_EXT_TRIP, NOR, B, R10, PLAIN) \
    X(XTRNL_TRIP, B_SW, B, R10, PLAIN) \
    X(TRIP_RELAY, AND, B, R10, PLAIN) \
    X(RELY_NOT, NOT, B, R10, PLAIN, R80) \
    X(SD_02, B_ALARM, B, R10, PLAIN) \
    X(SD_02, LIGHT, B, R10, PLAIN) \
    X(SD_02, HORN, B, R10, PLAIN) \
    X(SD_03, B_ALARM, B, R10, PLAIN) \
    X(SD_03, LIGHT, B, R10, PLAIN) \
    X(SD_03, HORN, B, R10, PLAIN) \
    X(SD_04, B_ALARM, B, R10, PLAIN) \
    X(SD_04, LIGHT, B, R10, PLAIN) \
    X(SD_04, HORN, B, R10, PLAIN) \
    X(SD_05, B_ALARM, B, R10, PLAIN) \
    X(SD_05, LIGHT, B, R10, PLAIN) \
    X(SD_05, HORN, B, R10, PLAIN) \
    X(SD_06, B_ALARM, B, R10, PLAIN) \
    X(SD_06, LIGHT, B, R10, PLAIN) \
    X(SD_06, HORN, B, R10, PLAIN) \
    X(SD_07, B_ALARM, B, R10, PLAIN) \
    X(SD_07, LIGHT, B, R10, PLAIN) \
    X(SD_07, HORN, B, R10, PLAIN) \
    X(SD_08, B_ALARM, B, R10, PLAIN) \
    X(SD_08, LIGHT, B, R10, PLAIN) \
    X(SD_08, HORN, B, R10, PLAIN) \
    X(SD_09, B_ALARM, B, R10, PLAIN) \
    X(SD_09, LIGHT, B, R10, PLAIN) \
    X(SD_09, HORN, B, R10, PLAIN) \
    X(SD_10, B_ALARM, B, R10, PLAIN) \
    X(SD_10, LIGHT, B, R10, PLAIN) \
    X(SD_10, HORN, B, R10, PLAIN) \
    X(SD_11, B_ALARM, B, R10, PLAIN) \
    X(SD_11, LIGHT, B, R10, PLAIN) \
    X(SD_11, HORN, B, R10, PLAIN) \
    X(SD_12, B_ALARM, B, R10, PLAIN) \
    X(SD_12, LIGHT, B, R10, PLAIN) \
    X(SD_12, HORN, B, R10, PLAIN) \
    X(SD_13, B_ALARM, B, R10, PLAIN) \
    X(SD_13, LIGHT, B, R10, PLAIN) \
    X(SD_13, HORN, B, R10, PLAIN) \
    X(SD_14, B_ALARM, B, R10, PLAIN) \
    X(SD_14, LIGHT, B, R10, PLAIN) \
    X(SD_14, HORN, B, R10, PLAIN) \
    X(SD_15, B_ALARM, B, R10, PLAIN) \
    X(SD_15, LIGHT, B, R10, PLAIN) \
    X(SD_15, HORN, B, R10, PLAIN) \
    X(SD_16, B_ALARM, B, R10, PLAIN) \
    X(SD_16, LIGHT, B, R10, PLAIN) \
    X(SD_16, HORN, B, R10, PLAIN) \
    X(SD_17, B_ALARM, B, R10, PLAIN) \
    X(SD_17, LIGHT, B, R10, PLAIN) \
    X(SD_17, HORN, B, R10, PLAIN) \
    X(SD_18, B_ALARM, B, R10, PLAIN) \
    X(SD_18, LIGHT, B, R10, PLAIN) \
    X(SD_18, HORN, B, R10, PLAIN) \
    X(SD_19, B_ALARM, B, R10, PLAIN) \
    X(SD_19, LIGHT, B, R10, PLAIN) \
    X(SD_19, HORN, B, R10, PLAIN) \
    X(SD_20, B_ALARM, B, R10, PLAIN) \
    X(SD_20, LIGHT, B, R10, PLAIN) \
    X(SD_20, HORN, B, R10, PLAIN) \
    X(SD_21, B_ALARM, B, R10, PLAIN) \
    X(SD_21, LIGHT, B, R10, PLAIN) \
    X(SD_21, HORN, B, R10, PLAIN) \
    X(SD_22, B_ALARM, B, R10, PLAIN) \
    X(SD_22, LIGHT, B, R10, PLAIN) \
    X(SD_22, HORN, B, R10, PLAIN) \
    X(SD_23, B_ALARM, B, R10, PLAIN) \
    X(SD_23, LIGHT, B, R10, PLAIN) \
    X(SD_23, HORN, B, R10, PLAIN) \
    X(SD_24, B_ALARM, B, R10, PLAIN) \
    X(SD_24, LIGHT, B, R10, PLAIN) \
    X(SD_24, HORN, B, R10, PLAIN) \
    X(SD_25, B_ALARM, B, R10, PLAIN) \
    X(SD_25, LIGHT, B, R10, PLAIN) \
    X(SD_25, HORN, B, R10, PLAIN) \
    X(SD_26, B_ALARM, B, R10, PLAIN) \
    X(SD_26, LIGHT, B, R10, PLAIN) \
    X(SD_26, HORN, B, R10, PLAIN) \
    X(SD_28, B_ALARM, B, R10, PLAIN) \
    X(SD_28, LIGHT, B, R10, PLAIN) \
    X(SD_28, HORN, B, R10, PLAIN) \
    X(SD_29, B_ALARM, B, R10, PLAIN) \
    X(SD_29, LIGHT, B, R10, PLAIN) \
    X(SD_29, HORN, B, R10, PLAIN) \
    X(SD_30, B_ALARM, B, R10, PLAIN) \
    X(SD_30, LIGHT, B, R10, PLAIN) \
    X(SD_30, HORN, B, R10, PLAIN) \
    X(OVRD_SD04, OR, B, R10, PLAIN) \
    X(OVRD_8, OR, B, R10, PLAIN) \
    X(SD_OVRDS, B_ENABLE, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_2, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_3, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_4, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_5, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_6, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_7, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_8, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_9, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_10, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_11, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_12, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_13, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_14, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_15, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_16, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_17, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_18, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_19, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_20, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_21, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_22, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_23, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_24, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_25, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_26, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_27, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_28, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_29, B, R160, TUNE(false)) \
    X(SD_OVRDS, IN_30, B, R160, TUNE(false)) \
    X(SD_OVRDS, LIST_1, B, R160, PLAIN) \
    X(SD_OVRDS, LIST_2, B, R160, PLAIN, R10) \
    X(SD_OVRDS, LIST_3, B, R160, PLAIN) \
    X(SD_OVRDS, LIST_4, B, R160, PLAIN, R10) \
    X(SD_OVRDS, LIST_5, B, R160, PLAIN, R10) \
    X(SD_OVRDS, LIST_6, B, R160, PLAIN) \
    X(SD_OVRDS, LIST_7, B, R160, PLAIN) \
    X(SD_OVRDS, LIST_8, B, R160, PLAIN, R10) \
    X(SD_OVRDS, LIST_9, B, R160, PLAIN) \
    X(SD_OVRDS, LIST_10, B, R160, PLAIN) \
    X(SD_OVRDS, LIST_11, B, R160, PLAIN) \
    X(SD_OVRDS, LIST_12, B, R160, PLAIN) \
    X(SD_OVRDS, LIST_13, B, R160, PLAIN, R10) \
    X(SD_OVRDS, LIST_14, B, R160, PLAIN, R10) \
    X(SD_OVRDS, LIST_15, B, R160, PLAIN, R10) \
    X(SD_OVRDS, LIST_16, B, R160, PLAIN, R10) \
    X(SD_OVRDS, LIST_17, B, R160, PLAIN, R10) \
    X(SD_OVRDS, LIST_18, B, R160, PLAIN, R10) \
    X(SD_OVRDS, LIST_19, B, R160, PLAIN, R10) \
    X(SD_OVRDS, LIST_20, B, R160, PLAIN, R10) \
    X(SD_OVRDS, LIST_21, B, R160, PLAIN, R10) \
    X(SD_OVRDS, LIST_22, B, R160, PLAIN, R10) \
    X(SD_OVRDS, LIST_23, B, R160, PLAIN, R10) \
    X(SD_OVRDS, LIST_24, B, R160, PLAIN, R10) \
    X(SD_OVRDS, LIST_25, B, R160, PLAIN, R10) \
    X(SD_OVRDS, LIST_26, B, R160, PLAIN, R10) \
    X(SD_OVRDS, LIST_27, B, R160, PLAIN, R80) \
    X(SD_OVRDS, LIST_28, B, R160, PLAIN, R10) \
    X(SD_OVRDS, LIST_29, B, R160, PLAIN, R10) \
    X(SD_OVRDS, LIST_30, B, R160, PLAIN, R10) \
    X(ANY, FA_RST, B, R10, TUNE(false)) \
    X(ANY, LATCH_AE, B, R10, PLAIN, R80, R160) \
    X(ANY, LOGICAL_OR, B, R10, PLAIN) \
    X(ANY, HORN, B, R10, PLAIN) \
    X(ANY, FIRST_ALM, I, R10, PLAIN) \
    X(ANY, SEL_1, B, R10, PLAIN, R160, R80) \
    X(ANY, SEL_2, B, R10, PLAIN, R160, R80) \
    X(ANY, SEL_3, B, R10, PLAIN, R160, R80) \
    X(ANY, SEL_4, B, R10, PLAIN, R160, R80) \
    X(ANY, SEL_5, B, R10, PLAIN, R160, R80) \
    X(ANY, SEL_6, B, R10, PLAIN) \
    X(ANY, SEL_7, B, R10, PLAIN) \
    X(ANY, SEL_8, B, R10, PLAIN) \
    X(ANY, SEL_9, B, R10, PLAIN) \
    X(ANY, SEL_10, B, R10, PLAIN) \
    X(ANY, SEL_11, B, R10, PLAIN) \
    X(ANY, SEL_12, B, R10, PLAIN) \
    X(ANY, SEL_13, B, R10, PLAIN) \
    X(ANY, SEL_14, B, R10, PLAIN) \
    X(ANY, SEL_15, B, R10, PLAIN) \
    X(ANY, SEL_16, B, R10, PLAIN) \
    X(ANY, SEL_17, B, R10, PLAIN) \
    X(ANY, SEL_18, B, R10, PLAIN) \
    X(ANY, SEL_19, B, R10, PLAIN) \
    X(ANY, SEL_20, B, R10, PLAIN) \
    X(ANY, SEL_21, B, R10, PLAIN) \
    X(ANY, SEL_22, B, R10, PLAIN) \
    X(ANY, SEL_23, B, R10, PLAIN) \
    X(ANY, SEL_24, B, R10, PLAIN) \
    X(ANY, SEL_25, B, R10, PLAIN, R160) \
    X(ANY, SEL_26, B, R10, PLAIN) \
    X(ANY, SEL_27, B, R10, PLAIN) \
    X(ANY, SEL_28, B, R10, PLAIN) \
    X(ANY, SEL_29, B, R10, PLAIN) \
    X(ANY, SEL_30, B, R10, PLAIN) \
    X(ANY, ALM_NO_1, I, R10, PLAIN) \
    X(ANY, ALM_NO_2, I, R10, PLAIN) \
    X(ANY, ALM_NO_3, I, R10, PLAIN) \
    X(ANY, ALM_NO_4, I, R10, PLAIN) \
    X(ANY, ALM_NO_5, I, R10, PLAIN) \
    X(ANY, ALM_NO_6, I, R10, PLAIN) \
    X(ANY, ALM_NO_7, I, R10, PLAIN) \
    X(ANY, ALM_NO_8, I, R10, PLAIN) \
    X(ANY, ALM_NO_9, I, R10, PLAIN) \
    X(ANY, ALM_NO_10, I, R10, PLAIN) \
    X(ANY, ALM_NO_11, I, R10, PLAIN) \
    X(ANY, ALM_NO_12, I, R10, PLAIN) \
    X(ANY, ALM_NO_13, I, R10, PLAIN) \
    X(ANY, ALM_NO_14, I, R10, PLAIN) \
    X(ANY, ALM_NO_15, I, R10, PLAIN) \
    X(ANY, ALM_NO_16, I, R10, PLAIN) \
    X(ANY, ALM_NO_17, I, R10, PLAIN) \
    X(ANY, ALM_NO_18, I, R10, PLAIN) \
    X(ANY, ALM_NO_19, I, R10, PLAIN) \
    X(ANY, ALM_NO_20, I, R10, PLAIN) \
    X(ANY, ALM_NO_21, I, R10, PLAIN) \
    X(ANY, ALM_NO_22, I, R10, PLAIN) \
    X(ANY, ALM_NO_23, I, R10, PLAIN) \
    X(ANY, ALM_NO_24, I, R10, PLAIN) \
    X(ANY, ALM_NO_25, I, R10, PLAIN) \
    X(ANY, ALM_NO_26, I, R10, PLAIN) \
    X(ANY, ALM_NO_27, I, R10, PLAIN) \
    X(ANY, ALM_NO_28, I, R10, PLAIN) \
    X(ANY, ALM_NO_29, I, R10, PLAIN) \
    X(ANY, ALM_NO_30, I, R10, PLAIN) \
    X(ANY, EV_TM_1, T, R10, PLAIN) \
    X(ANY, EV_TM_2, T, R10, PLAIN) \
    X(ANY, EV_TM_3, T, R10, PLAIN) \
    X(ANY, EV_TM_4, T, R10, PLAIN) \
    X(ANY, EV_TM_5, T, R10, PLAIN) \
    X(ANY, EV_TM_6, T, R10, PLAIN) \
    X(ANY, EV_TM_7, T, R10, PLAIN) \
    X(ANY, EV_TM_8, T, R10, PLAIN) \
    X(ANY, EV_TM_9, T, R10, PLAIN) \
    X(ANY, EV_TM_10, T, R10, PLAIN) \
    X(ANY, EV_TM_11, T, R10, PLAIN) \
    X(ANY, EV_TM_12, T, R10, PLAIN) \
    X(ANY, EV_TM_13, T, R10, PLAIN) \
    X(ANY, EV_TM_14, T, R10, PLAIN) \
    X(ANY, EV_TM_15, T, R10, PLAIN) \
    X(ANY, EV_TM_16, T, R10, PLAIN) \
    X(ANY, EV_TM_17, T, R10, PLAIN) \
    X(ANY, EV_TM_18, T, R10, PLAIN) \
    X(ANY, EV_TM_19, T, R10, PLAIN) \
    X(ANY, EV_TM_20, T, R10, PLAIN) \
    X(ANY, EV_TM_21, T, R10, PLAIN) \
    X(ANY, EV_TM_22, T, R10, PLAIN) \
    X(ANY, EV_TM_23, T, R10, PLAIN) \
    X(ANY, EV_TM_24, T, R10, PLAIN) \
    X(ANY, EV_TM_25, T, R10, PLAIN) \
    X(ANY, EV_TM_26, T, R10, PLAIN) \
    X(ANY, EV_TM_27, T, R10, PLAIN) \
    X(ANY, EV_TM_28, T, R10, PLAIN) \
    X(ANY, EV_TM_29, T, R10, PLAIN) \
    X(ANY, EV_TM_30, T, R10, PLAIN) \
    X(ANY_SD, B_NAME, B, R10, PLAIN, R40, R80, R160) \
    X(ACKNOWLEDG, IN_2, B, R160, TUNE(false)) \
    X(ACKNOWLEDG, OR, B, R160, PLAIN, R10) \
    X(CNFG_ERR, OR, B, R160, PLAIN, R10) \
    X(TUNABLE_TRIP, IN, B, R160, TUNE(false)) \
    X(TUNABLE_TRIP, B_NAME, B, R160, PLAIN) \
    X(TUNABLE_TRIP_OR, OR, B, R160, PLAIN, R10) \
    X(UNUSED, IN, B, R160, TUNE(false)) \
    X(UNUSED, B_NAME, B, R160, PLAIN, R10) \
    X(RST_CLRTRP, B_NAME, B, R160, PLAIN, R10, R80) \
    X(CNTR_OVRD, ONE_SHOT, B, R10, PLAIN) \
    X(CNTR_OVRD, R_TIME, I, R10, PLAIN) \
    X(PWRUPDLY, TRIGGER, B, R10, TUNE(false)) \
    X(PWRUPDLY, DELAY, B, R10, PLAIN) \
    X(PWRUPDLY, R_TIME, I, R10, PLAIN) \
    X(CNTR_RST, ONE_SHOT, B, R10, PLAIN) \
    X(CNTR_RST, R_TIME, I, R10, PLAIN)   \
    X(CMPR_RST, ONE_SHOT, B, R10, PLAIN) \
    X(CMPR_RST, R_TIME, I, R10, PLAIN)   \
    X(CMP_OUT_Z, ZMINUS1_B, B, R10, PLAIN) \
    X(CONFIG_ERROR, B_NAME, B, R10, PLAIN, R160) \
    X(INIT_SD, IN_1, B, R10, TUNE(true)) \
    X(INIT_SD, AND, B, R10, PLAIN) \
    X(STARTCNT, OR, B, R10, PLAIN) \
    X(COUNTER, COUNTER, A, R10, PLAIN) \
    X(COUNTER, CMP_OUT, B, R10, PLAIN) \
    X(PU_DIS_COUNTR, A_SW, A, R10, PLAIN) \
    X(COUNTER1, A_COMPARE, B, R10, PLAIN) \
    X(COUNTER1, A_EQUAL, B, R10, PLAIN) \
    X(COUNTER2, A_COMPARE, B, R10, PLAIN) \
    X(COUNTER2, A_EQUAL, B, R10, PLAIN) \
    X(COUNTER3, A_COMPARE, B, R10, PLAIN) \
    X(COUNTER3, A_EQUAL, B, R10, PLAIN) \
    X(COUNTER4, A_COMPARE, B, R10, PLAIN) \
    X(COUNTER4, A_EQUAL, B, R10, PLAIN) \
    X(COUNTER5, A_COMPARE, B, R10, PLAIN) \
    X(COUNTER5, A_EQUAL, B, R10, PLAIN) \
    X(FIRSTOUT_A, OUT_1, A, R10, PLAIN, R160, R80) \
    X(FIRST_OUT, I_NAME, I, R10, PLAIN) \
    X(SD_FRSTOUT, A_NAME, A, R10, PLAIN, R160) \
    X(INIT_HIST, OR, B, R10, PLAIN) \
    X(SD1, AND, B, R10, PLAIN) \
    X(HOLD_SD1, OUT_1, A, R10, PLAIN) \
    X(LAST5SD, OUT_1, I, R10, PLAIN) \
    X(SD2, AND, B, R10, PLAIN) \
    X(HOLD_SD2, OUT_1, A, R10, PLAIN) \
    X(LAST5SD, OUT_2, I, R10, PLAIN) \
    X(SD3, AND, B, R10, PLAIN) \
    X(HOLD_SD3, OUT_1, A, R10, PLAIN) \
    X(LAST5SD, OUT_3, I, R10, PLAIN) \
    X(SD4, AND, B, R10, PLAIN) \
    X(HOLD_SD4, OUT_1, A, R10, PLAIN) \
    X(LAST5SD, OUT_4, I, R10, PLAIN) \
    X(SD5, AND, B, R10, PLAIN) \
    X(HOLD_SD5, OUT_1, A, R10, PLAIN) \
    X(LAST5SD, OUT_5, I, R10, PLAIN) \
    X(LAST_5_SD, I_OUT_1, I, R10, PLAIN, R160) \
    X(LAST_5_SD, I_OUT_2, I, R10, PLAIN) \
    X(LAST_5_SD, I_OUT_3, I, R10, PLAIN) \
    X(LAST_5_SD, I_OUT_4, I, R10, PLAIN) \
    X(LAST_5_SD, I_OUT_5, I, R10, PLAIN) \
    X(LAST_5_SD, ALM, B, R10, PLAIN) \
    X(LAST_5_SD, A_OUT_1, A, R10, PLAIN) \
    X(SD1_RST, B_ACTION, B, R10, PLAIN) \
    X(SD1_RST, ACT_OUT, I, R10, PLAIN) \
    X(SD1_RST, E_TIME, A, R10, PLAIN)  \
    X(SD1_RST, R_TIME, A, R10, PLAIN)  \
    X(SD1_LCH, LATCH_R, B, R10, PLAIN) \
    X(SD1_TIME, T_SW, T, R10, PLAIN) \
    X(SD2_RST, B_ACTION, B, R10, PLAIN) \
    X(SD2_RST, ACT_OUT, I, R10, PLAIN) \
    X(SD2_RST, E_TIME, A, R10, PLAIN)  \
    X(SD2_RST, R_TIME, A, R10, PLAIN)  \
    X(SD2_LCH, LATCH_R, B, R10, PLAIN) \
    X(SD2_TIME, T_SW, T, R10, PLAIN) \
    X(SD3_RST, B_ACTION, B, R10, PLAIN) \
    X(SD3_RST, ACT_OUT, I, R10, PLAIN) \
    X(SD3_RST, E_TIME, A, R10, PLAIN)  \
    X(SD3_RST, R_TIME, A, R10, PLAIN)  \
    X(SD3_LCH, LATCH_R, B, R10, PLAIN) \
    X(SD3_TIME, T_SW, T, R10, PLAIN) \
    X(SD4_RST, B_ACTION, B, R10, PLAIN) \
    X(SD4_RST, ACT_OUT, I, R10, PLAIN) \
    X(SD4_RST, E_TIME, A, R10, PLAIN)  \
    X(SD4_RST, R_TIME, A, R10, PLAIN)  \
    X(SD4_LCH, LATCH_R, B, R10, PLAIN) \
    X(SD4_TIME, T_SW, T, R10, PLAIN) \
    X(SD5_RST, B_ACTION, B, R10, PLAIN) \
    X(SD5_RST, ACT_OUT, I, R10, PLAIN) \
    X(SD5_RST, E_TIME, A, R10, PLAIN)  \
    X(SD5_RST, R_TIME, A, R10, PLAIN)  \
    X(SD5_LCH, LATCH_R, B, R10, PLAIN) \
    X(SD5_TIME, T_SW, T, R10, PLAIN) \
    X(SD_FO_NOW, S_MUX_N_1, C, R160, PLAIN) \
    X(LAST_TRIP, OUT_1, A, R160, PLAIN) \
    X(LED_TEST, IN_1, B, R160, SVC_IN) \
    X(LED_TEST, OUT_1, B, R160, PLAIN) \
    X(LED_TST, B_SW, B, R160, PLAIN) \
    X(TO_LED, OR, B, R160, PLAIN) \
    X(TRIPPED_LED, B_NAME, B, R160, PLAIN) \
    X(SD_SHOOT, ONE_SHOT, B, R10, PLAIN, R20, R80, R160) \
    X(SD_SHOOT, R_TIME, I, R10, PLAIN)                   \
    X(SD_PWRUP, OR, B, R10, PLAIN, R160) \
    X(TIME_STAMP_SD1, T_NAME, T, R10, PLAIN) \
    X(TIME_STAMP_SD2, T_NAME, T, R10, PLAIN) \
    X(TIME_STAMP_SD3, T_NAME, T, R10, PLAIN) \
    X(TIME_STAMP_SD4, T_NAME, T, R10, PLAIN) \
    X(TIME_STAMP_SD5, T_NAME, T, R10, PLAIN) \
    X(TRIP_FO, S_MUX_N_1, C, R10, PLAIN) \
    X(SD_27, B_ALARM, B, R80, PLAIN, R10) \
    X(SD_27, LIGHT, B, R80, PLAIN) \
    X(SD_27, HORN, B, R80, PLAIN)
CAT_MODULE(SHUTDOWNS)

// The latched shutdown list (list 1).
extern const LatchAeList SHUTDOWNS_ANY_list;
extern uint16_t (&SHUTDOWNS_ANY_nIndexT)[30 + 4];
extern uint16_t* const SHUTDOWNS_ANY_nIndex;

void SHUTDOWNS_init_blks();

namespace r10 {
// The "External Trip 1" path after the clock block: the simulation switch,
// the power-up override and the latch SD_01.
void SHUTDOWNS_external_trip_1();
// Trips 2 to 11 (third slice).
void SHUTDOWNS_trips_a();
// Trips 12 to 30, the list and the shutdown signal with its copies (fourth slice).
void SHUTDOWNS_trips_b();
void SHUTDOWNS_list();
// No shutdown latched (sixth slice).
void SHUTDOWNS_not_latched();
// The trip relay: shutdown pulse, relay latch and the external-trip
// first-out test (seventh slice).
void SHUTDOWNS_trip_relay();
// The history of the last five shutdowns (ninth slice).
void SHUTDOWNS_history();
// The shutdown or power-up window, the shutdown one-shot, the time stamps of
// the history and the first-out text of the list (tenth slice, after the
// speed control's pieces).
void SHUTDOWNS_pulses();
}  // namespace r10
namespace r160 {
// Overrides, configuration-error and tunable trips, acknowledge, first-out
// text, last trip and the tripped LED.
void SHUTDOWNS_overrides();
void SHUTDOWNS_inputs();
void SHUTDOWNS_displays();
// A service write of SHUTDOWNS.LED_TEST.IN_1: a true value restarts its
// time, a false one ends it.
void SHUTDOWNS_led_test_written(uint32_t value);
}  // namespace r160

namespace r20 {
// The reset of the shutdown list's delayed action: a reset that does not
// coincide with the shutdown one-shot (piece of _R20_TASK_7).
void SHUTDOWNS_delayed_reset();
}
