// STAND-IN until the modules that compute these cells land: configuration
// of the start, Modbus and OPC commands, the automatic-sequence options,
// the cascade enable and rates, the remote setpoint value, droop and the
// power-up message logic, as far as the speed reference and the
// configuration checks read them.
#pragma once

#include "runtime/catalogue.h"

#define CNFG_START_CELLS(X)                              \
    X(IDLE_1_SP, A_NAME, A, R160, PLAIN)                 \
    X(IR_RATED_SP, A_NAME, A, R160, PLAIN)               \
    X(USE_RATED, B_NAME, B, R160, PLAIN)                 \
    X(RATE_IDL_SPD, A_NAME, A, R160, PLAIN)              \
    X(RATE_MIN_SPD, A_NAME, A, R160, PLAIN)              \
    X(HOT_START_MULT, A_NAME, A, R160, PLAIN)            \
    X(CONFIG_B, LIST_10, B, R160, PLAIN)                 \
    X(AUTO_START, B_NAME, B, R160, PLAIN)                \
    X(MAN_START, B_NAME, B, R160, PLAIN, R80)            \
    X(SEMIAUTO_START, B_NAME, B, R160, PLAIN)
CAT_MODULE(CNFG_START)

#define MOD_BW_CELLS(X)                                  \
    X(BW_CMD, SEL_1, B, R80, PLAIN)                      \
    X(BW_CMD, SEL_2, B, R80, PLAIN)                      \
    X(BW_CMD, SEL_5, B, R80, PLAIN)                      \
    X(BW_CMD, SEL_6, B, R80, PLAIN)                      \
    X(BW_CMD, SEL_7, B, R80, PLAIN)                      \
    X(BW_CMD, SEL_8, B, R80, PLAIN)                      \
    X(BW_CMD, SEL_9, B, R80, PLAIN, R40)                 \
    X(MOD1_SW, B_SW, B, R10, PLAIN)                      \
    X(BW_CMD, SEL_21, B, R80, PLAIN)                     \
    X(BW_CMD, SEL_22, B, R80, PLAIN)
CAT_MODULE(MOD_BW)

#define OPC_DATA_CELLS(X)                                \
    X(BW_CMDS, SEL_1, B, R80, PLAIN)                     \
    X(BW_CMDS, SEL_2, B, R80, PLAIN)                     \
    X(BW_CMDS, SEL_5, B, R80, PLAIN)                     \
    X(BW_CMDS, SEL_6, B, R80, PLAIN)                     \
    X(BW_CMDS, SEL_7, B, R80, PLAIN)                     \
    X(BW_CMDS, SEL_8, B, R80, PLAIN)                     \
    X(BW_CMDS, SEL_9, B, R80, PLAIN, R40)                \
    X(OPC_TRIP, AND, B, R10, PLAIN)
CAT_MODULE(OPC_DATA)

#define OPC_SPD_SP_CELLS(X)                              \
    X(GOTO_OPC_SP, LATCH_R, B, R160, PLAIN)              \
    X(AW1_SP, A_LIMITER, A, R160, PLAIN)
CAT_MODULE(OPC_SPD_SP)

#define AUTO_ENBL_CELLS(X) X(AUTO_HALT, B_NAME, B, R160, PLAIN, R80)
CAT_MODULE(AUTO_ENBL)

#define CASC_ENBL_CELLS(X)                               \
    X(DISABLED, NOT, B, R80, PLAIN, R160)                \
    X(INHIBITED, LATCH1, B, R80, PLAIN, R160)            \
    X(PLS_ENABL, B_ACTION, B, R80, PLAIN)
CAT_MODULE(CASC_ENBL)

#define RMT_CAS_EN_CELLS(X)                              \
    X(ENABLED, LATCH_R, B, R80, PLAIN)                   \
    X(RCASC_IH, LATCH1, B, R80, PLAIN, R160)
CAT_MODULE(RMT_CAS_EN)

#define CASC_RATE_CELLS(X)                               \
    X(N_MATCHED, LATCH, B, R80, PLAIN, R40)              \
    X(N_MTCHD, SAMP_TUNE, A, R160, PLAIN, R40)
CAT_MODULE(CASC_RATE)

#define CNFG_CASC_CELLS(X) X(SPD_MAX_RATE, A_NAME, A, R160, PLAIN, R40) X(USE_CASC, B_NAME, B, R160, PLAIN)
CAT_MODULE(CNFG_CASC)

#define RMT_SETPT_CELLS(X) X(RMT_DEAD, A_DEADBAND, A, R80, PLAIN, R40)
CAT_MODULE(RMT_SETPT)

#include "app/interface/MESSAGE.cells.h"
