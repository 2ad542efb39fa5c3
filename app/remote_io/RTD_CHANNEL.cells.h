// The remote RTD channel template RTD_CHANNEL: the settings, the sampled
// function number, the display and texts of one channel of the RTD node.
// Eight instances run in the 80 ms group, _ub43 .. _ub50
// ("VL3_RTD.CNFG_RTD_1" ..), beside the channel blocks of module VL3_RTD.
#pragma once

#include "runtime/catalogue.h"

// Rows of one instance whose tag text is NAME; the range limits in degrees
// Celsius go to the groups SP_READERS (the 160 ms custom trends take those
// of the first four channels).
#define RTD_CHANNEL_ROWS(X, NAME, SP_READERS)                    \
    X(CURVE_C, IN, I, R80, TUNE(1, 1, 2))                        \
    X(CURVE_C, I_NAME, I, R80, PLAIN)                            \
    X(OHM_C, IN, I, R80, TUNE(1, 1, 2))                          \
    X(OHM_C, I_NAME, I, R80, PLAIN)                              \
    X(CURVE_TYPE, S_MUX_N_1, C, R80, PLAIN)                      \
    X(OHM_VAL, S_MUX_N_1, C, R80, PLAIN)                         \
    X(OFFSET, IN, A, R80, TUNE(0.0, -100.0, 100.0))              \
    X(OFFSET, A_NAME, A, R80, PLAIN)                             \
    X(GAIN, IN, A, R80, TUNE(1.0, 0.8, 1.2))                     \
    X(GAIN, A_NAME, A, R80, PLAIN)                               \
    X(FLT_DLY, IN, A, R80, TUNE(1.0, 0.0, 10.0))                 \
    X(FLT_DLY, A_NAME, A, R80, PLAIN)                            \
    X(SEC_TO_MS, MULTIPLY, A, R80, PLAIN)                        \
    X(SEL_DEG_F, B_NAME, B, R80, PLAIN)                          \
    X(RANGE_LO, IN, A, R80, TUNE(0.0, -10000.0, 10000.0))        \
    X(RANGE_LO, A_NAME, A, R80, PLAIN)                           \
    X(RANGE_HI, IN, A, R80, TUNE(1500.0, -10000.0, 10000.0))     \
    X(RANGE_HI, A_NAME, A, R80, PLAIN)                           \
    X(F_TO_C, OUT_1, A, R80, PLAIN)                              \
    X(F_TO_C, OUT_2, A, R80, PLAIN)                              \
    X(LO_SP_IN_C, A_SW, A, R80, PLAIN, SP_READERS)               \
    X(HI_SP_IN_C, A_SW, A, R80, PLAIN, SP_READERS)               \
    X(CH_FILTR, IN, A, R80, TUNE(0.0, -100.0, 100.0))            \
    X(CH_FILTR, A_NAME, A, R80, PLAIN)                           \
    X(CHN_FLT, B_NAME, B, R80, PLAIN)                            \
    X(FUNCT, IN, I, R80, TUNE(1, 1, 20))                         \
    X(FUNCT, I_NAME, I, R80, PLAIN)                              \
    X(WIZ_FUNCT, IN, I, R80, TUNE(1, 1, 20))                     \
    X(WIZ_FUNCT, I_NAME, I, R80, PLAIN)                          \
    X(WIZ_ENA, IN, B, R80, TUNE(false))                          \
    X(WIZ_ENA, B_NAME, B, R80, PLAIN)                            \
    X(I_SW, I_SW, I, R80, PLAIN)                                 \
    X(CNFG_ENBL, B_NAME, B, R80, PLAIN)                          \
    X(SAMPLE_PULSE, B_NAME, B, R80, PLAIN)                       \
    X(FUN_NUM, TUNE, I, R80, TUNE(1, 1, 15))                     \
    X(FUN_NUM, SAMP_ITUNE, I, R80, PLAIN)                        \
    X(FUN_NUM, LIMITED, B, R80, PLAIN)                           \
    X(FUN_NUM, EN_ENT_OUT, B, R80, PLAIN)                        \
    X(FUN_NUM, LO_LIM_OUT, I, R80, PLAIN)                        \
    X(FUN_NUM, HI_LIM_OUT, I, R80, PLAIN)                        \
    X(RTD_USED, EQ, B, R80, PLAIN)                               \
    X(RTD_USED, LT, B, R80, PLAIN)                               \
    X(RTD_USED, GT, B, R80, PLAIN)                               \
    X(CH_ENBL, B_NAME, B, R80, PLAIN)                            \
    X(CH_DSBL, B_NAME, B, R80, PLAIN)                            \
    X(CHNL_FLT, B_NAME, B, R80, PLAIN)                           \
    X(TEMP_IN, A_NAME, A, R80, PLAIN)                            \
    X(TEMP_C, A_NAME, A, R80, PLAIN)                             \
    X(C_TO_F, OUT_1, A, R80, PLAIN)                              \
    X(TEMP_F, A_NAME, A, R80, PLAIN)                             \
    X(TAG, IN, C, R80, TUNE(NAME))                               \
    X(TAG, S_NAME, C, R80, PLAIN)                                \
    X(USAGE, IN, C, R80, TUNE(NAME " Description"))              \
    X(USAGE, S_NAME, C, R80, PLAIN)                              \
    X(QT_DECIMALS, IN, I, R80, TUNE(1, 0, 3))                    \
    X(QT_DECIMALS, I_NAME, I, R80, PLAIN)                        \
    X(ENG_UNIT, B_TO_STR, C, R80, PLAIN)                         \
    X(FUN_STRG, I_TO_STR, C, R80, PLAIN)                         \
    X(RTD_MOD_X, IN, I, R80, TUNE(3, 1, 5))                      \
    X(RTD_MOD_X, I_NAME, I, R80, PLAIN)                          \
    X(MOD_MULT, A_NAME, A, R80, PLAIN)

// The instance's ports, as the designer names them.
#define RTD_CHANNEL_PORTS(X, OUTER, M)                              \
    X(OUTER ".CURVE_C_IN " M ".CURVE_C.IN")                         \
    X(OUTER ".OHM_C_IN " M ".OHM_C.IN")                             \
    X(OUTER ".GAIN_S " M ".GAIN.IN")                                \
    X(OUTER ".OFFSET_S " M ".OFFSET.IN")                            \
    X(OUTER ".RANGE_LO_C " M ".RANGE_LO.IN")                        \
    X(OUTER ".RANGE_HI_C " M ".RANGE_HI.IN")                        \
    X(OUTER ".CH_FILTR_C " M ".CH_FILTR.IN")                        \
    X(OUTER ".FLT_DLY_S " M ".FLT_DLY.IN")                          \
    X(OUTER ".FUNCT_C " M ".FUNCT.IN")                              \
    X(OUTER ".WIZ_FUNCT_C " M ".WIZ_FUNCT.IN")                      \
    X(OUTER ".WIZ_ENA_IN " M ".WIZ_ENA.IN")                         \
    X(OUTER ".TAG_C " M ".TAG.IN")                                  \
    X(OUTER ".USAGE_C " M ".USAGE.IN")                              \
    X(OUTER ".DECIMALS_IN " M ".QT_DECIMALS.IN")                    \
    X(OUTER ".RTD_MOD_X_C " M ".RTD_MOD_X.IN")                      \
    X(OUTER ".TEMP_C_OUT " M ".TEMP_C.A_NAME")                      \
    X(OUTER ".TEMP_F_OUT " M ".TEMP_F.A_NAME")                      \
    X(OUTER ".CHN_FLT_OUT " M ".CHNL_FLT.B_NAME")                   \
    X(OUTER ".CH_ENBL_OUT " M ".CH_ENBL.B_NAME")                    \
    X(OUTER ".CH_DSBL_OUT " M ".CH_DSBL.B_NAME")                    \
    X(OUTER ".FUNCT_INT_OUT " M ".FUN_NUM.SAMP_ITUNE")              \
    X(OUTER ".FUN_STRG_OUT " M ".FUN_STRG.I_TO_STR")                \
    X(OUTER ".ENG_UNIT_OUT " M ".ENG_UNIT.B_TO_STR")                \
    X(OUTER ".LO_SP_OUT " M ".LO_SP_IN_C.A_SW")                     \
    X(OUTER ".HI_SP_OUT " M ".HI_SP_IN_C.A_SW")                     \
    X(OUTER ".LAG_OUT " M ".CH_FILTR.A_NAME")                       \
    X(OUTER ".GAIN_OUT " M ".GAIN.A_NAME")                          \
    X(OUTER ".OFFSET_OUT " M ".OFFSET.A_NAME")                      \
    X(OUTER ".CURV_OUT " M ".CURVE_TYPE.S_MUX_N_1")                 \
    X(OUTER ".OHM_OUT " M ".OHM_VAL.S_MUX_N_1")                     \
    X(OUTER ".TAG_OUT " M ".TAG.S_NAME")                            \
    X(OUTER ".USAGE_OUT " M ".USAGE.S_NAME")                        \
    X(OUTER ".QT_DECIMALS_OUT " M ".QT_DECIMALS.I_NAME")            \
    X(OUTER ".FLTDLY_OUT " M ".SEC_TO_MS.MULTIPLY")                 \
    X(OUTER ".MOD_MULT_OUT " M ".MOD_MULT.A_NAME")

#define _ub43_CELLS(X) RTD_CHANNEL_ROWS(X, "RTD_1", R160)
#define _ub43_ALIASES(X) RTD_CHANNEL_PORTS(X, "VL3_RTD.CNFG_RTD_1", "_ub43")
CAT_USER_BLOCK(_ub43, "VL3_RTD.CNFG_RTD_1", _ub43_ALIASES)
#define _ub44_CELLS(X) RTD_CHANNEL_ROWS(X, "RTD_2", R160)
#define _ub44_ALIASES(X) RTD_CHANNEL_PORTS(X, "VL3_RTD.CNFG_RTD_2", "_ub44")
CAT_USER_BLOCK(_ub44, "VL3_RTD.CNFG_RTD_2", _ub44_ALIASES)
#define _ub45_CELLS(X) RTD_CHANNEL_ROWS(X, "RTD_3", R160)
#define _ub45_ALIASES(X) RTD_CHANNEL_PORTS(X, "VL3_RTD.CNFG_RTD_3", "_ub45")
CAT_USER_BLOCK(_ub45, "VL3_RTD.CNFG_RTD_3", _ub45_ALIASES)
#define _ub46_CELLS(X) RTD_CHANNEL_ROWS(X, "RTD_4", R160)
#define _ub46_ALIASES(X) RTD_CHANNEL_PORTS(X, "VL3_RTD.CNFG_RTD_4", "_ub46")
CAT_USER_BLOCK(_ub46, "VL3_RTD.CNFG_RTD_4", _ub46_ALIASES)
#define _ub47_CELLS(X) RTD_CHANNEL_ROWS(X, "RTD_5", )
#define _ub47_ALIASES(X) RTD_CHANNEL_PORTS(X, "VL3_RTD.CNFG_RTD_5", "_ub47")
CAT_USER_BLOCK(_ub47, "VL3_RTD.CNFG_RTD_5", _ub47_ALIASES)
#define _ub48_CELLS(X) RTD_CHANNEL_ROWS(X, "RTD_6", )
#define _ub48_ALIASES(X) RTD_CHANNEL_PORTS(X, "VL3_RTD.CNFG_RTD_6", "_ub48")
CAT_USER_BLOCK(_ub48, "VL3_RTD.CNFG_RTD_6", _ub48_ALIASES)
#define _ub49_CELLS(X) RTD_CHANNEL_ROWS(X, "RTD_7", )
#define _ub49_ALIASES(X) RTD_CHANNEL_PORTS(X, "VL3_RTD.CNFG_RTD_7", "_ub49")
CAT_USER_BLOCK(_ub49, "VL3_RTD.CNFG_RTD_7", _ub49_ALIASES)
#define _ub50_CELLS(X) RTD_CHANNEL_ROWS(X, "RTD_8", )
#define _ub50_ALIASES(X) RTD_CHANNEL_PORTS(X, "VL3_RTD.CNFG_RTD_8", "_ub50")
CAT_USER_BLOCK(_ub50, "VL3_RTD.CNFG_RTD_8", _ub50_ALIASES)

constexpr int kRtdChannels = 8;

namespace r80 {
// The settings of channel k (0 .. 7): curve and resistance texts, gain,
// offset, filter constant, fault delay and the range limits in degrees
// Celsius.
void RTD_CHANNEL_settings(int k);
// The function number in force, whether the channel is used, and its fault
// as the channel reports it (from the channel block's latches and fault).
void RTD_CHANNEL_function(int k, uint32_t latch_or);
// The temperature in both units and the display value by the unit setting;
// returns the display value.
float RTD_CHANNEL_display(int k, float celsius);
// Tag, description, decimals, unit and function texts, fault delay in
// milliseconds and the Modbus multiplier.
void RTD_CHANNEL_texts(int k);

// What the channel's block and lists read of instance k.
float RTD_CHANNEL_gain(int k);
float RTD_CHANNEL_offset(int k);
float RTD_CHANNEL_filter(int k);
float RTD_CHANNEL_lo_limit(int k);
float RTD_CHANNEL_hi_limit(int k);
float RTD_CHANNEL_delay_ms(int k);
uint32_t RTD_CHANNEL_fault_out(int k);
int32_t RTD_CHANNEL_function_out(int k);
float RTD_CHANNEL_mod_mult(int k);
}  // namespace r80

namespace r20 {
// The resistance and curve texts of channel k, from which the node's sensor
// type words are made.
const char* RTD_CHANNEL_ohm_text(int k);
const char* RTD_CHANNEL_curve_text(int k);
}  // namespace r20
