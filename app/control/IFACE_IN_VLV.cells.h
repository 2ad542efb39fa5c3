// Module IFACE_IN_VLV: the valve-interface inputs; the speed PID's demand
// after its switch is written by the 10 ms speed control.
#pragma once

#include "runtime/catalogue.h"

// The settings of the operator interface and their copies, the timed
// commands and the derived inputs.
#define IFACE_IN_ROWS_IFACE_IN_VLV(X) \
    X(VLV_LIM_ENTRD, IN, A, R160, TUNE(5.0, 0.099, 100.0))   \
    X(VLV_LIM_ENTRD, A_NAME, A, R160, PLAIN, R80)            \
    X(SELFPWR_TDLY, IN, I, R160, TUNE(60, 5, 50000))         \
    X(SELFPWR_TDLY, I_NAME, I, R160, PLAIN)                  \
    X(TUNED_OK, IN, B, R160, TUNE(false))                    \
    X(TUNED_OK, B_NAME, B, R160, PLAIN, R80)                 \
    X(HP_STRK_DISBL, IN, B, R160, TUNE(false))               \
    X(HP_STRK_DISBL, B_NAME, B, R160, PLAIN)                 \
    X(SELF_PWACT, IN, B, R160, TUNE(false))                  \
    X(SELF_PWACT, B_NAME, B, R160, PLAIN, R10)               \
    X(RSE_LWR, IN_1, B, R160, SVC_IN)                        \
    X(RSE_LWR, IN_2, B, R160, SVC_IN)                        \
    X(RSE_LWR, OUT_1, B, R160, PLAIN)                        \
    X(RSE_LWR, OUT_2, B, R160, PLAIN)                        \
    X(VLIM_RSE, B_NAME, B, R160, PLAIN, R80)                 \
    X(VLIM_LWR, B_NAME, B, R160, PLAIN, R80)                 \
    X(V1_LIMITER_SEQ, B_TO_STR, C, R160, PLAIN)              \
    X(V1_LIMITER_SEQ, MSG_SEL, I, R160, PLAIN)               \
    X(VLV_LIMITER_SEQ, S_NAME, C, R160, PLAIN)

#define IFACE_IN_VLV_CELLS(X)                                   \
    X(ANY_SD, B_NAME, B, R10, PLAIN, R20, R80, R160)            \
    X(HP_LIM_CLOSE, B_NAME, B, R10, PLAIN, R80)                 \
    X(HP_LIM_OPEN, B_NAME, B, R10, PLAIN, R80)                  \
    X(SPD_PID, A_NAME, A, R10, PLAIN)                           \
    X(CSD_ENABLED, B_NAME, B, R80, PLAIN)                       \
    X(SD_SEQ_SD, B_NAME, B, R80, PLAIN, R160)                         \
    X(STRT_SEQ_AT_IDL1, B_NAME, B, R80, PLAIN, R160)                  \
    X(STRT_SEQ_CMPL, B_NAME, B, R80, PLAIN, R160)                     \
    X(STRT_SEQ_OVSPD, B_NAME, B, R80, PLAIN, R160)                    \
    X(STRT_SEQ_OVSPD_RST, B_NAME, B, R80, PLAIN, R160)                \
    X(STRT_SEQ_RST, B_NAME, B, R80, PLAIN, R160)                      \
    X(STRT_SEQ_RUN_BK, B_NAME, B, R80, PLAIN, R160)                   \
    X(STRT_SEQ_TO_IDL1, B_NAME, B, R80, PLAIN, R160)                  \
    X(V1LMTR_VAL, A_NAME, A, R40, PLAIN, R10)                   \
    X(VLV_LIM_MAX, IN, A, R160, TUNE(101.0, 0.0, 101.0))        \
    X(LIM_MAX_AT_START, IN, A, R160, TUNE(101.0, 0.0, 101.0))   \
    X(USE_STRT_MAX, IN, B, R160, TUNE(false))                   \
    IFACE_IN_ROWS_IFACE_IN_VLV(X)                               \
    /* The demand inversion is the driver option CNFG_DRIVER.INVERT.      */ \
    X(INVERT_DMD, B_NAME, B, R160, PLAIN, R10)                  \
    /* Nothing in the application writes the HP fault: it stays false, so */ \
    /* the stroke latch sees no fault.                                    */ \
    X(HP_FAULT, B_NAME, B, R160, PLAIN)                         \
    X(SD_SEQ_NORM_SD, B_NAME, B, R80, PLAIN, R160) \
    X(HP_STRK_ENBL, IN, B, R80, TUNE(false)) \
    X(HP_STRK_ENBL, B_NAME, B, R80, PLAIN)
CAT_MODULE(IFACE_IN_VLV)

// The timed commands' elapsed times at their lengths (block initialisation).
void IFACE_IN_init_blks();
// A service write of a timed command's input restarts or ends its pulse.
void IFACE_IN_command_written(const void* cell, uint32_t value);

namespace r40 {
// The 40 ms timed commands (piece of _R40_TASK_4).
void IFACE_IN_commands_40();
// The speed step test's commands, arming and step size (piece of
// _R40_TASK_3, ahead of the speed reference's step target).
void IFACE_IN_step_test();
}
namespace r80 {
// The controlled-stop enable and the start sequence's steps for the
// interface maps (piece of _R80_TASK_19).
void IFACE_IN_VLV_sequence_status();
}
namespace r160 {
// The settings' copies, derived inputs, gauge tick and raise/lower commands
// (piece of _R160_TASK_35).
void IFACE_IN_settings();
// The service tool's fast/slow adjust commands, hot-start and overspeed-test
// switches and droop (piece of _R160_TASK_38).
void IFACE_IN_SPEED_service_settings();
// The valve limiter sequence text (piece of _R160_TASK_39).
void IFACE_IN_VLV_limiter_text();
}
