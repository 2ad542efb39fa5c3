// Module CALMODE at 160 ms: the sample pulses of the channel configuration.
// A pulser toggles every pass; while the configuration window is open its
// rising passes sample the controller channels' configuration, while
// calibration mode is on they sample the calibration settings. Also the
// calibration-mode latch and the flags derived from it, the user's stop
// request, and the unit-off flag (80 ms).
#pragma once

#include "runtime/catalogue.h"

#define CALMODE_CELLS(X)                          \
    X(LO_CHECK_NOT, NOT, B, R160, PLAIN)          \
    X(EXIT_CAL, OR, B, R160, PLAIN)               \
    X(ENABLE, LATCH_R, B, R160, PLAIN)            \
    X(CALMODE, B_NAME, B, R160, PLAIN, R10)       \
    X(FORCE_INHI, OR, B, R160, PLAIN)             \
    X(FORCE_INHI, IN_2, B, R160, TUNE(false))     \
    X(NOT_CAL, NOT, B, R160, PLAIN)               \
    X(NOTCALMODE, B_NAME, B, R160, PLAIN)         \
    X(USER_STOP, TRIGGER, B, R160, TUNE(false))   \
    X(USER_STOP, ONE_SHOT, B, R160, PLAIN)        \
    X(USER_STOP, R_TIME, I, R160, PLAIN)          \
    X(STOP_APPL, OR, B, R160, PLAIN)              \
    X(UNIT_OFF, IN_1, B, R80, TUNE(false))        \
    X(UNIT_OFF, OR, B, R80, PLAIN, R160)          \
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
// The calibration-mode latch (piece of _R160_TASK_11).
void CALMODE_latch();
// The calibration and stop flags (piece of _R160_TASK_15).
void CALMODE_flags();
}  // namespace r160
namespace r80 {
// The unit-off flag (piece of _R80_TASK_17).
void CALMODE_unit_off();
}  // namespace r80
