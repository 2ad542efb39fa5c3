// STAND-IN rows of modules that the discrete channel logic shares with
// subsystems not built yet: the cells those subsystems compute, declared in
// the shared modules until their own logic lands and takes the rows over.
#pragma once

// BO_MUX: relay states computed in the slower groups.
#define BO_MUX_STANDIN_ROWS(X) \
    X(RMT_CTRL, B_NAME, B, R80, PLAIN, R10)      \
    X(OSPD_TEST, B_NAME, B, R80, PLAIN, R10)     \
    X(CASC_ENBLD, B_NAME, B, R80, PLAIN, R10)    \
    X(CASC_ACTIV, B_NAME, B, R80, PLAIN, R10)    \
    X(RMTCASC_EN, B_NAME, B, R80, PLAIN, R10)    \
    X(AUTO_HALT, B_NAME, B, R80, PLAIN)          \
    X(RMTCAS_ACT, B_NAME, B, R80, PLAIN, R10)

// CNFG_ACT: the actuator channel's output and readbacks.

