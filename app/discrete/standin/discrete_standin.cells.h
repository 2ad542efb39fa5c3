// STAND-IN until the modules that compute these cells land: the inputs that
// the discrete channels, the relay states and the trip relay read from the
// speed simulation, the valve interface, the operating configuration, the
// speed and start interfaces, the speed reference and the HP driver. The
// real modules keep these rows.
#pragma once

#include "runtime/catalogue.h"

#define SPEED_SIM_CELLS(X) \
    X(SIM_MODE_ACTS, B_NAME, B, R160, PLAIN, R10) \
    X(ENA__SIM, B_NAME, B, R80, PLAIN, R10, R40) \

CAT_MODULE(SPEED_SIM)

#define IFACE_IN_VLV_CELLS(X) \
    X(V1LMTR_VAL, A_NAME, A, R40, PLAIN) \
    X(INVERT_DMD, B_NAME, B, R160, PLAIN, R10) \
    X(SELF_PWACT, B_NAME, B, R160, PLAIN, R10) \
    X(ANY_SD, B_NAME, B, R10, PLAIN) \

CAT_MODULE(IFACE_IN_VLV)

#define CNFG_OPERATE_CELLS(X) \
    X(TRIP_ACTS, B_NAME, B, R160, PLAIN, R10)       \
    X(EXT_TRIPS_RELAY, B_NAME, B, R160, PLAIN, R10) \
    X(RST_CLRS_TRIP, B_NAME, B, R160, PLAIN) \

CAT_MODULE(CNFG_OPERATE)

#define CONF_VAL_1_CELLS(X) \
    X(USE_MPU2, B_NAME, B, R160, PLAIN, R10) \

CAT_MODULE(CONF_VAL_1)

#define IFACE_OUT_SPEED_CELLS(X) \
    X(SPD_PID_LSS, A_NAME, A, R10, PLAIN) \
    X(OSPD_TEST_EN, B_NAME, B, R80, PLAIN) \
    X(CASCADE_ENABLED, B_NAME, B, R80, PLAIN, R10) \
    X(NSD_IN_PROGRESS, B_NAME, B, R80, PLAIN, R10) \

CAT_MODULE(IFACE_OUT_SPEED)

#define SPDC_CELLS(X) \
    X(SPEED_REF, RAMP, A, R40, PLAIN) \
    X(SPEED_REF, P_LIM_13, B, R40, PLAIN, R10) \
    X(UNDER_SPD, B_SW, B, R40, PLAIN, R10)     \
    X(UDRSPD_SD, AND, B, R10, PLAIN)           \
    X(UDRSPD_ALM, AND, B, R160, PLAIN, R40)    \
    X(A09_STEP, SFC_STEP, B, R80, PLAIN, R40)  \
    X(Z01_STEP, SFC_STEP, B, R80, PLAIN, R40, R160) \

CAT_MODULE(SPDC)

#define IFACE_OUT_START_CELLS(X) \
    X(MPU1_OVRD_ON, B_NAME, B, R10, PLAIN) \
    X(IN_CRIT, B_NAME, B, R10, PLAIN) \
    X(SD_CLEAR, B_NAME, B, R80, PLAIN, R10) \

CAT_MODULE(IFACE_OUT_START)

#define HP_DRIVER_CELLS(X) \
    X(STRK_LTCH, B_NAME, B, R160, PLAIN) \
    X(ACT_LSS, SEL_3, B, R10, PLAIN) \
    X(ACT_LSS, HI_LIM_I, B, R10, PLAIN) \
    X(ACT_LSS, SEL_1, B, R10, PLAIN)    \
    X(ACT_LSS, SEL_2, B, R10, PLAIN)    \

CAT_MODULE(HP_DRIVER)
