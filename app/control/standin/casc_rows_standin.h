// STAND-IN rows of the cascade modules: cells of these modules that other
// logic computes (the configuration logic's gains and rates, the analog
// input faults, the remote-cascade and PID interface outputs), declared here
// until that logic lands and takes the rows over.
#pragma once

// CNFG_CASC: the PID gains, droop, rates, input function and the speed
// reference's cascade rate of the configuration logic.
#define CNFG_CASC_STANDIN_ROWS(X)                         \
    X(SPD_MAX_RATE, A_NAME, A, R160, PLAIN, R40)          \
    X(P, A_NAME, A, R160, PLAIN, R80)                     \
    X(I, A_NAME, A, R160, PLAIN, R80)                     \
    X(SDR, A_NAME, A, R160, PLAIN, R80)                   \
    X(DROOP, A_NAME, A, R160, PLAIN, R80)                 \
    X(SP_RATE, A_NAME, A, R160, PLAIN)                    \
    X(RMT_MAX_RATE, A_NAME, A, R160, PLAIN)               \
    X(INPUT, I_NAME, I, R160, PLAIN)

// IFACE_OUT_CASC: the remote cascade selection.
#define IFACE_OUT_CASC_STANDIN_ROWS(X)

