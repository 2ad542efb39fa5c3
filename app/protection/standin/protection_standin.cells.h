// STAND-IN until the modules that compute these cells land: the trip and
// alarm conditions and settings the protection logic reads from the
// overspeed test, the Modbus and OPC command maps, the controlled stop, the
// configuration-error list, the driver configuration, the interface modes,
// the manual valve and cascade interfaces and the alarm screens; and the
// interface cell the shutdown signal is copied into. The real modules keep
// these rows.
#pragma once

#include "app/protection/START_ALM_DSPL.h"
#include "runtime/catalogue.h"

#define OSPD_CELLS(X) \
    X(OSPD_SD, AND, B, R10, PLAIN)          \
    X(MAX_SP_ENA, AND, B, R10, PLAIN)       \
    X(OSPD_ALM, B_NAME, B, R80, PLAIN, R40)
CAT_MODULE(OSPD)

#define MOD_BW_CELLS(X) \
    X(MOD1_SW, B_SW, B, R10, PLAIN)         \
    X(BW_CMD, SEL_9, B, R80, PLAIN, R40)
CAT_MODULE(MOD_BW)

#define OPC_DATA_CELLS(X) \
    X(OPC_TRIP, AND, B, R10, PLAIN)         \
    X(BW_CMDS, SEL_9, B, R80, PLAIN, R40)
CAT_MODULE(OPC_DATA)

#define CNTRL_STOP_CELLS(X) X(STP_COMPLETE, AND, B, R10, PLAIN)
CAT_MODULE(CNTRL_STOP)

#define CONF_LATCH_CELLS(X) X(ANY, LATCH_AE, B, R160, PLAIN)
CAT_MODULE(CONF_LATCH)

#define CNFG_DRIVER_CELLS(X) X(USE_HP1_FLT_SD, B_NAME, B, R160, PLAIN, R10)
CAT_MODULE(CNFG_DRIVER)

#define IFACE_MODE_CELLS(X) X(DISPLAY_FLT, B_NAME, B, R160, PLAIN, R40)
CAT_MODULE(IFACE_MODE)

#define IFACE_IN_HP_MAN_CELLS(X) X(ANY_SD, B_NAME, B, R10, PLAIN)
CAT_MODULE(IFACE_IN_HP_MAN)

#define IFACE_IN_CASC_CELLS(X) X(USE_CASC, B_NAME, B, R160, PLAIN, R40)
CAT_MODULE(IFACE_IN_CASC)

#define S_ALARMS_CELLS(X) \
    X(S2, B_NAME, B, R160, PLAIN, R40)      \
    X(S3, B_NAME, B, R160, PLAIN, R40)
CAT_MODULE(S_ALARMS)

// The service screen's start message; the real module keeps its rows.
#define SERVICE_CELLS(X) SERVICE_START_MSG_ROWS(X)
CAT_MODULE(SERVICE)
