// The discrete input channel template BI_CHANNEL: 24 instances, the eight
// controller inputs (_ub13 .. _ub20, "CNFG_BI.BI_01" .. "BI_08", fast part at
// 10 ms) and the sixteen inputs of the remote discrete-input node (_ub59 ..
// _ub74, "VL4_BI.BI_1" .. "BI_16", fast part at 20 ms). The configuration
// part runs at 160 ms; the fast part reads it only through the up copies.
#pragma once

#include "runtime/catalogue.h"

// Rows of one instance. FAST is the group of the fast part; WIZ(X) adds the
// instance's own wizard enable ("CNFG_BI.BI_03" only).
#define BI_CHANNEL_ROWS(X, FAST, FUNCT_DEF, INVERT_DEF, TAG_TEXT, USAGE_TEXT, WIZ) \
    X(FUNCT, IN, I, R160, TUNE(FUNCT_DEF, 1, 31))                                  \
    X(FUNCT, I_NAME, I, R160, PLAIN)                                               \
    X(WIZ_ENA, B_NAME, B, R160, PLAIN)                                             \
    WIZ(X)                                                                         \
    X(WIZ_FUNCT, I_NAME, I, R160, PLAIN)                                           \
    X(BI_SW, I_SW, I, R160, PLAIN)                                                 \
    X(SAMPLE_PULSE, B_NAME, B, R160, PLAIN)                                        \
    X(ENA_CONFIG, B_NAME, B, R160, PLAIN)                                          \
    X(ENA_CNFG_NOT, NOT, B, R160, PLAIN)                                           \
    X(BI_FUNCTION, TUNE, I, R160, TUNE(1, 1, 31))                                  \
    X(BI_FUNCTION, SAMP_ITUNE, I, R160, PLAIN, FAST)                               \
    X(BI_FUNCTION, LIMITED, B, R160, PLAIN)                                        \
    X(BI_FUNCTION, EN_ENT_OUT, B, R160, PLAIN)                                     \
    X(BI_FUNCTION, LO_LIM_OUT, I, R160, PLAIN)                                     \
    X(BI_FUNCTION, HI_LIM_OUT, I, R160, PLAIN)                                     \
    X(FUNCT_INT, I_NAME, I, R160, PLAIN, BI_CHANNEL_FUNCT_INT_READERS_##FAST)      \
    X(BI_USED, EQ, B, R160, PLAIN)                                                 \
    X(BI_USED, LT, B, R160, PLAIN)                                                 \
    X(BI_USED, GT, B, R160, PLAIN)                                                 \
    X(BI_FUN_STRG, I_TO_STR, C, R160, PLAIN)                                       \
    X(GT_FUNC, IN_2, I, R160, TUNE(14, 1, 30))                                     \
    X(GT_FUNC, EQ, B, R160, PLAIN)                                                 \
    X(GT_FUNC, LT, B, R160, PLAIN)                                                 \
    X(GT_FUNC, GT, B, R160, PLAIN)                                                 \
    X(LR_FUNC, IN_2, I, R160, TUNE(19, 1, 30))                                     \
    X(LR_FUNC, EQ, B, R160, PLAIN)                                                 \
    X(LR_FUNC, LT, B, R160, PLAIN)                                                 \
    X(LR_FUNC, GT, B, R160, PLAIN)                                                 \
    X(DI_TS_FUNC_RANGE, AND, B, R160, PLAIN, FAST)                                 \
    X(INVRT, IN, B, R160, TUNE(INVERT_DEF))                                        \
    X(INVRT, B_NAME, B, R160, PLAIN)                                               \
    X(INV_NOT, NOT, B, R160, PLAIN)                                                \
    X(ENBL_RST, AND, B, R160, PLAIN)                                               \
    X(INV_INH, B_ACTION, B, R160, PLAIN)                                           \
    X(INV_INH, ACT_OUT, I, R160, PLAIN)                                            \
    X(INV_INH, E_TIME, A, R160, PLAIN)                                             \
    X(INV_INH, R_TIME, A, R160, PLAIN)                                             \
    X(INVERTED, LATCH, B, R160, PLAIN, FAST)                                       \
    X(TAG, IN, C, R160, TUNE(TAG_TEXT))                                            \
    X(TAG, S_NAME, C, R160, PLAIN)                                                 \
    X(USAGE, IN, C, R160, TUNE(USAGE_TEXT))                                        \
    X(USAGE, S_NAME, C, R160, PLAIN)                                               \
    X(ESTOP, EQ, B, FAST, PLAIN)                                                   \
    X(ESTOP, LT, B, FAST, PLAIN)                                                   \
    X(ESTOP, GT, B, FAST, PLAIN)                                                   \
    X(DI_TS_FUNC_RANGE_OR, IN_3, B, FAST, TUNE(false))                             \
    X(DI_TS_FUNC_RANGE_OR, OR, B, FAST, PLAIN)                                     \
    X(SIGNAL, B_NAME, B, FAST, PLAIN)                                              \
    X(BI_ACTIV, XOR, B, FAST, PLAIN)                                               \
    X(BI_SIGNAL, B_NAME, B, FAST, PLAIN)

// The function number in force goes to the 10 ms contact routing for a
// controller input; a remote input's reaches it through the node's 160 ms
// function list instead.
#define BI_CHANNEL_FUNCT_INT_READERS_R10 R10
#define BI_CHANNEL_FUNCT_INT_READERS_R20

#define BI_CHANNEL_NO_WIZ(X)
#define BI_CHANNEL_OWN_WIZ(X) X(WIZ_ENA, IN, B, R160, TUNE(true))

// Port aliases of instance M named OUTER. The function port names a
// display-side variable that has no cell here.
#define BI_CHANNEL_PORTS(X, OUTER, M)                              \
    X(OUTER ".FUNCT_C " M ".QT_BI_FUNCT.VAR")                      \
    X(OUTER ".INVRT_IN " M ".INVRT.IN")                            \
    X(OUTER ".TAG_C " M ".TAG.IN")                                 \
    X(OUTER ".USAGE_C " M ".USAGE.IN")                             \
    X(OUTER ".SIGNAL_OUT " M ".BI_SIGNAL.B_NAME")                  \
    X(OUTER ".IS_USED_OUT " M ".BI_USED.GT")                       \
    X(OUTER ".FUNCT_INT_OUT " M ".FUNCT_INT.I_NAME")               \
    X(OUTER ".FUNCT_STRING_OUT " M ".BI_FUN_STRG.I_TO_STR")        \
    X(OUTER ".TAG_OUT " M ".TAG.S_NAME")                           \
    X(OUTER ".USAGE_OUT " M ".USAGE.S_NAME")                       \
    X(OUTER ".USE_DI_TS_FUNC " M ".DI_TS_FUNC_RANGE_OR.OR")
#define BI_CHANNEL_WIZ_PORT(X, OUTER, M) X(OUTER ".WIZ_ENA_IN " M ".WIZ_ENA.IN")

#define _ub13_CELLS(X) BI_CHANNEL_ROWS(X, R10, 2, false, "Contact BI01", "Lower Speed Command", BI_CHANNEL_NO_WIZ)
#define _ub13_ALIASES(X) BI_CHANNEL_PORTS(X, "CNFG_BI.BI_01", "_ub13")
CAT_USER_BLOCK(_ub13, "CNFG_BI.BI_01", _ub13_ALIASES)
#define _ub14_CELLS(X) BI_CHANNEL_ROWS(X, R10, 3, false, "Contact BI02", "Raise Speed Command", BI_CHANNEL_NO_WIZ)
#define _ub14_ALIASES(X) BI_CHANNEL_PORTS(X, "CNFG_BI.BI_02", "_ub14")
CAT_USER_BLOCK(_ub14, "CNFG_BI.BI_02", _ub14_ALIASES)
#define _ub15_CELLS(X) BI_CHANNEL_ROWS(X, R10, 4, true, "Contact BI03", "External TRIP", BI_CHANNEL_OWN_WIZ)
#define _ub15_ALIASES(X) BI_CHANNEL_PORTS(X, "CNFG_BI.BI_03", "_ub15") BI_CHANNEL_WIZ_PORT(X, "CNFG_BI.BI_03", "_ub15")
CAT_USER_BLOCK(_ub15, "CNFG_BI.BI_03", _ub15_ALIASES)
#define _ub16_CELLS(X) BI_CHANNEL_ROWS(X, R10, 5, false, "Contact BI04", "Start", BI_CHANNEL_NO_WIZ)
#define _ub16_ALIASES(X) BI_CHANNEL_PORTS(X, "CNFG_BI.BI_04", "_ub16")
CAT_USER_BLOCK(_ub16, "CNFG_BI.BI_04", _ub16_ALIASES)
#define _ub17_CELLS(X) BI_CHANNEL_ROWS(X, R10, 6, false, "Contact BI05", "Reset", BI_CHANNEL_NO_WIZ)
#define _ub17_ALIASES(X) BI_CHANNEL_PORTS(X, "CNFG_BI.BI_05", "_ub17")
CAT_USER_BLOCK(_ub17, "CNFG_BI.BI_05", _ub17_ALIASES)
#define _ub18_CELLS(X) BI_CHANNEL_ROWS(X, R10, 7, false, "Contact BI06", "Idle/Go to MinGov", BI_CHANNEL_NO_WIZ)
#define _ub18_ALIASES(X) BI_CHANNEL_PORTS(X, "CNFG_BI.BI_06", "_ub18")
CAT_USER_BLOCK(_ub18, "CNFG_BI.BI_06", _ub18_ALIASES)
#define _ub19_CELLS(X) BI_CHANNEL_ROWS(X, R10, 1, false, "Contact BI07", "Enable Rmt Spd SP", BI_CHANNEL_NO_WIZ)
#define _ub19_ALIASES(X) BI_CHANNEL_PORTS(X, "CNFG_BI.BI_07", "_ub19")
CAT_USER_BLOCK(_ub19, "CNFG_BI.BI_07", _ub19_ALIASES)
#define _ub20_CELLS(X) BI_CHANNEL_ROWS(X, R10, 1, false, "Contact BI08", "Select Online DYN", BI_CHANNEL_NO_WIZ)
#define _ub20_ALIASES(X) BI_CHANNEL_PORTS(X, "CNFG_BI.BI_08", "_ub20")
CAT_USER_BLOCK(_ub20, "CNFG_BI.BI_08", _ub20_ALIASES)

// Remote input N (1 .. 16) is module M.
#define BI_CHANNEL_REMOTE(M, N)                                                                       \
    CAT_USER_BLOCK(M, "VL4_BI.BI_" #N, M##_ALIASES)
#define BI_CHANNEL_REMOTE_ROWS(X, N) \
    BI_CHANNEL_ROWS(X, R20, 1, false, "Contact VL4_BI" #N, "Not Used", BI_CHANNEL_NO_WIZ)

#define _ub59_CELLS(X) BI_CHANNEL_REMOTE_ROWS(X, 1)
#define _ub59_ALIASES(X) BI_CHANNEL_PORTS(X, "VL4_BI.BI_1", "_ub59")
BI_CHANNEL_REMOTE(_ub59, 1)
#define _ub60_CELLS(X) BI_CHANNEL_REMOTE_ROWS(X, 10)
#define _ub60_ALIASES(X) BI_CHANNEL_PORTS(X, "VL4_BI.BI_10", "_ub60")
BI_CHANNEL_REMOTE(_ub60, 10)
#define _ub61_CELLS(X) BI_CHANNEL_REMOTE_ROWS(X, 11)
#define _ub61_ALIASES(X) BI_CHANNEL_PORTS(X, "VL4_BI.BI_11", "_ub61")
BI_CHANNEL_REMOTE(_ub61, 11)
#define _ub62_CELLS(X) BI_CHANNEL_REMOTE_ROWS(X, 12)
#define _ub62_ALIASES(X) BI_CHANNEL_PORTS(X, "VL4_BI.BI_12", "_ub62")
BI_CHANNEL_REMOTE(_ub62, 12)
#define _ub63_CELLS(X) BI_CHANNEL_REMOTE_ROWS(X, 13)
#define _ub63_ALIASES(X) BI_CHANNEL_PORTS(X, "VL4_BI.BI_13", "_ub63")
BI_CHANNEL_REMOTE(_ub63, 13)
#define _ub64_CELLS(X) BI_CHANNEL_REMOTE_ROWS(X, 14)
#define _ub64_ALIASES(X) BI_CHANNEL_PORTS(X, "VL4_BI.BI_14", "_ub64")
BI_CHANNEL_REMOTE(_ub64, 14)
#define _ub65_CELLS(X) BI_CHANNEL_REMOTE_ROWS(X, 15)
#define _ub65_ALIASES(X) BI_CHANNEL_PORTS(X, "VL4_BI.BI_15", "_ub65")
BI_CHANNEL_REMOTE(_ub65, 15)
#define _ub66_CELLS(X) BI_CHANNEL_REMOTE_ROWS(X, 16)
#define _ub66_ALIASES(X) BI_CHANNEL_PORTS(X, "VL4_BI.BI_16", "_ub66")
BI_CHANNEL_REMOTE(_ub66, 16)
#define _ub67_CELLS(X) BI_CHANNEL_REMOTE_ROWS(X, 2)
#define _ub67_ALIASES(X) BI_CHANNEL_PORTS(X, "VL4_BI.BI_2", "_ub67")
BI_CHANNEL_REMOTE(_ub67, 2)
#define _ub68_CELLS(X) BI_CHANNEL_REMOTE_ROWS(X, 3)
#define _ub68_ALIASES(X) BI_CHANNEL_PORTS(X, "VL4_BI.BI_3", "_ub68")
BI_CHANNEL_REMOTE(_ub68, 3)
#define _ub69_CELLS(X) BI_CHANNEL_REMOTE_ROWS(X, 4)
#define _ub69_ALIASES(X) BI_CHANNEL_PORTS(X, "VL4_BI.BI_4", "_ub69")
BI_CHANNEL_REMOTE(_ub69, 4)
#define _ub70_CELLS(X) BI_CHANNEL_REMOTE_ROWS(X, 5)
#define _ub70_ALIASES(X) BI_CHANNEL_PORTS(X, "VL4_BI.BI_5", "_ub70")
BI_CHANNEL_REMOTE(_ub70, 5)
#define _ub71_CELLS(X) BI_CHANNEL_REMOTE_ROWS(X, 6)
#define _ub71_ALIASES(X) BI_CHANNEL_PORTS(X, "VL4_BI.BI_6", "_ub71")
BI_CHANNEL_REMOTE(_ub71, 6)
#define _ub72_CELLS(X) BI_CHANNEL_REMOTE_ROWS(X, 7)
#define _ub72_ALIASES(X) BI_CHANNEL_PORTS(X, "VL4_BI.BI_7", "_ub72")
BI_CHANNEL_REMOTE(_ub72, 7)
#define _ub73_CELLS(X) BI_CHANNEL_REMOTE_ROWS(X, 8)
#define _ub73_ALIASES(X) BI_CHANNEL_PORTS(X, "VL4_BI.BI_8", "_ub73")
BI_CHANNEL_REMOTE(_ub73, 8)
#define _ub74_CELLS(X) BI_CHANNEL_REMOTE_ROWS(X, 9)
#define _ub74_ALIASES(X) BI_CHANNEL_PORTS(X, "VL4_BI.BI_9", "_ub74")
BI_CHANNEL_REMOTE(_ub74, 9)

// Channel index of the pieces below: controller inputs 0 .. 7 (_ub13 ..
// _ub20), remote inputs 8 .. 23 (remote input n is index 7 + n).
constexpr int kBiChannels = 24;
constexpr int kBiControllerChannels = 8;

namespace r10 {
// Fast part of controller channel k (0 .. 7): ESTOP and the time-stamp
// selection; the signal after inversion (from the input block's contact).
void BI_CHANNEL_select(int k);
void BI_CHANNEL_signal(int k);
// The channel's fast-group view of its function number, its signal and
// whether its edge time stamps are wanted.
int32_t BI_CHANNEL_function(int k);
uint32_t BI_CHANNEL_signal_out(int k);
uint32_t BI_CHANNEL_use_time_stamps(int k);
}  // namespace r10

namespace r20 {
// Fast part of remote channel k (8 .. 23): the signal after inversion (from
// the node's contact); ESTOP and the time-stamp selection.
void BI_CHANNEL_signal(int k);
void BI_CHANNEL_select(int k);
// The remote channels' signals into the node's input list, by input number.
void BI_CHANNEL_node_list();
}  // namespace r20

namespace r160 {
// Configuration part of channel k: function number, used flags, texts,
// time-stamp range, inversion latch, tag and usage.
void BI_CHANNEL_configure(int k);
// The remote channels' function numbers into the node's function list.
void BI_CHANNEL_node_functions();
}  // namespace r160
