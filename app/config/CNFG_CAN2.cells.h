// Module CNFG_CAN2 at 160 ms: the configuration gates of the remote nodes'
// channels (the configuration window or live configuration, with a pulser
// of its own) and the network timers that lie in the same slices.
#pragma once

#include "app/config/CNFG_CAN2_nodes.rows.h"
#include "app/remote_io/CNFG_CAN2_net.rows.h"
#include "runtime/catalogue.h"

// The enable of remote node N (node 2 has enables but no node).
#define CNFG_CAN2_ENABLE_ROWS(X, N, ENA_READERS, ENABLE_READERS) \
    X(VL##N##_ENA, IN, B, R80, TUNE(false))                      \
    X(VL##N##_ENA, B_NAME, B, R80, PLAIN, ENA_READERS)           \
    X(VL##N##_ENABLE, AND, B, R80, PLAIN, ENABLE_READERS)

// A node initialisation command of the service side and what it passes on.
#define CNFG_CAN2_INIT_ROWS(X, N) \
    X(INIT_NODES, IN_##N, B, R80, SVC_IN) X(INIT_NODES, OUT_##N, B, R80, PLAIN)
#define CNFG_CAN2_CELLS(X)                               \
    X(GO_OPER, IN_1, B, R10, TUNE(false))                \
    X(GO_OPER, AND, B, R10, PLAIN, R20)                  \
    CNFG_CAN2_ENABLE_ROWS(X, 1, R160, R20) CNFG_CAN2_ENABLE_ROWS(X, 2, , ) CNFG_CAN2_ENABLE_ROWS(X, 3, , R20) \
    CNFG_CAN2_ENABLE_ROWS(X, 4, R160, R20) CNFG_CAN2_ENABLE_ROWS(X, 5, , R20) \
    X(VL_RST, OR, B, R80, PLAIN, R20)                       \
    X(VL_RST, IN_2, B, R80, TUNE(false))                 \
    X(RXTXERRS, I_NAME, I, R80, PLAIN)                   \
    X(NO_IOLOCK, NOT, B, R80, PLAIN)                     \
    X(USE_DEG_F, IN, B, R80, TUNE(true))                 \
    X(USE_DEG_F, B_NAME, B, R80, PLAIN)                  \
    CNFG_CAN2_NET_ROWS(X)                                \
    CNFG_CAN2_SUPERVISION_ROWS(X)                        \
    CNFG_CAN2_PULSE_ROWS(X)                              \
    CNFG_CAN2_NODE_ROWS(X)                               \
    X(CNFG_LIVE, IN, B, R160, TUNE(false))               \
    X(CNFG_LIVE, B_NAME, B, R160, PLAIN)                 \
    X(CNFG_IO, OR, B, R160, PLAIN)                       \
    X(CNFG_VLTR, B_NAME, B, R160, PLAIN, R80)            \
    X(PULSER, NOT, B, R160, PLAIN)                       \
    X(SAMPL_LIVE, AND, B, R160, PLAIN, R80)              \
    X(ENA_VL, IN_2, B, R160, TUNE(false))                \
    X(ENA_VL, OR, B, R160, PLAIN, R20, R80)              \
    X(GO_OPER_RST, ONE_SHOT, B, R160, PLAIN, R20)        \
    X(GO_OPER_RST, R_TIME, I, R160, PLAIN)               \
    X(NO_OPERDLY, DELAY, B, R160, PLAIN, R20)            \
    X(NO_OPERDLY, R_TIME, I, R160, PLAIN)                \
    X(INIT_ALL, IN, B, R80, TUNE(false))                 \
    X(INIT_ALL, B_NAME, B, R80, PLAIN)                   \
    CNFG_CAN2_INIT_ROWS(X, 1) CNFG_CAN2_INIT_ROWS(X, 2)   \
    CNFG_CAN2_INIT_ROWS(X, 3) CNFG_CAN2_INIT_ROWS(X, 4)   \
    CNFG_CAN2_INIT_ROWS(X, 5)                            \
    X(VL1_INIT, IN_3, B, R80, TUNE(false))               \
    X(VL1_INIT, OR, B, R80, PLAIN)                       \
    X(NONE_ACTIV, NOR, B, R80, PLAIN, R20)               \
    X(ALL_PWRUP, IN_7, B, R80, TUNE(false))              \
    X(ALL_PWRUP, AND, B, R80, PLAIN)
CAT_MODULE(CNFG_CAN2)

namespace r10 {
// The own node's go-operational command: its tunable, the power-up delay
// run out and the network's start-up pulse not running (piece of
// _R10_TASK_8).
void CNFG_CAN2_go_oper();
}  // namespace r10

namespace r160 {
// The remote channels' configuration enable and sample pulse.
void CNFG_CAN2_config_gates();
// The node-use enable, the go-operational pulse and the not-operational
// delay.
void CNFG_CAN2_timers();
}  // namespace r160
// Block initialisation: the node initialisation commands over.
void CNFG_CAN2_init_blks();
// Block initialisation of the network block: LEDs and error cells clear,
// the bus off until the network opens, the stack's version.
void CNFG_CAN2_network_init_blks();
// A service write of CNFG_CAN2.INIT_NODES.IN_k (k from 1).
void CNFG_CAN2_init_command_written(int k, uint32_t value);

namespace r80 {
// The network reset and the enables of the remote nodes, off while the
// I/O is locked (piece of _R80_TASK_1).
void CNFG_CAN2_node_enables();
// The node initialisation commands: each momentary command passes on for at
// most 1 s; node 1's request also follows the all-nodes command.
void CNFG_CAN2_init_commands();
// No node active, and the request to restart the network when every node
// has failed its identity check (piece of _R80_TASK_17).
void CNFG_CAN2_power_up();
}  // namespace r80
