// Module VLTR_ALMS at 80 ms: which faults of the remote nodes may be
// annunciated: a node's communication and node faults count only while the
// node is enabled, and all are overridden while no node is in use.
#pragma once

#include "runtime/catalogue.h"

#define VLTR_ALMS_NODE_ROWS(X, N)                   \
    X(VL##N##_CFLT_ENA, AND, B, R80, PLAIN)         \
    X(VL##N##_FLT, OR, B, R80, PLAIN)               \
    X(VL##N##_FLT_ENA, AND, B, R80, PLAIN)

#define VLTR_ALMS_CELLS(X)                          \
    X(NOT_USED, NOT, B, R80, PLAIN)                 \
    X(OVRD_ALMS, IN_1, B, R80, TUNE(false))         \
    X(OVRD_ALMS, OR, B, R80, PLAIN)                 \
    X(VIB_SIGS_LOST, B_NAME, B, R80, PLAIN)         \
    VLTR_ALMS_NODE_ROWS(X, 1) VLTR_ALMS_NODE_ROWS(X, 2) VLTR_ALMS_NODE_ROWS(X, 3) \
    VLTR_ALMS_NODE_ROWS(X, 4) VLTR_ALMS_NODE_ROWS(X, 5)
CAT_MODULE(VLTR_ALMS)

namespace r80 {
// The alarm override and the per-node fault enables (pieces of
// _R80_TASK_1, around the node enables).
void VLTR_ALMS_override();
void VLTR_ALMS_node_faults();
}  // namespace r80
