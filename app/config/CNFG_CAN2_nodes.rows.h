// Rows of module CNFG_CAN2 that the remote nodes' configuration sequence and
// the CAN2 network restart check write: per node block the identity, module
// code, texts and fault flags read back from the node, and the network
// block's state, open result and receive mask, and the CAN library's
// version. CNFG_CAN2.cells.h lists them.
#pragma once

#define CNFG_CAN2_NODE_BLOCK_ROWS(X, NODE)   \
    X(NODE, VENDOR_ID, I, R20, PLAIN)        \
    X(NODE, PART_NUM, I, R20, PLAIN)         \
    X(NODE, REV_NUM, I, R20, PLAIN)          \
    X(NODE, SERIAL_NUM, I, R20, PLAIN)       \
    X(NODE, NODE_FUNC, I, R20, PLAIN)        \
    X(NODE, SW_VER, C, R20, PLAIN)           \
    X(NODE, DEVICE_NM, C, R20, PLAIN)        \
    X(NODE, CFG_FAULT, B, R20, PLAIN, R80)   \
    X(NODE, ID_FAULT, B, R20, PLAIN, R80)

#define CNFG_CAN2_NODE_ROWS(X)                     \
    CNFG_CAN2_NODE_BLOCK_ROWS(X, VL_NODE1_AIO)     \
    CNFG_CAN2_NODE_BLOCK_ROWS(X, VL_NODE3_RTD_8C)  \
    CNFG_CAN2_NODE_BLOCK_ROWS(X, VL_NODE4_BI)      \
    CNFG_CAN2_NODE_BLOCK_ROWS(X, VL_NODE5_BO)      \
    X(CAN2_NTW1, STATE, I, R20, PLAIN)             \
    X(CAN2_NTW1, NMT_STATUS, I, R20, PLAIN)        \
    X(CAN2_NTW1, RCV_MASK, I, R20, PLAIN)          \
    X(CAN2_PORT, VERSION, I, R20, PLAIN)
