// Module IFACE_OUT_SPEED: the interface outputs of the speed control and
// of the speed reference.
#pragma once

#include "runtime/catalogue.h"

#define IFACE_OUT_SPEED_CELLS(X) \
    X(SPD_PID_LSS, A_NAME, A, R10, PLAIN, R160)         \
    X(SPD_PID, A_NAME, A, R10, PLAIN, R40)              \
    X(SPD_CTRL_DISABLED, B_NAME, B, R10, PLAIN, R160)   \
    X(SPEED_REF, A_NAME, A, R40, PLAIN, R10, R80, R160) \
    X(Z_SETPOINT, A_NAME, A, R40, PLAIN, R80, R160)     \
    X(OSPD_TEST_EN, B_NAME, B, R80, PLAIN, R10, R40, R160)   \
    X(OSPD_TRIP_EN, B_NAME, B, R80, PLAIN)   \
    X(REF_LOW_LMT, B_NAME, B, R40, PLAIN)               \
    X(RMT_MAX_RATE_SEL, B_NAME, B, R40, PLAIN)          \
    X(RMT_N_MTCH_RATE_SEL, B_NAME, B, R40, PLAIN)       \
    X(SPEED_HOLD, A_NAME, A, R40, PLAIN)                \
    X(SP_NOT_MOVE, NOT, B, R40, PLAIN, R160)            \
    X(RMT_SPD_ACTIVE, B_NAME, B, R80, PLAIN, R160)          \
    X(BELOW_MIN, B_NAME, B, R80, PLAIN)                     \
    X(RMT_SPD_INPUT, A_NAME, A, R80, PLAIN, R160)           \
    X(RMT_SPD_ENABLED, B_NAME, B, R80, PLAIN, R160)         \
    X(HOT_START_ENABLED, B_NAME, B, R160, PLAIN)  \
    X(AT_SETPT, OR, B, R160, PLAIN)               \
    X(DATA_STEPS, OR, B, R160, PLAIN)             \
    X(DIS_TIMEOUT, I_NAME, I, R160, PLAIN)        \
    X(ENTRD_RATE, A_NAME, A, R160, PLAIN)         \
    X(CASCADE_ENABLED, B_NAME, B, R160, PLAIN, R10, R40, R80) \
    X(MANUL_OFFL, B_NAME, B, R80, PLAIN)                \
    X(MANUL_ONL, B_NAME, B, R80, PLAIN)                 \
    X(OPTI_OFFL, B_NAME, B, R80, PLAIN)                 \
    X(OPTI_ONL, B_NAME, B, R80, PLAIN)                  \
    X(USING_OPTIDYN, B_NAME, B, R80, PLAIN)             \
    X(OFFLINE, OR, B, R80, PLAIN)                       \
    X(MDRIVE_LOAD, A_NAME, A, R80, PLAIN)               \
    X(NSD_IN_PROGRESS, B_NAME, B, R80, PLAIN, R10) \
    X(IDLE_1_CMPL, B_NAME, B, R160, PLAIN) \
    X(INVALID_SP, B_NAME, B, R160, PLAIN) \
    X(OPTI_AT_SETPT, B_NAME, B, R160, PLAIN) \
    X(OPTI_STEPS_THRESH, B_NAME, B, R160, PLAIN) \
    X(OPTI_CALC_GAINS, B_NAME, B, R160, PLAIN) \
    X(OPTI_CMPLT, B_NAME, B, R160, PLAIN) \
    X(OPTI_FAULT_ABORT, B_NAME, B, R160, PLAIN) \
    X(OPTI_SETTLING, B_NAME, B, R160, PLAIN) \
    X(OPTI_STEADY, B_NAME, B, R160, PLAIN) \
    X(OPTI_STEPDN_ALYZ, B_NAME, B, R160, PLAIN) \
    X(OPTI_STEPDN_THRE, B_NAME, B, R160, PLAIN) \
    X(OPTI_STEPUP_ALYZ, B_NAME, B, R160, PLAIN) \
    X(OPTI_STEPUP_THRE, B_NAME, B, R160, PLAIN) \
    X(RDY_STATUS, AND, B, R160, PLAIN) \
    X(OPTI_RDY, B_NAME, B, R160, PLAIN) \
    X(STEPS, OR, B, R160, PLAIN) \
    X(OPTI_STEP_TESTS, B_NAME, B, R160, PLAIN) \
    X(STAT_7812, OR, B, R160, PLAIN) \
    X(STATUS7812, B_NAME, B, R160, PLAIN) \
    X(OST_PERMISSIVE, B_NAME, B, R160, PLAIN) \
    X(RMT_SPD_N_MATCH_RATE, A_NAME, A, R160, PLAIN) \
    X(SUGGEST_PROC_LIM, A_NAME, A, R160, PLAIN)
CAT_MODULE(IFACE_OUT_SPEED)

namespace r10 {
// The interface copies of the speed control (piece of _R10_TASK_8).
void IFACE_OUT_SPEED_copies();
}
namespace r80 {
// The dynamics in use and the off-line flag (piece of _R80_TASK_20).
void IFACE_OUT_SPEED_dynamics();
// The load percentage and the normal-shutdown flag (piece of _R80_TASK_20).
void IFACE_OUT_SPEED_load();
}

namespace r160 {
// The speed status shown: the self-tuning PID's states, the overspeed test
// permission and the remote rates (piece of _R160_TASK_41).
void IFACE_OUT_SPEED_status();
}  // namespace r160
