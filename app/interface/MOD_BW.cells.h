// Module MOD_BW (80 ms): the window in which Modbus command coils are taken,
// its clear pulse, and the first-out latch that turns the coils into the
// command outputs SEL_1 .. SEL_22.
#pragma once

#include "runtime/catalogue.h"

#define MOD_BW_CMD(X, n, ...)                       \
    X(BW_CMD, SEL_##n, B, R80, PLAIN __VA_OPT__(,) __VA_ARGS__) \
    X(BW_CMD, ALM_NO_##n, I, R80, PLAIN)

#define MOD_BW_CELLS(X)                               \
    X(OR_ENABLE, IN_2, B, R80, TUNE(false))           \
    X(OR_ENABLE, OR, B, R80, PLAIN)                   \
    X(ZLATCH, ZMINUS1_B, B, R80, PLAIN)               \
    X(WRIT_OFF_DLY, DELAY, B, R80, PLAIN)             \
    X(WRIT_OFF_DLY, R_TIME, I, R80, PLAIN)            \
    X(WRIT_OFF, NOT, B, R80, PLAIN)                   \
    X(CLEAR_BWS, ONE_SHOT, B, R80, PLAIN)             \
    X(CLEAR_BWS, R_TIME, I, R80, PLAIN)               \
    X(BW_CMD, IN_20, B, R80, TUNE(false))             \
    X(BW_CMD, LATCH1, B, R80, PLAIN)                  \
    X(BW_CMD, LOGICAL_OR, B, R80, PLAIN)              \
    X(BW_CMD, HORN, B, R80, PLAIN)                    \
    X(BW_CMD, FIRST_ALM, I, R80, PLAIN)               \
    MOD_BW_CMD(X, 1)                                  \
    MOD_BW_CMD(X, 2)                                  \
    MOD_BW_CMD(X, 3)                                  \
    MOD_BW_CMD(X, 4)                                  \
    MOD_BW_CMD(X, 5)                                  \
    MOD_BW_CMD(X, 6)                                  \
    MOD_BW_CMD(X, 7)                                  \
    MOD_BW_CMD(X, 8)                                  \
    MOD_BW_CMD(X, 9, R40)                             \
    MOD_BW_CMD(X, 10)                                 \
    MOD_BW_CMD(X, 11)                                 \
    MOD_BW_CMD(X, 12)                                 \
    MOD_BW_CMD(X, 13)                                 \
    MOD_BW_CMD(X, 14, R160)                           \
    MOD_BW_CMD(X, 15)                                 \
    MOD_BW_CMD(X, 16)                                 \
    MOD_BW_CMD(X, 17)                                 \
    MOD_BW_CMD(X, 18, R160)                           \
    MOD_BW_CMD(X, 19, R160)                           \
    MOD_BW_CMD(X, 20)                                 \
    MOD_BW_CMD(X, 21)                                 \
    MOD_BW_CMD(X, 22)                                 \
    X(MOD1_SD, IN, B, R80, TUNE(false))               \
    X(MOD1_SD, B_NAME, B, R80, PLAIN)                 \
    X(M1_BW_3, AND, B, R80, PLAIN)                    \
    X(MOD1_SW, CTRL, B, R80, TUNE(false))             \
    X(MOD1_SW, NO, B, R80, TUNE(false))               \
    X(MOD1_SW, B_SW, B, R80, PLAIN, R10)
CAT_MODULE(MOD_BW)

namespace r80 {
// The write enable of all links (last piece of _R80_TASK_1).
void MOD_BW_write_enable();
// Window, clear pulse, command latch and the Modbus reset pulse (piece of
// _R80_TASK_2).
void MOD_BW_commands();
// The Modbus trip command: its enable and the service override (piece of
// _R80_TASK_12).
void MOD_BW_trip_command();
}  // namespace r80
