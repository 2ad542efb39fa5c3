// STAND-IN rows of modules that the discrete channel logic shares with
// subsystems not built yet: the cells those subsystems compute, declared in
// the shared modules until their own logic lands and takes the rows over.
#pragma once

// CNFG_ACT: the actuator channel's output and readbacks.
// DRVR_SCALE: the self-powered start ramp, the trip switch and the stroke
// condition.
#define DRVR_SCALE_STANDIN_ROWS(X) \
    X(SELF_PWR_R, RAMP, A, R20, PLAIN, R10) \
    X(SELFP_STROK, AND, B, R160, PLAIN, R10)
