// Rows of module MOD for the Modbus links' use and write enables (160 ms),
// listed with the module's other rows; the write enables are read at 80 ms
// by the command window and by the Modbus map.
#pragma once

#define MOD_LINK_ROWS_K(X, k)                                \
    X(PORT##k##_USED, B_NAME, B, R160, PLAIN)                \
    X(NO_PORT##k, NOT, B, R160, PLAIN)                       \
    X(LNK##k##_ERR_NOT, NOT, B, R160, PLAIN)                 \
    X(USE_MOD##k##_OR_TRIP, IN_1, B, R160, TUNE(false))      \
    X(USE_MOD##k##_OR_TRIP, IN_2, B, R160, TUNE(true))       \
    X(USE_MOD##k##_OR_TRIP, OR, B, R160, PLAIN)              \
    X(PORT##k##_ENBL_WRT, AND, B, R160, PLAIN, R80)

#define MOD_LINK_ROWS(X) MOD_LINK_ROWS_K(X, 1) MOD_LINK_ROWS_K(X, 2) MOD_LINK_ROWS_K(X, 3)

// The link flags of Modbus links 1 to 3 (piece of _R160_TASK_10).
namespace r160 {
void MOD_link_flags();
}
