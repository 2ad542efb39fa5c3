// Rows of module MOD_SCALE (160 ms) for a change of the cascade input's
// Modbus scale, and the Modbus analog-write delay of module MOD: a scale
// change blocks the entered-setpoint go-to pulses for a while and then
// re-samples the entries. The MOD and MOD_SCALE cells headers list them.
#pragma once

#define MOD_SCALE_CASC_ROWS(X)                              \
    X(CASC_SCALE, A_NAME, A, R160, PLAIN)                   \
    X(LAST_CASC, ZMINUS1, A, R160, PLAIN)                   \
    X(CASC_CHGD, A_COMPARE, B, R160, PLAIN)                 \
    X(CASC_CHGD, A_EQUAL, B, R160, PLAIN)                   \
    X(CASCCHGD, NOT, B, R160, PLAIN)                        \
    X(CAS_CHG_OS, ONE_SHOT, B, R160, PLAIN)                 \
    X(CAS_CHG_OS, R_TIME, I, R160, PLAIN)                   \
    X(CAS_CHG_OS, DLY_TIME, A, R160, TUNE(5.0, 0.0, 100.0)) \
    X(CAS_RST, ONE_SHOT, B, R160, PLAIN)                    \
    X(CAS_RST, R_TIME, I, R160, PLAIN)                      \
    X(CAS_DLY, DELAY, B, R160, PLAIN)                       \
    X(CAS_DLY, R_TIME, I, R160, PLAIN)                      \
    X(CAS_DLY, DLY_TIME, A, R160, TUNE(2.5, 0.0, 10.0))     \
    X(CAS_RST2, ONE_SHOT, B, R160, PLAIN)                   \
    X(CAS_RST2, R_TIME, I, R160, PLAIN)                     \
    X(CAS_RST_OR, OR, B, R160, PLAIN)

#define MOD_AW_DLY_ROWS(X) X(AW_DLY, A_NAME, A, R160, TUNE(2.0, 0.0, 25.0))

namespace r160 {
// The cascade scale change (_R160_TASK_17, before the entered setpoints).
void MOD_SCALE_casc_change();
}
