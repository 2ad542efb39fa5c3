// The analog input channel template AI_CHANNEL: twelve instances, the four
// controller inputs (_ub6 .. _ub9, "CNFG_AI.AI_01" .. "AI_04") and the eight
// inputs of the remote analog node (_ub33 .. _ub40, "VL1_AIO.CNFG_AI_1" ..
// "CNFG_AI_8"). The run part (value, percentage, fault) runs at 20 ms, the
// configuration part at 160 ms; the run part reads the configuration only
// through the up copies.
#pragma once

#include "runtime/catalogue.h"

// Rows of one instance; WIZ(X) adds the remote node's own wizard tunables,
// and WIZ names the groups that read the instance's outputs. The 40 ms
// simulator link reads the range maximum of the controller channels 1, 2
// and 4 (MAX_READERS).
#define AI_CHANNEL_ROWS(X, TAG_TEXT, USAGE_TEXT, WIZ, MAX_READERS)             \
    X(FUNCT, IN, I, R160, TUNE(1, 1, 20))                            \
    X(RANGE_LO, IN, A, R160, TUNE(0.0, -1e38, 1e38))                 \
    X(RANGE_HI, IN, A, R160, TUNE(100.0, -1e38, 1e38))               \
    X(LOOP_PWR, IN, B, R160, TUNE(false))                            \
    X(CH_FILTR, IN, A, R160, TUNE(0.0, 0.0, 100.0))                  \
    X(AI_MOD_X, IN, I, R160, TUNE(3, 1, 5))                          \
    X(QT_DECIMALS, IN, I, R160, TUNE(1, 0, 3))                       \
    X(TAG, IN, C, R160, TUNE(TAG_TEXT))                                   \
    X(USAGE, IN, C, R160, TUNE(USAGE_TEXT))                              \
    X(ENG_UNIT, IN, C, R160, TUNE("ENG Units"))                      \
    WIZ(X)                                                           \
    X(FUN_NUM, TUNE, I, R160, TUNE(1, 1, 20))                        \
    X(MIN, TUNE, A, R160, TUNE(0.0, -1e38, 1e38))                    \
    X(MAX, TUNE, A, R160, TUNE(100.0, -1e38, 1e38))                  \
    X(MA, A_NAME, A, R20, PLAIN)                                     \
    X(VALUE, A_NAME, A, R20, PLAIN, WIZ##_VALUE_READERS)             \
    X(PCT, A_NAME, A, R20, PLAIN)                                    \
    X(CHNL_FLT, B_NAME, B, R20, PLAIN, WIZ##_FLT_READERS)           \
    X(SCALED, A_OUT_1, A, R20, PLAIN)                                \
    X(SCALED, A_OUT_2, A, R20, PLAIN)                                \
    X(SCALED, A_OUT_3, A, R20, PLAIN)                                \
    X(SCALED, ALM, B, R20, PLAIN)                                    \
    X(SCALED, I_OUT_1, I, R20, PLAIN)                                \
    X(SCALED, B_OUT_1, B, R20, PLAIN)                                \
    X(AI_LAG, LAG_2, A, R20, PLAIN)                                  \
    X(AI_LAG, DERIV, A, R20, PLAIN)                                  \
    X(AI_PCT_LAG, LAG_2, A, R20, PLAIN)                              \
    X(AI_PCT_LAG, DERIV, A, R20, PLAIN)                              \
    X(CHN_FLT, B_NAME, B, R20, PLAIN)                                \
    X(AI_FLT, AND, B, R20, PLAIN)                                    \
    X(FUN_NUM, SAMP_ITUNE, I, R160, PLAIN, WIZ##_FUN_READERS)       \
    X(FUN_NUM, LIMITED, B, R160, PLAIN)                              \
    X(FUN_NUM, EN_ENT_OUT, B, R160, PLAIN)                           \
    X(FUN_NUM, LO_LIM_OUT, I, R160, PLAIN)                           \
    X(FUN_NUM, HI_LIM_OUT, I, R160, PLAIN)                           \
    X(CH_ENABL, B_NAME, B, R160, PLAIN, R20)                         \
    X(CH_DISAB, B_NAME, B, R160, PLAIN, R20)                         \
    X(MIN, SAMP_TUNE, A, R160, PLAIN, WIZ##_MIN_READERS)           \
    X(MIN, LIMITED, B, R160, PLAIN)                                  \
    X(MIN, EN_ENT_OUT, B, R160, PLAIN)                               \
    X(MIN, LO_LIM_OUT, A, R160, PLAIN)                               \
    X(MIN, HI_LIM_OUT, A, R160, PLAIN)                               \
    X(MAX, SAMP_TUNE, A, R160, PLAIN, MAX_READERS)                 \
    X(MAX, LIMITED, B, R160, PLAIN)                                  \
    X(MAX, EN_ENT_OUT, B, R160, PLAIN)                               \
    X(MAX, LO_LIM_OUT, A, R160, PLAIN)                               \
    X(MAX, HI_LIM_OUT, A, R160, PLAIN)                               \
    X(FUN_STRG, I_TO_STR, C, R160, PLAIN)                            \
    X(TYPE_SEL, I_NAME, I, R160, PLAIN, WIZ##_TYPE_READERS)         \
    X(MOD_MULT, A_NAME, A, R160, PLAIN, WIZ##_MULT_READERS)         \
    X(QT_DECIMALS, I_NAME, I, R160, PLAIN)                           \
    X(TAG, S_NAME, C, R160, PLAIN)                                   \
    X(USAGE, S_NAME, C, R160, PLAIN)                                 \
    X(ENG_UNIT, S_NAME, C, R160, PLAIN)                              \
    X(AI_USED, EQ, B, R160, PLAIN)                                   \
    X(AI_USED, LT, B, R160, PLAIN)                                   \
    X(AI_USED, GT, B, R160, PLAIN)                                   \
    X(AI_TYPE_SEL, I_SW, I, R160, PLAIN)                             \
    X(I_SW, I_SW, I, R160, PLAIN)                                    \
    X(FUNCT, I_NAME, I, R160, PLAIN)                                 \
    X(WIZ_ENA, B_NAME, B, R160, PLAIN)                               \
    X(WIZ_FUNCT, I_NAME, I, R160, PLAIN)                             \
    X(CNFG_ENBL, B_NAME, B, R160, PLAIN)                             \
    X(SAMPLE_PULSE, B_NAME, B, R160, PLAIN)                          \
    X(LOOP_PWR, B_NAME, B, R160, PLAIN)                              \
    X(CH_FILTR, A_NAME, A, R160, PLAIN, R20)                         \
    X(RANGE_LO, A_NAME, A, R160, PLAIN)                              \
    X(RANGE_HI, A_NAME, A, R160, PLAIN)                              \
    X(AI_MOD_X, I_NAME, I, R160, PLAIN)                              \
    X(AI_MOD_SCALE, A_MUX_N_1, A, R160, PLAIN)

// A chassis channel: the value goes to the 160 ms function routing and the
// 80 ms relay level switches, the fault to the 160 ms group, the range to
// the 20 ms run part and the 40 ms simulator link, the function number to
// the 20 ms routing, the loop-power type to the 20 ms run part; its Modbus
// multiplier stays in the 160 ms map.
#define AI_CHANNEL_NO_WIZ_VALUE_READERS R160, R80
#define AI_CHANNEL_NO_WIZ_FUN_READERS R20
#define AI_CHANNEL_NO_WIZ_FLT_READERS R160
#define AI_CHANNEL_NO_WIZ_MIN_READERS R20, R40
#define AI_CHANNEL_NO_WIZ_MAX_READERS R20, R40
#define AI_CHANNEL_NO_WIZ_TYPE_READERS R20
#define AI_CHANNEL_NO_WIZ_MULT_READERS
// A remote node channel: the value and the range stay with the node's 20 ms
// logic, the function number reaches the 20 ms routing through the node's
// function list, the fault and the Modbus multiplier go to the node's 80 ms
// lists.
#define AI_CHANNEL_WIZ_VALUE_READERS
#define AI_CHANNEL_WIZ_FUN_READERS
#define AI_CHANNEL_WIZ_FLT_READERS R80
#define AI_CHANNEL_WIZ_MIN_READERS R20
#define AI_CHANNEL_WIZ_MAX_READERS R20
#define AI_CHANNEL_WIZ_TYPE_READERS
#define AI_CHANNEL_WIZ_MULT_READERS R80
#define AI_CHANNEL_NO_WIZ(X)
#define AI_CHANNEL_WIZ(X)                      \
    X(WIZ_ENA, IN, B, R160, TUNE(false))       \
    X(WIZ_FUNCT, IN, I, R160, TUNE(1, 1, 20))

// Port aliases of instance M named OUTER.
#define AI_CHANNEL_PORTS(X, OUTER, M)                                  \
    X(OUTER ".FUNCT_C " M ".FUNCT.IN")                                 \
    X(OUTER ".RANGE_LO_C " M ".RANGE_LO.IN")                           \
    X(OUTER ".RANGE_HI_C " M ".RANGE_HI.IN")                           \
    X(OUTER ".LOOP_PWR_C " M ".LOOP_PWR.IN")                           \
    X(OUTER ".CH_FILTR_C " M ".CH_FILTR.IN")                           \
    X(OUTER ".AI_MOD_X_C " M ".AI_MOD_X.IN")                           \
    X(OUTER ".DECIMALS_C " M ".QT_DECIMALS.IN")                        \
    X(OUTER ".TAG_C " M ".TAG.IN")                                     \
    X(OUTER ".USAGE_C " M ".USAGE.IN")                                 \
    X(OUTER ".ENG_UNIT_C " M ".ENG_UNIT.IN")                           \
    X(OUTER ".MA_A_OUT " M ".MA.A_NAME")                               \
    X(OUTER ".VALUE_OUT " M ".VALUE.A_NAME")                           \
    X(OUTER ".PCT_OUT " M ".PCT.A_NAME")                               \
    X(OUTER ".CHN_FLT_OUT " M ".CHNL_FLT.B_NAME")                      \
    X(OUTER ".FUNCT_INT_OUT " M ".FUN_NUM.SAMP_ITUNE")                 \
    X(OUTER ".CH_ENBL_OUT " M ".CH_ENABL.B_NAME")                      \
    X(OUTER ".CH_DSBL_OUT " M ".CH_DISAB.B_NAME")                      \
    X(OUTER ".MIN_OUT " M ".MIN.SAMP_TUNE")                            \
    X(OUTER ".MAX_OUT " M ".MAX.SAMP_TUNE")                            \
    X(OUTER ".FUN_STRG_OUT " M ".FUN_STRG.I_TO_STR")                   \
    X(OUTER ".TYPE_SEL_OUT " M ".TYPE_SEL.I_NAME")                     \
    X(OUTER ".MOD_MULT_OUT " M ".MOD_MULT.A_NAME")                     \
    X(OUTER ".QT_DECIMALS_OUT " M ".QT_DECIMALS.I_NAME")               \
    X(OUTER ".TAG_OUT " M ".TAG.S_NAME")                               \
    X(OUTER ".USAGE_OUT " M ".USAGE.S_NAME")                           \
    X(OUTER ".ENG_UNIT_OUT " M ".ENG_UNIT.S_NAME")
#define AI_CHANNEL_WIZ_PORTS(X, OUTER, M)                              \
    X(OUTER ".WIZ_ENA_IN " M ".WIZ_ENA.IN")                            \
    X(OUTER ".WIZ_FUNCT_C " M ".WIZ_FUNCT.IN")

// Controller input n (1 .. 4) is _ub(5 + n).
#define AI_CHANNEL_CONTROLLER(M, N)                                                            \
    CAT_USER_BLOCK(M, "CNFG_AI.AI_0" #N, M##_ALIASES)
#define AI_CHANNEL_REMOTE(M, N)                                                                \
    CAT_USER_BLOCK(M, "VL1_AIO.CNFG_AI_" #N, M##_ALIASES)

#define _ub6_CELLS(X) AI_CHANNEL_ROWS(X, "AI_01", "AI_01 Description", AI_CHANNEL_NO_WIZ, AI_CHANNEL_NO_WIZ_MAX_READERS)
#define _ub6_ALIASES(X) AI_CHANNEL_PORTS(X, "CNFG_AI.AI_01", "_ub6")
AI_CHANNEL_CONTROLLER(_ub6, 1)
#define _ub7_CELLS(X) AI_CHANNEL_ROWS(X, "AI_02", "AI_02 Description", AI_CHANNEL_NO_WIZ, AI_CHANNEL_NO_WIZ_MAX_READERS)
#define _ub7_ALIASES(X) AI_CHANNEL_PORTS(X, "CNFG_AI.AI_02", "_ub7")
AI_CHANNEL_CONTROLLER(_ub7, 2)
#define _ub8_CELLS(X) AI_CHANNEL_ROWS(X, "AI_03", "AI_03 Description", AI_CHANNEL_NO_WIZ, R20)
#define _ub8_ALIASES(X) AI_CHANNEL_PORTS(X, "CNFG_AI.AI_03", "_ub8")
AI_CHANNEL_CONTROLLER(_ub8, 3)
#define _ub9_CELLS(X) AI_CHANNEL_ROWS(X, "AI_04", "AI_04 Description", AI_CHANNEL_NO_WIZ, AI_CHANNEL_NO_WIZ_MAX_READERS)
#define _ub9_ALIASES(X) AI_CHANNEL_PORTS(X, "CNFG_AI.AI_04", "_ub9")
AI_CHANNEL_CONTROLLER(_ub9, 4)

#define _ub33_CELLS(X) AI_CHANNEL_ROWS(X, "VL1_AI_01", "VL1_AI_01 Description", AI_CHANNEL_WIZ, AI_CHANNEL_WIZ_MAX_READERS)
#define _ub33_ALIASES(X) AI_CHANNEL_PORTS(X, "VL1_AIO.CNFG_AI_1", "_ub33") AI_CHANNEL_WIZ_PORTS(X, "VL1_AIO.CNFG_AI_1", "_ub33")
AI_CHANNEL_REMOTE(_ub33, 1)
#define _ub34_CELLS(X) AI_CHANNEL_ROWS(X, "VL1_AI_02", "VL1_AI_02 Description", AI_CHANNEL_WIZ, AI_CHANNEL_WIZ_MAX_READERS)
#define _ub34_ALIASES(X) AI_CHANNEL_PORTS(X, "VL1_AIO.CNFG_AI_2", "_ub34") AI_CHANNEL_WIZ_PORTS(X, "VL1_AIO.CNFG_AI_2", "_ub34")
AI_CHANNEL_REMOTE(_ub34, 2)
#define _ub35_CELLS(X) AI_CHANNEL_ROWS(X, "VL1_AI_03", "VL1_AI_03 Description", AI_CHANNEL_WIZ, AI_CHANNEL_WIZ_MAX_READERS)
#define _ub35_ALIASES(X) AI_CHANNEL_PORTS(X, "VL1_AIO.CNFG_AI_3", "_ub35") AI_CHANNEL_WIZ_PORTS(X, "VL1_AIO.CNFG_AI_3", "_ub35")
AI_CHANNEL_REMOTE(_ub35, 3)
#define _ub36_CELLS(X) AI_CHANNEL_ROWS(X, "VL1_AI_04", "VL1_AI_04 Description", AI_CHANNEL_WIZ, AI_CHANNEL_WIZ_MAX_READERS)
#define _ub36_ALIASES(X) AI_CHANNEL_PORTS(X, "VL1_AIO.CNFG_AI_4", "_ub36") AI_CHANNEL_WIZ_PORTS(X, "VL1_AIO.CNFG_AI_4", "_ub36")
AI_CHANNEL_REMOTE(_ub36, 4)
#define _ub37_CELLS(X) AI_CHANNEL_ROWS(X, "VL1_AI_05", "VL1_AI_05 Description", AI_CHANNEL_WIZ, AI_CHANNEL_WIZ_MAX_READERS)
#define _ub37_ALIASES(X) AI_CHANNEL_PORTS(X, "VL1_AIO.CNFG_AI_5", "_ub37") AI_CHANNEL_WIZ_PORTS(X, "VL1_AIO.CNFG_AI_5", "_ub37")
AI_CHANNEL_REMOTE(_ub37, 5)
#define _ub38_CELLS(X) AI_CHANNEL_ROWS(X, "VL1_AI_06", "VL1_AI_06 Description", AI_CHANNEL_WIZ, AI_CHANNEL_WIZ_MAX_READERS)
#define _ub38_ALIASES(X) AI_CHANNEL_PORTS(X, "VL1_AIO.CNFG_AI_6", "_ub38") AI_CHANNEL_WIZ_PORTS(X, "VL1_AIO.CNFG_AI_6", "_ub38")
AI_CHANNEL_REMOTE(_ub38, 6)
#define _ub39_CELLS(X) AI_CHANNEL_ROWS(X, "VL1_AI_07", "VL1_AI_07 Description", AI_CHANNEL_WIZ, AI_CHANNEL_WIZ_MAX_READERS)
#define _ub39_ALIASES(X) AI_CHANNEL_PORTS(X, "VL1_AIO.CNFG_AI_7", "_ub39") AI_CHANNEL_WIZ_PORTS(X, "VL1_AIO.CNFG_AI_7", "_ub39")
AI_CHANNEL_REMOTE(_ub39, 7)
#define _ub40_CELLS(X) AI_CHANNEL_ROWS(X, "VL1_AI_08", "VL1_AI_08 Description", AI_CHANNEL_WIZ, AI_CHANNEL_WIZ_MAX_READERS)
#define _ub40_ALIASES(X) AI_CHANNEL_PORTS(X, "VL1_AIO.CNFG_AI_8", "_ub40") AI_CHANNEL_WIZ_PORTS(X, "VL1_AIO.CNFG_AI_8", "_ub40")
AI_CHANNEL_REMOTE(_ub40, 8)

// Channel index of the pieces below: controller inputs 0 .. 3 (_ub6 ..
// _ub9), remote inputs 4 .. 11 (_ub33 .. _ub40).
constexpr int kAiChannels = 12;
constexpr int kAiControllerChannels = 4;

// Block initialisation: the sampled function number and range start from
// their stored values.
void AI_CHANNEL_init_blks();

namespace r20 {
// Run part of channel k: the fault (from the input stage's raw fault), the
// scaling with the value filter, the percentage filter.
void AI_CHANNEL_fault(int k);
void AI_CHANNEL_scale(int k);
void AI_CHANNEL_value_filter(int k);
void AI_CHANNEL_pct_filter(int k);
// The function number in force of controller channel k (160 ms copy), the
// channel's value, its percentage and its fault.
int32_t AI_CHANNEL_function(int k);
float AI_CHANNEL_value(int k);
float AI_CHANNEL_percent(int k);
uint32_t AI_CHANNEL_fault_out(int k);
}  // namespace r20

namespace r160 {
// Configuration part of channel k: the function number with its text and
// the used flags; the range; the Modbus multiplier and decimals; the texts,
// loop power and filter.
void AI_CHANNEL_function_number(int k);
void AI_CHANNEL_range(int k);
void AI_CHANNEL_modbus(int k);
void AI_CHANNEL_texts(int k);
}  // namespace r160
