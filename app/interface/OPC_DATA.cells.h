// Module OPC_DATA: what the OPC link reads and writes. At 80 ms the command
// booleans the link writes with their first-out latch, the read lists, the
// two written reals and the supervision of the link's heartbeat with the
// link fault and the OPC trip; at 160 ms the descriptions of the items, the
// write window and the heartbeat.
#pragma once

#include "runtime/catalogue.h"

// M(X, n) for n = 1 .. 20, 48 or 78: the numbered items of the lists.
#define OPC_DATA_EACH_20(M, X)                                                     \
    M(X, 1) M(X, 2) M(X, 3) M(X, 4) M(X, 5) M(X, 6) M(X, 7) M(X, 8) M(X, 9) M(X, 10) \
    M(X, 11) M(X, 12) M(X, 13) M(X, 14) M(X, 15) M(X, 16) M(X, 17) M(X, 18) M(X, 19) M(X, 20)
#define OPC_DATA_EACH_48(M, X)                                                                 \
    OPC_DATA_EACH_20(M, X)                                                                     \
    M(X, 21) M(X, 22) M(X, 23) M(X, 24) M(X, 25) M(X, 26) M(X, 27) M(X, 28) M(X, 29) M(X, 30) \
    M(X, 31) M(X, 32) M(X, 33) M(X, 34) M(X, 35) M(X, 36) M(X, 37) M(X, 38) M(X, 39) M(X, 40) \
    M(X, 41) M(X, 42) M(X, 43) M(X, 44) M(X, 45) M(X, 46) M(X, 47) M(X, 48)
#define OPC_DATA_EACH_78(M, X)                                                                 \
    OPC_DATA_EACH_48(M, X)                                                                     \
    M(X, 49) M(X, 50) M(X, 51) M(X, 52) M(X, 53) M(X, 54) M(X, 55) M(X, 56) M(X, 57) M(X, 58) \
    M(X, 59) M(X, 60) M(X, 61) M(X, 62) M(X, 63) M(X, 64) M(X, 65) M(X, 66) M(X, 67) M(X, 68) \
    M(X, 69) M(X, 70) M(X, 71) M(X, 72) M(X, 73) M(X, 74) M(X, 75) M(X, 76) M(X, 77) M(X, 78)

#define OPC_DATA_AR_ROW(X, n) X(AR_LIST, LIST_##n, A, R80, PLAIN)
#define OPC_DATA_BR_ROW(X, n) X(BR_LIST, LIST_##n, B, R80, PLAIN)
#define OPC_DATA_ARS_ROW(X, n) X(ARS_LIST, LIST_##n, C, R160, PLAIN)
#define OPC_DATA_BRS_ROW(X, n) X(BRS_LIST, LIST_##n, C, R160, PLAIN)
#define OPC_DATA_BWS_ROW(X, n) X(BWS_LIST, LIST_##n, C, R160, PLAIN)

// A real written by the link: a sampled tunable that nothing samples.
#define OPC_DATA_AW(X, BLK)                          \
    X(BLK, TUNE, A, R80, TUNE(0.0, -1e38, 1e38))     \
    X(BLK, ENBL_ENTER, B, R80, TUNE(true))           \
    X(BLK, SAMP_TUNE, A, R80, PLAIN)                 \
    X(BLK, LIMITED, B, R80, PLAIN)                   \
    X(BLK, EN_ENT_OUT, B, R80, PLAIN)                \
    X(BLK, LO_LIM_OUT, A, R80, PLAIN)                \
    X(BLK, HI_LIM_OUT, A, R80, PLAIN)

#define OPC_DATA_CMD(X, n, ...)                        \
    X(BW_LIST, IN_##n, B, R80, TUNE(false))            \
    X(BW_LIST, LIST_##n, B, R80, PLAIN)                \
    X(BW_CMDS, SEL_##n, B, R80, PLAIN __VA_OPT__(,) __VA_ARGS__) \
    X(BW_CMDS, ALM_NO_##n, I, R80, PLAIN)

#define OPC_DATA_CELLS(X)                                   \
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
    OPC_DATA_CMD(X, 16)                                     \
    OPC_DATA_CMD(X, 17)                                     \
    OPC_DATA_CMD(X, 18, R160)                               \
    OPC_DATA_CMD(X, 19, R160)                               \
    OPC_DATA_CMD(X, 20, R160)                               \
    X(HB_NOT, NOT, B, R80, PLAIN)                           \
    X(HB_TIMEOUT, IN, A, R80, TUNE(5.0, 1.0, 20.0))         \
    X(HB_TIMEOUT, A_NAME, A, R80, PLAIN)                    \
    X(BEAT_F, DELAY, B, R80, PLAIN)                         \
    X(BEAT_F, R_TIME, I, R80, PLAIN)                        \
    X(BEAT_T, DELAY, B, R80, PLAIN)                         \
    X(BEAT_T, R_TIME, I, R80, PLAIN)                        \
    X(HB_LOST, IN_3, B, R80, TUNE(false))                   \
    X(HB_LOST, OR, B, R80, PLAIN)                           \
    X(ENA_FLT, IN_3, B, R80, TUNE(false))                   \
    X(ENA_FLT, AND, B, R80, PLAIN)                          \
    X(LINK_FLT, B_NAME, B, R80, PLAIN, R160)                \
    X(LINK_FLT_OS, ONE_SHOT, B, R80, PLAIN, R160)           \
    X(LINK_FLT_OS, R_TIME, I, R80, PLAIN)                   \
    X(OPC_TRIP, AND, B, R80, PLAIN, R10)                    \
    OPC_DATA_EACH_48(OPC_DATA_AR_ROW, X)                    \
    OPC_DATA_EACH_78(OPC_DATA_BR_ROW, X)                    \
    OPC_DATA_AW(X, OPC_AW_1)                                \
    OPC_DATA_AW(X, OPC_AW_2)                                \
    X(AW_LIST, LIST_1, A, R80, PLAIN, R160)                 \
    X(AW_LIST, LIST_2, A, R80, PLAIN)                       \
    OPC_DATA_EACH_48(OPC_DATA_ARS_ROW, X)                   \
    X(AWS_LIST, LIST_1, C, R160, PLAIN)                     \
    X(AWS_LIST, LIST_2, C, R160, PLAIN)                     \
    OPC_DATA_EACH_78(OPC_DATA_BRS_ROW, X)                   \
    OPC_DATA_EACH_20(OPC_DATA_BWS_ROW, X)                   \
    X(ENA_WRITES, IN, B, R160, TUNE(false))                 \
    X(ENA_WRITES, B_NAME, B, R160, PLAIN, R80)              \
    X(WRIT_OFF, NOT, B, R160, PLAIN)                        \
    X(CLEAR_BWS, ONE_SHOT, B, R160, PLAIN, R80)             \
    X(CLEAR_BWS, R_TIME, I, R160, PLAIN)                    \
    X(WRIT_OFF_DLY, DELAY, B, R160, PLAIN, R80)             \
    X(WRIT_OFF_DLY, R_TIME, I, R160, PLAIN)                 \
    X(ENA_OPC, IN, B, R160, TUNE(false))                    \
    X(ENA_OPC, B_NAME, B, R160, PLAIN)                      \
    X(ENA_OPC_TRIP, IN, B, R160, TUNE(false))               \
    X(ENA_OPC_TRIP, B_NAME, B, R160, PLAIN, R80)            \
    X(BEAT, T_FLIPFLOP, B, R160, PLAIN)                     \
    X(HEARTBEAT, B_NAME, B, R160, PLAIN, R80)               \
    X(NO_FLT, NOT, B, R160, PLAIN, R80)
CAT_MODULE(OPC_DATA)

namespace r80 {
// The written command list, its latch and the OPC reset pulse (piece of
// _R80_TASK_2).
void OPC_DATA_commands();
// The read lists and the written reals (piece of _R80_TASK_22).
void OPC_DATA_lists();
// Heartbeat supervision, link fault and OPC trip (piece of _R80_TASK_22).
void OPC_DATA_link();
}  // namespace r80

namespace r160 {
// The descriptions of the items (piece of _R160_TASK_46).
void OPC_DATA_items();
// The write window, its clear pulse, the enables and the heartbeat (piece of
// _R160_TASK_46).
void OPC_DATA_write_enable();
}  // namespace r160
