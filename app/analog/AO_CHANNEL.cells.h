// The analog output channel template AO_CHANNEL, controller instances
// _ub10 .. _ub12 ("CNFG_AO.AO_01" .. "AO_03") and the remote analog node's
// instances _ub41, _ub42 ("VL1_AIO.CNFG_AO_01", "CNFG_AO_02"): configuration, commands,
// forcing with a ramped force setpoint and texts at 160 ms; signal
// selection, scaling to mA, limiting, force transfer and the readback alarm
// at 20 ms (the hardware stage in between is CNFG_AO's). The pieces read
// each other's values only through the copies.
#pragma once

#include "runtime/catalogue.h"

#define AO_CHANNEL_ROWS(X, TAG_TEXT, KIND) \
    X(FUNCT, IN, I, R160, TUNE(1, 1, 20))                      \
    X(FUNCTION, TUNE, I, R160, TUNE(1, 1, 42))                 \
    X(RANGE_HI, IN, A, R160, TUNE(100.0, -1e38, 1e38))         \
    X(RANGE_LO, IN, A, R160, TUNE(0.0, -1e38, 1e38))           \
    X(MAX, TUNE, A, R160, TUNE(100.0, -1e38, 1e38))            \
    X(MIN, TUNE, A, R160, TUNE(0.0, -1e38, 1e38))              \
    X(CHAN_HI, IN, A, R160, TUNE(25.0, 0.0, 25.0))             \
    X(CHAN_HI, A_NAME, A, R160, PLAIN, R20)                    \
    X(CHAN_LO, IN, A, R160, TUNE(0.0, 0.0, 25.0))              \
    X(CHAN_LO, A_NAME, A, R160, PLAIN, R20)                    \
    X(ENBL_RDBK_FLT, IN, B, R160, TUNE(true))                  \
    X(ENBL_RDBK_FLT, B_NAME, B, R160, PLAIN, R20)              \
    X(FORCE_EN, IN, B, R160, TUNE(false))                      \
    X(FORCE_DIS, IN, B, R160, TUNE(false))                     \
    X(ENTR_SETPT, TUNE, A, R160, TUNE(4.0, 0.0, 25.0))         \
    X(ENTR_SETPT, ENBL_ENTER, B, R160, TUNE(true))             \
    X(FRC_LWR, ACT_Q, I, R160, TUNE(2, 1, 8))                  \
    X(FRC_RSE, ACT_Q, I, R160, TUNE(2, 1, 8))                  \
    X(GOTO_CMD, ACT_Q, I, R160, TUNE(2, 1, 8))                 \
    X(NO_MOM_RST, DLY_TIME, A, R160, TUNE(0.1, 0.0, 5.0))      \
    X(NO_MOM_LWR_RST, DLY_TIME, A, R160, TUNE(0.1, 0.0, 5.0))  \
    X(GOTO_VAL_SAMP, DLY_TIME, A, R160, TUNE(0.32, 0.0, 5.0))  \
    X(RST_FRC, DLY_TIME, A, R160, TUNE(0.5, 0.01, 10.0))       \
    X(AO_MOD_X, IN, I, R160, TUNE(3, 1, 5))                    \
    X(TAG, IN, C, R160, TUNE(TAG_TEXT))                        \
    X(ENG_UNITS, IN, C, R160, TUNE("Eng Units"))               \
    X(COMMANDS, IN_1, B, R160, SVC_IN)                         \
    X(COMMANDS, IN_2, B, R160, SVC_IN)                         \
    X(COMMANDS, IN_3, B, R160, SVC_IN)                         \
    X(COMMANDS, IN_4, B, R160, SVC_IN)                         \
    X(COMMANDS, IN_5, B, R160, SVC_IN)                         \
    X(COMMANDS, OUT_1, B, R160, PLAIN)                         \
    X(COMMANDS, OUT_2, B, R160, PLAIN)                         \
    X(COMMANDS, OUT_3, B, R160, PLAIN)                         \
    X(COMMANDS, OUT_4, B, R160, PLAIN)                         \
    X(COMMANDS, OUT_5, B, R160, PLAIN)                         \
    X(CNFG_ENBL, B_NAME, B, R160, PLAIN)                       \
    X(SAMPLE_PULSE, B_NAME, B, R160, PLAIN)                    \
    X(WIZ_ENA, B_NAME, B, R160, PLAIN, R20)                    \
    X(WIZ_FUNCT, I_NAME, I, R160, PLAIN, R20)                  \
    X(FUNCT, I_NAME, I, R160, PLAIN, R20)                      \
    X(MAX, SAMP_TUNE, A, R160, PLAIN)                          \
    X(MAX, LIMITED, B, R160, PLAIN)                            \
    X(MAX, EN_ENT_OUT, B, R160, PLAIN)                         \
    X(MAX, LO_LIM_OUT, A, R160, PLAIN)                         \
    X(MAX, HI_LIM_OUT, A, R160, PLAIN)                         \
    X(MIN, SAMP_TUNE, A, R160, PLAIN)                          \
    X(MIN, LIMITED, B, R160, PLAIN)                            \
    X(MIN, EN_ENT_OUT, B, R160, PLAIN)                         \
    X(MIN, LO_LIM_OUT, A, R160, PLAIN)                         \
    X(MIN, HI_LIM_OUT, A, R160, PLAIN)                         \
    X(RANGE_HIGH, A_NAME, A, R160, PLAIN, R20)                 \
    X(RANGE_LOW, A_NAME, A, R160, PLAIN, R20)                  \
    X(FUNCTION, SAMP_ITUNE, I, R160, PLAIN, R20)               \
    X(FUNCTION, LIMITED, B, R160, PLAIN)                       \
    X(FUNCTION, EN_ENT_OUT, B, R160, PLAIN)                    \
    X(FUNCTION, LO_LIM_OUT, I, R160, PLAIN)                    \
    X(FUNCTION, HI_LIM_OUT, I, R160, PLAIN)                    \
    X(FUNCT_INT, I_NAME, I, R160, PLAIN)                       \
    X(USED, EQ, B, R160, PLAIN)                                \
    X(USED, LT, B, R160, PLAIN)                                \
    X(USED, GT, B, R160, PLAIN, R20)                           \
    X(DISABL, B_NAME, B, R160, PLAIN)                          \
    X(ENABL, B_NAME, B, R160, PLAIN)                           \
    X(FORCE_EN, B_NAME, B, R160, PLAIN)                        \
    X(FORCE_FINH, B_NAME, B, R160, PLAIN, R20)                 \
    X(NOT_INH, NOT, B, R160, PLAIN)                            \
    X(FRC_EN, AND, B, R160, PLAIN)                             \
    X(FORCE_DIS, B_NAME, B, R160, PLAIN)                       \
    X(FRC_DIS, OR, B, R160, PLAIN)                             \
    X(FRC_ENBL, LATCH_R, B, R160, PLAIN, R20)                  \
    X(ENTR_SETPT, SAMP_TUNE, A, R160, PLAIN)                   \
    X(ENTR_SETPT, LIMITED, B, R160, PLAIN)                     \
    X(ENTR_SETPT, EN_ENT_OUT, B, R160, PLAIN)                  \
    X(ENTR_SETPT, LO_LIM_OUT, A, R160, PLAIN)                  \
    X(ENTR_SETPT, HI_LIM_OUT, A, R160, PLAIN)                  \
    X(GOTO_VAL_SAMP, ONE_SHOT, B, R160, PLAIN)                 \
    X(GOTO_VAL_SAMP, R_TIME, I, R160, PLAIN)                   \
    X(ENTR_SETPT_A_SW, A_SW, A, R160, PLAIN)                   \
    X(FDBK, I_TO_STR, C, R160, PLAIN)                          \
    X(FUNCT_STRG, S_NAME, C, R160, PLAIN)                      \
    X(TAG, S_NAME, C, R160, PLAIN)                             \
    X(ENG_UNITS, S_NAME, C, R160, PLAIN)                       \
    X(FORCE_ACTIVE, B_NAME, B, R160, PLAIN)                    \
    X(FORCE_RATE, A_NAME, A, R160, PLAIN)                      \
    X(FRC_NOT, NOT, B, R160, PLAIN)                            \
    X(NO_MOM_LWR, NOT, B, R160, PLAIN)                         \
    X(NO__MOM_RSE, NOT, B, R160, PLAIN)                        \
    X(RST_FRC, ONE_SHOT, B, R160, PLAIN)                       \
    X(RST_FRC, R_TIME, I, R160, PLAIN)                         \
    X(NO_MOM_LWR_RST, ONE_SHOT, B, R160, PLAIN)                \
    X(NO_MOM_LWR_RST, R_TIME, I, R160, PLAIN)                  \
    X(NO_MOM_RST, ONE_SHOT, B, R160, PLAIN)                    \
    X(NO_MOM_RST, R_TIME, I, R160, PLAIN)                      \
    X(LWR_CMD, OR, B, R160, PLAIN)                             \
    X(RSE_CMD, OR, B, R160, PLAIN)                             \
    X(FRC_LWR, B_ACTION, B, R160, PLAIN)                       \
    X(FRC_LWR, ACT_OUT, I, R160, PLAIN)                        \
    X(FRC_LWR, E_TIME, A, R160, PLAIN)                         \
    X(FRC_LWR, R_TIME, A, R160, PLAIN)                         \
    X(FRC_RSE, B_ACTION, B, R160, PLAIN)                       \
    X(FRC_RSE, ACT_OUT, I, R160, PLAIN)                        \
    X(FRC_RSE, E_TIME, A, R160, PLAIN)                         \
    X(FRC_RSE, R_TIME, A, R160, PLAIN)                         \
    X(GOTO_CMD, B_ACTION, B, R160, PLAIN)                      \
    X(GOTO_CMD, ACT_OUT, I, R160, PLAIN)                       \
    X(GOTO_CMD, E_TIME, A, R160, PLAIN)                        \
    X(GOTO_CMD, R_TIME, A, R160, PLAIN)                        \
    X(LWR_RT_ENBL, AND, B, R160, PLAIN)                        \
    X(FRC_RATE_OR, OR, B, R160, PLAIN)                         \
    X(FORCE_SETPT, RAMP, A, R160, PLAIN, R20)                  \
    X(FORCE_SETPT, REV_RAMP, A, R160, PLAIN)                   \
    X(FORCE_SETPT, MOVING_UP, B, R160, PLAIN)                  \
    X(FORCE_SETPT, MOVING_DN, B, R160, PLAIN)                  \
    X(FORCE_SETPT, POS_SEL, I, R160, PLAIN)                    \
    X(FORCE_SETPT, P_LIM_1, B, R160, PLAIN)                    \
    X(FORCE_SETPT, P_LIM_2, B, R160, PLAIN)                    \
    X(FORCE_SETPT, P_LIM_3, B, R160, PLAIN)                    \
    X(P_LIM_1_DLY, ZMINUS1_B, B, R160, PLAIN)                  \
    X(P_LIM_2_DLY, ZMINUS1_B, B, R160, PLAIN)                  \
    X(P_LIM_3_DLY, ZMINUS1_B, B, R160, PLAIN)                  \
    X(GOTO_CMD_DLY, ZMINUS1_B, B, R160, PLAIN)                 \
    X(AO_MOD_X, I_NAME, I, R160, PLAIN)                        \
    X(AO_MOD_SCALE, A_MUX_N_1, A, R160, PLAIN)                 \
    X(MOD_MULT, A_NAME, A, R160, PLAIN, KIND##_NODE_READERS)   \
    X(AO_SW, I_SW, I, R20, PLAIN, R160)                        \
    X(SEL, A_MUX_N_1, A, R20, PLAIN)                           \
    X(VAL, A_NAME, A, R20, PLAIN, KIND##_VAL_READERS)          \
    X(OUTPUT, CALCULATE, A, R20, PLAIN)                        \
    X(OUTPUT, ALM, B, R20, PLAIN)                              \
    X(CHAN, A_LIMITER, A, R20, PLAIN)                          \
    X(FORCE, FRC, B, R20, PLAIN, R160)                         \
    X(FORCE, AO_FORCE, A, R20, PLAIN)                          \
    X(MA_SIGNAL, A_NAME, A, R20, PLAIN)                        \
    X(CHN_RDBK_FLT, B_NAME, B, R20, PLAIN)                     \
    X(RDBK_FLT_ENBL, AND, B, R20, PLAIN)                       \
    X(DBK_FLT, B_NAME, B, R20, PLAIN, KIND##_NODE_READERS)

// A chassis output's value goes to the 160 ms function routing and the 80 ms
// relay level switches; a remote output's readback fault and Modbus
// multiplier go to the node's 80 ms lists.
#define AO_CHANNEL_CHASSIS_VAL_READERS R160, R80
#define AO_CHANNEL_CHASSIS_NODE_READERS
#define AO_CHANNEL_REMOTE_VAL_READERS
#define AO_CHANNEL_REMOTE_NODE_READERS R80

// The remote instances' own wizard enable and wizard function.
#define AO_CHANNEL_REMOTE_ROWS(X)                              \
    X(WIZ_ENA, IN, B, R160, TUNE(false))                       \
    X(WIZ_FUNCT, IN, I, R160, TUNE(1, 1, 20))

// The output port that the data log names by its outside name.
#define AO_CHANNEL_PORTS(X, OUTER, M) X(OUTER ".MA_SIGNAL_OUT " M ".MA_SIGNAL.A_NAME")
// The controller's own outputs also show their Modbus multiplier setting
// under its outside name.
#define AO_CHANNEL_CHASSIS_PORTS(X, OUTER, M) \
    AO_CHANNEL_PORTS(X, OUTER, M) X(OUTER ".QT_MODAO_X " M ".AO_MOD_X.IN")

#define _ub10_CELLS(X) AO_CHANNEL_ROWS(X, "AO 01 Actual Speed", AO_CHANNEL_CHASSIS)
#define _ub10_ALIASES(X) AO_CHANNEL_CHASSIS_PORTS(X, "CNFG_AO.AO_01", "_ub10")
CAT_USER_BLOCK(_ub10, "CNFG_AO.AO_01", _ub10_ALIASES)
#define _ub11_CELLS(X) AO_CHANNEL_ROWS(X, "AO 02", AO_CHANNEL_CHASSIS)
#define _ub11_ALIASES(X) AO_CHANNEL_CHASSIS_PORTS(X, "CNFG_AO.AO_02", "_ub11")
CAT_USER_BLOCK(_ub11, "CNFG_AO.AO_02", _ub11_ALIASES)
#define _ub12_CELLS(X) AO_CHANNEL_ROWS(X, "AO 03", AO_CHANNEL_CHASSIS)
#define _ub12_ALIASES(X) AO_CHANNEL_CHASSIS_PORTS(X, "CNFG_AO.AO_03", "_ub12")
CAT_USER_BLOCK(_ub12, "CNFG_AO.AO_03", _ub12_ALIASES)
#define _ub41_CELLS(X) AO_CHANNEL_ROWS(X, "VL1_AO_1", AO_CHANNEL_REMOTE) AO_CHANNEL_REMOTE_ROWS(X)
#define _ub41_ALIASES(X) AO_CHANNEL_PORTS(X, "VL1_AIO.CNFG_AO_01", "_ub41")
CAT_USER_BLOCK(_ub41, "VL1_AIO.CNFG_AO_01", _ub41_ALIASES)
#define _ub42_CELLS(X) AO_CHANNEL_ROWS(X, "VL1_AO_2", AO_CHANNEL_REMOTE) AO_CHANNEL_REMOTE_ROWS(X)
#define _ub42_ALIASES(X) AO_CHANNEL_PORTS(X, "VL1_AIO.CNFG_AO_02", "_ub42")
CAT_USER_BLOCK(_ub42, "VL1_AIO.CNFG_AO_02", _ub42_ALIASES)

// Instance k: 0 .. 2 for the controller's _ub10 .. _ub12, then 3 and 4 for
// the remote node's _ub41 and _ub42.
constexpr int kAoChannels = 3;
constexpr int kAoFirstRemote = 3;
constexpr int kAoAllChannels = 5;

// The service interface wrote command input n (1 .. 5) of instance k: a 1
// restarts the command's 60 s, a 0 ends it on the next pass.
void AO_CHANNEL_command_written(int k, int n, uint32_t value);
// Block initialisation: every channel's commands over.
void AO_CHANNEL_init_blks();

namespace r20 {
// Run part before the hardware stage: selection, scaling, limit, forcing.
void AO_CHANNEL_signal(int k);
// Run part after the hardware stage: the readback alarm.
void AO_CHANNEL_alarm(int k);
}  // namespace r20

namespace r160 {
// Configuration part: range, commands, function, forcing, texts, command
// blocks, force setpoint and Modbus scale.
void AO_CHANNEL_config(int k);
}  // namespace r160
