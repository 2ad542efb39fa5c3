// Module CNFG_CAN2 at 160 ms: the configuration gates of the remote nodes'
// channels (the configuration window or live configuration, with a pulser
// of its own) and the network timers that lie in the same slices.
#pragma once

#include "app/config/standin/CNFG_CAN2_standin.rows.h"
#include "runtime/catalogue.h"

// A momentary node initialisation command and what it passes on.
#define CNFG_CAN2_INIT_ROWS(X, N) \
    X(INIT_NODES, IN_##N, B, R80, TUNE(false)) X(INIT_NODES, OUT_##N, B, R80, PLAIN)
#define CNFG_CAN2_CELLS(X)                               \
    CNFG_CAN2_STANDIN_ROWS(X)                            \
    X(CNFG_LIVE, IN, B, R160, TUNE(false))               \
    X(CNFG_LIVE, B_NAME, B, R160, PLAIN)                 \
    X(CNFG_IO, OR, B, R160, PLAIN)                       \
    X(CNFG_VLTR, B_NAME, B, R160, PLAIN)                 \
    X(PULSER, NOT, B, R160, PLAIN)                       \
    X(SAMPL_LIVE, AND, B, R160, PLAIN)                   \
    X(ENA_VL, IN_2, B, R160, TUNE(false))                \
    X(ENA_VL, OR, B, R160, PLAIN)                        \
    X(GO_OPER_RST, ONE_SHOT, B, R160, PLAIN)             \
    X(NO_OPERDLY, DELAY, B, R160, PLAIN)                 \
    X(INIT_ALL, IN, B, R80, TUNE(false))                 \
    X(INIT_ALL, B_NAME, B, R80, PLAIN)                   \
    CNFG_CAN2_INIT_ROWS(X, 1) CNFG_CAN2_INIT_ROWS(X, 2)   \
    CNFG_CAN2_INIT_ROWS(X, 3) CNFG_CAN2_INIT_ROWS(X, 4)   \
    CNFG_CAN2_INIT_ROWS(X, 5)                            \
    X(VL1_INIT, IN_3, B, R80, TUNE(false))               \
    X(VL1_INIT, OR, B, R80, PLAIN)
CAT_MODULE(CNFG_CAN2)

namespace r160 {
// The remote channels' configuration enable and sample pulse.
void CNFG_CAN2_config_gates();
// The node-use enable, the go-operational pulse and the not-operational
// delay.
void CNFG_CAN2_timers();
}  // namespace r160
namespace r80 {
// The node initialisation commands: each momentary command passes on for at
// most 1 s; node 1's request also follows the all-nodes command.
void CNFG_CAN2_init_commands();
}  // namespace r80
