// STAND-IN until the modules that compute these cells land: configuration
// of the start, Modbus and OPC commands, the automatic-sequence options,
// the remote cascade enable, the remote setpoint value, droop and the
// power-up message logic, as far as the speed reference, the cascade and
// the configuration checks read them.
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
    X(SEMIAUTO_START, B_NAME, B, R160, PLAIN)            \
    X(VLV_LIM_RATE, A_NAME, A, R160, PLAIN, R80)         \
    X(IDLE_RATED_SEQ, B_NAME, B, R160, PLAIN)
CAT_MODULE(CNFG_START)

// MOD_BW: the Modbus trip selection (app/interface/MOD_BW.cells.h lists it).
#define MOD_BW_STANDIN_ROWS(X) X(MOD1_SW, B_SW, B, R10, PLAIN)

#include "app/control/OPC_SPD_SP.cells.h"

#define AUTO_ENBL_CELLS(X) X(AUTO_HALT, B_NAME, B, R160, PLAIN, R80)
CAT_MODULE(AUTO_ENBL)


