// Module CALMODE at 160 ms: the sample pulses of the channel configuration.
// A pulser toggles every pass; while the configuration window is open its
// rising passes sample the controller channels' configuration, while
// calibration mode is on they sample the calibration settings.
#pragma once

#include "app/config/standin/CALMODE_standin.rows.h"
#include "runtime/catalogue.h"

#define CALMODE_CELLS(X)                          \
    CALMODE_STANDIN_ROWS(X)                       \
    X(PULSER, NOT, B, R160, PLAIN)                \
    X(CNFG_SH_TRIG, AND, B, R160, PLAIN)          \
    X(CFG_SAMPL_OK, B_NAME, B, R160, PLAIN)       \
    X(ADJUSTOK, IN_2, B, R160, TUNE(false))       \
    X(ADJUSTOK, OR, B, R160, PLAIN)               \
    X(ADJUST_OK, B_NAME, B, R160, PLAIN)          \
    X(CALPERM, B_NAME, B, R160, PLAIN)            \
    X(NOCALPERM, NOT, B, R160, PLAIN)             \
    X(CAL_SH_TRIG, AND, B, R160, PLAIN)           \
    X(CAL_SAMPLOK, IN_2, B, R160, TUNE(false))    \
    X(CAL_SAMPLOK, OR, B, R160, PLAIN)            \
    X(CAL_SAMPL_OK, B_NAME, B, R160, PLAIN)       \
    X(ENTER_CAL_PLS, B_NAME, B, R160, PLAIN)      \
    X(EXIT_CAL_PLS, B_NAME, B, R160, PLAIN)       \
    X(CAL_ENABLE, IN_1, B, R160, TUNE(false))     \
    X(CAL_ENABLE, OR, B, R160, PLAIN)             \
    X(MIN_SPEED, A_MIN, A, R160, PLAIN)           \
    X(LO_CHECK, A_COMPARE, B, R160, PLAIN)        \
    X(LO_CHECK, A_EQUAL, B, R160, PLAIN)          \
    X(LO_CHECK_TEST_OVRD, IN_2, B, R160, TUNE(false)) \
    X(LO_CHECK_TEST_OVRD, OR, B, R160, PLAIN)     \
    X(CAL_PERM, AND, B, R160, PLAIN)              \
    X(ENABL, AND, B, R160, PLAIN)
CAT_MODULE(CALMODE)

namespace r160 {
// The pulser and the configuration and calibration sample pulses, the
// adjust enable and the calibration permissive copies.
void CALMODE_sample_pulses();
// Whether calibration mode may be entered: unit off and speed low
// (piece of _R160_TASK_10).
void CALMODE_permissive();
}  // namespace r160
