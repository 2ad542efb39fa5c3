// Module IFACE_MODE: which service connection is the local display and the
// access level its user holds (80 ms), the display heartbeat, boot phase,
// operating modes and display languages (160 ms).
#pragma once

#include "runtime/catalogue.h"

#define IFACE_MODE_SLOT(X, n)                    \
    X(TALLWIRE, IP_ADDR_##n, U, R80, PLAIN)      \
    X(TALLWIRE, IP_STS_##n, I, R80, PLAIN)       \
    X(TALLWIRE, IP_LEV_##n, I, R80, PLAIN)       \
    X(TALLWIRE, IP_ERR_##n, I, R80, PLAIN)       \
    X(TW_SOCKET_##n, I_NAME, I, R80, PLAIN)      \
    X(LOCATE_DISPLY_##n, GT, B, R80, PLAIN)      \
    X(LOCATE_DISPLY_##n, LT, B, R80, PLAIN)      \
    X(LOCATE_DISPLY_##n, EQ, B, R80, PLAIN)

#define IFACE_MODE_COMPARE(X, BLK) X(BLK, GT, B, R80, PLAIN) X(BLK, LT, B, R80, PLAIN) X(BLK, EQ, B, R80, PLAIN)

#define IFACE_MODE_CELLS(X)                                   \
    X(TALLWIRE, LOCK_WRITE, B, R80, PLAIN)                    \
    IFACE_MODE_SLOT(X, 1)                                     \
    IFACE_MODE_SLOT(X, 2)                                     \
    IFACE_MODE_SLOT(X, 3)                                     \
    IFACE_MODE_SLOT(X, 4)                                     \
    IFACE_MODE_SLOT(X, 5)                                     \
    IFACE_MODE_SLOT(X, 6)                                     \
    IFACE_MODE_SLOT(X, 7)                                     \
    IFACE_MODE_SLOT(X, 8)                                     \
    X(TALLWIRE, CONTROL_ID, C, R80, PLAIN)                    \
    X(TALLWIRE, CONFIG_ID, C, R80, PLAIN)                     \
    X(TALLWIRE, APP_ID, C, R80, PLAIN)                        \
    X(TALLWIRE, PRODUCT_ID, C, R80, PLAIN)                    \
    X(TALLWIRE, PROTOCOL_ID, C, R80, PLAIN)                   \
    X(TALLWIRE, SYSTEM_ID, C, R80, PLAIN)                     \
    X(LOCAL_LEVEL, INT_SEL, I, R80, PLAIN)                    \
    X(LOCAL_LEVEL, I_MUX_HSS, I, R80, PLAIN)                  \
    X(LOCAL_STATUS, INT_SEL, I, R80, PLAIN)                   \
    X(LOCAL_STATUS, I_MUX_HSS, I, R80, PLAIN)                 \
    X(LOCAL_DISP_SOCKET, I_NAME, I, R80, PLAIN)               \
    X(LOCAL_DISP_WRITE, B_NAME, B, R80, PLAIN)                \
    IFACE_MODE_COMPARE(X, LOCAL_CNFG)                         \
    IFACE_MODE_COMPARE(X, LOCAL_MONITR)                       \
    IFACE_MODE_COMPARE(X, LOCAL_SERV_USER)                    \
    IFACE_MODE_COMPARE(X, LOCAL_WRITE)                        \
    X(CNFG_OR_ABOV, IN_3, B, R80, TUNE(false))                \
    X(CNFG_OR_ABOV, OR, B, R80, PLAIN)                        \
    X(CNFG_USER, B_NAME, B, R80, PLAIN)                       \
    X(ABOV_MON, B_NAME, B, R80, PLAIN)                        \
    X(MON_ONLY, B_NAME, B, R80, PLAIN)                        \
    X(OP_ONLY, AND, B, R80, PLAIN)                            \
    X(OPERATE, B_NAME, B, R80, PLAIN)                         \
    X(SU_OR_GREATER, OR, B, R80, PLAIN)                       \
    X(SERV_USER, B_NAME, B, R80, PLAIN)                       \
    X(QT_OI_LOCAL, IN_1, B, R160, SVC_IN)                     \
    X(QT_OI_LOCAL, OUT_1, B, R160, PLAIN)                     \
    X(QT_HEARTBEAT, B_NAME, B, R160, PLAIN)                   \
    X(NOT, NOT, B, R160, PLAIN)                               \
    X(QT_TROUBLE, DELAY, B, R160, PLAIN)                      \
    X(QT_TROUBLE, R_TIME, I, R160, PLAIN)                     \
    X(QT_TROUBLE, DLY_TIME, A, R160, TUNE(30.0, 3.0, 60.0))   \
    X(USER_STOP, TRIGGER, B, R160, TUNE(true))                \
    X(USER_STOP, DLY_TIME, A, R160, TUNE(200.0, 20.0, 300.0)) \
    X(USER_STOP, ONE_SHOT, B, R160, PLAIN)                    \
    X(USER_STOP, R_TIME, I, R160, PLAIN)                      \
    X(BOOT_CMPLT, NOT, B, R160, PLAIN, R80)                   \
    X(BLINK_ALMLED, AND, B, R160, PLAIN, R80)                 \
    X(ENA_ALM, AND, B, R160, PLAIN)                           \
    X(DISPLAY_FLT, B_NAME, B, R160, PLAIN, R40)               \
    X(NO_DISP_FLT, NOT, B, R160, PLAIN)                       \
    X(CONFIGURE, B_NAME, B, R160, PLAIN)                      \
    X(NO_CNFG, NOT, B, R160, PLAIN)                           \
    X(CAL_ONLY, AND, B, R160, PLAIN)                          \
    X(CALIBRATION, B_NAME, B, R160, PLAIN)                    \
    X(ENTER_SERVICE, IN, B, R160, TUNE(false))                \
    X(ENTER_SERVICE, B_NAME, B, R160, PLAIN)                  \
    X(T_FLIPFLOP, IN_2, B, R160, TUNE(false))                 \
    X(T_FLIPFLOP, T_FLIPFLOP, B, R160, PLAIN)                 \
    X(OR, IN_3, B, R160, TUNE(false))                         \
    X(OR, OR, B, R160, PLAIN)                                 \
    X(SERVICE, B_NAME, B, R160, PLAIN)                        \
    X(NO_OTHER, NOR, B, R160, PLAIN, R80)                     \
    X(TIMER, OUT_1, A, R160, PLAIN)                           \
    X(TIMER, ELAP_TIME, T, R160, PLAIN)                       \
    X(HEART_CYCLE, IN_2, A, R160, TUNE(2.0, 0.5, 30.0))       \
    X(HEART_CYCLE, A_COMPARE, B, R160, PLAIN)                 \
    X(HEART_CYCLE, A_EQUAL, B, R160, PLAIN)                   \
    X(LOOP1, ZMINUS1_B, B, R160, PLAIN)                       \
    X(BEAT, T_FLIPFLOP, B, R160, PLAIN)                       \
    X(TIQ_HEARTBEAT, B_NAME, B, R160, PLAIN)                  \
    X(TRUE, B_NAME, B, R160, PLAIN)                           \
    X(FALSE, B_NAME, B, R160, PLAIN)                          \
    X(ZERO, A_NAME, A, R160, PLAIN)                           \
    X(A_PT, IN, A, R160, TUNE(10.0, 1.0, 20.0))               \
    X(A_PT, A_NAME, A, R160, PLAIN)                           \
    X(B_PT, IN, B, R160, TUNE(false))                         \
    X(B_PT, B_NAME, B, R160, PLAIN)                           \
    X(I_ENUM, IN, I, R160, TUNE(1, 1, 2))                     \
    X(I_ENUM, I_NAME, I, R160, PLAIN)                         \
    X(LANGUAGE_SEL, SELECT, I, R160, TUNE(1, 1, 10))          \
    X(LANGUAGE_SEL, S_MUX_N_1, C, R160, PLAIN)                \
    X(LANGUAGE_SEL_REMOTE, SELECT, I, R160, TUNE(1, 1, 10))   \
    X(LANGUAGE_SEL_REMOTE, S_MUX_N_1, C, R160, PLAIN)
CAT_MODULE(IFACE_MODE)

// Connection status copy, local-display detection and local level
// (piece of _R80_TASK_2).
namespace r80 {
void IFACE_MODE_local_level();
// Level comparisons, operate and service-user flags (piece of _R80_TASK_19).
void IFACE_MODE_level_flags();
}  // namespace r80

// Heartbeats, boot phase, modes and languages (piece of _R160_TASK_40).
namespace r160 {
void IFACE_MODE_modes();
}

// The service interface wrote the display heartbeat input: a 1 restarts its
// hold time, a 0 lets it expire on the next pass.
void IFACE_MODE_heartbeat_written(uint32_t value);

// Block initialisation (80 ms blocks): the service identity texts and the
// running control identifier from the stored one.
void IFACE_MODE_identity_init_blks();
// Block initialisation (160 ms blocks): the display heartbeat command over.
void IFACE_MODE_init_blks();
// The application identifier text of the service side: the name, a blank
// and the date, cut to a 40-byte text cell (39 bytes and the NUL).
void join_app_id(char (&out)[40], const char* name, const char* date);
