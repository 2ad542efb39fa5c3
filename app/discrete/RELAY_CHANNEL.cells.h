// The relay output channel template RELAY_CHANNEL: 19 instances, controller
// relays 2 .. 4 (_ub21 .. _ub23, "CNFG_BO.RELAY_02" .. "RELAY_04", run part at
// 10 ms) and the sixteen relays of the remote relay-output node (_ub75 ..
// _ub90, "VL5_BO.RELAY_01" .. "RELAY_16", run part at 40 ms). The
// configuration part runs at 160 ms; the two halves meet only through the
// cross-rate copies.
#pragma once

#include "runtime/catalogue.h"

// Rows of one instance (97 cells); FAST is the group of the run part.
#define RELAY_CHANNEL_ROWS(X, FAST, FUNCT_DEF, TAG_TEXT) \
    X(RLY_FUNCT, IN, I, R160, TUNE(FUNCT_DEF, 1, 25))      \
    X(RLY_FUNCTION, TUNE, I, R160, TUNE(1, 1, 25))         \
    X(LVL_SW_FUNCT, IN, I, R160, TUNE(1, 1, 12))           \
    X(RLY_LVL_FUNCT, TUNE, I, R160, TUNE(1, 1, 12))        \
    X(FORCE_PROTECT, TUNE, I, R160, TUNE(0, 0, 1))         \
    X(LVL_ON, IN, A, R160, TUNE(0.0, -1e38, 1e38))         \
    X(LVL_OFF, IN, A, R160, TUNE(0.0, -1e38, 1e38))        \
    X(DISBL_DLY, NEG_DTIME, A, R160, TUNE(0.5, 0.0, 5.0))  \
    X(RESET_STATE, DLY_TIME, A, R160, TUNE(1.0, 0.0, 5.0)) \
    X(USE_LVL_SW, IN, B, R160, TUNE(false))                \
    X(INVERT, IN, B, R160, TUNE(false))                    \
    X(ENA_FORCING, IN, B, R160, TUNE(false))               \
    X(DIS_FORCING, IN, B, R160, TUNE(false))               \
    X(RLY_TAG, IN, C, R160, TUNE(TAG_TEXT))                \
    X(WIZ_ENA, B_NAME, B, R160, PLAIN)                     \
    X(WIZ_FUNCT, I_NAME, I, R160, PLAIN)                   \
    X(RLY_FUNCT, I_NAME, I, R160, PLAIN)                   \
    X(BI_SW, I_SW, I, R160, PLAIN)                         \
    X(ENA_CONFIG, B_NAME, B, R160, PLAIN)                  \
    X(SAMPLE_PULSE, B_NAME, B, R160, PLAIN)                \
    X(LVL_SW_FUNCT, I_NAME, I, R160, PLAIN)                \
    X(RLY_LVL_FUNCT, SAMP_ITUNE, I, R160, PLAIN, FAST)     \
    X(RLY_LVL_FUNCT, LIMITED, B, R160, PLAIN)              \
    X(RLY_LVL_FUNCT, EN_ENT_OUT, B, R160, PLAIN)           \
    X(RLY_LVL_FUNCT, LO_LIM_OUT, I, R160, PLAIN)           \
    X(RLY_LVL_FUNCT, HI_LIM_OUT, I, R160, PLAIN)           \
    X(BO_RO_FUNC_STRING, I_TO_STR, C, R160, PLAIN)         \
    X(ENA_FORCING, B_NAME, B, R160, PLAIN)                 \
    X(RLY_FUNCTION, SAMP_ITUNE, I, R160, PLAIN, FAST)      \
    X(RLY_FUNCTION, LIMITED, B, R160, PLAIN)               \
    X(RLY_FUNCTION, EN_ENT_OUT, B, R160, PLAIN)            \
    X(RLY_FUNCTION, LO_LIM_OUT, I, R160, PLAIN)            \
    X(RLY_FUNCTION, HI_LIM_OUT, I, R160, PLAIN)            \
    X(MANUAL_CONTROL, EQ, B, R160, PLAIN)                  \
    X(MANUAL_CONTROL, LT, B, R160, PLAIN)                  \
    X(MANUAL_CONTROL, GT, B, R160, PLAIN)                  \
    X(ENA_FORCING_OR, OR, B, R160, PLAIN)                  \
    X(NOT_MANUAL, NOT, B, R160, PLAIN)                     \
    X(DIS_FORCING, B_NAME, B, R160, PLAIN)                 \
    X(FORCE_INH, B_NAME, B, R160, PLAIN)                   \
    X(DIS_FRC, OR, B, R160, PLAIN)                         \
    X(DIS_FRC_AND, AND, B, R160, PLAIN)                    \
    X(FRC_ENBLD, LATCH_R, B, R160, PLAIN, FAST)            \
    X(DISBL_DLY, DELAY, B, R160, PLAIN)                    \
    X(DISBL_DLY, R_TIME, I, R160, PLAIN)                   \
    X(ENA_CNFG_NOT, NOT, B, R160, PLAIN)                   \
    X(INVERT, B_NAME, B, R160, PLAIN)                      \
    X(INV_NOT, NOT, B, R160, PLAIN)                        \
    X(ENBL_RST, AND, B, R160, PLAIN)                       \
    X(FDBK, B_TO_STR, C, R160, PLAIN)                      \
    X(FDBK, MSG_SEL, I, R160, PLAIN)                       \
    X(NOT_ENBLED, NOT, B, R160, PLAIN)                     \
    X(RESET_STATE, ONE_SHOT, B, R160, PLAIN)               \
    X(RESET_STATE, R_TIME, I, R160, PLAIN)                 \
    X(FORCE_PROTECT, SAMP_ITUNE, I, R160, PLAIN)           \
    X(FORCE_PROTECT, LIMITED, B, R160, PLAIN)              \
    X(FORCE_PROTECT, EN_ENT_OUT, B, R160, PLAIN)           \
    X(FORCE_PROTECT, LO_LIM_OUT, I, R160, PLAIN)           \
    X(FORCE_PROTECT, HI_LIM_OUT, I, R160, PLAIN)           \
    X(FORCE_STATE, EQ, B, R160, PLAIN, FAST)               \
    X(FORCE_STATE, LT, B, R160, PLAIN)                     \
    X(FORCE_STATE, GT, B, R160, PLAIN)                     \
    X(FUNCT_INT, I_NAME, I, R160, PLAIN)                   \
    X(RLY_FUN_STRG1, I_TO_STR, C, R160, PLAIN)             \
    X(FUNCT_STRNG, S_NAME, C, R160, PLAIN)                 \
    X(INV_INH, B_ACTION, B, R160, PLAIN)                   \
    X(INV_INH, ACT_OUT, I, R160, PLAIN)                    \
    X(INV_INH, E_TIME, A, R160, PLAIN)                     \
    X(INV_INH, R_TIME, A, R160, PLAIN)                     \
    X(INVERTED, LATCH, B, R160, PLAIN, FAST)               \
    X(LSW_NOT_USED, EQ, B, R160, PLAIN, FAST)              \
    X(LSW_NOT_USED, LT, B, R160, PLAIN)                    \
    X(LSW_NOT_USED, GT, B, R160, PLAIN)                    \
    X(LVL_FUNCT_STRNG, S_NAME, C, R160, PLAIN)             \
    X(LVL_ON, A_NAME, A, R160, PLAIN, FAST)                \
    X(LVL_OFF, A_NAME, A, R160, PLAIN, FAST)               \
    X(OUT_LVL_SW_FUNCT, I_NAME, I, R160, PLAIN)            \
    X(USE_LVL_SW, B_NAME, B, R160, PLAIN, FAST)            \
    X(OUT_USE_LVL_SW, B_NAME, B, R160, PLAIN)              \
    X(RLY_CHK_USE, I_SW, I, R160, PLAIN)                   \
    X(RLY_TAG, S_NAME, C, R160, PLAIN)                     \
    X(RLY_USED, EQ, B, R160, PLAIN)                        \
    X(RLY_USED, LT, B, R160, PLAIN)                        \
    X(RLY_USED, GT, B, R160, PLAIN)                        \
    X(STATUS_STRNG, S_NAME, C, R160, PLAIN)                \
    X(RLY_SEL_STAT, B_MUX_N_1, B, FAST, PLAIN)             \
    X(RLY_SEL_LSW, A_MUX_N_1, A, FAST, PLAIN)              \
    X(LSW_CALC, B_OUT_1, B, FAST, PLAIN)                   \
    X(LSW_CALC, B_OUT_2, B, FAST, PLAIN)                   \
    X(LSW_CALC, ALM, B, FAST, PLAIN)                       \
    X(LSW_CALC, A_OUT_1, A, FAST, PLAIN)                   \
    X(LSW_CALC, I_OUT_1, I, FAST, PLAIN)                   \
    X(LSW_CALC_NOT_USED, B_SW, B, FAST, PLAIN)             \
    X(RLY_OPTIONS, B_SW, B, FAST, PLAIN)                   \
    X(RLY_INVERT, XOR, B, FAST, PLAIN)                     \
    X(RLY_OUT, B_SW, B, FAST, PLAIN, R160)                 \
    X(ENERGIZE_CMD, B_NAME, B, FAST, PLAIN)

// Port aliases of instance M named OUTER.
#define RELAY_CHANNEL_PORTS(X, OUTER, M) \
    X(OUTER ".FUNCT_C " M ".RLY_FUNCT.IN") \
    X(OUTER ".USE_LVL_SW_C " M ".USE_LVL_SW.IN") \
    X(OUTER ".LVL_SW_FUNCT_C " M ".LVL_SW_FUNCT.IN") \
    X(OUTER ".INVERT_C " M ".INVERT.IN") \
    X(OUTER ".TAG_C " M ".RLY_TAG.IN") \
    X(OUTER ".ENA_FORCING_IN " M ".ENA_FORCING.IN") \
    X(OUTER ".FORCE_STATE_IN " M ".QT_FORCE_STATE.VAR") \
    X(OUTER ".DIS_FORCING_IN " M ".DIS_FORCING.IN") \
    X(OUTER ".LVL_ON_C " M ".LVL_ON.IN") \
    X(OUTER ".LVL_OFF_C " M ".LVL_OFF.IN") \
    X(OUTER ".ENERGIZE_CMD_OUT " M ".ENERGIZE_CMD.B_NAME") \
    X(OUTER ".STATUS_STRNG_OUT " M ".STATUS_STRNG.S_NAME") \
    X(OUTER ".FUNCT_INT_OUT " M ".FUNCT_INT.I_NAME") \
    X(OUTER ".FUNCT_STRNG_OUT " M ".FUNCT_STRNG.S_NAME") \
    X(OUTER ".USE_LVL_SW_OUT " M ".OUT_USE_LVL_SW.B_NAME") \
    X(OUTER ".LVL_SW_FUNCT_OUT " M ".OUT_LVL_SW_FUNCT.I_NAME") \
    X(OUTER ".LVL_FUNCT_STRNG_OUT " M ".LVL_FUNCT_STRNG.S_NAME") \
    X(OUTER ".RLY_TAG_S_NAME " M ".RLY_TAG.S_NAME") \
    X(OUTER ".FORCE_ACTIVE_OUT " M ".FRC_ENBLD.LATCH_R")

#define _ub21_CELLS(X) RELAY_CHANNEL_ROWS(X, R10, 3, "Relay 02")
#define _ub21_ALIASES(X) RELAY_CHANNEL_PORTS(X, "CNFG_BO.RELAY_02", "_ub21")
CAT_USER_BLOCK(_ub21, "CNFG_BO.RELAY_02", _ub21_ALIASES)
#define _ub22_CELLS(X) RELAY_CHANNEL_ROWS(X, R10, 1, "Relay 03")
#define _ub22_ALIASES(X) RELAY_CHANNEL_PORTS(X, "CNFG_BO.RELAY_03", "_ub22")
CAT_USER_BLOCK(_ub22, "CNFG_BO.RELAY_03", _ub22_ALIASES)
#define _ub23_CELLS(X) RELAY_CHANNEL_ROWS(X, R10, 1, "Relay 04")
#define _ub23_ALIASES(X) RELAY_CHANNEL_PORTS(X, "CNFG_BO.RELAY_04", "_ub23")
CAT_USER_BLOCK(_ub23, "CNFG_BO.RELAY_04", _ub23_ALIASES)

#define _ub75_CELLS(X) RELAY_CHANNEL_ROWS(X, R40, 1, "VL5 Relay 01")
#define _ub75_ALIASES(X) RELAY_CHANNEL_PORTS(X, "VL5_BO.RELAY_01", "_ub75")
CAT_USER_BLOCK(_ub75, "VL5_BO.RELAY_01", _ub75_ALIASES)
#define _ub76_CELLS(X) RELAY_CHANNEL_ROWS(X, R40, 1, "VL5 Relay 02")
#define _ub76_ALIASES(X) RELAY_CHANNEL_PORTS(X, "VL5_BO.RELAY_02", "_ub76")
CAT_USER_BLOCK(_ub76, "VL5_BO.RELAY_02", _ub76_ALIASES)
#define _ub77_CELLS(X) RELAY_CHANNEL_ROWS(X, R40, 1, "VL5 Relay 03")
#define _ub77_ALIASES(X) RELAY_CHANNEL_PORTS(X, "VL5_BO.RELAY_03", "_ub77")
CAT_USER_BLOCK(_ub77, "VL5_BO.RELAY_03", _ub77_ALIASES)
#define _ub78_CELLS(X) RELAY_CHANNEL_ROWS(X, R40, 1, "VL5 Relay 04")
#define _ub78_ALIASES(X) RELAY_CHANNEL_PORTS(X, "VL5_BO.RELAY_04", "_ub78")
CAT_USER_BLOCK(_ub78, "VL5_BO.RELAY_04", _ub78_ALIASES)
#define _ub79_CELLS(X) RELAY_CHANNEL_ROWS(X, R40, 1, "VL5 Relay 05")
#define _ub79_ALIASES(X) RELAY_CHANNEL_PORTS(X, "VL5_BO.RELAY_05", "_ub79")
CAT_USER_BLOCK(_ub79, "VL5_BO.RELAY_05", _ub79_ALIASES)
#define _ub80_CELLS(X) RELAY_CHANNEL_ROWS(X, R40, 1, "VL5 Relay 06")
#define _ub80_ALIASES(X) RELAY_CHANNEL_PORTS(X, "VL5_BO.RELAY_06", "_ub80")
CAT_USER_BLOCK(_ub80, "VL5_BO.RELAY_06", _ub80_ALIASES)
#define _ub81_CELLS(X) RELAY_CHANNEL_ROWS(X, R40, 1, "VL5 Relay 07")
#define _ub81_ALIASES(X) RELAY_CHANNEL_PORTS(X, "VL5_BO.RELAY_07", "_ub81")
CAT_USER_BLOCK(_ub81, "VL5_BO.RELAY_07", _ub81_ALIASES)
#define _ub82_CELLS(X) RELAY_CHANNEL_ROWS(X, R40, 1, "VL5 Relay 08")
#define _ub82_ALIASES(X) RELAY_CHANNEL_PORTS(X, "VL5_BO.RELAY_08", "_ub82")
CAT_USER_BLOCK(_ub82, "VL5_BO.RELAY_08", _ub82_ALIASES)
#define _ub83_CELLS(X) RELAY_CHANNEL_ROWS(X, R40, 1, "VL5 Relay 09")
#define _ub83_ALIASES(X) RELAY_CHANNEL_PORTS(X, "VL5_BO.RELAY_09", "_ub83")
CAT_USER_BLOCK(_ub83, "VL5_BO.RELAY_09", _ub83_ALIASES)
#define _ub84_CELLS(X) RELAY_CHANNEL_ROWS(X, R40, 1, "VL5 Relay 10")
#define _ub84_ALIASES(X) RELAY_CHANNEL_PORTS(X, "VL5_BO.RELAY_10", "_ub84")
CAT_USER_BLOCK(_ub84, "VL5_BO.RELAY_10", _ub84_ALIASES)
#define _ub85_CELLS(X) RELAY_CHANNEL_ROWS(X, R40, 1, "VL5 Relay 11")
#define _ub85_ALIASES(X) RELAY_CHANNEL_PORTS(X, "VL5_BO.RELAY_11", "_ub85")
CAT_USER_BLOCK(_ub85, "VL5_BO.RELAY_11", _ub85_ALIASES)
#define _ub86_CELLS(X) RELAY_CHANNEL_ROWS(X, R40, 1, "VL5 Relay 12")
#define _ub86_ALIASES(X) RELAY_CHANNEL_PORTS(X, "VL5_BO.RELAY_12", "_ub86")
CAT_USER_BLOCK(_ub86, "VL5_BO.RELAY_12", _ub86_ALIASES)
#define _ub87_CELLS(X) RELAY_CHANNEL_ROWS(X, R40, 1, "VL5 Relay 13")
#define _ub87_ALIASES(X) RELAY_CHANNEL_PORTS(X, "VL5_BO.RELAY_13", "_ub87")
CAT_USER_BLOCK(_ub87, "VL5_BO.RELAY_13", _ub87_ALIASES)
#define _ub88_CELLS(X) RELAY_CHANNEL_ROWS(X, R40, 1, "VL5 Relay 14")
#define _ub88_ALIASES(X) RELAY_CHANNEL_PORTS(X, "VL5_BO.RELAY_14", "_ub88")
CAT_USER_BLOCK(_ub88, "VL5_BO.RELAY_14", _ub88_ALIASES)
#define _ub89_CELLS(X) RELAY_CHANNEL_ROWS(X, R40, 1, "VL5 Relay 15")
#define _ub89_ALIASES(X) RELAY_CHANNEL_PORTS(X, "VL5_BO.RELAY_15", "_ub89")
CAT_USER_BLOCK(_ub89, "VL5_BO.RELAY_15", _ub89_ALIASES)
#define _ub90_CELLS(X) RELAY_CHANNEL_ROWS(X, R40, 1, "VL5 Relay 16")
#define _ub90_ALIASES(X) RELAY_CHANNEL_PORTS(X, "VL5_BO.RELAY_16", "_ub90")
CAT_USER_BLOCK(_ub90, "VL5_BO.RELAY_16", _ub90_ALIASES)

// Channel index of the pieces below: controller relays 2 .. 4 are 0 .. 2
// (_ub21 .. _ub23), remote relay k (1 .. 16) is 2 + k (_ub74 + k).
constexpr int kRelayChannels = 19;
constexpr int kRelayControllerChannels = 3;

namespace r10 {
// Run part of controller relay channel k (0 .. 2): the selections (function
// state, analog value, level switch, options) and the output (inversion,
// forcing, energise command and the relay block's display and readback fault).
void RELAY_CHANNEL_select(int k);
void RELAY_CHANNEL_output(int k);
}  // namespace r10

namespace r40 {
// Run part of remote relay channel k (3 .. 18), the same halves; the output
// drives the node's output block (held off under the I/O lock).
void RELAY_CHANNEL_select(int k);
void RELAY_CHANNEL_output(int k);
}  // namespace r40

namespace r160 {
// Configuration part of channel k: the function number (and its number in
// force), the level-switch number and use, the forcing, inversion and texts.
void RELAY_CHANNEL_function(int k);
void RELAY_CHANNEL_level_switch(int k);
void RELAY_CHANNEL_settings(int k);
}  // namespace r160
