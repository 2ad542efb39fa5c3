// The actuator channel template ACT_CHANNEL, one instance _ub5 for the
// channel ACT_1 of CNFG_ACT: function, range, 0 % and 100 % currents,
// texts, commands and the force setpoint at 160 ms; readout scaling, demand
// selection, force transfer and shutdown at 10 ms, ahead of the driver stage
// in CNFG_ACT. The pieces read each other's values only through the copies.
#pragma once

#include "runtime/catalogue.h"

#define _ub5_CELLS(X) \
    X(FUNCT, IN, I, R160, TUNE(2, 1, 4))                       \
    X(ACT_FUNCTION, TUNE, I, R160, TUNE(1, 1, 4))              \
    X(HW_RANGE, IN, I, R160, TUNE(1, 1, 2))                    \
    X(ACT_RANGE_SEL, TUNE, I, R160, TUNE(1, 0, 1))             \
    X(MA_AT_0_RNG0, IN, A, R160, TUNE(4.0, 0.0, 25.0))         \
    X(MA_AT_100_RNG0, IN, A, R160, TUNE(20.0, 0.0, 25.0))      \
    X(MA_AT_0_RNG1, IN, A, R160, TUNE(0.0, -10.0, 220.0))      \
    X(MA_AT_100_RNG1, IN, A, R160, TUNE(200.0, -10.0, 220.0))  \
    X(ACT_MIN_VAL, TUNE, A, R160, TUNE(4.0, -210.0, 210.0))    \
    X(ACT_MAX_VAL, TUNE, A, R160, TUNE(20.0, -210.0, 210.0))   \
    X(ACT_DITHER, IN, A, R160, TUNE(0.0, 0.0, 100.0))          \
    X(ENTR_SETPT, TUNE, A, R160, TUNE(0.0, 0.0, 100.0))        \
    X(ENTR_SETPT, ENBL_ENTER, B, R160, TUNE(true))             \
    X(FRC_LWR, ACT_Q, I, R160, TUNE(2, 1, 8))                  \
    X(FRC_RSE, ACT_Q, I, R160, TUNE(2, 1, 8))                  \
    X(GOTO_CMD, ACT_Q, I, R160, TUNE(2, 1, 8))                 \
    X(GOTO_OS, DLY_TIME, A, R160, TUNE(0.32, 0.0, 5.0))        \
    X(NO_MOM_RST, DLY_TIME, A, R160, TUNE(0.1, 0.0, 5.0))      \
    X(NO_MOM_LWR_RST, DLY_TIME, A, R160, TUNE(0.1, 0.0, 5.0))  \
    X(RST_FRC, DLY_TIME, A, R160, TUNE(0.5, 0.01, 10.0))       \
    X(ACT_FORCE, RATE, A, R10, TUNE(1000.0, 0.25, 10000.0))    \
    X(RO_FUNCT, IN, I, R160, TUNE(1, 1, 42))                   \
    X(RO_FUNCTION, TUNE, I, R10, TUNE(1, 1, 42))               \
    X(RO_HI, IN, A, R160, TUNE(100.0, -1e38, 1e38))            \
    X(RO_LOW, IN, A, R160, TUNE(0.0, -1e38, 1e38))             \
    X(MAX, TUNE, A, R10, TUNE(100.0, -1e38, 1e38))             \
    X(MIN, TUNE, A, R10, TUNE(0.0, -1e38, 1e38))               \
    X(RO_RDBK_FLT_EN, IN, B, R160, TUNE(false))                \
    X(ACT_TAG, IN, C, R160, TUNE("ACT 01"))                    \
    X(ENG_UNITS, IN, C, R160, TUNE("Eng Units"))               \
    X(ENG_UNITS_SW, NC, C, R160, TUNE("%"))                    \
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
    X(CNFG_ENBL, B_NAME, B, R160, PLAIN, R10)                  \
    X(WIZ_ENA, B_NAME, B, R160, PLAIN, R10)                    \
    X(FUNCT, I_NAME, I, R160, PLAIN)                           \
    X(WIZ_FUNCT, I_NAME, I, R160, PLAIN)                       \
    X(ACT_SW, I_SW, I, R160, PLAIN)                            \
    X(SAMPLE_PULSE, B_NAME, B, R160, PLAIN, R10)               \
    X(ACT_FUNCTION, SAMP_ITUNE, I, R160, PLAIN, R10)           \
    X(ACT_FUNCTION, LIMITED, B, R160, PLAIN)                   \
    X(ACT_FUNCTION, EN_ENT_OUT, B, R160, PLAIN)                \
    X(ACT_FUNCTION, LO_LIM_OUT, I, R160, PLAIN)                \
    X(ACT_FUNCTION, HI_LIM_OUT, I, R160, PLAIN)                \
    X(FUNCT_INT, I_NAME, I, R160, PLAIN, R10)                  \
    X(RO_CNFG, EQ, B, R160, PLAIN)                             \
    X(RO_CNFG, LT, B, R160, PLAIN)                             \
    X(RO_CNFG, GT, B, R160, PLAIN)                             \
    X(ACT_IS_RO, B_NAME, B, R160, PLAIN)                       \
    X(RO_NOT, NOT, B, R160, PLAIN)                             \
    X(ACT_FUNC_SEL_STRG, I_TO_STR, C, R160, PLAIN)             \
    X(FUNCT_STRG, S_NAME, C, R160, PLAIN)                      \
    X(CAL_ENBL, B_NAME, B, R160, PLAIN)                        \
    X(CAL_OR_CNFG, OR, B, R160, PLAIN)                         \
    X(CAL_SMPL_PULSE, B_NAME, B, R160, PLAIN)                  \
    X(CAL_OR_CNFG_PLS, OR, B, R160, PLAIN)                     \
    X(RNG_TO_CNFG, I_SUBTRACT, I, R160, PLAIN)                 \
    X(RO_RNG_SW, I_SW, I, R160, PLAIN)                         \
    X(ACT_RANGE_SEL, SAMP_ITUNE, I, R160, PLAIN)               \
    X(ACT_RANGE_SEL, LIMITED, B, R160, PLAIN)                  \
    X(ACT_RANGE_SEL, EN_ENT_OUT, B, R160, PLAIN)               \
    X(ACT_RANGE_SEL, LO_LIM_OUT, I, R160, PLAIN)               \
    X(ACT_RANGE_SEL, HI_LIM_OUT, I, R160, PLAIN)               \
    X(RANGE, I_NAME, I, R160, PLAIN, R10)                      \
    X(ACT_CNFG_200, EQ, B, R160, PLAIN)                        \
    X(ACT_CNFG_200, LT, B, R160, PLAIN)                        \
    X(ACT_CNFG_200, GT, B, R160, PLAIN)                        \
    X(MIN_MA, A_SW, A, R160, PLAIN)                            \
    X(MAX_MA, A_SW, A, R160, PLAIN)                            \
    X(ACT_MIN_VAL, SAMP_TUNE, A, R160, PLAIN)                  \
    X(ACT_MIN_VAL, LIMITED, B, R160, PLAIN)                    \
    X(ACT_MIN_VAL, EN_ENT_OUT, B, R160, PLAIN)                 \
    X(ACT_MIN_VAL, LO_LIM_OUT, A, R160, PLAIN)                 \
    X(ACT_MIN_VAL, HI_LIM_OUT, A, R160, PLAIN)                 \
    X(ACT_MAX_VAL, SAMP_TUNE, A, R160, PLAIN)                  \
    X(ACT_MAX_VAL, LIMITED, B, R160, PLAIN)                    \
    X(ACT_MAX_VAL, EN_ENT_OUT, B, R160, PLAIN)                 \
    X(ACT_MAX_VAL, LO_LIM_OUT, A, R160, PLAIN)                 \
    X(ACT_MAX_VAL, HI_LIM_OUT, A, R160, PLAIN)                 \
    X(RO_MIN, A_SW, A, R160, PLAIN)                            \
    X(RO_MAX, A_SW, A, R160, PLAIN)                            \
    X(MA_0, A_NAME, A, R160, PLAIN, R10)                       \
    X(MA_100, A_NAME, A, R160, PLAIN, R10)                     \
    X(FORCE_EN, B_NAME, B, R160, PLAIN, R10)                   \
    X(FORCE_FINH, B_NAME, B, R160, PLAIN, R10)                 \
    X(CNFG_AS_ACT, AND, B, R160, PLAIN, R10)                   \
    X(FORCE_RATE, A_NAME, A, R160, PLAIN)                      \
    X(ENTR_SETPT, SAMP_TUNE, A, R160, PLAIN)                   \
    X(ENTR_SETPT, LIMITED, B, R160, PLAIN)                     \
    X(ENTR_SETPT, EN_ENT_OUT, B, R160, PLAIN)                  \
    X(ENTR_SETPT, LO_LIM_OUT, A, R160, PLAIN)                  \
    X(ENTR_SETPT, HI_LIM_OUT, A, R160, PLAIN)                  \
    X(GOTO_OS, ONE_SHOT, B, R160, PLAIN)                       \
    X(GOTO_OS, R_TIME, I, R160, PLAIN)                         \
    X(ENTR_SETPT_A_SW, A_SW, A, R160, PLAIN)                   \
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
    X(FORCE_SETPT, RAMP, A, R160, PLAIN, R10)                  \
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
    X(ACT_TAG, S_NAME, C, R160, PLAIN)                         \
    X(ENG_UNITS, S_NAME, C, R160, PLAIN)                       \
    X(ENG_UNITS_SW, S_SW, C, R160, PLAIN)                      \
    X(RO_STRING, S_NAME, C, R160, PLAIN)                       \
    X(RO_HI, A_NAME, A, R160, PLAIN, R10)                      \
    X(RO_LOW, A_NAME, A, R160, PLAIN, R10)                     \
    X(RO_RDBK_FLT_EN, B_NAME, B, R160, PLAIN)                  \
    X(RO_FUNCT, I_NAME, I, R160, PLAIN, R10)                   \
    X(WIZ_RO_FUNCT, I_NAME, I, R160, PLAIN, R10)               \
    X(ACT_DITHER, A_NAME, A, R160, PLAIN, R10)                 \
    X(FORCE_SP, A_NAME, A, R10, PLAIN)                         \
    X(HP_DMD, A_NAME, A, R10, PLAIN)                           \
    X(HP2_DMD, A_NAME, A, R10, PLAIN)                          \
    X(RO_SW, I_SW, I, R10, PLAIN)                              \
    X(RO_FUNCTION, SAMP_ITUNE, I, R10, PLAIN)                  \
    X(RO_FUNCTION, LIMITED, B, R10, PLAIN)                     \
    X(RO_FUNCTION, EN_ENT_OUT, B, R10, PLAIN)                  \
    X(RO_FUNCTION, LO_LIM_OUT, I, R10, PLAIN)                  \
    X(RO_FUNCTION, HI_LIM_OUT, I, R10, PLAIN)                  \
    X(SEL, A_MUX_N_1, A, R10, PLAIN)                           \
    X(ACT_RO_FUNCT_STRG, I_TO_STR, C, R10, PLAIN, R160)        \
    X(MIN, SAMP_TUNE, A, R10, PLAIN)                           \
    X(MIN, LIMITED, B, R10, PLAIN)                             \
    X(MIN, EN_ENT_OUT, B, R10, PLAIN)                          \
    X(MIN, LO_LIM_OUT, A, R10, PLAIN)                          \
    X(MIN, HI_LIM_OUT, A, R10, PLAIN)                          \
    X(MAX, SAMP_TUNE, A, R10, PLAIN)                           \
    X(MAX, LIMITED, B, R10, PLAIN)                             \
    X(MAX, EN_ENT_OUT, B, R10, PLAIN)                          \
    X(MAX, LO_LIM_OUT, A, R10, PLAIN)                          \
    X(MAX, HI_LIM_OUT, A, R10, PLAIN)                          \
    X(OUTPUT, CALCULATE, A, R10, PLAIN)                        \
    X(OUTPUT, ALM, B, R10, PLAIN)                              \
    X(ACT1_MUX, A_MUX_N_1, A, R10, PLAIN)                      \
    X(FRC_LIN, NC, A, R10, PLAIN)                              \
    X(FRC_LIN, NO, A, R10, PLAIN)                              \
    X(ACT_FORCE, FRC, B, R10, PLAIN)                           \
    X(ACT_FORCE, AO_FORCE, A, R10, PLAIN)                      \
    X(DEMAND, A_NAME, A, R10, PLAIN, R160)                           \
    X(HP_SD, B_NAME, B, R10, PLAIN)                            \
    X(HP2_SD, B_NAME, B, R10, PLAIN)                           \
    X(SD_SW, B_MUX_N_1, B, R10, PLAIN)                         \
    X(SD, B_NAME, B, R10, PLAIN)                              
// The output port that the data log names by its outside name.
#define _ub5_ALIASES(X)                                  \
    X("CNFG_ACT.ACT_01.DEMAND_OUT _ub5.DEMAND.A_NAME") \
    X("CNFG_ACT.ACT_01.QT_ACT_FUNCT _ub5.FUNCT.IN")
CAT_USER_BLOCK(_ub5, "CNFG_ACT.ACT_01", _ub5_ALIASES)

// The service interface wrote command input n (1 .. 5).
void ACT_CHANNEL_command_written(int n, uint32_t value);
// Block initialisation: the commands over.
void ACT_CHANNEL_init_blks();

namespace r10 {
// Run part of the speed-control slice: readout, demand, forcing.
void ACT_CHANNEL_demand();
// The driver's shutdown flag, after the shutdown request of the same pass
// and ahead of the driver stage.
void ACT_CHANNEL_shutdown();
// The readout function's name (tenth slice).
void ACT_CHANNEL_readout_name();
}  // namespace r10

namespace r160 {
// Configuration part: function, range, currents, forcing, texts.
void ACT_CHANNEL_config();
}  // namespace r160
