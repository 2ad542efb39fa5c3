// STAND-IN rows of modules that the discrete channel logic shares with
// subsystems not built yet: the cells those subsystems compute, declared in
// the shared modules until their own logic lands and takes the rows over.
#pragma once

// BO_MUX: relay states computed in the slower groups and the level-switch
// analog list.
#define BO_MUX_STANDIN_ROWS(X) \
    X(RST_PLS, B_NAME, B, R80, PLAIN, R10)       \
    X(RMT_ENBLD, B_NAME, B, R80, PLAIN, R10)     \
    X(RMT_CTRL, B_NAME, B, R80, PLAIN, R10)      \
    X(OSPD_TEST, B_NAME, B, R80, PLAIN, R10)     \
    X(CASC_ENBLD, B_NAME, B, R80, PLAIN, R10)    \
    X(CASC_ACTIV, B_NAME, B, R80, PLAIN, R10)    \
    X(RMTCASC_EN, B_NAME, B, R80, PLAIN, R10)    \
    X(AUTO_HALT, B_NAME, B, R80, PLAIN)          \
    X(RMTCAS_ACT, B_NAME, B, R80, PLAIN, R10)    \
    X(START_IND, B_SW, B, R80, PLAIN, R10)       \
    X(SEL_LSW, LIST_1, A, R80, PLAIN, R10, R40)  \
    X(SEL_LSW, LIST_2, A, R80, PLAIN, R10, R40)  \
    X(SEL_LSW, LIST_3, A, R80, PLAIN, R10, R40)  \
    X(SEL_LSW, LIST_4, A, R80, PLAIN, R10, R40)  \
    X(SEL_LSW, LIST_5, A, R80, PLAIN, R10, R40)  \
    X(SEL_LSW, LIST_6, A, R80, PLAIN, R10, R40)  \
    X(SEL_LSW, LIST_7, A, R80, PLAIN, R10, R40)  \
    X(SEL_LSW, LIST_8, A, R80, PLAIN, R10, R40)  \
    X(SEL_LSW, LIST_9, A, R80, PLAIN, R10, R40)  \
    X(SEL_LSW, LIST_10, A, R80, PLAIN, R10, R40) \
    X(SEL_LSW, LIST_11, A, R80, PLAIN, R10, R40) \
    X(SEL_LSW, LIST_12, A, R80, PLAIN, R10, R40) \

// CNFG_ACT: the actuator channel's output and readbacks.
// DRVR_SCALE: the self-powered start ramp, the trip switch and the stroke
// condition.
#define DRVR_SCALE_STANDIN_ROWS(X) \
    X(SELF_PWR_R, RAMP, A, R20, PLAIN, R10) \
    X(SELFP_STROK, AND, B, R160, PLAIN, R10)
