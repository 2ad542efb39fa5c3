// The analog alarm-level template AI_ALARM_LEVELS: two alarm levels (level 2
// optionally a trip), a signal-failed trip and a start permissive on one
// analog input channel. Twelve instances run in the 20 ms group: the four
// controller inputs (_ub1 .. _ub4, "AI_EVENT.AI_01_EVENT" ..) and the eight
// remote analog inputs (_ub25 .. _ub32, "VL1_AIO.AI_1_EVENT" ..). The remote
// RTD node's eight event blocks (_ub51 .. _ub58, "VL3_RTD.RTD_1_EVENT" ..)
// are further instances of the 80 ms group, declared here and computed with
// the RTD channels.
#pragma once

#include "runtime/catalogue.h"

// Rows of one instance of group G, whose outputs the groups RD(output) read, with
// the default arming speed SPD and the two default message texts.
#define AI_ALARM_LEVELS_ROWS(X, G, RD, SPD, MSG1, MSG2) \
    X(ALM_SP1, IN, A, G, TUNE(60.0, -90000.0, 90000.0)) \
    X(ALM_SP2, IN, A, G, TUNE(70.0, -90000.0, 90000.0)) \
    X(HYSTER, IN, A, G, TUNE(-3.0, -100.0, 100.0)) \
    X(ALM_DLY, IN, A, G, TUNE(2.0, 0.0, 300.0)) \
    X(INVERT_LVL1, IN, B, G, TUNE(false)) \
    X(INVERT_LVL2, IN, B, G, TUNE(false)) \
    X(USE_SP1, IN, B, G, TUNE(false)) \
    X(USE_SP2, IN, B, G, TUNE(false)) \
    X(TRIP_SP2, IN, B, G, TUNE(false)) \
    X(SPEED_ENA, IN, I, G, TUNE(SPD, -1, 10000)) \
    X(SPDENA, HYSTER, A, G, TUNE(-10.0, -100.0, 100.0)) \
    X(SIGFLT_TRIP, IN, B, G, TUNE(false)) \
    X(FAULT_DISABLE, IN_2, B, G, TUNE(true)) \
    X(INVERT_PERM, IN, B, G, TUNE(false)) \
    X(PERM_SP, IN, A, G, TUNE(0.0, -1e38, 1e38)) \
    X(USE_PERM, IN, B, G, TUNE(false)) \
    X(PERM_MET_DELAY, DLY_TIME, A, G, TUNE(1.0, 0.0, 600.0)) \
    X(MSG, IN_1, C, G, TUNE(MSG1)) \
    X(MSG, IN_2, C, G, TUNE(MSG2)) \
    X(PV_VAL, A_NAME, A, G, PLAIN) \
    X(PV_SIGFLT, B_NAME, B, G, PLAIN) \
    X(TSPEED, A_NAME, A, G, PLAIN) \
    X(ALMRESET, B_NAME, B, G, PLAIN) \
    X(ALARM_LVL1, B_NAME, B, G, PLAIN, RD(L1)) \
    X(ALARM_LVL2, B_NAME, B, G, PLAIN, RD(L2)) \
    X(TRIP_LVL2, B_NAME, B, G, PLAIN, RD(TRIP)) \
    X(AND, AND, B, G, PLAIN, RD(AND)) \
    X(PERM_NOT_MET, B_NAME, B, G, PLAIN, RD(PERM)) \
    X(MSG, LIST_1, C, G, PLAIN) \
    X(MSG, LIST_2, C, G, PLAIN) \
    X(ALM_SP1, A_NAME, A, G, PLAIN, RD(SP)) \
    X(ALM_SP2, A_NAME, A, G, PLAIN, RD(SP)) \
    X(LVL1_ALM, B_ALARM, B, G, PLAIN) \
    X(LVL1_ALM, LIGHT, B, G, PLAIN) \
    X(LVL1_ALM, HORN, B, G, PLAIN) \
    X(LVL2_ALM, B_ALARM, B, G, PLAIN) \
    X(LVL2_ALM, LIGHT, B, G, PLAIN) \
    X(LVL2_ALM, HORN, B, G, PLAIN) \
    X(ALM_LVL1, A_COMPARE, B, G, PLAIN) \
    X(ALM_LVL1, A_EQUAL, B, G, PLAIN) \
    X(ALM_LVL2, A_COMPARE, B, G, PLAIN) \
    X(ALM_LVL2, A_EQUAL, B, G, PLAIN) \
    X(PERM_COMPARE, A_COMPARE, B, G, PLAIN) \
    X(PERM_COMPARE, A_EQUAL, B, G, PLAIN) \
    X(SPDENA, A_COMPARE, B, G, PLAIN) \
    X(SPDENA, A_EQUAL, B, G, PLAIN) \
    X(ALM1_ACTION, NC, A, G, PLAIN) \
    X(ALM1_ACTION, NO, A, G, PLAIN) \
    X(ALM2_ACTION, NC, A, G, PLAIN) \
    X(ALM2_ACTION, NO, A, G, PLAIN) \
    X(PERM_ACTION, NC, A, G, PLAIN) \
    X(PERM_ACTION, NO, A, G, PLAIN) \
    X(B_SW_REV, NC, B, G, PLAIN) \
    X(B_SW_REV, NO, B, G, PLAIN) \
    X(DIS_AT_ZERO, A_MAX, A, G, PLAIN) \
    X(I_TO_AN, OUT_1, A, G, PLAIN) \
    X(OVRD1, NAND, B, G, PLAIN) \
    X(OVRD2, NAND, B, G, PLAIN) \
    X(NOT, NOT, B, G, PLAIN) \
    X(SP2_USED, OR, B, G, PLAIN) \
    X(FAULT_DISABLE, AND, B, G, PLAIN) \
    X(SIGNAL_FAILED, B_SW, B, G, PLAIN) \
    X(PERM_USED, B_SW, B, G, PLAIN) \
    X(USE_PERM_NOT, NOT, B, G, PLAIN) \
    X(PERM_MET_DELAY, DELAY, B, G, PLAIN) \
    X(PERM_MET_DELAY, R_TIME, I, G, PLAIN) \
    X(PERM_MET_DELAY_NOT, NOT, B, G, PLAIN) \
    X(INVERT_LVL1, B_NAME, B, G, PLAIN) \
    X(HYSTER, A_NAME, A, G, PLAIN) \
    X(SPEED_ENA, I_NAME, I, G, PLAIN) \
    X(USE_SP1, B_NAME, B, G, PLAIN) \
    X(ALM_DLY, A_NAME, A, G, PLAIN) \
    X(TRIP_SP2, B_NAME, B, G, PLAIN) \
    X(INVERT_LVL2, B_NAME, B, G, PLAIN) \
    X(USE_SP2, B_NAME, B, G, PLAIN) \
    X(SIGFLT_TRIP, B_NAME, B, G, PLAIN) \
    X(INVERT_PERM, B_NAME, B, G, PLAIN) \
    X(PERM_SP, A_NAME, A, G, PLAIN) \
    X(USE_PERM, B_NAME, B, G, PLAIN)

// Readers of the alarm, trip and permissive outputs and the setpoints.
// Chassis channels: the alarm list (40 ms), the shutdown list (10 ms), and
// the start permissive and function muxes (160 ms). Remote analog channels:
// the node's alarm lists (80 ms), and the permissives and function muxes
// (160 ms). RTD channels (80 ms themselves, like the node's alarm summary and
// trip lists): only the start permissive goes to the 160 ms group.
#define AI_ALARM_LEVELS_RDCH(OUT) AI_ALARM_LEVELS_RDCH_##OUT
#define AI_ALARM_LEVELS_RDCH_L1 R40, R160
#define AI_ALARM_LEVELS_RDCH_L2 R40, R160
#define AI_ALARM_LEVELS_RDCH_TRIP R10, R160
#define AI_ALARM_LEVELS_RDCH_AND R10
#define AI_ALARM_LEVELS_RDCH_PERM R160
#define AI_ALARM_LEVELS_RDCH_SP R160
#define AI_ALARM_LEVELS_RDVL(OUT) AI_ALARM_LEVELS_RDVL_##OUT
#define AI_ALARM_LEVELS_RDVL_L1 R80, R160
#define AI_ALARM_LEVELS_RDVL_L2 R80, R160
#define AI_ALARM_LEVELS_RDVL_TRIP R80, R160
#define AI_ALARM_LEVELS_RDVL_AND R80
#define AI_ALARM_LEVELS_RDVL_PERM R160
#define AI_ALARM_LEVELS_RDVL_SP R160
#define AI_ALARM_LEVELS_RD80(OUT) AI_ALARM_LEVELS_RD80_##OUT
#define AI_ALARM_LEVELS_RD80_L1
#define AI_ALARM_LEVELS_RD80_L2
#define AI_ALARM_LEVELS_RD80_TRIP
#define AI_ALARM_LEVELS_RD80_AND
#define AI_ALARM_LEVELS_RD80_PERM R160
#define AI_ALARM_LEVELS_RD80_SP

#define AI_ALARM_LEVELS_PORTS(X, OUTER, M) \
    X(OUTER ".ALM_SP1_IN " M ".ALM_SP1.IN") \
    X(OUTER ".ALM_SP2_IN " M ".ALM_SP2.IN") \
    X(OUTER ".HYSTER_IN " M ".HYSTER.IN") \
    X(OUTER ".ALM_DLY_IN " M ".ALM_DLY.IN") \
    X(OUTER ".INVERT_LVL1_IN " M ".INVERT_LVL1.IN") \
    X(OUTER ".INVERT_LVL2_IN " M ".INVERT_LVL2.IN") \
    X(OUTER ".USE_SP1_IN " M ".USE_SP1.IN") \
    X(OUTER ".USE_SP2_IN " M ".USE_SP2.IN") \
    X(OUTER ".TRIP_SP2_IN " M ".TRIP_SP2.IN") \
    X(OUTER ".SPEED_ENA_IN " M ".SPEED_ENA.IN") \
    X(OUTER ".SPDENA_HYSTER " M ".SPDENA.HYSTER") \
    X(OUTER ".SIGFLT_TRIP_IN " M ".SIGFLT_TRIP.IN") \
    X(OUTER ".INVERT_PERM_IN " M ".INVERT_PERM.IN") \
    X(OUTER ".PERM_SP_IN " M ".PERM_SP.IN") \
    X(OUTER ".USE_START_PERM_IN " M ".USE_PERM.IN") \
    X(OUTER ".MSG_EVENT1_IN " M ".MSG.IN_1") \
    X(OUTER ".MSG_EVENT2_IN " M ".MSG.IN_2") \
    X(OUTER ".ALM_LVL1_OUT " M ".ALARM_LVL1.B_NAME") \
    X(OUTER ".ALM_LVL2_OUT " M ".ALARM_LVL2.B_NAME") \
    X(OUTER ".TRIP_LVL2_OUT " M ".TRIP_LVL2.B_NAME") \
    X(OUTER ".PV_FAIL_TRIP " M ".AND.AND") \
    X(OUTER ".START_PERM_NOT_MET " M ".PERM_NOT_MET.B_NAME") \
    X(OUTER ".MSG_EVENT1 " M ".MSG.LIST_1") \
    X(OUTER ".MSG_EVENT2 " M ".MSG.LIST_2") \
    X(OUTER ".ALM_SP1_OUT " M ".ALM_SP1.A_NAME") \
    X(OUTER ".ALM_SP2_OUT " M ".ALM_SP2.A_NAME")

#define _ub1_CELLS(X) AI_ALARM_LEVELS_ROWS(X, R20, AI_ALARM_LEVELS_RDCH, 0, "AI 1 ALM1", "AI 1 ALM2")
#define _ub1_ALIASES(X) AI_ALARM_LEVELS_PORTS(X, "AI_EVENT.AI_01_EVENT", "_ub1")
CAT_USER_BLOCK(_ub1, "AI_EVENT.AI_01_EVENT", _ub1_ALIASES)
#define _ub2_CELLS(X) AI_ALARM_LEVELS_ROWS(X, R20, AI_ALARM_LEVELS_RDCH, 0, "AI 2 ALM1", "AI 2 ALM2")
#define _ub2_ALIASES(X) AI_ALARM_LEVELS_PORTS(X, "AI_EVENT.AI_02_EVENT", "_ub2")
CAT_USER_BLOCK(_ub2, "AI_EVENT.AI_02_EVENT", _ub2_ALIASES)
#define _ub3_CELLS(X) AI_ALARM_LEVELS_ROWS(X, R20, AI_ALARM_LEVELS_RDCH, 0, "AI 3 ALM1", "AI 3 ALM2")
#define _ub3_ALIASES(X) AI_ALARM_LEVELS_PORTS(X, "AI_EVENT.AI_03_EVENT", "_ub3")
CAT_USER_BLOCK(_ub3, "AI_EVENT.AI_03_EVENT", _ub3_ALIASES)
#define _ub4_CELLS(X) AI_ALARM_LEVELS_ROWS(X, R20, AI_ALARM_LEVELS_RDCH, 0, "AI 4 ALM1", "AI 4 ALM2")
#define _ub4_ALIASES(X) AI_ALARM_LEVELS_PORTS(X, "AI_EVENT.AI_04_EVENT", "_ub4")
CAT_USER_BLOCK(_ub4, "AI_EVENT.AI_04_EVENT", _ub4_ALIASES)
#define _ub25_CELLS(X) AI_ALARM_LEVELS_ROWS(X, R20, AI_ALARM_LEVELS_RDVL, 100, "VL1_AI_1 Event1 Message", "VL1_AI_1 Event2 Message")
#define _ub25_ALIASES(X) AI_ALARM_LEVELS_PORTS(X, "VL1_AIO.AI_1_EVENT", "_ub25")
CAT_USER_BLOCK(_ub25, "VL1_AIO.AI_1_EVENT", _ub25_ALIASES)
#define _ub26_CELLS(X) AI_ALARM_LEVELS_ROWS(X, R20, AI_ALARM_LEVELS_RDVL, 100, "VL1_AI_2 Event1 Message", "VL1_AI_2 Event2 Message")
#define _ub26_ALIASES(X) AI_ALARM_LEVELS_PORTS(X, "VL1_AIO.AI_2_EVENT", "_ub26")
CAT_USER_BLOCK(_ub26, "VL1_AIO.AI_2_EVENT", _ub26_ALIASES)
#define _ub27_CELLS(X) AI_ALARM_LEVELS_ROWS(X, R20, AI_ALARM_LEVELS_RDVL, 100, "VL1_AI_3 Event1 Message", "VL1_AI_3 Event2 Message")
#define _ub27_ALIASES(X) AI_ALARM_LEVELS_PORTS(X, "VL1_AIO.AI_3_EVENT", "_ub27")
CAT_USER_BLOCK(_ub27, "VL1_AIO.AI_3_EVENT", _ub27_ALIASES)
#define _ub28_CELLS(X) AI_ALARM_LEVELS_ROWS(X, R20, AI_ALARM_LEVELS_RDVL, 100, "VL1_AI_4 Event1 Message", "VL1_AI_4 Event2 Message")
#define _ub28_ALIASES(X) AI_ALARM_LEVELS_PORTS(X, "VL1_AIO.AI_4_EVENT", "_ub28")
CAT_USER_BLOCK(_ub28, "VL1_AIO.AI_4_EVENT", _ub28_ALIASES)
#define _ub29_CELLS(X) AI_ALARM_LEVELS_ROWS(X, R20, AI_ALARM_LEVELS_RDVL, 100, "VL1_AI_5 Event1 Message", "VL1_AI_5 Event2 Message")
#define _ub29_ALIASES(X) AI_ALARM_LEVELS_PORTS(X, "VL1_AIO.AI_5_EVENT", "_ub29")
CAT_USER_BLOCK(_ub29, "VL1_AIO.AI_5_EVENT", _ub29_ALIASES)
#define _ub30_CELLS(X) AI_ALARM_LEVELS_ROWS(X, R20, AI_ALARM_LEVELS_RDVL, 100, "VL1_AI_6 Event1 Message", "VL1_AI_6 Event2 Message")
#define _ub30_ALIASES(X) AI_ALARM_LEVELS_PORTS(X, "VL1_AIO.AI_6_EVENT", "_ub30")
CAT_USER_BLOCK(_ub30, "VL1_AIO.AI_6_EVENT", _ub30_ALIASES)
#define _ub31_CELLS(X) AI_ALARM_LEVELS_ROWS(X, R20, AI_ALARM_LEVELS_RDVL, 100, "VL1_AI_7 Event1 Message", "VL1_AI_7 Event2 Message")
#define _ub31_ALIASES(X) AI_ALARM_LEVELS_PORTS(X, "VL1_AIO.AI_7_EVENT", "_ub31")
CAT_USER_BLOCK(_ub31, "VL1_AIO.AI_7_EVENT", _ub31_ALIASES)
#define _ub32_CELLS(X) AI_ALARM_LEVELS_ROWS(X, R20, AI_ALARM_LEVELS_RDVL, 100, "VL1_AI_8 Event1 Message", "VL1_AI_8 Event2 Message")
#define _ub32_ALIASES(X) AI_ALARM_LEVELS_PORTS(X, "VL1_AIO.AI_8_EVENT", "_ub32")
CAT_USER_BLOCK(_ub32, "VL1_AIO.AI_8_EVENT", _ub32_ALIASES)
#define _ub51_CELLS(X) AI_ALARM_LEVELS_ROWS(X, R80, AI_ALARM_LEVELS_RD80, 100, "VL3_RTD_1 Event1 Message", "VL3_RTD_1 Event2 Message")
#define _ub51_ALIASES(X) AI_ALARM_LEVELS_PORTS(X, "VL3_RTD.RTD_1_EVENT", "_ub51")
CAT_USER_BLOCK(_ub51, "VL3_RTD.RTD_1_EVENT", _ub51_ALIASES)
#define _ub52_CELLS(X) AI_ALARM_LEVELS_ROWS(X, R80, AI_ALARM_LEVELS_RD80, 100, "VL3_RTD_2 Event1 Message", "VL3_RTD_2 Event2 Message")
#define _ub52_ALIASES(X) AI_ALARM_LEVELS_PORTS(X, "VL3_RTD.RTD_2_EVENT", "_ub52")
CAT_USER_BLOCK(_ub52, "VL3_RTD.RTD_2_EVENT", _ub52_ALIASES)
#define _ub53_CELLS(X) AI_ALARM_LEVELS_ROWS(X, R80, AI_ALARM_LEVELS_RD80, 100, "VL3_RTD_3 Event1 Message", "VL3_RTD_3 Event2 Message")
#define _ub53_ALIASES(X) AI_ALARM_LEVELS_PORTS(X, "VL3_RTD.RTD_3_EVENT", "_ub53")
CAT_USER_BLOCK(_ub53, "VL3_RTD.RTD_3_EVENT", _ub53_ALIASES)
#define _ub54_CELLS(X) AI_ALARM_LEVELS_ROWS(X, R80, AI_ALARM_LEVELS_RD80, 100, "VL3_RTD_4 Event1 Message", "VL3_RTD_4 Event2 Message")
#define _ub54_ALIASES(X) AI_ALARM_LEVELS_PORTS(X, "VL3_RTD.RTD_4_EVENT", "_ub54")
CAT_USER_BLOCK(_ub54, "VL3_RTD.RTD_4_EVENT", _ub54_ALIASES)
#define _ub55_CELLS(X) AI_ALARM_LEVELS_ROWS(X, R80, AI_ALARM_LEVELS_RD80, 100, "VL3_RTD_5 Event1 Message", "VL3_RTD_5 Event2 Message")
#define _ub55_ALIASES(X) AI_ALARM_LEVELS_PORTS(X, "VL3_RTD.RTD_5_EVENT", "_ub55")
CAT_USER_BLOCK(_ub55, "VL3_RTD.RTD_5_EVENT", _ub55_ALIASES)
#define _ub56_CELLS(X) AI_ALARM_LEVELS_ROWS(X, R80, AI_ALARM_LEVELS_RD80, 100, "VL3_RTD_6 Event1 Message", "VL3_RTD_6 Event2 Message")
#define _ub56_ALIASES(X) AI_ALARM_LEVELS_PORTS(X, "VL3_RTD.RTD_6_EVENT", "_ub56")
CAT_USER_BLOCK(_ub56, "VL3_RTD.RTD_6_EVENT", _ub56_ALIASES)
#define _ub57_CELLS(X) AI_ALARM_LEVELS_ROWS(X, R80, AI_ALARM_LEVELS_RD80, 100, "VL3_RTD_7 Event1 Message", "VL3_RTD_7 Event2 Message")
#define _ub57_ALIASES(X) AI_ALARM_LEVELS_PORTS(X, "VL3_RTD.RTD_7_EVENT", "_ub57")
CAT_USER_BLOCK(_ub57, "VL3_RTD.RTD_7_EVENT", _ub57_ALIASES)
#define _ub58_CELLS(X) AI_ALARM_LEVELS_ROWS(X, R80, AI_ALARM_LEVELS_RD80, 100, "VL3_RTD_8 Event1 Message", "VL3_RTD_8 Event2 Message")
#define _ub58_ALIASES(X) AI_ALARM_LEVELS_PORTS(X, "VL3_RTD.RTD_8_EVENT", "_ub58")
CAT_USER_BLOCK(_ub58, "VL3_RTD.RTD_8_EVENT", _ub58_ALIASES)

// Instance index of the pieces below: controller inputs 0 .. 3 (_ub1 ..
// _ub4), remote inputs 4 .. 11 (_ub25 .. _ub32); the RTD instances 12 .. 19
// (_ub51 .. _ub58) belong to the 80 ms group.
constexpr int kAiAlarmInstances = 12;
constexpr int kRtdAlarmInstances = 8;

namespace r20 {
// Level 1 of instance k (setpoint, compare, arming, level-1 alarm), then the
// rest of its pass (level 2, signal-failed trip, permissive).
void AI_ALARM_LEVELS_level1(int k);
void AI_ALARM_LEVELS_level2(int k);
}  // namespace r20

namespace r80 {
// One whole pass of RTD event block k (0 .. 7) on the RTD channel's value
// and fault. With `put_in` the value is the one shown for a silent node, no
// reading: the three value compares keep what they had.
void AI_ALARM_LEVELS_rtd(int k, float value, uint32_t fault, bool put_in);
}  // namespace r80
