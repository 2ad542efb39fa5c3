// Module OPC_DATA (80 ms): the command booleans the OPC link writes, their
// first-out latch, and the supervision of the link's heartbeat with the link
// fault and the OPC trip.
#pragma once

#include "app/control/standin/speedref_standin.cells.h"
#include "runtime/catalogue.h"

#define OPC_DATA_CMD(X, n, ...)                        \
    X(BW_LIST, IN_##n, B, R80, TUNE(false))            \
    X(BW_LIST, LIST_##n, B, R80, PLAIN)                \
    X(BW_CMDS, SEL_##n, B, R80, PLAIN __VA_OPT__(,) __VA_ARGS__) \
    X(BW_CMDS, ALM_NO_##n, I, R80, PLAIN)

#define OPC_DATA_CELLS(X)                                   \
    OPC_DATA_STANDIN_ROWS(X)                                \
    X(BW_CMDS, RST, B, R80, TUNE(true))                     \
    X(BW_CMDS, LATCH1, B, R80, PLAIN)                       \
    X(BW_CMDS, LOGICAL_OR, B, R80, PLAIN)                   \
    X(BW_CMDS, HORN, B, R80, PLAIN)                         \
    X(BW_CMDS, FIRST_ALM, I, R80, PLAIN)                    \
    OPC_DATA_CMD(X, 1)                                      \
    OPC_DATA_CMD(X, 2)                                      \
    OPC_DATA_CMD(X, 3)                                      \
    OPC_DATA_CMD(X, 4)                                      \
    OPC_DATA_CMD(X, 5)                                      \
    OPC_DATA_CMD(X, 6)                                      \
    OPC_DATA_CMD(X, 7)                                      \
    OPC_DATA_CMD(X, 8)                                      \
    OPC_DATA_CMD(X, 9, R40)                                 \
    OPC_DATA_CMD(X, 10)                                     \
    OPC_DATA_CMD(X, 11)                                     \
    OPC_DATA_CMD(X, 12)                                     \
    OPC_DATA_CMD(X, 13)                                     \
    OPC_DATA_CMD(X, 14, R160)                               \
    OPC_DATA_CMD(X, 15)                                     \
    OPC_DATA_CMD(X, 16, R160)                               \
    OPC_DATA_CMD(X, 17)                                     \
    OPC_DATA_CMD(X, 18, R160)                               \
    OPC_DATA_CMD(X, 19, R160)                               \
    OPC_DATA_CMD(X, 20, R160)                               \
    X(HB_NOT, NOT, B, R80, PLAIN)                           \
    X(HB_TIMEOUT, IN, A, R80, TUNE(5.0, 1.0, 20.0))         \
    X(HB_TIMEOUT, A_NAME, A, R80, PLAIN)                    \
    X(BEAT_F, DELAY, B, R80, PLAIN)                         \
    X(BEAT_T, DELAY, B, R80, PLAIN)                         \
    X(HB_LOST, IN_3, B, R80, TUNE(false))                   \
    X(HB_LOST, OR, B, R80, PLAIN)                           \
    X(ENA_FLT, IN_3, B, R80, TUNE(false))                   \
    X(ENA_FLT, AND, B, R80, PLAIN)                          \
    X(LINK_FLT, B_NAME, B, R80, PLAIN, R160)                \
    X(LINK_FLT_OS, ONE_SHOT, B, R80, PLAIN, R160)           \
    X(OPC_TRIP, AND, B, R80, PLAIN, R10)
CAT_MODULE(OPC_DATA)

namespace r80 {
// The written command list, its latch and the OPC reset pulse (piece of
// _R80_TASK_2).
void OPC_DATA_commands();
// Heartbeat supervision, link fault and OPC trip (piece of _R80_TASK_22).
void OPC_DATA_link();
}  // namespace r80
