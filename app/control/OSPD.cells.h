// Module OSPD: the overspeed test. Its commands and the trip level in use
// (160 ms), its permission and demand latches and the flags the speed
// reference reads (80 ms), the held speed (40 ms), and the trip and the test
// limit (10 ms).
#pragma once

#include "runtime/catalogue.h"

#define OSPD_CELLS(X)                                \
    X(OR_OSPD, OR, B, R80, PLAIN, R160)              \
    X(OR_OSPD_OS, ONE_SHOT, B, R80, PLAIN)           \
    X(OR_OSPD_OS, R_TIME, I, R80, PLAIN)             \
    X(MV_REF, OR, B, R80, PLAIN, R160)               \
    X(SPEED_HOLD, HSS_BUS, A, R40, PLAIN, R160)       \
    X(SPEED_HOLD, HI_LIM_I, B, R40, PLAIN)           \
    X(SPEED_HOLD, LO_LIM_I, B, R40, PLAIN)           \
    X(SPEED_HOLD, SEL_1, B, R40, PLAIN)              \
    X(SPEED_HOLD, SEL_2, B, R40, PLAIN)              \
    /* test commands and the trip level (160 ms) */ \
    X(CONTACT, B_NAME, B, R160, PLAIN)               \
    X(PLS_ON, B_ACTION, B, R160, PLAIN)              \
    X(PLS_ON, ACT_OUT, I, R160, PLAIN)               \
    X(PLS_ON, E_TIME, A, R160, PLAIN)                \
    X(PLS_ON, R_TIME, A, R160, PLAIN)                \
    X(NOT_ACTV, NOT, B, R160, PLAIN)                 \
    X(PLS_OFF, B_ACTION, B, R160, PLAIN)             \
    X(PLS_OFF, ACT_OUT, I, R160, PLAIN)              \
    X(PLS_OFF, E_TIME, A, R160, PLAIN)               \
    X(PLS_OFF, R_TIME, A, R160, PLAIN)               \
    X(LATCH_DMD, LATCH_R, B, R160, PLAIN)            \
    X(AND_OK, AND, B, R160, PLAIN, R80)              \
    X(NO_OST_CONT, NOT, B, R160, PLAIN)              \
    X(CONT_PLS_DIS, B_ACTION, B, R160, PLAIN)        \
    X(CONT_PLS_DIS, ACT_OUT, I, R160, PLAIN)         \
    X(CONT_PLS_DIS, E_TIME, A, R160, PLAIN)          \
    X(CONT_PLS_DIS, R_TIME, A, R160, PLAIN)          \
    X(DISABLE_OST, OR, B, R160, PLAIN, R80)          \
    X(ENA_EXT_OST_OS, ONE_SHOT, B, R160, PLAIN, R80) \
    X(ENA_EXT_OST_OS, R_TIME, I, R160, PLAIN)        \
    X(ENABLE_EXT_OST, B_NAME, B, R160, PLAIN)        \
    X(ENA_INT_OST_OS, ONE_SHOT, B, R160, PLAIN, R80) \
    X(ENA_INT_OST_OS, R_TIME, I, R160, PLAIN)        \
    X(ENA_RED_INT, ONE_SHOT, B, R160, PLAIN, R80)    \
    X(ENA_RED_INT, R_TIME, I, R160, PLAIN)           \
    X(ENA_REDUCED_OST, B_NAME, B, R160, PLAIN)       \
    X(ENTR_RESET, ONE_SHOT, B, R160, PLAIN, R80)     \
    X(ENTR_RESET, R_TIME, I, R160, PLAIN)            \
    X(EXITCNFG_OS, ONE_SHOT, B, R160, PLAIN)         \
    X(EXITCNFG_OS, R_TIME, I, R160, PLAIN)           \
    X(NOT_REDUCED, NOT, B, R160, PLAIN, R80)         \
    X(EXITUSE_OS, ONE_SHOT, B, R160, PLAIN)          \
    X(EXITUSE_OS, R_TIME, I, R160, PLAIN)            \
    X(NO_OTHER, NOR, B, R160, PLAIN)                 \
    X(SPDCNTRL_OK, NAND, B, R160, PLAIN, R80)        \
    X(RST_HOLD, OR, B, R160, PLAIN, R40)             \
    X(HOLD_RST, A_SW, A, R40, PLAIN)                 \
    X(LP_BRKR, ZMINUS1, A, R40, PLAIN)               \
    X(NO_MV, NOT, B, R160, PLAIN)                    \
    X(DLY_NOMOV, DLY_TIME, A, R160, TUNE(30.0, 0.0, 60.0)) \
    X(DLY_NOMOV, DELAY, B, R160, PLAIN)              \
    X(DLY_NOMOV, R_TIME, I, R160, PLAIN)             \
    X(SH_OSPDOFF, ONE_SHOT, B, R160, PLAIN, R80)     \
    X(SH_OSPDOFF, R_TIME, I, R160, PLAIN)            \
    X(RST_TEMP, OR, B, R160, PLAIN)                  \
    X(REDUCE_OSPD_USE, B_ACTION, B, R160, PLAIN, R80) \
    X(REDUCE_OSPD_USE, ACT_OUT, I, R160, PLAIN)       \
    X(REDUCE_OSPD_USE, E_TIME, A, R160, PLAIN)        \
    X(REDUCE_OSPD_USE, R_TIME, A, R160, PLAIN)        \
    X(REDUCE_SP, TUNE, A, R160, TUNE(1000.0, 100.0, 65000.0)) \
    X(REDUCE_SP, SAMP_TUNE, A, R160, PLAIN)          \
    X(REDUCE_SP, LIMITED, B, R160, PLAIN)            \
    X(REDUCE_SP, EN_ENT_OUT, B, R160, PLAIN)         \
    X(REDUCE_SP, LO_LIM_OUT, A, R160, PLAIN)         \
    X(REDUCE_SP, HI_LIM_OUT, A, R160, PLAIN)         \
    X(SP_MIN, A_MIN, A, R160, PLAIN)                 \
    X(OSPD_SP, A_SW, A, R160, PLAIN, R10)            \
    /* permission and demand (80 ms) */              \
    X(REF_CHK, AND, B, R80, PLAIN)                   \
    X(OR_DISABLE, IN_4, B, R80, TUNE(false))         \
    X(OR_DISABLE, OR, B, R80, PLAIN, R160)           \
    X(PERMISSIVE, NOT, B, R160, PLAIN)               \
    X(OSPD_DMD_EXT, B_ACTION, B, R80, PLAIN)         \
    X(OSPD_DMD_EXT, ACT_OUT, I, R80, PLAIN)          \
    X(OSPD_DMD_EXT, E_TIME, A, R80, PLAIN)           \
    X(OSPD_DMD_EXT, R_TIME, A, R80, PLAIN)           \
    X(OSPD_DMD_INT, B_ACTION, B, R80, PLAIN)         \
    X(OSPD_DMD_INT, ACT_OUT, I, R80, PLAIN)          \
    X(OSPD_DMD_INT, E_TIME, A, R80, PLAIN)           \
    X(OSPD_DMD_INT, R_TIME, A, R80, PLAIN)           \
    X(OSPD_DMD_OR, OR, B, R80, PLAIN, R160)          \
    X(DISABLED, NOT, B, R80, PLAIN)                  \
    X(OSPD_PLS, B_ACTION, B, R80, PLAIN)             \
    X(OSPD_PLS, ACT_OUT, I, R80, PLAIN)              \
    X(OSPD_PLS, E_TIME, A, R80, PLAIN)               \
    X(OSPD_PLS, R_TIME, A, R80, PLAIN)               \
    X(NAND_TEST, NAND, B, R80, PLAIN, R10)           \
    X(EXTERN_TEST, AND, B, R80, PLAIN)               \
    X(OSPD_ALM, B_NAME, B, R80, PLAIN, R40)          \
    /* the trip and the test limit (10 ms) */        \
    X(OSPD_LEVEL, A_COMPARE, B, R10, PLAIN, R80)     \
    X(OSPD_LEVEL, A_EQUAL, B, R10, PLAIN)            \
    X(OSPD_SD, AND, B, R10, PLAIN)                   \
    X(OSPD_TRIP, B_NAME, B, R10, PLAIN)              \
    X(SPD_OR_SP, A_MAX, A, R10, PLAIN, R80)          \
    X(OSPD_MAX_LIM, A_COMPARE, B, R10, PLAIN)        \
    X(OSPD_MAX_LIM, A_EQUAL, B, R10, PLAIN)          \
    X(OSPD_SD_OR, OR, B, R10, PLAIN)                 \
    X(MAX_SP_ENA, AND, B, R10, PLAIN)                \
    X(OSPD_MAXLIM, B_NAME, B, R10, PLAIN)            \
    X(REDICE_OSPD_NOT, NOT, B, R80, PLAIN, R160)
CAT_MODULE(OSPD)

namespace r80 {
void OSPD_test_flags();   // _R80_TASK_16: OSPD_TEST_EN, OR_OSPD, OR_OSPD_OS, MV_REF
}
namespace r40 {
void OSPD_speed_hold();   // _R40_TASK_5: the held speed and the moving flags
void OSPD_hold_reset();   // _R40_TASK_8: the held speed, 0 while it is reset
}
namespace r160 {
void OSPD_no_movement();    // _R160_TASK_40: the test's no-movement delay and its displays
void OSPD_test_commands();  // _R160_TASK_47: test commands and the trip level in use
}
namespace r80 {
void OSPD_demand();         // _R80_TASK_16: the permission and the external demand
void OSPD_test_demand();    // _R80_TASK_22: the internal demand, the demand flags and pulse
}
namespace r10 {
void OSPD_trip();           // the overspeed trip and the test limit, with the shutdowns
}
