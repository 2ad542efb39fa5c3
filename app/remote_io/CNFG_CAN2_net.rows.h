// Rows of module CNFG_CAN2 (listed by app/config/CNFG_CAN2.cells.h): the
// CAN2 network block and its start-up pulse (20 ms), the supervision blocks
// of the four remote nodes (20 ms) and the node and network start-up pulses
// (80 ms).
#pragma once

// The network block CAN2_NTW1 with its reset pulse, port silence watch and
// the NMT state compare after the node blocks.
#define CNFG_CAN2_NET_ROWS(X)                                   \
    X(RST_OR, IN_2, B, R20, TUNE(false))                        \
    X(RST_OR, OR, B, R20, PLAIN)                                \
    X(CAN2_RST_OS, DLY_TIME, A, R20, TUNE(2.0f, 0.0f, 60.0f))   \
    X(CAN2_RST_OS, RST, B, R20, TUNE(false))                    \
    X(CAN2_RST_OS, ONE_SHOT, B, R20, PLAIN)                     \
    X(CAN2_RST_OS, R_TIME, I, R20, PLAIN)                       \
    X(CAN2_RST, IN_4, B, R20, TUNE(false))                      \
    X(CAN2_RST, OR, B, R20, PLAIN, R80)                         \
    X(CAN2_P_STAT, E_TIMEOUT, I, R20, TUNE(1000, 10, 3000))     \
    X(CAN2_P_STAT, A_TIMEOUT, I, R20, TUNE(500, 10, 3000))      \
    X(CAN2_P_STAT, LNK_ERR, B, R20, PLAIN)                      \
    X(CAN2_P_STAT, LNK_ALM, B, R20, PLAIN)                      \
    X(CAN2_P_STAT, BKUP_ERR, B, R20, PLAIN)                     \
    X(CAN2_FLT, AND, B, R20, PLAIN, R80)                        \
    X(CAN2_NTW1, AUTOGO2OP, B, R20, TUNE(false))                \
    X(CAN2_NTW1, NODE_ID, I, R20, TUNE(10, 1, 127))             \
    X(CAN2_NTW1, CAN_BAUD, I, R20, TUNE(2, 0, 3))               \
    X(CAN2_NTW1, NMT_MSTR, I, R20, TUNE(1, 1, 10))              \
    X(CAN2_NTW1, CAN_LOAD, A, R20, PLAIN)                       \
    X(CAN2_NTW1, RXTXERRS, I, R20, PLAIN)                       \
    X(CAN2_NTW1, RXOVRFLOW, I, R20, PLAIN)                      \
    X(CAN2_NTW1, TXOVRFLOW, I, R20, PLAIN)                      \
    X(CAN2_NTW1, BUS_OFF, B, R20, PLAIN)                        \
    X(CAN2_NTW1, TX_WARN, B, R20, PLAIN)                        \
    X(CAN2_NTW1, TX_ERR, B, R20, PLAIN)                         \
    X(CAN2_NTW1, RX_WARN, B, R20, PLAIN)                        \
    X(CAN2_NTW1, RX_ERR, B, R20, PLAIN)                         \
    X(CAN2_NTW1, GRN_LED, B, R20, PLAIN)                        \
    X(CAN2_NTW1, RED_LED, B, R20, PLAIN)                        \
    X(COPEN_ERRS, OR, B, R20, PLAIN, R80)                       \
    X(NTW1_NMT_STATUS, I_NAME, I, R20, PLAIN)                   \
    X(NTW1_STATE, I_NAME, I, R20, PLAIN)                        \
    X(NMT_STATUS_5, EQ, B, R20, PLAIN, R160)                    \
    X(NMT_STATUS_5, LT, B, R20, PLAIN)                          \
    X(NMT_STATUS_5, GT, B, R20, PLAIN)                          \
    X(NOT_OPER, OR, B, R20, PLAIN, R160)                        \
    X(PULS, AND, B, R20, PLAIN)                                 \
    X(PULSE_OS, ONE_SHOT, B, R20, PLAIN)                        \
    X(PULSE_OS, R_TIME, I, R20, PLAIN)                          \
    X(NOT, NOT, B, R20, PLAIN, R10)

// One node supervision block; m is the number of supervised PDOs.
#define CNFG_CAN2_NODE_COMMON_ROWS(X, BLK, ID)                    \
    X(BLK, NODE_ID, I, R20, TUNE(ID, 1, 127))                     \
    X(BLK, INIT_PERM, B, R20, TUNE(true))                         \
    X(BLK, HT_SCAN_RT, I, R20, TUNE(200, 100, 1000))              \
    X(BLK, ACTIVE, B, R20, PLAIN, R80)                            \
    X(BLK, COMM_FLT_1, B, R20, PLAIN, R80)                        \
    X(BLK, COMM_FLT_2, B, R20, PLAIN)                             \
    X(BLK, NODE_FLT, B, R20, PLAIN, R80)                          \
    X(BLK, NODE_T_ALM, B, R20, PLAIN)                             \
    X(BLK, NODE_TEMP, I, R20, PLAIN)                              \
    X(BLK, NEW_MSG_1, B, R20, PLAIN)                              \
    X(BLK, MSG_1_RATE, A, R20, PLAIN)                             \
    X(BLK, LAST_MSG_1, I, R20, PLAIN)                             \
    X(BLK, DBS_M1_P1, I, R20, PLAIN)
#define CNFG_CAN2_NODE_PDO_ROWS(X, BLK, M)                      \
    X(BLK, NEW_MSG_##M, B, R20, PLAIN)                            \
    X(BLK, MSG_##M##_RATE, A, R20, PLAIN)                         \
    X(BLK, LAST_MSG_##M, I, R20, PLAIN)                           \
    X(BLK, DBS_M##M##_P1, I, R20, PLAIN)

#define CNFG_CAN2_SUPERVISION_ROWS(X)                                  \
    CNFG_CAN2_NODE_COMMON_ROWS(X, VL_NODE1_AIO, 1)              \
    CNFG_CAN2_NODE_PDO_ROWS(X, VL_NODE1_AIO, 2)                 \
    CNFG_CAN2_NODE_PDO_ROWS(X, VL_NODE1_AIO, 3)                 \
    X(VL_NODE1_AIO, NODE_T_EN, B, R20, TUNE(false))             \
    CNFG_CAN2_NODE_COMMON_ROWS(X, VL_NODE3_RTD_8C, 3)           \
    CNFG_CAN2_NODE_PDO_ROWS(X, VL_NODE3_RTD_8C, 2)              \
    CNFG_CAN2_NODE_COMMON_ROWS(X, VL_NODE4_BI, 4)               \
    CNFG_CAN2_NODE_COMMON_ROWS(X, VL_NODE5_BO, 5)

// The 80 ms start-up pulses of the nodes and of the network reset.
#define CNFG_CAN2_PULSE_ROWS(X)                                 \
    X(VL1_INIT_OS, ONE_SHOT, B, R80, PLAIN, R20)                \
    X(VL1_INIT_OS, R_TIME, I, R80, PLAIN)                       \
    X(VL3_INIT, IN_3, B, R80, TUNE(false))                      \
    X(VL3_INIT, OR, B, R80, PLAIN)                              \
    X(VL3_INIT_OS, ONE_SHOT, B, R80, PLAIN, R20)                \
    X(VL3_INIT_OS, R_TIME, I, R80, PLAIN)                       \
    X(VL4_INIT, IN_3, B, R80, TUNE(false))                      \
    X(VL4_INIT, OR, B, R80, PLAIN)                              \
    X(VL4_INIT_OS, ONE_SHOT, B, R80, PLAIN, R20)                \
    X(VL4_INIT_OS, R_TIME, I, R80, PLAIN)                       \
    X(VL5_INIT, IN_3, B, R80, TUNE(false))                      \
    X(VL5_INIT, OR, B, R80, PLAIN)                              \
    X(VL5_INIT_OS, ONE_SHOT, B, R80, PLAIN, R20)                \
    X(VL5_INIT_OS, R_TIME, I, R80, PLAIN)                       \
    X(RST_CAN2, DLY_TIME, A, R80, TUNE(300.0f, 60.0f, 1200.0f)) \
    X(RST_CAN2, ONE_SHOT, B, R80, PLAIN, R20)                   \
    X(RST_CAN2, R_TIME, I, R80, PLAIN)                          \
    X(USE_VL, IN, B, R80, TUNE(false))                          \
    X(USE_VL, B_NAME, B, R80, PLAIN, R160)
