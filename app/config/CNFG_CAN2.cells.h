// Module CNFG_CAN2 at 160 ms: the configuration gates of the remote nodes'
// channels (the configuration window or live configuration, with a pulser
// of its own) and the network timers that lie in the same slices.
#pragma once

#include "app/config/CNFG_CAN2_nodes.rows.h"
#include "app/config/standin/CNFG_CAN2_standin.rows.h"
#include "app/remote_io/CNFG_CAN2_net.rows.h"
#include "runtime/catalogue.h"

#define CNFG_CAN2_CELLS(X)                               \
    CNFG_CAN2_STANDIN_ROWS(X)                            \
    CNFG_CAN2_NET_ROWS(X)                                \
    CNFG_CAN2_SUPERVISION_ROWS(X)                        \
    CNFG_CAN2_PULSE_ROWS(X)                              \
    CNFG_CAN2_NODE_ROWS(X)                               \
    X(CNFG_LIVE, IN, B, R160, TUNE(false))               \
    X(CNFG_LIVE, B_NAME, B, R160, PLAIN)                 \
    X(CNFG_IO, OR, B, R160, PLAIN)                       \
    X(CNFG_VLTR, B_NAME, B, R160, PLAIN)                 \
    X(PULSER, NOT, B, R160, PLAIN)                       \
    X(SAMPL_LIVE, AND, B, R160, PLAIN)                   \
    X(ENA_VL, IN_2, B, R160, TUNE(false))                \
    X(ENA_VL, OR, B, R160, PLAIN, R20)                     \
    X(GO_OPER_RST, ONE_SHOT, B, R160, PLAIN, R20)          \
    X(NO_OPERDLY, DELAY, B, R160, PLAIN, R20)
CAT_MODULE(CNFG_CAN2)

namespace r160 {
// The remote channels' configuration enable and sample pulse.
void CNFG_CAN2_config_gates();
// The node-use enable, the go-operational pulse and the not-operational
// delay.
void CNFG_CAN2_timers();
}  // namespace r160
